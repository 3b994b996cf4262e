#pragma once
// The busy cursor for as long as the object lives, so that a fault restores the cursor too.

#include <QGuiApplication>

namespace fetaldose::gui {

class BusyCursor {
  public:
    explicit BusyCursor(bool busy = true) : busy_(busy) {
        if (busy_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (busy_) QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool busy_;
};

}  // namespace fetaldose::gui
