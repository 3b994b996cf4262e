#include "core/charts/chart_series.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <map>
#include <string_view>

#include "core/charts/chart_texts.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "core/textio/text_encoding.h"

namespace fetaldose::charts {

namespace {

constexpr int kAcuteScenarios = 8;
constexpr std::size_t kLeftOutListed = 5;

// What tells one entry of a route from another of the same nuclide, for a bar's label.
std::string entryDetail(std::string_view route, IntakeRoute kind, int vapourEntry) {
    switch (kind) {
        case IntakeRoute::Particulates: {
            const std::string_view rest = route.substr(kInhalationTypePrefix.size());
            return "Type " + std::string(rest.substr(0, rest.find(kF1Join)));
        }
        case IntakeRoute::Ingestion:
            return "f1 = " + std::string(route.substr(kIngestionPrefix.size()));
        case IntakeRoute::Vapours:
            break;
    }
    return std::string(texts::kVapourEntry) + std::to_string(vapourEntry);
}

std::string routeSummary(IntakeRoute kind, int aerosol) {
    switch (kind) {
        case IntakeRoute::Particulates: {
            std::string text = "Inhalation of particulates";
            if (aerosol > 0) text += ", " + std::string(kAerosolLabels[aerosol - 1]);
            return text;
        }
        case IntakeRoute::Ingestion:
            return "Ingestion";
        case IntakeRoute::Vapours:
            break;
    }
    return "Inhalation of vapours";
}

std::string replaceCount(std::string_view pattern, int first, int second = 0) {
    char text[256];
    std::snprintf(text, sizeof text, std::string(pattern).c_str(), first, second);
    return text;
}

class ChartBuilder {
  public:
    ChartBuilder(const RunResult& run, const ChartRequest& request)
        : run_(run), layout_(run.layout()), request_(request) {}

    ChartData build() {
        chart_.kind = request_.kind;
        chart_.xTitle =
            std::string(request_.kind == ChartKind::DoseByIntakeTime ? texts::kIntakeTimeAxis
                        : request_.kind == ChartKind::DoseByPeriod   ? texts::kPeriodAxis
                                                                     : texts::kNuclideAxis);
        tableCount_ = run_.tableCount();
        if (request_.slot < 1 || request_.slot > tableCount_) return withNote(texts::kNoTable);
        for (int row : request_.rows)
            if (row >= 1 && row <= layout_.rowCount()) rows_.push_back(row);
        if (rows_.empty()) return withNote(texts::kNoTissue);
        const bool needsPeriod =
            request_.kind != ChartKind::DoseByPeriod && request_.dose != DoseView::InUtero;
        if (needsPeriod && (request_.period < 1 || request_.period > layout_.periodCount()))
            return withNote(texts::kNoTable);

        switch (request_.kind) {
            case ChartKind::DoseByIntakeTime:
                byIntakeTime();
                break;
            case ChartKind::DoseByPeriod:
                byPeriod();
                break;
            case ChartKind::DoseByNuclide:
                byNuclide();
                break;
        }
        noteLeftOut();
        return std::move(chart_);
    }

  private:
    ChartData withNote(std::string_view note) {
        chart_.notes.emplace_back(note);
        return std::move(chart_);
    }

    std::string rowLabel(int row) const { return std::string(layout_.rowLabel(row)); }

    std::string periodLabel(int period) const { return std::string(layout_.periodName(period)); }

    std::string doseName() const {
        switch (request_.dose) {
            case DoseView::InUtero:
                return std::string(texts::kInUteroDose);
            case DoseView::Offspring:
                return std::string(texts::kOffspringDose) + std::string(texts::kPeriodJoin) +
                       periodLabel(request_.period);
            case DoseView::PostNatal:
                break;
        }
        return std::string(texts::kPostNatalDose) + std::string(texts::kPeriodJoin) +
               periodLabel(request_.period);
    }

    std::string doseText(int slot, int row, DoseView view, int period) const {
        switch (view) {
            case DoseView::InUtero:
                return run_.inUteroText(slot, row);
            case DoseView::Offspring:
                return run_.offspringText(slot, row, period);
            case DoseView::PostNatal:
                break;
        }
        return run_.postNatalText(slot, row, period);
    }

    double doseValueOf(int slot, int row, DoseView view, int period) const {
        switch (view) {
            case DoseView::InUtero:
                return run_.inUteroDose(slot, row);
            case DoseView::Offspring:
                return run_.offspringDose(slot, row, period);
            case DoseView::PostNatal:
                break;
        }
        return run_.postNatalDose(slot, row, period);
    }

    ChartPoint point(int category, int slot, int row, DoseView view, int period) const {
        ChartPoint p;
        p.category = category;
        p.slot = slot;
        p.text = doseText(slot, row, view, period);
        try {
            p.value = doseValueOf(slot, row, view, period);
        } catch (const ConversionError&) {
            p.value = std::numeric_limits<double>::quiet_NaN();
        }
        p.drawn = std::isfinite(p.value) && p.value >= DBL_MIN;
        return p;
    }

