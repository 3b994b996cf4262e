#pragma once
// The texts the comparison window shows: its captions, labels, hints, columns and messages.
// The summary and the names of the cells come from the core's comparison.

#include <QString>
#include <array>

namespace fetaldose::gui::compare_window_texts {

inline const QString kWindowTitle = QStringLiteral("Compare two data sets");
inline const QString kReferenceLabel = QStringLiteral("Reference data set:");
inline const QString kCandidateLabel = QStringLiteral("&Candidate data set:");
inline const QString kCandidateHint =
    QStringLiteral("The data folder holding nuclides.txt (or the folder holding it in data/)");
inline const QString kChooseButton = QStringLiteral("C&hoose…");
inline const QString kChooseHint = QStringLiteral("Choose the candidate folder in a folder dialog");
inline const QString kFolderDialogCaption = QStringLiteral("Choose the candidate data folder");
inline const QString kScopeLabel = QStringLiteral("Co&mpare:");
inline const QString kScopeSelection = QStringLiteral("The current selection");
inline const QString kScopeEverything = QStringLiteral("Everything the two data sets hold");
inline const QString kThresholdLabel = QStringLiteral("&Threshold:");
inline const QString kThresholdHint = QStringLiteral(
    "A cell counts as changed when |candidate/reference - 1| is above this (0: any change)");
inline const QString kCompareButton = QStringLiteral("Com&pare");
inline const QString kExportButton = QStringLiteral("&Export…");
inline const QString kExportHint = QStringLiteral("Save the comparison as CSV, XLSX or PDF");
inline const QString kCloseButton = QStringLiteral("Close");
inline const QString kSummaryName = QStringLiteral("Summary");
inline const QString kDifferencesName = QStringLiteral("Differences");
inline const QString kDifferencesHint =
    QStringLiteral("Double-click a row to see both tables side by side");

inline const QString kNuclideFilterLabel = QStringLiteral("&Nuclide:");
inline const QString kTissueFilterLabel = QStringLiteral("T&issue:");
inline const QString kDirectionFilterLabel = QStringLiteral("&Direction:");
inline const QString kChangeFilterLabel = QStringLiteral("&At least:");
inline const QString kChangeFilterHint = QStringLiteral(
    "Show only the cells whose relative change |candidate/reference - 1| is at least this "
    "(new and gone cells are always shown)");
inline const QString kAllItems = QStringLiteral("All");
// The direction filter's items, in order: all, then these.
inline const std::array<QString, 4> kDirections = {QStringLiteral("Increase"),
                                                   QStringLiteral("Decrease"),
                                                   QStringLiteral("New"), QStringLiteral("Gone")};

inline const std::array<QString, 11> kColumns = {
    QStringLiteral("Nuclide"),  QStringLiteral("Exposure group"), QStringLiteral("Intake route"),
    QStringLiteral("Scenario"), QStringLiteral("Tissue"),         QStringLiteral("Dose"),
    QStringLiteral("Period"),   QStringLiteral("Reference"),      QStringLiteral("Candidate"),
    QStringLiteral("Ratio"),    QStringLiteral("Status")};

// "%1 of %2 differences shown"; the cap note follows where the list is capped.
inline const QString kShownCount = QStringLiteral("%1 of %2 listed differences shown");
inline const QString kCappedNote =
    QStringLiteral(" (the list holds the first %1 of the %2 cells beyond the threshold)");
inline const QString kNoComparison = QStringLiteral("No comparison yet: choose a candidate folder");
inline const QString kProgressText = QStringLiteral("Comparing the data sets…");
inline const QString kReportProgressText = QStringLiteral("Writing the PDF report…");
inline const QString kCancelButton = QStringLiteral("Cancel");
inline const QString kNoCandidateMessage = QStringLiteral("Choose a candidate data folder first");
inline const QString kDataFolderName = QStringLiteral("data");

// The export's save dialog.
inline const QString kExportCaption = QStringLiteral("Export the comparison");
inline const QString kCsvFileType = QStringLiteral("CSV (*.csv)");
inline const QString kXlsxFileType = QStringLiteral("Excel workbook (*.xlsx)");
inline const QString kPdfFileType = QStringLiteral("PDF report (*.pdf)");

// The tables side by side.
inline const QString kSideBySideTitle = QStringLiteral("Both tables side by side");
inline const QString kReferenceTable = QStringLiteral("Reference");
inline const QString kCandidateTable = QStringLiteral("Candidate");
inline const QString kTissueColumn = QStringLiteral("Tissue");
inline const QString kInUteroColumn = QStringLiteral("In utero");
inline const QString kPostNatalColumn = QStringLiteral("Post-natal %1");
inline const QString kOffspringColumn = QStringLiteral("Offspring %1");

// The PDF report.
inline const QString kReportTitle = QStringLiteral("Comparison of two data sets");
inline const QString kReportProvenance = QStringLiteral("Provenance");
inline const QString kReportDifferences = QStringLiteral("Differences beyond the threshold");
inline const QString kReportPage = QStringLiteral("Page %1");
inline const QString kReportUnit = QStringLiteral("Doses in Sv per Bq");
inline constexpr const char* kPdfNotStarted = "The PDF file could not be started";

}  // namespace fetaldose::gui::compare_window_texts
