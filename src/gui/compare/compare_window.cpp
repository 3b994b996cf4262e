#include "gui/compare/compare_window.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

#include "core/compare/comparison_report.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/run/table_values.h"
#include "core/textio/output_guard.h"
#include "gui/app/busy_cursor.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/messages.h"
#include "gui/app/save_dialog.h"
#include "gui/compare/compare_window_texts.h"
#include "gui/compare/comparison_pdf.h"

namespace fetaldose::gui {

namespace texts = compare_window_texts;

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kProgressSteps = 1000;
constexpr int kWidestColumn = 220;  // pixels
// Columns of the difference table (see texts::kColumns).
enum Column {
    kNuclide,
    kGroup,
    kRoute,
    kScenario,
    kTissue,
    kDose,
    kPeriod,
    kReference,
    kCandidate,
    kRatio,
    kStatus,
    kColumnCount
};

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString withoutMnemonic(QString text) {
    return text.remove(u'&');
}

// The ratio as a number to sort by: new cells above every ratio, gone cells below.
double sortRatio(const CellDifference& cell) {
    if (cell.status == CellStatus::New) return std::numeric_limits<double>::infinity();
    if (cell.status == CellStatus::Gone) return -std::numeric_limits<double>::infinity();
    return cell.ratio;
}

}  // namespace

QString askFolder(QWidget* parent, const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

std::optional<CompareExportTarget> askComparisonExportTarget(QWidget* parent) {
    const std::array<std::pair<OutputFormat, const QString*>, 3> kinds = {
        {{OutputFormat::Csv, &texts::kCsvFileType},
         {OutputFormat::Xlsx, &texts::kXlsxFileType},
         {OutputFormat::Pdf, &texts::kPdfFileType}}};
    std::vector<SaveFileType> types;
    for (const auto& [format, name] : kinds)
        types.push_back({*name, QString::fromLatin1(outputFormatInfo(format).extension.substr(1))});
    const std::optional<SaveChoice> choice = askSaveFile(parent, texts::kExportCaption, types);
    if (!choice) return std::nullopt;
    const std::optional<OutputFormat> named =
        outputFormatOfFileName(QFile::encodeName(choice->path).toStdString());
    for (const auto& [format, name] : kinds)
        if (named == format) return CompareExportTarget{choice->path, format};
    return CompareExportTarget{choice->path, kinds[static_cast<std::size_t>(choice->type)].first};
}

// The listed differences of a comparison, one row each. Display texts are made only for the
// rows on show; sorting reads plain values (Qt::UserRole).
class DifferenceModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setComparison(std::shared_ptr<const Comparison> comparison) {
        beginResetModel();
        comparison_ = std::move(comparison);
        endResetModel();
    }
    const Comparison* comparison() const { return comparison_.get(); }
    const CellDifference& cell(int row) const {
        return comparison_->differences[static_cast<std::size_t>(row)];
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !comparison_ ? 0
                                                : static_cast<int>(comparison_->differences.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kColumnCount;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kColumnCount)
            return texts::kColumns[static_cast<std::size_t>(section)];
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!comparison_ || !index.isValid()) return {};
        const CellDifference& c = cell(index.row());
        const RunResult& run = *comparison_->reference;
        if (role == Qt::UserRole) {
            switch (index.column()) {
                case kNuclide:
                    return displayText(run.nuclideName(c.referenceTable));
                case kGroup:
                    return displayText(run.groupHeading(c.referenceTable));
                case kRoute:
                    return displayText(run.routeHeading(c.referenceTable));
                case kScenario:
                    return displayText(run.scenarioHeading(c.referenceTable));
                case kTissue:
                    return run.layout().rows[static_cast<std::size_t>(c.row - 1)];
                case kDose:
                    return static_cast<int>(c.quantity);
                case kPeriod:
                    return c.period;
                case kReference:
                    return c.reference;
                case kCandidate:
                    return c.candidate;
                case kRatio:
                    return sortRatio(c);
                case kStatus:
                    return static_cast<int>(c.status);
                default:
                    return {};
            }
        }
        if (role == Qt::ToolTipRole && (index.column() == kRoute || index.column() == kScenario))
            return displayText(index.column() == kRoute ? run.routeHeading(c.referenceTable)
                                                        : run.scenarioHeading(c.referenceTable));
        if (role == Qt::TextAlignmentRole && index.column() >= kReference &&
            index.column() <= kRatio)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        const CellDescription d = describeCell(*comparison_, c);
        const std::string* texts[kColumnCount] = {
            &d.nuclide, &d.group,         &d.route,         &d.scenario, &d.tissue, &d.quantity,
            &d.period,  &d.referenceDose, &d.candidateDose, &d.ratio,    &d.status};
        return utf8(*texts[index.column()]);
    }

  private:
    std::shared_ptr<const Comparison> comparison_;
};

