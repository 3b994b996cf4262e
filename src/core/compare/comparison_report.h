#pragma once
// What a comparison says to a reader: the summary read first (the same lines on standard output
// and in the comparison window), each difference in words, and the CSV and XLSX exports with
// the provenance of both folders. Every text here is UTF-8.

#include <string>
#include <vector>

#include "core/compare/comparison.h"
#include "core/export/sheet_export.h"
#include "core/run/output_format.h"

namespace fetaldose {

// The summary: settings, the verdict, the counts, catalogue changes, what is on one side only,
// the largest changes with their keys, and per nuclide its counts and its largest ratio.
std::vector<std::string> comparisonSummary(const Comparison& comparison);

// A cell of the comparison in words, as the difference list, the exports and the tables side by
// side name it.
struct CellDescription {
    std::string nuclide;
    std::string group;
    std::string route;
    std::string scenario;
    std::string tissue;
    std::string quantity;       // "in utero", "post-natal", "offspring"
    std::string period;         // "1y" ... "70y"; empty for the in-utero dose
    std::string referenceDose;  // the tables' texts, with '.' as the decimal mark
    std::string candidateDose;
    std::string ratio;  // candidate / reference to 7 significant digits; empty for new or gone
    std::string status;
};
CellDescription describeCell(const Comparison& comparison, const CellDifference& cell);

// A ratio as the summary and the exports write it: 7 significant digits, '.' as the mark.
std::string ratioText(double ratio);
// The words of a status ("changed", "new", ...).
std::string_view statusWord(CellStatus status);

// The provenance of a comparison: its settings, then the provenance of each folder's run (the
// data folder, the SHA-256 of every file read, the selection), each line labelled with its side.
std::vector<std::string> comparisonProvenance(const Comparison& comparison);

// The comparison as sheets: summary, differences, largest changes, nuclides, one side only and
// catalogue changes.
std::vector<SheetTable> comparisonSheets(const Comparison& comparison);

// Writes the comparison as CSV or XLSX under `path`, by the safe save, the provenance first.
// Refuses (OutputIsInput, nothing written) a path that is a file of either data set.
void exportComparison(OutputFormat format, const std::string& path, const Comparison& comparison);

// The files of both data sets, which no output of a comparison may replace.
std::vector<std::string> comparisonInputs(const Comparison& comparison);

}  // namespace fetaldose
