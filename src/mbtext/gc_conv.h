// Whole-string conversion: code-page text to UCS-2 and back on one code
// page (with the shift codes of shift-state code pages), over the common
// code page (id 1), and at locale level: a locale's text to UCS-2, packed
// wide characters to a locale's code page, and text of one locale's code
// page to another's.
//
// Conversions never split a character: a character cut by the end of the
// source is neither converted nor counted, and output stops before the first
// character that does not fit whole. A byte sequence that the code page
// rejects becomes U+FFFD; a UCS-2 value that the target cannot represent
// becomes the target's default character.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Code-page text (length bytes, -1: up to the NUL) to UCS-2. Stops at a NUL
// byte. out needs room for one unit per source byte. Result: units written
// (no terminator), -1 when a NUL-terminated string is empty.
ORB_API int32_t GCCpStrToUnicode(const GCObj* cp, const char* s, int32_t length, GCUChar* out);
// UCS-2 (length units, negative: up to the 0 unit) to code-page text. A
// shift-state code page starts in the given state (1: double-byte mode is
// open), writes the shift codes it needs and closes double-byte mode at the
// end; it writes no terminator. Other code pages write a NUL that is not
// counted. Result: bytes written. out needs room for 4 bytes per unit, plus
// shift codes and the NUL.
ORB_API int32_t GCCpUnicodeToStr(const GCObj* cp, const GCUChar* u, int state, int32_t length, char* out);

// Common code page (code-page object id 1 of the started library). Each
// byte becomes one unit and each unit one byte; a terminator is written.
// Result: bytes (units) consumed; -1 when the code page cannot be had or a
// NUL-terminated input is empty.
ORB_API int32_t GCComStrToUnicode(const char* s, int32_t length, GCUChar* out);
ORB_API int32_t GCComUnicodeToStr(const GCUChar* u, int32_t length, char* out);

// Locale text (srcLen bytes, or characters with 0x4000; negative: up to the
// NUL) to at most outLen UCS-2 units. Flags 0, 8 (reserve and write a
// terminator) and 0x4000. Result: units written with the terminator when
// written; -1 with status 2 for other flags or a negative outLen.
ORB_API int32_t GCStringToUnicode(GCUChar* out, int32_t outLen, GCLocale* locale, const char* src,
                          int32_t srcLen, uint32_t flags);
// Packed wide characters (srcLen values, negative: up to and including the
// 0 value) to the locale's code page. Flags 0 and 0x4000 (outLen and the
// result count characters; then at most outLen times the code page's
// maximum character length bytes are written). Result: bytes (characters)
// written; -1 with status 2 for other flags or a negative outLen.
ORB_API int32_t GCWideToMb(GCLocale* locale, char* out, int32_t outLen, const uint32_t* src, int32_t srcLen,
                   uint32_t flags);
// Text of the source locale's code page to the destination locale's. Flags
// 0, 8 and 0x4000 (source length, outLen and the result count characters;
// then at most outLen times the destination's maximum character length
// bytes are written). Result: bytes (characters) written, terminator
// included when written; on bad flags or a negative outLen status 2 on the
// destination locale and -1 (0 in character mode).
ORB_API int32_t GCConvertString(GCLocale* dst, char* out, int32_t outLen, GCLocale* src, const char* s,
                        int32_t srcLen, uint32_t flags);
