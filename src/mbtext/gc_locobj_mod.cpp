// Filling a locale's items from its territory, and changing its territory
// and code page.
#include <cstring>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_locobj_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_types_int.h"

namespace {

// Locale flag of each territory flag bit (0x02 .. 0x40).
constexpr uint16_t kFlagFromTerritory[6][2] = {
    {GC_TERRF_CURR_PRECEDES_POS, GC_LF_CURR_PRECEDES_POS}, {GC_TERRF_CURR_SPACE_POS, GC_LF_CURR_SPACE_POS},
    {GC_TERRF_CURR_PRECEDES_NEG, GC_LF_CURR_PRECEDES_NEG}, {GC_TERRF_CURR_SPACE_NEG, GC_LF_CURR_SPACE_NEG},
    {GC_TERRF_FLAG1, GC_LF_TERR_FLAG1},                    {GC_TERRF_FLAG2, GC_LF_TERR_FLAG2}};

// Single byte of u in cp when u converts to exactly one byte that converts
// back to u.
bool single_byte_of(const GCObj* cp, GCUChar u, uint8_t* out) {
  char b[4];
  if (GCCpUnicodeToChar(cp, u, b) != 1) return false;
  if (gcCpByteToUcs2(cp, uint8_t(b[0])) != u) return false;
  *out = uint8_t(b[0]);
  return true;
}

} // namespace

uint32_t gcLocTextRoom(const GCObj* cp, uint32_t chars) {
  // Each character may need a shift code before it, plus the closing
  // shift-in code and the NUL.
  return chars * uint32_t(gcConvMaxBytes(cp) + 1) + 2;
}

void gcLocFillValues(GCLocale* loc) {
  const uint8_t* d = gcObjSection(loc->territory);
  const uint32_t keep = loc->kept;
  if (!(keep & GC_KEEP_DIGITS)) loc->digits = gc_be16(d + GC_TERR_DIGITS);
  if (!(keep & GC_KEEP_CURR_DIGITS)) loc->curr_digits = gc_be16(d + GC_TERR_CURR_DIGITS);
  if (!(keep & GC_KEEP_INTL_DIGITS)) loc->intl_curr_digits = gc_be16(d + GC_TERR_INTL_DIGITS);
  const uint16_t tf = gc_be16(d + GC_TERR_FLAGS);
  for (int i = 0; i < 6; ++i) {
    if (keep & (GC_KEEP_FLAG_FIRST << i)) continue;
    if (tf & kFlagFromTerritory[i][0]) loc->flags = uint16_t(loc->flags | kFlagFromTerritory[i][1]);
    else loc->flags = uint16_t(loc->flags & ~kFlagFromTerritory[i][1]);
  }
  if (!(keep & GC_KEEP_POS_SIGN_POSN)) loc->pos_sign_posn = d[GC_TERR_POS_SIGN_POSN];
  if (!(keep & GC_KEEP_NEG_SIGN_POSN)) loc->neg_sign_posn = d[GC_TERR_NEG_SIGN_POSN];
  for (int i = 0; i < GC_SEP_COUNT; ++i) {
    if (keep & (GC_KEEP_SEP_FIRST << i)) continue;
    loc->sepU[i] = gc_be16(d + GC_TERR_SEPS + 2 * i);
    uint8_t b;
    if (loc->sepU[i] == 0) loc->sep[i] = 0;
    else if (single_byte_of(loc->codepage, loc->sepU[i], &b)) loc->sep[i] = b;
  }
}

uint32_t GCLocaleSetModifiable(GCLocale* loc) {
  gcLocFillValues(loc);
  const uint8_t* d = gcObjSection(loc->territory);
  for (int t = 0; t < GC_TXT_COUNT; ++t) {
    if (loc->kept & (GC_KEEP_TEXT_FIRST << t)) continue;
    uint32_t own = gc_be16(d + GC_TERR_OFFSETS + 2 * GC_TXT_TERR_ENTRY[t]);
    uint32_t next = gc_be16(d + GC_TERR_OFFSETS + 2 * (GC_TXT_TERR_ENTRY[t] + 1));
    uint32_t units = next > own ? (next - own) / 2 : 1; // with the NUL
    auto* text = static_cast<char*>(gcAlloc(gcLocTextRoom(loc->codepage, units)));
    auto* textU = static_cast<GCUChar*>(gcAlloc(2 * units));
    if (!text || !textU) {
      gcFree(text);
      gcFree(textU);
      return GC_E_NOMEM;
    }
    uint32_t i = 0;
    for (; i + 1 < units; ++i) {
      textU[i] = gc_be16(d + own + 2 * i);
      if (textU[i] == 0) break;
    }
    textU[i] = 0;
    // The code-page form (closed in single-byte mode) and its NUL.
    text[GCCpUnicodeToStr(loc->codepage, textU, 0, -1, text)] = 0;
    loc->text[t] = text;
    loc->textU[t] = textU;
  }
  return GC_OK;
}

