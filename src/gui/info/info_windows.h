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
    void Open();
    // The outer rectangle (frame included) the window takes the first time it is shown.
    QRect DesignedFrame() const { return designedFrame_; }

  protected:
    InfoWindow(const QRect& designedFrame, TitleButtons buttons, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // Gives the window its designed outer rectangle with the frame known now; true once the
    // frame is known (a window manager reports it only after the window is mapped).
    bool PlaceInDesignedFrame();

    QRect designedFrame_;
    bool placed_ = false;
    bool frameKnown_ = false;
};

class TInstructions : public InfoWindow {
    Q_OBJECT
  public:
    explicit TInstructions(WindowSet& windows, QWidget* parent = nullptr);

  public slots:
    // "Print": prints this window as it looks now, at its size on the screen.
    void Button1Click();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    WindowSet& windows_;
    QPlainTextEdit* text_;
    QPushButton* print_;
};

class TLicence : public InfoWindow {
    Q_OBJECT
  public:
    explicit TLicence(WindowSet& windows, QWidget* parent = nullptr);
};

class TContInfo : public InfoWindow {
    Q_OBJECT
  public:
    explicit TContInfo(WindowSet& windows, QWidget* parent = nullptr);
};

class TAbout : public InfoWindow {
    Q_OBJECT
  public:
    explicit TAbout(WindowSet& windows, QWidget* parent = nullptr);
};

class Tpdf : public InfoWindow {
    Q_OBJECT
  public:
    explicit Tpdf(WindowSet& windows, QWidget* parent = nullptr);
};

class TrefCD : public InfoWindow {
    Q_OBJECT
  public:
    explicit TrefCD(WindowSet& windows, QWidget* parent = nullptr);
};

class Tref47 : public InfoWindow {
    Q_OBJECT
  public:
    explicit Tref47(WindowSet& windows, QWidget* parent = nullptr);
};

}  // namespace fetaldose::gui
