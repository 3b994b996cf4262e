#include "batch/batch_tool.h"

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <exception>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_texts.h"
#include "batch/export_seam.h"
#include "core/options/options_file.h"
#include "core/options/options_texts.h"
#include "core/program_version.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/results/results_file.h"
#include "core/run/run_result.h"
#include "core/selection/selection_model.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

// The batch tool leaves the data set exactly as it finds it: it reports every data file as
// read-only already, so the catalogue loader's first-run pass (which makes them read-only on
// the program's first start) never runs. A script may run on a shared, versioned or mounted
// data folder that is not its to change, and reading never needs the files read-only.
class UnchangedAttributes final : public FileAttributes {
  public:
    bool isExactlyReadOnly(const std::string&) override { return true; }
    void makeExactlyReadOnly(const std::string&) override {}
};

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder as the core names its data directory: with a separator at the end.
std::string dataDirectoryOf(const std::string& folder) {
    return folder.back() == '/' ? folder : folder + '/';
}

void reportFault(std::ostream& err, const std::string& name, std::string_view message) {
    err << kToolName << ": " << name << ": " << message << '\n';
}

// A line of the file as a message quotes it: on one line of the terminal (control bytes as
// escapes, "\n" for a line feed the file's line ends left in it) and cut after
// kQuotedBytes bytes, so that a huge line cannot flood the message.
std::string quoted(const std::string& text) {
    constexpr std::size_t kQuotedBytes = 200;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kQuotedBytes; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
        } else {
            out += static_cast<char>(byte);
        }
    }
    out += '"';
    if (text.size() > kQuotedBytes) out += "...";
    return out;
}

// A line of an options file where the load stopped: file:line, what was there, what belongs.
void reportStopLine(std::ostream& err, const std::string& file, const OptionsLine& line,
                    std::string_view extra) {
    err << kToolName << ": " << file << ':' << line.number << ": ";
    if (line.pastEnd) err << kEndsBefore;
    err << kExpected << line.expected << extra;
    if (!line.pastEnd) err << kFound << quoted(line.text);
    err << '\n';
}

// Lines the load read otherwise than their writer may have meant; the load goes on as the
// program's does.
void reportDoubtfulLines(std::ostream& err, const std::string& file,
                         const OptionsLoadTrace& trace) {
    for (const OptionsLine& line : trace.doubtful) {
        err << kToolName << ": " << kWarning << file << ':' << line.number << ": ";
        if (line.pastEnd)
            err << kEndsBefore << kLaterFlagsNo;
        else if (line.expected.rfind(kExpectedLabelPrefix, 0) == 0)
            err << quoted(line.text) << kSkippedAsLabel;
        else
            err << quoted(line.text) << kReadAsNo;
        err << kExpected << line.expected << '\n';
    }
}

// Checks the data folder and its catalogue; on a failure reports it and gives the status.
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

int listCatalogue(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    if (const int status = checkDataFolder(command.dataFolder, err)) return status;
    const std::string directory = dataDirectoryOf(command.dataFolder);
    UnchangedAttributes attributes;
    std::string missingMessage;
    const CatalogueLoad load =
        loadCatalogue(directory, attributes,
                      [&missingMessage](const std::string& text) { missingMessage = text; });
    DataFileFinder dataFiles(directory);
    for (const CatalogueEntry& entry : load.entries)
        out << entry.name << '\t' << entry.halfLife << '\t'
            << (dataFiles.find(entry.name) ? kDataFilePresent : kDataFileMissing) << '\n';
    out.flush();
    if (load.fault) {
        reportFault(err, directory + kCatalogueFileName, *load.fault);
        return kExitInputOutput;
    }
    if (!missingMessage.empty()) {  // the catalogue went between the check and the load
        reportFault(err, directory + kCatalogueFileName, missingMessage);
        return kExitInputOutput;
    }
    return out ? kExitWritten : kExitInputOutput;
}

void writeResultsTo(const std::string& outFile, std::ostream& out, const RunResult& run) {
    if (outFile != "-") {
        writeResultsFile(outFile, run);
        return;
    }
    out.flush();
    TextWriter writer(STDOUT_FILENO, outFile);
    writeResults(writer, run);
}

