#include "gui/assessment/assessment_window.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/assessment/assessment_report.h"
#include "core/assessment/assessment_texts.h"
#include "core/export/export_texts.h"
#include "core/refdata/data_directory.h"
#include "core/run/labels.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "core/textio/output_guard.h"
#include "gui/app/app_texts.h"
#include "gui/app/busy_cursor.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/messages.h"
#include "gui/app/platform.h"
#include "gui/app/window_placement.h"
#include "gui/app/window_printer.h"
#include "gui/assessment/assessment_document.h"
#include "gui/assessment/assessment_window_texts.h"
#include "gui/assessment/dose_tables.h"
#include "gui/assessment/intake_delegate.h"
#include "gui/assessment/intake_table_model.h"

namespace fetaldose::gui {

namespace texts = assessment_texts;
using namespace assessment;

namespace {

constexpr int kSettingsWidth = 260;
constexpr int kDefaultDoseUnit = 1;       // mSv, as the batch tool's default
constexpr int kAtConceptionScenario = 3;  // the first row's time

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// A label's text as a screen reader speaks the control it labels: without its mnemonic mark
// and its colon.
QString spokenName(const char* caption) {
    QString name = utf8(caption);
    name.remove(u'&');
    if (name.endsWith(u':')) name.chop(1);
    return name;
}

QLabel* buddyLabel(const char* caption, QWidget* buddy) {
    auto* label = new QLabel(utf8(caption));
    label->setBuddy(buddy);
    buddy->setAccessibleName(spokenName(caption));
    return label;
}

QPushButton* button(const char* caption, const char* objectName) {
    auto* made = new QPushButton(utf8(caption));
    made->setObjectName(QLatin1String(objectName));
    made->setAccessibleName(spokenName(caption));
    made->setAutoDefault(false);
    return made;
}

void fillDoseUnits(QComboBox& box) {
    for (const DoseUnitInfo& unit : kDoseUnits) box.addItem(fromUtf8(unit.shown));
    box.setCurrentIndex(kDefaultDoseUnit);
}

QListWidget* checkList(const QStringList& items, const char* objectName) {
    auto* list = new QListWidget;
    list->setObjectName(QLatin1String(objectName));
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    return list;
}

std::vector<int> checkedNumbers(const QListWidget& list) {
    std::vector<int> numbers;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked) numbers.push_back(i + 1);
    return numbers;
}

// The exposure group of a field (1 public, 2 worker; 0 none), in any letter case as the
// assessment reads it.
int groupNumber(const std::string& field) {
    for (std::size_t g = 0; g < kGroupNames.size(); ++g)
        if (QString::fromUtf8(field).compare(fromUtf8(kGroupNames[g]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(g) + 1;
    return 0;
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A fault of reading or writing `path`, named with the file where the fault does not name it.
QString faultText(const Fault& fault, const std::string& path) {
    std::string text = faultReport(fault);
    if (fault.file().empty() && !fault.messageNamesFile()) text = path + ": " + text;
    return displayText(text);
}

// The look of the limit check's verdict.
const QString kExceedsStyle = QStringLiteral(
    "QLabel { background: #b00000; color: white; font-weight: bold; padding: 4px; }");
const QString kWithinStyle = QStringLiteral(
    "QLabel { background: #d9f0d9; color: #004000; font-weight: bold; padding: 4px; }");
const QString kUncheckedStyle = QStringLiteral(
    "QLabel { background: #fff1c4; color: #5a4000; font-weight: bold; padding: 4px; }");
const QString kWarningStyle = QStringLiteral(
    "QLabel { background: #fff1c4; color: #7a0000; font-weight: bold; padding: 6px; "
    "border: 1px solid #c08000; }");
const QString kNoteStyle = QStringLiteral("QLabel { color: #a00000; }");

}  // namespace

AssessmentWindow::AssessmentWindow(std::unique_ptr<AssessmentData> data, Messages& messages,
                                   PrinterProvider& printers, AssessmentCommands commands,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      data_(std::move(data)),
      messages_(messages),
      printers_(printers),
      commands_(std::move(commands)) {
    setObjectName(QStringLiteral("AssessmentWindow"));
    if (!commands_.chooseFile) commands_.chooseFile = askAssessmentFile;
    // The nuclide lists offer the catalogue's nuclides that have a data file, each once.
    DataFileFinder dataFiles(data_->dataDirectory());
    for (const CatalogueEntry& entry : data_->catalogue())
        if (std::find(nuclides_.begin(), nuclides_.end(), entry.name) == nuclides_.end() &&
            dataFiles.find(entry.name))
            nuclides_.push_back(entry.name);
    buildControls();
    readSettings();
    recompute();
    showFileState();
    resize(1200, 800);
    // Centred by its frame at the first showing, no larger than the screen's available area.
    placeAtFirstShowing(*this, [this](const QMargins&) {
        return PlacementWish{size(), true, std::nullopt};
    });
}

// An editor still open commits its text as the window goes: nothing is worked out then.
AssessmentWindow::~AssessmentWindow() {
    intakeModel_->blockSignals(true);
}

const IntakeList& AssessmentWindow::intakes() const {
    return intakeModel_->intakes();
}

void AssessmentWindow::buildControls() {
    auto* main = new QVBoxLayout(this);

    // What the data folder is: the sample set's warning, or why nothing can be assessed.
    QStringList warnings;
    if (data_->syntheticData()) warnings << fromUtf8(kSyntheticWarning);
    if (!data_->catalogueProblem().empty()) warnings << displayText(data_->catalogueProblem());
    warning_ = new QLabel(warnings.join(u'\n'));
    warning_->setObjectName(QStringLiteral("dataWarning"));
    warning_->setWordWrap(true);
    warning_->setStyleSheet(kWarningStyle);
    warning_->setAccessibleName(warning_->text());
    warning_->setVisible(!warnings.isEmpty());
    main->addWidget(warning_);

    // Made in the order they are seen, left to right and top down, which Tab follows.
    QWidget* settings = buildSettingsPanel();
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("assessmentSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildIntakesPanel());
    splitter->addWidget(buildResultsPanel());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({360, 360});
    auto* body = new QHBoxLayout;
    body->addWidget(settings);
    body->addWidget(splitter, 1);
    main->addLayout(body, 1);

    exportButton_ = button(texts::kExport, "exportButton");
    printButton_ = button(texts::kPrint, "printButton");
    closeButton_ = button(texts::kClose, "closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(printButton_);
    buttons->addWidget(closeButton_);
    main->addLayout(buttons);

    connect(exportButton_, &QPushButton::clicked, this, &AssessmentWindow::exportResult);
    connect(printButton_, &QPushButton::clicked, this, &AssessmentWindow::print);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    const auto shortcut = [this](QKeySequence keys, QPushButton* pressed) {
        auto* made = new QShortcut(keys, this);
        connect(made, &QShortcut::activated, pressed, &QPushButton::click);
        pressed->setToolTip(keys.toString(QKeySequence::NativeText));
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), openButton_);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), saveButton_);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), exportButton_);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), printButton_);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), closeButton_);
}

