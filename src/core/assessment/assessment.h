#pragma once
// A dose assessment: measured intakes of the mother (nuclide, exposure group, route entry, time
// and activity) turned into doses to the embryo/fetus (in utero) and to the offspring (in utero
// plus post-natal, to each integration period), per intake and summed, and the in-utero
// effective dose (with any external dose) compared with a limit.
//
// The coefficients come from runs of the data set (run_result.h), one per nuclide, holding
// every table of its data file; no data file is read twice. Doses are the activity in Bq times
// the coefficients' numbers (Sv per Bq) as the tables give them, summed unrounded; they are
// rounded once, to two significant figures, where they are shown (doseText).
//
// An acute intake at a time the tables do not hold takes, cell by cell, the larger of the
// coefficients of the two tabulated times around it (the conservative choice), or, when asked,
// the straight line in time between them ("interpolated"). Before the earliest tabulated time,
// or after the latest (up to birth), it takes the nearest. Each result says which it took.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/assessment/intake_time.h"
#include "core/assessment/intakes_file.h"
#include "core/assessment/limits.h"
#include "core/assessment/units.h"
#include "core/export/provenance.h"
#include "core/refdata/catalogue.h"
#include "core/run/run_result.h"

namespace fetaldose::assessment {

inline constexpr int kTissueRows = 18;
inline constexpr int kPeriods = 5;
// The tissue row of the effective dose: the only row the limit is compared with.
inline constexpr int kEffectiveDoseRow = 18;

enum class Method { Conservative, Interpolated };

struct DoseAmount {
    double amount = 0;
    DoseUnit unit = DoseUnit::mSv;
    double sievert() const { return toSievert(amount, unit); }
};

// A dose as written "0.2mSv" or "0.2 mSv": a number with a point (0 or more) and a dose unit.
std::optional<DoseAmount> parseDoseAmount(std::string_view text);

struct AssessmentSettings {
    DoseUnit unit = DoseUnit::mSv;         // of every dose shown and written
    std::vector<int> rows;                 // tissue rows 1..18 to show, in order
    std::vector<int> periods;              // periods 1..5 to show, in order
    Method method = Method::Conservative;  // for times between two tabulated ones
    std::optional<DoseAmount> external;    // to the embryo/fetus, already received
    Limit limit;
    // Every row and period shown.
    static AssessmentSettings everything();
};

// Doses in Sv, indexed [row - 1] and [row - 1][period - 1].
struct Doses {
    std::array<double, kTissueRows> inUtero{};
    std::array<std::array<double, kPeriods>, kTissueRows> postNatal{};
    std::array<std::array<double, kPeriods>, kTissueRows> offspring{};
};

// How the coefficients of an intake were taken.
enum class Basis { Tabulated, Larger, Interpolated, NearestEarliest, NearestLatest, Chronic };

struct IntakeAssessment {
    // Empty when the intake was assessed; otherwise the column at fault and why.
    std::string problemColumn;
    std::string problem;
    double becquerels = 0;
    IntakeTime time;
    Basis basis = Basis::Tabulated;
    std::vector<int> scenarios;  // the scenario(s) the coefficients come from, 1 to 11
    std::string basisText;       // the same in words, for every place the result appears
    Doses doses;
    bool assessed() const { return problem.empty(); }
    // "<column>: <problem>".
    std::string message() const;
};

struct LimitCheck {
    bool checkable = false;
    std::string reason;    // why it cannot be checked
    double internal = 0;   // in-utero effective dose of the intakes, Sv
    double external = 0;   // Sv
    double limit = 0;      // Sv
    double fraction = 0;   // (internal + external) / limit
    bool exceeds = false;  // fraction above 1
};

struct AssessmentResult {
    std::vector<IntakeAssessment> intakes;  // as the entries, in their order
    Doses total;                            // of the intakes assessed
    int problemCount = 0;                   // intakes not assessed
    LimitCheck limit;
};

// Which tables of a nuclide's data file an assessment's run makes: every one (for a window,
// where any edit may need any table), or those its intakes need (for an assessment made once).
enum class RunScope { EveryTable, TablesNeeded };

// The data set an assessment reads: the catalogue and, made the first time a nuclide is asked
// for, the run of the tables of its data file (every tissue and period; with RunScope::EveryTable
// both groups, every route entry, aerosol size and scenario).
class AssessmentData {
  public:
    // The data folder (ending with '/') and its catalogue as read; nothing: read it now (a
    // folder without one, or one that cannot be read, assesses nothing: catalogueProblem).
    explicit AssessmentData(std::string dataDirectory,
                            std::optional<SourceFile> catalogue = std::nullopt,
                            RunScope scope = RunScope::EveryTable);
    ~AssessmentData();
    AssessmentData(const AssessmentData&) = delete;
    AssessmentData& operator=(const AssessmentData&) = delete;

