#include "gui/charts/chart_window.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "core/charts/chart_texts.h"
#include "core/textio/faults.h"
#include "gui/app/display_text.h"
#include "gui/app/save_dialog.h"
#include "gui/app/window_placement.h"
#include "gui/charts/chart_canvas.h"
#include "gui/charts/chart_drawing.h"
#include "gui/charts/chart_window_texts.h"

namespace fetaldose::gui {

namespace {

using charts::ChartKind;
using charts::DoseView;

// A run of up to this many rows starts with them all drawn; a longer one with its first rows and
// its last (the effective dose), and the chart names the others.
constexpr int kDefaultLines = 6;
constexpr int kControlsWidth = 290;

QLabel* buddyLabel(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(QString::fromUtf8(texts::kChartWindowTitle));
    message_ = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    buildControls();
    fillLayoutControls();
    updateControlStates();
    resize(1000, 660);
    // Centred by its frame at the first showing, with or without a window manager, and no
    // larger than the screen's available area.
    placeAtFirstShowing(*this, [this](const QMargins&) {
        return PlacementWish{size(), true, std::nullopt};
    });
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::buildControls() {
    kindBox_ = new QComboBox;
    kindBox_->setObjectName(QStringLiteral("chartKindBox"));
    kindBox_->addItem(QString::fromUtf8(texts::kByIntakeTime),
                      static_cast<int>(ChartKind::DoseByIntakeTime));
    kindBox_->addItem(QString::fromUtf8(texts::kByPeriod),
                      static_cast<int>(ChartKind::DoseByPeriod));
    kindBox_->addItem(QString::fromUtf8(texts::kByNuclide),
                      static_cast<int>(ChartKind::DoseByNuclide));

    doseBox_ = new QComboBox;
    doseBox_->setObjectName(QStringLiteral("doseBox"));
    doseBox_->addItem(displayText(charts::texts::kOffspringDose),
                      static_cast<int>(DoseView::Offspring));
    doseBox_->addItem(displayText(charts::texts::kInUteroDose),
                      static_cast<int>(DoseView::InUtero));
    doseBox_->addItem(displayText(charts::texts::kPostNatalDose),
                      static_cast<int>(DoseView::PostNatal));

    periodBox_ = new QComboBox;
    periodBox_->setObjectName(QStringLiteral("periodBox"));

    tissueList_ = new QListWidget;
    tissueList_->setObjectName(QStringLiteral("tissueList"));
    barTissueBox_ = new QComboBox;
    barTissueBox_->setObjectName(QStringLiteral("barTissueBox"));
    scaleBox_ = new QComboBox;
    scaleBox_->setObjectName(QStringLiteral("doseScaleBox"));
    scaleBox_->addItem(QString::fromUtf8(texts::kLogarithmicScale),
                       static_cast<int>(charts::DoseScale::Logarithmic));
    scaleBox_->addItem(QString::fromUtf8(texts::kLinearScale),
                       static_cast<int>(charts::DoseScale::Linear));

    auto* controls = new QVBoxLayout;
    controls->addWidget(buddyLabel(texts::kChartKindLabel, kindBox_));
    controls->addWidget(kindBox_);
    controls->addWidget(buddyLabel(texts::kDoseLabel, doseBox_));
    controls->addWidget(doseBox_);
    controls->addWidget(buddyLabel(texts::kPeriodLabel, periodBox_));
    controls->addWidget(periodBox_);
    controls->addWidget(buddyLabel(texts::kScaleLabel, scaleBox_));
    controls->addWidget(scaleBox_);
    barTissueLabel_ = buddyLabel(texts::kTissueLabel, barTissueBox_);
    controls->addWidget(barTissueLabel_);
    controls->addWidget(barTissueBox_);
    tissuesLabel_ = buddyLabel(texts::kTissuesLabel, tissueList_);
    controls->addWidget(tissuesLabel_);
    controls->addWidget(tissueList_, 1);
    controls->addStretch(0);  // keeps the boxes together while the list is hidden
    auto* controlsPanel = new QWidget;
    controlsPanel->setLayout(controls);
    controlsPanel->setFixedWidth(kControlsWidth);

    canvas_ = new ChartCanvas;
    canvas_->setObjectName(QStringLiteral("chartView"));
    canvas_->setAccessibleName(QString::fromUtf8(texts::kChartViewName));
    canvas_->setHoverFunction(
        [this](int series, int category, bool entered) { showHover(series, category, entered); });
    // Below the size at which its texts fit, the chart scrolls rather than squeeze them.
    chartScroll_ = new QScrollArea;
    chartScroll_->setObjectName(QStringLiteral("chartScroll"));
    chartScroll_->setWidgetResizable(true);
    chartScroll_->setFrameShape(QFrame::NoFrame);
    chartScroll_->setWidget(canvas_);
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("chartNote"));
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    valuesTable_ = new QTableWidget;
    valuesTable_->setObjectName(QStringLiteral("valuesTable"));
    valuesTable_->setAccessibleName(QString::fromUtf8(texts::kValuesTableName));
    valuesTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    valuesTable_->verticalHeader()->setVisible(false);
    // What the values are of, as the chart's title says it.
    valuesCaption_ = new QLabel;
    valuesCaption_->setObjectName(QStringLiteral("valuesCaption"));
    valuesCaption_->setWordWrap(true);
    valuesCaption_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    valuesCaption_->setBuddy(valuesTable_);
    copyValuesButton_ = new QPushButton(QString::fromUtf8(texts::kCopyValues));
    copyValuesButton_->setObjectName(QStringLiteral("copyValuesButton"));
    exportValuesButton_ = new QPushButton(QString::fromUtf8(texts::kExportValues));
    exportValuesButton_->setObjectName(QStringLiteral("exportValuesButton"));
    // The table's own copy key and context menu give the same commands.
    auto* copyAction = new QAction(QString::fromUtf8(texts::kCopyValues), valuesTable_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetShortcut);
    auto* exportAction = new QAction(QString::fromUtf8(texts::kExportValues), valuesTable_);
    valuesTable_->addAction(copyAction);
    valuesTable_->addAction(exportAction);
    valuesTable_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copyAction, &QAction::triggered, this, &ChartWindow::copyValues);
    connect(exportAction, &QAction::triggered, this, &ChartWindow::saveValuesAs);
    auto* valueButtons = new QHBoxLayout;
    valueButtons->addWidget(copyValuesButton_);
    valueButtons->addWidget(exportValuesButton_);
    valueButtons->addStretch(1);
    auto* valuesPage = new QWidget;
    auto* valuesLayout = new QVBoxLayout(valuesPage);
    valuesLayout->addWidget(valuesCaption_);
    valuesLayout->addWidget(valuesTable_, 1);
    valuesLayout->addWidget(note_);  // the chart carries its notes; the values repeat them
    valuesLayout->addLayout(valueButtons);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("chartTabs"));
    tabs_->addTab(chartScroll_, QString::fromUtf8(texts::kChartTab));
    tabs_->addTab(valuesPage, QString::fromUtf8(texts::kValuesTab));

