// Fuzzes the intakes file reader on arbitrary bytes: what it reads must be written back as a
// file that reads as the same intakes, and every field must be safe to read as a time and a
// unit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/assessment/intake_time.h"
#include "core/assessment/intakes_file.h"
#include "core/assessment/units.h"

namespace {

fetaldose::assessment::IntakeList withoutLines(fetaldose::assessment::IntakeList list) {
    for (auto& intake : list.intakes) intake.line = 0;
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose::assessment;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IntakeList list;
    try {
        list = parseIntakes(bytes, "fuzz.csv");
    } catch (const IntakesFileError&) {
        return 0;
    }
    int previousLine = 0;
    for (const IntakeEntry& intake : list.intakes) {
        // Lines rise with the records, and every record has a place for each further column.
        if (intake.line <= previousLine) __builtin_trap();
        previousLine = intake.line;
        if (intake.extra.size() != list.extraColumns.size()) __builtin_trap();
        const auto time = parseIntakeTime(intake.time);
        if (time.has_value() != intakeTimeProblem(intake.time).empty()) __builtin_trap();
        if (time && !time->chronic && time->daysAfterConception > kBirthDay + 1) __builtin_trap();
        (void)activityUnitNamed(intake.unit);
    }
    const IntakeList back = parseIntakes(intakesFileText(list), "fuzz.csv");
    if (withoutLines(back) != withoutLines(list)) __builtin_trap();
    return 0;
}
