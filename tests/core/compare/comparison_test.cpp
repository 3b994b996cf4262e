// Two data folders compared value by value: identical copies, one changed cell, zeros on one
// side, a changed half-life, a removed route entry, an added nuclide, and the inputs that stop a
// comparison with a message naming the side.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "compare_folders.h"
#include "core/compare/comparison.h"
#include "core/compare/comparison_report.h"
#include "core/refdata/catalogue.h"
#include "core/run/labels.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::DosePlace;
using testing::ScratchDirectory;

constexpr long long kCellsPerTable = 18 * (1 + 2 * 5);
constexpr int kTablesPerNuclide = 2 * 11 * 3;  // groups x scenarios x entries

class ComparisonTest : public ::testing::Test {
  protected:
    ScratchDirectory reference;
    ScratchDirectory candidate;

    void SetUp() override {
        testing::writeReferenceSet(reference);
        testing::writeReferenceSet(candidate);
    }

    CompareOutcome compare(CompareScope scope, double threshold = 0,
                           std::vector<std::string> nuclides = {"Pu-239", "Cs-137"}) {
        CompareRequest request;
        request.referenceDirectory = reference.slash();
        request.candidateDirectory = candidate.slash();
        request.scope = scope;
        request.selection = testing::ingestionSelection(std::move(nuclides));
        request.threshold = threshold;
        return compareDataSets(request);
    }
    const Comparison& compared(CompareScope scope, double threshold = 0) {
        outcome_ = compare(scope, threshold);
        EXPECT_TRUE(outcome_.complete) << outcome_.stopMessage;
        return *outcome_.comparison;
    }

  private:
    CompareOutcome outcome_;
};

TEST_F(ComparisonTest, IdenticalCopiesAreEqualByTheirBytes) {
    for (const CompareScope scope : {CompareScope::Selection, CompareScope::Everything}) {
        const Comparison& c = compared(scope);
        EXPECT_TRUE(c.valuesAgree());
        EXPECT_TRUE(c.identicalCatalogues);
        EXPECT_TRUE(c.catalogueChanges.empty());
        EXPECT_EQ(c.identicalDataFiles, 2);
        EXPECT_EQ(c.matchedTables, 2 * kTablesPerNuclide);
        EXPECT_EQ(c.cells.compared, 2 * kTablesPerNuclide * kCellsPerTable);
        EXPECT_EQ(c.cells.equal, c.cells.compared);
        EXPECT_TRUE(c.differences.empty());
        EXPECT_TRUE(c.largestIncreases.empty() && c.largestDecreases.empty());
        ASSERT_EQ(c.nuclides.size(), 2u);
        EXPECT_TRUE(c.nuclides[0].identicalDataFiles);
        EXPECT_FALSE(c.nuclides[0].largestRatio.has_value());
    }

    // The same values written otherwise are equal too, though the bytes differ.
    testing::writeDataFile(
        candidate, "Pu-239",
        testing::ingestionDataFile(testing::threeEntries(), [](const DosePlace& p) {
            std::string dose = testing::placeDose(p);
            return dose.substr(0, 3) + "e" + dose.substr(4);  // 1.2e-10 for 1.2E-10
        }));
    const Comparison& c = compared(CompareScope::Selection);
    EXPECT_TRUE(c.valuesAgree());
    EXPECT_EQ(c.identicalDataFiles, 1);
    EXPECT_FALSE(c.nuclides[0].identicalDataFiles);
    EXPECT_EQ(c.cells.equal, c.cells.compared);
}

