#include "gui/charts/chart_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>

#include "gui/app/display_text.h"
#include "gui/app/look.h"
#include "gui/charts/chart_window_texts.h"

namespace fetaldose::gui {

namespace {

using charts::ChartKind;
using charts::MarkKind;
using charts::ValueAxis;

// Sizes in pixels.
constexpr double kMargin = 12;
constexpr double kGap = 8;
constexpr double kTick = 5;
constexpr double kLabelPadding = 4;  // kept free around each tick label
constexpr double kSwatchWidth = 30;
constexpr double kLegendShare = 0.3;  // of the width, at most, for the legend
constexpr double kLegendMinWidth = 110;
constexpr double kCategoryShare = 0.4;  // of the width, at most, for the nuclides' names
constexpr double kMinPlotWidth = 220;
constexpr double kMinPlotHeight = 200;
constexpr double kMinRowHeight = 18;
constexpr double kMaxBarThickness = 22;
constexpr double kPointRadius = 3.5;
constexpr double kSpanCap = 5;
constexpr double kHitSlack = 4;

QFont chartFace(int pixels, bool bold = false) {
    QFont font = sansSerifFace({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Helvetica")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

struct Fonts {
    QFont title = chartFace(15, true);
    QFont subtitle = chartFace(13);
    QFont axisTitle = chartFace(12);
    QFont tick = chartFace(11);
    QFont caption = chartFace(11);
    QFont legend = chartFace(12);
    QFont category = chartFace(12);
    QFont value = chartFace(11);
    QFont note = chartFace(12);
};

double advance(const QFont& font, const QString& text) {
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text)) + 1;
}

double lineHeight(const QFont& font) {
    return std::ceil(QFontMetricsF(font).lineSpacing());
}

// A paragraph broken into lines no wider than `width`, at word boundaries where it can be.
QStringList wrapText(const QString& text, const QFont& font, double width) {
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1.0));
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

bool overlapsAny(const QRectF& box, const std::vector<QRectF>& taken) {
    const QRectF padded = box.adjusted(-kLabelPadding, 0, kLabelPadding, 0);
    return std::any_of(taken.begin(), taken.end(),
                       [&padded](const QRectF& other) { return padded.intersects(other); });
}

// The tick labels of an axis that fit side by side: those at the ends of its pieces first, then
// the others in order, each left out where it would touch one already placed or leave `room`.
template <typename BoxOf>
std::vector<std::pair<const charts::AxisTick*, QRectF>> fittingTicks(const ValueAxis& axis,
                                                                     const QRectF& room,
                                                                     const BoxOf& boxOf) {
    std::vector<const charts::AxisTick*> order;
    const auto atPieceEnd = [&axis](const charts::AxisTick& tick) {
        return std::any_of(axis.pieces.begin(), axis.pieces.end(), [&tick](const auto& piece) {
            return tick.value == piece.from || tick.value == piece.to;
        });
    };
    for (const charts::AxisTick& tick : axis.ticks)
        if (!tick.label.empty() && atPieceEnd(tick)) order.push_back(&tick);
    for (const charts::AxisTick& tick : axis.ticks)
        if (!tick.label.empty() && !atPieceEnd(tick)) order.push_back(&tick);
    std::vector<std::pair<const charts::AxisTick*, QRectF>> placed;
    std::vector<QRectF> taken;
    for (const charts::AxisTick* tick : order) {
        const QRectF box = boxOf(*tick);
        if (!box.isValid() || !room.contains(box) || overlapsAny(box, taken)) continue;
        taken.push_back(box);
        placed.emplace_back(tick, box);
    }
    return placed;
}

class ChartLayouter {
  public:
    ChartLayouter(const charts::ChartData& data, QSizeF size) : data_(data) { layout_.size = size; }