    std::string tableTitle(int slot) const {
        return std::string(run_.nuclideHeading(slot)) + "; " +
               std::string(trimBlanks(run_.groupHeading(slot))) + "; " +
               std::string(run_.routeHeading(slot));
    }

    // Whether two tables are of one nuclide (as chosen), group and route entry.
    bool sameTable(int a, int b) const {
        const TableKey x = run_.key(a);
        const TableKey y = run_.key(b);
        return x.nuclide == y.nuclide && x.group == y.group && x.route == y.route &&
               x.entry == y.entry && x.aerosolSize == y.aerosolSize;
    }
    int scenarioOf(int slot) const { return run_.key(slot).scenario; }

    // Scenarios run innermost in the run's order of tables, so the tables of one nuclide (as
    // chosen), group and route entry stand next to each other with rising scenario numbers.
    void byIntakeTime() {
        const int slot = request_.slot;
        int first = slot;
        while (first > 1 && sameTable(first - 1, first)) --first;
        int last = slot;
        while (last < tableCount_ && sameTable(last, last + 1)) ++last;

        chart_.title = tableTitle(slot);
        chart_.subtitle = doseName();
        std::vector<int> slots;
        for (int s = first; s <= last; ++s) {
            const int scenario = scenarioOf(s);
            if (scenario < 1 || scenario > kAcuteScenarios) continue;
            slots.push_back(s);
            chart_.categories.emplace_back(texts::kIntakeTimeLabels[scenario - 1]);
        }
        chart_.drawnCategories = static_cast<int>(chart_.categories.size());
        if (slots.empty()) {
            chart_.notes.emplace_back(texts::kNoAcuteScenario);
            return;
        }
        if (scenarioOf(slot) > kAcuteScenarios)
            chart_.notes.emplace_back(texts::kChronicTableShown);
        for (int row : rows_) {
            ChartSeries series;
            series.name = rowLabel(row);
            series.legendName = series.name;
            series.row = row;
            for (std::size_t i = 0; i < slots.size(); ++i)
                series.points.push_back(
                    point(static_cast<int>(i), slots[i], row, request_.dose, request_.period));
            chart_.series.push_back(std::move(series));
        }
        if (slots.size() == 1) chart_.notes.emplace_back(texts::kSinglePoint);
    }

    void byPeriod() {
        const int slot = request_.slot;
        chart_.title = tableTitle(slot);
        chart_.subtitle = std::string(run_.scenarioHeading(slot));
        chart_.lineKey = std::string(texts::kPeriodLineKey);
        const int periods = layout_.periodCount();
        for (int n = 1; n <= periods; ++n) chart_.categories.push_back(periodLabel(n));
        chart_.drawnCategories = periods;
        for (int row : rows_) {
            for (DoseView view : {DoseView::Offspring, DoseView::PostNatal}) {
                ChartSeries series;
                series.row = row;
                series.legendName = rowLabel(row);
                series.name = rowLabel(row) + std::string(view == DoseView::Offspring
                                                              ? texts::kOffspringSeriesSuffix
                                                              : texts::kPostNatalSeriesSuffix);
                series.style = view == DoseView::Offspring ? LineStyle::Solid : LineStyle::Dashed;
                for (int n = 1; n <= periods; ++n)
                    series.points.push_back(point(n - 1, slot, row, view, n));
                chart_.series.push_back(std::move(series));
            }
        }
        if (periods == 1) chart_.notes.emplace_back(texts::kSinglePoint);
    }

