#include "core/run/table_values.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/refdata/plain_fields.h"
#include "core/run/result_store.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "core/textio/text_encoding.h"

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
// Decimal exponents well inside the normal range of long double (about 10^-4931 to 10^4932).
constexpr int kSafeDecimalExponent = 4800;
constexpr std::uint64_t k10e16 = 10'000'000'000'000'000ULL;
constexpr std::uint64_t k10e17 = 100'000'000'000'000'000ULL;
constexpr std::uint64_t k10e18 = 1'000'000'000'000'000'000ULL;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void notANumber(std::string_view text) {
    throw ConversionError(text);
}

// Multiplies (k > 0) or divides (k < 0) by 10^|k|, counting the roundings made.
long double scaleByPowerOfTen(long double value, int k, int& roundings) {
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

void multiplySmall(BigNumber& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : n) {
        const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry) n.push_back(static_cast<std::uint32_t>(carry));
}

void shiftLeft(BigNumber& n, int bits) {
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

void multiplyByPowerOfFive(BigNumber& n, int power) {
    // 5^13 is the largest power of five below 2^32.
    constexpr std::uint32_t kPow5[14] = {1,       5,        25,        125,       625,
                                         3125,    15625,    78125,     390625,    1953125,
                                         9765625, 48828125, 244140625, 1220703125};
    for (; power > 0; power -= 13) multiplySmall(n, kPow5[std::min(power, 13)]);
}

BigNumber fromUint64(std::uint64_t value) {
    BigNumber n = {static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
    while (!n.empty() && n.back() == 0) n.pop_back();
    return n;
}

bool notLess(const BigNumber& a, const BigNumber& b) {
    if (a.size() != b.size()) return a.size() > b.size();
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] > b[i];
    return true;
}

// The binary exponent b of a positive finite value, 2^b <= value < 2^(b+1), read from its bits
// where the value is normal (the library call is slow on the extended type).
int binaryExponent(long double positiveValue) {
    if constexpr (std::numeric_limits<long double>::digits == 64) {
        if (positiveValue >= std::numeric_limits<long double>::min()) {
            unsigned char bytes[sizeof(long double)];
            std::memcpy(bytes, &positiveValue, sizeof bytes);
            const int biased = (bytes[9] & 0x7f) << 8 | bytes[8];
            return biased - 16383;
        }
    }
    return std::ilogb(positiveValue);
}

// Scales by 10^(17 - exponent) into [10^17, 10^18) and returns the whole part and the
// fraction, as computed: within a few units in the last place of the true scaled value.
std::uint64_t scaledWholePart(long double positiveValue, int& exponent, long double& fraction,
                              int& roundings) {
    // 2^b <= value < 2^(b+1) puts the decimal exponent near b log10 2 (78913 / 2^18 is
    // log10 2 to within 8e-7); off by one at most, which the checks below mend.
    exponent = (binaryExponent(positiveValue) * 78913) >> 18;
    roundings = 0;
    long double scaled = scaleByPowerOfTen(positiveValue, 17 - exponent, roundings);
    if (scaled >= static_cast<long double>(k10e18)) {
        ++exponent;
        roundings = 0;
        scaled = scaleByPowerOfTen(positiveValue, 17 - exponent, roundings);
    } else if (scaled < static_cast<long double>(k10e17)) {
        --exponent;
        roundings = 0;
        scaled = scaleByPowerOfTen(positiveValue, 17 - exponent, roundings);
    }
    const auto whole = static_cast<std::uint64_t>(scaled);
    fraction = scaled - static_cast<long double>(whole);
    return whole;
}

}  // namespace

