#pragma once
// Builds the text of nuclide data files for tests, benchmarks and stress data sets: any
// counts per section, records whose lines say where they come from unless told otherwise.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace fetaldose::testing {

// Where a record stands in a data file; every number 1-based. Route is 'P', 'I' or 'V'.
struct RecordPlace {
    int group = 1;
    char route = 'I';
    int entry = 1;
    int size = 0;  // particulates only
    int scenario = 1;

    // "g1 P2 a3 s4": the text the builder puts into summaryTissue by default.
    std::string tag() const {
        std::string tag = "g" + std::to_string(group) + " " + route + std::to_string(entry);
        if (route == 'P') tag += " a" + std::to_string(size);
        return tag + " s" + std::to_string(scenario);
    }
};

// A value line of 18 fields: each field text padded to 7 characters, one blank after it.
inline std::string valueLine(const std::function<std::string(int row)>& field) {
    std::string line;
    for (int row = 1; row <= 18; ++row) {
        std::string text = field(row);
        text.resize(7, ' ');
        line += text;
        if (row < 18) line += ' ';
    }
    return line;
}

struct SectionCounts {
    int vapours = 0;
    int types = 0;
    int ingestion = 0;
};

// Builds the text of a data file. By default a record's summary names its place, its detail
// is "detail", and every in-utero field is 1.0E-10 and every post-natal field 2.0E-11.
class DataFileBuilder {
  public:
    using RecordLines = std::function<std::string(const RecordPlace&, int line)>;

    DataFileBuilder(SectionCounts publicCounts, SectionCounts workerCounts)
        : counts_{publicCounts, workerCounts} {}

    // line 0 summaryTissue, 1 summaryDetail, 2 spare, 3 in utero, 4 to 8 periods 1 to 5.
    DataFileBuilder& lines(RecordLines lines) {
        lines_ = std::move(lines);
        return *this;
    }

    static std::string defaultLine(const RecordPlace& place, int line) {
        switch (line) {
            case 0:
                return place.tag();
            case 1:
                return "detail";
            case 2:
                return "spare";
            case 3:
                return valueLine([](int) { return "1.0E-10"; });
            default:
                return valueLine([](int) { return "2.0E-11"; });
        }
    }

    // Plain doses ("d.dE+dd") that differ from field to field, the same for the same place
    // every time: exponents from -99 to +99, zeros and leading zeros ("0.4E-07"), and
    // post-natal doses at every distance from the in-utero dose of their row, so that the
    // offspring sums carry into a new digit, fall exactly halfway between two texts, or leave
    // the smaller dose out of sight. Other lines as defaultLine.
    static std::string variedLine(const RecordPlace& place, int line) {
        if (line < 3) return defaultLine(place, line);
        const std::uint64_t record =
            mix(((place.group * 131ULL + static_cast<unsigned char>(place.route)) * 131 +
                 static_cast<std::uint64_t>(place.entry)) *
                    131 +
                static_cast<std::uint64_t>(place.size) * 17 +
                static_cast<std::uint64_t>(place.scenario));
        return valueLine([&](int row) {
            const std::uint64_t rowBits = mix(record + static_cast<std::uint64_t>(row));
            const std::uint64_t bits = mix(rowBits + static_cast<std::uint64_t>(line) * 977);
            int exponent = static_cast<int>(rowBits % 199) - 99;
            if (line > 3) {
                constexpr int kDistances[] = {0,  0, 0,  1, 1,  -1, -1,  2,
                                              -2, 3, -3, 4, -5, 17, -17, 60};
                exponent = std::clamp(exponent + kDistances[bits % 16], -99, 99);
            }
            int first = static_cast<int>(1 + (bits >> 8) % 9);
            const int second = static_cast<int>((bits >> 16) % 10);
            if ((bits >> 24) % 16 == 0) first = 0;  // a leading zero, or zero itself
            const int magnitude = exponent < 0 ? -exponent : exponent;
            std::string text = {
                static_cast<char>('0' + first),
                '.',
                static_cast<char>('0' + (first == 0 && (bits >> 28) % 2 ? 0 : second)),
                'E',
                exponent < 0 ? '-' : '+',
                static_cast<char>('0' + magnitude / 10),
                static_cast<char>('0' + magnitude % 10)};
            return text;
        });
    }

    std::string build() const {
        std::string text;
        auto line = [&text](std::string_view l) { text.append(l).append("\r\n"); };
        for (int g = 1; g <= 2; ++g) {
            const SectionCounts& c = counts_[g - 1];
            line(std::to_string(c.vapours));
            line(std::to_string(c.types));
            line(std::to_string(c.ingestion));
            for (int k = 1; k <= c.vapours; ++k)
                line("Vapour entry " + std::to_string(k) + " of g" + std::to_string(g));
            for (int k = 1; k <= c.types; ++k) {
                line(std::string(1, static_cast<char>('E' + k + 2 * g)));  // type text
                line("0.00" + std::to_string(k) + std::to_string(g));      // its f1
            }
            for (int k = 1; k <= c.ingestion; ++k)
                line("0.1" + std::to_string(k) + std::to_string(g));
            for (int s = 1; s <= 11; ++s) {
                line("Heading " + std::to_string(s));
                auto record = [&](RecordPlace place) {
                    for (int l = 0; l < 9; ++l) line(lines_(place, l));
                };
                for (int k = 1; k <= c.vapours; ++k) record({g, 'V', k, 0, s});
                for (int k = 1; k <= c.types; ++k)
                    for (int a = 1; a <= 10; ++a) record({g, 'P', k, a, s});
                for (int k = 1; k <= c.ingestion; ++k) record({g, 'I', k, 0, s});
            }
        }
        return text;
    }

  private:
    static std::uint64_t mix(std::uint64_t x) {  // a fixed scramble of the bits (splitmix64)
        x += 0x9E3779B97F4A7C15ULL;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    }

    SectionCounts counts_[2];
    RecordLines lines_ = defaultLine;
};

}  // namespace fetaldose::testing
