#include "gui/assessment/assessment_document.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>
#include <exception>

#include "core/assessment/assessment_texts.h"
#include "core/export/export_texts.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"
#include "gui/app/app_texts.h"
#include "gui/app/look.h"
#include "gui/app/save_file_device.h"
#include "gui/app/window_printer.h"
#include "gui/assessment/assessment_window_texts.h"
#include "gui/assessment/dose_tables.h"

namespace fetaldose::gui {

namespace texts = assessment_texts;
using namespace assessment;

namespace {

QString escaped(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toHtmlEscaped();
}

QString paragraph(const QString& html, const QString& style = {}) {
    return style.isEmpty() ? QStringLiteral("<p>") + html + QStringLiteral("</p>\n")
                           : QStringLiteral("<p style=\"") + style + QStringLiteral("\">") + html +
                                 QStringLiteral("</p>\n");
}

const QString kWarningStyle = QStringLiteral("color:#a00000; font-weight:bold;");
const QString kVerdictStyle = QStringLiteral("font-weight:bold;");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A table under its caption; the caption and the column headings are its header rows, which
// every page the table runs onto repeats, so that no caption is left alone at a page's foot.
QString tableHtml(const QString& caption, const DoseTable& table) {
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
        "style=\"border-collapse:collapse; border-color:#808080;\">\n<thead>");
    html += QStringLiteral(
                "<tr><th colspan=\"%1\" align=\"left\" style=\"font-size:10pt; "
                "border-style:none;\">")
                .arg(table.headings.size()) +
            caption.toHtmlEscaped() + QStringLiteral("</th></tr>\n<tr>");
    for (const QString& heading : table.headings)
        html += QStringLiteral("<th>") + heading.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr></thead>\n");
    for (const QStringList& row : table.rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < row.size(); ++c)
            // A tissue's name on one line.
            html += c < table.textColumns
                        ? QStringLiteral("<td>") +
                              row[c].toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;")) +
                              QStringLiteral("</td>")
                        : QStringLiteral("<td align=\"right\">") + row[c].toHtmlEscaped() +
                              QStringLiteral("</td>");
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString heading(const QString& text) {
    return QStringLiteral("<h3>") + text.toHtmlEscaped() + QStringLiteral("</h3>\n");
}

QString spacer() {
    return QStringLiteral("<p>&nbsp;</p>\n");
}

void setUpDocument(QTextDocument& document, const AssessmentReport& report) {
    QFont face = sansSerifFace({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Helvetica")});
    face.setPointSize(8);
    document.setDefaultFont(face);
    document.setHtml(assessmentDocumentHtml(report));
}

// A4 landscape, so that a row of doses for every period fits across the page.
QPageLayout pageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

}  // namespace

QString assessmentDocumentHtml(const AssessmentReport& report) {
    QString html = QStringLiteral("<html><body>\n<h2>") +
                   QString::fromUtf8(texts::kReportTitle).toHtmlEscaped() +
                   QStringLiteral("</h2>\n");

    // The sample set's warning above all; the verdict, then what it was worked out from,
    // then the doses.
    if (report.provenance.syntheticData)
        html += paragraph(escaped(kSyntheticWarning), kWarningStyle);
    html += heading(QString::fromUtf8(texts::kLimitCheckName));
    const LimitCheck& check = report.result.limit;
    const std::vector<std::string> lines = limitLines(report);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool verdict = i + 1 == lines.size();
        html += paragraph(escaped(lines[i]), !verdict                            ? QString()
                                             : check.checkable && !check.exceeds ? kVerdictStyle
                                                                                 : kWarningStyle);
    }

    html += heading(QString::fromUtf8(texts::kAssessedHeading));
    for (const std::string& line : reportLeadingLines(report))
        html += paragraph(escaped(line), line == kSyntheticWarning ? kWarningStyle : QString());

    html += spacer() + tableHtml(fromUtf8(kTotalDosesHeading),
                                 doseTableOf(report.result.total, report.settings));
    for (std::size_t i = 0; i < report.intakes.size(); ++i) {
        const IntakeAssessment& intake = report.result.intakes[i];
        if (!intake.assessed()) continue;
        const IntakeEntry& entry = report.intakes[i];
        const QString caption = fromUtf8(kIntakeDosesHeading) +
                                QString::number(intakeNumber(report.intakes, i)) +
                                QStringLiteral(" (") + fromUtf8(entry.nuclide) +
                                QStringLiteral("; ") + fromUtf8(entry.time) + u')';
        html += spacer() + tableHtml(caption, doseTableOf(intake.doses, report.settings));
    }
    return html + QStringLiteral("</body></html>\n");
}

void writeAssessmentPdf(const std::string& path, const AssessmentReport& report) {
    QTextDocument document;
    setUpDocument(document, report);
    saveTextFile(path, [&](TextWriter& out) {
        SaveFileDevice file(out);
        {
            QPdfWriter pdf(&file);
            pdf.setPageLayout(pageLayout());
            pdf.setTitle(QString::fromUtf8(texts::kReportTitle));
            pdf.setCreator(QStringLiteral("fetaldose"));
            document.print(&pdf);
        }
        if (file.fault) std::rethrow_exception(file.fault);
        if (file.pos() == 0) throw Fault(texts::kPdfNotStarted);
    });
}

void printAssessment(QPrinter& printer, const AssessmentReport& report) {
    QTextDocument document;
    setUpDocument(document, report);
    printer.setDocName(QString::fromUtf8(texts::kReportTitle));
    printer.setPageLayout(pageLayout());
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error) throw PrintError(app_texts::kPrinterFailed);
}

}  // namespace fetaldose::gui