namespace detail {

Decimal18 toDecimal18Exact(long double positiveValue) {
    int exponent = 0;
    long double fraction = 0;
    int roundings = 0;
    const std::uint64_t whole = scaledWholePart(positiveValue, exponent, fraction, roundings);

    // The scaled value t = value * 10^q lies within a small fraction of a unit of `whole`
    // or `whole + 1`; rounding half up takes whole + 1 exactly when t >= whole + 1/2, that is
    // 2m * 2^(e+q) * 5^q >= 2 whole + 1 with value = m * 2^e, decided in whole numbers.
    int binaryExponent = 0;
    const long double mantissaFraction = std::frexp(positiveValue, &binaryExponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(mantissaFraction, 64));
    const int q = 17 - exponent;
    const int twos = binaryExponent - 64 + q;
    BigNumber left = fromUint64(mantissa);
    shiftLeft(left, 1);
    BigNumber right = fromUint64(2 * whole + 1);
    if (twos >= 0)
        shiftLeft(left, twos);
    else
        shiftLeft(right, -twos);
    if (q >= 0)
        multiplyByPowerOfFive(left, q);
    else
        multiplyByPowerOfFive(right, -q);

    Decimal18 result{whole + (notLess(left, right) ? 1 : 0), exponent};
    if (result.digits >= k10e18) {
        result.digits /= 10;
        ++result.exponent;
    }
    return result;
}

// Why a fast form at all: it is over three times quicker than the exact one (make bench,
// formatDose), and every sum that is not of two plain fields goes through it.
Decimal18 toDecimal18(long double positiveValue) {
    int exponent = 0;
    long double fraction = 0;
    int roundings = 0;
    const std::uint64_t whole = scaledWholePart(positiveValue, exponent, fraction, roundings);
    // Each rounding may be off by half a unit in the last place; near a tie, decide exactly.
    // The scaled value is below 10^18 < 2^60, so a unit in its last place is at most 2^-4.
    const long double margin = static_cast<long double>(roundings + 1) / 16;
    if (std::fabs(fraction - 0.5L) <= margin || whole < k10e17)
        return toDecimal18Exact(positiveValue);
    Decimal18 result{whole + (fraction > 0.5L ? 1 : 0), exponent};
    if (result.digits == k10e18) {
        result.digits = k10e17;
        ++result.exponent;
    }
    return result;
}

}  // namespace detail

namespace {

// Turns the first '.' into the separator unless the separator is there already.
void localiseInPlace(char* text, std::size_t size, char decimalSeparator) {
    if (decimalSeparator == '.') return;
    char* point = nullptr;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == decimalSeparator) return;
        if (text[i] == '.' && !point) point = text + i;
    }
    if (point) *point = decimalSeparator;
}

// A localised field without a heap allocation for the short fields of value lines.
class LocalisedField {
  public:
    LocalisedField(std::string_view field, char decimalSeparator) {
        if (field.size() <= sizeof small_) {
            // An empty field may have no bytes at all (a null view), which memcpy must not see.
            if (!field.empty()) std::memcpy(small_, field.data(), field.size());
            localiseInPlace(small_, field.size(), decimalSeparator);
            view_ = std::string_view(small_, field.size());
        } else {
            large_.assign(field);
            localiseInPlace(large_.data(), large_.size(), decimalSeparator);
            view_ = large_;
        }
    }
    LocalisedField(const LocalisedField&) = delete;
    LocalisedField& operator=(const LocalisedField&) = delete;
    std::string_view text() const { return view_; }

  private:
    char small_[16];
    std::string large_;
    std::string_view view_;
};

}  // namespace

std::string localiseField(std::string_view field, char decimalSeparator) {
    std::string text(field);
    localiseInPlace(text.data(), text.size(), decimalSeparator);
    return text;
}

namespace detail {

ParsedDose parseDose(std::string_view text, char decimalSeparator) {
    ParsedDose dose;
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size && text[i] == ' ') ++i;
    if (i < size && (text[i] == '+' || text[i] == '-')) dose.negative = text[i++] == '-';

    std::uint64_t mantissa = 0;
    int significant = 0;
    int scale = 0;  // value = mantissa * 10^(scale + exponent), while significant <= 19
    int digitCount = 0;
    bool separatorSeen = false;
    for (; i < size; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
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
    if (digitCount == 0) notANumber(text);

    int exponent = 0;
    bool hugeExponent = false;
    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) exponentNegative = text[i++] == '-';
        const std::size_t firstDigit = i;
        for (; i < size && isDigit(text[i]); ++i) {
            if (exponent < 100'000)
                exponent = exponent * 10 + (text[i] - '0');
            else
                hugeExponent = true;
        }
        if (i == firstDigit) notANumber(text);
        if (exponentNegative) exponent = -exponent;
    }
    while (i < size && text[i] == ' ') ++i;
    if (i != size) notANumber(text);

    if (mantissa == 0) {  // zero whatever its sign and exponent
        dose.negative = false;
        dose.exact = true;
        return dose;
    }
    dose.mantissa = mantissa;
    dose.power = scale + exponent;
    dose.digits = std::min(significant, kMaxFastDigits);
    dose.exact = significant <= kMaxFastDigits && !hugeExponent &&
                 dose.power + dose.digits <= kSafeDecimalExponent &&
                 dose.power >= -kSafeDecimalExponent;
    // Outside the range that surely fits long double, let the library decide (and refuse).
    if (!dose.exact) valueOf(dose, text, decimalSeparator);
    return dose;
}

