#pragma once
// "Run": checks the selection, lays out the viewer's grids, makes the run's tables and runs
// the viewing loop until "Return to input".

#include "core/run/run_result.h"

namespace fetaldose::gui {

class Messages;
class ResultsViewer;

// Performs one run, its tables shown in `viewer`. Stop messages go through `messages`; faults
// propagate to the caller's guard.
void runAndView(ResultsViewer& viewer, Messages& messages, RunRequest request);

}  // namespace fetaldose::gui
