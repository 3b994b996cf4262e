// Start-up: the messages of catalogue loading appear before any window does, faults are
// reported and start-up goes on; "Exit" and the close box end the program at once.

#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "core/refdata/catalogue.h"
#include "core/textio/faults.h"
#include "gui/info/info_windows.h"
#include "gui/selection/selection_window.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

const QString kMissing = QString::fromLatin1(kMissingCatalogueMessage);
const QString kPass = QString::fromLatin1(kAttributePassMessage);

// Records each box with whether any window was already on the screen when it came up.
class WatchingMessages final : public Messages {
  public:
    void inform(const QString& text) override { record(text); }
    void error(const QString& faultMessage) override {
        record(QString::fromStdString(errorBoxText(faultMessage.toStdString())));
    }
    bool confirm(const QString& question, const QString&) override {
        record(question);
        return true;
    }

    QStringList shown;
    bool windowVisibleDuringMessage = false;

  private:
    void record(const QString& text) {
        shown << text;
        for (const QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible()) windowVisibleDuringMessage = true;
    }
};

std::unique_ptr<WindowSet> startWindows(Messages& messages) {
    Platform platform;
    platform.messages = &messages;
    auto windows = std::make_unique<WindowSet>(std::move(platform));
    windows->start();
    return windows;
}

QTableWidget* grid(WindowSet& windows) {
    return windows.selection().findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
}

QString cell(WindowSet& windows, int row, int column) {
    const QTableWidgetItem* cell = grid(windows)->item(row, column);
    return cell ? cell->text() : QString();
}

// Mode 0444 exactly (root's own access rights say nothing here).
bool exactlyReadOnly(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           (status.st_mode & 07777) == 0444;
}

// Runs the event loop until the program ends it; fails after ten seconds.
int runUntilQuit(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    return QApplication::exec();
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void missingCatalogueIsReportedBeforeTheWindowShows() {
        WorkingDataSet data;
        WatchingMessages messages;
        auto windows = startWindows(messages);

        QCOMPARE(messages.shown, QStringList({kMissing}));
        QVERIFY(!messages.windowVisibleDuringMessage);
        QVERIFY(windows->selection().isVisible());
        QCOMPARE(grid(*windows)->rowCount(), 74);
        for (int row = 0; row < 74; ++row) QCOMPARE(cell(*windows, row, 0), QString());
    }

    void firstRunPassMarksTheDataFilesReadOnlyOnce() {
        WorkingDataSet data;
        data.writeCatalogue(smallCatalogue());
        for (const QByteArray& name : kWithDataFile) data.addDataFile(name, /*readOnly=*/false);

        {
            WatchingMessages messages;
            auto windows = startWindows(messages);
            QCOMPARE(messages.shown, QStringList({kPass}));
            QVERIFY(!messages.windowVisibleDuringMessage);
            QCOMPARE(cell(*windows, 9, 0), QStringLiteral("Te-131m-a"));
            QCOMPARE(cell(*windows, 9, 1), QStringLiteral("33.25 h"));
        }
        for (const QByteArray& name : kWithDataFile)
            QVERIFY2(exactlyReadOnly(data.dataPath(name + ".dat")), name.constData());

        // The next start finds the first data file read-only and skips the pass.
        WatchingMessages again;
        auto windows = startWindows(again);
        QVERIFY(again.shown.isEmpty());
        QCOMPARE(cell(*windows, 0, 0), QStringLiteral("H-3"));
    }

    void catalogueFaultsAreReportedAndStartUpGoesOn() {
        {
            WorkingDataSet data;
            data.writeCatalogue("two", smallCatalogue());
            WatchingMessages messages;
            auto windows = startWindows(messages);
            QCOMPARE(messages.shown, QStringList({"Invalid numeric input."}));
            QVERIFY(!messages.windowVisibleDuringMessage);
            QVERIFY(windows->selection().isVisible());
            // The last window of the set was created too.
            QCOMPARE(windows->referencePublication().windowTitle(),
                     QStringLiteral("How to reference VORQ 47"));
            QCOMPARE(cell(*windows, 0, 0), QString());
        }
        {
            // Entry 901 is beyond the catalogue's capacity: the first 900 stay, after the pass
            // notice (the first entry has no data file) comes the range error.
            WorkingDataSet data;
            std::vector<Nuclide> entries;
            for (int i = 1; i <= 901; ++i)
                entries.push_back({"Nu-" + QByteArray::number(i), QByteArray::number(i) + " s"});
            data.writeCatalogue(entries);
            WatchingMessages messages;
            auto windows = startWindows(messages);
            QCOMPARE(messages.shown, QStringList({kPass, "Range check error."}));
            QVERIFY(!messages.windowVisibleDuringMessage);
            QCOMPARE(grid(*windows)->rowCount(), 900);
            QCOMPARE(cell(*windows, 899, 0), QStringLiteral("Nu-900"));
            QCOMPARE(cell(*windows, 899, 1), QStringLiteral("900 s"));
        }
    }

    void exitAndTheCloseBoxEndTheProgramAtOnce() {
        WorkingDataSet data;
        data.writeSmallDataSet();
        WatchingMessages messages;
        auto windows = startWindows(messages);
        SelectionWindow& window = windows->selection();

        auto* exitButton = window.findChild<QPushButton*>(QStringLiteral("BtnExit"));
        QCOMPARE(runUntilQuit([exitButton] { exitButton->click(); }), 0);

        window.show();
        auto* exitItem = window.findChild<QAction*>(QStringLiteral("Exit1"));
        QCOMPARE(runUntilQuit([exitItem] { exitItem->trigger(); }), 0);

        window.show();
        QCOMPARE(runUntilQuit([&window] { window.close(); }), 0);
        QVERIFY(messages.shown.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
