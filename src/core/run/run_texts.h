#pragma once
// The fixed texts of a run: stop messages, heading texts and summary lines.

#include <array>
#include <string_view>

namespace fetaldose {

// Stop messages of the run, in the order the checks make them.
inline constexpr std::string_view kSelectNuclideMessage = "Please select a nuclide";
inline constexpr std::string_view kSelectGroupMessage = "Please select an exposure group";
inline constexpr std::string_view kSelectRouteMessage = "Please select an intake route(s)";
inline constexpr std::string_view kSelectScenarioMessage = "Please select a scenario(s)";
inline constexpr std::string_view kSelectAerosolMessage = "Please select an aerosol size(s)";
inline constexpr std::string_view kSelectTissueMessage = "Please select a tissue(s) for output";
inline constexpr std::string_view kSelectPeriodMessage = "Please select an integration period(s)";
inline constexpr std::string_view kMissingNuclideFileMessage = "Cannot find the nuclide file";
// A data file read twice in one run (a nuclide chosen twice, or read once to count the tables
// and again to write them) that held other bytes the second time.
inline constexpr std::string_view kChangedDuringRun =
    "the file changed while the run read it, so its tables would not match its digest; run "
    "again once nothing is writing to the data folder";

// Aerosol size a (1 to 10) is labelled kAerosolLabels[a - 1].
inline constexpr std::array<std::string_view, 10> kAerosolLabels = {
    "0.001 microns AMAD", "0.003 microns AMAD", "0.01 microns AMAD", "0.03 microns AMAD",
    "0.1 microns AMAD",   "0.3 microns AMAD",   "1.0 microns AMAD",  "3.0 microns AMAD",
    "5.0 microns AMAD",   "10.0 microns AMAD"};

// Exposure group g (1 public, 2 worker) is labelled kGroupLabels[g - 1]; the worker's leading
// blank belongs to the label.
inline constexpr std::array<std::string_view, 2> kGroupLabels = {"Member of the public", " Worker"};

// Scenario s (1 to 11) is described by kScenarioTexts[s - 1].
inline constexpr std::array<std::string_view, 11> kScenarioTexts = {
    "Acute intake (1Bq) 2.5 years prior to conception",
    "Acute intake (1Bq) 6 months prior to conception",
    "Acute intake (1Bq) at conception",
    "Acute intake (1Bq) 5 weeks after conception",
    "Acute intake (1Bq) 10 weeks after conception",
    "Acute intake (1Bq) 15 weeks after conception",
    "Acute intake (1Bq) 25 weeks after conception",
    "Acute intake (1Bq) 35 weeks after conception",
    "Constant chronic intake (1Bq total) from 5 years before until conception",
    "Constant chronic intake (1Bq total) from 1 year before until conception",
    "Constant chronic intake (1Bq total) from conception to birth"};

// Where the scenarios lie in time, for charts that place them on a time axis: scenario s (1 to
// 11) runs from kScenarioFromDays[s - 1] to kScenarioToDays[s - 1] days after conception
// (negative before it), one moment for an acute intake (scenarios 1 to 8), an interval for a
// chronic one (9 to 11). Their own namespace keeps these names apart from the dose assessment's.
namespace scenario_time {
// A year of 365.25 days and a month of a twelfth of it, so "6 months" is half of "1 year".
inline constexpr double kDaysPerWeek = 7;
inline constexpr double kDaysPerYear = 365.25;
inline constexpr double kDaysPerMonth = kDaysPerYear / 12;
// Birth 38 weeks after conception, the gestation the tables' dosimetric models take.
inline constexpr double kBirthDay = 38 * kDaysPerWeek;
inline constexpr std::array<double, 11> kScenarioFromDays = {-2.5 * kDaysPerYear,
                                                             -6 * kDaysPerMonth,
                                                             0,
                                                             5 * kDaysPerWeek,
                                                             10 * kDaysPerWeek,
                                                             15 * kDaysPerWeek,
                                                             25 * kDaysPerWeek,
                                                             35 * kDaysPerWeek,
                                                             -5 * kDaysPerYear,
                                                             -1 * kDaysPerYear,
                                                             0};
inline constexpr std::array<double, 11> kScenarioToDays = {-2.5 * kDaysPerYear,
                                                           -6 * kDaysPerMonth,
                                                           0,
                                                           5 * kDaysPerWeek,
                                                           10 * kDaysPerWeek,
                                                           15 * kDaysPerWeek,
                                                           25 * kDaysPerWeek,
                                                           35 * kDaysPerWeek,
                                                           0,
                                                           0,
                                                           kBirthDay};
}  // namespace scenario_time

// The length of integration period j (1 to 5) in years after birth, as kPeriodLabels names it.
inline constexpr std::array<double, 5> kPeriodYears = {1, 5, 10, 20, 70};

// Pieces of the heading lines.
inline constexpr std::string_view kHalfLifeJoin = ", half-life is ";
inline constexpr std::string_view kInhalationTypePrefix = "Inhalation: Type ";
inline constexpr std::string_view kF1Join = ", f1 = ";
inline constexpr std::string_view kAerosolJoin = ", ";
inline constexpr std::string_view kIngestionPrefix = "Ingestion: f1 = ";

// Summary lines. The markers are matched as whole lines, with case.
inline constexpr std::string_view kBelowThresholdMarker = "ltzero";
inline constexpr std::string_view kSameDoseMarker = "All";
inline constexpr std::string_view kBelowThresholdSummary = "Doses are all less than 1.0E-15";
inline constexpr std::string_view kSameDoseSummary = "All tissues received the same dose";
inline constexpr std::string_view kHighestDosePrefix = "Highest dose is to: ";
inline constexpr std::string_view kHighestDoseJoin = ", ";

}  // namespace fetaldose
