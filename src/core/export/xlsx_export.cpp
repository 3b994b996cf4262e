#include <xlsxwriter.h>

#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/export/dose_rows.h"
#include "core/export/export_texts.h"
#include "core/export/table_export.h"
#include "core/export/workbook_check.h"
#include "core/export/workbook_file.h"
#include "core/run/table_values.h"
#include "core/textio/scratch_folder.h"

namespace fetaldose {

namespace {

constexpr double kTextColumnWidth = 24;
constexpr double kDoseColumnWidth = 14;

using exporting::check;

}  // namespace

bool writeXlsxFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                   const ExportProgress& progress) {
    const TableLayout& layout = run.layout();
    const int tableCount = run.tableCount();
    const int rows = layout.rowCount();
    const int periods = layout.periodCount();
    const long sheetRows = 1 + static_cast<long>(tableCount) * rows;
    if (sheetRows > kSheetRowLimit)
        throw ExportError(std::string(kTooManyRowsStart) + std::to_string(sheetRows) +
                          std::string(kTooManyRowsEnd));
    const std::vector<std::string> columns = exporting::columnNames(layout);
    std::vector<std::string> tissues;
    for (int r = 1; r <= rows; ++r) tissues.push_back(exporting::cellText(layout.rowLabel(r)));
    const char separator = run.decimalSeparator();

    // The workbook is built in a private scratch folder, which also holds the library's own
    // temporary files; it is checked there, then copied under the user's name by the safe save.
    const ScratchFolder scratch("fetaldose-export");
    const std::string workbookPath = scratch.path() + "/workbook.xlsx";
    {
        exporting::Workbook workbook(workbookPath, scratch.path());
        lxw_workbook* book = workbook.get();
        lxw_format* headerFormat = workbook_add_format(book);
        format_set_bold(headerFormat);
        lxw_format* doseFormat = workbook_add_format(book);
        format_set_num_format(doseFormat, kDoseNumberFormat);

        lxw_worksheet* sheet = workbook.addSheet(kDoseSheetName);
        lxw_worksheet* provenanceSheet = workbook.addSheet(kProvenanceSheetName);

        const auto lastColumn = static_cast<lxw_col_t>(columns.size() - 1);
        const auto firstDoseColumn = static_cast<lxw_col_t>(kExportTextColumns.size());
        check(worksheet_set_column(sheet, 0, firstDoseColumn - 1, kTextColumnWidth, nullptr));
        check(
            worksheet_set_column(sheet, firstDoseColumn, lastColumn, kDoseColumnWidth, doseFormat));
        worksheet_freeze_panes(sheet, 1, 0);
        check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(sheetRows - 1), lastColumn));
        for (std::size_t c = 0; c < columns.size(); ++c)
            check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), columns[c].c_str(),
                                         headerFormat));

        std::string number;
        lxw_row_t sheetRow = 0;
        const auto writeDose = [&](lxw_col_t column, const std::string& text) {
            double value = 0;
            if (pointFormOfDose(text, separator, number) &&
                std::from_chars(number.data(), number.data() + number.size(), value).ec ==
                    std::errc()) {
                check(worksheet_write_number(sheet, sheetRow, column, value, doseFormat));
            } else {
                check(worksheet_write_string(sheet, sheetRow, column,
                                             exporting::cellText(text).c_str(), nullptr));
            }
        };
        for (int t = 1; t <= tableCount; ++t) {
            const exporting::TableTexts texts = exporting::tableTexts(run, t);
            for (int r = 1; r <= rows; ++r) {
                ++sheetRow;
                lxw_col_t column = 0;
                for (const std::string* field : std::initializer_list<const std::string*>{
                         &texts.nuclide, &texts.halfLife, &texts.group, &texts.route,
                         &texts.scenario, &tissues[static_cast<std::size_t>(r - 1)]})
                    check(
                        worksheet_write_string(sheet, sheetRow, column++, field->c_str(), nullptr));
                writeDose(column++, run.inUteroText(t, r));
                for (int n = 1; n <= periods; ++n) {
                    writeDose(column++, run.postNatalText(t, r, n));
                    writeDose(column++, run.offspringText(t, r, n));
                }
            }
            // Cancelled: the workbook is freed unwritten and the scratch folder goes with it.
            if (!exporting::tableWritten(t, tableCount, progress)) return false;
        }

        exporting::writeLinesSheet(provenanceSheet, provenanceLines(provenance, tableCount));
        workbook.close();
    }
    exporting::checkWorkbook(
        workbookPath, {"xl/worksheets/sheet1.xml", sheetRows, static_cast<int>(columns.size())});
    exporting::saveFinishedWorkbook(workbookPath, path);
    return true;
}

}  // namespace fetaldose
