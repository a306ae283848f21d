#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_ucs2.h"

#include <algorithm>
#include <cstring>

namespace {

template <typename T>
int32_t unitLen(const T* s) {
  int32_t n = 0;
  while (n < INT32_MAX && s[n] != 0) ++n;
  return n;
}

template <typename T>
int32_t unitCopy(GCLocale* locale, T* dst, int32_t size, const T* src, int32_t srcLen) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!dst || !src || srcLen == 0 || size <= 0) return 0;
  if (srcLen < 0) {
    int32_t n = unitLen(src);
    srcLen = n < INT32_MAX ? n + 1 : n;
  }
  int32_t n = std::min(srcLen, size);
  std::memmove(dst, src, size_t(n) * sizeof(T));
  return n;
}

} // namespace

int32_t GCStrlenU(GCLocale* locale, const GCUChar* s, uint32_t) {
  gcLocaleOrDefault(locale)->status = GC_OK;
  return s ? unitLen(s) : 0;
}

int32_t GCWcslen(GCLocale* locale, const uint32_t* s, uint32_t) {
  gcLocaleOrDefault(locale)->status = GC_OK;
  return s ? unitLen(s) : 0;
}

int32_t GCStrcpyU(GCLocale* locale, GCUChar* dst, int32_t size, const GCUChar* src, int32_t srcLen,
                  uint32_t) {
  return unitCopy(locale, dst, size, src, srcLen);
}

int32_t GCWcscpy(GCLocale* locale, uint32_t* dst, int32_t size, const uint32_t* src, int32_t srcLen,
                 uint32_t) {
  return unitCopy(locale, dst, size, src, srcLen);
}
