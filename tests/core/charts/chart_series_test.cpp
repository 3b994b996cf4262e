// Chart series worked out from a run's tables: which tables, in which x order, which values,
// and what the notes say about values a logarithmic axis cannot hold.

#include <gtest/gtest.h>

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

TEST_F(ChartSeriesTest, IntakeTimeHoldsTheRunsAcuteScenariosInTimeOrder) {
    runner.file("Pu-239", chartDataFile({0, 0, 1}, {0, 0, 1}));
    const std::vector<std::vector<int>> runs = {
        {5}, {1, 4, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {2, 3, 7, 10}};
    for (const std::vector<int>& scenarios : runs) {
        // Chosen twice: the second time's tables must not join the first's line.
        SelectionSnapshot s = chartSelection({"Pu-239", "Pu-239"}, {}, {0, 16});
        for (int sc : scenarios)
            (sc <= 8 ? s.acuteScenarios[sc - 1] : s.chronicScenarios[sc - 9]) = true;
        const auto run = runner.run(s);
        std::vector<int> acute;
        for (int sc : scenarios)
            if (sc <= 8) acute.push_back(sc);

        // Asked from the first time's last table (a chronic one where the run has one).
        const int shown = static_cast<int>(scenarios.size());
        for (DoseView dose : {DoseView::InUtero, DoseView::Offspring}) {
            const ChartData chart = buildChart(
                run->result.get(), {ChartKind::DoseByIntakeTime, shown, {1, 2}, dose, 2});
            ASSERT_EQ(chart.categories.size(), acute.size());
            ASSERT_EQ(chart.series.size(), 2u);
            EXPECT_EQ(chart.series[1].name, "Effective dose");
            for (std::size_t i = 0; i < acute.size(); ++i) {
                EXPECT_EQ(chart.categories[i], texts::kIntakeTimeLabels[acute[i] - 1]);
                for (const ChartSeries& series : chart.series) {
                    const ChartPoint& p = series.points[i];
                    const int tissue = series.row == 1 ? 1 : 18;
                    const double inUtero = number(ChartDose::inUtero(tissue, acute[i], 1));
                    const double expected =
                        dose == DoseView::InUtero
                            ? inUtero
                            : inUtero + number(ChartDose::postNatal(2, acute[i], 1));
                    EXPECT_EQ(run->result->scenarioHeading(p.slot), kScenarioTexts[acute[i] - 1]);
                    EXPECT_LE(p.slot, shown);
                    EXPECT_NEAR(p.value, expected, expected * 0.051);  // two digits
                    EXPECT_DOUBLE_EQ(p.value, number(p.text));
                    EXPECT_TRUE(p.drawn);
                }
            }
            EXPECT_EQ(notesMention(chart, "chronic"), scenarios.back() > 8);
            EXPECT_EQ(notesMention(chart, "single point"), acute.size() == 1);
        }
    }
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
