#pragma once
// The results viewer's texts that its code writes. Captions, headings and hints are in
// results_viewer.ui.

#include <QString>

namespace fetaldose::gui::results_texts {

// The grids' context menu.
inline const QString kCopyTableCommand = QStringLiteral("Copy table");
inline const QString kExportTablesCommand = QStringLiteral("Export all tables...");
inline const QString kPrintTablesCommand = QStringLiteral("Print all tables...");
inline const QString kChartCommand = QStringLiteral("Chart...");
inline const QString kAssessTableCommand =
    QString::fromUtf8("Assess an intake with this table\xE2\x80\xA6");

}  // namespace fetaldose::gui::results_texts
