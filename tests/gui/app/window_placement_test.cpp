// Where the windows go on screens of any size: the placement rule with substituted screens
// (scale factor 2 on 1280 x 1024 and 2560 x 1600 leaves 640 x 512 and 1280 x 800), and the
// real windows on the screen the test runs on (registered at scale 1 and at scale 2).

#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/window_set.h"
#include "gui/app/window_placement.h"
#include "gui/filewin/file_chooser.h"
#include "gui/info/help_books.h"
#include "gui/info/help_window.h"
#include "gui/info/info_windows.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"
#include "viewer_fixture.h"
#include "working_data_set.h"

using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

// A window manager's frame: a 19-pixel title bar and one-pixel borders.
const QMargins kFrame(1, 19, 1, 1);

const QSize kMainClient(668, 459);
const QSize kViewerClient(534, 586);

// Waits until a window manager has framed `window`; false when none does.
bool waitForFrame(QWidget& window) {
    return QTest::qWaitFor([&] { return !frameMargins(window).isNull(); }, 15000);
}

// Centred within a pixel (an odd difference of sizes cannot be halved).
bool centredIn(const QRect& frame, const QRect& area) {
    return qAbs(frame.center().x() - area.center().x()) <= 1 &&
           qAbs(frame.center().y() - area.center().y()) <= 1;
}

