// The built-in default locale (English, United States, US-ASCII, binary
// order) used when an operation is given a null locale and no global default
// locale is set, and the release of a locale record's memory.
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_mem_be.h"

namespace {

constexpr int kTextMax = 32;

struct DefaultLocale {
  GCLocale loc{};
  char text[GC_TXT_COUNT][kTextMax] = {};
  GCUChar textU[GC_TXT_COUNT][kTextMax] = {};

  DefaultLocale() {
    GCObj* terr = gcBuiltinTerritory();
    GCObj* cp = gcBuiltinCodePage();
    const uint8_t* d = terr->sect[0];
    loc.language = gcBuiltinLanguage();
    loc.territory = terr;
    loc.codepage = cp;
    loc.sort = nullptr;
    for (int i = 0; i < GC_SEP_COUNT; ++i) {
      loc.sepU[i] = gc_be16(d + 2 * i);
      loc.sep[i] = uint8_t(loc.sepU[i]);
    }
    loc.digits = gc_be16(d + 10);
    loc.curr_digits = gc_be16(d + 12);
    loc.intl_curr_digits = gc_be16(d + 14);
    loc.pos_sign_posn = d[16];
    loc.neg_sign_posn = d[17];
    uint16_t tf = gc_be16(d + 20);
    uint16_t f = 0;
    if (tf & 0x02) f |= GC_LF_CURR_PRECEDES_POS;
    if (tf & 0x04) f |= GC_LF_CURR_SPACE_POS;
    if (tf & 0x08) f |= GC_LF_CURR_PRECEDES_NEG;
    if (tf & 0x10) f |= GC_LF_CURR_SPACE_NEG;
    if (tf & 0x20) f |= GC_LF_TERR_FLAG1;
    if (tf & 0x40) f |= GC_LF_TERR_FLAG2;
    loc.flags = uint16_t(f | GC_LF_SINGLEBYTE | GC_LF_NOSORT);
    // Territory texts in record order: grouping, currency symbol, monetary
    // grouping, positive sign, negative sign, time, short date, long date.
    static const int text_index[GC_TXT_COUNT] = {2, 4, 3, 6, 7, 8, 9, 10};
    for (int t = 0; t < GC_TXT_COUNT; ++t) {
      uint32_t off = gc_be16(d + 24 + 2 * text_index[t]);
      int n = 0;
      for (; n < kTextMax - 1; ++n) {
        GCUChar u = gc_be16(d + off + 2 * n);
        if (u == 0) break;
        textU[t][n] = u;
        text[t][n] = char(u); // the built-in texts are ASCII
      }
      loc.text[t] = text[t];
      loc.textU[t] = textU[t];
    }
  }
};

} // namespace

GCLocale* gcLocaleOrDefault(GCLocale* locale) {
  if (locale) return locale;
  if (gcglocale) return gcglocale;
  thread_local DefaultLocale def;
  return &def.loc;
}

uint32_t gcLocaleFree(GCLocale* locale) {
  if (!locale) return GC_OK;
  uint32_t r = GC_OK;
  for (int i = 0; i < GC_TXT_COUNT; ++i) {
    if (locale->text[i] && !gcFree(locale->text[i])) r = GC_E_FILE;
    if (locale->textU[i] && !gcFree(locale->textU[i])) r = GC_E_FILE;
  }
  if (!gcFree(locale)) r = GC_E_FILE;
  return r;
}
