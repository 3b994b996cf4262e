#pragma once
// Prints to a PDF file on a portrait A4 page, or has no default printer when no file is named.

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <memory>

#include "gui/app/platform.h"

namespace fetaldose::gui::testing {

class PdfPrinters final : public PrinterProvider {
  public:
    std::unique_ptr<QPrinter> defaultPrinter() override {
        if (outputFile.isEmpty()) return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(outputFile);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(QPageLayout::Portrait);
        return printer;
    }
    QString outputFile;
};

}  // namespace fetaldose::gui::testing
