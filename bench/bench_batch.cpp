// The batch tool against the same work inside the program: loading an options file, the run
// and the results-file save over 20 full-capacity nuclides, once as a process of its own and
// once in process. The tool loads no GUI, so the two should be close.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/options/options_file.h"
#include "core/refdata/nuclide_data.h"
#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/run/result_store.h"
#include "core/run/run.h"
#include "core/run/run_result.h"
#include "core/selection/selection_model.h"

namespace fetaldose::bench {
namespace {

constexpr int kNuclides = 20;

struct BatchSet {
    std::string folder;
    std::string dataDirectory;
    std::string options;
};

ScratchFolder& scratchFolder() {
    static ScratchFolder folder("fetaldose-bench-batch");
    return folder;
}

// Every nuclide, group, route, size, scenario, tissue and period: 16 280 tables.
const BatchSet& batchSet() {
    static const BatchSet set = [] {
        BatchSet s{scratchFolder().path(), scratchFolder().dataDirectory(),
                   scratchFolder().path() + "/all.opt"};
        SelectionSnapshot selection;
        selection.nuclides = writeFullCapacityDataSet(s.dataDirectory, kNuclides);
        selection.halfLives.assign(selection.nuclides.size(), "1 d");
        selection.memberOfPublic = selection.occupational = true;
        selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
        selection.allChronics = selection.allOrgans = selection.allPeriods = true;
        saveOptionsFile(s.options, selection);
        return s;
    }();
    return set;
}

double cpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// In process, as the program does it: the options loaded into the selection, the run into
// the store it keeps between runs, and "Save to file". With `cpuOnly`, the time counted is the
// processor time used (the wait for the disk left out, which is the same for both and varies
// with whatever else the machine writes).
void inProcessRunAndSave(benchmark::State& state, bool cpuOnly) {
    const BatchSet& set = batchSet();
    auto scratch = std::make_unique<NuclideData>();
    int tables = 0;
    const std::string out = set.folder + "/in-process.dos";
    for (auto _ : state) {
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        SelectionModel model(set.dataDirectory);
        if (model.loadOptions(set.options) != OptionsLoad::Completed)
            return state.SkipWithError("options did not load");
        const SelectionSnapshot selection = model.snapshot();
        const RunCheck check = checkSelection(selection);
        const RunOutcome outcome =
            runTables({selection, set.dataDirectory, '.', {}}, check, *scratch);
        if (!outcome.complete) return state.SkipWithError("run did not complete");
        writeResultsFile(out, *outcome.result);
        tables = outcome.result->tableCount();
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        if (cpuOnly) state.SetIterationTime(cpuSeconds(after) - cpuSeconds(before));
    }
    state.counters["tables"] = tables;
}

// The same as a process of its own: start-up, the same work, exit.
void batchToolRunAndSave(benchmark::State& state, bool cpuOnly) {
    const BatchSet& set = batchSet();
    std::vector<std::string> args = {FETALDOSE_BATCH,
                                     "--data",
                                     set.dataDirectory,
                                     "--options",
                                     set.options,
                                     "--out",
                                     set.folder + "/batch.dos",
                                     "--decimal",
                                     "."};
    for (auto _ : state) {
        rusage child{};
        if (!runProcess(args, child)) return state.SkipWithError("fetaldose-batch failed");
        if (cpuOnly) state.SetIterationTime(cpuSeconds(child));
    }
}

void BM_InProcessRunAndSave(benchmark::State& state) {
    inProcessRunAndSave(state, false);
}
void BM_BatchToolRunAndSave(benchmark::State& state) {
    batchToolRunAndSave(state, false);
}
void BM_InProcessRunAndSaveCpu(benchmark::State& state) {
    inProcessRunAndSave(state, true);
}
void BM_BatchToolRunAndSaveCpu(benchmark::State& state) {
    batchToolRunAndSave(state, true);
}

BENCHMARK(BM_InProcessRunAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchToolRunAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InProcessRunAndSaveCpu)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchToolRunAndSaveCpu)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    using fetaldose::bench::RatioReporter;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatio (same run):\n");
    reporter.printRatio("batch tool, 20 full nuclides / the same work in process",
                        "BM_BatchToolRunAndSave", "BM_InProcessRunAndSave", 1.2);
    reporter.printRatio("the same, processor time only", "BM_BatchToolRunAndSaveCpu/manual_time",
                        "BM_InProcessRunAndSaveCpu/manual_time", 1.2);
    benchmark::Shutdown();
    return 0;
}
