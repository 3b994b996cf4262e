#include "gui/results/results_viewer.h"

namespace fetaldose::gui {

TFrmDemo2::TFrmDemo2(WindowSet& windows, QWidget* parent) : QDialog(parent), windows_(windows) {
    setWindowTitle(QStringLiteral("Dose coefficient (Sv/Bq)"));
}

std::vector<std::string> TFrmDemo2::RowLabelTexts() const { return {}; }
std::vector<std::string> TFrmDemo2::PeriodHeadingTexts() const { return {}; }

}  // namespace fetaldose::gui
