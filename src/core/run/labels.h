#pragma once
// The fixed label texts of the tissue rows and the periods, shared by the viewer, the run
// and the results file.

#include <array>
#include <string_view>

namespace fetaldose {

// Row label of tissue row i (1 to 18) is kRowLabels[i - 1].
inline constexpr std::array<std::string_view, 18> kRowLabels = {
    "Bladder",   "Bone surface",  "Brain (total)", "Brain (7-15 weeks)",
    "Breast",    "Oesophagus",    "Stomach",       "Colon",
    "Gonads",    "Kidney",        "Liver",         "RBM",
    "Lungs",     "Skin",          "Spleen",        "Thyroid",
    "Remainder", "Effective dose"};

// Heading of period j (1 to 5) is kPeriodLabels[j - 1]; the two leading blanks belong to it.
inline constexpr std::array<std::string_view, 5> kPeriodLabels = {"  1y", "  5y", "  10y", "  20y",
                                                                  "  70y"};

}  // namespace fetaldose
