#pragma once
// The content of one nuclide data file: two group sections (members of the public, then
// workers), each with its counts, texts and dose records at fixed capacities. The texts are
// views into the file's bytes, which the reader holds in memory: reading copies no text at
// all, and the bytes stay alive as long as whoever keeps them (the result store does). One
// instance is reused file after file; entries beyond a section's counts are left empty.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/textio/text_reader.h"

namespace fetaldose {

inline constexpr int kScenarioCount = 11;     // 8 acute, then 3 chronic
inline constexpr int kAerosolSizeCount = 10;  // 0.001 to 10.0 microns AMAD
inline constexpr int kTissueRowCount = 18;
inline constexpr int kPeriodCount = 5;  // 1, 5, 10, 20, 70 years
inline constexpr int kMaxVapourEntries = 4;
inline constexpr int kMaxTypes = 3;
inline constexpr int kMaxIngestionEntries = 3;

// The largest data file read: a file filled to every capacity above is under 1 MB.
inline constexpr InputCeiling kDataFileCeiling{"a data file", 64ULL * 1024 * 1024};

// One table's worth of a data file: nine text lines.
struct DoseRecord {
    std::string_view summaryTissue;  // tissue with the highest dose, or "ltzero", or "All"
    std::string_view summaryDetail;  // free text shown after the tissue name
    std::string_view spareLine;      // kept, never used
    std::string_view inUteroLine;    // value line: dose received in utero
    std::array<std::string_view, kPeriodCount> postNatalLines;  // value lines, periods 1 to 5

    // Which fields of each value line (in utero, then periods 1 to 5) are plain doses
    // (plainFieldMask), found by the reader while the line's bytes are at hand; a record
    // made otherwise has plainFieldsKnown false.
    std::array<std::uint32_t, 1 + kPeriodCount> plainFields{};
    bool plainFieldsKnown = false;

    // Field i (1 to 18) of a value line: the 7 characters at 1-based positions 8i-7 to 8i-1,
    // shorter or empty where the line ends earlier.
    static std::string_view field(std::string_view valueLine, int tissueRow);
};

struct ParticulateType {
    std::string_view type;  // absorption type, shown as read
    std::string_view f1;    // its f1 value, shown as read
};

struct GroupSection {
    std::int32_t vapourCount = 0;
    std::int32_t typeCount = 0;
    std::int32_t ingestionCount = 0;
    std::array<std::string_view, kMaxVapourEntries> vapourRoutes;
    std::array<ParticulateType, kMaxTypes> particulateTypes;
    std::array<std::string_view, kMaxIngestionEntries> ingestionF1;
    std::array<std::string_view, kScenarioCount> scenarioHeadings;  // kept, never used
    // Indexed from 0: [scenario - 1][entry - 1] and [scenario - 1][type - 1][size - 1].
    std::array<std::array<DoseRecord, kMaxVapourEntries>, kScenarioCount> vapourRecords;
    std::array<std::array<std::array<DoseRecord, kAerosolSizeCount>, kMaxTypes>, kScenarioCount>
        particulateRecords;
    std::array<std::array<DoseRecord, kMaxIngestionEntries>, kScenarioCount> ingestionRecords;
};

struct NuclideData {
    std::array<GroupSection, 2> groups;  // [0] members of the public, [1] workers
};

// Reads one whole data file from its first line into `data`, in one pass. The file must be
// read from memory (TextReader::openWhole, or bytes given): the texts are views into it. A
// count line that is not an integer throws IoError 106; an entry beyond a capacity throws
// RangeError when it would be stored; an early end gives zero counts and empty texts without
// error.
void readNuclideData(TextReader& file, NuclideData& data);

}  // namespace fetaldose
