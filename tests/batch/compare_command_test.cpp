// fetaldose-batch compare as a script runs it: the status it gates on, the summary, the files it
// writes and refuses to write, and its messages.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch_runner.h"
#include "compare_folders.h"
#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "core/run/run_texts.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::BatchResult;
using testing::readBytes;
using testing::ScratchDirectory;

class CompareCommand : public ::testing::Test {
  protected:
    ScratchDirectory dir;
    std::string ref = dir.file("ref/");
    std::string cand = dir.file("cand/");

    void SetUp() override {
        testing::writeReferenceSet(ref);
        testing::writeReferenceSet(cand);
        saveOptionsFile(dir.file("both.opt"), testing::ingestionSelection({"Pu-239", "Cs-137"}));
    }
    BatchResult run(std::vector<std::string> args) {
        args.insert(args.begin(), "compare");
        return testing::runBatchTool(FETALDOSE_BATCH, args, dir.slash(), dir.file("streams"));
    }
    void changeOneDose() {
        testing::writeDataFile(
            cand, "Cs-137",
            testing::ingestionDataFile({"0.5", "0.6", "0.7"},
                                       testing::doseChangedAt({1, "0.6", 2, 0, 3}, "9.9E-07")));
    }
};

TEST_F(CompareCommand, ExitsZeroWhenTheValuesAgreeAndFourWhenTheyDiffer) {
    BatchResult r = run({"--data", "ref", "--with", "cand", "--options", "both.opt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Result: the compared values agree within the threshold\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Compared: the selection\n"), std::string::npos);

    changeOneDose();
    r = run({"--data=ref", "--with=cand", "--all"});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.out.find("  changed beyond threshold: "), std::string::npos);
    EXPECT_NE(r.out.find("Cs-137 | Member of the public | Ingestion: f1 = 0.6"), std::string::npos)
        << r.out;

    // A threshold above the change: the values agree within it.
    r = run({"--data", "ref", "--with", "cand", "--all", "--threshold", "1e9"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("changed within threshold: 6"), std::string::npos) << r.out;

    // A table on one side only differs too, though every compared cell is equal.
    testing::writeReferenceSet(cand);
    testing::writeDataFile(cand, "Pu-239", testing::ingestionDataFile({"0.01", "0.1"}));
    r = run({"--data", "ref", "--with", "cand", "--all"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.out.find("only in the reference, 11 tables"), std::string::npos) << r.out;
}

TEST_F(CompareCommand, WritesCsvAndXlsxAndRefusesToReplaceAnInput) {
    changeOneDose();
    BatchResult r = run({"--data", "ref", "--with", "cand", "--all", "--out", "c.csv"});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string csv = readBytes(dir.file("c.csv"));
    EXPECT_EQ(csv.rfind("# fetaldose ", 0), 0u);
    EXPECT_NE(csv.find("# Candidate data set: Data folder: " + cand), std::string::npos);
    r = run({"--data", "ref", "--with", "cand", "--all", "--out", "c.xlsx"});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("c.xlsx")));

    // Over a data file, the catalogue or the options file: refused, nothing changed.
    const std::string before = readBytes(cand + "Cs-137.dat");
    for (const std::string& target : {cand + "Cs-137.dat", ref + "nuclides.txt"}) {
        r = run({"--data", "ref", "--with", "cand", "--all", "--out", target + ".csv"});
        EXPECT_EQ(r.status, 4);  // a new name beside them is fine
        std::filesystem::remove(target + ".csv");
    }
    std::filesystem::create_hard_link(cand + "Cs-137.dat", dir.file("link.csv"));
    r = run({"--data", "ref", "--with", "cand", "--all", "--out", "link.csv"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(cand + "Cs-137.dat"), before);
    std::filesystem::create_symlink(dir.file("both.opt"), dir.file("opt.csv"));
    r = run({"--data", "ref", "--with", "cand", "--options", "both.opt", "--out", "opt.csv"});
    EXPECT_EQ(r.status, 3) << r.err;

    r = run({"--data", "ref", "--with", "cand", "--all", "--out", "no such folder/c.csv"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Invalid filename"), std::string::npos) << r.err;
}

TEST_F(CompareCommand, BadInputNamesTheSideAndWrongUsageIsTwo) {
    std::filesystem::remove(cand + "nuclides.txt");
    BatchResult r = run({"--data", "ref", "--with", "cand", "--all", "--out", "c.csv"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "fetaldose-batch: Candidate data set cand/: " +
                         std::string(kMissingCatalogueMessage) + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.csv")));
    testing::writeReferenceSet(cand);

    // A selection the runs cannot make: the run's own message, exit status 1.
    SelectionSnapshot none = testing::ingestionSelection({"Pu-239"});
    none.allOrgans = false;
    saveOptionsFile(dir.file("none.opt"), none);
    r = run({"--data", "ref", "--with", "cand", "--options", "none.opt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Reference data set ref/: " + std::string(kSelectTissueMessage) + "\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--data", "ref", "--all"},
          {"--with", "cand"},
          {"--with", "cand", "--all", "--options", "both.opt"},
          {"--with", "cand", "--all", "--threshold", "-0.1"},
          {"--with", "cand", "--all", "--threshold", "5%"},
          {"--with", "cand", "--all", "--out", "c.dos"},
          {"--with", "cand", "--all", "--all"},
          {"--with", "cand", "--all", "--list"}}) {
        r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_NE(r.err.find("Usage: fetaldose-batch compare"), std::string::npos);
    }
    r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("4 they differ"), std::string::npos);
}

}  // namespace
}  // namespace fetaldose
