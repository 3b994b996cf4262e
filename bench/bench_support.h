#pragma once
// Data sets for the benchmarks, and the ratios they print: each timing of the program's work
// is set against the physical work it stands on (reading or writing the same bytes), both
// measured in the same run, so the figures travel between machines.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data_file_builder.h"
#include "scratch_directory.h"

extern char** environ;

namespace fetaldose::bench {

// A folder under /tmp, removed when the benchmark ends.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_ / "data");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string path() const { return path_.string(); }
    std::string dataDirectory() const { return (path_ / "data").string() + "/"; }

  private:
    std::filesystem::path path_;
};

// Full-capacity data files (4 vapour entries, 3 types, 3 ingestion entries in both sections:
// 814 tables each) of varied plain doses (DataFileBuilder::variedLine) named Nx-1 ...
// Nx-count, with a catalogue listing them.
inline std::vector<std::string> writeFullCapacityDataSet(const std::string& dataDirectory,
                                                         int count) {
    const testing::SectionCounts full{4, 3, 3};
    const std::string text =
        testing::DataFileBuilder(full, full).lines(testing::DataFileBuilder::variedLine).build();
    std::vector<std::string> names;
    std::string catalogue = std::to_string(count) + "\r\n";
    for (int i = 1; i <= count; ++i) {
        names.push_back("Nx-" + std::to_string(i));
        testing::writeBytes(dataDirectory + names.back() + ".dat", text);
        catalogue += names.back() + "\r\n" + std::to_string(i) + " d\r\n";
    }
    testing::writeBytes(dataDirectory + "nuclides.txt", catalogue);
    return names;
}

// Runs `args` (the program first) as a process of its own and waits for it, its resource use
// going to `usage`. False when it cannot start or does not exit with status 0.
inline bool runProcess(std::vector<std::string> args, rusage& usage) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (::wait4(pid, &status, 0, &usage) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Collects each benchmark's real time per iteration, to print ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    // Prints work / physical, and against the goal where there is one (goal > 0).
    void printRatio(const std::string& label, const std::string& work, const std::string& physical,
                    double goal) const {
        const auto w = seconds_.find(work);
        const auto p = seconds_.find(physical);
        if (w == seconds_.end() || p == seconds_.end() || p->second <= 0) return;
        printFigure(label, w->second / p->second, goal);
    }
    static void printFigure(const std::string& label, double figure, double goal) {
        std::printf("%-62s %8.2f", label.c_str(), figure);
        if (goal > 0)
            std::printf("   (goal: at most %g) %s", goal, figure <= goal ? "ok" : "MISSED");
        std::printf("\n");
    }

    // Real seconds per iteration of a benchmark run, or a negative number if it did not run.
    double seconds(const std::string& name) const {
        const auto found = seconds_.find(name);
        return found == seconds_.end() ? -1 : found->second;
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace fetaldose::bench
