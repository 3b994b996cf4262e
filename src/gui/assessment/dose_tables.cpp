#include "gui/assessment/dose_tables.h"

#include <QFont>

#include "core/assessment/assessment_texts.h"
#include "core/run/labels.h"
#include "core/textio/text_encoding.h"
#include "gui/assessment/assessment_window_texts.h"

namespace fetaldose::gui {

namespace texts = assessment_texts;
using namespace assessment;

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString periodName(int period) {
    return fromUtf8(trimBlanks(kPeriodLabels[static_cast<std::size_t>(period - 1)]));
}

// The dose columns' headings, each with the unit.
QStringList doseHeadings(const AssessmentSettings& settings) {
    const QString unit = QString::fromUtf8(texts::kInUnit).arg(fromUtf8(info(settings.unit).shown));
    QStringList headings{fromUtf8(kInUteroHeading) + unit};
    for (const int p : settings.periods) {
        headings << fromUtf8(kPostNatalHeading) + periodName(p) + unit;
        headings << fromUtf8(kOffspringHeading) + periodName(p) + unit;
    }
    return headings;
}

}  // namespace

DoseTable doseTableOf(const Doses& doses, const AssessmentSettings& settings) {
    DoseTable table;
    table.headings << QString::fromUtf8(texts::kTissueHeading) << doseHeadings(settings);
    for (const int r : settings.rows) {
        const auto row = static_cast<std::size_t>(r - 1);
        QStringList cells{fromUtf8(kRowLabels[row]),
                          fromUtf8(doseText(doses.inUtero[row], settings.unit))};
        for (const int p : settings.periods) {
            const auto period = static_cast<std::size_t>(p - 1);
            cells << fromUtf8(doseText(doses.postNatal[row][period], settings.unit));
            cells << fromUtf8(doseText(doses.offspring[row][period], settings.unit));
        }
        table.rows << cells;
    }
    return table;
}

DoseTable perIntakeTableOf(const AssessmentReport& report) {
    DoseTable table;
    table.textColumns = 2;
    table.headings << QString::fromUtf8(texts::kIntakeHeading)
                   << QString::fromUtf8(texts::kTissueHeading) << doseHeadings(report.settings);
    for (const std::vector<SheetCell>& row : doseSheet(report).rows) {
        QStringList cells;
        for (const SheetCell& cell : row) cells << fromUtf8(cell.text);
        table.rows << cells;
    }
    return table;
}

DoseTableModel::DoseTableModel(QString boldMark, QObject* parent)
    : QAbstractTableModel(parent), boldMark_(std::move(boldMark)) {}

void DoseTableModel::setTable(DoseTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int DoseTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int DoseTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.headings.size());
}

QVariant DoseTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const QStringList& row = table_.rows.at(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return row.value(index.column());
        case Qt::TextAlignmentRole:
            // The texts left, the doses right, so that their exponents line up.
            return index.column() < table_.textColumns
                       ? QVariant()
                       : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        case Qt::FontRole:
            if (!boldMark_.isEmpty() && row.value(0) == boldMark_) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QVariant DoseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return table_.headings.value(section);
}

}  // namespace fetaldose::gui
