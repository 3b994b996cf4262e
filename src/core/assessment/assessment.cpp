#include "core/assessment/assessment.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/assessment/assessment_texts.h"
#include "core/export/dose_rows.h"
#include "core/program_version.h"
#include "core/refdata/data_directory.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "core/textio/text_encoding.h"

namespace fetaldose::assessment {

namespace {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool sameGroupName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// The selection of every table of one nuclide's data file.
SelectionSnapshot everyTableOf(const CatalogueEntry& entry) {
    SelectionSnapshot selection;
    selection.nuclides = {entry.name};
    selection.halfLives = {entry.halfLife};
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = selection.allChronics =
        selection.allOrgans = selection.allPeriods = true;
    return selection;
}

// Coefficients in Sv per Bq, in the shape of the doses they make.
using Coefficients = Doses;

// A table of a run made with every row and period: rows and periods are their own places.
Coefficients readCoefficients(const RunResult& run, int table) {
    Coefficients c;
    for (int r = 1; r <= kTissueRows; ++r) {
        const auto row = static_cast<std::size_t>(r - 1);
        c.inUtero[row] = run.inUteroDose(table, r);
        for (int p = 1; p <= kPeriods; ++p) {
            const auto period = static_cast<std::size_t>(p - 1);
            c.postNatal[row][period] = run.postNatalDose(table, r, p);
            c.offspring[row][period] = c.inUtero[row] + c.postNatal[row][period];
        }
    }
    return c;
}

// Sets each cell of `out` to `f` of the same cells of `x` and `y`.
template <typename F>
void forEachCell(Doses& out, const Doses& x, const Doses& y, F f) {
    for (std::size_t r = 0; r < kTissueRows; ++r) {
        out.inUtero[r] = f(x.inUtero[r], y.inUtero[r]);
        for (std::size_t p = 0; p < kPeriods; ++p) {
            out.postNatal[r][p] = f(x.postNatal[r][p], y.postNatal[r][p]);
            out.offspring[r][p] = f(x.offspring[r][p], y.offspring[r][p]);
        }
    }
}

std::string scenarioText(int scenario) {
    return std::string(kScenarioTexts[static_cast<std::size_t>(scenario - 1)]);
}

// Which scenarios an intake at `time` takes its coefficients from, and with what weight the
// second counts (interpolation only).
struct Bracket {
    Basis basis = Basis::Tabulated;
    std::vector<int> scenarios;
    double weight = 0;
};

Bracket bracketOf(const IntakeTime& time, Method method) {
    Bracket bracket;
    if (time.chronic) {
        bracket.basis = Basis::Chronic;
        bracket.scenarios = {time.chronicScenario};
        return bracket;
    }
    const double t = time.daysAfterConception;
    if (const auto scenario = tabulatedScenario(t)) {
        bracket.scenarios = {*scenario};
        return bracket;
    }
    const std::size_t count = kAcuteScenarioDays.size();
    if (t < kAcuteScenarioDays.front()) {
        bracket.basis = Basis::NearestEarliest;
        bracket.scenarios = {1};
        return bracket;
    }
    if (t > kAcuteScenarioDays.back()) {
        bracket.basis = Basis::NearestLatest;
        bracket.scenarios = {static_cast<int>(count)};
        return bracket;
    }
    std::size_t k = 0;
    while (k + 1 < count && kAcuteScenarioDays[k + 1] < t) ++k;
    bracket.scenarios = {static_cast<int>(k) + 1, static_cast<int>(k) + 2};
    bracket.basis = method == Method::Interpolated ? Basis::Interpolated : Basis::Larger;
    bracket.weight =
        (t - kAcuteScenarioDays[k]) / (kAcuteScenarioDays[k + 1] - kAcuteScenarioDays[k]);
    return bracket;
}

std::string basisTextOf(const Bracket& bracket) {
    switch (bracket.basis) {
        case Basis::Tabulated:
        case Basis::Chronic:
            return scenarioText(bracket.scenarios[0]);
        case Basis::NearestEarliest:
            return scenarioText(bracket.scenarios[0]) + std::string(kNearestEarliest);
        case Basis::NearestLatest:
            return scenarioText(bracket.scenarios[0]) + std::string(kNearestLatest);
        case Basis::Larger:
        case Basis::Interpolated:
            break;
    }
    return std::string(bracket.basis == Basis::Larger ? kLargerOf : kInterpolatedBetween) +
           scenarioText(bracket.scenarios[0]) + std::string(kScenarioJoin) +
           scenarioText(bracket.scenarios[1]);
}

// The activity in Bq, or why it cannot be had.
std::optional<double> becquerelsOf(const IntakeEntry& entry, IntakeAssessment& out) {
    const auto fail = [&](std::string_view column, std::string problem) {
        out.problemColumn = column;
        out.problem = std::move(problem);
        return std::nullopt;
    };
    std::string_view text = entry.activity;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double amount = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), amount, std::chars_format::general);
    const bool whole = end == text.data() + text.size() && !text.empty();
    if (error == std::errc::result_out_of_range && whole)
        return fail(kIntakeColumns[4], quoted(entry.activity) + std::string(kActivityTooLarge));
    if (error != std::errc() || !whole) {
        // from_chars reads "nan" and "inf": they are numbers, but not activities.
        return fail(kIntakeColumns[4], quoted(entry.activity) + std::string(kActivityNotNumber));
    }
    if (!std::isfinite(amount))
        return fail(kIntakeColumns[4], quoted(entry.activity) + std::string(kActivityNotFinite));
    if (amount < 0 || (amount == 0 && std::signbit(amount) && text.front() == '-'))
        return fail(kIntakeColumns[4], quoted(entry.activity) + std::string(kActivityNegative));
    const std::optional<ActivityUnit> unit = activityUnitNamed(entry.unit);
    if (!unit) return fail(kIntakeColumns[5], quoted(entry.unit) + std::string(kUnknownUnit));
    const double becquerels = toBecquerel(amount, *unit);
    if (!std::isfinite(becquerels))
        return fail(kIntakeColumns[4],
                    quoted(entry.activity + " " + entry.unit) + std::string(kActivityOverflows));
    return becquerels == 0 ? 0.0 : becquerels;
}

