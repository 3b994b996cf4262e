#include "gui/results/run_controller.h"

#include <QApplication>
#include <QString>

#include "core/run/run.h"
#include "gui/app/busy_cursor.h"
#include "gui/app/display_text.h"
#include "gui/app/messages.h"
#include "gui/results/results_viewer.h"

namespace fetaldose::gui {

void runAndView(ResultsViewer& viewer, Messages& messages, const SelectionSnapshot& selection,
                const std::string& dataDirectory, char decimalSeparator) {
    const RunCheck check = checkSelection(selection);
    viewer.layOutGrids(check);
    if (!check.stopMessage.empty()) {
        messages.inform(displayText(check.stopMessage));
        return;
    }

    FillOutcome outcome;
    {
        BusyCursor busy;
        outcome = fillResultStore(selection, check, dataDirectory, decimalSeparator,
                                  viewer.runScratch(), viewer.store());
    }
    if (outcome.tableCount > 1) viewer.setNextAvailable(true);
    if (!outcome.complete) {
        if (!outcome.stopMessage.empty()) messages.inform(displayText(outcome.stopMessage));
        return;
    }
    viewer.viewingLoop();
}

}  // namespace fetaldose::gui