// The rows the filters let through.
class DifferenceFilter final : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    std::string nuclide;     // empty: every nuclide
    int tissueRow = 0;       // 0: every tissue; else the tissue row 1..18
    int direction = 0;       // 0 all, then increase, decrease, new, gone
    double leastChange = 0;  // relative change of changed cells

    void refresh() { invalidateFilter(); }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex&) const override {
        const auto* model = static_cast<const DifferenceModel*>(sourceModel());
        const Comparison* comparison = model->comparison();
        if (!comparison) return false;
        const CellDifference& c = model->cell(sourceRow);
        const RunResult& run = *comparison->reference;
        if (!nuclide.empty() && run.nuclideName(c.referenceTable) != nuclide) return false;
        if (tissueRow != 0 && run.layout().rows[static_cast<std::size_t>(c.row - 1)] != tissueRow)
            return false;
        const bool ratio = c.status == CellStatus::Changed;
        switch (direction) {
            case 1:
                if (!ratio || !(c.ratio > 1)) return false;
                break;
            case 2:
                if (!ratio || !(c.ratio < 1)) return false;
                break;
            case 3:
                if (c.status != CellStatus::New) return false;
                break;
            case 4:
                if (c.status != CellStatus::Gone) return false;
                break;
            default:
                break;
        }
        return !ratio || !(std::fabs(c.ratio - 1) < leastChange);
    }
};

CompareWindow::CompareWindow(Messages& messages, CompareWindowSetup setup, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), setup_(std::move(setup)) {
    setWindowTitle(texts::kWindowTitle);
    buildControls();
    resize(1100, 720);
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &CompareWindow::pollWorker);
}

