#pragma once
// What a chart of the last run's tables shows: its categories along x, its series of values
// (as numbers and as the tables' texts) and the notes about what cannot be drawn. Plain data,
// worked out from a run; the chart window only paints it.

#include <string>
#include <vector>

#include "core/run/run_result.h"

namespace fetaldose::charts {

enum class ChartKind {
    DoseByIntakeTime,  // the table's nuclide, group and route over the run's acute scenarios
    DoseByPeriod,      // the table over the run's integration periods
    DoseByNuclide,     // one bar per nuclide of the run, the table's group, route and scenario
};

// Which dose of a table a chart takes: the in-utero column or a period's column of one of
// the two views.
enum class DoseView { InUtero, Offspring, PostNatal };

struct ChartRequest {
    ChartKind kind = ChartKind::DoseByIntakeTime;
    int slot = 1;           // the table on show
    std::vector<int> rows;  // tissue rows 1..rowCount, one line each; bars take the first
    DoseView dose = DoseView::Offspring;  // not used by DoseByPeriod, which shows both views
    int period = 1;                       // 1..periodCount, for the two period views
};

struct ChartPoint {
    int category = 0;    // index into ChartData::categories
    int slot = 0;        // the table the value comes from
    std::string text;    // the dose exactly as the table gives it
    double value = 0;    // the text read as a number (NaN when it is none)
    bool drawn = false;  // above zero (and finite): it has a place on a logarithmic axis
};

enum class LineStyle { Solid, Dashed };

struct ChartSeries {
    std::string name;
    std::string legendName;  // the tissue: its series share one colour and one legend entry
    int row = 0;  // the tissue row it shows (1..rowCount), so one tissue keeps one colour
    LineStyle style = LineStyle::Solid;
    std::vector<ChartPoint> points;  // in category order
};

struct ChartData {
    ChartKind kind = ChartKind::DoseByIntakeTime;
    std::string title;     // the table's nuclide, group, route (and scenario where fixed)
    std::string subtitle;  // which dose is shown
    std::string lineKey;   // what the line styles mean, where a tissue has more than one line
    std::string xTitle;
    std::vector<std::string> categories;  // x labels in their order
    int drawnCategories = 0;  // the chart draws categories 0..drawnCategories-1, the table all
    std::vector<ChartSeries> series;
    std::vector<std::string> notes;  // what is not drawn, and why
};

// At most this many bars are drawn; the rest are listed only with the values.
inline constexpr int kMaxDrawnBars = 40;

// Works out a chart from the run's tables (none: nothing to chart, said in a note). Never throws
// for any slot, row or period number: what cannot be charted is said in the notes.
ChartData buildChart(const RunResult* run, const ChartRequest& request);

// The decades a logarithmic axis spans to hold every drawn point of the drawn categories:
// 10^low to 10^high, low < high, with a value lying exactly on a decade kept off the edge.
struct DecadeRange {
    bool empty = true;  // no point to draw
    int low = 0;
    int high = 0;
};
DecadeRange decadeRange(const ChartData& chart);

// The text a pointer over a point shows: the series, the category and the table's text.
std::string pointText(const ChartData& chart, const ChartSeries& series, const ChartPoint& point);

}  // namespace fetaldose::charts
