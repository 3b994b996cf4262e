#include "gui/filewin/chooser_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fetaldose::gui {

namespace {

constexpr int kSize = 16;

template <class Draw>
QIcon drawn(Draw draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

const QColor kOutline(64, 64, 64);
const QColor kFolder(240, 200, 80);
const QColor kFolderDark(200, 150, 40);
const QColor kCase(200, 200, 200);
const QColor kLamp(0, 170, 0);

// A drive case seen from the front, with its lamp; the base of the hard and network glyphs.
void drawDriveCase(QPainter& p, int top) {
    p.setPen(kOutline);
    p.setBrush(kCase);
    p.drawRect(1, top, 13, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(kLamp);
    p.drawRect(11, top + 2, 2, 2);
}

void drawFolder(QPainter& p, bool open, bool current) {
    p.setPen(kOutline);
    p.setBrush(kFolderDark);
    p.drawRect(1, 4, 12, 9);  // back of the folder
    p.drawRect(1, 3, 5, 1);   // its tab
    if (open) {
        QPainterPath front;  // the front leaf, tipped open
        front.moveTo(1, 13);
        front.lineTo(4, 7);
        front.lineTo(15, 7);
        front.lineTo(12, 13);
        front.closeSubpath();
        p.setBrush(kFolder);
        p.drawPath(front);
    } else {
        p.setBrush(kFolder);
        p.drawRect(1, 6, 12, 7);
    }
    if (current) {  // a marker for the directory shown
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 90, 200));
        p.drawEllipse(QPoint(12, 11), 3, 3);
    }
}

}  // namespace

QIcon driveGlyph(VolumeKind kind) {
    switch (kind) {
        case VolumeKind::Removable:
            return drawn([](QPainter& p) {  // a diskette
                p.setPen(kOutline);
                p.setBrush(QColor(60, 60, 70));
                p.drawRect(2, 1, 11, 13);
                p.setBrush(QColor(220, 220, 220));
                p.drawRect(5, 1, 5, 4);  // shutter
                p.setBrush(Qt::white);
                p.drawRect(4, 8, 7, 6);  // label
            });
        case VolumeKind::Fixed:
            return drawn([](QPainter& p) { drawDriveCase(p, 6); });
        case VolumeKind::Network:
            return drawn([](QPainter& p) {
                drawDriveCase(p, 2);
                p.setPen(kOutline);
                p.drawLine(7, 8, 7, 12);  // the cable to the net
                p.drawLine(2, 13, 13, 13);
            });
        case VolumeKind::Optical:
            return drawn([](QPainter& p) {  // a disc
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setPen(kOutline);
                p.setBrush(QColor(190, 210, 235));
                p.drawEllipse(QPointF(7.5, 7.5), 6.5, 6.5);
                p.setBrush(Qt::white);
                p.drawEllipse(QPointF(7.5, 7.5), 1.8, 1.8);
            });
        case VolumeKind::Memory:
            return drawn([](QPainter& p) {  // a memory module with its pins
                p.setPen(kOutline);
                p.setBrush(QColor(40, 120, 60));
                p.drawRect(1, 4, 13, 6);
                p.setBrush(QColor(30, 30, 30));
                for (int x = 3; x < 13; x += 4) p.drawRect(x, 5, 2, 3);
                p.setPen(QColor(200, 160, 40));
                for (int x = 2; x < 14; x += 2) p.drawLine(x, 11, x, 12);
            });
    }
    return {};
}

QIcon folderGlyphIcon(FolderGlyph glyph) {
    switch (glyph) {
        case FolderGlyph::Open:
            return drawn([](QPainter& p) { drawFolder(p, true, false); });
        case FolderGlyph::Current:
            return drawn([](QPainter& p) { drawFolder(p, true, true); });
        case FolderGlyph::Closed:
            return drawn([](QPainter& p) { drawFolder(p, false, false); });
    }
    return {};
}

}  // namespace fetaldose::gui