    ChartLayout run() {
        const double width = layout_.size.width();
        double top = layOutTitle(width);
        const double notesHeight = measureNotes(width);
        if (data_.kind == ChartKind::DoseByNuclide)
            layOutRows(top, notesHeight);
        else
            layOutLines(top, notesHeight);
        placeNotes(notesHeight);
        return std::move(layout_);
    }

    int minimumWidth() const {
        if (data_.kind == ChartKind::DoseByNuclide)
            return static_cast<int>(2 * kMargin + kMinPlotWidth + categoryWidth(1e9) +
                                    valueWidth() + kGap + kTick);
        return static_cast<int>(2 * kMargin + doseAxisWidth() + kMinPlotWidth + kLegendMinWidth +
                                2 * kGap);
    }

  private:
    void addText(ChartTextRole role, const QString& text, const QRectF& box, const QFont& font,
                 int flags, QColor colour = Qt::black, bool upright = false) {
        layout_.texts.push_back({role, text, box, font, flags, upright, colour});
    }

    // Lines of text, each centred or from `left`, from `top` down; returns the bottom.
    double addLines(ChartTextRole role, const QStringList& lines, const QFont& font, double left,
                    double width, double top, bool centred, QColor colour = Qt::black) {
        const double height = lineHeight(font);
        for (const QString& line : lines) {
            const double lineWidth = std::min(advance(font, line), width);
            const double x = centred ? left + (width - lineWidth) / 2 : left;
            addText(role, line, QRectF(x, top, lineWidth, height), font,
                    Qt::AlignLeft | Qt::AlignVCenter, colour);
            top += height;
        }
        return top;
    }

    double layOutTitle(double width) {
        const double inner = width - 2 * kMargin;
        double bottom =
            addLines(ChartTextRole::Title, wrapText(displayText(data_.title), fonts_.title, inner),
                     fonts_.title, kMargin, inner, kMargin, true);
        if (!data_.subtitle.empty())
            bottom = addLines(ChartTextRole::Title,
                              wrapText(displayText(data_.subtitle), fonts_.subtitle, inner),
                              fonts_.subtitle, kMargin, inner, bottom + 2, true);
        layout_.titleBox = QRectF(kMargin, kMargin, inner, bottom - kMargin);
        return bottom + kGap;
    }

    double measureNotes(double width) {
        double height = 0;
        for (const std::string& note : data_.notes) {
            notes_.push_back(wrapText(displayText(note), fonts_.note, width - 2 * kMargin));
            height += notes_.back().size() * lineHeight(fonts_.note) + 2;
        }
        return height;
    }

    void placeNotes(double height) {
        if (notes_.empty()) return;
        const double width = layout_.size.width() - 2 * kMargin;
        double top =
            std::max(layout_.xAxisBox.bottom() + kGap, layout_.size.height() - kMargin - height);
        layout_.notesBox = QRectF(kMargin, top, width, height);
        for (const QStringList& lines : notes_)
            top = addLines(ChartTextRole::Note, lines, fonts_.note, kMargin, width, top, false,
                           QColor(0x33, 0x33, 0x33)) +
                  2;
    }

    // ---- Lines: doses up the left, time or period along the foot.

    double doseAxisWidth() const {
        double labels = 0;
        for (const charts::AxisTick& tick : data_.doseAxis.ticks)
            labels = std::max(labels, advance(fonts_.tick, displayText(tick.label)));
        return lineHeight(fonts_.axisTitle) + kGap + labels + kTick + 3;
    }

    struct LegendEntry {
        QString text;
        QColor colour;
        MarkKind mark = MarkKind::SolidLine;
        bool dot = false;
    };

    std::vector<LegendEntry> legendEntries() const {
        std::vector<LegendEntry> entries;
        std::set<int> named;
        for (const charts::ChartSeries& series : data_.series)
            if (named.insert(series.row).second)
                entries.push_back({displayText(series.legendName), tissueColour(series.row),
                                   MarkKind::SolidLine, true});
        for (const charts::StyleKey& key : data_.styleKeys)
            entries.push_back({displayText(key.text), QColor(0x44, 0x44, 0x44), key.mark, false});
        return entries;
    }