QWidget* AssessmentWindow::buildSettingsPanel() {
    auto* panel = new QGroupBox(utf8(texts::kSettingsHeading));
    panel->setObjectName(QStringLiteral("settingsPanel"));
    panel->setFixedWidth(kSettingsWidth);
    auto* layout = new QVBoxLayout(panel);

    unitBox_ = new QComboBox;
    unitBox_->setObjectName(QStringLiteral("doseUnitBox"));
    fillDoseUnits(*unitBox_);
    layout->addWidget(buddyLabel(texts::kDoseUnit, unitBox_));
    layout->addWidget(unitBox_);

    methodBox_ = new QComboBox;
    methodBox_->setObjectName(QStringLiteral("methodBox"));
    methodBox_->addItem(utf8(texts::kConservative));
    methodBox_->addItem(utf8(texts::kInterpolated));
    layout->addWidget(buddyLabel(texts::kMethod, methodBox_));
    layout->addWidget(methodBox_);

    externalEdit_ = new QLineEdit;
    externalEdit_->setObjectName(QStringLiteral("externalDoseEdit"));
    externalEdit_->setPlaceholderText(utf8(texts::kExternalNone));
    externalEdit_->setToolTip(utf8(texts::kExternalHint));
    externalUnitBox_ = new QComboBox;
    externalUnitBox_->setObjectName(QStringLiteral("externalUnitBox"));
    externalUnitBox_->setAccessibleName(utf8(texts::kExternalUnitName));
    fillDoseUnits(*externalUnitBox_);
    layout->addWidget(buddyLabel(texts::kExternalDose, externalEdit_));
    auto* external = new QHBoxLayout;
    external->addWidget(externalEdit_, 1);
    external->addWidget(externalUnitBox_);
    layout->addLayout(external);

    limitBox_ = new QComboBox;
    limitBox_->setObjectName(QStringLiteral("limitBox"));
    limitBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    limitBox_->setMinimumContentsLength(20);
    for (const LimitInfo& limit : kLimits) {
        if (limit.kind == LimitKind::Custom) continue;
        limitBox_->addItem(fromUtf8(limit.shown));
        limitBox_->setItemData(
            limitBox_->count() - 1,
            fromUtf8(limit.shown) + QStringLiteral(" (") + fromUtf8(limit.source) + u')',
            Qt::ToolTipRole);
    }
    limitBox_->addItem(utf8(texts::kCustomLimit));
    customLimitEdit_ = new QLineEdit;
    customLimitEdit_->setObjectName(QStringLiteral("customLimitEdit"));
    customLimitEdit_->setAccessibleName(utf8(texts::kCustomLimitName));
    customLimitEdit_->setPlaceholderText(utf8(texts::kCustomLimitHint));
    customUnitBox_ = new QComboBox;
    customUnitBox_->setObjectName(QStringLiteral("customLimitUnitBox"));
    customUnitBox_->setAccessibleName(utf8(texts::kCustomUnitName));
    fillDoseUnits(*customUnitBox_);
    layout->addWidget(buddyLabel(texts::kLimit, limitBox_));
    layout->addWidget(limitBox_);
    limitSource_ = new QLabel;
    limitSource_->setObjectName(QStringLiteral("limitSource"));
    limitSource_->setWordWrap(true);
    limitSource_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(limitSource_);
    auto* custom = new QHBoxLayout;
    custom->addWidget(customLimitEdit_, 1);
    custom->addWidget(customUnitBox_);
    layout->addLayout(custom);

    settingsNote_ = new QLabel;
    settingsNote_->setObjectName(QStringLiteral("settingsProblem"));
    settingsNote_->setWordWrap(true);
    settingsNote_->setStyleSheet(kNoteStyle);
    settingsNote_->hide();
    layout->addWidget(settingsNote_);

    QStringList tissues;
    for (const std::string_view label : kRowLabels) tissues << fromUtf8(label);
    tissueList_ = checkList(tissues, "tissueList");
    layout->addWidget(buddyLabel(texts::kTissues, tissueList_));
    layout->addWidget(tissueList_, 1);
    QStringList periods;
    for (const std::string_view label : kPeriodLabels) periods << fromUtf8(label).trimmed();
    periodList_ = checkList(periods, "periodList");
    periodList_->setFixedHeight(periodList_->sizeHintForRow(0) * kPeriods +
                                2 * periodList_->frameWidth() + 4);
    layout->addWidget(buddyLabel(texts::kPeriods, periodList_));
    layout->addWidget(periodList_);

    const auto changed = [this] {
        readSettings();
        recompute();
    };
    for (QComboBox* box : {unitBox_, methodBox_, externalUnitBox_, limitBox_, customUnitBox_})
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    for (QLineEdit* edit : {externalEdit_, customLimitEdit_})
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (QListWidget* list : {tissueList_, periodList_})
        connect(list, &QListWidget::itemChanged, this, changed);
    return panel;
}

