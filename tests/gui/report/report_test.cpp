// Taking tables out of the viewer: the copy of the table on show, and the report of every table
// as a PDF file or printed, read back by independent readers (poppler's pdftotext and pdfinfo).

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "core/textio/faults.h"
#include "gui/report/shown_table.h"
#include "gui/report/table_report.h"
#include "report_fixture.h"

namespace fetaldose::gui {

namespace {

using testing::MadeUpData;
using testing::RunResult;

QString text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// The known-good results file of the end-to-end fixture, cut into its tables of 18 lines:
// 5 header lines, the in-utero block, the period line, the post-natal and offspring blocks.
QList<QStringList> knownGoodTables() {
    QFile file(QStringLiteral(FETALDOSE_E2E_DIR "/expected_results.dos"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    QList<QStringList> tables;
    for (qsizetype at = 0; at + 18 <= lines.size(); at += 18) tables.push_back(lines.mid(at, 18));
    return tables;
}

ReportTables tablesOf(const RunResult& run) {
    return {run.store, run.rowLabels, run.periodHeadings};
}

// Runs one of poppler's tools; an empty result when it cannot run.
QString poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                   QRegularExpression::MultilineOption);
    const auto match = pages.match(poppler(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pageText(const QString& pdf, int first = 0, int last = 0) {
    QStringList arguments = {QStringLiteral("-layout")};
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
                  << QString::number(last > 0 ? last : first);
    return poppler(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

int tablesOnPage(const QString& pdf, int page, int tableCount) {
    return int(pageText(pdf, page).count(
        QRegularExpression(QStringLiteral("Table \\d+ of %1").arg(tableCount))));
}

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

const std::vector<std::string> kProvenance = {
    "Program: fetaldose 1.0", "Data folder: /srv/données/data/",
    "SHA-256 of nuclides.txt: 3a7bd3e2360a3d29eea436fcfb7e44c735d117c42d1c1835420b6b9942dd4f1b"};

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        havePoppler_ = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
                       !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
    }

    // Every table of the known session, in both views, as the known-good results file has it:
    // the header lines as the viewer shows them, then a heading row and one line per tissue.
    void copyGivesTheTableOnShowInEitherView() {
        const QList<QStringList> known = knownGoodTables();
        QCOMPARE(known.size(), 3);
        const auto run = testing::runSelection(testing::knownSession(), FETALDOSE_E2E_DIR "/data/");
        QCOMPARE(run->store.TableCount(), 3);
        for (int t = 1; t <= 3; ++t) {
            const QStringList& file = known[t - 1];
            const QStringList periods = file[9].split(u',').mid(1);  // "Time periods: ,  1y,  70y"
            for (const TableView view : {TableView::Offspring, TableView::PostNatal}) {
                const ShownTable shown =
                    shownTableFromStore(run->store, t, view, run->rowLabels, run->periodHeadings);
                const QStringList lines = tableAsTabSeparated(shown).split(u'\n');
                QCOMPARE(lines.size(), 4 + 1 + 3 + 1);  // and the last line ended
                QVERIFY(lines.last().isEmpty());
                // The viewer's header: nuclide and group, then scenario, then route.
                QCOMPARE(lines[0], file[0] + u'\t' + file[1]);
                QCOMPARE(lines[1], file[3]);
                QCOMPARE(lines[2], file[2]);
                QVERIFY(lines[3].contains(QStringLiteral("Sv/Bq")));
                QVERIFY(lines[3].contains(view == TableView::Offspring
                                              ? QStringLiteral("Offspring")
                                              : QStringLiteral("Post natal")));
                QCOMPARE(lines[4].split(u'\t').mid(2), periods);
                const int block = view == TableView::Offspring ? 15 : 11;
                const QString html = tableAsHtml(shown);
                QCOMPARE(html.count(QStringLiteral("<table>")), 1);
                QCOMPARE(html.count(QStringLiteral("<tr>")), 4 + 1 + 3);
                for (int r = 0; r < 3; ++r) {
                    const QStringList inUtero = file[6 + r].split(u',');
                    const QStringList doses = file[block + r].split(u',');
                    const QStringList expected = QStringList{inUtero} + doses.mid(1);
                    QCOMPARE(lines[5 + r].split(u'\t'), expected);
                    QVERIFY(html.contains(QStringLiteral("<tr><td>") +
                                          expected.join(QStringLiteral("</td><td>")) +
                                          QStringLiteral("</td></tr>")));
                }
            }
        }
    }

    // With no such table in the run (the viewer's "Table 1 of 0") the copy is the blank table
    // on screen: no header texts, the row labels, blank dose cells.
    void copyOfNoTableIsTheBlankGrid() {
        const auto run = testing::runSelection(testing::knownSession(), FETALDOSE_E2E_DIR "/data/");
        for (const int table : {0, 4}) {
            const ShownTable shown = shownTableFromStore(run->store, table, TableView::PostNatal,
                                                         run->rowLabels, run->periodHeadings);
            QCOMPARE(shown.headerLines[0], (QStringList{QString(), QString()}));
            QCOMPARE(shown.rows.size(), 3);
            QCOMPARE(shown.rows[1][0], QStringLiteral("Brain (total)"));
            for (const QStringList& row : shown.rows)
                for (const QString& cell : row.mid(1)) QCOMPARE(cell.trimmed(), QString());
        }
        const ResultStore empty;
        QVERIFY(shownTableFromStore(empty, 1, TableView::Offspring, {}, {}).rows.isEmpty());
    }

    // Cells stay cells: a tab or line break in a text cannot shift the columns of the plain
    // form, markup characters are escaped in the HTML form, and the clipboard gets both.
    void copyKeepsCellsApartAndFillsTheClipboard() {
        ShownTable table;
        table.headerLines = {{QStringLiteral("Xx-1 <a&b>"), QStringLiteral("Worker")},
                             {QStringLiteral("two\tparts")}};
        table.columnHeadings = {QStringLiteral("Tissue/Organ"), QStringLiteral("In utero"),
                                QStringLiteral("  1y")};
        table.rows = {
            {QStringLiteral("Bladder"), QStringLiteral("1,2E-10"), QStringLiteral("line\nbreak")}};
        const QString plain = tableAsTabSeparated(table);
        QCOMPARE(plain,
                 QStringLiteral("Xx-1 <a&b>\tWorker\ntwo parts\n"
                                "Tissue/Organ\tIn utero\t  1y\nBladder\t1,2E-10\tline break\n"));
        const QString html = tableAsHtml(table);
        QVERIFY(html.contains(QStringLiteral("Xx-1 &lt;a&amp;b&gt;")));
        QVERIFY(!html.contains(QStringLiteral("<a&b>")));
        // A header line of fewer texts than columns spans the row with its last text.
        QVERIFY(html.contains(QStringLiteral("<td colspan=\"2\">Worker</td>")));
        QVERIFY(html.contains(QStringLiteral("<td colspan=\"3\">two\tparts</td>")));
        QVERIFY(html.contains(QStringLiteral("<th>  1y</th>")));

        copyTableToClipboard(table);
        const QMimeData* pasted = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        QVERIFY(pasted);
        QVERIFY(pasted->hasHtml());
        QCOMPARE(pasted->text(), plain);
        QCOMPARE(pasted->html(), html);
    }

    // The PDF holds the provenance and the unit on its first page, then every table in the
    // run's order: its header lines, and each tissue's in-utero dose and the doses of both
    // views, exactly the store's texts.
    void reportHoldsEveryTableInOrder() {
        if (!havePoppler_) QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
        MadeUpData data;
        const auto run = data.run(40, 3);
        const ResultStore& store = run->store;
        QCOMPARE(store.TableCount(), 40);
        QCOMPARE(store.RowCount(), 4);  // "Brain" gives two rows
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("report.pdf"));
        QVERIFY(writeReportPdf(pdf.toStdString(), tablesOf(*run), kProvenance));

        const QString title = pageText(pdf, 1).simplified();
        for (const std::string& line : kProvenance)
            QVERIFY2(title.contains(text(line)), line.c_str());
        QVERIFY(title.contains(QStringLiteral("dose coefficients in Sv per Bq")));

        const QStringList lines = pageText(pdf, 2, pageCount(pdf)).split(u'\n');
        qsizetype at = 0;
        auto findLine = [&](const QString& wanted, bool whole) {
            for (; at < lines.size(); ++at) {
                const QString line = lines[at].simplified();
                if (whole ? line == wanted : line.contains(wanted)) return true;
            }
            return false;
        };
        for (int t = 1; t <= store.TableCount(); ++t) {
            const QString where = QStringLiteral("table %1").arg(t);
            QVERIFY2(findLine(QStringLiteral("Table %1 of 40").arg(t), false), qPrintable(where));
            QVERIFY(lines[at].contains(text(store.Nuclide(t))));
            QVERIFY(lines[at].contains(text(store.Group(t)).trimmed()));
            QVERIFY2(findLine(text(store.Scenario(t)), true), qPrintable(where));
            QVERIFY2(findLine(text(store.Route(t)), true), qPrintable(where));
            QVERIFY2(findLine(QStringLiteral("1y 70y 1y 70y"), false), qPrintable(where));
            for (int r = 1; r <= store.RowCount(); ++r) {
                QStringList cells = {text(run->rowLabels[std::size_t(r - 1)]),
                                     text(store.InUtero(t, r))};
                for (int n = 1; n <= 2; ++n) cells << text(store.PostNatal(t, r, n));
                for (int n = 1; n <= 2; ++n) cells << text(store.Offspring(t, r, n));
                QVERIFY2(findLine(cells.join(u' '), true), qPrintable(where + u' ' + cells[0]));
            }
        }
    }

    // Tables fill the pages after the title page in order, several to a page, never split:
    // with k tables on the first table page, N tables take 1 + ceil(N / k) pages, every page
    // numbered "Page i of n". Taller tables fit fewer to a page; a long provenance adds title
    // pages in front.
    void pageCountsFollowTheTablesThatFitAPage() {
        if (!havePoppler_) QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
        MadeUpData data;
        QTemporaryDir out;
        auto export_ = [&](const RunResult& run, const std::vector<std::string>& provenance) {
            const QString pdf = out.filePath(QStringLiteral("tables.pdf"));
            [&] { QVERIFY(writeReportPdf(pdf.toStdString(), tablesOf(run), provenance)); }();
            return pdf;
        };

        RunResult none;  // a run of no tables: the title page alone
        QCOMPARE(pageCount(export_(none, kProvenance)), 1);
        QCOMPARE(pageCount(export_(*data.run(1, 3), kProvenance)), 2);

        const QString forty = export_(*data.run(40, 3), kProvenance);
        const int perPage = tablesOnPage(forty, 2, 40);
        QVERIFY2(perPage >= 2, "several tables to a page");
        const int fortyPages = pageCount(forty);
        QCOMPARE(fortyPages, 1 + ceilDiv(40, perPage));
        for (int page = 2; page < fortyPages; ++page)
            QCOMPARE(tablesOnPage(forty, page, 40), perPage);
        QCOMPARE(tablesOnPage(forty, fortyPages, 40), 40 - (fortyPages - 2) * perPage);
        const QString all = pageText(forty);
        for (int page = 1; page <= fortyPages; ++page)
            QVERIFY(all.contains(QStringLiteral("Page %1 of %2").arg(page).arg(fortyPages)));

        const QString many = export_(*data.run(800, 3), kProvenance);
        QCOMPARE(pageCount(many), 1 + ceilDiv(800, perPage));
        QCOMPARE(tablesOnPage(many, 2, 800), perPage);

        const QString tall = export_(*data.run(40, 17), kProvenance);
        const int tallPerPage = tablesOnPage(tall, 2, 40);
        QVERIFY(tallPerPage >= 1 && tallPerPage < perPage);
        QCOMPARE(pageCount(tall), 1 + ceilDiv(40, tallPerPage));

        std::vector<std::string> longProvenance = kProvenance;
        for (int i = 1; i <= 150; ++i)
            longProvenance.push_back("SHA-256 of file" + std::to_string(i) +
                                     ".dat: " + std::string(64, 'c'));
        const QString longer = export_(*data.run(40, 3), longProvenance);
        const int titlePages = pageCount(longer) - ceilDiv(40, perPage);
        QVERIFY(titlePages >= 2);
        QVERIFY(pageText(longer, titlePages).contains(QStringLiteral("file150.dat")));
        QCOMPARE(tablesOnPage(longer, titlePages, 40), 0);
        QCOMPARE(tablesOnPage(longer, titlePages + 1, 40), perPage);
    }

    // A failed or cancelled export names the reason (or returns false) and leaves no file
    // under the chosen name and no hidden file beside it; an earlier file stays as it was.
    void failedOrCancelledExportLeavesNoFile() {
        MadeUpData data;
        const auto run = data.run(16, 3);
        QTemporaryDir out;
        const QDir folder(out.path());
        auto failure = [&](const QString& path) -> QString {
            try {
                writeReportPdf(path.toStdString(), tablesOf(*run), kProvenance);
            } catch (const IoError& fault) {
                return QString::fromUtf8(fault.what());
            }
            return {};
        };

        QCOMPARE(failure(QStringLiteral("/dev/full")), QStringLiteral("Disk full"));
        QVERIFY(QFileInfo(QStringLiteral("/dev/full")).exists());

        QVERIFY(folder.mkdir(QStringLiteral("reports")));
        QCOMPARE(failure(out.filePath(QStringLiteral("reports"))),
                 QStringLiteral("File access denied"));
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("reports"))).isDir());
        QVERIFY(QDir(out.filePath(QStringLiteral("reports")))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

        QCOMPARE(failure(out.filePath(QStringLiteral("missing/report.pdf"))),
                 QStringLiteral("Invalid filename"));
        QVERIFY(!QFileInfo::exists(out.filePath(QStringLiteral("missing"))));

        // Cancelled half-way: the earlier report is untouched.
        const QString earlier = out.filePath(QStringLiteral("earlier.pdf"));
        {
            QFile file(earlier);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("earlier report");
        }
        QList<int> seen;
        const bool complete = writeReportPdf(earlier.toStdString(), tablesOf(*run), kProvenance,
                                             [&](int done, int total) {
                                                 seen << done;
                                                 return total == 16 && done < 8;
                                             });
        QVERIFY(!complete);
        QCOMPARE(seen.first(), 0);
        QVERIFY(seen.last() >= 8 && seen.last() < 16);
        QFile kept(earlier);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("earlier report"));
        const QStringList left =
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, (QStringList{QStringLiteral("earlier.pdf"), QStringLiteral("reports")}));

