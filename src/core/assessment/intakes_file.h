#pragma once
// The intakes file: UTF-8 CSV (RFC 4180), a header row nuclide, exposure_group, intake_route,
// intake_time, activity, unit (further columns may follow and are kept), then one intake a
// line. Lines starting with '#' are comments and blank lines are skipped. The fields are kept
// as texts; the assessment reads them (see assessment.h), so that a bad one is named with its
// line and column there.

#include <string>
#include <string_view>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/text_reader.h"

namespace fetaldose::assessment {

// Far above any intakes file: a million intakes take some hundred megabytes.
inline constexpr InputCeiling kIntakesFileCeiling{"an intakes file", 256ULL * 1024 * 1024};

// One intake as entered.
struct IntakeEntry {
    int line = 0;  // its line in the intakes file (where its record starts); 0 when none
    std::string nuclide;
    std::string group;  // "Member of the public" or "Worker"
    std::string route;  // the route entry as the tables' route heading gives it
    std::string time;
    std::string activity;
    std::string unit;
    std::vector<std::string> extra;  // the further columns' fields, in order
    bool operator==(const IntakeEntry&) const = default;
};

struct IntakeList {
    std::vector<std::string> extraColumns;  // names of the further columns
    std::vector<IntakeEntry> intakes;
    bool operator==(const IntakeList&) const = default;
};

// An intakes file that cannot be read as one: "<file>: line <n>: <what is wrong>".
class IntakesFileError : public Fault {
  public:
    IntakesFileError(const std::string& file, int line, const std::string& problem);
};

// Reads the bytes of an intakes file; `fileName` names it in faults.
IntakeList parseIntakes(std::string_view bytes, const std::string& fileName);
// Reads the intakes file at `path`. Throws IoError, InputTooLarge, IntakesFileError.
IntakeList readIntakesFile(const std::string& path);

// The file's text: the header row, then each intake as one record, CR LF line ends, fields
// quoted where they must be. Reading it back gives the same intakes, their lines counted anew.
std::string intakesFileText(const IntakeList& intakes);
// Writes it by the safe save. Throws IoError.
void writeIntakesFile(const std::string& path, const IntakeList& intakes);

}  // namespace fetaldose::assessment
