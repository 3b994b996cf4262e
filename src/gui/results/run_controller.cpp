#include "gui/results/run_controller.h"

#include <QApplication>
#include <QString>
#include <utility>

#include "gui/app/busy_cursor.h"
#include "gui/app/display_text.h"
#include "gui/app/messages.h"
#include "gui/results/results_viewer.h"

namespace fetaldose::gui {

void runAndView(ResultsViewer& viewer, Messages& messages, RunRequest request) {
    const RunCheck check = checkSelection(request.selection);
    viewer.layOutGrids(check);
    if (!check.stopMessage.empty()) {
        messages.inform(displayText(check.stopMessage));
        return;
    }

    // The last run's tables go before the next one is read: the two are never held at once.
    viewer.setRun(nullptr);
    RunOutcome outcome;
    {
        BusyCursor busy;
        outcome = runTables(std::move(request), check, viewer.runScratch());
    }
    if (outcome.tableCount > 1) viewer.setNextAvailable(true);
    if (!outcome.complete) {
        if (!outcome.stopMessage.empty()) messages.inform(displayText(outcome.stopMessage));
        return;
    }
    viewer.setRun(std::move(outcome.result));
    viewer.viewingLoop();
}

}  // namespace fetaldose::gui
