#include "core/refdata/plain_fields.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fetaldose {

namespace detail {

namespace {

constexpr std::size_t kFieldSlot = 8;  // a field and the blank after it

// Field slot k of a value line (8 bytes, the blank not looked at) checked in a few word
// operations; the field's first byte is the word's lowest.
bool isPlainDoseAt(std::string_view line, std::size_t offset) {
    constexpr std::size_t kFieldBytes = 7;
    if (line.size() < offset + kFieldBytes) return false;  // a short field is never plain
    std::uint64_t x = 0;
    for (std::size_t i = 0; i < kFieldBytes; ++i)
        x |= std::uint64_t{static_cast<unsigned char>(line[offset + i])} << (8 * i);
    constexpr std::uint64_t kDigitBytes = 0x0080800000800080ULL;  // high bits of bytes 0, 2, 5, 6
    const std::uint64_t low = x & 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t atLeast0 = (low + 0x5050505050505050ULL) & kDigitBytes;
    const std::uint64_t above9 = (low + 0x4646464646464646ULL) & kDigitBytes;
    const bool digits = ((atLeast0 & ~above9) == kDigitBytes) & ((x & kDigitBytes) == 0);
    const bool pointAndE = ((x ^ 0x0000000045002E00ULL) & 0x00000000FF00FF00ULL) == 0;
    const auto sign = static_cast<unsigned char>(x >> 32);
    return digits & pointAndE & ((sign == '+') | (sign == '-'));
}

}  // namespace

std::uint32_t plainFieldMaskPortable(std::string_view valueLine) {
    std::uint32_t mask = 0;
    for (int row = 1; row <= kTissueRowCount; ++row)
        if (isPlainDoseAt(valueLine, static_cast<std::size_t>(row - 1) * kFieldSlot))
            mask |= 1U << (row - 1);
    return mask;
}

#if defined(__SSE2__)
// Two field slots per 16-byte step. Each byte is shifted by what its place expects and
// masked, then compared with the largest shifted byte its place accepts: a digit place
// accepts 0 to 9 above '0', the point and the E exactly, the sign '+' or '+' + 2 ('-'), and
// the blank between fields anything.
std::uint32_t plainFieldMaskSse2(std::string_view valueLine) {
    const __m128i expected =
        _mm_setr_epi8('0', '.', '0', 'E', '+', '0', '0', 0, '0', '.', '0', 'E', '+', '0', '0', 0);
    const __m128i kept =
        _mm_setr_epi8(-1, -1, -1, -1, -3, -1, -1, 0, -1, -1, -1, -1, -3, -1, -1, 0);
    const __m128i largest = _mm_setr_epi8(9, 0, 9, 0, 0, 9, 9, 0, 9, 0, 9, 0, 0, 9, 9, 0);
    std::uint32_t mask = 0;
    for (std::size_t step = 0; step < kTissueRowCount / 2; ++step) {
        const std::size_t start = step * 2 * kFieldSlot;
        if (valueLine.size() < start + 7) break;  // not even the first field is whole
        __m128i v;
        if (valueLine.size() >= start + 16) {
            v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(valueLine.data() + start));
        } else {  // past the line's end every byte is 0, which no field place accepts
            alignas(16) char rest[16] = {};
            std::memcpy(rest, valueLine.data() + start, valueLine.size() - start);
            v = _mm_load_si128(reinterpret_cast<const __m128i*>(rest));
        }
        const __m128i shifted = _mm_and_si128(_mm_sub_epi8(v, expected), kept);
        const __m128i ok = _mm_cmpeq_epi8(_mm_min_epu8(shifted, largest), shifted);
        const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(ok));
        mask |= static_cast<std::uint32_t>((bits & 0xFF) == 0xFF) << (2 * step);
        mask |= static_cast<std::uint32_t>((bits >> 8) == 0xFF) << (2 * step + 1);
    }
    return mask;
}

// The same steps over all of the first 144 bytes, each also looking for a CR; the per-byte
// results are gathered 64 to a word and turned into field bits a word at a time.
ScannedLine scanValueLineSse2(std::string_view bytes) {
    const __m128i expected =
        _mm_setr_epi8('0', '.', '0', 'E', '+', '0', '0', 0, '0', '.', '0', 'E', '+', '0', '0', 0);
    const __m128i kept =
        _mm_setr_epi8(-1, -1, -1, -1, -3, -1, -1, 0, -1, -1, -1, -1, -3, -1, -1, 0);
    const __m128i largest = _mm_setr_epi8(9, 0, 9, 0, 0, 9, 9, 0, 9, 0, 9, 0, 0, 9, 9, 0);
    const __m128i cr = _mm_set1_epi8('\r');
    std::uint64_t okBits[3] = {};
    std::uint64_t crBits[3] = {};
    for (std::size_t step = 0; step < kTissueRowCount / 2; ++step) {
        const __m128i v =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + step * 2 * kFieldSlot));
        const __m128i shifted = _mm_and_si128(_mm_sub_epi8(v, expected), kept);
        const __m128i ok = _mm_cmpeq_epi8(_mm_min_epu8(shifted, largest), shifted);
        const unsigned shift = 16 * (step % 4);
        okBits[step / 4] |= static_cast<std::uint64_t>(_mm_movemask_epi8(ok) & 0xFFFF) << shift;
        crBits[step / 4] |=
            static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)) & 0xFFFF) << shift;
    }
    // Bit k of the result is set where byte k of the word is all ones: a field whose 8 places
    // all accept their bytes.
    auto wholeFields = [](std::uint64_t word) {
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
        const std::uint64_t zero = ~word;
        const std::uint64_t high = ~(((zero & kLow7) + kLow7) | zero | kLow7);  // byte's top bit
        return static_cast<std::uint32_t>(((high >> 7) * 0x0102040810204080ULL) >> 56);
    };
    const std::uint32_t mask =
        wholeFields(okBits[0]) | wholeFields(okBits[1]) << 8 | wholeFields(okBits[2]) << 16;
    for (std::size_t word = 0; word < 3; ++word) {
        if (crBits[word] != 0) {
            const std::size_t length =
                64 * word + static_cast<std::size_t>(__builtin_ctzll(crBits[word]));
            // Only the fields wholly before the CR are the line's.
            return {length, mask & ((1U << ((length + 1) / kFieldSlot)) - 1)};
        }
    }
    const void* end = std::memchr(bytes.data() + kScannedBytes, '\r', bytes.size() - kScannedBytes);
    return {
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes.data()) : bytes.size(),
        mask};
}
#endif

ScannedLine scanValueLinePortable(std::string_view bytes) {
    const std::size_t length = std::min(bytes.find('\r'), bytes.size());
    return {length, plainFieldMaskPortable(bytes.substr(0, length))};
}

}  // namespace detail

ScannedLine scanValueLine(std::string_view bytes) {
#if defined(__SSE2__)
    return detail::scanValueLineSse2(bytes);
#else
    return detail::scanValueLinePortable(bytes);
#endif
}

std::uint32_t plainFieldMask(std::string_view valueLine) {
#if defined(__SSE2__)
    return detail::plainFieldMaskSse2(valueLine);
#else
    return detail::plainFieldMaskPortable(valueLine);
#endif
}

}  // namespace fetaldose
