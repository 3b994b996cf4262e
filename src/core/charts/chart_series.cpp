#include "core/charts/chart_series.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <map>
#include <string_view>

#include "core/charts/chart_texts.h"
#include "core/export/csv_field.h"
#include "core/run/labels.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "core/textio/text_encoding.h"
#include "core/textio/text_writer.h"

namespace fetaldose::charts {

namespace {

constexpr int kAcuteScenarios = 8;
constexpr int kScenarios = 11;
constexpr std::size_t kLeftOutListed = 5;

namespace when = scenario_time;
constexpr double kWeeksPerYear = when::kDaysPerYear / when::kDaysPerWeek;
constexpr double kBirthWeek = when::kBirthDay / when::kDaysPerWeek;
// The years before conception the time axis may start at: the first that holds the run's
// earliest intake.
constexpr std::array<int, 4> kBeforeConceptionStarts = {1, 3, 5, 10};
// Shares of the time axis: the years before conception get less than the weeks of pregnancy.
constexpr double kBeforeConceptionShare = 0.35;
constexpr int kWeeksBetweenTicks = 10;
// The period axis reaches this factor beyond the shortest and the longest period, so that
// neither stands on the axis's edge.
constexpr double kPeriodAxisSlack = 1.5;
constexpr int kLinearTicks = 5;  // about this many steps from zero to the largest dose
constexpr int kNoDataLow = -12;  // the decades of a logarithmic axis with nothing to draw
constexpr int kNoDataHigh = -6;

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

std::string replaceText(std::string_view pattern, const std::string& text) {
    const std::size_t at = pattern.find("%s");
    return std::string(pattern.substr(0, at)) + text + std::string(pattern.substr(at + 2));
}

std::string decadeLabel(int decade) {
    char label[16];
    std::snprintf(label, sizeof label, "%.0E", std::pow(10.0, decade));
    return label;
}

// The time axis in weeks after conception: the years before conception the run reaches, then
// the pregnancy to birth, each piece to its own scale.
ValueAxis timeAxis(const std::vector<CategoryPlace>& places) {
    ValueAxis axis;
    axis.title = std::string(texts::kIntakeTimeAxis);
    double earliest = 0;
    for (const CategoryPlace& place : places) earliest = std::min(earliest, place.from);
    const double pregnancyShare = earliest < 0 ? 1 - kBeforeConceptionShare : 1;
    if (earliest < 0) {
        int years = kBeforeConceptionStarts.back();
        for (int start : kBeforeConceptionStarts)
            if (start * kWeeksPerYear >= -earliest - 1e-9) {
                years = start;
                break;
            }
        axis.pieces.push_back({-years * kWeeksPerYear, 0, false, kBeforeConceptionShare,
                               std::string(texts::kBeforeConceptionPiece)});
        const int step = years > 5 ? 2 : 1;
        for (int y = years; y >= 1; y -= step)
            axis.ticks.push_back({-y * kWeeksPerYear, replaceCount(texts::kYearsBeforeTick, y)});
        if (years == 1)
            axis.ticks.push_back({-kWeeksPerYear / 2, std::string(texts::kSixMonthsBeforeTick)});
    }
    axis.pieces.push_back(
        {0, kBirthWeek, false, pregnancyShare,
         std::string(earliest < 0 ? texts::kPregnancyPiece : texts::kPregnancyOnlyPiece)});
    axis.ticks.push_back({0, std::string(texts::kConceptionTick)});
    for (int w = kWeeksBetweenTicks; w < kBirthWeek; w += kWeeksBetweenTicks)
        axis.ticks.push_back({double(w), replaceCount(texts::kWeeksAfterTick, w)});
    axis.ticks.push_back({kBirthWeek, std::string(texts::kBirthTick)});
    return axis;
}

// The period axis in years after birth, logarithmic, labelled at the run's periods.
ValueAxis periodAxis(const TableLayout& layout) {
    ValueAxis axis;
    axis.title = std::string(texts::kPeriodAxis);
    if (layout.periodCount() == 0) return axis;
    double shortest = kPeriodYears.back();
    double longest = kPeriodYears.front();
    for (int n = 1; n <= layout.periodCount(); ++n) {
        const double years = kPeriodYears[layout.periods[n - 1] - 1];
        shortest = std::min(shortest, years);
        longest = std::max(longest, years);
        axis.ticks.push_back({years, std::string(layout.periodName(n))});
    }
    axis.pieces.push_back({shortest / kPeriodAxisSlack, longest * kPeriodAxisSlack, true, 1,
                           std::string(texts::kPeriodPiece)});
    return axis;
}

// The dose axis: decades with their 2 to 9 times as grid lines, or zero to the largest dose in
// round steps of 1, 2 or 5 times a power of ten.
ValueAxis doseAxis(const ChartData& chart) {
    ValueAxis axis;
    if (chart.scale == DoseScale::Logarithmic) {
        axis.title = std::string(texts::kLogarithmicDoseAxis);
        const DecadeRange range = decadeRange(chart);
        const int low = range.empty ? kNoDataLow : range.low;
        const int high = range.empty ? kNoDataHigh : range.high;
        axis.pieces.push_back({std::pow(10.0, low), std::pow(10.0, high), true, 1, {}});
        for (int decade = low; decade <= high; ++decade) {
            axis.ticks.push_back({std::pow(10.0, decade), decadeLabel(decade)});
            if (decade < high)
                for (int times = 2; times <= 9; ++times)
                    axis.ticks.push_back({times * std::pow(10.0, decade), {}});
        }
        return axis;
    }
    axis.title = std::string(texts::kLinearDoseAxis);
    double lowest = 0;
    double highest = 0;
    for (const ChartSeries& series : chart.series)
        for (const ChartPoint& p : series.points)
            if (p.drawn && p.category < chart.drawnCategories) {
                lowest = std::min(lowest, p.value);
                highest = std::max(highest, p.value);
            }
    if (highest - lowest <= 0) highest = std::pow(10.0, kNoDataHigh);
    const double raw = (highest - lowest) / kLinearTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / magnitude;
    const double step = (mantissa <= 1   ? 1
                         : mantissa <= 2 ? 2
                         : mantissa <= 5 ? 5
                                         : 10) *
                        magnitude;
    const int first = static_cast<int>(std::floor(lowest / step + 1e-9));
    const int last = static_cast<int>(std::ceil(highest / step - 1e-9));
    axis.pieces.push_back({first * step, last * step, false, 1, {}});
    for (int k = first; k <= last; ++k) {
        char label[16];
        std::snprintf(label, sizeof label, "%.1E", k * step);
        axis.ticks.push_back({k * step, k == 0 ? std::string("0") : std::string(label)});
    }
    return axis;
}

class ChartBuilder {
  public:
    ChartBuilder(const RunResult& run, const ChartRequest& request)
        : run_(run), layout_(run.layout()), request_(request) {}

