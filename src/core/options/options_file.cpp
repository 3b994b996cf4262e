#include "core/options/options_file.h"

#include <array>
#include <cstddef>
#include <string>

#include "core/options/options_texts.h"
#include "core/textio/text_reader.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

std::string_view Flag(bool checked) {
    return checked ? kOptionsYes : kOptionsNo;
}

// A select-all section: its label, the box's flag and, when the box is off, one flag per item.
template <std::size_t N>
void WriteSection(TextWriter& out, std::string_view label, bool all,
                  const std::array<bool, N>& items) {
    out.WriteLine(label);
    out.WriteLine(Flag(all));
    if (!all)
        for (const bool item : items) out.WriteLine(Flag(item));
}

// Only a line that is exactly "yes" checks; anything else, and every line past the end,
// unchecks.
bool ReadFlag(TextReader& in, std::string& line) {
    in.ReadLine(line);
    return line == kOptionsYes;
}

// Reads a select-all section into the controls: the label is skipped unread, the box is set,
// and the items are read only when the box's flag is not "yes" (the saver wrote them only
// then); behind a checked box the items keep their marks.
void LoadSection(TextReader& in, std::string& line, ControlsSink& controls, SelectionBox box,
                 SelectionList list, int itemCount) {
    in.SkipLine();
    const bool all = ReadFlag(in, line);
    controls.SetBox(box, all);
    if (all) return;
    for (int item = 0; item < itemCount; ++item) controls.SetItem(list, item, ReadFlag(in, line));
}

}  // namespace

void SaveOptionsFile(const std::string& path, const SelectionSnapshot& selection) {
    SaveTextFile(path, [&selection](TextWriter& out) {
        out.WriteLine(std::to_string(selection.Nuclides.size()));
        for (std::size_t i = 0; i < selection.Nuclides.size(); ++i) {
            out.WriteLine(selection.Nuclides[i]);
            out.WriteLine(i < selection.HalfLives.size() ? std::string_view(selection.HalfLives[i])
                                                         : std::string_view());
        }

        out.WriteLine(kExposureGroupLabel);
        out.WriteLine(Flag(selection.Public));
        out.WriteLine(Flag(selection.Occupational));

        WriteSection(
            out, kRoutesLabel, selection.AllRoutes,
            std::array<bool, 3>{selection.Ingestion, selection.Particulates, selection.Vapours});
        WriteSection(out, kAcuteScenariosLabel, selection.AllAcutes, selection.AcuteScenarios);
        WriteSection(out, kChronicScenariosLabel, selection.AllChronics,
                     selection.ChronicScenarios);
        // With no particulate route in force the aerosol controls are disabled, and the
        // section says so: no box, no sizes.
        if (selection.Particulates || selection.AllRoutes)
            WriteSection(out, kAerosolLabel, selection.AllAerosol, selection.Aerosol);
        else
            WriteSection(out, kAerosolLabel, false, std::array<bool, 10>{});
        WriteSection(out, kTissuesLabel, selection.AllOrgans, selection.Tissues);
        WriteSection(out, kTimePeriodsLabel, selection.AllPeriods, selection.Periods);
    });
}

OptionsLoad LoadOptionsFile(const std::string& path, ControlsSink& controls) {
    TextReader in = TextReader::Open(path);
    controls.ClearChosen();

    const std::int32_t count = in.ReadCount();
    std::string name;
    std::string halfLife;
    for (std::int32_t i = 0; i < count; ++i) {
        in.ReadLine(name);
        if (!controls.DataFileExists(name)) return OptionsLoad::NuclideNotAvailable;
        in.ReadLine(halfLife);
        controls.AppendChosen(name, halfLife);
    }

    std::string line;
    in.SkipLine();
    controls.SetBox(SelectionBox::Public, ReadFlag(in, line));
    controls.SetBox(SelectionBox::Occupational, ReadFlag(in, line));

    in.SkipLine();
    const bool allRoutes = ReadFlag(in, line);
    controls.SetBox(SelectionBox::AllRoutes, allRoutes);
    if (!allRoutes) {
        controls.SetBox(SelectionBox::Ingestion, ReadFlag(in, line));
        controls.SetBox(SelectionBox::Particulates, ReadFlag(in, line));
        controls.SetBox(SelectionBox::Vapours, ReadFlag(in, line));
    }

    LoadSection(in, line, controls, SelectionBox::AllAcutes, SelectionList::AcuteScenarios, 8);
    LoadSection(in, line, controls, SelectionBox::AllChronics, SelectionList::ChronicScenarios, 3);
    LoadSection(in, line, controls, SelectionBox::AllAerosol, SelectionList::Aerosol, 10);
    LoadSection(in, line, controls, SelectionBox::AllOrgans, SelectionList::Tissues, 17);
    LoadSection(in, line, controls, SelectionBox::AllPeriods, SelectionList::Periods, 5);
    return OptionsLoad::Completed;
}

}  // namespace fetaldose
