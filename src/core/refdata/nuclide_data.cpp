#include "core/refdata/nuclide_data.h"

#include <algorithm>
#include <cstddef>

#include "core/refdata/plain_fields.h"
#include "core/textio/faults.h"

namespace fetaldose {

namespace {

constexpr std::size_t kFieldWidth = 7;
constexpr std::size_t kFieldSlot = 8;  // the field and one separator that is never read

// Index of the entry number `number` (1-based) of a kind with `capacity` places; an entry
// beyond the capacity is refused here, before anything of it is read.
std::size_t StoreIndex(std::int32_t number, int capacity) {
    if (number > capacity) throw RangeError();
    return static_cast<std::size_t>(number - 1);
}

// A value line and its plain fields, found in one pass over its bytes where the file has them
// all in memory.
std::string_view ReadValueLine(TextReader& file, std::uint32_t& plainFields) {
    const std::string_view rest = file.RestView();
    if (rest.size() >= kScannedBytes) {
        const ScannedLine line = scanValueLine(rest);
        plainFields = line.plainFields;
        return file.TakeLine(line.length);
    }
    const std::string_view line = file.ReadLineView();
    plainFields = plainFieldMask(line);
    return line;
}

void ReadRecord(TextReader& file, DoseRecord& record) {
    record.SummaryTissue = file.ReadLineView();
    record.SummaryDetail = file.ReadLineView();
    record.SpareLine = file.ReadLineView();
    record.InUteroLine = ReadValueLine(file, record.plainFields[0]);
    for (std::size_t j = 0; j < kPeriodCount; ++j)
        record.PostNatalLines[j] = ReadValueLine(file, record.plainFields[j + 1]);
    record.plainFieldsKnown = true;
}

// Empties every text, so that no view of an earlier file's bytes outlives them here.
void Clear(GroupSection& section) {
    section.VapourRoutes.fill({});
    section.ParticulateTypes.fill({});
    section.IngestionF1.fill({});
    section.ScenarioHeadings.fill({});
    for (auto& scenario : section.VapourRecords) scenario.fill({});
    for (auto& scenario : section.ParticulateRecords)
        for (auto& type : scenario) type.fill({});
    for (auto& scenario : section.IngestionRecords) scenario.fill({});
}

void ReadSection(TextReader& file, GroupSection& section) {
    section.VapourCount = file.ReadCount();
    section.TypeCount = file.ReadCount();
    section.IngestionCount = file.ReadCount();

    for (std::int32_t k = 1; k <= section.VapourCount; ++k)
        section.VapourRoutes[StoreIndex(k, kMaxVapourEntries)] = file.ReadLineView();
    for (std::int32_t k = 1; k <= section.TypeCount; ++k) {
        ParticulateType& type = section.ParticulateTypes[StoreIndex(k, kMaxTypes)];
        type.Type = file.ReadLineView();
        type.F1 = file.ReadLineView();
    }
    for (std::int32_t k = 1; k <= section.IngestionCount; ++k)
        section.IngestionF1[StoreIndex(k, kMaxIngestionEntries)] = file.ReadLineView();

    // The counts are within their capacities from here on: larger ones were refused above.
    for (std::size_t s = 0; s < kScenarioCount; ++s) {
        section.ScenarioHeadings[s] = file.ReadLineView();
        for (std::int32_t k = 0; k < section.VapourCount; ++k)
            ReadRecord(file, section.VapourRecords[s][static_cast<std::size_t>(k)]);
        for (std::int32_t k = 0; k < section.TypeCount; ++k)
            for (DoseRecord& record : section.ParticulateRecords[s][static_cast<std::size_t>(k)])
                ReadRecord(file, record);
        for (std::int32_t k = 0; k < section.IngestionCount; ++k)
            ReadRecord(file, section.IngestionRecords[s][static_cast<std::size_t>(k)]);
    }
}

}  // namespace

std::string_view DoseRecord::Field(std::string_view valueLine, int tissueRow) {
    if (tissueRow < 1 || tissueRow > kTissueRowCount) return {};
    const std::size_t start = static_cast<std::size_t>(tissueRow - 1) * kFieldSlot;
    if (start >= valueLine.size()) return {};
    return valueLine.substr(start, std::min(kFieldWidth, valueLine.size() - start));
}

void ReadNuclideData(TextReader& file, NuclideData& data) {
    for (GroupSection& section : data.Groups) Clear(section);
    for (GroupSection& section : data.Groups) ReadSection(file, section);
}

}  // namespace fetaldose
