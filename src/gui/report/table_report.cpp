#include "gui/report/table_report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <string_view>

#include "core/run/run_result.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"
#include "gui/app/app_texts.h"
#include "gui/app/display_text.h"
#include "gui/app/look.h"
#include "gui/app/save_file_device.h"
#include "gui/app/window_printer.h"
#include "gui/report/report_texts.h"

namespace fetaldose::gui {

namespace texts = report_texts;

namespace {

// Sizes in points (1/72 inch); the painter is scaled so that one unit is one point.
constexpr double kHeaderGap = 3;      // between the header lines and the grid
constexpr double kTableGap = 16;      // between two tables on a page
constexpr double kCellPadding = 8;    // space beside the text in a grid column
constexpr double kViewGap = 8;        // between the in-utero column and each view's columns
constexpr double kFooterSpace = 18;   // at the foot of every page, for its number
constexpr double kFooterGap = 4;      // between the page's last text and its footer lines
constexpr double kGroupColumn = 0.5;  // where the exposure group starts, of the page width

QFont face(int pointSize, bool bold = false, bool italic = false) {
    QFont font = sansSerifFace({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Helvetica")});
    // Pixel sizes are in the painter's units, which are points here.
    font.setPixelSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

struct Fonts {
    QFont title = face(18, true);
    QFont subtitle = face(11);
    QFont statement = face(11, true);
    QFont body = face(10);
    QFont heading = face(13, true);
    QFont provenance = face(9);
    QFont nuclide = face(10, true);
    QFont header = face(9);
    QFont summary = face(8, false, true);
    QFont grid = face(8);
    QFont gridBold = face(8, true);
    QFont footer = face(7);
    QFont footerBold = face(7, true);
};

// A piece of the title pages: a paragraph laid out to the page width, on a page at a height.
struct TitleBlock {
    std::unique_ptr<QTextLayout> text;
    int page = 0;
    double top = 0;
};

// Where everything goes; worked out before anything is painted, so that every page can carry
// the page count.
class ReportLayout {
  public:
    ReportLayout(QSizeF page, const ReportTables& tables,
                 const std::vector<std::string>& provenance)
        : page_(page), tables_(tables) {
        layOutFooter();
        layOutTitlePages(provenance);
        layOutGrid();
        tablePages_ = tableCount() == 0 ? 0 : (tableCount() + tablesPerPage_ - 1) / tablesPerPage_;
    }

    int tableCount() const { return tables_.run.tableCount(); }
    int pageCount() const { return titlePages_ + tablePages_; }
    int titlePages() const { return titlePages_; }
    int tablesPerPage() const { return tablesPerPage_; }

    void paintTitlePage(QPainter& painter, int page) const {
        for (const TitleBlock& block : titleBlocks_)
            if (block.page == page) block.text->draw(&painter, QPointF(0, block.top));
    }

    void paintTable(QPainter& painter, int table, double top) const;

    double tableTop(int indexOnPage) const { return indexOnPage * (tableHeight_ + kTableGap); }

    // The foot of every page: the run's short provenance (and the synthetic-data warning)
    // above a rule, the unit and the page number under it.
    void paintFooter(QPainter& painter, int page) const {
        const double top = page_.height() - kFooterSpace + 6;
        double lineTop = top - footerLinesHeight_;
        for (const auto& line : footerLines_) {
            line->draw(&painter, QPointF(0, lineTop));
            lineTop += line->boundingRect().height();
        }
        painter.setPen(QPen(Qt::gray, 0.5));
        painter.drawLine(QPointF(0, top), QPointF(page_.width(), top));
        painter.setPen(Qt::black);
        painter.setFont(fonts_.footer);
        const QRectF line(0, top + 2, page_.width(), kFooterSpace - 8);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, texts::kFooterUnit);
        painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                         texts::kPageNumber.arg(page).arg(pageCount()));
    }

  private:
    void layOutFooter();
    std::unique_ptr<QTextLayout> paragraph(const QString& text, const QFont& font) const;
    void addTitleBlock(const QString& text, const QFont& font, double spaceBefore);
    void layOutTitlePages(const std::vector<std::string>& provenance);
    void layOutGrid();

    QSizeF page_;
    const ReportTables& tables_;
    Fonts fonts_;

    std::vector<std::unique_ptr<QTextLayout>> footerLines_;
    double footerLinesHeight_ = 0;
    double footerSpace_ = kFooterSpace;  // the foot of every page, footer lines included

    std::vector<TitleBlock> titleBlocks_;
    int titlePages_ = 1;
    double titleBottom_ = 0;

    int rows_ = 0;
    int periods_ = 0;
    double headerLine_ = 0;
    double summaryLine_ = 0;
    double gridRow_ = 0;
    double tissueWidth_ = 0;
    double valueWidth_ = 0;
    double gridScale_ = 1;
    double tableHeight_ = 0;
    int tablesPerPage_ = 1;
    int tablePages_ = 0;
};

// A paragraph laid out to the page width, wrapped where it must be, never cut.
std::unique_ptr<QTextLayout> ReportLayout::paragraph(const QString& text, const QFont& font) const {
    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(wrapping);
    layout->beginLayout();
    double height = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(page_.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout->endLayout();
    return layout;
}

void ReportLayout::layOutFooter() {
    bool first = true;
    for (const std::string& line : tables_.footer) {
        // The program's line as plain text, the synthetic-data warning in bold.
        footerLines_.push_back(
            paragraph(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())),
                      first ? fonts_.footer : fonts_.footerBold));
        footerLinesHeight_ += footerLines_.back()->boundingRect().height();
        first = false;
    }
    if (!footerLines_.empty()) footerSpace_ = kFooterSpace + footerLinesHeight_ + kFooterGap;
}

void ReportLayout::addTitleBlock(const QString& text, const QFont& font, double spaceBefore) {
    auto layout = paragraph(text, font);
    const double height = layout->boundingRect().height();

    const double usable = page_.height() - footerSpace_;
    double top = titleBottom_ + (titleBottom_ > 0 ? spaceBefore : 0);
    if (top + height > usable && titleBottom_ > 0) {
        ++titlePages_;
        top = 0;
    }
    titleBlocks_.push_back({std::move(layout), titlePages_, top});
    titleBottom_ = top + height;
}

void ReportLayout::layOutTitlePages(const std::vector<std::string>& provenance) {
    addTitleBlock(texts::kReportTitle, fonts_.title, 0);
    addTitleBlock(texts::kReportSubtitle, fonts_.subtitle, 6);
    addTitleBlock(texts::kUnitStatement, fonts_.statement, 18);
    addTitleBlock(texts::kTableCount.arg(tableCount()), fonts_.body, 6);
    addTitleBlock(texts::kProvenanceHeading, fonts_.heading, 24);
    double before = 8;
    for (const std::string& line : provenance) {
        addTitleBlock(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())),
                      fonts_.provenance, before);
        before = 2;
    }
}

