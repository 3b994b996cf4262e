#pragma once
// The seven information windows of the Help menu: small read-only text windows, created the
// first time they are opened and shown modally by their menu items. Six of them are only a
// text, one row each of the table below; "Instructions" adds a "Print" button. Each opens at its
// designed screen place the first time and keeps the place and size it had when it was last closed.

#include <QDialog>
#include <QRect>
#include <span>
#include <string_view>

class QPlainTextEdit;
class QPushButton;
class QResizeEvent;

namespace fetaldose::gui {

class Messages;
class PrinterProvider;

// How the text box of an information window looks.
enum class InfoLook {
    White,           // white, with a vertical scroll bar
    GreyBorderless,  // on the window's grey, no frame
    Grey,            // on the window's grey, framed
    AboutPanel,      // grey borderless text above a raised panel with the centred rights line
};

// The controls of an information window's form that the window works with.
struct InfoControls {
    QPlainTextEdit* text = nullptr;      // the page's text
    QPlainTextEdit* rights = nullptr;    // "About" only: the rights line below the text
    QPushButton* printButton = nullptr;  // "Instructions" only
};

// One information window: everything in which it differs from the others.
struct InfoPage {
    std::string_view caption;
    QRect designedFrame;  // the outer rectangle (frame included) it takes when first shown
    bool minimiseMaximise = false;               // title-bar buttons besides the close box
    InfoControls (*setUpForm)(QDialog* window);  // builds the controls of the window's .ui form
    const char* textName;                        // object name of the text box
    std::span<const std::string_view> lines;
    InfoLook look = InfoLook::White;
};

// The small read-only text windows of the Help menu; the designed outer rectangle on the
// screen, the title-bar buttons, the 10-pixel sans-serif face and modal showing are shared.
class InfoWindow : public QDialog {
    Q_OBJECT
  public:
    explicit InfoWindow(const InfoPage& page, QWidget* parent = nullptr);

    // Shows the window modally; returns when it is closed.
    void openModally();
    // The outer rectangle (frame included) the window takes the first time it is shown.
    QRect designedFrame() const { return designedFrame_; }

  protected:
    const InfoControls& controls() const { return controls_; }

  private:
    QRect designedFrame_;
    InfoControls controls_;
};

// "Instructions": the text above a "Print" button.
class InstructionsWindow : public InfoWindow {
    Q_OBJECT
  public:
    InstructionsWindow(Messages& messages, PrinterProvider& printers, QWidget* parent = nullptr);

  public slots:
    // "Print": prints this window as it looks now, at its size on the screen.
    void print();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    Messages& messages_;
    PrinterProvider& printers_;
    QPlainTextEdit* textBox_;
    QPushButton* printButton_;
};

// The pages of the Help menu's windows, in the order the menu lists them.
extern const InfoPage kInstructionsPage;
extern const InfoPage kLicencePage;
extern const InfoPage kContactInformationPage;
extern const InfoPage kAboutPage;
extern const InfoPage kPdfNotePage;
extern const InfoPage kReferenceCdPage;
extern const InfoPage kReferencePublicationPage;

}  // namespace fetaldose::gui
