// fetaldose-batch as a script runs it: the results file of the end-to-end session byte for
// byte, and the exit status and messages of each way a run can fail.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch_runner.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
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
    // CSV and XLSX are refused before anything runs, until their writers are there.
    for (const char* out : {"tables.csv", "tables.XLSX"}) {
        const BatchResult r = run({"--options", "session.opt", "--out", out});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("not available yet"), std::string::npos);
    }
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_EQ(run({"--version"}).out.rfind("fetaldose-batch ", 0), 0u);
}

}  // namespace
}  // namespace fetaldose
