// Numbers to text in the locale's number format: thousands separator and
// digit grouping ("3;0", "3;2;0", ...), the code page's digits and minus sign,
// and for doubles the decimal separator and the number of fraction digits.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

inline constexpr uint32_t GC_NUM_UNSIGNED_VALUE = 0x80;  // GCLongToString: value is unsigned
inline constexpr uint32_t GC_NUM_PLAIN_FRACTION = 0x400000; // GCDoubleToString: "%f" fraction

// Writes a 32-bit integer (unsigned with 0x80). Flags: 0x1, 0x8 (NUL written
// and counted), 0x80, 0x4000 (result in characters). Result: bytes written,
// -1 with status 2 for other flags or a negative buffer length, 0 with
// status 40 for a buffer length of 0; status 40 when the text was cut.
ORB_API int GCLongToString(GCLocale* locale, int32_t value, char* buffer, int32_t length, uint32_t flags);

// Writes a double with the locale's fraction digits (or the six of "%f" with
// 0x400000). Flags: 0x1, 0x8, 0x4000, 0x400000. Infinity and NaN give
// "inf" and "nan" with a minus sign when negative. A text longer than the
// work area is refused with status 2 and -1.
ORB_API int GCDoubleToString(GCLocale* locale, double value, char* buffer, int32_t length, uint32_t flags);
