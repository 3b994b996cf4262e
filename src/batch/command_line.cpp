#include "batch/command_line.h"

#include "batch/batch_texts.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace fetaldose::batch {

namespace {

// Whether the tool writes the format itself: the report needs the program's drawing library.
std::optional<OutputFormat> batchFormat(std::optional<OutputFormat> format) {
    if (format && outputFormatInfo(*format).writtenByCore) return format;
    return std::nullopt;
}

ParsedCommand usageError(std::string text) {
    ParsedCommand parsed;
    parsed.usageError = std::move(text);
    return parsed;
}

}  // namespace

OutputFormat formatOfName(const std::string& outFile) {
    return batchFormat(outputFormatOfFileName(outFile)).value_or(OutputFormat::ResultsFile);
}

ParsedCommand parseCommandLine(const std::vector<std::string>& arguments) {
    BatchCommand command;
    bool list = false, version = false, help = false, progress = false;
    std::optional<std::string> data, options, out, format, decimal;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const bool flag =
            name == "--list" || name == "--version" || name == "--help" || name == "--progress";
        if (flag && value)
            return usageError(std::string(kOptionPrefix) + name + std::string(kTakesNoValue));
        if (name == "--list") {
            list = true;
        } else if (name == "--version") {
            version = true;
        } else if (name == "--help" || name == "-h") {
            help = true;
        } else if (name == "--progress") {
            progress = true;
        } else if (name == "--data" || name == "--options" || name == "--out" ||
                   name == "--format" || name == "--decimal") {
            std::optional<std::string>& into = name == "--data"      ? data
                                               : name == "--options" ? options
                                               : name == "--out"     ? out
                                               : name == "--format"  ? format
                                                                     : decimal;
            if (into)
                return usageError(std::string(kOptionPrefix) + name + std::string(kGivenTwice));
            if (!value) {
                if (i + 1 >= arguments.size())
                    return usageError(std::string(kOptionPrefix) + name +
                                      std::string(kNeedsAValue));
                value = arguments[++i];
            }
            into = *value;
        } else {
            return usageError(std::string(kUnknownArgument) + arguments[i] + "'");
        }
    }

    const int modes = int(list) + int(version) + int(help) + int(options.has_value());
    if (modes > 1) return usageError(std::string(kOneModeOnly));
    if (modes == 0) return usageError(std::string(kNoMode));
    if (help) {
        command.mode = BatchMode::Help;
    } else if (version) {
        command.mode = BatchMode::Version;
    } else if (list) {
        command.mode = BatchMode::List;
    } else {
        command.mode = BatchMode::Run;
    }
    if (command.mode != BatchMode::Run && (out || format || decimal || progress))
        return usageError(std::string(kRunOptionsAlone));
    if (data) command.dataFolder = *data;
    if (command.dataFolder.empty()) return usageError(std::string(kDataNeedsFolder));

    if (command.mode == BatchMode::Run) {
        if (!out) return usageError(std::string(kOptionsNeedOut));
        if (options->empty() || out->empty()) return usageError(std::string(kEmptyFileName));
        command.optionsFile = *options;
        command.outFile = *out;
        command.progress = progress;
        command.format = formatOfName(*out);
        if (format) {
            const std::optional<OutputFormat> named = batchFormat(outputFormatNamed(*format));
            if (!named)
                return usageError(std::string(kUnknownFormat) + *format + std::string(kFormatsAre));
            command.format = *named;
        }
        if (decimal) {
            if (*decimal != "." && *decimal != ",")
                return usageError(std::string(kDecimalIs) + *decimal + "')");
            command.decimalSeparator = (*decimal)[0];
        }
    }
    ParsedCommand parsed;
    parsed.command = command;
    return parsed;
}

}  // namespace fetaldose::batch