CompareWindow::~CompareWindow() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void CompareWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QGridLayout;
    layout->addLayout(choices);

    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        buddy->setAccessibleName(withoutMnemonic(text).remove(u':'));
        return l;
    };

    referenceFolder_ = new QLabel(displayText(setup_.referenceDirectory), this);
    referenceFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
    referenceFolder_->setFocusPolicy(Qt::StrongFocus);
    choices->addWidget(label(texts::kReferenceLabel, referenceFolder_), 0, 0);
    choices->addWidget(referenceFolder_, 0, 1, 1, 3);

    candidateFolder_ = new QLineEdit(this);
    candidateFolder_->setToolTip(texts::kCandidateHint);
    candidateFolder_->setAccessibleDescription(texts::kCandidateHint);
    chooseButton_ = new QPushButton(texts::kChooseButton, this);
    chooseButton_->setToolTip(texts::kChooseHint);
    chooseButton_->setAccessibleName(withoutMnemonic(texts::kChooseButton));
    choices->addWidget(label(texts::kCandidateLabel, candidateFolder_), 1, 0);
    choices->addWidget(candidateFolder_, 1, 1, 1, 2);
    choices->addWidget(chooseButton_, 1, 3);

    scopeBox_ = new QComboBox(this);
    scopeBox_->addItems({texts::kScopeSelection, texts::kScopeEverything});
    thresholdBox_ = new QDoubleSpinBox(this);
    thresholdBox_->setRange(0, 1e9);
    thresholdBox_->setDecimals(6);
    thresholdBox_->setSingleStep(0.01);
    thresholdBox_->setToolTip(texts::kThresholdHint);
    thresholdBox_->setAccessibleDescription(texts::kThresholdHint);
    choices->addWidget(label(texts::kScopeLabel, scopeBox_), 2, 0);
    choices->addWidget(scopeBox_, 2, 1);
    choices->addWidget(label(texts::kThresholdLabel, thresholdBox_), 2, 2);
    choices->addWidget(thresholdBox_, 2, 3);
    choices->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    compareButton_ = new QPushButton(texts::kCompareButton, this);
    compareButton_->setDefault(true);
    exportButton_ = new QPushButton(texts::kExportButton, this);
    exportButton_->setToolTip(texts::kExportHint);
    exportButton_->setEnabled(false);
    closeButton_ = new QPushButton(texts::kCloseButton, this);
    for (QPushButton* button : {compareButton_, exportButton_, closeButton_}) {
        button->setAccessibleName(withoutMnemonic(button->text()));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    layout->addWidget(splitter, 1);
    summary_ = new QPlainTextEdit(this);
    summary_->setReadOnly(true);
    summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    summary_->setAccessibleName(texts::kSummaryName);
    summary_->setPlainText(texts::kNoComparison);
    summary_->setTabChangesFocus(true);
    splitter->addWidget(summary_);

    auto* lower = new QWidget(splitter);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    auto* filters = new QHBoxLayout;
    nuclideFilter_ = new QComboBox(lower);
    tissueFilter_ = new QComboBox(lower);
    directionFilter_ = new QComboBox(lower);
    directionFilter_->addItem(texts::kAllItems);
    for (const QString& direction : texts::kDirections) directionFilter_->addItem(direction);
    changeFilter_ = new QDoubleSpinBox(lower);
    changeFilter_->setRange(0, 1e9);
    changeFilter_->setDecimals(6);
    changeFilter_->setSingleStep(0.01);
    changeFilter_->setToolTip(texts::kChangeFilterHint);
    changeFilter_->setAccessibleDescription(texts::kChangeFilterHint);
    for (const auto& [text, box] :
         {std::pair<const QString&, QWidget*>{texts::kNuclideFilterLabel, nuclideFilter_},
          {texts::kTissueFilterLabel, tissueFilter_},
          {texts::kDirectionFilterLabel, directionFilter_},
          {texts::kChangeFilterLabel, changeFilter_}}) {
        filters->addWidget(label(text, box));
        filters->addWidget(box);
    }
    filters->addStretch();
    shownCount_ = new QLabel(lower);
    filters->addWidget(shownCount_);
    lowerLayout->addLayout(filters);

    model_ = new DifferenceModel(this);
    filter_ = new DifferenceFilter(this);
    filter_->setSourceModel(model_);
    filter_->setSortRole(Qt::UserRole);
    table_ = new QTableView(lower);
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // the comparison's own order at first
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAccessibleName(texts::kDifferencesName);
    table_->setAccessibleDescription(texts::kDifferencesHint);
    table_->setToolTip(texts::kDifferencesHint);
    lowerLayout->addWidget(table_, 1);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);

    connect(chooseButton_, &QPushButton::clicked, this, [this] {
        runGuarded(messages_, [this] {
            if (chooseCandidate()) compare();
        });
    });
    connect(compareButton_, &QPushButton::clicked, this, &CompareWindow::compare);
    connect(exportButton_, &QPushButton::clicked, this, &CompareWindow::exportComparison);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(candidateFolder_, &QLineEdit::returnPressed, this, &CompareWindow::compare);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(nuclideFilter_, &QComboBox::currentIndexChanged, this, &CompareWindow::refreshFilter);
    connect(tissueFilter_, &QComboBox::currentIndexChanged, this, &CompareWindow::refreshFilter);
    connect(directionFilter_, &QComboBox::currentIndexChanged, this, &CompareWindow::refreshFilter);
    connect(changeFilter_, &QDoubleSpinBox::valueChanged, this, &CompareWindow::refreshFilter);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { showSideBySide(index.row()); });
    auto* enter =
        new QShortcut(QKeySequence(Qt::Key_Return), table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] {
        if (table_->currentIndex().isValid()) showSideBySide(table_->currentIndex().row());
    });
    refreshFilter();
}

