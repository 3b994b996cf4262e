#pragma once
// Printing a window as it looks on the screen, on one page of the default printer.

#include <QSize>

#include "core/textio/faults.h"

class QWidget;

namespace fetaldose::gui {

class PrinterProvider;

enum class PrintScale {
    FitToPage,     // fills the page's height or width, whichever it reaches first
    Proportional,  // the size it has on the screen
};

// A printing fault, shown in the error box like every other fault.
class PrintError : public Fault {
  public:
    using Fault::Fault;
};

// What the printed picture's size is worked out from.
struct PrintGeometry {
    QSize image;  // the window's client area, in screen pixels
    QSize page;   // the printer's printable area, in printer pixels
    int printerDpiX = 0;
    int printerDpiY = 0;
    int windowDpi = 0;  // logical pixels per inch of the screen the window is laid out for
};

// The printed size in printer pixels. Every multiply-and-divide is one operation rounded to
// the nearest pixel, halves away from zero.
QSize printedSize(const PrintGeometry& geometry, PrintScale scale);

// Prints the window's client area as drawn now: one job, one page, no dialog. Throws
// PrintError ("There is no default printer currently selected", ...) on failure.
void printWindow(QWidget& window, PrintScale scale, PrinterProvider& printers);

}  // namespace fetaldose::gui
