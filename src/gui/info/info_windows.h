#pragma once
#include <QDialog>

namespace fetaldose::gui {

class WindowSet;

class TInstructions : public QDialog {
    Q_OBJECT
public:
    explicit TInstructions(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TLicence : public QDialog {
    Q_OBJECT
public:
    explicit TLicence(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TContInfo : public QDialog {
    Q_OBJECT
public:
    explicit TContInfo(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class Tpdf : public QDialog {
    Q_OBJECT
public:
    explicit Tpdf(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class TrefCD : public QDialog {
    Q_OBJECT
public:
    explicit TrefCD(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

class Tref47 : public QDialog {
    Q_OBJECT
public:
    explicit Tref47(WindowSet& windows, QWidget* parent = nullptr);
    // Shows the window modally; returns when it is closed.
    void Open();
};

}  // namespace fetaldose::gui
