// The selection model driven through the sequences the selection window's tests click and the
// options loader's tests load: the same check and enabled states, step by step.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/options/options_file.h"
#include "core/selection/selection_model.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::TempDir;
using testing::writeBytes;

using B = SelectionBox;
using L = SelectionList;

class SelectionModelTest : public ::testing::Test {
  protected:
    TempDir dir;
    SelectionModel model{dir.slash()};
    std::string path = dir.file("choice.opt");

    void click(B box) { ASSERT_TRUE(model.userToggled(box)); }
    void addDataFile(const std::string& name) { writeBytes(dir.file(name + ".dat"), "1\r\n"); }
};

TEST_F(SelectionModelTest, StartsWithOnlyTheAerosolControlsDisabled) {
    for (int b = 0; b < kSelectionBoxCount; ++b) {
        EXPECT_FALSE(model.isChecked(B(b)));
        EXPECT_EQ(model.isEnabled(B(b)), B(b) != B::AllAerosol);
    }
    for (int l = 0; l < kSelectionListCount; ++l) {
        EXPECT_EQ(model.isEnabled(L(l)), L(l) != L::Aerosol);
        for (int i = 0; i < SelectionModel::itemCount(L(l)); ++i)
            EXPECT_FALSE(model.isChecked(L(l), i));
    }
    EXPECT_EQ(model.snapshot(), SelectionSnapshot{});
    // A disabled box or list takes no click.
    EXPECT_FALSE(model.userToggled(B::AllAerosol));
    EXPECT_FALSE(model.userToggledItem(L::Aerosol, 0));
    EXPECT_FALSE(model.isChecked(B::AllAerosol));
}

TEST_F(SelectionModelTest, ParticulatesAndAllSizesGovernTheAerosolList) {
    click(B::Particulates);
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_TRUE(model.isEnabled(L::Aerosol));
    ASSERT_TRUE(model.userToggledItem(L::Aerosol, 3));

    click(B::AllAerosol);
    EXPECT_FALSE(model.isEnabled(L::Aerosol));

    // Turning the route off disables both; the checks stay as they were.
    click(B::Particulates);
    EXPECT_FALSE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    EXPECT_TRUE(model.isChecked(B::AllAerosol));
    EXPECT_TRUE(model.isChecked(L::Aerosol, 3));

    // On again with "All sizes" on: the box comes back, the list stays disabled.
    click(B::Particulates);
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    click(B::AllAerosol);
    EXPECT_TRUE(model.isEnabled(L::Aerosol));
    EXPECT_TRUE(model.isChecked(L::Aerosol, 3));
}

TEST_F(SelectionModelTest, AllRoutesOnAndOffAgain) {
    const std::vector<B> routes = {B::Ingestion, B::Particulates, B::Vapours};
    // With "Inhalation - particulates" off.
    click(B::Ingestion);
    click(B::AllRoutes);
    for (B route : routes) EXPECT_FALSE(model.isEnabled(route));
    EXPECT_TRUE(model.isChecked(B::Ingestion));
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_TRUE(model.isEnabled(L::Aerosol));
    click(B::AllRoutes);
    for (B route : routes) EXPECT_TRUE(model.isEnabled(route));
    EXPECT_TRUE(model.isChecked(B::Ingestion));
    EXPECT_FALSE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));

    // With it on: both enabled afterwards, or the list disabled while "All sizes" is on.
    click(B::Particulates);
    click(B::AllRoutes);
    click(B::AllRoutes);
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_TRUE(model.isEnabled(L::Aerosol));
    click(B::AllAerosol);
    click(B::AllRoutes);
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    click(B::AllRoutes);
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    EXPECT_TRUE(model.isChecked(B::AllAerosol));
}

TEST_F(SelectionModelTest, SelectAllBoxesDisableTheirListsAndKeepItsChecks) {
    for (const auto& [box, list] :
         std::vector<std::pair<B, L>>{{B::AllAcutes, L::AcuteScenarios},
                                      {B::AllChronics, L::ChronicScenarios},
                                      {B::AllOrgans, L::Tissues},
                                      {B::AllPeriods, L::Periods}}) {
        ASSERT_TRUE(model.userToggledItem(list, 1));
        click(box);
        EXPECT_FALSE(model.isEnabled(list));
        EXPECT_FALSE(model.userToggledItem(list, 0));
        click(box);
        EXPECT_TRUE(model.isEnabled(list));
        EXPECT_TRUE(model.isChecked(list, 1));
        EXPECT_FALSE(model.isChecked(list, 0));
    }
}

TEST_F(SelectionModelTest, BoxesSetByCodeRunTheirRulesOnlyOnAChange) {
    int changes = 0;
    model.setChangeListener([&changes](const SelectionChange&) { ++changes; });
    ControlsSink& sink = model;
    sink.setBox(B::AllRoutes, true);
    EXPECT_FALSE(model.isEnabled(B::Ingestion));
    EXPECT_FALSE(model.isEnabled(B::Particulates));
    EXPECT_FALSE(model.isEnabled(B::Vapours));
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_EQ(changes, 1);

    // A disabled box set from code still runs its rule when its state changes...
    sink.setBox(B::Particulates, true);
    sink.setBox(B::Particulates, false);
    EXPECT_FALSE(model.isEnabled(B::AllAerosol));
    // ...and nothing runs when a box is set to the state it has.
    changes = 0;
    sink.setBox(B::AllRoutes, true);
    EXPECT_FALSE(model.isEnabled(B::AllAerosol));
    EXPECT_EQ(changes, 0);

    sink.setBox(B::AllOrgans, true);
    EXPECT_FALSE(model.isEnabled(L::Tissues));

    // Setting an item runs no rule, in a disabled list too; an index past the list is ignored.
    sink.setItem(L::Tissues, 16, true);
    sink.setItem(L::Aerosol, 0, true);
    sink.setItem(L::Aerosol, 10, true);
    EXPECT_FALSE(model.isEnabled(L::Tissues));
    EXPECT_TRUE(model.isChecked(L::Tissues, 16));
    EXPECT_TRUE(model.isChecked(L::Aerosol, 0));
    sink.setItem(L::Aerosol, 0, false);
    EXPECT_FALSE(model.isChecked(L::Aerosol, 0));
}

