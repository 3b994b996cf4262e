#pragma once
// Data folders for comparisons: a catalogue and data files of ingestion entries whose doses
// depend on the entry's text (not its place), so that two editions differ exactly where a test
// makes them differ.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/run/selection_snapshot.h"
#include "data_file_builder.h"
#include "scratch_directory.h"

namespace fetaldose::testing {

// Where a dose of a generated data file stands: line 0 is the in-utero line, 1 to 5 the
// post-natal periods; rows 1 to 18.
struct DosePlace {
    int group = 1;
    std::string_view entry;  // the ingestion entry's f1 text
    int scenario = 1;
    int line = 0;
    int row = 1;
    bool operator==(const DosePlace&) const = default;
};
using DoseAt = std::function<std::string(const DosePlace&)>;

// A plain dose ("d.dE-xx") fixed by its place and the entry's text.
inline std::string placeDose(const DosePlace& p) {
    std::uint32_t h = 2166136261u;
    for (const char c : p.entry) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    h = (h ^ static_cast<std::uint32_t>(p.group * 7919 + p.scenario * 131 + p.line * 19 + p.row)) *
        16777619u;
    h ^= h >> 13;
    const int first = static_cast<int>(1 + h % 9);
    const int second = static_cast<int>((h >> 8) % 10);
    const int exponent = 8 + static_cast<int>((h >> 16) % 5);
    return std::to_string(first) + "." + std::to_string(second) + "E-" +
           (exponent < 10 ? "0" : "") + std::to_string(exponent);
}

// A data file with the given ingestion entries in both exposure groups and no other route.
inline std::string ingestionDataFile(const std::vector<std::string>& entries,
                                     const DoseAt& dose = placeDose) {
    std::string text;
    auto line = [&text](std::string_view l) { text.append(l).append("\r\n"); };
    for (int g = 1; g <= 2; ++g) {
        line("0");
        line("0");
        line(std::to_string(entries.size()));
        for (const std::string& f1 : entries) line(f1);
        for (int s = 1; s <= 11; ++s) {
            line("Heading " + std::to_string(s));
            for (const std::string& f1 : entries) {
                line("Tissue " + f1);
                line("detail");
                line("spare");
                for (int l = 0; l <= 5; ++l)
                    line(valueLine([&](int row) { return dose({g, f1, s, l, row}); }));
            }
        }
    }
    return text;
}

// Dose `changed` at `place`, every other dose as `base` gives it.
inline DoseAt doseChangedAt(DosePlace place, std::string changed, DoseAt base = placeDose) {
    return [place, changed = std::move(changed), base](const DosePlace& p) {
        return p == place ? changed : base(p);
    };
}

struct CatalogueLine {
    std::string name;
    std::string halfLife;
};

// `folder` ends with '/'; it is made when missing.
inline void writeCatalogue(const std::string& folder, const std::vector<CatalogueLine>& entries) {
    std::filesystem::create_directories(folder);
    std::string text = std::to_string(entries.size()) + "\r\n";
    for (const CatalogueLine& e : entries) text += e.name + "\r\n" + e.halfLife + "\r\n";
    writeBytes(folder + "nuclides.txt", text);
}
inline void writeCatalogue(const ScratchDirectory& dir, const std::vector<CatalogueLine>& entries) {
    writeCatalogue(dir.slash(), entries);
}

inline void writeDataFile(const std::string& folder, const std::string& nuclide,
                          const std::string& text) {
    writeBytes(folder + nuclide + ".dat", text);
}
inline void writeDataFile(const ScratchDirectory& dir, const std::string& nuclide,
                          const std::string& text) {
    writeDataFile(dir.slash(), nuclide, text);
}

// The entries every test data file starts from.
inline const std::vector<std::string>& threeEntries() {
    static const std::vector<std::string> entries = {"0.001", "0.01", "0.1"};
    return entries;
}

// The reference folder of the comparison tests: Pu-239 and Cs-137, three entries each.
inline void writeReferenceSet(const std::string& folder) {
    writeCatalogue(folder, {{"Pu-239", "24110 y"}, {"Cs-137", "30.0 y"}});
    writeDataFile(folder, "Pu-239", ingestionDataFile(threeEntries()));
    writeDataFile(folder, "Cs-137", ingestionDataFile({"0.5", "0.6", "0.7"}));
}
inline void writeReferenceSet(const ScratchDirectory& dir) {
    writeReferenceSet(dir.slash());
}

// Both nuclides, both groups, ingestion, every scenario, tissue and period.
inline SelectionSnapshot ingestionSelection(std::vector<std::string> nuclides) {
    SelectionSnapshot s;
    s.halfLives.assign(nuclides.size(), "?");
    s.nuclides = std::move(nuclides);
    s.memberOfPublic = s.occupational = true;
    s.ingestion = true;
    s.allAcutes = s.allChronics = s.allOrgans = s.allPeriods = true;
    return s;
}

}  // namespace fetaldose::testing
