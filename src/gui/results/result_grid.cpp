#include "gui/results/result_grid.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace fetaldose::gui {

namespace {

constexpr std::array<int, ResultGridModel::kColumns> kColumnWidths = {96, 19, 56, 16, 54,
                                                                      57, 55, 56, 54};
constexpr int kRowHeight = 18;

// Draws cells without a focus frame around the current cell: a click selects the whole row,
// and the row's highlight is what shows it.
class RowCellDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace

void ResultGridModel::setCell(int column, int row, const QString& text) {
    cells_[row][column] = text;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
    } else {
        const QModelIndex at = index(row - 1, column);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

void ResultGridModel::changed() {
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
    emit dataChanged(index(0, 0), index(kRows - 2, kColumns - 1), {Qt::DisplayRole});
}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows - 1;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cells_[index.row() + 1][index.column()];
    return {};
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) return cells_[0][section];
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent), model_(this) {
    setModel(&model_);
    setItemDelegate(new RowCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* heading = horizontalHeader();
    heading->setMinimumSectionSize(1);
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->setFixedHeight(kRowHeight);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < kColumns; ++column)
        heading->resizeSection(column, kColumnWidths[column]);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

void ResultGrid::setTextLook(const QColor& colour, int pixelSize) {
    QFont face = font();
    face.setPixelSize(pixelSize);
    setFont(face);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    setPalette(colours);
    // The heading row is white like the cells, with horizontal lines only, and in the cells'
    // face and colour.
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView { background: white; }"
                       "QHeaderView::section { background: white; color: %1;"
                       " font-family: \"%2\"; font-size: %3px; border: none;"
                       " border-top: 1px solid #a0a0a0; border-bottom: 1px solid #a0a0a0;"
                       " padding-left: 2px; }")
            .arg(colour.name(), QFontInfo(face).family())
            .arg(pixelSize));
}

}  // namespace fetaldose::gui
