#include "gui/results/results_viewer.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "core/refdata/nuclide_data.h"
#include "core/run/run.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/look.h"
#include "gui/app/window_placement.h"
#include "gui/app/window_printer.h"
#include "gui/results/result_grid.h"
#include "gui/results/results_texts.h"
#include "ui_results_viewer.h"

namespace fetaldose::gui {

namespace texts = results_texts;

namespace {

// Design size of the client area and the fixed heights of the top and bottom panels.
constexpr int kDesignWidth = 534;
constexpr int kDesignHeight = 586;
constexpr int kMinimumWidth = 500;
constexpr int kHeaderHeight = 53;
constexpr int kBottomHeight = 64;
// The grids sit at 7, 82 in the window; at design size the post-natal grid is 492 x 400 and
// the offspring grid 490 x 400, and both follow the window's edges from there.
constexpr int kGridLeft = 7;
constexpr int kGridTop = 82;
constexpr int kPostNatalGridRightMargin = kDesignWidth - kGridLeft - 492;
constexpr int kOffspringGridRightMargin = kDesignWidth - kGridLeft - 490;
constexpr int kGridBottomMargin = kDesignHeight - kGridTop - 400;

const QColor kSilver(192, 192, 192);
const QColor kWindowText(0, 0, 0);
const QColor kGreyText(128, 128, 128);
const QColor kBlue(0, 0, 255);

QFont sansSerif(int pixelSize, bool bold = false) {
    QFont face = sansSerifFace({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    return face;
}

void setCaptionColour(QAbstractButton& button, const QColor& colour) {
    QPalette colours = button.palette();
    colours.setColor(QPalette::ButtonText, colour);
    button.setPalette(colours);
}

// A key that presses `button` wherever the focus is in the window; the button's hint names it
// after any hint the button already has.
void addShortcut(QWidget& window, QAbstractButton& button, const QKeySequence& keys) {
    auto* shortcut = new QShortcut(keys, &window);
    QObject::connect(shortcut, &QShortcut::activated, &button, &QAbstractButton::click);
    const QString name = keys.toString(QKeySequence::NativeText);
    const QString hint = button.toolTip();
    button.setToolTip(hint.isEmpty() ? name : hint + QStringLiteral(" (") + name + u')');
}

}  // namespace

ResultsViewer::ResultsViewer(Messages& messages, PrinterProvider& printers, ViewerCommands commands,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      messages_(messages),
      printers_(printers),
      commands_(std::move(commands)) {
    setFont(sansSerif(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kSilver);
    colours.setColor(QPalette::Button, kSilver);
    colours.setColor(QPalette::WindowText, kWindowText);
    colours.setColor(QPalette::ButtonText, kWindowText);
    setPalette(colours);

    buildControls();
    resize(kDesignWidth, kDesignHeight);
    placeControls();
    setMinimumSize(kMinimumWidth, kGridTop + kGridBottomMargin + 3 * 18);
    showInitialState();
    // Centred by its frame at the first showing, no larger than the screen's available area.
    placeAtFirstShowing(*this, [this](const QMargins&) {
        return PlacementWish{size(), true, std::nullopt};
    });
    installTableCommands();
}

// The commands that take the tables elsewhere live only in the grids' context menu and on
// their shortcuts, so that the window's own controls stay as they are. The shortcuts work
// wherever the focus is in the window.
void ResultsViewer::installTableCommands() {
    struct Command {
        const QString& text;
        QKeySequence shortcut;
        const std::function<void()>& run;
    };
    const Command commands[] = {
        {texts::kCopyTableCommand, QKeySequence(Qt::CTRL | Qt::Key_C), commands_.copyTable},
        {texts::kExportTablesCommand, QKeySequence(Qt::CTRL | Qt::Key_E), commands_.exportTables},
        {texts::kPrintTablesCommand, QKeySequence(), commands_.printTables},
        {texts::kChartCommand, QKeySequence(Qt::CTRL | Qt::Key_G), commands_.openChart},
        {texts::kAssessTableCommand, QKeySequence(), commands_.assessTable},
        {texts::kGoToTableCommand, QKeySequence(Qt::CTRL | Qt::Key_T), commands_.goToTable}};
    for (const Command& command : commands) {
        if (!command.run) continue;
        auto* action = new QAction(command.text, this);
        action->setShortcut(command.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this,
                [this, run = command.run] { runGuarded(messages_, [&run] { run(); }); });
        addAction(action);
        for (ResultGrid* grid : {postNatalGrid_, offspringGrid_}) grid->addAction(action);
    }
    for (ResultGrid* grid : {postNatalGrid_, offspringGrid_})
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
}

ResultsViewer::~ResultsViewer() = default;

// The places, captions and hints of the controls are in results_viewer.ui; their faces,
// colours and behaviour are set here. The panels and grids follow the window's size.
void ResultsViewer::buildControls() {
    Ui::ResultsViewer form;
    form.setupUi(this);

    headerPanel_ = form.PnlHeaderInfo;
    nuclideLabel_ = form.lblNuclide;
    groupLabel_ = form.LblOccOrEnv;
    // The header's second line shows the scenario and its third the route, whatever the
    // form's object names of the two lines say.
    scenarioLabel_ = form.LblRoute;
    routeLabel_ = form.LblScenario;
    // The summary reaches the user only through the results file; the label stays hidden.
    summaryLabel_ = form.LblHOrg;
    summaryLabel_->hide();

    gridPanel_ = form.Panel2;
    offspringButton_ = form.SpdBtnOffspring;
    postNatalButton_ = form.SpdBtnPostnatal;
    for (QToolButton* button : gridPanel_->findChildren<QToolButton*>())
        button->setFont(sansSerif(9, true));
    auto* viewPair = new QButtonGroup(this);
    viewPair->setExclusive(true);
    viewPair->addButton(offspringButton_);
    viewPair->addButton(postNatalButton_);
    setCaptionColour(*offspringButton_, kWindowText);
    setCaptionColour(*postNatalButton_, kBlue);

    postNatalGrid_ = form.StrngGrdResultsPartial;
    postNatalGrid_->setTextLook(kBlue, 9);
    offspringGrid_ = form.StrngGrdResultsTotal;
    offspringGrid_->setTextLook(kWindowText, 11);

    commandPanel_ = form.Panel1;
    previousButton_ = form.SpdBtnPrevious;
    nextButton_ = form.SpdBtnNext;
    tableNumberLabel_ = form.LblTCount;
    ofLabel_ = form.Label5;
    tableCountLabel_ = form.LblTTotal;
    printButton_ = form.Button3;
    returnButton_ = form.SpdBtnReturn;
    saveButton_ = form.Button2;
    for (QAbstractButton* button : commandPanel_->findChildren<QAbstractButton*>())
        button->setFont(sansSerif(9, true));
    // Enter must not print or open the save window by surprise.
    for (QPushButton* button : {printButton_, saveButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(nextButton_, &QToolButton::clicked, this, &ResultsViewer::showNextTable);
    connect(previousButton_, &QToolButton::clicked, this, &ResultsViewer::showPreviousTable);
    connect(returnButton_, &QToolButton::clicked, this, &ResultsViewer::returnToInput);
    connect(postNatalButton_, &QToolButton::clicked, this, &ResultsViewer::showPostNatalView);
    connect(offspringButton_, &QToolButton::clicked, this, &ResultsViewer::showOffspringView);
    connect(saveButton_, &QPushButton::clicked, this, &ResultsViewer::saveToFile);
    connect(printButton_, &QPushButton::clicked, this, &ResultsViewer::print);

    // The flat buttons take no focus; these keys press them, and the others, from the keyboard.
    addShortcut(*this, *nextButton_, QKeySequence(Qt::Key_PageDown));
    addShortcut(*this, *previousButton_, QKeySequence(Qt::Key_PageUp));
    addShortcut(*this, *saveButton_, QKeySequence(Qt::CTRL | Qt::Key_S));
    addShortcut(*this, *printButton_, QKeySequence(Qt::CTRL | Qt::Key_P));
    addShortcut(*this, *returnButton_, QKeySequence(Qt::ALT | Qt::Key_R));
}

void ResultsViewer::showInitialState() {
    // Both grids are 9 x 19 by construction; before any run only the offspring grid's
    // top-left cell holds a blank.
    offspringGrid_->setCell(0, 0, kBlankCell);
    bringViewToFront(false);
    setPreviousAvailable(false);
    setNextAvailable(false);
}

void ResultsViewer::placeControls() {
    const int width = this->width();
    const int height = this->height();
    const int middleHeight = std::max(0, height - kHeaderHeight - kBottomHeight);
    headerPanel_->setGeometry(0, 0, width, kHeaderHeight);
    gridPanel_->setGeometry(0, kHeaderHeight, width, middleHeight);
    commandPanel_->setGeometry(0, height - kBottomHeight, width, kBottomHeight);
    const int gridTop = kGridTop - kHeaderHeight;
    const int gridHeight = std::max(0, height - kGridTop - kGridBottomMargin);
    postNatalGrid_->setGeometry(
        kGridLeft, gridTop, std::max(0, width - kGridLeft - kPostNatalGridRightMargin), gridHeight);
    offspringGrid_->setGeometry(
        kGridLeft, gridTop, std::max(0, width - kGridLeft - kOffspringGridRightMargin), gridHeight);
}

void ResultsViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeControls();
}

void ResultsViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred by the dialog at its first showing; from then on every showing keeps the
    // place the window last had.
    setAttribute(Qt::WA_Moved, true);
}

NuclideData& ResultsViewer::runScratch() {
    if (!runScratch_) runScratch_ = std::make_unique<NuclideData>();
    return *runScratch_;
}

void ResultsViewer::setRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
}

void ResultsViewer::layOutGrids(const RunCheck& check) {
    if (check.stage == GridStage::Untouched) return;
    setPreviousAvailable(false);
    setNextAvailable(false);
    for (ResultGrid* grid : {postNatalGrid_, offspringGrid_}) {
        ResultGridModel& cells = grid->cells();
        for (int row = 0; row < ResultGrid::kRows; ++row)
            for (int column = 0; column < ResultGrid::kColumns; ++column)
                cells.setCellQuietly(column, row, kBlankCell);
        if (check.stage == GridStage::RowLabelsWritten || check.stage == GridStage::LaidOut) {
            const int rows = std::min(check.layout.rowCount(), ResultGrid::kRows - 1);
            for (int row = 1; row <= rows; ++row)
                cells.setCellQuietly(0, row, displayText(check.layout.rowLabel(row)));
        }
        if (check.stage == GridStage::LaidOut) {
            const int periods = std::min(check.layout.periodCount(), ResultGrid::kColumns - 4);
            for (int period = 1; period <= periods; ++period)
                cells.setCellQuietly(period + 3, 0,
                                     displayText(check.layout.periodHeading(period)));
        }
        cells.changed();
    }
}

void ResultsViewer::setPreviousAvailable(bool available) {
    previousAvailable_ = available;
    setCaptionColour(*previousButton_, available ? kWindowText : kGreyText);
}

void ResultsViewer::setNextAvailable(bool available) {
    nextAvailable_ = available;
    setCaptionColour(*nextButton_, available ? kWindowText : kGreyText);
}

// "Table n of N" keeps its design places, 186, 208 and 230, while the numbers fit; a longer
// table number moves "of" and the total along rather than writing over them.
void ResultsViewer::placeCounter() {
    constexpr int kGap = 4;
    const QFontMetrics metrics(tableNumberLabel_->font());
    const int countWidth = metrics.horizontalAdvance(tableNumberLabel_->text());
    const int totalWidth = metrics.horizontalAdvance(tableCountLabel_->text());
    const int ofWidth = metrics.horizontalAdvance(ofLabel_->text());
    const int ofLeft = std::max(208, 186 + countWidth + kGap);
    const int totalLeft = std::max(230, ofLeft + ofWidth + kGap);
    tableNumberLabel_->setGeometry(186, 22, std::max(22, countWidth + 2),
                                   tableNumberLabel_->height());
    ofLabel_->setGeometry(ofLeft, 22, ofWidth + 2, ofLabel_->height());
    tableCountLabel_->setGeometry(totalLeft, 22, std::max(36, totalWidth + 2),
                                  tableCountLabel_->height());
}

void ResultsViewer::showTable(int table) {
    tableCountLabel_->setText(QString::number(tableCount()));
    tableNumberLabel_->setText(QString::number(table));
    placeCounter();

    // With no table of this run (Table 1 of 0) the header and the dose cells stay blank,
    // so nothing of an older run is shown as if it were this run's.
    const RunResult* run = run_.get();
    const bool present = run && run->hasTable(table);
    using Heading = std::string_view (RunResult::*)(int) const;
    auto heading = [&](Heading field) {
        return present ? displayText((run->*field)(table)) : QString();
    };
    nuclideLabel_->setText(heading(&RunResult::nuclideHeading));
    groupLabel_->setText(heading(&RunResult::groupHeading));
    // The second line shows the scenario and the third the route.
    scenarioLabel_->setText(heading(&RunResult::scenarioHeading));
    routeLabel_->setText(heading(&RunResult::routeHeading));
    summaryLabel_->setText(present ? displayText(run->summary(table)) : QString());

    ResultGridModel& postNatal = postNatalGrid_->cells();
    ResultGridModel& offspring = offspringGrid_->cells();
    const int rows = run ? std::clamp(run->layout().rowCount(), 0, ResultGrid::kRows - 1) : 0;
    const int periods =
        run ? std::clamp(run->layout().periodCount(), 0, ResultGrid::kColumns - 4) : 0;
    for (int row = 1; row <= rows; ++row) {
        const QString inUtero = present ? displayText(run->inUteroText(table, row)) : kBlankCell;
        postNatal.setCellQuietly(2, row, inUtero);
        offspring.setCellQuietly(2, row, inUtero);
        for (int period = 1; period <= periods; ++period) {
            postNatal.setCellQuietly(
                period + 3, row,
                present ? displayText(run->postNatalText(table, row, period)) : kBlankCell);
            offspring.setCellQuietly(
                period + 3, row,
                present ? displayText(run->offspringText(table, row, period)) : kBlankCell);
        }
    }
    postNatal.changed();
    offspring.changed();
    if (commands_.tableShown) commands_.tableShown(table);
}

// The window is shown once for the whole viewing: "Next", "Previous" and the view buttons change
// it in place. Only "Return to input" (or the program's end) closes it; a close request of any
// other kind is refused in reject(), and should the window be hidden some other way it is
// shown again at once, in the same place, with the table it held.
void ResultsViewer::viewingLoop() {
    returnToInput_ = false;
    currentTable_ = 1;
    showTable(currentTable_);
    do {
        exec();
    } while (!returnToInput_ && !commands_.quitting());  // a quit ends every modal loop
}

void ResultsViewer::showNextTable() {
    const int tableCount = this->tableCount();
    if (currentTable_ < tableCount) {
        ++currentTable_;
        if (currentTable_ == tableCount) {
            setNextAvailable(false);
            setPreviousAvailable(true);
        } else {
            setNextAvailable(true);
            setPreviousAvailable(true);
        }
    }
    // On the last table the same table is written again, as a page turn always does.
    showTable(currentTable_);
}

void ResultsViewer::showPreviousTable() {
    if (currentTable_ > 1) {
        --currentTable_;
        setPreviousAvailable(currentTable_ != 1);
        setNextAvailable(true);
    }
    showTable(currentTable_);
}

void ResultsViewer::goToTable(int table) {
    if (!run_ || !run_->hasTable(table)) return;
    currentTable_ = table;
    setPreviousAvailable(table > 1);
    setNextAvailable(table < tableCount());
    showTable(currentTable_);
}

// Escape and the window manager's close box: the window stays as it is.
void ResultsViewer::reject() {
    if (returnToInput_ || commands_.quitting()) QDialog::reject();
}

void ResultsViewer::returnToInput() {
    returnToInput_ = true;
    accept();
}

void ResultsViewer::showPostNatalView() {
    bringViewToFront(true);
}

void ResultsViewer::showOffspringView() {
    bringViewToFront(false);
}

void ResultsViewer::bringViewToFront(bool postNatal) {
    ResultGrid* front = postNatal ? postNatalGrid_ : offspringGrid_;
    ResultGrid* back = postNatal ? offspringGrid_ : postNatalGrid_;
    // The grid behind is hidden too, so that it is not presented as visible.
    front->show();
    front->raise();
    back->hide();
    postNatalInFront_ = postNatal;
    // The pressed button is the one of the view that is not on show.
    (postNatal ? offspringButton_ : postNatalButton_)->setChecked(true);
    setCaptionColour(*offspringButton_, kWindowText);
    setCaptionColour(*postNatalButton_, kBlue);
}

void ResultsViewer::saveToFile() {
    commands_.saveToFile();
    // The keys go on working once the save window has closed.
    activateWindow();
}

void ResultsViewer::print() {
    runGuarded(messages_, [this] { printWindow(*this, PrintScale::FitToPage, printers_); });
}

}  // namespace fetaldose::gui
