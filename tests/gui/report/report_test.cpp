// The copy of the table on show and the report of every table, read back by independent
// readers: the known-good results file of the end-to-end data set, poppler's pdftotext/pdfinfo.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/export/export_texts.h"
#include "core/export/provenance.h"
#include "core/textio/faults.h"
#include "gui/report/export_target.h"
#include "gui/report/shown_table.h"
#include "gui/report/table_report.h"
#include "report_fixture.h"

namespace fetaldose::gui {

namespace {

QString text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

ReportTables tablesOf(const RunResult& run) {
    return {run};
}

QString poppler(const QString& tool, QStringList arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    static const QRegularExpression pages(QStringLiteral("(?m)^Pages:\\s+(\\d+)$"));
    const auto match = pages.match(poppler(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of pages first to last (all pages when first is 0), laid out as on the page.
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

    // The three tables of the known session in both views, against the known-good results
    // file (18 lines a table: 5 header lines, in utero, periods, post-natal, offspring); a
    // table number with no table of the run gives the viewer's blank grid.
    void copyGivesTheTableOnShowInEitherView() {
        QFile file(QStringLiteral(FETALDOSE_E2E_DIR "/expected_results.dos"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList known = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        const auto run = testing::runSelection(testing::knownSession(), FETALDOSE_E2E_DIR "/data/");
        QCOMPARE(run->tableCount(), 3);
        for (int t = 1; t <= 3; ++t) {
            const QStringList table = known.mid((t - 1) * 18, 18);
            for (const TableView view : {TableView::Offspring, TableView::PostNatal}) {
                const ShownTable shown = shownTableFromRun(run.get(), t, view);
                const QStringList lines = tableAsTabSeparated(shown).split(u'\n');
                QCOMPARE(lines.size(), 4 + 1 + 3 + 1);  // the last line ended too
                QCOMPARE(lines.mid(0, 3), (QStringList{table[0] + u'\t' + table[1], table[3],
                                                       table[2]}));  // scenario before route
                QVERIFY(
                    lines[3].contains(view == TableView::Offspring ? u"Offspring" : u"Post natal"));
                QCOMPARE(lines[4].split(u'\t').mid(2), table[9].split(u',').mid(1));
                const QString html = tableAsHtml(shown);
                QCOMPARE(html.count(QStringLiteral("<tr>")), 4 + 1 + 3);
                const int doses = view == TableView::Offspring ? 15 : 11;
                for (int r = 0; r < 3; ++r) {
                    const QStringList row =
                        table[6 + r].split(u',') + table[doses + r].split(u',').mid(1);
                    QCOMPARE(lines[5 + r].split(u'\t'), row);
                    QVERIFY(html.contains(QStringLiteral("<tr><td>%1</td></tr>")
                                              .arg(row.join(QStringLiteral("</td><td>")))));
                }
            }
        }
        for (const int none : {0, 4}) {
            const ShownTable blank = shownTableFromRun(run.get(), none, TableView::PostNatal);
            QCOMPARE(blank.headerLines[0], (QStringList{QString(), QString()}));
            QCOMPARE(blank.rows[1][0], QStringLiteral("Brain (total)"));
            for (const QStringList& row : blank.rows)
                QVERIFY(row.mid(1).join(QString()).trimmed().isEmpty());
        }
    }

    // A tab or line break in a text cannot shift the plain form's columns, markup is escaped in
    // the HTML form, a short header line spans the row, and the clipboard gets both forms.
    void copyKeepsCellsApartAndFillsTheClipboard() {
        ShownTable table{
            {{QStringLiteral("<a&b>"), QStringLiteral("Worker")}},
            {QStringLiteral("Tissue/Organ"), QStringLiteral("In utero"), QStringLiteral("  1y")},
            {{QStringLiteral("Bladder"), QStringLiteral("1,2E-10"), QStringLiteral("a\tb\nc")}}};
        const QString plain = tableAsTabSeparated(table);
        QCOMPARE(plain, QStringLiteral("<a&b>\tWorker\nTissue/Organ\tIn utero\t  1y\n"
                                       "Bladder\t1,2E-10\ta b c\n"));
        const QString html = tableAsHtml(table);
        QVERIFY(
            html.contains(QStringLiteral("<tr><td>&lt;a&amp;b&gt;</td>"
                                         "<td colspan=\"2\">Worker</td></tr>")));
        copyTableToClipboard(table);
        const QMimeData* pasted = QGuiApplication::clipboard()->mimeData();
        QVERIFY(pasted && pasted->hasHtml());
        QCOMPARE(pasted->text(), plain);
        QCOMPARE(pasted->html(), html);
    }

    // The PDF's first page holds the provenance and the unit; then come all tables in the run's
    // order, each with its header lines and, per tissue, the store's in-utero dose and the doses
    // of both views on one line.
    void reportHoldsEveryTableInOrder() {
        if (!havePoppler_) QSKIP("poppler-utils is not installed");
        testing::MadeUpData data;
        const auto run = data.run(40, 3);
        const RunResult& store = *run;
        QCOMPARE(store.layout().rowCount(), 4);  // "Brain" gives two rows
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("report.pdf"));
        QVERIFY(writeReportPdf(pdf.toStdString(), tablesOf(*run), kProvenance));

        const QString title = pageText(pdf, 1).simplified();
        for (const std::string& line : kProvenance) QVERIFY(title.contains(text(line)));
        QVERIFY(title.contains(QStringLiteral("dose coefficients in Sv per Bq")));

        const QStringList lines = pageText(pdf, 2, pageCount(pdf)).split(u'\n');
        qsizetype at = 0;
        auto find = [&](const QString& wanted, bool whole) {
            for (; at < lines.size(); ++at)
                if (whole ? lines[at].simplified() == wanted : lines[at].contains(wanted))
                    return true;
            return false;
        };
        for (int t = 1; t <= 40; ++t) {
            QVERIFY(find(QStringLiteral("Table %1 of 40").arg(t), false));
            QVERIFY(lines[at].contains(text(store.nuclideHeading(t))));
            QVERIFY(lines[at].contains(text(store.groupHeading(t)).trimmed()));
            QVERIFY(find(text(store.scenarioHeading(t)), true));
            QVERIFY(find(text(store.routeHeading(t)), true));
            for (int r = 1; r <= store.layout().rowCount(); ++r) {
                QStringList cells = {text(store.layout().rowLabel(r)),
                                     text(store.inUteroText(t, r))};
                for (int n = 1; n <= 2; ++n) cells << text(store.postNatalText(t, r, n));
                for (int n = 1; n <= 2; ++n) cells << text(store.offspringText(t, r, n));
                QVERIFY2(find(cells.join(u' '), true), qPrintable(QString::number(t)));
            }
        }
    }

    // Tables fill the pages after the title page in order, never split: with k tables on the
    // first table page, N tables take 1 + ceil(N / k) pages, each numbered "Page i of n".
    // Taller tables fit fewer to a page; a long provenance pushes the tables back.
    void pageCountsFollowTheTablesThatFitAPage() {
        if (!havePoppler_) QSKIP("poppler-utils is not installed");
        testing::MadeUpData data;
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("tables.pdf"));
        auto pages = [&](const RunResult& run, const std::vector<std::string>& provenance) {
            writeReportPdf(pdf.toStdString(), tablesOf(run), provenance);
            return pageCount(pdf);
        };
        QCOMPARE(pages(*data.run(0, 3), kProvenance), 1);
        QCOMPARE(pages(*data.run(1, 3), kProvenance), 2);

        const int fortyPages = pages(*data.run(40, 3), kProvenance);
        const int perPage = tablesOnPage(pdf, 2, 40);
        QVERIFY2(perPage >= 2, "several tables to a page");
        QCOMPARE(fortyPages, 1 + ceilDiv(40, perPage));
        for (int page = 2; page < fortyPages; ++page)
            QCOMPARE(tablesOnPage(pdf, page, 40), perPage);
        QCOMPARE(tablesOnPage(pdf, fortyPages, 40), 40 - (fortyPages - 2) * perPage);
        const QString all = pageText(pdf);
        for (int page = 1; page <= fortyPages; ++page)
            QVERIFY(all.contains(QStringLiteral("Page %1 of %2").arg(page).arg(fortyPages)));

        QCOMPARE(pages(*data.run(800, 3), kProvenance), 1 + ceilDiv(800, perPage));

        const int tallPages = pages(*data.run(40, 17, true), kProvenance);
        const int tallPerPage = tablesOnPage(pdf, 2, 40);
        QVERIFY(tallPerPage >= 1 && tallPerPage < perPage);
        QCOMPARE(tallPages, 1 + ceilDiv(40, tallPerPage));

        std::vector<std::string> provenance = kProvenance;
        for (int i = 1; i <= 150; ++i) provenance.push_back("SHA-256 of f" + std::to_string(i));
        const int titlePages = pages(*data.run(40, 3), provenance) - ceilDiv(40, perPage);
        QVERIFY(titlePages >= 2);
        QVERIFY(pageText(pdf, titlePages).contains(QStringLiteral("SHA-256 of f150")));
        QCOMPARE(tablesOnPage(pdf, titlePages + 1, 40), perPage);
    }

    // Every page says where its numbers come from (the program, the export's time, the table
    // count, the data folder) and, for the sample set, that they are synthetic: a page printed
    // alone still says it. The footer takes its room from the tables; every table stays whole.
    void everyPageCarriesTheShortProvenance() {
        if (!havePoppler_) QSKIP("poppler-utils is not installed");
        testing::MadeUpData data;
        const auto run = data.run(40, 3);
        Provenance provenance;
        provenance.programName = "fetaldose";
        provenance.programVersion = "1.0";
        provenance.exportedAt = "2026-12-08T13:05:09+01:00";
        provenance.dataDirectory = "/srv/reference/a long folder name for the data set/data/";
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("footer.pdf"));
        const QString program = QStringLiteral(
            "fetaldose 1.0; Exported: 2026-12-08T13:05:09+01:00; Tables: 40; Data folder: "
            "/srv/reference/a long folder name for the data set/data/");
        const QString warning = text(kSyntheticWarning);
        for (const bool synthetic : {true, false}) {
            provenance.syntheticData = synthetic;
            QVERIFY(writeReportPdf(pdf.toStdString(),
                                   ReportTables{*run, pageFooterLines(provenance, 40)},
                                   kProvenance));
            const int pages = pageCount(pdf);
            QVERIFY(pages >= 3);
            int tables = 0;
            for (int page = 1; page <= pages; ++page) {
                const QString shown = pageText(pdf, page).simplified();
                QVERIFY2(shown.contains(program), qPrintable(QString::number(page)));
                QCOMPARE(shown.contains(warning), synthetic);
                QVERIFY(shown.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)));
                tables += tablesOnPage(pdf, page, 40);
            }
            QCOMPARE(tables, 40);
        }
    }

