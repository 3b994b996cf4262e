#pragma once
// The texts of the dose assessment: the intakes file's columns, the words of its times, the
// methods, the report's lines and every message.

#include <array>
#include <string_view>

namespace fetaldose::assessment {

// The intakes file's columns, in order; further columns may follow and are kept.
inline constexpr std::array<std::string_view, 6> kIntakeColumns = {
    "nuclide", "exposure_group", "intake_route", "intake_time", "activity", "unit"};
inline constexpr char kCommentMark = '#';

// The intakes file's faults.
inline constexpr std::string_view kLineWord = "line ";
inline constexpr std::string_view kNoHeader =
    "the file holds no header row (nuclide,exposure_group,intake_route,intake_time,activity,unit)";
inline constexpr std::string_view kWrongHeader =
    "the header row must begin nuclide,exposure_group,intake_route,intake_time,activity,unit";
inline constexpr std::string_view kUnclosedQuote = "a quoted field is not closed";
inline constexpr std::string_view kStrayQuote = "a quote inside a field that is not quoted";
inline constexpr std::string_view kAfterQuote = "text after the closing quote of a field";
inline constexpr std::string_view kTooFewFields = "the line holds fewer than the six fields";
inline constexpr std::string_view kTooManyFields = "the line holds more fields than the header";

// Times.
inline constexpr std::string_view kAtConception = "at conception";
inline constexpr std::string_view kAfterConception = "after conception";
inline constexpr std::string_view kBeforeConception = "before conception";
// Time units, each as one and as several.
inline constexpr std::array<std::array<std::string_view, 2>, 4> kTimeUnitWords = {
    {{"day", "days"}, {"week", "weeks"}, {"month", "months"}, {"year", "years"}}};

inline constexpr std::string_view kTimeUnreadable =
    "is not a time: write one of the scenarios of the tables, \"at conception\", or for example "
    "\"12 weeks after conception\", \"3 days after conception\", \"6 months before conception\" "
    "or \"1.5 years before conception\"";
inline constexpr std::string_view kTimeAfterBirth =
    "lies after birth (38 weeks after conception): the intake reaches no embryo or fetus";
inline constexpr std::string_view kTimeNotFinite = "holds a number that is too large";

// Exposure groups as the intakes file and the exports spell them (the tables' labels without
// their padding).
inline constexpr std::array<std::string_view, 2> kGroupNames = {"Member of the public", "Worker"};

// Why an intake cannot be assessed, by column.
inline constexpr std::string_view kNoNuclide = "no nuclide is given";
inline constexpr std::string_view kNotCatalogued = " is not in the catalogue of the data folder";
inline constexpr std::string_view kNoDataFile = " has no data file in the data folder";
inline constexpr std::string_view kDataFileFails = "its data file cannot be used: ";
inline constexpr std::string_view kNoCatalogue =
    "the data folder has no catalogue to look it up in";
inline constexpr std::string_view kUnknownGroup =
    " is not an exposure group: write \"Member of the public\" or \"Worker\"";
inline constexpr std::string_view kUnknownRoute = " is not a route entry the data file holds for ";
inline constexpr std::string_view kNoScenarioTable =
    "the data file holds no table of this route entry for the scenario ";
inline constexpr std::string_view kActivityNotNumber =
    " is not a number (write it with a point, for example 3.7E4)";
inline constexpr std::string_view kActivityNegative = " is negative: an activity is 0 or more";
inline constexpr std::string_view kActivityNotFinite = " is not a finite number";
inline constexpr std::string_view kActivityTooLarge = " is beyond the range of numbers";
inline constexpr std::string_view kActivityOverflows =
    " is too large: in becquerels it is beyond the range of numbers";
inline constexpr std::string_view kDosesOverflow =
    "the doses of this intake are beyond the range of numbers";
inline constexpr std::string_view kUnknownUnit =
    " is not a unit of activity: Bq, kBq, MBq, GBq, pCi, nCi, uCi (or \xC2\xB5"
    "Ci), mCi or Ci";
inline constexpr std::string_view kLimitUnchecked =
    "The limit cannot be checked: intakes that cannot be assessed would leave out their dose";
inline constexpr std::string_view kLimitNotPositive =
    "The limit cannot be checked: the limit is not a dose above zero";

// How the coefficients were taken, as every result says it.
inline constexpr std::string_view kLargerOf = "the larger, cell by cell, of: ";
inline constexpr std::string_view kInterpolatedBetween = "interpolated in time between: ";
inline constexpr std::string_view kScenarioJoin = " and ";
inline constexpr std::string_view kNearestEarliest =
    " (the nearest tabulated time: the intake is earlier than the earliest)";
inline constexpr std::string_view kNearestLatest =
    " (the nearest tabulated time: the intake is later than the latest)";

// The report of an assessment: its columns, its lines and its sheet.
inline constexpr std::string_view kIntakeColumn = "intake";
inline constexpr std::string_view kTissueColumn = "tissue";
inline constexpr std::string_view kInUteroPrefix = "in_utero_";
inline constexpr std::string_view kPostNatalPrefix = "postnatal_";
inline constexpr std::string_view kOffspringPrefix = "offspring_";
inline constexpr std::string_view kTotalRow = "total";
inline constexpr const char* kDoseSheet = "Doses";
inline constexpr const char* kDoseFormat = "0.0E+00";

inline constexpr std::string_view kAssessmentLine =
    "Dose assessment: doses to the embryo/fetus (in utero) and to the offspring (in utero plus "
    "post-natal, to each integration period) from the intakes below";
inline constexpr std::string_view kIntakesFileLabel = "Intakes file: ";
inline constexpr std::string_view kDoseUnitLabel = "Dose unit: ";
inline constexpr std::string_view kMethodLabel = "Method: ";
inline constexpr std::string_view kLargerMethod =
    "an acute intake between two tabulated times takes, cell by cell, the larger of the two "
    "times' coefficients (conservative)";
inline constexpr std::string_view kInterpolatedMethod =
    "an acute intake between two tabulated times takes the coefficients interpolated linearly in "
    "time between the two times' (interpolated)";
inline constexpr std::string_view kNearestMethod =
    "; one before the earliest or after the latest tabulated time takes the nearest";
inline constexpr std::string_view kRoundingLine =
    "Rounding: each dose is the activity in Bq times the coefficients' numbers (Sv per Bq), "
    "products and sums unrounded; each is rounded once, to the two significant figures of the "
    "data, where it is shown";
inline constexpr std::string_view kIntakeLabel = "Intake (line ";
inline constexpr std::string_view kCoefficientsLabel = "; coefficients: ";
inline constexpr std::string_view kExternalLabel = "External dose to the embryo/fetus: ";
inline constexpr std::string_view kNoExternal = "none given";
inline constexpr std::string_view kLimitLabel = "Limit: ";
inline constexpr std::string_view kInternalEffectiveLabel =
    "Effective dose in utero from the intakes: ";
inline constexpr std::string_view kTotalEffectiveLabel =
    "Effective dose to the embryo/fetus with the external dose: ";
inline constexpr std::string_view kOfTheLimit = " of the limit of ";
inline constexpr std::string_view kWithinLimit = "Within the limit";
inline constexpr std::string_view kExceedsLimit = "EXCEEDS the limit";
inline constexpr std::string_view kTotalDosesHeading = "Total doses";
inline constexpr std::string_view kIntakeDosesHeading = "Doses of intake ";
inline constexpr std::string_view kInUteroHeading = "In utero";
inline constexpr std::string_view kPostNatalHeading = "Post-natal ";
inline constexpr std::string_view kOffspringHeading = "Offspring ";
inline constexpr std::string_view kUnassessed =
    " intake(s) cannot be assessed; nothing is written until each one can: ";

}  // namespace fetaldose::assessment
