#include "core/selection/selection_model.h"

#include <utility>

#include "core/refdata/data_directory.h"

namespace fetaldose {

namespace {

constexpr std::array<int, kSelectionListCount> kItemCounts = {10, 8, 3, 17, 5};

template <std::size_t N>
void copyItems(const std::vector<bool>& items, std::array<bool, N>& into) {
    for (std::size_t i = 0; i < N; ++i) into[i] = i < items.size() && items[i];
}

}  // namespace

SelectionModel::SelectionModel(std::string dataDirectory)
    : dataDirectory_(std::move(dataDirectory)) {
    for (int l = 0; l < kSelectionListCount; ++l)
        lists_[static_cast<std::size_t>(l)].items.assign(
            static_cast<std::size_t>(kItemCounts[static_cast<std::size_t>(l)]), false);
    box(SelectionBox::AllAerosol).enabled = false;
    list(SelectionList::Aerosol).enabled = false;
}

bool SelectionModel::isChecked(SelectionBox which) const {
    return box(which).checked;
}

bool SelectionModel::isEnabled(SelectionBox which) const {
    return box(which).enabled;
}

bool SelectionModel::isEnabled(SelectionList which) const {
    return list(which).enabled;
}

bool SelectionModel::isChecked(SelectionList which, int index) const {
    const std::vector<bool>& items = list(which).items;
    return index >= 0 && static_cast<std::size_t>(index) < items.size() &&
           items[static_cast<std::size_t>(index)];
}

int SelectionModel::itemCount(SelectionList which) {
    return kItemCounts[static_cast<std::size_t>(which)];
}

SelectionSnapshot SelectionModel::snapshot() const {
    SelectionSnapshot s;
    s.nuclides = chosenNames_;
    s.halfLives = chosenHalfLives_;
    s.memberOfPublic = isChecked(SelectionBox::Public);
    s.occupational = isChecked(SelectionBox::Occupational);
    s.allRoutes = isChecked(SelectionBox::AllRoutes);
    s.ingestion = isChecked(SelectionBox::Ingestion);
    s.particulates = isChecked(SelectionBox::Particulates);
    s.vapours = isChecked(SelectionBox::Vapours);
    s.allAerosol = isChecked(SelectionBox::AllAerosol);
    s.allAcutes = isChecked(SelectionBox::AllAcutes);
    s.allChronics = isChecked(SelectionBox::AllChronics);
    s.allOrgans = isChecked(SelectionBox::AllOrgans);
    s.allPeriods = isChecked(SelectionBox::AllPeriods);
    copyItems(list(SelectionList::Aerosol).items, s.aerosol);
    copyItems(list(SelectionList::AcuteScenarios).items, s.acuteScenarios);
    copyItems(list(SelectionList::ChronicScenarios).items, s.chronicScenarios);
    copyItems(list(SelectionList::Tissues).items, s.tissues);
    copyItems(list(SelectionList::Periods).items, s.periods);
    return s;
}

void SelectionModel::setDataDirectory(std::string dataDirectory) {
    dataDirectory_ = std::move(dataDirectory);
}

void SelectionModel::setChangeListener(ChangeListener listener) {
    listener_ = std::move(listener);
}

void SelectionModel::changed(SelectionChange change) {
    if (listener_) listener_(change);
}

// --- Enabling rules ---------------------------------------------------------------------
// Enabling only governs what the user can click; no rule changes a checked state.

void SelectionModel::runRule(SelectionBox changedBox) {
    Box& allRoutes = box(SelectionBox::AllRoutes);
    Box& particulates = box(SelectionBox::Particulates);
    Box& allAerosol = box(SelectionBox::AllAerosol);
    List& aerosol = list(SelectionList::Aerosol);
    switch (changedBox) {
        case SelectionBox::AllRoutes:
            box(SelectionBox::Ingestion).enabled = !allRoutes.checked;
            particulates.enabled = !allRoutes.checked;
            box(SelectionBox::Vapours).enabled = !allRoutes.checked;
            allAerosol.enabled = allRoutes.checked || particulates.checked;
            aerosol.enabled = allAerosol.enabled && !allAerosol.checked;
            return;
        case SelectionBox::Particulates:
            // Turned on with "All sizes" checked, the list keeps the enabled state it had.
            if (particulates.checked) {
                allAerosol.enabled = true;
                if (!allAerosol.checked) aerosol.enabled = true;
            } else {
                aerosol.enabled = false;
                allAerosol.enabled = false;
            }
            return;
        case SelectionBox::AllAerosol:
            aerosol.enabled = !allAerosol.checked && (particulates.checked || allRoutes.checked);
            return;
        case SelectionBox::AllAcutes:
            list(SelectionList::AcuteScenarios).enabled = !box(changedBox).checked;
            return;
        case SelectionBox::AllChronics:
            list(SelectionList::ChronicScenarios).enabled = !box(changedBox).checked;
            return;
        case SelectionBox::AllOrgans:
            list(SelectionList::Tissues).enabled = !box(changedBox).checked;
            return;
        case SelectionBox::AllPeriods:
            list(SelectionList::Periods).enabled = !box(changedBox).checked;
            return;
        case SelectionBox::Public:
        case SelectionBox::Occupational:
        case SelectionBox::Ingestion:
        case SelectionBox::Vapours:
            return;
    }
}

// --- Commands ---------------------------------------------------------------------------

bool SelectionModel::userToggled(SelectionBox which) {
    if (!isEnabled(which)) return false;
    setBox(which, !isChecked(which));
    return true;
}

bool SelectionModel::userToggledItem(SelectionList which, int index) {
    if (!isEnabled(which) || index < 0 || index >= itemCount(which)) return false;
    setItem(which, index, !isChecked(which, index));
    return true;
}

bool SelectionModel::chooseAvailable(const std::string& name, const std::string& halfLife) {
    if (!dataFileExists(name)) return false;
    appendChosen(name, halfLife);
    return true;
}

void SelectionModel::removeChosen(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= chosenNames_.size()) return;
    chosenNames_.erase(chosenNames_.begin() + index);
    chosenHalfLives_.erase(chosenHalfLives_.begin() + index);
    changed({SelectionChange::Kind::ChosenRemoved, index});
}

OptionsLoad SelectionModel::loadOptions(const std::string& path, OptionsLoadTrace* trace) {
    return loadOptionsFile(path, *this, trace);
}

// --- Commands shared with the options loader ---------------------------------------------

void SelectionModel::clearChosen() {
    chosenNames_.clear();
    chosenHalfLives_.clear();
    changed({SelectionChange::Kind::ChosenCleared});
}

void SelectionModel::appendChosen(const std::string& name, const std::string& halfLife) {
    chosenNames_.push_back(name);
    chosenHalfLives_.push_back(halfLife);
    changed({SelectionChange::Kind::ChosenAppended, static_cast<int>(chosenNames_.size()) - 1});
}

void SelectionModel::setBox(SelectionBox which, bool checked) {
    if (box(which).checked == checked) return;
    box(which).checked = checked;
    runRule(which);
    changed();
}

void SelectionModel::setItem(SelectionList which, int index, bool checked) {
    std::vector<bool>& items = list(which).items;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return;
    if (items[static_cast<std::size_t>(index)] == checked) return;
    items[static_cast<std::size_t>(index)] = checked;
    changed();
}

bool SelectionModel::dataFileExists(std::string_view nuclideName) {
    return ::fetaldose::dataFileExists(dataDirectory_, nuclideName);
}

}  // namespace fetaldose
