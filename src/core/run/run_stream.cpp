#include "core/run/run_stream.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/refdata/data_directory.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"

namespace fetaldose {

namespace {

// A part as a worker left it for the calling thread: made and prepared, stopped, or failed.
struct MadePart {
    bool ready = false;
    bool stopped = false;  // the run stops at this nuclide, with stopMessage
    RunPart part;
    TakePart take;
    std::string stopMessage;
    std::exception_ptr fault;
};

// The ordered hand-over between the workers and the calling thread: a worker claims the next
// nuclide only while fewer than `window` parts are made and not yet taken, which bounds what
// the stream holds.
class PartQueue {
  public:
    PartQueue(int count, int window)
        : count_(count), window_(window), slots_(static_cast<std::size_t>(window)) {}

    // The next nuclide to make, or nothing once every one is claimed or the stream stops.
    std::optional<int> claim() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock,
                      [&] { return stopping_ || next_ >= count_ || next_ < taken_ + window_; });
        if (stopping_ || next_ >= count_) return std::nullopt;
        return next_++;
    }
    void put(int index, MadePart made) {
        {
            const std::lock_guard lock(mutex_);
            made.ready = true;
            slot(index) = std::move(made);
        }
        changed_.notify_all();
    }
    // The part of the nuclide at `index`, once made; the calling thread takes them in order.
    MadePart take(int index) {
        MadePart made;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return slot(index).ready; });
            made = std::exchange(slot(index), MadePart{});
            ++taken_;
        }
        changed_.notify_all();
        return made;
    }
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
    }

  private:
    MadePart& slot(int index) { return slots_[static_cast<std::size_t>(index % window_)]; }

    const int count_;
    const int window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<MadePart> slots_;
    int next_ = 0;
    int taken_ = 0;
    bool stopping_ = false;
};

// Stops and joins the workers however the calling thread leaves.
struct Workers {
    PartQueue& queue;
    std::vector<std::thread> threads;
    ~Workers() {
        queue.stop();
        for (std::thread& thread : threads) thread.join();
    }
};

// A request for one chosen nuclide alone, from `shared`: the request with the catalogue read and
// without the chosen list, which is not copied for every part.
RunRequest partRequest(const RunRequest& shared, const SelectionSnapshot& chosen, int index) {
    RunRequest part = shared;
    const auto at = static_cast<std::size_t>(index);
    part.selection.nuclides = {chosen.nuclides[at]};
    if (at < chosen.halfLives.size()) part.selection.halfLives = {chosen.halfLives[at]};
    return part;
}

MadePart makePart(const RunRequest& shared, const SelectionSnapshot& chosen, const RunCheck& check,
                  const PreparePart& prepare, const StreamOptions& options, int index,
                  std::unique_ptr<NuclideData>& scratch) {
    MadePart made;
    try {
        if (!scratch) scratch = std::make_unique<NuclideData>();  // too large for a stack
        RunOutcome outcome = runTables(partRequest(shared, chosen, index), check, *scratch);
        if (!outcome.complete) {
            made.stopped = true;
            made.stopMessage = outcome.stopMessage;
            return made;
        }
        if (options.digests)
            for (const SourceFile& file : outcome.result->sources().dataFiles) file.sha256();
        made.part.tables = std::move(outcome.result);
        made.part.nuclide = index;
        made.part.nuclideCount = static_cast<int>(chosen.nuclides.size());
        if (prepare) made.take = prepare(made.part);
    } catch (...) {
        made = MadePart{};
        made.fault = std::current_exception();
    }
    return made;
}

// Notes the part's data file in the sources, once per path, without its bytes. A file read
// again must hold the bytes its digest was made of. `places` finds a path's place in the list.
void noteDataFiles(RunSources& sources, std::unordered_map<std::string, std::size_t>& places,
                   const RunResult& part) {
    for (const SourceFile& file : part.sources().dataFiles) {
        const auto [place, added] = places.try_emplace(file.path(), sources.dataFiles.size());
        if (added) {
            sources.dataFiles.push_back(file.digestOnly());
            continue;
        }
        if (sources.dataFiles[place->second].sha256() != file.sha256())
            throw changedDuringRun(file.path());
    }
}

}  // namespace

Fault changedDuringRun(const std::string& file) {
    Fault fault{std::string(kChangedDuringRun)};
    fault.locate(file);
    return fault;
}

int defaultStreamWorkers() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 4U));
}

StreamOutcome streamTables(const RunRequest& request, const RunCheck& check,
                           const PreparePart& prepare, const StreamOptions& options) {
    StreamOutcome outcome;
    if (check.stage != GridStage::LaidOut) {
        outcome.stopMessage = check.stopMessage;
        return outcome;
    }
    if (request.selection.nuclides.size() >
        static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw RangeError();
    const int count = static_cast<int>(request.selection.nuclides.size());

    // The catalogue is read once, and every part names the same bytes.
    outcome.sources.dataDirectory = absoluteDirectory(request.dataDirectory);
    outcome.sources.decimalSeparator = request.decimalSeparator;
    outcome.sources.ranAt = std::time(nullptr);
    takeCatalogue(outcome.sources, request.catalogue);
    outcome.sources.syntheticData =
        findFileInDirectory(outcome.sources.dataDirectory, kSyntheticDataMarker).has_value();
    RunRequest shared;
    shared.dataDirectory = request.dataDirectory;
    shared.decimalSeparator = request.decimalSeparator;
    shared.catalogue = outcome.sources.catalogue;
    shared.selection = request.selection;
    shared.selection.nuclides.clear();
    shared.selection.halfLives.clear();
    std::unordered_map<std::string, std::size_t> places;

    const int workerCount = std::max(options.workers, 1);
    PartQueue queue(count, workerCount + 1);
    {
        Workers workers{queue, {}};
        for (int w = 0; w < std::min(workerCount, count); ++w)
            workers.threads.emplace_back([&] {
                std::unique_ptr<NuclideData> scratch;  // made with the first part
                while (const std::optional<int> index = queue.claim())
                    queue.put(*index, makePart(shared, request.selection, check, prepare, options,
                                               *index, scratch));
            });

        for (int index = 0; index < count; ++index) {
            MadePart made = queue.take(index);
            if (made.fault) std::rethrow_exception(made.fault);
            if (made.stopped) {
                outcome.stopMessage = made.stopMessage;
                return outcome;
            }
            const RunResult& tables = *made.part.tables;
            if (tables.tableCount() > std::numeric_limits<int>::max() - outcome.tableCount)
                throw RangeError();
            if (options.digests) noteDataFiles(outcome.sources, places, tables);
            made.part.tablesBefore = outcome.tableCount;
            if (made.take) made.take(made.part);
            outcome.tableCount += tables.tableCount();
        }
    }
    outcome.complete = true;
    return outcome;
}

}  // namespace fetaldose
