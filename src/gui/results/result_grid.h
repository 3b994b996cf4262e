#pragma once
// A result grid: 9 columns by 19 rows of text cells, row 0 the heading row. Row 0 is drawn by
// the horizontal header so it stays in place when the rows scroll; rows 1 to 18 are the
// view's rows 0 to 17. Cells are plain strings held by the model, so writing a table is a
// string copy per cell and one change notice per grid.

#include <QAbstractTableModel>
#include <QString>
#include <QTableView>
#include <array>

namespace fetaldose::gui {

class ResultGridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumns = 9;
    static constexpr int kRows = 19;  // heading row 0 and tissue rows 1..18

    using QAbstractTableModel::QAbstractTableModel;

    const QString& cell(int column, int row) const { return cells_[row][column]; }
    // Writes one cell and tells the view.
    void setCell(int column, int row, const QString& text);
    // Writes one cell without telling the view; call changed() after a batch.
    void setCellQuietly(int column, int row, const QString& text) { cells_[row][column] = text; }
    // Tells the view that any cell may have changed (one repaint).
    void changed();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::array<std::array<QString, kColumns>, kRows> cells_;
};

class ResultGrid final : public QTableView {
    Q_OBJECT
  public:
    static constexpr int kColumns = ResultGridModel::kColumns;
    static constexpr int kRows = ResultGridModel::kRows;

    explicit ResultGrid(QWidget* parent = nullptr);

    const QString& cell(int column, int row) const { return model_.cell(column, row); }
    void setCell(int column, int row, const QString& text) { model_.setCell(column, row, text); }
    ResultGridModel& cells() { return model_; }

    // Cell text colour and pixel height (the heading row uses the same).
    void setTextLook(const QColor& colour, int pixelSize);

  private:
    ResultGridModel model_;
};

}  // namespace fetaldose::gui
