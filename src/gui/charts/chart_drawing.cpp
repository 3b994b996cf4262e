#include "gui/charts/chart_drawing.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>

#include "core/charts/chart_texts.h"
#include "gui/app/display_text.h"

namespace fetaldose::gui {

namespace {

constexpr int kRotateLabelsAbove = 10;  // more categories than this: labels stand upright
constexpr int kNoDataLow = -12;         // the axis of a chart with nothing to draw
constexpr int kNoDataHigh = -6;

QString titleHtml(const charts::ChartData& data) {
    QString title = QStringLiteral("<b>%1</b>").arg(displayText(data.title).toHtmlEscaped());
    if (!data.subtitle.empty()) title += "<br>" + displayText(data.subtitle).toHtmlEscaped();
    if (!data.lineKey.empty()) title += "<br>" + displayText(data.lineKey).toHtmlEscaped();
    return title;
}

// The dose axis is logarithmic: a point stands at the decimal logarithm of its dose, counted
// from the axis's lowest decade, so that the foot of the axis is 0 and bars stand on it. Qt's own
// logarithmic axis is not used: it takes a range spanning less than 1E-12 for an empty one and
// draws no axis at all, and the doses of a chart often lie wholly below 1E-12.
struct DoseAxis {
    QCategoryAxis* decades = nullptr;  // labelled, "1E-13" as printf's %.0E gives it
    QCategoryAxis* minor = nullptr;    // dashed lines at 2 to 9 times each decade
    int low = 0;                       // the lowest decade, at the foot of the axis

