// Character counts and byte counts of code-page text.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"

int32_t gcCpShiftRunEnd(const uint8_t* p, int32_t avail, uint8_t c1, uint8_t c2) {
  if (!p || avail == 0 || (p[0] != c1 && p[0] != c2)) return 0;
  int32_t n = 1;
  while ((avail < 0 ? p[n] != 0 : n < avail) && (p[n] == c1 || p[n] == c2)) ++n;
  return n - 1;
}

namespace {

bool is_shift(uint8_t b, uint8_t so, uint8_t si) { return b == so || b == si; }

// True when the len bytes at p are all within the text (NUL-terminated when
// avail is negative).
bool whole(const uint8_t* p, int32_t pos, int len, int32_t avail) {
  if (avail >= 0) return int64_t(pos) + len <= avail;
  for (int i = 0; i < len; ++i)
    if (p[pos + i] == 0) return false;
  return true;
}

} // namespace

int32_t gcCpCharsToBytes(const GCObj* cp, const char* str, int state, int32_t chars, bool lookAhead) {
  if (!str || chars < 1) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  int32_t p = 0;
  if (!gcCpIsShiftState(cp)) {
    for (int32_t i = 0; i < chars; ++i) {
      if (s[p] == 0) break; // end of the text
      int n = gcCpCharLen(cp, s + p, -1);
      if (n == 0) break;
      p += n;
    }
    return p;
  }
  uint8_t so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
  int dbl = gcCpMaxLen(cp);
  for (int32_t i = 0; i < chars; ++i) {
    if (s[p] == 0) break;
    if (is_shift(s[p], so, si)) {
      p += gcCpShiftRunEnd(s + p, -1, so, si);
      state = s[p] == so ? 1 : 0;
      ++p;
      if (s[p] == 0) break;
    }
    int len = state ? dbl : 1;
    if (!whole(s, p, len, -1)) break;
    p += len;
    // The run after the last character lies beyond a counted text: it is
    // looked at only in terminated text.
    if (i + 1 == chars && !lookAhead) break;
    while (s[p] != 0 && is_shift(s[p], so, si)) {
      state = s[p] == so ? 1 : 0;
      ++p;
    }
  }
  return p;
}

int32_t GCCpStrCharToByteLen(const GCObj* cp, const char* str, int state, int32_t chars) {
  return gcCpCharsToBytes(cp, str, state, chars, true);
}

int32_t GCCpStrByteToCharLen(const GCObj* cp, const char* str, int state, int32_t bytes) {
  if (!str || bytes == 0) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  if (bytes < 0 && (bytes = gcTextLen(str)) < 0) return 0; // too long to count
  int32_t count = 0, p = 0;
  if (gcCpIsShiftState(cp)) {
    uint8_t so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
    int dbl = gcCpMaxLen(cp);
    while (p < bytes) {
      if (is_shift(s[p], so, si)) {
        p += gcCpShiftRunEnd(s + p, bytes - p, so, si);
        state = s[p] == so ? 1 : 0;
        ++p;
        continue;
      }
      int len = state ? dbl : 1;
      if (p + len > bytes) break;
      ++count;
      p += len;
    }
    return count;
  }
  if (gcCpMaxLen(cp) == 1 && !gcCpIsUtf8(cp)) return bytes;
  while (p < bytes) {
    int n = gcCpCharLen(cp, s + p, bytes - p);
    if (n == 0) break; // cut by the byte count
    ++count;
    p += n;
  }
  return count;
}

int32_t GCByteLength(GCLocale* locale, const char* p, uint32_t) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!p) return 0;
  if (loc->flags & GC_LF_SINGLEBYTE) return 1;
  int n = gcCpCharLen(loc->codepage, reinterpret_cast<const uint8_t*>(p), -1);
  return n > 0 ? n : 1; // a character cut by the NUL: step to the NUL only
}
