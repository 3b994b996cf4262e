#include "core/run/table_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "core/run/run_texts.h"
#include "core/textio/faults.h"

// Dose numbers are read and written here by hand, never through strtod, printf or streams:
// those follow the process's C locale, which the GUI toolkit changes to the user's, and would
// then read "1.5" as 1 under a comma locale. The separator is always passed in.

namespace fetaldose {

namespace {

constexpr int kMaxExactPower = 27;  // 10^27 = 2^27 * 5^27, and 5^27 < 2^64: exact in long double
constexpr long double kPow10[kMaxExactPower + 1] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
constexpr int kMaxFastDigits = 19;  // below 10^19 < 2^64: exact in long double
constexpr std::uint64_t k10e16 = 10'000'000'000'000'000ULL;
constexpr std::uint64_t k10e17 = 100'000'000'000'000'000ULL;
constexpr std::uint64_t k10e18 = 1'000'000'000'000'000'000ULL;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void NotANumber(std::string_view text) {
    throw ConversionError(text);
}

// Multiplies (k > 0) or divides (k < 0) by 10^|k|, counting the roundings made.
long double ScaleByPowerOfTen(long double value, int k, int& roundings) {
    if (k >= 0) {
        while (k > kMaxExactPower) {
            value *= kPow10[kMaxExactPower];
            k -= kMaxExactPower;
            ++roundings;
        }
        if (k > 0) {
            value *= kPow10[k];
            ++roundings;
        }
    } else {
        int m = -k;
        while (m > kMaxExactPower) {
            value /= kPow10[kMaxExactPower];
            m -= kMaxExactPower;
            ++roundings;
        }
        value /= kPow10[m];
        ++roundings;
    }
    return value;
}

// Little-endian base-2^32 natural number, just enough for the exact conversion.
using BigNumber = std::vector<std::uint32_t>;

void MultiplySmall(BigNumber& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : n) {
        const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry) n.push_back(static_cast<std::uint32_t>(carry));
}

void ShiftLeft(BigNumber& n, int bits) {
    const int limbs = bits / 32;
    const int rest = bits % 32;
    if (rest) {
        std::uint32_t carry = 0;
        for (auto& limb : n) {
            const std::uint32_t next = limb >> (32 - rest);
            limb = (limb << rest) | carry;
            carry = next;
        }
        if (carry) n.push_back(carry);
    }
    n.insert(n.begin(), static_cast<std::size_t>(limbs), 0u);
}

void MultiplyByPowerOfFive(BigNumber& n, int power) {
    // 5^13 is the largest power of five below 2^32.
    constexpr std::uint32_t kPow5[14] = {1,       5,        25,        125,       625,
                                         3125,    15625,    78125,     390625,    1953125,
                                         9765625, 48828125, 244140625, 1220703125};
    for (; power > 0; power -= 13) MultiplySmall(n, kPow5[std::min(power, 13)]);
}

BigNumber FromUint64(std::uint64_t value) {
    BigNumber n = {static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
    while (!n.empty() && n.back() == 0) n.pop_back();
    return n;
}

bool NotLess(const BigNumber& a, const BigNumber& b) {
    if (a.size() != b.size()) return a.size() > b.size();
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] > b[i];
    return true;
}

// Scales by 10^(17 - exponent) into [10^17, 10^18] and returns the whole part, approximately:
// off by at most one from the true value's nearest integer.
std::uint64_t ScaledWholePart(long double positiveValue, int& exponent, long double& fraction,
                              int& roundings) {
    // 2^b <= value < 2^(b+1) puts the decimal exponent at floor(b log10 2) or one above.
    exponent = static_cast<int>(std::floor(std::ilogb(positiveValue) * 0.30102999566398119521L));
    roundings = 0;
    long double scaled = ScaleByPowerOfTen(positiveValue, 17 - exponent, roundings);
    if (scaled >= static_cast<long double>(k10e18)) {
        ++exponent;
        roundings = 0;
        scaled = ScaleByPowerOfTen(positiveValue, 17 - exponent, roundings);
    }
    const auto whole = static_cast<std::uint64_t>(scaled);
    fraction = scaled - static_cast<long double>(whole);
    return whole;
}

void AppendExponent(std::string& out, int exponent) {
    out.push_back(exponent < 0 ? '-' : '+');
    unsigned magnitude =
        exponent < 0 ? static_cast<unsigned>(-exponent) : static_cast<unsigned>(exponent);
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (count < 2) digits[count++] = '0';
    while (count) out.push_back(digits[--count]);
}

}  // namespace