    const std::string& dataDirectory() const { return dataDirectory_; }
    const std::vector<CatalogueEntry>& catalogue() const { return entries_; }
    const std::string& catalogueProblem() const { return catalogueProblem_; }
    bool syntheticData() const { return syntheticData_; }
    RunScope scope() const { return scope_; }

    struct RouteTables {
        std::string route;                        // as the intakes file spells it
        std::array<int, kScenarioCount> table{};  // per scenario; 0 where there is none
    };
    struct NuclideTables {
        std::string problem;  // why there are no tables; empty when there are
        std::shared_ptr<const RunResult> run;
        std::array<std::vector<RouteTables>, 2> routes;  // per group, in the tables' order
        // Where each route text stands in `routes`, per group.
        std::array<std::unordered_map<std::string, std::size_t>, 2> routeIndex;
        std::optional<FileDigest> released;  // the data file, once its run is let go
        // The coefficients (Sv per Bq) of each table used so far, read once from the run.
        mutable std::unordered_map<int, Doses> coefficients;
    };
    // The nuclide's tables, made once (a nuclide of the catalogue only, exactly as named). With
    // RunScope::TablesNeeded, `needed` says which groups, routes, sizes and scenarios to make.
    const NuclideTables& tables(std::string_view nuclide,
                                const SelectionSnapshot* needed = nullptr);
    // The route entries of the nuclide for a group (1 public, 2 worker), as the file spells
    // them; none where the nuclide has no tables.
    std::vector<std::string> routes(std::string_view nuclide, int group);

    // Let go of a nuclide's run once its intakes are assessed, keeping its file's digest:
    // for assessments of many nuclides made once.
    void release(std::string_view nuclide);

    // Where the values come from: the catalogue and every data file read, in the order read.
    Provenance provenance() const;

  private:
    std::string dataDirectory_;
    RunScope scope_ = RunScope::EveryTable;
    std::optional<SourceFile> catalogueSource_;
    std::vector<CatalogueEntry> entries_;
    std::string catalogueProblem_;
    bool syntheticData_ = false;
    std::vector<std::pair<std::string, std::unique_ptr<NuclideTables>>> nuclides_;
    std::unique_ptr<NuclideData> scratch_;
};

// Assesses the intakes. An intake that cannot be assessed says why (IntakeAssessment::problem)
// and stays out of the totals; the limit then cannot be checked. `releaseRuns` lets each
// nuclide's run go once its intakes are done. The result is the same whatever the data's
// RunScope.
AssessmentResult assess(const std::vector<IntakeEntry>& intakes, const AssessmentSettings& settings,
                        AssessmentData& data, bool releaseRuns = false);

// A dose in the unit, rounded to two significant figures, with a point: "1.2E-03".
std::string doseText(double sievert, DoseUnit unit);
// A fraction of the limit as a percentage with two significant figures: "24 %", "0.13 %".
std::string percentText(double fraction);

}  // namespace fetaldose::assessment
