#pragma once
#include <QDialog>

namespace fetaldose::gui {

class WindowSet;

// The results viewer.
class TFrmDemo2 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDemo2(WindowSet& windows, QWidget* parent = nullptr);

private:
    WindowSet& windows_;
};

}  // namespace fetaldose::gui