    ChartData build() {
        chart_.kind = request_.kind;
        chart_.scale = request_.scale;
        chart_.decimalSeparator = run_.decimalSeparator();
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
        noteTissuesNotDrawn();
        if (request_.kind == ChartKind::DoseByIntakeTime) chart_.xAxis = timeAxis(chart_.places);
        if (request_.kind == ChartKind::DoseByPeriod) chart_.xAxis = periodAxis(layout_);
        chart_.xAxis.title = chart_.xTitle;
        chart_.doseAxis = charts::doseAxis(chart_);
        return std::move(chart_);
    }

  private:
    ChartData withNote(std::string_view note) {
        chart_.notes.emplace_back(note);
        chart_.doseAxis = charts::doseAxis(chart_);
        return std::move(chart_);
    }

    // Names the run's tissues a chart of lines leaves out, and says how to add them.
    void noteTissuesNotDrawn() {
        if (request_.kind == ChartKind::DoseByNuclide) {
            if (layout_.rowCount() > 1) chart_.notes.emplace_back(texts::kOneTissueAtATime);
            return;
        }
        std::string missing;
        for (int row = 1; row <= layout_.rowCount(); ++row) {
            if (std::find(rows_.begin(), rows_.end(), row) != rows_.end()) continue;
            if (!missing.empty()) missing += "; ";
            missing += rowLabel(row);
        }
        if (!missing.empty()) chart_.notes.push_back(replaceText(texts::kTissuesNotDrawn, missing));
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
        p.drawn =
            std::isfinite(p.value) && (request_.scale == DoseScale::Linear || p.value >= DBL_MIN);
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
        bool anyChronic = false;
        for (int s = first; s <= last; ++s) {
            const int scenario = scenarioOf(s);
            if (scenario < 1 || scenario > kScenarios) continue;
            slots.push_back(s);
            chart_.categories.emplace_back(texts::kIntakeTimeLabels[scenario - 1]);
            chart_.places.push_back({when::kScenarioFromDays[scenario - 1] / when::kDaysPerWeek,
                                     when::kScenarioToDays[scenario - 1] / when::kDaysPerWeek});
            anyChronic = anyChronic || scenario > kAcuteScenarios;
        }
        chart_.drawnCategories = static_cast<int>(chart_.categories.size());
        if (slots.empty()) {
            chart_.notes.emplace_back(texts::kNoAcuteScenario);
            return;
        }
        if (slots.size() > (anyChronic ? 1u : 0u) || !anyChronic)
            chart_.styleKeys.push_back({MarkKind::SolidLine, std::string(texts::kAcuteKey)});
        if (anyChronic)
            chart_.styleKeys.push_back({MarkKind::Span, std::string(texts::kChronicKey)});
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
        chart_.styleKeys = {{MarkKind::SolidLine, std::string(texts::kOffspringKey)},
                            {MarkKind::DashedLine, std::string(texts::kPostNatalKey)}};
        const int periods = layout_.periodCount();
        for (int n = 1; n <= periods; ++n) {
            chart_.categories.push_back(periodLabel(n));
            const double years = kPeriodYears[layout_.periods[n - 1] - 1];
            chart_.places.push_back({years, years});
        }
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
                const int category = static_cast<int>(chart_.categories.size());
                series.points.push_back(point(category, s, row, request_.dose, request_.period));
                chart_.categories.push_back(std::move(label));
                chart_.places.push_back({double(category), double(category)});
            }
        }
        chart_.series.push_back(std::move(series));
        const int bars = static_cast<int>(chart_.categories.size());
        chart_.drawnCategories = std::min(bars, kMaxDrawnBars);
        if (bars > kMaxDrawnBars)
            chart_.notes.push_back(replaceCount(texts::kBarsCut, bars, kMaxDrawnBars));
        if (nuclidesWithBars < 2) chart_.notes.emplace_back(texts::kNoMatchingNuclide);
    }

