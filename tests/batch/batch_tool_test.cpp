// fetaldose-batch as a script runs it: the results file of the end-to-end session byte for
// byte, and the exit status and messages of each way a run can fail.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch_runner.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/textio/sha256.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::BatchResult;
using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

const std::string kE2e = FETALDOSE_E2E;

// The end-to-end session's data set in a scratch folder, and its options file beside it.
class BatchTool : public ::testing::Test {
  protected:
    ScratchDirectory dir;
    std::string options = dir.file("session.opt");
    std::string expected = readBytes(kE2e + "/expected_results.dos");

    void SetUp() override {
        std::filesystem::copy(kE2e + "/data", dir.file("data"));
        // Writable, as before a first start of the program.
        for (const auto& file : std::filesystem::directory_iterator(dir.file("data")))
            std::filesystem::permissions(file.path(), std::filesystem::perms(0644));
        std::filesystem::copy(kE2e + "/session.opt", options);
    }

    BatchResult run(std::vector<std::string> args, const std::string& locale = "C.UTF-8") {
        return testing::runBatchTool(FETALDOSE_BATCH, args, dir.slash(), dir.file("streams"),
                                     locale);
    }
    // The first line of standard error: the program's own message where the run stopped.
    static std::string firstLine(const std::string& text) {
        return text.substr(0, text.find('\n'));
    }
};

