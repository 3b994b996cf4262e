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

// How the dose axis maps doses: by their logarithm (the nuclides as dots) or in proportion
// (the nuclides as bars standing on zero).
enum class DoseScale { Logarithmic, Linear };

struct ChartRequest {
    ChartKind kind = ChartKind::DoseByIntakeTime;
    int slot = 1;           // the table on show
    std::vector<int> rows;  // tissue rows 1..rowCount, one line each; bars take the first
    DoseView dose = DoseView::Offspring;  // not used by DoseByPeriod, which shows both views
    int period = 1;                       // 1..periodCount, for the two period views
    DoseScale scale = DoseScale::Logarithmic;
};

struct ChartPoint {
    int category = 0;    // index into ChartData::categories
    int slot = 0;        // the table the value comes from
    std::string text;    // the dose exactly as the table gives it
    double value = 0;    // the text read as a number (NaN when it is none)
    bool drawn = false;  // it has a place on the dose axis (above zero on a logarithmic one)
};

enum class LineStyle { Solid, Dashed };

struct ChartSeries {
    std::string name;
    std::string legendName;  // the tissue: its series share one colour and one legend entry
    int row = 0;  // the tissue row it shows (1..rowCount), so one tissue keeps one colour
    LineStyle style = LineStyle::Solid;
    std::vector<ChartPoint> points;  // in category order
};

// Where a category lies along the x axis, in the axis's own unit (weeks after conception for
// the time of intake, years for the integration period, the category's index for nuclides):
// one place, or an interval for a chronic intake.
struct CategoryPlace {
    double from = 0;
    double to = 0;
    bool isSpan() const { return to > from; }
};

// What a line's or a mark's look means, for the legend.
enum class MarkKind { SolidLine, DashedLine, Span };
struct StyleKey {
    MarkKind mark = MarkKind::SolidLine;
    std::string text;
};

// An axis of values: consecutive pieces, each linear or logarithmic, taking its share of the
// axis's length, so that a long time before conception and the weeks of pregnancy both stay
// readable. Within a piece, places are in proportion to the value (or to its logarithm).
struct AxisPiece {
    double from = 0;
    double to = 1;
    bool logarithmic = false;
    double share = 1;     // of the axis's length; the shares add up to 1
    std::string caption;  // what the piece holds and in which unit, said under its ticks
};
struct AxisTick {
    double value = 0;
    std::string label;  // empty for a minor tick (a grid line only)
};
struct ValueAxis {
    std::string title;
    std::vector<AxisPiece> pieces;  // none: the categories stand at even steps
    std::vector<AxisTick> ticks;
    // The place of a value from the axis's start (0) to its end (1); NaN when the axis has no
    // place for it (outside its pieces, or zero or less on a logarithmic piece).
    double fraction(double value) const;
};

struct ChartData {
    ChartKind kind = ChartKind::DoseByIntakeTime;
    DoseScale scale = DoseScale::Logarithmic;
    std::string title;     // the table's nuclide, group, route entry (with aerosol size)
    std::string subtitle;  // which dose is shown, and the scenario or period where fixed
    std::string xTitle;
    std::vector<std::string> categories;  // x labels in their order
    std::vector<CategoryPlace> places;    // where each category lies on xAxis
    int drawnCategories = 0;  // the chart draws categories 0..drawnCategories-1, the table all
    std::vector<ChartSeries> series;
    std::vector<StyleKey> styleKeys;  // what the line styles and marks mean
    ValueAxis xAxis;                  // time or period; no pieces for nuclides
    ValueAxis doseAxis;
    char decimalSeparator = '.';     // the run's, in the dose texts
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

// The plotted values as the lines of a CSV file (RFC 4180, UTF-8): '#' lines with the chart's
// title, subtitle and notes, a heading row, then a row per category with each series' dose as
// the tables give it, written with the full stop whatever the run's separator.
std::vector<std::string> valuesCsvLines(const ChartData& chart);
// Writes them by the safe save (complete before the file takes the name); throws IoError.
void writeValuesCsv(const std::string& path, const ChartData& chart);

// The text a pointer over a point shows: the series, the category and the table's text.
std::string pointText(const ChartData& chart, const ChartSeries& series, const ChartPoint& point);

}  // namespace fetaldose::charts
