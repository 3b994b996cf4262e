// Benchmarks of the dose assessment: recomputing after one edit, as the window does on every
// keystroke, and a large assessment made once, as the batch tool makes it, against reading the
// data files it needs.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/assessment/assessment.h"
#include "core/run/run_texts.h"

namespace fetaldose::bench {
namespace {

using namespace assessment;

constexpr int kNuclides = 20;

struct AssessmentSet {
    ScratchFolder folder{"fetaldose-bench-assessment"};
    std::vector<std::string> names = writeFullCapacityDataSet(folder.dataDirectory(), kNuclides);
};

const AssessmentSet& assessmentSet() {
    static const AssessmentSet set;
    return set;
}

// Intakes spread over the nuclides, both groups, ingestion and particulates, and times on and
// between the tabulated ones.
std::vector<IntakeEntry> intakes(int count) {
    static const char* const kTimes[] = {"12 weeks after conception", "at conception",
                                         "3 days after conception", "1.5 years before conception",
                                         "Acute intake (1Bq) 25 weeks after conception"};
    std::vector<IntakeEntry> list;
    for (int i = 0; i < count; ++i) {
        IntakeEntry entry;
        entry.line = i + 2;
        entry.nuclide = assessmentSet().names[static_cast<std::size_t>(i % kNuclides)];
        const int group = (i / kNuclides) % 2 + 1;
        entry.group = group == 1 ? "Member of the public" : "Worker";
        // The builder's texts: type 'E' + k + 2g with f1 0.00kg; ingestion f1 0.1kg.
        const int k = i % 3 + 1;
        const std::string g = std::to_string(group);
        entry.route = i % 2 ? "Ingestion: f1 = 0.1" + std::to_string(k) + g
                            : std::string("Inhalation: Type ") + char('E' + k + 2 * group) +
                                  ", f1 = 0.00" + std::to_string(k) + g + ", " +
                                  std::string(kAerosolLabels[static_cast<std::size_t>(i % 10)]);
        entry.time = kTimes[i % 5];
        entry.activity = std::to_string(1 + i % 97);
        entry.unit = i % 3 ? "kBq" : "uCi";
        list.push_back(std::move(entry));
    }
    return list;
}

// The window: every run made already; one activity edited, then the whole assessment again.
void BM_RecomputeHundredIntakesAfterAnEdit(benchmark::State& state) {
    AssessmentData data(assessmentSet().folder.dataDirectory());
    std::vector<IntakeEntry> list = intakes(100);
    const AssessmentSettings settings = AssessmentSettings::everything();
    if (assess(list, settings, data).problemCount != 0) {
        state.SkipWithError("intakes that cannot be assessed");
        return;
    }
    int edit = 0;
    for (auto _ : state) {
        list[static_cast<std::size_t>(edit % 100)].activity = std::to_string(edit % 50 + 1);
        ++edit;
        benchmark::DoNotOptimize(assess(list, settings, data));
    }
}

// The batch tool: 10,000 intakes, each nuclide run once and let go.
void BM_AssessTenThousandIntakes(benchmark::State& state) {
    const std::vector<IntakeEntry> list = intakes(10000);
    const AssessmentSettings settings = AssessmentSettings::everything();
    for (auto _ : state) {
        AssessmentData data(assessmentSet().folder.dataDirectory(), std::nullopt,
                            RunScope::TablesNeeded);
        const AssessmentResult result = assess(list, settings, data, true);
        if (result.problemCount != 0) state.SkipWithError(result.intakes[0].message().c_str());
        benchmark::DoNotOptimize(result);
    }
}

// The physical work under it: the catalogue and each data file read into memory once.
void BM_ReadTheDataFilesNeeded(benchmark::State& state) {
    const std::string directory = assessmentSet().folder.dataDirectory();
    std::vector<std::string> files{directory + "nuclides.txt"};
    for (const std::string& name : assessmentSet().names)
        files.push_back(directory + name + ".dat");
    std::vector<char> buffer;
    for (auto _ : state) {
        for (const std::string& file : files) {
            const int fd = ::open(file.c_str(), O_RDONLY);
            const off_t size = ::lseek(fd, 0, SEEK_END);
            buffer.resize(static_cast<std::size_t>(size));
            ::pread(fd, buffer.data(), buffer.size(), 0);
            ::close(fd);
            benchmark::DoNotOptimize(buffer.data());
        }
    }
}

BENCHMARK(BM_RecomputeHundredIntakesAfterAnEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssessTenThousandIntakes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTheDataFilesNeeded)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    using namespace fetaldose::bench;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nAssessment (20 full-capacity nuclides):\n");
    RatioReporter::printFigure("recompute 100 intakes after one edit, ms",
                               reporter.seconds("BM_RecomputeHundredIntakesAfterAnEdit") * 1e3, 16);
    reporter.printRatio("assess 10,000 intakes / read the data files needed",
                        "BM_AssessTenThousandIntakes", "BM_ReadTheDataFilesNeeded", 2);
    benchmark::Shutdown();
    return 0;
}
