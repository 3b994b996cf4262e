#include "core/run/output_format.h"

#include <algorithm>

namespace fetaldose {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

const OutputFormatInfo& outputFormatInfo(OutputFormat format) {
    for (const OutputFormatInfo& info : kOutputFormats)
        if (info.format == format) return info;
    return kOutputFormats.front();
}

std::optional<OutputFormat> outputFormatNamed(std::string_view name) {
    for (const OutputFormatInfo& info : kOutputFormats)
        if (equalNoCase(name, info.name)) return info.format;
    return std::nullopt;
}

std::optional<OutputFormat> outputFormatOfFileName(std::string_view fileName) {
    for (const OutputFormatInfo& info : kOutputFormats)
        if (fileName.size() >= info.extension.size() &&
            equalNoCase(fileName.substr(fileName.size() - info.extension.size()), info.extension))
            return info.format;
    return std::nullopt;
}

}  // namespace fetaldose
