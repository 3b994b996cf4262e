#include "batch/batch_support.h"

#include <sys/stat.h>

#include <ostream>

#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string dataDirectoryOf(const std::string& folder) {
    return folder.back() == '/' ? folder : folder + '/';
}

void reportFault(std::ostream& err, const std::string& name, std::string_view message) {
    err << kToolName << ": " << name << ": " << message << '\n';
}

void reportFault(std::ostream& err, const std::string& name, const Fault& fault) {
    if (fault.file().empty())
        reportFault(err, name, faultReport(fault));
    else
        err << kToolName << ": " << faultReport(fault) << '\n';
}

int checkOutputName(const std::string& outFile, std::ostream& err) {
    if (outFile == "-") return kExitWritten;
    try {
        requireValidTypedFileName(outFile);
    } catch (const IoError& fault) {
        reportFault(err, outFile, fault.what());
        return kExitInputOutput;
    }
    return kExitWritten;
}

int checkDataFolder(const std::string& folder, std::ostream& err) {
    if (!isFolder(folder)) {
        reportFault(err, folder, kNoDataFolder);
        return kExitInputOutput;
    }
    if (!findFileInDirectory(dataDirectoryOf(folder), kCatalogueFileName)) {
        reportFault(err, dataDirectoryOf(folder) + kCatalogueFileName, kMissingCatalogueMessage);
        return kExitInputOutput;
    }
    return kExitWritten;
}

std::optional<std::string> CommandOptions::value(const std::string& option) const {
    const auto found = values.find(option);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

CommandOptions readCommandOptions(const std::vector<std::string>& arguments,
                                  std::initializer_list<std::string_view> flags,
                                  std::initializer_list<std::string_view> valued) {
    CommandOptions read;
    const auto wrong = [&](std::string text) {
        CommandOptions error;
        error.usageError = std::move(text);
        return error;
    };
    const auto among = [](std::string_view name, std::initializer_list<std::string_view> names) {
        for (const std::string_view n : names)
            if (n == name) return true;
        return false;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (among(name, flags)) {
            if (value) return wrong(std::string(kOptionPrefix) + name + std::string(kTakesNoValue));
            if (!read.flags.insert(name).second)
                return wrong(std::string(kOptionPrefix) + name + std::string(kGivenTwice));
            continue;
        }
        if (!among(name, valued)) return wrong(std::string(kUnknownArgument) + arguments[i] + "'");
        if (read.values.count(name))
            return wrong(std::string(kOptionPrefix) + name + std::string(kGivenTwice));
        if (!value) {
            if (i + 1 >= arguments.size())
                return wrong(std::string(kOptionPrefix) + name + std::string(kNeedsAValue));
            value = arguments[++i];
        }
        read.values.emplace(name, std::move(*value));
    }
    return read;
}

}  // namespace fetaldose::batch
