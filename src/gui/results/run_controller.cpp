#include "gui/results/run_controller.h"

#include <QApplication>
#include <QString>

#include "core/run/run.h"
#include "gui/app/messages.h"
#include "gui/app/window_set.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

namespace {

// The busy cursor for as long as the object lives, so a fault restores the cursor too.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

void RunAndView(WindowSet& windows, const SelectionSnapshot& selection) {
    TFrmDemo2& viewer = windows.viewer();

    const RunCheck check = CheckSelection(selection);
    viewer.LayOutGrids(check);
    if (!check.StopMessage.empty()) {
        windows.messages().Inform(QString::fromLocal8Bit(check.StopMessage));
        return;
    }

    FillOutcome outcome;
    {
        BusyCursor busy;
        outcome = FillResultStore(selection, check, windows.selection().DataDirectory(),
                                  windows.decimalSeparator(), viewer.RunScratch(), viewer.Store());
    }
    if (outcome.TableCount > 1) viewer.SetNextAvailable(true);
    if (!outcome.Complete) {
        if (!outcome.StopMessage.empty())
            windows.messages().Inform(QString::fromLocal8Bit(outcome.StopMessage));
        return;
    }
    viewer.ViewingLoop();
}

}  // namespace fetaldose::gui
