#pragma once
// The fixed lines of an options file.

#include <array>
#include <string_view>

namespace fetaldose {

inline constexpr std::string_view kOptionsYes = "yes";
inline constexpr std::string_view kOptionsNo = "no";

// Section labels, written in this order; the loader skips them without reading them.
inline constexpr std::string_view kExposureGroupLabel = "Exposure group";
inline constexpr std::string_view kRoutesLabel = "Routes";
inline constexpr std::string_view kAcuteScenariosLabel = "Acute scenarios";
inline constexpr std::string_view kChronicScenariosLabel = "Chronic scenarios";
inline constexpr std::string_view kAerosolLabel = "AMADs";
inline constexpr std::string_view kTissuesLabel = "Tissues";
inline constexpr std::string_view kTimePeriodsLabel = "Time periods";

}  // namespace fetaldose
