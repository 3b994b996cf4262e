#include "core/export/sheet_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/export/csv_field.h"
#include "core/export/export_texts.h"
#include "core/export/workbook_check.h"
#include "core/export/workbook_file.h"
#include "core/textio/scratch_folder.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

constexpr double kColumnWidth = 18;

void writeNote(TextWriter& out, std::string& line, const std::string& text) {
    line.clear();
    exporting::appendCsvField(line, "# " + text);
    out.writeLine(line);
}

void writeRecord(TextWriter& out, std::string& line, const std::vector<std::string>& fields) {
    line.clear();
    for (std::size_t c = 0; c < fields.size(); ++c) {
        if (c > 0) line += ',';
        exporting::appendCsvField(line, fields[c]);
    }
    out.writeLine(line);
}

}  // namespace

void writeSheetsCsv(const std::string& path, const std::vector<SheetTable>& tables,
                    const SheetNotes& notes) {
    saveTextFile(path, [&](TextWriter& out) {
        std::string line;
        for (const std::string& text : notes.leading) writeNote(out, line, text);
        for (std::size_t t = 0; t < tables.size(); ++t) {
            const SheetTable& table = tables[t];
            if (t > 0) {
                out.writeLine("");
                writeNote(out, line, table.sheetName);
            }
            writeRecord(out, line, table.columns);
            for (const std::vector<SheetCell>& row : table.rows) {
                line.clear();
                for (std::size_t c = 0; c < row.size(); ++c) {
                    if (c > 0) line += ',';
                    exporting::appendCsvField(line, row[c].text);
                }
                out.writeLine(line);
            }
        }
        for (const std::string& text : notes.trailing) writeNote(out, line, text);
    });
}

void writeSheetsWorkbook(const std::string& path, const std::vector<SheetTable>& tables,
                         const SheetNotes& notes) {
    for (const SheetTable& table : tables) {
        const long sheetRows = 1 + static_cast<long>(table.rows.size());
        if (sheetRows > kSheetRowLimit)
            throw ExportError(std::string(kTooManyRowsStart) + std::to_string(sheetRows) +
                              std::string(kTooManyRowsEnd));
    }
    const ScratchFolder scratch("fetaldose-export");
    const std::string workbookPath = scratch.path() + "/workbook.xlsx";
    std::vector<exporting::ExpectedSheet> expected;
    {
        exporting::Workbook workbook(workbookPath, scratch.path());
        lxw_workbook* book = workbook.get();
        lxw_format* headerFormat = workbook_add_format(book);
        format_set_bold(headerFormat);
        for (const SheetTable& table : tables) {
            lxw_worksheet* sheet = workbook.addSheet(table.sheetName);
            const auto lastColumn =
                static_cast<lxw_col_t>(std::max<std::size_t>(table.columns.size(), 1) - 1);
            std::vector<lxw_format*> formats(table.columns.size(), nullptr);
            for (std::size_t c = 0; c < formats.size() && c < table.numberFormats.size(); ++c) {
                if (table.numberFormats[c].empty()) continue;
                formats[c] = workbook_add_format(book);
                format_set_num_format(formats[c], table.numberFormats[c].c_str());
            }
            exporting::check(worksheet_set_column(sheet, 0, lastColumn, kColumnWidth, nullptr));
            worksheet_freeze_panes(sheet, 1, 0);
            exporting::check(worksheet_autofilter(
                sheet, 0, 0, static_cast<lxw_row_t>(table.rows.size()), lastColumn));
            for (std::size_t c = 0; c < table.columns.size(); ++c)
                exporting::check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                                        table.columns[c].c_str(), headerFormat));
            lxw_row_t sheetRow = 0;
            for (const std::vector<SheetCell>& row : table.rows) {
                ++sheetRow;
                for (std::size_t c = 0; c < row.size(); ++c) {
                    const auto column = static_cast<lxw_col_t>(c);
                    const SheetCell& cell = row[c];
                    if (cell.number) {
                        exporting::check(
                            worksheet_write_number(sheet, sheetRow, column, *cell.number,
                                                   c < formats.size() ? formats[c] : nullptr));
                    } else if (!cell.text.empty()) {
                        exporting::check(worksheet_write_string(sheet, sheetRow, column,
                                                                cell.text.c_str(), nullptr));
                    }
                }
            }
            expected.push_back(
                {"xl/worksheets/sheet" + std::to_string(expected.size() + 1) + ".xml",
                 1 + static_cast<long>(table.rows.size()), 0});
        }
        std::vector<std::string> lines = notes.leading;
        lines.insert(lines.end(), notes.trailing.begin(), notes.trailing.end());
        exporting::writeLinesSheet(workbook.addSheet(kProvenanceSheetName), lines);
        workbook.close();
    }
    exporting::checkWorkbook(workbookPath, expected);
    exporting::saveFinishedWorkbook(workbookPath, path);
}

void exportSheets(OutputFormat format, const std::string& path,
                  const std::vector<SheetTable>& tables, const SheetNotes& notes) {
    switch (format) {
        case OutputFormat::Csv:
            writeSheetsCsv(path, tables, notes);
            return;
        case OutputFormat::Xlsx:
            writeSheetsWorkbook(path, tables, notes);
            return;
        case OutputFormat::ResultsFile:
        case OutputFormat::Pdf:
            break;
    }
    throw ExportError(std::string(kNotAnExportFormat) + std::string(outputFormatInfo(format).name));
}

}  // namespace fetaldose
