#pragma once
// The editors of the intakes grid: a list to choose from for the nuclide, the exposure group,
// the route entry and the unit (only what the catalogue and the nuclide's data file hold), a
// list that also takes a typed time, and a line for the activity as typed.

#include <QByteArray>
#include <QString>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

namespace fetaldose::gui {

// One choice of a list: what it shows and the bytes it puts in the field.
struct FieldChoice {
    QString shown;
    QByteArray bytes;
};

class IntakeDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The choices of a cell of the grid (the route entries depend on the row's nuclide and
    // group).
    using Choices = std::function<std::vector<FieldChoice>(const QModelIndex&)>;

    IntakeDelegate(Choices choices, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    Choices choices_;
};

}  // namespace fetaldose::gui