    void layOutLines(double top, double notesHeight) {
        const double width = layout_.size.width();
        const std::vector<LegendEntry> entries = legendEntries();
        double legendWidth = 0;
        for (const LegendEntry& entry : entries)
            legendWidth = std::max(legendWidth, advance(fonts_.legend, entry.text));
        legendWidth = entries.empty() ? 0
                                      : std::clamp(legendWidth + kSwatchWidth + kGap,
                                                   kLegendMinWidth, width * kLegendShare);

        const double tickHeight = lineHeight(fonts_.tick);
        const double yAxisWidth = doseAxisWidth();
        // The x axis's tick labels stand centred on their ticks: half the widest one is kept
        // free right of the plot.
        double widestTick = 0;
        for (const charts::AxisTick& tick : data_.xAxis.ticks)
            widestTick = std::max(widestTick, advance(fonts_.tick, displayText(tick.label)));
        QRectF plot;
        plot.setLeft(kMargin + yAxisWidth);
        plot.setRight(width - kMargin - (legendWidth > 0 ? legendWidth + 2 * kGap : 0) -
                      widestTick / 2);
        plot.setTop(top + tickHeight / 2);
        layout_.valueLeft = plot.left();
        layout_.valueRight = plot.right();

        // Under the plot: tick labels, the pieces' captions, the axis title.
        const double plotWidth = plot.width();
        int captionLines = 0;
        std::vector<QStringList> captions;
        for (const charts::AxisPiece& piece : data_.xAxis.pieces) {
            captions.push_back(wrapText(displayText(piece.caption), fonts_.caption,
                                        piece.share * plotWidth - kLabelPadding));
            if (piece.caption.empty()) captions.back().clear();
            captionLines = std::max(captionLines, static_cast<int>(captions.back().size()));
        }
        const QStringList xTitle =
            wrapText(displayText(data_.xAxis.title), fonts_.axisTitle, plotWidth);
        const double xAxisHeight =
            kTick + 4 + tickHeight +
            (captionLines > 0 ? 2 + captionLines * lineHeight(fonts_.caption) : 0) + kGap / 2 +
            xTitle.size() * lineHeight(fonts_.axisTitle);

        // The legend, beside the plot from its top.
        const double legendLeft = width - kMargin - legendWidth;
        double legendBottom = plot.top();
        for (const LegendEntry& entry : entries) {
            const QStringList lines =
                wrapText(entry.text, fonts_.legend, legendWidth - kSwatchWidth - kGap / 2);
            const double rowTop = legendBottom;
            legendBottom = addLines(ChartTextRole::Legend, lines, fonts_.legend,
                                    legendLeft + kSwatchWidth + kGap / 2,
                                    legendWidth - kSwatchWidth - kGap / 2, legendBottom, false);
            layout_.swatches.push_back(
                {QRectF(legendLeft, rowTop, kSwatchWidth, lineHeight(fonts_.legend)), entry.mark,
                 entry.colour, entry.dot});
            legendBottom += 3;
        }
        if (!entries.empty())
            layout_.legendBox =
                QRectF(legendLeft, plot.top(), legendWidth, legendBottom - plot.top());

        const double plotHeight =
            std::max({kMinPlotHeight, legendBottom - plot.top(),
                      advance(fonts_.axisTitle, displayText(data_.doseAxis.title))});
        const double below =
            xAxisHeight + tickHeight / 2 + (notesHeight > 0 ? kGap + notesHeight : 0) + kMargin;
        layout_.neededHeight = std::ceil(plot.top() + plotHeight + below);
        plot.setBottom(std::max(plot.top() + plotHeight, layout_.size.height() - below));
        layout_.plot = plot;

        layout_.yAxisBox = QRectF(kMargin, plot.top() - tickHeight / 2, yAxisWidth - kTick,
                                  plot.height() + tickHeight);
        layout_.xAxisBox = QRectF(plot.left() - widestTick / 2, plot.bottom() + kTick + 4,
                                  plot.width() + widestTick, xAxisHeight - kTick - 4);

        // The dose axis: its labels right of its title, level with their ticks.
        const QString yTitle = displayText(data_.doseAxis.title);
        const double yTitleWidth = advance(fonts_.axisTitle, yTitle);
        addText(ChartTextRole::YTitle, yTitle,
                QRectF(kMargin, plot.center().y() - yTitleWidth / 2, lineHeight(fonts_.axisTitle),
                       yTitleWidth),
                fonts_.axisTitle, Qt::AlignCenter, Qt::black, true);
        const double labelsRight = plot.left() - kTick - 3;
        const QRectF yRoom(kMargin, 0, labelsRight - kMargin + 1, layout_.size.height());
        for (const auto& [tick, box] :
             fittingTicks(data_.doseAxis, yRoom, [&](const charts::AxisTick& tick) {
                 const double y = layout_.yOf(data_.doseAxis, tick.value);
                 const double w = advance(fonts_.tick, displayText(tick.label));
                 return std::isnan(y) ? QRectF()
                                      : QRectF(labelsRight - w, y - tickHeight / 2, w, tickHeight);
             }))
            addText(ChartTextRole::YTick, displayText(tick->label), box, fonts_.tick,
                    Qt::AlignRight | Qt::AlignVCenter);

        // The x axis: tick labels, the pieces' captions, then its title.
        const double tickTop = plot.bottom() + kTick + 4;
        for (const auto& [tick, box] :
             fittingTicks(data_.xAxis, layout_.xAxisBox, [&](const charts::AxisTick& tick) {
                 const double x = layout_.xOf(data_.xAxis, tick.value);
                 const double w = advance(fonts_.tick, displayText(tick.label));
                 return std::isnan(x) ? QRectF() : QRectF(x - w / 2, tickTop, w, tickHeight);
             }))
            addText(ChartTextRole::XTick, displayText(tick->label), box, fonts_.tick,
                    Qt::AlignCenter);
        double captionTop = tickTop + tickHeight + 2;
        double start = plot.left();
        for (std::size_t p = 0; p < captions.size(); ++p) {
            const double pieceWidth = data_.xAxis.pieces[p].share * plotWidth;
            addLines(ChartTextRole::XCaption, captions[p], fonts_.caption,
                     start + kLabelPadding / 2, pieceWidth - kLabelPadding, captionTop, true,
                     QColor(0x55, 0x55, 0x55));
            start += pieceWidth;
        }
        const double titleTop =
            captionTop + (captionLines > 0 ? captionLines * lineHeight(fonts_.caption) : -2) +
            kGap / 2;
        addLines(ChartTextRole::XTitle, xTitle, fonts_.axisTitle, plot.left(), plotWidth, titleTop,
                 true);

        layOutLineMarks();
    }

