#pragma once
// The directory tree of the chooser windows: a single click selects an entry; a double click or
// Enter enters it.

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <functional>

namespace fetaldose::gui {

class DirectoryTreeList final : public QListWidget {
  public:
    using QListWidget::QListWidget;
    std::function<void(int row)> entered;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            currentRow() >= 0) {
            entered(currentRow());
            return;
        }
        QListWidget::keyPressEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QListWidget::mouseDoubleClickEvent(event);
        QListWidgetItem* item = itemAt(event->position().toPoint());
        if (item) entered(row(item));
    }
};

}  // namespace fetaldose::gui
