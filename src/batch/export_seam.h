#pragma once
// Where the CSV and XLSX exporters plug into the batch tool: one call each way.

#include <string>
#include <vector>

#include "batch/command_line.h"
#include "core/run/result_store.h"

namespace fetaldose::batch {

// The tables of a finished run, with the labels the viewer's grids give them.
struct FinishedRun {
    const ResultStore& store;
    const std::vector<std::string>& rowLabels;
    const std::vector<std::string>& periodHeadings;
    char decimalSeparator;
};

// Whether the format can be written; the results file always can.
bool exportAvailable(OutputFormat format);

// Writes the run in an export format under `path` ("-" standard output), under the same
// safe-save rules as the results file. Throws IoError on a failure.
void writeExport(OutputFormat format, const std::string& path, const FinishedRun& run);

}  // namespace fetaldose::batch
