#pragma once
// The one way a text read from a file (catalogue names and half-lives, the names and
// half-lives of an options file, the texts of a data file) becomes a text on screen or on
// paper. The file's bytes themselves are kept elsewhere and written back unchanged.

#include <QString>
#include <string_view>

namespace fetaldose::gui {

// The most characters a text from a file shows; a longer one is cut there and ends with an
// ellipsis, so that no line, however long, can exhaust the memory or the text layout.
inline constexpr qsizetype kMaxDisplayedCharacters = 4096;

// The bytes decoded as UTF-8 where they are valid UTF-8, and otherwise as Windows-1252 (the
// code page the data set was written in), cut to kMaxDisplayedCharacters.
QString displayText(std::string_view bytes);

// A blank grid cell holds a single space, never an empty text.
inline const QString kBlankCell = QStringLiteral(" ");

}  // namespace fetaldose::gui
