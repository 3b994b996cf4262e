#include "gui/app/platform.h"

#include <QLocale>
#include <QPrinterInfo>

namespace fetaldose::gui {

char systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() != 1 || point.at(0).unicode() > 0x7f) return '.';
    return static_cast<char>(point.at(0).unicode());
}

namespace {

class SystemPrinters final : public PrinterProvider {
  public:
    std::unique_ptr<QPrinter> defaultPrinter() override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
};

}  // namespace

PrinterProvider& systemPrinterProvider() {
    static SystemPrinters printers;
    return printers;
}

}  // namespace fetaldose::gui
