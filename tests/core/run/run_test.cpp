// A run: the selection checks in their order, and the tables it fills from data files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/results/results_file.h"
#include "core/run/run.h"
#include "core/textio/faults.h"
#include "filled_store.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::DataFileBuilder;
using testing::SectionCounts;
using testing::TempDir;
using testing::writeBytes;

// Everything chosen that needs no list: one nuclide, public, ingestion, scenario 1, Bladder,
// 1 year.
SelectionSnapshot minimal() {
    SelectionSnapshot s;
    s.nuclides = {"Pu-239"};
    s.halfLives = {"24065 y"};
    s.memberOfPublic = true;
    s.ingestion = true;
    s.acuteScenarios[0] = true;
    s.tissues[0] = true;
    s.periods[0] = true;
    return s;
}

TEST(CheckSelection, StopsAtTheFirstMissingChoice) {
    struct Case {
        const char* message;
        GridStage stage;
        void (*spoil)(SelectionSnapshot&);
    };
    const Case cases[] = {
        {"Please select a nuclide", GridStage::Untouched,
         [](SelectionSnapshot& s) { s = SelectionSnapshot{}; }},
        {"Please select an exposure group", GridStage::Blanked,
         [](SelectionSnapshot& s) { s.memberOfPublic = false; }},
        {"Please select an intake route(s)", GridStage::Blanked,
         [](SelectionSnapshot& s) { s.ingestion = false; }},
        {"Please select a scenario(s)", GridStage::Blanked,
         [](SelectionSnapshot& s) { s.acuteScenarios[0] = false; }},
        {"Please select an aerosol size(s)", GridStage::Blanked,
         [](SelectionSnapshot& s) { s.particulates = true; }},
        {"Please select a tissue(s) for output", GridStage::Blanked,
         [](SelectionSnapshot& s) { s.tissues[0] = false; }},
        {"Please select an integration period(s)", GridStage::RowLabelsWritten,
         [](SelectionSnapshot& s) { s.periods[0] = false; }},
    };
    for (const Case& c : cases) {
        SelectionSnapshot s = minimal();
        c.spoil(s);
        const RunCheck check = checkSelection(s);
        EXPECT_EQ(check.stopMessage, c.message);
        EXPECT_EQ(check.stage, c.stage) << c.message;
    }
    // Earlier stops win: nothing chosen at all stops at the exposure group.
    SelectionSnapshot onlyNuclide;
    onlyNuclide.nuclides = {"x"};
    EXPECT_EQ(checkSelection(onlyNuclide).stopMessage, "Please select an exposure group");

    const RunCheck periodStop = checkSelection([] {
        SelectionSnapshot s = minimal();
        s.periods[0] = false;
        return s;
    }());
    EXPECT_EQ(periodStop.layout.rows, std::vector<int>{1});

    const RunCheck complete = checkSelection(minimal());
    EXPECT_EQ(complete.stage, GridStage::LaidOut);
    EXPECT_EQ(complete.stopMessage, "");
}

TEST(CheckSelection, RowsAndPeriodsFollowTheListsAndTheirBoxes) {
    SelectionSnapshot s = minimal();
    s.tissues = {};
    s.tissues[2] = true;  // Brain
    EXPECT_EQ(checkSelection(s).layout.rows, (std::vector<int>{3, 4}));
    s.tissues[1] = true;
    s.tissues[16] = true;
    s.tissues[3] = true;
    EXPECT_EQ(checkSelection(s).layout.rows, (std::vector<int>{2, 3, 4, 5, 18}));
    s.allOrgans = true;
    EXPECT_EQ(checkSelection(s).layout.rows.size(), 18u);
    s.tissues = {};
    EXPECT_EQ(checkSelection(s).layout.rows.size(), 18u);

    s.periods = {false, true, false, false, true};
    EXPECT_EQ(checkSelection(s).layout.periods, (std::vector<int>{2, 5}));
    s.periods = {};
    s.allPeriods = true;
    EXPECT_EQ(checkSelection(s).layout.periods, (std::vector<int>{1, 2, 3, 4, 5}));

    // Without particulates the aerosol controls are not looked at.
    s.allAerosol = false;
    s.aerosol = {};
    EXPECT_EQ(checkSelection(s).stage, GridStage::LaidOut);
    s.allRoutes = true;
    EXPECT_EQ(checkSelection(s).stopMessage, "Please select an aerosol size(s)");
    s.allAerosol = true;
    EXPECT_EQ(checkSelection(s).stage, GridStage::LaidOut);
}

// Runs over data files in a scratch data directory.
class RunFill : public ::testing::Test {
  protected:
    TempDir dir;
    NuclideData scratch;
    ResultStore store;

    void addFile(const std::string& name, const std::string& text) {
        writeBytes(dir.file(name + ".dat"), text);
    }

