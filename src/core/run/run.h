#pragma once
// One run: check a selection, lay out the viewer's grids, and fill the result store from the
// chosen nuclides' data files. Core code: the GUI copies what it returns onto the screen.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/run/result_store.h"
#include "core/run/selection_snapshot.h"
#include "core/run/table_values.h"
#include "core/textio/source_file.h"

namespace fetaldose {

// How far the checks got with the viewer's grids, in order; each stage includes the earlier.
enum class GridStage {
    Untouched,         // no nuclide chosen: grids and paging looks are left alone
    Blanked,           // paging looks set unavailable, every cell of both grids " "
    RowLabelsWritten,  // column 0 holds the chosen rows' labels
    LaidOut,           // row 0 holds the chosen periods' labels: the selection is complete
};

// The rows and columns every table of a run has: the chosen tissue rows and integration
// periods, in order, with the labels the viewer's grids, the results file and the exports give
// them. Numbers r and n below are 1-based places in the layout, not tissue or period numbers.
struct TableLayout {
    std::vector<int> rows;     // chosen tissue rows 1..18, in order (grid row r = rows[r-1])
    std::vector<int> periods;  // chosen periods 1..5, in order (grid column n+3 = periods[n-1])

    int rowCount() const { return static_cast<int>(rows.size()); }
    int periodCount() const { return static_cast<int>(periods.size()); }
    // The label of the r-th chosen row ("Bladder").
    std::string_view rowLabel(int r) const;
    // The heading of the n-th chosen period as the grids and the results file show it ("  1y").
    std::string_view periodHeading(int n) const;
    // The same without its leading blanks ("1y"), as the exports' column names use it.
    std::string_view periodName(int n) const;

    bool operator==(const TableLayout&) const = default;
};

struct RunCheck {
    GridStage stage = GridStage::Untouched;
    std::string stopMessage;  // empty when the selection is complete
    TableLayout layout;       // as far as the checks got (see stage)
    // The run selection (flags and counts) is the implementation's; see run.cpp.
};

// Checks a selection (groups, routes, aerosol sizes, scenarios, tissues, periods, in that
// order, stopping at the first missing choice) and says how far the grid layout got.
RunCheck checkSelection(const SelectionSnapshot& selection);

struct FillOutcome {
    bool complete = false;    // every table filled: the viewer is shown
    std::string stopMessage;  // "Cannot find the nuclide file" when a data file is missing
    int tableCount = 0;       // tables counted (the "Next" look: available when above 1)
};

// Told after each chosen nuclide's tables are filled how many nuclides are done, of how many.
// A fault it throws ends the fill as any fault does.
using RunProgress = std::function<void(int nuclidesDone, int nuclideCount)>;

// What a fill notes beside the store: every data file it read (once each, in order) and, when
// `keys` is given, the key of every table it filled, in table order; and, when `progress` is
// given, how far it got.
struct RunRecording {
    std::vector<SourceFile>& files;
    std::vector<TableKey>* keys = nullptr;
    const RunProgress* progress = nullptr;
};

// Sizes the store and fills it from each chosen nuclide's data file, in the fixed order.
// Throws the faults of reading (IoError, RangeError) and of the sums (ConversionError).
// Consumers read a run through RunResult (run_result.h), which this fills.
FillOutcome fillResultStore(const SelectionSnapshot& selection, const RunCheck& check,
                            const std::string& dataDirectory, char decimalSeparator,
                            NuclideData& scratch, ResultStore& store,
                            RunRecording* recording = nullptr);

}  // namespace fetaldose
