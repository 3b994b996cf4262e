// The comparison of two 900-nuclide full-capacity data sets with everything chosen, against
// running both (goal: at most 2.5 times), and its peak memory against the sum of the two runs'
// (goal: below it). Every candidate file differs from its reference in one dose, so that no file
// is passed over as identical and every cell is compared: the most work a comparison can have.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/compare/comparison.h"
#include "core/refdata/nuclide_data.h"
#include "core/run/run.h"
#include "core/run/run_result.h"

namespace fetaldose::bench {
namespace {

constexpr int kNuclides = 900;  // the catalogue's capacity

struct Folders {
    ScratchFolder reference{"fetaldose-bench-compare-ref"};
    ScratchFolder candidate{"fetaldose-bench-compare-cand"};
    std::vector<std::string> names;
};

// The candidate: each file with its first dose changed, the same length, the same elsewhere.
void writeCandidate(const std::string& referenceDirectory, const std::string& candidateDirectory,
                    const std::vector<std::string>& names) {
    std::filesystem::copy_file(referenceDirectory + "nuclides.txt",
                               candidateDirectory + "nuclides.txt",
                               std::filesystem::copy_options::overwrite_existing);
    for (const std::string& name : names) {
        std::string text = testing::readBytes(referenceDirectory + name + ".dat");
        const std::size_t at = text.find("E-");  // the first dose of the file
        text[at - 1] = text[at - 1] == '9' ? '8' : '9';
        testing::writeBytes(candidateDirectory + name + ".dat", text);
    }
}

Folders& folders() {
    static Folders f = [] {
        Folders made;
        made.names = writeFullCapacityDataSet(made.reference.dataDirectory(), kNuclides);
        writeCandidate(made.reference.dataDirectory(), made.candidate.dataDirectory(), made.names);
        return made;
    }();
    return f;
}

SelectionSnapshot everything(const std::vector<std::string>& names) {
    SelectionSnapshot s;
    s.nuclides = names;
    s.halfLives.assign(names.size(), "1 d");
    s.memberOfPublic = s.occupational = true;
    s.allRoutes = s.allAerosol = s.allAcutes = true;
    s.allChronics = s.allOrgans = s.allPeriods = true;
    return s;
}

std::shared_ptr<const RunResult> runOne(const std::string& dataDirectory,
                                        const std::vector<std::string>& names,
                                        NuclideData& scratch) {
    const SelectionSnapshot selection = everything(names);
    RunOutcome outcome =
        runTables({selection, dataDirectory, '.', {}}, checkSelection(selection), scratch);
    return outcome.complete ? outcome.result : nullptr;
}

// The physical work under a comparison: both runs, both kept, as the comparison keeps them.
void BM_RunBoth(benchmark::State& state) {
    Folders& f = folders();
    auto scratch = std::make_unique<NuclideData>();
    for (auto _ : state) {
        auto reference = runOne(f.reference.dataDirectory(), f.names, *scratch);
        auto candidate = runOne(f.candidate.dataDirectory(), f.names, *scratch);
        if (!reference || !candidate) return state.SkipWithError("a run did not complete");
        state.counters["tables"] = reference->tableCount();
    }
}

CompareRequest everythingRequest(const Folders& f) {
    CompareRequest request;
    request.referenceDirectory = f.reference.dataDirectory();
    request.candidateDirectory = f.candidate.dataDirectory();
    request.scope = CompareScope::Everything;
    return request;
}

void BM_CompareBoth(benchmark::State& state) {
    Folders& f = folders();
    const CompareRequest request = everythingRequest(f);
    for (auto _ : state) {
        const CompareOutcome outcome = compareDataSets(request);
        if (!outcome.complete) return state.SkipWithError(outcome.stopMessage.c_str());
        state.counters["cells"] = static_cast<double>(outcome.comparison->cells.compared);
        state.counters["changed"] = static_cast<double>(outcome.comparison->cells.changed);
        state.counters["identical_files"] = outcome.comparison->identicalDataFiles;
    }
}

BENCHMARK(BM_RunBoth)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CompareBoth)->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak resident memory of a fresh process of this program doing one thing: running one data
// set, or comparing the two.
constexpr const char* kPeakOption = "--peak-memory=";

int peakMemory(const std::string& what, const std::string& reference,
               const std::string& candidate) {
    std::vector<std::string> names;
    for (int i = 1; i <= kNuclides; ++i) names.push_back("Nx-" + std::to_string(i));
    if (what == "run") {
        auto scratch = std::make_unique<NuclideData>();
        if (!runOne(reference, names, *scratch)) return 1;
    } else {
        CompareRequest request;
        request.referenceDirectory = reference;
        request.candidateDirectory = candidate;
        request.scope = CompareScope::Everything;
        if (!compareDataSets(request).complete) return 1;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);  // KiB
    return 0;
}

double peakMiB(const std::string& arguments) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::FILE* child =
        ::popen((self + " " + kPeakOption + arguments + " 2>/dev/null").c_str(), "r");
    if (!child) return -1;
    long kib = -1;
    if (std::fscanf(child, "%ld", &kib) != 1) kib = -1;
    ::pclose(child);
    return static_cast<double>(kib) / 1024;
}

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    using namespace fetaldose::bench;
    if (argc >= 2 && std::strncmp(argv[1], kPeakOption, std::strlen(kPeakOption)) == 0)
        return peakMemory(argv[1] + std::strlen(kPeakOption), argc > 2 ? argv[2] : "",
                          argc > 3 ? argv[3] : "");
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (900 full-capacity nuclides on each side, everything chosen):\n");
    reporter.printRatio("comparison / running both data sets", "BM_CompareBoth/iterations:3",
                        "BM_RunBoth/iterations:3", 2.5);
    Folders& f = folders();
    const double reference = peakMiB("run " + f.reference.dataDirectory());
    const double candidate = peakMiB("run " + f.candidate.dataDirectory());
    const double comparison =
        peakMiB("compare " + f.reference.dataDirectory() + " " + f.candidate.dataDirectory());
    std::printf("\nPeak resident memory, each a fresh process, MiB:\n");
    RatioReporter::printFigure("  running the reference", reference, 0);
    RatioReporter::printFigure("  running the candidate", candidate, 0);
    RatioReporter::printFigure("  comparing the two", comparison, 0);
    std::printf("%-62s %8.2f   (goal: below 1) %s\n", "comparison / the sum of the two runs",
                comparison / (reference + candidate),
                comparison < reference + candidate ? "ok" : "MISSED");
    benchmark::Shutdown();
    return 0;
}
