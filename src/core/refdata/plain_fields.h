#pragma once
// Plain dose fields of value lines: "d.dE+dd" or "d.dE-dd" (d a digit 0 to 9), the way data
// files write doses. Such a field reads as a number under any separator that is not itself
// part of a number, and two of them always add up within range, so a table of them needs no
// field-by-field reading.

#include <cstdint>
#include <string_view>

#include "core/refdata/nuclide_data.h"

namespace fetaldose {

// Bit row - 1 is set where the field of tissue row `row` (1 to 18) of a value line is a plain
// dose, its 7 bytes all before the line's end. Vectorised where the machine allows.
std::uint32_t plainFieldMask(std::string_view valueLine);

// A value line read in one pass that finds both its end and its plain fields: `bytes` start
// at the line and hold at least kScannedBytes bytes (the 18 fields and their blanks); the line
// runs to the first CR or to the end of the bytes.
inline constexpr std::size_t kScannedBytes = 144;
struct ScannedLine {
    std::size_t length = 0;         // bytes before the CR
    std::uint32_t plainFields = 0;  // as plainFieldMask of the line
};
ScannedLine scanValueLine(std::string_view bytes);

namespace detail {
// The two forms plainFieldMask and scanValueLine may take; they give the same results.
ScannedLine scanValueLinePortable(std::string_view bytes);
#if defined(__SSE2__)
ScannedLine scanValueLineSse2(std::string_view bytes);
#endif
std::uint32_t plainFieldMaskPortable(std::string_view valueLine);
#if defined(__SSE2__)
std::uint32_t plainFieldMaskSse2(std::string_view valueLine);
#endif
}  // namespace detail

}  // namespace fetaldose
