#pragma once
// One field of an RFC 4180 CSV record.

#include <string>
#include <string_view>

namespace fetaldose::exporting {

// Appends a field, quoted (with its quotes doubled) when it holds a comma, a quote or a line
// break.
inline void appendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace fetaldose::exporting
