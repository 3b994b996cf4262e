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

// What a line should hold, as a trace of a load describes it.
inline constexpr std::string_view kExpectedCount = "the number of nuclides, a whole number";
inline constexpr std::string_view kExpectedName = "the name of a nuclide with a data file";
inline constexpr std::string_view kExpectedHalfLife = "the half-life of the nuclide above";
inline constexpr std::string_view kExpectedLabelPrefix = "the section label ";
inline constexpr std::string_view kExpectedFlagPrefix = "\"yes\" or \"no\" for ";

// The boxes, in the order of SelectionBox, and the items of the lists, in the order of
// SelectionList, as a trace names them.
inline constexpr std::array<std::string_view, 11> kBoxNames = {"\"Public\"",
                                                               "\"Occupational\"",
                                                               "\"All routes\"",
                                                               "\"Ingestion\"",
                                                               "\"Inhalation - particulates\"",
                                                               "\"Inhalation - vapours\"",
                                                               "\"All sizes\"",
                                                               "\"All acute scenarios\"",
                                                               "\"All chronic scenarios\"",
                                                               "\"All organs\"",
                                                               "\"All periods\""};
inline constexpr std::array<std::string_view, 5> kItemNames = {
    "aerosol size", "acute scenario", "chronic scenario", "tissue", "period"};

}  // namespace fetaldose
