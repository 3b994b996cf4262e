#pragma once
// fetaldose-batch: runs an options file on a data set and writes the tables, with no window.

#include <iosfwd>

#include "batch/command_line.h"

namespace fetaldose::batch {

enum ExitStatus : int {
    kExitWritten = 0,
    kExitRunStopped = 1,  // the program's stop message is on standard error
    kExitUsage = 2,
    kExitInputOutput = 3,  // an input or output error, with its file name
};

// Carries out a command. `out` gets listings and help, `err` every message; results written
// to "-" go to standard output (file descriptor 1) directly, after `out` is flushed.
int runBatch(const BatchCommand& command, std::ostream& out, std::ostream& err);

// The decimal separator of the user's locale, as the program takes it: '.' where the locale
// gives none or one that is not a single ASCII byte.
char localeDecimalSeparator();

}  // namespace fetaldose::batch
