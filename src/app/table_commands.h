#pragma once
// The commands of the viewer's context menu, wired here because they join the viewer to the
// report library and the chart window: copy the table on show, export or print every table
// of the run (with the provenance of the run), the chart that follows the viewer's paging, and
// an intake of the table on show for the dose assessment; going to a table by its number or
// by what it is.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "core/assessment/intakes_file.h"
#include "core/run/run_result.h"
#include "gui/report/export_target.h"

namespace fetaldose::gui {

class ChartWindow;
class Messages;
class ResultsViewer;
struct ViewerCommands;

// Asks where to export to (the desktop's file dialog by default); nothing when cancelled.
using ExportTargetChooser = std::function<std::optional<ExportTarget>(QWidget* parent)>;

class TableCommands {
  public:
    TableCommands(Messages& messages, ExportTargetChooser chooseTarget);
    TableCommands(const TableCommands&) = delete;
    TableCommands& operator=(const TableCommands&) = delete;

    // Puts the commands into the viewer's callbacks; they act on `viewer` once it is attached.
    void addTo(ViewerCommands& commands);
    void attach(ResultsViewer& viewer) { viewer_ = &viewer; }

    // A run is starting: an open chart lets the last run go and hides until the new run's
    // first table is on show.
    void runStarting();

    void copyTable();
    void exportTables();
    void printTables();
    void openChart();
    // Hands an intake of the table on show (its nuclide, exposure group, route entry and
    // scenario; no activity yet) to the dose assessment.
    void assessTable();
    void setAssessIntake(std::function<void(assessment::IntakeEntry)> assess) {
        assessIntake_ = std::move(assess);
    }
    // Asks for a table of the run and shows it in the viewer.
    void goToTable();
    // The viewer put `table` on show: the chart follows.
    void tableShown(int table);

    // The chart window, once it has been opened (owned by the viewer).
    ChartWindow* chart() const { return chart_; }

  private:
    // The viewer's run, or nothing when it has none (no command then does anything).
    const RunResult* run() const;
    void giveChartTheRun();

    Messages& messages_;
    ExportTargetChooser chooseTarget_;
    ResultsViewer* viewer_ = nullptr;
    ChartWindow* chart_ = nullptr;
    std::function<void(assessment::IntakeEntry)> assessIntake_;
    bool chartRunStale_ = true;
    bool chartHiddenForRun_ = false;
};

}  // namespace fetaldose::gui
