#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

TDualListDlg::TDualListDlg(WindowSet& windows, QWidget* parent)
    : QMainWindow(parent), windows_(windows) {
    setWindowTitle(QStringLiteral("VORQ Embryo/Fetus CD-ROM"));
}

SelectionSnapshot TDualListDlg::Snapshot() const { return {}; }
void TDualListDlg::ClearChosen() {}
void TDualListDlg::AppendChosen(const std::string&, const std::string&) {}
void TDualListDlg::SetBox(SelectionBox, bool) {}
void TDualListDlg::SetItem(SelectionList, int, bool) {}
bool TDualListDlg::DataFileExists(std::string_view) { return false; }

}  // namespace fetaldose::gui
