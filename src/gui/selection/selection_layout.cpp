// The selection window's controls: places, captions, hints, fonts and colours, all here.
// Places are in pixels, left, top, width, height, relative to the client area below the menu
// bar, or to the group box for the controls built inside a group.

#include <QAction>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include "gui/app/look.h"
#include "gui/selection/selection_layout.h"
#include "gui/selection/selection_texts.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

namespace {

namespace texts = selection_texts;

constexpr int kClientWidth = 668;
constexpr int kClientHeight = 439;
constexpr int kGridRowHeight = 17;
constexpr int kGridNameWidth = 49;
constexpr int kGridHalfLifeWidth = 61;

const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kGreyText(0x80, 0x80, 0x80);

QString textOf(const char* text) {
    return QString::fromLatin1(text);
}

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

void setHint(QWidget* widget, const char* hint) {
    widget->setToolTip(textOf(hint));
    widget->setAccessibleDescription(textOf(hint));
}

void placeWidget(QWidget* widget, const char* objectName, const QRect& place) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setGeometry(place);
}

QGroupBox* makeGroup(QWidget* parent, const char* objectName, const char* caption,
                     const QRect& place) {
    auto* group = new QGroupBox(textOf(caption), parent);
    placeWidget(group, objectName, place);
    group->setFont(groupCaptionFont());
    group->setAccessibleName(textOf(caption));
    return group;
}

