#pragma once
// The ASCII results file: every table of the last run, CR LF lines, nothing added.

#include <string>
#include <vector>

#include "core/run/result_store.h"

namespace fetaldose {

class TextWriter;

// Writes tables 1..tableCount of the store. rowLabels[r-1] is the label of grid row r and
// periodHeadings[n-1] the heading of the n-th chosen period, as the viewer's offspring grid
// holds them. A failure throws IoError and leaves any earlier file of that name intact.
void writeResultsFile(const std::string& path, const ResultStore& store,
                      const std::vector<std::string>& rowLabels,
                      const std::vector<std::string>& periodHeadings);

// Writes the same bytes to a writer that is already open (standard output, say). Throws
// RangeError before writing anything when a label is missing, IoError when a write fails.
void writeResults(TextWriter& out, const ResultStore& store,
                  const std::vector<std::string>& rowLabels,
                  const std::vector<std::string>& periodHeadings);

}  // namespace fetaldose
