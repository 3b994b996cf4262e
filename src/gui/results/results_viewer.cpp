#include "gui/results/results_viewer.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>

#include "core/refdata/nuclide_data.h"
#include "core/run/labels.h"
#include "core/run/run.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/window_set.h"
#include "gui/filewin/file_chooser.h"
#include "gui/results/result_grid.h"
#include "gui/results/results_texts.h"
#include "gui/results/window_printer.h"

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

QFont SansSerif(int pixelSize, bool bold = false) {
    QFont face;
    face.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    face.setStyleHint(QFont::SansSerif);
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    return face;
}

void SetCaptionColour(QAbstractButton& button, const QColor& colour) {
    QPalette colours = button.palette();
    colours.setColor(QPalette::ButtonText, colour);
    button.setPalette(colours);
}

QFrame* MakePanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width,
                  const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(left, top, width, 14);
    return label;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QRect& place,
                             const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setGeometry(place);
    button->setFont(SansSerif(9, true));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place,
                        const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setFont(SansSerif(9, true));
    // Enter must not print or open the save window by surprise.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QString FromBytes(std::string_view text) {
    return displayText(text);
}

}  // namespace

TFrmDemo2::TFrmDemo2(WindowSet& windows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      windows_(windows) {
    setObjectName(QStringLiteral("FrmDemo2"));
    setWindowTitle(texts::kViewerCaption);
    setSizeGripEnabled(false);
    setFont(SansSerif(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kSilver);
    colours.setColor(QPalette::Button, kSilver);
    colours.setColor(QPalette::WindowText, kWindowText);
    colours.setColor(QPalette::ButtonText, kWindowText);
    setPalette(colours);
    setAutoFillBackground(true);

    BuildControls();
    resize(kDesignWidth, kDesignHeight);
    PlaceControls();
    setMinimumSize(kMinimumWidth, kGridTop + kGridBottomMargin + 3 * 18);
    FormCreate();
}

TFrmDemo2::~TFrmDemo2() = default;

void TFrmDemo2::BuildControls() {
    pnlHeaderInfo_ = MakePanel(this, "PnlHeaderInfo");
    lblNuclide_ = MakeLabel(pnlHeaderInfo_, "lblNuclide", 15, 7, 288);
    lblOccOrEnv_ = MakeLabel(pnlHeaderInfo_, "LblOccOrEnv", 305, 7, kDesignWidth - 310);
    lblRoute_ = MakeLabel(pnlHeaderInfo_, "LblRoute", 15, 22, kDesignWidth - 30);
    lblScenario_ = MakeLabel(pnlHeaderInfo_, "LblScenario", 15, 37, kDesignWidth - 30);
    // The summary reaches the user only through the results file; the label stays hidden.
    lblHOrg_ = MakeLabel(pnlHeaderInfo_, "LblHOrg", 15, 52, kDesignWidth - 30);
    lblHOrg_->setToolTip(texts::kSummaryHint);
    lblHOrg_->hide();

    panel2_ = MakePanel(this, "Panel2");
    MakeSpeedButton(panel2_, "SpeedButton2", {7, 5, 81, 20}, texts::kTissueHeading);
    MakeSpeedButton(panel2_, "SpeedButton1", {120, 5, 46, 20}, texts::kInUteroHeading);
    spdBtnOffspring_ =
        MakeSpeedButton(panel2_, "SpdBtnOffspring", {186, 5, 116, 20}, texts::kOffspringView);
    spdBtnOffspring_->setToolTip(texts::kOffspringHint);
    spdBtnPostnatal_ =
        MakeSpeedButton(panel2_, "SpdBtnPostnatal", {301, 5, 116, 20}, texts::kPostnatalView);
    spdBtnPostnatal_->setToolTip(texts::kPostnatalHint);
    for (QToolButton* button : {spdBtnOffspring_, spdBtnPostnatal_}) button->setCheckable(true);
    auto* viewPair = new QButtonGroup(this);
    viewPair->setExclusive(true);
    viewPair->addButton(spdBtnOffspring_);
    viewPair->addButton(spdBtnPostnatal_);
    SetCaptionColour(*spdBtnOffspring_, kWindowText);
    SetCaptionColour(*spdBtnPostnatal_, kBlue);

    postNatalGrid_ = new ResultGrid(panel2_);
    postNatalGrid_->setObjectName(QStringLiteral("StrngGrdResultsPartial"));
    postNatalGrid_->setAccessibleName(texts::kPostnatalView);
    postNatalGrid_->SetTextLook(kBlue, 9);
    offspringGrid_ = new ResultGrid(panel2_);
    offspringGrid_->setObjectName(QStringLiteral("StrngGrdResultsTotal"));
    offspringGrid_->setAccessibleName(texts::kOffspringView);
    offspringGrid_->SetTextLook(kWindowText, 11);

    panel1_ = MakePanel(this, "Panel1");
    spdBtnPrevious_ =
        MakeSpeedButton(panel1_, "SpdBtnPrevious", {15, 15, 58, 25}, texts::kPrevious);
    spdBtnNext_ = MakeSpeedButton(panel1_, "SpdBtnNext", {74, 15, 61, 25}, texts::kNext);
    MakeLabel(panel1_, "Label3", 156, 22, 28, texts::kTable);
    lblTCount_ = MakeLabel(panel1_, "LblTCount", 186, 22, 22);
    label5_ = MakeLabel(panel1_, "Label5", 208, 22, 20, texts::kOf);
    lblTTotal_ = MakeLabel(panel1_, "LblTTotal", 230, 22, 36);
    button3_ = MakeButton(panel1_, "Button3", {267, 22, 70, 24}, texts::kPrint);
    button3_->setToolTip(texts::kPrintHint);
    spdBtnReturn_ =
        MakeSpeedButton(panel1_, "SpdBtnReturn", {349, 5, 90, 25}, texts::kReturnToInput);
    button2_ = MakeButton(panel1_, "Button2", {350, 34, 90, 25}, texts::kSaveToFile);

    connect(spdBtnNext_, &QToolButton::clicked, this, &TFrmDemo2::SpdBtnNextClick);
    connect(spdBtnPrevious_, &QToolButton::clicked, this, &TFrmDemo2::SpdBtnPreviousClick);
    connect(spdBtnReturn_, &QToolButton::clicked, this, &TFrmDemo2::SpdBtnReturnClick);
    connect(spdBtnPostnatal_, &QToolButton::clicked, this, &TFrmDemo2::SpdBtnPostnatalClick);
    connect(spdBtnOffspring_, &QToolButton::clicked, this, &TFrmDemo2::SpdBtnOffspringClick);
    connect(button2_, &QPushButton::clicked, this, &TFrmDemo2::Button2Click);
    connect(button3_, &QPushButton::clicked, this, &TFrmDemo2::Button3Click);
}

void TFrmDemo2::FormCreate() {
    // Both grids are 9 x 19 by construction; before any run only the offspring grid's
    // top-left cell holds a blank.
    offspringGrid_->SetCell(0, 0, texts::kBlankCell);
    BringViewToFront(false);
    SetPreviousAvailable(false);
    SetNextAvailable(false);
}

void TFrmDemo2::PlaceControls() {
    const int width = this->width();
    const int height = this->height();
    const int middleHeight = std::max(0, height - kHeaderHeight - kBottomHeight);
    pnlHeaderInfo_->setGeometry(0, 0, width, kHeaderHeight);
    panel2_->setGeometry(0, kHeaderHeight, width, middleHeight);
    panel1_->setGeometry(0, height - kBottomHeight, width, kBottomHeight);
    const int gridTop = kGridTop - kHeaderHeight;
    const int gridHeight = std::max(0, height - kGridTop - kGridBottomMargin);
    postNatalGrid_->setGeometry(
        kGridLeft, gridTop, std::max(0, width - kGridLeft - kPostNatalGridRightMargin), gridHeight);
    offspringGrid_->setGeometry(
        kGridLeft, gridTop, std::max(0, width - kGridLeft - kOffspringGridRightMargin), gridHeight);
}

void TFrmDemo2::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TFrmDemo2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred by the dialog at its first showing; from then on every showing keeps the
    // place the window last had.
    setAttribute(Qt::WA_Moved, true);
}

NuclideData& TFrmDemo2::RunScratch() {
    if (!runScratch_) runScratch_ = std::make_unique<NuclideData>();
    return *runScratch_;
}

std::vector<std::string> TFrmDemo2::RowLabelTexts() const {
    std::vector<std::string> labels;
    const int rows = std::clamp(store_.RowCount(), 0, ResultGrid::kRows - 1);
    labels.reserve(static_cast<std::size_t>(rows));
    for (int row = 1; row <= rows; ++row)
        labels.push_back(offspringGrid_->Cell(0, row).toLocal8Bit().toStdString());
    return labels;
}

std::vector<std::string> TFrmDemo2::PeriodHeadingTexts() const {
    std::vector<std::string> headings;
    const int periods = std::clamp(store_.PeriodCount(), 0, ResultGrid::kColumns - 4);
    headings.reserve(static_cast<std::size_t>(periods));
    for (int period = 1; period <= periods; ++period)
        headings.push_back(offspringGrid_->Cell(period + 3, 0).toLocal8Bit().toStdString());
    return headings;
}

void TFrmDemo2::LayOutGrids(const RunCheck& check) {
    if (check.Stage == GridStage::Untouched) return;
    SetPreviousAvailable(false);
    SetNextAvailable(false);
    for (ResultGrid* grid : {postNatalGrid_, offspringGrid_}) {
        ResultGridModel& cells = grid->Cells();
        for (int row = 0; row < ResultGrid::kRows; ++row)
            for (int column = 0; column < ResultGrid::kColumns; ++column)
                cells.SetCellQuietly(column, row, texts::kBlankCell);
        if (check.Stage == GridStage::RowLabelsWritten || check.Stage == GridStage::LaidOut) {
            int row = 0;
            for (int tissue : check.Rows) {
                if (++row >= ResultGrid::kRows) break;
                if (tissue >= 1 && tissue <= static_cast<int>(kRowLabels.size()))
                    cells.SetCellQuietly(0, row, FromBytes(kRowLabels[tissue - 1]));
            }
        }
        if (check.Stage == GridStage::LaidOut) {
            int column = 3;
            for (int period : check.Periods) {
                if (++column >= ResultGrid::kColumns) break;
                if (period >= 1 && period <= static_cast<int>(kPeriodLabels.size()))
                    cells.SetCellQuietly(column, 0, FromBytes(kPeriodLabels[period - 1]));
            }
        }
        cells.Changed();
    }
}

void TFrmDemo2::SetPreviousAvailable(bool available) {
    previousAvailable_ = available;
    SetCaptionColour(*spdBtnPrevious_, available ? kWindowText : kGreyText);
}

void TFrmDemo2::SetNextAvailable(bool available) {
    nextAvailable_ = available;
    SetCaptionColour(*spdBtnNext_, available ? kWindowText : kGreyText);
}

// "Table n of N" keeps its design places, 186, 208 and 230, while the numbers fit; a longer
// table number moves "of" and the total along rather than writing over them.
void TFrmDemo2::PlaceCounter() {
    constexpr int kGap = 4;
    const QFontMetrics metrics(lblTCount_->font());
    const int countWidth = metrics.horizontalAdvance(lblTCount_->text());
    const int totalWidth = metrics.horizontalAdvance(lblTTotal_->text());
    const int ofWidth = metrics.horizontalAdvance(label5_->text());
    const int ofLeft = std::max(208, 186 + countWidth + kGap);
    const int totalLeft = std::max(230, ofLeft + ofWidth + kGap);
    lblTCount_->setGeometry(186, 22, std::max(22, countWidth + 2), lblTCount_->height());
    label5_->setGeometry(ofLeft, 22, ofWidth + 2, label5_->height());
    lblTTotal_->setGeometry(totalLeft, 22, std::max(36, totalWidth + 2), lblTTotal_->height());
}

void TFrmDemo2::ShowTable(int table) {
    lblTTotal_->setText(QString::number(store_.TableCount()));
    lblTCount_->setText(QString::number(table));
    PlaceCounter();

    // With no table of this run (Table 1 of 0) the header and the dose cells stay blank,
    // so nothing of an older run is shown as if it were this run's.
    const bool present = table >= 1 && table <= store_.TableCount() && table < store_.SlotCount();
    using Heading = std::string_view (ResultStore::*)(int) const;
    auto heading = [&](Heading field) {
        return present ? FromBytes((store_.*field)(table)) : QString();
    };
    lblNuclide_->setText(heading(&ResultStore::Nuclide));
    lblOccOrEnv_->setText(heading(&ResultStore::Group));
    // The second line shows the scenario and the third the route.
    lblRoute_->setText(heading(&ResultStore::Scenario));
    lblScenario_->setText(heading(&ResultStore::Route));
    lblHOrg_->setText(present ? FromBytes(store_.Summary(table)) : QString());

    ResultGridModel& postNatal = postNatalGrid_->Cells();
    ResultGridModel& offspring = offspringGrid_->Cells();
    const int rows = std::clamp(store_.RowCount(), 0, ResultGrid::kRows - 1);
    const int periods = std::clamp(store_.PeriodCount(), 0, ResultGrid::kColumns - 4);
    for (int row = 1; row <= rows; ++row) {
        const QString inUtero = present ? FromBytes(store_.InUtero(table, row)) : texts::kBlankCell;
        postNatal.SetCellQuietly(2, row, inUtero);
        offspring.SetCellQuietly(2, row, inUtero);
        for (int period = 1; period <= periods; ++period) {
            postNatal.SetCellQuietly(
                period + 3, row,
                present ? FromBytes(store_.PostNatal(table, row, period)) : texts::kBlankCell);
            offspring.SetCellQuietly(
                period + 3, row,
                present ? FromBytes(store_.Offspring(table, row, period)) : texts::kBlankCell);
        }
    }
    postNatal.Changed();
    offspring.Changed();
}

void TFrmDemo2::ViewingLoop() {
    returnToInput_ = false;
    currentTable_ = 1;
    do {
        ShowTable(currentTable_);
        exec();
    } while (!returnToInput_ && !windows_.Quitting());  // a quit ends every modal loop
}

void TFrmDemo2::SpdBtnNextClick() {
    const int tableCount = store_.TableCount();
    if (currentTable_ < tableCount) {
        ++currentTable_;
        if (currentTable_ == tableCount) {
            SetNextAvailable(false);
            SetPreviousAvailable(true);
        } else {
            SetNextAvailable(true);
            SetPreviousAvailable(true);
        }
    }
    accept();
}

void TFrmDemo2::SpdBtnPreviousClick() {
    if (currentTable_ > 1) {
        --currentTable_;
        SetPreviousAvailable(currentTable_ != 1);
        SetNextAvailable(true);
    }
    accept();
}

void TFrmDemo2::SpdBtnReturnClick() {
    returnToInput_ = true;
    accept();
}

void TFrmDemo2::SpdBtnPostnatalClick() {
    BringViewToFront(true);
}

void TFrmDemo2::SpdBtnOffspringClick() {
    BringViewToFront(false);
}

void TFrmDemo2::BringViewToFront(bool postNatal) {
    ResultGrid* front = postNatal ? postNatalGrid_ : offspringGrid_;
    ResultGrid* back = postNatal ? offspringGrid_ : postNatalGrid_;
    // The grid behind is hidden too, so that it is not presented as visible.
    front->show();
    front->raise();
    back->hide();
    postNatalInFront_ = postNatal;
    // The pressed button is the one of the view that is not on show.
    (postNatal ? spdBtnOffspring_ : spdBtnPostnatal_)->setChecked(true);
    SetCaptionColour(*spdBtnOffspring_, kWindowText);
    SetCaptionColour(*spdBtnPostnatal_, kBlue);
}

void TFrmDemo2::Button2Click() {
    windows_.saveResults().Open();
}

void TFrmDemo2::Button3Click() {
    RunGuarded(windows_.messages(),
               [this] { PrintWindow(*this, PrintScale::FitToPage, windows_.printers()); });
}

}  // namespace fetaldose::gui
