#include "mbtext/gc_digits.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_ucs2.h"
#include "mbtext/gc_unitab.h"
#include "mbtext/gc_unitab_int.h"
#include "mbtext/gc_item_int.h"

namespace {

// One value mapped on its own (no special lists).
GCUChar mapOne(GCMapKind kind, GCUChar c) {
  GCUChar r = c;
  switch (kind) {
  case GCMapKind::Lower:
    r = gcUniLower(c);
    break;
  case GCMapKind::Upper:
    r = gcUniUpper(c);
    break;
  case GCMapKind::HalfToFull:
    r = gcUniH2F(c);
    break;
  case GCMapKind::FullToHalf:
    r = gcUniF2H(c);
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
  // The language's own lists: a character that starts no entry is looked
  // up no further, and a language without entries maps value by value.
  GCUChar firsts[16];
  int nfirsts = -1;
  if (mode.special && special == gcMapSpecial)
    nfirsts = loc->language ? gcLangSpecialFirsts(loc->language, static_cast<int>(mode.list), firsts, 16) : 0;
  if (mode.special && special != nullptr && nfirsts != 0) {
    auto filtered = [&](const GCLocale* l, GCUChar a, GCUChar b, GCUChar* o1, GCUChar* o2, uint32_t list) {
      if (nfirsts > 0) {
        bool known = false;
        for (int j = 0; j < nfirsts && !known; ++j) known = firsts[j] == a;
        if (!known) return 0;
      }
      return special(l, a, b, o1, o2, list);
    };
    written = gcMapSpecialUnits(
        loc, mode, dst, dstLen, src, srcLen, filtered, [](GCUChar c) { return c; }, [](GCUChar r) { return r; },
        [&](GCUChar c) { return mapOne(mode.kind, c); });
  } else {
    written = srcLen < dstLen ? srcLen : dstLen;
    if (mode.kind == GCMapKind::Upper || mode.kind == GCMapKind::Lower) {
      const GCUChar* latin = mode.kind == GCMapKind::Upper ? kGCUniLatinCase.upper : kGCUniLatinCase.lower;
      for (int32_t i = 0; i < written; ++i) {
        const GCUChar c = src[i];
        dst[i] = c < 0x100 ? latin[c] : mapOne(mode.kind, c);
      }
    } else {
      for (int32_t i = 0; i < written; ++i) dst[i] = mapOne(mode.kind, src[i]);
    }
  }
  loc->status = GC_OK;
  return written;
}

int32_t GCMapStringU(GCLocale* locale, GCUChar* dst, int32_t dstLen, const GCUChar* src,
                     int32_t srcLen, uint32_t flags) {
  return gcMapStringUWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