long double valueOf(ParsedDose& dose, std::string_view text, char decimalSeparator) {
    if (dose.hasValue) return dose.value;
    long double value = 0;
    if (dose.mantissa != 0 && dose.exact && dose.power >= -kMaxExactPower &&
        dose.power <= kMaxExactPower) {
        // One correctly rounded operation on exact operands: the nearest long double.
        const auto m = static_cast<long double>(dose.mantissa);
        value = dose.power >= 0 ? m * kPow10[dose.power] : m / kPow10[-dose.power];
    } else if (dose.mantissa != 0) {
        // The text again, with '.' for the separator and without sign and blanks.
        std::string normal;
        normal.reserve(text.size());
        for (const char c : text) {
            if (c == ' ' || ((c == '+' || c == '-') && normal.empty())) continue;
            normal.push_back(c == decimalSeparator ? '.' : c);
        }
        const auto [end, error] =
            std::from_chars(normal.data(), normal.data() + normal.size(), value);
        // Too large or too small to hold in long double: not a dose that can be added.
        if (error != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(value) ||
            value == 0.0L || value < std::numeric_limits<long double>::min())
            notANumber(text);
    }
    dose.value = dose.negative ? -value : value;
    dose.hasValue = true;
    return dose.value;
}

}  // namespace detail

long double readDose(std::string_view text, char decimalSeparator) {
    detail::ParsedDose dose = detail::parseDose(text, decimalSeparator);
    return detail::valueOf(dose, text, decimalSeparator);
}

bool pointFormOfDose(std::string_view text, char decimalSeparator, std::string& out) {
    // The form nearly every dose takes, "3,4E-07", needs no more than its mark replaced.
    if (text.size() == 7 && isDigit(text[0]) && text[1] == decimalSeparator && isDigit(text[2]) &&
        text[3] == 'E' && (text[4] == '-' || text[4] == '+') && isDigit(text[5]) &&
        isDigit(text[6])) {
        out.assign(text);
        out[1] = '.';
        return true;
    }
    text = trimBlanks(text);
    std::size_t i = 0;
    const auto digitsFrom = [&](std::size_t from) {
        std::size_t end = from;
        while (end < text.size() && isDigit(text[end])) ++end;
        return end;
    };
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t integerEnd = digitsFrom(i);
    const std::string_view integer = text.substr(i, integerEnd - i);
    i = integerEnd;
    std::string_view fraction;
    if (i < text.size() && text[i] == decimalSeparator) {
        const std::size_t fractionEnd = digitsFrom(i + 1);
        fraction = text.substr(i + 1, fractionEnd - i - 1);
        i = fractionEnd;
    }
    if (integer.empty() && fraction.empty()) return false;
    std::string_view exponent;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t start = i + 1;
        if (start < text.size() && (text[start] == '+' || text[start] == '-')) ++start;
        const std::size_t end = digitsFrom(start);
        if (end == start) return false;
        exponent = text.substr(i + 1, end - i - 1);
        i = end;
    }
    if (i != text.size()) return false;
    out.clear();
    if (negative) out += '-';
    out += integer.empty() ? std::string_view("0") : integer;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    if (!exponent.empty()) {
        out += 'E';
        out += exponent;
    }
    return true;
}

namespace {

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A dose in the form nearly every field has, d<sep>dE+dd (with an optional '-'), read at once:
// its two digits are an exact integer and its power of ten an exact double, so the one product
// or quotient is the nearest double to the text, as the full conversion gives. Nothing for any
// other text or a power beyond the exact ones.
std::optional<double> plainDoseValue(std::string_view text, char decimalSeparator) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.size() != 7 || !isDigit(text[0]) || text[1] != decimalSeparator || !isDigit(text[2]) ||
        (text[3] != 'E' && text[3] != 'e') || (text[4] != '+' && text[4] != '-') ||
        !isDigit(text[5]) || !isDigit(text[6]))
        return std::nullopt;
    const int digits = (text[0] - '0') * 10 + (text[2] - '0');
    const int exponent = ((text[5] - '0') * 10 + (text[6] - '0')) * (text[4] == '-' ? -1 : 1);
    const int power = exponent - 1;  // of the two digits taken as a whole number
    if (power < -22 || power > 22) return std::nullopt;
    const double magnitude = power >= 0
                                 ? digits * kExactPowersOfTen[static_cast<std::size_t>(power)]
                                 : digits / kExactPowersOfTen[static_cast<std::size_t>(-power)];
    return negative ? -magnitude : magnitude;
}

}  // namespace

