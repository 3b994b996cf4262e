#include "gui/results/run_controller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <algorithm>
#include <memory>
#include <utility>

#include "gui/app/busy_cursor.h"
#include "gui/app/display_text.h"
#include "gui/app/messages.h"
#include "gui/results/results_texts.h"
#include "gui/results/results_viewer.h"

namespace fetaldose::gui {

namespace texts = results_texts;

namespace {

// Thrown from the run's progress callback to end the run: the run then lets go of all it read.
struct RunCancelled {};

// The progress of a run, told after each nuclide. Nothing shows until the run has gone on for
// the delay; from then on a dialog that blocks every window shows how far it got, and events
// are handled between nuclides so that Cancel, Escape and the close box answer.
class RunProgressWindow {
  public:
    explicit RunProgressWindow(const RunProgressSetup& setup) : setup_(setup) { clock_.start(); }
    RunProgressWindow(const RunProgressWindow&) = delete;
    RunProgressWindow& operator=(const RunProgressWindow&) = delete;

    // False once the user has cancelled or the program is ending.
    bool step(int nuclidesDone, int nuclideCount) {
        if (stopWanted()) return false;
        if (!dialog_ && clock_.elapsed() < setup_.delay.count()) return true;
        if (!dialog_) open(nuclideCount);
        dialog_->setLabelText(texts::kRunProgressText.arg(nuclidesDone).arg(nuclideCount));
        dialog_->setValue(std::min(nuclidesDone, dialog_->maximum()));
        QCoreApplication::processEvents();
        return !dialog_->wasCanceled() && !stopWanted();
    }

  private:
    bool stopWanted() const { return setup_.stopWanted && setup_.stopWanted(); }

    void open(int nuclideCount) {
        dialog_ = std::make_unique<QProgressDialog>(setup_.parent);
        dialog_->setWindowTitle(QCoreApplication::applicationName());
        dialog_->setCancelButtonText(texts::kRunCancelButton);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->setRange(0, std::max(1, nuclideCount));
        dialog_->setLabelText(texts::kRunProgressText.arg(0).arg(nuclideCount));
        dialog_->show();
    }

    const RunProgressSetup& setup_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

void runAndView(ResultsViewer& viewer, Messages& messages, RunRequest request,
                const RunProgressSetup& progress) {
    const RunCheck check = checkSelection(request.selection);
    viewer.layOutGrids(check);
    if (!check.stopMessage.empty()) {
        messages.inform(displayText(check.stopMessage));
        return;
    }

    // The last run's tables go before the next one is read: the two are never held at once.
    viewer.setRun(nullptr);
    RunOutcome outcome;
    try {
        BusyCursor busy;
        RunProgressWindow window(progress);
        const RunProgress told = [&window](int done, int count) {
            if (!window.step(done, count)) throw RunCancelled();
        };
        outcome = runTables(std::move(request), check, viewer.runScratch(), told);
    } catch (const RunCancelled&) {
        return;
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
