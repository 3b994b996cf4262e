// Benchmarks of reading, running and saving, each against the bytes it stands on.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/refdata/nuclide_data.h"
#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/run/result_store.h"
#include "core/run/run.h"
#include "core/run/run_result.h"
#include "core/run/table_values.h"
#include "core/textio/sha256.h"
#include "core/textio/text_reader.h"
#include "core/textio/text_writer.h"

namespace fetaldose::bench {
namespace {

constexpr int kStressNuclides = 20;

struct DataSet {
    std::string dataDirectory;
    std::vector<std::string> names;
    std::vector<std::string> files;
};

ScratchFolder& stressFolder() {
    static ScratchFolder folder("fetaldose-bench-stress");
    return folder;
}

const DataSet& stressSet() {
    static const DataSet set = [] {
        DataSet s{stressFolder().dataDirectory(), {}, {}};
        s.names = writeFullCapacityDataSet(s.dataDirectory, kStressNuclides);
        for (const auto& n : s.names) s.files.push_back(s.dataDirectory + n + ".dat");
        return s;
    }();
    return set;
}

// The sample data set the build generates, when the benchmark runs from the build folder.
const DataSet& sampleSet() {
    static const DataSet set = [] {
        DataSet s;
        for (const char* candidate : {"run/data/", "../run/data/", "build/run/data/"}) {
            if (std::filesystem::exists(std::string(candidate) + "nuclides.txt")) {
                s.dataDirectory = std::filesystem::absolute(candidate).string();
                break;
            }
        }
        if (s.dataDirectory.empty()) return s;
        for (const auto& entry : std::filesystem::directory_iterator(s.dataDirectory)) {
            if (entry.path().extension() != ".dat") continue;
            s.names.push_back(entry.path().stem().string());
            s.files.push_back(entry.path().string());
        }
        return s;
    }();
    return set;
}

SelectionSnapshot everythingChosen(const DataSet& set) {
    SelectionSnapshot selection;
    selection.nuclides = set.names;
    selection.halfLives.assign(set.names.size(), "1 d");
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    return selection;
}

// The physical work under a run: every byte of the files read into memory, where they stay
// together (as a run keeps them) until all are read; one read of its size for each file.
void readBytes(benchmark::State& state, const DataSet& set) {
    std::size_t total = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<char[]>> files;
        for (const auto& file : set.files) {
            const int fd = ::open(file.c_str(), O_RDONLY);
            struct stat st {};
            ::fstat(fd, &st);
            const auto size = static_cast<std::size_t>(st.st_size);
            files.push_back(std::make_unique_for_overwrite<char[]>(size + 1));
            if (::read(fd, files.back().get(), size + 1) != st.st_size) state.SkipWithError("read");
            ::close(fd);
            total += size;
        }
        benchmark::DoNotOptimize(files.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

void BM_StressReadBytes(benchmark::State& state) {
    readBytes(state, stressSet());
}
void BM_SampleReadBytes(benchmark::State& state) {
    if (sampleSet().files.empty()) return state.SkipWithError("sample data set not found");
    readBytes(state, sampleSet());
}

void BM_StressReadNuclideData(benchmark::State& state) {
    auto data = std::make_unique<NuclideData>();
    for (auto _ : state) {
        std::vector<TextReader> readers;  // the bytes stay in memory, as in a run
        for (const auto& file : stressSet().files) {
            readers.push_back(TextReader::openWhole(file));
            readNuclideData(readers.back(), *data);
        }
        benchmark::DoNotOptimize(data.get());
    }
}

void wholeRun(benchmark::State& state, const DataSet& set) {
    auto data = std::make_unique<NuclideData>();
    const SelectionSnapshot selection = everythingChosen(set);
    const RunCheck check = checkSelection(selection);
    std::shared_ptr<const RunResult> run;
    for (auto _ : state) {
        run.reset();  // as the program lets the last run go before the next
        RunOutcome outcome = runTables({selection, set.dataDirectory, '.', {}}, check, *data);
        if (!outcome.complete) return state.SkipWithError("run did not complete");
        run = std::move(outcome.result);
    }
    state.counters["tables"] = run->tableCount();
    state.counters["store_bytes_per_table"] =
        static_cast<double>(run->memoryBytes()) / std::max(1, run->tableCount());
}

void BM_StressWholeRun(benchmark::State& state) {
    wholeRun(state, stressSet());
}
void BM_SampleWholeRun(benchmark::State& state) {
    if (sampleSet().files.empty()) return state.SkipWithError("sample data set not found");
    wholeRun(state, sampleSet());
}

// The provenance of a run as its first export gathers it: the digests worked out from the bytes
// (a run keeps them once worked out), the files on disk compared.
Provenance freshProvenance(const RunResult& run) {
    Provenance provenance = provenanceOf(run);
    for (std::size_t i = 0; i < run.sources().dataFiles.size(); ++i)
        provenance.files[i + 1].sha256 = sha256Hex(run.sources().dataFiles[i].bytes());
    return provenance;
}

// Saving every table of a stress run, against one buffered write of the same bytes.
struct SavedRun {
    std::shared_ptr<const RunResult> run;
    std::string bytes;
};

SavedRun& stressSave() {
    static SavedRun saved = [] {
        SavedRun s;
        auto data = std::make_unique<NuclideData>();
        const DataSet& set = stressSet();
        const SelectionSnapshot selection = everythingChosen(set);
        const RunCheck check = checkSelection(selection);
        s.run = runTables({selection, set.dataDirectory, '.', {}}, check, *data).result;
        const std::string path = stressFolder().path() + "/reference.dos";
        writeResultsFile(path, *s.run);
        std::FILE* in = std::fopen(path.c_str(), "rb");
        std::vector<char> buffer(1 << 20);
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
            s.bytes.append(buffer.data(), n);
        std::fclose(in);
        return s;
    }();
    return saved;
}

void BM_StressSaveResults(benchmark::State& state) {
    SavedRun& saved = stressSave();
    const std::string path = stressFolder().path() + "/bench.dos";
    for (auto _ : state) writeResultsFile(path, *saved.run);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * saved.bytes.size()));
}

void BM_StressWriteBytes(benchmark::State& state) {
    SavedRun& saved = stressSave();
    const std::string path = stressFolder().path() + "/plain.dos";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, saved.bytes.data(), saved.bytes.size()) < 0) state.SkipWithError("write");
        ::fsync(fd);
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * saved.bytes.size()));
}