double doseValue(std::string_view text, char decimalSeparator) {
    if (const std::optional<double> plain = plainDoseValue(text, decimalSeparator)) return *plain;
    const long double wide = readDose(text, decimalSeparator);  // refuses what is no dose
    std::string point;
    double value = 0;
    if (!pointFormOfDose(text, decimalSeparator, point)) notANumber(text);
    const std::errc error = std::from_chars(point.data(), point.data() + point.size(), value).ec;
    if (error == std::errc()) return value;
    if (error != std::errc::result_out_of_range) notANumber(text);
    // Beyond the range of double: infinite with its sign, or as small as double holds.
    if (std::fabs(wide) > static_cast<long double>(std::numeric_limits<double>::max()))
        return wide > 0 ? std::numeric_limits<double>::infinity()
                        : -std::numeric_limits<double>::infinity();
    return static_cast<double>(wide);
}

namespace {

// A dose text is at most 1 + 3 + 1 + 1 + 5 bytes ("-1.2E-4951").
constexpr std::size_t kDoseTextCapacity = 16;

std::size_t zeroDoseTo(char* text, char decimalSeparator) {
    const char zero[] = {'0', decimalSeparator, '0', 'E', '+', '0', '0'};
    std::memcpy(text, zero, sizeof zero);
    return sizeof zero;
}

// Writes a value given to 18 digits, rounded to two half away from zero; returns the length.
std::size_t formatDecimal18To(char* text, bool negative, detail::Decimal18 decimal,
                              char decimalSeparator) {
    std::size_t length = 0;
    if (negative) text[length++] = '-';
    std::uint64_t twoDigits = decimal.digits / k10e16;
    if (decimal.digits % k10e16 >= k10e16 / 2) ++twoDigits;
    int exponent = decimal.exponent;
    if (twoDigits == 100) {
        twoDigits = 10;
        ++exponent;
    }
    text[length++] = static_cast<char>('0' + twoDigits / 10);
    text[length++] = decimalSeparator;
    text[length++] = static_cast<char>('0' + twoDigits % 10);
    text[length++] = 'E';
    text[length++] = exponent < 0 ? '-' : '+';
    unsigned magnitude =
        exponent < 0 ? static_cast<unsigned>(-exponent) : static_cast<unsigned>(exponent);
    if (magnitude < 100) {
        text[length++] = static_cast<char>('0' + magnitude / 10);
        text[length++] = static_cast<char>('0' + magnitude % 10);
        return length;
    }
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (count) text[length++] = digits[--count];
    return length;
}

constexpr std::uint64_t kPow10Int[19] = {1ULL,
                                         10ULL,
                                         100ULL,
                                         1000ULL,
                                         10000ULL,
                                         100000ULL,
                                         1000000ULL,
                                         10000000ULL,
                                         100000000ULL,
                                         1000000000ULL,
                                         10000000000ULL,
                                         100000000000ULL,
                                         1000000000000ULL,
                                         10000000000000ULL,
                                         100000000000000ULL,
                                         1000000000000000ULL,
                                         10000000000000000ULL,
                                         100000000000000000ULL,
                                         1000000000000000000ULL};

int decimalDigitCount(std::uint64_t value) {
    // 1233 / 4096 is just above log10 2: an estimate from the bit length, at most one short.
    const int bits = 64 - __builtin_clzll(value | 1);
    const int estimate = (bits * 1233) >> 12;
    return estimate + (estimate < 19 && value >= kPow10Int[estimate] ? 1 : 0);
}

}  // namespace

