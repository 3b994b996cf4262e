#include "gui/compare/comparison_pdf.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <array>
#include <exception>
#include <string_view>
#include <vector>

#include "core/compare/comparison.h"
#include "core/compare/comparison_report.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"
#include "gui/app/look.h"
#include "gui/app/save_file_device.h"
#include "gui/compare/compare_window_texts.h"

namespace fetaldose::gui {

namespace texts = compare_window_texts;

namespace {

// Sizes in points; the painter is scaled so that one unit is one point.
constexpr double kFooterSpace = 16;
constexpr double kRowGap = 2;
// The difference table's columns, as shares of the page width.
constexpr std::array<double, 10> kColumnShares = {0.07, 0.09, 0.22, 0.17, 0.09,
                                                  0.08, 0.07, 0.07, 0.07, 0.07};

QFont face(int size, bool bold = false) {
    QFont font = sansSerifFace({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Helvetica")});
    font.setPixelSize(size);
    font.setBold(bold);
    return font;
}

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct ReportCancelled {};

// Paints page after page: paragraphs line by line, then the table, a new page when one is full.
class ReportPainter {
  public:
    ReportPainter(QPainter& painter, QPdfWriter& pdf, QSizeF page)
        : painter_(painter), pdf_(pdf), page_(page) {}

    void paragraph(const QString& text, const QFont& font, double spaceBefore) {
        QTextLayout layout(text, font);
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        std::vector<QTextLine> lines;
        double height = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(page_.width());
            line.setPosition(QPointF(0, height));
            height += line.height();
            lines.push_back(line);
        }
        layout.endLayout();
        if (y_ > 0) y_ += spaceBefore;
        for (const QTextLine& line : lines) {
            room(line.height());
            line.draw(&painter_, QPointF(0, y_ - line.y()));
            y_ += line.height();
        }
    }

    void row(const std::vector<QString>& cells, const QFont& font) {
        const QFontMetricsF metrics(font);
        const double height = metrics.lineSpacing() + kRowGap;
        room(height);
        painter_.setFont(font);
        double left = 0;
        for (std::size_t c = 0; c < cells.size() && c < kColumnShares.size(); ++c) {
            const double width = kColumnShares[c] * page_.width();
            const QString shown = metrics.elidedText(cells[c], Qt::ElideRight, width - 4);
            painter_.drawText(QRectF(left, y_, width - 4, height), Qt::AlignLeft | Qt::AlignVCenter,
                              shown);
            left += width;
        }
        y_ += height;
    }

    void newPage() {
        footer();
        pdf_.newPage();
        ++page_number_;
        y_ = 0;
    }
    void finish() { footer(); }

  private:
    void room(double height) {
        if (y_ + height > page_.height() - kFooterSpace && y_ > 0) newPage();
    }
    void footer() {
        painter_.setFont(face(7));
        const QRectF line(0, page_.height() - kFooterSpace + 4, page_.width(), kFooterSpace - 4);
        painter_.drawText(line, Qt::AlignLeft | Qt::AlignTop, texts::kReportUnit);
        painter_.drawText(line, Qt::AlignRight | Qt::AlignTop,
                          texts::kReportPage.arg(page_number_));
    }

    QPainter& painter_;
    QPdfWriter& pdf_;
    QSizeF page_;
    double y_ = 0;
    int page_number_ = 1;
};

void paint(QPainter& painter, QPdfWriter& pdf, const Comparison& comparison,
           const ComparisonPdfProgress& progress, const std::function<bool()>& failed) {
    const QRectF paintRect = pdf.pageLayout().paintRect(QPageLayout::Point);
    painter.scale(pdf.logicalDpiX() / 72.0, pdf.logicalDpiY() / 72.0);
    ReportPainter report(painter, pdf, paintRect.size());
    const long long total = static_cast<long long>(comparison.differences.size());
    auto goOn = [&](long long done) {
        if (failed()) return false;
        return !progress || progress(done, total);
    };
    if (!goOn(0)) throw ReportCancelled{};

    report.paragraph(texts::kReportTitle, face(16, true), 0);
    for (const std::string& line : comparisonSummary(comparison))
        report.paragraph(utf8(line), face(8), 1);
    report.paragraph(texts::kReportProvenance, face(12, true), 14);
    for (const std::string& line : comparisonProvenance(comparison))
        report.paragraph(utf8(line), face(7), 1);

    if (comparison.differences.empty()) return report.finish();
    report.newPage();
    report.paragraph(texts::kReportDifferences, face(12, true), 0);
    std::vector<QString> header;
    for (std::size_t c = 0; c < texts::kColumns.size(); ++c) {
        if (c == 6) continue;  // the period goes with the dose
        header.push_back(texts::kColumns[c]);
    }
    report.row(header, face(7, true));
    const QFont body = face(7);
    long long done = 0;
    for (const CellDifference& cell : comparison.differences) {
        const CellDescription d = describeCell(comparison, cell);
        const QString dose =
            utf8(d.quantity) + (d.period.empty() ? QString() : u' ' + utf8(d.period));
        report.row(
            {utf8(d.nuclide), utf8(d.group), utf8(d.route), utf8(d.scenario), utf8(d.tissue), dose,
             utf8(d.referenceDose), utf8(d.candidateDose), utf8(d.ratio), utf8(d.status)},
            body);
        if (++done % 500 == 0 && !goOn(done)) throw ReportCancelled{};
    }
    report.finish();
}

}  // namespace

bool writeComparisonPdf(const std::string& path, const Comparison& comparison,
                        const ComparisonPdfProgress& progress) {
    try {
        saveTextFile(path, [&](TextWriter& out) {
            SaveFileDevice file(out);
            QPdfWriter pdf(&file);
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                          QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
            pdf.setTitle(texts::kReportTitle);
            pdf.setCreator(QStringLiteral("fetaldose"));
            QPainter painter;
            if (!painter.begin(&pdf)) throw Fault(texts::kPdfNotStarted);
            bool cancelled = false;
            try {
                paint(painter, pdf, comparison, progress,
                      [&file] { return file.fault != nullptr; });
            } catch (const ReportCancelled&) {
                cancelled = true;
            }
            painter.end();
            // A write that failed ends the painting too: its fault, not a cancel.
            if (file.fault) std::rethrow_exception(file.fault);
            if (cancelled) throw ReportCancelled{};
        });
    } catch (const ReportCancelled&) {
        return false;
    }
    return true;
}

}  // namespace fetaldose::gui