    double place(double dose) const { return std::log10(dose) - low; }
};

DoseAxis doseAxis(const charts::ChartData& data) {
    const charts::DecadeRange range = charts::decadeRange(data);
    // Bars get a decade more below them, so that the shortest still stands out.
    const int extra = data.kind == charts::ChartKind::DoseByNuclide ? 1 : 0;
    DoseAxis axis;
    axis.low = range.empty ? kNoDataLow : range.low - extra;
    const int high = range.empty ? kNoDataHigh : range.high;

    axis.decades = new QCategoryAxis;
    axis.decades->setTitleText(displayText(charts::texts::kDoseAxis));
    axis.decades->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis.decades->setRange(0, high - axis.low);
    axis.decades->setStartValue(0);
    for (int decade = axis.low; decade <= high; ++decade) {
        char label[16];
        std::snprintf(label, sizeof label, "%.0E", std::pow(10.0, decade));
        axis.decades->append(QString::fromLatin1(label), decade - axis.low);
    }

    axis.minor = new QCategoryAxis;
    axis.minor->setRange(0, high - axis.low);
    axis.minor->setLabelsVisible(false);
    axis.minor->setLineVisible(false);
    QPen dashed(QColor(0xe0, 0xe0, 0xe0));
    dashed.setStyle(Qt::DashLine);
    axis.minor->setGridLinePen(dashed);
    // A category axis needs a label of its own for every line; these are never shown.
    QString unseen;
    for (int decade = axis.low; decade < high; ++decade)
        for (int times = 2; times <= 9; ++times) {
            unseen += QLatin1Char(' ');
            axis.minor->append(unseen, decade - axis.low + std::log10(times));
        }
    return axis;
}

QBarCategoryAxis* categoryAxis(const charts::ChartData& data) {
    auto* axis = new QBarCategoryAxis;
    QStringList categories;
    for (int i = 0; i < data.drawnCategories; ++i) categories << displayText(data.categories[i]);
    axis->append(categories);
    axis->setTitleText(displayText(data.xTitle));
    // Times of intake and periods have short labels ("+10 wk", "70y") that fit side by side
    // even on a narrow plot; Qt's own estimate of their room would cut them to "+10...".
    if (data.kind != charts::ChartKind::DoseByNuclide) axis->setTruncateLabels(false);
    if (data.drawnCategories > kRotateLabelsAbove) {
        axis->setLabelsAngle(-90);
        axis->setTruncateLabels(false);  // upright names need their length, not an ellipsis
    }
    return axis;
}

void addLines(QChart& chart, const charts::ChartData& data, QAbstractAxis* x, const DoseAxis& y) {
    // The legend names each tissue once, by its colour; the chart's line key says what the
    // styles of a tissue's lines mean.
    std::set<int> namedRows;
    for (std::size_t index = 0; index < data.series.size(); ++index) {
        const charts::ChartSeries& source = data.series[index];
        QPen pen(tissueColour(source.row), 2);
        if (source.style == charts::LineStyle::Dashed) pen.setStyle(Qt::DashLine);

        // A run of drawable points in neighbouring categories is one line.
        QLineSeries* line = nullptr;
        int previousCategory = -2;
        bool inLegend = namedRows.insert(source.row).second;
        auto startLine = [&] {
            line = new QLineSeries;
            line->setName(displayText(source.legendName));
            line->setPen(pen);
            line->setPointsVisible(true);
            line->setMarkerSize(7);
            line->setProperty(kSeriesIndexProperty, static_cast<int>(index));
            chart.addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y.decades);
            line->attachAxis(y.minor);
            if (!inLegend)
                for (QLegendMarker* marker : chart.legend()->markers(line))
                    marker->setVisible(false);
            inLegend = false;
        };
        for (const charts::ChartPoint& point : source.points) {
            if (point.category >= data.drawnCategories || !point.drawn) continue;
            if (!line || point.category != previousCategory + 1) startLine();
            line->append(point.category, y.place(point.value));
            previousCategory = point.category;
        }
        if (!line) startLine();  // nothing drawable: the legend still names the tissue
    }
}

void addBars(QChart& chart, const charts::ChartData& data, QAbstractAxis* x, const DoseAxis& y) {
    auto* bars = new QBarSeries;
    for (std::size_t index = 0; index < data.series.size(); ++index) {
        const charts::ChartSeries& source = data.series[index];
        auto* set = new QBarSet(displayText(source.name));
        set->setColor(tissueColour(source.row));
        set->setBorderColor(tissueColour(source.row).darker(130));
        set->setProperty(kSeriesIndexProperty, static_cast<int>(index));
        QList<qreal> values(data.drawnCategories, 0);  // at the foot of the axis
        for (const charts::ChartPoint& point : source.points)
            if (point.category < data.drawnCategories && point.drawn)
                values[point.category] = y.place(point.value);
        set->append(values);
        bars->append(set);
    }
    chart.addSeries(bars);
    bars->attachAxis(x);
    bars->attachAxis(y.decades);
    bars->attachAxis(y.minor);
}

}  // namespace

QColor tissueColour(int row) {
    // Eighteen colours that stay apart from each other on white, in print and on screen.
    static constexpr std::array<QRgb, 18> kColours = {
        0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22,
        0x17becf, 0x393b79, 0xad494a, 0x637939, 0x8c6d31, 0x7b4173, 0x3182bd, 0xe6550d, 0x000000};
    const int index = row < 1 ? 0 : (row - 1) % static_cast<int>(kColours.size());
    return QColor::fromRgb(kColours[index]);
}

QChart* drawChart(const charts::ChartData& data) {
    auto* chart = new QChart;
    chart->setTitle(titleHtml(data));
    // Lines name their tissues (and views) in a column beside the chart, where long names fit.
    chart->legend()->setAlignment(data.kind == charts::ChartKind::DoseByNuclide ? Qt::AlignBottom
                                                                                : Qt::AlignRight);
    chart->setAnimationOptions(QChart::NoAnimation);

    QBarCategoryAxis* x = categoryAxis(data);
    const DoseAxis y = doseAxis(data);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y.minor, Qt::AlignLeft);
    chart->addAxis(y.decades, Qt::AlignLeft);
    if (data.kind == charts::ChartKind::DoseByNuclide)
        addBars(*chart, data, x, y);
    else
        addLines(*chart, data, x, y);
    return chart;
}

}  // namespace fetaldose::gui