TEST_F(ComparisonTest, OneChangedCellIsFoundWithItsKeyAndRatio) {
    // Post-natal 1y of the second tissue row, worker, entry "0.01", scenario 3, doubled; its
    // offspring dose adds the in-utero dose of the row, so it changes by less.
    const DosePlace place{2, "0.01", 3, 1, 2};
    const DosePlace inUtero{2, "0.01", 3, 0, 2};
    const std::string before = "2.0E-10";
    const std::string after = "4.0E-10";
    const testing::DoseAt row = testing::doseChangedAt(inUtero, "1.0E-10");
    testing::writeDataFile(reference, "Pu-239",
                           testing::ingestionDataFile(testing::threeEntries(),
                                                      testing::doseChangedAt(place, before, row)));
    testing::writeDataFile(candidate, "Pu-239",
                           testing::ingestionDataFile(testing::threeEntries(),
                                                      testing::doseChangedAt(place, after, row)));

    const Comparison& c = compared(CompareScope::Selection);
    EXPECT_FALSE(c.valuesAgree());
    EXPECT_EQ(c.identicalDataFiles, 1);  // Cs-137 only
    EXPECT_EQ(c.cells.compared, 2 * kTablesPerNuclide * kCellsPerTable);
    // The post-natal cell, and the offspring cell of the same period that adds it in.
    ASSERT_EQ(c.differences.size(), 2u);
    const CellDifference& postNatal = c.differences[0];
    EXPECT_EQ(postNatal.quantity, CellQuantity::PostNatal);
    EXPECT_EQ(postNatal.status, CellStatus::Changed);
    EXPECT_EQ(postNatal.ratio, 2.0);
    EXPECT_EQ(postNatal.reference, 2.0E-10);
    EXPECT_EQ(postNatal.candidate, 4.0E-10);
    EXPECT_EQ(c.differences[1].quantity, CellQuantity::Offspring);
    EXPECT_EQ(c.differences[1].row, postNatal.row);
    EXPECT_EQ(c.differences[1].period, 1);
    EXPECT_DOUBLE_EQ(c.differences[1].ratio, 5.0E-10 / 3.0E-10);

    const CellDescription d = describeCell(c, postNatal);
    EXPECT_EQ(d.nuclide, "Pu-239");
    EXPECT_EQ(d.group, "Worker");
    EXPECT_EQ(d.route, std::string(kIngestionPrefix) + "0.01");
    EXPECT_EQ(d.scenario, std::string(kScenarioTexts[2]));
    EXPECT_EQ(d.tissue, std::string(kRowLabels[1]));
    EXPECT_EQ(d.period, "1y");
    EXPECT_EQ(d.referenceDose, before);
    EXPECT_EQ(d.candidateDose, after);
    EXPECT_EQ(d.status, "changed");

    ASSERT_EQ(c.largestIncreases.size(), 2u);  // largest first
    EXPECT_EQ(c.largestIncreases[0].quantity, CellQuantity::PostNatal);
    EXPECT_EQ(c.largestIncreases[1].quantity, CellQuantity::Offspring);
    EXPECT_TRUE(c.largestDecreases.empty());
    EXPECT_EQ(c.nuclides[0].cells.beyondThreshold(), 2);
    EXPECT_EQ(c.nuclides[1].cells.beyondThreshold(), 0);
    EXPECT_DOUBLE_EQ(*c.nuclides[0].largestRatio, c.largestIncreases[0].ratio);

    // A threshold above the offspring's change and below the post-natal one's leaves the
    // offspring cell within it; one above both leaves the values agreeing.
    const double offspringChange = c.differences[1].ratio - 1;
    const double postNatalChange = postNatal.ratio - 1;
    ASSERT_LT(offspringChange, postNatalChange);
    const Comparison& loose =
        compared(CompareScope::Selection, (offspringChange + postNatalChange) / 2);
    EXPECT_EQ(loose.cells.changed, 1);
    EXPECT_EQ(loose.cells.withinThreshold, 1);
    EXPECT_EQ(loose.differences.size(), 1u);
    EXPECT_TRUE(compared(CompareScope::Selection, postNatalChange).valuesAgree());
}

