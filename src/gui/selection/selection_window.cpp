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
#include <utility>

#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/selection/selection_model.h"
#include "gui/app/display_text.h"
#include "gui/app/handler_guard.h"
#include "gui/app/look.h"
#include "gui/app/messages.h"
#include "gui/selection/selection_layout.h"
#include "gui/selection/selection_texts.h"

namespace fetaldose::gui {

namespace {

// Number of leading characters of the finder text that take part in a search.
constexpr int kSearchKeyLength = 8;

// The finder text as catalogue names are written: first character upper case, characters 2 to
// 8 lower case, the rest dropped. Only the ASCII letters change case.
QString searchKeyOf(const QString& typed) {
    QString key = typed.left(kSearchKeyLength);
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        if (i == 0 && c >= u'a' && c <= u'z') key[i] = QChar(char16_t(c - u'a' + u'A'));
        if (i > 0 && c >= u'A' && c <= u'Z') key[i] = QChar(char16_t(c - u'A' + u'a'));
    }
    return key;
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Grid cells keep the catalogue's bytes beside the text they show, so that names and
// half-lives reach the model (and from it the run and the options file) exactly as read.
constexpr int kBytesRole = Qt::UserRole;

void keepBytes(QTableWidgetItem* cell, const std::string& bytes) {
    cell->setData(kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
std::string keptBytes(const QTableWidgetItem* cell) {
    if (!cell) return {};
    const QVariant kept = cell->data(kBytesRole);
    if (!kept.isValid()) return toLocalBytes(cell->text());
    const QByteArray bytes = kept.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

constexpr SelectionBox kBoxes[] = {
    SelectionBox::Public,     SelectionBox::Occupational, SelectionBox::AllRoutes,
    SelectionBox::Ingestion,  SelectionBox::Particulates, SelectionBox::Vapours,
    SelectionBox::AllAerosol, SelectionBox::AllAcutes,    SelectionBox::AllChronics,
    SelectionBox::AllOrgans,  SelectionBox::AllPeriods};
constexpr SelectionList kLists[] = {SelectionList::Aerosol, SelectionList::AcuteScenarios,
                                    SelectionList::ChronicScenarios, SelectionList::Tissues,
                                    SelectionList::Periods};

}  // namespace

SelectionWindow::SelectionWindow(SelectionModel& model, Messages& messages,
                                 FileAttributes& fileAttributes, SelectionCommands commands,
                                 QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      messages_(messages),
      fileAttributes_(fileAttributes),
      commands_(std::move(commands)) {
    buildControls();
    showChecks();
    for (int i = 0; i < static_cast<int>(model_.chosenNames().size()); ++i) showChosenEntry(i);
    connectHandlers();
    nuclideGrid_->setCurrentCell(0, 0);
    fillNuclideGrid();
}

SelectionWindow::~SelectionWindow() {
    model_.setChangeListener({});
    for (QPushButton* button : {loadButton_, saveButton_, runButton_, exitButton_})
        button->removeEventFilter(this);
    nuclideGrid_->removeEventFilter(this);
    finderBox_->removeEventFilter(this);
    chosenList_->removeEventFilter(this);
    chosenList_->viewport()->removeEventFilter(this);
}

void SelectionWindow::connectHandlers() {
    connect(runButton_, &QPushButton::clicked, this, &SelectionWindow::run);
    connect(loadButton_, &QPushButton::clicked, this, &SelectionWindow::loadOptions);
    connect(saveButton_, &QPushButton::clicked, this, &SelectionWindow::saveOptions);
    connect(exitButton_, &QPushButton::clicked, this, &SelectionWindow::exitProgram);

    // toggled fires only on a real change of the checked state, by a click or by code; a list
    // reports a click on an item's check mark as a change of the item.
    for (const SelectionBox box : kBoxes)
        connect(checkBox(box), &QCheckBox::toggled, this,
                [this, box](bool checked) { boxToggled(box, checked); });
    for (const SelectionList list : kLists)
        connect(checkList(list), &QListWidget::itemChanged, this,
                [this, list](QListWidgetItem* item) { itemChanged(list, item); });
    model_.setChangeListener([this](const SelectionChange& change) { showChange(change); });

    connect(nuclideGrid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) {
                if (row >= 0) selectGridCell(column, row);
            });
    connect(finderBox_, &QLineEdit::textChanged, this, &SelectionWindow::findNuclide);

    for (QPushButton* button : {loadButton_, saveButton_, runButton_, exitButton_})
        button->installEventFilter(this);
    nuclideGrid_->installEventFilter(this);
    nuclideGrid_->viewport()->installEventFilter(this);
    finderBox_->installEventFilter(this);
    chosenList_->installEventFilter(this);
    chosenList_->viewport()->installEventFilter(this);
}

void SelectionWindow::fillNuclideGrid() {
    Messages& messages = messages_;
    runGuarded(messages, [this, &messages] {
        const CatalogueLoad load = loadCatalogue(
            model_.dataDirectory(), fileAttributes_,
            [&messages](const std::string& text) { messages.inform(displayText(text)); });
        catalogueSource_ = load.source;

        // Every entry gets a row, so that all of them can be shown, found and chosen.
        const int entries = static_cast<int>(load.entries.size());
        nuclideGrid_->setRowCount(std::max(kMinimumGridRows, entries));
        auto setCell = [this](int row, int column, const std::string& text) {
            auto* cell = new QTableWidgetItem(displayText(text));
            keepBytes(cell, text);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            nuclideGrid_->setItem(row, column, cell);
        };
        for (int row = 0; row < entries; ++row) {
            const CatalogueEntry& entry = load.entries[static_cast<std::size_t>(row)];
            setCell(row, 0, entry.name);
            setCell(row, 1, entry.halfLife);
        }
        moveGridTo(0);
        if (load.fault) messages.error(displayText(*load.fault));
    });
}

// --- Commands ---------------------------------------------------------------------------

void SelectionWindow::runCommand(const std::function<void()>& command) {
    runGuarded(messages_, [&command] { command(); });
}

void SelectionWindow::run() {
    runGuarded(messages_, [this] { commands_.run(snapshot()); });
}

void SelectionWindow::loadOptions() {
    runCommand(commands_.loadOptions);
}

void SelectionWindow::saveOptions() {
    runCommand(commands_.saveOptions);
}

// Ends the program at once: no question, nothing saved.
void SelectionWindow::exitProgram() {
    if (commands_.mayQuit && !commands_.mayQuit()) return;
    commands_.quit();
}

void SelectionWindow::closeEvent(QCloseEvent* event) {
    if (commands_.mayQuit && !commands_.mayQuit()) {
        event->ignore();
        return;
    }
    event->accept();
    commands_.quit();
}

void SelectionWindow::openGeneralInformation() {
    runCommand(commands_.openGeneralInformation);
}

void SelectionWindow::openPublication() {
    runCommand(commands_.openPublication);
}

void SelectionWindow::showInstructions() {
    runCommand(commands_.showInstructions);
}

void SelectionWindow::showLicence() {
    runCommand(commands_.showLicence);
}

void SelectionWindow::showContactInformation() {
    runCommand(commands_.showContactInformation);
}

void SelectionWindow::showAbout() {
    runCommand(commands_.showAbout);
}

void SelectionWindow::showReferenceCd() {
    runCommand(commands_.showReferenceCd);
}

void SelectionWindow::showReferencePublication() {
    runCommand(commands_.showReferencePublication);
}

void SelectionWindow::showPdfNote() {
    runCommand(commands_.showPdfNote);
}

void SelectionWindow::openDoseAssessment() {
    if (commands_.openDoseAssessment) runCommand(commands_.openDoseAssessment);
}

void SelectionWindow::compareDataSets() {
    runCommand(commands_.compareDataSets);
}

// --- The model on the controls ---------------------------------------------------------
// The controls' own signals of a change shown here (toggled, itemChanged) still fire, as for
// any change by code; showingModel_ keeps them from going back to the model.

void SelectionWindow::showChange(const SelectionChange& change) {
    const bool wasShowing = std::exchange(showingModel_, true);
    switch (change.kind) {
        case SelectionChange::Kind::Checks:
            showChecks();
            break;
        case SelectionChange::Kind::ChosenCleared:
            chosenList_->clear();
            halfLifeList_->clear();
            break;
        case SelectionChange::Kind::ChosenAppended:
            showChosenEntry(change.index);
            break;
        case SelectionChange::Kind::ChosenRemoved:
            delete chosenList_->takeItem(change.index);
            delete halfLifeList_->takeItem(change.index);
            break;
    }
    showingModel_ = wasShowing;
}

// Each box's check mark before its enabled state, in the order of the boxes, then the lists:
// the order in which the rules have always set them.
void SelectionWindow::showChecks() {
    const bool wasShowing = std::exchange(showingModel_, true);
    for (const SelectionBox box : kBoxes) {
        QCheckBox* control = checkBox(box);
        if (control->isChecked() != model_.isChecked(box))
            control->setChecked(model_.isChecked(box));
    }
    for (const SelectionBox box : kBoxes) {
        QCheckBox* control = checkBox(box);
        if (control->isEnabled() != model_.isEnabled(box))
            control->setEnabled(model_.isEnabled(box));
    }
    for (const SelectionList list : kLists) {
        QListWidget* control = checkList(list);
        if (control->isEnabled() != model_.isEnabled(list))
            control->setEnabled(model_.isEnabled(list));
        for (int i = 0; i < control->count(); ++i) {
            const Qt::CheckState state = model_.isChecked(list, i) ? Qt::Checked : Qt::Unchecked;
            if (control->item(i)->checkState() != state) control->item(i)->setCheckState(state);
        }
    }
    showingModel_ = wasShowing;
}

// The name goes to the chosen list and the half-life to the same index of its twin; nothing
// is selected or scrolled.
void SelectionWindow::showChosenEntry(int index) {
    const auto at = static_cast<std::size_t>(index);
    auto* item = new QListWidgetItem(displayText(model_.chosenNames()[at]));
    item->setSizeHint(QSize(0, kChosenItemHeight));
    chosenList_->insertItem(index, item);
    halfLifeList_->insertItem(index, displayText(model_.chosenHalfLives()[at]));
}

// A box changed on the screen (a click, a key, or a program setting the control): the model
// takes the new state and runs the box's rule.
void SelectionWindow::boxToggled(SelectionBox box, bool checked) {
    if (!showingModel_) model_.setBox(box, checked);
}

// An item's check mark changed on the screen; an item runs no rule.
void SelectionWindow::itemChanged(SelectionList list, const QListWidgetItem* item) {
    if (showingModel_ || !item) return;
    model_.setItem(list, checkList(list)->row(item), item->checkState() == Qt::Checked);
}

// --- Nuclide grid, finder and chosen list -----------------------------------------------

QString SelectionWindow::gridName(int row) const {
    const QTableWidgetItem* cell = nuclideGrid_->item(row, 0);
    return cell ? cell->text() : QString();
}

std::string SelectionWindow::gridBytes(int row, int column) const {
    return keptBytes(nuclideGrid_->item(row, column));
}

void SelectionWindow::moveGridTo(int row) {
    nuclideGrid_->setCurrentCell(row, 0);
    nuclideGrid_->scrollToItem(nuclideGrid_->item(row, 0));
    if (!nuclideGrid_->item(row, 0)) nuclideGrid_->scrollTo(nuclideGrid_->model()->index(row, 0));
}

// Enter in the grid or the finder: the row's catalogue bytes are chosen, without looking for
// the data file.
void SelectionWindow::chooseGridRow(int row) {
    model_.appendChosen(gridBytes(row, 0), gridBytes(row, 1));
}

void SelectionWindow::selectGridCell(int /*column*/, int row) {
    currentGridRow_ = row;
}

void SelectionWindow::addGridNuclide() {
    runGuarded(messages_, [this] {
        const int row = currentGridRow_;
        if (!model_.chooseAvailable(gridBytes(row, 0), gridBytes(row, 1)))
            messages_.inform(QString::fromLatin1(kNuclideNotAvailableMessage));
    });
}

bool SelectionWindow::gridKeyPressed(int key) {
    if (!isEnter(key)) return false;
    // No data-file check here (the run refuses a nuclide without one), but an empty row below
    // the catalogue is no nuclide at all.
    if (!gridName(currentGridRow_).isEmpty()) chooseGridRow(currentGridRow_);
    return true;
}

void SelectionWindow::findNuclide() {
    const QString key = searchKeyOf(finderBox_->text());
    const int rows = nuclideGrid_->rowCount();
    for (finderRow_ = 0; finderRow_ < rows; ++finderRow_) {
        if (gridName(finderRow_).startsWith(key)) {
            moveGridTo(finderRow_);
            return;
        }
    }
}

bool SelectionWindow::finderKeyPressed(int key) {
    if (!isEnter(key)) return false;
    const QString searchKey = searchKeyOf(finderBox_->text());
    const int rows = nuclideGrid_->rowCount();
    int found = -1;
    // An empty box names no nuclide, even though it equals the name of an empty row.
    if (!searchKey.isEmpty()) {
        if (finderRow_ < rows && gridName(finderRow_) == searchKey) {
            found = finderRow_;
        } else {
            for (int row = 0; row < rows && found < 0; ++row)
                if (gridName(row) == searchKey) found = row;
        }
    }
    if (found < 0) {
        messages_.inform(QString::fromLatin1(selection_texts::kNuclideNotFoundMessage));
        return true;
    }
    currentGridRow_ = found;
    moveGridTo(found);
    chooseGridRow(found);
    // Emptying the box searches again with the empty key, which moves the grid back to row 0.
    finderBox_->clear();
    return true;
}

void SelectionWindow::removeLowestSelectedChosen() {
    for (int i = 0; i < chosenList_->count(); ++i) {
        if (chosenList_->item(i)->isSelected()) {
            model_.removeChosen(i);
            return;
        }
    }
}

void SelectionWindow::removeChosenNuclide() {
    removeLowestSelectedChosen();
}

// Enter presses the push button that has the focus, as Space does (and as Enter does on a
// focused button of a dialog). No button becomes the window's default: Enter elsewhere (in
// the finder, in the grid) keeps its own meaning, and a focused button looks as before.
bool SelectionWindow::buttonKeyPressed(QPushButton* button, int key) {
    if (!isEnter(key)) return false;
    button->click();
    return true;
}

bool SelectionWindow::chosenListKeyPressed(int key) {
    if (key != Qt::Key_Delete) return false;
    removeLowestSelectedChosen();
    return true;
}

bool SelectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (QPushButton* button : {loadButton_, saveButton_, runButton_, exitButton_})
            if (watched == button) return buttonKeyPressed(button, key);
        if (watched == nuclideGrid_) return gridKeyPressed(key);
        if (watched == finderBox_) return finderKeyPressed(key);
        if (watched == chosenList_) return chosenListKeyPressed(key);
    }
    // Only the left button's double click adds or removes a nuclide.
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == chosenList_->viewport()) {
            if (mouse->button() == Qt::LeftButton) removeChosenNuclide();
            return true;
        }
        if (watched == nuclideGrid_->viewport()) {
            if (mouse->button() == Qt::LeftButton &&
                nuclideGrid_->indexAt(mouse->position().toPoint()).isValid())
                addGridNuclide();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- The selection as data --------------------------------------------------------------

QCheckBox* SelectionWindow::checkBox(SelectionBox box) const {
    switch (box) {
        case SelectionBox::Public:
            return publicBox_;
        case SelectionBox::Occupational:
            return occupationalBox_;
        case SelectionBox::AllRoutes:
            return allRoutesBox_;
        case SelectionBox::Ingestion:
            return ingestionBox_;
        case SelectionBox::Particulates:
            return particulatesBox_;
        case SelectionBox::Vapours:
            return vapoursBox_;
        case SelectionBox::AllAerosol:
            return allAerosolBox_;
        case SelectionBox::AllAcutes:
            return allAcutesBox_;
        case SelectionBox::AllChronics:
            return allChronicsBox_;
        case SelectionBox::AllOrgans:
            return allOrgansBox_;
        case SelectionBox::AllPeriods:
            return allPeriodsBox_;
    }
    return nullptr;
}

QListWidget* SelectionWindow::checkList(SelectionList list) const {
    switch (list) {
        case SelectionList::Aerosol:
            return aerosolList_;
        case SelectionList::AcuteScenarios:
            return acuteList_;
        case SelectionList::ChronicScenarios:
            return chronicList_;
        case SelectionList::Tissues:
            return tissueList_;
        case SelectionList::Periods:
            return periodList_;
    }
    return nullptr;
}

SelectionSnapshot SelectionWindow::snapshot() const {
    return model_.snapshot();
}

const std::string& SelectionWindow::dataDirectory() const {
    return model_.dataDirectory();
}

void SelectionWindow::clearChosen() {
    model_.clearChosen();
}

void SelectionWindow::appendChosen(const std::string& name, const std::string& halfLife) {
    model_.appendChosen(name, halfLife);
}

// Its rule runs exactly when a click would run it: only on a real change, whether the box is
// enabled or not.
void SelectionWindow::setBox(SelectionBox box, bool checked) {
    model_.setBox(box, checked);
}

// A check-list item only holds its mark; setting it runs nothing.
void SelectionWindow::setItem(SelectionList list, int index, bool checked) {
    model_.setItem(list, index, checked);
}

bool SelectionWindow::dataFileExists(std::string_view nuclideName) {
    return model_.dataFileExists(nuclideName);
}

}  // namespace fetaldose::gui
