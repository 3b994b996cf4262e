#pragma once
// The twelve windows of the program, created once in a fixed order (the selection window
// first, and main), reached through this one object. Nothing here is global: windows get a
// reference to the set and reach each other through it.

#include <functional>
#include <memory>
#include <string>

namespace fetaldose {
class FileAttributes;
}

namespace fetaldose::gui {

class Messages;
class PrinterProvider;
class VolumeProvider;
class SelectionWindow;
class ResultsViewer;
class SaveResultsWindow;
class SaveOptionsWindow;
class LoadOptionsWindow;
class InstructionsWindow;
class LicenceWindow;
class ContactInformationWindow;
class AboutWindow;
class PdfNoteWindow;
class ReferenceCdWindow;
class ReferencePublicationWindow;

// The outside world as the windows see it; tests replace any part of it.
struct Platform {
    Messages* messages = nullptr;              // default: real message boxes
    PrinterProvider* printers = nullptr;       // default: the system's default printer
    FileAttributes* fileAttributes = nullptr;  // default: the real file system
    VolumeProvider* volumes = nullptr;         // default: the mounted volumes
    std::function<char()> decimalSeparator;    // default: the user's locale
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
    SaveResultsWindow& saveResults() { return *saveResults_; }
    SaveOptionsWindow& saveOptions() { return *saveOptions_; }
    LoadOptionsWindow& loadOptions() { return *loadOptions_; }
    InstructionsWindow& instructions() { return *instructions_; }
    LicenceWindow& licence() { return *licence_; }
    ContactInformationWindow& contactInformation() { return *contactInformation_; }
    AboutWindow& about() { return *about_; }
    PdfNoteWindow& pdfNote() { return *pdfNote_; }
    ReferenceCdWindow& referenceCd() { return *referenceCd_; }
    ReferencePublicationWindow& referencePublication() { return *referencePublication_; }

    Messages& messages() { return *platform_.messages; }
    PrinterProvider& printers() { return *platform_.printers; }
    FileAttributes& fileAttributes() { return *platform_.fileAttributes; }
    VolumeProvider& volumes() { return *platform_.volumes; }
    char decimalSeparator() const { return platform_.decimalSeparator(); }

    // Ends the program: every event loop, the modal ones included, returns at once.
    void quit();
    // True once Quit was asked for, so that a loop that would show a window again stops.
    bool quitting() const { return quitting_; }

  private:
    Platform platform_;
    bool quitting_ = false;
    std::unique_ptr<Messages> ownedMessages_;
    std::unique_ptr<SelectionWindow> selection_;
    std::unique_ptr<ResultsViewer> viewer_;
    std::unique_ptr<SaveResultsWindow> saveResults_;
    std::unique_ptr<SaveOptionsWindow> saveOptions_;
    std::unique_ptr<LoadOptionsWindow> loadOptions_;
    std::unique_ptr<InstructionsWindow> instructions_;
    std::unique_ptr<LicenceWindow> licence_;
    std::unique_ptr<ContactInformationWindow> contactInformation_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<PdfNoteWindow> pdfNote_;
    std::unique_ptr<ReferenceCdWindow> referenceCd_;
    std::unique_ptr<ReferencePublicationWindow> referencePublication_;
};

}  // namespace fetaldose::gui
