#include "core/textio/text_encoding.h"

#include <array>
#include <cstdint>

namespace fetaldose {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<std::uint16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of a valid UTF-8 sequence at the start of `text`, 0 where there is none (overlong
// forms, surrogates and code points above U+10FFFF are not valid).
std::size_t validSequenceLength(std::string_view text) {
    const auto c0 = static_cast<unsigned char>(text[0]);
    if (c0 < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c0 >= 0xC2 && c0 <= 0xDF) {
        length = 2;
    } else if (c0 >= 0xE0 && c0 <= 0xEF) {
        length = 3;
        if (c0 == 0xE0) low = 0xA0;
        if (c0 == 0xED) high = 0x9F;
    } else if (c0 >= 0xF0 && c0 <= 0xF4) {
        length = 4;
        if (c0 == 0xF0) low = 0x90;
        if (c0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    const auto c1 = static_cast<unsigned char>(text[1]);
    if (c1 < low || c1 > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(text[i]))) return 0;
    return length;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = validSequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

void appendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

char16_t windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? static_cast<char16_t>(kWindows1252High[byte - 0x80])
                                       : char16_t{byte};
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string toUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else
            appendCodePoint(out, windows1252Character(c));
    }
    return out;
}

}  // namespace fetaldose
