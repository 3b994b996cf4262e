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
#include "core/run/labels.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "core/textio/text_encoding.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

namespace {

constexpr int kAcuteScenarioCount = 8;
constexpr int kChronicScenarioCount = 3;
constexpr int kTissueItemCount = 17;
constexpr int kBrainItem = 2;  // "Brain" stands for rows 3 and 4

// The run selection: the flags the checks read from the controls.
struct RunSelection {
    bool memberOfPublic = false;
    bool worker = false;
    bool particulates = false;
    bool ingestion = false;
    bool vapours = false;
    std::array<bool, kScenarioCount> scenarios{};
    int scenarioCount = 0;
    std::array<bool, kAerosolSizeCount> aerosol{};
    int aerosolCount = 0;  // read only when particulates are chosen
};

RunSelection readRunSelection(const SelectionSnapshot& selection) {
    RunSelection run;
    run.memberOfPublic = selection.memberOfPublic;
    run.worker = selection.occupational;
    run.ingestion = selection.allRoutes || selection.ingestion;
    run.particulates = selection.allRoutes || selection.particulates;
    run.vapours = selection.allRoutes || selection.vapours;
    for (int i = 0; i < kAcuteScenarioCount; ++i)
        run.scenarios[static_cast<std::size_t>(i)] =
            selection.allAcutes || selection.acuteScenarios[static_cast<std::size_t>(i)];
    for (int i = 0; i < kChronicScenarioCount; ++i)
        run.scenarios[static_cast<std::size_t>(kAcuteScenarioCount + i)] =
            selection.allChronics || selection.chronicScenarios[static_cast<std::size_t>(i)];
    run.scenarioCount =
        static_cast<int>(std::count(run.scenarios.begin(), run.scenarios.end(), true));
    if (run.particulates) {
        for (int a = 0; a < kAerosolSizeCount; ++a)
            run.aerosol[static_cast<std::size_t>(a)] =
                selection.allAerosol || selection.aerosol[static_cast<std::size_t>(a)];
        run.aerosolCount =
            static_cast<int>(std::count(run.aerosol.begin(), run.aerosol.end(), true));
    }
    return run;
}

RunCheck stopAt(RunCheck check, std::string_view message) {
    check.stopMessage = std::string(message);
    return check;
}

// Tables of one nuclide: per chosen group, scenarios x (sizes x types + ingestion entries +
// vapour entries) over the chosen routes. A negative count in a data file reads no entries,
// so it gives no tables either: counting must agree with what the fill produces.
int countTables(const RunSelection& run, const NuclideData& data) {
    int tables = 0;
    for (int g = 0; g < 2; ++g) {
        if (!(g == 0 ? run.memberOfPublic : run.worker)) continue;
        const GroupSection& section = data.groups[static_cast<std::size_t>(g)];
        int perScenario = 0;
        if (run.particulates)
            perScenario += run.aerosolCount * std::clamp(section.typeCount, 0, kMaxTypes);
        if (run.ingestion)
            perScenario += std::clamp(section.ingestionCount, 0, kMaxIngestionEntries);
        if (run.vapours) perScenario += std::clamp(section.vapourCount, 0, kMaxVapourEntries);
        tables += run.scenarioCount * perScenario;
    }
    return tables;
}

// Fills the slots of one nuclide in the fixed order: group, route (particulates, ingestion,
// vapours), type and size or entry, scenario. Returns the number of the last slot filled.
int fillNuclide(const RunSelection& run, const NuclideData& data, const TableContext& context,
                const std::array<std::uint32_t, kScenarioCount>& scenarioHeadings, int nuclide,
                int lastSlot, ResultStore& store, std::vector<TableKey>* keys) {
    // The headings of the tables of one entry differ only in their scenario: they are worked
    // out once per entry, not once per table.
    auto eachScenario = [&](TableKey key) {
        std::optional<ResultStore::HeadingNumbers> headings;
        for (int s = 1; s <= kScenarioCount; ++s) {
            if (!run.scenarios[static_cast<std::size_t>(s - 1)]) continue;
            key.scenario = s;
            if (!headings) headings = tableHeadings(store, data, key, context);
            headings->scenario = scenarioHeadings[static_cast<std::size_t>(s - 1)];
            fillTableSlot(store, ++lastSlot, recordFor(data, key), *headings, context);
            if (keys) keys->push_back(key);
        }
    };
    for (int g = 1; g <= 2; ++g) {
        if (!(g == 1 ? run.memberOfPublic : run.worker)) continue;
        const GroupSection& section = data.groups[static_cast<std::size_t>(g - 1)];
        TableKey key;
        key.nuclide = nuclide;
        key.group = g;
        if (run.particulates) {
            key.route = IntakeRoute::Particulates;
            for (int k = 1; k <= std::min(section.typeCount, kMaxTypes); ++k) {
                key.entry = k;
                for (int a = 1; a <= kAerosolSizeCount; ++a) {
                    if (!run.aerosol[static_cast<std::size_t>(a - 1)]) continue;
                    key.aerosolSize = a;
                    eachScenario(key);
                }
            }
        }
        key.aerosolSize = 1;
        if (run.ingestion) {
            key.route = IntakeRoute::Ingestion;
            for (int k = 1; k <= std::min(section.ingestionCount, kMaxIngestionEntries); ++k) {
                key.entry = k;
                eachScenario(key);
            }
        }
        if (run.vapours) {
            key.route = IntakeRoute::Vapours;
            for (int k = 1; k <= std::min(section.vapourCount, kMaxVapourEntries); ++k) {
                key.entry = k;
                eachScenario(key);
            }
        }
    }
    return lastSlot;
}

// Empties the store, so that it keeps no data file's bytes alive.
void releaseFailedRun(ResultStore& store) noexcept {
    try {
        store.resize(0, 0, 0);
    } catch (...) {
        // Resize(0, ...) allocates one slot; should even that fail, the old store stays.
    }
}

}  // namespace

