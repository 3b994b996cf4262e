#pragma once
// Finding a run's tables by what they are rather than by their number: the first table of a
// nuclide, exposure group, route entry and scenario, any of them left open, and the choices a
// run offers for each of them.

#include <optional>
#include <vector>

#include "core/run/run_result.h"

namespace fetaldose {

// One route entry of a data file: an absorption type and aerosol size of particulates, or an
// ingestion or vapour entry (aerosol size 1).
struct RouteEntry {
    IntakeRoute route = IntakeRoute::Ingestion;
    int entry = 1;
    int aerosolSize = 1;
    bool operator==(const RouteEntry&) const = default;
};

RouteEntry routeEntryOf(const TableKey& key);

// What tables are sought by; a part left empty matches every table.
struct TablePattern {
    std::optional<int> nuclide;  // place in the chosen list, from 0
    std::optional<int> group;    // 1 members of the public, 2 workers
    std::optional<RouteEntry> routeEntry;
    std::optional<int> scenario;  // 1 to 11

    bool matches(const TableKey& key) const;
};

// The number of the first table of `run` the pattern matches; nothing when none does.
std::optional<int> firstTableMatching(const RunResult& run, const TablePattern& pattern);

// The parts of a table's key a pattern can leave open.
enum class TablePart { Nuclide, Group, RouteEntry, Scenario };

// Among the tables the pattern matches, the first table of each value `part` takes, in table
// order: one table for each nuclide place, group, route entry or scenario on offer there.
std::vector<int> firstTableOfEach(const RunResult& run, const TablePattern& pattern,
                                  TablePart part);

}  // namespace fetaldose
