// Locale-aware string functions: comparison with and without regard to case,
// concatenation, copies (also between shift states), searches for a
// character or a substring, spans, tokens, character validity and line ends.
//
// Every function takes the locale first (null: the default locale) and
// leaves its outcome in the locale's last status. Multibyte text is handled
// in whole characters: a length that ends inside a character is cut back to
// the last whole character, and nothing is written that would split one.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Flags of GCStrcmp.
inline constexpr uint32_t GC_CMP_NOSPECIAL = 0x2000; // case-insensitive without special mappings
// Flags of GCStrchr.
inline constexpr uint32_t GC_CHR_LAST = 0x80000020u; // the last occurrence
// Flags of GCPutEol.
inline constexpr uint32_t GC_EOL_CODE1 = 0x100;
inline constexpr uint32_t GC_EOL_CRLF = 0x200;
inline constexpr uint32_t GC_EOL_CODE3 = 0x400;
inline constexpr uint32_t GC_EOL_CODE4 = 0x800;
inline constexpr uint32_t GC_EOL_LINE = 0x1000;

// Compares len1 bytes of s1 with len2 bytes of s2 (-1: up to the NUL).
// flags: 0 by value; any combination of 0x80000000, 0x4000, 0x2000 and 0x40
// otherwise, which compares without regard to case (with the language's
// special mappings unless 0x2000 is set). Result below, equal to or above 0.
// Bad flags: status 2, result 0. When memory runs out or a mapping fails the
// texts are compared by value and the status tells why (20 or 2).
ORB_API int GCStrcmp(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
             uint32_t flags);

// Appends count bytes (characters with 0x4000; negative: all of src and its
// NUL) of src to the NUL-terminated dst, cut back to whole characters and
// stopping at the source's terminator. flags: 0, 0x4000, 8 (count the
// terminator), 0x4008. The destination is always left terminated; the NUL
// is counted in the result only with flag 8 or a negative count. Result:
// the new length of dst, or -1 with status 2. The caller sizes dst.
ORB_API int32_t GCStrcat(GCLocale* locale, char* dst, const char* src, int32_t count, uint32_t flags);

// Copies whole characters of src (srcLen bytes or characters; negative: up
// to and including the NUL) into dst of size bytes (characters with 0x4000).
// A source that does not fit is cut to the whole characters that fit; no
// terminator is written beyond what was copied, and nothing past size.
// Result: bytes (characters) written; -1 with status 2 for flags other
// than 0 and 0x4000.
ORB_API int32_t GCStrcpy(GCLocale* locale, char* dst, int32_t size, const char* src, int32_t srcLen,
                 uint32_t flags);

// Copy between buffers of a shift-state code page, each in its own shift
// state (0 single-byte, 1 double-byte). A shift code is written first when
// the source's state differs from the destination's; a trailing run of
// shift codes is not copied. Other locales: GCStrcpy. Result: bytes written
// (characters with 0x4000), 0 when not even the shift code and one
// character fit, -1 with status 2 for bad flags or a state other than 0/1.
ORB_API int32_t GCStrcpyEx(GCLocale* locale, char* dst, int dstState, int32_t size, const char* src,
                   int srcState, int32_t srcLen, uint32_t flags);

// The first (flags 0) or last (0x80000020) occurrence of the character at
// ch in len bytes of s (negative: up to and including the NUL); 0x4000 may
// be added. Null when none, or with status 2 for bad flags.
ORB_API const char* GCStrchr(GCLocale* locale, const char* s, int32_t len, const char* ch, uint32_t flags);

// The first occurrence of sub (subLen bytes) in s (len bytes); negative
// lengths run to the NUL. An empty sub gives s; null when none.
ORB_API const char* GCStrstr(GCLocale* locale, const char* s, int32_t len, const char* sub, int32_t subLen,
                     uint32_t flags);

// Length of the leading part of s made of characters not in set (cspn) or
// only of characters in set (spn). Negative lengths run to the NUL.
ORB_API int32_t GCStrcspn(GCLocale* locale, const char* s, int32_t len, const char* set, int32_t setLen,
                  uint32_t flags);
ORB_API int32_t GCStrspn(GCLocale* locale, const char* s, int32_t len, const char* set, int32_t setLen,
                 uint32_t flags);

// Re-entrant tokeniser. *remaining: bytes (characters) of s still to be
// read (negative: up to the NUL); *next: where the following call starts,
// null when nothing is left. The delimiter after a token is overwritten
// with NULs. Result: the token or null.
ORB_API char* GCStrtok(GCLocale* locale, char* s, int32_t* remaining, const char* delims, int32_t delimLen,
               char** next, uint32_t flags);

// Byte length of the character at p, stopping at a NUL byte; 0 at a NUL.
ORB_API int GCValidChar(GCLocale* locale, const char* p);

// Writes the code page's end-of-line codes at out (no NUL) and returns the
// pointer past them; null with status 2 for bad flags.
ORB_API char* GCPutEol(GCLocale* locale, char* out, uint32_t flags);