        // Completed: it takes the earlier file's place, telling every table done.
        seen.clear();
        QVERIFY(
            writeReportPdf(earlier.toStdString(), tablesOf(*run), kProvenance, [&](int done, int) {
                seen << done;
                return true;
            }));
        QCOMPARE(seen.last(), 16);
        QFile replaced(earlier);
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        QVERIFY(replaced.readAll().startsWith("%PDF-"));
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), left);
    }

    // The printed report has the pages of the PDF report (here on a PDF printer of A4 paper).
    void printingGivesTheSameReport() {
        if (!havePoppler_) QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
        MadeUpData data;
        const auto run = data.run(40, 3);
        QTemporaryDir out;
        const QString exported = out.filePath(QStringLiteral("exported.pdf"));
        QVERIFY(writeReportPdf(exported.toStdString(), tablesOf(*run), kProvenance));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString printed = out.filePath(QStringLiteral("printed.pdf"));
        printer.setOutputFileName(printed);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QVERIFY(printReport(printer, tablesOf(*run), kProvenance));
        QCOMPARE(pageCount(printed), pageCount(exported));
        QCOMPARE(pageText(printed).simplified(), pageText(exported).simplified());
    }

    // "Print all tables..." asks first, in the standard print dialog; cancelling it prints nothing.
    void printDialogCancelledPrintsNothing() {
        MadeUpData data;
        const auto run = data.run(1, 3);
        QString dialogTitle;
        QTimer::singleShot(0, this, [&dialogTitle] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialogTitle = dialog->windowTitle();
                dialog->reject();
            }
        });
        QList<int> seen;
        QVERIFY(!printAllTables(nullptr, tablesOf(*run), kProvenance, [&](int done, int) {
            seen << done;
            return true;
        }));
        QVERIFY2(!dialogTitle.isEmpty(), "the print dialog was shown");
        QVERIFY(seen.isEmpty());
    }

  private:
    bool havePoppler_ = false;
};

}  // namespace fetaldose::gui

QTEST_MAIN(fetaldose::gui::ReportTest)
#include "report_test.moc"
