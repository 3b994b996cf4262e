#include "core/run/run.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/refdata/data_directory.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

namespace {

constexpr int kAcuteScenarioCount = 8;
constexpr int kChronicScenarioCount = 3;
constexpr int kTissueItemCount = 17;
constexpr int kBrainItem = 2;  // "Brain" stands for rows 3 and 4

// The run selection: the flags the checks read from the controls.
struct RunSelection {
    bool Public = false;
    bool Worker = false;
    bool Particulates = false;
    bool Ingestion = false;
    bool Vapours = false;
    std::array<bool, kScenarioCount> Scenarios{};
    int ScenarioCount = 0;
    std::array<bool, kAerosolSizeCount> Aerosol{};
    int AerosolCount = 0;  // read only when particulates are chosen
};

RunSelection ReadRunSelection(const SelectionSnapshot& selection) {
    RunSelection run;
    run.Public = selection.Public;
    run.Worker = selection.Occupational;
    run.Ingestion = selection.AllRoutes || selection.Ingestion;
    run.Particulates = selection.AllRoutes || selection.Particulates;
    run.Vapours = selection.AllRoutes || selection.Vapours;
    for (int i = 0; i < kAcuteScenarioCount; ++i)
        run.Scenarios[static_cast<std::size_t>(i)] =
            selection.AllAcutes || selection.AcuteScenarios[static_cast<std::size_t>(i)];
    for (int i = 0; i < kChronicScenarioCount; ++i)
        run.Scenarios[static_cast<std::size_t>(kAcuteScenarioCount + i)] =
            selection.AllChronics || selection.ChronicScenarios[static_cast<std::size_t>(i)];
    run.ScenarioCount =
        static_cast<int>(std::count(run.Scenarios.begin(), run.Scenarios.end(), true));
    if (run.Particulates) {
        for (int a = 0; a < kAerosolSizeCount; ++a)
            run.Aerosol[static_cast<std::size_t>(a)] =
                selection.AllAerosol || selection.Aerosol[static_cast<std::size_t>(a)];
        run.AerosolCount =
            static_cast<int>(std::count(run.Aerosol.begin(), run.Aerosol.end(), true));
    }
    return run;
}

RunCheck Stop(RunCheck check, std::string_view message) {
    check.StopMessage = std::string(message);
    return check;
}

// Tables of one nuclide: per chosen group, scenarios x (sizes x types + ingestion entries +
// vapour entries) over the chosen routes. A negative count in a data file reads no entries,
// so it gives no tables either: counting must agree with what the fill produces.
int CountTables(const RunSelection& run, const NuclideData& data) {
    int tables = 0;
    for (int g = 0; g < 2; ++g) {
        if (!(g == 0 ? run.Public : run.Worker)) continue;
        const GroupSection& section = data.Groups[static_cast<std::size_t>(g)];
        int perScenario = 0;
        if (run.Particulates)
            perScenario += run.AerosolCount * std::clamp(section.TypeCount, 0, kMaxTypes);
        if (run.Ingestion)
            perScenario += std::clamp(section.IngestionCount, 0, kMaxIngestionEntries);
        if (run.Vapours) perScenario += std::clamp(section.VapourCount, 0, kMaxVapourEntries);
        tables += run.ScenarioCount * perScenario;
    }
    return tables;
}

// Fills the slots of one nuclide in the fixed order: group, route (particulates, ingestion,
// vapours), type and size or entry, scenario. Returns the number of the last slot filled.
int FillNuclide(const RunSelection& run, const NuclideData& data, const TableContext& context,
                const std::array<std::uint32_t, kScenarioCount>& scenarioHeadings, int lastSlot,
                ResultStore& store) {
    // The headings of the tables of one entry differ only in their scenario: they are worked
    // out once per entry, not once per table.
    auto eachScenario = [&](TableKey key) {
        std::optional<ResultStore::HeadingNumbers> headings;
        for (int s = 1; s <= kScenarioCount; ++s) {
            if (!run.Scenarios[static_cast<std::size_t>(s - 1)]) continue;
            key.Scenario = s;
            if (!headings) headings = TableHeadings(store, data, key, context);
            headings->Scenario = scenarioHeadings[static_cast<std::size_t>(s - 1)];
            FillTableSlot(store, ++lastSlot, RecordFor(data, key), *headings, context);
        }
    };
    for (int g = 1; g <= 2; ++g) {
        if (!(g == 1 ? run.Public : run.Worker)) continue;
        const GroupSection& section = data.Groups[static_cast<std::size_t>(g - 1)];
        TableKey key;
        key.Group = g;
        if (run.Particulates) {
            key.Route = IntakeRoute::Particulates;
            for (int k = 1; k <= std::min(section.TypeCount, kMaxTypes); ++k) {
                key.Entry = k;
                for (int a = 1; a <= kAerosolSizeCount; ++a) {
                    if (!run.Aerosol[static_cast<std::size_t>(a - 1)]) continue;
                    key.AerosolSize = a;
                    eachScenario(key);
                }
            }
        }
        key.AerosolSize = 1;
        if (run.Ingestion) {
            key.Route = IntakeRoute::Ingestion;
            for (int k = 1; k <= std::min(section.IngestionCount, kMaxIngestionEntries); ++k) {
                key.Entry = k;
                eachScenario(key);
            }
        }
        if (run.Vapours) {
            key.Route = IntakeRoute::Vapours;
            for (int k = 1; k <= std::min(section.VapourCount, kMaxVapourEntries); ++k) {
                key.Entry = k;
                eachScenario(key);
            }
        }
    }
    return lastSlot;
}

// Empties the store, so that it keeps no data file's bytes alive.
void ReleaseFailedRun(ResultStore& store) noexcept {
    try {
        store.Resize(0, 0, 0);
    } catch (...) {
        // Resize(0, ...) allocates one slot; should even that fail, the old store stays.
    }
}

}  // namespace

