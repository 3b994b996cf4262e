#include "gui/results/window_printer.h"

namespace fetaldose::gui {

void PrintWindow(QWidget&, PrintScale, PrinterProvider&) {}

}  // namespace fetaldose::gui
