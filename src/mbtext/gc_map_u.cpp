#include "mbtext/gc_digits.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_ucs2.h"
#include "mbtext/gc_unitab.h"

namespace {

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

} // namespace

int32_t gcMapStringUWith(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                         int32_t srcLen, uint32_t flags, GCMapSpecialFn special) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCMapMode mode = gcMapMode(flags);
  if (!gcMapUnitArgs(mode, dst, dstLen, src, &srcLen)) return gcMapFail(loc);
  if (mode.kind == GCMapKind::Copy) return GCStrcpyU(loc, dst, dstLen, src, srcLen, 0);

  int32_t written = 0;
  if (mode.special && special != nullptr) {
    written = gcMapSpecialUnits(
        loc, mode, dst, dstLen, src, srcLen, special, [](GCUChar c) { return c; }, [](GCUChar r) { return r; },
        [&](GCUChar c) { return mapOne(loc, mode.kind, c); });
  } else {
    written = srcLen < dstLen ? srcLen : dstLen;
    for (int32_t i = 0; i < written; ++i) dst[i] = mapOne(loc, mode.kind, src[i]);
  }
  loc->status = GC_OK;
  return written;
}

int32_t GCMapStringU(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                     int32_t srcLen, uint32_t flags) {
  return gcMapStringUWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
