#pragma once
// "Run": checks the selection, lays out the viewer's grids, makes the run's tables and runs
// the viewing loop until "Return to input".

#include <chrono>
#include <functional>

#include "core/run/run_result.h"

class QWidget;

namespace fetaldose::gui {

class Messages;
class ResultsViewer;

// A run that is still making its tables after this long shows its progress, with Cancel.
inline constexpr std::chrono::milliseconds kRunProgressDelay{500};

// How a run shows that it is under way.
struct RunProgressSetup {
    QWidget* parent = nullptr;  // the progress dialog blocks every window, centred over this one
    std::chrono::milliseconds delay = kRunProgressDelay;
    // True once the program is ending: the run stops as if cancelled.
    std::function<bool()> stopWanted;
};

// Performs one run, its tables shown in `viewer`. Stop messages go through `messages`; faults
// propagate to the caller's guard. A run cancelled in its progress dialog (or stopped by the
// program's end) shows nothing and keeps nothing it read; the viewer then holds no run.
void runAndView(ResultsViewer& viewer, Messages& messages, RunRequest request,
                const RunProgressSetup& progress = {});

}  // namespace fetaldose::gui