void CompareWindow::open() {
    show();
    raise();
    activateWindow();
    if (candidateFolder_->text().isEmpty() && !busy() && chooseCandidate()) compare();
}

QString CompareWindow::summaryText() const {
    return summary_->toPlainText();
}

void CompareWindow::setCandidateFolder(const QString& folder) {
    candidateFolder_->setText(folder);
}

void CompareWindow::setEverything(bool everything) {
    scopeBox_->setCurrentIndex(everything ? 1 : 0);
}

void CompareWindow::setThreshold(double threshold) {
    thresholdBox_->setValue(threshold);
}

bool CompareWindow::chooseCandidate() {
    QString start = candidateFolder_->text();
    if (start.isEmpty()) start = QFileInfo(displayText(setup_.referenceDirectory)).dir().path();
    const QString chosen = setup_.chooseFolder
                               ? setup_.chooseFolder(this, texts::kFolderDialogCaption, start)
                               : QString();
    if (chosen.isEmpty()) return false;
    candidateFolder_->setText(chosen);
    return true;
}

std::string CompareWindow::candidateDirectory() const {
    std::string folder = QFile::encodeName(candidateFolder_->text()).toStdString();
    if (folder.empty() || folder.back() != '/') folder += '/';
    if (!findFileInDirectory(folder, kCatalogueFileName)) {
        const std::string data =
            folder + QFile::encodeName(texts::kDataFolderName).toStdString() + '/';
        if (findFileInDirectory(data, kCatalogueFileName)) return data;
    }
    return folder;
}

void CompareWindow::compare() {
    runGuarded(messages_, [this] {
        if (busy()) return;
        if (candidateFolder_->text().trimmed().isEmpty()) {
            messages_.inform(texts::kNoCandidateMessage);
            return;
        }
        CompareRequest request;
        request.referenceDirectory = setup_.referenceDirectory;
        request.candidateDirectory = candidateDirectory();
        request.scope =
            scopeBox_->currentIndex() == 1 ? CompareScope::Everything : CompareScope::Selection;
        if (request.scope == CompareScope::Selection && setup_.selection)
            request.selection = setup_.selection();
        request.threshold = thresholdBox_->value();
        request.decimalSeparator = setup_.decimalSeparator ? setup_.decimalSeparator() : '.';
        startWorker(std::move(request));
    });
}

void CompareWindow::startWorker(CompareRequest request) {
    cancel_ = false;
    finished_ = false;
    done_ = 0;
    total_ = 0;
    outcome_ = {};
    compareButton_->setEnabled(false);
    chooseButton_->setEnabled(false);
    if (!progress_) {
        progress_ = new QProgressDialog(texts::kProgressText, texts::kCancelButton, 0,
                                        kProgressSteps, this);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(400);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
    }
    progress_->reset();
    progress_->setValue(0);
    worker_ = std::thread([this, request = std::move(request)] {
        try {
            outcome_ = compareDataSets(request, [this](long long done, long long total) {
                done_ = done;
                total_ = total;
                return !cancel_.load();
            });
        } catch (const std::bad_alloc&) {
            outcome_.stopMessage = "Not enough memory to compare the data sets";
            outcome_.inputFault = true;
        } catch (const std::exception& fault) {
            outcome_.stopMessage = fault.what();
            outcome_.inputFault = true;
        }
        finished_ = true;
    });
    poll_->start();
}

void CompareWindow::pollWorker() {
    if (finished_) return finishWorker();
    const long long total = total_;
    if (progress_ && total > 0)
        progress_->setValue(static_cast<int>(done_ * kProgressSteps / total));
}

void CompareWindow::finishWorker() {
    poll_->stop();
    worker_.join();
    if (progress_) progress_->reset();
    compareButton_->setEnabled(true);
    chooseButton_->setEnabled(true);
    const CompareOutcome outcome = std::move(outcome_);
    outcome_ = {};
    if (outcome.cancelled) return;
    if (!outcome.complete) {
        if (outcome.inputFault)
            messages_.error(displayText(outcome.stopMessage));
        else
            messages_.inform(displayText(outcome.stopMessage));
        return;
    }
    comparison_ = outcome.comparison;
    showComparison();
}

