#include "gui/app/window_printer.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>
#include <cstdint>
#include <cstdlib>

#include "gui/app/app_texts.h"
#include "gui/app/platform.h"

namespace fetaldose::gui {

namespace {

// number * numerator / denominator in one step, rounded to the nearest integer with halves
// away from zero; 0 when the denominator is 0.
int mulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return 0;
    const std::int64_t product = std::int64_t{number} * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(std::int64_t{denominator});
    const std::int64_t quotient = (2 * magnitude + divisor) / (2 * divisor);
    return static_cast<int>(negative ? -quotient : quotient);
}

}  // namespace

QSize printedSize(const PrintGeometry& geometry, PrintScale scale) {
    const int width = geometry.image.width();
    const int height = geometry.image.height();
    if (scale == PrintScale::Proportional) {
        return {mulDiv(width, geometry.printerDpiX, geometry.windowDpi),
                mulDiv(height, geometry.printerDpiY, geometry.windowDpi)};
    }
    const int pageWidth = geometry.page.width();
    const int pageHeight = geometry.page.height();
    const int byHeight = mulDiv(width, pageHeight, height);
    if (byHeight < pageWidth) return {byHeight, pageHeight};
    return {pageWidth, mulDiv(height, pageWidth, width)};
}

void printWindow(QWidget& window, PrintScale scale, PrinterProvider& printers) {
    std::unique_ptr<QPrinter> printer = printers.defaultPrinter();
    if (!printer) throw PrintError(app_texts::kNoDefaultPrinter);
    printer->setDocName(QString());
    printer->setFullPage(false);

    // The client area exactly as it is drawn now; taking it changes nothing on screen.
    const QPixmap image = window.grab();

    PrintGeometry geometry;
    geometry.image = window.size();
    geometry.page = QSize(printer->width(), printer->height());
    geometry.printerDpiX = printer->logicalDpiX();
    geometry.printerDpiY = printer->logicalDpiY();
    geometry.windowDpi = window.logicalDpiX();
    const QSize printed = printedSize(geometry, scale);

    QPainter painter;
    if (!painter.begin(printer.get())) throw PrintError(app_texts::kPrinterNotReady);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // With the full page off, the painter's origin is the printable area's top-left corner.
    painter.drawPixmap(QRect(QPoint(0, 0), printed), image);
    const bool finished = painter.end();
    if (!finished || printer->printerState() == QPrinter::Error)
        throw PrintError(app_texts::kPrinterFailed);
}

}  // namespace fetaldose::gui
