#include "batch/assess_command.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <ostream>

#include "batch/batch_support.h"
#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "core/assessment/assessment_report.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/run/labels.h"
#include "core/textio/output_guard.h"
#include "core/textio/text_encoding.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

using namespace assessment;

// At most this many intakes that cannot be assessed are named one by one.
constexpr int kNamedProblems = 20;

ParsedAssessCommand usageError(std::string text) {
    ParsedAssessCommand parsed;
    parsed.usageError = std::move(text);
    return parsed;
}

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The items of a list separated by ',' or ';', each without its blanks.
std::vector<std::string_view> listItems(std::string_view list) {
    std::vector<std::string_view> items;
    while (true) {
        const std::size_t cut = list.find_first_of(",;");
        const std::string_view item = trimBlanks(list.substr(0, cut));
        if (!item.empty()) items.push_back(item);
        if (cut == std::string_view::npos) break;
        list.remove_prefix(cut + 1);
    }
    return items;
}

// Rows or periods by their labels, in the order of the tables; nothing when one is unknown
// (`unknown` names it).
template <std::size_t N>
std::optional<std::vector<int>> numbersOf(std::string_view list,
                                          const std::array<std::string_view, N>& labels,
                                          std::string& unknown) {
    std::vector<bool> chosen(N);
    for (const std::string_view item : listItems(list)) {
        bool found = false;
        for (std::size_t i = 0; i < N; ++i) {
            if (!sameLetters(item, trimBlanks(labels[i]))) continue;
            chosen[i] = found = true;
        }
        if (!found) {
            unknown = std::string(item);
            return std::nullopt;
        }
    }
    std::vector<int> numbers;
    for (std::size_t i = 0; i < N; ++i)
        if (chosen[i]) numbers.push_back(static_cast<int>(i) + 1);
    if (numbers.empty()) {
        unknown = std::string(list);
        return std::nullopt;
    }
    return numbers;
}

// The intakes file, the data files of its nuclides and the data set: no output replaces them.
std::vector<std::string> inputsOf(const AssessCommand& command, const std::string& directory,
                                  const std::vector<IntakeEntry>& intakes) {
    std::vector<std::string> inputs = dataSetFiles(directory);
    DataFileFinder dataFiles(directory);
    for (const IntakeEntry& intake : intakes)
        if (auto path = dataFiles.find(intake.nuclide)) inputs.push_back(std::move(*path));
    inputs.push_back(command.intakesFile);
    return inputs;
}

void writeSummary(const std::string& outFile, std::ostream& out, const std::string& summary) {
    if (outFile != "-") {
        saveTextFile(outFile, [&](TextWriter& writer) { writer.write(summary); });
        return;
    }
    out.flush();
    TextWriter writer(STDOUT_FILENO, outFile);
    writer.write(summary);
    writer.flush();
}

}  // namespace