QLabel* makeLabel(QWidget* parent, const char* objectName, const char* caption, const QPoint& at,
                  const char* hint) {
    auto* label = new QLabel(textOf(caption), parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setFont(regularFont());
    label->adjustSize();
    label->move(at);
    if (hint) setHint(label, hint);
    return label;
}

// An empty white list panel that check boxes sit on, so that they read as rows of a list.
QFrame* makePanel(QWidget* parent, const char* objectName, const QRect& place) {
    auto* panel = new QFrame(parent);
    placeWidget(panel, objectName, place);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setFocusPolicy(Qt::NoFocus);
    makeWhite(panel);
    return panel;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* objectName, const char* caption,
                        const QRect& place, const char* hint) {
    auto* box = new QCheckBox(textOf(caption), parent);
    placeWidget(box, objectName, place);
    box->setFont(regularFont());
    box->setAccessibleName(textOf(caption));
    // A button paints its background in the button colour; a box here takes the window colour.
    box->setBackgroundRole(QPalette::Window);
    makeWhite(box);
    if (hint) setHint(box, hint);
    return box;
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

template <std::size_t N>
QListWidget* makeCheckList(QWidget* parent, const char* objectName, const QRect& place,
                           const std::array<const char*, N>& items, const char* accessibleName,
                           const char* hint) {
    auto* list = new QListWidget(parent);
    placeWidget(list, objectName, place);
    auto* style = new CompactItemStyle;
    style->setParent(list);
    list->setStyle(style);
    list->setFont(regularFont());
    list->setAccessibleName(textOf(accessibleName));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    makeWhite(list);
    for (const char* text : items) {
        auto* item = new QListWidgetItem(textOf(text), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (hint) setHint(list, hint);
    return list;
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const char* caption,
                        const QRect& place, const char* hint) {
    auto* button = new QPushButton(textOf(caption), parent);
    placeWidget(button, objectName, place);
    button->setFont(buttonFont());
    button->setAccessibleName(textOf(caption));
    button->setAutoDefault(false);
    if (hint) setHint(button, hint);
    return button;
}

}  // namespace

void SelectionWindow::buildControls() {
    setWindowTitle(textOf(texts::kCaption));
    setFont(regularFont());
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    silver.setColor(QPalette::Button, kSilver);
    // Disabled texts in grey that stays readable on the white lists and boxes.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        silver.setColor(QPalette::Disabled, role, kGreyText);
    setPalette(silver);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    // Group "Nuclides": the grid, the finder and their labels.
    QGroupBox* nuclides =
        makeGroup(client, "GrpBxNuclides", texts::kGroupNuclides, {8, 8, 241, 289});
    makeLabel(nuclides, "LblList", texts::kLabelList, {10, 24}, texts::kHintList);
    makeLabel(nuclides, "LblSelected", texts::kLabelSelected, {144, 24}, texts::kHintSelected);

    nuclideGrid_ = new QTableWidget(kMinimumGridRows, 2, nuclides);
    placeWidget(nuclideGrid_, "StringGrid1", {8, 41, 129, 209});
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
    nuclideGrid_->setAccessibleName(textOf(texts::kLabelList));
    setHint(nuclideGrid_, texts::kHintGrid);

    QLabel* selectLabel =
        makeLabel(nuclides, "LblSelect", texts::kLabelSelect, {9, 259}, texts::kHintFinder);
    finderBox_ = new QLineEdit(nuclides);
    placeWidget(finderBox_, "EdtFindNuc", {46, 256, 91, 21});
    finderBox_->setFont(regularFont());
    makeWhite(finderBox_);
    finderBox_->setAccessibleName(textOf(texts::kLabelSelect));
    setHint(finderBox_, texts::kHintFinder);
    selectLabel->setBuddy(finderBox_);

    // The half-life twin lies wholly behind the chosen list and is never shown.
    halfLifeList_ = new QListWidget(client);
    placeWidget(halfLifeList_, "LstBxHalfLife", {168, 72, 49, 97});
    halfLifeList_->setFocusPolicy(Qt::NoFocus);
    halfLifeList_->hide();

    chosenList_ = new QListWidget(client);
    placeWidget(chosenList_, "LstBxNucsChosen", {152, 48, 81, 241});
    chosenList_->setFont(chosenListFont());
    makeWhite(chosenList_);
    chosenList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosenList_->setUniformItemSizes(true);
    chosenList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chosenList_->setAccessibleName(textOf(texts::kLabelSelected));
    setHint(chosenList_, texts::kHintSelected);

    // Exposure, routes and aerosol sizes: group frames, with the white panels and the boxes
    // placed over them in client coordinates.
    makeGroup(client, "GrpBxExposure", texts::kGroupExposure, {264, 8, 177, 65});
    makeGroup(client, "GrpBxRoutes", texts::kGroupRoutes, {264, 80, 177, 105});
    QGroupBox* aerosol =
        makeGroup(client, "GrpBxAerosol", texts::kGroupAerosol, {264, 192, 177, 105});
    setHint(aerosol, texts::kHintAerosolGroup);

    makePanel(client, "PnlExposure", {272, 24, 161, 43});
    publicBox_ = makeCheckBox(client, "chkbxMOP", texts::kBoxPublic, {276, 29, 155, 17},
                              texts::kHintExposure);
    occupationalBox_ = makeCheckBox(client, "chkbxWKR", texts::kBoxOccupational, {276, 46, 155, 17},
                                    texts::kHintExposure);

    makePanel(client, "PnlAllRoutes", {272, 96, 161, 21});
    allRoutesBox_ =
        makeCheckBox(client, "ChkBxAllRoutes", texts::kBoxAllRoutes, {275, 98, 156, 17}, nullptr);
    makePanel(client, "PnlRoutes", {272, 120, 161, 54});
    ingestionBox_ =
        makeCheckBox(client, "chkbxIng", texts::kBoxIngestion, {275, 123, 156, 15}, nullptr);
    particulatesBox_ = makeCheckBox(client, "chkbxParticulates", texts::kBoxParticulates,
                                    {275, 138, 156, 15}, nullptr);
    vapoursBox_ =
        makeCheckBox(client, "chkbxVapours", texts::kBoxVapours, {275, 154, 156, 15}, nullptr);

    makePanel(client, "PnlAllAerosol", {272, 208, 161, 21});
    allAerosolBox_ = makeCheckBox(client, "ChkBxAllAerosol", texts::kBoxAllAerosol,
                                  {275, 211, 156, 17}, nullptr);
    aerosolList_ =
        makeCheckList(client, "chklstbxAerosol", {272, 232, 161, 57}, texts::kAerosolItems,
                      texts::kGroupAerosol, texts::kHintAerosolList);

    // Organs or tissues.
    QGroupBox* tissues =
        makeGroup(client, "GrpBxTissues", texts::kGroupTissues, {264, 304, 177, 129});
    makePanel(tissues, "PnlAllOrgans", {8, 16, 161, 20});
    allOrgansBox_ =
        makeCheckBox(tissues, "ChkBxAllOrgans", texts::kBoxAllOrgans, {11, 20, 156, 15}, nullptr);
    tissueList_ = makeCheckList(tissues, "chklstbxTissues", {8, 40, 161, 81}, texts::kTissueItems,
                                texts::kGroupTissues, nullptr);

    // Post-natal integration periods.
    QGroupBox* periods =
        makeGroup(client, "GrpBxPeriods", texts::kGroupPeriods, {8, 304, 241, 129});
    makePanel(periods, "PnlAllPeriods", {8, 16, 217, 22});
    allPeriodsBox_ =
        makeCheckBox(periods, "ChkBxAllPeriods", texts::kBoxAllPeriods, {11, 18, 212, 17}, nullptr);
    periodList_ = makeCheckList(periods, "chklstbxTimes", {8, 40, 217, 81}, texts::kPeriodItems,
                                texts::kGroupPeriods, nullptr);

    // Intake scenarios, acute above chronic.
    QGroupBox* scenarios =
        makeGroup(client, "GrpBxScenarios", texts::kGroupScenarios, {456, 8, 201, 289});
    makeLabel(scenarios, "LblAcute", texts::kLabelAcute, {8, 24}, texts::kHintScenarioLabels);
    makePanel(scenarios, "PnlAllAcutes", {8, 40, 177, 20});
    allAcutesBox_ = makeCheckBox(scenarios, "ChkBxAllAcutes", texts::kBoxAllAcutes,
                                 {11, 44, 172, 15}, texts::kHintAcute);
    acuteList_ = makeCheckList(scenarios, "ChkLstBxAScenarios", {8, 64, 177, 121},
                               texts::kAcuteItems, texts::kLabelAcute, texts::kHintAcute);
    makeLabel(scenarios, "LblChronic", texts::kLabelChronic, {8, 192}, texts::kHintScenarioLabels);
    makePanel(scenarios, "PnlAllChronics", {8, 209, 177, 20});
    allChronicsBox_ = makeCheckBox(scenarios, "ChkBxAllChronics", texts::kBoxAllChronics,
                                   {11, 213, 172, 15}, texts::kHintChronic);
    chronicList_ = makeCheckList(scenarios, "ChkLstBxCScenarios", {8, 232, 177, 49},
                                 texts::kChronicItems, texts::kLabelChronic, texts::kHintChronic);

    // Options: the four command buttons, placed over the group in client coordinates.
    makeGroup(client, "GrpBxOptions", texts::kGroupOptions, {456, 304, 201, 129});
    loadButton_ =
        makeButton(client, "BtnLoad", texts::kButtonLoad, {472, 336, 89, 33}, texts::kHintLoad);
    saveButton_ =
        makeButton(client, "BtnSave", texts::kButtonSave, {472, 384, 89, 33}, texts::kHintSave);
    runButton_ = makeButton(client, "BtnRun", texts::kButtonRun, {576, 336, 57, 33}, nullptr);
    exitButton_ = makeButton(client, "BtnExit", texts::kButtonExit, {576, 384, 57, 33}, nullptr);

    // At start only the aerosol controls are disabled: no particulate route is chosen yet.
    allAerosolBox_->setEnabled(false);
    aerosolList_->setEnabled(false);

    buildMenu();

    // A fixed window: the client area exactly, with the menu bar above it, centred.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->heightForWidth(kClientWidth));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

void SelectionWindow::buildMenu() {
    auto add = [this](QMenu* menu, const char* objectName, const char* caption,
                      void (SelectionWindow::*handler)()) {
        QAction* action = menu->addAction(textOf(caption));
        action->setObjectName(QString::fromLatin1(objectName));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto menu = [this](const char* objectName, const char* caption) {
        QMenu* item = menuBar()->addMenu(textOf(caption));
        item->setObjectName(QString::fromLatin1(objectName));
        return item;
    };

    QMenu* file = menu("File1", texts::kMenuFile);
    add(file, "Loadoptions1", texts::kMenuLoadOptions, &SelectionWindow::loadOptions);
    add(file, "Saveoptions1", texts::kMenuSaveOptions, &SelectionWindow::saveOptions);
    add(file, "Run1", texts::kMenuRun, &SelectionWindow::run);
    add(file, "Exit1", texts::kMenuExit, &SelectionWindow::exitProgram);

    QMenu* general = menu("Generalinformation1", texts::kMenuGeneralInformation);
    add(general, "Contents1", texts::kMenuContents, &SelectionWindow::openGeneralInformation);

    QMenu* publication = menu("VORQ471", texts::kMenuPublication);
    add(publication, "Contents2", texts::kMenuContents, &SelectionWindow::openPublication);

    QMenu* help = menu("Help1", texts::kMenuHelp);
    add(help, "Instructions1", texts::kMenuInstructions, &SelectionWindow::showInstructions);
    add(help, "Licence1", texts::kMenuLicence, &SelectionWindow::showLicence);
    add(help, "ContactInformation1", texts::kMenuContactInformation,
        &SelectionWindow::showContactInformation);
    add(help, "About1", texts::kMenuAbout, &SelectionWindow::showAbout);
    add(help, "HowtoreferencethisCD1", texts::kMenuReferenceCd, &SelectionWindow::showReferenceCd);
    add(help, "HowtoreferenceVORQ471", texts::kMenuReferencePublication,
        &SelectionWindow::showReferencePublication);
    // Kept in the menu's design but never shown, so the pdf note cannot be reached.
    QAction* pdf =
        add(help, "pdfofVORQPublication471", texts::kMenuPdfNote, &SelectionWindow::showPdfNote);
    pdf->setVisible(false);
    pdf->setEnabled(false);
}

}  // namespace fetaldose::gui
