// Mapping of strings character by character under a locale: upper and lower
// case (with the language's special case mappings), half-width and
// full-width forms, and national digits to ASCII digits.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Mapping values: after the 0x4000 bit (lengths in characters) is taken off,
// the flags word must equal one of these.
inline constexpr uint32_t GC_MAP_COPY = 0;
inline constexpr uint32_t GC_MAP_COPY_EX = 0x80000023u;
inline constexpr uint32_t GC_MAP_HALF_TO_FULL = 0x80000021u;
inline constexpr uint32_t GC_MAP_FULL_TO_HALF = 0x80000022u;
inline constexpr uint32_t GC_MAP_LOWER = 0x80000024u;        // with special mappings
inline constexpr uint32_t GC_MAP_UPPER = 0x80000025u;        // with special mappings
inline constexpr uint32_t GC_MAP_LOWER_SIMPLE = 0x80002024u; // character by character
inline constexpr uint32_t GC_MAP_UPPER_SIMPLE = 0x80002025u; // character by character
inline constexpr uint32_t GC_MAP_DIGITS = 16;                // national digits to ASCII

// Lists of a language's special case mappings.
inline constexpr uint32_t GC_SPECIAL_UPPER = 44;
inline constexpr uint32_t GC_SPECIAL_LOWER = 45;

// Multibyte text in the locale's code page: maps srcLen bytes of src
// (negative: up to and including the terminating NUL) into at most dstLen
// bytes of dst, character by character; a character is written only when it
// fits whole. With 0x4000 both lengths and the result count characters, and
// at most 512 bytes of mapped text are produced. Result: the bytes (or
// characters) written, or -1 with status 2 for a flags value outside the
// mapping values, a negative destination length or a missing buffer. A
// character cut off by the source length ends the mapping. Copy (0 or
// 0x80000023) is GCStrcpy with the same lengths: a source that does not fit
// is cut to the whole characters that fit, with no NUL added.
ORB_API int32_t GCMapString(GCLocale* locale, char* dst, int32_t dstLen, const char* src, int32_t srcLen,
                    uint32_t flags);

// UCS-2 text: maps srcLen values of src (negative: up to and including the
// terminating 0) into at most dstLen values of dst. Result: the values
// written, or -1 with status 2 for a flags value outside the mapping values,
// a negative destination length or a missing buffer. The 0x4000 bit is
// accepted and has no effect. No terminator is added beyond what the source
// length covers; the mapping stops before the first value (or special
// replacement) that does not fit. Copy is GCStrcpyU.
ORB_API int32_t GCMapStringU(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                     int32_t srcLen, uint32_t flags);

// Packed character values (one 32-bit value a character, first byte most
// significant): as GCMapStringU, lengths counting values. Single-byte
// characters (values below 256) are converted through the code page's
// single-byte tables. Copy is GCWcscpy.
ORB_API int32_t GCMapStringW(GCLocale* locale, GCPacked* dst, int32_t dstLen, const GCPacked* src,
                     int32_t srcLen, uint32_t flags);

// Multibyte text with explicit shift states (0 single-byte mode, 1
// double-byte mode) of the destination and the source at their starts. In a
// locale whose code page is a shift-state code page, shift codes of the
// source set the mode, and the destination receives a shift-out code before
// a double-byte piece written in single-byte mode and a shift-in code before
// a single-byte piece written in double-byte mode; a piece is written only
// together with its shift code. No shift code is added at the end. For any
// other locale this is GCMapString (the states are not used). A state other
// than 0 or 1 is refused with status 2. Copy is GCStrcpyEx with both
// states.
ORB_API int32_t GCMapStringEx(GCLocale* locale, char* dst, int dstState, int32_t dstLen, const char* src,
                      int srcState, int32_t srcLen, uint32_t flags);
