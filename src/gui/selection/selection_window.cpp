#include "gui/selection/selection_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/messages.h"
#include "gui/app/window_set.h"
#include "gui/filewin/file_chooser.h"
#include "gui/info/help_books.h"
#include "gui/info/info_windows.h"
#include "gui/results/run_controller.h"
#include "gui/selection/selection_layout.h"
#include "gui/selection/selection_texts.h"

namespace fetaldose::gui {

namespace {

// Number of leading characters of the finder text that take part in a search.
constexpr int kSearchKeyLength = 8;

// The finder text as catalogue names are written: first character upper case, characters 2 to
// 8 lower case, the rest dropped. Only the ASCII letters change case.
QString SearchKey(const QString& typed) {
    QString key = typed.left(kSearchKeyLength);
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        if (i == 0 && c >= u'a' && c <= u'z') key[i] = QChar(char16_t(c - u'a' + u'A'));
        if (i > 0 && c >= u'A' && c <= u'Z') key[i] = QChar(char16_t(c - u'A' + u'a'));
    }
    return key;
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString FromBytes(const std::string& text) {
    return displayText(text);
}

// Grid cells and list items keep the bytes they were made from beside the text they show,
// so that names and half-lives reach the run and the options file exactly as read.
constexpr int kBytesRole = Qt::UserRole;

void KeepBytes(QTableWidgetItem* cell, const std::string& bytes) {
    cell->setData(kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
void KeepBytes(QListWidgetItem* item, const std::string& bytes) {
    item->setData(kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
template <typename Item>
std::string KeptBytes(const Item* item) {
    if (!item) return {};
    const QVariant kept = item->data(kBytesRole);
    if (!kept.isValid()) return Bytes(item->text());
    const QByteArray bytes = kept.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

template <std::size_t N>
void CopyChecks(const QListWidget* list, std::array<bool, N>& checks) {
    for (std::size_t i = 0; i < N; ++i) {
        const QListWidgetItem* item = list->item(static_cast<int>(i));
        checks[i] = item && item->checkState() == Qt::Checked;
    }
}

}  // namespace

TDualListDlg::TDualListDlg(WindowSet& windows, QWidget* parent)
    : QMainWindow(parent), windows_(windows) {
    BuildControls();
    ConnectHandlers();
    StringGrid1->setCurrentCell(0, 0);
    FormCreate();
}

TDualListDlg::~TDualListDlg() {
    StringGrid1->removeEventFilter(this);
    EdtFindNuc->removeEventFilter(this);
    LstBxNucsChosen->removeEventFilter(this);
    LstBxNucsChosen->viewport()->removeEventFilter(this);
}

void TDualListDlg::ConnectHandlers() {
    connect(BtnRun, &QPushButton::clicked, this, &TDualListDlg::BtnRunClick);
    connect(BtnLoad, &QPushButton::clicked, this, &TDualListDlg::BtnLoadClick);
    connect(BtnSave, &QPushButton::clicked, this, &TDualListDlg::BtnSaveClick);
    connect(BtnExit, &QPushButton::clicked, this, &TDualListDlg::BtnExitClick);

    // toggled fires only on a real change of the checked state, by a click or by code.
    connect(ChkBxAllRoutes, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllRoutesClick);
    connect(chkbxParticulates, &QCheckBox::toggled, this, &TDualListDlg::chkbxParticulatesClick);
    connect(ChkBxAllAerosol, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllAerosolClick);
    connect(ChkBxAllAcutes, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllAcutesClick);
    connect(ChkBxAllChronics, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllChronicsClick);
    connect(ChkBxAllOrgans, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllOrgansClick);
    connect(ChkBxAllPeriods, &QCheckBox::toggled, this, &TDualListDlg::ChkBxAllPeriodsClick);

    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) {
                if (row >= 0) StringGrid1SelectCell(column, row);
            });
    connect(EdtFindNuc, &QLineEdit::textChanged, this, &TDualListDlg::EdtFindNucChange);

    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);
    EdtFindNuc->installEventFilter(this);
    LstBxNucsChosen->installEventFilter(this);
    LstBxNucsChosen->viewport()->installEventFilter(this);
}

void TDualListDlg::FormCreate() {
    Messages& messages = windows_.messages();
    RunGuarded(messages, [this, &messages] {
        dataDirectory_ = CurrentDataDirectory();
        const CatalogueLoad load = LoadCatalogue(
            dataDirectory_, windows_.fileAttributes(),
            [&messages](const std::string& text) { messages.Inform(FromBytes(text)); });

        // Every entry gets a row, so that all of them can be shown, found and chosen.
        const int entries = static_cast<int>(load.Entries.size());
        StringGrid1->setRowCount(std::max(kMinimumGridRows, entries));
        auto setCell = [this](int row, int column, const std::string& text) {
            auto* cell = new QTableWidgetItem(FromBytes(text));
            KeepBytes(cell, text);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            StringGrid1->setItem(row, column, cell);
        };
        for (int row = 0; row < entries; ++row) {
            const CatalogueEntry& entry = load.Entries[static_cast<std::size_t>(row)];
            setCell(row, 0, entry.Name);
            setCell(row, 1, entry.HalfLife);
        }
        MoveGridTo(0);
        if (load.Fault) messages.Error(FromBytes(*load.Fault));
    });
}

// --- Commands ---------------------------------------------------------------------------

void TDualListDlg::BtnRunClick() {
    RunGuarded(windows_.messages(), [this] { RunAndView(windows_, Snapshot()); });
}

void TDualListDlg::BtnLoadClick() {
    RunGuarded(windows_.messages(), [this] { windows_.loadOptions().Open(); });
}

void TDualListDlg::BtnSaveClick() {
    RunGuarded(windows_.messages(), [this] { windows_.saveOptions().Open(); });
}

// Ends the program at once: no question, nothing saved.
void TDualListDlg::BtnExitClick() {
    windows_.Quit();
}

void TDualListDlg::closeEvent(QCloseEvent* event) {
    event->accept();
    windows_.Quit();
}

void TDualListDlg::Contents1Click() {
    RunGuarded(windows_.messages(),
               [this] { OpenHelpBook(windows_, HelpBook::GeneralInformation); });
}

void TDualListDlg::Contents2Click() {
    RunGuarded(windows_.messages(), [this] { OpenHelpBook(windows_, HelpBook::Publication); });
}

void TDualListDlg::Instructions1Click() {
    RunGuarded(windows_.messages(), [this] { windows_.instructions().Open(); });
}

void TDualListDlg::Licence1Click() {
    RunGuarded(windows_.messages(), [this] { windows_.licence().Open(); });
}

void TDualListDlg::ContactInformation1Click() {
    RunGuarded(windows_.messages(), [this] { windows_.contactInformation().Open(); });
}

void TDualListDlg::About1Click() {
    RunGuarded(windows_.messages(), [this] { windows_.about().Open(); });
}

void TDualListDlg::HowtoreferencethisCD1Click() {
    RunGuarded(windows_.messages(), [this] { windows_.referenceCd().Open(); });
}

void TDualListDlg::HowtoreferenceVORQ471Click() {
    RunGuarded(windows_.messages(), [this] { windows_.referencePublication().Open(); });
}

void TDualListDlg::pdfofVORQPublication471Click() {
    RunGuarded(windows_.messages(), [this] { windows_.pdfNote().Open(); });
}

// --- Enabling rules ---------------------------------------------------------------------
// Enabling only governs what the user can click; no rule changes a checked state.

void TDualListDlg::ChkBxAllRoutesClick() {
    if (ChkBxAllRoutes->isChecked()) {
        chkbxIng->setEnabled(false);
        chkbxParticulates->setEnabled(false);
        chkbxVapours->setEnabled(false);
        ChkBxAllAerosol->setEnabled(true);
        chklstbxAerosol->setEnabled(!ChkBxAllAerosol->isChecked());
        return;
    }
    chkbxIng->setEnabled(true);
    chkbxParticulates->setEnabled(true);
    chkbxVapours->setEnabled(true);
    if (chkbxParticulates->isChecked()) {
        ChkBxAllAerosol->setEnabled(true);
        chklstbxAerosol->setEnabled(!ChkBxAllAerosol->isChecked());
    } else {
        ChkBxAllAerosol->setEnabled(false);
        chklstbxAerosol->setEnabled(false);
    }
}

void TDualListDlg::chkbxParticulatesClick() {
    if (chkbxParticulates->isChecked()) {
        ChkBxAllAerosol->setEnabled(true);
        if (!ChkBxAllAerosol->isChecked()) chklstbxAerosol->setEnabled(true);
    } else {
        chklstbxAerosol->setEnabled(false);
        ChkBxAllAerosol->setEnabled(false);
    }
}

void TDualListDlg::ChkBxAllAerosolClick() {
    chklstbxAerosol->setEnabled(!ChkBxAllAerosol->isChecked() &&
                                (chkbxParticulates->isChecked() || ChkBxAllRoutes->isChecked()));
}

void TDualListDlg::ChkBxAllAcutesClick() {
    ChkLstBxAScenarios->setEnabled(!ChkBxAllAcutes->isChecked());
}

void TDualListDlg::ChkBxAllChronicsClick() {
    ChkLstBxCScenarios->setEnabled(!ChkBxAllChronics->isChecked());
}

void TDualListDlg::ChkBxAllOrgansClick() {
    chklstbxTissues->setEnabled(!ChkBxAllOrgans->isChecked());
}

void TDualListDlg::ChkBxAllPeriodsClick() {
    chklstbxTimes->setEnabled(!ChkBxAllPeriods->isChecked());
}

// --- Nuclide grid, finder and chosen list -----------------------------------------------

QString TDualListDlg::GridName(int row) const {
    const QTableWidgetItem* cell = StringGrid1->item(row, 0);
    return cell ? cell->text() : QString();
}

std::string TDualListDlg::GridBytes(int row, int column) const {
    return KeptBytes(StringGrid1->item(row, column));
}

void TDualListDlg::MoveGridTo(int row) {
    StringGrid1->setCurrentCell(row, 0);
    StringGrid1->scrollToItem(StringGrid1->item(row, 0));
    if (!StringGrid1->item(row, 0)) StringGrid1->scrollTo(StringGrid1->model()->index(row, 0));
}

// The name goes to the chosen list and the half-life to the same index of its twin; nothing
// is selected or scrolled.
void TDualListDlg::AppendChosenTexts(const std::string& name, const std::string& halfLife) {
    auto* item = new QListWidgetItem(FromBytes(name), LstBxNucsChosen);
    item->setSizeHint(QSize(0, kChosenItemHeight));
    KeepBytes(item, name);
    KeepBytes(new QListWidgetItem(FromBytes(halfLife), LstBxHalfLife), halfLife);
}

void TDualListDlg::AddGridRow(int row) {
    AppendChosenTexts(GridBytes(row, 0), GridBytes(row, 1));
}

void TDualListDlg::StringGrid1SelectCell(int /*column*/, int row) {
    currentGridRow_ = row;
}

void TDualListDlg::StringGrid1DblClick() {
    RunGuarded(windows_.messages(), [this] {
        const int row = currentGridRow_;
        if (DataFileExists(GridBytes(row, 0)))
            AddGridRow(row);
        else
            windows_.messages().Inform(QString::fromLatin1(kNuclideNotAvailableMessage));
    });
}

bool TDualListDlg::StringGrid1KeyDown(int key) {
    if (!IsEnter(key)) return false;
    // No data-file check here (the run refuses a nuclide without one), but an empty row below
    // the catalogue is no nuclide at all.
    if (!GridName(currentGridRow_).isEmpty()) AddGridRow(currentGridRow_);
    return true;
}

void TDualListDlg::EdtFindNucChange() {
    const QString key = SearchKey(EdtFindNuc->text());
    const int rows = StringGrid1->rowCount();
    for (finderRow_ = 0; finderRow_ < rows; ++finderRow_) {
        if (GridName(finderRow_).startsWith(key)) {
            MoveGridTo(finderRow_);
            return;
        }
    }
}

bool TDualListDlg::EdtFindNucKeyDown(int key) {
    if (!IsEnter(key)) return false;
    const QString searchKey = SearchKey(EdtFindNuc->text());
    const int rows = StringGrid1->rowCount();
    int found = -1;
    // An empty box names no nuclide, even though it equals the name of an empty row.
    if (!searchKey.isEmpty()) {
        if (finderRow_ < rows && GridName(finderRow_) == searchKey) {
            found = finderRow_;
        } else {
            for (int row = 0; row < rows && found < 0; ++row)
                if (GridName(row) == searchKey) found = row;
        }
    }
    if (found < 0) {
        windows_.messages().Inform(QString::fromLatin1(selection_texts::kNuclideNotFoundMessage));
        return true;
    }
    currentGridRow_ = found;
    MoveGridTo(found);
    AddGridRow(found);
    // Emptying the box searches again with the empty key, which moves the grid back to row 0.
    EdtFindNuc->clear();
    return true;
}

void TDualListDlg::RemoveLowestSelectedChosen() {
    for (int i = 0; i < LstBxNucsChosen->count(); ++i) {
        if (LstBxNucsChosen->item(i)->isSelected()) {
            delete LstBxNucsChosen->takeItem(i);
            delete LstBxHalfLife->takeItem(i);
            return;
        }
    }
}

void TDualListDlg::LstBxNucsChosenDblClick() {
    RemoveLowestSelectedChosen();
}

bool TDualListDlg::LstBxNucsChosenKeyDown(int key) {
    if (key != Qt::Key_Delete) return false;
    RemoveLowestSelectedChosen();
    return true;
}

bool TDualListDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == StringGrid1) return StringGrid1KeyDown(key);
        if (watched == EdtFindNuc) return EdtFindNucKeyDown(key);
        if (watched == LstBxNucsChosen) return LstBxNucsChosenKeyDown(key);
    }
    // Only the left button's double click adds or removes a nuclide.
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == LstBxNucsChosen->viewport()) {
            if (mouse->button() == Qt::LeftButton) LstBxNucsChosenDblClick();
            return true;
        }
        if (watched == StringGrid1->viewport()) {
            if (mouse->button() == Qt::LeftButton &&
                StringGrid1->indexAt(mouse->position().toPoint()).isValid())
                StringGrid1DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- The selection as data --------------------------------------------------------------

QCheckBox* TDualListDlg::Box(SelectionBox box) const {
    switch (box) {
        case SelectionBox::Public:
            return chkbxMOP;
        case SelectionBox::Occupational:
            return chkbxWKR;
        case SelectionBox::AllRoutes:
            return ChkBxAllRoutes;
        case SelectionBox::Ingestion:
            return chkbxIng;
        case SelectionBox::Particulates:
            return chkbxParticulates;
        case SelectionBox::Vapours:
            return chkbxVapours;
        case SelectionBox::AllAerosol:
            return ChkBxAllAerosol;
        case SelectionBox::AllAcutes:
            return ChkBxAllAcutes;
        case SelectionBox::AllChronics:
            return ChkBxAllChronics;
        case SelectionBox::AllOrgans:
            return ChkBxAllOrgans;
        case SelectionBox::AllPeriods:
            return ChkBxAllPeriods;
    }
    return nullptr;
}

QListWidget* TDualListDlg::List(SelectionList list) const {
    switch (list) {
        case SelectionList::Aerosol:
            return chklstbxAerosol;
        case SelectionList::AcuteScenarios:
            return ChkLstBxAScenarios;
        case SelectionList::ChronicScenarios:
            return ChkLstBxCScenarios;
        case SelectionList::Tissues:
            return chklstbxTissues;
        case SelectionList::Periods:
            return chklstbxTimes;
    }
    return nullptr;
}

SelectionSnapshot TDualListDlg::Snapshot() const {
    SelectionSnapshot selection;
    for (int i = 0; i < LstBxNucsChosen->count(); ++i) {
        selection.Nuclides.push_back(KeptBytes(LstBxNucsChosen->item(i)));
        selection.HalfLives.push_back(KeptBytes(LstBxHalfLife->item(i)));
    }
    selection.Public = chkbxMOP->isChecked();
    selection.Occupational = chkbxWKR->isChecked();
    selection.AllRoutes = ChkBxAllRoutes->isChecked();
    selection.Ingestion = chkbxIng->isChecked();
    selection.Particulates = chkbxParticulates->isChecked();
    selection.Vapours = chkbxVapours->isChecked();
    selection.AllAerosol = ChkBxAllAerosol->isChecked();
    selection.AllAcutes = ChkBxAllAcutes->isChecked();
    selection.AllChronics = ChkBxAllChronics->isChecked();
    selection.AllOrgans = ChkBxAllOrgans->isChecked();
    selection.AllPeriods = ChkBxAllPeriods->isChecked();
    CopyChecks(chklstbxAerosol, selection.Aerosol);
    CopyChecks(ChkLstBxAScenarios, selection.AcuteScenarios);
    CopyChecks(ChkLstBxCScenarios, selection.ChronicScenarios);
    CopyChecks(chklstbxTissues, selection.Tissues);
    CopyChecks(chklstbxTimes, selection.Periods);
    return selection;
}

void TDualListDlg::ClearChosen() {
    LstBxNucsChosen->clear();
    LstBxHalfLife->clear();
}

void TDualListDlg::AppendChosen(const std::string& name, const std::string& halfLife) {
    AppendChosenTexts(name, halfLife);
}

// Sets the real box, so its enabling rule runs exactly when a click would run it: only on a
// real change, whether the box is enabled or not.
void TDualListDlg::SetBox(SelectionBox box, bool checked) {
    Box(box)->setChecked(checked);
}

// A check-list item only holds its mark; setting it runs nothing.
void TDualListDlg::SetItem(SelectionList list, int index, bool checked) {
    if (QListWidgetItem* item = List(list)->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TDualListDlg::DataFileExists(std::string_view nuclideName) {
    return ::fetaldose::DataFileExists(dataDirectory_, nuclideName);
}

}  // namespace fetaldose::gui
