#pragma once
// The results viewer's own texts, in one place.

#include <QString>

namespace fetaldose::gui::results_texts {

inline const QString kViewerCaption = QStringLiteral("Dose coefficient (Sv/Bq)");

// Column headings above the grids.
inline const QString kTissueHeading = QStringLiteral("Tissue/Organ");
inline const QString kInUteroHeading = QStringLiteral("In utero");
inline const QString kOffspringView = QStringLiteral("Offspring (total dose)");
inline const QString kPostnatalView = QStringLiteral("Post natal dose only");
inline const QString kOffspringHint = QStringLiteral("Doses shown include in utero contribution");
inline const QString kPostnatalHint = QStringLiteral("Doses shown exclude in utero dose");

// The hidden summary label's hint.
inline const QString kSummaryHint = QStringLiteral(
    "If more than one tissue receives the highest dose, the tissue with the highest weighting "
    "factor is listed");

// Paging and commands.
inline const QString kPrevious = QStringLiteral("Previous");
inline const QString kNext = QStringLiteral("Next");
inline const QString kTable = QStringLiteral("Table");
inline const QString kOf = QStringLiteral("of");
inline const QString kPrint = QStringLiteral("Print");
inline const QString kPrintHint = QStringLiteral("Prints the results as they look on the screen.");
inline const QString kReturnToInput = QStringLiteral("Return to input");
inline const QString kSaveToFile = QStringLiteral("Save to file");

// A blank grid cell holds a single space, never an empty text.
inline const QString kBlankCell = QStringLiteral(" ");

}  // namespace fetaldose::gui::results_texts
