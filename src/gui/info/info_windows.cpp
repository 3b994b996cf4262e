#include "gui/info/info_windows.h"

namespace fetaldose::gui {

TInstructions::TInstructions(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Instructions"));
}

TLicence::TLicence(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Licence"));
}

TContInfo::TContInfo(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Contact Information"));
}

TAbout::TAbout(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
}

Tpdf::Tpdf(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(".pdf file"));
}

TrefCD::TrefCD(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("How to reference this CD"));
}

Tref47::Tref47(WindowSet&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("How to reference VORQ 47"));
}

void TInstructions::Open() { exec(); }

void TLicence::Open() { exec(); }

void TContInfo::Open() { exec(); }

void TAbout::Open() { exec(); }

void Tpdf::Open() { exec(); }

void TrefCD::Open() { exec(); }

void Tref47::Open() { exec(); }

}  // namespace fetaldose::gui