QWidget* AssessmentWindow::buildIntakesPanel() {
    auto* panel = new QGroupBox(utf8(texts::kIntakesHeading));
    panel->setObjectName(QStringLiteral("intakesPanel"));
    auto* layout = new QVBoxLayout(panel);

    addButton_ = button(texts::kAddIntake, "addIntakeButton");
    removeButton_ = button(texts::kRemoveIntake, "removeIntakeButton");
    openButton_ = button(texts::kOpenIntakes, "openIntakesButton");
    saveButton_ = button(texts::kSaveIntakes, "saveIntakesButton");
    auto* commands = new QHBoxLayout;
    for (QPushButton* pressed : {addButton_, removeButton_, openButton_, saveButton_})
        commands->addWidget(pressed);
    commands->addStretch(1);
    layout->addLayout(commands);

    intakeModel_ = new IntakeTableModel(this);
    intakeGrid_ = new QTableView;
    intakeGrid_->setObjectName(QStringLiteral("intakeGrid"));
    intakeGrid_->setAccessibleName(utf8(texts::kIntakesGridName));
    intakeGrid_->setModel(intakeModel_);
    intakeGrid_->setItemDelegate(new IntakeDelegate(
        [this](const QModelIndex& index) { return choicesFor(index.row(), index.column()); },
        intakeGrid_));
    intakeGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    intakeGrid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    intakeGrid_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    // Tab leaves the grid for the next control; the arrows move in it, F2 or typing edits.
    intakeGrid_->setTabKeyNavigation(false);
    intakeGrid_->setWordWrap(false);
    intakeGrid_->setAlternatingRowColors(true);
    QHeaderView* columns = intakeGrid_->horizontalHeader();
    columns->setStretchLastSection(true);
    const int widths[] = {70, 140, 280, 220, 70, 50};
    for (int c = 0; c < IntakeTableModel::Outcome; ++c) intakeGrid_->setColumnWidth(c, widths[c]);
    intakeGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    intakeGrid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    layout->addWidget(intakeGrid_, 1);

    // The outcome of the intake the cursor is on, in full.
    currentOutcome_ = new QLabel;
    currentOutcome_->setObjectName(QStringLiteral("currentIntakeOutcome"));
    currentOutcome_->setWordWrap(true);
    currentOutcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(currentOutcome_);

    fileState_ = new QLabel;
    fileState_->setObjectName(QStringLiteral("intakesFileState"));
    fileState_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(fileState_);

    // An acute time from the date of conception and the date of the intake.
    conceptionDate_ = new QDateEdit(QDate::currentDate());
    conceptionDate_->setObjectName(QStringLiteral("conceptionDate"));
    intakeDate_ = new QDateEdit(QDate::currentDate());
    intakeDate_->setObjectName(QStringLiteral("intakeDate"));
    for (QDateEdit* date : {conceptionDate_, intakeDate_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(utf8(texts::kDateFormat));
    }
    setTimeButton_ = button(texts::kSetTimeFromDates, "setTimeFromDatesButton");
    auto* dates = new QHBoxLayout;
    auto* datesHeading = new QLabel(utf8(texts::kDatesHeading) + u':');
    dates->addWidget(datesHeading);
    dates->addWidget(buddyLabel(texts::kConceptionDate, conceptionDate_));
    dates->addWidget(conceptionDate_);
    dates->addWidget(buddyLabel(texts::kIntakeDate, intakeDate_));
    dates->addWidget(intakeDate_);
    dates->addWidget(setTimeButton_);
    dates->addStretch(1);
    layout->addLayout(dates);

    connect(addButton_, &QPushButton::clicked, this, &AssessmentWindow::addIntakeAfterCurrent);
    connect(removeButton_, &QPushButton::clicked, this, &AssessmentWindow::removeCurrentIntake);
    connect(openButton_, &QPushButton::clicked, this, &AssessmentWindow::openIntakes);
    connect(saveButton_, &QPushButton::clicked, this, &AssessmentWindow::saveIntakes);
    connect(setTimeButton_, &QPushButton::clicked, this, &AssessmentWindow::setTimeFromDates);
    connect(intakeModel_, &IntakeTableModel::intakesEdited, this, &AssessmentWindow::intakeEdited);
    connect(intakeGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &AssessmentWindow::showCurrentOutcome);
    // Insert and Delete on the grid (not while a field is being edited) add and remove rows.
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), intakeGrid_, nullptr, nullptr,
                                 Qt::WidgetShortcut);
    connect(insert, &QShortcut::activated, addButton_, &QPushButton::click);
    auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), intakeGrid_, nullptr, nullptr,
                                 Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, removeButton_, &QPushButton::click);
    addButton_->setToolTip(QKeySequence(Qt::Key_Insert).toString(QKeySequence::NativeText));
    removeButton_->setToolTip(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText));
    return panel;
}

