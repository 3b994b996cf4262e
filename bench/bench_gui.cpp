// Benchmarks of what a person waits for in the windows: start-up (the catalogue loaded into
// the selection window, the one window created at start) and showing one table in the viewer.

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/window_set.h"
#include "bench_support.h"
#include "core/run/run.h"
#include "gui/results/results_viewer.h"
#include "recording_messages.h"

namespace fetaldose::bench {
namespace {

constexpr int kCatalogueEntries = 900;
constexpr int kFullNuclides = 2;

// A working folder whose data/ holds a catalogue at capacity, its first two nuclides with
// full-capacity data files that are already read-only (so start-up runs no first-run pass).
ScratchFolder& folder() {
    static ScratchFolder folder = [] {
        ScratchFolder f("fetaldose-bench-gui");
        const std::vector<std::string> full =
            writeFullCapacityDataSet(f.dataDirectory(), kFullNuclides);
        std::string catalogue = std::to_string(kCatalogueEntries) + "\r\n";
        for (int i = 1; i <= kCatalogueEntries; ++i)
            catalogue += (i <= kFullNuclides ? full[static_cast<std::size_t>(i - 1)]
                                             : "Nc-" + std::to_string(i)) +
                         "\r\n" + std::to_string(i) + ".5 d\r\n";
        writeFile(f.dataDirectory() + "nuclides.txt", catalogue);
        for (const std::string& name : full)
            ::chmod((f.dataDirectory() + name + ".dat").c_str(), 0444);
        return f;
    }();
    return folder;
}

gui::Platform quietPlatform(gui::RecordingMessages& messages) {
    gui::Platform platform;
    platform.messages = &messages;
    platform.decimalSeparator = [] { return '.'; };
    return platform;
}

void BM_StartUp(benchmark::State& state) {
    QDir::setCurrent(QString::fromStdString(folder().path()));
    gui::RecordingMessages messages;
    for (auto _ : state) {
        gui::WindowSet windows(quietPlatform(messages));
        windows.create();
        benchmark::DoNotOptimize(&windows.selection());
    }
    if (!messages.all.isEmpty()) state.SkipWithError(qPrintable(messages.all.first()));
}

// Every table of a run over the two full nuclides with everything checked (18 rows, 5
// periods), shown one after the other as paging would.
void BM_ShowTable(benchmark::State& state) {
    QDir::setCurrent(QString::fromStdString(folder().path()));
    gui::RecordingMessages messages;
    gui::WindowSet windows(quietPlatform(messages));
    windows.create();
    gui::ResultsViewer& viewer = windows.viewer();
    SelectionSnapshot selection;
    selection.nuclides = {"Nx-1", "Nx-2"};
    selection.halfLives = {"1.5 d", "2.5 d"};
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    const RunCheck check = checkSelection(selection);
    viewer.layOutGrids(check);
    const FillOutcome outcome = fillResultStore(selection, check, folder().dataDirectory(), '.',
                                                viewer.runScratch(), viewer.store());
    if (!outcome.complete) return state.SkipWithError("run did not complete");
    int table = 0;
    for (auto _ : state) {
        viewer.showTable(table % outcome.tableCount + 1);
        ++table;
    }
    state.counters["tables"] = outcome.tableCount;
}

BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    // Windows are made without a screen; the figures are those of the program's own work.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fetaldose::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double startUp = reporter.seconds("BM_StartUp");
    const double show = reporter.seconds("BM_ShowTable");
    std::printf("\n");
    if (startUp >= 0)
        std::printf("%-58s %8.1f ms\n", "start-up, 900-entry catalogue and the main window",
                    startUp * 1e3);
    if (show >= 0)
        std::printf("%-58s %8.3f ms   (goal: under 1 ms) %s\n", "showing one table, 18 x 5",
                    show * 1e3, show < 1e-3 ? "ok" : "MISSED");
    return 0;
}
