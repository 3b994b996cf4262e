// The result store keeps every text exactly, at a bounded cost per table.

#include <gtest/gtest.h>

#include <string>

#include "core/run/result_store.h"
#include "core/textio/faults.h"

namespace fetaldose {
namespace {

TEST(ResultStore, SizesForEightHundredEightyTablesPerNuclide) {
    ResultStore store;
    EXPECT_EQ(store.SlotCount(), 0);
    store.Resize(3, 18, 5);
    EXPECT_EQ(store.SlotCount(), 3 * 880 + 1);
    EXPECT_EQ(store.RowCount(), 18);
    EXPECT_EQ(store.PeriodCount(), 5);
    EXPECT_EQ(store.TableCount(), 0);
    // Every slot exists before anything is written, and reads empty.
    EXPECT_EQ(store.Offspring(3 * 880, 18, 5), "");
    EXPECT_EQ(store.Summary(3 * 880), "");
    EXPECT_LE(store.MemoryBytes(), static_cast<std::size_t>(store.SlotCount()) * 2048);
}

TEST(ResultStore, KeepsEveryTextExactly) {
    ResultStore store;
    store.Resize(1, 2, 2);
    const std::string texts[] = {"",
                                 "1",
                                 "1.2E-10",
                                 "-1.2E-10",
                                 std::string("a\0b\0c\0d\0", 8),
                                 std::string(7, '\xff'),
                                 std::string(8, '\x80'),
                                 std::string(70000, 'x'),
                                 "9.9E-4951 and more"};
    int slot = 1;
    for (const std::string& text : texts) {
        store.SetInUtero(slot, 2, text);
        store.SetPostNatal(slot, 1, 2, text);
        store.SetOffspring(slot, 2, 1, text + "+");
        store.SetHeadings(slot, text, "g" + text, "r", text, "s");
        ++slot;
    }
    slot = 1;
    for (const std::string& text : texts) {
        EXPECT_EQ(store.InUtero(slot, 2), text);
        EXPECT_EQ(store.PostNatal(slot, 1, 2), text);
        EXPECT_EQ(store.Offspring(slot, 2, 1), text + "+");
        EXPECT_EQ(store.InUtero(slot, 1), "");
        EXPECT_EQ(store.Nuclide(slot), text);
        EXPECT_EQ(store.Group(slot), "g" + text);
        EXPECT_EQ(store.Scenario(slot), text);
        EXPECT_EQ(store.Summary(slot), "s");
        ++slot;
    }
    // Overwriting a long text with a short one and back.
    store.SetOffspring(1, 1, 1, "-1.0E-05");
    store.SetOffspring(1, 1, 1, "1.0E-05");
    EXPECT_EQ(store.Offspring(1, 1, 1), "1.0E-05");
    store.SetOffspring(1, 1, 1, "-1.0E-05");
    EXPECT_EQ(store.Offspring(1, 1, 1), "-1.0E-05");
}

TEST(ResultStore, ResizeStartsAfresh) {
    ResultStore store;
    store.Resize(1, 18, 5);
    store.SetInUtero(5, 18, "-1.0E-10");
    store.SetHeadings(5, "n", "g", "r", "s", "x");
    store.SetTableCount(5);
    store.Resize(1, 3, 1);
    EXPECT_EQ(store.TableCount(), 0);
    EXPECT_EQ(store.InUtero(5, 3), "");
    EXPECT_EQ(store.Nuclide(5), "");
    EXPECT_THROW(store.InUtero(5, 4), RangeError);
}

TEST(ResultStore, OutOfRangeNumbersAreRangeErrors) {
    ResultStore store;
    EXPECT_THROW(store.InUtero(0, 1), RangeError);
    EXPECT_THROW(store.Nuclide(0), RangeError);
    store.Resize(1, 2, 3);
    EXPECT_THROW(store.InUtero(881, 1), RangeError);
    EXPECT_THROW(store.InUtero(1, 0), RangeError);
    EXPECT_THROW(store.InUtero(1, 3), RangeError);
    EXPECT_THROW(store.PostNatal(1, 1, 0), RangeError);
    EXPECT_THROW(store.Offspring(1, 1, 4), RangeError);
    EXPECT_THROW(store.SetOffspring(-1, 1, 1, "x"), RangeError);
    EXPECT_THROW(store.SetHeadings(881, "", "", "", "", ""), RangeError);
    EXPECT_THROW(store.SetTableCount(881), RangeError);
    EXPECT_THROW(store.Resize(-1, 1, 1), RangeError);
    EXPECT_THROW(store.Resize(10'000'000, 1, 1), RangeError);
}

TEST(ResultStore, AFullTableTakesUnderTwoKilobytes) {
    ResultStore store;
    store.Resize(1, 18, 5);
    for (int slot = 1; slot <= 814; ++slot) {
        store.SetHeadings(slot, "Pu-239, half-life is 24065 y", "Member of the public",
                          "Inhalation: Type M, f1 = 0.0005, " + std::to_string(slot % 10),
                          "Acute intake (1Bq) at conception",
                          "Highest dose is to: Bone surface, x");
        for (int r = 1; r <= 18; ++r) {
            store.SetInUtero(slot, r, "1.0E-10");
            for (int n = 1; n <= 5; ++n) {
                store.SetPostNatal(slot, r, n, "2.0E-11");
                store.SetOffspring(slot, r, n, "1.2E-10");
            }
        }
    }
    // Short texts live in their cells and repeated headings are kept once.
    EXPECT_LE(store.MemoryBytes(), 881u * 2048u);
}

}  // namespace
}  // namespace fetaldose
