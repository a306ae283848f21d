// The built-in default locale (English, United States, US-ASCII, binary
// order) used when an operation is given a null locale and no global default
// locale is set, and the release of a locale record's memory.
#include <cstring>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_locobj_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_types_int.h"

namespace {

constexpr int kTextMax = 32;

struct DefaultLocale {
  GCLocale loc{};
  char text[GC_TXT_COUNT][kTextMax] = {};
  GCUChar textU[GC_TXT_COUNT][kTextMax] = {};

  DefaultLocale() {
    GCObj* terr = gcBuiltinTerritory();
    const uint8_t* d = gcObjSection(terr);
    loc.language = gcBuiltinLanguage();
    loc.territory = terr;
    loc.codepage = gcBuiltinCodePage();
    loc.sort = nullptr;
    loc.flags = uint16_t(GC_LF_SINGLEBYTE | GC_LF_NOSORT);
    gcLocFillValues(&loc);
    // The built-in territory's texts are ASCII, one byte per unit.
    for (int t = 0; t < GC_TXT_COUNT; ++t) {
      uint32_t off = gc_be16(d + GC_TERR_OFFSETS + 2 * GC_TXT_TERR_ENTRY[t]);
      for (int n = 0; n < kTextMax - 1; ++n) {
        GCUChar u = gc_be16(d + off + 2 * n);
        if (u == 0) break;
        textU[t][n] = u;
        text[t][n] = char(u);
      }
      loc.text[t] = text[t];
      loc.textU[t] = textU[t];
    }
  }
};

} // namespace

GCLocale* gcLocaleFallback() {
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
