#pragma once
// The seven information windows of the Help menu: small read-only text windows, created once
// at start-up, hidden, and shown modally by their menu items. Each opens at its designed
// screen place the first time and keeps the place and size it had when it was last closed.

#include <QDialog>
#include <QRect>

class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QResizeEvent;

namespace fetaldose::gui {

class WindowSet;

// What the information windows share: the designed outer rectangle on the screen, the
// title-bar buttons, the 10-pixel sans-serif face and modal showing.
class InfoWindow : public QDialog {
    Q_OBJECT
  public:
    enum class TitleButtons { CloseOnly, CloseMinimiseMaximise };

    // Shows the window modally; returns when it is closed.
    void openModally();
    // The outer rectangle (frame included) the window takes the first time it is shown.
    QRect designedFrame() const { return designedFrame_; }

  protected:
    InfoWindow(const QRect& designedFrame, TitleButtons buttons, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // Gives the window its designed outer rectangle with the frame known now; true once the
    // frame is known (a window manager reports it only after the window is mapped).
    bool placeInDesignedFrame();

    QRect designedFrame_;
    bool placed_ = false;
    bool frameKnown_ = false;
};

class InstructionsWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit InstructionsWindow(WindowSet& windows, QWidget* parent = nullptr);

  public slots:
    // "Print": prints this window as it looks now, at its size on the screen.
    void print();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    WindowSet& windows_;
    QPlainTextEdit* text_;
    QPushButton* print_;
};

class LicenceWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit LicenceWindow(WindowSet& windows, QWidget* parent = nullptr);
};

class ContactInformationWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit ContactInformationWindow(WindowSet& windows, QWidget* parent = nullptr);
};

class AboutWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit AboutWindow(WindowSet& windows, QWidget* parent = nullptr);
};

class PdfNoteWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit PdfNoteWindow(WindowSet& windows, QWidget* parent = nullptr);
};

class ReferenceCdWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit ReferenceCdWindow(WindowSet& windows, QWidget* parent = nullptr);
};

class ReferencePublicationWindow : public InfoWindow {
    Q_OBJECT
  public:
    explicit ReferencePublicationWindow(WindowSet& windows, QWidget* parent = nullptr);
};

}  // namespace fetaldose::gui
