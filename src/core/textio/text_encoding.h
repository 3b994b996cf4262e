#pragma once
// Texts from the data files and the catalogue are 8-bit bytes in a Windows code page; files
// meant for other programs carry UTF-8.

#include <string>
#include <string_view>

namespace fetaldose {

// The text in UTF-8: bytes that already form valid UTF-8 stay as they are; anything else is
// read as Windows-1252 (its five unassigned bytes as the control characters of the same
// number), so no byte is ever lost.
std::string toUtf8(std::string_view bytes);

// The character a byte stands for in Windows-1252, the five bytes it leaves unassigned as the
// control characters of the same number, as Windows decodes them.
char16_t windows1252Character(unsigned char byte);

// The text without the blanks that pad it at either end (labels and half-lives are padded to
// their places in the files).
std::string_view trimBlanks(std::string_view text);

}  // namespace fetaldose
