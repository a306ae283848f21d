#include "mbtext/gc_unitab.h"
#include "mbtext/gc_unitab_int.h"

#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"

namespace {

void clearStatus(GCLocale* locale) {
  gcLocaleOrDefault(locale)->status = GC_OK;
}

} // namespace

GCUChar GCUnicodeToLower(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  return gcUniLower(c);
}

GCUChar GCUnicodeToUpper(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  return gcUniUpper(c);
}

GCUChar GCUnicodeToH2F(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  return gcUniH2F(c);
}

GCUChar GCUnicodeToF2H(GCLocale* locale, GCUChar c) {
  clearStatus(locale);
  return gcUniF2H(c);
}
