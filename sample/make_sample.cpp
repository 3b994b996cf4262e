// Writes the synthetic sample data set: the catalogue nuclides.txt and a data file for some
// of its nuclides. Nuclide names and half-lives are real; every dose coefficient is made up
// by a fixed-seed generator, so the same files come out on every machine and every build.
//
// Usage: fetaldose_make_sample <data directory>

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/export/provenance.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/nuclide_data.h"
#include "core/textio/text_writer.h"

namespace {

using fetaldose::kPeriodCount;
using fetaldose::kTissueRowCount;
using fetaldose::TextWriter;

struct Catalogued {
    const char* name;
    const char* halfLife;
};

// The first twenty entries have data files; of the rest, only Pu-239 has one. The catalogue
// fits the 74 rows of the nuclide grid.
constexpr Catalogued kCatalogue[] = {
    {"H-3", "12.32 y"},     {"C-14", "5700 y"},       {"P-32", "14.26 d"},
    {"S-35", "87.37 d"},    {"Ca-45", "162.6 d"},     {"Fe-59", "44.50 d"},
    {"Co-60", "5.271 y"},   {"Sr-89", "50.56 d"},     {"Sr-90", "28.79 y"},
    {"Tc-99m", "6.01 h"},   {"I-125", "59.40 d"},     {"I-131", "8.02 d"},
    {"Cs-134", "2.065 y"},  {"Cs-137", "30.08 y"},    {"Po-210", "138.4 d"},
    {"Ra-226", "1600 y"},   {"Th-232", "1.405E10 y"}, {"U-234", "2.455E5 y"},
    {"U-238", "4.468E9 y"}, {"Am-241", "432.6 y"},    {"Na-22", "2.602 y"},
    {"K-40", "1.248E9 y"},  {"Cr-51", "27.70 d"},     {"Mn-54", "312.2 d"},
    {"Fe-55", "2.744 y"},   {"Co-57", "271.7 d"},     {"Co-58", "70.86 d"},
    {"Ni-63", "101.2 y"},   {"Zn-65", "243.9 d"},     {"Se-75", "119.8 d"},
    {"Kr-85", "10.74 y"},   {"Rb-86", "18.64 d"},     {"Y-90", "64.05 h"},
    {"Zr-95", "64.03 d"},   {"Nb-95", "34.99 d"},     {"Mo-99", "65.98 h"},
    {"Tc-99", "2.111E5 y"}, {"Ru-103", "39.26 d"},    {"Ru-106", "371.8 d"},
    {"Ag-110m", "249.8 d"}, {"Sb-125", "2.759 y"},    {"Te-132", "3.204 d"},
    {"I-129", "1.57E7 y"},  {"I-133", "20.8 h"},      {"Xe-133", "5.247 d"},
    {"Cs-135", "2.3E6 y"},  {"Ba-140", "12.75 d"},    {"La-140", "1.679 d"},
    {"Ce-141", "32.51 d"},  {"Ce-144", "284.9 d"},    {"Pm-147", "2.623 y"},
    {"Eu-152", "13.54 y"},  {"Eu-154", "8.593 y"},    {"Ir-192", "73.83 d"},
    {"Au-198", "2.695 d"},  {"Pb-210", "22.2 y"},     {"Bi-210", "5.012 d"},
    {"Rn-222", "3.8235 d"}, {"Ra-224", "3.63 d"},     {"Ra-228", "5.75 y"},
    {"Th-228", "1.912 y"},  {"Th-230", "7.538E4 y"},  {"Pa-231", "3.276E4 y"},
    {"U-235", "7.04E8 y"},  {"Np-237", "2.144E6 y"},  {"Pu-238", "87.7 y"},
    {"Pu-239", "24110 y"},  {"Pu-240", "6561 y"},     {"Pu-241", "14.29 y"},
    {"Pu-242", "3.75E5 y"}, {"Am-243", "7370 y"},     {"Cm-242", "162.8 d"},
    {"Cm-244", "18.1 y"},   {"Cf-252", "2.645 y"},
};

using TypeList = std::vector<std::pair<std::string, std::string>>;  // absorption type, f1

struct Section {
    std::vector<std::string> vapours;
    TypeList types;
    std::vector<std::string> ingestionF1;
};

struct DataFile {
    const char* name;
    int lowestExponent;   // of the largest tissue doses: how strongly the nuclide irradiates
    int ltzeroScenarios;  // the first n scenarios (before conception) are all below 1.0E-15
    Section publicSection;
    Section workerSection;
};

const std::string kHto = "Inhalation: tritiated water vapour";
const std::string kIodine = "Inhalation: elemental iodine vapour";
const std::string kMethylIodide = "Inhalation: methyl iodide";

const std::vector<DataFile> kDataFiles = {
    {"H-3",
     -11,
     0,
     {{kHto, "Inhalation: elemental tritium gas", "Inhalation: tritiated methane",
       "Inhalation: organically bound tritium"},
      {{"F", "1.0"}, {"M", "0.1"}},
      {"1.0", "1.0 (organically bound)"}},
     {{kHto}, {{"M", "0.1"}, {"S", "0.01"}}, {"1.0"}}},
    {"C-14",
     -11,
     0,
     {{"Inhalation: carbon dioxide", "Inhalation: carbon monoxide"}, {{"F", "1.0"}}, {"1.0"}},
     {{}, {{"F", "1.0"}, {"M", "0.1"}, {"S", "0.01"}}, {"1.0"}}},
    {"P-32", -10, 2, {{}, {{"F", "0.8"}, {"M", "0.8"}}, {"0.8"}}, {{}, {{"M", "0.8"}}, {"0.8"}}},
    {"S-35",
     -11,
     1,
     {{"Inhalation: sulphur dioxide"}, {{"F", "0.8"}, {"M", "0.1"}}, {"0.8", "0.1"}},
     {{"Inhalation: sulphur dioxide"}, {{"M", "0.1"}}, {"0.8"}}},
    {"Ca-45", -10, 1, {{}, {{"M", "0.3"}}, {"0.3"}}, {{}, {{"M", "0.3"}}, {"0.3"}}},
    {"Fe-59", -10, 1, {{}, {{"F", "0.1"}, {"M", "0.1"}}, {"0.1"}}, {{}, {{"M", "0.1"}}, {"0.1"}}},
    {"Co-60",
     -9,
     0,
     {{}, {{"M", "0.1"}, {"S", "0.05"}}, {"0.1", "0.05"}},
     {{}, {{"M", "0.1"}, {"S", "0.05"}}, {"0.1"}}},
    {"Sr-89",
     -10,
     1,
     {{}, {{"F", "0.3"}, {"S", "0.01"}}, {"0.3", "0.01"}},
     {{}, {{"F", "0.3"}, {"S", "0.01"}}, {"0.3"}}},
    {"Sr-90",
     -8,
     0,
     {{}, {{"F", "0.3"}, {"S", "0.01"}}, {"0.3", "0.01"}},
     {{}, {{"F", "0.3"}, {"S", "0.01"}}, {"0.3"}}},
    {"Tc-99m", -12, 2, {{}, {{"F", "0.8"}, {"M", "0.8"}}, {"0.8"}}, {{}, {{"F", "0.8"}}, {"0.8"}}},
    {"I-125",
     -10,
     1,
     {{kIodine, kMethylIodide}, {{"F", "1.0"}}, {"1.0"}},
     {{kIodine, kMethylIodide, "Inhalation: other organic iodine compounds"},
      {{"F", "1.0"}},
      {"1.0"}}},
    {"I-131",
     -9,
     2,
     {{kIodine, kMethylIodide}, {{"F", "1.0"}}, {"1.0"}},
     {{kIodine}, {{"F", "1.0"}}, {"1.0"}}},
    {"Cs-134", -9, 0, {{}, {{"F", "1.0"}}, {"1.0"}}, {{}, {{"F", "1.0"}, {"M", "0.1"}}, {"1.0"}}},
    {"Cs-137", -9, 0, {{}, {{"F", "1.0"}}, {"1.0"}}, {{}, {{"F", "1.0"}, {"M", "0.1"}}, {"1.0"}}},
    {"Po-210", -8, 1, {{}, {{"F", "0.1"}, {"M", "0.1"}}, {"0.5"}}, {{}, {{"M", "0.1"}}, {"0.1"}}},
    {"Ra-226", -8, 0, {{}, {{"M", "0.2"}}, {"0.2"}}, {{}, {{"M", "0.2"}}, {"0.2"}}},
    {"Th-232",
     -7,
     0,
     {{}, {{"M", "0.0005"}, {"S", "0.0002"}}, {"0.0005"}},
     {{}, {{"M", "0.0005"}, {"S", "0.0002"}}, {"0.0005"}}},
    {"U-234",
     -8,
     0,
     {{}, {{"F", "0.02"}, {"M", "0.02"}, {"S", "0.002"}}, {"0.02", "0.002"}},
     {{}, {{"F", "0.02"}, {"M", "0.02"}, {"S", "0.002"}}, {"0.02"}}},
    {"U-238",
     -8,
     0,
     {{}, {{"F", "0.02"}, {"M", "0.02"}, {"S", "0.002"}}, {"0.02", "0.002"}},
     {{}, {{"F", "0.02"}, {"M", "0.02"}, {"S", "0.002"}}, {"0.02"}}},
    {"Am-241", -7, 0, {{}, {{"M", "0.0005"}}, {"0.0005"}}, {{}, {{"M", "0.0005"}}, {"0.0005"}}},
    {"Pu-239",
     -7,
     0,
     {{}, {{"M", "0.0005"}, {"S", "0.00001"}}, {"0.0005", "0.0001", "0.00001"}},
     {{}, {{"F", "0.0005"}, {"M", "0.0005"}, {"S", "0.00001"}}, {"0.0005"}}},
};

constexpr const char* kScenarioHeadings[fetaldose::kScenarioCount] = {
    "Acute intake 2.5 years before conception",
    "Acute intake 6 months before conception",
    "Acute intake at conception",
    "Acute intake 5 weeks after conception",
    "Acute intake 10 weeks after conception",
    "Acute intake 15 weeks after conception",
    "Acute intake 25 weeks after conception",
    "Acute intake 35 weeks after conception",
    "Chronic intake from 5 years before conception until conception",
    "Chronic intake from 1 year before conception until conception",
    "Chronic intake from conception to birth",
};

// Tissue names of the 18 value fields, and the tissue weighting factors (in hundredths) that
// decide which tissue a summary names when several share the highest dose.
constexpr const char* kTissues[kTissueRowCount] = {
    "Bladder",   "Bone surface",  "Brain (total)", "Brain (7-15 weeks)",
    "Breast",    "Oesophagus",    "Stomach",       "Colon",
    "Gonads",    "Kidney",        "Liver",         "RBM",
    "Lungs",     "Skin",          "Spleen",        "Thyroid",
    "Remainder", "Effective dose"};
constexpr int kWeights[kTissueRowCount] = {5, 1, 0,  0,  5, 5, 12, 12, 20,
                                           0, 5, 12, 12, 1, 0, 5,  5,  0};
constexpr int kSummedTissues = 17;  // the effective dose is no tissue

// splitmix64: small, and the same sequence on every platform.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    // A whole number from 0 to n - 1.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

std::uint64_t seedFor(const std::string& name) {  // FNV-1a
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    return hash;
}

// A dose of two significant digits, mantissa / 10 * 10^exponent, kept between 1.0E-18 and
// 9.9E-07 Sv/Bq.
struct Dose {
    int mantissa = 10;  // 10 to 99
    int exponent = -18;

