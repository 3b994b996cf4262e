#include <xlsxwriter.h>

#include <algorithm>
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

// The workbook is built in a private scratch folder, which also holds the library's own
// temporary files; it is checked there, then copied under the user's name by the safe save.
struct XlsxTables::Impl {
    struct Sheet {
        lxw_worksheet* sheet = nullptr;
        long rows = 1;  // the header row included
    };

    Impl(const TableLayout& layout, long rowsPerSheet)
        : scratch("fetaldose-export"),
          workbookPath(scratch.path() + "/workbook.xlsx"),
          workbook(workbookPath, scratch.path()),
          columns(exporting::columnNames(layout)),
          rows(layout.rowCount()),
          periods(layout.periodCount()) {
        for (int r = 1; r <= rows; ++r) tissues.push_back(exporting::cellText(layout.rowLabel(r)));
        // Tables are kept whole on a sheet: as many as its rows after the header hold.
        tablesPerSheet = std::max<long>((rowsPerSheet - 1) / std::max(rows, 1), 1);
        lxw_workbook* book = workbook.get();
        headerFormat = workbook_add_format(book);
        format_set_bold(headerFormat);
        doseFormat = workbook_add_format(book);
        format_set_num_format(doseFormat, kDoseNumberFormat);
        addSheet();
    }

    // A sheet of doses, named as the first with its number after it from the second on, with
    // the header row and the first's look.
    void addSheet() {
        std::string name = kDoseSheetName;
        if (!sheets.empty()) name += " " + std::to_string(sheets.size() + 1);
        lxw_worksheet* sheet = workbook.addSheet(name);
        sheetNames.push_back(name);
        const auto lastColumn = static_cast<lxw_col_t>(columns.size() - 1);
        const auto firstDoseColumn = static_cast<lxw_col_t>(kExportTextColumns.size());
        check(worksheet_set_column(sheet, 0, firstDoseColumn - 1, kTextColumnWidth, nullptr));
        check(
            worksheet_set_column(sheet, firstDoseColumn, lastColumn, kDoseColumnWidth, doseFormat));
        worksheet_freeze_panes(sheet, 1, 0);
        for (std::size_t c = 0; c < columns.size(); ++c)
            check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), columns[c].c_str(),
                                         headerFormat));
        sheets.push_back({sheet, 1});
        tablesOnSheet = 0;
    }

    void writeDose(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const std::string& text,
                   char separator) {
        double value = 0;
        if (pointFormOfDose(text, separator, number) &&
            std::from_chars(number.data(), number.data() + number.size(), value).ec ==
                std::errc()) {
            check(worksheet_write_number(sheet, row, column, value, doseFormat));
        } else {
            check(worksheet_write_string(sheet, row, column, exporting::cellText(text).c_str(),
                                         nullptr));
        }
    }

    void writeTable(const RunResult& run, int t) {
        if (tablesOnSheet == tablesPerSheet) addSheet();
        Sheet& at = sheets.back();
        const exporting::TableTexts texts = exporting::tableTexts(run, t);
        const char separator = run.decimalSeparator();
        for (int r = 1; r <= rows; ++r) {
            const auto row = static_cast<lxw_row_t>(at.rows++);
            lxw_col_t column = 0;
            for (const std::string* field : std::initializer_list<const std::string*>{
                     &texts.nuclide, &texts.halfLife, &texts.group, &texts.route, &texts.scenario,
                     &tissues[static_cast<std::size_t>(r - 1)]})
                check(worksheet_write_string(at.sheet, row, column++, field->c_str(), nullptr));
            writeDose(at.sheet, row, column++, run.inUteroText(t, r), separator);
            for (int n = 1; n <= periods; ++n) {
                writeDose(at.sheet, row, column++, run.postNatalText(t, r, n), separator);
                writeDose(at.sheet, row, column++, run.offspringText(t, r, n), separator);
            }
        }
        ++tablesOnSheet;
    }

    ScratchFolder scratch;
    std::string workbookPath;
    exporting::Workbook workbook;
    std::vector<std::string> columns;
    std::vector<std::string> tissues;
    int rows = 0;
    int periods = 0;
    long tablesPerSheet = 1;
    long tablesOnSheet = 0;
    lxw_format* headerFormat = nullptr;
    lxw_format* doseFormat = nullptr;
    std::vector<Sheet> sheets;
    std::vector<std::string> sheetNames;
    std::string number;
};

XlsxTables::XlsxTables(const TableLayout& layout, long rowsPerSheet)
    : impl_(std::make_unique<Impl>(layout, rowsPerSheet)) {}

XlsxTables::~XlsxTables() = default;

bool XlsxTables::writeRows(const RunResult& run, const std::function<bool(int)>& tableWritten) {
    for (int t = 1; t <= run.tableCount(); ++t) {
        impl_->writeTable(run, t);
        if (tableWritten && !tableWritten(t)) return false;
    }
    return true;
}

int XlsxTables::sheetCount() const {
    return static_cast<int>(impl_->sheets.size());
}

void XlsxTables::finish(const std::string& path, std::vector<std::string> provenanceLines) {
    Impl& w = *impl_;
    const auto lastColumn = static_cast<lxw_col_t>(w.columns.size() - 1);
    std::vector<exporting::ExpectedSheet> expected;
    for (std::size_t s = 0; s < w.sheets.size(); ++s) {
        check(worksheet_autofilter(w.sheets[s].sheet, 0, 0,
                                   static_cast<lxw_row_t>(w.sheets[s].rows - 1), lastColumn));
        expected.push_back({"xl/worksheets/sheet" + std::to_string(s + 1) + ".xml",
                            w.sheets[s].rows, static_cast<int>(w.columns.size())});
    }
    if (w.sheets.size() > 1) {
        std::string names;
        for (const std::string& name : w.sheetNames)
            names += (names.empty() ? "" : std::string(kListJoin)) + name;
        provenanceLines.push_back(std::string(kDoseSheetsLabel) + std::string(kValueJoin) +
                                  std::to_string(w.sheets.size()) + " (" + names + ")" +
                                  std::string(kDoseSheetsNote));
    }
    exporting::writeLinesSheet(w.workbook.addSheet(kProvenanceSheetName), provenanceLines);
    w.workbook.close();
    exporting::checkWorkbook(w.workbookPath, expected);
    exporting::saveFinishedWorkbook(w.workbookPath, path);
}

bool writeXlsxFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                   const ExportProgress& progress, long rowsPerSheet) {
    const int tableCount = run.tableCount();
    XlsxTables workbook(run.layout(), rowsPerSheet);
    // Cancelled: the workbook is freed unwritten and the scratch folder goes with it.
    if (!workbook.writeRows(
            run, [&](int t) { return exporting::tableWritten(t, tableCount, progress); }))
        return false;
    workbook.finish(path, provenanceLines(provenance, tableCount));
    return true;
}

}  // namespace fetaldose
