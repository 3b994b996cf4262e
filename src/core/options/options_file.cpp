#include "core/options/options_file.h"

#include <array>
#include <cstddef>
#include <string>

#include "core/options/options_texts.h"
#include "core/textio/faults.h"
#include "core/textio/text_reader.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

std::string_view flag(bool checked) {
    return checked ? kOptionsYes : kOptionsNo;
}

// A select-all section: its label, the box's flag and, when the box is off, one flag per item.
template <std::size_t N>
void writeSection(TextWriter& out, std::string_view label, bool all,
                  const std::array<bool, N>& items) {
    out.writeLine(label);
    out.writeLine(flag(all));
    if (!all)
        for (const bool item : items) out.writeLine(flag(item));
}

// Reads an options file line by line and, with a trace, records what each line should hold.
class OptionsReader {
  public:
    OptionsReader(TextReader& in, const std::string& path, OptionsLoadTrace* trace)
        : in_(in), path_(path), trace_(trace) {}

    std::int32_t readCount() {
        if (!trace_) return in_.readCount();
        start(std::string(kExpectedCount));
        // The count's line is known once the blank lines before it are skipped.
        try {
            const std::int32_t count = in_.readCount();
            trace_->last.number = in_.lineNumber() - 1;
            return count;
        } catch (const IoError&) {
            trace_->last.number = in_.lineNumber();
            trace_->last.text = lineOf(path_, trace_->last.number);
            throw;
        }
    }

    void readName(std::string& name) { readText(name, kExpectedName); }
    void readHalfLife(std::string& halfLife) { readText(halfLife, kExpectedHalfLife); }

    // The load skips labels without looking at them; a trace notes one that is not the label
    // expected there, which usually means lines missing or added above it.
    void skipLabel(std::string_view label) {
        if (!trace_) {
            in_.skipLine();
            return;
        }
        start(std::string(kExpectedLabelPrefix) + '"' + std::string(label) + '"');
        read();
        if (trace_->last.text != label) doubt();
    }

    // Only a line that is exactly "yes" checks; anything else, and every line past the end,
    // unchecks.
    bool readFlag(SelectionBox box) {
        if (trace_) start(std::string(kExpectedFlagPrefix).append(kBoxNames.at(int(box))));
        return readFlagLine();
    }
    bool readFlag(SelectionList list, int item, int itemCount) {
        if (trace_)
            start(std::string(kExpectedFlagPrefix)
                      .append(kItemNames.at(int(list)))
                      .append(" " + std::to_string(item + 1) + " of " + std::to_string(itemCount)));
        return readFlagLine();
    }

  private:
    void start(std::string expected) {
        trace_->last = OptionsLine{};
        trace_->last.number = in_.lineNumber();
        trace_->last.expected = std::move(expected);
    }
    void read() {
        trace_->last.pastEnd = in_.atEnd();
        in_.readLine(trace_->last.text);
    }
    void doubt() {
        const bool endNoted = !trace_->doubtful.empty() && trace_->doubtful.back().pastEnd;
        if (!endNoted) trace_->doubtful.push_back(trace_->last);
    }
    void readText(std::string& text, std::string_view expected) {
        if (trace_) {
            start(std::string(expected));
            read();
            text = trace_->last.text;
        } else {
            in_.readLine(text);
        }
    }
    bool readFlagLine() {
        if (!trace_) {
            in_.readLine(line_);
            return line_ == kOptionsYes;
        }
        read();
        const std::string& text = trace_->last.text;
        if (trace_->last.pastEnd || (text != kOptionsYes && text != kOptionsNo)) doubt();
        return text == kOptionsYes;
    }

    // Line `number` of the file, read again: the count's line is read by the number, not as
    // a line. Empty where it cannot be read.
    static std::string lineOf(const std::string& path, int number) {
        try {
            TextReader again = TextReader::open(path, kOptionsFileCeiling);
            for (int line = 1; line < number; ++line) again.skipLine();
            return again.readLine();
        } catch (const IoError&) {
            return {};
        }
    }

    TextReader& in_;
    const std::string& path_;
    OptionsLoadTrace* trace_;
    std::string line_;
};

