// The whole data set at once, as those who publish or check it run it: fetaldose-batch over 20
// and 900 full-capacity nuclides with everything chosen, to a results file and to CSV, against
// the physical work it stands on: reading every data file and one write and fsync of the same
// output bytes (goal for the results file: at most 1.5 times). Each run of the tool is a fresh
// process, whose peak resident memory is reported beside the largest data file (goal: at most
// 64 MB at 900 nuclides).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/options/options_file.h"

namespace fetaldose::bench {
namespace {

struct WholeSet {
    std::unique_ptr<ScratchFolder> folder;
    std::vector<std::string> dataFiles;
    std::string options;
};

const WholeSet& wholeSet(int nuclides) {
    static std::map<int, WholeSet> sets;
    WholeSet& set = sets[nuclides];
    if (set.folder) return set;
    set.folder =
        std::make_unique<ScratchFolder>("fetaldose-bench-whole-" + std::to_string(nuclides));
    SelectionSnapshot selection;
    selection.nuclides = writeFullCapacityDataSet(set.folder->dataDirectory(), nuclides);
    for (const std::string& name : selection.nuclides)
        set.dataFiles.push_back(set.folder->dataDirectory() + name + ".dat");
    selection.halfLives.assign(selection.nuclides.size(), "1 d");
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    set.options = set.folder->path() + "/all.opt";
    saveOptionsFile(set.options, selection);
    return set;
}

std::string outputOf(int nuclides, const char* extension) {
    return wholeSet(nuclides).folder->path() + "/whole" + extension;
}

// Peak resident memory of the last tool run, and the largest data file, in MB.
std::map<std::string, double> peakMegabytes;

void runTool(benchmark::State& state, const char* extension) {
    const int nuclides = static_cast<int>(state.range(0));
    const WholeSet& set = wholeSet(nuclides);
    std::vector<std::string> args = {FETALDOSE_BATCH,
                                     "--data",
                                     set.folder->dataDirectory(),
                                     "--options",
                                     set.options,
                                     "--out",
                                     outputOf(nuclides, extension),
                                     "--decimal",
                                     "."};
    for (auto _ : state) {
        rusage usage{};
        if (!runProcess(args, usage)) return state.SkipWithError("fetaldose-batch failed");
        const double peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
        state.counters["peak_MB"] = peak;
        peakMegabytes[std::string(extension) + std::to_string(nuclides)] = peak;
    }
    state.counters["output_MB"] =
        static_cast<double>(std::filesystem::file_size(outputOf(nuclides, extension))) / 1e6;
}

// Reading every data file, and one write and fsync of the bytes the tool wrote (held in memory
// beforehand, so that only the write is timed).
void readAndWrite(benchmark::State& state, const char* extension) {
    const int nuclides = static_cast<int>(state.range(0));
    const WholeSet& set = wholeSet(nuclides);
    const std::string output = outputOf(nuclides, extension);
    if (!std::filesystem::exists(output))
        return state.SkipWithError("the tool's output is missing");
    const std::string bytes = testing::readBytes(output);
    const std::string copy = set.folder->path() + "/copy";
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        for (const std::string& file : set.dataFiles) {
            const int fd = ::open(file.c_str(), O_RDONLY);
            while (::read(fd, buffer.data(), buffer.size()) > 0) {
            }
            ::close(fd);
        }
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::size_t at = 0; at < bytes.size();) {
            const ssize_t n =
                ::write(fd, bytes.data() + at, std::min<std::size_t>(bytes.size() - at, 1 << 20));
            if (n <= 0) return state.SkipWithError("write failed");
            at += static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
    }
    std::filesystem::remove(copy);
}

void BM_ToolResultsFile(benchmark::State& state) {
    runTool(state, ".dos");
}
void BM_ReadAndWriteResultsFile(benchmark::State& state) {
    readAndWrite(state, ".dos");
}
void BM_ToolCsv(benchmark::State& state) {
    runTool(state, ".csv");
}
void BM_ReadAndWriteCsv(benchmark::State& state) {
    readAndWrite(state, ".csv");
}

// The tool runs first: a process started from this one counts this one's peak memory as its own
// (its memory map is this one's until it starts the tool), and the physical work holds the
// outputs in memory.
BENCHMARK(BM_ToolResultsFile)->Arg(20)->Arg(900)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToolCsv)->Arg(20)->Arg(900)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAndWriteResultsFile)->Arg(20)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndWriteCsv)->Arg(20)->Arg(900)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    using namespace fetaldose::bench;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (same run):\n");
    for (const char* n : {"20", "900"}) {
        const std::string count(n);
        reporter.printRatio("results file, " + count + " nuclides / reading plus write and fsync",
                            "BM_ToolResultsFile/" + count + "/real_time",
                            "BM_ReadAndWriteResultsFile/" + count, 1.5);
        reporter.printRatio("CSV, " + count + " nuclides / reading plus write and fsync",
                            "BM_ToolCsv/" + count + "/real_time", "BM_ReadAndWriteCsv/" + count, 0);
    }
    const double largest =
        static_cast<double>(std::filesystem::file_size(wholeSet(900).dataFiles.front())) / 1e6;
    for (const auto& [run, peak] : peakMegabytes)
        std::printf("%-62s %8.1f MB (largest data file %.1f MB)\n",
                    ("peak resident memory, " + run).c_str(), peak, largest);
    benchmark::Shutdown();
    return 0;
}
