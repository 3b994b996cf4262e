#pragma once
// The result of one run: what was asked for, what every table holds (its key, its texts as the
// viewer shows them and its doses as numbers), and where the numbers come from (the data folder,
// the decimal separator, the time, and the bytes of every file read, with their digests).
// Read-only once made; any number of results may be alive at once, each on its own.
//
// Tables are numbered 1..tableCount(), rows 1..layout().rowCount() and periods
// 1..layout().periodCount() (places in the layout, see TableLayout). A number out of range
// throws RangeError.

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/run/result_store.h"
#include "core/run/run.h"
#include "core/run/selection_snapshot.h"
#include "core/run/table_values.h"
#include "core/textio/source_file.h"

namespace fetaldose {

// The generated sample data set puts a file of this name beside its catalogue; a run over a
// data folder holding it says that its values are synthetic.
inline constexpr const char* kSyntheticDataMarker = "SYNTHETIC";

// Where a run's numbers come from.
struct RunSources {
    std::string dataDirectory;    // absolute, ending with '/'
    char decimalSeparator = '.';  // the run's
    std::time_t ranAt = 0;
    bool syntheticData = false;  // the data folder holds the generated sample set
    // The catalogue the selection was made from, as it was read; nothing when it could not be.
    std::optional<SourceFile> catalogue;
    std::string catalogueName;     // its file name, also when it could not be read
    std::string catalogueFailure;  // why it could not be read
    // Each data file the run read, once, in the order it read them.
    std::vector<SourceFile> dataFiles;
};

class RunResult {
  public:
    RunResult(const RunResult&) = delete;
    RunResult& operator=(const RunResult&) = delete;

    const SelectionSnapshot& selection() const { return selection_; }
    const TableLayout& layout() const { return layout_; }
    const RunSources& sources() const { return sources_; }
    char decimalSeparator() const { return sources_.decimalSeparator; }

    int tableCount() const { return store_.tableCount(); }
    bool hasTable(int table) const { return store_.hasTable(table); }

    // What table `table` is: its nuclide's place in the chosen list and its record's.
    TableKey key(int table) const;
    // The chosen list's name and half-life of the table's nuclide, as the catalogue gave them.
    std::string_view nuclideName(int table) const;
    std::string_view halfLife(int table) const;

    // The texts exactly as the viewer and the results file show them.
    std::string_view nuclideHeading(int table) const { return store_.nuclide(table); }
    std::string_view groupHeading(int table) const { return store_.group(table); }
    std::string_view routeHeading(int table) const { return store_.route(table); }
    std::string_view scenarioHeading(int table) const { return store_.scenario(table); }
    std::string summary(int table) const { return store_.summary(table); }
    std::string inUteroText(int table, int row) const { return store_.inUtero(table, row); }
    std::string postNatalText(int table, int row, int period) const {
        return store_.postNatal(table, row, period);
    }
    std::string offspringText(int table, int row, int period) const {
        return store_.offspring(table, row, period);
    }

    // The doses as numbers (Sv per Bq): each the number its text shows.
    double inUteroDose(int table, int row) const;
    double postNatalDose(int table, int row, int period) const;
    double offspringDose(int table, int row, int period) const;
    // The offspring dose before its rounding to the two figures shown: the in-utero and the
    // post-natal numbers added.
    double offspringSum(int table, int row, int period) const;

    // The tables' storage, for writers that take whole rows at once.
    const ResultStore& store() const { return store_; }
    // Bytes the result holds, the data files' bytes included.
    std::size_t memoryBytes() const;

  private:
    friend struct RunBuilder;
    RunResult() = default;

    // A table's key as kept: 8 bytes a table.
    struct PackedKey {
        std::uint32_t nuclide = 0;
        std::uint8_t groupAndRoute = 0;  // group - 1 in bit 0, the route in bits 1 and 2
        std::uint8_t entry = 0;
        std::uint8_t aerosolSize = 0;
        std::uint8_t scenario = 0;
    };
    static PackedKey pack(const TableKey& key);

    SelectionSnapshot selection_;
    TableLayout layout_;
    RunSources sources_;
    ResultStore store_;
    std::vector<PackedKey> keys_;
};

// What a run is asked: the selection, the data folder and the decimal separator, and the
// catalogue the selection was made from as it was read (read now when not given).
struct RunRequest {
    SelectionSnapshot selection;
    std::string dataDirectory;  // ending with '/'
    char decimalSeparator = '.';
    std::optional<SourceFile> catalogue;
};

struct RunOutcome {
    bool complete = false;    // every table made: `result` holds them
    std::string stopMessage;  // the check's message, or "Cannot find the nuclide file"
    int tableCount = 0;       // tables counted (the "Next" look: available when above 1)
    std::shared_ptr<const RunResult> result;  // complete runs only
};

// Makes the tables of a checked selection (see checkSelection) from the chosen nuclides' data
// files, each read once. Throws the faults of reading (IoError, RangeError) and of the sums
// (ConversionError); a run that stops or fails keeps nothing it read. `scratch` is where each
// data file is read into (large: one instance serves every run).
RunOutcome runTables(RunRequest request, const RunCheck& check, NuclideData& scratch);
RunOutcome runTables(RunRequest request, const RunCheck& check);
// The same, telling `progress` after each chosen nuclide how far the run got (see RunProgress);
// a fault the callback throws ends the run, which keeps nothing it read.
RunOutcome runTables(RunRequest request, const RunCheck& check, NuclideData& scratch,
                     const RunProgress& progress);

// The catalogue's part of a run's sources (whose data folder is set): as given, or read now
// from the data folder, its failure noted when it cannot be read.
void takeCatalogue(RunSources& sources, std::optional<SourceFile> given);

// The catalogue of a data folder as a run's source: read whole now. Nothing when there is none;
// a catalogue that cannot be read throws IoError.
std::optional<SourceFile> readCatalogueSource(const std::string& dataDirectory);

}  // namespace fetaldose
