// "Go to table…" in the viewer (Ctrl+T): by number, with a message for a number that is none of
// the run's tables; by nuclide, exposure group, route entry and scenario, each list offering
// only what the run holds under the choices above it; and the dialog opening on the table on
// show.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/window_set.h"
#include "core/run/run_result.h"
#include "gui/results/go_to_table_dialog.h"
#include "gui/results/result_grid.h"
#include "gui/results/results_viewer.h"
#include "recording_messages.h"
#include "viewer_fixture.h"

using namespace fetaldose;
using namespace fetaldose::gui;

class GoToTableTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir work_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;

    ResultsViewer& viewer() { return windows_->viewer(); }
    const RunResult& run() { return *viewer().run(); }

    // Aa-1 twice (members of the public only) around Bb-2 (both groups, two ingestion
    // entries, a vapour entry), every scenario, tissue and period.
    static SelectionSnapshot selection() {
        SelectionSnapshot s;
        s.nuclides = {"Aa-1", "Bb-2", "Aa-1"};
        s.halfLives = {"1 d", "2 d", "1 d"};
        s.memberOfPublic = s.occupational = true;
        s.allRoutes = s.allAerosol = s.allAcutes = true;
        s.allChronics = s.allOrgans = s.allPeriods = true;
        return s;
    }

    // Ctrl+T in the viewer, with the focus in the grid on show; `work` runs on the dialog once
    // it is open, and a dialog still open after it is cancelled.
    void goTo(const std::function<void(GoToTableDialog&)>& work) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<GoToTableDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            opened = true;
            work(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        QApplication::setActiveWindow(&viewer());
        viewer().offspringGrid().setFocus();
        QTest::keyClick(&viewer().offspringGrid(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(opened);
    }
    static QComboBox& list(GoToTableDialog& dialog, const char* name) {
        return *dialog.findChild<QComboBox*>(QLatin1String(name));
    }
    static void typeNumber(GoToTableDialog& dialog, const QString& text) {
        QLineEdit& number = *dialog.findChild<QLineEdit*>(QStringLiteral("GoToTableNumber"));
        number.clear();
        QTest::keyClicks(&number, text);
        dialog.accept();
    }
    QString label(const char* name) {
        return viewer().findChild<QLabel*>(QLatin1String(name))->text().trimmed();
    }
    // The pattern's first table, worked out the long way: every table before it checked.
    int firstMatching(const TablePattern& pattern) {
        for (int table = 1; table <= run().tableCount(); ++table)
            if (pattern.matches(run().key(table))) return table;
        return 0;
    }
    // Runs the selection and works the open viewer with `steps`.
    void view(const std::function<void()>& steps) {
        test::ViewerDriver driver(viewer());
        driver.then([&](ResultsViewer&) { steps(); });
        driver.run([this] { windows_->run(selection()); });
        QVERIFY(driver.opened());
    }

  private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        QVERIFY(QDir(work_.path()).mkpath(QStringLiteral("data")));
        QVERIFY(QDir::setCurrent(work_.path()));
        const std::string data = work_.filePath(QStringLiteral("data/")).toStdString();
        test::writeFile(data + "Aa-1.dat", test::dataFileText({0, 1, 1}, {0, 0, 0}));
        test::writeFile(data + "Bb-2.dat", test::dataFileText({1, 0, 2}, {1, 0, 2}));
        test::writeFile(data + "nuclides.txt", "2\r\nAa-1\r\n1 d\r\nBb-2\r\n2 d\r\n");
        Platform platform;
        platform.messages = &messages_;
        platform.decimalSeparator = [] { return '.'; };
        windows_ = std::make_unique<WindowSet>(std::move(platform));
        windows_->create();
    }
    void init() { messages_.clear(); }

    // The dialog offers the table on show: its number, and its nuclide, group, route entry and
    // scenario as the viewer's header shows them. Cancelled, it changes nothing.
    void opensOnTheTableOnShow() {
        view([&] {
            for (int turn = 0; turn < 150; ++turn) viewer().showNextTable();
            QCOMPARE(viewer().currentTable(), 151);  // a worker's table of Bb-2
            goTo([&](GoToTableDialog& dialog) {
                QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("GoToTableNumber"))->text(),
                         QStringLiteral("151"));
                QCOMPARE(list(dialog, "GoToTableNuclide").currentText(), label("lblNuclide"));
                QCOMPARE(list(dialog, "GoToTableGroup").currentText(), label("LblOccOrEnv"));
                // The header's second line is the scenario, its third the route.
                QCOMPARE(list(dialog, "GoToTableRouteEntry").currentText(), label("LblScenario"));
                QCOMPARE(list(dialog, "GoToTableScenario").currentText(), label("LblRoute"));
            });
            QCOMPARE(viewer().currentTable(), 151);
        });
        QVERIFY(messages_.all.isEmpty());
    }

    // A number goes to its table, blanks around it allowed, with the looks paging gives; a
    // number that is none of the run's tables is refused with a message naming it and the
    // run's range, and the dialog stays open with the table on show unchanged.
    void byNumberAndBadNumbers() {
        view([&] {
            const int count = viewer().tableCount();
            QCOMPARE(count, 2 * 11 * (10 + 1) + 2 * 11 * (1 + 2));  // Aa-1 twice, Bb-2
            goTo([&](GoToTableDialog& dialog) { typeNumber(dialog, QStringLiteral(" 7 ")); });
            QCOMPARE(viewer().currentTable(), 7);
            QVERIFY(viewer().previousAvailable() && viewer().nextAvailable());
            goTo([&](GoToTableDialog& dialog) { typeNumber(dialog, QString::number(count)); });
            QCOMPARE(viewer().currentTable(), count);
            QVERIFY(viewer().previousAvailable() && !viewer().nextAvailable());
            viewer().showPreviousTable();  // paging goes on from there
            QCOMPARE(viewer().currentTable(), count - 1);
            goTo([&](GoToTableDialog& dialog) { typeNumber(dialog, QStringLiteral("1")); });
            QVERIFY(!viewer().previousAvailable() && viewer().nextAvailable());
            QCOMPARE(label("lblNuclide"), QString::fromLatin1(run().nuclideHeading(1)).trimmed());

            const QStringList bad = {QStringLiteral("0"),   QString::number(count + 1),
                                     QStringLiteral("abc"), QStringLiteral("12x"),
                                     QStringLiteral("-3"),  QStringLiteral("99999999999999999999"),
                                     QStringLiteral("1.5"), QStringLiteral("")};
            for (const QString& typed : bad) {
                messages_.clear();
                goTo([&](GoToTableDialog& dialog) {
                    typeNumber(dialog, typed);
                    QVERIFY(dialog.isVisible());
                });
                QCOMPARE(messages_.informed.size(), 1);
                QVERIFY2(messages_.informed[0].contains(typed) &&
                             messages_.informed[0].contains(QStringLiteral("1 to ") +
                                                            QString::number(count)),
                         qPrintable(messages_.informed[0]));
                QCOMPARE(viewer().currentTable(), 1);
            }
        });
    }

    // A nuclide alone goes to its first table; a nuclide, group, route entry and scenario to
    // the first table of all four. Each list holds only what the run has under the choices
    // above it, "Any" first, and a choice above keeps those below where it can.
    void byNuclideGroupRouteEntryAndScenario() {
        view([&] {
            goTo([&](GoToTableDialog& dialog) {
                QComboBox& nuclides = list(dialog, "GoToTableNuclide");
                QCOMPARE(nuclides.count(), 3);  // every place of the chosen list
                nuclides.setCurrentIndex(2);    // Aa-1 again, after Bb-2
                for (const char* name :
                     {"GoToTableGroup", "GoToTableRouteEntry", "GoToTableScenario"})
                    list(dialog, name).setCurrentIndex(0);            // any
                QCOMPARE(list(dialog, "GoToTableGroup").count(), 2);  // any, members of the public
                QVERIFY(
                    dialog.findChild<QRadioButton*>(QStringLiteral("GoToTableByKey"))->isChecked());
                dialog.accept();
            });
            TablePattern third;
            third.nuclide = 2;
            QCOMPARE(viewer().currentTable(), firstMatching(third));
            QCOMPARE(viewer().currentTable(), 11 * (10 + 1) + 2 * 11 * (1 + 2) + 1);

            goTo([&](GoToTableDialog& dialog) {
                list(dialog, "GoToTableNuclide").setCurrentIndex(1);  // Bb-2
                QComboBox& groups = list(dialog, "GoToTableGroup");
                QCOMPARE(groups.count(), 3);
                groups.setCurrentIndex(2);  // workers
                QComboBox& routes = list(dialog, "GoToTableRouteEntry");
                QCOMPARE(routes.count(), 1 + 2 + 1);  // any, two ingestion entries, the vapour
                routes.setCurrentIndex(2);
                QComboBox& scenarios = list(dialog, "GoToTableScenario");
                QCOMPARE(scenarios.count(), 1 + 11);
                scenarios.setCurrentIndex(5);
                dialog.accept();
            });
            const TableKey shown = run().key(viewer().currentTable());
            TablePattern wanted;
            wanted.nuclide = 1;
            wanted.group = 2;
            wanted.routeEntry = RouteEntry{IntakeRoute::Ingestion, 2, 1};
            wanted.scenario = 5;
            QVERIFY(wanted.matches(shown));
            QCOMPARE(viewer().currentTable(), firstMatching(wanted));

            // Another nuclide keeps the scenario chosen; Any for the route entry then goes to
            // the scenario's first table of that nuclide's public tables.
            goTo([&](GoToTableDialog& dialog) {
                list(dialog, "GoToTableNuclide").setCurrentIndex(0);
                QCOMPARE(list(dialog, "GoToTableScenario").currentText(),
                         QString::fromLatin1(run().scenarioHeading(viewer().currentTable())));
                list(dialog, "GoToTableRouteEntry").setCurrentIndex(0);
                dialog.accept();
            });
            TablePattern first;
            first.nuclide = 0;
            first.scenario = 5;
            QCOMPARE(viewer().currentTable(), firstMatching(first));
        });
        QVERIFY(messages_.all.isEmpty());
    }
};

QTEST_MAIN(GoToTableTest)
#include "go_to_table_test.moc"
