// Taking a locale's numeric and monetary conventions from the platform's
// native locale.
#include <climits>
#include <clocale>
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_obj.h"

namespace {

constexpr int kNameRoom = 1024;

// Grouping sizes as text "3;3;0" in the locale's code page.
void grouping_text(const GCLocale* loc, const char* g, char* out, size_t room) {
  char ascii[64];
  size_t n = 0;
  for (const char* p = g; *p && *p != CHAR_MAX && n + 8 < sizeof ascii; ++p) {
    int v = static_cast<unsigned char>(*p);
    if (v >= 100) ascii[n++] = char('0' + v / 100);
    if (v >= 10) ascii[n++] = char('0' + v / 10 % 10);
    ascii[n++] = char('0' + v % 10);
    ascii[n++] = ';';
  }
  ascii[n++] = '0';
  ascii[n] = 0;
  const GCObj* cp = loc->codepage;
  if (gcCpIsAsciiBased(cp)) {
    std::strncpy(out, ascii, room - 1);
    out[room - 1] = 0;
    return;
  }
  const GCObj* one = gcCodePageAscii();
  size_t k = 0;
  for (size_t i = 0; ascii[i] && k + 5 < room; ++i) {
    char b[4];
    int m = GCCpUnicodeToChar(cp, gcCpByteToUcs2(one, uint8_t(ascii[i])), b);
    std::memcpy(out + k, b, size_t(m));
    k += size_t(m);
  }
  out[k] = 0;
}

void take_separator(GCLocale* loc, int i, const char* s) {
  if (!s || std::strlen(s) != 1) return;
  loc->sep[i] = uint8_t(s[0]);
  loc->sepU[i] = gcCpByteToUcs2(loc->codepage, uint8_t(s[0]));
}

} // namespace

void GCMapNativeInfo(const char* native, GCLocale* locale, uint32_t) {
  if (!locale && !gcglocale) return; // the built-in default locale stays as it is
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!native) native = "";
  const char* cur = std::setlocale(LC_ALL, nullptr);
  char old[kNameRoom];
  if (!cur || std::strlen(cur) >= sizeof old) return; // could not be switched back
  std::strcpy(old, cur);
  const char* now = std::setlocale(LC_ALL, native);
  if (!now) return;
  char nowName[kNameRoom];
  std::strncpy(nowName, native[0] ? native : now, sizeof nowName - 1);
  nowName[sizeof nowName - 1] = 0;
  const lconv* lc = std::localeconv();
  if (lc->frac_digits != CHAR_MAX) loc->curr_digits = uint16_t(lc->frac_digits);
  if (lc->int_frac_digits != CHAR_MAX) loc->intl_curr_digits = uint16_t(lc->int_frac_digits);
  auto flag = [loc](char v, uint16_t bit) {
    if (v == CHAR_MAX) return;
    if (v) loc->flags |= bit;
    else loc->flags = uint16_t(loc->flags & ~bit);
  };
  flag(lc->p_cs_precedes, GC_LF_CURR_PRECEDES_POS);
  flag(lc->p_sep_by_space, GC_LF_CURR_SPACE_POS);
  flag(lc->n_cs_precedes, GC_LF_CURR_PRECEDES_NEG);
  flag(lc->n_sep_by_space, GC_LF_CURR_SPACE_NEG);
  if (lc->p_sign_posn != CHAR_MAX) loc->pos_sign_posn = uint8_t(lc->p_sign_posn);
  if (lc->n_sign_posn != CHAR_MAX) loc->neg_sign_posn = uint8_t(lc->n_sign_posn);
  char text[128];
  if (lc->grouping && lc->grouping[0]) {
    grouping_text(loc, lc->grouping, text, sizeof text);
    GCSetLocaleTextInfo(loc, 62, text, -1, 0);
  }
  if (lc->mon_grouping && lc->mon_grouping[0]) {
    grouping_text(loc, lc->mon_grouping, text, sizeof text);
    GCSetLocaleTextInfo(loc, 68, text, -1, 0);
  }
  // Separators and symbols are bytes of the native code set: they are taken
  // only when it is the locale's code page.
  char mapped[GC_LOCALE_STRING_SIZE];
  GCMapNativeLocale(nowName, mapped, sizeof mapped);
  const char* dot = std::strchr(mapped, '.');
  const char* at = dot ? std::strchr(dot, '@') : nullptr;
  if (dot && at && size_t(at - dot - 1) == std::strlen(loc->codepage->name) &&
      std::strncmp(dot + 1, loc->codepage->name, size_t(at - dot - 1)) == 0) {
    take_separator(loc, GC_SEP_DECIMAL, lc->decimal_point);
    take_separator(loc, GC_SEP_THOUSANDS, lc->thousands_sep);
    take_separator(loc, GC_SEP_MON_DECIMAL, lc->mon_decimal_point);
    take_separator(loc, GC_SEP_MON_THOUSANDS, lc->mon_thousands_sep);
    if (lc->currency_symbol && lc->currency_symbol[0]) GCSetLocaleTextInfo(loc, 64, lc->currency_symbol, -1, 0);
    if (lc->positive_sign && lc->positive_sign[0]) GCSetLocaleTextInfo(loc, 71, lc->positive_sign, -1, 0);
    if (lc->negative_sign && lc->negative_sign[0]) GCSetLocaleTextInfo(loc, 72, lc->negative_sign, -1, 0);
  }
  std::setlocale(LC_ALL, old);
  loc->status = GC_OK;
}
