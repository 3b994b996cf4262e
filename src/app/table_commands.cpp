#include "app/table_commands.h"

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <algorithm>
#include <utility>

#include "core/assessment/assessment_texts.h"
#include "core/assessment/units.h"
#include "core/export/dose_rows.h"
#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/refdata/catalogue.h"
#include "core/textio/output_guard.h"
#include "gui/app/busy_cursor.h"
#include "gui/app/messages.h"
#include "gui/charts/chart_window.h"
#include "gui/report/shown_table.h"
#include "gui/report/table_report.h"
#include "gui/results/go_to_table_dialog.h"
#include "gui/results/results_viewer.h"

namespace fetaldose::gui {

namespace {

// A progress dialog that shows itself only when the work takes a while, with a busy cursor
// for as long as it lives.
class ExportProgressDialog {
  public:
    ExportProgressDialog(QWidget* parent, int tableCount) : dialog_(parent) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setRange(0, std::max(1, tableCount));
        dialog_.setValue(0);
    }
    ExportProgressDialog(const ExportProgressDialog&) = delete;
    ExportProgressDialog& operator=(const ExportProgressDialog&) = delete;

    // False once the user has cancelled.
    bool step(int tablesDone, int tableCount) {
        dialog_.setMaximum(std::max(1, tableCount));
        dialog_.setValue(std::min(tablesDone, dialog_.maximum()));
        return !dialog_.wasCanceled();
    }

  private:
    QProgressDialog dialog_;
    BusyCursor busy_;
};

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

TableCommands::TableCommands(Messages& messages, ExportTargetChooser chooseTarget)
    : messages_(messages), chooseTarget_(std::move(chooseTarget)) {
    if (!chooseTarget_) chooseTarget_ = askExportTarget;
}

void TableCommands::addTo(ViewerCommands& commands) {
    commands.copyTable = [this] { copyTable(); };
    commands.exportTables = [this] { exportTables(); };
    commands.printTables = [this] { printTables(); };
    commands.openChart = [this] { openChart(); };
    commands.assessTable = [this] { assessTable(); };
    commands.tableShown = [this](int table) { tableShown(table); };
    commands.goToTable = [this] { goToTable(); };
}

void TableCommands::runStarting() {
    chartRunStale_ = true;
    if (!chart_) return;
    chart_->setRun(nullptr);
    if (chart_->isVisible()) {
        chart_->hide();
        chartHiddenForRun_ = true;
    }
}

const RunResult* TableCommands::run() const {
    return viewer_ ? viewer_->run().get() : nullptr;
}

void TableCommands::copyTable() {
    if (!viewer_) return;
    const TableView view =
        viewer_->postNatalViewShown() ? TableView::PostNatal : TableView::Offspring;
    copyTableToClipboard(shownTableFromRun(run(), viewer_->currentTable(), view));
}

void TableCommands::exportTables() {
    const RunResult* shown = run();
    if (!shown) return;
    const std::optional<ExportTarget> target = chooseTarget_(viewer_);
    if (!target) return;
    const std::string path = localPath(target->path);
    refuseOutputOverInputs(path, dataSetFiles(shown->sources().dataDirectory));
    const Provenance provenance = provenanceOf(*shown);

    // Cancelled by the user: nothing written, nothing to say.
    ExportProgressDialog progress(viewer_, shown->tableCount());
    const auto step = [&progress](int done, int count) { return progress.step(done, count); };
    if (target->format == OutputFormat::Pdf)
        writeReportPdf(path, ReportTables{*shown, pageFooterLines(provenance, shown->tableCount())},
                       provenanceLines(provenance, shown->tableCount()), step);
    else
        fetaldose::exportTables(target->format, path, *shown, provenance, step);
}

void TableCommands::printTables() {
    const RunResult* shown = run();
    if (!shown) return;
    const Provenance provenance = provenanceOf(*shown);
    // The progress shows only once printing has started, never over the print dialog.
    std::optional<ExportProgressDialog> progress;
    printAllTables(viewer_, ReportTables{*shown, pageFooterLines(provenance, shown->tableCount())},
                   provenanceLines(provenance, shown->tableCount()),
                   [this, &progress](int done, int count) {
                       if (!progress) progress.emplace(viewer_, count);
                       return progress->step(done, count);
                   });
}

void TableCommands::giveChartTheRun() {
    chart_->setRun(viewer_->run());
    chartRunStale_ = false;
}

void TableCommands::openChart() {
    if (!viewer_) return;
    if (!chart_) {
        chart_ = new ChartWindow(viewer_);
        // A failed image save is reported in the program's error box, as every other save is.
        chart_->setMessageFunction([this](const QString& text) { messages_.error(text); });
        chart_->setSaveCheck([this](const std::string& path) {
            if (const RunResult* shown = run())
                refuseOutputOverInputs(path, dataSetFiles(shown->sources().dataDirectory));
        });
    }
    if (chartRunStale_) giveChartTheRun();
    chartHiddenForRun_ = false;
    chart_->showForTable(viewer_->currentTable());
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
}

void TableCommands::assessTable() {
    const RunResult* shown = run();
    if (!shown || !assessIntake_ || !viewer_) return;
    const int table = viewer_->currentTable();
    if (!shown->hasTable(table)) return;
    // The texts as the intakes file spells them, as the CSV export writes them.
    assessment::IntakeEntry entry;
    entry.nuclide = std::string(shown->nuclideName(table));
    entry.group =
        std::string(assessment::kGroupNames[static_cast<std::size_t>(shown->key(table).group - 1)]);
    entry.route = exporting::cellText(shown->routeHeading(table));
    entry.time = exporting::cellText(shown->scenarioHeading(table));
    entry.unit = std::string(assessment::kActivityUnits[0].name);
    assessIntake_(std::move(entry));
}

void TableCommands::tableShown(int table) {
    if (!chart_ || !viewer_) return;
    if (chartRunStale_) giveChartTheRun();
    chart_->showForTable(table);
    if (chartHiddenForRun_) {
        chartHiddenForRun_ = false;
        chart_->show();
    }
}

void TableCommands::goToTable() {
    const RunResult* shown = run();
    if (!shown) return;
    if (const std::optional<int> table =
            GoToTableDialog::ask(*shown, viewer_->currentTable(), messages_, viewer_))
        viewer_->goToTable(*table);
}

}  // namespace fetaldose::gui
