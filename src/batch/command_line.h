#pragma once
// The batch tool's command line, read into plain values.

#include <optional>
#include <string>
#include <vector>

#include "core/run/output_format.h"

namespace fetaldose::batch {

enum class BatchMode { Run, List, Version, Help };

struct BatchCommand {
    BatchMode mode = BatchMode::Help;
    std::string dataFolder = "./data";
    std::string optionsFile;
    std::string outFile;  // "-" is standard output
    OutputFormat format = OutputFormat::ResultsFile;
    std::optional<char> decimalSeparator;  // the locale's when not given
    bool progress = false;  // a progress line also where standard error is no terminal
};

struct ParsedCommand {
    std::optional<BatchCommand> command;
    std::string usageError;  // set when there is no command
};

// Reads the arguments after the program name. Options take their value as the next argument
// or after '='.
ParsedCommand parseCommandLine(const std::vector<std::string>& arguments);

// The format an output name asks for by its extension: .csv and .xlsx (in any letter case)
// name those formats, every other name the results file (the tool writes no report).
OutputFormat formatOfName(const std::string& outFile);

}  // namespace fetaldose::batch
