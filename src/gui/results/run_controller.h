#pragma once
// "Run": checks the selection, lays out the viewer's grids, fills the result store and runs
// the viewing loop until "Return to input".

#include "core/run/selection_snapshot.h"

namespace fetaldose::gui {

class WindowSet;

// Performs one run of the selection window's current selection. Stop messages go through
// the window set's Messages; faults propagate to the caller's guard.
void runAndView(WindowSet& windows, const SelectionSnapshot& selection);

}  // namespace fetaldose::gui
