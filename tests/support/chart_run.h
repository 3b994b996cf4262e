#pragma once
// A run for the chart tests: data files whose every dose says where it stands, written into a
// data directory, and the run made from them. No test framework: core and window tests share it.

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/charts/chart_series.h"
#include "core/refdata/nuclide_data.h"
#include "core/run/run_result.h"
#include "data_file_builder.h"
#include "scratch_directory.h"

namespace fetaldose::testing {

// The doses of the default chart data files, as text and as the number that text reads as.
// In utero of tissue row i, scenario s, route entry k: d.sE-(10+k+n), with d = i % 9 + 1 and
// n the nuclide's number; post-natal of period j: j.sE-(12+k+n). Scenario 11 reads as .0.
struct ChartDose {
    static std::string inUtero(int row, int scenario, int entry, int nuclide = 0) {
        return text(row % 9 + 1, scenario, 10 + entry + nuclide);
    }
    static std::string postNatal(int period, int scenario, int entry, int nuclide = 0) {
        return text(period, scenario, 12 + entry + nuclide);
    }
    static std::string text(int digit, int scenario, int exponent) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%d.%dE-%d", digit, scenario % 10, exponent);
        return buffer;
    }
};

using FieldOf = std::function<std::string(const RecordPlace&, int line, int row)>;

// Every in-utero and post-natal field as ChartDose gives it for nuclide number `nuclide`.
inline FieldOf chartFields(int nuclide = 0) {
    return [nuclide](const RecordPlace& place, int line, int row) {
        if (line == 3) return ChartDose::inUtero(row, place.scenario, place.entry, nuclide);
        return ChartDose::postNatal(line - 3, place.scenario, place.entry, nuclide);
    };
}

inline std::string chartDataFile(SectionCounts publicCounts, SectionCounts workerCounts,
                                 const FieldOf& field = chartFields()) {
    return DataFileBuilder(publicCounts, workerCounts)
        .lines([field](const RecordPlace& place, int line) {
            if (line < 3) return DataFileBuilder::defaultLine(place, line);
            return valueLine([&](int row) { return field(place, line, row); });
        })
        .build();
}

struct ChartRun {
    std::shared_ptr<const RunResult> result;  // the run's tables, once complete
    RunOutcome outcome;
};

// A data directory (with its trailing '/') into which files are written, then run.
class ChartRunner {
  public:
    explicit ChartRunner(std::string dataDirectory) : directory_(std::move(dataDirectory)) {}

    ChartRunner& file(const std::string& nuclide, const std::string& text) {
        writeBytes(directory_ + nuclide + ".dat", text);
        return *this;
    }

    // Runs the selection; the run must find it complete.
    std::unique_ptr<ChartRun> run(const SelectionSnapshot& selection, char separator = '.') {
        auto result = std::make_unique<ChartRun>();
        fill(*result, selection, separator);
        return result;
    }

    // Runs the selection again, in place of the earlier run, as the program's next run does.
    void fill(ChartRun& result, const SelectionSnapshot& selection, char separator = '.') {
        const RunCheck check = checkSelection(selection);
        if (check.stage != GridStage::LaidOut) throw std::runtime_error(check.stopMessage);
        result.result.reset();
        result.outcome = runTables({selection, directory_, separator, {}}, check);
        result.result = result.outcome.result;
    }

  private:
    std::string directory_;
};

// Public group, ingestion, the given acute scenarios (1..8) and chronic ones (9..11), the
// given tissue items of the selection list (0..16) and all periods.
inline SelectionSnapshot chartSelection(std::vector<std::string> nuclides,
                                        std::initializer_list<int> scenarios,
                                        std::initializer_list<int> tissueItems) {
    SelectionSnapshot s;
    s.halfLives.assign(nuclides.size(), "1 y");
    s.nuclides = std::move(nuclides);
    s.memberOfPublic = true;
    s.ingestion = true;
    for (int scenario : scenarios) {
        if (scenario <= 8)
            s.acuteScenarios[scenario - 1] = true;
        else
            s.chronicScenarios[scenario - 9] = true;
    }
    for (int item : tissueItems) s.tissues[item] = true;
    s.allPeriods = true;
    return s;
}

}  // namespace fetaldose::testing
