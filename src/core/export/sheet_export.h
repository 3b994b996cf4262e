#pragma once
// Export of a computed table (an assessment's doses, a comparison's differences) to CSV or a
// workbook, with the same rules as the export of a run's tables: `#` provenance lines first,
// UTF-8 texts, numbers with '.' as the decimal mark, and the safe save (the file is complete
// before it takes the name; on any failure nothing is left under it).

#include <optional>
#include <string>
#include <vector>

#include "core/export/table_export.h"

namespace fetaldose {

// One cell: its text as the CSV writes it (for a number, the number as shown, with '.') and,
// for a number, the value the workbook writes as a number.
struct SheetCell {
    std::string text;
    std::optional<double> number;

    static SheetCell ofText(std::string text) { return {std::move(text), std::nullopt}; }
    static SheetCell ofNumber(std::string shown, double value) { return {std::move(shown), value}; }
};

struct SheetTable {
    std::string sheetName;  // the workbook's sheet; at most 31 characters, none of []:*?/\ .
    std::vector<std::string> columns;
    std::vector<std::vector<SheetCell>> rows;  // each as long as `columns` (or shorter)
    // The workbook's number format of each column's numbers (empty: the general format).
    std::vector<std::string> numberFormats;
};

// What an export of sheets writes besides the sheets: lines before the first header row and
// lines after the last row (the CSV writes both as "# " records; the workbook puts both on its
// "Provenance" sheet, the leading lines first).
struct SheetNotes {
    std::vector<std::string> leading;
    std::vector<std::string> trailing;
};

// CSV: the leading notes, then each table (its header row, then its rows; tables after the
// first are set off by an empty record and a "# <sheet name>" record), then the trailing notes.
void writeSheetsCsv(const std::string& path, const std::vector<SheetTable>& tables,
                    const SheetNotes& notes);

// A workbook with one sheet per table (header row bold, frozen and filterable) and the sheet
// "Provenance". Throws ExportError before writing anything when a table would not fit a sheet.
void writeSheetsWorkbook(const std::string& path, const std::vector<SheetTable>& tables,
                         const SheetNotes& notes);

// Either, by format (CSV or XLSX; any other throws ExportError).
void exportSheets(OutputFormat format, const std::string& path,
                  const std::vector<SheetTable>& tables, const SheetNotes& notes);

}  // namespace fetaldose
