#include "gui/assessment/intake_table_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "core/assessment/assessment_report.h"
#include "core/assessment/units.h"
#include "gui/app/display_text.h"
#include "gui/assessment/assessment_window_texts.h"

namespace fetaldose::gui {

namespace texts = assessment_texts;
using assessment::IntakeEntry;

namespace {

// A field at fault, and the outcome of its row, on a light red ground in dark red text.
const QColor kProblemGround(255, 221, 221);
const QColor kProblemText(160, 0, 0);

QString headingOf(int column) {
    return column == IntakeTableModel::Outcome
               ? QString::fromUtf8(texts::kOutcomeHeading)
               : QString::fromUtf8(texts::kIntakeColumnHeadings[column]);
}

}  // namespace

IntakeTableModel::IntakeTableModel(QObject* parent) : QAbstractTableModel(parent) {}

std::string& IntakeTableModel::field(IntakeEntry& entry, int column) {
    switch (column) {
        case Nuclide:
            return entry.nuclide;
        case Group:
            return entry.group;
        case Route:
            return entry.route;
        case Time:
            return entry.time;
        case Activity:
            return entry.activity;
        default:
            return entry.unit;
    }
}

const std::string& IntakeTableModel::field(const IntakeEntry& entry, int column) {
    return field(const_cast<IntakeEntry&>(entry), column);
}

void IntakeTableModel::setIntakes(assessment::IntakeList intakes) {
    beginResetModel();
    intakes_ = std::move(intakes);
    outcomes_.assign(intakes_.intakes.size(), {});
    endResetModel();
    emit intakesEdited(-1, -1);
}

void IntakeTableModel::forgetLines() {
    bool numbered = false;
    for (IntakeEntry& entry : intakes_.intakes) {
        numbered = numbered || entry.line != 0;
        entry.line = 0;
    }
    if (numbered && !intakes_.intakes.empty())
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void IntakeTableModel::insertIntake(int row, IntakeEntry entry) {
    row = std::clamp(row, 0, rowCount());
    forgetLines();
    entry.line = 0;
    entry.extra.resize(intakes_.extraColumns.size());
    beginInsertRows({}, row, row);
    intakes_.intakes.insert(intakes_.intakes.begin() + row, std::move(entry));
    outcomes_.insert(outcomes_.begin() + row, RowOutcome{});
    endInsertRows();
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    emit intakesEdited(-1, -1);
}

void IntakeTableModel::removeIntake(int row) {
    if (row < 0 || row >= rowCount()) return;
    forgetLines();
    beginRemoveRows({}, row, row);
    intakes_.intakes.erase(intakes_.intakes.begin() + row);
    outcomes_.erase(outcomes_.begin() + row);
    endRemoveRows();
    if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    emit intakesEdited(-1, -1);
}

void IntakeTableModel::setOutcomes(std::vector<RowOutcome> outcomes) {
    outcomes.resize(intakes_.intakes.size());
    outcomes_ = std::move(outcomes);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

const IntakeTableModel::RowOutcome& IntakeTableModel::outcome(int row) const {
    return outcomes_.at(static_cast<std::size_t>(row));
}

int IntakeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(intakes_.intakes.size());
}

int IntakeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant IntakeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    const RowOutcome& outcome = outcomes_[row];
    const bool atFault =
        outcome.problemColumn >= 0 && (column == outcome.problemColumn || column == Outcome);
    if (column == Outcome) {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::ToolTipRole:
                return outcome.problemColumn >= 0 ? QString::fromUtf8(texts::kProblemMark) +
                                                        headingOf(outcome.problemColumn) +
                                                        QStringLiteral(": ") + outcome.problem
                                                  : outcome.basis;
            case Qt::BackgroundRole:
                return atFault ? QBrush(kProblemGround) : QVariant();
            case Qt::ForegroundRole:
                return atFault ? QBrush(kProblemText) : QVariant();
            default:
                return {};
        }
    }
    const std::string& bytes = field(intakes_.intakes[row], column);
    switch (role) {
        case Qt::DisplayRole:
            if (column == Unit)
                if (const auto unit = assessment::activityUnitNamed(bytes))
                    return QString::fromUtf8(assessment::info(*unit).shown.data(),
                                             qsizetype(assessment::info(*unit).shown.size()));
            return displayText(bytes);
        case Qt::EditRole:
            return displayText(bytes);
        case kBytesRole:
            return QByteArray::fromStdString(bytes);
        case Qt::ToolTipRole:
            if (atFault) return outcome.problem;
            if (column == Time)
                return displayText(bytes) + u'\n' + QString::fromUtf8(texts::kTimeHint);
            if (column == Route) return displayText(bytes);
            if (column == Activity) return QString::fromUtf8(texts::kActivityHint);
            return {};
        case Qt::BackgroundRole:
            return atFault ? QBrush(kProblemGround) : QVariant();
        case Qt::AccessibleDescriptionRole:
            return atFault ? outcome.problem : QVariant();
        default:
            return {};
    }
}

bool IntakeTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() >= Outcome ||
        (role != Qt::EditRole && role != kBytesRole))
        return false;
    const std::string bytes = value.typeId() == QMetaType::QByteArray
                                  ? value.toByteArray().toStdString()
                                  : value.toString().toUtf8().toStdString();
    std::string& target =
        field(intakes_.intakes[static_cast<std::size_t>(index.row())], index.column());
    if (target == bytes) return false;
    forgetLines();
    target = bytes;
    emit dataChanged(index, index);
    emit intakesEdited(index.row(), index.column());
    return true;
}

Qt::ItemFlags IntakeTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != Outcome) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant IntakeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? headingOf(section) : QVariant();
    if (section < 0 || section >= rowCount()) return {};
    return assessment::intakeNumber(intakes_.intakes, static_cast<std::size_t>(section));
}

}  // namespace fetaldose::gui
