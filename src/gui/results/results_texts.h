#pragma once
// The results viewer's texts that its code writes. Captions, headings and hints are in
// results_viewer.ui.

#include <QString>
#include <array>

namespace fetaldose::gui::results_texts {

// The grids' context menu.
inline const QString kCopyTableCommand = QStringLiteral("Copy table");
inline const QString kExportTablesCommand = QStringLiteral("Export all tables...");
inline const QString kPrintTablesCommand = QStringLiteral("Print all tables...");
inline const QString kChartCommand = QStringLiteral("Chart...");
inline const QString kAssessTableCommand =
    QString::fromUtf8("Assess an intake with this table\xE2\x80\xA6");
inline const QString kGoToTableCommand = QStringLiteral("Go to table…");

// "Go to table…": a table number, or the first table of a nuclide, group, route entry and
// scenario (the lists below "First table of", in order).
inline const QString kGoToTableTitle = QStringLiteral("Go to table");
inline const QString kGoToByNumber = QStringLiteral("Table &number:");
inline const QString kGoToNumberRange = QStringLiteral("(1 to %1)");
inline const QString kGoToByKey = QStringLiteral("&First table of:");
inline const std::array<QString, 4> kGoToPartLabels = {
    QStringLiteral("N&uclide:"), QStringLiteral("Exposure &group:"),
    QStringLiteral("&Route entry:"), QStringLiteral("&Scenario:")};
inline const QString kGoToAnyItem = QStringLiteral("Any");
inline const QString kGoToButton = QStringLiteral("&Go to");
inline const QString kTypeTableNumberMessage = QStringLiteral("Type a table number from 1 to %1");
inline const QString kNotATableNumberMessage =
    QStringLiteral("\"%1\" is not a table number: type a whole number from 1 to %2");
inline const QString kNoSuchTableMessage =
    QStringLiteral("There is no table %1: the tables of this run are numbered 1 to %2");
inline const QString kNoTablesMessage = QStringLiteral("This run has no tables to go to");

// The progress of a run that takes a while.
inline const QString kRunProgressText = QStringLiteral("Making the tables: nuclide %1 of %2");
inline const QString kRunCancelButton = QStringLiteral("Cancel");

}  // namespace fetaldose::gui::results_texts
