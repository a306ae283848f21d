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

// Largest mapped text produced when lengths count characters.
inline constexpr int32_t kGCMapCharBuffer = 512;

// Sets GC_E_ARG as the locale's status and returns -1.
int32_t gcMapFail(GCLocale* loc);

// Checks shared by every mapping operation: a known mode, a destination
// length of at least 0, and texts present wherever their lengths are not 0.
bool gcMapArgsOk(const GCMapMode& mode, const void* dst, int32_t dstLen, const void* src, int32_t srcLen);

// Bytes of a NUL-terminated text with its NUL; -1 when too long for a length.
int32_t gcMapTerminatedLength(const char* s);

// Values of a 0-terminated UCS-2 or packed text with its terminator; -1 when
// the text is too long to be counted in a 32-bit length.
template <class Unit>
int32_t gcMapTerminatedUnits(const Unit* s) {
  int32_t n = 0;
  while (s[n] != 0) {
    if (n == INT32_MAX - 1) return -1;
    ++n;
  }
  return n + 1;
}

// Look-up in a language's special case mappings: the first entry whose two
// characters are (first, second) (second 0 for a one-character entry).
// Result 0 (no entry), 1 (out1 set, one replacement) or 2 (out1 and out2).
using GCMapSpecialFn = int (*)(const GCLocale* locale, GCUChar first, GCUChar second,
                               GCUChar* out1, GCUChar* out2, uint32_t list);

// The checks of gcMapArgsOk for UCS-2 or packed texts, and a negative source
// length replaced by the terminated text's length. False on a bad argument.
template <class Unit>
bool gcMapUnitArgs(const GCMapMode& mode, const Unit* dst, int32_t dstLen, const Unit* src, int32_t* srcLen) {
  if (!gcMapArgsOk(mode, dst, dstLen, src, *srcLen)) return false;
  if (*srcLen < 0) *srcLen = gcMapTerminatedUnits(src);
  return *srcLen >= 0;
}

// Case mapping of UCS-2 or packed values that first consults the language's
// special list: a value, or failing that the pair it forms with the next
// value, may be replaced by one or two values; a replacement is written whole
// or not at all. ucs2 gives a source value's UCS-2 value, fromUcs2 the value
// written for a replacement, mapOne the ordinary mapping of a value.
template <class Unit, class Special, class ToUcs2, class FromUcs2, class MapOne>
int32_t gcMapSpecialUnits(GCLocale* loc, const GCMapMode& mode, Unit* dst, int32_t dstLen, const Unit* src,
                          int32_t srcLen, Special special, ToUcs2 ucs2, FromUcs2 fromUcs2, MapOne mapOne) {
  int32_t in = 0;
  int32_t out = 0;
  while (in < srcLen) {
    const Unit v = src[in];
    const GCUChar c = ucs2(v);
    GCUChar r1 = 0;
    GCUChar r2 = 0;
    int32_t used = 1;
    int found = special(loc, c, 0, &r1, &r2, mode.list);
    if (found == 0 && in + 1 < srcLen && src[in + 1] != 0) {
      found = special(loc, c, ucs2(src[in + 1]), &r1, &r2, mode.list);
      used = 2;
    }
    if (found == 1 || found == 2) {
      if (found > dstLen - out) break;
      dst[out++] = fromUcs2(r1);
      if (found == 2) dst[out++] = fromUcs2(r2);
      in += used;
    } else {
      if (out >= dstLen) break;
      dst[out++] = mapOne(v);
      in += 1;
    }
  }
  return out;
}

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
