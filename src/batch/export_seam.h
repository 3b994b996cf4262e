#pragma once
// Where the CSV and XLSX exporters plug into the batch tool: one call each way.

#include <string>

#include "batch/command_line.h"
#include "core/run/result_store.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose::batch {

// The tables of a finished run, and what the provenance of an export names: the selection the
// run was made with and its data folder.
struct FinishedRun {
    const ResultStore& store;
    char decimalSeparator;
    const SelectionSnapshot& selection;
    const std::string& dataDirectory;
};

// Writes the run in an export format (CSV or XLSX) under `path` ("-" standard output), with
// the provenance of the run, under the same safe-save rules as the results file. Throws
// IoError on an input/output failure and Fault (ExportError) on any other.
void writeExport(OutputFormat format, const std::string& path, const FinishedRun& run);

}  // namespace fetaldose::batch