void addInto(Doses& total, const Doses& doses) {
    for (std::size_t r = 0; r < kTissueRows; ++r) {
        total.inUtero[r] += doses.inUtero[r];
        for (std::size_t p = 0; p < kPeriods; ++p) {
            total.postNatal[r][p] += doses.postNatal[r][p];
            total.offspring[r][p] += doses.offspring[r][p];
        }
    }
}

bool allFinite(const Doses& doses) {
    for (std::size_t r = 0; r < kTissueRows; ++r) {
        if (!std::isfinite(doses.inUtero[r])) return false;
        for (std::size_t p = 0; p < kPeriods; ++p)
            if (!std::isfinite(doses.postNatal[r][p]) || !std::isfinite(doses.offspring[r][p]))
                return false;
    }
    return true;
}

// The times of an assessment as read, each text once: intakes share a few times.
class TimeTexts {
  public:
    const std::optional<IntakeTime>& read(const std::string& text) {
        auto found = times_.find(text);
        if (found == times_.end()) found = times_.emplace(text, parseIntakeTime(text)).first;
        return found->second;
    }

  private:
    std::unordered_map<std::string, std::optional<IntakeTime>> times_;
};

// The tables the intakes of one nuclide need: their groups, their routes (vapours always, as
// their texts are the data file's own), the aerosol sizes their route texts name (every size
// where one names none), and the scenarios their times take; every tissue and period.
SelectionSnapshot tablesNeeded(const std::vector<const IntakeEntry*>& intakes, TimeTexts& times) {
    SelectionSnapshot needed;
    needed.allOrgans = needed.allPeriods = true;
    needed.vapours = true;
    constexpr std::string_view kIngestion = "Ingestion: ";
    constexpr std::string_view kParticulates = "Inhalation: Type ";
    for (const IntakeEntry* entry : intakes) {
        needed.memberOfPublic =
            needed.memberOfPublic || sameGroupName(entry->group, kGroupNames[0]);
        needed.occupational = needed.occupational || sameGroupName(entry->group, kGroupNames[1]);
        const std::string_view route = entry->route;
        if (route.starts_with(kIngestion)) needed.ingestion = true;
        if (route.starts_with(kParticulates)) {
            needed.particulates = true;
            bool sized = false;
            for (std::size_t a = 0; a < kAerosolLabels.size(); ++a) {
                const std::string_view label = kAerosolLabels[a];
                if (!route.ends_with(label) ||
                    !route.substr(0, route.size() - label.size()).ends_with(", "))
                    continue;
                needed.aerosol[a] = sized = true;
            }
            if (!sized) needed.allAerosol = true;
        }
        if (const std::optional<IntakeTime>& time = times.read(entry->time)) {
            for (const Method method : {Method::Conservative, Method::Interpolated}) {
                for (const int s : bracketOf(*time, method).scenarios) {
                    if (s < kFirstChronicScenario)
                        needed.acuteScenarios[static_cast<std::size_t>(s - 1)] = true;
                    else
                        needed
                            .chronicScenarios[static_cast<std::size_t>(s - kFirstChronicScenario)] =
                            true;
                }
            }
        }
    }
    return needed;
}