TEST_F(ComparisonTest, AZeroOnOneSideIsNewOrGoneNeverARatio) {
    // An in-utero dose gone (the offspring doses of its row move with it), a post-natal dose
    // new, each far above the other doses of its row, and a dose zero on both sides.
    const DosePlace toZero{1, "0.1", 1, 0, 5};
    const DosePlace fromZero{1, "0.1", 2, 2, 7};
    const DosePlace bothZero{1, "0.1", 4, 3, 9};
    const testing::DoseAt zeroBoth = testing::doseChangedAt(bothZero, "0.0E+00");
    testing::writeDataFile(
        reference, "Pu-239",
        testing::ingestionDataFile(
            testing::threeEntries(),
            testing::doseChangedAt(fromZero, "0.0E+00",
                                   testing::doseChangedAt(toZero, "9.9E-07", zeroBoth))));
    testing::writeDataFile(
        candidate, "Pu-239",
        testing::ingestionDataFile(
            testing::threeEntries(),
            testing::doseChangedAt(fromZero, "9.9E-07",
                                   testing::doseChangedAt(toZero, "0.0E+00", zeroBoth))));
    const Comparison& c = compared(CompareScope::Selection);
    EXPECT_EQ(c.cells.goneCells, 1);
    EXPECT_EQ(c.cells.newCells, 1);
    // The in-utero dose gone changes the five offspring doses of its row, the new post-natal
    // dose the offspring dose of its period.
    EXPECT_EQ(c.cells.changed, 5 + 1);
    for (const CellDifference& cell : c.differences) {
        if (cell.status == CellStatus::New) {
            EXPECT_EQ(cell.reference, 0);
            EXPECT_GT(cell.candidate, 0);
            EXPECT_EQ(cell.ratio, 0);
            EXPECT_EQ(describeCell(c, cell).ratio, "");
            EXPECT_EQ(describeCell(c, cell).status, "new");
        } else if (cell.status == CellStatus::Gone) {
            EXPECT_EQ(cell.candidate, 0);
            EXPECT_EQ(describeCell(c, cell).status, "gone");
            EXPECT_EQ(cell.quantity, CellQuantity::InUtero);
        } else {
            EXPECT_EQ(cell.quantity, CellQuantity::Offspring);
            EXPECT_GT(cell.ratio, 0);
        }
    }
}

TEST_F(ComparisonTest, AChangedHalfLifeIsACatalogueChangeWithEqualValues) {
    testing::writeCatalogue(candidate, {{"Pu-239", "24100 y"}, {"Cs-137", "30.0 y"}});
    const Comparison& c = compared(CompareScope::Selection);
    EXPECT_TRUE(c.valuesAgree());
    EXPECT_FALSE(c.identicalCatalogues);
    ASSERT_EQ(c.catalogueChanges.size(), 1u);
    EXPECT_EQ(c.catalogueChanges[0].kind, CatalogueChange::Kind::HalfLifeChanged);
    EXPECT_EQ(c.catalogueChanges[0].referenceHalfLife, "24110 y");
    EXPECT_EQ(c.catalogueChanges[0].candidateHalfLife, "24100 y");
    // Each side's tables carry their own catalogue's half-life.
    EXPECT_EQ(c.reference->halfLife(1), "24110 y");
    EXPECT_EQ(c.candidate->halfLife(1), "24100 y");
    EXPECT_EQ(c.nuclides[0].candidateHalfLife, "24100 y");
    bool listed = false;
    for (const std::string& line : comparisonSummary(c))
        listed = listed || line == "  half-life changed: Pu-239: 24110 y -> 24100 y";
    EXPECT_TRUE(listed);
}

