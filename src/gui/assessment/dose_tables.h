#pragma once
// The doses of an assessment as tables of text, as the window and its report show them: the
// totals (a row per tissue shown) and each intake's doses (the rows of the CSV export, the
// totals last). Every dose is the core's doseText, so the screen, the paper and the files
// show the same figures.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/assessment/assessment_report.h"

namespace fetaldose::gui {

struct DoseTable {
    QStringList headings;
    QList<QStringList> rows;
    int textColumns = 1;  // the leading columns that hold texts; the doses follow
};

// Tissue, in utero, then for each period shown its post-natal and its offspring dose.
DoseTable doseTableOf(const assessment::Doses& doses,
                      const assessment::AssessmentSettings& settings);
// The rows of the export: intake, tissue, then the doses as doseTableOf has them.
DoseTable perIntakeTableOf(const assessment::AssessmentReport& report);

// A read-only table model over a DoseTable; rows whose first cell is `boldMark` are bold.
class DoseTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DoseTableModel(QString boldMark = {}, QObject* parent = nullptr);
    void setTable(DoseTable table);
    const DoseTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QString boldMark_;
    DoseTable table_;
};

}  // namespace fetaldose::gui
