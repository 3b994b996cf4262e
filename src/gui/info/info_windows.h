#pragma once
#include <QDialog>

namespace fetaldose::gui {

class WindowSet;

class TInstructions : public QDialog {
    Q_OBJECT
public:
    explicit TInstructions(WindowSet& windows, QWidget* parent = nullptr);
};

class TLicence : public QDialog {
    Q_OBJECT
public:
    explicit TLicence(WindowSet& windows, QWidget* parent = nullptr);
};

class TContInfo : public QDialog {
    Q_OBJECT
public:
    explicit TContInfo(WindowSet& windows, QWidget* parent = nullptr);
};

class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(WindowSet& windows, QWidget* parent = nullptr);
};

class Tpdf : public QDialog {
    Q_OBJECT
public:
    explicit Tpdf(WindowSet& windows, QWidget* parent = nullptr);
};

class TrefCD : public QDialog {
    Q_OBJECT
public:
    explicit TrefCD(WindowSet& windows, QWidget* parent = nullptr);
};

class Tref47 : public QDialog {
    Q_OBJECT
public:
    explicit Tref47(WindowSet& windows, QWidget* parent = nullptr);
};

}  // namespace fetaldose::gui