    void layOutLineMarks() {
        for (std::size_t s = 0; s < data_.series.size(); ++s)
            for (const charts::ChartPoint& point : data_.series[s].points) {
                if (!point.drawn || point.category >= data_.drawnCategories) continue;
                const charts::CategoryPlace& place = data_.places[point.category];
                const double y = layout_.yOf(data_.doseAxis, point.value);
                const double from = layout_.xOf(data_.xAxis, place.from);
                const double to = layout_.xOf(data_.xAxis, place.to);
                if (std::isnan(y) || std::isnan(from) || std::isnan(to)) continue;
                ChartMark mark;
                mark.series = static_cast<int>(s);
                mark.category = point.category;
                mark.span = place.isSpan();
                mark.centre = QPointF((from + to) / 2, y);
                mark.box = QRectF(QPointF(from - kHitSlack, y - kHitSlack),
                                  QPointF(to + kHitSlack, y + kHitSlack));
                layout_.marks.push_back(mark);
            }
    }

    // ---- Nuclides: a row each, the dose along the foot, the value printed at each mark.

    QStringList categoryLines(int category, double width) const {
        return wrapText(displayText(data_.categories[category]), fonts_.category, width);
    }

    double categoryWidth(double cap) const {
        double widest = 0;
        for (int c = 0; c < data_.drawnCategories; ++c)
            widest = std::max(widest, advance(fonts_.category, displayText(data_.categories[c])));
        return std::min(widest, cap);
    }

