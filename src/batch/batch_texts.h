#pragma once
// The batch tool's own texts: its usage, its help and the lines it adds to the program's
// messages. The program's messages themselves come from the core, unchanged.

#include <string_view>

namespace fetaldose::batch {

inline constexpr std::string_view kToolName = "fetaldose-batch";
// The stages of a run the progress line names: counting and digesting the tables (the CSV's
// head needs both), and writing them.
inline constexpr std::string_view kProgressReading = "Reading";
inline constexpr std::string_view kProgressWriting = "Writing";
// The workbook's last step, which the spreadsheet library takes without telling how far it is.
inline constexpr std::string_view kProgressPacking = "Packing and checking the workbook";

inline constexpr std::string_view kUsage =
    "Usage: fetaldose-batch [--data DIR] --options FILE.opt --out FILE [--format dos|csv|xlsx]\n"
    "                       [--decimal .|,] [--progress]\n"
    "       fetaldose-batch [--data DIR] --list\n"
    "       fetaldose-batch assess [--data DIR] --intakes FILE.csv --out FILE|- [options]\n"
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
    "  --progress        shows the run's progress on standard error also when it is not a\n"
    "                    terminal (on a terminal it is shown anyway), a line a second\n"
    "  --list            lists the catalogue: name, half-life and whether a data file exists\n"
    "  --version         prints the version\n"
    "  --help            prints this help\n"
    "\n"
    "Exit status: 0 written, 1 the run stopped (the program's message on standard error),\n"
    "2 wrong usage, 3 an input or output error (the message with its file name).\n"
    "\n"
    "fetaldose-batch assess assesses the doses of an intakes file ('fetaldose-batch assess\n"
    "--help' tells more). fetaldose-batch compare compares two data sets value by value and\n"
    "exits with 4 when they differ ('fetaldose-batch compare --help' tells more).\n";

// fetaldose-batch assess.
inline constexpr std::string_view kAssessUsage =
    "Usage: fetaldose-batch assess [--data DIR] --intakes FILE.csv --out FILE|-\n"
    "                              [--format csv|xlsx|text] [--unit UNIT] [--limit LIMIT]\n"
    "                              [--external DOSE] [--method conservative|interpolated]\n"
    "                              [--tissues LIST] [--periods LIST]\n";
inline constexpr std::string_view kAssessHelp =
    "Assesses the intakes of an intakes file on a data set: the doses to the embryo/fetus (in\n"
    "utero) and to the offspring (in utero plus post-natal), per intake and summed, and the\n"
    "in-utero effective dose, with any external dose, against a limit.\n"
    "\n"
    "  --data DIR        the folder holding nuclides.txt and the data files (default ./data)\n"
    "  --intakes FILE    the intakes file (CSV: nuclide,exposure_group,intake_route,\n"
    "                    intake_time,activity,unit; see the manual page)\n"
    "  --out FILE        where to write: .csv and .xlsx by their extension, any other name\n"
    "                    a plain-text summary; - writes the summary to standard output\n"
    "  --format FORMAT   csv, xlsx or text, whatever the name's extension\n"
    "  --unit UNIT       the unit of the doses: Sv, mSv (default), uSv, rem or mrem\n"
    "  --limit LIMIT     pregnancy (5 mSv, the default), after-declaration (0.5 mSv),\n"
    "                    icrp-2007 (1 mSv), monthly (0.5 mSv), or a dose such as 2mSv\n"
    "  --external DOSE   external dose to the embryo/fetus already received, such as 0.2mSv\n"
    "  --method METHOD   for an acute intake between two tabulated times: conservative (the\n"
    "                    larger coefficient, cell by cell; the default) or interpolated\n"
    "  --tissues LIST    the tissue rows to write, by name, separated by ';' (default all)\n"
    "  --periods LIST    the periods to write: 1y, 5y, 10y, 20y, 70y, separated by ',' or ';'\n"
    "                    (default all)\n"
    "\n"
    "Exit status: 0 written, 2 wrong usage, 3 an input or output error: an intake that cannot\n"
    "be assessed (named with its line and column), a data file that cannot be used, or a\n"
    "file that cannot be written. Nothing is written unless every intake is assessed.\n";
inline constexpr std::string_view kTryAssessHelp = "Try 'fetaldose-batch assess --help'.";
inline constexpr std::string_view kAssessNeeds =
    "give --intakes FILE and --out FILE (- for the summary)";
inline constexpr std::string_view kUnknownDoseUnit =
    "' is not a dose unit (Sv, mSv, uSv, rem or mrem)";
inline constexpr std::string_view kNotADose =
    "' is not a dose: write a number and a unit, such as 0.2mSv";
inline constexpr std::string_view kUnknownLimit =
    "' is not a limit: pregnancy, after-declaration, icrp-2007, monthly, or a dose such as 2mSv";
inline constexpr std::string_view kUnknownMethod =
    "' is not a method: conservative or interpolated";
inline constexpr std::string_view kUnknownTissue = "' is not a tissue row";
inline constexpr std::string_view kUnknownPeriod = "' is not a period: 1y, 5y, 10y, 20y or 70y";
inline constexpr std::string_view kUnknownAssessFormat = "' is not a format: csv, xlsx or text";
inline constexpr std::string_view kMoreProblems = " more intake(s) cannot be assessed";
inline constexpr std::string_view kNoMemoryForAssessment = "Not enough memory for the assessment";

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
    "--out, --format, --decimal and --progress go with --options";
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
