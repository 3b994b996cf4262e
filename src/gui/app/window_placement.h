#pragma once
// Where a window goes on the screen. The rule is a pure function of the screen's available
// area, the window's frame and the size it wants, so it can be tried on any screen; the
// placer applies it when a window is first shown, and again once a window manager has
// reported the frame (it does so only after the window is mapped).

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

namespace fetaldose::gui {

// What a window asks for.
struct PlacementWish {
    QSize clientSize;                    // the client area it would have
    bool resizable = false;              // may be made smaller to fit the screen
    std::optional<QPoint> frameTopLeft;  // its frame's top-left corner; centred when absent
};

// Where it goes: the frame's top-left corner and the size of the client area.
struct WindowPlace {
    QPoint frameTopLeft;
    QSize clientSize;
    bool operator==(const WindowPlace&) const = default;
};

// The frame lies wholly within `available` wherever it fits. A resizable window larger than
// the area gets the area's size; a fixed one keeps its size with its frame's top-left corner,
// and so its title bar, inside the area.
WindowPlace placeWithin(const QRect& available, const QMargins& frame, const PlacementWish& wish);

// The frame of a shown window as the platform reports it now (none before a window manager
// has framed the window).
QMargins frameMargins(const QWidget& window);

// Places `window` by the rule at its first showing, with the wish `wish` gives for the frame
// known then, and once more when a window manager reports the frame. Later showings keep the
// place the window had.
void placeAtFirstShowing(QWidget& window, std::function<PlacementWish(const QMargins&)> wish);

}  // namespace fetaldose::gui
