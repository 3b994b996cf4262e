#pragma once
// The fixed lines of a results file.

#include <string_view>

namespace fetaldose {

inline constexpr std::string_view kInUteroDosesLine = "In utero doses";
inline constexpr std::string_view kTimePeriodsPrefix = "Time periods: ";
inline constexpr std::string_view kPostNatalDosesLine = "Post natal doses";
inline constexpr std::string_view kOffspringDosesLine = "Offspring doses";
inline constexpr std::string_view kResultsFieldSeparator = ",";

}  // namespace fetaldose
