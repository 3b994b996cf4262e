#include "gui/charts/chart_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <limits>

namespace fetaldose::gui {

namespace {
const charts::ChartData kNoChart;
}  // namespace

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setChart(nullptr);
}

void ChartCanvas::setChart(const charts::ChartData* data) {
    data_ = data ? data : &kNoChart;
    hovered_ = -1;
    setMinimumWidth(minimumChartWidth(*data_));
    relayOut();
    update();
}

void ChartCanvas::setHoverFunction(std::function<void(int, int, bool)> hover) {
    hover_ = std::move(hover);
}

void ChartCanvas::relayOut() {
    layout_ = layOutChart(*data_, QSizeF(size()));
    // The least height at this width: a scroll area shows the rest rather than overlap texts.
    const int needed = static_cast<int>(std::ceil(layout_.neededHeight));
    if (minimumHeight() != needed) setMinimumHeight(needed);
}

QImage ChartCanvas::image() const {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, *data_, layout_);
    return image;
}

void ChartCanvas::paintOn(QPaintDevice& device) const {
    QPainter painter(&device);
    paintChart(painter, *data_, layout_);
}

void ChartCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintChart(painter, *data_, layout_);
}

void ChartCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayOut();
}

void ChartCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    int nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t m = 0; m < layout_.marks.size(); ++m) {
        const ChartMark& mark = layout_.marks[m];
        if (!mark.box.contains(at)) continue;
        const QPointF d = at - mark.centre;
        // A span is found along its length: only its height counts.
        const double distance = mark.span ? std::abs(d.y()) : std::hypot(d.x(), d.y());
        if (distance < best) {
            best = distance;
            nearest = static_cast<int>(m);
        }
    }
    if (nearest == hovered_) return;
    hovered_ = nearest;
    if (!hover_) return;
    if (nearest < 0)
        hover_(-1, -1, false);
    else
        hover_(layout_.marks[nearest].series, layout_.marks[nearest].category, true);
}

void ChartCanvas::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (hovered_ >= 0 && hover_) hover_(-1, -1, false);
    hovered_ = -1;
}

}  // namespace fetaldose::gui