    QString valueText(const charts::ChartPoint& point) const {
        QString text = displayText(point.text).trimmed();
        if (!point.drawn) text += QString::fromUtf8(texts::kNotDrawnMark);
        return text;
    }

    double valueWidth() const {
        double widest = 0;
        for (const charts::ChartSeries& series : data_.series)
            for (const charts::ChartPoint& point : series.points)
                if (point.category < data_.drawnCategories)
                    widest = std::max(widest, advance(fonts_.value, valueText(point)));
        return widest + kGap;
    }

    void layOutRows(double top, double notesHeight) {
        const double width = layout_.size.width();
        const double labelWidth = categoryWidth(width * kCategoryShare);
        const int rows = data_.drawnCategories;
        std::vector<QStringList> labels;
        double rowHeight = kMinRowHeight;
        for (int c = 0; c < rows; ++c) {
            labels.push_back(categoryLines(c, labelWidth));
            rowHeight = std::max(rowHeight, labels.back().size() * lineHeight(fonts_.category) + 4);
        }

        const double tickHeight = lineHeight(fonts_.tick);
        const QStringList xTitle = wrapText(displayText(data_.doseAxis.title), fonts_.axisTitle,
                                            width - 2 * kMargin - labelWidth);
        const double xAxisHeight =
            kTick + 4 + tickHeight + kGap / 2 + xTitle.size() * lineHeight(fonts_.axisTitle);

        QRectF plot;
        plot.setLeft(kMargin + labelWidth + kGap + kTick);
        plot.setRight(width - kMargin);
        plot.setTop(top);
        const double plotHeight = std::max(kMinPlotHeight / 2, rows * rowHeight);
        const double below = xAxisHeight + (notesHeight > 0 ? kGap + notesHeight : 0) + kMargin;
        layout_.neededHeight = std::ceil(plot.top() + plotHeight + below);
        plot.setBottom(std::max(plot.top() + plotHeight, layout_.size.height() - below));
        layout_.plot = plot;
        layout_.valueLeft = plot.left() + kGap;
        layout_.valueRight = std::max(layout_.valueLeft + 1, plot.right() - valueWidth());
        layout_.yAxisBox = QRectF(kMargin, plot.top(), labelWidth, plot.height());

        // The dose axis's tick labels may reach half their width out of the plot.
        double widestTick = 0;
        for (const charts::AxisTick& tick : data_.doseAxis.ticks)
            widestTick = std::max(widestTick, advance(fonts_.tick, displayText(tick.label)));
        layout_.xAxisBox = QRectF(plot.left(), plot.bottom() + kTick + 4,
                                  width - kMargin - plot.left(), xAxisHeight - kTick - 4);
        const double tickTop = plot.bottom() + kTick + 4;
        const QRectF xRoom(plot.left() - widestTick / 2, tickTop, width - plot.left(), tickHeight);
        for (const auto& [tick, box] :
             fittingTicks(data_.doseAxis, xRoom, [&](const charts::AxisTick& tick) {
                 const double x = layout_.xOf(data_.doseAxis, tick.value);
                 const double w = advance(fonts_.tick, displayText(tick.label));
                 return std::isnan(x) ? QRectF() : QRectF(x - w / 2, tickTop, w, tickHeight);
             }))
            addText(ChartTextRole::XTick, displayText(tick->label), box, fonts_.tick,
                    Qt::AlignCenter);
        addLines(ChartTextRole::XTitle, xTitle, fonts_.axisTitle, plot.left(),
                 width - kMargin - plot.left(), tickTop + tickHeight + kGap / 2, true);

        // A row per nuclide entry: its name, its mark, its value.
        const double step = rows > 0 ? plot.height() / rows : 0;
        const double thickness = std::min(kMaxBarThickness, step * 0.6);
        const double zero = data_.scale == charts::DoseScale::Linear
                                ? layout_.xOf(data_.doseAxis, 0)
                                : layout_.valueLeft;
        for (int c = 0; c < rows; ++c) {
            const double middle = plot.top() + (c + 0.5) * step;
            const double labelTop = middle - labels[c].size() * lineHeight(fonts_.category) / 2;
            addLines(ChartTextRole::Category, labels[c], fonts_.category, kMargin, labelWidth,
                     labelTop, false);
            // Right-aligned names read best beside their rows.
            for (auto it = layout_.texts.end() - labels[c].size(); it != layout_.texts.end(); ++it)
                it->box.moveRight(kMargin + labelWidth);
            for (std::size_t s = 0; s < data_.series.size(); ++s)
                for (const charts::ChartPoint& point : data_.series[s].points) {
                    if (point.category != c) continue;
                    const double x = point.drawn ? layout_.xOf(data_.doseAxis, point.value) : NAN;
                    const QString text = valueText(point);
                    const double textLeft = std::isnan(x) ? layout_.valueLeft : x + kGap;
                    addText(ChartTextRole::Value, text,
                            QRectF(textLeft, middle - tickHeight / 2, advance(fonts_.value, text),
                                   tickHeight),
                            fonts_.value, Qt::AlignLeft | Qt::AlignVCenter,
                            point.drawn ? Qt::black : QColor(0x77, 0x77, 0x77));
                    if (std::isnan(x)) continue;
                    ChartMark mark;
                    mark.series = static_cast<int>(s);
                    mark.category = c;
                    mark.centre = QPointF(x, middle);
                    mark.box = data_.scale == charts::DoseScale::Linear
                                   ? QRectF(QPointF(std::min(zero, x), middle - thickness / 2),
                                            QPointF(std::max(zero, x), middle + thickness / 2))
                                   : QRectF(x - kHitSlack - kPointRadius,
                                            middle - kHitSlack - kPointRadius,
                                            2 * (kHitSlack + kPointRadius),
                                            2 * (kHitSlack + kPointRadius));
                    layout_.marks.push_back(mark);
                }
        }
    }