    FillOutcome runSelection(const SelectionSnapshot& s, char separator = '.') {
        const RunCheck check = checkSelection(s);
        EXPECT_EQ(check.stage, GridStage::LaidOut) << check.stopMessage;
        return fillResultStore(s, check, dir.slash(), separator, scratch, store);
    }

    // "nuclide | group | route | scenario | summary" of every table in the store.
    std::vector<std::string> tables() const {
        std::vector<std::string> tables;
        for (int t = 1; t <= store.tableCount(); ++t)
            tables.push_back(std::string(store.nuclide(t)) + " |" + std::string(store.group(t)) +
                             " | " + std::string(store.route(t)) + " | " +
                             std::string(store.summary(t)));
        return tables;
    }
};

TEST_F(RunFill, TwoNuclidesBothGroupsIngestionOnly) {
    addFile("A-1", DataFileBuilder({0, 0, 1}, {0, 0, 1}).build());
    addFile("B-2", DataFileBuilder({0, 0, 2}, {0, 0, 2}).build());
    SelectionSnapshot s = minimal();
    s.nuclides = {"A-1", "B-2"};
    s.halfLives = {"1 d", "2 y"};
    s.occupational = true;
    const FillOutcome outcome = runSelection(s);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tableCount, 6);
    EXPECT_EQ(store.slotCount(), 2 * 880 + 1);
    const std::vector<std::string> expected = {
        "A-1, half-life is 1 d |Member of the public | Ingestion: f1 = 0.111 | Highest dose is to: "
        "g1 I1 s1, detail",
        "A-1, half-life is 1 d | Worker | Ingestion: f1 = 0.112 | Highest dose is to: g2 I1 s1, "
        "detail",
        "B-2, half-life is 2 y |Member of the public | Ingestion: f1 = 0.111 | Highest dose is to: "
        "g1 I1 s1, detail",
        "B-2, half-life is 2 y |Member of the public | Ingestion: f1 = 0.121 | Highest dose is to: "
        "g1 I2 s1, detail",
        "B-2, half-life is 2 y | Worker | Ingestion: f1 = 0.112 | Highest dose is to: g2 I1 s1, "
        "detail",
        "B-2, half-life is 2 y | Worker | Ingestion: f1 = 0.122 | Highest dose is to: g2 I2 s1, "
        "detail",
    };
    EXPECT_EQ(tables(), expected);
    EXPECT_EQ(store.inUtero(1, 1), "1.0E-10");
    EXPECT_EQ(store.postNatal(6, 1, 1), "2.0E-11");
    EXPECT_EQ(store.offspring(6, 1, 1), "1.2E-10");
}

TEST_F(RunFill, EnumerationOrderIsRouteThenTypeThenSizeThenScenario) {
    addFile("Pu-239", DataFileBuilder({2, 2, 1}, {1, 0, 0}).build());
    SelectionSnapshot s = minimal();
    s.occupational = true;
    s.allRoutes = true;
    s.aerosol[2] = s.aerosol[9] = true;
    s.acuteScenarios = {};
    s.acuteScenarios[3] = true;
    s.chronicScenarios[2] = true;
    const FillOutcome outcome = runSelection(s);
    // Public: 2 scenarios x (2 sizes x 2 types + 1 + 2) = 14; workers: 2 x 1 vapour = 2.
    EXPECT_EQ(outcome.tableCount, 16);
    std::vector<std::string> summaries;
    for (int t = 1; t <= store.tableCount(); ++t) {
        const std::string summary = store.summary(t);  // "Highest dose is to: <tag>, detail"
        summaries.emplace_back(summary.substr(20, summary.size() - 20 - 8));
    }
    const std::vector<std::string> expected = {
        "g1 P1 a3 s4", "g1 P1 a3 s11", "g1 P1 a10 s4", "g1 P1 a10 s11",
        "g1 P2 a3 s4", "g1 P2 a3 s11", "g1 P2 a10 s4", "g1 P2 a10 s11",
        "g1 I1 s4",    "g1 I1 s11",    "g1 V1 s4",     "g1 V1 s11",
        "g1 V2 s4",    "g1 V2 s11",    "g2 V1 s4",     "g2 V1 s11"};
    EXPECT_EQ(summaries, expected);
    EXPECT_EQ(store.route(1), "Inhalation: Type H, f1 = 0.0011, 0.01 microns AMAD");
    EXPECT_EQ(store.route(7), "Inhalation: Type I, f1 = 0.0021, 10.0 microns AMAD");
    EXPECT_EQ(store.route(11), "Vapour entry 1 of g1");
    EXPECT_EQ(store.scenario(2), "Constant chronic intake (1Bq total) from conception to birth");
}

