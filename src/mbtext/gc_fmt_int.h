// Internals shared by the format scanners and the output engine: the
// character classes and states of a format, the EBCDIC translations used for
// parsing and writing, and the output engine itself.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <initializer_list>

#include "mbtext/gc_fmt.h"
#include "mbtext/gc_fmt_cp_int.h"

namespace gcfmt {

// States of the format walk.
enum : int { kNormal = 0, kPercent = 1, kFlag = 2, kWidth = 3, kDot = 4, kPrecision = 5, kSize = 6, kType = 7 };

// EBCDIC code page 037 bytes of the printable ASCII characters 0x20-0x7E.
inline constexpr unsigned char kFmtToEbcdic[95] = {
    0x40, 0x5A, 0x7F, 0x7B, 0x5B, 0x6C, 0x50, 0x7D, 0x4D, 0x5D, 0x5C, 0x4E, 0x6B, 0x60, 0x4B, 0x61,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0x7A, 0x5E, 0x4C, 0x7E, 0x6E, 0x6F,
    0x7C, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6,
    0xD7, 0xD8, 0xD9, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xBA, 0xE0, 0xBB, 0xB0, 0x6D,
    0x79, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96,
    0x97, 0x98, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xC0, 0x4F, 0xD0, 0xA1};

// Parsing translation of EBCDIC code page 037: its ASCII characters, NL
// (0x15) as line feed, tab; every other byte (0x25 included) is none.
constexpr auto makeEbcdicTable() {
  struct T {
    unsigned char v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = 0xFF;
  for (int a = 0; a < 95; ++a) t.v[kFmtToEbcdic[a]] = static_cast<unsigned char>(0x20 + a);
  t.v[0x00] = 0x00;
  t.v[0x05] = 0x09;
  t.v[0x15] = 0x0A;
  return t;
}
inline constexpr auto kEbcdicFT = makeEbcdicTable();

// Next state by class (rows) and state (columns).
inline constexpr unsigned char kNext[9][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 1}, {0, 4, 4, 4, 0, 0, 0, 0},
    {0, 3, 3, 0, 5, 0, 0, 0}, {0, 2, 2, 3, 5, 5, 0, 0}, {0, 3, 3, 3, 5, 5, 0, 0},
    {0, 2, 2, 2, 0, 0, 0, 0}, {0, 6, 6, 6, 6, 6, 6, 0}, {0, 7, 7, 7, 7, 7, 7, 0}};

// Classes of parsed bytes: 1 '%', 2 '.', 3 '*', 4 '0', 5 '1'-'9', 6 flags,
// 7 size letters, 8 conversion letters, 0 anything else.
constexpr auto makeClassTable() {
  struct T {
    unsigned char v[256];
  } t{};
  t.v['%'] = 1;
  t.v['.'] = 2;
  t.v['*'] = 3;
  t.v['0'] = 4;
  for (int c = '1'; c <= '9'; ++c) t.v[c] = 5;
  for (unsigned char c : {' ', '#', '$', '+', ',', '-'}) t.v[c] = 6;
  for (unsigned char c : {'F', 'I', 'L', 'N', 'h', 'l', 'w'}) t.v[c] = 7;
  for (unsigned char c : {'B', 'C', 'E', 'G', 'S', 'X', 'Z', 'c', 'd', 'e', 'f', 'g', 'i', 'n', 'o', 'p', 's', 'u', 'x'})
    t.v[c] = 8;
  return t;
}
inline constexpr auto kClass = makeClassTable();

// The byte as the parser sees it (EBCDIC translated to ASCII; 0xFF = none).
inline unsigned char parseByte(unsigned char b, bool ascii) { return ascii ? b : kEbcdicFT.v[b]; }
// The reverse for writing: a printable ASCII character in the code page's
// form (EBCDIC code page 037 when the page is not ASCII-based); other bytes
// as they are.
char pageChar(char c, bool ascii);
// Class 0-8 of a parsed byte.
inline int charClass(unsigned char c) { return kClass.v[c]; }
// Next state for a class from a state.
inline int nextState(int cls, int state) { return kNext[cls][state]; }
// Kind of the argument of a conversion character under the size bits.
uint32_t kindOf(unsigned char conv, uint32_t sizeBits);

// Size bits used while scanning.
inline constexpr uint32_t kSizeH = 0x20;
inline constexpr uint32_t kSizeL = 0x10;
inline constexpr uint32_t kSizeLD = 0x400;
inline constexpr uint32_t kSizeLL = 0x8000;

// The output engine over the arguments of `consumers` consumers: returns the running count (-1 on overflow or error,
// with *status set to 51 or 2 when the engine itself refused something).
// walk: the code page's facts for the format (null: looked up here). With
// ap the arguments are read from the list as the consumers come (formats
// that are not positional: one consumer, the next argument), and values,
// records and consumers are not used.
int output(GCLocale* locale, GCSink* sink, const char* format, bool ascii, const GCArgValue* values,
           const GCArgRecord* records, int consumers, uint32_t flags, uint32_t* status,
           const GCFmtWalk* walk = nullptr, va_list* ap = nullptr);

// Reads one argument of a kind from the list.
inline void gcfmtReadArg(va_list* ap, uint32_t kind, GCArgValue* v) {
  switch (kind) {
    case GC_ARG_PTR: case GC_ARG_WSTR: v->p = va_arg(*ap, const void*); break;
    case GC_ARG_LONG: v->l = va_arg(*ap, long); break;
    case GC_ARG_WCHAR: v->u = va_arg(*ap, unsigned); break;
    case GC_ARG_DOUBLE: v->d = va_arg(*ap, double); break;
    case GC_ARG_LDOUBLE: v->ld = va_arg(*ap, long double); break;
    case GC_ARG_LLONG: v->ll = va_arg(*ap, long long); break;
    default: v->i = va_arg(*ap, int); break;  // int, short (promoted)
  }
}

}  // namespace gcfmt

// n bytes as GCWrite_char would write them one by one.
void gcfmtWriteBytes(const char* bytes, int n, GCSink* sink, int* count);
// GCWrite_string with the code page's lengths in hand.
void gcfmtWriteText(const GCFmtLens* lens, const char* text, int length, GCSink* sink, int* count);