// Assesses one intake whose nuclide has tables.
void assessOne(const IntakeEntry& entry, const AssessmentSettings& settings, TimeTexts& times,
               const AssessmentData::NuclideTables& tables, IntakeAssessment& out) {
    const auto fail = [&](std::string_view column, std::string problem) {
        out.problemColumn = column;
        out.problem = std::move(problem);
    };
    int group = 0;
    for (std::size_t g = 0; g < kGroupNames.size(); ++g)
        if (sameGroupName(entry.group, kGroupNames[g])) group = static_cast<int>(g) + 1;
    if (group == 0)
        return fail(kIntakeColumns[1], quoted(entry.group) + std::string(kUnknownGroup));

    const auto& index = tables.routeIndex[static_cast<std::size_t>(group - 1)];
    const auto found = index.find(entry.route);
    if (found == index.end())
        return fail(kIntakeColumns[2], quoted(entry.route) + std::string(kUnknownRoute) +
                                           std::string(kGroupNames[std::size_t(group - 1)]));

    const std::optional<IntakeTime>& time = times.read(entry.time);
    if (!time)
        return fail(kIntakeColumns[3], quoted(entry.time) + " " + intakeTimeProblem(entry.time));
    out.time = *time;

    const std::optional<double> becquerels = becquerelsOf(entry, out);
    if (!becquerels) return;
    out.becquerels = *becquerels;

    const Bracket bracket = bracketOf(*time, settings.method);
    out.basis = bracket.basis;
    out.scenarios = bracket.scenarios;
    out.basisText = basisTextOf(bracket);
    std::array<const Coefficients*, 2> coefficients{};
    for (std::size_t i = 0; i < bracket.scenarios.size(); ++i) {
        const int scenario = bracket.scenarios[i];
        const int table = tables.routes[static_cast<std::size_t>(group - 1)][found->second]
                              .table[static_cast<std::size_t>(scenario - 1)];
        if (table == 0)
            return fail(kIntakeColumns[3], std::string(kNoScenarioTable) + scenarioText(scenario));
        auto cached = tables.coefficients.find(table);
        if (cached == tables.coefficients.end())
            cached = tables.coefficients.emplace(table, readCoefficients(*tables.run, table)).first;
        coefficients[i] = &cached->second;
    }
    const double a = out.becquerels;
    const Coefficients& first = *coefficients[0];
    const Coefficients& second = coefficients[1] ? *coefficients[1] : first;
    if (bracket.basis == Basis::Larger) {
        forEachCell(out.doses, first, second,
                    [a](double x, double y) { return a * std::max(x, y); });
    } else if (bracket.basis == Basis::Interpolated) {
        const double w = bracket.weight;
        forEachCell(out.doses, first, second,
                    [a, w](double x, double y) { return a * (x + (y - x) * w); });
    } else {
        forEachCell(out.doses, first, first, [a](double x, double) { return a * x; });
    }
    if (!allFinite(out.doses)) {
        out.doses = {};
        fail(kIntakeColumns[4], std::string(kDosesOverflow));
    }
}

}  // namespace

std::optional<DoseAmount> parseDoseAmount(std::string_view text) {
    text = trimBlanks(text);
    double amount = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), amount, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(amount) || amount < 0) return std::nullopt;
    const std::optional<DoseUnit> unit =
        doseUnitNamed(trimBlanks(text.substr(static_cast<std::size_t>(end - text.data()))));
    if (!unit) return std::nullopt;
    return DoseAmount{amount, *unit};
}

