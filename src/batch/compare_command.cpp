#include "batch/compare_command.h"

#include <charconv>
#include <cmath>
#include <new>
#include <ostream>
#include <string_view>

#include "batch/batch_compare_texts.h"
#include "batch/batch_support.h"
#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "core/compare/comparison.h"
#include "core/compare/comparison_report.h"
#include "core/refdata/data_directory.h"
#include "core/selection/selection_model.h"
#include "core/textio/faults.h"
#include "core/textio/output_guard.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

ParsedCompareCommand usageError(std::string text) {
    ParsedCompareCommand parsed;
    parsed.usageError = std::move(text);
    return parsed;
}

std::string folderWithSlash(const std::string& folder) {
    return folder.back() == '/' ? folder : folder + '/';
}

std::optional<double> thresholdOf(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value) ||
        value < 0)
        return std::nullopt;
    return value;
}

void report(std::ostream& err, std::string_view message) {
    err << kToolName << ": " << message << '\n';
}

}  // namespace

ParsedCompareCommand parseCompareCommand(const std::vector<std::string>& arguments) {
    CompareCommand command;
    const CommandOptions read =
        readCommandOptions(arguments, {"--help", "-h", "--all"},
                           {"--data", "--with", "--options", "--threshold", "--out", "--decimal"});
    if (!read.usageError.empty()) return usageError(read.usageError);
    command.help = read.has("--help") || read.has("-h");
    command.everything = read.has("--all");
    const auto data = read.value("--data"), with = read.value("--with"),
               options = read.value("--options"), threshold = read.value("--threshold"),
               out = read.value("--out"), decimal = read.value("--decimal");
    ParsedCompareCommand parsed;
    if (command.help) {
        parsed.command = command;
        return parsed;
    }
    if (!with) return usageError(std::string(kCompareNeedsCandidate));
    if (options.has_value() == command.everything)
        return usageError(std::string(kCompareOneSelection));
    if (data) command.referenceFolder = *data;
    if (command.referenceFolder.empty() || with->empty())
        return usageError(std::string(kDataNeedsFolder));
    command.candidateFolder = *with;
    if (options) {
        if (options->empty()) return usageError(std::string(kEmptyFileName));
        command.optionsFile = *options;
    }
    if (threshold) {
        const std::optional<double> value = thresholdOf(*threshold);
        if (!value) return usageError(std::string(kCompareThresholdIs) + *threshold + "')");
        command.threshold = *value;
    }
    if (out && *out != "-") {
        const std::optional<OutputFormat> format = outputFormatOfFileName(*out);
        if (!format || (*format != OutputFormat::Csv && *format != OutputFormat::Xlsx))
            return usageError(std::string(kCompareOutFormats) + *out + "')");
        command.outFile = *out;
        command.format = *format;
    }
    if (decimal) {
        if (*decimal != "." && *decimal != ",")
            return usageError(std::string(kDecimalIs) + *decimal + "')");
        command.decimalSeparator = (*decimal)[0];
    }
    parsed.command = command;
    return parsed;
}

int runCompare(const CompareCommand& command, std::ostream& out, std::ostream& err) {
    if (command.help) {
        out << kCompareUsage << '\n' << kCompareHelp;
        return kExitWritten;
    }
    if (!command.outFile.empty())
        if (const int status = checkOutputName(command.outFile, err)) return status;
    CompareRequest request;
    request.referenceDirectory = folderWithSlash(command.referenceFolder);
    request.candidateDirectory = folderWithSlash(command.candidateFolder);
    request.threshold = command.threshold;
    request.decimalSeparator = command.decimalSeparator.value_or(localeDecimalSeparator());
    request.scope = command.everything ? CompareScope::Everything : CompareScope::Selection;

    if (!command.everything) {
        // The options file is loaded on the reference, as the program loads it on its own data
        // set; the candidate runs the nuclides of it that it has.
        SelectionModel selection(request.referenceDirectory);
        try {
            if (selection.loadOptions(command.optionsFile) == OptionsLoad::NuclideNotAvailable) {
                err << kNuclideNotAvailableMessage << '\n';
                return kExitRunStopped;
            }
        } catch (const Fault& fault) {
            if (fault.messageNamesFile())
                report(err, fault.what());
            else
                report(err, command.optionsFile + ": " + faultReport(fault));
            return kExitInputOutput;
        }
        request.selection = selection.snapshot();
    }

    const CompareOutcome outcome = compareDataSets(request);
    if (!outcome.complete) {
        if (outcome.cancelled) {
            report(err, kCompareCancelled);
            return kExitRunStopped;
        }
        if (outcome.inputFault) {
            report(err, outcome.stopMessage);
            return kExitInputOutput;
        }
        err << outcome.stopMessage << '\n';
        return kExitRunStopped;
    }
    const Comparison& comparison = *outcome.comparison;
    const int status = comparison.valuesAgree() ? kExitWritten : kExitValuesDiffer;
    if (command.outFile.empty()) {
        for (const std::string& line : comparisonSummary(comparison)) out << line << '\n';
        return status;
    }
    try {
        if (!command.optionsFile.empty())
            refuseOutputOverInputs(command.outFile, {command.optionsFile});
        exportComparison(command.format, command.outFile, comparison);
    } catch (const Fault& fault) {
        if (fault.file().empty())
            report(err, command.outFile + ": " + faultReport(fault));
        else
            report(err, faultReport(fault));
        return kExitInputOutput;
    }
    return status;
}

int compareMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedCompareCommand parsed = parseCompareCommand(arguments);
    if (!parsed.command) {
        err << kToolName << ": " << parsed.usageError << '\n'
            << kCompareUsage << kTryCompareHelp << '\n';
        return kExitUsage;
    }
    int status = kExitInputOutput;
    try {
        status = runCompare(*parsed.command, out, err);
    } catch (const std::bad_alloc&) {
        report(err, kNoMemoryForCompare);
        return kExitInputOutput;
    } catch (const Fault& fault) {
        report(err, faultReport(fault));
        return kExitInputOutput;
    }
    out.flush();
    if (!out && (status == kExitWritten || status == kExitValuesDiffer)) {
        report(err, kStandardOutputFailed);
        return kExitInputOutput;
    }
    return status;
}

}  // namespace fetaldose::batch