void ReportLayout::layOutGrid() {
    const RunResult& run = tables_.run;
    const TableLayout& layout = run.layout();
    rows_ = layout.rowCount();
    periods_ = layout.periodCount();

    const QFontMetricsF grid(fonts_.grid);
    const QFontMetricsF gridBold(fonts_.gridBold);
    headerLine_ = QFontMetricsF(fonts_.nuclide).lineSpacing();
    summaryLine_ = QFontMetricsF(fonts_.summary).lineSpacing();
    gridRow_ = grid.lineSpacing() + 3;

    tissueWidth_ = gridBold.horizontalAdvance(texts::kTissueHeading);
    for (int r = 0; r < rows_; ++r)
        tissueWidth_ =
            std::max(tissueWidth_, grid.horizontalAdvance(displayText(layout.rowLabel(r + 1))));
    tissueWidth_ += kCellPadding;

    // Every dose is a number of at most seven characters; the widest such text, the headings
    // and the first table's own texts set the width of every dose column.
    valueWidth_ = std::max(grid.horizontalAdvance(QStringLiteral("8.8E-88")),
                           gridBold.horizontalAdvance(texts::kInUteroHeading));
    for (int n = 0; n < periods_; ++n)
        valueWidth_ = std::max(
            valueWidth_, gridBold.horizontalAdvance(displayText(layout.periodHeading(n + 1))));
    if (tableCount() > 0)
        for (int r = 1; r <= rows_; ++r) {
            valueWidth_ =
                std::max(valueWidth_, grid.horizontalAdvance(displayText(run.inUteroText(1, r))));
            for (int n = 1; n <= periods_; ++n)
                valueWidth_ = std::max(
                    {valueWidth_, grid.horizontalAdvance(displayText(run.postNatalText(1, r, n))),
                     grid.horizontalAdvance(displayText(run.offspringText(1, r, n)))});
        }
    valueWidth_ += kCellPadding;
    // Each view's name stands above its columns and must fit there.
    if (periods_ > 0) {
        const double names = std::max(gridBold.horizontalAdvance(texts::kPostnatalView),
                                      gridBold.horizontalAdvance(texts::kOffspringView)) +
                             kCellPadding;
        valueWidth_ = std::max(valueWidth_, names / periods_);
    }
    const double width = tissueWidth_ + valueWidth_ + 2 * (kViewGap + periods_ * valueWidth_);
    gridScale_ = width > page_.width() ? page_.width() / width : 1.0;

    tableHeight_ = 3 * headerLine_ + summaryLine_ + kHeaderGap + (2 + rows_) * gridRow_ + 1;
    const double usable = page_.height() - footerSpace_;
    tablesPerPage_ = std::max(
        1, static_cast<int>(std::floor((usable + kTableGap) / (tableHeight_ + kTableGap))));
}