std::string_view TableLayout::rowLabel(int r) const {
    if (r < 1 || r > rowCount()) throw RangeError();
    const int row = rows[static_cast<std::size_t>(r - 1)];
    if (row < 1 || row > static_cast<int>(kRowLabels.size())) throw RangeError();
    return kRowLabels[static_cast<std::size_t>(row - 1)];
}

std::string_view TableLayout::periodHeading(int n) const {
    if (n < 1 || n > periodCount()) throw RangeError();
    const int period = periods[static_cast<std::size_t>(n - 1)];
    if (period < 1 || period > static_cast<int>(kPeriodLabels.size())) throw RangeError();
    return kPeriodLabels[static_cast<std::size_t>(period - 1)];
}

std::string_view TableLayout::periodName(int n) const {
    return trimBlanks(periodHeading(n));
}

RunCheck checkSelection(const SelectionSnapshot& selection) {
    RunCheck check;
    if (selection.nuclides.empty()) return stopAt(check, kSelectNuclideMessage);
    check.stage = GridStage::Blanked;

    const RunSelection run = readRunSelection(selection);
    if (!run.memberOfPublic && !run.worker) return stopAt(check, kSelectGroupMessage);
    if (!run.ingestion && !run.particulates && !run.vapours)
        return stopAt(check, kSelectRouteMessage);
    if (run.scenarioCount == 0) return stopAt(check, kSelectScenarioMessage);
    if (run.particulates && run.aerosolCount == 0) return stopAt(check, kSelectAerosolMessage);

    for (int item = 0; item < kTissueItemCount; ++item) {
        if (!selection.allOrgans && !selection.tissues[static_cast<std::size_t>(item)]) continue;
        if (item < kBrainItem) {
            check.layout.rows.push_back(item + 1);
        } else if (item == kBrainItem) {
            check.layout.rows.push_back(3);
            check.layout.rows.push_back(4);
        } else {
            check.layout.rows.push_back(item + 2);
        }
    }
    if (check.layout.rows.empty()) return stopAt(check, kSelectTissueMessage);
    check.stage = GridStage::RowLabelsWritten;

    for (int period = 1; period <= kPeriodCount; ++period)
        if (selection.allPeriods || selection.periods[static_cast<std::size_t>(period - 1)])
            check.layout.periods.push_back(period);
    if (check.layout.periods.empty()) return stopAt(check, kSelectPeriodMessage);
    check.stage = GridStage::LaidOut;
    return check;
}

namespace {

// The bytes of each data file the run has read, by path: a nuclide chosen more than once is
// read from disk once, and every copy's tables refer to the same bytes.
class DataFileBytes {
  public:
    explicit DataFileBytes(std::vector<SourceFile>& read) : read_(read) {}

