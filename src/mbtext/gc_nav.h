// Walking multibyte text of a locale's code page character by character:
// the packed value at a position, the next and previous character, and the
// number of whole characters in a byte range (also from a shift state).
//
// Every function takes the locale first (null: the default locale) and sets
// its last status to 0. Walks of NUL-terminated text never step past the
// terminating NUL, even when a lead byte announces a longer character (the
// cut character then ends at the NUL), and a lead-byte length of 0 counts
// as 1.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Packed value of the character at p (first byte most significant).
ORB_API GCPacked GCGetChar(GCLocale* locale, const char* p, uint32_t flags);
// The start of the character after the one at p.
ORB_API const char* GCNextChar(GCLocale* locale, const char* p, uint32_t flags);
// The start of the last character that begins before pos (start when pos is
// at or before start).
ORB_API const char* GCPrevChar(GCLocale* locale, const char* start, const char* pos, uint32_t flags);
// Whole characters in the first length bytes of s (negative: up to the NUL).
// A character cut by the length is not counted.
ORB_API int32_t GCNumChars(GCLocale* locale, const char* s, int32_t length, uint32_t flags);
// As GCNumChars; in a shift-state locale the walk starts in the given shift
// state (0 single-byte, 1 double-byte) and shift codes are not counted.
ORB_API int32_t GCNumCharsEx(GCLocale* locale, const char* s, int state, int32_t length, uint32_t flags);
// Offset of the last byte of the run of bytes equal to c1 or c2 that starts
// at p; 0 when p is not at either. The run ends at a NUL byte.
ORB_API int32_t GCOffsetOfLastShftCodeEx(const char* p, uint8_t c1, uint8_t c2);