QWidget* AssessmentWindow::buildResultsPanel() {
    auto* panel = new QGroupBox(utf8(texts::kResultsHeading));
    panel->setObjectName(QStringLiteral("resultsPanel"));
    auto* layout = new QVBoxLayout(panel);

    limitFlag_ = new QLabel;
    limitFlag_->setObjectName(QStringLiteral("limitVerdict"));
    limitFlag_->setWordWrap(true);
    limitFlag_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    limitLines_ = new QLabel;
    limitLines_->setObjectName(QStringLiteral("limitLines"));
    limitLines_->setWordWrap(true);
    limitLines_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultsNote_ = new QLabel;
    resultsNote_->setObjectName(QStringLiteral("resultsNote"));
    resultsNote_->setWordWrap(true);
    resultsNote_->setStyleSheet(kNoteStyle);
    layout->addWidget(limitFlag_);
    layout->addWidget(limitLines_);
    layout->addWidget(resultsNote_);

    const auto table = [](DoseTableModel* model, const char* name, const char* spoken) {
        auto* view = new QTableView;
        view->setObjectName(QLatin1String(name));
        view->setAccessibleName(utf8(spoken));
        view->setModel(model);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setTabKeyNavigation(false);
        view->setAlternatingRowColors(true);
        view->setWordWrap(false);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        // Every dose has the same width: a few rows tell each column's.
        view->horizontalHeader()->setResizeContentsPrecision(40);
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        return view;
    };
    totalModel_ = new DoseTableModel({}, this);
    perIntakeModel_ = new DoseTableModel(fromUtf8(kTotalRow), this);
    totalTable_ = table(totalModel_, "totalDoseTable", texts::kTotalTableName);
    perIntakeTable_ = table(perIntakeModel_, "perIntakeDoseTable", texts::kPerIntakeTableName);
    resultTabs_ = new QTabWidget;
    resultTabs_->setObjectName(QStringLiteral("resultTabs"));
    resultTabs_->setAccessibleName(utf8(texts::kResultsHeading));
    resultTabs_->addTab(totalTable_, utf8(texts::kTotalTab));
    resultTabs_->addTab(perIntakeTable_, utf8(texts::kPerIntakeTab));
    layout->addWidget(resultTabs_, 1);

    auto* rounding = new QLabel(utf8(texts::kRoundingNote));
    rounding->setWordWrap(true);
    layout->addWidget(rounding);
    return panel;
}

