#include <algorithm>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_digits.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_map_mb.h"

namespace {

int32_t fail(GCLocale* loc) {
  loc->status = GC_E_ARG;
  return -1;
}

// Values of a 0-terminated packed text with the terminator; -1 when too long.
int32_t lengthWithTerminator(const GCPacked* s) {
  int32_t n = 0;
  while (s[n] != 0) {
    if (n == INT32_MAX - 1) return -1;
    ++n;
  }
  return n + 1;
}

// Single bytes (values below 256) are converted through the code page's
// single-byte tables, longer characters through its multibyte tables.
GCUChar ucs2Of(const GCObj* cp, GCPacked v) {
  return v < 256 ? gcCpByteToUcs2(cp, static_cast<uint8_t>(v)) : GCCpMbToUnicodeW(cp, v);
}

uint32_t classOf(const GCObj* cp, GCPacked v) {
  return v < 256 ? gcCpByteClass(cp, static_cast<uint8_t>(v)) : gcCtypeClass(GCGetMbCtypeW(cp, v));
}

GCPacked mapOne(const GCLocale* loc, GCMapKind kind, GCPacked v) {
  const GCObj* cp = loc->codepage;
  const bool singleByte = (loc->flags & GC_LF_SINGLEBYTE) != 0;
  GCPacked r = 0;
  switch (kind) {
  case GCMapKind::Upper:
    r = v < 256 ? gcCpUpperByte(cp, static_cast<uint8_t>(v)) : GCCpMbCaseConvW(cp, v, GC_C_LOWER);
    break;
  case GCMapKind::Lower:
    r = v < 256 ? gcCpLowerByte(cp, static_cast<uint8_t>(v)) : GCCpMbCaseConvW(cp, v, GC_C_UPPER);
    break;
  case GCMapKind::HalfToFull:
    if (!singleByte) r = v < 256 ? gcMapFullOfByte(cp, static_cast<uint8_t>(v)) : GCCpMbHalfToFullW(cp, v);
    break;
  case GCMapKind::FullToHalf:
    if (!singleByte) r = GCCpFullToHalfW(cp, v);
    break;
  case GCMapKind::Digits:
    if (classOf(cp, v) & GC_C_DIGIT) {
      const GCUChar ascii = GCDigitLookup(ucs2Of(cp, v));
      if (ascii != 0) r = GCCpUnicodeToCharW(cp, ascii);
    }
    break;
  case GCMapKind::Copy:
  case GCMapKind::Invalid:
    break;
  }
  return r != 0 ? r : v;
}

} // namespace

int32_t gcMapStringWWith(GCLocale* locale, GCPacked* dst, int32_t dstLen, const GCPacked* src,
                         int32_t srcLen, uint32_t flags, GCMapSpecialFn special) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCMapMode mode = gcMapMode(flags);
  if (mode.kind == GCMapKind::Invalid || dstLen < 0) return fail(loc);
  if ((src == nullptr && srcLen != 0) || (dst == nullptr && dstLen != 0)) return fail(loc);
  if (srcLen < 0) {
    srcLen = lengthWithTerminator(src);
    if (srcLen < 0) return fail(loc);
  }
  const GCObj* cp = loc->codepage;
  int32_t out = 0;
  if (mode.special && special != nullptr) {
    int32_t in = 0;
    while (in < srcLen) {
      const GCPacked v = src[in];
      const GCUChar c = ucs2Of(cp, v);
      GCUChar r1 = 0;
      GCUChar r2 = 0;
      int32_t used = 1;
      int found = special(loc, c, 0, &r1, &r2, mode.list);
      if (found == 0 && in + 1 < srcLen && src[in + 1] != 0) {
        found = special(loc, c, ucs2Of(cp, src[in + 1]), &r1, &r2, mode.list);
        used = 2;
      }
      if (found == 1 || found == 2) {
        if (found > dstLen - out) break;
        dst[out++] = GCCpUnicodeToCharW(cp, r1);
        if (found == 2) dst[out++] = GCCpUnicodeToCharW(cp, r2);
        in += used;
      } else {
        if (out >= dstLen) break;
        dst[out++] = mapOne(loc, mode.kind, v);
        in += 1;
      }
    }
  } else {
    out = std::min(srcLen, dstLen);
    for (int32_t i = 0; i < out; ++i) dst[i] = mode.kind == GCMapKind::Copy ? src[i] : mapOne(loc, mode.kind, src[i]);
  }
  loc->status = GC_OK;
  return out;
}

int32_t GCMapStringW(GCLocale* locale, GCPacked* dst, int32_t dstLen, const GCPacked* src,
                     int32_t srcLen, uint32_t flags) {
  return gcMapStringWWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
