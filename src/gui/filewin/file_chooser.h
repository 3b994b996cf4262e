#pragma once
#include <QDialog>

namespace fetaldose::gui {

class WindowSet;

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(WindowSet& windows, QWidget* parent = nullptr);
};

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(WindowSet& windows, QWidget* parent = nullptr);
};

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(WindowSet& windows, QWidget* parent = nullptr);
};

}  // namespace fetaldose::gui