TEST_F(ComparisonTest, ARemovedRouteEntryShiftsNothing) {
    // The first ingestion entry is gone: the others move up one place, with their values.
    testing::writeDataFile(candidate, "Pu-239", testing::ingestionDataFile({"0.01", "0.1"}));
    const Comparison& c = compared(CompareScope::Selection);
    EXPECT_FALSE(c.valuesAgree());
    EXPECT_EQ(c.cells.equal, c.cells.compared);
    EXPECT_TRUE(c.differences.empty());
    EXPECT_EQ(c.referenceOnlyTables, 2 * 11);
    EXPECT_EQ(c.candidateOnlyTables, 0);
    EXPECT_EQ(c.matchedTables, 2 * kTablesPerNuclide - 2 * 11);
    ASSERT_EQ(c.oneSidedEntries.size(), 2u);  // one in each exposure group
    for (const OneSidedEntry& entry : c.oneSidedEntries) {
        EXPECT_EQ(entry.side, DataSetSide::Reference);
        EXPECT_EQ(entry.nuclide, "Pu-239");
        EXPECT_EQ(entry.routeText, std::string(kIngestionPrefix) + "0.001");
        EXPECT_EQ(entry.tables, 11);
    }
    EXPECT_EQ(c.nuclides[0].matchedTables, 2 * 2 * 11);
}

TEST_F(ComparisonTest, AnAddedNuclideIsOnOneSideOnly) {
    testing::writeCatalogue(candidate,
                            {{"Pu-239", "24110 y"}, {"Cs-137", "30.0 y"}, {"Sr-90", "28.8 y"}});
    testing::writeDataFile(candidate, "Sr-90", testing::ingestionDataFile({"0.3"}));

    const Comparison& all = compared(CompareScope::Everything);
    EXPECT_FALSE(all.valuesAgree());
    ASSERT_EQ(all.nuclides.size(), 3u);
    EXPECT_EQ(all.nuclides[2].name, "Sr-90");
    EXPECT_EQ(all.nuclides[2].presence, NuclidePresence::CandidateOnly);
    // Everything chosen: every group, route, size, scenario, tissue and period.
    EXPECT_EQ(all.candidateOnlyTables, 2 * 11);
    EXPECT_EQ(all.nuclides[0].matchedTables, kTablesPerNuclide);
    ASSERT_EQ(all.catalogueChanges.size(), 1u);
    EXPECT_EQ(all.catalogueChanges[0].kind, CatalogueChange::Kind::Added);

    // The selection holds only the two nuclides both sides have.
    const Comparison& chosen = compared(CompareScope::Selection);
    EXPECT_TRUE(chosen.valuesAgree());
    EXPECT_EQ(chosen.catalogueChanges.size(), 1u);

    // A chosen nuclide the candidate lacks is on the reference's side only; nothing fails.
    const CompareOutcome lacking = [&] {
        testing::writeCatalogue(reference,
                                {{"Pu-239", "24110 y"}, {"Cs-137", "30.0 y"}, {"I-131", "8.04 d"}});
        testing::writeDataFile(reference, "I-131", testing::ingestionDataFile({"1.0"}));
        return compare(CompareScope::Selection, 0, {"I-131", "Pu-239"});
    }();
    ASSERT_TRUE(lacking.complete) << lacking.stopMessage;
    EXPECT_EQ(lacking.comparison->nuclides[0].presence, NuclidePresence::ReferenceOnly);
    EXPECT_EQ(lacking.comparison->referenceOnlyTables, 2 * 11);
    EXPECT_EQ(lacking.comparison->cells.compared, kTablesPerNuclide * kCellsPerTable);
}

