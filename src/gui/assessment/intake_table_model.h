#pragma once
// The intakes of the assessment window as a table: one row an intake, its six fields as
// entered (the bytes the intakes file holds), then what the assessment made of it, with the
// field at fault marked. Rows are numbered as the assessment numbers them: by their line in the
// intakes file they were read from, until the first change, and by their row after it.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "core/assessment/intakes_file.h"

namespace fetaldose::gui {

class IntakeTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The intakes file's six fields in its order, then the assessment's outcome.
    enum Column { Nuclide, Group, Route, Time, Activity, Unit, Outcome, ColumnCount };
    // The field's bytes as a QByteArray, for every field column (read and write).
    static constexpr int kBytesRole = Qt::UserRole + 1;

    // What the assessment made of a row: the coefficients it took, or the field at fault
    // (a Column) and why.
    struct RowOutcome {
        int problemColumn = -1;
        QString problem;
        QString basis;
    };

    explicit IntakeTableModel(QObject* parent = nullptr);

    const assessment::IntakeList& intakes() const { return intakes_; }
    // Replaces every intake (read from a file: they keep their lines).
    void setIntakes(assessment::IntakeList intakes);
    void insertIntake(int row, assessment::IntakeEntry entry);
    void removeIntake(int row);
    // Shows the outcome of each row, in the rows' order.
    void setOutcomes(std::vector<RowOutcome> outcomes);
    const RowOutcome& outcome(int row) const;

    // The field of a column (Nuclide .. Unit) of an intake.
    static std::string& field(assessment::IntakeEntry& entry, int column);
    static const std::string& field(const assessment::IntakeEntry& entry, int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    // The intakes changed: a field (`column` of `row`), or rows added or removed (-1, -1).
    void intakesEdited(int row, int column);

  private:
    // The first change after a file was read or saved numbers the rows by their place.
    void forgetLines();

    assessment::IntakeList intakes_;
    std::vector<RowOutcome> outcomes_;
};

}  // namespace fetaldose::gui
