#include <cstring>

#include "mbtext/gc_digits.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_unitab.h"

namespace {

int32_t fail(GCLocale* loc) {
  loc->status = GC_E_ARG;
  return -1;
}

// Values of a 0-terminated UCS-2 text, with the terminator; -1 when the text
// is too long to be counted in a 32-bit length.
int32_t lengthWithTerminator(const GCUChar* s) {
  int32_t n = 0;
  while (s[n] != 0) {
    if (n == INT32_MAX - 1) return -1;
    ++n;
  }
  return n + 1;
}

// One value mapped on its own (no special lists).
GCUChar mapOne(GCLocale* loc, GCMapKind kind, GCUChar c) {
  GCUChar r = c;
  switch (kind) {
  case GCMapKind::Lower:
    r = GCUnicodeToLower(loc, c);
    break;
  case GCMapKind::Upper:
    r = GCUnicodeToUpper(loc, c);
    break;
  case GCMapKind::HalfToFull:
    r = GCUnicodeToH2F(loc, c);
    break;
  case GCMapKind::FullToHalf:
    r = GCUnicodeToF2H(loc, c);
    break;
  case GCMapKind::Digits:
    r = GCDigitLookup(c);
    break;
  case GCMapKind::Copy:
  case GCMapKind::Invalid:
    break;
  }
  return r != 0 ? r : c;
}

// Case mapping that first consults the language's special list: a value, or
// failing that the pair it forms with the next value, may be replaced by one
// or two values; a replacement is written whole or not at all.
int32_t mapSpecial(GCLocale* loc, const GCMapMode& mode, GCUChar* dst, int32_t dstLen,
                   const GCUChar* src, int32_t srcLen, GCMapSpecialFn special) {
  int32_t in = 0;
  int32_t out = 0;
  while (in < srcLen) {
    const GCUChar c = src[in];
    GCUChar r1 = 0;
    GCUChar r2 = 0;
    int32_t used = 1;
    int found = special(loc, c, 0, &r1, &r2, mode.list);
    if (found == 0 && in + 1 < srcLen && src[in + 1] != 0) {
      found = special(loc, c, src[in + 1], &r1, &r2, mode.list);
      used = 2;
    }
    if (found == 1 || found == 2) {
      if (found > dstLen - out) break;
      dst[out++] = r1;
      if (found == 2) dst[out++] = r2;
      in += used;
    } else {
      if (out >= dstLen) break;
      dst[out++] = mapOne(loc, mode.kind, c);
      in += 1;
    }
  }
  return out;
}

} // namespace

int32_t gcMapStringUWith(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                         int32_t srcLen, uint32_t flags, GCMapSpecialFn special) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCMapMode mode = gcMapMode(flags);
  if (mode.kind == GCMapKind::Invalid || dstLen < 0) return fail(loc);
  if ((src == nullptr && srcLen != 0) || (dst == nullptr && dstLen != 0)) return fail(loc);
  if (srcLen < 0) {
    srcLen = lengthWithTerminator(src);
    if (srcLen < 0) return fail(loc);
  }

  int32_t written = 0;
  if (mode.special && special != nullptr) {
    written = mapSpecial(loc, mode, dst, dstLen, src, srcLen, special);
  } else {
    written = srcLen < dstLen ? srcLen : dstLen;
    if (mode.kind == GCMapKind::Copy) {
      if (written > 0) std::memmove(dst, src, static_cast<size_t>(written) * sizeof(GCUChar));
    } else {
      for (int32_t i = 0; i < written; ++i) dst[i] = mapOne(loc, mode.kind, src[i]);
    }
  }
  loc->status = GC_OK;
  return written;
}

int32_t GCMapStringU(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                     int32_t srcLen, uint32_t flags) {
  return gcMapStringUWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