TEST_F(SelectionModelTest, SnapshotCopiesEveryStateEnabledOrNot) {
    ControlsSink& sink = model;
    sink.setBox(B::Public, true);
    sink.setBox(B::Particulates, true);
    sink.setBox(B::Vapours, true);
    sink.setBox(B::AllRoutes, true);
    sink.setBox(B::AllAerosol, true);
    sink.setItem(L::Aerosol, 9, true);
    sink.setItem(L::AcuteScenarios, 2, true);
    sink.setBox(B::AllChronics, true);
    sink.setItem(L::ChronicScenarios, 0, true);
    sink.setItem(L::Tissues, 2, true);
    sink.setBox(B::AllPeriods, true);
    sink.appendChosen("Pu-239", "24110 y");
    sink.appendChosen("Pu-239", "as in the file");

    SelectionSnapshot expected;
    expected.nuclides = {"Pu-239", "Pu-239"};
    expected.halfLives = {"24110 y", "as in the file"};
    expected.memberOfPublic = expected.allRoutes = expected.particulates = expected.vapours = true;
    expected.allAerosol = expected.aerosol[9] = expected.acuteScenarios[2] = true;
    expected.allChronics = expected.chronicScenarios[0] = expected.tissues[2] = true;
    expected.allPeriods = true;
    EXPECT_EQ(model.snapshot(), expected);

    // Removal takes the same index from both lists; loading empties both together.
    model.removeChosen(0);
    model.removeChosen(5);
    EXPECT_EQ(model.chosenHalfLives(), std::vector<std::string>{"as in the file"});
    sink.clearChosen();
    EXPECT_TRUE(model.snapshot().nuclides.empty());
    EXPECT_TRUE(model.snapshot().halfLives.empty());
}

// A view follows the chosen lists entry by entry: each change says which entry it touched.
TEST_F(SelectionModelTest, ChangesSayWhichChosenEntryTheyTouched) {
    using K = SelectionChange::Kind;
    std::vector<std::pair<K, int>> changes;
    model.setChangeListener([&changes](const SelectionChange& change) {
        changes.emplace_back(change.kind, change.index);
    });
    model.appendChosen("H-3", "12.32 y");
    model.appendChosen("C-14", "5700 y");
    model.removeChosen(0);
    model.removeChosen(1);  // past the end: no change
    click(B::AllOrgans);
    ASSERT_TRUE(model.userToggledItem(L::Periods, 2));
    model.clearChosen();
    const std::vector<std::pair<K, int>> expected = {
        {K::ChosenAppended, 0}, {K::ChosenAppended, 1}, {K::ChosenRemoved, 0},
        {K::Checks, -1},        {K::Checks, -1},        {K::ChosenCleared, -1}};
    EXPECT_EQ(changes, expected);
}

TEST_F(SelectionModelTest, ChoosingLooksForTheDataFileInItsDirectory) {
    addDataFile("Pu-239");
    EXPECT_TRUE(model.dataFileExists("Pu-239"));
    EXPECT_TRUE(model.dataFileExists("pu-239"));  // without regard to case where not exact
    EXPECT_FALSE(model.dataFileExists("Pu-240"));
    EXPECT_FALSE(model.dataFileExists(""));
    EXPECT_TRUE(model.chooseAvailable("Pu-239", "24110 y"));
    EXPECT_FALSE(model.chooseAvailable("Pu-240", "6561 y"));
    EXPECT_EQ(model.chosenNames(), std::vector<std::string>{"Pu-239"});
}

// Loading runs the same rules as clicks: the enabled states follow the boxes the file sets.
TEST_F(SelectionModelTest, LoadingSetsBoxesThroughTheirRules) {
    addDataFile("Pu-239");
    SelectionSnapshot saved;
    saved.nuclides = {"Pu-239"};
    saved.halfLives = {"24110 y"};
    saved.memberOfPublic = saved.allRoutes = saved.allAerosol = saved.allOrgans = true;
    saved.tissues[4] = saved.periods[1] = true;
    saveOptionsFile(path, saved);

    click(B::Vapours);
    ASSERT_EQ(model.loadOptions(path), OptionsLoad::Completed);
    EXPECT_EQ(model.chosenNames(), saved.nuclides);
    EXPECT_TRUE(model.isChecked(B::Vapours));  // kept behind "All routes"
    EXPECT_FALSE(model.isEnabled(B::Vapours));
    EXPECT_TRUE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    EXPECT_FALSE(model.isEnabled(L::Tissues));
    EXPECT_TRUE(model.isEnabled(L::Periods));
    EXPECT_TRUE(model.isChecked(L::Periods, 1));

    // No particulate route in force: the aerosol section loads unchecked and disabled.
    saved.allRoutes = false;
    saved.ingestion = true;
    saveOptionsFile(path, saved);
    ASSERT_EQ(model.loadOptions(path), OptionsLoad::Completed);
    EXPECT_FALSE(model.isChecked(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(B::AllAerosol));
    EXPECT_FALSE(model.isEnabled(L::Aerosol));
    EXPECT_TRUE(model.isEnabled(B::Vapours));
    EXPECT_FALSE(model.isChecked(B::Vapours));
}

}  // namespace
}  // namespace fetaldose
