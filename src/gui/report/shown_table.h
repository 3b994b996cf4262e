#pragma once
// "Copy table": the table on show in the viewer, in the view on show, as the clipboard takes it
// (tab-separated text and an HTML table), each cell exactly as the viewer's grid shows it.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

namespace fetaldose {
class RunResult;
}

namespace fetaldose::gui {

// Which of the viewer's two grids is in front.
enum class TableView { PostNatal, Offspring };

// One table as the viewer shows it. Every text is the screen's own.
struct ShownTable {
    QList<QStringList> headerLines;  // each line above the grid, its texts left to right
    QStringList columnHeadings;      // tissue, in utero, one per chosen period
    QList<QStringList> rows;         // one per tissue: label, in-utero dose, one dose per period
};

// Table `table` (1-based) of a run (or of none, as before the first) in a view. Its header
// lines are, as on screen: nuclide and exposure group, scenario, route; then the caption and
// the view's name.
ShownTable shownTableFromRun(const RunResult* run, int table, TableView view);

// Header lines, column headings, then one line per tissue; cells separated by tabs, lines
// ended by a line feed. A tab or line break inside a cell becomes a blank.
QString tableAsTabSeparated(const ShownTable& table);
// A complete HTML document holding one <table> with the same rows and cells as the text.
QString tableAsHtml(const ShownTable& table);
// Both forms, as "text/plain" and "text/html", ready for the clipboard.
std::unique_ptr<QMimeData> tableMimeData(const ShownTable& table);
// Puts the table on the system clipboard (the one pasted with Ctrl+V).
void copyTableToClipboard(const ShownTable& table);

}  // namespace fetaldose::gui
