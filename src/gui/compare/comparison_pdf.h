#pragma once
// The comparison as a PDF report: its summary and the provenance of both folders, then the
// listed differences as a table, every page numbered. A4 landscape.

#include <functional>
#include <string>

namespace fetaldose {
class Comparison;
}

namespace fetaldose::gui {

// Told how many differences are laid out, of how many; returns false to cancel.
using ComparisonPdfProgress = std::function<bool(long long done, long long total)>;

// Writes the report under the safe-save rules: complete before it takes the name, nothing left
// on a failure (IoError) or a cancel (returns false).
bool writeComparisonPdf(const std::string& path, const Comparison& comparison,
                        const ComparisonPdfProgress& progress = {});

}  // namespace fetaldose::gui
