#pragma once
// Plain dose fields, "d.dE+dd" or "d.dE-dd" (d a digit 0 to 9): the way data files write
// doses. Their offspring sums are formed here in whole numbers straight from the bytes, with
// the texts the general reading gives (see offspringDoseText); inline, because a results file
// works out a million of them.

#include <array>
#include <cstdint>
#include <cstring>

namespace fetaldose::detail {

// A plain dose field as read: mantissa (its two digits as one whole number) * 10^power.
struct PlainDose {
    int mantissa = 0;
    int power = 0;
};

// "00", "01", ... "99" one after the other.
inline constexpr auto kTwoDigitTexts = [] {
    std::array<char, 200> texts{};
    for (int i = 0; i < 100; ++i) {
        texts[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        texts[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return texts;
}();

inline PlainDose readPlainDose(const char* field) {
    const int mantissa = (field[0] - '0') * 10 + (field[2] - '0');
    const int exponent = (field[5] - '0') * 10 + (field[6] - '0');
    return {mantissa, (field[4] == '-' ? -exponent : exponent) - 1};
}

// Writes at `at` and returns the end: the plain field as localiseField gives it (7 bytes), and
// the offspring text of two plain fields as offspringDoseText gives it (7 or 8 bytes), for a
// separator under which checkTableDoses takes the fields as plain.
inline char* writePlainField(const char* field, char decimalSeparator, char* at) {
    std::memcpy(at, field, 7);
    at[1] = decimalSeparator;  // the field's point: the separator is none of its bytes
    return at + 7;
}

inline char* writePlainSum(PlainDose inUtero, PlainDose postNatal, char decimalSeparator,
                           char* at) {
    // The exact sum M * 10^q in whole numbers. A dose four or more places below the other
    // (mantissas are below 100) changes neither of the two digits written nor their rounding,
    // and is left out, as the long double sum of the general reading leaves it out. A zero
    // dose counts as far below any other. Table look-ups instead of branches: the doses of a
    // table vary too much for a branch to be foreseen.
    constexpr int kFarBelow = -1000;
    auto powerOf = [](PlainDose dose) {
        const int zero = -static_cast<int>(dose.mantissa == 0);  // all ones for a zero
        return (dose.power & ~zero) | (kFarBelow & zero);
    };
    const int inUteroPower = powerOf(inUtero);
    const int postNatalPower = powerOf(postNatal);
    // Which dose is the higher, chosen by masks: all ones where the post-natal one is.
    const int difference = inUteroPower - postNatalPower;
    const int postNatalHigh = difference >> 31;
    const int highMantissa =
        (inUtero.mantissa & ~postNatalHigh) | (postNatal.mantissa & postNatalHigh);
    const int lowMantissa =
        (postNatal.mantissa & ~postNatalHigh) | (inUtero.mantissa & postNatalHigh);
    const int highPower = (inUtero.power & ~postNatalHigh) | (postNatal.power & postNatalHigh);
    const int shift = (difference ^ postNatalHigh) - postNatalHigh;
    const int step = shift < 4 ? shift : 4;
    static constexpr unsigned kHighScale[] = {1, 10, 100, 1000, 1};
    static constexpr unsigned kLowKept[] = {1, 1, 1, 1, 0};
    const unsigned m = static_cast<unsigned>(highMantissa) * kHighScale[step] +
                       static_cast<unsigned>(lowMantissa) * kLowKept[step];
    if (m == 0) {
        const char zero[] = {'0', decimalSeparator, '0', 'E', '+', '0', '0'};
        std::memcpy(at, zero, sizeof zero);
        return at + sizeof zero;
    }
    // Two significant digits, rounded half up (the sum is positive): m has `digits` digits
    // (1 to 5), and (m * kUp + kHalf) / kDown is exact by multiplying with a reciprocal.
    const int digits = 1 + (m >= 10) + (m >= 100) + (m >= 1000) + (m >= 10000);
    static constexpr unsigned kUp[] = {0, 10, 1, 1, 1, 1};
    static constexpr unsigned kHalf[] = {0, 0, 0, 5, 50, 500};
    static constexpr std::uint64_t kReciprocal[] = {
        0, 1ULL << 32, 1ULL << 32, 429496730, 42949673, 4294968};  // ceil(2^32 / 10^(digits - 2))
    unsigned two = static_cast<unsigned>(
        ((static_cast<std::uint64_t>(m * kUp[digits] + kHalf[digits])) * kReciprocal[digits]) >>
        32);
    static constexpr int kLowPlaces[] = {0, 1, 2, 3, 0};
    int exponent = highPower - kLowPlaces[step] + digits - 1;
    if (two == 100) {
        two = 10;
        ++exponent;
    }
    at[0] = kTwoDigitTexts[2 * two];
    at[1] = decimalSeparator;
    at[2] = kTwoDigitTexts[2 * two + 1];
    at[3] = 'E';
    at[4] = exponent < 0 ? '-' : '+';
    const auto magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    if (magnitude < 100) {
        std::memcpy(at + 5, &kTwoDigitTexts[2 * magnitude], 2);
        return at + 7;
    }
    std::memcpy(at + 5, "100", 3);  // sums stay within 1.0E-100 to 2.0E+100
    return at + 8;
}

}  // namespace fetaldose::detail
