#include "batch/command_line.h"

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

const char* formatName(OutputFormat format) {
    switch (format) {
        case OutputFormat::Dos:
            return "dos";
        case OutputFormat::Csv:
            return "csv";
        case OutputFormat::Xlsx:
            return "xlsx";
    }
    return "dos";
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
        if (flag && value) return usageError("option " + name + " takes no value");
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
            if (into) return usageError("option " + name + " given twice");
            if (!value) {
                if (i + 1 >= arguments.size())
                    return usageError("option " + name + " needs a value");
                value = arguments[++i];
            }
            into = *value;
        } else {
            return usageError("unknown argument '" + arguments[i] + "'");
        }
    }

    const int modes = int(list) + int(version) + int(help) + int(options.has_value());
    if (modes > 1) return usageError("give only one of --options, --list, --version and --help");
    if (modes == 0) return usageError("give --options FILE --out FILE, or --list");
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
        return usageError("--out, --format and --decimal go with --options");
    if (data) command.dataFolder = *data;
    if (command.dataFolder.empty()) return usageError("option --data needs a folder");

    if (command.mode == BatchMode::Run) {
        if (!out) return usageError("option --options needs --out FILE (- for standard output)");
        if (options->empty() || out->empty()) return usageError("a file name is empty");
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
                return usageError("unknown format '" + *format + "' (dos, csv or xlsx)");
        }
        if (decimal) {
            if (*decimal != "." && *decimal != ",")
                return usageError("the decimal separator is . or , (not '" + *decimal + "')");
            command.decimalSeparator = (*decimal)[0];
        }
    }
    ParsedCommand parsed;
    parsed.command = command;
    return parsed;
}

}  // namespace fetaldose::batch