    // A failed export names the reason and leaves no file; a cancelled one returns false and
    // leaves the earlier file as it was; a complete one takes its place. Nothing hidden stays.
    void failedOrCancelledExportLeavesNoFile() {
        testing::MadeUpData data;
        const auto run = data.run(16, 3);
        QTemporaryDir out;
        const QDir folder(out.path());
        auto reason = [&](const QString& path) {
            try {
                writeReportPdf(path.toStdString(), tablesOf(*run), kProvenance);
            } catch (const IoError& fault) {
                return QString::fromUtf8(fault.what());
            }
            return QString();
        };
        const auto entries = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(reason(QStringLiteral("/dev/full")), QStringLiteral("Disk full"));
        QVERIFY(folder.mkdir(QStringLiteral("sub")));
        QCOMPARE(reason(out.filePath(QStringLiteral("sub"))), QStringLiteral("File access denied"));
        QVERIFY(QDir(out.filePath(QStringLiteral("sub"))).isEmpty(entries));
        QCOMPARE(reason(out.filePath(QStringLiteral("missing/a.pdf"))),
                 QStringLiteral("Invalid filename"));
        QCOMPARE(folder.entryList(entries), QStringList{QStringLiteral("sub")});

        const QString earlier = out.filePath(QStringLiteral("earlier.pdf"));
        QFile file(earlier);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
        file.close();
        QList<int> seen;
        auto progress = [&](int done, int total) {
            seen << done;
            return total == 16 && done < 8;
        };
        QVERIFY(!writeReportPdf(earlier.toStdString(), tablesOf(*run), kProvenance, progress));
        QVERIFY(seen.first() == 0 && seen.last() >= 8 && seen.last() < 16);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier"));
        file.close();
        QVERIFY(writeReportPdf(earlier.toStdString(), tablesOf(*run), kProvenance));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("%PDF-"));
        QCOMPARE(folder.entryList(entries),
                 (QStringList{QStringLiteral("earlier.pdf"), QStringLiteral("sub")}));
    }

