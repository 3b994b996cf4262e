#include "batch/command_line.h"

#include "batch/batch_texts.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace fetaldose::batch {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

ParsedCommand usageError(std::string text) {
    ParsedCommand parsed;
    parsed.usageError = std::move(text);
    return parsed;
}

}  // namespace

OutputFormat formatOfName(const std::string& outFile) {
    if (endsWithNoCase(outFile, ".csv")) return OutputFormat::Csv;
    if (endsWithNoCase(outFile, ".xlsx")) return OutputFormat::Xlsx;
    return OutputFormat::Dos;
}

ParsedCommand parseCommandLine(const std::vector<std::string>& arguments) {
    BatchCommand command;
    bool list = false, version = false, help = false;
    std::optional<std::string> data, options, out, format, decimal;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const bool flag = name == "--list" || name == "--version" || name == "--help";
        if (flag && value)
            return usageError(std::string(kOptionPrefix) + name + std::string(kTakesNoValue));
        if (name == "--list") {
            list = true;
        } else if (name == "--version") {
            version = true;
        } else if (name == "--help" || name == "-h") {
            help = true;
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
    if (command.mode != BatchMode::Run && (out || format || decimal))
        return usageError(std::string(kRunOptionsAlone));
    if (data) command.dataFolder = *data;
    if (command.dataFolder.empty()) return usageError(std::string(kDataNeedsFolder));

    if (command.mode == BatchMode::Run) {
        if (!out) return usageError(std::string(kOptionsNeedOut));
        if (options->empty() || out->empty()) return usageError(std::string(kEmptyFileName));
        command.optionsFile = *options;
        command.outFile = *out;
        command.format = formatOfName(*out);
        if (format) {
            if (*format == "dos")
                command.format = OutputFormat::Dos;
            else if (*format == "csv")
                command.format = OutputFormat::Csv;
            else if (*format == "xlsx")
                command.format = OutputFormat::Xlsx;
            else
                return usageError(std::string(kUnknownFormat) + *format + std::string(kFormatsAre));
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