// --- Choices, settings and the assessment ---------------------------------------------

std::vector<FieldChoice> AssessmentWindow::choicesFor(int row, int column) {
    std::vector<FieldChoice> choices;
    const auto add = [&choices](QString shown, std::string_view bytes) {
        choices.push_back({std::move(shown), QByteArray(bytes.data(), qsizetype(bytes.size()))});
    };
    switch (column) {
        case IntakeTableModel::Nuclide:
            for (const std::string& name : nuclides_) add(displayText(name), name);
            break;
        case IntakeTableModel::Group:
            for (const std::string_view group : kGroupNames) add(fromUtf8(group), group);
            break;
        case IntakeTableModel::Route: {
            if (row < 0 || row >= intakeModel_->rowCount()) break;
            const IntakeEntry& entry = intakes().intakes[static_cast<std::size_t>(row)];
            const BusyCursor busy;  // the first look reads the nuclide's data file
            for (const std::string& route : data_->routes(entry.nuclide, groupNumber(entry.group)))
                add(displayText(route), route);
            break;
        }
        case IntakeTableModel::Time:
            for (const std::string_view scenario : kScenarioTexts)
                add(fromUtf8(scenario), scenario);
            break;
        case IntakeTableModel::Unit:
            for (const ActivityUnitInfo& unit : kActivityUnits)
                add(fromUtf8(unit.shown), unit.name);
            break;
        default:
            break;
    }
    return choices;
}

void AssessmentWindow::readSettings() {
    settings_ = AssessmentSettings{};
    settingsProblem_.clear();
    settings_.unit = kDoseUnits[static_cast<std::size_t>(unitBox_->currentIndex())].unit;
    settings_.method =
        methodBox_->currentIndex() == 1 ? Method::Interpolated : Method::Conservative;

    const QString external = externalEdit_->text().trimmed();
    if (!external.isEmpty()) {
        const auto unit = kDoseUnits[static_cast<std::size_t>(externalUnitBox_->currentIndex())];
        const auto dose = parseDoseAmount(external.toStdString() + " " + std::string(unit.name));
        if (dose)
            settings_.external = *dose;
        else
            settingsProblem_ = utf8(texts::kNotADose).arg(external);
    }

    const bool custom = limitBox_->currentIndex() == limitBox_->count() - 1;
    customLimitEdit_->setEnabled(custom);
    customUnitBox_->setEnabled(custom);
    const LimitInfo& limit = custom ? info(LimitKind::Custom)
                                    : kLimits[static_cast<std::size_t>(limitBox_->currentIndex())];
    limitSource_->setText(fromUtf8(limit.shown) + QStringLiteral("; ") + fromUtf8(limit.source));
    if (!custom) {
        settings_.limit.kind = limit.kind;
    } else {
        const QString text = customLimitEdit_->text().trimmed();
        const auto unit = kDoseUnits[static_cast<std::size_t>(customUnitBox_->currentIndex())];
        const auto dose = parseDoseAmount(text.toStdString() + " " + std::string(unit.name));
        settings_.limit.kind = LimitKind::Custom;
        if (dose && dose->sievert() > 0) {
            settings_.limit.customSievert = dose->sievert();
        } else if (settingsProblem_.isEmpty()) {
            settingsProblem_ = utf8(texts::kLimitNotADose).arg(text);
        }
    }
    settingsNote_->setText(settingsProblem_);
    settingsNote_->setVisible(!settingsProblem_.isEmpty());

    settings_.rows = checkedNumbers(*tissueList_);
    settings_.periods = checkedNumbers(*periodList_);
}

