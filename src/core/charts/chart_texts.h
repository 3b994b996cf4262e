#pragma once
// The texts of the charts: axis titles, category labels of the intake times, dose names and
// the notes about what a chart cannot draw.

#include <array>
#include <string_view>

namespace fetaldose::charts::texts {

// Acute scenario s (1 to 8) sits on the time axis at kIntakeTimeLabels[s - 1]: conception at
// 0, years (y), months (mo) or weeks (wk) before it (-) or after it (+).
inline constexpr std::array<std::string_view, 8> kIntakeTimeLabels = {
    "-2.5 y", "-6 mo", "0", "+5 wk", "+10 wk", "+15 wk", "+25 wk", "+35 wk"};

inline constexpr std::string_view kIntakeTimeAxis = "Time of intake, relative to conception";
inline constexpr std::string_view kPeriodAxis = "Integration period";
inline constexpr std::string_view kNuclideAxis = "Nuclide";
inline constexpr std::string_view kDoseAxis = "Sv per Bq";

// What the y values are: the in-utero dose, or a period's offspring or post-natal dose.
inline constexpr std::string_view kInUteroDose = "In utero dose";
inline constexpr std::string_view kOffspringDose = "Offspring dose (in utero + post-natal)";
inline constexpr std::string_view kPostNatalDose = "Post-natal dose";
inline constexpr std::string_view kPeriodJoin = ", period ";

// Series of the dose against the integration period: one of each per tissue.
inline constexpr std::string_view kOffspringSeriesSuffix = ", offspring";
inline constexpr std::string_view kPostNatalSeriesSuffix = ", post-natal";
inline constexpr std::string_view kPeriodLineKey =
    "Solid lines: offspring dose (in utero + post-natal); dashed lines: post-natal dose";

inline constexpr std::string_view kVapourEntry = "vapour ";
inline constexpr std::string_view kDuplicateMark = " #";

// Notes under a chart.
inline constexpr std::string_view kNoTable = "There is no table in this run to chart.";
inline constexpr std::string_view kNoTissue = "Choose a tissue to chart.";
inline constexpr std::string_view kNoAcuteScenario =
    "The run has no acute intake for this nuclide, exposure group and route: there is no "
    "time of intake to chart.";
inline constexpr std::string_view kChronicTableShown =
    "The table on show is a chronic intake; the chart shows the acute intakes of its "
    "nuclide, exposure group and route.";
inline constexpr std::string_view kSinglePoint =
    "The run holds one value per line here: each line is a single point.";
inline constexpr std::string_view kLeftOutPrefix =
    "Left out, as a logarithmic axis cannot show zero or less: ";
inline constexpr std::string_view kLeftOutMore = " and %d more";
inline constexpr std::string_view kNothingPositive =
    "No value of this chart is above zero, so none can be drawn on the logarithmic axis.";
inline constexpr std::string_view kNotANumber = "not a number";
inline constexpr std::string_view kBarsCut =
    "The run gives %d bars; the chart draws the first %d. The Values tab lists them all.";
inline constexpr std::string_view kNoMatchingNuclide =
    "No other nuclide of the run has a table for this exposure group, route and scenario.";

}  // namespace fetaldose::charts::texts