TEST_F(BatchTool, WritesTheSessionsResultsFileByteForByte) {
    const mode_t modeBefore = testing::permissionBits(dir.file("data/Cs-137.dat"));
    BatchResult r = run({"--options", "session.opt", "--out", "session.dos"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readBytes(dir.file("session.dos")), expected);

    // To standard output, with the data folder named; the format named rather than implied.
    r = run({"--data=" + dir.file("data"), "--options", options, "--out", "-", "--format", "dos"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);

    // The decimal separator: the locale's by default, or the one given.
    r = run({"--options", "session.opt", "--out", "-", "--decimal", ","});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("4,7E-06"), std::string::npos);
    EXPECT_EQ(r.out.find("4.7E-06"), std::string::npos);

    // The data set is read, never changed: no first-run pass makes its files read-only.
    EXPECT_EQ(testing::permissionBits(dir.file("data/Cs-137.dat")), modeBefore);
}

TEST_F(BatchTool, ListsTheCatalogueWithTheDataFilesPresent) {
    BatchResult r = run({"--list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Cs-137\t30.0y\tpresent\nI-131\t8.04d\tpresent\nSr-90\t28.8y\tmissing\n");
    // No first-run pass: the data files keep their write permission.
    EXPECT_EQ(testing::permissionBits(dir.file("data/I-131.dat")) & 0200, 0200u);
}

TEST_F(BatchTool, MissingInputsAndUnwritableOutputsAreInputOutputErrors) {
    BatchResult r = run({"--data", "nowhere", "--options", "session.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("nowhere"), std::string::npos) << r.err;

    std::filesystem::create_directory(dir.file("bare"));
    r = run({"--data", "bare", "--list"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find(std::string("bare/nuclides.txt: ") + kMissingCatalogueMessage),
              std::string::npos)
        << r.err;

    r = run({"--options", "none.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("none.opt: File not found"), std::string::npos) << r.err;

    r = run({"--options", "session.opt", "--out", "no such folder/x.dos"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("no such folder/x.dos: Invalid filename"), std::string::npos) << r.err;

    r = run({"--options", "session.opt", "--out", "/dev/full"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("/dev/full: Disk full"), std::string::npos) << r.err;

    r = run({"--options", "session.opt", "--out", dir.file("data")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("File access denied"), std::string::npos) << r.err;

    // A count that is no number: the line, and what it should hold.
    writeBytes(options, "\r\ntwo\r\n");
    r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("session.opt: Invalid numeric input"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("session.opt:2: expected the number of nuclides"), std::string::npos);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"bare", "data", "session.opt"}));
}

TEST_F(BatchTool, StoppedRunsSayTheProgramsMessageAndWriteNothing) {
    writeBytes(dir.file("x.dos"), "earlier results\r\n");

    // A nuclide without a data file: the program's message, then its line in the file.
    std::string text = readBytes(options);
    text.replace(text.find("I-131"), 5, "Xx-1");
    writeBytes(options, text);
    BatchResult r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(firstLine(r.err), kNuclideNotAvailableMessage);
    EXPECT_NE(r.err.find("session.opt:4: expected the name of a nuclide"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("found \"Xx-1\""), std::string::npos);

    // Cut inside the nuclides: the line the file ends before.
    writeBytes(options, "2\r\nCs-137\r\n30.0y\r\n");
    r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(firstLine(r.err), kNuclideNotAvailableMessage);
    EXPECT_NE(r.err.find("session.opt:4: the file ends before this line"), std::string::npos)
        << r.err;

    // Cut after the routes: loaded as the window loads it (every later flag "no"), with a
    // warning where the file ends; the run then stops with the program's message.
    text = readBytes(kE2e + "/session.opt");
    writeBytes(options, text.substr(0, text.find("Acute scenarios")));
    r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(firstLine(r.err), "Please select a scenario(s)");
    EXPECT_NE(r.err.find("warning: session.opt:14: the file ends before this line"),
              std::string::npos)
        << r.err;

    // A line quoted in a message stays on one line of the terminal and is cut: a hand-written
    // file's tab and line feed show as escapes, a huge line as its first 200 bytes.
    writeBytes(options, "j\tunk\n");
    r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_NE(r.err.find("found \"j\\tunk\\n\"\n"), std::string::npos) << r.err;
    writeBytes(options, std::string(100000, 'x') + "\r\n");
    r = run({"--options", "session.opt", "--out", "x.dos"});
    EXPECT_NE(r.err.find("found \"" + std::string(200, 'x') + "\"...\n"), std::string::npos);
    EXPECT_LT(r.err.size(), 1000u);

    EXPECT_EQ(readBytes(dir.file("x.dos")), "earlier results\r\n");
}

TEST_F(BatchTool, WrongUsageIsStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--options", "session.opt"},
                                               {"--options", "session.opt", "--out"},
                                               {"--list", "--options", "a.opt", "--out", "b"},
                                               {"--options", "a", "--out", "b", "--format", "pdf"},
                                               {"--options", "a", "--out", "b", "--decimal", ";"},
                                               {"--bogus"}}) {
        const BatchResult r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("Usage: fetaldose-batch"), std::string::npos);
    }
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_EQ(run({"--version"}).out.rfind("fetaldose-batch ", 0), 0u);
}

// One tissue row of a table: the tissue, then the in-utero dose, then the post-natal and the
// offspring dose of each period in turn (the export's column order).
using DoseRow = std::vector<std::string>;

std::vector<std::string> splitAt(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The rows of a results file, read from its in-utero, post-natal and offspring blocks.
std::vector<DoseRow> resultsFileRows(const std::string& text) {
    std::vector<DoseRow> rows;
    std::vector<DoseRow> table;
    enum { Other, InUtero, PostNatal, Offspring } block = Other;
    std::size_t index = 0;
    for (const std::string& line : linesOf(text)) {
        if (line == "In utero doses" || line == "Post natal doses" || line == "Offspring doses") {
            block = line[0] == 'I' ? InUtero : line[0] == 'P' ? PostNatal : Offspring;
            if (block == InUtero) {
                rows.insert(rows.end(), table.begin(), table.end());
                table.clear();
            }
            index = 0;
            continue;
        }
        const std::vector<std::string> fields = splitAt(line, ',');
        if (block == Other || fields.size() < 2 || line.rfind("Time periods", 0) == 0 ||
            (block != InUtero && index >= table.size())) {
            block = Other;
            continue;
        }
        if (block == InUtero) {
            table.push_back({fields[0], fields[1]});
            continue;
        }
        DoseRow& row = table.at(index++);
        for (std::size_t period = 1; period < fields.size(); ++period) {
            const std::size_t column = 2 + 2 * (period - 1) + (block == Offspring ? 1 : 0);
            if (row.size() <= column) row.resize(column + 1);
            row[column] = fields[period];
        }
    }
    rows.insert(rows.end(), table.begin(), table.end());
    return rows;
}

// The rows of an export read as CSV (no field of this data set needs quotes): the tissue and
// the dose columns; the provenance lines and the header row are left out.
std::vector<DoseRow> exportRows(const std::string& text, std::size_t firstLine) {
    std::vector<DoseRow> rows;
    const std::vector<std::string> lines = linesOf(text);
    for (std::size_t i = firstLine; i < lines.size(); ++i) {
        const std::vector<std::string> fields = splitAt(lines[i], ',');
        if (fields.size() < 7) continue;
        rows.emplace_back(fields.begin() + 5, fields.end());
    }
    return rows;
}

std::size_t headerRowOf(const std::string& csv) {
    const std::vector<std::string> lines = linesOf(csv);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind("nuclide,", 0) == 0) return i;
    return lines.size();
}

// Doses compared as numbers: the results file and the export write them alike, but a
// spreadsheet reader may spell a number its own way.
void expectSameRows(const std::vector<DoseRow>& actual, const std::vector<DoseRow>& expected,
                    const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(actual[r].size(), expected[r].size()) << what << " row " << r;
        EXPECT_EQ(actual[r][0], expected[r][0]) << what << " row " << r;
        for (std::size_t c = 1; c < expected[r].size(); ++c)
            EXPECT_DOUBLE_EQ(std::stod(actual[r][c]), std::stod(expected[r][c]))
                << what << " row " << r << " column " << c;
    }
}

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

TEST_F(BatchTool, ExportsCsvAndXlsxWithTheRunsValuesAndProvenance) {
    const std::vector<DoseRow> expectedRows = resultsFileRows(expected);
    ASSERT_FALSE(expectedRows.empty());

    // CSV, by the name's extension: the provenance names the data folder and the digest of
    // every data file the run read, then the same rows as the results file.
    BatchResult r = run({"--options", "session.opt", "--out", "tables.csv", "--decimal", ","});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string csv = readBytes(dir.file("tables.csv"));
    EXPECT_EQ(csv.rfind("# ", 0), 0u);
    EXPECT_NE(csv.find(dir.file("data/")), std::string::npos);
    for (const char* file : {"nuclides.txt", "Cs-137.dat", "I-131.dat"})
        EXPECT_NE(csv.find(sha256Hex(readBytes(dir.file("data/") + file))), std::string::npos)
            << file;
    const std::size_t header = headerRowOf(csv);
    ASSERT_LT(header, linesOf(csv).size());
    // A comma run still exports its doses with points.
    expectSameRows(exportRows(csv, header + 1), expectedRows, "csv");

    // To standard output, the format named (in any letter case, as extensions are): the same
    // rows.
    r = run({"--options", "session.opt", "--out", "-", "--format", "CSV"});
    ASSERT_EQ(r.status, 0) << r.err;
    expectSameRows(exportRows(r.out, headerRowOf(r.out) + 1), expectedRows, "csv on stdout");

    // XLSX, read back by xlsx2csv: the same rows, the doses numbers.
    r = run({"--options", "session.opt", "--out", "tables.XLSX"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string sheet =
        commandOutput("xlsx2csv -n 'Dose coefficients' '" + dir.file("tables.XLSX") + "'");
    ASSERT_EQ(sheet.rfind("nuclide,", 0), 0u) << sheet.substr(0, 200);
    expectSameRows(exportRows(sheet, 1), expectedRows, "xlsx");
    EXPECT_NE(commandOutput("xlsx2csv -n Provenance '" + dir.file("tables.XLSX") + "'")
                  .find(sha256Hex(readBytes(dir.file("data/Cs-137.dat")))),
              std::string::npos);

    // A failed write leaves nothing under the name and says why.
    std::filesystem::create_directory(dir.file("folder.xlsx"));
    r = run({"--options", "session.opt", "--out", "folder.xlsx"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("folder.xlsx"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.xlsx")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder.xlsx")));
}

}  // namespace
}  // namespace fetaldose

namespace fetaldose {
namespace {

// fetaldose-batch assess on the session's data set: Cs-137 has one ingestion entry.
TEST_F(BatchTool, AssessWritesItsFormatsAndRefusesBadIntakesWritingNothing) {
    const std::string header = "nuclide,exposure_group,intake_route,intake_time,activity,unit\r\n";
    const std::string good =
        "Cs-137,Member of the public,Ingestion: f1 = 1.0,at conception,1,kBq\r\n";
    writeBytes(dir.file("intakes.csv"), header + good);
    const BatchResult csv =
        run({"assess", "--data", "data", "--intakes", "intakes.csv", "--out", "doses.csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(
        readBytes(dir.file("doses.csv")).find("\r\nintake,tissue,in_utero_mSv,postnatal_1y_mSv"),
        std::string::npos);
    const BatchResult summary = run({"assess", "--intakes=intakes.csv", "--out", "-", "--unit",
                                     "mrem", "--limit", "2mSv", "--external", "0.5 mrem"});
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_NE(summary.out.find("Total doses (mrem)"), std::string::npos);
    EXPECT_NE(summary.out.find("External dose to the embryo/fetus: 0.5 mrem"), std::string::npos);
    EXPECT_NE(summary.out.find("Limit: 200 mrem"), std::string::npos);

    // A bad intake is named by its file, line and column; nothing is written.
    writeBytes(dir.file("bad.csv"), header + "# comment\r\n" + good +
                                        "Cs-137,Member of the public,Ingestion: f1 = 1.0,"
                                        "at conception,-5,kBq\r\n" +
                                        "Pu-239,Worker,x,at conception,1,Bq\r\n");
    const BatchResult bad = run({"assess", "--intakes", "bad.csv", "--out", "bad-doses.xlsx"});
    EXPECT_EQ(bad.status, 3);
    EXPECT_NE(bad.err.find("bad.csv:4: activity: \"-5\" is negative"), std::string::npos)
        << bad.err;
    EXPECT_NE(bad.err.find("bad.csv:5: nuclide: \"Pu-239\" is not in the catalogue"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad-doses.xlsx")));
    writeBytes(dir.file("broken.csv"), header + "Cs-137,\"Member\r\n");
    const BatchResult broken = run({"assess", "--intakes", "broken.csv", "--out", "-"});
    EXPECT_EQ(broken.status, 3);
    EXPECT_NE(broken.err.find("broken.csv: line 2: a quoted field is not closed"),
              std::string::npos);

    // Never over an input: the intakes file stays as it was.
    const BatchResult over =
        run({"assess", "--intakes", "intakes.csv", "--out", "intakes.csv", "--format", "csv"});
    EXPECT_EQ(over.status, 3);
    EXPECT_EQ(readBytes(dir.file("intakes.csv")), header + good);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"assess"},
             {"assess", "--intakes", "intakes.csv"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--unit", "Gy"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--limit", "lots"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--external", "-1mSv"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--periods", "2y"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--tissues", "Heart"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--method", "guess"},
             {"assess", "--intakes", "intakes.csv", "--out", "-", "--format", "pdf"}}) {
        const BatchResult r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("Usage: fetaldose-batch assess"), std::string::npos);
    }
    EXPECT_EQ(run({"assess", "--help"}).status, 0);
}

}  // namespace
}  // namespace fetaldose
