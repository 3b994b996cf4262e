#pragma once
// The widget a chart is painted on: it lays the chart out at its own size, asks for the height
// at which nothing overlaps (a scroll area around it gives the rest), and says which value the
// pointer is over.

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/charts/chart_series.h"
#include "gui/charts/chart_drawing.h"

QT_BEGIN_NAMESPACE
class QPaintDevice;
QT_END_NAMESPACE

namespace fetaldose::gui {

class ChartCanvas : public QWidget {
  public:
    explicit ChartCanvas(QWidget* parent = nullptr);

    // The chart to paint; `data` must outlive the canvas or the next call.
    void setChart(const charts::ChartData* data);
    const ChartLayout& chartLayout() const { return layout_; }

    // Told the series and category of the value under the pointer, or (-1, -1, false) when it
    // leaves the values.
    void setHoverFunction(std::function<void(int series, int category, bool entered)> hover);

    // The chart at the canvas's size, as an image and painted on any device (an SVG writer).
    QImage image() const;
    void paintOn(QPaintDevice& device) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void relayOut();

    const charts::ChartData* data_ = nullptr;
    ChartLayout layout_;
    std::function<void(int, int, bool)> hover_;
    int hovered_ = -1;  // index of the mark under the pointer
};

}  // namespace fetaldose::gui