    const charts::ChartData& data_;
    Fonts fonts_;
    ChartLayout layout_;
    std::vector<QStringList> notes_;
};

void drawMarkSample(QPainter& painter, const LegendSwatch& swatch) {
    const QPointF left(swatch.box.left() + 2, swatch.box.center().y());
    const QPointF right(swatch.box.right() - 2, swatch.box.center().y());
    QPen pen(swatch.colour, 2);
    if (swatch.mark == MarkKind::DashedLine) pen.setStyle(Qt::DashLine);
    if (swatch.mark == MarkKind::Span) pen.setWidthF(3);
    painter.setPen(pen);
    painter.drawLine(left, right);
    if (swatch.mark == MarkKind::Span) {
        painter.setPen(QPen(swatch.colour, 1.5));
        for (const QPointF& end : {left, right})
            painter.drawLine(end - QPointF(0, kSpanCap), end + QPointF(0, kSpanCap));
    }
    if (swatch.dot || swatch.mark != MarkKind::Span) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(swatch.colour);
        painter.drawEllipse(swatch.box.center(), kPointRadius, kPointRadius);
        painter.setBrush(Qt::NoBrush);
    }
}

void drawText(QPainter& painter, const ChartText& text) {
    painter.setFont(text.font);
    painter.setPen(text.colour);
    if (!text.upright) {
        painter.drawText(text.box, text.flags, text.text);
        return;
    }
    painter.save();
    painter.translate(text.box.left(), text.box.bottom());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, text.box.height(), text.box.width()), text.flags, text.text);
    painter.restore();
}

