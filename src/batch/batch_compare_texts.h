#pragma once
// The texts of `fetaldose-batch compare`: its usage, its help and its own messages. The
// summary it prints and the messages naming a side come from the core's comparison.

#include <string_view>

namespace fetaldose::batch {

inline constexpr std::string_view kCompareCommandName = "compare";

inline constexpr std::string_view kCompareUsage =
    "Usage: fetaldose-batch compare [--data REF] --with CAND (--options FILE.opt | --all)\n"
    "                               [--threshold T] [--out FILE.csv|FILE.xlsx|-] [--decimal .|,]\n";

inline constexpr std::string_view kCompareHelp =
    "Compares two data sets value by value: runs the selection of an options file (or\n"
    "everything the two data sets hold) on both, matches the tables by nuclide, exposure group,\n"
    "route entry, aerosol size and scenario, and each cell by tissue and period.\n"
    "\n"
    "  --data REF        the reference data folder, holding nuclides.txt (default ./data)\n"
    "  --with CAND       the candidate data folder, holding nuclides.txt\n"
    "  --options FILE    the options file whose selection is compared (loaded on REF)\n"
    "  --all             every nuclide with a data file on either side, every box checked\n"
    "  --threshold T     a cell counts as changed when |candidate/reference - 1| > T\n"
    "                    (default 0: any change)\n"
    "  --out FILE        the comparison as .csv or .xlsx, with the provenance of both\n"
    "                    folders; without it (or with -) the summary goes to standard output\n"
    "  --decimal SEP     the decimal separator the runs read the doses with (default: the\n"
    "                    locale's)\n"
    "\n"
    "Exit status: 0 the compared values agree within the threshold, 4 they differ (a cell\n"
    "beyond the threshold, new or gone, or a table on one side only), 1 a side cannot run\n"
    "the selection, 2 wrong usage, 3 an input or output error.\n";

inline constexpr std::string_view kCompareNeedsCandidate = "compare needs --with CAND";
inline constexpr std::string_view kCompareOneSelection =
    "compare needs one of --options FILE and --all";
inline constexpr std::string_view kCompareOutFormats =
    "the comparison is written as .csv or .xlsx, or - for the summary (not '";
inline constexpr std::string_view kCompareThresholdIs =
    "the threshold is a number, 0 or more (not '";
inline constexpr std::string_view kCompareCancelled = "the comparison was cancelled";
inline constexpr std::string_view kNoMemoryForCompare =
    "Not enough memory to compare the data sets";
inline constexpr std::string_view kTryCompareHelp = "Try 'fetaldose-batch compare --help'.";

}  // namespace fetaldose::batch
