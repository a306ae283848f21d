// Lengths and copies of UCS-2 (16-bit) and wide (32-bit) text.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Units before the first 0 unit (flags ignored).
ORB_API int32_t GCStrlenU(GCLocale* locale, const GCUChar* s, uint32_t flags);
ORB_API int32_t GCWcslen(GCLocale* locale, const uint32_t* s, uint32_t flags);

// Copies min(srcLen, size) units (srcLen negative: the units up to and
// including the terminating 0) and returns that number; 0 for a source
// length or size of 0 (flags ignored). Nothing is written beyond size.
ORB_API int32_t GCStrcpyU(GCLocale* locale, GCUChar* dst, int32_t size, const GCUChar* src, int32_t srcLen,
                  uint32_t flags);
ORB_API int32_t GCWcscpy(GCLocale* locale, uint32_t* dst, int32_t size, const uint32_t* src, int32_t srcLen,
                 uint32_t flags);