const QColor kGrid(0xdd, 0xdd, 0xdd);
const QColor kMinorGrid(0xee, 0xee, 0xee);
const QColor kAxis(0x55, 0x55, 0x55);

void paintLines(QPainter& painter, const charts::ChartData& data, const ChartLayout& layout) {
    const QRectF& plot = layout.plot;
    // The pieces of the x axis: each its own shade, a broken axis line where the scale changes.
    double start = plot.left();
    for (std::size_t p = 0; p < data.xAxis.pieces.size(); ++p) {
        const double width = data.xAxis.pieces[p].share * plot.width();
        if (p % 2 == 0 && data.xAxis.pieces.size() > 1)
            painter.fillRect(QRectF(start, plot.top(), width, plot.height()),
                             QColor(0xf4, 0xf4, 0xf4));
        start += width;
    }
    for (const charts::AxisTick& tick : data.doseAxis.ticks) {
        const double y = layout.yOf(data.doseAxis, tick.value);
        if (std::isnan(y)) continue;
        QPen pen(tick.label.empty() ? kMinorGrid : kGrid, 1);
        if (tick.label.empty()) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QPen(kAxis, 1));
        if (!tick.label.empty())
            painter.drawLine(QPointF(plot.left() - kTick, y), QPointF(plot.left(), y));
    }
    for (const charts::AxisTick& tick : data.xAxis.ticks) {
        const double x = layout.xOf(data.xAxis, tick.value);
        if (std::isnan(x)) continue;
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTick));
    }
    painter.setPen(QPen(kAxis, 1));
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    // The foot of the plot, broken where one piece of the time axis meets the next.
    start = plot.left();
    for (std::size_t p = 0; p < data.xAxis.pieces.size(); ++p) {
        const double end = start + data.xAxis.pieces[p].share * plot.width();
        const bool broken = p + 1 < data.xAxis.pieces.size();
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(start, plot.bottom()),
                         QPointF(broken ? end - 3 : end, plot.bottom()));
        if (broken) {
            for (double dx : {-3.0, 3.0})
                painter.drawLine(QPointF(end + dx - 3, plot.bottom() + 5),
                                 QPointF(end + dx + 3, plot.bottom() - 5));
            QPen dashed(kAxis, 1, Qt::DashLine);
            painter.setPen(dashed);
            painter.drawLine(QPointF(end, plot.top()), QPointF(end, plot.bottom()));
        }
        start = broken ? end + 3 : end;
    }
    if (data.xAxis.pieces.empty()) painter.drawLine(plot.bottomLeft(), plot.bottomRight());

    painter.save();
    painter.setClipRect(
        plot.adjusted(-kPointRadius - 1, -kPointRadius - 1, kPointRadius + 1, kPointRadius + 1));
    for (std::size_t s = 0; s < data.series.size(); ++s) {
        const charts::ChartSeries& series = data.series[s];
        QPen pen(tissueColour(series.row), 2);
        if (series.style == charts::LineStyle::Dashed) pen.setStyle(Qt::DashLine);
        // Acute intakes in neighbouring categories join into one line; a chronic intake is a
        // span of its own.
        std::vector<QPointF> run;
        int previous = -2;
        const auto flush = [&] {
            painter.setPen(pen);
            if (run.size() > 1) painter.drawPolyline(run.data(), static_cast<int>(run.size()));
            run.clear();
        };
        for (const ChartMark& mark : layout.marks) {
            if (mark.series != static_cast<int>(s)) continue;
            if (mark.span) {
                QPen spanPen = pen;
                spanPen.setWidthF(3);
                painter.setPen(spanPen);
                const QPointF from(mark.box.left() + kHitSlack, mark.centre.y());
                const QPointF to(mark.box.right() - kHitSlack, mark.centre.y());
                painter.drawLine(from, to);
                painter.setPen(QPen(pen.color(), 1.5));
                for (const QPointF& end : {from, to})
                    painter.drawLine(end - QPointF(0, kSpanCap), end + QPointF(0, kSpanCap));
                continue;
            }
            if (mark.category != previous + 1) flush();
            run.push_back(mark.centre);
            previous = mark.category;
        }
        flush();
        painter.setPen(Qt::NoPen);
        painter.setBrush(pen.color());
        for (const ChartMark& mark : layout.marks)
            if (mark.series == static_cast<int>(s) && !mark.span)
                painter.drawEllipse(mark.centre, kPointRadius, kPointRadius);
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

void paintRows(QPainter& painter, const charts::ChartData& data, const ChartLayout& layout) {
    const QRectF& plot = layout.plot;
    for (const charts::AxisTick& tick : data.doseAxis.ticks) {
        const double x = layout.xOf(data.doseAxis, tick.value);
        if (std::isnan(x)) continue;
        QPen pen(tick.label.empty() ? kMinorGrid : kGrid, 1);
        if (tick.label.empty()) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        if (tick.label.empty()) continue;
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTick));
    }
    painter.setPen(QPen(kAxis, 1));
    painter.drawLine(plot.bottomLeft(), QPointF(layout.valueRight, plot.bottom()));
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    const bool bars = data.scale == charts::DoseScale::Linear;
    for (const ChartMark& mark : layout.marks) {
        const QColor colour = tissueColour(data.series[mark.series].row);
        if (bars) {
            painter.fillRect(mark.box, colour);
            painter.setPen(QPen(colour.darker(130), 1));
            painter.drawRect(mark.box);
            continue;
        }
        // A dot plot: a dotted guide from the axis to each dot.
        painter.setPen(QPen(QColor(0xaa, 0xaa, 0xaa), 1, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), mark.centre.y()), mark.centre);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(mark.centre, kPointRadius + 1, kPointRadius + 1);
        painter.setBrush(Qt::NoBrush);
    }
}

}  // namespace

