#pragma once
// Lays out and paints a worked-out chart with QPainter: the whole title wrapped to the width,
// the dose axis (logarithmic or linear), the x axis at the categories' places (time of intake
// in pieces to their own scales, integration period on a logarithmic axis) or the nuclides as
// rows with their values printed, the legend with the tissues and the marks' meanings, and the
// notes. Every text gets a box of its own, so no text is ever cut or drawn over another; the
// same layout paints the screen, the PNG and the SVG.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

#include "core/charts/chart_series.h"

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace fetaldose::gui {

// The colour of the lines of the r-th chosen tissue row: one tissue keeps its colour from
// chart to chart.
QColor tissueColour(int row);

// What a text of the chart is part of.
enum class ChartTextRole {
    Title,
    Legend,
    XTick,
    XCaption,
    XTitle,
    YTick,
    YTitle,
    Category,
    Value,
    Note
};

// One text the chart draws and the box it takes (an upright text's box is its turned box).
struct ChartText {
    ChartTextRole role = ChartTextRole::Title;
    QString text;
    QRectF box;
    QFont font;
    int flags = 0;
    bool upright = false;
    QColor colour = Qt::black;
};

// Where one value is drawn: a point, a chronic intake's span or a bar; `centre` is where the
// value stands (a span's middle, a bar's end).
struct ChartMark {
    int series = 0;
    int category = 0;
    QRectF box;
    QPointF centre;
    bool span = false;
};

// A sample of a line or a mark in the legend.
struct LegendSwatch {
    QRectF box;
    charts::MarkKind mark = charts::MarkKind::SolidLine;
    QColor colour;
    bool dot = false;  // a tissue's entry: its colour's line with a point on it
};

struct ChartLayout {
    QSizeF size;
    double neededHeight = 0;  // the least height at this width at which everything fits
    QRectF titleBox;          // every title line
    QRectF plot;              // the plotting area
    QRectF xAxisBox;          // under the plot: ticks, captions, axis title
    QRectF yAxisBox;          // left of the plot: ticks and axis title (nuclides: their names)
    QRectF legendBox;         // empty where there is no legend
    QRectF notesBox;          // empty where there are no notes
    double valueLeft = 0;     // where the value axis's start and end lie on screen (the dose
    double valueRight = 0;    //   axis of nuclides, the x axis of lines)
    std::vector<ChartText> texts;
    std::vector<ChartMark> marks;
    std::vector<LegendSwatch> swatches;

    // The screen place of a value of the chart's x axis (lines) or of its dose axis (nuclides,
    // which run along x); NaN where the axis has no place for it.
    double xOf(const charts::ValueAxis& axis, double value) const;
    // The screen place of a dose on the dose axis of lines.
    double yOf(const charts::ValueAxis& axis, double value) const;
};

// Lays the chart out at a size; texts never overlap at any size with at least the layout's
// neededHeight and minimumChartWidth.
ChartLayout layOutChart(const charts::ChartData& data, QSizeF size);
int minimumChartWidth(const charts::ChartData& data);

void paintChart(QPainter& painter, const charts::ChartData& data, const ChartLayout& layout);

}  // namespace fetaldose::gui
