// The composition wires every command to its window: each menu item and button of the
// selection window, and "Save to file" of the viewer, opens the window it names, and only that.

#include <QAction>
#include <QApplication>
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
