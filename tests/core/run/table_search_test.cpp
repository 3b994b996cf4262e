// Finding a run's tables by nuclide place, exposure group, route entry and scenario: the first
// table of any such choice, and the values on offer under a choice, in table order. Each
// record's summary names its place in the data file ("g2 V1 s11"), so the table found is
// known by what it shows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run/table_search.h"
#include "data_file_builder.h"
#include "filled_store.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::DataFileBuilder;

// Aa (members of the public only: one absorption type, one ingestion entry), Bb (both groups:
// a vapour and two ingestion entries), Aa again, and Cc, whose file gives no tables.
std::shared_ptr<const RunResult> searchedRun() {
    const SelectionSnapshot selection = testing::everythingChosen({"Aa", "Bb", "Aa", "Cc"});
    RunOutcome outcome =
        testing::runFromTexts(selection, {DataFileBuilder({0, 1, 1}, {0, 0, 0}).build(),
                                          DataFileBuilder({1, 0, 2}, {1, 0, 2}).build(),
                                          DataFileBuilder({0, 1, 1}, {0, 0, 0}).build(),
                                          DataFileBuilder({0, 0, 0}, {0, 0, 0}).build()});
    EXPECT_TRUE(outcome.complete);
    return outcome.result;
}

constexpr int kTablesOfAa = 11 * (10 + 1);  // 11 scenarios of ten sizes and one entry
constexpr int kTablesOfBb = 2 * 11 * 3;

std::string placeOf(const RunResult& run, std::optional<int> table) {
    if (!table) return "none";
    // "...: g2 V1 s11, detail"
    const std::string summary = run.summary(*table);
    const std::size_t tag = summary.find(": g");
    if (tag == std::string::npos) return summary;
    const std::size_t end = summary.find_first_of(" ,", summary.find(" s", tag) + 1);
    return summary.substr(tag + 2, end - tag - 2);
}

TEST(TableSearch, FirstTableOfAnyChoiceOrNone) {
    const auto run = searchedRun();
    ASSERT_EQ(run->tableCount(), 2 * kTablesOfAa + kTablesOfBb);
    EXPECT_EQ(firstTableMatching(*run, {}), 1);

    TablePattern pattern;
    pattern.nuclide = 1;
    EXPECT_EQ(firstTableMatching(*run, pattern), kTablesOfAa + 1);
    EXPECT_EQ(run->nuclideName(kTablesOfAa + 1), "Bb");
    pattern.nuclide = 2;  // the second Aa, not the first
    EXPECT_EQ(firstTableMatching(*run, pattern), kTablesOfAa + kTablesOfBb + 1);
    pattern.nuclide = 3;  // a place without tables
    EXPECT_EQ(firstTableMatching(*run, pattern), std::nullopt);
    pattern.nuclide = 7;  // no such place
    EXPECT_EQ(firstTableMatching(*run, pattern), std::nullopt);

    pattern = {};
    pattern.nuclide = 0;
    pattern.group = 2;  // Aa has no worker tables
    EXPECT_EQ(firstTableMatching(*run, pattern), std::nullopt);

    pattern = {};
    pattern.group = 2;
    pattern.routeEntry = RouteEntry{IntakeRoute::Vapours, 1, 1};
    pattern.scenario = 11;
    EXPECT_EQ(placeOf(*run, firstTableMatching(*run, pattern)), "g2 V1 s11");
    pattern.routeEntry = RouteEntry{IntakeRoute::Particulates, 1, 4};  // only Aa has them
    pattern.group.reset();
    const std::optional<int> particulate = firstTableMatching(*run, pattern);
    EXPECT_EQ(placeOf(*run, particulate), "g1 P1 a4 s11");
    EXPECT_LE(particulate.value_or(0), kTablesOfAa);

    pattern = {};
    pattern.scenario = 3;
    EXPECT_EQ(firstTableMatching(*run, pattern), 3);
}

TEST(TableSearch, ValuesOnOfferInTableOrder) {
    const auto run = searchedRun();
    // Every place of the chosen list that has tables, Aa's second place too.
    EXPECT_EQ(firstTableOfEach(*run, {}, TablePart::Nuclide),
              (std::vector<int>{1, kTablesOfAa + 1, kTablesOfAa + kTablesOfBb + 1}));

    TablePattern bb;
    bb.nuclide = 1;
    std::vector<std::string> places;
    for (int table : firstTableOfEach(*run, bb, TablePart::Group))
        places.push_back(placeOf(*run, table));
    EXPECT_EQ(places, (std::vector<std::string>{"g1 I1 s1", "g2 I1 s1"}));

    bb.group = 2;
    places.clear();
    for (int table : firstTableOfEach(*run, bb, TablePart::RouteEntry))
        places.push_back(placeOf(*run, table));
    EXPECT_EQ(places, (std::vector<std::string>{"g2 I1 s1", "g2 I2 s1", "g2 V1 s1"}));

    // Without a nuclide, each route entry once, from whichever nuclide has it first.
    TablePattern anyNuclide;
    anyNuclide.scenario = 2;
    const std::vector<int> entries = firstTableOfEach(*run, anyNuclide, TablePart::RouteEntry);
    ASSERT_EQ(entries.size(), std::size_t{10 + 1 + 1 + 1});
    EXPECT_EQ(placeOf(*run, entries.back()), "g1 V1 s2");
    EXPECT_EQ(run->nuclideName(entries.back()), "Bb");

    TablePattern aa;
    aa.nuclide = 2;
    aa.routeEntry = RouteEntry{IntakeRoute::Particulates, 1, 10};
    const std::vector<int> scenarios = firstTableOfEach(*run, aa, TablePart::Scenario);
    ASSERT_EQ(scenarios.size(), std::size_t{11});
    for (int s = 1; s <= 11; ++s) {
        EXPECT_EQ(run->key(scenarios[static_cast<std::size_t>(s - 1)]).scenario, s);
        EXPECT_EQ(run->key(scenarios[static_cast<std::size_t>(s - 1)]).nuclide, 2);
    }
    aa.group = 2;
    EXPECT_TRUE(firstTableOfEach(*run, aa, TablePart::Scenario).empty());
}

}  // namespace
}  // namespace fetaldose
