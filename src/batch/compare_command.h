#pragma once
// `fetaldose-batch compare`: two data sets compared value by value from the command line, with
// an exit status a script can gate on.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/run/output_format.h"

namespace fetaldose::batch {

// The compared values differ: distinct from every other status of the tool.
inline constexpr int kExitValuesDiffer = 4;

struct CompareCommand {
    bool help = false;
    std::string referenceFolder = "./data";
    std::string candidateFolder;
    std::string optionsFile;  // empty with --all
    bool everything = false;
    double threshold = 0;
    std::string outFile;  // empty or "-": the summary on standard output
    OutputFormat format = OutputFormat::Csv;
    std::optional<char> decimalSeparator;  // the locale's when not given
};

struct ParsedCompareCommand {
    std::optional<CompareCommand> command;
    std::string usageError;  // set when there is no command
};

// Reads the arguments after "compare".
ParsedCompareCommand parseCompareCommand(const std::vector<std::string>& arguments);

// Carries out the comparison; returns the exit status.
int runCompare(const CompareCommand& command, std::ostream& out, std::ostream& err);

// The whole subcommand: parses, reports wrong usage, runs. `arguments` follow "compare".
int compareMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace fetaldose::batch