    // One bar per table of the run with the shown table's group, route (and aerosol size)
    // and scenario. A nuclide with several entries of that route gets a bar for each, named
    // by what tells them apart.
    void byNuclide() {
        const int slot = request_.slot;
        const TableKey shown = run_.key(slot);
        const IntakeRoute kind = shown.route;
        const int aerosol = kind == IntakeRoute::Particulates ? shown.aerosolSize : 0;
        const int row = rows_.front();

        chart_.title = std::string(trimBlanks(run_.groupHeading(slot))) + "; " +
                       routeSummary(kind, aerosol) + "; " + std::string(run_.scenarioHeading(slot));
        chart_.subtitle = rowLabel(row) + ": " + doseName();

        struct Occurrence {
            std::string_view name;
            std::vector<int> slots;
        };
        std::vector<Occurrence> occurrences;
        for (int s = 1; s <= tableCount_; ++s) {
            const TableKey key = run_.key(s);
            if (s == 1 || key.nuclide != run_.key(s - 1).nuclide)
                occurrences.push_back({run_.nuclideName(s), {}});
            if (key.group != shown.group || key.scenario != shown.scenario || key.route != kind)
                continue;
            if (kind == IntakeRoute::Particulates && key.aerosolSize != aerosol) continue;
            occurrences.back().slots.push_back(s);
        }

        ChartSeries series;
        series.name = rowLabel(row);
        series.legendName = series.name;
        series.row = row;
        std::map<std::string, int> labelsUsed;
        int nuclidesWithBars = 0;
        for (const Occurrence& occurrence : occurrences) {
            if (!occurrence.slots.empty()) ++nuclidesWithBars;
            int vapourEntry = 0;
            for (int s : occurrence.slots) {
                std::string label(occurrence.name);
                if (occurrence.slots.size() > 1)
                    label += " (" + entryDetail(run_.routeHeading(s), kind, ++vapourEntry) + ")";
                if (const int seen = ++labelsUsed[label]; seen > 1)
                    label += std::string(texts::kDuplicateMark) + std::to_string(seen);
                series.points.push_back(point(static_cast<int>(chart_.categories.size()), s, row,
                                              request_.dose, request_.period));
                chart_.categories.push_back(std::move(label));
            }
        }
        chart_.series.push_back(std::move(series));
        const int bars = static_cast<int>(chart_.categories.size());
        chart_.drawnCategories = std::min(bars, kMaxDrawnBars);
        if (bars > kMaxDrawnBars)
            chart_.notes.push_back(replaceCount(texts::kBarsCut, bars, kMaxDrawnBars));
        if (nuclidesWithBars < 2) chart_.notes.emplace_back(texts::kNoMatchingNuclide);
    }

    // Says which points of the drawn categories the logarithmic axis cannot hold.
    void noteLeftOut() {
        std::vector<std::string> leftOut;
        bool anyDrawn = false;
        for (const ChartSeries& series : chart_.series)
            for (const ChartPoint& p : series.points) {
                if (p.category >= chart_.drawnCategories) continue;
                if (p.drawn) {
                    anyDrawn = true;
                    continue;
                }
                const std::string value =
                    std::isnan(p.value) ? std::string(texts::kNotANumber) : p.text;
                const std::string& category = chart_.categories[p.category];
                leftOut.push_back(chart_.kind == ChartKind::DoseByNuclide
                                      ? category + " (" + value + ")"
                                      : series.name + " at " + category + " (" + value + ")");
            }
        if (leftOut.empty()) return;
        if (!anyDrawn) {
            chart_.notes.emplace_back(texts::kNothingPositive);
            return;
        }
        std::string note(texts::kLeftOutPrefix);
        for (std::size_t i = 0; i < leftOut.size() && i < kLeftOutListed; ++i) {
            if (i > 0) note += "; ";
            note += leftOut[i];
        }
        if (leftOut.size() > kLeftOutListed)
            note += replaceCount(texts::kLeftOutMore,
                                 static_cast<int>(leftOut.size() - kLeftOutListed));
        note += ".";
        chart_.notes.push_back(std::move(note));
    }

    const RunResult& run_;
    const TableLayout& layout_;
    const ChartRequest& request_;
    ChartData chart_;
    int tableCount_ = 0;
    std::vector<int> rows_;
};

}  // namespace

ChartData buildChart(const RunResult* run, const ChartRequest& request) {
    try {
        if (run) return ChartBuilder(*run, request).build();
    } catch (const std::exception&) {
        // A run that does not hold what its counters say: nothing to chart, as with no run.
    }
    ChartData chart;
    chart.kind = request.kind;
    chart.notes.emplace_back(texts::kNoTable);
    return chart;
}

DecadeRange decadeRange(const ChartData& chart) {
    double lowest = std::numeric_limits<double>::infinity();
    double highest = 0;
    for (const ChartSeries& series : chart.series)
        for (const ChartPoint& p : series.points)
            if (p.drawn && p.category < chart.drawnCategories) {
                lowest = std::min(lowest, p.value);
                highest = std::max(highest, p.value);
            }
    DecadeRange range;
    if (highest == 0) return range;
    range.empty = false;
    // A little slack, so that 1.0E-10 read from text counts as lying on its decade.
    constexpr double kOnDecade = 1e-9;
    const double lowLog = std::log10(lowest);
    const double highLog = std::log10(highest);
    range.low = static_cast<int>(std::floor(lowLog + kOnDecade));
    if (lowLog - range.low < kOnDecade) --range.low;
    range.high = static_cast<int>(std::ceil(highLog - kOnDecade));
    if (range.high - highLog < kOnDecade) ++range.high;
    return range;
}

std::string pointText(const ChartData& chart, const ChartSeries& series, const ChartPoint& point) {
    const std::string category =
        point.category >= 0 && point.category < static_cast<int>(chart.categories.size())
            ? chart.categories[point.category]
            : std::string();
    return series.name + ", " + category + ": " + point.text + " " + std::string(texts::kDoseAxis);
}

}  // namespace fetaldose::charts
