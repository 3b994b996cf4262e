// The selection window's controls: their faces, colours and behaviour. Their places (pixels,
// relative to the client area below the menu bar, or to the group box a control lies in),
// captions, hints and list items are in selection_window.ui.

#include <QAction>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QTableWidget>

#include "gui/app/look.h"
#include "gui/app/window_placement.h"
#include "gui/selection/selection_layout.h"
#include "gui/selection/selection_texts.h"
#include "gui/selection/selection_window.h"
#include "ui_selection_window.h"

namespace fetaldose::gui {

namespace {

constexpr int kClientWidth = 668;
constexpr int kClientHeight = 439;
constexpr int kGridRowHeight = 17;
constexpr int kGridNameWidth = 49;
constexpr int kGridHalfLifeWidth = 61;

const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kGreyText(0x80, 0x80, 0x80);

// The layout was drawn for a narrow sans-serif face of Arial's widths: such a face is preferred
// where one is installed, so that every caption and item fits its place; any sans-serif face
// serves otherwise.
QFont sansSerif() {
    QFont font = sansSerifFace({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans"),
                                QStringLiteral("Sans Serif")});
    font.setItalic(false);
    return font;
}

// Texts inside the groups. Every resolved attribute is set, so nothing of a group's bold
// caption font reaches the controls inside it.
QFont regularFont() {
    QFont font = sansSerif();
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    return font;
}

QFont groupCaptionFont() {
    QFont font = sansSerif();
    font.setPixelSize(13);
    font.setWeight(QFont::Bold);
    return font;
}

QFont buttonFont() {
    QFont font = sansSerif();
    font.setPointSize(8);
    font.setWeight(QFont::Bold);
    return font;
}

QFont chosenListFont() {
    QFont font = sansSerif();
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    return font;
}

// White behind the control: the window colour for boxes and frames, the base colour for lists,
// grids and edit boxes.
void makeWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kWhite);
    palette.setColor(QPalette::Base, kWhite);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Check-list items with a one-pixel focus margin, so that the longest scenario fits its list
// beside the check mark.
class CompactItemStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_FocusFrameHMargin) return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

