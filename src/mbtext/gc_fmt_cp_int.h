// Code-page facts that the number, time and printf formatters read from a
// locale's code page: ASCII- or EBCDIC-based, character lengths, the Unicode
// value and character class of single bytes, and character counting.
#pragma once

#include <cstdint>
#include <locale.h>

#include "mbtext/gc_locale.h"

// True when the code page is ASCII-based (false: EBCDIC-based).
bool gcfmtAscii(const GCLocale* locale);
// Byte length of the character that starts with byte b (at least 1).
int gcfmtCharLen(const GCLocale* locale, unsigned char b);

// The lead-byte lengths of a locale's code page, looked up once per call:
// gcfmtLen gives what gcfmtCharLen gives without asking the code page
// again. The table is the code page's own (or a fixed one for single-byte
// and UTF-8 pages), so it lives as long as the locale's code page.
struct GCFmtLens {
  const uint8_t* lead; // 256 lengths (0 and values above 4 are clamped)
  bool single;         // every character is one byte
};
void gcfmtLensInit(GCFmtLens* lens, const GCLocale* locale);
inline int gcfmtLen(const GCFmtLens* lens, unsigned char b) {
  const int n = lens->lead[b];
  return n < 1 ? 1 : (n > 4 ? 4 : n);
}
// Bytes that chars characters of the locale's code page take at most.
int32_t gcfmtByteBound(const GCLocale* locale, int32_t chars);
// UCS-2 value of a single byte (0xFFFD when it is no character).
GCUChar gcfmtByteToUcs(const GCLocale* locale, unsigned char b);
// True when the single byte is white space in the code page.
bool gcfmtIsSpace(const GCLocale* locale, unsigned char b);
// Whole characters in the first nbytes bytes of text.
int gcfmtNumChars(const GCLocale* locale, const char* text, int nbytes);
// Bytes spanned by nchars characters of text, stopping at a NUL and at
// a character that would pass the NUL.
int gcfmtCharsToBytes(const GCLocale* locale, const char* text, int nchars);
// Writes the bytes of a packed character value (first byte most significant,
// zero bytes dropped) and returns how many (1-4).
int gcfmtUnpack(uint32_t packed, char* out);
// Writes the code page's form of a UCS-2 value (1-4 bytes; the default
// character when it has none) and returns the byte count.
int gcfmtUcsToChar(const GCLocale* locale, GCUChar u, char* out);
// Writes the code page's end-of-line bytes for the line-end flags 0x100,
// 0x200, 0x400, 0x800 (none: a single line feed) into out (room for 5 bytes)
// and returns their count.
int gcfmtEol(const GCLocale* locale, uint32_t flags, char* out);

// Walks the text of a format character by character. In a shift-state page
// the shift codes are one-byte characters that set the mode, and in
// double-byte mode every character has the page's maximum length; other
// pages take lengths from the lead byte.
struct GCFmtWalk {
  const GCLocale* loc;
  GCFmtLens lens;
  bool shift;
  unsigned char so, si;
  int maxLen;
  int state;
};
void gcfmtWalkInit(GCFmtWalk* walk, const GCLocale* locale);
// Length of the character that starts with byte b (at least 1).
inline int gcfmtWalkLen(GCFmtWalk* walk, unsigned char b) {
  if (walk->shift) {
    if (b == walk->so) {
      walk->state = 1;
      return 1;
    }
    if (b == walk->si) {
      walk->state = 0;
      return 1;
    }
    if (walk->state == 1) return walk->maxLen;
  }
  return gcfmtLen(&walk->lens, b);
}

// The C locale (null when it cannot be had).
locale_t gcfmtCLocale();

// Switches the calling thread to the C locale while it lives, so that the C
// library's formatter writes '.' and ASCII digits whatever the process
// locale is.
class GCCLocaleScope {
 public:
  GCCLocaleScope();
  ~GCCLocaleScope();
  GCCLocaleScope(const GCCLocaleScope&) = delete;
  GCCLocaleScope& operator=(const GCCLocaleScope&) = delete;

 private:
  locale_t old_;
};