void AssessmentWindow::recompute() {
    const IntakeList& list = intakes();
    result_ = assess(list.intakes, settings_, *data_);

    std::vector<IntakeTableModel::RowOutcome> outcomes;
    for (const IntakeAssessment& intake : result_.intakes) {
        IntakeTableModel::RowOutcome outcome;
        if (!intake.assessed()) {
            const auto column =
                std::find(kIntakeColumns.begin(), kIntakeColumns.end(), intake.problemColumn);
            outcome.problemColumn = column == kIntakeColumns.end()
                                        ? IntakeTableModel::Nuclide
                                        : static_cast<int>(column - kIntakeColumns.begin());
            outcome.problem = displayText(intake.problem);
        } else {
            outcome.basis = displayText(intake.basisText);
        }
        outcomes.push_back(std::move(outcome));
    }
    intakeModel_->setOutcomes(std::move(outcomes));
    showCurrentOutcome();

    const AssessmentReport shown{list.intakes, settings_, result_, Provenance{}, {}};
    totalModel_->setTable(doseTableOf(result_.total, settings_));
    perIntakeModel_->setTable(perIntakeTableOf(shown));

    QStringList notes;
    if (result_.problemCount > 0) notes << utf8(texts::kLeftOut).arg(result_.problemCount);
    if (settings_.rows.empty()) notes << utf8(texts::kNoTissue);
    resultsNote_->setText(notes.join(u'\n'));
    resultsNote_->setVisible(!notes.isEmpty());
    showLimitCheck();
}

void AssessmentWindow::showCurrentOutcome() {
    const QModelIndex current = intakeGrid_->currentIndex();
    if (!current.isValid()) {
        currentOutcome_->clear();
        currentOutcome_->hide();
        return;
    }
    const int row = current.row();
    const QString number = intakeModel_->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    const bool problem = intakeModel_->outcome(row).problemColumn >= 0;
    currentOutcome_->setText(
        utf8(problem ? texts::kCurrentProblem : texts::kCurrentBasis)
            .arg(number, intakeModel_->index(row, IntakeTableModel::Outcome).data().toString()));
    currentOutcome_->setStyleSheet(problem ? kNoteStyle : QString());
    currentOutcome_->show();
}

void AssessmentWindow::showLimitCheck() {
    const AssessmentReport shown{intakes().intakes, settings_, result_, Provenance{}, {}};
    std::vector<std::string> lines = limitLines(shown);
    const LimitCheck& check = result_.limit;
    QString verdict;
    QString style = kUncheckedStyle;
    if (!settingsProblem_.isEmpty()) {
        // A dose the settings cannot read would be left out: no verdict at all.
        verdict = utf8(settings_.external || externalEdit_->text().trimmed().isEmpty()
                           ? texts::kLimitUncheckedCustom
                           : texts::kLimitUncheckedExternal);
        lines.resize(1);
    } else {
        verdict = fromUtf8(lines.back());
        lines.pop_back();
        if (check.checkable) style = check.exceeds ? kExceedsStyle : kWithinStyle;
    }
    limitFlag_->setText(verdict);
    limitFlag_->setStyleSheet(style);
    limitFlag_->setAccessibleName(utf8(texts::kLimitCheckName) + QStringLiteral(": ") + verdict);
    QStringList shownLines;
    for (const std::string& line : lines) shownLines << fromUtf8(line);
    limitLines_->setText(shownLines.join(u'\n'));
}

QString AssessmentWindow::limitText() const {
    return limitFlag_->text() + u'\n' + limitLines_->text();
}

QString AssessmentWindow::warningText() const {
    return warning_->isVisibleTo(this) ? warning_->text() : QString();
}

// --- The intakes ------------------------------------------------------------------------

void AssessmentWindow::intakeEdited(int row, int column) {
    unsaved_ = true;  // until the open or save that made the edit says otherwise
    // A new nuclide or group keeps its route entry where the data file holds it for them, and
    // otherwise takes the first one the file holds.
    if (row >= 0 && (column == IntakeTableModel::Nuclide || column == IntakeTableModel::Group)) {
        const IntakeEntry& entry = intakes().intakes[static_cast<std::size_t>(row)];
        const BusyCursor busy;
        const std::vector<std::string> routes =
            data_->routes(entry.nuclide, groupNumber(entry.group));
        if (!routes.empty() &&
            std::find(routes.begin(), routes.end(), entry.route) == routes.end()) {
            // Comes back here for the route, which assesses.
            intakeModel_->setData(intakeModel_->index(row, IntakeTableModel::Route),
                                  QByteArray::fromStdString(routes.front()),
                                  IntakeTableModel::kBytesRole);
            return;
        }
    }
    intakesFile_.clear();
    showFileState();
    recompute();
}