void CompareWindow::showComparison() {
    if (sideBySide_) sideBySide_->hide();
    QStringList lines;
    for (const std::string& line : comparisonSummary(*comparison_)) lines << utf8(line);
    summary_->setPlainText(lines.join(u'\n'));
    model_->setComparison(comparison_->reference && comparison_->candidate ? comparison_ : nullptr);
    exportButton_->setEnabled(true);

    const QSignalBlocker nuclides(nuclideFilter_);
    const QSignalBlocker tissues(tissueFilter_);
    nuclideFilter_->clear();
    nuclideFilter_->addItem(texts::kAllItems);
    for (const NuclideComparison& n : comparison_->nuclides)
        if (n.presence == NuclidePresence::Both && n.cells.beyondThreshold() > 0)
            nuclideFilter_->addItem(displayText(n.name));
    tissueFilter_->clear();
    tissueFilter_->addItem(texts::kAllItems, 0);
    if (comparison_->reference) {
        const TableLayout& layout = comparison_->reference->layout();
        for (int r = 1; r <= layout.rowCount(); ++r)
            tissueFilter_->addItem(displayText(layout.rowLabel(r)),
                                   layout.rows[static_cast<std::size_t>(r - 1)]);
    }
    refreshFilter();
    // Long route and scenario texts are cut at a width that leaves the numbers in sight; the
    // whole text is in the cell's hint and in the tables side by side.
    table_->resizeColumnsToContents();
    for (int column = 0; column < kColumnCount; ++column)
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), kWidestColumn));
}

void CompareWindow::refreshFilter() {
    filter_->nuclide.clear();
    if (nuclideFilter_->currentIndex() > 0 && comparison_) {
        // The name as the runs hold it: the n-th nuclide listed in the box.
        int listed = 0;
        for (const NuclideComparison& n : comparison_->nuclides)
            if (n.presence == NuclidePresence::Both && n.cells.beyondThreshold() > 0 &&
                ++listed == nuclideFilter_->currentIndex())
                filter_->nuclide = n.name;
    }
    filter_->tissueRow = tissueFilter_->currentData().toInt();
    filter_->direction = directionFilter_->currentIndex();
    filter_->leastChange = changeFilter_->value();
    filter_->refresh();
    QString text = texts::kShownCount.arg(filter_->rowCount()).arg(model_->rowCount());
    if (comparison_ && comparison_->differencesCapped())
        text += texts::kCappedNote.arg(comparison_->differences.size())
                    .arg(comparison_->cells.beyondThreshold());
    shownCount_->setText(text);
}

void CompareWindow::setNuclideFilter(int index) {
    nuclideFilter_->setCurrentIndex(index);
}
void CompareWindow::setTissueFilter(int index) {
    tissueFilter_->setCurrentIndex(index);
}
void CompareWindow::setDirectionFilter(int index) {
    directionFilter_->setCurrentIndex(index);
}
void CompareWindow::setChangeFilter(double relativeChange) {
    changeFilter_->setValue(relativeChange);
}

int CompareWindow::shownRows() const {
    return filter_->rowCount();
}

const CellDifference* CompareWindow::shownDifference(int row) const {
    const QModelIndex source = filter_->mapToSource(filter_->index(row, 0));
    return source.isValid() ? &model_->cell(source.row()) : nullptr;
}

