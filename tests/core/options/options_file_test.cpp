// Saving a selection to an options file and loading it back into the controls.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/options/options_file.h"
#include "core/textio/faults.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::crLfLines;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// The selection window as the loader sees it: check states, the chosen lists, and a log of
// the boxes whose click rule ran (only on a real change, as a click would).
class RecordingControls : public ControlsSink {
  public:
    SelectionSnapshot state;
    std::set<std::string> dataFiles;
    std::vector<SelectionBox> rulesRun;
    int clears = 0;
    int calls = 0;

    void clearChosen() override {
        ++clears;
        ++calls;
        state.nuclides.clear();
        state.halfLives.clear();
    }
    void appendChosen(const std::string& name, const std::string& halfLife) override {
        ++calls;
        state.nuclides.push_back(name);
        state.halfLives.push_back(halfLife);
    }
    void setBox(SelectionBox box, bool checked) override {
        ++calls;
        bool& b = boxFlag(box);
        if (b != checked) rulesRun.push_back(box);
        b = checked;
    }
    void setItem(SelectionList list, int index, bool checked) override {
        ++calls;
        switch (list) {
            case SelectionList::Aerosol:
                state.aerosol.at(index) = checked;
                break;
            case SelectionList::AcuteScenarios:
                state.acuteScenarios.at(index) = checked;
                break;
            case SelectionList::ChronicScenarios:
                state.chronicScenarios.at(index) = checked;
                break;
            case SelectionList::Tissues:
                state.tissues.at(index) = checked;
                break;
            case SelectionList::Periods:
                state.periods.at(index) = checked;
                break;
        }
    }
    bool dataFileExists(std::string_view name) override {
        return dataFiles.count(std::string(name)) > 0;
    }

  private:
    bool& boxFlag(SelectionBox box) {
        switch (box) {
            case SelectionBox::Public:
                return state.memberOfPublic;
            case SelectionBox::Occupational:
                return state.occupational;
            case SelectionBox::AllRoutes:
                return state.allRoutes;
            case SelectionBox::Ingestion:
                return state.ingestion;
            case SelectionBox::Particulates:
                return state.particulates;
            case SelectionBox::Vapours:
                return state.vapours;
            case SelectionBox::AllAerosol:
                return state.allAerosol;
            case SelectionBox::AllAcutes:
                return state.allAcutes;
            case SelectionBox::AllChronics:
                return state.allChronics;
            case SelectionBox::AllOrgans:
                return state.allOrgans;
            case SelectionBox::AllPeriods:
                return state.allPeriods;
        }
        throw std::logic_error("box");
    }
};

SelectionSnapshot allBoxesChecked() {
    SelectionSnapshot s;
    s.allRoutes = s.allAcutes = s.allChronics = s.allAerosol = s.allOrgans = s.allPeriods = true;
    return s;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no line end>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class OptionsFile : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("choice.opt");
    RecordingControls controls;
};

TEST_F(OptionsFile, SavesTheWorkedExampleByteForByte) {
    SelectionSnapshot s = allBoxesChecked();
    s.memberOfPublic = true;
    s.allChronics = false;
    s.chronicScenarios = {false, false, true};
    // Marks behind checked select-all boxes are not saved.
    s.acuteScenarios[2] = s.tissues[5] = s.aerosol[1] = true;
    saveOptionsFile(path, s);
    EXPECT_EQ(readBytes(path),
              crLfLines({"0", "Exposure group", "yes", "no", "Routes", "yes", "Acute scenarios",
                         "yes", "Chronic scenarios", "no", "no", "no", "yes", "AMADs", "yes",
                         "Tissues", "yes", "Time periods", "yes"}));
}

TEST_F(OptionsFile, LengthFollowsTheSelectAllBoxes) {
    saveOptionsFile(path, allBoxesChecked());
    EXPECT_EQ(linesOf(readBytes(path)).size(), 16u);

    SelectionSnapshot s;
    s.nuclides = {"Pu-239", "Cs-137", "Pu-239"};
    s.halfLives = {" 24065 y ", "", "24065 y"};
    s.particulates = true;
    saveOptionsFile(path, s);
    const auto lines = linesOf(readBytes(path));
    ASSERT_EQ(lines.size(), 62u + 2 * 3);
    EXPECT_EQ(lines[0], "3");
    EXPECT_EQ(lines[1], "Pu-239");
    EXPECT_EQ(lines[2], " 24065 y ");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[7], "Exposure group");
}

