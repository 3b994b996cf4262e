// The result store gives the texts of the records a run filled it with, cell by cell and row
// by row alike, at a bounded cost per table.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/run/result_store.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "data_file_builder.h"
#include "filled_store.h"

namespace fetaldose {
namespace {

using testing::DataFileBuilder;
using testing::everythingChosen;
using testing::fillFromTexts;

TEST(ResultStore, SizesForEightHundredEightyTablesPerNuclide) {
    ResultStore store;
    EXPECT_EQ(store.slotCount(), 0);
    store.resize(3, 18, 5);
    EXPECT_EQ(store.slotCount(), 3 * 880 + 1);
    EXPECT_EQ(store.rowCount(), 18);
    EXPECT_EQ(store.periodCount(), 5);
    EXPECT_EQ(store.tableCount(), 0);
    // Every slot exists before anything is written, and reads empty.
    EXPECT_EQ(store.offspring(3 * 880, 18, 5), "");
    EXPECT_EQ(store.summary(3 * 880), "");
    EXPECT_EQ(store.nuclide(3 * 880), "");
    char row[128];
    EXPECT_EQ(std::string(row, store.writeOffspringRow(3 * 880, 18, ',', row)), ",,,,,");
}

TEST(ResultStore, ResizeStartsAfresh) {
    ResultStore store;
    fillFromTexts(store, everythingChosen({"A"}), {DataFileBuilder({0, 0, 1}, {0, 0, 0}).build()});
    ASSERT_EQ(store.tableCount(), 11);
    ASSERT_NE(store.inUtero(5, 18), "");
    store.resize(1, 3, 1);
    EXPECT_EQ(store.tableCount(), 0);
    EXPECT_EQ(store.inUtero(5, 3), "");
    EXPECT_EQ(store.nuclide(5), "");
    EXPECT_EQ(store.summary(5), "");
    EXPECT_THROW(store.inUtero(5, 4), RangeError);
}

TEST(ResultStore, OutOfRangeNumbersAreRangeErrors) {
    ResultStore store;
    char row[128];
    EXPECT_THROW(store.inUtero(0, 1), RangeError);
    EXPECT_THROW(store.nuclide(0), RangeError);
    EXPECT_THROW(store.writeInUteroRow(0, 1, ',', row), RangeError);
    store.resize(1, 2, 3);
    EXPECT_THROW(store.inUtero(881, 1), RangeError);
    EXPECT_THROW(store.inUtero(1, 0), RangeError);
    EXPECT_THROW(store.inUtero(1, 3), RangeError);
    EXPECT_THROW(store.postNatal(1, 1, 0), RangeError);
    EXPECT_THROW(store.offspring(1, 1, 4), RangeError);
    EXPECT_THROW(store.summary(-1), RangeError);
    EXPECT_THROW(store.writePostNatalRow(881, 1, ',', row), RangeError);
    EXPECT_THROW(store.writeOffspringRow(1, 3, ',', row), RangeError);
    EXPECT_THROW(store.setTableCount(881), RangeError);
    EXPECT_THROW(store.resize(-1, 1, 1), RangeError);
    EXPECT_THROW(store.resize(10'000'000, 1, 1), RangeError);
}

// Every row a store writes, and every cell it reads, against the general reading of the
// fields: each localised, and each offspring dose the long double sum of the two texts beside
// it. Over the fuzz seeds (odd fields, early ends) and generated doses of every kind, with
// both separators and with a few rows and periods chosen as well as all of them.
TEST(ResultStore, RowsAndCellsAgreeWithTheGeneralReading) {
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(FETALDOSE_NUCLIDE_SEEDS))
        texts.push_back(testing::readBytes(entry.path().string()));
    ASSERT_GE(texts.size(), 5u);
    texts.push_back(
        DataFileBuilder({4, 3, 3}, {4, 3, 3}).lines(DataFileBuilder::variedLine).build());

    SelectionSnapshot some = everythingChosen({"F"});
    some.allOrgans = some.allPeriods = false;
    some.tissues[16] = some.tissues[2] = true;  // rows 3, 4 and 18
    some.periods[4] = some.periods[1] = true;
    int compared = 0;
    for (const std::string& text : texts) {
        for (const SelectionSnapshot& selection : {everythingChosen({"F"}), some}) {
            for (const char separator : {'.', ','}) {
                ResultStore store;
                try {
                    fillFromTexts(store, selection, {text}, separator);
                } catch (const Fault&) {
                    continue;  // a seed with a fault of its own
                }
                std::vector<char> row(store.maxRowBytes());
                for (int t = 1; t <= store.tableCount(); ++t) {
                    for (int r = 1; r <= store.rowCount(); ++r) {
                        const std::string inUtero = store.inUtero(t, r);
                        const long double inUteroValue = readDose(inUtero, separator);
                        std::string postNatalRow, offspringRow;
                        for (int n = 1; n <= store.periodCount(); ++n) {
                            const std::string postNatal = store.postNatal(t, r, n);
                            const std::string sum = formatDose(
                                inUteroValue + readDose(postNatal, separator), separator);
                            ASSERT_EQ(store.offspring(t, r, n), sum)
                                << inUtero << " + " << postNatal;
                            postNatalRow += ";" + postNatal;
                            offspringRow += ";" + sum;
                        }
                        ASSERT_EQ(
                            std::string(row.data(), store.writeInUteroRow(t, r, ';', row.data())),
                            ";" + inUtero);
                        ASSERT_EQ(
                            std::string(row.data(), store.writePostNatalRow(t, r, ';', row.data())),
                            postNatalRow);
                        ASSERT_EQ(
                            std::string(row.data(), store.writeOffspringRow(t, r, ';', row.data())),
                            offspringRow);
                    }
                }
                compared += store.tableCount();
            }
        }
    }
    EXPECT_GE(compared, 4 * 814);  // the generated data set ran
}

TEST(ResultStore, BytesPerTableStayUnderTwoKilobytes) {
    ResultStore store;
    const std::string full =
        DataFileBuilder({4, 3, 3}, {4, 3, 3}).lines(DataFileBuilder::variedLine).build();
    fillFromTexts(store, everythingChosen({"A", "B"}), {full, full});
    ASSERT_EQ(store.tableCount(), 2 * 814);
    // The data files' bytes, which the store keeps, are most of it.
    EXPECT_GE(store.memoryBytes(), 2 * full.size());
    EXPECT_LE(store.memoryBytes() / static_cast<std::size_t>(store.tableCount()), 2048u);
}

}  // namespace
}  // namespace fetaldose
