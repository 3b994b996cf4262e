#pragma once
// What every export format writes of a run: one row per table and tissue, with the table's
// texts in UTF-8 and its doses as plain numbers with '.' as the decimal mark.

#include <string>
#include <string_view>
#include <vector>

#include "core/export/table_export.h"
#include "core/run/run_result.h"

namespace fetaldose::exporting {

// The column names: the text columns, the in-utero dose, then for each chosen period its
// post-natal and its offspring dose.
std::vector<std::string> columnNames(const TableLayout& layout);

// A text of the tables as a cell text: in UTF-8, without leading and trailing blanks.
std::string cellText(std::string_view bytes);

// The texts of one table's text columns, in column order (the tissue left out).
struct TableTexts {
    std::string nuclide, halfLife, group, route, scenario;
};
TableTexts tableTexts(const RunResult& run, int table);

// Tells `progress`, if any, that tables 1..table of tableCount are written: every few hundred
// tables, and at the last. False when the user has cancelled.
bool tableWritten(int table, int tableCount, const ExportProgress& progress);

}  // namespace fetaldose::exporting
