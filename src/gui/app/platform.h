#pragma once
// Small platform functions that tests substitute: the decimal separator and the printer.

#include <QPrinter>
#include <functional>
#include <memory>

namespace fetaldose::gui {

// The decimal separator of the user's locale, '.' where it gives none (or one that is not a
// single byte).
char systemDecimalSeparator();

// Where printing goes: the system's default printer in the program, a PDF file in tests.
class PrinterProvider {
  public:
    virtual ~PrinterProvider() = default;
    // The printer to print on, or nullptr when there is no default printer.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
};

PrinterProvider& systemPrinterProvider();

}  // namespace fetaldose::gui
