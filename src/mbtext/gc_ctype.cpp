// Class words of characters and the group selection.
#include "mbtext/gc_ctype.h"

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_nav_int.h"

namespace {

uint32_t select_group(GCLocale* loc, uint32_t word, uint32_t group) {
  loc->status = GC_OK;
  switch (group) {
    case GC_CT_TYPE: return word & 0x3FF;
    case GC_CT_BIDI: return (word >> 10) & 0xFFF;
    case GC_CT_WIDTH: return (word >> 22) & 0x3FF;
    default:
      loc->status = GC_E_ARG;
      return word & 0x3FF;
  }
}

// Class word of a double-byte character of a shift-state code page: the
// code page's maximum length of bytes, or 0 when the text ends inside it.
uint32_t dbcs_word(const GCObj* cp, const uint8_t* p) {
  int n = gcCpMaxLen(cp);
  for (int i = 0; i < n; ++i)
    if (p[i] == 0) return 0;
  return gcCtypeClass(GCGetMbCtypeW(cp, GCMbToWS(cp, reinterpret_cast<const char*>(p), 1)));
}

} // namespace

uint32_t GCGetCharType(GCLocale* locale, const char* s, uint32_t group) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  uint32_t word = 0;
  if (s) {
    const auto* p = reinterpret_cast<const uint8_t*>(s);
    bool whole;
    int n = gcNavSpan(loc, p, -1, &whole);
    if (n <= 1) word = gcCpByteClass(loc->codepage, p[0]);
    else if (whole) word = gcCtypeClass(GCGetMbCtype(loc->codepage, s));
  }
  return select_group(loc, word, group);
}

uint32_t GCGetCharTypeW(GCLocale* locale, GCPacked value, uint32_t group) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  uint32_t word = value < 256 ? gcCpByteClass(loc->codepage, uint8_t(value))
                              : gcCtypeClass(GCGetMbCtypeW(loc->codepage, value));
  return select_group(loc, word, group);
}

uint32_t GCGetCharTypeEx(GCLocale* locale, const char* s, int state, uint32_t group) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!s) return select_group(loc, 0, group);
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  if (loc->flags & GC_LF_SINGLEBYTE && !(loc->flags & GC_LF_SHIFT))
    return select_group(loc, gcCpByteClass(loc->codepage, p[0]), group);
  if (!(loc->flags & GC_LF_SHIFT)) return GCGetCharType(loc, s, group);
  const GCObj* cp = loc->codepage;
  const uint8_t so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
  if (p[0] == so || p[0] == si) {
    p += gcCpShiftRunEnd(p, -1, si, so);
    state = *p == si ? 0 : 1;
    ++p;
  }
  uint32_t word = state ? dbcs_word(cp, p) : gcCpByteClass(cp, p[0]);
  return select_group(loc, word, group);
}