    // Reads the file at `path` into `data`; the store is handed the bytes the first time.
    void read(const std::string& path, NuclideData& data, ResultStore& store) {
        for (const SourceFile& kept : read_) {
            if (kept.path() != path) continue;
            TextReader again(kept.bytes());
            readNuclideData(again, data);
            return;
        }
        // The whole file is read into memory and the tables refer to its bytes, which the
        // store keeps for as long as it holds them.
        const std::optional<FileIdentity> identity = fileIdentityOf(path);
        TextReader file = TextReader::openWhole(path, kDataFileCeiling);
        readNuclideData(file, data);
        store.keepBytes(file.wholeBytes(), file.wholeSize());
        read_.emplace_back(path, file.wholeBytes(), file.wholeSize(), identity);
    }

  private:
    // Few distinct files take part in a run; a list is searched faster than a map is built.
    std::vector<SourceFile>& read_;
};

FillOutcome fillFrom(const SelectionSnapshot& selection, const RunCheck& check,
                     const std::string& dataDirectory, char decimalSeparator, NuclideData& scratch,
                     ResultStore& store, RunRecording& recording) {
    FillOutcome outcome;
    if (selection.nuclides.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw RangeError();
    const RunSelection run = readRunSelection(selection);
    const int nuclideCount = static_cast<int>(selection.nuclides.size());
    store.resize(nuclideCount, static_cast<int>(check.layout.rows.size()),
                 static_cast<int>(check.layout.periods.size()));
    store.setLayout(check.layout.rows, check.layout.periods, decimalSeparator);
    std::array<std::uint32_t, kScenarioCount> scenarioHeadings{};
    for (std::size_t s = 0; s < kScenarioCount; ++s)
        scenarioHeadings[s] = store.keepHeadings({}, {}, {}, kScenarioTexts[s]).scenario;

    TableContext context;
    context.rows = &check.layout.rows;
    context.periods = &check.layout.periods;
    context.decimalSeparator = decimalSeparator;

    DataFileBytes dataFiles(recording.files);
    int tableCount = 0;
    int currentTable = 0;
    for (int index = 0; index < nuclideCount; ++index) {
        const std::string& name = selection.nuclides[static_cast<std::size_t>(index)];
        const std::optional<std::string> path = findDataFile(dataDirectory, name);
        if (!path) {
            outcome.stopMessage = std::string(kMissingNuclideFileMessage);
            outcome.tableCount = tableCount;
            return outcome;
        }
        try {
            dataFiles.read(*path, scratch, store);
            const int tables = countTables(run, scratch);
            if (tables > store.slotCount() - 1 - tableCount) throw RangeError();
            tableCount += tables;
            outcome.tableCount = tableCount;

            context.nuclide = name;
            context.halfLife =
                static_cast<std::size_t>(index) < selection.halfLives.size()
                    ? std::string_view(selection.halfLives[static_cast<std::size_t>(index)])
                    : std::string_view();
            currentTable = fillNuclide(run, scratch, context, scenarioHeadings, index, currentTable,
                                       store, recording.keys);
        } catch (Fault& fault) {
            // The message stays the program's; the fault says which data file it concerns.
            fault.locate(*path);
            throw;
        }
        // Only whole nuclides count as tables in the store, so a fault in a later file never
        // leaves a half-filled slot where a reader would take it for a table.
        store.setTableCount(currentTable);
        if (recording.progress && *recording.progress)
            (*recording.progress)(index + 1, nuclideCount);
    }
    outcome.complete = currentTable == tableCount;
    return outcome;
}

}  // namespace

FillOutcome fillResultStore(const SelectionSnapshot& selection, const RunCheck& check,
                            const std::string& dataDirectory, char decimalSeparator,
                            NuclideData& scratch, ResultStore& store, RunRecording* recording) {
    if (check.stage != GridStage::LaidOut) {
        FillOutcome outcome;
        outcome.stopMessage = check.stopMessage;
        return outcome;
    }
    std::vector<SourceFile> files;
    RunRecording discarded{files, nullptr, nullptr};
    try {
        return fillFrom(selection, check, dataDirectory, decimalSeparator, scratch, store,
                        recording ? *recording : discarded);
    } catch (...) {
        // A run that fails shows no table: what it read is let go at once, not kept until
        // the next run.
        releaseFailedRun(store);
        throw;
    }
}

}  // namespace fetaldose
