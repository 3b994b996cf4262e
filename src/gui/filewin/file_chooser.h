#pragma once
#include <QDialog>

namespace fetaldose::gui {

class WindowSet;

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

}  // namespace fetaldose::gui