ParsedAssessCommand parseAssessCommand(const std::vector<std::string>& arguments) {
    AssessCommand command;
    const CommandOptions read =
        readCommandOptions(arguments, {"--help", "-h"},
                           {"--data", "--intakes", "--out", "--format", "--unit", "--limit",
                            "--external", "--method", "--tissues", "--periods"});
    if (!read.usageError.empty()) return usageError(read.usageError);
    command.help = read.has("--help") || read.has("-h");
    const auto data = read.value("--data"), intakes = read.value("--intakes"),
               out = read.value("--out"), format = read.value("--format"),
               unit = read.value("--unit"), limit = read.value("--limit"),
               external = read.value("--external"), method = read.value("--method"),
               tissues = read.value("--tissues"), periods = read.value("--periods");
    ParsedAssessCommand parsed;
    if (command.help) {
        parsed.command = command;
        return parsed;
    }
    if (!intakes || !out) return usageError(std::string(kAssessNeeds));
    if (intakes->empty() || out->empty()) return usageError(std::string(kEmptyFileName));
    if (data) command.dataFolder = *data;
    if (command.dataFolder.empty()) return usageError(std::string(kDataNeedsFolder));
    command.intakesFile = *intakes;
    command.outFile = *out;
    if (format) {
        if (sameLetters(*format, "text"))
            command.format = std::nullopt;
        else if (const auto named = outputFormatNamed(*format);
                 named == OutputFormat::Csv || named == OutputFormat::Xlsx)
            command.format = named;
        else
            return usageError("'" + *format + std::string(kUnknownAssessFormat));
    } else if (*out != "-") {
        const auto byName = outputFormatOfFileName(*out);
        if (byName == OutputFormat::Csv || byName == OutputFormat::Xlsx) command.format = byName;
    }
    AssessmentSettings& settings = command.settings;
    if (unit) {
        const auto named = doseUnitNamed(*unit);
        if (!named) return usageError("'" + *unit + std::string(kUnknownDoseUnit));
        settings.unit = *named;
    }
    if (limit) {
        if (const auto kind = limitKindNamed(*limit); kind && *kind != LimitKind::Custom) {
            settings.limit.kind = *kind;
        } else if (const auto dose = parseDoseAmount(*limit); dose && dose->amount > 0) {
            settings.limit = {LimitKind::Custom, dose->sievert()};
        } else {
            return usageError("'" + *limit + std::string(kUnknownLimit));
        }
    }
    if (external) {
        const auto dose = parseDoseAmount(*external);
        if (!dose) return usageError("'" + *external + std::string(kNotADose));
        settings.external = *dose;
    }
    if (method) {
        if (sameLetters(*method, "conservative"))
            settings.method = Method::Conservative;
        else if (sameLetters(*method, "interpolated"))
            settings.method = Method::Interpolated;
        else
            return usageError("'" + *method + std::string(kUnknownMethod));
    }
    std::string unknown;
    if (tissues) {
        const auto rows = numbersOf(*tissues, kRowLabels, unknown);
        if (!rows) return usageError("'" + unknown + std::string(kUnknownTissue));
        settings.rows = *rows;
    }
    if (periods) {
        const auto chosen = numbersOf(*periods, kPeriodLabels, unknown);
        if (!chosen) return usageError("'" + unknown + std::string(kUnknownPeriod));
        settings.periods = *chosen;
    }
    parsed.command = std::move(command);
    return parsed;
}

int runAssess(const AssessCommand& command, std::ostream& out, std::ostream& err) {
    if (command.help) {
        out << kAssessUsage << '\n' << kAssessHelp;
        return kExitWritten;
    }
    try {
        if (const int status = checkOutputName(command.outFile, err)) return status;
        if (const int status = checkDataFolder(command.dataFolder, err)) return status;
        const std::string directory = dataDirectoryOf(command.dataFolder);

        IntakeList intakes;
        try {
            intakes = readIntakesFile(command.intakesFile);
        } catch (const Fault& fault) {
            reportFault(err, command.intakesFile, fault);
            return kExitInputOutput;
        }
        const std::string outputPath =
            command.outFile == "-" ? std::string(kStandardOutputPath) : command.outFile;
        try {
            refuseOutputOverInputs(outputPath, inputsOf(command, directory, intakes.intakes));
        } catch (const Fault& fault) {
            reportFault(err, command.outFile, fault);
            return kExitInputOutput;
        }

        AssessmentData data(directory, std::nullopt, RunScope::TablesNeeded);
        if (!data.catalogueProblem().empty()) {
            reportFault(err, directory + kCatalogueFileName, data.catalogueProblem());
            return kExitInputOutput;
        }
        // Each nuclide's run makes the tables its intakes need and goes once they are done: the
        // memory an assessment takes does not grow with the number of nuclides.
        const AssessmentResult result =
            assess(intakes.intakes, command.settings, data, /*releaseRuns=*/true);
        if (result.problemCount > 0) {
            int named = 0;
            for (std::size_t i = 0; i < result.intakes.size(); ++i) {
                if (result.intakes[i].assessed() || ++named > kNamedProblems) continue;
                err << kToolName << ": " << command.intakesFile << ':' << intakes.intakes[i].line
                    << ": " << result.intakes[i].message() << '\n';
            }
            if (named > kNamedProblems)
                err << kToolName << ": " << command.intakesFile << ": " << named - kNamedProblems
                    << kMoreProblems << '\n';
            return kExitInputOutput;
        }

        const AssessmentReport report{intakes.intakes, command.settings, result, data.provenance(),
                                      command.intakesFile};
        try {
            if (command.format) {
                if (command.outFile == "-") out.flush();
                exportAssessment(*command.format, outputPath, report);
            } else {
                writeSummary(command.outFile, out, assessmentSummary(report));
            }
        } catch (const Fault& fault) {
            reportFault(err,
                        command.outFile == "-" ? std::string(kStandardOutput) : command.outFile,
                        fault);
            return kExitInputOutput;
        }
        return kExitWritten;
    } catch (const std::bad_alloc&) {
        out.flush();
        err << kToolName << ": " << kNoMemoryForAssessment << '\n';
        return kExitInputOutput;
    }
}

}  // namespace fetaldose::batch
