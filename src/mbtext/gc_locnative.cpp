// Taking a locale's numeric and monetary conventions from the platform's
// native locale.
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <langinfo.h>
#include <locale.h>
#include <utility>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_locobj_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"

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

// A native locale of the caller's own: its conventions are read through it
// (nl_langinfo_l), so neither the process's locale nor another thread's is
// switched.
class NativeLocale {
 public:
  explicit NativeLocale(const char* name) : l_(newlocale(LC_ALL_MASK, name, locale_t(nullptr))) {}
  ~NativeLocale() {
    if (l_) freelocale(l_);
  }
  NativeLocale(const NativeLocale&) = delete;
  NativeLocale& operator=(const NativeLocale&) = delete;
  locale_t get() const { return l_; }
  const char* text(nl_item item) const { return nl_langinfo_l(item, l_); }
  // A one-byte number item; -1 when the locale marks it unavailable
  // (CHAR_MAX, or -1 as compiled locales store it).
  int number(nl_item item) const {
    const char* v = nl_langinfo_l(item, l_);
    const int n = v ? static_cast<signed char>(v[0]) : -1;
    return n < 0 || n == CHAR_MAX ? -1 : n;
  }

 private:
  locale_t l_;
};

} // namespace

void gcNativeLocaleName(locale_t l, char* out, size_t room) {
  if (!out || room == 0) return;
  out[0] = 0;
  if (!l) return;
  // Character classes, numeric, time, collation, then the others: one name
  // when all agree, else the composite form "/ctype/numeric/...".
  static const int kCategories[] = {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_COLLATE, LC_MONETARY, LC_MESSAGES};
  const char* names[std::size(kCategories)];
  bool same = true;
  for (size_t i = 0; i < std::size(kCategories); ++i) {
    names[i] = nl_langinfo_l(_NL_LOCALE_NAME(kCategories[i]), l);
    if (!names[i]) names[i] = "";
    same = same && std::strcmp(names[i], names[0]) == 0;
  }
  if (same) {
    std::snprintf(out, room, "%s", names[0]);
    return;
  }
  size_t n = 0;
  for (const char* name : names) {
    const int w = std::snprintf(out + n, room - n, "/%s", name);
    if (w < 0 || size_t(w) >= room - n) { // does not fit: no name rather than a cut one
      out[0] = 0;
      return;
    }
    n += size_t(w);
  }
}

void GCMapNativeInfo(const char* native, GCLocale* locale, uint32_t) {
  if (!locale && !gcglocale) return; // the built-in default locale stays as it is
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!native) native = "";
  const NativeLocale nl(native);
  if (!nl.get()) return; // no such native locale: nothing changes
  char nowName[kNameRoom];
  if (native[0]) std::snprintf(nowName, sizeof nowName, "%s", native);
  else gcNativeLocaleName(nl.get(), nowName, sizeof nowName);
  if (int v = nl.number(FRAC_DIGITS); v >= 0) loc->curr_digits = uint16_t(v);
  if (int v = nl.number(INT_FRAC_DIGITS); v >= 0) loc->intl_curr_digits = uint16_t(v);
  auto flag = [loc, &nl](nl_item item, uint16_t bit) {
    const int v = nl.number(item);
    if (v < 0) return;
    if (v) loc->flags |= bit;
    else loc->flags = uint16_t(loc->flags & ~bit);
  };
  flag(P_CS_PRECEDES, GC_LF_CURR_PRECEDES_POS);
  flag(P_SEP_BY_SPACE, GC_LF_CURR_SPACE_POS);
  flag(N_CS_PRECEDES, GC_LF_CURR_PRECEDES_NEG);
  flag(N_SEP_BY_SPACE, GC_LF_CURR_SPACE_NEG);
  if (int v = nl.number(P_SIGN_POSN); v >= 0) loc->pos_sign_posn = uint8_t(v);
  if (int v = nl.number(N_SIGN_POSN); v >= 0) loc->neg_sign_posn = uint8_t(v);
  // The first item that cannot be set gives the status; the others are
  // still tried.
  uint32_t status = GC_OK;
  auto set = [loc, &status](int item, const char* value) {
    if (!GCSetLocaleTextInfo(loc, item, value, -1, 0) && status == GC_OK) status = loc->status;
  };
  char text[128];
  const char* grouping = nl.text(GROUPING);
  if (grouping && grouping[0]) {
    grouping_text(loc, grouping, text, sizeof text);
    set(GC_ITEM_GROUPING, text);
  }
  const char* monGrouping = nl.text(MON_GROUPING);
  if (monGrouping && monGrouping[0]) {
    grouping_text(loc, monGrouping, text, sizeof text);
    set(GC_ITEM_MON_GROUPING, text);
  }
  // Separators and symbols are bytes of the native code set: they are taken
  // only when it is the locale's code page.
  char mapped[GC_LOCALE_STRING_SIZE];
  GCMapNativeLocale(nowName, mapped, sizeof mapped);
  const char* dot = std::strchr(mapped, '.');
  const char* at = dot ? std::strchr(dot, '@') : nullptr;
  if (dot && at && size_t(at - dot - 1) == std::strlen(loc->codepage->name) &&
      std::strncmp(dot + 1, loc->codepage->name, size_t(at - dot - 1)) == 0) {
    take_separator(loc, GC_SEP_DECIMAL, nl.text(RADIXCHAR));
    take_separator(loc, GC_SEP_THOUSANDS, nl.text(THOUSEP));
    take_separator(loc, GC_SEP_MON_DECIMAL, nl.text(MON_DECIMAL_POINT));
    take_separator(loc, GC_SEP_MON_THOUSANDS, nl.text(MON_THOUSANDS_SEP));
    for (auto [item, value] : {std::pair{GC_ITEM_CURRENCY, nl.text(CURRENCY_SYMBOL)},
                               std::pair{GC_ITEM_POS_SIGN, nl.text(POSITIVE_SIGN)},
                               std::pair{GC_ITEM_NEG_SIGN, nl.text(NEGATIVE_SIGN)}})
      if (value && value[0]) set(item, value);
  }
  loc->status = status;
}
