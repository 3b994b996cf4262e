#pragma once
// The options file: a selection saved as one value per CR LF line, loaded back positionally.

#include <string>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {

// Writes the selection; throws IoError, leaving any earlier file of that name intact.
void SaveOptionsFile(const std::string& path, const SelectionSnapshot& selection);

enum class OptionsLoad {
    Completed,
    NuclideNotAvailable,  // stopped at a nuclide without a data file; show the message
};

// Reads the file into the controls. Throws IoError when the file cannot be opened (nothing
// changed) or its count line is not a number (the chosen lists already emptied).
OptionsLoad LoadOptionsFile(const std::string& path, ControlsSink& controls);

}  // namespace fetaldose
