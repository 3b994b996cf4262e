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
class TDualListDlg;
class TFrmDemo2;
class TForm1;
class TForm3;
class TForm4;
class TInstructions;
class TLicence;
class TContInfo;
class TAbout;
class Tpdf;
class TrefCD;
class Tref47;

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
    void Start();
    // Creates the windows without showing any (tests).
    void Create();

    TDualListDlg& selection() { return *selection_; }
    TFrmDemo2& viewer() { return *viewer_; }
    TForm1& saveResults() { return *saveResults_; }
    TForm3& saveOptions() { return *saveOptions_; }
    TForm4& loadOptions() { return *loadOptions_; }
    TInstructions& instructions() { return *instructions_; }
    TLicence& licence() { return *licence_; }
    TContInfo& contactInformation() { return *contactInformation_; }
    TAbout& about() { return *about_; }
    Tpdf& pdfNote() { return *pdfNote_; }
    TrefCD& referenceCd() { return *referenceCd_; }
    Tref47& referencePublication() { return *referencePublication_; }

    Messages& messages() { return *platform_.messages; }
    PrinterProvider& printers() { return *platform_.printers; }
    FileAttributes& fileAttributes() { return *platform_.fileAttributes; }
    VolumeProvider& volumes() { return *platform_.volumes; }
    char decimalSeparator() const { return platform_.decimalSeparator(); }

    // Ends the program: every event loop, the modal ones included, returns at once.
    void Quit();
    // True once Quit was asked for, so that a loop that would show a window again stops.
    bool Quitting() const { return quitting_; }

  private:
    Platform platform_;
    bool quitting_ = false;
    std::unique_ptr<Messages> ownedMessages_;
    std::unique_ptr<TDualListDlg> selection_;
    std::unique_ptr<TFrmDemo2> viewer_;
    std::unique_ptr<TForm1> saveResults_;
    std::unique_ptr<TForm3> saveOptions_;
    std::unique_ptr<TForm4> loadOptions_;
    std::unique_ptr<TInstructions> instructions_;
    std::unique_ptr<TLicence> licence_;
    std::unique_ptr<TContInfo> contactInformation_;
    std::unique_ptr<TAbout> about_;
    std::unique_ptr<Tpdf> pdfNote_;
    std::unique_ptr<TrefCD> referenceCd_;
    std::unique_ptr<Tref47> referencePublication_;
};

}  // namespace fetaldose::gui
