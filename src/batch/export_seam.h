#pragma once
// Where the CSV and XLSX exporters plug into the batch tool: one call each way.

#include <string>

#include "core/run/output_format.h"
#include "core/run/run_result.h"

namespace fetaldose::batch {

// Writes the run in an export format (CSV or XLSX) under `path` ("-" standard output), with
// the provenance of the run, under the same safe-save rules as the results file. Throws
// IoError on an input/output failure and Fault (ExportError) on any other.
void writeExport(OutputFormat format, const std::string& path, const RunResult& run);

}  // namespace fetaldose::batch