RunCheck CheckSelection(const SelectionSnapshot& selection) {
    RunCheck check;
    if (selection.Nuclides.empty()) return Stop(check, kSelectNuclideMessage);
    check.Stage = GridStage::Blanked;

    const RunSelection run = ReadRunSelection(selection);
    if (!run.Public && !run.Worker) return Stop(check, kSelectGroupMessage);
    if (!run.Ingestion && !run.Particulates && !run.Vapours)
        return Stop(check, kSelectRouteMessage);
    if (run.ScenarioCount == 0) return Stop(check, kSelectScenarioMessage);
    if (run.Particulates && run.AerosolCount == 0) return Stop(check, kSelectAerosolMessage);

    for (int item = 0; item < kTissueItemCount; ++item) {
        if (!selection.AllOrgans && !selection.Tissues[static_cast<std::size_t>(item)]) continue;
        if (item < kBrainItem) {
            check.Rows.push_back(item + 1);
        } else if (item == kBrainItem) {
            check.Rows.push_back(3);
            check.Rows.push_back(4);
        } else {
            check.Rows.push_back(item + 2);
        }
    }
    if (check.Rows.empty()) return Stop(check, kSelectTissueMessage);
    check.Stage = GridStage::RowLabelsWritten;

    for (int period = 1; period <= kPeriodCount; ++period)
        if (selection.AllPeriods || selection.Periods[static_cast<std::size_t>(period - 1)])
            check.Periods.push_back(period);
    if (check.Periods.empty()) return Stop(check, kSelectPeriodMessage);
    check.Stage = GridStage::LaidOut;
    return check;
}

