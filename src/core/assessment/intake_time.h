#pragma once
// When an intake took place, relative to conception: an acute intake at a moment (days after
// conception, negative before it), or a chronic intake over one of the tabulated intervals.
// The tables hold eight acute moments and three chronic intervals (scenarios 1 to 11).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fetaldose::assessment {

// A year of 365.25 days and a month of a twelfth of it, so that "6 months" and "0.5 years"
// are the same moment; a week is 7 days.
inline constexpr double kDaysPerWeek = 7;
inline constexpr double kDaysPerYear = 365.25;
inline constexpr double kDaysPerMonth = kDaysPerYear / 12;

// Birth, for the dosimetric models of the tables: 38 weeks after conception (ICRP Publication
// 88, 2001, takes a gestation of 38 weeks). No intake after it reaches the embryo or fetus.
inline constexpr double kBirthDay = 38 * kDaysPerWeek;

// The acute scenarios' moments in days after conception, scenarios 1 to 8: 2.5 years and 6
// months before conception, at conception, and 5, 10, 15, 25 and 35 weeks after it.
inline constexpr std::array<double, 8> kAcuteScenarioDays = {
    -2.5 * kDaysPerYear, -6 * kDaysPerMonth, 0,
    5 * kDaysPerWeek,    10 * kDaysPerWeek,  15 * kDaysPerWeek,
    25 * kDaysPerWeek,   35 * kDaysPerWeek};
inline constexpr int kFirstChronicScenario = 9;
inline constexpr int kScenarioCount = 11;

struct IntakeTime {
    bool chronic = false;
    int chronicScenario = 0;         // 9 to 11, for a chronic intake
    double daysAfterConception = 0;  // for an acute intake; negative before conception
};

// Reads a time as the intakes file writes it: one of the eleven scenario texts of the tables
// (an acute one is its moment), "at conception", or "<number> <unit> after conception" /
// "<number> <unit> before conception" with the unit days, weeks, months or years (singular or
// plural) and a number with a point. Blanks around the words are free. Nothing for any other
// text, for a number that is not finite, or for an acute moment after birth (see
// acuteTimeProblem).
std::optional<IntakeTime> parseIntakeTime(std::string_view text);

// Why a time text cannot be read, in words, for a message ("" when it reads).
std::string intakeTimeProblem(std::string_view text);

// The moment of an intake on a date, in days after conception on another (dates as year,
// month 1-12, day 1-31; nothing for a date that does not exist).
std::optional<double> daysBetween(int conceptionYear, int conceptionMonth, int conceptionDay,
                                  int intakeYear, int intakeMonth, int intakeDay);

// A time text for an acute moment, as the intakes file reads it back ("at conception",
// "12 weeks after conception", "3 days before conception"): whole weeks where the days
// make them, otherwise days (with a point where they are not whole).
std::string acuteTimeText(double daysAfterConception);

// The scenario an acute moment is, when it is one of the tabulated moments (scenarios 1 to 8).
std::optional<int> tabulatedScenario(double daysAfterConception);

}  // namespace fetaldose::assessment
