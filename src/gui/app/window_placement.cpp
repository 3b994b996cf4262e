#include "gui/app/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace fetaldose::gui {

namespace {

// One axis: the start of a length `length` in [start, start + room), wanted at `wanted`.
int fitAxis(int start, int room, int length, int wanted) {
    return std::max(start, std::min(wanted, start + room - length));
}

constexpr int kPollInterval = 50;  // milliseconds
constexpr int kPolls = 100;

// Watches one window until it has been placed with its frame known.
class FirstShowingPlacer final : public QObject {
  public:
    FirstShowingPlacer(QWidget& window, std::function<PlacementWish(const QMargins&)> wish)
        : QObject(&window), window_(window), wish_(std::move(wish)) {
        window.installEventFilter(this);
        // The news of the frame need not come with an event of the window: it is also looked
        // for a few times a second, for as long as a window manager takes to frame a window.
        poll_.setInterval(kPollInterval);
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (frameKnown()) {
                place();
                finish();
            } else if (++polls_ >= kPolls) {
                poll_.stop();
            }
        });
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
                if (!shown_) {
                    shown_ = true;
                    place();
                    // Only an X11 window manager reports the frame after mapping; elsewhere
                    // the frame is known now, or there is none.
                    if (frameKnown() || QGuiApplication::platformName() != QLatin1String("xcb"))
                        finish();
                    else
                        poll_.start();
                }
                break;
            // The window manager may frame the window without moving its client area, so
            // whatever the window is told next may be the first news of the frame.
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Paint:
            case QEvent::ActivationChange:
            case QEvent::WindowActivate:
                if (shown_ && !placing_ && frameKnown()) {
                    place();
                    finish();
                }
                break;
            case QEvent::Hide:
                if (shown_) finish();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    bool frameKnown() const { return !frameMargins(window_).isNull(); }

    void place() {
        const QScreen* screen = window_.screen();
        if (screen == nullptr) screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return;
        const QMargins frame = frameMargins(window_);
        const WindowPlace where = placeWithin(screen->availableGeometry(), frame, wish_(frame));
        placing_ = true;
        window_.resize(where.clientSize);
        window_.move(where.frameTopLeft);
        placing_ = false;
    }

    void finish() {
        poll_.stop();
        window_.removeEventFilter(this);
        deleteLater();
    }

    QWidget& window_;
    std::function<PlacementWish(const QMargins&)> wish_;
    bool shown_ = false;
    bool placing_ = false;
    QTimer poll_;
    int polls_ = 0;
};

}  // namespace

WindowPlace placeWithin(const QRect& available, const QMargins& frame, const PlacementWish& wish) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    QSize client = wish.clientSize;
    if (wish.resizable) {
        client.setWidth(std::min(client.width(), available.width() - frameWidth));
        client.setHeight(std::min(client.height(), available.height() - frameHeight));
    }
    const QSize outer(client.width() + frameWidth, client.height() + frameHeight);
    const QPoint wanted = wish.frameTopLeft.value_or(
        QPoint(available.left() + (available.width() - outer.width()) / 2,
               available.top() + (available.height() - outer.height()) / 2));
    return {QPoint(fitAxis(available.left(), available.width(), outer.width(), wanted.x()),
                   fitAxis(available.top(), available.height(), outer.height(), wanted.y())),
            client};
}

QMargins frameMargins(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - outer.left(), client.top() - outer.top(),
            outer.right() - client.right(), outer.bottom() - client.bottom()};
}

void placeAtFirstShowing(QWidget& window, std::function<PlacementWish(const QMargins&)> wish) {
    new FirstShowingPlacer(window, std::move(wish));
}

}  // namespace fetaldose::gui