namespace detail {

Decimal18 ToDecimal18Exact(long double positiveValue) {
    int exponent = 0;
    long double fraction = 0;
    int roundings = 0;
    const std::uint64_t whole = ScaledWholePart(positiveValue, exponent, fraction, roundings);

    // The scaled value t = value * 10^q lies within a small fraction of a unit of `whole`
    // or `whole + 1`; rounding half up takes whole + 1 exactly when t >= whole + 1/2, that is
    // 2m * 2^(e+q) * 5^q >= 2 whole + 1 with value = m * 2^e, decided in whole numbers.
    int binaryExponent = 0;
    const long double mantissaFraction = std::frexp(positiveValue, &binaryExponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(mantissaFraction, 64));
    const int q = 17 - exponent;
    const int twos = binaryExponent - 64 + q;
    BigNumber left = FromUint64(mantissa);
    ShiftLeft(left, 1);
    BigNumber right = FromUint64(2 * whole + 1);
    if (twos >= 0)
        ShiftLeft(left, twos);
    else
        ShiftLeft(right, -twos);
    if (q >= 0)
        MultiplyByPowerOfFive(left, q);
    else
        MultiplyByPowerOfFive(right, -q);

    Decimal18 result{whole + (NotLess(left, right) ? 1 : 0), exponent};
    if (result.Digits >= k10e18) {
        result.Digits /= 10;
        ++result.Exponent;
    }
    return result;
}

Decimal18 ToDecimal18(long double positiveValue) {
    int exponent = 0;
    long double fraction = 0;
    int roundings = 0;
    const std::uint64_t whole = ScaledWholePart(positiveValue, exponent, fraction, roundings);
    // Each rounding may be off by half a unit in the last place; near a tie, decide exactly.
    const long double margin = std::ldexp(static_cast<long double>(roundings + 1),
                                          std::ilogb(static_cast<long double>(whole)) - 63);
    if (std::fabs(fraction - 0.5L) <= margin || whole < k10e17)
        return ToDecimal18Exact(positiveValue);
    Decimal18 result{whole + (fraction > 0.5L ? 1 : 0), exponent};
    if (result.Digits == k10e18) {
        result.Digits = k10e17;
        ++result.Exponent;
    }
    return result;
}

}  // namespace detail

std::string LocaliseField(std::string_view field, char decimalSeparator) {
    std::string text(field);
    if (text.find(decimalSeparator) != std::string::npos) return text;
    const auto point = text.find('.');
    if (point != std::string::npos) text[point] = decimalSeparator;
    return text;
}