TEST_F(RunFill, AllAcutesWithOneChronicGivesNineScenarios) {
    addFile("Pu-239", DataFileBuilder({0, 0, 1}, {0, 0, 1}).build());
    SelectionSnapshot s = minimal();
    s.allAcutes = true;
    s.chronicScenarios[0] = true;
    EXPECT_EQ(runSelection(s).tableCount, 9);
    for (int t = 1; t <= 9; ++t)
        EXPECT_EQ(store.summary(t), "Highest dose is to: g1 I1 s" + std::to_string(t) + ", detail");
}

TEST_F(RunFill, DuplicatesGiveTheirTablesTwiceAndCaseIsIgnoredForFiles) {
    addFile("Cs-137", DataFileBuilder({0, 0, 1}, {0, 0, 0}).build());
    addFile("i-131", DataFileBuilder({1, 0, 0}, {0, 0, 0}).build());
    SelectionSnapshot s = minimal();
    s.allRoutes = true;
    s.allAerosol = true;
    s.nuclides = {"Cs-137", "I-131", "Cs-137"};
    s.halfLives = {"30 y", "8 d", "30 y"};
    const FillOutcome outcome = runSelection(s);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tableCount, 3);
    EXPECT_EQ(store.nuclide(1), "Cs-137, half-life is 30 y");
    EXPECT_EQ(store.nuclide(2), "I-131, half-life is 8 d");
    EXPECT_EQ(store.route(2), "Vapour entry 1 of g1");
    EXPECT_EQ(store.nuclide(3), "Cs-137, half-life is 30 y");
}

TEST_F(RunFill, MissingFileStopsAfterTheTablesBeforeIt) {
    addFile("A", DataFileBuilder({0, 0, 1}, {0, 0, 0}).build());
    SelectionSnapshot s = minimal();
    s.nuclides = {"A", "Nowhere", "A"};
    s.halfLives = {"1", "2", "3"};
    const FillOutcome outcome = runSelection(s);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.stopMessage, "Cannot find the nuclide file");
    EXPECT_EQ(outcome.tableCount, 1);
    EXPECT_EQ(store.tableCount(), 1);
    EXPECT_EQ(store.nuclide(1), "A, half-life is 1");
}

TEST_F(RunFill, ZeroAndNegativeCountsGiveNoTables) {
    addFile("Zero", DataFileBuilder({0, 0, 0}, {0, 0, 0}).build());
    addFile("Negative", DataFileBuilder({-2, -1, 1}, {0, -3, 0}).build());
    SelectionSnapshot s = minimal();
    s.occupational = true;
    s.allRoutes = true;
    s.allAerosol = true;
    s.nuclides = {"Zero"};
    s.halfLives = {"h"};
    FillOutcome outcome = runSelection(s);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tableCount, 0);
    EXPECT_EQ(store.tableCount(), 0);

    // Negative counts read no entries and count no tables: the run still completes.
    s.nuclides = {"Negative"};
    outcome = runSelection(s);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tableCount, 1);
    EXPECT_EQ(store.route(1), "Ingestion: f1 = 0.111");
}

