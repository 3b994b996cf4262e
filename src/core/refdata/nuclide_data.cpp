#include "core/refdata/nuclide_data.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "core/refdata/plain_fields.h"
#include "core/textio/faults.h"

namespace fetaldose {

namespace {

constexpr std::size_t kFieldWidth = 7;
constexpr std::size_t kFieldSlot = 8;  // the field and one separator that is never read

// Index of the entry number `number` (1-based) of a kind with `capacity` places; an entry
// beyond the capacity is refused here, before anything of it is read.
std::size_t storeIndex(std::int32_t number, int capacity, const char* kind) {
    if (number > capacity) {
        RangeError fault;
        fault.explain("a group section lists more " + std::string(kind) + " than the " +
                      std::to_string(capacity) + " a data file can hold");
        throw fault;
    }
    return static_cast<std::size_t>(number - 1);
}

// A value line and its plain fields, found in one pass over its bytes where the file has them
// all in memory.
std::string_view readValueLine(TextReader& file, std::uint32_t& plainFields) {
    const std::string_view rest = file.restView();
    if (rest.size() >= kScannedBytes) {
        const ScannedLine line = scanValueLine(rest);
        plainFields = line.plainFields;
        return file.takeLine(line.length);
    }
    const std::string_view line = file.readLineView();
    plainFields = plainFieldMask(line);
    return line;
}

void readRecord(TextReader& file, DoseRecord& record) {
    record.summaryTissue = file.readLineView();
    record.summaryDetail = file.readLineView();
    record.spareLine = file.readLineView();
    record.inUteroLine = readValueLine(file, record.plainFields[0]);
    for (std::size_t j = 0; j < kPeriodCount; ++j)
        record.postNatalLines[j] = readValueLine(file, record.plainFields[j + 1]);
    record.plainFieldsKnown = true;
}

// Empties every text, so that no view of an earlier file's bytes outlives them here.
void clear(GroupSection& section) {
    section.vapourRoutes.fill({});
    section.particulateTypes.fill({});
    section.ingestionF1.fill({});
    section.scenarioHeadings.fill({});
    for (auto& scenario : section.vapourRecords) scenario.fill({});
    for (auto& scenario : section.particulateRecords)
        for (auto& type : scenario) type.fill({});
    for (auto& scenario : section.ingestionRecords) scenario.fill({});
}

void readSection(TextReader& file, GroupSection& section) {
    section.vapourCount = file.readCount();
    section.typeCount = file.readCount();
    section.ingestionCount = file.readCount();

    for (std::int32_t k = 1; k <= section.vapourCount; ++k)
        section.vapourRoutes[storeIndex(k, kMaxVapourEntries, "vapour entries")] =
            file.readLineView();
    for (std::int32_t k = 1; k <= section.typeCount; ++k) {
        ParticulateType& type =
            section.particulateTypes[storeIndex(k, kMaxTypes, "absorption types")];
        type.type = file.readLineView();
        type.f1 = file.readLineView();
    }
    for (std::int32_t k = 1; k <= section.ingestionCount; ++k)
        section.ingestionF1[storeIndex(k, kMaxIngestionEntries, "ingestion entries")] =
            file.readLineView();

    // The counts are within their capacities from here on: larger ones were refused above.
    for (std::size_t s = 0; s < kScenarioCount; ++s) {
        section.scenarioHeadings[s] = file.readLineView();
        for (std::int32_t k = 0; k < section.vapourCount; ++k)
            readRecord(file, section.vapourRecords[s][static_cast<std::size_t>(k)]);
        for (std::int32_t k = 0; k < section.typeCount; ++k)
            for (DoseRecord& record : section.particulateRecords[s][static_cast<std::size_t>(k)])
                readRecord(file, record);
        for (std::int32_t k = 0; k < section.ingestionCount; ++k)
            readRecord(file, section.ingestionRecords[s][static_cast<std::size_t>(k)]);
    }
}

}  // namespace

std::string_view DoseRecord::field(std::string_view valueLine, int tissueRow) {
    if (tissueRow < 1 || tissueRow > kTissueRowCount) return {};
    const std::size_t start = static_cast<std::size_t>(tissueRow - 1) * kFieldSlot;
    if (start >= valueLine.size()) return {};
    return valueLine.substr(start, std::min(kFieldWidth, valueLine.size() - start));
}

void readNuclideData(TextReader& file, NuclideData& data) {
    for (GroupSection& section : data.groups) clear(section);
    for (GroupSection& section : data.groups) readSection(file, section);
}

}  // namespace fetaldose
