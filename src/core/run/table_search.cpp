#include "core/run/table_search.h"

#include <algorithm>

namespace fetaldose {

namespace {

// Tables come nuclide by nuclide, in the order of the chosen list: the tables of one place
// are one run of numbers, found by bisection. Returns first and one past the last.
std::pair<int, int> tablesOfNuclide(const RunResult& run, int place) {
    // The first table whose nuclide place is not below `below`.
    auto firstFrom = [&run](int below) {
        int low = 1;
        int high = run.tableCount() + 1;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (run.key(middle).nuclide < below)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    };
    return {firstFrom(place), firstFrom(place + 1)};
}

std::pair<int, int> tablesToSearch(const RunResult& run, const TablePattern& pattern) {
    if (pattern.nuclide) return tablesOfNuclide(run, *pattern.nuclide);
    return {1, run.tableCount() + 1};
}

// A part's value as one number, so that the values seen can be told apart cheaply.
int valueOf(const TableKey& key, TablePart part) {
    switch (part) {
        case TablePart::Nuclide:
            return key.nuclide;
        case TablePart::Group:
            return key.group;
        case TablePart::RouteEntry:
            return (static_cast<int>(key.route) << 16) | (key.entry << 8) | key.aerosolSize;
        case TablePart::Scenario:
            break;
    }
    return key.scenario;
}

}  // namespace

RouteEntry routeEntryOf(const TableKey& key) {
    return {key.route, key.entry, key.aerosolSize};
}

bool TablePattern::matches(const TableKey& key) const {
    return (!nuclide || *nuclide == key.nuclide) && (!group || *group == key.group) &&
           (!routeEntry || *routeEntry == routeEntryOf(key)) &&
           (!scenario || *scenario == key.scenario);
}

std::optional<int> firstTableMatching(const RunResult& run, const TablePattern& pattern) {
    const auto [first, end] = tablesToSearch(run, pattern);
    for (int table = first; table < end; ++table)
        if (pattern.matches(run.key(table))) return table;
    return std::nullopt;
}

std::vector<int> firstTableOfEach(const RunResult& run, const TablePattern& pattern,
                                  TablePart part) {
    std::vector<int> tables;
    std::vector<int> seen;
    const auto [first, end] = tablesToSearch(run, pattern);
    for (int table = first; table < end; ++table) {
        const TableKey key = run.key(table);
        if (!pattern.matches(key)) continue;
        const int value = valueOf(key, part);
        if (std::find(seen.begin(), seen.end(), value) != seen.end()) continue;
        seen.push_back(value);
        tables.push_back(table);
        // A nuclide place's tables are all together: the next place starts after them.
        if (part == TablePart::Nuclide) table = tablesOfNuclide(run, value).second - 1;
    }
    return tables;
}

}  // namespace fetaldose
