#include "batch/batch_tool.h"

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/batch_texts.h"
#include "batch/progress_line.h"
#include "batch/stream_output.h"
#include "core/options/options_file.h"
#include "core/options/options_texts.h"
#include "core/program_version.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/results/results_file.h"
#include "core/run/run_result.h"
#include "core/selection/selection_model.h"
#include "core/textio/faults.h"
#include "core/textio/output_guard.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

// Bytes on one line of the terminal: control bytes as escapes ("\n" for a line feed, "\t",
// "\r", "\xNN" for the others), and with `escapeBackslash` a backslash doubled so that the
// escapes cannot be mistaken for the name's own bytes.
std::string onOneLine(std::string_view text, bool escapeBackslash) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
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
        } else if (byte == '\\' && escapeBackslash) {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

// A line of the file as a message quotes it: on one line of the terminal and cut after
// kQuotedBytes bytes, so that a huge line cannot flood the message.
std::string quoted(const std::string& text) {
    constexpr std::size_t kQuotedBytes = 200;
    std::string out = '"' + onOneLine(std::string_view(text).substr(0, kQuotedBytes), false) + '"';
    if (text.size() > kQuotedBytes) out += "...";
    return out;
}

// A fault in a data file's content or in reading it: the file and what is wrong there.
void reportDataFileFault(std::ostream& err, const std::string& directory, const Fault& fault) {
    const auto* conversion = dynamic_cast<const ConversionError*>(&fault);
    if (!conversion) return reportFault(err, directory, fault);
    const std::string& field = conversion->fieldText();
    const std::string file = fault.file().empty() ? directory : fault.file();
    if (field.empty())
        reportFault(err, file, kEmptyDoseField);
    else if (field.find_first_not_of(' ') == std::string::npos)
        reportFault(err, file, kBlankDoseField);
    else
        reportFault(err, file,
                    std::string(kDoseFieldPrefix) + onOneLine(field, false) +
                        std::string(kDoseFieldSuffix));
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

// What --list says of a nuclide's data file.
std::string_view dataFileState(DataFileFinder& dataFiles, const std::string& name) {
    const auto path = dataFiles.find(name);
    if (!path) return kDataFileMissing;
    struct stat st {};
    return ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode) ? kDataFilePresent
                                                                  : kDataFileNotRegular;
}

// Every entry, however many: the list is written as the catalogue is read, never held.
int listCatalogue(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    if (const int status = checkDataFolder(command.dataFolder, err)) return status;
    const std::string directory = dataDirectoryOf(command.dataFolder);
    const auto cataloguePath = findFileInDirectory(directory, kCatalogueFileName);
    if (!cataloguePath) {  // the catalogue went between the check and the list
        reportFault(err, directory + kCatalogueFileName, kMissingCatalogueMessage);
        return kExitInputOutput;
    }
    DataFileFinder dataFiles(directory);
    try {
        forEachCatalogueEntry(*cataloguePath, [&](const CatalogueEntry& entry) {
            out << onOneLine(entry.name, true) << '\t' << onOneLine(entry.halfLife, true) << '\t'
                << dataFileState(dataFiles, entry.name) << '\n';
        });
    } catch (const Fault& fault) {
        out.flush();
        reportFault(err, *cataloguePath, fault);
        return kExitInputOutput;
    }
    out.flush();
    return out ? kExitWritten : kExitInputOutput;
}

// The files this run reads, which no output may replace: the data set in use (the catalogue
// and every data file it names), the data files of the chosen nuclides and the options file.
std::vector<std::string> inputsOfRun(const BatchCommand& command, const std::string& directory,
                                     const SelectionSnapshot& snapshot) {
    std::vector<std::string> inputs = dataSetFiles(directory);
    DataFileFinder dataFiles(directory);
    for (const std::string& name : snapshot.nuclides)
        if (auto path = dataFiles.find(name)) inputs.push_back(std::move(*path));
    inputs.push_back(command.optionsFile);
    return inputs;
}

int runOptions(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    // Refused as the program's save window refuses a typed name, before anything runs.
    if (const int status = checkOutputName(command.outFile, err)) return status;
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
    } catch (const Fault& fault) {
        // The program's message with the file's name first, as the window shows it; what
        // went wrong in words and the line the load stopped at follow.
        if (fault.messageNamesFile()) {
            err << kToolName << ": " << fault.what() << '\n';
        } else {
            reportFault(err, command.optionsFile, fault.what());
            if (!fault.detail().empty() && trace.last.number == 0)
                reportFault(err, command.optionsFile, fault.detail());
        }
        if (trace.last.number > 0) reportStopLine(err, command.optionsFile, trace.last, "");
        return kExitInputOutput;
    }

    // The run, as "Run" does it; its stop messages go out exactly as the program shows them.
    const SelectionSnapshot snapshot = selection.snapshot();
    // No output replaces a file the run reads: refused before the run, nothing written.
    // Standard output is checked as the file it stands for (appended to an input, say).
    try {
        refuseOutputOverInputs(
            command.outFile == "-" ? std::string(kStandardOutputPath) : command.outFile,
            inputsOfRun(command, directory, snapshot));
    } catch (const Fault& fault) {
        reportFault(err, command.outFile, fault);
        return kExitInputOutput;
    }
    const RunCheck check = checkSelection(snapshot);
    if (!check.stopMessage.empty()) {
        err << check.stopMessage << '\n';
        return kExitRunStopped;
    }
    RunRequest request;
    request.selection = snapshot;
    request.dataDirectory = directory;
    request.decimalSeparator = command.decimalSeparator.value_or(localeDecimalSeparator());
    // The tables are written as the run makes them, nuclide by nuclide; anything the tool
    // wrote to standard output goes before them.
    out.flush();
    const bool terminal = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    ProgressLine progress(err, terminal           ? ProgressLine::Show::Terminal
                               : command.progress ? ProgressLine::Show::Lines
                                                  : ProgressLine::Show::Off);
    try {
        const StreamedOutput streamed =
            writeStreamed(command.format, command.outFile, request, check, progress);
        if (!streamed.complete) {
            if (!streamed.stopMessage.empty()) err << streamed.stopMessage << '\n';
            return kExitRunStopped;
        }
    } catch (const OutputFault& output) {
        // An input/output failure of the output, or an export the spreadsheet writer could
        // not make.
        try {
            std::rethrow_exception(output.fault);
        } catch (const Fault& fault) {
            reportFault(err,
                        command.outFile == "-" ? std::string(kStandardOutput) : command.outFile,
                        fault);
        }
        return kExitInputOutput;
    } catch (const Fault& fault) {
        if (!fault.file().empty() || dynamic_cast<const IoError*>(&fault)) {
            // A data file that cannot be read, or whose content is wrong: an input error,
            // with the file's name and what is wrong there.
            reportDataFileFault(err, directory, fault);
            return kExitInputOutput;
        }
        // A fault the program shows in its error box: the same text.
        err << errorBoxText(fault.what()) << '\n';
        return kExitRunStopped;
    }
    return kExitWritten;
}

int runCommand(const BatchCommand& command, std::ostream& out, std::ostream& err);

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
        return runCommand(command, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << kToolName << ": "
            << (command.mode == BatchMode::List ? kNoMemoryForList : kNoMemoryForRun) << '\n';
        return kExitInputOutput;
    }
}

namespace {

int runCommand(const BatchCommand& command, std::ostream& out, std::ostream& err) {
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
        err << kToolName << ": " << faultReport(fault) << '\n';
        return kExitInputOutput;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& fault) {
        err << kToolName << ": " << fault.what() << '\n';
        return kExitRunStopped;
    }
    return kExitUsage;
}

}  // namespace

}  // namespace fetaldose::batch