void ReportLayout::paintTable(QPainter& painter, int table, double top) const {
    const RunResult& run = tables_.run;
    const double width = page_.width();

    // Header lines as the viewer shows them: nuclide and group, scenario, route; then the
    // summary line of the results file.
    painter.setPen(Qt::black);
    painter.setFont(fonts_.nuclide);
    const QFontMetricsF nuclideMetrics(fonts_.nuclide);
    double baseline = top + nuclideMetrics.ascent();
    const QString nuclide = displayText(run.nuclideHeading(table));
    painter.drawText(QPointF(0, baseline), nuclide);
    painter.setFont(fonts_.header);
    const double groupLeft =
        std::max(width * kGroupColumn, nuclideMetrics.horizontalAdvance(nuclide) + 12);
    painter.drawText(QPointF(groupLeft, baseline), displayText(run.groupHeading(table)));
    painter.drawText(QRectF(0, top, width, headerLine_), Qt::AlignRight | Qt::AlignTop,
                     texts::kTableNumber.arg(table).arg(tableCount()));
    baseline += headerLine_;
    painter.drawText(QPointF(0, baseline), displayText(run.scenarioHeading(table)));
    baseline += headerLine_;
    painter.drawText(QPointF(0, baseline), displayText(run.routeHeading(table)));
    painter.setFont(fonts_.summary);
    painter.drawText(QPointF(0, baseline + summaryLine_), displayText(run.summary(table)));

    // The grid: tissue, in utero, then the periods of the post-natal view and of the
    // offspring view, under a row naming the views.
    painter.save();
    double y = top + 3 * headerLine_ + summaryLine_ + kHeaderGap;
    painter.translate(0, y);
    painter.scale(gridScale_, 1);
    const double gridWidth = tissueWidth_ + valueWidth_ + 2 * (kViewGap + periods_ * valueWidth_);
    const double postNatalLeft = tissueWidth_ + valueWidth_ + kViewGap;
    const double offspringLeft = postNatalLeft + periods_ * valueWidth_ + kViewGap;
    const double cellPad = kCellPadding / 2;
    auto cell = [&](double left, double rowTop, const QString& text, Qt::Alignment align) {
        painter.drawText(QRectF(left + cellPad, rowTop, valueWidth_ - 2 * cellPad, gridRow_),
                         align | Qt::AlignVCenter, text);
    };

    painter.setFont(fonts_.gridBold);
    const double viewsWidth = periods_ * valueWidth_;
    painter.drawText(QRectF(postNatalLeft, 0, viewsWidth, gridRow_), Qt::AlignCenter,
                     texts::kPostnatalView);
    painter.drawText(QRectF(offspringLeft, 0, viewsWidth, gridRow_), Qt::AlignCenter,
                     texts::kOffspringView);
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.drawLine(QPointF(postNatalLeft, gridRow_),
                     QPointF(postNatalLeft + viewsWidth, gridRow_));
    painter.drawLine(QPointF(offspringLeft, gridRow_),
                     QPointF(offspringLeft + viewsWidth, gridRow_));
    painter.setPen(Qt::black);
    const double headingTop = gridRow_;
    painter.drawText(QRectF(0, headingTop, tissueWidth_, gridRow_),
                     Qt::AlignLeft | Qt::AlignVCenter, texts::kTissueHeading);
    cell(tissueWidth_, headingTop, texts::kInUteroHeading, Qt::AlignRight);
    for (int n = 1; n <= periods_; ++n) {
        const QString heading = displayText(run.layout().periodName(n));
        cell(postNatalLeft + (n - 1) * valueWidth_, headingTop, heading, Qt::AlignRight);
        cell(offspringLeft + (n - 1) * valueWidth_, headingTop, heading, Qt::AlignRight);
    }
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawLine(QPointF(0, 2 * gridRow_), QPointF(gridWidth, 2 * gridRow_));

    painter.setFont(fonts_.grid);
    for (int r = 1; r <= rows_; ++r) {
        const double rowTop = (1 + r) * gridRow_;
        if (r % 2 == 0)
            painter.fillRect(QRectF(0, rowTop, gridWidth, gridRow_), QColor(242, 242, 242));
        painter.drawText(QRectF(0, rowTop, tissueWidth_, gridRow_),
                         Qt::AlignLeft | Qt::AlignVCenter, displayText(run.layout().rowLabel(r)));
        cell(tissueWidth_, rowTop, displayText(run.inUteroText(table, r)), Qt::AlignRight);
        for (int n = 1; n <= periods_; ++n) {
            cell(postNatalLeft + (n - 1) * valueWidth_, rowTop,
                 displayText(run.postNatalText(table, r, n)), Qt::AlignRight);
            cell(offspringLeft + (n - 1) * valueWidth_, rowTop,
                 displayText(run.offspringText(table, r, n)), Qt::AlignRight);
        }
    }
    painter.drawLine(QPointF(0, (2 + rows_) * gridRow_),
                     QPointF(gridWidth, (2 + rows_) * gridRow_));
    painter.restore();
}