long double ReadDose(std::string_view text, char decimalSeparator) {
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size && text[i] == ' ') ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    const std::size_t mantissaStart = i;
    std::uint64_t mantissa = 0;
    int significant = 0;
    int scale = 0;  // value = mantissa * 10^(scale + exponent)
    int digitCount = 0;
    bool separatorSeen = false;
    for (; i < size; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            ++digitCount;
            if (mantissa == 0 && c == '0') {
                if (separatorSeen) --scale;
                continue;
            }
            if (++significant <= kMaxFastDigits) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
                if (separatorSeen) --scale;
            } else if (!separatorSeen) {
                ++scale;
            }
        } else if (c == decimalSeparator && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (digitCount == 0) NotANumber(text);
    const std::size_t mantissaEnd = i;

    std::size_t exponentStart = i;
    std::size_t exponentEnd = i;
    int exponent = 0;
    bool hugeExponent = false;
    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        exponentStart = i;
        bool exponentNegative = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) exponentNegative = text[i++] == '-';
        const std::size_t firstDigit = i;
        for (; i < size && IsDigit(text[i]); ++i) {
            if (exponent < 100'000)
                exponent = exponent * 10 + (text[i] - '0');
            else
                hugeExponent = true;
        }
        if (i == firstDigit) NotANumber(text);
        exponentEnd = i;
        if (exponentNegative) exponent = -exponent;
    }
    while (i < size && text[i] == ' ') ++i;
    if (i != size) NotANumber(text);

    if (mantissa == 0) return 0.0L;  // zero whatever its sign and exponent

    long double value = 0;
    const int power = scale + exponent;
    if (significant <= kMaxFastDigits && !hugeExponent && power >= -kMaxExactPower &&
        power <= kMaxExactPower) {
        // One correctly rounded operation on exact operands: the nearest long double.
        const auto m = static_cast<long double>(mantissa);
        value = power >= 0 ? m * kPow10[power] : m / kPow10[-power];
    } else {
        std::string normal;
        normal.reserve(size + 2);
        for (std::size_t j = mantissaStart; j < mantissaEnd; ++j)
            normal.push_back(text[j] == decimalSeparator ? '.' : text[j]);
        if (exponentEnd > exponentStart) {
            normal.push_back('e');
            normal.append(text.substr(exponentStart, exponentEnd - exponentStart));
        }
        const auto [end, error] =
            std::from_chars(normal.data(), normal.data() + normal.size(), value);
        // Out of the range of long double, too large or too small to hold: not a dose we can add.
        if (error != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(value) ||
            value == 0.0L)
            NotANumber(text);
    }
    return negative ? -value : value;
}

