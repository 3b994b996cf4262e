#pragma once
// The program's composition: the twelve windows, created once in a fixed order (the selection
// window first, and main) and wired to each other here. A window knows no other window: it is
// given what it needs as callbacks and narrow interfaces. Nothing here is global.

#include <functional>
#include <memory>
#include <string>

#include "app/table_commands.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {
class FileAttributes;
}

namespace fetaldose::gui {

class Messages;
class PrinterProvider;
class VolumeProvider;
class SelectionWindow;
class ResultsViewer;
class FileChooserWindow;
class InfoWindow;
class InstructionsWindow;

// The outside world as the windows see it; tests replace any part of it.
struct Platform {
    Messages* messages = nullptr;              // default: real message boxes
    PrinterProvider* printers = nullptr;       // default: the system's default printer
    FileAttributes* fileAttributes = nullptr;  // default: the real file system
    VolumeProvider* volumes = nullptr;         // default: the mounted volumes
    std::function<char()> decimalSeparator;    // default: the user's locale
    ExportTargetChooser askExportTarget;       // default: the desktop's file dialog
};

class WindowSet {
  public:
    explicit WindowSet(Platform platform = {});
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Creates the twelve windows in order, then shows the main window. Messages raised while
    // a window is created appear before any window does; a fault there is reported in the
    // error box and start-up goes on.
    void start();
    // Creates the windows without showing any (tests).
    void create();

    SelectionWindow& selection() { return *selection_; }
    ResultsViewer& viewer() { return *viewer_; }
    FileChooserWindow& saveResults() { return *saveResults_; }
    FileChooserWindow& saveOptions() { return *saveOptions_; }
    FileChooserWindow& loadOptions() { return *loadOptions_; }
    InstructionsWindow& instructions() { return *instructions_; }
    InfoWindow& licence() { return *licence_; }
    InfoWindow& contactInformation() { return *contactInformation_; }
    InfoWindow& about() { return *about_; }
    InfoWindow& pdfNote() { return *pdfNote_; }
    InfoWindow& referenceCd() { return *referenceCd_; }
    InfoWindow& referencePublication() { return *referencePublication_; }

    Messages& messages() { return *platform_.messages; }
    // The viewer's context menu commands and the chart window they open.
    TableCommands& tableCommands() { return *tableCommands_; }

    // "Run" on `selection`: the run fills the viewer and shows its tables.
    void run(const SelectionSnapshot& selection);

    // Ends the program: every event loop, the modal ones included, returns at once.
    void quit();
    // True once quit was asked for, so that a loop that would show a window again stops.
    bool quitting() const { return quitting_; }

  private:
    Platform platform_;
    bool quitting_ = false;
    std::unique_ptr<Messages> ownedMessages_;
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
};

}  // namespace fetaldose::gui
