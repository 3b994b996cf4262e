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

QString Text(const char* text) {
    return QString::fromLatin1(text);
}

// The layout was drawn for a narrow sans-serif face of Arial's widths: such a face is preferred
// where one is installed, so that every caption and item fits its place; any sans-serif face
// serves otherwise.
QFont SansSerif() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setItalic(false);
    return font;
}

// Texts inside the groups. Every resolved attribute is set, so nothing of a group's bold
// caption font reaches the controls inside it.
QFont RegularFont() {
    QFont font = SansSerif();
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    return font;
}

QFont GroupCaptionFont() {
    QFont font = SansSerif();
    font.setPixelSize(13);
    font.setWeight(QFont::Bold);
    return font;
}

QFont ButtonFont() {
    QFont font = SansSerif();
    font.setPointSize(8);
    font.setWeight(QFont::Bold);
    return font;
}

QFont ChosenListFont() {
    QFont font = SansSerif();
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    return font;
}

// White behind the control: the window colour for boxes and frames, the base colour for lists,
// grids and edit boxes.
void MakeWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kWhite);
    palette.setColor(QPalette::Base, kWhite);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetHint(QWidget* widget, const char* hint) {
    widget->setToolTip(Text(hint));
    widget->setAccessibleDescription(Text(hint));
}

void Place(QWidget* widget, const char* objectName, const QRect& place) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setGeometry(place);
}

QGroupBox* Group(QWidget* parent, const char* objectName, const char* caption, const QRect& place) {
    auto* group = new QGroupBox(Text(caption), parent);
    Place(group, objectName, place);
    group->setFont(GroupCaptionFont());
    group->setAccessibleName(Text(caption));
    return group;
}

QLabel* Label(QWidget* parent, const char* objectName, const char* caption, const QPoint& at,
              const char* hint) {
    auto* label = new QLabel(Text(caption), parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setFont(RegularFont());
    label->adjustSize();
    label->move(at);
    if (hint) SetHint(label, hint);
    return label;
}

// An empty white list panel that check boxes sit on, so that they read as rows of a list.
QFrame* Panel(QWidget* parent, const char* objectName, const QRect& place) {
    auto* panel = new QFrame(parent);
    Place(panel, objectName, place);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setFocusPolicy(Qt::NoFocus);
    MakeWhite(panel);
    return panel;
}

QCheckBox* CheckBox(QWidget* parent, const char* objectName, const char* caption,
                    const QRect& place, const char* hint) {
    auto* box = new QCheckBox(Text(caption), parent);
    Place(box, objectName, place);
    box->setFont(RegularFont());
    box->setAccessibleName(Text(caption));
    // A button paints its background in the button colour; a box here takes the window colour.
    box->setBackgroundRole(QPalette::Window);
    MakeWhite(box);
    if (hint) SetHint(box, hint);
    return box;
}

// Check-list items with the small margins of the lists the layout was drawn for, so that the
// longest scenario fits its list beside the check mark.
class CompactItemStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_FocusFrameHMargin) return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

