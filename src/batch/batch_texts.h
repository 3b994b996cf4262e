#pragma once
// The batch tool's own texts: its usage, its help and the lines it adds to the program's
// messages. The program's messages themselves come from the core, unchanged.

#include <string_view>

namespace fetaldose::batch {

inline constexpr std::string_view kToolName = "fetaldose-batch";

inline constexpr std::string_view kUsage =
    "Usage: fetaldose-batch [--data DIR] --options FILE.opt --out FILE [--format dos|csv|xlsx]\n"
    "                       [--decimal .|,]\n"
    "       fetaldose-batch [--data DIR] --list\n"
    "       fetaldose-batch compare [--data REF] --with CAND (--options FILE.opt | --all) ...\n"
    "       fetaldose-batch --version | --help\n";

inline constexpr std::string_view kHelp =
    "Runs a selection saved as an options file on a data set and writes every table of the\n"
    "run, as the program's \"Save to file\" writes them.\n"
    "\n"
    "  --data DIR        the folder holding nuclides.txt and the data files (default ./data)\n"
    "  --options FILE    the options file to run\n"
    "  --out FILE        where to write the tables; - writes them to standard output\n"
    "  --format FORMAT   dos (the results file), csv or xlsx; by default the output name's\n"
    "                    extension decides (.csv, .xlsx), and any other name is dos\n"
    "  --decimal SEP     the decimal separator of the doses, . or , (default: the locale's)\n"
    "  --list            lists the catalogue: name, half-life and whether a data file exists\n"
    "  --version         prints the version\n"
    "  --help            prints this help\n"
    "\n"
    "Exit status: 0 written, 1 the run stopped (the program's message on standard error),\n"
    "2 wrong usage, 3 an input or output error (the message with its file name).\n"
    "\n"
    "fetaldose-batch compare compares two data sets value by value and exits with 4 when\n"
    "they differ ('fetaldose-batch compare --help' tells more).\n";

// Wrong usage.
inline constexpr std::string_view kOptionPrefix = "option ";
inline constexpr std::string_view kTakesNoValue = " takes no value";
inline constexpr std::string_view kGivenTwice = " given twice";
inline constexpr std::string_view kNeedsAValue = " needs a value";
inline constexpr std::string_view kUnknownArgument = "unknown argument '";
inline constexpr std::string_view kOneModeOnly =
    "give only one of --options, --list, --version and --help";
inline constexpr std::string_view kNoMode = "give --options FILE --out FILE, or --list";
inline constexpr std::string_view kRunOptionsAlone =
    "--out, --format and --decimal go with --options";
inline constexpr std::string_view kDataNeedsFolder = "option --data needs a folder";
inline constexpr std::string_view kOptionsNeedOut =
    "option --options needs --out FILE (- for standard output)";
inline constexpr std::string_view kEmptyFileName = "a file name is empty";
inline constexpr std::string_view kUnknownFormat = "unknown format '";
inline constexpr std::string_view kFormatsAre = "' (dos, csv or xlsx)";
inline constexpr std::string_view kDecimalIs = "the decimal separator is . or , (not '";

inline constexpr std::string_view kTryHelp = "Try 'fetaldose-batch --help'.";

// --list: whether a catalogued nuclide has its data file.
inline constexpr std::string_view kDataFilePresent = "present";
inline constexpr std::string_view kDataFileMissing = "missing";
inline constexpr std::string_view kDataFileNotRegular = "not a regular file";

// A dose field of a data file that is no number, in words.
inline constexpr std::string_view kEmptyDoseField =
    "a dose field is empty where a number belongs (a value line is missing or ends early)";
inline constexpr std::string_view kBlankDoseField = "a dose field is blank where a number belongs";
inline constexpr std::string_view kDoseFieldPrefix = "the dose field \"";
inline constexpr std::string_view kDoseFieldSuffix = "\" is not a number";

// Out of memory, whatever the input.
inline constexpr std::string_view kNoMemoryForList = "Not enough memory to list the catalogue";
inline constexpr std::string_view kNoMemoryForRun = "Not enough memory to run the options file";

inline constexpr std::string_view kNoDataFolder = "no such data folder";
inline constexpr std::string_view kStandardOutput = "standard output";
inline constexpr std::string_view kStandardOutputPath = "/dev/stdout";
inline constexpr std::string_view kStandardOutputFailed = "standard output: write failed";
inline constexpr std::string_view kWarning = "warning: ";
inline constexpr std::string_view kExpected = "expected ";
inline constexpr std::string_view kFound = ", found ";
inline constexpr std::string_view kEndsBefore = "the file ends before this line; ";
inline constexpr std::string_view kReadAsNo = " is read as \"no\"; ";
inline constexpr std::string_view kLaterFlagsNo = "this and every later flag read as \"no\"; ";
inline constexpr std::string_view kSkippedAsLabel = " is skipped as the section label; ";

}  // namespace fetaldose::batch