AssessmentSettings AssessmentSettings::everything() {
    AssessmentSettings settings;
    for (int r = 1; r <= kTissueRows; ++r) settings.rows.push_back(r);
    for (int p = 1; p <= kPeriods; ++p) settings.periods.push_back(p);
    return settings;
}

std::string IntakeAssessment::message() const {
    return problemColumn + ": " + problem;
}

AssessmentData::AssessmentData(std::string dataDirectory, std::optional<SourceFile> catalogue,
                               RunScope scope)
    : dataDirectory_(std::move(dataDirectory)),
      scope_(scope),
      scratch_(std::make_unique<NuclideData>()) {
    try {
        if (!catalogue) catalogue = readCatalogueSource(dataDirectory_);
        if (!catalogue) {
            catalogueProblem_ = kMissingCatalogueMessage;
        } else {
            forEachCatalogueEntry(*catalogue,
                                  [&](const CatalogueEntry& entry) { entries_.push_back(entry); });
            catalogueSource_ = std::move(catalogue);
        }
    } catch (const Fault& fault) {
        catalogueProblem_ = faultReport(fault);
    }
    syntheticData_ = findFileInDirectory(dataDirectory_, kSyntheticDataMarker).has_value();
}

AssessmentData::~AssessmentData() = default;

const AssessmentData::NuclideTables& AssessmentData::tables(std::string_view nuclide,
                                                            const SelectionSnapshot* needed) {
    for (const auto& [name, tables] : nuclides_)
        if (name == nuclide) return *tables;
    auto made = std::make_unique<NuclideTables>();
    NuclideTables& tables = *made;
    nuclides_.emplace_back(std::string(nuclide), std::move(made));

    const std::string name = quoted(nuclide);
    if (nuclide.empty()) {
        tables.problem = kNoNuclide;
        return tables;
    }
    if (!catalogueSource_) {
        tables.problem = std::string(kNoCatalogue);
        return tables;
    }
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const CatalogueEntry& e) { return e.name == nuclide; });
    if (entry == entries_.end()) {
        tables.problem = name + std::string(kNotCatalogued);
        return tables;
    }
    if (!dataFileExists(dataDirectory_, entry->name)) {
        tables.problem = name + std::string(kNoDataFile);
        return tables;
    }
    try {
        RunRequest request;
        request.selection = everyTableOf(*entry);
        if (scope_ == RunScope::TablesNeeded && needed) {
            SelectionSnapshot only = *needed;
            only.nuclides = request.selection.nuclides;
            only.halfLives = request.selection.halfLives;
            // A selection the intakes leave incomplete (none of them readable) runs every table:
            // the intakes' own faults are then said as they would be anyway.
            if (checkSelection(only).stopMessage.empty()) request.selection = std::move(only);
        }
        request.dataDirectory = dataDirectory_;
        request.catalogue = catalogueSource_;
        const RunCheck check = checkSelection(request.selection);
        RunOutcome outcome = runTables(std::move(request), check, *scratch_);
        if (!outcome.complete) {
            tables.problem = std::string(kDataFileFails) + outcome.stopMessage;
            return tables;
        }
        tables.run = std::move(outcome.result);
    } catch (const Fault& fault) {
        tables.problem = std::string(kDataFileFails) + faultReport(fault);
        return tables;
    }
    const RunResult& run = *tables.run;
    for (int t = 1; t <= run.tableCount(); ++t) {
        const TableKey key = run.key(t);
        const auto g = static_cast<std::size_t>(key.group - 1);
        auto& routes = tables.routes[g];
        std::string route = exporting::cellText(run.routeHeading(t));
        const auto [at, added] = tables.routeIndex[g].try_emplace(route, routes.size());
        if (added) routes.push_back({std::move(route), {}});
        // Two entries of one text: the first is the one the text names.
        int& slot = routes[at->second].table[static_cast<std::size_t>(key.scenario - 1)];
        if (slot == 0) slot = t;
    }
    return tables;
}

std::vector<std::string> AssessmentData::routes(std::string_view nuclide, int group) {
    std::vector<std::string> names;
    if (group < 1 || group > 2) return names;
    for (const RouteTables& route : tables(nuclide).routes[static_cast<std::size_t>(group - 1)])
        names.push_back(route.route);
    return names;
}

void AssessmentData::release(std::string_view nuclide) {
    for (auto& [name, tables] : nuclides_) {
        if (name != nuclide || !tables->run) continue;
        for (const SourceFile& file : tables->run->sources().dataFiles)
            tables->released = fileDigestOf(file);
        tables->run.reset();
        tables->coefficients.clear();
    }
}