TEST_F(OptionsFile, AerosolRuleBothWays) {
    // No particulate route in force: "AMADs" and eleven "no", whatever the aerosol controls say.
    SelectionSnapshot s = allBoxesChecked();
    s.allRoutes = false;
    s.ingestion = true;
    s.aerosol = {true, true, true, true, true, true, true, true, true, true};
    saveOptionsFile(path, s);
    auto lines = linesOf(readBytes(path));
    const auto amads = std::find(lines.begin(), lines.end(), "AMADs") - lines.begin();
    ASSERT_LT(amads + 11, static_cast<long>(lines.size()));
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(lines[amads + i], "no");
    EXPECT_EQ(lines[amads + 12], "Tissues");

    controls.state.allAerosol = true;
    controls.state.aerosol.fill(true);
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_FALSE(controls.state.allAerosol);
    EXPECT_EQ(controls.state.aerosol, (std::array<bool, 10>{}));

    // "All routes" alone puts particulates in force: the aerosol box is saved as it is.
    s.allRoutes = true;
    s.ingestion = false;
    saveOptionsFile(path, s);
    lines = linesOf(readBytes(path));
    EXPECT_EQ(lines[std::find(lines.begin(), lines.end(), "AMADs") - lines.begin() + 1], "yes");
}

// Save then load restores every check state, over all combinations of the select-all boxes,
// except what the format does not carry: item marks behind a checked box keep their earlier
// state, and aerosol marks with no particulate route in force load unchecked.
TEST_F(OptionsFile, SaveThenLoadRestoresTheSelection) {
    std::mt19937 random(7);
    auto coin = [&random] { return (random() & 1) != 0; };
    auto randomize = [&](SelectionSnapshot& s) {
        s.memberOfPublic = coin();
        s.occupational = coin();
        s.ingestion = coin();
        s.particulates = coin();
        s.vapours = coin();
        for (auto& b : s.aerosol) b = coin();
        for (auto& b : s.acuteScenarios) b = coin();
        for (auto& b : s.chronicScenarios) b = coin();
        for (auto& b : s.tissues) b = coin();
        for (auto& b : s.periods) b = coin();
    };
    for (int combination = 0; combination < 64; ++combination) {
        for (int round = 0; round < 3; ++round) {
            SelectionSnapshot saved;
            randomize(saved);
            saved.allRoutes = combination & 1;
            saved.allAcutes = combination & 2;
            saved.allChronics = combination & 4;
            saved.allAerosol = combination & 8;
            saved.allOrgans = combination & 16;
            saved.allPeriods = combination & 32;
            const int n = static_cast<int>(random() % 4);
            for (int i = 0; i < n; ++i) {
                saved.nuclides.push_back("N-" + std::to_string(random() % 3));
                saved.halfLives.push_back(std::to_string(random()) + " y ");
                controls.dataFiles.insert(saved.nuclides.back());
            }
            SelectionSnapshot before;
            randomize(before);
            before.allRoutes = coin();
            before.allAerosol = coin();
            before.nuclides = {"old"};
            before.halfLives = {"old"};
            controls.state = before;

            saveOptionsFile(path, saved);
            ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);

            SelectionSnapshot expected = saved;
            if (saved.allRoutes) {
                expected.ingestion = before.ingestion;
                expected.particulates = before.particulates;
                expected.vapours = before.vapours;
            }
            if (saved.allAcutes) expected.acuteScenarios = before.acuteScenarios;
            if (saved.allChronics) expected.chronicScenarios = before.chronicScenarios;
            if (!saved.allRoutes && !saved.particulates) {
                expected.allAerosol = false;
                expected.aerosol = {};
            } else if (saved.allAerosol) {
                expected.aerosol = before.aerosol;
            }
            if (saved.allOrgans) expected.tissues = before.tissues;
            if (saved.allPeriods) expected.periods = before.periods;
            ASSERT_EQ(controls.state, expected) << "combination " << combination;
        }
    }
}

TEST_F(OptionsFile, BoxesRunTheirRuleOnlyWhenTheyChange) {
    SelectionSnapshot s = allBoxesChecked();
    s.memberOfPublic = true;
    saveOptionsFile(path, s);
    controls.state.allRoutes = true;
    controls.state.ingestion = true;
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_EQ(controls.rulesRun,
              (std::vector<SelectionBox>{SelectionBox::Public, SelectionBox::AllAcutes,
                                         SelectionBox::AllChronics, SelectionBox::AllAerosol,
                                         SelectionBox::AllOrgans, SelectionBox::AllPeriods}));
    EXPECT_TRUE(controls.state.ingestion);  // kept behind "All routes"
}

