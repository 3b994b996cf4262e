#include "gui/assessment/intake_delegate.h"

#include <QComboBox>
#include <QLineEdit>

#include "gui/assessment/intake_table_model.h"

namespace fetaldose::gui {

IntakeDelegate::IntakeDelegate(Choices choices, QObject* parent)
    : QStyledItemDelegate(parent), choices_(std::move(choices)) {}

QWidget* IntakeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex& index) const {
    const QString name =
        index.model()->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
    if (index.column() == IntakeTableModel::Activity) {
        auto* line = new QLineEdit(parent);
        line->setAccessibleName(name);
        line->setFrame(false);
        return line;
    }
    auto* list = new QComboBox(parent);
    list->setAccessibleName(name);
    // A time is chosen from the scenarios or typed; every other field is chosen.
    const bool typed = index.column() == IntakeTableModel::Time;
    list->setEditable(typed);
    if (typed) list->setInsertPolicy(QComboBox::NoInsert);
    for (const FieldChoice& choice : choices_(index)) list->addItem(choice.shown, choice.bytes);
    if (!typed) {
        // A choice picked with the mouse or Enter goes into the grid at once.
        auto* self = const_cast<IntakeDelegate*>(this);
        connect(list, &QComboBox::activated, self, [self, list] {
            emit self->commitData(list);
            emit self->closeEditor(list);
        });
    }
    return list;
}

void IntakeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QByteArray bytes = index.data(IntakeTableModel::kBytesRole).toByteArray();
    const QString shown = index.data(Qt::EditRole).toString();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(shown);
        return;
    }
    auto* list = qobject_cast<QComboBox*>(editor);
    if (!list) return;
    const int at = list->findData(bytes);
    if (at >= 0) {
        list->setCurrentIndex(at);
    } else if (list->isEditable()) {
        list->setCurrentIndex(-1);
        list->setEditText(shown);
    } else {
        // A field the lists do not hold (read from a file) stays as it is until another
        // choice is made.
        list->insertItem(0, shown, bytes);
        list->setCurrentIndex(0);
    }
}

void IntakeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, line->text(), Qt::EditRole);
        return;
    }
    auto* list = qobject_cast<QComboBox*>(editor);
    if (!list) return;
    const int current = list->currentIndex();
    if (list->isEditable() && (current < 0 || list->itemText(current) != list->currentText())) {
        model->setData(index, list->currentText(), Qt::EditRole);
        return;
    }
    if (current >= 0)
        model->setData(index, list->itemData(current).toByteArray(), IntakeTableModel::kBytesRole);
}

}  // namespace fetaldose::gui
