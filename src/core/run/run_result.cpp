#include "core/run/run_result.h"

#include <limits>
#include <utility>

#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/textio/faults.h"

namespace fetaldose {

void takeCatalogue(RunSources& sources, std::optional<SourceFile> given) {
    sources.catalogueName = kCatalogueFileName;
    if (given) {
        sources.catalogueName = given->fileName();
        sources.catalogue = std::move(given);
        return;
    }
    try {
        sources.catalogue = readCatalogueSource(sources.dataDirectory);
        if (sources.catalogue)
            sources.catalogueName = sources.catalogue->fileName();
        else
            sources.catalogueFailure = IoError(IoError::kFileNotFound).what();
    } catch (const Fault& fault) {
        sources.catalogueFailure = fault.what();
    }
}

RunResult::PackedKey RunResult::pack(const TableKey& key) {
    if (key.nuclide < 0 || key.group < 1 || key.group > 2 || key.entry < 0 || key.entry > 255 ||
        key.aerosolSize < 0 || key.aerosolSize > 255 || key.scenario < 0 || key.scenario > 255)
        throw RangeError();
    PackedKey packed;
    packed.nuclide = static_cast<std::uint32_t>(key.nuclide);
    packed.groupAndRoute =
        static_cast<std::uint8_t>((key.group - 1) | (static_cast<int>(key.route) << 1));
    packed.entry = static_cast<std::uint8_t>(key.entry);
    packed.aerosolSize = static_cast<std::uint8_t>(key.aerosolSize);
    packed.scenario = static_cast<std::uint8_t>(key.scenario);
    return packed;
}

TableKey RunResult::key(int table) const {
    if (!hasTable(table) || static_cast<std::size_t>(table) > keys_.size()) throw RangeError();
    const PackedKey& packed = keys_[static_cast<std::size_t>(table - 1)];
    TableKey key;
    key.nuclide = static_cast<int>(packed.nuclide);
    key.group = (packed.groupAndRoute & 1) + 1;
    key.route = static_cast<IntakeRoute>(packed.groupAndRoute >> 1);
    key.entry = packed.entry;
    key.aerosolSize = packed.aerosolSize;
    key.scenario = packed.scenario;
    return key;
}

std::string_view RunResult::nuclideName(int table) const {
    const auto index = static_cast<std::size_t>(key(table).nuclide);
    return index < selection_.nuclides.size() ? std::string_view(selection_.nuclides[index])
                                              : std::string_view();
}

std::string_view RunResult::halfLife(int table) const {
    const auto index = static_cast<std::size_t>(key(table).nuclide);
    return index < selection_.halfLives.size() ? std::string_view(selection_.halfLives[index])
                                               : std::string_view();
}

double RunResult::inUteroDose(int table, int row) const {
    return doseValue(inUteroText(table, row), decimalSeparator());
}

double RunResult::postNatalDose(int table, int row, int period) const {
    return doseValue(postNatalText(table, row, period), decimalSeparator());
}

double RunResult::offspringDose(int table, int row, int period) const {
    return doseValue(offspringText(table, row, period), decimalSeparator());
}

double RunResult::offspringSum(int table, int row, int period) const {
    const char separator = decimalSeparator();
    return static_cast<double>(readDose(inUteroText(table, row), separator) +
                               readDose(postNatalText(table, row, period), separator));
}

std::size_t RunResult::memoryBytes() const {
    return store_.memoryBytes() + keys_.capacity() * sizeof(PackedKey);
}

// Puts a result together; the only code that writes into one.
struct RunBuilder {
    static RunOutcome run(RunRequest request, const RunCheck& check, NuclideData& scratch,
                          const RunProgress* progress);
};

RunOutcome runTables(RunRequest request, const RunCheck& check, NuclideData& scratch) {
    return RunBuilder::run(std::move(request), check, scratch, nullptr);
}

RunOutcome runTables(RunRequest request, const RunCheck& check, NuclideData& scratch,
                     const RunProgress& progress) {
    return RunBuilder::run(std::move(request), check, scratch, &progress);
}

RunOutcome RunBuilder::run(RunRequest request, const RunCheck& check, NuclideData& scratch,
                           const RunProgress* progress) {
    RunOutcome outcome;
    if (check.stage != GridStage::LaidOut) {
        outcome.stopMessage = check.stopMessage;
        return outcome;
    }
    std::shared_ptr<RunResult> result(new RunResult);
    RunResult& run = *result;
    run.layout_ = check.layout;
    run.sources_.dataDirectory = absoluteDirectory(request.dataDirectory);
    run.sources_.decimalSeparator = request.decimalSeparator;
    run.sources_.ranAt = std::time(nullptr);

    std::vector<TableKey> keys;
    RunRecording recording{run.sources_.dataFiles, &keys, progress};
    const FillOutcome fill =
        fillResultStore(request.selection, check, request.dataDirectory, request.decimalSeparator,
                        scratch, run.store_, &recording);
    outcome.tableCount = fill.tableCount;
    outcome.stopMessage = fill.stopMessage;
    if (!fill.complete) return outcome;  // what it read goes with `result`

    run.keys_.reserve(keys.size());
    for (const TableKey& key : keys) run.keys_.push_back(RunResult::pack(key));
    if (static_cast<int>(run.keys_.size()) != run.store_.tableCount()) throw RangeError();
    run.selection_ = std::move(request.selection);
    takeCatalogue(run.sources_, std::move(request.catalogue));
    run.sources_.syntheticData =
        findFileInDirectory(run.sources_.dataDirectory, kSyntheticDataMarker).has_value();
    outcome.complete = true;
    outcome.result = std::move(result);
    return outcome;
}

RunOutcome runTables(RunRequest request, const RunCheck& check) {
    const auto scratch = std::make_unique<NuclideData>();  // too large for the stack
    return runTables(std::move(request), check, *scratch);
}

std::optional<SourceFile> readCatalogueSource(const std::string& dataDirectory) {
    const std::optional<std::string> path = findFileInDirectory(dataDirectory, kCatalogueFileName);
    if (!path) return std::nullopt;
    return SourceFile::read(*path, kCatalogueCeiling);
}

}  // namespace fetaldose
