// The viewer's context menu as the composition wires it: the commands with their
// shortcuts, the copy of the table on show, the export of every table to each kind of file
// (and no file at all when it fails), and the chart window that follows the viewer's paging.
// The run is the known session on the end-to-end data set, so the values are known.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "gui/charts/chart_window.h"
#include "gui/results/result_grid.h"
#include "known_session.h"
#include "viewer_fixture.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

const QString kE2e = QStringLiteral(FETALDOSE_E2E_DIR);

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The known-good results file: 18 lines a table; lines 7-9 of a table are its in-utero rows,
// 12-14 the post-natal rows and 16-18 the offspring rows ("tissue,dose,dose").
QStringList knownTable(int table) {
    const QStringList lines =
        QString::fromLatin1(readAll(kE2e + QStringLiteral("/expected_results.dos")))
            .split(QStringLiteral("\r\n"));
    return lines.mid(18 * (table - 1), 18);
}

// A grid row as the copy gives it: tissue, in-utero dose, then the doses of the view on show.
QString knownRow(int table, int row, bool postNatal) {
    const QStringList lines = knownTable(table);
    const QString inUtero = lines.value(5 + row);
    const QString doses = lines.value((postNatal ? 10 : 14) + row).section(u',', 1);
    QString cells = inUtero + u',' + doses;
    return cells.replace(u',', u'\t');
}

}  // namespace

class TableCommandsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;
    std::optional<ExportTarget> nextTarget_;

    ResultsViewer& viewer() { return windows_->viewer(); }
    QString file(const QString& name) const { return QDir::currentPath() + u'/' + name; }

    // Presses the keys in the viewer, made the active window first so its shortcuts apply,
    // with the focus in the grid on show, as after a click into the table.
    void press(QKeyCombination keys) {
        QApplication::setActiveWindow(&viewer());
        ResultGrid& grid =
            viewer().postNatalViewShown() ? viewer().postNatalGrid() : viewer().offspringGrid();
        grid.setFocus();
        QTest::keyClick(&grid, keys.key(), keys.keyboardModifiers());
    }

    // A step that exports every table to `path`, as the dialog would have chosen it.
    std::function<void(ResultsViewer&)> exportTo(const QString& path, OutputFormat format) {
        return [this, path, format](ResultsViewer&) {
            nextTarget_ = ExportTarget{path, format};
            press(Qt::CTRL | Qt::Key_E);
        };
    }

    // Runs the known session, working the viewer with the steps; "Return to input" after.
    void runSession(test::ViewerDriver& driver) {
        driver.run([this] { windows_->run(fetaldose::testing::knownSession()); });
        QVERIFY(driver.opened());
        QCOMPARE(driver.stepsLeft(), 0);
    }

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        for (const char* name : {"nuclides.txt", "Cs-137.dat", "I-131.dat"})
            QVERIFY(QFile::copy(kE2e + QStringLiteral("/data/") + QLatin1String(name),
                                data_->dataPath(name)));
        Platform platform;
        platform.messages = &messages_;
        platform.decimalSeparator = [] { return '.'; };
        platform.askExportTarget = [this](QWidget*) { return std::exchange(nextTarget_, {}); };
        windows_ = std::make_unique<WindowSet>(std::move(platform));
        windows_->create();
        messages_.clear();
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    // Both grids pop up the same menu: the commands in order, their shortcuts shown.
    void contextMenuHoldsTheCommandsWithTheirShortcuts() {
        const QList<std::pair<QString, QKeySequence>> expected = {
            {QStringLiteral("Copy table"), QKeySequence(QStringLiteral("Ctrl+C"))},
            {QStringLiteral("Export all tables..."), QKeySequence(QStringLiteral("Ctrl+E"))},
            {QStringLiteral("Print all tables..."), QKeySequence()},
            {QStringLiteral("Chart..."), QKeySequence(QStringLiteral("Ctrl+G"))},
            {QString::fromUtf8("Assess an intake with this table\u2026"), QKeySequence()},
            {QStringLiteral("Go to table…"), QKeySequence(QStringLiteral("Ctrl+T"))}};
        viewer().show();
        for (const char* name : {"StrngGrdResultsTotal", "StrngGrdResultsPartial"}) {
            auto* grid = viewer().findChild<ResultGrid*>(QLatin1String(name));
            QVERIFY(grid);
            QList<std::pair<QString, QKeySequence>> shown;
            bool shortcutsVisible = true;
            QTimer::singleShot(0, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu) return;
                for (QAction* action : menu->actions()) {
                    shown.push_back({action->text(), action->shortcut()});
                    shortcutsVisible = shortcutsVisible && action->isShortcutVisibleInContextMenu();
                }
                menu->close();
            });
            QWidget* cells = grid->viewport();
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                    cells->mapToGlobal(QPoint(20, 20)));
            QApplication::sendEvent(cells, &event);
            QCOMPARE(shown, expected);
            QVERIFY(shortcutsVisible);
        }
        viewer().hide();
    }

    // Ctrl+C copies the table on show in the view on show, values as the grid shows them.
    void copyPutsTheTableOnShowOnTheClipboard() {
        QStringList copies;
        auto copy = [&](ResultsViewer&) {
            QApplication::clipboard()->clear();
            press(Qt::CTRL | Qt::Key_C);
            copies << QApplication::clipboard()->text();
        };
        test::ViewerDriver driver(viewer());
        driver.then(copy)
            .then([](ResultsViewer& v) { v.showNextTable(); })
            .then([](ResultsViewer& v) { v.showPostNatalView(); })
            .then(copy);
        runSession(driver);

        QCOMPARE(copies.size(), 2);
        for (int row = 1; row <= 3; ++row) {
            QVERIFY2(copies[0].contains(knownRow(1, row, false)), qPrintable(copies[0]));
            QVERIFY2(copies[1].contains(knownRow(2, row, true)), qPrintable(copies[1]));
        }
        QVERIFY(copies[0].startsWith(knownTable(1).value(0)));
        QVERIFY(copies[1].contains(knownTable(2).value(1).trimmed()));
        QVERIFY(messages_.all.isEmpty());
    }

    // Ctrl+E writes every table of the run to the kind of file chosen, with the run's
    // provenance; a failed export shows the reason and leaves no file under the name.
    void exportWritesTheChosenKindOrNothing() {
        QVERIFY(QDir().mkdir(file(QStringLiteral("folder.csv"))));
        QStringList errors;  // after each export, the errors shown so far
        auto exportTo = [&](const QString& path, OutputFormat kind) {
            return [&, path, kind](ResultsViewer& shown) {
                this->exportTo(path, kind)(shown);
                errors << messages_.errors.join(u'|');
            };
        };
        test::ViewerDriver driver(viewer());
        driver.then(exportTo(file(QStringLiteral("tables.csv")), OutputFormat::Csv))
            .then(exportTo(file(QStringLiteral("tables.xlsx")), OutputFormat::Xlsx))
            .then(exportTo(file(QStringLiteral("tables.pdf")), OutputFormat::Pdf))
            .then(exportTo(QStringLiteral("/dev/full"), OutputFormat::Csv))
            .then(exportTo(file(QStringLiteral("folder.csv")), OutputFormat::Csv))
            .then(exportTo(file(QStringLiteral("folder.csv")), OutputFormat::Pdf))
            // The dialog cancelled: nothing happens.
            .then([&](ResultsViewer&) { press(Qt::CTRL | Qt::Key_E); });
        runSession(driver);

        const QString csv = QString::fromUtf8(readAll(file(QStringLiteral("tables.csv"))));
        QVERIFY2(csv.startsWith(QStringLiteral("\"# ")) || csv.startsWith(QStringLiteral("# ")),
                 qPrintable(csv.left(80)));
        QVERIFY(csv.contains(QDir::currentPath() + QStringLiteral("/data/")));
        QVERIFY(csv.contains(QStringLiteral("Cs-137")) && csv.contains(QStringLiteral("I-131")));
        const QString bladder = knownTable(1).value(6);  // "Bladder,<in-utero dose>"
        QVERIFY2(csv.contains(bladder), qPrintable(bladder));
        QVERIFY(readAll(file(QStringLiteral("tables.xlsx"))).startsWith("PK\x03\x04"));
        QVERIFY(readAll(file(QStringLiteral("tables.pdf"))).startsWith("%PDF"));

        QCOMPARE(errors.value(2), QString());
        QCOMPARE(errors.value(3), QStringLiteral("Disk full."));
        QCOMPARE(errors.value(4), QStringLiteral("Disk full.|File access denied."));
        QCOMPARE(messages_.errors.size(), 3);
        QCOMPARE(messages_.errors.value(2), QStringLiteral("File access denied."));
        QVERIFY(QDir(file(QStringLiteral("folder.csv"))).isEmpty());
        // Nothing else beside the files: no hidden leftover of a failed or finished export.
        const QStringList left =
            QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, QStringList({QStringLiteral("tables.csv"), QStringLiteral("tables.pdf"),
                                    QStringLiteral("tables.xlsx")}));
    }

    // A data file changed on disk during the viewing and another gone: the CSV, the workbook
    // and the PDF report still give the digests of the bytes the run read, each with a note
    // that the file on disk is no longer the one read.
    void exportsNameTheBytesTheRunReadWhateverHappensToTheFiles() {
        const QByteArray cesium = readAll(data_->dataPath("Cs-137.dat"));
        const QByteArray iodine = readAll(data_->dataPath("I-131.dat"));
        test::ViewerDriver driver(viewer());
        driver
            .then([&](ResultsViewer&) {
                QFile changed(data_->dataPath("Cs-137.dat"));
                QVERIFY(changed.open(QIODevice::Append));
                QVERIFY(changed.write("x") == 1);
                changed.close();
                QVERIFY(QFile::rename(data_->dataPath("I-131.dat"), file(QStringLiteral("gone"))));
            })
            .then(exportTo(file(QStringLiteral("t.csv")), OutputFormat::Csv))
            .then(exportTo(file(QStringLiteral("t.xlsx")), OutputFormat::Xlsx))
            .then(exportTo(file(QStringLiteral("t.pdf")), OutputFormat::Pdf));
        runSession(driver);
        QVERIFY(messages_.errors.isEmpty());

        const auto sha = [](const QByteArray& bytes) {
            return QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        };
        const QString changed = QStringLiteral("Note: Cs-137.dat on disk now differs");
        const QString gone = QStringLiteral("Note: I-131.dat is gone from the data folder");
        const QString csv = QString::fromUtf8(readAll(file(QStringLiteral("t.csv"))));
        QVERIFY(csv.contains(QStringLiteral("SHA-256 of Cs-137.dat: ") + sha(cesium)));
        QVERIFY(csv.contains(QStringLiteral("SHA-256 of I-131.dat: ") + sha(iodine)));
        QVERIFY(csv.contains(changed) && csv.contains(gone));
        // The other two formats, read back by programs of their own where they are installed.
        QProcess sheet;
        sheet.start(QStringLiteral("xlsx2csv"), {QStringLiteral("-n"), QStringLiteral("Provenance"),
                                                 file(QStringLiteral("t.xlsx"))});
        if (sheet.waitForFinished()) {
            const QString text = QString::fromUtf8(sheet.readAllStandardOutput());
            QVERIFY(text.contains(sha(cesium)) && text.contains(changed) && text.contains(gone));
        }
        QProcess pdf;
        pdf.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-raw"), file(QStringLiteral("t.pdf")), QStringLiteral("-")});
        if (pdf.waitForFinished()) {
            const QString text = QString::fromUtf8(pdf.readAllStandardOutput()).simplified();
            QVERIFY2(text.contains(sha(cesium)), qPrintable(text.left(2000)));
            QVERIFY(text.contains(changed) && text.contains(gone));
        }
    }

    // No export and no chart image replaces the catalogue or a data file of the data set in
    // use, by its name or through a link: the error box names both, and the file stays.
    void exportsAndChartImagesNeverReplaceTheDataSet() {
        const QByteArray catalogue = readAll(data_->dataPath("nuclides.txt"));
        const QByteArray dataFile = readAll(data_->dataPath("Cs-137.dat"));
        QVERIFY(QFile::link(data_->dataPath("Cs-137.dat"), file(QStringLiteral("link.pdf"))));
        test::ViewerDriver driver(viewer());
        driver.then(exportTo(data_->dataPath("nuclides.txt"), OutputFormat::Csv))
            .then(exportTo(file(QStringLiteral("link.pdf")), OutputFormat::Pdf))
            .then([&](ResultsViewer&) { press(Qt::CTRL | Qt::Key_G); });
        runSession(driver);
        ChartWindow* chart = windows_->tableCommands().chart();
        QVERIFY(chart);
        QVERIFY(!chart->saveImage(file(QStringLiteral("link.pdf"))));
        QCOMPARE(messages_.errors.size(), 3);
        for (const QString& error : messages_.errors)
            QVERIFY2(error.contains(QStringLiteral(": not written, as it is the same file as ")),
                     qPrintable(error));
        QVERIFY(messages_.errors[0].startsWith(data_->dataPath("nuclides.txt")));
        QVERIFY(messages_.errors[1].contains(data_->dataPath("Cs-137.dat")));
        QCOMPARE(readAll(data_->dataPath("nuclides.txt")), catalogue);
        QCOMPARE(readAll(data_->dataPath("Cs-137.dat")), dataFile);
    }

    // Ctrl+G opens the chart over the viewer on the table on show; paging moves it along, and
    // it comes back after the next run.
    void chartFollowsTheViewersPaging() {
        QList<int> charted;
        auto noteTable = [&](ResultsViewer&) {
            ChartWindow* chart = windows_->tableCommands().chart();
            charted << (chart && chart->isVisible() ? chart->table() : 0);
        };
        test::ViewerDriver driver(viewer());
        driver.then([&](ResultsViewer& v) { v.showNextTable(); })
            .then([&](ResultsViewer&) { press(Qt::CTRL | Qt::Key_G); })
            .then(noteTable)
            .then([](ResultsViewer& v) { v.showNextTable(); })
            .then(noteTable)
            .then([](ResultsViewer& v) { v.showPreviousTable(); })
            .then([](ResultsViewer& v) { v.showPreviousTable(); })
            .then(noteTable);
        runSession(driver);
        QCOMPARE(charted, QList<int>({2, 3, 1}));
        ChartWindow* chart = windows_->tableCommands().chart();
        QCOMPARE(chart->parentWidget(), &viewer());
        QVERIFY(chart->isWindow());
        QVERIFY(!chart->chartData().series.empty());
        // A failed image save reaches the program's error box.
        QVERIFY(!chart->saveImage(file(QStringLiteral("no folder/chart.png"))));
        QCOMPARE(messages_.errors.size(), 1);
        messages_.clear();

        // A second run: the chart, still open, shows its first table.
        test::ViewerDriver again(viewer());
        again.then(noteTable);
        runSession(again);
        QCOMPARE(charted.last(), 1);
        QVERIFY(messages_.all.isEmpty());
    }
};

QTEST_MAIN(TableCommandsTest)
#include "table_commands_test.moc"