void GCLocaleFreeOldText(const GCLocale* kept, GCLocale* old) {
  auto in_kept = [kept](const void* p) {
    for (int i = 0; i < GC_TXT_COUNT; ++i)
      if (kept->text[i] == p || kept->textU[i] == p) return true;
    return false;
  };
  for (int i = 0; i < GC_TXT_COUNT; ++i) {
    if (old->text[i] && !in_kept(old->text[i])) gcFree(old->text[i]);
    if (old->textU[i] && !in_kept(old->textU[i])) gcFree(old->textU[i]);
  }
}

uint32_t GCLocaleChangeTerritory(GCLocale* loc, GCObj* territory) {
  if (!loc || !territory || !gcObjSection(territory)) return GC_E_ARG;
  GCLocale saved = *loc;
  loc->territory = territory;
  if (GCLocaleSetModifiable(loc) != GC_OK) {
    GCLocaleFreeOldText(&saved, loc); // the new texts
    *loc = saved;
    return GC_E_NOMEM;
  }
  GCLocaleFreeOldText(loc, &saved);
  return GC_OK;
}

int32_t GCLocaleCnvText(const GCObj* from, const GCObj* to, const char* text, char* dest) {
  if (!dest) return 0;
  if (!text) text = "";
  GCConvReader r;
  gcConvReaderInit(&r, from, gcCpMaxLen(from) == 1 && !gcCpIsUtf8(from), text,
                   int32_t(std::strlen(text)));
  r.stopNul = true;
  GCConvWriter w;
  gcConvWriterInit(&w, to, false);
  int32_t len = 0;
  GCUChar u[2];
  int32_t next;
  bool sdbcs;
  for (int k; (k = gcConvRead(&r, u, &next, &sdbcs)) > 0;) {
    for (int i = 0; i < k;) {
      uint8_t b[8];
      int used;
      bool ddbcs;
      int m = gcConvEncode(&w, u + i, k - i, b, &used, &ddbcs);
      std::memcpy(dest + len, b, size_t(m));
      len += m;
      w.dbcs = ddbcs;
      i += used;
    }
    r.pos = next;
    r.dbcs = sdbcs;
  }
  if (w.dbcs) dest[len++] = char(gcCpShiftIn(to));
  dest[len++] = 0;
  return len;
}

uint32_t GCLocaleChangeCodePage(GCLocale* loc, GCObj* cp) {
  if (!loc || !cp || !gcObjSection(cp)) return GC_E_ARG;
  GCLocale saved = *loc;
  const GCObj* old = loc->codepage;
  loc->codepage = cp;
  loc->flags = uint16_t(loc->flags & ~(GC_LF_SINGLEBYTE | GC_LF_SHIFT));
  if (gcCpMaxLen(cp) == 1 && !gcCpIsUtf8(cp)) loc->flags |= GC_LF_SINGLEBYTE;
  if (gcCpIsShiftState(cp)) loc->flags |= GC_LF_SHIFT;
  for (int i = 0; i < GC_SEP_COUNT; ++i) {
    // A separator without a byte in the old code page is taken from its
    // Unicode value.
    GCUChar u = saved.sep[i] == 0 ? saved.sepU[i] : gcCpByteToUcs2(old, saved.sep[i]);
    uint8_t b = 0;
    if (u != 0 && !single_byte_of(cp, u, &b)) {
      *loc = saved;
      return GC_E_SEPARATOR;
    }
    loc->sep[i] = b;
  }
  for (int t = 0; t < GC_TXT_COUNT; ++t) {
    if (!saved.text[t]) continue;
    uint32_t chars = uint32_t(std::strlen(saved.text[t]));
    uint32_t room = gcLocTextRoom(cp, chars + 1);
    auto* big = static_cast<char*>(gcAlloc(room));
    if (!big) {
      GCLocaleFreeOldText(&saved, loc);
      *loc = saved;
      return GC_E_NOMEM;
    }
    int32_t n = GCLocaleCnvText(old, cp, saved.text[t], big);
    auto* exact = static_cast<char*>(gcAlloc(uint32_t(n)));
    if (exact) {
      std::memcpy(exact, big, size_t(n));
      gcFree(big);
      big = exact;
    }
    loc->text[t] = big;
  }
  GCLocaleFreeOldText(loc, &saved);
  return GC_OK;
}
