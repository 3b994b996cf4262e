#include "gui/results/go_to_table_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "gui/app/display_text.h"
#include "gui/app/messages.h"
#include "gui/results/results_texts.h"

namespace fetaldose::gui {

namespace texts = results_texts;

namespace {

constexpr TablePart kParts[] = {TablePart::Nuclide, TablePart::Group, TablePart::RouteEntry,
                                TablePart::Scenario};

bool samePart(const TableKey& a, const TableKey& b, TablePart part) {
    switch (part) {
        case TablePart::Nuclide:
            return a.nuclide == b.nuclide;
        case TablePart::Group:
            return a.group == b.group;
        case TablePart::RouteEntry:
            return routeEntryOf(a) == routeEntryOf(b);
        case TablePart::Scenario:
            break;
    }
    return a.scenario == b.scenario;
}

// What a list shows for the part of `table`: the heading the viewer shows for it.
QString partText(const RunResult& run, int table, TablePart part) {
    switch (part) {
        case TablePart::Nuclide:
            return displayText(run.nuclideHeading(table)).trimmed();
        case TablePart::Group:
            return displayText(run.groupHeading(table)).trimmed();
        case TablePart::RouteEntry:
            return displayText(run.routeHeading(table)).trimmed();
        case TablePart::Scenario:
            break;
    }
    return displayText(run.scenarioHeading(table)).trimmed();
}

void addPart(TablePattern& pattern, const TableKey& key, TablePart part) {
    switch (part) {
        case TablePart::Nuclide:
            pattern.nuclide = key.nuclide;
            return;
        case TablePart::Group:
            pattern.group = key.group;
            return;
        case TablePart::RouteEntry:
            pattern.routeEntry = routeEntryOf(key);
            return;
        case TablePart::Scenario:
            pattern.scenario = key.scenario;
            return;
    }
}

bool asciiDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

GoToTableDialog::GoToTableDialog(const RunResult& run, int currentTable, Messages& messages,
                                 QWidget* parent)
    : QDialog(parent), run_(run), messages_(messages) {
    setWindowTitle(texts::kGoToTableTitle);
    if (run_.hasTable(currentTable)) keyShown_ = run_.key(currentTable);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    byNumber_ = new QRadioButton(texts::kGoToByNumber, this);
    byNumber_->setObjectName(QStringLiteral("GoToTableByNumber"));
    number_ = new QLineEdit(QString::number(currentTable), this);
    number_->setObjectName(QStringLiteral("GoToTableNumber"));
    layout->addWidget(byNumber_, 0, 0);
    layout->addWidget(number_, 0, 1);
    layout->addWidget(new QLabel(texts::kGoToNumberRange.arg(run_.tableCount()), this), 0, 2);

    byKey_ = new QRadioButton(texts::kGoToByKey, this);
    byKey_->setObjectName(QStringLiteral("GoToTableByKey"));
    layout->addWidget(byKey_, 1, 0, 1, 3);
    const QString names[] = {QStringLiteral("GoToTableNuclide"), QStringLiteral("GoToTableGroup"),
                             QStringLiteral("GoToTableRouteEntry"),
                             QStringLiteral("GoToTableScenario")};
    for (int level = 0; level < kLevels; ++level) {
        auto* list = new QComboBox(this);
        list->setObjectName(names[level]);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* label = new QLabel(texts::kGoToPartLabels[static_cast<std::size_t>(level)], this);
        label->setBuddy(list);
        label->setIndent(24);
        layout->addWidget(label, level + 2, 0);
        layout->addWidget(list, level + 2, 1, 1, 2);
        lists_[level] = list;
        connect(list, &QComboBox::currentIndexChanged, this, [this, level] {
            fillFrom(level + 1);
            chooseByKey();
        });
    }
    fillFrom(kNuclide);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(texts::kGoToButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    go->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, kLevels + 2, 0, 1, 3);

    connect(number_, &QLineEdit::textEdited, this, [this] { byNumber_->setChecked(true); });
    byNumber_->setChecked(true);
    number_->selectAll();
    number_->setFocus();
}

std::optional<int> GoToTableDialog::ask(const RunResult& run, int currentTable, Messages& messages,
                                        QWidget* parent) {
    if (run.tableCount() < 1) {
        messages.inform(texts::kNoTablesMessage);
        return std::nullopt;
    }
    GoToTableDialog dialog(run, currentTable, messages, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenTable();
}

void GoToTableDialog::chooseByKey() {
    byKey_->setChecked(true);
}

TablePattern GoToTableDialog::patternAbove(int level) const {
    TablePattern pattern;
    for (int above = 0; above < level; ++above) {
        const int table = lists_[above]->currentData().toInt();
        if (table > 0) addPart(pattern, run_.key(table), kParts[above]);
    }
    return pattern;
}

void GoToTableDialog::fillFrom(int level) {
    for (; level < kLevels; ++level) {
        QComboBox& list = *lists_[level];
        const TablePart part = kParts[level];
        // At the first filling the table on show is the choice; later the list's own.
        std::optional<TableKey> wanted = list.count() == 0 ? keyShown_ : std::nullopt;
        if (const int before = list.currentData().toInt(); before > 0) wanted = run_.key(before);
        const QSignalBlocker quiet(list);
        list.clear();
        if (level != kNuclide) list.addItem(texts::kGoToAnyItem, 0);
        for (const int table : firstTableOfEach(run_, patternAbove(level), part)) {
            list.addItem(partText(run_, table, part), table);
            if (wanted && samePart(run_.key(table), *wanted, part))
                list.setCurrentIndex(list.count() - 1);
        }
    }
}

std::optional<int> GoToTableDialog::tableOfNumber() {
    const QString typed = number_->text().trimmed();
    const int count = run_.tableCount();
    if (typed.isEmpty()) {
        messages_.inform(texts::kTypeTableNumberMessage.arg(count));
        return std::nullopt;
    }
    if (!asciiDigits(typed)) {
        messages_.inform(texts::kNotATableNumberMessage.arg(typed, QString::number(count)));
        return std::nullopt;
    }
    bool fits = false;
    const qulonglong table = typed.toULongLong(&fits);
    if (!fits || table < 1 || table > static_cast<qulonglong>(count)) {
        messages_.inform(texts::kNoSuchTableMessage.arg(typed, QString::number(count)));
        return std::nullopt;
    }
    return static_cast<int>(table);
}

void GoToTableDialog::accept() {
    std::optional<int> table;
    if (byNumber_->isChecked()) {
        table = tableOfNumber();
        if (!table) {
            number_->selectAll();
            number_->setFocus();
            return;
        }
    } else {
        // Every list offers only what the run holds under the choices above it.
        table = firstTableMatching(run_, patternAbove(kLevels));
        if (!table) return;
    }
    chosen_ = *table;
    QDialog::accept();
}

}  // namespace fetaldose::gui