int runOptions(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    // Refused as the program's save window refuses a typed name, before anything runs.
    if (command.outFile != "-") {
        try {
            requireValidTypedFileName(command.outFile);
        } catch (const IoError& fault) {
            reportFault(err, command.outFile, fault.what());
            return kExitInputOutput;
        }
    }
    if (const int status = checkDataFolder(command.dataFolder, err)) return status;
    const std::string directory = dataDirectoryOf(command.dataFolder);

    // The options file, loaded step by step into the selection as the window loads it.
    // Where the run stops, the program's message is the first line on standard error; the
    // warnings about the options file follow it.
    SelectionModel selection(directory);
    OptionsLoadTrace trace;
    std::ostringstream warnings;
    struct WarningsLast {
        std::ostream& err;
        std::ostringstream& warnings;
        ~WarningsLast() { err << warnings.str(); }
    } warningsLast{err, warnings};
    try {
        const OptionsLoad load = selection.loadOptions(command.optionsFile, &trace);
        reportDoubtfulLines(warnings, command.optionsFile, trace);
        if (load == OptionsLoad::NuclideNotAvailable) {
            err << kNuclideNotAvailableMessage << '\n';
            reportStopLine(err, command.optionsFile, trace.last, " in " + directory);
            return kExitRunStopped;
        }
    } catch (const IoError& fault) {
        reportFault(err, command.optionsFile, fault.what());
        if (trace.last.number > 0) reportStopLine(err, command.optionsFile, trace.last, "");
        return kExitInputOutput;
    }

    // The run, as "Run" does it; its stop messages go out exactly as the program shows them.
    const SelectionSnapshot snapshot = selection.snapshot();
    const RunCheck check = checkSelection(snapshot);
    if (!check.stopMessage.empty()) {
        err << check.stopMessage << '\n';
        return kExitRunStopped;
    }
    RunRequest request;
    request.selection = snapshot;
    request.dataDirectory = directory;
    request.decimalSeparator = command.decimalSeparator.value_or(localeDecimalSeparator());
    std::shared_ptr<const RunResult> run;
    try {
        const RunOutcome outcome = runTables(std::move(request), check);
        if (!outcome.complete) {
            if (!outcome.stopMessage.empty()) err << outcome.stopMessage << '\n';
            return kExitRunStopped;
        }
        run = outcome.result;
    } catch (const IoError& fault) {
        reportFault(err, directory, fault.what());
        return kExitInputOutput;
    } catch (const Fault& fault) {
        // A fault the program shows in its error box: the same text.
        err << errorBoxText(fault.what()) << '\n';
        return kExitRunStopped;
    }

    try {
        if (command.format == OutputFormat::ResultsFile)
            writeResultsTo(command.outFile, out, *run);
        else
            writeExport(command.format, command.outFile, *run);
    } catch (const Fault& fault) {
        // An input/output failure, or an export the spreadsheet writer could not make.
        reportFault(err, command.outFile == "-" ? std::string(kStandardOutput) : command.outFile,
                    fault.what());
        return kExitInputOutput;
    }
    return kExitWritten;
}

}  // namespace

char localeDecimalSeparator() {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "");
    const std::lconv* conventions = std::localeconv();
    const char* point = conventions ? conventions->decimal_point : nullptr;
    char separator = '.';
    if (point && std::strlen(point) == 1 && static_cast<unsigned char>(point[0]) < 0x80)
        separator = point[0];
    // The core's number handling does not depend on the C locale, but nothing else needs it.
    std::setlocale(LC_NUMERIC, saved.c_str());
    return separator;
}

int runBatch(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    try {
        switch (command.mode) {
            case BatchMode::Help:
                out << kUsage << '\n' << kHelp;
                return kExitWritten;
            case BatchMode::Version:
                out << kToolName << ' ' << kProgramVersion << '\n';
                return kExitWritten;
            case BatchMode::List:
                return listCatalogue(command, out, err);
            case BatchMode::Run:
                return runOptions(command, out, err);
        }
    } catch (const IoError& fault) {
        err << kToolName << ": " << fault.what() << '\n';
        return kExitInputOutput;
    } catch (const std::exception& fault) {
        err << kToolName << ": " << fault.what() << '\n';
        return kExitRunStopped;
    }
    return kExitUsage;
}

}  // namespace fetaldose::batch
