#pragma once
// The batch tool's tables, written while the run is made: nuclide by nuclide, each nuclide's
// tables formatted on the workers and written in the chosen order, so that memory stays that
// of a few nuclides whatever their number. The bytes are those of the whole run's writers.

#include <exception>
#include <string>

#include "batch/progress_line.h"
#include "core/run/output_format.h"
#include "core/run/run.h"
#include "core/run/run_result.h"

namespace fetaldose::batch {

struct StreamedOutput {
    bool complete = false;    // written, every table
    std::string stopMessage;  // the run's, when it stopped (nothing written)
};

// A failure of the output rather than of the run (a write, the spreadsheet library): what was
// thrown, its file the output.
struct OutputFault {
    std::exception_ptr fault;
};

// Writes every table of the checked selection to `outFile` ("-" standard output, which takes
// the finished output only) in `format` (results file, CSV or XLSX), under the safe-save rules:
// the file takes its name only when complete, and a run that stops or fails leaves an earlier
// file as it was. Throws the run's faults as a whole run throws them, and OutputFault for the
// output's.
StreamedOutput writeStreamed(OutputFormat format, const std::string& outFile,
                             const RunRequest& request, const RunCheck& check,
                             ProgressLine& progress);

}  // namespace fetaldose::batch