    // Printed, the report has the PDF file's pages and texts; "Print all tables..." asks first
    // in the standard print dialog, and cancelling it prints nothing.
    void printingGivesTheSameReport() {
        if (!havePoppler_) QSKIP("poppler-utils is not installed");
        testing::MadeUpData data;
        const auto run = data.run(40, 3);
        QTemporaryDir out;
        const QString exported = out.filePath(QStringLiteral("exported.pdf"));
        QVERIFY(writeReportPdf(exported.toStdString(), tablesOf(*run), kProvenance));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(QStringLiteral("printed.pdf")));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QVERIFY(printReport(printer, tablesOf(*run), kProvenance));
        QCOMPARE(pageText(printer.outputFileName()).simplified(), pageText(exported).simplified());

        QString dialogTitle;
        QTimer::singleShot(0, this, [&dialogTitle] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialogTitle = dialog->windowTitle();
                dialog->reject();
            }
        });
        QVERIFY(!printAllTables(nullptr, tablesOf(*run), kProvenance, [](int, int) {
            QTest::qFail("printed after the dialog was cancelled", __FILE__, __LINE__);
            return false;
        }));
        QVERIFY2(!dialogTitle.isEmpty(), "the print dialog was shown");
    }

    // The export dialog offers the three kinds; a typed extension decides the kind, otherwise
    // the picked file type does and lends the name its extension.
    void exportDialogGivesTheKindOfFile() {
        const QStringList types = exportFileTypes();
        QCOMPARE(types.size(), 3);
        QCOMPARE(exportFormatFor(QStringLiteral("/a/t.XLSX"), types[2]), OutputFormat::Xlsx);
        QCOMPARE(exportFormatFor(QStringLiteral("/a/t.csv"), types[1]), OutputFormat::Csv);
        QCOMPARE(exportFormatFor(QStringLiteral("/a/t.v2"), types[2]), OutputFormat::Pdf);

        QTemporaryDir out;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->nameFilters(), types);
            // Picked as a user picks it, in the dialog's list of types.
            auto* typeList = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(typeList);
            typeList->setCurrentIndex(2);
            emit typeList->activated(2);
            emit typeList->textActivated(typeList->currentText());
            dialog->selectFile(out.filePath(QStringLiteral("tables")));
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto target = askExportTarget(nullptr);
        QVERIFY(target);
        QCOMPARE(target->path, out.filePath(QStringLiteral("tables.pdf")));
        QCOMPARE(target->format, OutputFormat::Pdf);

        // A bare name of the type on show from the start: the dialog asks before replacing the
        // file it names (answered No here, so nothing is chosen).
        QFile existing(out.filePath(QStringLiteral("tables.csv")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QString question;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(out.filePath(QStringLiteral("tables")));
            QTimer::singleShot(0, this, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    question = box->text();
                    box->button(QMessageBox::No)->click();
                }
                dialog->reject();
            });
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(!askExportTarget(nullptr));
        QVERIFY2(question.contains(QStringLiteral("tables.csv")), qPrintable(question));
    }

  private:
    bool havePoppler_ = false;
};

}  // namespace fetaldose::gui

QTEST_MAIN(fetaldose::gui::ReportTest)
#include "report_test.moc"
