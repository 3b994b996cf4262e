// Chart series worked out from a run's tables: which tables, in which x order, which values,
// and what the notes say about values a logarithmic axis cannot hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart_run.h"
#include "core/charts/chart_series.h"
#include "core/charts/chart_texts.h"
#include "core/run/run_texts.h"
#include "scratch_directory.h"

namespace fetaldose::charts {
namespace {

using testing::chartDataFile;
using testing::ChartDose;
using testing::chartSelection;

double number(const std::string& text) {
    return std::stod(text);
}

class ChartSeriesTest : public ::testing::Test {
  protected:
    fetaldose::testing::ScratchDirectory dir;
    fetaldose::testing::ChartRunner runner{dir.slash()};

    // The slot of the first table with this scenario number.
    static int slotOf(const RunResult& run, int scenario) {
        for (int t = 1; t <= run.tableCount(); ++t)
            if (run.scenarioHeading(t) == kScenarioTexts[scenario - 1]) return t;
        return 0;
    }

    static bool notesMention(const ChartData& chart, const std::string& part) {
        for (const std::string& note : chart.notes)
            if (note.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(ChartSeriesTest, IntakeTimeHoldsTheRunsScenariosAtTheirTimes) {
    runner.file("Pu-239", chartDataFile({0, 0, 1}, {0, 0, 1}));
    const std::vector<std::vector<int>> runs = {
        {5}, {1, 4, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {2, 3, 7, 10}};
    // Weeks after conception of each scenario's start and end, counted by hand: a year of
    // 365.25 days, birth at 38 weeks.
    const double year = 365.25 / 7;
    const double from[] = {-2.5 * year, -year / 2, 0, 5, 10, 15, 25, 35, -5 * year, -year, 0};
    const double to[] = {-2.5 * year, -year / 2, 0, 5, 10, 15, 25, 35, 0, 0, 38};
    for (const std::vector<int>& scenarios : runs) {
        // Chosen twice: the second time's tables must not join the first's line.
        SelectionSnapshot s = chartSelection({"Pu-239", "Pu-239"}, {}, {0, 16});
        for (int sc : scenarios)
            (sc <= 8 ? s.acuteScenarios[sc - 1] : s.chronicScenarios[sc - 9]) = true;
        const auto run = runner.run(s);

        // Asked from the first time's last table (a chronic one where the run has one).
        const int shown = static_cast<int>(scenarios.size());
        for (DoseView dose : {DoseView::InUtero, DoseView::Offspring}) {
            const ChartData chart = buildChart(
                run->result.get(), {ChartKind::DoseByIntakeTime, shown, {1, 2}, dose, 2});
            ASSERT_EQ(chart.categories.size(), scenarios.size());
            ASSERT_EQ(chart.series.size(), 2u);
            EXPECT_EQ(chart.series[1].name, "Effective dose");
            for (std::size_t i = 0; i < scenarios.size(); ++i) {
                const int sc = scenarios[i];
                EXPECT_EQ(chart.categories[i], texts::kIntakeTimeLabels[sc - 1]);
                EXPECT_NEAR(chart.places[i].from, from[sc - 1], 1e-9);
                EXPECT_NEAR(chart.places[i].to, to[sc - 1], 1e-9);
                EXPECT_EQ(chart.places[i].isSpan(), sc > 8);
                for (const ChartSeries& series : chart.series) {
                    const ChartPoint& p = series.points[i];
                    const int tissue = series.row == 1 ? 1 : 18;
                    const double inUtero = number(ChartDose::inUtero(tissue, sc, 1));
                    const double expected = dose == DoseView::InUtero
                                                ? inUtero
                                                : inUtero + number(ChartDose::postNatal(2, sc, 1));
                    EXPECT_EQ(run->result->scenarioHeading(p.slot), kScenarioTexts[sc - 1]);
                    EXPECT_LE(p.slot, shown);
                    EXPECT_NEAR(p.value, expected, expected * 0.051);  // two digits
                    EXPECT_DOUBLE_EQ(p.value, number(p.text));
                }
            }
            // Every place lies on the time axis, in time order within each piece.
            for (std::size_t i = 0; i < scenarios.size(); ++i) {
                EXPECT_FALSE(std::isnan(chart.xAxis.fraction(chart.places[i].from))) << i;
                EXPECT_FALSE(std::isnan(chart.xAxis.fraction(chart.places[i].to))) << i;
            }
            // The legend explains spans only where there are chronic intakes.
            bool spanKey = false;
            for (const StyleKey& key : chart.styleKeys) spanKey |= key.mark == MarkKind::Span;
            EXPECT_EQ(spanKey, scenarios.back() > 8);
            EXPECT_EQ(notesMention(chart, "single point"), scenarios.size() == 1);
        }
    }
}

// The axes a chart is drawn on: in proportion to the value within each piece (to its
// logarithm on a logarithmic one), the years before conception apart from the pregnancy,
// the periods at the logarithm of their years, a linear dose axis from zero.
TEST_F(ChartSeriesTest, AxesPlaceValuesInProportion) {
    runner.file("Pu-239", chartDataFile({0, 0, 1}, {0, 0, 0}));
    const auto run = runner.run(chartSelection({"Pu-239"}, {1, 3, 5, 8, 9}, {0, 16}));
    const ChartData time =
        buildChart(run->result.get(), {ChartKind::DoseByIntakeTime, 1, {1, 2}, {}, 5});
    ASSERT_EQ(time.xAxis.pieces.size(), 2u);
    const ValueAxis& x = time.xAxis;
    const double year = 365.25 / 7;
    // Within the pregnancy: equal weeks, equal lengths; up to birth at the axis's end.
    EXPECT_NEAR(x.fraction(20) - x.fraction(10), x.fraction(30) - x.fraction(20), 1e-12);
    EXPECT_NEAR(x.fraction(38), 1.0, 1e-12);
    // Before conception: from the 5 years the chronic intake reaches, to conception.
    EXPECT_NEAR(x.fraction(-5 * year), 0.0, 1e-12);
    EXPECT_NEAR(x.fraction(-2.5 * year), x.fraction(0) / 2, 1e-12);
    EXPECT_LT(x.fraction(0), 0.5);  // the pregnancy gets the larger part
    EXPECT_TRUE(std::isnan(x.fraction(40)));
    std::vector<std::string> ticks;
    for (const AxisTick& tick : x.ticks) ticks.push_back(tick.label);
    EXPECT_NE(std::find(ticks.begin(), ticks.end(), std::string(texts::kBirthTick)), ticks.end());
    EXPECT_NE(std::find(ticks.begin(), ticks.end(), "-5 y"), ticks.end());
    EXPECT_NE(x.pieces[0].caption.find("compressed"), std::string::npos);

    const ChartData period =
        buildChart(run->result.get(), {ChartKind::DoseByPeriod, 1, {1}, {}, 1});
    const ValueAxis& p = period.xAxis;
    EXPECT_NEAR(p.fraction(10) - p.fraction(1), p.fraction(100 / 1.5) - p.fraction(100 / 15.0),
                1e-12);
    EXPECT_NEAR(p.fraction(20) - p.fraction(10), p.fraction(10) - p.fraction(5), 1e-12);
    for (std::size_t n = 0; n < period.places.size(); ++n)
        EXPECT_EQ(period.places[n].from, kPeriodYears[n]);

    // The linear dose axis starts at zero and holds the largest dose; the logarithmic one
    // holds every drawn dose between its decades.
    for (DoseScale scale : {DoseScale::Linear, DoseScale::Logarithmic}) {
        const ChartData chart =
            buildChart(run->result.get(), {ChartKind::DoseByNuclide, 1, {2}, {}, 1, scale});
        const ValueAxis& dose = chart.doseAxis;
        for (const ChartPoint& point : chart.series[0].points) {
            const double f = dose.fraction(point.value);
            EXPECT_TRUE(f > 0 && f < 1) << point.text;
        }
        if (scale == DoseScale::Linear) {
            EXPECT_EQ(dose.fraction(0), 0.0);
            const double v = chart.series[0].points[0].value;
            EXPECT_NEAR(dose.fraction(v / 2), dose.fraction(v) / 2, 1e-12);
            EXPECT_EQ(dose.ticks.front().label, "0");
        } else {
            EXPECT_TRUE(std::isnan(dose.fraction(0)));
        }
    }
}

TEST_F(ChartSeriesTest, TissuesLeftOutAreNamedAndValuesExportAsCsv) {
    runner.file("Pu-239", chartDataFile({0, 0, 1}, {0, 0, 0}));
    const auto run = runner.run(chartSelection({"Pu-239"}, {3, 9}, {0, 14, 16}), ',');
    const ChartData chart =
        buildChart(run->result.get(), {ChartKind::DoseByIntakeTime, 1, {1, 3}, {}, 5});
    EXPECT_TRUE(notesMention(chart, "Not drawn: Thyroid. Tick them under Tissues"));
    const ChartData all =
        buildChart(run->result.get(), {ChartKind::DoseByIntakeTime, 1, {1, 2, 3}, {}, 5});
    EXPECT_FALSE(notesMention(all, "Not drawn"));

    const std::vector<std::string> lines = valuesCsvLines(chart);
    ASSERT_EQ(lines.size(), 7u);  // title, subtitle, note, dose note, heading, two rows
    EXPECT_EQ(lines[0].substr(0, 9), "\"# Pu-239");
    EXPECT_EQ(lines[4], "\"Time of intake, relative to conception\",Bladder,Effective dose");
    // The run's decimal comma becomes the full stop.
    std::string expected = run->result->inUteroText(1, 1);  // the dose {} asks for
    std::replace(expected.begin(), expected.end(), ',', '.');
    EXPECT_EQ(lines[5].substr(0, 2 + expected.size()), "0," + expected);
    EXPECT_EQ(lines[6].substr(0, 10), "-5 y to 0,");
}

TEST_F(ChartSeriesTest, PeriodShowsBothViewsOverTheChosenPeriods) {
    runner.file("Cs-137", chartDataFile({0, 0, 2}, {0, 0, 0}));
    SelectionSnapshot s = chartSelection({"Cs-137"}, {4}, {2});  // Brain: two rows
    s.allPeriods = false;
    s.periods[1] = s.periods[4] = true;
    const auto run = runner.run(s, ',');
    const ChartData chart = buildChart(run->result.get(), {ChartKind::DoseByPeriod, 2, {2}, {}, 0});
    EXPECT_EQ(chart.categories, (std::vector<std::string>{"5y", "70y"}));
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_EQ(chart.series[0].style, LineStyle::Solid);
    EXPECT_EQ(chart.series[1].style, LineStyle::Dashed);
    for (int n = 0; n < 2; ++n) {
        const int period = n == 0 ? 2 : 5;
        EXPECT_EQ(chart.series[0].points[n].text, run->result->offspringText(2, 2, n + 1));
        EXPECT_EQ(chart.series[1].points[n].text, run->result->postNatalText(2, 2, n + 1));
        // Entry 2, the Brain (7-15 weeks) row, read with the run's decimal comma.
        EXPECT_DOUBLE_EQ(chart.series[1].points[n].value,
                         number(ChartDose::postNatal(period, 4, 2)));
    }
}

TEST_F(ChartSeriesTest, NuclideBarsMatchGroupRouteSizeAndScenario) {
    runner.file("A-1", chartDataFile({0, 1, 1}, {0, 0, 1}, testing::chartFields(0)))
        .file("B-2", chartDataFile({0, 0, 2}, {0, 0, 0}, testing::chartFields(1)))
        .file("C-3", chartDataFile({1, 0, 0}, {0, 0, 0}, testing::chartFields(2)));
    SelectionSnapshot s = chartSelection({"A-1", "B-2", "C-3", "A-1"}, {1, 3}, {0});
    s.occupational = true;
    const auto run = runner.run(s);
    // A-1 public ingestion, scenario 3 is slot 2.
    const ChartData chart =
        buildChart(run->result.get(), {ChartKind::DoseByNuclide, 2, {1}, DoseView::InUtero, 1});
    EXPECT_EQ(chart.categories,
              (std::vector<std::string>{"A-1", "B-2 (f1 = 0.111)", "B-2 (f1 = 0.121)", "A-1 #2"}));
    ASSERT_EQ(chart.series.size(), 1u);
    const std::vector<double> expected = {
        number(ChartDose::inUtero(1, 3, 1, 0)), number(ChartDose::inUtero(1, 3, 1, 1)),
        number(ChartDose::inUtero(1, 3, 2, 1)), number(ChartDose::inUtero(1, 3, 1, 0))};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(chart.series[0].points[i].value, expected[i]);
        EXPECT_EQ(run->result->groupHeading(chart.series[0].points[i].slot),
                  run->result->groupHeading(2));
    }
    EXPECT_TRUE(chart.notes.empty());

    // Particulates: only tables of the same aerosol size.
    SelectionSnapshot p = chartSelection({"A-1", "A-1"}, {1}, {0});
    p.ingestion = false;
    p.particulates = true;
    p.aerosol[0] = p.aerosol[9] = true;
    const auto particulates = runner.run(p);
    const ChartData bars = buildChart(particulates->result.get(),
                                      {ChartKind::DoseByNuclide, 2, {1}, DoseView::InUtero, 1});
    ASSERT_EQ(bars.categories.size(), 2u);
    for (const ChartPoint& point : bars.series[0].points)
        EXPECT_EQ(particulates->result->routeHeading(point.slot),
                  particulates->result->routeHeading(2));
}

TEST_F(ChartSeriesTest, WhatCannotBeDrawnIsSaid) {
    // In utero zero in row 1 of scenario 4; everything zero in file Z-0.
    runner.file("P-1",
                chartDataFile({0, 0, 1}, {0, 0, 0}, [](const auto& place, int line, int row) {
                    if (line == 3 && row == 1 && place.scenario == 4) return std::string("0.0E+00");
                    return testing::chartFields()(place, line, row);
                }));
    runner.file("Z-0", chartDataFile({0, 0, 1}, {0, 0, 0},
                                     [](const auto&, int, int) { return std::string("0.0"); }));
    const auto run = runner.run(chartSelection({"P-1"}, {3, 4, 5}, {0, 1}));
    const ChartData gap = buildChart(
        run->result.get(), {ChartKind::DoseByIntakeTime, 1, {1, 2}, DoseView::InUtero, 1});
    EXPECT_FALSE(gap.series[0].points[1].drawn);
    EXPECT_EQ(gap.series[0].points[1].value, 0.0);
    EXPECT_TRUE(
        notesMention(gap, "Bladder at " + std::string(texts::kIntakeTimeLabels[3]) + " (0.0E+00)"));
    EXPECT_FALSE(notesMention(gap, "Bone surface"));
    const DecadeRange range = decadeRange(gap);
    EXPECT_FALSE(range.empty);
    EXPECT_LT(std::pow(10.0, range.low), 2.3e-11);  // the drawn values: 2.3E-11 to 3.5E-11
    EXPECT_GT(std::pow(10.0, range.high), 3.5e-11);

    const auto zeros = runner.run(chartSelection({"Z-0"}, {1}, {0}));
    for (ChartKind kind :
         {ChartKind::DoseByIntakeTime, ChartKind::DoseByPeriod, ChartKind::DoseByNuclide}) {
        const ChartData chart =
            buildChart(zeros->result.get(), {kind, 1, {1}, DoseView::Offspring, 1});
        EXPECT_TRUE(notesMention(chart, std::string(texts::kNothingPositive))) << int(kind);
        EXPECT_TRUE(decadeRange(chart).empty);
    }

    // Out-of-range requests never throw.
    for (const ChartRequest& bad :
         {ChartRequest{ChartKind::DoseByPeriod, 0, {1}, {}, 1},
          ChartRequest{ChartKind::DoseByPeriod, 99, {1}, {}, 1},
          ChartRequest{ChartKind::DoseByNuclide, 1, {}, {}, 1},
          ChartRequest{ChartKind::DoseByNuclide, 1, {7}, {}, 1},
          ChartRequest{ChartKind::DoseByIntakeTime, 1, {1}, DoseView::Offspring, 6}}) {
        const ChartData chart = buildChart(run->result.get(), bad);
        EXPECT_TRUE(chart.series.empty());
        EXPECT_FALSE(chart.notes.empty());
    }
    EXPECT_TRUE(notesMention(buildChart(nullptr, {}), std::string(texts::kNoTable)));
}

TEST_F(ChartSeriesTest, ManyNuclidesDrawTheFirstBarsAndListAll) {
    std::vector<std::string> names;
    const std::string text = chartDataFile({0, 0, 1}, {0, 0, 0});
    for (int n = 0; n < 800; ++n) {
        names.push_back("N-" + std::to_string(n));
        runner.file(names.back(), text);
    }
    const auto run = runner.run(chartSelection(names, {6}, {16}));
    ASSERT_EQ(run->result->tableCount(), 800);
    const ChartData chart =
        buildChart(run->result.get(), {ChartKind::DoseByNuclide, 500, {1}, DoseView::Offspring, 5});
    EXPECT_EQ(chart.categories.size(), 800u);
    EXPECT_EQ(chart.series[0].points.size(), 800u);
    EXPECT_EQ(chart.drawnCategories, kMaxDrawnBars);
    EXPECT_TRUE(notesMention(chart, "800"));
}

}  // namespace
}  // namespace fetaldose::charts