    static Dose clamped(int mantissa, int exponent) {
        while (mantissa >= 100) {
            mantissa /= 10;
            ++exponent;
        }
        if (exponent > -7) return {99, -7};
        if (exponent < -18) return {10, -18};
        return {mantissa, exponent};
    }
    // In units of 1.0E-19 Sv/Bq, exact, for comparing sums.
    std::int64_t units() const {
        std::int64_t units = mantissa;
        for (int e = -18; e < exponent; ++e) units *= 10;
        return units;
    }
    // The 7-character field, e.g. "3.4E-07".
    std::string text() const {
        const int magnitude = -exponent;
        return {static_cast<char>('0' + mantissa / 10),
                '.',
                static_cast<char>('0' + mantissa % 10),
                'E',
                '-',
                static_cast<char>('0' + magnitude / 10),
                static_cast<char>('0' + magnitude % 10)};
    }
};

struct Table {
    std::array<Dose, kTissueRowCount> inUtero;
    std::array<std::array<Dose, kTissueRowCount>, kPeriodCount> postNatal;
};

// Doses around 10^top: post-natal doses grow from one integration period to the next.
Table makeTable(Random& random, int top) {
    Table table;
    for (int row = 0; row < kTissueRowCount; ++row) {
        table.inUtero[row] = Dose::clamped(10 + random.below(90), top - random.below(3));
        Dose dose = Dose::clamped(10 + random.below(90), top - 1 - random.below(3));
        for (auto& period : table.postNatal) {
            period[row] = dose;
            dose =
                Dose::clamped(dose.mantissa + dose.mantissa * random.below(6) / 10, dose.exponent);
        }
    }
    return table;
}

// One dose for every tissue, as for a nuclide spread evenly through the body.
Table makeUniformTable(Random& random, int top) {
    Table table = makeTable(random, top);
    table.inUtero.fill(table.inUtero[0]);
    for (auto& period : table.postNatal) period.fill(period[0]);
    return table;
}

// Pairs whose offspring sums land on the rounding boundaries of the two-digit display:
// 9.5E-07 + 4.5E-08 = 9.95E-07 shows as 1.0E-06, 1.2E-07 + 5.0E-09 = 1.25E-07, and so on.
void putRoundingCases(Table& table) {
    const auto set = [&table](int row, Dose inUtero, std::array<Dose, kPeriodCount> postNatal) {
        table.inUtero[row] = inUtero;
        for (int p = 0; p < kPeriodCount; ++p) table.postNatal[p][row] = postNatal[p];
    };
    set(17, {95, -7}, {{{45, -8}, {49, -8}, {50, -8}, {60, -8}, {75, -8}}});
    set(16, {12, -7}, {{{50, -9}, {50, -9}, {51, -9}, {60, -9}, {70, -9}}});
    set(11, {44, -8}, {{{33, -9}, {35, -9}, {40, -9}, {55, -9}, {96, -9}}});
    set(8, {10, -10}, {{{20, -11}, {20, -11}, {25, -11}, {30, -11}, {50, -11}}});
}

std::string valueLine(const std::array<Dose, kTissueRowCount>& doses) {
    std::string line;
    for (int row = 0; row < kTissueRowCount; ++row) {
        if (row > 0) line += ' ';
        line += doses[row].text();
    }
    return line;
}

void writeRecord(TextWriter& out, const Table& table, bool belowThreshold) {
    bool allEqual = true;
    int highest = 0;
    for (int row = 0; row < kTissueRowCount; ++row)
        allEqual = allEqual && table.inUtero[row].units() == table.inUtero[0].units() &&
                   table.postNatal[4][row].units() == table.postNatal[4][0].units();
    for (int row = 1; row < kSummedTissues; ++row) {
        const auto total = [&table](int r) {
            return table.inUtero[r].units() + table.postNatal[4][r].units();
        };
        if (total(row) > total(highest) ||
            (total(row) == total(highest) && kWeights[row] > kWeights[highest]))
            highest = row;
    }
    if (belowThreshold) {
        out.writeLine("ltzero");
        out.writeLine("");
    } else if (allEqual) {
        out.writeLine("All");
        out.writeLine("");
    } else {
        out.writeLine(kTissues[highest]);
        out.writeLine("offspring dose to age 70 years");
    }
    out.writeLine("");
    out.writeLine(valueLine(table.inUtero));
    for (const auto& period : table.postNatal) out.writeLine(valueLine(period));
}

void writeSection(TextWriter& out, const DataFile& file, const Section& section, Random& random,
                  bool withRoundingCases) {
    out.writeLine(std::to_string(section.vapours.size()));
    out.writeLine(std::to_string(section.types.size()));
    out.writeLine(std::to_string(section.ingestionF1.size()));
    for (const auto& vapour : section.vapours) out.writeLine(vapour);
    for (const auto& [type, f1] : section.types) {
        out.writeLine(type);
        out.writeLine(f1);
    }
    for (const auto& f1 : section.ingestionF1) out.writeLine(f1);

    for (int s = 0; s < fetaldose::kScenarioCount; ++s) {
        out.writeLine(kScenarioHeadings[s]);
        const bool belowThreshold = s < file.ltzeroScenarios;
        const int top = belowThreshold ? -17 : file.lowestExponent - random.below(2);
        for (std::size_t k = 0; k < section.vapours.size(); ++k) {
            const bool uniform = section.vapours[k] == kHto;
            writeRecord(out, uniform ? makeUniformTable(random, top) : makeTable(random, top),
                        belowThreshold);
        }
        for (std::size_t k = 0; k < section.types.size(); ++k)
            for (int a = 0; a < fetaldose::kAerosolSizeCount; ++a)
                writeRecord(out, makeTable(random, top - (a < 3 ? 1 : 0)), belowThreshold);
        for (std::size_t k = 0; k < section.ingestionF1.size(); ++k) {
            Table table = makeTable(random, top - 1);
            if (withRoundingCases && s == 3 && k == 0) putRoundingCases(table);
            writeRecord(out, table, belowThreshold);
        }
    }
}

// The program's first start makes data files read-only; a fresh file replaces such a one.
void replace(const std::string& path, const std::function<void(TextWriter&)>& content) {
    std::filesystem::remove(path);
    fetaldose::saveTextFile(path, content);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data directory>\n", argv[0]);
        return 2;
    }
    try {
        const std::string directory = std::string(argv[1]) + "/";
        std::filesystem::create_directories(directory);
        for (const DataFile& file : kDataFiles) {
            Random random(seedFor(file.name));
            const bool showcase = std::string(file.name) == "Pu-239";
            replace(directory + file.name + ".dat", [&](TextWriter& out) {
                writeSection(out, file, file.publicSection, random, showcase);
                writeSection(out, file, file.workerSection, random, false);
            });
        }
        // A file of its own says that the set is synthetic, so that exports of it warn; the
        // catalogue and the data files stay as the program reads them.
        replace(directory + fetaldose::kSyntheticDataMarker, [](TextWriter& out) {
            out.writeLine("This data set was generated by fetaldose_make_sample. Its dose");
            out.writeLine(
                "coefficients are synthetic and must not be used for any dose assessment.");
        });
        // The catalogue comes last, so that its time stamp covers the whole set.
        replace(directory + fetaldose::kCatalogueFileName, [](TextWriter& out) {
            out.writeLine(std::to_string(std::size(kCatalogue)));
            for (const Catalogued& entry : kCatalogue) {
                out.writeLine(entry.name);
                out.writeLine(entry.halfLife);
            }
        });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fetaldose_make_sample: %s\n", error.what());
        return 1;
    }
    return 0;
}
