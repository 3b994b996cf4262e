#pragma once
// The texts of a comparison of two data sets: its messages, the summary a reviewer reads first,
// and the column names, sheet names and provenance lines of its exports.

#include <array>
#include <string_view>

namespace fetaldose::compare_texts {

// The two sides, as messages and summaries name them ([0] reference, [1] candidate).
inline constexpr std::array<std::string_view, 2> kSideNames = {"Reference data set",
                                                               "Candidate data set"};
// The same in a column or a list: "reference", "candidate".
inline constexpr std::array<std::string_view, 2> kSideWords = {"reference", "candidate"};

// "<side> <folder>: <message>".
inline constexpr std::string_view kSideFolderJoin = " ";
inline constexpr std::string_view kSideMessageJoin = ": ";
inline constexpr std::string_view kNoDataFolder = "no such data folder";

// The summary, line by line.
inline constexpr std::string_view kSummaryTitle = "Comparison of two data sets";
inline constexpr std::string_view kReferenceLabel = "Reference: ";
inline constexpr std::string_view kCandidateLabel = "Candidate: ";
inline constexpr std::string_view kScopeLabel = "Compared: ";
inline constexpr std::string_view kScopeSelection = "the selection";
inline constexpr std::string_view kScopeEverything = "everything the two data sets hold";
inline constexpr std::string_view kThresholdLabel = "Threshold: ";
inline constexpr std::string_view kThresholdAnyChange = "0 (any change counts as changed)";
inline constexpr std::string_view kThresholdNote =
    " (a relative change |candidate/reference - 1| beyond it counts as changed)";
inline constexpr std::string_view kVerdictAgree =
    "Result: the compared values agree within the threshold";
inline constexpr std::string_view kVerdictDiffer =
    "Result: the data sets differ beyond the threshold";
inline constexpr std::string_view kCellsHeading = "Cells";
inline constexpr std::string_view kCellsCompared = "  compared:                 ";
inline constexpr std::string_view kCellsEqual = "  equal:                    ";
inline constexpr std::string_view kCellsWithin = "  changed within threshold: ";
inline constexpr std::string_view kCellsChanged = "  changed beyond threshold: ";
inline constexpr std::string_view kCellsNew = "  new (zero in reference):  ";
inline constexpr std::string_view kCellsGone = "  gone (zero in candidate): ";
inline constexpr std::string_view kTablesHeading = "Tables";
inline constexpr std::string_view kTablesMatched = "  matched:                  ";
inline constexpr std::string_view kTablesReferenceOnly = "  only in the reference:    ";
inline constexpr std::string_view kTablesCandidateOnly = "  only in the candidate:    ";
inline constexpr std::string_view kFilesHeading = "Files";
inline constexpr std::string_view kIdenticalDataFiles =
    "  data files with identical bytes (same SHA-256, cells counted equal): ";
inline constexpr std::string_view kCataloguesIdentical = "  catalogues: identical bytes";
inline constexpr std::string_view kCataloguesDiffer = "  catalogues: differ";
inline constexpr std::string_view kCatalogueHeading = "Catalogue changes";
inline constexpr std::string_view kCatalogueAdded = "  added: ";
inline constexpr std::string_view kCatalogueRemoved = "  removed: ";
inline constexpr std::string_view kCatalogueHalfLife = "  half-life changed: ";
inline constexpr std::string_view kHalfLifeArrow = " -> ";
inline constexpr std::string_view kOneSidedNuclidesHeading = "Nuclides on one side only";
inline constexpr std::string_view kOneSidedEntriesHeading = "Route entries on one side only";
inline constexpr std::string_view kOnlyIn = "only in the ";
inline constexpr std::string_view kOnNeitherSide = "on neither side";
inline constexpr std::string_view kTablesSuffix = " tables";
inline constexpr std::string_view kIncreasesHeading = "Largest increases (candidate/reference)";
inline constexpr std::string_view kDecreasesHeading = "Largest decreases (candidate/reference)";
inline constexpr std::string_view kNuclidesHeading =
    "Per nuclide: cells compared, beyond threshold, largest and smallest ratio";
inline constexpr std::string_view kNoRatio = "-";
inline constexpr std::string_view kIdenticalMark = " (identical data files)";
inline constexpr std::string_view kListCapped1 = "The difference list holds the first ";
inline constexpr std::string_view kListCapped2 = " of the ";
inline constexpr std::string_view kListCapped3 =
    " cells beyond the threshold, in table order; the counts above cover all of them";
inline constexpr std::string_view kNone = "  none";
inline constexpr std::string_view kListJoin = "; ";
inline constexpr std::string_view kKeyJoin = " | ";
inline constexpr std::string_view kNewWord = "new";
inline constexpr std::string_view kGoneWord = "gone";
inline constexpr std::string_view kChangedWord = "changed";
inline constexpr std::string_view kWithinWord = "within threshold";
inline constexpr std::string_view kEqualWord = "equal";
inline constexpr std::string_view kInUteroWord = "in utero";
inline constexpr std::string_view kPostNatalWord = "post-natal";
inline constexpr std::string_view kOffspringWord = "offspring";
inline constexpr std::string_view kPeriodJoin = " ";

// The exports: sheets (at most 31 characters each) and their columns.
inline constexpr std::string_view kSummarySheet = "Summary";
inline constexpr std::string_view kDifferencesSheet = "Differences";
inline constexpr std::string_view kLargestSheet = "Largest changes";
inline constexpr std::string_view kNuclidesSheet = "Nuclides";
inline constexpr std::string_view kOneSidedSheet = "One side only";
inline constexpr std::string_view kCatalogueSheet = "Catalogue";
inline constexpr std::string_view kSummaryColumn = "summary";
inline constexpr std::array<std::string_view, 13> kDifferenceColumns = {
    "nuclide",  "exposure_group",  "intake_route",        "intake_scenario",     "tissue",
    "quantity", "period",          "reference_Sv_per_Bq", "candidate_Sv_per_Bq", "ratio",
    "status",   "reference_table", "candidate_table"};
inline constexpr std::string_view kDirectionColumn = "direction";
inline constexpr std::string_view kIncreaseWord = "increase";
inline constexpr std::string_view kDecreaseWord = "decrease";
inline constexpr std::array<std::string_view, 14> kNuclideColumns = {
    "nuclide",
    "presence",
    "reference_half_life",
    "candidate_half_life",
    "identical_data_files",
    "reference_tables",
    "candidate_tables",
    "matched_tables",
    "cells_compared",
    "cells_equal",
    "cells_changed_beyond_threshold",
    "cells_new",
    "cells_gone",
    "largest_ratio"};
inline constexpr std::string_view kSmallestRatioColumn = "smallest_ratio";
inline constexpr std::array<std::string_view, 6> kOneSidedColumns = {
    "side", "what", "nuclide", "exposure_group", "intake_route", "tables"};
inline constexpr std::string_view kWhatNuclide = "nuclide";
inline constexpr std::string_view kWhatRouteEntry = "route entry";
inline constexpr std::array<std::string_view, 4> kCatalogueColumns = {
    "change", "nuclide", "reference_half_life", "candidate_half_life"};
inline constexpr std::string_view kAddedWord = "added";
inline constexpr std::string_view kRemovedWord = "removed";
inline constexpr std::string_view kHalfLifeWord = "half-life changed";
inline constexpr std::string_view kPresenceBoth = "both";
inline constexpr std::string_view kYes = "yes";
inline constexpr std::string_view kNo = "no";
inline constexpr std::string_view kRatioNumberFormat = "0.000000";

// The provenance: one block per side, each line labelled with the side.
inline constexpr std::string_view kProvenanceTitle =
    ": comparison of two data sets of dose coefficients in Sv per Bq to the embryo and fetus "
    "and to the offspring";
inline constexpr std::string_view kProvenanceSideJoin = ": ";
inline constexpr std::string_view kProvenanceNoRun =
    "no table of the comparison (it holds none "
    "of the nuclides compared)";
inline constexpr std::string_view kProvenanceDataFolder = "Data folder: ";
inline constexpr std::string_view kProvenanceCatalogue = "SHA-256 of ";

}  // namespace fetaldose::compare_texts