TEST_F(RunFill, FaultsOfTheFileEndTheRun) {
    SelectionSnapshot s = minimal();
    s.nuclides = {"Bad"};
    s.halfLives = {""};
    addFile("Bad", "x\r\n");
    EXPECT_THROW(
        {
            try {
                runSelection(s);
            } catch (const IoError& e) {
                EXPECT_STREQ(e.what(), "Invalid numeric input");
                throw;
            }
        },
        IoError);
    addFile("Bad", "5\r\n0\r\n0\r\n");
    EXPECT_THROW(runSelection(s), RangeError);
    // A file that ends early gives empty fields, which do not add up.
    addFile("Bad", "0\r\n0\r\n1\r\n");
    try {
        runSelection(s);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
    EXPECT_EQ(store.tableCount(), 0);
    // The data file is a directory.
    ASSERT_EQ(::mkdir(dir.file("Dir.dat").c_str(), 0755), 0);
    s.nuclides = {"Dir"};
    EXPECT_EQ(runSelection(s).stopMessage, "Cannot find the nuclide file");
}

TEST_F(RunFill, CommaSeparatorAndAFieldThatIsNoNumber) {
    addFile("N", DataFileBuilder({0, 0, 1}, {0, 0, 0})
                     .lines([](const testing::RecordPlace& place, int line) {
                         if (line == 8)
                             return testing::valueLine(
                                 [](int row) { return row == 17 ? "1.O-10" : "3.3E-07"; });
                         if (line == 3) return testing::valueLine([](int) { return "4.4E-06"; });
                         return DataFileBuilder::defaultLine(place, line);
                     })
                     .build());
    SelectionSnapshot s = minimal();
    s.nuclides = {"N"};
    s.periods = {false, false, false, false, true};
    s.tissues[0] = s.tissues[16] = true;  // rows 1 and 18
    EXPECT_TRUE(runSelection(s, ',').complete);
    EXPECT_EQ(store.inUtero(1, 2), "4,4E-06");
    EXPECT_EQ(store.postNatal(1, 2, 1), "3,3E-07");
    EXPECT_EQ(store.offspring(1, 2, 1), "4,7E-06");
    s.tissues[15] = true;  // row 17 holds a letter O for a zero
    try {
        runSelection(s, ',');
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'1,O-10 ' is not a valid floating point value");
    }
}

TEST_F(RunFill, SavedAndOverriddenTablesReadAsTheRunFilledThem) {
    addFile("N", DataFileBuilder({0, 0, 1}, {0, 0, 0}).build());
    SelectionSnapshot s = minimal();
    s.nuclides = {"N"};
    s.periods[4] = true;
    s.tissues[16] = true;  // rows 1 and 18, periods 1 and 5
    ASSERT_TRUE(runSelection(s, ',').complete);
    auto texts = [this] {
        std::vector<std::string> all = {store.summary(1)};
        for (int r = 1; r <= 2; ++r) {
            all.push_back(store.inUtero(1, r));
            for (int n = 1; n <= 2; ++n) {
                all.push_back(store.postNatal(1, r, n));
                all.push_back(store.offspring(1, r, n));
            }
        }
        return all;
    };
    const std::vector<std::string> filled = texts();
    EXPECT_NE(filled[1].find(','), std::string::npos);

    // The results file holds the texts the tables show, with the run's separator.
    const std::string path = dir.file("out.dos");
    writeResultsFile(path, *testing::completeRun(s, dir.slash(), ','));
    const std::string saved = testing::readBytes(path);
    EXPECT_NE(
        saved.find("\r\n" + filled[0] + "\r\nIn utero doses\r\nBladder," + filled[1] + "\r\n"),
        std::string::npos);
    EXPECT_NE(saved.find("\r\nOffspring doses\r\nBladder," + filled[3] + "," + filled[5] + "\r\n"),
              std::string::npos);

    // Reading and saving change nothing.
    EXPECT_EQ(texts(), filled);
}

// A data file padded with a long spare line, so that its bytes dwarf the store's own needs.
std::string paddedDataFile(std::size_t padding) {
    return DataFileBuilder({0, 0, 1}, {0, 0, 0})
        .lines([padding](const testing::RecordPlace& place, int line) {
            if (line == 2 && place.scenario == 1) return std::string(padding, 's');
            return DataFileBuilder::defaultLine(place, line);
        })
        .build();
}

TEST_F(RunFill, CopiesShareOneReadAndAFailedRunKeepsNothing) {
    constexpr std::size_t kPadding = 4 << 20;
    addFile("Big", paddedDataFile(kPadding));
    SelectionSnapshot s = minimal();
    s.nuclides = {"Big"};
    s.halfLives = {"1 y"};
    ASSERT_TRUE(runSelection(s).complete);
    const std::size_t once = store.memoryBytes();
    ASSERT_GT(once, kPadding);

    // Twenty copies of one nuclide: twenty tables over one read of its file.
    s.nuclides.assign(20, "Big");
    s.halfLives.assign(20, "1 y");
    const FillOutcome copies = runSelection(s);
    ASSERT_TRUE(copies.complete);
    EXPECT_EQ(store.tableCount(), 20);
    EXPECT_EQ(store.nuclide(20), "Big, half-life is 1 y");
    EXPECT_LT(store.memoryBytes(), once + kPadding);

    // A value that is no number in a later file ends the run, and the store lets go of the
    // earlier file's bytes at once.
    addFile("Bad", DataFileBuilder({0, 0, 1}, {0, 0, 0})
                       .lines([](const testing::RecordPlace& place, int line) {
                           if (line == 3) return testing::valueLine([](int) { return "1.O-10"; });
                           return DataFileBuilder::defaultLine(place, line);
                       })
                       .build());
    s.nuclides = {"Big", "Big", "Bad"};
    s.halfLives = {"1 y", "1 y", "2 y"};
    EXPECT_THROW(runSelection(s), ConversionError);
    EXPECT_EQ(store.tableCount(), 0);
    EXPECT_LT(store.memoryBytes(), kPadding);
}

TEST_F(RunFill, IncompleteChecksFillNothing) {
    SelectionSnapshot s = minimal();
    s.periods = {};
    store.resize(1, 1, 1);
    store.setTableCount(1);
    const FillOutcome outcome =
        fillResultStore(s, checkSelection(s), dir.slash(), '.', scratch, store);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.stopMessage, "Please select an integration period(s)");
    EXPECT_EQ(store.tableCount(), 1);
}

}  // namespace
}  // namespace fetaldose
