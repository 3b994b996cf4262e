#pragma once
// Two data sets compared value by value: one selection (or everything the two hold) run on a
// reference and a candidate data folder, their tables matched by what they are (nuclide name,
// exposure group, route with the text of its entry, aerosol size, scenario) and their cells by
// tissue row and period, never by number, so that an entry removed from a data file shifts
// nothing. Kept: the counts, the largest changes, the cells that differ beyond the threshold
// (up to kListedDifferenceCap of them), what is on one side only, and the two runs themselves
// (for the tables side by side and the provenance of both folders).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/run/run_result.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {

enum class CompareScope {
    Selection,   // the selection's nuclides and choices
    Everything,  // every nuclide with a data file on a side, every box checked
};

enum class DataSetSide : std::uint8_t { Reference, Candidate };

struct CompareRequest {
    std::string referenceDirectory;  // the folders holding nuclides.txt, ending with '/'
    std::string candidateDirectory;
    CompareScope scope = CompareScope::Selection;
    SelectionSnapshot selection;  // read in the Selection scope only
    // A cell whose relative change |candidate / reference - 1| is beyond this counts as
    // changed; 0 counts every change. Finite and not negative.
    double threshold = 0;
    char decimalSeparator = '.';  // both runs'
};

// Where a compared cell stands in its table.
enum class CellQuantity : std::uint8_t { InUtero, PostNatal, Offspring };

enum class CellStatus : std::uint8_t {
    Equal,            // the same number (both zero included)
    WithinThreshold,  // differs by no more than the threshold
    Changed,          // differs by more than the threshold
    New,              // zero in the reference, not in the candidate
    Gone,             // not zero in the reference, zero in the candidate
};

struct CellDifference {
    int referenceTable = 0;  // the table in each run
    int candidateTable = 0;
    int row = 0;     // place in the layout, 1..rowCount
    int period = 0;  // place in the layout, 1..periodCount; 0 for the in-utero dose
    CellQuantity quantity = CellQuantity::InUtero;
    CellStatus status = CellStatus::Equal;
    double reference = 0;  // Sv per Bq, as each table shows it
    double candidate = 0;
    double ratio = 0;  // candidate / reference; 0 for New and Gone (no division is made)
};

struct CellCounts {
    long long compared = 0;
    long long equal = 0;
    long long withinThreshold = 0;
    long long changed = 0;
    long long newCells = 0;
    long long goneCells = 0;
    // Changed, new and gone: the cells the difference list holds.
    long long beyondThreshold() const { return changed + newCells + goneCells; }
};

// Where a nuclide of the comparison is.
enum class NuclidePresence : std::uint8_t { Both, ReferenceOnly, CandidateOnly, Neither };

struct NuclideComparison {
    std::string name;
    NuclidePresence presence = NuclidePresence::Both;
    // Each side's catalogue half-life; empty where that catalogue does not list the nuclide.
    std::string referenceHalfLife;
    std::string candidateHalfLife;
    // The data files of both sides hold the same bytes (the same SHA-256): every cell is equal
    // and none was compared one by one.
    bool identicalDataFiles = false;
    int referenceTables = 0;
    int candidateTables = 0;
    int matchedTables = 0;
    CellCounts cells;
    // The largest and smallest ratio candidate / reference among its cells that have one
    // (neither side zero); nothing where no cell has one.
    std::optional<double> largestRatio;
    std::optional<double> smallestRatio;
};

// A route entry (with its aerosol size) of a nuclide's exposure group that only one side's
// tables have.
struct OneSidedEntry {
    DataSetSide side = DataSetSide::Reference;  // the side that has it
    std::string nuclide;
    std::string group;      // the group's heading text
    std::string routeText;  // the route's heading text, as the tables give it
    int tables = 0;
    int firstTable = 0;  // its first table in that side's run
};

struct CatalogueChange {
    enum class Kind : std::uint8_t { Added, Removed, HalfLifeChanged };
    Kind kind = Kind::Added;
    std::string name;
    std::string referenceHalfLife;  // empty for Added
    std::string candidateHalfLife;  // empty for Removed
};

// At most this many differences are kept for the list (the counts cover all of them): the
// list takes 48 bytes a cell, so it stays under 5 MB however much two large data sets differ,
// and an export of it stays far below a sheet's row limit. They are the first ones in the
// reference's table order.
inline constexpr std::size_t kListedDifferenceCap = 100000;
// The largest changes kept each way.
inline constexpr std::size_t kLargestChangeCount = 10;

class Comparison {
  public:
    CompareScope scope = CompareScope::Selection;
    double threshold = 0;
    std::string referenceDirectory;  // absolute, ending with '/'
    std::string candidateDirectory;

    // The runs of both sides; nothing for a side that holds none of the nuclides compared.
    std::shared_ptr<const RunResult> reference;
    std::shared_ptr<const RunResult> candidate;
    // The catalogues as read.
    std::optional<SourceFile> referenceCatalogue;
    std::optional<SourceFile> candidateCatalogue;
    bool identicalCatalogues = false;
    std::vector<CatalogueChange> catalogueChanges;

    CellCounts cells;
    int matchedTables = 0;
    int referenceOnlyTables = 0;
    int candidateOnlyTables = 0;
    int identicalDataFiles = 0;  // nuclides whose data files hold the same bytes on both sides
    std::vector<NuclideComparison> nuclides;  // the reference's order, then the candidate's own
    std::vector<OneSidedEntry> oneSidedEntries;

    // The cells beyond the threshold, in the reference's table order, row, then column.
    std::vector<CellDifference> differences;
    bool differencesCapped() const {
        return static_cast<long long>(differences.size()) < cells.beyondThreshold();
    }
    // The largest ratios above 1 (largest first) and the smallest below 1 (smallest first).
    std::vector<CellDifference> largestIncreases;
    std::vector<CellDifference> largestDecreases;

    // Whether the values compared all agree within the threshold and no table is on one side
    // only: what a script gates on.
    bool valuesAgree() const {
        return cells.beyondThreshold() == 0 && referenceOnlyTables == 0 && candidateOnlyTables == 0;
    }
};

// Told how much of the work is done, of how much (the runs' nuclides and the matching); returns
// false to cancel.
using CompareProgress = std::function<bool(long long done, long long total)>;

struct CompareOutcome {
    bool complete = false;
    bool cancelled = false;
    // Why the comparison could not be made, naming the side: a folder without a catalogue, a
    // file that cannot be read, a selection a side cannot run.
    std::string stopMessage;
    // The stop is a fault of an input (a folder, a catalogue or a data file), not a selection
    // that cannot run.
    bool inputFault = false;
    std::shared_ptr<const Comparison> comparison;
};

// Reads both catalogues, runs both sides and compares them. Nothing is written anywhere.
CompareOutcome compareDataSets(const CompareRequest& request, const CompareProgress& progress = {});

}  // namespace fetaldose
