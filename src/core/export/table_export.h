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
#include <string>

#include "core/export/provenance.h"
#include "core/run/output_format.h"
#include "core/run/run_result.h"
#include "core/textio/faults.h"

namespace fetaldose {

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

// A workbook with the sheet "Dose coefficients" (header row frozen and filterable, doses as
// numbers shown as 0.0E+00) and the sheet "Provenance" (one line per row). Throws ExportError
// before writing anything when the rows would not fit a sheet. False when cancelled.
bool writeXlsxFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                   const ExportProgress& progress = {});

// Writes the run's tables to `path` as CSV or XLSX (any other format throws ExportError).
// Throws IoError for an input/output failure, ExportError as above. False when cancelled.
bool exportTables(OutputFormat format, const std::string& path, const RunResult& run,
                  const Provenance& provenance, const ExportProgress& progress = {});

}  // namespace fetaldose
