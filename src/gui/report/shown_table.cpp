#include "gui/report/shown_table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <string_view>

#include "core/run/run_result.h"
#include "gui/app/display_text.h"
#include "gui/report/report_texts.h"

namespace fetaldose::gui {

namespace texts = report_texts;

namespace {

QString plainCell(QString text) {
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
    return text;
}

void appendPlainLine(QString& out, const QStringList& cells) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0) out += u'\t';
        out += plainCell(cells[i]);
    }
    out += u'\n';
}

void appendHtmlRow(QString& out, const QStringList& cells, const char* cellTag, int span) {
    out += QStringLiteral("<tr>");
    const QString open = QStringLiteral("<%1>").arg(QLatin1StringView(cellTag));
    const QString close = QStringLiteral("</%1>").arg(QLatin1StringView(cellTag));
    for (qsizetype i = 0; i < cells.size(); ++i) {
        // The last text of a short line spans the rest of the row, as it does on screen.
        if (i + 1 == cells.size() && cells.size() < span)
            out += QStringLiteral("<%1 colspan=\"%2\">")
                       .arg(QLatin1StringView(cellTag))
                       .arg(span - cells.size() + 1);
        else
            out += open;
        out += cells[i].toHtmlEscaped();
        out += close;
    }
    out += QStringLiteral("</tr>\n");
}

}  // namespace

ShownTable shownTableFromRun(const RunResult* run, int table, TableView view) {
    ShownTable shown;
    const bool postNatal = view == TableView::PostNatal;
    // With no such table in this run (the viewer's "Table 1 of 0") the header lines are empty
    // and the dose cells blank, as the viewer shows them.
    const bool present = run && run->hasTable(table);
    auto heading = [&](std::string_view (RunResult::*field)(int) const) {
        return present ? displayText((run->*field)(table)) : QString();
    };
    // The viewer shows the scenario on the second line and the route on the third.
    shown.headerLines = {
        {heading(&RunResult::nuclideHeading), heading(&RunResult::groupHeading)},
        {heading(&RunResult::scenarioHeading)},
        {heading(&RunResult::routeHeading)},
        {texts::kDoseCaption, postNatal ? texts::kPostnatalView : texts::kOffspringView}};
    shown.columnHeadings = {texts::kTissueHeading, texts::kInUteroHeading};
    if (!run) return shown;
    const TableLayout& layout = run->layout();
    for (int n = 1; n <= layout.periodCount(); ++n)
        shown.columnHeadings.push_back(displayText(layout.periodHeading(n)));
    for (int r = 1; r <= layout.rowCount(); ++r) {
        QStringList cells = {displayText(layout.rowLabel(r)),
                             present ? displayText(run->inUteroText(table, r)) : kBlankCell};
        for (int n = 1; n <= layout.periodCount(); ++n)
            cells.push_back(!present    ? kBlankCell
                            : postNatal ? displayText(run->postNatalText(table, r, n))
                                        : displayText(run->offspringText(table, r, n)));
        shown.rows.push_back(std::move(cells));
    }
    return shown;
}

QString tableAsTabSeparated(const ShownTable& table) {
    QString out;
    for (const QStringList& line : table.headerLines) appendPlainLine(out, line);
    appendPlainLine(out, table.columnHeadings);
    for (const QStringList& row : table.rows) appendPlainLine(out, row);
    return out;
}

QString tableAsHtml(const ShownTable& table) {
    qsizetype width = table.columnHeadings.size();
    for (const QStringList& row : table.rows) width = std::max(width, row.size());
    const int span = static_cast<int>(width);
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n<table>\n");
    for (const QStringList& line : table.headerLines) appendHtmlRow(out, line, "td", span);
    appendHtmlRow(out, table.columnHeadings, "th", span);
    for (const QStringList& row : table.rows) appendHtmlRow(out, row, "td", span);
    out += QStringLiteral("</table>\n</body></html>\n");
    return out;
}

std::unique_ptr<QMimeData> tableMimeData(const ShownTable& table) {
    auto data = std::make_unique<QMimeData>();
    data->setText(tableAsTabSeparated(table));
    data->setHtml(tableAsHtml(table));
    return data;
}

void copyTableToClipboard(const ShownTable& table) {
    // The clipboard owns the data from here on.
    QGuiApplication::clipboard()->setMimeData(tableMimeData(table).release(),
                                              QClipboard::Clipboard);
}

}  // namespace fetaldose::gui
