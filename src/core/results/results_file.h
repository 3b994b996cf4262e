#pragma once
// The ASCII results file: every table of the last run, CR LF lines, nothing added.

#include <string>
#include <vector>

#include "core/run/run_result.h"

namespace fetaldose {

class BlockWriter;

// Writes every table of the run, each row under its layout label and each period under its
// heading, as the viewer shows them. A failure throws IoError and leaves any earlier file of
// that name intact.
void writeResultsFile(const std::string& path, const RunResult& run);

// The same bytes into a block writer, unflushed. A results file is its tables one after
// another, so the file of a run made nuclide by nuclide is the parts' bytes in their order.
void writeResultsTables(BlockWriter& block, const RunResult& run);

}  // namespace fetaldose
