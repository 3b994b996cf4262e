#pragma once
// The look the windows share: the sans-serif faces they are drawn in, and the one place where
// the 8-bit text of files meets the text the windows show.

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace fetaldose::gui {

// A sans-serif face: the first of `families` that is installed, any sans-serif face otherwise.
QFont sansSerifFace(const QStringList& families);

// Bytes of a file (the catalogue, a data file) as text, in the locale's 8-bit encoding.
QString fromLocalBytes(std::string_view bytes);
// Text as the bytes a file holds, in the locale's 8-bit encoding.
std::string toLocalBytes(const QString& text);

}  // namespace fetaldose::gui
