#include "mbtext/gc_unitab.h"

#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"

namespace {

// Value of the table that starts at first, for a code known to lie in it.
inline GCUChar at(const std::uint16_t* table, unsigned first, GCUChar c) {
  return static_cast<GCUChar>(table[c - first]);
}

inline GCUChar shift(GCUChar c, int by) {
  return static_cast<GCUChar>(c + by);
}

void clearStatus(GCLocale* locale) {
  gcLocaleOrDefault(locale)->status = GC_OK;
}

} // namespace

GCUChar GCUnicodeToLower(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  if (c >= 0x0041 && c <= 0x005A) return shift(c, 32);
  if (c >= 0x00C0 && c <= 0x00DE) return c == 0x00D7 ? c : shift(c, 32);
  if (c >= 0x0100 && c <= 0x01FE) return at(GC_UNICODE_Lower1, 0x0100, c);
  if (c >= 0x0200 && c <= 0x0275) return at(GC_UNICODE_Lower2, 0x0200, c);
  if (c >= 0x0386 && c <= 0x03EE) return at(GC_UNICODE_Lower3, 0x0380, c);
  if (c >= 0x0401 && c <= 0x04F8) return at(GC_UNICODE_Lower4, 0x0400, c);
  if (c >= 0x0531 && c <= 0x0556) return shift(c, 48);
  if (c >= 0x10A0 && c <= 0x10C5) return shift(c, 48);
  if (c >= 0x1E00 && c <= 0x1EF8) return at(GC_UNICODE_Lower5, 0x1E00, c);
  if (c >= 0x1F08 && c <= 0x1FFC) return at(GC_UNICODE_Lower6, 0x1F00, c);
  if (c >= 0x2160 && c <= 0x216F) return shift(c, 16);
  if (c >= 0x24B6 && c <= 0x24CF) return shift(c, 26);
  if (c >= 0xFF21 && c <= 0xFF3A) return shift(c, 32);
  return c;
}

GCUChar GCUnicodeToUpper(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  if (c >= 0x0061 && c <= 0x007A) return shift(c, -32);
  if (c >= 0x00E0 && c <= 0x00FE) return c == 0x00F7 ? c : shift(c, -32);
  if (c == 0x00FF) return 0x0178;
  if (c >= 0x0101 && c <= 0x01FF) return at(GC_UNICODE_Upper1, 0x0100, c);
  if (c >= 0x0200 && c <= 0x0292) return at(GC_UNICODE_Upper2, 0x0200, c);
  if (c >= 0x03AC && c <= 0x03F1) return at(GC_UNICODE_Upper3, 0x03A0, c);
  if (c >= 0x0430 && c <= 0x04F9) return at(GC_UNICODE_Upper4, 0x0430, c);
  if (c >= 0x0561 && c <= 0x0586) return shift(c, -48);
  if (c >= 0x1E01 && c <= 0x1EF9) return at(GC_UNICODE_Upper5, 0x1E00, c);
  if (c >= 0x1F00 && c <= 0x1FF3) return at(GC_UNICODE_Upper6, 0x1F00, c);
  if (c >= 0x2170 && c <= 0x217F) return shift(c, -16);
  if (c >= 0x24D0 && c <= 0x24E9) return shift(c, -26);
  if (c >= 0xFF41 && c <= 0xFF5A) return shift(c, -32);
  return c;
}

GCUChar GCUnicodeToH2F(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  if (c >= 0x0021 && c <= 0x007E) return shift(c, 0xFEE0);
  if (c == 0x0020) return 0x3000;
  if (c >= 0x00A2 && c <= 0x00AF) return at(GC_UNICODE_H2F1, 0x00A0, c);
  if (c == 0x20A9) return 0xFFE6;
  if (c >= 0xFF61 && c <= 0xFFEE) return at(GC_UNICODE_H2F2, 0xFF60, c);
  return c;
}

GCUChar GCUnicodeToF2H(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  if (c >= 0xFF01 && c <= 0xFF5E) return shift(c, -0xFEE0);
  if (c >= 0x2190 && c <= 0x2193) return shift(c, 0xFFE9 - 0x2190);
  if (c >= 0x2502 && c <= 0x25CB) return at(GC_UNICODE_F2H1, 0x2500, c);
  if (c >= 0x3000 && c <= 0x30FC) return at(GC_UNICODE_F2H2, 0x3000, c);
  if (c >= 0x3131 && c <= 0x3164) return at(GC_UNICODE_F2H3, 0x3130, c);
  if (c >= 0xFFE0 && c <= 0xFFE6) return at(GC_UNICODE_F2H4, 0xFFE0, c);
  return c;
}