TEST_F(OptionsFile, OnlyAnExactYesChecksAndLabelsAreNotRead) {
    writeBytes(path,
               crLfLines({"0",           "anything", "Yes",     "yes ",  // count, label, two groups
                          "not a label", "no",       "yes",     "YES",  "",    // routes
                          "Acute",       "yes",                                // all acutes
                          "x",           "no",       "yes",     "no",   "no",  // chronics
                          "AMADs",       "yes",      "Tissues", "yes",  "T",  "yes"}));
    controls.state.memberOfPublic = controls.state.occupational = true;
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_FALSE(controls.state.memberOfPublic);
    EXPECT_FALSE(controls.state.occupational);
    EXPECT_FALSE(controls.state.allRoutes);
    EXPECT_TRUE(controls.state.ingestion);
    EXPECT_FALSE(controls.state.particulates);
    EXPECT_FALSE(controls.state.vapours);
    EXPECT_TRUE(controls.state.allAcutes);
    EXPECT_FALSE(controls.state.allChronics);
    EXPECT_EQ(controls.state.chronicScenarios, (std::array<bool, 3>{true, false, false}));
    EXPECT_TRUE(controls.state.allAerosol);
    EXPECT_TRUE(controls.state.allOrgans);
    EXPECT_TRUE(controls.state.allPeriods);
}

TEST_F(OptionsFile, ANuclideWithoutDataFileStopsTheLoad) {
    controls.dataFiles = {"Pu-239"};
    controls.state = allBoxesChecked();
    controls.state.nuclides = {"old"};
    controls.state.halfLives = {"old"};
    const SelectionSnapshot before = controls.state;
    // The count promises three nuclides; the second has no data file.
    writeBytes(path, crLfLines({"3", "Pu-239", "24065 y", "Xx-1", "1 d", "Pu-239", "24065 y",
                                "Exposure group", "yes", "yes"}));
    EXPECT_EQ(loadOptionsFile(path, controls), OptionsLoad::NuclideNotAvailable);
    SelectionSnapshot expected = before;
    expected.nuclides = {"Pu-239"};
    expected.halfLives = {"24065 y"};
    EXPECT_EQ(controls.state, expected);
    EXPECT_TRUE(controls.rulesRun.empty());

    // A count beyond the names stops at the first missing (empty) name.
    writeBytes(path, crLfLines({"2", "Pu-239", "h"}));
    EXPECT_EQ(loadOptionsFile(path, controls), OptionsLoad::NuclideNotAvailable);
    EXPECT_EQ(controls.state.nuclides, std::vector<std::string>{"Pu-239"});
    EXPECT_EQ(controls.state.halfLives, std::vector<std::string>{"h"});
}

TEST_F(OptionsFile, LfOnlyAndTruncatedFilesReadPositionally) {
    controls.dataFiles = {"Pu-239"};
    // LF alone does not end a line: the count is read and everything after it is lost.
    writeBytes(path, "0\nExposure group\nyes\nyes\nRoutes\nyes\n");
    controls.state = allBoxesChecked();
    controls.state.tissues.fill(true);
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    SelectionSnapshot nothing;
    EXPECT_EQ(controls.state, nothing);
    writeBytes(path, "1\nPu-239\n24065 y\n");
    EXPECT_EQ(loadOptionsFile(path, controls), OptionsLoad::NuclideNotAvailable);

    // Cut inside the tissue list: from the cut on, everything is unchecked.
    SelectionSnapshot s = allBoxesChecked();
    s.memberOfPublic = true;
    s.allOrgans = false;
    s.tissues.fill(true);
    saveOptionsFile(path, s);
    std::string bytes = readBytes(path);
    const auto cut = bytes.find("Tissues\r\nno\r\n") + 13 + 4 * 5;  // four tissue flags kept
    writeBytes(path, bytes.substr(0, cut));
    controls.state = allBoxesChecked();
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_TRUE(controls.state.memberOfPublic);
    EXPECT_TRUE(controls.state.allAerosol);
    EXPECT_FALSE(controls.state.allOrgans);
    EXPECT_EQ(std::count(controls.state.tissues.begin(), controls.state.tissues.end(), true), 4);
    EXPECT_FALSE(controls.state.allPeriods);
    EXPECT_EQ(controls.state.periods, (std::array<bool, 5>{}));

    // Ctrl-Z ends the file.
    writeBytes(path, crLfLines({"0", "E", "yes", "yes"}) + "\x1a" + crLfLines({"R", "yes"}));
    controls.state = allBoxesChecked();
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_TRUE(controls.state.occupational);
    EXPECT_FALSE(controls.state.allRoutes);
}