// The whole screen, frames included, as `name`.png in the screenshot folder.
bool saveScreen(const QString& folder, const char* name) {
    QTest::qWait(300);  // the last repaints and the window manager's decorations
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    return screen.save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

QRect outer(const WindowPlace& place, const QMargins& frame = kFrame) {
    return QRect(place.frameTopLeft, place.clientSize.grownBy(frame));
}

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsAreCentredByTheirFrame() {
        const QRect large(0, 0, 1280, 800);  // 2560 x 1600 at scale 2
        const WindowPlace main = placeWithin(large, kFrame, {kMainClient, false, std::nullopt});
        QCOMPARE(main, (WindowPlace{{305, 160}, kMainClient}));
        QCOMPARE(outer(main).center(), large.center());
        const WindowPlace viewer = placeWithin(large, kFrame, {kViewerClient, true, std::nullopt});
        QCOMPARE(viewer, (WindowPlace{{372, 97}, kViewerClient}));
        // With no frame reported yet, the client area is centred.
        QCOMPARE(placeWithin(large, {}, {kViewerClient, true, std::nullopt}).frameTopLeft,
                 QPoint(373, 107));
        // A window with a place of its own keeps it where it fits.
        QCOMPARE(placeWithin(large, kFrame, {QSize(498, 521), true, QPoint(310, 156)}),
                 (WindowPlace{{310, 156}, QSize(498, 521)}));
    }

    void windowsStayWithinASmallScreen() {
        const QRect small(0, 0, 640, 512);  // 1280 x 1024 at scale 2
        // The main window is wider than the screen and cannot shrink: its title bar stays on
        // the screen, at the left edge.
        const WindowPlace main = placeWithin(small, kFrame, {kMainClient, false, std::nullopt});
        QCOMPARE(main, (WindowPlace{{0, 16}, kMainClient}));
        // The viewer is taller than the screen: it gets the screen's height.
        const WindowPlace viewer = placeWithin(small, kFrame, {kViewerClient, true, std::nullopt});
        QCOMPARE(viewer, (WindowPlace{{52, 0}, QSize(534, 492)}));
        QVERIFY(small.contains(outer(viewer)));
        // A window placed beyond the right and bottom edges moves back onto the screen.
        const WindowPlace licence =
            placeWithin(small, kFrame, {QSize(498, 521), true, QPoint(310, 156)});
        QCOMPARE(licence, (WindowPlace{{140, 0}, QSize(498, 492)}));
        // A panel at the top of the screen: nothing goes under it.
        const QRect belowPanel(0, 24, 640, 488);
        QCOMPARE(placeWithin(belowPanel, kFrame, {kViewerClient, true, std::nullopt}),
                 (WindowPlace{{52, 24}, QSize(534, 468)}));
        QCOMPARE(
            placeWithin(belowPanel, kFrame, {QSize(300, 200), false, QPoint(-40, 0)}).frameTopLeft,
            QPoint(0, 24));
    }

    void helpWindowGoesBesideTheMainWindowWhereThereIsRoom() {
        const QRect wide(0, 0, 1920, 1080);
        const QRect main(625, 300, 670, 481);
        const QRect help = helpWindowFrame(wide, main, {}, {}, QSize(782, 600));
        QCOMPARE(help, QRect(1303, 300, 617, 600));
        // Moved towards the right edge, the main window has the help window on its left.
        const QRect onTheRight = main.translated(600, 0);
        QCOMPARE(helpWindowFrame(wide, onTheRight, {}, {}, QSize(782, 600)),
                 QRect(435, 300, 782, 600));
    }

    // On a 1280 x 1024 screen there is no room beside the centred main window: the help window
    // covers part of it, but never a command button.
    void helpWindowLeavesTheCommandButtonsClear() {
        WorkingDataSet data;
        data.writeSmallDataSet();
        RecordingMessages messages;
        std::unique_ptr<WindowSet> windows = data.openWindows(messages);
        SelectionWindow& main = windows->selection();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        openHelpBook(main, HelpBook::GeneralInformation);
        HelpWindow& help = helpWindowOf(main);
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QRect helpFrame = help.frameGeometry();
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(helpFrame));
        for (const char* name : {"BtnRun", "BtnExit", "BtnLoad", "BtnSave"}) {
            auto* button = main.findChild<QPushButton*>(QString::fromLatin1(name));
            const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(!helpFrame.intersects(onScreen), name);
        }
        help.close();
        main.hide();
    }

    void underAWindowManager();

    // The real windows on the screen of this run: each frame within the available area where
    // the window fits; the viewer no larger than the area.
    void realWindowsFitTheScreen() {
        WorkingDataSet data;
        data.writeSmallDataSet();
        RecordingMessages messages;
        std::unique_ptr<WindowSet> windows = data.openWindows(messages);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();

        SelectionWindow& main = windows->selection();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(main.frameGeometry().top() >= available.top());
        QVERIFY(main.frameGeometry().left() >= available.left());
        if (main.frameGeometry().width() <= available.width())
            QVERIFY(available.contains(main.frameGeometry()));
        QCOMPARE(main.frameGeometry().center().y(), available.center().y());

        ResultsViewer& viewer = windows->viewer();
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QVERIFY2(available.contains(viewer.frameGeometry()),
                 qPrintable(QStringLiteral("%1 x %2 at %3, %4")
                                .arg(viewer.frameGeometry().width())
                                .arg(viewer.frameGeometry().height())
                                .arg(viewer.frameGeometry().left())
                                .arg(viewer.frameGeometry().top())));
        viewer.returnToInput();

        InfoWindow& licence = windows->licence();
        licence.show();
        QVERIFY(QTest::qWaitForWindowExposed(&licence));
        QVERIFY(available.contains(licence.frameGeometry()));
        if (available.contains(licence.designedFrame()))
            QCOMPARE(licence.frameGeometry(), licence.designedFrame());
        licence.hide();
        main.hide();
    }
};