namespace {

// The bytes of each data file the run has read, by path: a nuclide chosen more than once is
// read from disk once, and every copy's tables refer to the same bytes.
class DataFileBytes {
  public:
    // Reads the file at `path` into `data`; the store is handed the bytes the first time.
    void Read(const std::string& path, NuclideData& data, ResultStore& store) {
        for (const Kept& kept : kept_) {
            if (kept.path != path) continue;
            TextReader again(std::string_view(kept.bytes.get(), kept.size));
            ReadNuclideData(again, data);
            return;
        }
        // The whole file is read into memory and the tables refer to its bytes, which the
        // store keeps for as long as it holds them.
        TextReader file = TextReader::OpenWhole(path);
        ReadNuclideData(file, data);
        store.KeepBytes(file.WholeBytes(), file.WholeSize());
        kept_.push_back({path, file.WholeBytes(), file.WholeSize()});
    }

  private:
    struct Kept {
        std::string path;
        std::shared_ptr<const char[]> bytes;
        std::size_t size = 0;
    };
    // Few distinct files take part in a run; a list is searched faster than a map is built.
    std::vector<Kept> kept_;
};

FillOutcome FillFrom(const SelectionSnapshot& selection, const RunCheck& check,
                     const std::string& dataDirectory, char decimalSeparator, NuclideData& scratch,
                     ResultStore& store) {
    FillOutcome outcome;
    if (selection.Nuclides.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw RangeError();
    const RunSelection run = ReadRunSelection(selection);
    const int nuclideCount = static_cast<int>(selection.Nuclides.size());
    store.Resize(nuclideCount, static_cast<int>(check.Rows.size()),
                 static_cast<int>(check.Periods.size()));
    store.SetLayout(check.Rows, check.Periods, decimalSeparator);
    std::array<std::uint32_t, kScenarioCount> scenarioHeadings{};
    for (std::size_t s = 0; s < kScenarioCount; ++s)
        scenarioHeadings[s] = store.KeepHeadings({}, {}, {}, kScenarioTexts[s]).Scenario;

    TableContext context;
    context.Rows = &check.Rows;
    context.Periods = &check.Periods;
    context.DecimalSeparator = decimalSeparator;

    DataFileBytes dataFiles;
    int tableCount = 0;
    int currentTable = 0;
    for (int index = 0; index < nuclideCount; ++index) {
        const std::string& name = selection.Nuclides[static_cast<std::size_t>(index)];
        const std::optional<std::string> path = FindDataFile(dataDirectory, name);
        if (!path) {
            outcome.StopMessage = std::string(kMissingNuclideFileMessage);
            outcome.TableCount = tableCount;
            return outcome;
        }
        dataFiles.Read(*path, scratch, store);
        const int tables = CountTables(run, scratch);
        if (tables > store.SlotCount() - 1 - tableCount) throw RangeError();
        tableCount += tables;
        outcome.TableCount = tableCount;

        context.Nuclide = name;
        context.HalfLife =
            static_cast<std::size_t>(index) < selection.HalfLives.size()
                ? std::string_view(selection.HalfLives[static_cast<std::size_t>(index)])
                : std::string_view();
        currentTable = FillNuclide(run, scratch, context, scenarioHeadings, currentTable, store);
        // Only whole nuclides count as tables in the store, so a fault in a later file never
        // leaves a half-filled slot where a reader would take it for a table.
        store.SetTableCount(currentTable);
    }
    outcome.Complete = currentTable == tableCount;
    return outcome;
}

}  // namespace

FillOutcome FillResultStore(const SelectionSnapshot& selection, const RunCheck& check,
                            const std::string& dataDirectory, char decimalSeparator,
                            NuclideData& scratch, ResultStore& store) {
    if (check.Stage != GridStage::LaidOut) {
        FillOutcome outcome;
        outcome.StopMessage = check.StopMessage;
        return outcome;
    }
    try {
        return FillFrom(selection, check, dataDirectory, decimalSeparator, scratch, store);
    } catch (...) {
        // A run that fails shows no table: what it read is let go at once, not kept until
        // the next run.
        ReleaseFailedRun(store);
        throw;
    }
}

}  // namespace fetaldose