void AssessmentWindow::showFileState() {
    const bool fromFile = !intakesFile_.isEmpty();
    fileState_->setText(
        fromFile ? utf8(texts::kIntakesFromFile).arg(QDir::toNativeSeparators(intakesFile_))
                 : utf8(texts::kIntakesByRow));
    fileState_->setVisible(fromFile || intakeModel_->rowCount() > 0);
    QString title = utf8(texts::kWindowTitle);
    if (fromFile)
        title += QStringLiteral(" - ") + QFileInfo(intakesFile_).fileName();
    else if (intakeModel_->rowCount() > 0)
        title += utf8(texts::kUnsavedMark);
    setWindowTitle(title);
}

void AssessmentWindow::showInFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void AssessmentWindow::addIntake(IntakeEntry entry) {
    const int row = intakeModel_->rowCount();
    intakeModel_->insertIntake(row, std::move(entry));
    intakeGrid_->setCurrentIndex(intakeModel_->index(row, IntakeTableModel::Activity));
    intakeGrid_->setFocus();
}

// A new row repeats the intake it follows but for the activity, the field that differs most
// often; the first row takes the first nuclide, group, route entry and the first time.
void AssessmentWindow::addIntakeAfterCurrent() {
    const QModelIndex current = intakeGrid_->currentIndex();
    const int count = intakeModel_->rowCount();
    const int after = current.isValid() ? current.row() : count - 1;
    IntakeEntry entry;
    if (after >= 0) {
        entry = intakes().intakes[static_cast<std::size_t>(after)];
        entry.activity.clear();
        entry.extra.clear();
    } else {
        if (!nuclides_.empty()) entry.nuclide = nuclides_.front();
        entry.group = kGroupNames[0];
        const BusyCursor busy;
        const std::vector<std::string> routes = data_->routes(entry.nuclide, 1);
        if (!routes.empty()) entry.route = routes.front();
        entry.time = kScenarioTexts[kAtConceptionScenario - 1];
        entry.unit = kActivityUnits[0].name;
    }
    const int row = after + 1;
    intakeModel_->insertIntake(row, std::move(entry));
    intakeGrid_->setCurrentIndex(intakeModel_->index(row, IntakeTableModel::Activity));
    intakeGrid_->setFocus();
}

void AssessmentWindow::removeCurrentIntake() {
    const QModelIndex current = intakeGrid_->currentIndex();
    if (!current.isValid()) return;
    const int column = current.column();
    intakeModel_->removeIntake(current.row());
    const int rows = intakeModel_->rowCount();
    if (rows > 0)
        intakeGrid_->setCurrentIndex(
            intakeModel_->index(std::min(current.row(), rows - 1), column));
    intakeGrid_->setFocus();
}

void AssessmentWindow::setTimeFromDates() {
    const QModelIndex current = intakeGrid_->currentIndex();
    if (!current.isValid()) {
        messages_.inform(utf8(texts::kNoIntakeSelected));
        return;
    }
    const QDate conception = conceptionDate_->date();
    const QDate intake = intakeDate_->date();
    const auto days = daysBetween(conception.year(), conception.month(), conception.day(),
                                  intake.year(), intake.month(), intake.day());
    if (!days) return;  // the date boxes hold dates that exist
    intakeModel_->setData(intakeModel_->index(current.row(), IntakeTableModel::Time),
                          QString::fromStdString(acuteTimeText(*days)), Qt::EditRole);
}

// --- Files --------------------------------------------------------------------------------

bool AssessmentWindow::hasUnsavedIntakes() const {
    return unsaved_ && intakeModel_->rowCount() > 0;
}

bool AssessmentWindow::mayDiscardIntakes() {
    return !hasUnsavedIntakes() ||
           messages_.confirm(utf8(texts::kDiscardUnsaved), utf8(texts::kDiscardButton));
}

void AssessmentWindow::openIntakes() {
    runGuarded(messages_, [this] {
        if (!mayDiscardIntakes()) return;
        const auto choice = commands_.chooseFile(this, AssessmentFileKind::OpenIntakes);
        if (choice) openIntakesFile(choice->path);
    });
}