// Under a real window manager (run by screenshots_openbox.sh): the main window and the viewer
// centred by their frames, the help window clear of the command buttons, and screenshots of
// both kept in the folder FETALDOSE_SCREENSHOTS names.
void WindowPlacementTest::underAWindowManager() {
    const QString folder = qEnvironmentVariable("FETALDOSE_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("run by screenshots_openbox.sh under a window manager");
    {
        // The window manager may still be starting: a probe window tells when it frames.
        QWidget probe;
        probe.resize(50, 50);
        probe.show();
        QVERIFY2(QTest::qWaitFor([&] { return !frameMargins(probe).isNull(); }, 15000),
                 "no window manager framed a window");
    }
    WorkingDataSet data;
    data.writeCatalogue({{"One", "1 y"}});
    data.writeFile("One.dat", QByteArray::fromStdString(
                                  fetaldose::gui::test::dataFileText({0, 0, 1}, {0, 0, 1})));
    QFile::setPermissions(data.dataPath("One.dat"),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    RecordingMessages messages;
    std::unique_ptr<WindowSet> windows = data.openWindows(messages);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();

    SelectionWindow& main = windows->selection();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY2(waitForFrame(main), "no window manager framed the main window");
    QTRY_VERIFY_WITH_TIMEOUT(centredIn(main.frameGeometry(), available), 15000);

    openHelpBook(main, HelpBook::GeneralInformation);
    HelpWindow& help = helpWindowOf(main);
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QVERIFY(waitForFrame(help));
    // The window manager places a new window after it maps it, and takes a moment to tell
    // where: the help window is looked at until it stands where it goes.
    const auto clearOf = [&](const char* name) {
        auto* button = main.findChild<QPushButton*>(QString::fromLatin1(name));
        const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
        return !help.frameGeometry().intersects(onScreen);
    };
    QTRY_VERIFY_WITH_TIMEOUT(clearOf("BtnRun") && clearOf("BtnExit"), 15000);
    QVERIFY(saveScreen(folder, "main-window-with-help"));
    help.close();

    // An information window takes its designed outer rectangle, frame included.
    InfoWindow& licence = windows->licence();
    licence.show();
    QVERIFY(QTest::qWaitForWindowExposed(&licence));
    QVERIFY(waitForFrame(licence));
    QTRY_COMPARE_WITH_TIMEOUT(licence.frameGeometry(), licence.designedFrame(), 15000);
    licence.hide();

    // The save window opens with its mask selected, the first time as every later time.
    for (FileChooserWindow* chooser : {&windows->saveOptions(), &windows->saveOptions()}) {
        QString selected;
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return chooser->isActiveWindow(); }, 15000)) {
                saveScreen(folder, "save-options");
                selected = chooser->findChild<QLineEdit*>()->selectedText();
            }
            chooser->reject();
        });
        chooser->openModally();
        QCOMPARE(selected, QStringLiteral("*.opt"));
    }

    fetaldose::SelectionSnapshot selection;
    selection.nuclides = {"One"};
    selection.halfLives = {"1 y"};
    selection.memberOfPublic = selection.occupational = true;
    selection.ingestion = true;
    selection.allAcutes = selection.allOrgans = selection.allPeriods = true;
    QRect viewerFrame;
    QString failure = QStringLiteral("the viewer was not looked at");
    fetaldose::gui::test::ViewerDriver driver(windows->viewer());
    driver.then([&](ResultsViewer& viewer) {
        // Centred by its frame once the window manager has framed it (and moved it).
        if (!waitForFrame(viewer)) {
            failure = QStringLiteral("no window manager framed the viewer");
            return;
        }
        if (!QTest::qWaitFor([&] { return centredIn(viewer.frameGeometry(), available); }, 15000)) {
            const QRect frame = viewer.frameGeometry();
            failure = QStringLiteral("the viewer's frame stayed at %1, %2 (%3 x %4)")
                          .arg(frame.left())
                          .arg(frame.top())
                          .arg(frame.width())
                          .arg(frame.height());
            return;
        }
        viewer.showNextTable();
        viewerFrame = viewer.frameGeometry();
        failure = saveScreen(folder, "viewer") ? QString() : QStringLiteral("no screenshot");
    });
    driver.run([&] { windows->run(selection); });
    QVERIFY(driver.opened());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(available.contains(viewerFrame));
    QVERIFY(centredIn(viewerFrame, available));
    QVERIFY2(messages.all.isEmpty(), qPrintable(messages.all.join(u'\n')));
}

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
