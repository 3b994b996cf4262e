#pragma once
// The options file: a selection saved as one value per CR LF line, loaded back positionally.

#include <string>
#include <vector>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

// The largest options file read: one saved with every catalogue entry chosen is far smaller
// (900 names and half-lives and some sixty flag lines, a few tens of kilobytes).
inline constexpr InputCeiling kOptionsFileCeiling{"an options file", 16ULL * 1024 * 1024};

// Writes the selection; throws IoError, leaving any earlier file of that name intact.
void saveOptionsFile(const std::string& path, const SelectionSnapshot& selection);

enum class OptionsLoad {
    Completed,
    NuclideNotAvailable,  // stopped at a nuclide without a data file; show the message
};

// One line of an options file as the loader read it, for people who write the files by hand.
struct OptionsLine {
    int number = 0;        // from 1
    std::string expected;  // what the line should hold
    std::string text;      // what it holds (empty past the end of the file)
    bool pastEnd = false;  // the file ended before this line
};

// Where a load got to. The window shows only its message; a tool for scripts can say more.
struct OptionsLoadTrace {
    // The line read last: where the load stopped, when it stopped (the nuclide name without a
    // data file, or the count that is not a number).
    OptionsLine last;
    // Lines the loader reads silently otherwise than their writer may have meant, in order: a
    // flag that is neither "yes" nor "no" (it unchecks), a section label that is not the
    // expected one (labels are skipped unread), and the first line the file ends before (it
    // and every later flag uncheck).
    std::vector<OptionsLine> doubtful;
};

// Reads the file into the controls. Throws IoError when the file cannot be opened (nothing
// changed) or its count line is not a number (the chosen lists already emptied). With a
// trace, also records the lines read; the load itself is the same with or without.
OptionsLoad loadOptionsFile(const std::string& path, ControlsSink& controls,
                            OptionsLoadTrace* trace = nullptr);

}  // namespace fetaldose