double ChartLayout::xOf(const ValueAxis& axis, double value) const {
    return valueLeft + axis.fraction(value) * (valueRight - valueLeft);
}

double ChartLayout::yOf(const ValueAxis& axis, double value) const {
    return plot.bottom() - axis.fraction(value) * plot.height();
}

QColor tissueColour(int row) {
    // Eighteen colours that stay apart from each other on white, in print and on screen.
    static constexpr std::array<QRgb, 18> kColours = {
        0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22,
        0x17becf, 0x393b79, 0xad494a, 0x637939, 0x8c6d31, 0x7b4173, 0x3182bd, 0xe6550d, 0x000000};
    const int index = row < 1 ? 0 : (row - 1) % static_cast<int>(kColours.size());
    return QColor::fromRgb(kColours[index]);
}

ChartLayout layOutChart(const charts::ChartData& data, QSizeF size) {
    return ChartLayouter(data, size).run();
}

int minimumChartWidth(const charts::ChartData& data) {
    return ChartLayouter(data, QSizeF(1000, 1000)).minimumWidth();
}

void paintChart(QPainter& painter, const charts::ChartData& data, const ChartLayout& layout) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), layout.size), Qt::white);
    if (data.kind == ChartKind::DoseByNuclide)
        paintRows(painter, data, layout);
    else
        paintLines(painter, data, layout);
    for (const LegendSwatch& swatch : layout.swatches) drawMarkSample(painter, swatch);
    for (const ChartText& text : layout.texts) drawText(painter, text);
    painter.restore();
}

}  // namespace fetaldose::gui
