// Character classes of a locale's code page: the class word of a character
// and its three groups (character type, bidirectional category, width and
// script properties), and the UCS-2 white-space and digit bitmaps.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <array>
#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// The selected group of the class word of the character at p. group is one
// of GC_CT_TYPE, GC_CT_BIDI, GC_CT_WIDTH; any other value sets status 2 and
// gives the character-type group.
ORB_API uint32_t GCGetCharType(GCLocale* locale, const char* p, uint32_t group);
// The same for a packed character value; values below 256 are single bytes.
ORB_API uint32_t GCGetCharTypeW(GCLocale* locale, GCPacked value, uint32_t group);
// The same in a shift-state locale, with the shift state at p (0 single-byte,
// 1 double-byte); shift codes at p are stepped over first.
ORB_API uint32_t GCGetCharTypeEx(GCLocale* locale, const char* p, int state, uint32_t group);

// UCS-2 bitmaps of 8192 bytes: the bit of value c is bit (c mod 32), counted
// from the least significant, of the big-endian 32-bit word number (c / 32).
extern const std::array<uint8_t, 8192> GCIsSpaceUTab; // white space
extern const std::array<uint8_t, 8192> GCIsDigitUTab; // decimal digits