TEST_F(ComparisonTest, BadInputStopsWithAMessageNamingTheSide) {
    std::filesystem::remove(candidate.file("nuclides.txt"));
    CompareOutcome outcome = compare(CompareScope::Selection);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.stopMessage,
              "Candidate data set " + candidate.slash() + ": " + kMissingCatalogueMessage);
    testing::writeReferenceSet(candidate);

    // A data file whose dose is no number: the fault with its file, on the candidate's side.
    testing::writeDataFile(
        candidate, "Cs-137",
        testing::ingestionDataFile({"0.5", "0.6", "0.7"},
                                   testing::doseChangedAt({1, "0.6", 1, 0, 1}, "x.yE-10")));
    outcome = compare(CompareScope::Everything);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(
        outcome.stopMessage.rfind(
            "Candidate data set " + candidate.slash() + ": " + candidate.file("Cs-137.dat"), 0),
        0u)
        << outcome.stopMessage;
    testing::writeReferenceSet(candidate);

    // A data file or a catalogue that is no regular file is refused by its type, unread.
    std::filesystem::remove(candidate.file("Pu-239.dat"));
    ASSERT_EQ(::mkfifo(candidate.file("Pu-239.dat").c_str(), 0644), 0);
    outcome = compare(CompareScope::Selection);
    EXPECT_FALSE(outcome.complete);
    EXPECT_TRUE(outcome.inputFault);
    EXPECT_EQ(
        outcome.stopMessage.rfind(
            "Candidate data set " + candidate.slash() + ": " + candidate.file("Pu-239.dat"), 0),
        0u)
        << outcome.stopMessage;
    std::filesystem::remove(candidate.file("Pu-239.dat"));
    std::filesystem::remove(reference.file("nuclides.txt"));
    ASSERT_EQ(::mkfifo(reference.file("nuclides.txt").c_str(), 0644), 0);
    outcome = compare(CompareScope::Selection);
    EXPECT_TRUE(outcome.inputFault);
    EXPECT_EQ(outcome.stopMessage.rfind("Reference data set " + reference.slash() + ": ", 0), 0u)
        << outcome.stopMessage;
    std::filesystem::remove(reference.file("nuclides.txt"));
    testing::writeReferenceSet(reference);
    testing::writeReferenceSet(candidate);

    // A selection the runs cannot make: the run's own message, at the reference, run first.
    CompareRequest request;
    request.referenceDirectory = reference.slash();
    request.candidateDirectory = candidate.slash();
    request.selection = testing::ingestionSelection({"Pu-239"});
    request.selection.memberOfPublic = request.selection.occupational = false;
    outcome = compareDataSets(request);
    EXPECT_EQ(outcome.stopMessage,
              "Reference data set " + reference.slash() + ": " + std::string(kSelectGroupMessage));

    request.referenceDirectory = reference.file("absent");
    outcome = compareDataSets(request);
    EXPECT_EQ(outcome.stopMessage,
              "Reference data set " + reference.file("absent") + "/: no such data folder");

    // Cancelled from the progress callback: no comparison.
    request.referenceDirectory = reference.slash();
    request.selection = testing::ingestionSelection({"Pu-239"});
    int calls = 0;
    outcome = compareDataSets(request, [&calls](long long done, long long total) {
        EXPECT_LE(done, total);
        return ++calls < 2;
    });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.comparison);
}

TEST_F(ComparisonTest, ExportsRefuseToReplaceAFileOfEitherDataSet) {
    const Comparison& c = compared(CompareScope::Selection);
    const std::string before = testing::readBytes(candidate.file("Pu-239.dat"));
    EXPECT_THROW(exportComparison(OutputFormat::Csv, candidate.file("Pu-239.dat"), c),
                 OutputIsInput);
    EXPECT_THROW(exportComparison(OutputFormat::Xlsx, reference.file("nuclides.txt"), c),
                 OutputIsInput);
    EXPECT_EQ(testing::readBytes(candidate.file("Pu-239.dat")), before);

    // A failed write leaves nothing under the name.
    ScratchDirectory out;
    EXPECT_THROW(exportComparison(OutputFormat::Csv, "/dev/full", c), IoError);
    exportComparison(OutputFormat::Csv, out.file("c.csv"), c);
    const std::string csv = testing::readBytes(out.file("c.csv"));
    EXPECT_NE(csv.find("# Reference data set: Data folder: " + reference.slash()),
              std::string::npos);
    EXPECT_NE(csv.find("# Candidate data set: SHA-256 of Pu-239.dat: "), std::string::npos);
}

}  // namespace
}  // namespace fetaldose
