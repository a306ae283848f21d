// Character navigation over the lead-byte lengths of a locale's code page.
#include "mbtext/gc_nav.h"

#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_nav_int.h"

int gcNavSpan(const GCLocale* loc, const uint8_t* p, int32_t avail, bool* whole) {
  *whole = true;
  if (!p || avail == 0) return 0;
  if (loc->flags & GC_LF_SINGLEBYTE) return 1;
  int n = gcCpCharLen(loc->codepage, p, avail);
  if (n > 0) return n;
  // Cut by the end of the text: the character spans what is left of it.
  *whole = false;
  int cap = gcCpIsUtf8(loc->codepage) ? 4 : gcCpLeadLen(loc->codepage, p[0]);
  if (cap < 1) cap = 1;
  if (cap > 4) cap = 4;
  int k = 1;
  while (k < cap && (avail < 0 ? p[k] != 0 : k < avail)) ++k;
  return k;
}

GCPacked GCGetChar(GCLocale* locale, const char* p, uint32_t) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!p) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(p);
  bool whole;
  int n = gcNavSpan(loc, s, -1, &whole);
  GCPacked v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | s[i];
  return v;
}

const char* GCNextChar(GCLocale* locale, const char* p, uint32_t) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!p) return p;
  bool whole;
  return p + gcNavSpan(loc, reinterpret_cast<const uint8_t*>(p), -1, &whole);
}

const char* GCPrevChar(GCLocale* locale, const char* start, const char* pos, uint32_t) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!start || !pos || pos <= start) return start;
  if (loc->flags & GC_LF_SINGLEBYTE) return pos - 1;
  const auto* s = reinterpret_cast<const uint8_t*>(start);
  const int64_t end = pos - start;
  int64_t q = 0;
  for (;;) {
    bool whole;
    // The text before pos is walked as a counted text: a NUL byte there is
    // a character of its own.
    int64_t left = end - q;
    int n = gcNavSpan(loc, s + q, left > INT32_MAX ? INT32_MAX : int32_t(left), &whole);
    if (n < 1 || q + n >= end) break;
    q += n;
  }
  return start + q;
}

int32_t GCNumChars(GCLocale* locale, const char* str, int32_t length, uint32_t) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!str || length == 0) return 0;
  if (length < 0 && (length = gcTextLen(str)) < 0) {
    loc->status = GC_E_ARG;
    return 0;
  }
  if (loc->flags & GC_LF_SINGLEBYTE) return length;
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  int32_t pos = 0, count = 0;
  while (pos < length) {
    bool whole;
    int n = gcNavSpan(loc, s + pos, length - pos, &whole);
    if (n < 1 || !whole) break; // a character cut by the length
    ++count;
    pos += n;
  }
  return count;
}

int32_t GCOffsetOfLastShftCodeEx(const char* p, uint8_t c1, uint8_t c2) {
  return gcCpShiftRunEnd(reinterpret_cast<const uint8_t*>(p), -1, c1, c2);
}

int32_t GCNumCharsEx(GCLocale* locale, const char* str, int state, int32_t length, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!(loc->flags & GC_LF_SHIFT)) return GCNumChars(loc, str, length, flags);
  loc->status = GC_OK;
  if (!str || length == 0) return 0;
  if (length < 0 && (length = gcTextLen(str)) < 0) {
    loc->status = GC_E_ARG;
    return 0;
  }
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  const uint8_t so = gcCpShiftOut(loc->codepage), si = gcCpShiftIn(loc->codepage);
  const int dbl = gcCpMaxLen(loc->codepage);
  int32_t pos = 0, count = 0;
  bool dbcs = state != 0;
  while (pos < length) {
    if (s[pos] == so || s[pos] == si) {
      pos += gcCpShiftRunEnd(s + pos, length - pos, si, so);
      dbcs = s[pos] != si;
      ++pos;
      if (pos >= length) break;
    }
    int n = dbcs ? dbl : 1;
    if (n > length - pos) break;
    ++count;
    pos += n;
  }
  return count;
}
