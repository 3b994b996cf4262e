#pragma once
// "Run": checks the selection, lays out the viewer's grids, fills the result store and runs
// the viewing loop until "Return to input".

#include <string>

#include "core/run/selection_snapshot.h"

namespace fetaldose::gui {

class Messages;
class ResultsViewer;

// Performs one run of `selection` on the data files in `dataDirectory`, its tables shown in
// `viewer`. Stop messages go through `messages`; faults propagate to the caller's guard.
void runAndView(ResultsViewer& viewer, Messages& messages, const SelectionSnapshot& selection,
                const std::string& dataDirectory, char decimalSeparator);

}  // namespace fetaldose::gui
