// Benchmarks of what a person waits for in the windows: start-up (the catalogue loaded into
// the selection window, the one window created at start), showing one table in the viewer, a
// page turn from the button press to the repainted window, and the memory and page turns of
// large runs, up to the whole capacity.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/window_set.h"
#include "bench_support.h"
#include "core/run/run.h"
#include "core/run/run_result.h"
#include "gui/results/result_grid.h"
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
        testing::writeBytes(f.dataDirectory() + "nuclides.txt", catalogue);
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

// A run over the first `nuclides` full nuclides with everything checked (18 rows, 5 periods),
// filled into the viewer's store; the number of tables, or 0 if the run did not complete.
int runEverything(gui::ResultsViewer& viewer, int nuclides) {
    SelectionSnapshot selection;
    for (int i = 1; i <= nuclides; ++i) {
        selection.nuclides.push_back("Nx-" + std::to_string(i));
        selection.halfLives.push_back(std::to_string(i) + ".5 d");
    }
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    const RunCheck check = checkSelection(selection);
    viewer.layOutGrids(check);
    const std::string data = QDir::currentPath().toStdString() + "/data/";
    viewer.setRun(nullptr);
    RunOutcome outcome = runTables({selection, data, '.', {}}, check, viewer.runScratch());
    viewer.setRun(outcome.result);
    return outcome.complete ? outcome.tableCount : 0;
}

// Every table of a run over the two full nuclides, shown one after the other as paging would.
void BM_ShowTable(benchmark::State& state) {
    QDir::setCurrent(QString::fromStdString(folder().path()));
    gui::RecordingMessages messages;
    gui::WindowSet windows(quietPlatform(messages));
    windows.create();
    gui::ResultsViewer& viewer = windows.viewer();
    const int tables = runEverything(viewer, kFullNuclides);
    if (tables == 0) return state.SkipWithError("run did not complete");
    int table = 0;
    for (auto _ : state) {
        viewer.showTable(table % tables + 1);
        ++table;
    }
    state.counters["tables"] = tables;
}

