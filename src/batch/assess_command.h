#pragma once
// fetaldose-batch assess: a dose assessment of an intakes file on a data set, written as CSV,
// a workbook, or a plain-text summary.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/assessment/assessment.h"
#include "core/run/output_format.h"

namespace fetaldose::batch {

struct AssessCommand {
    bool help = false;
    std::string dataFolder = "./data";
    std::string intakesFile;
    std::string outFile;  // "-" is standard output
    // CSV, XLSX, or nothing for the plain-text summary.
    std::optional<OutputFormat> format;
    assessment::AssessmentSettings settings = assessment::AssessmentSettings::everything();
};

struct ParsedAssessCommand {
    std::optional<AssessCommand> command;
    std::string usageError;
};

// Reads the arguments after "assess".
ParsedAssessCommand parseAssessCommand(const std::vector<std::string>& arguments);

// Carries it out; the exit status as the tool's (batch_tool.h).
int runAssess(const AssessCommand& command, std::ostream& out, std::ostream& err);

}  // namespace fetaldose::batch
