#pragma once
// The texts the exported files carry: column names, provenance lines and messages.

#include <array>
#include <string_view>

namespace fetaldose {

// Column names of the table columns, in order; the dose columns follow them.
inline constexpr std::array<std::string_view, 6> kExportTextColumns = {
    "nuclide", "half_life", "exposure_group", "intake_route", "intake_scenario", "tissue"};
inline constexpr std::string_view kInUteroColumn = "in_utero_Sv_per_Bq";
// A period's dose columns: prefix, the period's label without blanks (e.g. "5y"), suffix.
inline constexpr std::string_view kPostNatalColumnPrefix = "postnatal_";
inline constexpr std::string_view kOffspringColumnPrefix = "offspring_";
inline constexpr std::string_view kDoseColumnSuffix = "_Sv_per_Bq";

// The spreadsheet's sheets and the number format of its dose cells (two significant figures,
// as the tables give them).
inline constexpr const char* kDoseSheetName = "Dose coefficients";
inline constexpr const char* kProvenanceSheetName = "Provenance";
// The provenance line of a workbook whose doses go on over several sheets.
inline constexpr std::string_view kDoseSheetsLabel = "Sheets of dose coefficients";
inline constexpr std::string_view kDoseSheetsNote =
    ", each with the header row; a table is never split between two";
inline constexpr const char* kDoseNumberFormat = "0.0E+00";

// Provenance lines: "<label>: <value>". (The options file has section labels of its own in this
// namespace; a label here never takes one of their names, or one would silently replace the
// other at link time.) Lists are joined with "; " so that a line holds no
// comma of its own and stays one field in a CSV file.
inline constexpr std::string_view kProgramDescription =
    ": dose coefficients in Sv per Bq to the embryo and fetus and to the offspring";
inline constexpr std::string_view kSyntheticWarning =
    "WARNING: the data folder holds the generated sample data set. Its dose coefficients are "
    "synthetic and must not be used for any dose assessment.";
inline constexpr std::string_view kExportedLabel = "Exported";
inline constexpr std::string_view kTablesLabel = "Tables";
inline constexpr std::string_view kDataFolderLabel = "Data folder";
inline constexpr std::string_view kDigestLabel = "SHA-256 of ";
inline constexpr std::string_view kUnreadableFile = "cannot be read: ";
// Said after a file's digest when the file on disk is no longer the one the run read; the
// digest stays that of the bytes the values come from.
inline constexpr std::string_view kNoteLabel = "Note";
inline constexpr std::string_view kFileDiffersNow =
    " on disk now differs from the bytes these values were made from (the digest above is of "
    "those bytes)";
inline constexpr std::string_view kFileGoneNow =
    " is gone from the data folder or cannot be read since these values were made from it (the "
    "digest above is of the bytes read then)";
inline constexpr std::string_view kNuclidesLabel = "Nuclides";
inline constexpr std::string_view kHalfLifeOpen = " (half-life ";
inline constexpr std::string_view kGroupsLabel = "Exposure groups";
inline constexpr std::string_view kRoutesLineLabel = "Intake routes";
inline constexpr std::string_view kAerosolLineLabel = "Aerosol sizes";
inline constexpr std::string_view kScenariosLabel = "Intake scenarios";
inline constexpr std::string_view kTissuesLineLabel = "Tissues";
inline constexpr std::string_view kPeriodsLabel = "Integration periods";
inline constexpr std::string_view kSeparatorLabel = "Decimal separator of the run";
inline constexpr std::string_view kSeparatorNote = " (the values here use the full stop)";
inline constexpr std::string_view kNoneChosen = "none";
inline constexpr std::string_view kListJoin = "; ";
inline constexpr std::string_view kValueJoin = ": ";
// Route names, as the selection window's boxes call them: ingestion, particulates, vapours.
inline constexpr std::array<std::string_view, 3> kRouteNames = {
    "Ingestion", "Inhalation - particulates", "Inhalation - vapours"};

// Said when asked to export in a format the core does not write as a sheet (the results file,
// the report).
inline constexpr std::string_view kNotAnExportFormat = "not an export format: ";

// A sheet holds at most this many rows, the header row included.
inline constexpr long kSheetRowLimit = 1048576;
inline constexpr std::string_view kTooManyRowsStart = "The spreadsheet would need ";
inline constexpr std::string_view kTooManyRowsEnd =
    " rows, more than the 1048576 a sheet can hold. Export the tables to CSV instead";
inline constexpr std::string_view kSpreadsheetFailure = "The spreadsheet could not be written: ";
// The finished workbook read back incomplete: most likely the temporary folder ran full.
inline constexpr std::string_view kWorkbookIncomplete =
    "The spreadsheet came out incomplete (is the temporary folder full?): ";

}  // namespace fetaldose