// Counts the paints of a widget; a paint has finished when the event loop returns from it.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A click as the window system delivers it: press and release, posted to the event loop.
void postClick(QAbstractButton& button) {
    const QPointF centre = QRectF(button.rect()).center();
    const QPointF global = button.mapToGlobal(centre);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            &button,
            new QMouseEvent(type, centre, global, Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

std::vector<double> pageTurnSeconds;

// "Next" and "Previous" in turn on the open viewer (an 18 x 5 table), each timed from the
// posted click to the end of the repaint of the grid on show.
void BM_PageTurn(benchmark::State& state) {
    QDir::setCurrent(QString::fromStdString(folder().path()));
    gui::RecordingMessages messages;
    gui::WindowSet windows(quietPlatform(messages));
    windows.create();
    gui::ResultsViewer& viewer = windows.viewer();
    if (runEverything(viewer, kFullNuclides) < 2) return state.SkipWithError("too few tables");
    viewer.showTable(1);
    viewer.show();
    PaintCounter painted(*viewer.offspringGrid().viewport());
    while (painted.paints == 0) QCoreApplication::processEvents();
    auto* next = viewer.findChild<QAbstractButton*>(QStringLiteral("SpdBtnNext"));
    auto* previous = viewer.findChild<QAbstractButton*>(QStringLiteral("SpdBtnPrevious"));
    pageTurnSeconds.clear();
    bool forward = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int before = painted.paints;
        postClick(forward ? *next : *previous);
        while (painted.paints == before) QCoreApplication::processEvents();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        pageTurnSeconds.push_back(took.count());
        forward = !forward;
    }
    if (viewer.currentTable() > 2) state.SkipWithError("the page turns did not alternate");
    viewer.hide();
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// What a fresh process that runs `nuclides` full nuclides (814 tables each) and shows the viewer
// reports: its peak resident memory, the data files' size, and the median page turn (press to
// repainted grid) from the middle of the run; negative figures when it failed.
struct LargeRun {
    double peakMegabytes = -1;
    double dataMegabytes = -1;
    double pageTurnSeconds = -1;
};

LargeRun measureLargeRun(int argc, char** argv, int nuclides) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        ::close(channel[0]);
        LargeRun figures;
        {
            QApplication app(argc, argv);
            ScratchFolder large("fetaldose-bench-memory");
            const std::vector<std::string> names =
                writeFullCapacityDataSet(large.dataDirectory(), nuclides);
            double bytes = 0;
            for (const std::string& name : names) {
                const std::string path = large.dataDirectory() + name + ".dat";
                ::chmod(path.c_str(), 0444);
                struct stat file {};
                if (::stat(path.c_str(), &file) == 0) bytes += static_cast<double>(file.st_size);
            }
            figures.dataMegabytes = bytes / (1024.0 * 1024.0);
            QDir::setCurrent(QString::fromStdString(large.path()));
            gui::RecordingMessages messages;
            gui::WindowSet windows(quietPlatform(messages));
            windows.create();
            gui::ResultsViewer& viewer = windows.viewer();
            const int tables = runEverything(viewer, nuclides);
            if (tables > 2) {
                viewer.goToTable(tables / 2);
                viewer.show();
                PaintCounter painted(*viewer.offspringGrid().viewport());
                while (painted.paints == 0) QCoreApplication::processEvents();
                rusage usage{};
                ::getrusage(RUSAGE_SELF, &usage);
                figures.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
                auto* next = viewer.findChild<QAbstractButton*>(QStringLiteral("SpdBtnNext"));
                auto* previous =
                    viewer.findChild<QAbstractButton*>(QStringLiteral("SpdBtnPrevious"));
                std::vector<double> turns;
                for (int turn = 0; turn < 200; ++turn) {
                    const auto start = std::chrono::steady_clock::now();
                    const int before = painted.paints;
                    postClick(turn % 2 == 0 ? *next : *previous);
                    while (painted.paints == before) QCoreApplication::processEvents();
                    turns.push_back(
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                            .count());
                }
                std::nth_element(turns.begin(), turns.begin() + turns.size() / 2, turns.end());
                figures.pageTurnSeconds = turns[turns.size() / 2];
                viewer.hide();
            }
        }
        const bool sent = ::write(channel[1], &figures, sizeof figures) == sizeof figures;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    LargeRun figures;
    if (::read(channel[0], &figures, sizeof figures) != sizeof figures) figures = {};
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return figures;
}

BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageTurn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(400);

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    // Windows are made without a screen; the figures are those of the program's own work.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Measured first, each in a process of its own, before this one has grown: 20 nuclides
    // (16,280 tables) and the whole capacity, 900 (732,600 tables, 633 MB of data files).
    const fetaldose::bench::LargeRun largeRuns[] = {
        fetaldose::bench::measureLargeRun(argc, argv, 20),
        fetaldose::bench::measureLargeRun(argc, argv, 900)};
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
    const double turn = fetaldose::bench::median(fetaldose::bench::pageTurnSeconds);
    if (turn >= 0)
        std::printf("%-58s %8.3f ms   (goal: at most 5 ms) %s\n",
                    "page turn, press to repainted 18 x 5 table, median", turn * 1e3,
                    turn <= 5e-3 ? "ok" : "MISSED");
    for (const auto& [nuclides, figures] :
         {std::pair{20, largeRuns[0]}, std::pair{900, largeRuns[1]}}) {
        const std::string tables = std::to_string(nuclides * 814) + " tables";
        if (figures.peakMegabytes < 0) {
            std::printf("%-58s   failed\n", ("run of " + tables).c_str());
            continue;
        }
        // The run may keep the bytes it reads, and at most 0.3 times as much again; at 20
        // nuclides the program's own few tens of megabytes still outweigh them.
        const double ratio = figures.peakMegabytes / figures.dataMegabytes;
        std::printf("%-58s %8.1f MB   (%.2fx the %.0f MB of data files%s)%s\n",
                    ("peak resident memory, " + tables + ", viewer open").c_str(),
                    figures.peakMegabytes, ratio, figures.dataMegabytes,
                    nuclides == 900 ? "; goal: at most 1.3x" : "",
                    nuclides != 900 ? ""
                    : ratio <= 1.3  ? " ok"
                                    : " MISSED");
        std::printf("%-58s %8.3f ms   (goal: at most 5 ms) %s\n",
                    ("page turn in the middle of " + tables + ", median").c_str(),
                    figures.pageTurnSeconds * 1e3,
                    figures.pageTurnSeconds <= 5e-3 ? "ok" : "MISSED");
    }
    return 0;
}
