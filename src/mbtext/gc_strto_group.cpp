// Readers of grouping texts ("3;2;0").
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_strto_int.h"

using gcstrto::groupingSize;

int GCStrGroupingSize(GCLocale* locale, const char* text, int32_t* remaining, const char** next) {
  const bool ascii = gcfmtAscii(gcLocaleOrDefault(locale));
  return groupingSize<char>(text, remaining, next, ascii ? ';' : '\x5E', ascii ? '0' : '\xF0');
}

int GCStrGroupingSizeU(GCLocale* locale, const GCUChar* text, int32_t* remaining, const GCUChar** next) {
  (void)locale;  // UCS-2 grouping texts use ";" and "0"-"9" in every locale
  return groupingSize<GCUChar>(text, remaining, next, u';', u'0');
}

int GCStrGroupingSizeW(GCLocale* locale, const uint32_t* text, int32_t* remaining, const uint32_t** next) {
  const bool ascii = gcfmtAscii(gcLocaleOrDefault(locale));
  return groupingSize<uint32_t>(text, remaining, next, ascii ? ';' : 0x5E, ascii ? '0' : 0xF0);
}