std::string FormatDose(long double value, char decimalSeparator) {
    if (!std::isfinite(value)) NotANumber(std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF");
    std::string out;
    out.reserve(12);
    if (value == 0.0L) {
        out.push_back('0');
        out.push_back(decimalSeparator);
        out.append("0E+00");
        return out;
    }
    if (value < 0) out.push_back('-');
    detail::Decimal18 decimal = detail::ToDecimal18(std::fabs(value));
    std::uint64_t twoDigits = decimal.Digits / k10e16;
    if (decimal.Digits % k10e16 >= k10e16 / 2) ++twoDigits;
    int exponent = decimal.Exponent;
    if (twoDigits == 100) {
        twoDigits = 10;
        ++exponent;
    }
    out.push_back(static_cast<char>('0' + twoDigits / 10));
    out.push_back(decimalSeparator);
    out.push_back(static_cast<char>('0' + twoDigits % 10));
    out.push_back('E');
    AppendExponent(out, exponent);
    return out;
}

const DoseRecord& RecordFor(const NuclideData& data, const TableKey& key) {
    if (key.Group < 1 || key.Group > 2 || key.Scenario < 1 || key.Scenario > kScenarioCount)
        throw RangeError();
    const GroupSection& section = data.Groups[static_cast<std::size_t>(key.Group - 1)];
    const auto s = static_cast<std::size_t>(key.Scenario - 1);
    const auto k = static_cast<std::size_t>(key.Entry - 1);
    switch (key.Route) {
        case IntakeRoute::Particulates:
            if (key.Entry < 1 || key.Entry > kMaxTypes || key.AerosolSize < 1 ||
                key.AerosolSize > kAerosolSizeCount)
                throw RangeError();
            return section.ParticulateRecords[s][k][static_cast<std::size_t>(key.AerosolSize - 1)];
        case IntakeRoute::Ingestion:
            if (key.Entry < 1 || key.Entry > kMaxIngestionEntries) throw RangeError();
            return section.IngestionRecords[s][k];
        case IntakeRoute::Vapours:
            if (key.Entry < 1 || key.Entry > kMaxVapourEntries) throw RangeError();
            return section.VapourRecords[s][k];
    }
    throw RangeError();
}

std::string NuclideHeading(std::string_view nuclide, std::string_view halfLife) {
    std::string text;
    text.reserve(nuclide.size() + kHalfLifeJoin.size() + halfLife.size());
    text.append(nuclide).append(kHalfLifeJoin).append(halfLife);
    return text;
}

std::string RouteHeading(const GroupSection& section, const TableKey& key) {
    const auto k = static_cast<std::size_t>(key.Entry - 1);
    std::string text;
    switch (key.Route) {
        case IntakeRoute::Particulates:
            if (key.Entry < 1 || key.Entry > kMaxTypes || key.AerosolSize < 1 ||
                key.AerosolSize > kAerosolSizeCount)
                throw RangeError();
            text.append(kInhalationTypePrefix)
                .append(section.ParticulateTypes[k].Type)
                .append(kF1Join)
                .append(section.ParticulateTypes[k].F1)
                .append(kAerosolJoin)
                .append(kAerosolLabels[static_cast<std::size_t>(key.AerosolSize - 1)]);
            return text;
        case IntakeRoute::Ingestion:
            if (key.Entry < 1 || key.Entry > kMaxIngestionEntries) throw RangeError();
            text.append(kIngestionPrefix).append(section.IngestionF1[k]);
            return text;
        case IntakeRoute::Vapours:
            if (key.Entry < 1 || key.Entry > kMaxVapourEntries) throw RangeError();
            return section.VapourRoutes[k];
    }
    throw RangeError();
}

std::string SummaryLine(const DoseRecord& record) {
    if (record.SummaryTissue == kBelowThresholdMarker) return std::string(kBelowThresholdSummary);
    if (record.SummaryTissue == kSameDoseMarker) return std::string(kSameDoseSummary);
    std::string text;
    text.append(kHighestDosePrefix)
        .append(record.SummaryTissue)
        .append(kHighestDoseJoin)
        .append(record.SummaryDetail);
    return text;
}

void FillTableSlot(ResultStore& store, int slot, const NuclideData& data, const TableKey& key,
                   const TableContext& context) {
    const DoseRecord& record = RecordFor(data, key);
    const GroupSection& section = data.Groups[static_cast<std::size_t>(key.Group - 1)];
    store.SetHeadings(
        slot, NuclideHeading(context.Nuclide, context.HalfLife),
        kGroupLabels[static_cast<std::size_t>(key.Group - 1)], RouteHeading(section, key),
        kScenarioTexts[static_cast<std::size_t>(key.Scenario - 1)], SummaryLine(record));
    if (!context.Rows || !context.Periods) return;

    const char separator = context.DecimalSeparator;
    int r = 0;
    for (const int row : *context.Rows) {
        if (row < 1 || row > kTissueRowCount) throw RangeError();
        ++r;
        const std::string inUtero =
            LocaliseField(DoseRecord::Field(record.InUteroLine, row), separator);
        store.SetInUtero(slot, r, inUtero);
        long double inUteroValue = 0;
        bool inUteroRead = false;
        int n = 0;
        for (const int period : *context.Periods) {
            if (period < 1 || period > kPeriodCount) throw RangeError();
            ++n;
            const std::string postNatal = LocaliseField(
                DoseRecord::Field(record.PostNatalLines[static_cast<std::size_t>(period - 1)], row),
                separator);
            store.SetPostNatal(slot, r, n, postNatal);
            if (!inUteroRead) {
                inUteroValue = ReadDose(inUtero, separator);
                inUteroRead = true;
            }
            const long double total = inUteroValue + ReadDose(postNatal, separator);
            // Two values within range can still add up beyond it; the post-natal field is the
            // one that could not be added.
            if (!std::isfinite(total)) NotANumber(postNatal);
            store.SetOffspring(slot, r, n, FormatDose(total, separator));
        }
    }
}

}  // namespace fetaldose
