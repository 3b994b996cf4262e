#pragma once
// The program's composition: the selection model and the twelve windows, each created once and
// wired to each other here. The selection window, the main one, is created at start; every
// other window the first time it is needed (none of them shows a message while it is created,
// and each starts as it would have at start-up), so that the main window shows sooner. A
// window knows no other window: it is given what it needs as callbacks and narrow interfaces.
// Nothing here is global.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <QString>

#include "app/table_commands.h"
#include "core/run/selection_snapshot.h"
#include "gui/assessment/assessment_files.h"
#include "gui/compare/compare_window.h"
#include "gui/results/run_controller.h"

namespace fetaldose {
class FileAttributes;
class SelectionModel;
}  // namespace fetaldose

namespace fetaldose::gui {

class Messages;
class PrinterProvider;
class VolumeProvider;
class SelectionWindow;
class ResultsViewer;
class FileChooserWindow;
class InfoWindow;
class InstructionsWindow;
class AssessmentWindow;
class CompareWindow;

// The outside world as the windows see it; tests replace any part of it.
struct Platform {
    Messages* messages = nullptr;              // default: real message boxes
    PrinterProvider* printers = nullptr;       // default: the system's default printer
    FileAttributes* fileAttributes = nullptr;  // default: the real file system
    VolumeProvider* volumes = nullptr;         // default: the mounted volumes
    std::function<char()> decimalSeparator;    // default: the user's locale
    ExportTargetChooser askExportTarget;       // default: the desktop's file dialog
    // The comparison's candidate folder and export file: the desktop's dialogs by default.
    FolderChooser chooseFolder;
    CompareExportChooser askComparisonTarget;
    AssessmentFileChooser askAssessmentFile;  // default: the desktop's file dialogs
    // How long a run goes on before it shows its progress (tests: none, or never).
    std::chrono::milliseconds runProgressDelay = kRunProgressDelay;
};

class WindowSet {
  public:
    explicit WindowSet(Platform platform = {});
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Creates the selection model and window, then shows the window. Messages raised while
    // the window is created (loading the catalogue) appear before any window does; a fault
    // there is reported in the error box and start-up goes on.
    void start();
    // Creates the selection model and window without showing it (tests).
    void create();

    SelectionModel& selectionModel() { return *selectionModel_; }
    SelectionWindow& selection() { return *selection_; }
    // The other windows, each created the first time it is asked for.
    ResultsViewer& viewer();
    FileChooserWindow& saveResults();
    FileChooserWindow& saveOptions();
    FileChooserWindow& loadOptions();
    InstructionsWindow& instructions();
    InfoWindow& licence();
    InfoWindow& contactInformation();
    InfoWindow& about();
    InfoWindow& pdfNote();
    InfoWindow& referenceCd();
    InfoWindow& referencePublication();
    // Tools: the comparison of the data set with another one.
    CompareWindow& compareWindow();
    // The dose assessment window, on the data folder of the selection window. A child window
    // of the viewer, so that it stays usable while the viewer shows its tables modally.
    AssessmentWindow& assessment();

    Messages& messages() { return *platform_.messages; }
    // The viewer's context menu commands and the chart window they open.
    TableCommands& tableCommands() { return *tableCommands_; }

    // "Run" on `selection`: the run fills the viewer and shows its tables. A Run asked for
    // while an earlier one is under way (making its tables or showing them) is ignored.
    void run(const SelectionSnapshot& selection);

    // Ends the program: every event loop, the modal ones included, returns at once.
    void quit();
    // True once quit was asked for, so that a loop that would show a window again stops.
    bool quitting() const { return quitting_; }

  private:
    // Throws OutputIsInput when `path` is the catalogue or a data file of the data set in use.
    void refuseOutputOverDataSet(const std::string& path) const;

    Platform platform_;
    bool quitting_ = false;
    bool running_ = false;  // a run is under way
    // The working directory at start, where every file window first opens.
    QString startDirectory_;
    std::unique_ptr<Messages> ownedMessages_;
    std::unique_ptr<SelectionModel> selectionModel_;
    std::unique_ptr<TableCommands> tableCommands_;
    std::unique_ptr<SelectionWindow> selection_;
    std::unique_ptr<ResultsViewer> viewer_;
    std::unique_ptr<FileChooserWindow> saveResults_;
    std::unique_ptr<FileChooserWindow> saveOptions_;
    std::unique_ptr<FileChooserWindow> loadOptions_;
    std::unique_ptr<InstructionsWindow> instructions_;
    std::unique_ptr<InfoWindow> licence_;
    std::unique_ptr<InfoWindow> contactInformation_;
    std::unique_ptr<InfoWindow> about_;
    std::unique_ptr<InfoWindow> pdfNote_;
    std::unique_ptr<InfoWindow> referenceCd_;
    std::unique_ptr<InfoWindow> referencePublication_;
    std::unique_ptr<CompareWindow> compare_;
    std::unique_ptr<AssessmentWindow> assessment_;
};

}  // namespace fetaldose::gui
