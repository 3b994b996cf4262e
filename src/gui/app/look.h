#pragma once
// The look the windows share: the sans-serif faces they are drawn in. Text read from files is
// shown through displayText() (display_text.h).

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace fetaldose::gui {

// A sans-serif face: the first of `families` that is installed, any sans-serif face otherwise.
QFont sansSerifFace(const QStringList& families);

// Text as the bytes a file holds, in the locale's 8-bit encoding.
std::string toLocalBytes(const QString& text);

}  // namespace fetaldose::gui
