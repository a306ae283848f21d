// Internals of the number readers: digit tables, plain signs and the small
// character tests shared by the token readers.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_strto.h"

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

// Separators and signs a number reader takes from the locale's items: the
// thousands separator, the decimal separator (when asked for) and, for
// monetary numbers (GC_NUM_MONETARY), the monetary separators and the
// locale's signs; other numbers use the page's plain signs. An empty
// separator is given as null.
struct NumberItems {
  char thou[4] = {0}, dec[4] = {0}, pos[32] = {0}, neg[32] = {0};
  const char* plus = nullptr;
  const char* minus = nullptr;
  const char* thouc = nullptr;
  const char* decc = nullptr;

  NumberItems() = default;
  NumberItems(const NumberItems&) = delete;
  NumberItems& operator=(const NumberItems&) = delete;
};
void readNumberItems(GCLocale* loc, uint32_t flags, int ascii, bool withDecimal, NumberItems* items);

// The mapped form of one character for the national-digit flag: returns the
// mapped length and its first byte; the locale's status is kept.
int mapChar(GCLocale* loc, const char* p, int len, unsigned char* c);
// White space: a UCS-2 value; a character of len bytes of the locale's page.
bool isSpaceU(uint32_t u);
bool isSpaceChar(GCLocale* loc, const unsigned char* p, int len);
// Length of s when text starts with it (0: no match or s empty).
int32_t matchText(const char* text, int32_t remaining, const char* s);

// GCStrGetDigit over one text with the same comparison characters and
// strings every time: the code page's lengths and classes, the digit table
// and the strings' lengths are looked up once; tokens made of one-byte
// characters are read in line, any other goes to GCStrGetDigit.
struct TokenReader {
  GCLocale* loc;
  GCFmtLens lens;
  const uint8_t* cls;    // class words of the single bytes (null: no code page)
  const int32_t* digits; // digit values by byte
  const char* cmpc1;
  const char* cmpc2;
  const char* cmps1;
  const char* cmps2;
  int32_t n1, n2; // comparison string lengths
  int ascii;
  uint32_t flags;
  unsigned char zero; // the page's digit zero
  uint16_t plain;     // bit d: digit d's byte is a one-byte character that no earlier test takes
};
void tokenReaderInit(TokenReader* t, GCLocale* loc, const char* cmpc1, const char* cmpc2, const char* cmps1,
                     const char* cmps2, int ascii, uint32_t flags);
// A change of the comparison strings (the exponent takes plain signs).
void tokenReaderStrings(TokenReader* t, const char* cmps1, const char* cmps2);

inline bool tokenSpace(const TokenReader* t, unsigned char b) {
  if (!t->cls) return b == ' ' || (b >= 0x09 && b <= 0x0D);
  return (gc_be32(t->cls + 4 * b) & GC_C_SPACE) != 0;
}

// The token of the one-byte character at text as GCStrGetDigit reads it
// (t->flags 0, remaining above 0): a run of white space, a sign string, a
// comparison character, a digit or the end; kTokUndecided when the
// character or the run of white space goes on in wider characters, which
// GCStrGetDigit itself reads.
constexpr int kTokUndecided = -1000;
inline int readTokenOneByte(const TokenReader* t, const char* text, int32_t remaining, const char** next) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char c = p[0];
  if (gcfmtLen(&t->lens, c) != 1) return kTokUndecided;
  if (tokenSpace(t, c)) {
    int32_t i = 1;
    for (; i < remaining; ++i) {
      if (gcfmtLen(&t->lens, p[i]) != 1) return kTokUndecided;
      if (!tokenSpace(t, p[i])) break;
    }
    *next = text + i;
    return GC_TOK_SPACE;
  }
  if (t->n1 && t->n1 <= remaining && c == static_cast<unsigned char>(t->cmps1[0]) &&
      (t->n1 == 1 || std::memcmp(text, t->cmps1, static_cast<size_t>(t->n1)) == 0)) {
    *next = text + t->n1;
    return GC_TOK_STR1;
  }
  if (t->n2 && t->n2 <= remaining && c == static_cast<unsigned char>(t->cmps2[0]) &&
      (t->n2 == 1 || std::memcmp(text, t->cmps2, static_cast<size_t>(t->n2)) == 0)) {
    *next = text + t->n2;
    return GC_TOK_STR2;
  }
  if (t->cmpc1 && static_cast<unsigned char>(*t->cmpc1) == c && c) {
    *next = text + 1;
    return GC_TOK_CHAR1;
  }
  if (t->cmpc2 && static_cast<unsigned char>(*t->cmpc2) == c && c) {
    *next = text + 1;
    return GC_TOK_CHAR2;
  }
  const int32_t v = t->digits[c];
  if (v < 0) return GC_TOK_END;
  *next = text + 1;
  return v;
}

// The token at text (GCStrGetDigit's result): plain digits and one-byte
// characters in line, the rest through readTokenSlow.
int readTokenSlow(TokenReader* t, const char* text, int32_t remaining, const char** next);
inline int readToken(TokenReader* t, const char* text, int32_t remaining, const char** next) {
  if (remaining > 0 && text && t->flags == 0) {
    const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(text[0]) - t->zero);
    if (d < 10 && ((t->plain >> d) & 1)) {
      *next = text + 1;
      return static_cast<int>(d);
    }
    *next = text;
    const int r = readTokenOneByte(t, text, remaining, next);
    if (r != kTokUndecided) return r;
  }
  return readTokenSlow(t, text, remaining, next);
}

// Length of s when the units at text start with it (0: no match or s empty);
// for UCS-2 and packed texts.
template <class Unit>
int32_t matchUnits(const Unit* text, int32_t remaining, const Unit* s) {
  if (!s || !s[0]) return 0;
  int32_t n = 0;
  while (s[n]) ++n;
  if (n > remaining) return 0;
  for (int32_t k = 0; k < n; ++k)
    if (text[k] != s[k]) return 0;
  return n;
}

// Units of the run of white space at the start of text (0: none).
template <class Unit, class IsSpace>
int32_t spaceRun(const Unit* text, int32_t remaining, IsSpace isSpace) {
  int32_t i = 0;
  while (i < remaining && isSpace(text[i])) ++i;
  return i;
}

// One size of a grouping text ("3;2;0") whose separator and zero are given:
// reads digits up to the separator, the end of the text or the remaining
// count. At the text's end (a NUL or the count used up) *remaining becomes
// 0 and *next null; after a separator *remaining loses the digits read and
// the separator, and *next points past it.
// -1 for an empty text or a character that is no digit.
template <class Unit>
int groupingSize(const Unit* text, int32_t* remaining, const Unit** next, Unit semi, Unit zero) {
  if (!text || !remaining || *remaining <= 0 || !*text) {
    if (next) *next = nullptr;
    return -1;
  }
  int32_t read = 0;
  int value = 0;
  // Nothing at or past the remaining count is read.
  while (read < *remaining && text[read] && text[read] != semi) {
    const uint32_t d = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(text[read])) -
                       static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(zero));
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (read == *remaining || text[read] == 0) { // the end of the text: the last group
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  // The separator is used up with the digits, so the count keeps step with
  // the position.
  *remaining -= read + 1;
  if (next) *next = text + read + 1;
  return value;
}

}  // namespace gcstrto
