#pragma once
// The report of every table of a run: a title page with the provenance, then each table with
// its header lines and one grid holding both views (post-natal dose only and offspring dose),
// as many tables to a page as fit, every page numbered. Written to a PDF file or printed.
//
// Layout: tables keep the run's order and a table never breaks across pages. All tables of a
// run have the same rows, so every table page but the last holds the same number of tables.

#include <functional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace fetaldose {
class RunResult;
}

namespace fetaldose::gui {

// The tables of a run, with the labels its layout gives them, and the lines every page
// carries at its foot (the run's short provenance, see pageFooterLines), wrapped to the page.
struct ReportTables {
    const RunResult& run;
    std::vector<std::string> footer = {};
};

// Told how many tables are laid out so far, of how many; returns false to cancel. Called on
// the thread that renders, between pages, so a progress dialog's event processing is safe.
using ReportProgress = std::function<bool(int tablesDone, int tableCount)>;

// Writes the report as an A4 PDF file under the same safe-save rules as the results file:
// the file is written beside the target under a hidden name and takes the target's place only
// when complete. Throws IoError (the reason the user sees: "Disk full", "File access denied",
// "Invalid filename", ...) with the target untouched and no file left behind. Returns false,
// also leaving the target untouched, when the progress callback cancels.
bool writeReportPdf(const std::string& path, const ReportTables& tables,
                    const std::vector<std::string>& provenance,
                    const ReportProgress& progress = {});

// Prints the report on a printer the caller has set up. Throws Fault when the printer cannot
// start or the job fails; a cancel aborts the job and returns false.
bool printReport(QPrinter& printer, const ReportTables& tables,
                 const std::vector<std::string>& provenance, const ReportProgress& progress = {});

// "Print all tables...": shows the desktop's standard print dialog over `parent` and, when
// the user accepts it, prints the report there. Returns false when either is cancelled.
bool printAllTables(QWidget* parent, const ReportTables& tables,
                    const std::vector<std::string>& provenance,
                    const ReportProgress& progress = {});

}  // namespace fetaldose::gui
