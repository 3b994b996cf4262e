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

namespace detail {
// The two forms plainFieldMask may take; they give the same mask.
std::uint32_t plainFieldMaskPortable(std::string_view valueLine);
#if defined(__SSE2__)
std::uint32_t plainFieldMaskSse2(std::string_view valueLine);
#endif
}  // namespace detail

}  // namespace fetaldose