template <std::size_t N>
QListWidget* CheckList(QWidget* parent, const char* objectName, const QRect& place,
                       const std::array<const char*, N>& items, const char* accessibleName,
                       const char* hint) {
    auto* list = new QListWidget(parent);
    Place(list, objectName, place);
    auto* style = new CompactItemStyle;
    style->setParent(list);
    list->setStyle(style);
    list->setFont(RegularFont());
    list->setAccessibleName(Text(accessibleName));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    MakeWhite(list);
    for (const char* text : items) {
        auto* item = new QListWidgetItem(Text(text), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (hint) SetHint(list, hint);
    return list;
}

QPushButton* Button(QWidget* parent, const char* objectName, const char* caption,
                    const QRect& place, const char* hint) {
    auto* button = new QPushButton(Text(caption), parent);
    Place(button, objectName, place);
    button->setFont(ButtonFont());
    button->setAccessibleName(Text(caption));
    button->setAutoDefault(false);
    if (hint) SetHint(button, hint);
    return button;
}

}  // namespace

void TDualListDlg::BuildControls() {
    setWindowTitle(Text(texts::kCaption));
    setFont(RegularFont());
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
    QGroupBox* nuclides = Group(client, "GrpBxNuclides", texts::kGroupNuclides, {8, 8, 241, 289});
    Label(nuclides, "LblList", texts::kLabelList, {10, 24}, texts::kHintList);
    Label(nuclides, "LblSelected", texts::kLabelSelected, {144, 24}, texts::kHintSelected);

    StringGrid1 = new QTableWidget(kMinimumGridRows, 2, nuclides);
    Place(StringGrid1, "StringGrid1", {8, 41, 129, 209});
    StringGrid1->setFont(RegularFont());
    MakeWhite(StringGrid1);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setColumnWidth(0, kGridNameWidth);
    StringGrid1->setColumnWidth(1, kGridHalfLifeWidth);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    StringGrid1->setShowGrid(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setAccessibleName(Text(texts::kLabelList));
    SetHint(StringGrid1, texts::kHintGrid);

    QLabel* selectLabel =
        Label(nuclides, "LblSelect", texts::kLabelSelect, {9, 259}, texts::kHintFinder);
    EdtFindNuc = new QLineEdit(nuclides);
    Place(EdtFindNuc, "EdtFindNuc", {46, 256, 91, 21});
    EdtFindNuc->setFont(RegularFont());
    MakeWhite(EdtFindNuc);
    EdtFindNuc->setAccessibleName(Text(texts::kLabelSelect));
    SetHint(EdtFindNuc, texts::kHintFinder);
    selectLabel->setBuddy(EdtFindNuc);

    // The half-life twin lies wholly behind the chosen list and is never shown.
    LstBxHalfLife = new QListWidget(client);
    Place(LstBxHalfLife, "LstBxHalfLife", {168, 72, 49, 97});
    LstBxHalfLife->setFocusPolicy(Qt::NoFocus);
    LstBxHalfLife->hide();

    LstBxNucsChosen = new QListWidget(client);
    Place(LstBxNucsChosen, "LstBxNucsChosen", {152, 48, 81, 241});
    LstBxNucsChosen->setFont(ChosenListFont());
    MakeWhite(LstBxNucsChosen);
    LstBxNucsChosen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LstBxNucsChosen->setUniformItemSizes(true);
    LstBxNucsChosen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LstBxNucsChosen->setAccessibleName(Text(texts::kLabelSelected));
    SetHint(LstBxNucsChosen, texts::kHintSelected);

    // Exposure, routes and aerosol sizes: group frames, with the white panels and the boxes
    // placed over them in client coordinates.
    Group(client, "GrpBxExposure", texts::kGroupExposure, {264, 8, 177, 65});
    Group(client, "GrpBxRoutes", texts::kGroupRoutes, {264, 80, 177, 105});
    QGroupBox* aerosol = Group(client, "GrpBxAerosol", texts::kGroupAerosol, {264, 192, 177, 105});
    SetHint(aerosol, texts::kHintAerosolGroup);

    Panel(client, "PnlExposure", {272, 24, 161, 43});
    chkbxMOP =
        CheckBox(client, "chkbxMOP", texts::kBoxPublic, {276, 29, 155, 17}, texts::kHintExposure);
    chkbxWKR = CheckBox(client, "chkbxWKR", texts::kBoxOccupational, {276, 46, 155, 17},
                        texts::kHintExposure);

    Panel(client, "PnlAllRoutes", {272, 96, 161, 21});
    ChkBxAllRoutes =
        CheckBox(client, "ChkBxAllRoutes", texts::kBoxAllRoutes, {275, 98, 156, 17}, nullptr);
    Panel(client, "PnlRoutes", {272, 120, 161, 54});
    chkbxIng = CheckBox(client, "chkbxIng", texts::kBoxIngestion, {275, 123, 156, 15}, nullptr);
    chkbxParticulates = CheckBox(client, "chkbxParticulates", texts::kBoxParticulates,
                                 {275, 138, 156, 15}, nullptr);
    chkbxVapours =
        CheckBox(client, "chkbxVapours", texts::kBoxVapours, {275, 154, 156, 15}, nullptr);

    Panel(client, "PnlAllAerosol", {272, 208, 161, 21});
    ChkBxAllAerosol =
        CheckBox(client, "ChkBxAllAerosol", texts::kBoxAllAerosol, {275, 211, 156, 17}, nullptr);
    chklstbxAerosol =
        CheckList(client, "chklstbxAerosol", {272, 232, 161, 57}, texts::kAerosolItems,
                  texts::kGroupAerosol, texts::kHintAerosolList);

    // Organs or tissues.
    QGroupBox* tissues = Group(client, "GrpBxTissues", texts::kGroupTissues, {264, 304, 177, 129});
    Panel(tissues, "PnlAllOrgans", {8, 16, 161, 20});
    ChkBxAllOrgans =
        CheckBox(tissues, "ChkBxAllOrgans", texts::kBoxAllOrgans, {11, 20, 156, 15}, nullptr);
    chklstbxTissues = CheckList(tissues, "chklstbxTissues", {8, 40, 161, 81}, texts::kTissueItems,
                                texts::kGroupTissues, nullptr);

    // Post-natal integration periods.
    QGroupBox* periods = Group(client, "GrpBxPeriods", texts::kGroupPeriods, {8, 304, 241, 129});
    Panel(periods, "PnlAllPeriods", {8, 16, 217, 22});
    ChkBxAllPeriods =
        CheckBox(periods, "ChkBxAllPeriods", texts::kBoxAllPeriods, {11, 18, 212, 17}, nullptr);
    chklstbxTimes = CheckList(periods, "chklstbxTimes", {8, 40, 217, 81}, texts::kPeriodItems,
                              texts::kGroupPeriods, nullptr);

    // Intake scenarios, acute above chronic.
    QGroupBox* scenarios =
        Group(client, "GrpBxScenarios", texts::kGroupScenarios, {456, 8, 201, 289});
    Label(scenarios, "LblAcute", texts::kLabelAcute, {8, 24}, texts::kHintScenarioLabels);
    Panel(scenarios, "PnlAllAcutes", {8, 40, 177, 20});
    ChkBxAllAcutes = CheckBox(scenarios, "ChkBxAllAcutes", texts::kBoxAllAcutes, {11, 44, 172, 15},
                              texts::kHintAcute);
    ChkLstBxAScenarios = CheckList(scenarios, "ChkLstBxAScenarios", {8, 64, 177, 121},
                                   texts::kAcuteItems, texts::kLabelAcute, texts::kHintAcute);
    Label(scenarios, "LblChronic", texts::kLabelChronic, {8, 192}, texts::kHintScenarioLabels);
    Panel(scenarios, "PnlAllChronics", {8, 209, 177, 20});
    ChkBxAllChronics = CheckBox(scenarios, "ChkBxAllChronics", texts::kBoxAllChronics,
                                {11, 213, 172, 15}, texts::kHintChronic);
    ChkLstBxCScenarios = CheckList(scenarios, "ChkLstBxCScenarios", {8, 232, 177, 49},
                                   texts::kChronicItems, texts::kLabelChronic, texts::kHintChronic);

    // Options: the four command buttons, placed over the group in client coordinates.
    Group(client, "GrpBxOptions", texts::kGroupOptions, {456, 304, 201, 129});
    BtnLoad = Button(client, "BtnLoad", texts::kButtonLoad, {472, 336, 89, 33}, texts::kHintLoad);
    BtnSave = Button(client, "BtnSave", texts::kButtonSave, {472, 384, 89, 33}, texts::kHintSave);
    BtnRun = Button(client, "BtnRun", texts::kButtonRun, {576, 336, 57, 33}, nullptr);
    BtnExit = Button(client, "BtnExit", texts::kButtonExit, {576, 384, 57, 33}, nullptr);

    // At start only the aerosol controls are disabled: no particulate route is chosen yet.
    ChkBxAllAerosol->setEnabled(false);
    chklstbxAerosol->setEnabled(false);

    BuildMenu();

    // A fixed window: the client area exactly, with the menu bar above it, centred.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->heightForWidth(kClientWidth));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

void TDualListDlg::BuildMenu() {
    auto add = [this](QMenu* menu, const char* objectName, const char* caption,
                      void (TDualListDlg::*handler)()) {
        QAction* action = menu->addAction(Text(caption));
        action->setObjectName(QString::fromLatin1(objectName));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto menu = [this](const char* objectName, const char* caption) {
        QMenu* item = menuBar()->addMenu(Text(caption));
        item->setObjectName(QString::fromLatin1(objectName));
        return item;
    };

    QMenu* file = menu("File1", texts::kMenuFile);
    add(file, "Loadoptions1", texts::kMenuLoadOptions, &TDualListDlg::BtnLoadClick);
    add(file, "Saveoptions1", texts::kMenuSaveOptions, &TDualListDlg::BtnSaveClick);
    add(file, "Run1", texts::kMenuRun, &TDualListDlg::BtnRunClick);
    add(file, "Exit1", texts::kMenuExit, &TDualListDlg::BtnExitClick);

    QMenu* general = menu("Generalinformation1", texts::kMenuGeneralInformation);
    add(general, "Contents1", texts::kMenuContents, &TDualListDlg::Contents1Click);

    QMenu* publication = menu("VORQ471", texts::kMenuPublication);
    add(publication, "Contents2", texts::kMenuContents, &TDualListDlg::Contents2Click);

    QMenu* help = menu("Help1", texts::kMenuHelp);
    add(help, "Instructions1", texts::kMenuInstructions, &TDualListDlg::Instructions1Click);
    add(help, "Licence1", texts::kMenuLicence, &TDualListDlg::Licence1Click);
    add(help, "ContactInformation1", texts::kMenuContactInformation,
        &TDualListDlg::ContactInformation1Click);
    add(help, "About1", texts::kMenuAbout, &TDualListDlg::About1Click);
    add(help, "HowtoreferencethisCD1", texts::kMenuReferenceCd,
        &TDualListDlg::HowtoreferencethisCD1Click);
    add(help, "HowtoreferenceVORQ471", texts::kMenuReferencePublication,
        &TDualListDlg::HowtoreferenceVORQ471Click);
    // Kept in the menu's design but never shown, so the pdf note cannot be reached.
    QAction* pdf = add(help, "pdfofVORQPublication471", texts::kMenuPdfNote,
                       &TDualListDlg::pdfofVORQPublication471Click);
    pdf->setVisible(false);
    pdf->setEnabled(false);
}

}  // namespace fetaldose::gui
