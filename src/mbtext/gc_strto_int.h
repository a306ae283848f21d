// Internals of the number readers: digit tables, plain signs and the small
// character tests shared by the token readers.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"

namespace gcstrto {

// Digit value of a byte in an ASCII-based page, an EBCDIC page and EBCDIC
// code page 930 (-1: no digit or letter).
int32_t digitAscii(unsigned char c);
int32_t digitEbcdic(unsigned char c);
int32_t digitEbcdic930(unsigned char c);
// Digit value by the code page: ASCII-based, EBCDIC 930 or other EBCDIC.
int32_t digitOf(const GCLocale* loc, int ascii, unsigned char c);

// Plain signs of the code page.
inline const char* plainPlus(int ascii) { return ascii ? "+" : "\x4E"; }
inline const char* plainMinus(int ascii) { return ascii ? "-" : "\x60"; }

// The mapped form of one character for the national-digit flag: returns the
// mapped length and its first byte; the locale's status is kept.
int mapChar(GCLocale* loc, const char* p, int len, unsigned char* c);
// White space: a UCS-2 value; a character of len bytes of the locale's page.
bool isSpaceU(uint32_t u);
bool isSpaceChar(GCLocale* loc, const unsigned char* p, int len);
// Length of s when text starts with it (0: no match or s empty).
int32_t matchText(const char* text, int32_t remaining, const char* s);

}  // namespace gcstrto