// Paints every page on a device that has an open painter. `stop` is asked between pages and
// ends the painting early when it says so; returns false then.
bool paintReport(QPainter& painter, QPagedPaintDevice& device, const ReportTables& tables,
                 const std::vector<std::string>& provenance, const ReportProgress& progress,
                 const std::function<bool()>& stop) {
    const QRectF paintRect = device.pageLayout().paintRect(QPageLayout::Point);
    const double scale = device.logicalDpiY() / 72.0;
    painter.scale(device.logicalDpiX() / 72.0, scale);
    const ReportLayout layout(paintRect.size(), tables, provenance);
    const int tableCount = layout.tableCount();

    auto goOn = [&](int done) {
        if (stop && stop()) return false;
        return !progress || progress(done, tableCount);
    };
    if (!goOn(0)) return false;

    int page = 1;
    for (; page <= layout.titlePages(); ++page) {
        if (page > 1) device.newPage();
        layout.paintTitlePage(painter, page);
        layout.paintFooter(painter, page);
    }
    for (int first = 1; first <= tableCount; first += layout.tablesPerPage(), ++page) {
        device.newPage();
        const int last = std::min(tableCount, first + layout.tablesPerPage() - 1);
        for (int table = first; table <= last; ++table)
            layout.paintTable(painter, table, layout.tableTop(table - first));
        layout.paintFooter(painter, page);
        if (!goOn(last)) return false;
    }
    return true;
}

struct ReportCancelled {};

}  // namespace

bool writeReportPdf(const std::string& path, const ReportTables& tables,
                    const std::vector<std::string>& provenance, const ReportProgress& progress) {
    try {
        saveTextFile(path, [&](TextWriter& out) {
            SaveFileDevice file(out);
            QPdfWriter pdf(&file);
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
            pdf.setTitle(texts::kReportTitle);
            pdf.setCreator(QStringLiteral("fetaldose"));
            QPainter painter;
            if (!painter.begin(&pdf)) throw Fault(texts::kPdfNotStarted);
            const bool complete = paintReport(painter, pdf, tables, provenance, progress,
                                              [&file] { return file.fault != nullptr; });
            painter.end();
            if (file.fault) std::rethrow_exception(file.fault);
            if (!complete) throw ReportCancelled{};
        });
    } catch (const ReportCancelled&) {
        return false;
    }
    return true;
}

bool printReport(QPrinter& printer, const ReportTables& tables,
                 const std::vector<std::string>& provenance, const ReportProgress& progress) {
    QPainter painter;
    if (!painter.begin(&printer)) throw PrintError(app_texts::kPrinterNotReady);
    const bool complete = paintReport(painter, printer, tables, provenance, progress, {});
    if (!complete) printer.abort();
    const bool ended = painter.end();
    if (complete && (!ended || printer.printerState() == QPrinter::Error))
        throw PrintError(app_texts::kPrinterFailed);
    return complete;
}

bool printAllTables(QWidget* parent, const ReportTables& tables,
                    const std::vector<std::string>& provenance, const ReportProgress& progress) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    return printReport(printer, tables, provenance, progress);
}

}  // namespace fetaldose::gui