Provenance AssessmentData::provenance() const {
    Provenance provenance;
    provenance.programName = kProgramName;
    provenance.programVersion = kProgramVersion;
    provenance.exportedAt = isoLocalTime(std::time(nullptr));
    provenance.dataDirectory = absoluteDirectory(dataDirectory_);
    provenance.syntheticData = syntheticData_;
    if (catalogueSource_) {
        provenance.files.push_back(fileDigestOf(*catalogueSource_));
    } else {
        FileDigest catalogue;
        catalogue.fileName = kCatalogueFileName;
        catalogue.failure = catalogueProblem_;
        provenance.files.push_back(std::move(catalogue));
    }
    for (const auto& [name, tables] : nuclides_) {
        if (tables->run) {
            for (const SourceFile& file : tables->run->sources().dataFiles)
                provenance.files.push_back(fileDigestOf(file));
        } else if (tables->released) {
            provenance.files.push_back(*tables->released);
        }
    }
    return provenance;
}

AssessmentResult assess(const std::vector<IntakeEntry>& intakes, const AssessmentSettings& settings,
                        AssessmentData& data, bool releaseRuns) {
    AssessmentResult result;
    result.intakes.resize(intakes.size());
    TimeTexts times;
    // Nuclide by nuclide, in the order they first appear, so that each run can be let go.
    std::vector<std::string_view> nuclides;
    std::unordered_map<std::string_view, std::vector<std::size_t>> intakesOf;
    for (std::size_t i = 0; i < intakes.size(); ++i) {
        const auto [at, added] = intakesOf.try_emplace(intakes[i].nuclide);
        if (added) nuclides.push_back(intakes[i].nuclide);
        at->second.push_back(i);
    }
    for (const std::string_view nuclide : nuclides) {
        const std::vector<std::size_t>& indices = intakesOf[nuclide];
        std::optional<SelectionSnapshot> needed;
        if (data.scope() == RunScope::TablesNeeded) {
            std::vector<const IntakeEntry*> ofNuclide;
            for (const std::size_t i : indices) ofNuclide.push_back(&intakes[i]);
            needed = tablesNeeded(ofNuclide, times);
        }
        const AssessmentData::NuclideTables& tables =
            data.tables(nuclide, needed ? &*needed : nullptr);
        for (const std::size_t i : indices) {
            IntakeAssessment& out = result.intakes[i];
            if (!tables.run) {
                out.problemColumn = kIntakeColumns[0];
                out.problem = tables.problem;
                continue;
            }
            assessOne(intakes[i], settings, times, tables, out);
        }
        if (releaseRuns) data.release(nuclide);
    }
    // Summed in the order of the intakes.
    for (const IntakeAssessment& intake : result.intakes) {
        if (!intake.assessed()) {
            ++result.problemCount;
            continue;
        }
        addInto(result.total, intake.doses);
    }

    LimitCheck& check = result.limit;
    check.internal = result.total.inUtero[kEffectiveDoseRow - 1];
    check.external = settings.external ? settings.external->sievert() : 0;
    check.limit = settings.limit.sievert();
    if (result.problemCount > 0) {
        check.reason = kLimitUnchecked;
    } else if (!(check.limit > 0) || !std::isfinite(check.limit)) {
        check.reason = kLimitNotPositive;
    } else {
        check.checkable = true;
        check.fraction = (check.internal + check.external) / check.limit;
        check.exceeds = check.fraction > 1;
    }
    return result;
}

std::string doseText(double sievert, DoseUnit unit) {
    return formatDose(static_cast<long double>(fromSievert(sievert, unit)), '.');
}

std::string percentText(double fraction) {
    const double percent = fraction * 100;
    char text[64];
    if (!std::isfinite(percent)) return "-";
    const double magnitude = std::abs(percent);
    // Two significant figures: as many decimals as the magnitude leaves room for.
    int decimals = 0;
    if (magnitude > 0 && magnitude < 10) {
        decimals = 1 - static_cast<int>(std::floor(std::log10(magnitude)));
    }
    std::snprintf(text, sizeof text, "%.*f %%", std::min(decimals, 20), percent);
    return text;
}

}  // namespace fetaldose::assessment