void AssessmentWindow::openIntakesFile(const QString& path) {
    const std::string file = localPath(path);
    IntakeList read;
    try {
        read = readIntakesFile(file);
    } catch (const Fault& fault) {
        messages_.error(utf8(texts::kCannotOpen).arg(faultText(fault, file)));
        return;
    }
    intakeModel_->setIntakes(std::move(read));
    unsaved_ = false;
    intakesFile_ = lastIntakesFile_ = path;
    showFileState();
    if (intakeModel_->rowCount() > 0) intakeGrid_->setCurrentIndex(intakeModel_->index(0, 0));
}

void AssessmentWindow::saveIntakes() {
    runGuarded(messages_, [this] {
        const auto choice = commands_.chooseFile(this, AssessmentFileKind::SaveIntakes);
        if (choice) saveIntakesFile(choice->path);
    });
}

void AssessmentWindow::saveIntakesFile(const QString& path) {
    runGuarded(messages_, [&] {
        const std::string file = localPath(path);
        if (commands_.refuseOutput) commands_.refuseOutput(file);
        writeIntakesFile(file, intakes());
        // Read back, so that each intake is numbered by its line in the file, as an assessment
        // of the file numbers it.
        const QModelIndex current = intakeGrid_->currentIndex();
        intakeModel_->setIntakes(readIntakesFile(file));
        unsaved_ = false;
        intakesFile_ = lastIntakesFile_ = path;
        showFileState();
        if (current.isValid())
            intakeGrid_->setCurrentIndex(intakeModel_->index(current.row(), current.column()));
    });
}

void AssessmentWindow::requireUsable() const {
    if (!settingsProblem_.isEmpty())
        throw Fault(utf8(texts::kSettingsUnusable).arg(settingsProblem_).toStdString());
}

// The files the assessment reads: the intakes file and the data files of its nuclides.
std::vector<std::string> AssessmentWindow::inputsOfOutputs() {
    std::vector<std::string> inputs;
    if (!lastIntakesFile_.isEmpty()) inputs.push_back(localPath(lastIntakesFile_));
    DataFileFinder dataFiles(data_->dataDirectory());
    for (const IntakeEntry& entry : intakes().intakes)
        if (auto path = dataFiles.find(entry.nuclide)) inputs.push_back(std::move(*path));
    return inputs;
}

AssessmentReport AssessmentWindow::report() {
    Provenance provenance = data_->provenance();
    // The catalogue and the data files of the intakes' nuclides: a file read only to offer its
    // route entries gave no value.
    std::vector<std::string> used;
    DataFileFinder dataFiles(data_->dataDirectory());
    for (const IntakeEntry& entry : intakes().intakes)
        if (auto path = dataFiles.find(entry.nuclide))
            used.push_back(path->substr(path->find_last_of('/') + 1));
    std::vector<FileDigest> files;
    for (std::size_t i = 0; i < provenance.files.size(); ++i)
        if (i == 0 ||
            std::find(used.begin(), used.end(), provenance.files[i].fileName) != used.end())
            files.push_back(provenance.files[i]);
    provenance.files = std::move(files);
    return AssessmentReport{intakes().intakes, settings_, result_, std::move(provenance),
                            intakesFile_.isEmpty() ? std::string() : localPath(intakesFile_)};
}

void AssessmentWindow::exportResult() {
    runGuarded(messages_, [this] {
        const auto choice = commands_.chooseFile(this, AssessmentFileKind::Export);
        if (choice) exportTo(choice->path, choice->format);
    });
}

void AssessmentWindow::exportTo(const QString& path, OutputFormat format) {
    runGuarded(messages_, [&] {
        requireUsable();
        const std::string file = localPath(path);
        if (commands_.refuseOutput) commands_.refuseOutput(file);
        refuseOutputOverInputs(file, inputsOfOutputs());
        const BusyCursor busy;
        const AssessmentReport shown = report();
        if (format == OutputFormat::Pdf) {
            requireAssessed(shown.intakes, shown.result);
            writeAssessmentPdf(file, shown);
        } else {
            exportAssessment(format, file, shown);
        }
    });
}

void AssessmentWindow::print() {
    runGuarded(messages_, [this] {
        requireUsable();
        requireAssessed(intakes().intakes, result_);
        std::unique_ptr<QPrinter> printer = printers_.defaultPrinter();
        if (!printer) throw PrintError(app_texts::kNoDefaultPrinter);
        const BusyCursor busy;
        printAssessment(*printer, report());
    });
}

}  // namespace fetaldose::gui
