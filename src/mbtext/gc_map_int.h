// Pieces shared by the string mapping operations.
#pragma once

#include <cstdint>

#include "mbtext/gc_types.h"

// What a flags word asks for, once the 0x4000 bit is taken off.
enum class GCMapKind { Invalid, Copy, HalfToFull, FullToHalf, Lower, Upper, Digits };

struct GCMapMode {
  GCMapKind kind = GCMapKind::Invalid;
  bool special = false; // case mapping that consults the language's special lists
  uint32_t list = 0;    // that list: 44 (upper) or 45 (lower)
};

GCMapMode gcMapMode(uint32_t flags);

// Look-up in a language's special case mappings: the first entry whose two
// characters are (first, second) (second 0 for a one-character entry).
// Result 0 (no entry), 1 (out1 set, one replacement) or 2 (out1 and out2).
using GCMapSpecialFn = int (*)(const GCLocale* locale, GCUChar first, GCUChar second,
                               GCUChar* out1, GCUChar* out2, uint32_t list);

// The look-up the public operations use: the special lists of the locale's
// language object.
int gcMapSpecial(const GCLocale* locale, GCUChar first, GCUChar second, GCUChar* out1,
                 GCUChar* out2, uint32_t list);

// GCMapStringU with the special look-up given by the caller.
int32_t gcMapStringUWith(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                         int32_t srcLen, uint32_t flags, GCMapSpecialFn special);

// GCMapString with the special look-up given by the caller.
int32_t gcMapStringWith(GCLocale* locale, char* dst, int32_t dstLen, const char* src,
                        int32_t srcLen, uint32_t flags, GCMapSpecialFn special);

// GCMapStringW with the special look-up given by the caller.
int32_t gcMapStringWWith(GCLocale* locale, GCPacked* dst, int32_t dstLen, const GCPacked* src,
                         int32_t srcLen, uint32_t flags, GCMapSpecialFn special);

// GCMapStringEx with the special look-up given by the caller.
int32_t gcMapStringExWith(GCLocale* locale, char* dst, int dstState, int32_t dstLen, const char* src,
                          int srcState, int32_t srcLen, uint32_t flags, GCMapSpecialFn special);
