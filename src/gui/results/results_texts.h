#pragma once
// The results viewer's texts that its code writes. Captions, headings and hints are in
// results_viewer.ui.

#include <QString>

namespace fetaldose::gui::results_texts {

// A blank grid cell holds a single space, never an empty text.
inline const QString kBlankCell = QStringLiteral(" ");

}  // namespace fetaldose::gui::results_texts
