// Pieces shared by the string functions: character lengths within a byte
// count and the conversions between character and byte counts.
#pragma once

#include <cstdint>
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_mem_be_int.h"

inline bool gcStrSingle(const GCLocale* loc) { return (loc->flags & GC_LF_SINGLEBYTE) != 0; }

// True when the locale's language has special upper-case mappings (a
// non-zero count of them in its table).
inline bool gcStrHasSpecialUpper(const GCLocale* loc) {
  const GCObj* lang = loc->language;
  if (!lang || !lang->sect[0] || lang->sect_size[0] < 8) return false;
  return gc_be16(lang->sect[0] + 6) != 0;
}

// Length of the character at p when it lies whole within avail bytes
// (avail >= 1), else 0. Single-byte locales: 1.
inline int gcStrCharLen(const GCLocale* loc, const uint8_t* p, int32_t avail) {
  if (avail <= 0) return 0;
  if (gcStrSingle(loc)) return 1;
  return gcCpCharLen(loc->codepage, p, avail);
}

// Lead-byte length of the character at p, regardless of where the text ends
// (at least 1).
inline int gcStrLeadLen(const GCLocale* loc, const uint8_t* p) {
  if (gcStrSingle(loc)) return 1;
  int n = gcCpCharLen(loc->codepage, p, 4);
  if (n > 0) return n;
  n = gcCpLeadLen(loc->codepage, p[0]);
  return n < 1 ? 1 : (n > 4 ? 4 : n);
}

// The longest prefix of whole characters within len bytes of s.
inline int32_t gcStrWhole(const GCLocale* loc, const uint8_t* s, int32_t len) {
  if (len <= 0 || gcStrSingle(loc)) return len < 0 ? 0 : len;
  int32_t at = 0;
  while (at < len) {
    int n = gcCpCharLen(loc->codepage, s + at, len - at);
    if (n < 1) break;
    at += n;
  }
  return at;
}


// Bytes of the first chars characters of s (from single-byte mode).
inline int32_t gcStrCharsToBytes(const GCLocale* loc, const char* s, int32_t chars) {
  if (chars <= 0 || !s) return 0;
  return gcCpCharsToBytes(loc->codepage, s, 0, chars, false);
}

// The lengths of two texts taken together: a missing text has length 0, and
// with 0x4000 in *flags each positive length is turned from characters into
// bytes and the bit is taken off.
inline void gcStrPairToBytes(const GCLocale* loc, const char* s1, int32_t* len1, const char* s2,
                             int32_t* len2, uint32_t* flags) {
  if (!s1) *len1 = 0;
  if (!s2) *len2 = 0;
  if (*flags & GC_FL_CHARS) {
    if (*len1 > 0) *len1 = gcStrCharsToBytes(loc, s1, *len1);
    if (*len2 > 0) *len2 = gcStrCharsToBytes(loc, s2, *len2);
    *flags &= ~GC_FL_CHARS;
  }
}
