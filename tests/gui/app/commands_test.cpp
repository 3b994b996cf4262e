// The composition wires every command to its window: each menu item and button of the
// selection window, and "Save to file" of the viewer, opens the window it names, and only that.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/filewin/file_chooser.h"
#include "gui/info/help_books.h"
#include "gui/info/help_window.h"
#include "gui/info/info_windows.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"
#include "working_data_set.h"

using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

// Runs `command` and returns the window that came up modally over the program (closed again
// at once), or nullptr when none did.
QWidget* modalWindowOf(const std::function<void()>& command) {
    QWidget* opened = nullptr;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal;
            modal->close();
        }
    });
    poll.start();
    command();
    poll.stop();
    return opened;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        data_->writeSmallDataSet();
        windows_ = data_->openWindows(messages_);
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    void menuItemsAndButtonsOpenTheirWindows() {
        SelectionWindow& selection = windows_->selection();
        const QList<std::pair<const char*, QWidget*>> items = {
            {"Loadoptions1", &windows_->loadOptions()},
            {"Saveoptions1", &windows_->saveOptions()},
            {"Instructions1", &windows_->instructions()},
            {"Licence1", &windows_->licence()},
            {"ContactInformation1", &windows_->contactInformation()},
            {"About1", &windows_->about()},
            {"HowtoreferencethisCD1", &windows_->referenceCd()},
            {"HowtoreferenceVORQ471", &windows_->referencePublication()},
            // Never shown and disabled: the pdf note cannot be reached.
            {"pdfofVORQPublication471", nullptr},
        };
        for (const auto& [name, window] : items) {
            auto* item = selection.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(item, name);
            QVERIFY2(modalWindowOf([item] { item->trigger(); }) == window, name);
        }
        for (const auto& [name, window] : QList<std::pair<const char*, QWidget*>>{
                 {"BtnLoad", &windows_->loadOptions()}, {"BtnSave", &windows_->saveOptions()}}) {
            auto* button = selection.findChild<QPushButton*>(QString::fromLatin1(name));
            QVERIFY2(modalWindowOf([button] { button->click(); }) == window, name);
        }
        QVERIFY(messages_.all.isEmpty());

        auto* saveToFile = windows_->viewer().findChild<QPushButton*>(QStringLiteral("Button2"));
        QCOMPARE(modalWindowOf([saveToFile] { saveToFile->click(); }), &windows_->saveResults());
    }

    // Enter (either key) presses the focused button as Space does; it presses nothing where
    // the focus is not on a button, and Enter in the finder keeps its own meaning.
    void enterPressesTheFocusedButtonOnly() {
        SelectionWindow& selection = windows_->selection();
        selection.show();
        QVERIFY(QTest::qWaitForWindowActive(&selection));
        auto pressOn = [&selection](const char* name, Qt::Key key) {
            auto* control = selection.findChild<QWidget*>(QString::fromLatin1(name));
            control->setFocus();
            return modalWindowOf([control, key] { QTest::keyClick(control, key); });
        };
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QCOMPARE(pressOn("BtnLoad", key), &windows_->loadOptions());
            QCOMPARE(pressOn("BtnSave", key), &windows_->saveOptions());
            QCOMPARE(pressOn("BtnSave", Qt::Key_Space), &windows_->saveOptions());
            QCOMPARE(pressOn("chkbxMOP", key), nullptr);
        }
        QVERIFY(messages_.all.isEmpty());

        // "Run" with nothing chosen stops with its message, once per press.
        QCOMPARE(pressOn("BtnRun", Qt::Key_Return), nullptr);
        QCOMPARE(messages_.all.size(), 1);

        // In the finder, Enter looks the typed name up (here in vain) and presses no button.
        auto* finder = selection.findChild<QLineEdit*>(QStringLiteral("EdtFindNuc"));
        finder->setText(QStringLiteral("Xx-1"));
        QCOMPARE(pressOn("EdtFindNuc", Qt::Key_Return), nullptr);
        QCOMPARE(messages_.all.size(), 2);
        QVERIFY(messages_.all.at(1) != messages_.all.at(0));
        QVERIFY(selection.isVisible());
    }

    void helpMenuItemsOpenTheirBooksBesideTheProgram() {
        SelectionWindow& selection = windows_->selection();
        for (const auto& [name, book] : QList<std::pair<const char*, QString>>{
                 {"Contents1", "help/generalhelp.qhc"}, {"Contents2", "help/p47.qhc"}}) {
            auto* item = selection.findChild<QAction*>(QString::fromLatin1(name));
            QCOMPARE(modalWindowOf([item] { item->trigger(); }), nullptr);
            QVERIFY2(helpWindowOf(selection).bookFile().endsWith(book), name);
        }
    }

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
