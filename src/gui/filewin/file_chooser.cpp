#include "gui/filewin/file_chooser.h"

namespace fetaldose::gui {

TForm1::TForm1(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save results to file"));
}
TForm3::TForm3(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save options to a file"));
}
TForm4::TForm4(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Load options from a file"));
}

void TForm1::Open() { exec(); }

void TForm3::Open() { exec(); }

void TForm4::Open() { exec(); }

}  // namespace fetaldose::gui
