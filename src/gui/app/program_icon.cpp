#include "gui/app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fetaldose::gui {

namespace {

// A mother's figure on a blue disc, the child within her marked by a small golden disc: the
// program is about doses before and after birth.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.drawEllipse(QRectF(1, 1, 30, 30));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(13, 5, 6, 6));  // head
    QPainterPath body;
    body.moveTo(12, 12.5);
    body.lineTo(20, 12.5);
    body.cubicTo(24.5, 16, 24.5, 23, 20.5, 27);
    body.lineTo(11.5, 27);
    body.cubicTo(9.5, 22, 10, 16, 12, 12.5);
    p.drawPath(body);
    p.setBrush(QColor(0xe8, 0xa3, 0x17));
    p.drawEllipse(QRectF(15.5, 17, 5, 5));
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace fetaldose::gui
