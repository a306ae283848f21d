#include <algorithm>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_digits.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_map_mb_int.h"
#include "mbtext/gc_ucs2.h"

namespace {

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
  if (!gcMapUnitArgs(mode, dst, dstLen, src, &srcLen)) return gcMapFail(loc);
  if (mode.kind == GCMapKind::Copy) return GCWcscpy(loc, dst, dstLen, src, srcLen, 0);
  const GCObj* cp = loc->codepage;
  int32_t out = 0;
  if (mode.special && special != nullptr) {
    out = gcMapSpecialUnits(
        loc, mode, dst, dstLen, src, srcLen, special, [cp](GCPacked v) { return ucs2Of(cp, v); },
        [cp](GCUChar r) { return GCCpUnicodeToCharW(cp, r); }, [&](GCPacked v) { return mapOne(loc, mode.kind, v); });
  } else {
    out = std::min(srcLen, dstLen);
    for (int32_t i = 0; i < out; ++i) dst[i] = mapOne(loc, mode.kind, src[i]);
  }
  loc->status = GC_OK;
  return out;
}

int32_t GCMapStringW(GCLocale* locale, GCPacked* dst, int32_t dstLen, const GCPacked* src,
                     int32_t srcLen, uint32_t flags) {
  return gcMapStringWWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
