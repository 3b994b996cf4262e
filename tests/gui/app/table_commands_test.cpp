// The viewer's context menu as the composition wires it: the four commands with their
// shortcuts, the copy of the table on show, the export of every table to each kind of file
// (and no file at all when it fails), and the chart window that follows the viewer's paging.
// The run is the known session on the end-to-end data set, so the values are known.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
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

    // Both grids pop up the same menu: the four commands in order, their shortcuts shown.
    void contextMenuHoldsTheFourCommandsWithTheirShortcuts() {
        const QList<std::pair<QString, QKeySequence>> expected = {
            {QStringLiteral("Copy table"), QKeySequence(QStringLiteral("Ctrl+C"))},
            {QStringLiteral("Export all tables..."), QKeySequence(QStringLiteral("Ctrl+E"))},
            {QStringLiteral("Print all tables..."), QKeySequence()},
            {QStringLiteral("Chart..."), QKeySequence(QStringLiteral("Ctrl+G"))}};
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
        auto exportTo = [&](const QString& path, ExportKind kind) {
            return [&, path, kind](ResultsViewer&) {
                nextTarget_ = ExportTarget{path, kind};
                press(Qt::CTRL | Qt::Key_E);
                errors << messages_.errors.join(u'|');
            };
        };
        test::ViewerDriver driver(viewer());
        driver.then(exportTo(file(QStringLiteral("tables.csv")), ExportKind::Csv))
            .then(exportTo(file(QStringLiteral("tables.xlsx")), ExportKind::Xlsx))
            .then(exportTo(file(QStringLiteral("tables.pdf")), ExportKind::Pdf))
            .then(exportTo(QStringLiteral("/dev/full"), ExportKind::Csv))
            .then(exportTo(file(QStringLiteral("folder.csv")), ExportKind::Csv))
            .then(exportTo(file(QStringLiteral("folder.csv")), ExportKind::Pdf))
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

    // No export and no chart image replaces the catalogue or a data file of the data set in
    // use, by its name or through a link: the error box names both, and the file stays.
    void exportsAndChartImagesNeverReplaceTheDataSet() {
        const QByteArray catalogue = readAll(data_->dataPath("nuclides.txt"));
        const QByteArray dataFile = readAll(data_->dataPath("Cs-137.dat"));
        QVERIFY(QFile::link(data_->dataPath("Cs-137.dat"), file(QStringLiteral("link.pdf"))));
        auto exportTo = [&](const QString& path, ExportKind kind) {
            return [&, path, kind](ResultsViewer&) {
                nextTarget_ = ExportTarget{path, kind};
                press(Qt::CTRL | Qt::Key_E);
            };
        };
        test::ViewerDriver driver(viewer());
        driver.then(exportTo(data_->dataPath("nuclides.txt"), ExportKind::Csv))
            .then(exportTo(file(QStringLiteral("link.pdf")), ExportKind::Pdf))
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
