// fetaldose-batch: the program's run and results file, the dose assessment and the comparison
// of two data sets from the command line, linked to the core alone.

#include <malloc.h>

#include <iostream>
#include <string>
#include <vector>

#include "batch/assess_command.h"
#include "batch/batch_compare_texts.h"
#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "batch/command_line.h"
#include "batch/compare_command.h"

namespace {

// A command's status, once what it wrote to standard output is out.
int finished(int status) {
    using namespace fetaldose::batch;
    std::cout.flush();
    if (!std::cout && status == kExitWritten) {
        std::cerr << kToolName << ": " << kStandardOutputFailed << '\n';
        return kExitInputOutput;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fetaldose::batch;
    // A run over many data files allocates and frees each nuclide's bytes, tables and output
    // blocks (a megabyte or so) in turn. Kept in the heap and reused, rather than mapped and
    // unmapped each time, they cost no page faults after the first nuclides; the peak stays
    // that of the few nuclides held at once.
    ::mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == kCompareCommandName)
        return finished(
            compareMain({arguments.begin() + 1, arguments.end()}, std::cout, std::cerr));
    if (!arguments.empty() && arguments[0] == "assess") {
        const ParsedAssessCommand assess =
            parseAssessCommand({arguments.begin() + 1, arguments.end()});
        if (!assess.command) {
            std::cerr << kToolName << ": " << assess.usageError << '\n'
                      << kAssessUsage << kTryAssessHelp << '\n';
            return kExitUsage;
        }
        return finished(runAssess(*assess.command, std::cout, std::cerr));
    }
    const ParsedCommand parsed = parseCommandLine(arguments);
    if (!parsed.command) {
        std::cerr << kToolName << ": " << parsed.usageError << '\n' << kUsage << kTryHelp << '\n';
        return kExitUsage;
    }
    return finished(runBatch(*parsed.command, std::cout, std::cerr));
}