// Exporting every table of the same stress run to CSV, its provenance gathered each time as the
// program does at each export: the digests of the 20 data files' bytes as the run read them
// (worked out anew each time here, as at a run's first export) and each file on disk compared.
void BM_StressExportCsv(benchmark::State& state) {
    SavedRun& saved = stressSave();
    const std::string path = stressFolder().path() + "/bench.csv";
    for (auto _ : state) {
        const Provenance provenance = freshProvenance(*saved.run);
        writeCsvFile(path, *saved.run, provenance);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// The same tables as a spreadsheet, for the figure the viewer's busy indication stands on.
void BM_StressExportXlsx(benchmark::State& state) {
    SavedRun& saved = stressSave();
    const std::string path = stressFolder().path() + "/bench.xlsx";
    for (auto _ : state) writeXlsxFile(path, *saved.run, freshProvenance(*saved.run));
}

// Gathering the provenance alone: the digests of the 20 data files' bytes.
void BM_StressProvenance(benchmark::State& state) {
    SavedRun& saved = stressSave();
    for (auto _ : state) benchmark::DoNotOptimize(freshProvenance(*saved.run));
}

// formatDose takes a value to 18 digits by scaling in long double, and by big-integer
// arithmetic only near a rounding tie; against the big-integer conversion every time.
std::vector<long double> variedValues() {
    std::mt19937_64 random(7);
    std::vector<long double> values(4096);
    for (long double& v : values)
        v = static_cast<long double>(random() % 1000 + 1) *
            std::pow(10.0L, static_cast<int>(random() % 200) - 100);
    return values;
}

void BM_FormatDose(benchmark::State& state) {
    const std::vector<long double> values = variedValues();
    for (auto _ : state)
        for (const long double v : values) benchmark::DoNotOptimize(formatDose(v, '.'));
}

void BM_FormatDoseExactConversion(benchmark::State& state) {
    const std::vector<long double> values = variedValues();
    for (auto _ : state)
        for (const long double v : values) benchmark::DoNotOptimize(detail::toDecimal18Exact(v));
}

// The same bytes through the program's safe save (hidden file, fsync, rename) with no
// formatting at all: the part of a results-file save that is the saving itself.
void BM_StressSafeSaveBytes(benchmark::State& state) {
    SavedRun& saved = stressSave();
    const std::string path = stressFolder().path() + "/safe.dos";
    for (auto _ : state) saveTextFile(path, [&](TextWriter& out) { out.write(saved.bytes); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * saved.bytes.size()));
}

BENCHMARK(BM_FormatDose)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormatDoseExactConversion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SampleReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleWholeRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressReadNuclideData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressWholeRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressWriteBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressSafeSaveBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressSaveResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressProvenance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StressExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace fetaldose::bench

namespace fetaldose::bench {
namespace {

// Peak resident memory of a process that runs every table of the stress data set, as the
// program does when Run is pressed, measured in a fresh process of this program.
constexpr const char* kPeakRunOption = "--peak-memory-run=";

int peakMemoryRun(const std::string& dataDirectory, bool run) {
    DataSet set{dataDirectory, {}, {}};
    for (int i = 1; i <= kStressNuclides; ++i) set.names.push_back("Nx-" + std::to_string(i));
    if (run) {
        const SelectionSnapshot selection = everythingChosen(set);
        const RunOutcome outcome =
            runTables({selection, set.dataDirectory, '.', {}}, checkSelection(selection));
        if (!outcome.complete) return 1;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);  // KiB
    return 0;
}

double peakMemoryMiB(const std::string& option) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = self + " " + option + " 2>/dev/null";
    std::FILE* child = ::popen(command.c_str(), "r");
    if (!child) return -1;
    long kib = -1;
    if (std::fscanf(child, "%ld", &kib) != 1) kib = -1;
    ::pclose(child);
    return static_cast<double>(kib) / 1024;
}

void printMemory(const RatioReporter& reporter) {
    const DataSet& set = stressSet();
    std::uintmax_t fileBytes = 0;
    for (const auto& file : set.files) fileBytes += std::filesystem::file_size(file);
    const SelectionSnapshot selection = everythingChosen(set);
    const RunOutcome outcome =
        runTables({selection, set.dataDirectory, '.', {}}, checkSelection(selection));
    const RunResult& result = *outcome.result;
    const double perTable =
        static_cast<double>(result.memoryBytes()) / std::max(1, result.tableCount());
    std::printf("\nMemory (20 full-capacity nuclides, %d tables, %.1f MiB of data files):\n",
                result.tableCount(), static_cast<double>(fileBytes) / (1 << 20));
    reporter.printFigure("a run's result, bytes per table (keys and the files' bytes included)",
                         perTable, 2048);
    const double idle = peakMemoryMiB(std::string(kPeakRunOption) + set.dataDirectory + " idle");
    const double run = peakMemoryMiB(std::string(kPeakRunOption) + set.dataDirectory);
    reporter.printFigure("peak resident memory of a run, MiB", run, 0);
    reporter.printFigure("  of the same process without the run, MiB", idle, 0);
}

}  // namespace
}  // namespace fetaldose::bench

int main(int argc, char** argv) {
    using fetaldose::bench::RatioReporter;
    using namespace fetaldose::bench;
    if (argc >= 2 && std::strncmp(argv[1], kPeakRunOption, std::strlen(kPeakRunOption)) == 0)
        return peakMemoryRun(argv[1] + std::strlen(kPeakRunOption), argc < 3);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (program's work / the bytes it stands on, same run):\n");
    reporter.printRatio("whole run, sample set, everything checked / read bytes",
                        "BM_SampleWholeRun", "BM_SampleReadBytes", 3);
    reporter.printRatio("ReadNuclideData, full-capacity files / read bytes",
                        "BM_StressReadNuclideData", "BM_StressReadBytes", 0);
    reporter.printRatio("whole run, 20 full-capacity nuclides / read bytes", "BM_StressWholeRun",
                        "BM_StressReadBytes", 2);
    reporter.printRatio("results-file save / one buffered write + fsync of the bytes",
                        "BM_StressSaveResults", "BM_StressWriteBytes", 2);
    reporter.printRatio("  safe save of the same bytes, no formatting / the same write",
                        "BM_StressSafeSaveBytes", "BM_StressWriteBytes", 0);
    reporter.printRatio("FormatDose, big-integer conversion / fast conversion",
                        "BM_FormatDoseExactConversion", "BM_FormatDose", 0);
    reporter.printRatio("CSV export / results-file save of the same tables", "BM_StressExportCsv",
                        "BM_StressSaveResults", 2);
    printMemory(reporter);
    benchmark::Shutdown();
    return 0;
}
