#pragma once
// The texts of the table copy and of the report of all tables, in one place.

#include <QString>

namespace fetaldose::gui::report_texts {

// The viewer's own words for its columns and views; the copy of a table repeats them so that
// it reads as the table on screen.
inline const QString kDoseCaption = QStringLiteral("Dose coefficient (Sv/Bq)");
inline const QString kTissueHeading = QStringLiteral("Tissue/Organ");
inline const QString kInUteroHeading = QStringLiteral("In utero");
inline const QString kOffspringView = QStringLiteral("Offspring (total dose)");
inline const QString kPostnatalView = QStringLiteral("Post natal dose only");

// The report.
inline const QString kReportTitle = QStringLiteral("fetaldose: dose coefficients report");
inline const QString kReportSubtitle = QStringLiteral(
    "Dose coefficients to the embryo, fetus and offspring after intakes of "
    "radionuclides by the mother");
inline const QString kUnitStatement =
    QStringLiteral("All values in this report are dose coefficients in Sv per Bq of intake.");
inline const QString kTableCount = QStringLiteral("Tables in this report: %1");
inline const QString kProvenanceHeading = QStringLiteral("Provenance");
inline const QString kPageNumber = QStringLiteral("Page %1 of %2");
inline const QString kTableNumber = QStringLiteral("Table %1 of %2");
inline const QString kFooterUnit = QStringLiteral("Dose coefficients in Sv per Bq");

// "Export all tables...": the file dialog's caption and file types.
inline const QString kExportCaption = QStringLiteral("Export all tables");
inline const QString kCsvFileType = QStringLiteral("CSV (*.csv)");
inline const QString kXlsxFileType = QStringLiteral("Excel workbook (*.xlsx)");
inline const QString kPdfFileType = QStringLiteral("PDF report (*.pdf)");

// Printing faults beyond the printer's own (app_texts), shown in the error box.
inline constexpr char kPdfNotStarted[] = "The PDF report could not be started";

}  // namespace fetaldose::gui::report_texts
