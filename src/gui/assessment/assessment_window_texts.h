#pragma once
// The texts of the dose assessment window and of its report (UTF-8). The words of the
// assessment itself (problems, scenarios used, the limit check, the report's lines) are the
// core's (core/assessment/assessment_texts.h), so that the window and every file say the same.

namespace fetaldose::gui::assessment_texts {

inline constexpr char kWindowTitle[] = "Dose assessment";
inline constexpr char kUnsavedMark[] = " (not saved)";

// The intakes grid: its columns, in the order of the intakes file's, then the outcome.
inline constexpr char kIntakesHeading[] = "Intakes";
inline constexpr char kIntakesGridName[] = "Intakes";
inline constexpr const char* kIntakeColumnHeadings[] = {
    "Nuclide", "Exposure group", "Route entry", "Time of intake", "Activity", "Unit"};
inline constexpr char kOutcomeHeading[] = "Coefficients from, or what is wrong";
inline constexpr char kProblemMark[] = "Cannot be assessed: ";
inline constexpr char kTimeHint[] =
    "A scenario of the tables, or an acute time such as \"12 weeks after conception\", "
    "\"3 days after conception\", \"6 months before conception\" or \"at conception\"";
inline constexpr char kActivityHint[] = "A number with a point, 0 or more, for example 3.7E4";
inline constexpr char kCurrentBasis[] = "Intake %1: coefficients from %2";
inline constexpr char kCurrentProblem[] = "Intake %1: %2";
inline constexpr char kIntakesFromFile[] = "Intakes of %1, numbered by their line in it";
inline constexpr char kIntakesByRow[] = "Intakes numbered by their row (not saved in a file)";

inline constexpr char kAddIntake[] = "&Add intake";
inline constexpr char kRemoveIntake[] = "&Remove intake";
inline constexpr char kOpenIntakes[] = "&Open intakes\xE2\x80\xA6";
inline constexpr char kSaveIntakes[] = "&Save intakes\xE2\x80\xA6";

// An acute time from two dates.
inline constexpr char kDatesHeading[] = "Time from dates";
inline constexpr char kConceptionDate[] = "Date of &conception:";
inline constexpr char kIntakeDate[] = "&Intake date:";
inline constexpr char kSetTimeFromDates[] = "Set the &time of the selected intake";
inline constexpr char kDateFormat[] = "yyyy-MM-dd";
inline constexpr char kNoIntakeSelected[] = "Select the intake whose time the dates give";

// The settings.
inline constexpr char kSettingsHeading[] = "Settings";
inline constexpr char kDoseUnit[] = "Dose &unit:";
inline constexpr char kMethod[] = "&Method between tabulated times:";
inline constexpr char kConservative[] = "Conservative: the larger of the two times";
inline constexpr char kInterpolated[] = "Interpolated linearly in time";
inline constexpr char kExternalDose[] = "E&xternal dose to the embryo/fetus:";
inline constexpr char kExternalDoseName[] = "External dose to the embryo/fetus";
inline constexpr char kExternalUnitName[] = "Unit of the external dose";
inline constexpr char kExternalHint[] = "Already received; leave empty for none";
inline constexpr char kExternalNone[] = "none";
inline constexpr char kCustomLimitHint[] = "value";
inline constexpr char kLimit[] = "&Limit:";
inline constexpr char kCustomLimit[] = "A value of my own";
inline constexpr char kCustomLimitName[] = "Limit of my own";
inline constexpr char kCustomUnitName[] = "Unit of the limit of my own";
inline constexpr char kTissues[] = "T&issues shown:";
inline constexpr char kPeriods[] = "&Periods shown:";
// Why a dose the user typed cannot be used.
inline constexpr char kNotADose[] =
    "\"%1\" is not a dose: write a number with a point, 0 or more, for example 0.2";
inline constexpr char kLimitNotADose[] =
    "\"%1\" is not a limit: write a number with a point, above 0, for example 2";
inline constexpr char kLimitUncheckedExternal[] =
    "The limit cannot be checked: the external dose is not a dose";
inline constexpr char kLimitUncheckedCustom[] =
    "The limit cannot be checked: the limit of your own is not a dose above zero";

// The results.
inline constexpr char kResultsHeading[] = "Results";
inline constexpr char kTotalTab[] = "Total doses";
inline constexpr char kPerIntakeTab[] = "Doses per intake";
inline constexpr char kTotalTableName[] = "Total doses of all intakes assessed";
inline constexpr char kPerIntakeTableName[] = "Doses of each intake and their totals";
inline constexpr char kIntakeHeading[] = "Intake";
inline constexpr char kTissueHeading[] = "Tissue";
inline constexpr char kInUnit[] = " (%1)";
inline constexpr char kRoundingNote[] =
    "Doses are the activity in Bq times the coefficients (Sv per Bq), summed unrounded, and "
    "shown to the data's two significant figures.";
inline constexpr char kLeftOut[] =
    "%1 intake(s) cannot be assessed (see the intakes above): the totals leave out their doses.";
inline constexpr char kNoTissue[] = "No tissue is chosen: choose one or more to see doses.";
inline constexpr char kLimitCheckName[] = "Limit check";

inline constexpr char kExport[] = "&Export\xE2\x80\xA6";
inline constexpr char kPrint[] = "P&rint";
inline constexpr char kClose[] = "Close";

// The file dialogs.
inline constexpr char kOpenCaption[] = "Open intakes";
inline constexpr char kSaveCaption[] = "Save intakes";
inline constexpr char kExportCaption[] = "Export the assessment";
inline constexpr char kIntakesFileType[] = "Intakes file (*.csv)";
inline constexpr char kAnyFileType[] = "Any file (*)";
inline constexpr char kCsvFileType[] = "CSV (*.csv)";
inline constexpr char kXlsxFileType[] = "Excel workbook (*.xlsx)";
inline constexpr char kPdfFileType[] = "PDF report (*.pdf)";
inline constexpr char kDefaultIntakesName[] = "intakes.csv";
inline constexpr char kDefaultExportName[] = "assessment.csv";

// Asked before intakes that are not saved would be lost (opening another file, quitting).
inline constexpr char kDiscardUnsaved[] =
    "The dose assessment holds intakes that are not saved. Discard them?";
inline constexpr char kDiscardButton[] = "&Discard";

// Faults of the window's commands, shown in the error box.
inline constexpr char kCannotOpen[] = "The intakes file was not opened, the intakes are kept: %1";
inline constexpr char kSettingsUnusable[] = "Nothing is written until the settings are mended: %1";
inline constexpr char kPdfNotStarted[] = "The PDF report could not be started";

// The report (PDF and print).
inline constexpr char kReportTitle[] = "fetaldose: dose assessment";
inline constexpr char kAssessedHeading[] = "What was assessed, and how";

}  // namespace fetaldose::gui::assessment_texts
