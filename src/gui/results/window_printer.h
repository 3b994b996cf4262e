#pragma once
// Printing a window as it looks on the screen, on one page of the default printer.

class QWidget;

namespace fetaldose::gui {

class PrinterProvider;

enum class PrintScale {
    FitToPage,     // fills the page's height or width, whichever it reaches first
    Proportional,  // the size it has on the screen
};

// Prints the window's client area as drawn now: one job, one page, no dialog. Throws
// PrintError ("There is no default printer currently selected", ...) on failure.
void PrintWindow(QWidget& window, PrintScale scale, PrinterProvider& printers);

}  // namespace fetaldose::gui
