#pragma once
// Export of every table of a run to a file other programs read: CSV or a spreadsheet (XLSX).
// Both carry the provenance lines first, then one row per table and tissue with the columns
// nuclide, half_life, exposure_group, intake_route, intake_scenario, tissue,
// in_utero_Sv_per_Bq, and for each chosen period postnatal_<p>_Sv_per_Bq and
// offspring_<p>_Sv_per_Bq. Texts are UTF-8; doses are numbers with '.' as the decimal mark
// whatever the run's separator, with the two significant figures the tables give them.
//
// Saving follows the results file's rules: the file is complete before it takes the name, an
// earlier file of that name keeps its permission bits (and a read-only one is refused), a
// symbolic link keeps pointing where it pointed; on any failure the fault is thrown and no
// partial file is left under the name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/export/export_texts.h"
#include "core/export/provenance.h"
#include "core/run/output_format.h"
#include "core/run/run_result.h"
#include "core/textio/faults.h"

namespace fetaldose {

class BlockWriter;
class TextWriter;

// A fault of an export other than input/output: a spreadsheet too large for a sheet, or the
// spreadsheet library failing. Its message says what happened.
class ExportError : public Fault {
  public:
    using Fault::Fault;
};

// Told how many of the tables are written, now and then and once at the end, so that a long
// export can show its progress; returns false to cancel the export, which then leaves no file,
// as on any failure.
using ExportProgress = std::function<bool(int tablesWritten, int tableCount)>;

// RFC 4180 CSV, UTF-8, CR LF line ends. Each provenance line is a record of one field starting
// with "# "; then the header row, then the rows. False when cancelled.
bool writeCsvFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                  const ExportProgress& progress = {});

// The CSV of a run made in parts (nuclide by nuclide, say), for runs too large to hold: the head
// (the provenance lines and the header row), then each part's rows in order; the bytes are
// those writeCsvFile writes of the whole run.
class CsvTables {
  public:
    explicit CsvTables(const TableLayout& layout);
    void writeHead(TextWriter& out, const std::vector<std::string>& provenanceLines) const;
    // The rows of every table of `run` (of this layout), into `block`; any number of threads
    // may write parts at once. `tableWritten`, if given, is told the number of each table
    // written; it returns false to stop, and this then returns false.
    bool writeRows(BlockWriter& block, const RunResult& run,
                   const std::function<bool(int)>& tableWritten = {}) const;

  private:
    std::vector<std::string> columns_;
    std::vector<std::string> tissues_;  // each as a CSV field
};

// A workbook with the sheet "Dose coefficients" (header row frozen and filterable, doses as
// numbers shown as 0.0E+00) and the sheet "Provenance" (one line per row). Tables that would
// pass a sheet's rows (`rowsPerSheet`, the header row included) go on in the sheets "Dose
// coefficients 2" and on, each with the header row, and the provenance names them. False when
// cancelled.
bool writeXlsxFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                   const ExportProgress& progress = {}, long rowsPerSheet = kSheetRowLimit);

// The same workbook made in parts (a run made nuclide by nuclide, say): each part's rows in
// order, then the provenance and the save. The rows go to disk as they come.
class XlsxTables {
  public:
    explicit XlsxTables(const TableLayout& layout, long rowsPerSheet = kSheetRowLimit);
    ~XlsxTables();
    XlsxTables(const XlsxTables&) = delete;
    XlsxTables& operator=(const XlsxTables&) = delete;

    // The rows of every table of `run` (of this layout). `tableWritten`, if given, is told the
    // number of each table written; it returns false to stop, and this then returns false.
    bool writeRows(const RunResult& run, const std::function<bool(int)>& tableWritten = {});
    int sheetCount() const;
    // Adds the provenance sheet, finishes and checks the workbook, and saves it as `path`.
    void finish(const std::string& path, std::vector<std::string> provenanceLines);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes the run's tables to `path` as CSV or XLSX (any other format throws ExportError).
// Throws IoError for an input/output failure, ExportError as above. False when cancelled.
bool exportTables(OutputFormat format, const std::string& path, const RunResult& run,
                  const Provenance& provenance, const ExportProgress& progress = {});

}  // namespace fetaldose
