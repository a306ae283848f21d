// Character-level pieces of the mapping of multibyte text, shared by the
// operations on byte strings, on packed values and on shift-state text.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_map_int.h"

// Bytes collected for one mapped character or special replacement.
struct GCMapPiece {
  char bytes[8];
  int len = 0;
};

// Destination that takes whole pieces only: a piece that does not fit in the
// room left is refused and nothing of it is written.
struct GCMapSink {
  char* buf;
  int32_t cap;
  int32_t len = 0;
  bool put(const char* p, int n);
};

// Packed value of n bytes at p, first byte most significant.
GCPacked gcMapPack(const uint8_t* p, int n);

// UCS-2 value of the n-byte character at p (U+FFFD when it has none).
GCUChar gcMapUcs2(const GCObj* cp, const uint8_t* p, int n);

// Full-width packed value of a single byte from the code page's table, 0
// when the table is absent or gives none.
GCPacked gcMapFullOfByte(const GCObj* cp, uint8_t b);

// The code page's bytes of one or two UCS-2 values (second 0: none).
void gcMapEncode(const GCObj* cp, GCUChar first, GCUChar second, GCMapPiece* piece);

// UCS-2 value of the n-byte character at p; wide tells a multibyte
// character (in a shift-state page: one of double-byte mode).
using GCMapUcs2Fn = GCUChar (*)(const GCObj* cp, const uint8_t* p, int n, bool wide);

// Ordinary mapping (no special lists) of the n-byte character at p into
// out: case through the code page's single-byte tables or, for a wide
// character, its class records; half-width and full-width forms; national
// digits (their UCS-2 value from ucs2). A character without a mapped form
// is copied as it is.
void gcMapChar(const GCObj* cp, GCMapKind kind, const uint8_t* p, int n, bool wide, GCMapUcs2Fn ucs2,
               GCMapPiece* out);