// The places, captions, hints and list items are in selection_window.ui; the faces, colours
// and behaviour of the controls are set here.
void SelectionWindow::buildControls() {
    Ui::SelectionWindow form;
    form.setupUi(this);
    // The form file names every widget; the window and its menu bar carry no object name.
    setObjectName(QString());
    menuBar()->setObjectName(QString());

    setFont(regularFont());
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    silver.setColor(QPalette::Button, kSilver);
    // Disabled texts in grey that stays readable on the white lists and boxes.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        silver.setColor(QPalette::Disabled, role, kGreyText);
    setPalette(silver);

    centralWidget()->setFixedSize(kClientWidth, kClientHeight);

    for (QGroupBox* group : findChildren<QGroupBox*>()) group->setFont(groupCaptionFont());
    // Labels are as wide as their text in the face in use.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setFont(regularFont());
        label->adjustSize();
    }
    // White list panels that check boxes sit on, so that they read as rows of a list.
    for (QFrame* panel :
         {form.PnlExposure, form.PnlAllRoutes, form.PnlRoutes, form.PnlAllAerosol,
          form.PnlAllOrgans, form.PnlAllPeriods, form.PnlAllAcutes, form.PnlAllChronics}) {
        panel->setFocusPolicy(Qt::NoFocus);
        makeWhite(panel);
    }
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        box->setFont(regularFont());
        // A button paints its background in the button colour; a box here takes the window
        // colour.
        box->setBackgroundRole(QPalette::Window);
        makeWhite(box);
    }
    for (QPushButton* button : findChildren<QPushButton*>()) button->setFont(buttonFont());

    nuclideGrid_ = form.StringGrid1;
    nuclideGrid_->setRowCount(kMinimumGridRows);
    nuclideGrid_->setColumnCount(2);
    nuclideGrid_->setFont(regularFont());
    makeWhite(nuclideGrid_);
    nuclideGrid_->horizontalHeader()->hide();
    nuclideGrid_->verticalHeader()->hide();
    nuclideGrid_->horizontalHeader()->setMinimumSectionSize(1);
    nuclideGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    nuclideGrid_->setColumnWidth(0, kGridNameWidth);
    nuclideGrid_->setColumnWidth(1, kGridHalfLifeWidth);
    nuclideGrid_->verticalHeader()->setMinimumSectionSize(1);
    nuclideGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    nuclideGrid_->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    nuclideGrid_->setShowGrid(false);
    nuclideGrid_->setWordWrap(false);
    nuclideGrid_->setTextElideMode(Qt::ElideNone);
    nuclideGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    nuclideGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    nuclideGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    nuclideGrid_->setTabKeyNavigation(false);
    nuclideGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nuclideGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    finderBox_ = form.EdtFindNuc;
    finderBox_->setFont(regularFont());
    makeWhite(finderBox_);

    // The half-life twin lies wholly behind the chosen list and is never shown.
    halfLifeList_ = form.LstBxHalfLife;
    halfLifeList_->setFocusPolicy(Qt::NoFocus);
    halfLifeList_->hide();

    chosenList_ = form.LstBxNucsChosen;
    chosenList_->setFont(chosenListFont());
    makeWhite(chosenList_);
    chosenList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosenList_->setUniformItemSizes(true);
    chosenList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    publicBox_ = form.chkbxMOP;
    occupationalBox_ = form.chkbxWKR;
    allRoutesBox_ = form.ChkBxAllRoutes;
    ingestionBox_ = form.chkbxIng;
    particulatesBox_ = form.chkbxParticulates;
    vapoursBox_ = form.chkbxVapours;
    allAerosolBox_ = form.ChkBxAllAerosol;
    allAcutesBox_ = form.ChkBxAllAcutes;
    allChronicsBox_ = form.ChkBxAllChronics;
    allOrgansBox_ = form.ChkBxAllOrgans;
    allPeriodsBox_ = form.ChkBxAllPeriods;

    // The form starts the aerosol box and list disabled: no particulate route is chosen yet.
    aerosolList_ = form.chklstbxAerosol;
    acuteList_ = form.ChkLstBxAScenarios;
    chronicList_ = form.ChkLstBxCScenarios;
    tissueList_ = form.chklstbxTissues;
    periodList_ = form.chklstbxTimes;
    for (QListWidget* list : {aerosolList_, acuteList_, chronicList_, tissueList_, periodList_}) {
        auto* style = new CompactItemStyle;
        style->setParent(list);
        list->setStyle(style);
        list->setFont(regularFont());
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        makeWhite(list);
        // A disabled list shows no highlight bar on the item last clicked.
        QPalette palette = list->palette();
        palette.setColor(QPalette::Disabled, QPalette::Highlight, kWhite);
        palette.setColor(QPalette::Disabled, QPalette::HighlightedText, kGreyText);
        list->setPalette(palette);
    }

    loadButton_ = form.BtnLoad;
    saveButton_ = form.BtnSave;
    runButton_ = form.BtnRun;
    exitButton_ = form.BtnExit;

    buildMenu(form);

    // A fixed window: the client area exactly, with the menu bar above it, centred by its
    // frame in the screen's available area.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->heightForWidth(kClientWidth));
    placeAtFirstShowing(*this, [this](const QMargins&) {
        return PlacementWish{size(), false, std::nullopt};
    });
}

void SelectionWindow::buildMenu(const Ui::SelectionWindow& form) {
    // The menus are drawn in the windows' face; a menu is a window of its own and inherits
    // no face from the window it belongs to.
    menuBar()->setFont(regularFont());
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) menu->setFont(regularFont());
    auto on = [this](QAction* item, void (SelectionWindow::*handler)()) {
        connect(item, &QAction::triggered, this, handler);
    };
    on(form.Loadoptions1, &SelectionWindow::loadOptions);
    on(form.Saveoptions1, &SelectionWindow::saveOptions);
    on(form.Run1, &SelectionWindow::run);
    on(form.Exit1, &SelectionWindow::exitProgram);
    on(form.Contents1, &SelectionWindow::openGeneralInformation);
    on(form.Contents2, &SelectionWindow::openPublication);
    on(form.Instructions1, &SelectionWindow::showInstructions);
    on(form.Licence1, &SelectionWindow::showLicence);
    on(form.ContactInformation1, &SelectionWindow::showContactInformation);
    on(form.About1, &SelectionWindow::showAbout);
    on(form.HowtoreferencethisCD1, &SelectionWindow::showReferenceCd);
    on(form.HowtoreferenceVORQ471, &SelectionWindow::showReferencePublication);
    // Kept in the menu but never shown, so the pdf note cannot be reached.
    on(form.pdfofVORQPublication471, &SelectionWindow::showPdfNote);
    // The Tools menu (the one menu added to the form's, at the right end of the bar).
    on(form.DoseAssessmentItem, &SelectionWindow::openDoseAssessment);
    on(form.CompareDataSetsItem, &SelectionWindow::compareDataSets);
}

}  // namespace fetaldose::gui
