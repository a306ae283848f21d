// Sort keys: text transformed so that a bytewise comparison of two keys
// gives the collation order of the texts.
//
// Key layout: level 1 primary weights (2 bytes each), 0x00, level 2
// secondary weights (without the trailing run of the default secondary
// weight), 0x00, level 3 tertiary weights (likewise), 0x00, level 4 pairs
// (position, special weight) of 2 bytes each, or only the special weights
// when levels 1 to 3 are empty. Multi-byte numbers most significant first.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Sort key of n UCS-2 characters (negative: up to the 0 unit) into dst of
// size bytes, written only when it fits. Result: the key length, or -1 when
// no work area could be allocated. The status is not touched.
ORB_API int32_t GCStrGenSortKey(GCLocale* locale, uint8_t* dst, int32_t size, const GCUChar* s, int32_t n);

// Transforms srcLen bytes of src (-1: up to the NUL) into dst of size
// bytes: the sort key in a locale with a sort object, else the text mapped
// as the flags ask. flags: 0, 0x80000040 (ignore case), 0x80000041 (ignore
// width), each optionally with 0x4000. Result: the length of the whole
// transformed text (written only as far as it fits; a key only whole), or
// -1 with status 2 (bad flags) or 20 (no memory).
ORB_API int32_t GCStrxfrm(GCLocale* locale, char* dst, int32_t size, const char* src, int32_t srcLen,
                  uint32_t flags);