    // Says which points of the drawn categories the dose axis cannot hold: not a number on
    // either axis, zero or less on a logarithmic one.
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
        const bool logarithmic = request_.scale == DoseScale::Logarithmic;
        if (!anyDrawn && logarithmic) {
            chart_.notes.emplace_back(texts::kNothingPositive);
            return;
        }
        std::string note(logarithmic ? texts::kLeftOutPrefix : texts::kLeftOutNotNumbers);
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
    chart.scale = request.scale;
    chart.notes.emplace_back(texts::kNoTable);
    chart.doseAxis = doseAxis(chart);
    return chart;
}

double ValueAxis::fraction(double value) const {
    constexpr double kEdge = 1e-9;  // a value on a piece's edge, as worked out, lies in it
    double start = 0;
    for (const AxisPiece& piece : pieces) {
        const double span = piece.to - piece.from;
        const double slack = kEdge * std::max(std::abs(piece.from), std::abs(piece.to));
        if (span > 0 && value >= piece.from - slack && value <= piece.to + slack) {
            if (!piece.logarithmic) return start + piece.share * (value - piece.from) / span;
            if (piece.from <= 0 || value <= 0) return std::numeric_limits<double>::quiet_NaN();
            return start +
                   piece.share * std::log(value / piece.from) / std::log(piece.to / piece.from);
        }
        start += piece.share;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

std::vector<std::string> valuesCsvLines(const ChartData& chart) {
    std::vector<std::string> lines;
    const auto comment = [&lines](const std::string& text) {
        if (text.empty()) return;
        lines.emplace_back();
        exporting::appendCsvField(lines.back(), std::string(texts::kCsvComment) + toUtf8(text));
    };
    comment(chart.title);
    comment(chart.subtitle);
    for (const std::string& note : chart.notes) comment(note);
    lines.emplace_back(texts::kCsvDoseNote);
    std::string line;
    exporting::appendCsvField(line, toUtf8(chart.xTitle));
    for (const ChartSeries& series : chart.series) {
        line += ',';
        exporting::appendCsvField(line, toUtf8(series.name));
    }
    lines.push_back(std::move(line));
    std::string number;
    for (std::size_t c = 0; c < chart.categories.size(); ++c) {
        line.clear();
        exporting::appendCsvField(line, toUtf8(chart.categories[c]));
        for (const ChartSeries& series : chart.series) {
            line += ',';
            for (const ChartPoint& point : series.points) {
                if (point.category != static_cast<int>(c)) continue;
                if (pointFormOfDose(point.text, chart.decimalSeparator, number))
                    line += number;
                else
                    exporting::appendCsvField(line, toUtf8(trimBlanks(point.text)));
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void writeValuesCsv(const std::string& path, const ChartData& chart) {
    const std::vector<std::string> lines = valuesCsvLines(chart);
    saveTextFile(path, [&lines](TextWriter& out) {
        for (const std::string& line : lines) out.writeLine(line);
    });
}

DecadeRange decadeRange(const ChartData& chart) {
    double lowest = std::numeric_limits<double>::infinity();
    double highest = 0;
    for (const ChartSeries& series : chart.series)
        for (const ChartPoint& p : series.points)
            if (p.drawn && p.value > 0 && p.category < chart.drawnCategories) {
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