    saveButton_ = new QPushButton(QString::fromUtf8(texts::kSaveImage));
    saveButton_->setObjectName(QStringLiteral("saveImageButton"));
    copyButton_ = new QPushButton(QString::fromUtf8(texts::kCopyImage));
    copyButton_->setObjectName(QStringLiteral("copyImageButton"));
    auto* closeButton = new QPushButton(QString::fromUtf8(texts::kClose));
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(copyButton_);
    buttons->addWidget(closeButton);

    auto* right = new QVBoxLayout;
    right->addWidget(tabs_, 1);
    right->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addWidget(controlsPanel);
    main->addLayout(right, 1);

    const auto changed = [this] {
        updateControlStates();
        rebuild();
    };
    connect(kindBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(doseBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(periodBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(barTissueBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(scaleBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(copyValuesButton_, &QPushButton::clicked, this, &ChartWindow::copyValues);
    connect(exportValuesButton_, &QPushButton::clicked, this, &ChartWindow::saveValuesAs);
    connect(tissueList_, &QListWidget::itemChanged, this, changed);
    connect(saveButton_, &QPushButton::clicked, this, &ChartWindow::saveImageAs);
    connect(copyButton_, &QPushButton::clicked, this, &ChartWindow::copyImage);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void ChartWindow::setRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    fillLayoutControls();
    rebuild();
}

// Fills the tissue and period choices from the run's labels, keeping earlier choices whose
// labels the run still has.
void ChartWindow::fillLayoutControls() {
    QStringList checked;
    for (int i = 0; i < tissueList_->count(); ++i)
        if (tissueList_->item(i)->checkState() == Qt::Checked)
            checked << tissueList_->item(i)->text();
    const QString barTissue = barTissueBox_->currentText();
    const QString period = periodBox_->currentText();

    const QSignalBlocker blockList(tissueList_);
    const QSignalBlocker blockBar(barTissueBox_);
    const QSignalBlocker blockPeriod(periodBox_);
    tissueList_->clear();
    barTissueBox_->clear();
    periodBox_->clear();

    const TableLayout noLayout;
    const TableLayout& layout = run_ ? run_->layout() : noLayout;
    const int rows = layout.rowCount();
    bool anyKept = false;
    for (int r = 1; r <= rows; ++r) {
        const QString label = displayText(layout.rowLabel(r));
        auto* item = new QListWidgetItem(label, tissueList_);
        item->setData(Qt::UserRole, r);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool kept = checked.contains(label);
        anyKept = anyKept || kept;
        item->setCheckState(kept ? Qt::Checked : Qt::Unchecked);
        barTissueBox_->addItem(label, r);
    }
    if (!anyKept)
        for (int r = 1; r <= rows; ++r)
            if (rows <= kDefaultLines || r < kDefaultLines || r == rows)
                tissueList_->item(r - 1)->setCheckState(Qt::Checked);
    const int barIndex = barTissueBox_->findText(barTissue);
    barTissueBox_->setCurrentIndex(barIndex >= 0 ? barIndex : rows - 1);

    const int periods = layout.periodCount();
    for (int n = 1; n <= periods; ++n) periodBox_->addItem(displayText(layout.periodName(n)), n);
    const int periodIndex = periodBox_->findText(period);
    periodBox_->setCurrentIndex(periodIndex >= 0 ? periodIndex : periods - 1);
}

void ChartWindow::updateControlStates() {
    const ChartKind kind = chartKind();
    const bool bars = kind == ChartKind::DoseByNuclide;
    const bool byPeriod = kind == ChartKind::DoseByPeriod;
    doseBox_->setEnabled(!byPeriod);
    periodBox_->setEnabled(!byPeriod && static_cast<DoseView>(doseBox_->currentData().toInt()) !=
                                            DoseView::InUtero);
    tissuesLabel_->setVisible(!bars);
    tissueList_->setVisible(!bars);
    barTissueLabel_->setVisible(bars);
    barTissueBox_->setVisible(bars);
}

void ChartWindow::showForTable(int slot) {
    slot_ = slot;
    rebuild();
}

void ChartWindow::setChartKind(ChartKind kind) {
    kindBox_->setCurrentIndex(kindBox_->findData(static_cast<int>(kind)));
}

ChartKind ChartWindow::chartKind() const {
    return static_cast<ChartKind>(kindBox_->currentData().toInt());
}

void ChartWindow::setDose(DoseView dose, int period) {
    {
        const QSignalBlocker block(doseBox_);
        doseBox_->setCurrentIndex(doseBox_->findData(static_cast<int>(dose)));
    }
    const int index = periodBox_->findData(period);
    if (index >= 0 && index != periodBox_->currentIndex())
        periodBox_->setCurrentIndex(index);  // redraws
    else {
        updateControlStates();
        rebuild();
    }
}

void ChartWindow::setDoseScale(charts::DoseScale scale) {
    scaleBox_->setCurrentIndex(scaleBox_->findData(static_cast<int>(scale)));
}

void ChartWindow::setTissues(const std::vector<int>& rows, int barRow) {
    {
        const QSignalBlocker blockList(tissueList_);
        const QSignalBlocker blockBar(barTissueBox_);
        for (int i = 0; i < tissueList_->count(); ++i) {
            const bool chosen = std::find(rows.begin(), rows.end(), i + 1) != rows.end();
            tissueList_->item(i)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
        }
        barTissueBox_->setCurrentIndex(barTissueBox_->findData(barRow));
    }
    rebuild();
}

charts::ChartRequest ChartWindow::request() const {
    charts::ChartRequest request;
    request.kind = chartKind();
    request.slot = slot_;
    if (request.kind == ChartKind::DoseByNuclide) {
        if (barTissueBox_->currentIndex() >= 0)
            request.rows.push_back(barTissueBox_->currentData().toInt());
    } else {
        for (int i = 0; i < tissueList_->count(); ++i)
            if (tissueList_->item(i)->checkState() == Qt::Checked)
                request.rows.push_back(tissueList_->item(i)->data(Qt::UserRole).toInt());
    }
    request.dose = static_cast<DoseView>(doseBox_->currentData().toInt());
    request.period = periodBox_->currentIndex() >= 0 ? periodBox_->currentData().toInt() : 1;
    request.scale = static_cast<charts::DoseScale>(scaleBox_->currentData().toInt());
    return request;
}

void ChartWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) rebuild();
}

// Works the chart out again and redraws it; a hidden window only remembers to.
void ChartWindow::rebuild() {
    if (isVisible())
        redraw();
    else
        stale_ = true;
}

void ChartWindow::redraw() {
    stale_ = false;
    data_ = charts::buildChart(run_.get(), request());
    canvas_->setChart(&data_);
    hoverText_.clear();
    const QString notes = noteText();
    note_->setText(notes);
    note_->setVisible(!notes.isEmpty());
    QString description = displayText(data_.title);
    if (!data_.subtitle.empty()) description += QLatin1Char('\n') + displayText(data_.subtitle);
    if (!notes.isEmpty()) description += QLatin1Char('\n') + notes;
    canvas_->setAccessibleDescription(description);
    fillValuesTable();
}

QString ChartWindow::noteText() const {
    QStringList lines;
    for (const std::string& note : data_.notes) lines << displayText(note);
    return lines.join(QLatin1Char('\n'));
}

// The plotted values for reading: a row per category, a column per series, each value as the
// tables give it.
void ChartWindow::fillValuesTable() {
    const int rows = static_cast<int>(data_.categories.size());
    const int columns = 1 + static_cast<int>(data_.series.size());
    QString caption = displayText(data_.title);
    if (!data_.subtitle.empty()) caption += QLatin1Char('\n') + displayText(data_.subtitle);
    valuesCaption_->setText(caption);
    valuesTable_->setAccessibleDescription(caption);
    valuesTable_->clear();
    valuesTable_->setRowCount(rows);
    valuesTable_->setColumnCount(columns);
    QStringList headings{displayText(data_.xTitle)};
    for (const charts::ChartSeries& series : data_.series) headings << displayText(series.name);
    valuesTable_->setHorizontalHeaderLabels(headings);
    for (int r = 0; r < rows; ++r)
        valuesTable_->setItem(r, 0, new QTableWidgetItem(displayText(data_.categories[r])));
    for (int s = 0; s < columns - 1; ++s)
        for (const charts::ChartPoint& point : data_.series[s].points) {
            QString text = displayText(point.text);
            if (!point.drawn || point.category >= data_.drawnCategories)
                text += QString::fromUtf8(texts::kNotDrawnMark);
            valuesTable_->setItem(point.category, s + 1, new QTableWidgetItem(text));
        }
    valuesTable_->resizeColumnsToContents();
}

void ChartWindow::showHover(int seriesIndex, int category, bool entered) {
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    if (seriesIndex < 0 || seriesIndex >= static_cast<int>(data_.series.size())) return;
    const charts::ChartSeries& series = data_.series[seriesIndex];
    for (const charts::ChartPoint& point : series.points)
        if (point.category == category) {
            hoverText_ = displayText(charts::pointText(data_, series, point));
            QToolTip::showText(QCursor::pos(), hoverText_, canvas_);
            return;
        }
}

QImage ChartWindow::chartImage() const {
    return canvas_->image();
}

QSize ChartWindow::chartSize() const {
    return canvas_->size();
}

// Asks the save check about an output name; false, with the reason said, when it refuses.
bool ChartWindow::checkOutput(const QString& path) {
    if (!saveCheck_) return true;
    try {
        saveCheck_(path.toLocal8Bit().toStdString());
    } catch (const Fault& fault) {
        message_(displayText(fault.what()));
        return false;
    }
    return true;
}

bool ChartWindow::saveImage(const QString& path) {
    if (!checkOutput(path)) return false;
    if (stale_) redraw();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(chartSize());
        svg.setViewBox(QRect(QPoint(0, 0), chartSize()));
        svg.setTitle(windowTitle());
        svg.setDescription(displayText(data_.title));
        canvas_->paintOn(svg);
    } else {
        chartImage().save(&buffer, "PNG");
    }
    buffer.close();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        message_(QString::fromUtf8(texts::kCannotWriteImage)
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

QString ChartWindow::valuesText() const {
    QStringList lines{displayText(data_.title)};
    if (!data_.subtitle.empty()) lines << displayText(data_.subtitle);
    for (int r = -1; r < valuesTable_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < valuesTable_->columnCount(); ++c) {
            const QTableWidgetItem* item =
                r < 0 ? valuesTable_->horizontalHeaderItem(c) : valuesTable_->item(r, c);
            cells << (item ? item->text() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void ChartWindow::copyValues() {
    if (stale_) redraw();
    QGuiApplication::clipboard()->setText(valuesText());
}

bool ChartWindow::saveValues(const QString& path) {
    if (!checkOutput(path)) return false;
    if (stale_) redraw();
    try {
        charts::writeValuesCsv(path.toLocal8Bit().toStdString(), data_);
    } catch (const Fault& fault) {
        message_(displayText(fault.what()));
        return false;
    }
    return true;
}

void ChartWindow::saveValuesAs() {
    const auto choice = askSaveFile(this, QString::fromUtf8(texts::kExportValuesCaption),
                                    {{QString::fromUtf8(texts::kCsvFilter), QStringLiteral("csv")}},
                                    QString::fromUtf8(texts::kDefaultValuesName));
    if (choice) saveValues(choice->path);
}

void ChartWindow::copyImage() {
    QGuiApplication::clipboard()->setImage(chartImage());
}

void ChartWindow::setMessageFunction(std::function<void(const QString&)> message) {
    message_ = std::move(message);
}

void ChartWindow::setSaveCheck(std::function<void(const std::string&)> check) {
    saveCheck_ = std::move(check);
}

void ChartWindow::saveImageAs() {
    const auto choice = askSaveFile(this, QString::fromUtf8(texts::kSaveImageCaption),
                                    {{QString::fromUtf8(texts::kPngFilter), QStringLiteral("png")},
                                     {QString::fromUtf8(texts::kSvgFilter), QStringLiteral("svg")}},
                                    QString::fromUtf8(texts::kDefaultImageName));
    if (choice) saveImage(choice->path);
}

}  // namespace fetaldose::gui
