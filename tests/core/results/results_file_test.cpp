// The results file: every table of the store, in the documented block layout.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "../run/run_test_support.h"
#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/textio/faults.h"

namespace fetaldose {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> RowLabels(std::initializer_list<int> rows) {
    std::vector<std::string> labels;
    for (int row : rows) labels.emplace_back(kRowLabels[static_cast<std::size_t>(row - 1)]);
    return labels;
}

std::vector<std::string> PeriodHeadings(std::initializer_list<int> periods) {
    std::vector<std::string> headings;
    for (int period : periods)
        headings.emplace_back(kPeriodLabels[static_cast<std::size_t>(period - 1)]);
    return headings;
}

// Fills tables 1..tables with texts that name their place: U<t>.<r>, S<t>.<r>.<n>, T<t>.<r>.<n>.
void FillNamed(ResultStore& store, int tables) {
    for (int t = 1; t <= tables; ++t) {
        const std::string n = std::to_string(t);
        store.SetHeadings(t, "Nuclide " + n, t % 2 ? "Member of the public" : " Worker",
                          "Route " + n, "Scenario " + n, "Summary " + n);
        for (int r = 1; r <= store.RowCount(); ++r) {
            const std::string tr = n + "." + std::to_string(r);
            store.SetInUtero(t, r, "U" + tr);
            for (int p = 1; p <= store.PeriodCount(); ++p) {
                store.SetPostNatal(t, r, p, "S" + tr + "." + std::to_string(p));
                store.SetOffspring(t, r, p, "T" + tr + "." + std::to_string(p));
            }
        }
    }
    store.SetTableCount(tables);
}

class ResultsFile : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.File("run.dos");
    ResultStore store;
};

TEST_F(ResultsFile, WritesTheDocumentedExampleByteForByte) {
    store.Resize(1, 2, 2);
    FillNamed(store, 2);
    WriteResultsFile(path, store, RowLabels({1, 18}), PeriodHeadings({1, 5}));
    const std::string first = CrLfLines(
        {"Nuclide 1", "Member of the public", "Route 1", "Scenario 1", "Summary 1",
         "In utero doses", "Bladder,U1.1", "Effective dose,U1.2", "Time periods: ,  1y,  70y",
         "Post natal doses", "Bladder,S1.1.1,S1.1.2", "Effective dose,S1.2.1,S1.2.2",
         "Offspring doses", "Bladder,T1.1.1,T1.1.2", "Effective dose,T1.2.1,T1.2.2"});
    // The next table follows at once; a worker's group line keeps its leading blank.
    const std::string second =
        CrLfLines({"Nuclide 2", " Worker", "Route 2", "Scenario 2", "Summary 2", "In utero doses",
                   "Bladder,U2.1", "Effective dose,U2.2", "Time periods: ,  1y,  70y",
                   "Post natal doses", "Bladder,S2.1.1,S2.1.2", "Effective dose,S2.2.1,S2.2.2",
                   "Offspring doses", "Bladder,T2.1.1,T2.1.2", "Effective dose,T2.2.1,T2.2.2"});
    EXPECT_EQ(ReadBytes(path), first + second);
}

TEST_F(ResultsFile, ThreeFullTablesTake189Lines) {
    store.Resize(1, 18, 5);
    FillNamed(store, 3);
    std::vector<std::string> labels(kRowLabels.begin(), kRowLabels.end());
    WriteResultsFile(path, store, labels, PeriodHeadings({1, 2, 3, 4, 5}));
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 189);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 189);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_NE(bytes.find("\r\nTime periods: ,  1y,  5y,  10y,  20y,  70y\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nEffective dose,T3.18.1,T3.18.2,T3.18.3,T3.18.4,T3.18.5\r\n"),
              std::string::npos);
}

TEST_F(ResultsFile, OneRowOnePeriodAndCommaValuesAreWrittenAsStored) {
    store.Resize(1, 1, 1);
    store.SetHeadings(1, "Pu-239, half-life is 24065 y", " Worker", "Ingestion: f1 = 0,0005", "s",
                      "Highest dose is to: Bone surface, x");
    store.SetInUtero(1, 1, "1,0E-10");
    store.SetPostNatal(1, 1, 1, "2,0E-11");
    store.SetOffspring(1, 1, 1, "-1,2E-10");
    store.SetTableCount(1);
    WriteResultsFile(path, store, {"Bladder"}, {"  5y"});
    EXPECT_EQ(ReadBytes(path),
              CrLfLines({"Pu-239, half-life is 24065 y", " Worker", "Ingestion: f1 = 0,0005", "s",
                         "Highest dose is to: Bone surface, x", "In utero doses", "Bladder,1,0E-10",
                         "Time periods: ,  5y", "Post natal doses", "Bladder,2,0E-11",
                         "Offspring doses", "Bladder,-1,2E-10"}));
}

TEST_F(ResultsFile, NoTablesGiveAnEmptyFile) {
    WriteBytes(path, "an earlier run\r\n");
    store.Resize(1, 18, 5);
    WriteResultsFile(path, store, {}, {});
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"run.dos"});
}

TEST_F(ResultsFile, FailuresKeepTheOldFile) {
    store.Resize(1, 18, 5);
    FillNamed(store, 200);
    std::vector<std::string> labels(kRowLabels.begin(), kRowLabels.end());
    const auto headings = PeriodHeadings({1, 2, 3, 4, 5});
    auto message = [&](const std::string& target, const std::vector<std::string>& rows) {
        try {
            WriteResultsFile(target, store, rows, headings);
        } catch (const Fault& e) {
            return std::string(e.what());
        }
        return std::string("saved");
    };
    EXPECT_EQ(message("/dev/full", labels), "Disk full");
    EXPECT_EQ(message(dir.Slash(), labels), "File access denied");
    EXPECT_EQ(message(dir.File("gone/run.dos"), labels), "Invalid filename");

    WriteBytes(path, "old results\r\n");
    // Too few labels for the rows: refused before the file is touched.
    EXPECT_EQ(message(path, RowLabels({1, 2})), "Range check error");
    EXPECT_EQ(ReadBytes(path), "old results\r\n");

    // A write refused part-way (a file size limit) leaves the old file and no stray file.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::string result = message(path, labels);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, "I/O error 27");
    EXPECT_EQ(ReadBytes(path), "old results\r\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"run.dos"});

    // Saving again under the same name leaves only the new file.
    EXPECT_EQ(message(path, labels), "saved");
    EXPECT_EQ(ReadBytes(path).substr(0, 11), "Nuclide 1\r\n");
}

}  // namespace
}  // namespace fetaldose
