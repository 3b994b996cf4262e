#include "gui/app/display_text.h"

#include <QByteArrayView>
#include <array>
#include <cstddef>

namespace fetaldose::gui {

namespace {

constexpr char16_t kEllipsis = u'\u2026';
constexpr std::size_t kMaxUtf8BytesPerCharacter = 4;

// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined keep their own value, as
// Windows decodes them. Every other byte is the Latin-1 character of the same value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
    for (const char byte : bytes) {
        const unsigned char value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value <= 0x9F ? kWindows1252High[value - 0x80]
                                                      : char16_t(value));
    }
    if (cut) *out = QChar(kEllipsis);
    return text;
}

}  // namespace

QString displayText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? fromUtf8(bytes) : fromWindows1252(bytes);
}

}  // namespace fetaldose::gui