// Reads a select-all section into the controls: the label is skipped unread, the box is set,
// and the items are read only when the box's flag is not "yes" (the saver wrote them only
// then); behind a checked box the items keep their marks.
void loadSection(OptionsReader& in, std::string_view label, ControlsSink& controls,
                 SelectionBox box, SelectionList list, int itemCount) {
    in.skipLabel(label);
    const bool all = in.readFlag(box);
    controls.setBox(box, all);
    if (all) return;
    for (int item = 0; item < itemCount; ++item)
        controls.setItem(list, item, in.readFlag(list, item, itemCount));
}

}  // namespace

void saveOptionsFile(const std::string& path, const SelectionSnapshot& selection) {
    saveTextFile(path, [&selection](TextWriter& out) {
        out.writeLine(std::to_string(selection.nuclides.size()));
        for (std::size_t i = 0; i < selection.nuclides.size(); ++i) {
            out.writeLine(selection.nuclides[i]);
            out.writeLine(i < selection.halfLives.size() ? std::string_view(selection.halfLives[i])
                                                         : std::string_view());
        }

        out.writeLine(kExposureGroupLabel);
        out.writeLine(flag(selection.memberOfPublic));
        out.writeLine(flag(selection.occupational));

        writeSection(
            out, kRoutesLabel, selection.allRoutes,
            std::array<bool, 3>{selection.ingestion, selection.particulates, selection.vapours});
        writeSection(out, kAcuteScenariosLabel, selection.allAcutes, selection.acuteScenarios);
        writeSection(out, kChronicScenariosLabel, selection.allChronics,
                     selection.chronicScenarios);
        // With no particulate route in force the aerosol controls are disabled, and the
        // section says so: no box, no sizes.
        if (selection.particulates || selection.allRoutes)
            writeSection(out, kAerosolLabel, selection.allAerosol, selection.aerosol);
        else
            writeSection(out, kAerosolLabel, false, std::array<bool, 10>{});
        writeSection(out, kTissuesLabel, selection.allOrgans, selection.tissues);
        writeSection(out, kTimePeriodsLabel, selection.allPeriods, selection.periods);
    });
}

OptionsLoad loadOptionsFile(const std::string& path, ControlsSink& controls,
                            OptionsLoadTrace* trace) {
    TextReader file = TextReader::open(path, kOptionsFileCeiling);
    OptionsReader in(file, path, trace);
    controls.clearChosen();

    const std::int32_t count = in.readCount();
    std::string name;
    std::string halfLife;
    for (std::int32_t i = 0; i < count; ++i) {
        in.readName(name);
        if (!controls.dataFileExists(name)) return OptionsLoad::NuclideNotAvailable;
        in.readHalfLife(halfLife);
        controls.appendChosen(name, halfLife);
    }

    in.skipLabel(kExposureGroupLabel);
    controls.setBox(SelectionBox::Public, in.readFlag(SelectionBox::Public));
    controls.setBox(SelectionBox::Occupational, in.readFlag(SelectionBox::Occupational));

    in.skipLabel(kRoutesLabel);
    const bool allRoutes = in.readFlag(SelectionBox::AllRoutes);
    controls.setBox(SelectionBox::AllRoutes, allRoutes);
    if (!allRoutes) {
        for (const SelectionBox route :
             {SelectionBox::Ingestion, SelectionBox::Particulates, SelectionBox::Vapours})
            controls.setBox(route, in.readFlag(route));
    }

    loadSection(in, kAcuteScenariosLabel, controls, SelectionBox::AllAcutes,
                SelectionList::AcuteScenarios, 8);
    loadSection(in, kChronicScenariosLabel, controls, SelectionBox::AllChronics,
                SelectionList::ChronicScenarios, 3);
    loadSection(in, kAerosolLabel, controls, SelectionBox::AllAerosol, SelectionList::Aerosol, 10);
    loadSection(in, kTissuesLabel, controls, SelectionBox::AllOrgans, SelectionList::Tissues, 17);
    loadSection(in, kTimePeriodsLabel, controls, SelectionBox::AllPeriods, SelectionList::Periods,
                5);
    return OptionsLoad::Completed;
}

}  // namespace fetaldose
