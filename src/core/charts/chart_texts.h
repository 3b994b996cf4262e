#pragma once
// The texts of the charts: axis titles, category labels of the intake times, dose names and
// the notes about what a chart cannot draw.

#include <array>
#include <string_view>

namespace fetaldose::charts::texts {

// Scenario s (1 to 11) is called kIntakeTimeLabels[s - 1] in the values table and a pointer's
// text: conception at 0, years (y), months (mo) or weeks (wk) before it (-) or after it (+); a
// chronic intake by its interval.
inline constexpr std::array<std::string_view, 11> kIntakeTimeLabels = {
    "-2.5 y", "-6 mo",  "0",         "+5 wk",     "+10 wk",    "+15 wk",
    "+25 wk", "+35 wk", "-5 y to 0", "-1 y to 0", "0 to birth"};

inline constexpr std::string_view kIntakeTimeAxis = "Time of intake, relative to conception";
inline constexpr std::string_view kPeriodAxis = "Integration period";
inline constexpr std::string_view kNuclideAxis = "Nuclide";
inline constexpr std::string_view kDoseAxis = "Sv per Bq";
inline constexpr std::string_view kLogarithmicDoseAxis = "Sv per Bq (logarithmic scale)";
inline constexpr std::string_view kLinearDoseAxis = "Sv per Bq (linear scale)";

// The pieces of the time-of-intake axis and of the period axis, and their tick labels.
inline constexpr std::string_view kBeforeConceptionPiece =
    "before conception, in years (compressed scale)";
inline constexpr std::string_view kPregnancyPiece = "pregnancy, in weeks after conception";
inline constexpr std::string_view kPregnancyOnlyPiece = "weeks after conception";
inline constexpr std::string_view kYearsBeforeTick = "-%d y";
inline constexpr std::string_view kSixMonthsBeforeTick = "-6 mo";
inline constexpr std::string_view kConceptionTick = "0";
inline constexpr std::string_view kWeeksAfterTick = "+%d wk";
inline constexpr std::string_view kBirthTick = "birth";
inline constexpr std::string_view kPeriodPiece = "years after birth (logarithmic scale)";

// The legend's key to the marks.
inline constexpr std::string_view kAcuteKey = "acute intake (1 Bq) at its time";
inline constexpr std::string_view kChronicKey = "chronic intake (1 Bq in all) over its interval";
inline constexpr std::string_view kOffspringKey = "offspring dose (in utero + post-natal)";
inline constexpr std::string_view kPostNatalKey = "post-natal dose";

// What the y values are: the in-utero dose, or a period's offspring or post-natal dose.
inline constexpr std::string_view kInUteroDose = "In utero dose";
inline constexpr std::string_view kOffspringDose = "Offspring dose (in utero + post-natal)";
inline constexpr std::string_view kPostNatalDose = "Post-natal dose";
inline constexpr std::string_view kPeriodJoin = ", period ";

// Series of the dose against the integration period: one of each per tissue.
inline constexpr std::string_view kOffspringSeriesSuffix = ", offspring";
inline constexpr std::string_view kPostNatalSeriesSuffix = ", post-natal";
inline constexpr std::string_view kVapourEntry = "vapour ";
inline constexpr std::string_view kDuplicateMark = " #";

// Notes under a chart.
inline constexpr std::string_view kNoTable = "There is no table in this run to chart.";
inline constexpr std::string_view kNoTissue = "Choose a tissue to chart.";
inline constexpr std::string_view kNoAcuteScenario =
    "The run has no acute intake for this nuclide, exposure group and route: there is no "
    "time of intake to chart.";
inline constexpr std::string_view kSinglePoint =
    "The run holds one value per line here: each line is a single point.";
inline constexpr std::string_view kLeftOutPrefix =
    "Left out, as a logarithmic axis cannot show zero or less: ";
inline constexpr std::string_view kLeftOutMore = " and %d more";
inline constexpr std::string_view kNothingPositive =
    "No value of this chart is above zero, so none can be drawn on the logarithmic axis. "
    "Choose the linear dose axis to draw them.";
inline constexpr std::string_view kNotANumber = "not a number";
inline constexpr std::string_view kLeftOutNotNumbers = "Left out, as no axis can place them: ";
inline constexpr std::string_view kTissuesNotDrawn =
    "Not drawn: %s. Tick them under Tissues beside the chart to draw them.";
inline constexpr std::string_view kOneTissueAtATime =
    "The chart shows one tissue of the run; choose another under Tissue beside the chart.";
inline constexpr std::string_view kBarsCut =
    "The run gives %d nuclide entries; the chart draws the first %d. The Values tab lists them "
    "all.";

// The values as CSV.
inline constexpr std::string_view kCsvComment = "# ";
inline constexpr std::string_view kCsvDoseNote =
    "# Doses in Sv per Bq as the tables give them, written with the full stop";
inline constexpr std::string_view kNoMatchingNuclide =
    "No other nuclide of the run has a table for this exposure group, route and scenario.";

}  // namespace fetaldose::charts::texts
