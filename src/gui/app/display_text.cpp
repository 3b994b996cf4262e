#include "gui/app/display_text.h"

#include <QByteArrayView>
#include <cstddef>

#include "core/textio/text_encoding.h"

namespace fetaldose::gui {

namespace {

constexpr char16_t kEllipsis = u'\u2026';
constexpr std::size_t kMaxUtf8BytesPerCharacter = 4;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

QString fromUtf8(std::string_view bytes) {
    // Only the start that can make the characters shown is decoded, cut where a character
    // begins.
    std::string_view start = bytes.substr(
        0, static_cast<std::size_t>(kMaxDisplayedCharacters) * kMaxUtf8BytesPerCharacter);
    if (start.size() < bytes.size())
        while (!start.empty() && isUtf8Continuation(bytes[start.size()])) start.remove_suffix(1);
    QString text = QString::fromUtf8(start.data(), static_cast<qsizetype>(start.size()));
    if (start.size() == bytes.size() && text.size() <= kMaxDisplayedCharacters) return text;
    qsizetype keep = kMaxDisplayedCharacters - 1;
    if (keep > text.size()) keep = text.size();
    if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;  // no half of a pair
    text.truncate(keep);
    text += QChar(kEllipsis);
    return text;
}

QString fromWindows1252(std::string_view bytes) {
    const bool cut = bytes.size() > static_cast<std::size_t>(kMaxDisplayedCharacters);
    if (cut) bytes = bytes.substr(0, static_cast<std::size_t>(kMaxDisplayedCharacters - 1));
    QString text(static_cast<qsizetype>(bytes.size()) + (cut ? 1 : 0), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(windows1252Character(static_cast<unsigned char>(byte)));
    if (cut) *out = QChar(kEllipsis);
    return text;
}

}  // namespace

QString displayText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? fromUtf8(bytes) : fromWindows1252(bytes);
}

}  // namespace fetaldose::gui
