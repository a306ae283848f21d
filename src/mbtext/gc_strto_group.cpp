// Readers of grouping texts ("3;2;0").
#include "mbtext/gc_fmt_cp.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_strto.h"

int GCStrGroupingSize(GCLocale* locale, const char* text, int32_t* remaining, const char** next) {
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  GCLocale* loc = gcLocaleOrDefault(locale);
  int ascii = gcfmtAscii(loc) ? 1 : 0;
  const unsigned char semi = ascii ? ';' : 0x5E;
  const unsigned char zero = ascii ? '0' : 0xF0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  int32_t read = 0;
  int value = 0;
  while (p[read] && p[read] != semi && read < *remaining) {
    unsigned d = static_cast<unsigned>(p[read]) - zero;
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (p[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}

int GCStrGroupingSizeU(GCLocale* locale, const GCUChar* text, int32_t* remaining, const GCUChar** next) {
  (void)locale;  // UCS-2 grouping texts use ";" and "0"-"9" in every locale
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  int32_t read = 0;
  int value = 0;
  while (text[read] && text[read] != u';' && read < *remaining) {
    unsigned d = static_cast<unsigned>(text[read]) - u'0';
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (text[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}

int GCStrGroupingSizeW(GCLocale* locale, const uint32_t* text, int32_t* remaining, const uint32_t** next) {
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  GCLocale* loc = gcLocaleOrDefault(locale);
  const bool ascii = gcfmtAscii(loc);
  const uint32_t semi = ascii ? ';' : 0x5E;
  const uint32_t zero = ascii ? '0' : 0xF0;
  int32_t read = 0;
  int value = 0;
  while (text[read] && text[read] != semi && read < *remaining) {
    uint32_t d = text[read] - zero;
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (text[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}
