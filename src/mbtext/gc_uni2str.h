// UCS-2 text to the locale's code page.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Converts srclen units of src (-1: up to the first 0 unit) into out
// (outlen bytes, or characters with 0x4000: the buffer must then hold up to
// 4 bytes a character). Flags: 0 or 0x8 (room for and writing of a NUL),
// with 0x4000. A NUL is also written when the source was NUL-terminated, was
// converted whole and room is left. Result: bytes (characters) written with
// the NUL; -1 with status 2 for other flags; status 0 otherwise, also when
// the output was too small. Units that the code page cannot represent give
// its default character; in UTF-8 a surrogate pair gives one character. In
// a shift-state page double-byte characters are enclosed in shift-out and
// shift-in codes (which count as bytes, not characters).
ORB_API int GCUnicodeToString(GCLocale* locale, char* out, int32_t outlen, const GCUChar* src, int32_t srclen,
                      uint32_t flags);