TEST_F(OptionsFile, LoadFailures) {
    controls.state.nuclides = {"old"};
    controls.state.halfLives = {"old"};
    try {
        loadOptionsFile(dir.file("missing.opt"), controls);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_EQ(controls.calls, 0);
    EXPECT_THROW(loadOptionsFile(dir.slash(), controls), IoError);
    EXPECT_EQ(controls.calls, 0);

    // A first line that is not a whole number: the lists are already empty, nothing else set.
    writeBytes(path, crLfLines({"  2x", "Pu-239", "h", "E", "yes"}));
    controls.state.memberOfPublic = true;
    try {
        loadOptionsFile(path, controls);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    EXPECT_EQ(controls.clears, 1);
    EXPECT_EQ(controls.calls, 1);
    EXPECT_TRUE(controls.state.nuclides.empty());
    EXPECT_TRUE(controls.state.memberOfPublic);

    // Blank lines and blanks before the count are skipped; the rest of its line is ignored.
    writeBytes(path, "\r\n   \r\n -1 nuclides\r\nE\r\nyes\r\n");
    ASSERT_EQ(loadOptionsFile(path, controls), OptionsLoad::Completed);
    EXPECT_TRUE(controls.state.nuclides.empty());
    EXPECT_TRUE(controls.state.memberOfPublic);
}

// A trace names the line where a load stops and what it should hold, and the lines read
// otherwise than a writer may mean; the load is the same with a trace as without.
TEST_F(OptionsFile, TraceNamesTheLinesOfAHandWrittenFile) {
    controls.dataFiles = {"Pu-239"};
    OptionsLoadTrace trace;
    writeBytes(path, crLfLines({"", " 2", "Pu-239", "24065 y", "Pu-240", "1 d"}));
    EXPECT_EQ(loadOptionsFile(path, controls, &trace), OptionsLoad::NuclideNotAvailable);
    EXPECT_EQ(trace.last.number, 5);
    EXPECT_EQ(trace.last.text, "Pu-240");
    EXPECT_FALSE(trace.last.pastEnd);
    EXPECT_NE(trace.last.expected.find("nuclide"), std::string::npos);

    trace = {};
    writeBytes(path, crLfLines({"2", "Pu-239", "24065 y"}));
    EXPECT_EQ(loadOptionsFile(path, controls, &trace), OptionsLoad::NuclideNotAvailable);
    EXPECT_EQ(trace.last.number, 4);
    EXPECT_TRUE(trace.last.pastEnd);

    trace = {};
    writeBytes(path, crLfLines({"", "", "two", "Pu-239"}));
    EXPECT_THROW(loadOptionsFile(path, controls, &trace), IoError);
    EXPECT_EQ(trace.last.number, 3);
    EXPECT_EQ(trace.last.text, "two");

    // "Yes" unchecks, a wrong label is skipped, the end comes before the chronic scenarios:
    // each is noted once, the end once for all the lines after it.
    trace = {};
    writeBytes(path, crLfLines({"0", "Exposure group", "Yes", "no", "Route", "yes",
                                "Acute scenarios", "yes"}));
    EXPECT_EQ(loadOptionsFile(path, controls, &trace), OptionsLoad::Completed);
    ASSERT_EQ(trace.doubtful.size(), 3u);
    EXPECT_EQ(trace.doubtful[0].number, 3);
    EXPECT_EQ(trace.doubtful[0].text, "Yes");
    EXPECT_NE(trace.doubtful[0].expected.find("Public"), std::string::npos);
    EXPECT_EQ(trace.doubtful[1].number, 5);
    EXPECT_NE(trace.doubtful[1].expected.find("Routes"), std::string::npos);
    EXPECT_EQ(trace.doubtful[2].number, 9);
    EXPECT_TRUE(trace.doubtful[2].pastEnd);

    // Cut at every byte, a saved file loads into the same state with a trace as without.
    SelectionSnapshot s;
    s.nuclides = {"Pu-239"};
    s.halfLives = {"h"};
    s.memberOfPublic = s.particulates = true;
    s.tissues.fill(true);
    saveOptionsFile(path, s);
    const std::string whole = readBytes(path);
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        writeBytes(path, whole.substr(0, cut));
        RecordingControls traced;
        traced.dataFiles = controls.dataFiles;
        RecordingControls plain = traced;
        trace = {};
        std::string tracedFault, plainFault;
        OptionsLoad tracedLoad{}, plainLoad{};
        try {
            tracedLoad = loadOptionsFile(path, traced, &trace);
        } catch (const IoError& e) {
            tracedFault = e.what();
        }
        try {
            plainLoad = loadOptionsFile(path, plain);
        } catch (const IoError& e) {
            plainFault = e.what();
        }
        ASSERT_EQ(tracedLoad, plainLoad) << cut;
        ASSERT_EQ(tracedFault, plainFault) << cut;
        ASSERT_EQ(traced.state, plain.state) << cut;
        ASSERT_EQ(traced.rulesRun, plain.rulesRun) << cut;
    }
}

// Faults of the save itself are tried on every kind of save in tests/core/faults.
TEST_F(OptionsFile, SavingOverAnExistingFileReplacesIt) {
    writeBytes(path, "old options\r\n");
    saveOptionsFile(path, allBoxesChecked());
    EXPECT_EQ(linesOf(readBytes(path)).size(), 16u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"choice.opt"});
}

}  // namespace
}  // namespace fetaldose
