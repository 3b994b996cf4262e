#pragma once
// Paints a worked-out chart with Qt Charts: lines (or bars) on a logarithmic dose axis with
// decade ticks, the categories along x, a legend.

#include <QColor>

#include "core/charts/chart_series.h"

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace fetaldose::gui {

// Every drawn series (and bar set) carries this property: the index of the chart series it
// shows, so that a pointer over it finds its values.
inline constexpr char kSeriesIndexProperty[] = "chartSeriesIndex";

// The colour of the lines of the r-th chosen tissue row: one tissue keeps its colour from
// chart to chart.
QColor tissueColour(int row);

// A new chart (the caller owns it) of the drawn categories of `data`. A line breaks where a
// point cannot be drawn; bars that cannot be drawn stand at the foot of the axis.
QChart* drawChart(const charts::ChartData& data);

}  // namespace fetaldose::gui