std::string formatDose(long double value, char decimalSeparator) {
    if (!std::isfinite(value)) notANumber(std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF");
    char text[kDoseTextCapacity];
    const std::size_t length =
        value == 0.0L ? zeroDoseTo(text, decimalSeparator)
                      : formatDecimal18To(text, value < 0, detail::toDecimal18(std::fabs(value)),
                                          decimalSeparator);
    return std::string(text, length);
}

namespace detail {

std::string_view offspringDoseTo(char (&text)[kDoseTextCapacity], ParsedDose& inUtero,
                                 std::string_view inUteroText, ParsedDose& postNatal,
                                 std::string_view postNatalText, char decimalSeparator) {
    // Shortcut, same result: when both doses are held exactly and have the same sign, and
    // their exact sum has at most 18 significant digits, the long double sum lies within
    // 2^-63 of it relatively (two correctly rounded readings and one rounded addition, no
    // cancellation), well inside half a unit of the 18th digit; so taking the long double
    // sum to 18 digits gives exactly that sum, which is formed here in whole numbers.
    if (inUtero.exact && postNatal.exact &&
        (inUtero.mantissa == 0 || postNatal.mantissa == 0 ||
         inUtero.negative == postNatal.negative)) {
        if (inUtero.mantissa == 0 && postNatal.mantissa == 0)
            return std::string_view(text, zeroDoseTo(text, decimalSeparator));
        const ParsedDose& a = inUtero.mantissa != 0 ? inUtero : postNatal;
        const ParsedDose& b = inUtero.mantissa != 0 && postNatal.mantissa != 0 ? postNatal : a;
        const int lowest = std::min(a.power, b.power);
        const int shiftA = a.power - lowest;
        const int shiftB = b.power - lowest;
        if (a.digits + shiftA <= 18 && b.digits + shiftB <= 18) {
            const std::uint64_t sum =
                a.mantissa * kPow10Int[shiftA] + (&b == &a ? 0 : b.mantissa * kPow10Int[shiftB]);
            if (sum < k10e18) {
                const int digits = decimalDigitCount(sum);
                const Decimal18 decimal{sum * kPow10Int[18 - digits], lowest + digits - 1};
                return std::string_view(
                    text, formatDecimal18To(text, a.negative, decimal, decimalSeparator));
            }
        }
    }
    const long double total = valueOf(inUtero, inUteroText, decimalSeparator) +
                              valueOf(postNatal, postNatalText, decimalSeparator);
    // Two values within range can still add up beyond it; the post-natal field is the one
    // that could not be added.
    if (!std::isfinite(total)) notANumber(postNatalText);
    if (total == 0.0L) return std::string_view(text, zeroDoseTo(text, decimalSeparator));
    return std::string_view(
        text, formatDecimal18To(text, total < 0, toDecimal18(std::fabs(total)), decimalSeparator));
}

std::string offspringDose(ParsedDose& inUtero, std::string_view inUteroText, ParsedDose& postNatal,
                          std::string_view postNatalText, char decimalSeparator) {
    char text[kDoseTextCapacity];
    return std::string(
        offspringDoseTo(text, inUtero, inUteroText, postNatal, postNatalText, decimalSeparator));
}

}  // namespace detail

const DoseRecord& recordFor(const NuclideData& data, const TableKey& key) {
    if (key.group < 1 || key.group > 2 || key.scenario < 1 || key.scenario > kScenarioCount)
        throw RangeError();
    const GroupSection& section = data.groups[static_cast<std::size_t>(key.group - 1)];
    const auto s = static_cast<std::size_t>(key.scenario - 1);
    const auto k = static_cast<std::size_t>(key.entry - 1);
    switch (key.route) {
        case IntakeRoute::Particulates:
            if (key.entry < 1 || key.entry > kMaxTypes || key.aerosolSize < 1 ||
                key.aerosolSize > kAerosolSizeCount)
                throw RangeError();
            return section.particulateRecords[s][k][static_cast<std::size_t>(key.aerosolSize - 1)];
        case IntakeRoute::Ingestion:
            if (key.entry < 1 || key.entry > kMaxIngestionEntries) throw RangeError();
            return section.ingestionRecords[s][k];
        case IntakeRoute::Vapours:
            if (key.entry < 1 || key.entry > kMaxVapourEntries) throw RangeError();
            return section.vapourRecords[s][k];
    }
    throw RangeError();
}

std::string nuclideHeading(std::string_view nuclide, std::string_view halfLife) {
    std::string text;
    text.reserve(nuclide.size() + kHalfLifeJoin.size() + halfLife.size());
    text.append(nuclide).append(kHalfLifeJoin).append(halfLife);
    return text;
}

std::string routeHeading(const GroupSection& section, const TableKey& key) {
    const auto k = static_cast<std::size_t>(key.entry - 1);
    std::string text;
    switch (key.route) {
        case IntakeRoute::Particulates:
            if (key.entry < 1 || key.entry > kMaxTypes || key.aerosolSize < 1 ||
                key.aerosolSize > kAerosolSizeCount)
                throw RangeError();
            text.append(kInhalationTypePrefix)
                .append(section.particulateTypes[k].type)
                .append(kF1Join)
                .append(section.particulateTypes[k].f1)
                .append(kAerosolJoin)
                .append(kAerosolLabels[static_cast<std::size_t>(key.aerosolSize - 1)]);
            return text;
        case IntakeRoute::Ingestion:
            if (key.entry < 1 || key.entry > kMaxIngestionEntries) throw RangeError();
            text.append(kIngestionPrefix).append(section.ingestionF1[k]);
            return text;
        case IntakeRoute::Vapours:
            if (key.entry < 1 || key.entry > kMaxVapourEntries) throw RangeError();
            return std::string(section.vapourRoutes[k]);
    }
    throw RangeError();
}

std::string summaryLine(const DoseRecord& record) {
    return summaryLine(record.summaryTissue, record.summaryDetail);
}

std::string summaryLine(std::string_view summaryTissue, std::string_view summaryDetail) {
    if (summaryTissue == kBelowThresholdMarker) return std::string(kBelowThresholdSummary);
    if (summaryTissue == kSameDoseMarker) return std::string(kSameDoseSummary);
    std::string text;
    text.reserve(kHighestDosePrefix.size() + summaryTissue.size() + kHighestDoseJoin.size() +
                 summaryDetail.size());
    text.append(kHighestDosePrefix)
        .append(summaryTissue)
        .append(kHighestDoseJoin)
        .append(summaryDetail);
    return text;
}

namespace {

bool separatorIsNeutral(char separator) {
    return !isDigit(separator) && separator != 'E' && separator != 'e' && separator != '+' &&
           separator != '-' && separator != ' ';
}

}  // namespace

std::string offspringDoseText(std::string_view inUteroField, std::string_view postNatalField,
                              char decimalSeparator) {
    const LocalisedField inUtero(inUteroField, decimalSeparator);
    const LocalisedField postNatal(postNatalField, decimalSeparator);
    detail::ParsedDose inUteroValue = detail::parseDose(inUtero.text(), decimalSeparator);
    detail::ParsedDose postNatalValue = detail::parseDose(postNatal.text(), decimalSeparator);
    return detail::offspringDose(inUteroValue, inUtero.text(), postNatalValue, postNatal.text(),
                                 decimalSeparator);
}

bool checkTableDoses(const DoseRecord& record, const std::vector<int>& rows,
                     const std::vector<int>& periods, char decimalSeparator) {
    std::uint32_t chosen = 0;
    for (const int row : rows) {
        if (row < 1 || row > kTissueRowCount) throw RangeError();
        chosen |= 1U << (row - 1);
    }
    for (const int period : periods)
        if (period < 1 || period > kPeriodCount) throw RangeError();

    // Usually every field is a plain dose, as the reader found while it read the lines.
    if (separatorIsNeutral(decimalSeparator)) {
        auto fields = [&record](std::size_t line) {
            if (record.plainFieldsKnown) return record.plainFields[line];
            return plainFieldMask(line == 0 ? record.inUteroLine : record.postNatalLines[line - 1]);
        };
        std::uint32_t plain = fields(0) & chosen;
        for (const int period : periods) plain &= fields(static_cast<std::size_t>(period));
        if (plain == chosen) return true;
    }
    // Otherwise field by field in reading order, so the first failure is the one reported.
    for (const int row : rows) {
        for (const int period : periods) {
            const std::string_view line =
                record.postNatalLines[static_cast<std::size_t>(period - 1)];
            offspringDoseText(DoseRecord::field(record.inUteroLine, row),
                              DoseRecord::field(line, row), decimalSeparator);
        }
    }
    return false;
}

ResultStore::HeadingNumbers tableHeadings(ResultStore& store, const NuclideData& data,
                                          const TableKey& key, const TableContext& context) {
    recordFor(data, key);  // checks the key
    const GroupSection& section = data.groups[static_cast<std::size_t>(key.group - 1)];
    return store.keepHeadings(nuclideHeading(context.nuclide, context.halfLife),
                              kGroupLabels[static_cast<std::size_t>(key.group - 1)],
                              routeHeading(section, key),
                              kScenarioTexts[static_cast<std::size_t>(key.scenario - 1)]);
}

void fillTableSlot(ResultStore& store, int slot, const DoseRecord& record,
                   const ResultStore::HeadingNumbers& headings, const TableContext& context) {
    const bool plain =
        context.rows && context.periods &&
        checkTableDoses(record, *context.rows, *context.periods, context.decimalSeparator);
    store.setRecord(slot, headings, record, plain);
}

}  // namespace fetaldose