namespace {

// One side's table as the viewer lays it out: tissues down, in utero, then the post-natal and
// the offspring doses of each period; the cells that differ from the other side marked.
QGroupBox* sideTable(QWidget* parent, const QString& title, const RunResult& run, int table,
                     const RunResult& other, int otherTable, const CellDifference& clicked) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    for (const std::string_view heading : {run.nuclideHeading(table), run.groupHeading(table),
                                           run.scenarioHeading(table), run.routeHeading(table)})
        layout->addWidget(new QLabel(displayText(heading), box));
    const TableLayout& l = run.layout();
    auto* grid = new QTableWidget(l.rowCount(), 2 + 2 * l.periodCount(), box);
    grid->setAccessibleName(title);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    QStringList headings = {texts::kTissueColumn, texts::kInUteroColumn};
    for (int n = 1; n <= l.periodCount(); ++n)
        headings << texts::kPostNatalColumn.arg(displayText(l.periodName(n)));
    for (int n = 1; n <= l.periodCount(); ++n)
        headings << texts::kOffspringColumn.arg(displayText(l.periodName(n)));
    grid->setHorizontalHeaderLabels(headings);
    const char separator = run.decimalSeparator();
    auto put = [&](int r, int column, const std::string& text, const std::string& otherText) {
        auto* item = new QTableWidgetItem(displayText(text));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (doseValue(text, separator) != doseValue(otherText, other.decimalSeparator())) {
            item->setBackground(QColor(255, 236, 150));
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        grid->setItem(r - 1, column, item);
    };
    for (int r = 1; r <= l.rowCount(); ++r) {
        grid->setItem(r - 1, 0, new QTableWidgetItem(displayText(l.rowLabel(r))));
        put(r, 1, run.inUteroText(table, r), other.inUteroText(otherTable, r));
        for (int n = 1; n <= l.periodCount(); ++n) {
            put(r, 1 + n, run.postNatalText(table, r, n), other.postNatalText(otherTable, r, n));
            put(r, 1 + l.periodCount() + n, run.offspringText(table, r, n),
                other.offspringText(otherTable, r, n));
        }
    }
    const int column = clicked.quantity == CellQuantity::InUtero ? 1
                       : clicked.quantity == CellQuantity::PostNatal
                           ? 1 + clicked.period
                           : 1 + l.periodCount() + clicked.period;
    grid->setCurrentCell(clicked.row - 1, column);
    grid->resizeColumnsToContents();
    layout->addWidget(grid, 1);
    return box;
}

}  // namespace

void CompareWindow::showSideBySide(int row) {
    const CellDifference* cell = shownDifference(row);
    if (!cell || !comparison_ || !comparison_->reference || !comparison_->candidate) return;
    runGuarded(messages_, [&] {
        delete sideBySide_;
        sideBySide_ = new QDialog(this, Qt::Window);
        sideBySide_->setWindowTitle(texts::kSideBySideTitle);
        auto* layout = new QHBoxLayout(sideBySide_);
        auto* splitter = new QSplitter(Qt::Horizontal, sideBySide_);
        layout->addWidget(splitter);
        splitter->addWidget(sideTable(sideBySide_, texts::kReferenceTable, *comparison_->reference,
                                      cell->referenceTable, *comparison_->candidate,
                                      cell->candidateTable, *cell));
        splitter->addWidget(sideTable(sideBySide_, texts::kCandidateTable, *comparison_->candidate,
                                      cell->candidateTable, *comparison_->reference,
                                      cell->referenceTable, *cell));
        sideBySide_->resize(1200, 560);
        sideBySide_->show();
        sideBySide_->raise();
    });
}

void CompareWindow::exportComparison() {
    runGuarded(messages_, [this] {
        if (!comparison_ || !setup_.chooseExportTarget) return;
        const std::optional<CompareExportTarget> target = setup_.chooseExportTarget(this);
        if (!target) return;
        const std::string path = QFile::encodeName(target->path).toStdString();
        const BusyCursor busy;
        if (target->format == OutputFormat::Pdf) {
            refuseOutputOverInputs(path, comparisonInputs(*comparison_));
            // A long list takes a while to lay out: progress with Cancel, over this window only.
            QProgressDialog progress(texts::kReportProgressText, texts::kCancelButton, 0,
                                     kProgressSteps, this);
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(400);
            progress.setAutoClose(false);
            progress.setAutoReset(false);
            writeComparisonPdf(path, *comparison_, [&progress](long long done, long long total) {
                progress.setValue(total > 0 ? static_cast<int>(done * kProgressSteps / total) : 0);
                return !progress.wasCanceled();
            });
        } else {
            fetaldose::exportComparison(target->format, path, *comparison_);
        }
    });
}

}  // namespace fetaldose::gui
