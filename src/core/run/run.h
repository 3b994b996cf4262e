#pragma once
// One run: check a selection, lay out the viewer's grids, and fill the result store from the
// chosen nuclides' data files. Core code: the GUI copies what it returns onto the screen.

#include <string>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/run/result_store.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {

// How far the checks got with the viewer's grids, in order; each stage includes the earlier.
enum class GridStage {
    Untouched,         // no nuclide chosen: grids and paging looks are left alone
    Blanked,           // paging looks set unavailable, every cell of both grids " "
    RowLabelsWritten,  // column 0 holds the chosen rows' labels
    LaidOut,           // row 0 holds the chosen periods' labels: the selection is complete
};

struct RunCheck {
    GridStage stage = GridStage::Untouched;
    std::string stopMessage;   // empty when the selection is complete
    std::vector<int> rows;     // chosen tissue rows 1..18, in order (grid row r = rows[r-1])
    std::vector<int> periods;  // chosen periods 1..5, in order (grid column n+3 = periods[n-1])
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

// Sizes the store and fills it from each chosen nuclide's data file, in the fixed order.
// Throws the faults of reading (IoError, RangeError) and of the sums (ConversionError).
FillOutcome fillResultStore(const SelectionSnapshot& selection, const RunCheck& check,
                            const std::string& dataDirectory, char decimalSeparator,
                            NuclideData& scratch, ResultStore& store);

}  // namespace fetaldose
