#pragma once
// Plain dose fields, "d.dE+dd" or "d.dE-dd" (d a digit 0 to 9): the way data files write
// doses. Their offspring sums are formed here in whole numbers straight from the bytes, with
// the texts the general reading gives (see OffspringDoseText); inline, because a results file
// works out a million of them.

#include <cstdint>
#include <cstring>

namespace fetaldose::detail {

// A plain dose field as read: mantissa (its two digits as one whole number) * 10^power.
struct PlainDose {
    int mantissa = 0;
    int power = 0;
};

inline PlainDose readPlainDose(const char* field) {
    const int mantissa = (field[0] - '0') * 10 + (field[2] - '0');
    const int exponent = (field[5] - '0') * 10 + (field[6] - '0');
    return {mantissa, (field[4] == '-' ? -exponent : exponent) - 1};
}

// Writes at `at` and returns the end: the plain field as LocaliseField gives it (7 bytes), and
// the offspring text of two plain fields as OffspringDoseText gives it (7 or 8 bytes), for a
// separator under which CheckTableDoses takes the fields as plain.
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
    const int inUteroPower = inUtero.mantissa != 0 ? inUtero.power : kFarBelow;
    const int postNatalPower = postNatal.mantissa != 0 ? postNatal.power : kFarBelow;
    const bool inUteroHigh = inUteroPower >= postNatalPower;
    const PlainDose high = inUteroHigh ? inUtero : postNatal;
    const PlainDose low = inUteroHigh ? postNatal : inUtero;
    const int shift = inUteroHigh ? inUteroPower - postNatalPower : postNatalPower - inUteroPower;
    const int step = shift < 4 ? shift : 4;
    static constexpr unsigned kHighScale[] = {1, 10, 100, 1000, 1};
    static constexpr unsigned kLowKept[] = {1, 1, 1, 1, 0};
    const unsigned m = static_cast<unsigned>(high.mantissa) * kHighScale[step] +
                       static_cast<unsigned>(low.mantissa) * kLowKept[step];
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
    int exponent = (high.power - (step < 4 ? shift : 0)) + digits - 1;
    if (two == 100) {
        two = 10;
        ++exponent;
    }
    at[0] = static_cast<char>('0' + two / 10);
    at[1] = decimalSeparator;
    at[2] = static_cast<char>('0' + two % 10);
    at[3] = 'E';
    at[4] = exponent < 0 ? '-' : '+';
    const auto magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    if (magnitude < 100) {
        at[5] = static_cast<char>('0' + magnitude / 10);
        at[6] = static_cast<char>('0' + magnitude % 10);
        return at + 7;
    }
    at[5] = '1';  // sums stay within 1.0E-100 to 2.0E+100
    at[6] = static_cast<char>('0' + magnitude / 10 % 10);
    at[7] = static_cast<char>('0' + magnitude % 10);
    return at + 8;
}

}  // namespace fetaldose::detail
