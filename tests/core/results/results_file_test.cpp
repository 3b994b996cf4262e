// The results file: every table of the store, in its block layout.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/textio/faults.h"
#include "filled_store.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::crLfLines;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// Doses chosen so that the sums carry, round a tie away and round up into a new digit: row 1
// reads 1.0E-10 in utero, 5.0E-12 at period 1 and 2.0E-11 at period 5; row 18 reads 9.9E-10,
// 1.0E-10 and 9.6E-12. Every other field is zero.
std::string exampleLine(const testing::RecordPlace& place, int line) {
    if (line == 0) return place.group == 1 ? "Bone surface" : "ltzero";
    if (line == 1) return "x";
    if (line < 3) return "spare";
    const int period = line - 3;  // 0 in utero
    return testing::valueLine([period](int row) -> std::string {
        if (row == 1) return period == 0 ? "1.0E-10" : period == 1 ? "5.0E-12" : "2.0E-11";
        if (row == 18) return period == 0 ? "9.9E-10" : period == 1 ? "1.0E-10" : "9.6E-12";
        return "0.0E+00";
    });
}

// Public and worker, ingestion, the first scenario(s), Bladder and Effective dose, 1 and 70
// years: a table per group and scenario.
SelectionSnapshot exampleSelection(int scenarios) {
    SelectionSnapshot s;
    s.nuclides = {"Pu-239"};
    s.halfLives = {"24065 y"};
    s.memberOfPublic = s.occupational = s.ingestion = true;
    for (int k = 0; k < scenarios; ++k) s.acuteScenarios[static_cast<std::size_t>(k)] = true;
    s.tissues[0] = s.tissues[16] = true;
    s.periods[0] = s.periods[4] = true;
    return s;
}

std::shared_ptr<const RunResult> exampleRun(const SelectionSnapshot& selection,
                                            char separator = '.') {
    const std::string text =
        testing::DataFileBuilder({0, 0, 1}, {0, 0, 1}).lines(exampleLine).build();
    RunOutcome outcome = testing::runFromTexts(selection, {text}, separator);
    EXPECT_TRUE(outcome.complete);
    return outcome.result;
}

class ResultsFile : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("run.dos");
};

TEST_F(ResultsFile, WritesTheWorkedExampleByteForByte) {
    writeResultsFile(path, *exampleRun(exampleSelection(1)));
    const std::string first = crLfLines(
        {"Pu-239, half-life is 24065 y", "Member of the public", "Ingestion: f1 = 0.111",
         "Acute intake (1Bq) 2.5 years prior to conception", "Highest dose is to: Bone surface, x",
         "In utero doses", "Bladder,1.0E-10", "Effective dose,9.9E-10", "Time periods: ,  1y,  70y",
         "Post natal doses", "Bladder,5.0E-12,2.0E-11", "Effective dose,1.0E-10,9.6E-12",
         "Offspring doses", "Bladder,1.1E-10,1.2E-10", "Effective dose,1.1E-09,1.0E-09"});
    // The next table follows at once; a worker's group line keeps its leading blank.
    const std::string second = crLfLines(
        {"Pu-239, half-life is 24065 y", " Worker", "Ingestion: f1 = 0.112",
         "Acute intake (1Bq) 2.5 years prior to conception", "Doses are all less than 1.0E-15",
         "In utero doses", "Bladder,1.0E-10", "Effective dose,9.9E-10", "Time periods: ,  1y,  70y",
         "Post natal doses", "Bladder,5.0E-12,2.0E-11", "Effective dose,1.0E-10,9.6E-12",
         "Offspring doses", "Bladder,1.1E-10,1.2E-10", "Effective dose,1.1E-09,1.0E-09"});
    EXPECT_EQ(readBytes(path), first + second);
}

TEST_F(ResultsFile, ThreeFullTablesTake189Lines) {
    SelectionSnapshot s = exampleSelection(3);
    s.occupational = false;
    s.allOrgans = s.allPeriods = true;
    writeResultsFile(path, *exampleRun(s));
    const std::string bytes = readBytes(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 189);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 189);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_NE(bytes.find("\r\nTime periods: ,  1y,  5y,  10y,  20y,  70y\r\n"), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\nEffective dose,1.1E-09,1.0E-09,1.0E-09,1.0E-09,1.0E-09\r\n"));
}

TEST_F(ResultsFile, OneRowOnePeriodAndCommaValuesAreWrittenAsStored) {
    SelectionSnapshot s = exampleSelection(1);
    s.memberOfPublic = false;
    s.tissues[16] = false;
    s.periods[4] = false;
    writeResultsFile(path, *exampleRun(s, ','));
    EXPECT_EQ(readBytes(path),
              crLfLines({"Pu-239, half-life is 24065 y", " Worker", "Ingestion: f1 = 0.112",
                         "Acute intake (1Bq) 2.5 years prior to conception",
                         "Doses are all less than 1.0E-15", "In utero doses", "Bladder,1,0E-10",
                         "Time periods: ,  1y", "Post natal doses", "Bladder,5,0E-12",
                         "Offspring doses", "Bladder,1,1E-10"}));
}

TEST_F(ResultsFile, ARunWithoutTablesGivesAnEmptyFileInPlaceOfTheOld) {
    writeBytes(path, "an earlier run\r\n");
    // A data file with no ingestion entry gives a complete run of no tables.
    const std::string empty = testing::DataFileBuilder({0, 0, 0}, {0, 0, 0}).build();
    const RunOutcome outcome = testing::runFromTexts(exampleSelection(1), {empty});
    ASSERT_TRUE(outcome.complete);
    writeResultsFile(path, *outcome.result);
    EXPECT_EQ(readBytes(path), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"run.dos"});
}

}  // namespace
}  // namespace fetaldose
