// fetaldose-batch: the program's run and results file from the command line, linked to the
// core alone.

#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_compare_texts.h"
#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "batch/command_line.h"
#include "batch/compare_command.h"

int main(int argc, char** argv) {
    using namespace fetaldose::batch;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == kCompareCommandName)
        return compareMain({arguments.begin() + 1, arguments.end()}, std::cout, std::cerr);
    const ParsedCommand parsed = parseCommandLine(arguments);
    if (!parsed.command) {
        std::cerr << kToolName << ": " << parsed.usageError << '\n' << kUsage << kTryHelp << '\n';
        return kExitUsage;
    }
    const int status = runBatch(*parsed.command, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout && status == kExitWritten) {
        std::cerr << kToolName << ": " << kStandardOutputFailed << '\n';
        return kExitInputOutput;
    }
    return status;
}
