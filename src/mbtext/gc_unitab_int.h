// The Unicode case and width mappings of gc_unitab.h without the status
// word: what the public calls compute, for loops that set the status once.
#pragma once

#include <cstdint>

#include "mbtext/gc_unitab.h"

inline GCUChar gcUniAt(const std::uint16_t* table, unsigned first, GCUChar c) {
  return static_cast<GCUChar>(table[c - first]);
}
inline GCUChar gcUniShift(GCUChar c, int by) { return static_cast<GCUChar>(c + by); }

inline GCUChar gcUniLower(GCUChar c) {
  if (c < 0x0041) return c;
  if (c >= 0x0041 && c <= 0x005A) return gcUniShift(c, 32);
  if (c >= 0x00C0 && c <= 0x00DE) return c == 0x00D7 ? c : gcUniShift(c, 32);
  if (c >= 0x0100 && c <= 0x01FE) return gcUniAt(GC_UNICODE_Lower1, 0x0100, c);
  if (c >= 0x0200 && c <= 0x0275) return gcUniAt(GC_UNICODE_Lower2, 0x0200, c);
  if (c >= 0x0386 && c <= 0x03EE) return gcUniAt(GC_UNICODE_Lower3, 0x0380, c);
  if (c >= 0x0401 && c <= 0x04F8) return gcUniAt(GC_UNICODE_Lower4, 0x0400, c);
  if (c >= 0x0531 && c <= 0x0556) return gcUniShift(c, 48);
  if (c >= 0x10A0 && c <= 0x10C5) return gcUniShift(c, 48);
  if (c >= 0x1E00 && c <= 0x1EF8) return gcUniAt(GC_UNICODE_Lower5, 0x1E00, c);
  if (c >= 0x1F08 && c <= 0x1FFC) return gcUniAt(GC_UNICODE_Lower6, 0x1F00, c);
  if (c >= 0x2160 && c <= 0x216F) return gcUniShift(c, 16);
  if (c >= 0x24B6 && c <= 0x24CF) return gcUniShift(c, 26);
  if (c >= 0xFF21 && c <= 0xFF3A) return gcUniShift(c, 32);
  return c;
}

inline GCUChar gcUniUpper(GCUChar c) {
  if (c < 0x0061) return c;
  if (c >= 0x0061 && c <= 0x007A) return gcUniShift(c, -32);
  if (c >= 0x00E0 && c <= 0x00FE) return c == 0x00F7 ? c : gcUniShift(c, -32);
  if (c == 0x00FF) return 0x0178;
  if (c >= 0x0101 && c <= 0x01FF) return gcUniAt(GC_UNICODE_Upper1, 0x0100, c);
  if (c >= 0x0200 && c <= 0x0292) return gcUniAt(GC_UNICODE_Upper2, 0x0200, c);
  if (c >= 0x03AC && c <= 0x03F1) return gcUniAt(GC_UNICODE_Upper3, 0x03A0, c);
  if (c >= 0x0430 && c <= 0x04F9) return gcUniAt(GC_UNICODE_Upper4, 0x0430, c);
  if (c >= 0x0561 && c <= 0x0586) return gcUniShift(c, -48);
  if (c >= 0x1E01 && c <= 0x1EF9) return gcUniAt(GC_UNICODE_Upper5, 0x1E00, c);
  if (c >= 0x1F00 && c <= 0x1FF3) return gcUniAt(GC_UNICODE_Upper6, 0x1F00, c);
  if (c >= 0x2170 && c <= 0x217F) return gcUniShift(c, -16);
  if (c >= 0x24D0 && c <= 0x24E9) return gcUniShift(c, -26);
  if (c >= 0xFF41 && c <= 0xFF5A) return gcUniShift(c, -32);
  return c;
}

inline GCUChar gcUniH2F(GCUChar c) {
  if (c >= 0x0021 && c <= 0x007E) return gcUniShift(c, 0xFEE0);
  if (c == 0x0020) return 0x3000;
  if (c >= 0x00A2 && c <= 0x00AF) return gcUniAt(GC_UNICODE_H2F1, 0x00A0, c);
  if (c == 0x20A9) return 0xFFE6;
  if (c >= 0xFF61 && c <= 0xFFEE) return gcUniAt(GC_UNICODE_H2F2, 0xFF60, c);
  return c;
}

inline GCUChar gcUniF2H(GCUChar c) {
  if (c >= 0xFF01 && c <= 0xFF5E) return gcUniShift(c, -0xFEE0);
  if (c >= 0x2190 && c <= 0x2193) return gcUniShift(c, 0xFFE9 - 0x2190);
  if (c >= 0x2502 && c <= 0x25CB) return gcUniAt(GC_UNICODE_F2H1, 0x2500, c);
  if (c >= 0x3000 && c <= 0x30FC) return gcUniAt(GC_UNICODE_F2H2, 0x3000, c);
  if (c >= 0x3131 && c <= 0x3164) return gcUniAt(GC_UNICODE_F2H3, 0x3130, c);
  if (c >= 0xFFE0 && c <= 0xFFE6) return gcUniAt(GC_UNICODE_F2H4, 0xFFE0, c);
  return c;
}

// gcUniUpper and gcUniLower of U+0000-U+00FF by table.
struct GCUniLatinCase {
  GCUChar upper[256];
  GCUChar lower[256];
};
constexpr GCUniLatinCase gcUniMakeLatinCase() {
  GCUniLatinCase t{};
  for (unsigned c = 0; c < 256; ++c) {
    GCUChar u = GCUChar(c), l = GCUChar(c);
    if (c >= 0x61 && c <= 0x7A) u = GCUChar(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) u = GCUChar(c - 32);
    if (c == 0xFF) u = 0x0178;
    if (c >= 0x41 && c <= 0x5A) l = GCUChar(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) l = GCUChar(c + 32);
    t.upper[c] = u;
    t.lower[c] = l;
  }
  return t;
}
inline constexpr GCUniLatinCase kGCUniLatinCase = gcUniMakeLatinCase();
