// Sort keys and the transformation of text for bytewise comparison.
#include "mbtext/gc_key.h"

#include <algorithm>
#include <cstring>

#include "mbtext/gc_coll.h"
#include "mbtext/gc_coll_int.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_key_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_sort_int.h"
#include "mbtext/gc_str_int.h"
#include "mbtext/gc_types_int.h"

namespace {

// UCS-2 of the n-byte character at p in upper case.
GCUChar upperChar(const GCLocale* loc, const uint8_t* p, int n) {
  const GCObj* cp = loc->codepage;
  uint8_t buf[8] = {};
  if (n == 1) {
    buf[0] = gcCpUpperByte(cp, p[0]);
  } else {
    char src[8] = {};
    std::memcpy(src, p, size_t(n));
    int m = GCCpMbCaseConv(cp, src, reinterpret_cast<char*>(buf), GC_C_LOWER);
    if (m < 1) std::memcpy(buf, p, size_t(n));
    else n = m;
  }
  int len;
  GCUChar u = gcCollChar(loc, buf, n, &len);
  return len > 0 ? u : GC_UCS2_INVALID;
}

// UCS-2 of the n-byte character at p in its half-width form, when the code
// page has one.
GCUChar halfChar(const GCLocale* loc, const uint8_t* p, int n) {
  const GCObj* cp = loc->codepage;
  char src[8] = {};
  std::memcpy(src, p, size_t(n));
  GCPacked half = GCCpFullToHalfW(cp, GCMbToW(cp, src));
  if (half != 0) {
    char buf[8] = {};
    int m = GCWToMb(buf, half);
    int len;
    GCUChar u = gcCollChar(loc, reinterpret_cast<uint8_t*>(buf), m, &len);
    if (len == m && m > 0) return u;
  }
  int len;
  return gcCollChar(loc, p, n, &len);
}

// The text as UCS-2 under flags into out (room for two units a source
// byte); the number of units.
uint32_t toUcs2(const GCLocale* loc, const uint8_t* s, int32_t len, uint32_t flags, GCUChar* out) {
  const bool single = (loc->flags & GC_LF_SINGLEBYTE) != 0;
  const bool special = flags == GC_COLL_ICASE && gcStrHasSpecialUpper(loc);
  uint32_t units = 0;
  if (single && flags == 0) {
    // A single-byte page: its own UCS-2 table, byte by byte.
    const uint8_t* table = gcCpMain(loc->codepage) + GC_CPM_TOUCS2;
    for (int32_t at = 0; at < len; ++at) out[units++] = gc_be16(table + 2 * s[at]);
    return units;
  }
  int32_t at = 0;
  while (at < len) {
    int n;
    GCUChar c = gcCollChar(loc, s + at, len - at, &n);
    if (n < 1) break; // a cut character ends the text
    if (flags == GC_COLL_ICASE) {
      if (special) {
        GCUChar o1 = 0, o2 = 0;
        int m = GCLangGetSpecial(loc->language, c, 0, &o1, &o2, GC_SPECIAL_UPPER);
        int used = n;
        if (m == 0 && at + n < len) {
          int n2;
          GCUChar c2 = gcCollChar(loc, s + at + n, len - at - n, &n2);
          if (n2 > 0) {
            m = GCLangGetSpecial(loc->language, c, c2, &o1, &o2, GC_SPECIAL_UPPER);
            used = n + n2;
          }
        }
        if (m > 0) {
          out[units++] = o1;
          if (m == 2) out[units++] = o2;
          at += used;
          continue;
        }
      }
      out[units++] = upperChar(loc, s + at, n);
    } else if (flags == GC_COLL_IWIDTH && !single) {
      out[units++] = halfChar(loc, s + at, n);
    } else {
      out[units++] = c;
    }
    at += n;
  }
  return units;
}

// Allocates the UCS-2 form of len bytes of s; null when memory runs out.
GCUChar* ucs2Of(const GCLocale* loc, const char* s, int32_t len, uint32_t flags, uint32_t* units) {
  const uint64_t bytes = 4 * uint64_t(len) + 4;
  if (bytes > 0xFFFFFFFFu) return nullptr;
  auto* buf = static_cast<GCUChar*>(gcAlloc(uint32_t(bytes)));
  if (!buf) return nullptr;
  *units = toUcs2(loc, reinterpret_cast<const uint8_t*>(s), len, flags, buf);
  return buf;
}

} // namespace

int32_t GCStrGenSortKey(GCLocale* locale, uint8_t* dst, int32_t size, const GCUChar* s, int32_t n) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!dst) size = 0;
  if (!s) n = 0;
  if (n < 0) {
    n = 0;
    while (n < INT32_MAX && s[n] != 0) ++n;
  }
  if (n == 0) {
    if (size >= 3) std::memset(dst, 0, 3);
    return 3;
  }
  const uint64_t need = gcSortLevelsSize(uint64_t(n));
  uint8_t* work;
  const bool inDst = size >= 0 && uint64_t(size) >= need;
  if (inDst) {
    work = dst;
  } else {
    if (need > 0xFFFFFFFFu) return -1;
    work = static_cast<uint8_t*>(gcAlloc(uint32_t(need)));
    if (!work) return -1;
  }
  const GCObj* sort = loc->sort;
  const bool combos = gcSortCombinationCount(sort) > 0;
  const GCSortBytes* bytes = gcSortBytes(sort);  // the weights of U+0000-U+00FF, when kept
  GCSortLevels lv;
  gcSortLevelsInit(&lv, work, uint32_t(n));
  for (int32_t i = 0; i < n; ++i) {
    GCSortElem e1, e2;
    uint8_t order = 0;
    int r = 0;
    uint16_t pos;
    const GCUChar c = s[i];
    const bool mayCombine = combos && (!bytes || c >= 256 || bytes->entry[c].combines);
    if (mayCombine && i < n - 1 && gcSortCombination(sort, c, s[i + 1], &e1, &order)) {
      r = 1;
      pos = gcSortPosition(uint64_t(i) + 2);
      ++i;
    } else if (bytes && c < 256) {
      const GCSortBytes::Entry& m = bytes->entry[c];
      r = m.result;
      if (r >= 1) {
        e1 = GCSortElem{m.e1.primary, m.e1.secondary, m.e1.tertiary, m.e1.special};
        order = m.order;
      }
      if (r == 2) e2 = GCSortElem{m.e2.primary, m.e2.secondary, m.e2.tertiary, m.e2.special};
      pos = gcSortPosition(uint64_t(i) + 1);
    } else {
      r = gcSortWeights(sort, c, &e1, &e2, &order);
      pos = gcSortPosition(uint64_t(i) + 1);
    }
    if (r >= 1) GCStrInsertWeights(&lv, e1.primary, e1.secondary, e1.tertiary, e1.special, pos, order);
    if (r == 2) GCStrInsertWeights(&lv, e2.primary, e2.secondary, e2.tertiary, e2.special, pos, order);
  }
  gcSortLevelsFinish(&lv);
  // Trailing default weights carry no information.
  const uint8_t ds = gcSortDefaultSecondary(sort), dt = gcSortDefaultTertiary(sort);
  while (lv.end2 > 0 && lv.l2[lv.end2 - 1] == ds) --lv.end2;
  while (lv.end3 > 0 && lv.l3[lv.end3 - 1] == dt) --lv.end3;
  const bool bare = lv.end1 == 0 && lv.end2 == 0 && lv.end3 == 0;
  const uint64_t len4 = uint64_t(lv.end4) * (bare ? 2 : 4);
  const uint64_t keyLen = 2 * uint64_t(lv.end1) + lv.end2 + lv.end3 + len4 + 3;

  // Every level moves towards the start of the work area, so moving them
  // in order never overwrites bytes still to be moved.
  uint8_t* k = work + 2 * size_t(lv.end1);
  *k++ = 0;
  std::memmove(k, lv.l2, lv.end2);
  k += lv.end2;
  *k++ = 0;
  std::memmove(k, lv.l3, lv.end3);
  k += lv.end3;
  *k++ = 0;
  if (bare) {
    for (uint32_t i = 0; i < lv.end4; ++i) {
      k[0] = lv.l4[4 * size_t(i) + 2];
      k[1] = lv.l4[4 * size_t(i) + 3];
      k += 2;
    }
  } else {
    std::memmove(k, lv.l4, size_t(len4));
  }
  if (inDst) {
    std::memset(dst + keyLen, 0, size_t(uint64_t(size) - keyLen));
  } else {
    if (size >= 0 && keyLen <= uint64_t(size)) std::memcpy(dst, work, size_t(keyLen));
    gcFree(work);
  }
  return int32_t(keyLen);
}

uint8_t* gcKeyOf(GCLocale* loc, const char* src, int32_t len, uint32_t flags, int32_t* keyLen) {
  uint32_t units = 0;
  GCUChar* u = ucs2Of(loc, src, len, flags, &units);
  if (!u) return nullptr;
  const uint64_t need = gcSortLevelsSize(units);
  uint8_t* key = need <= 0x7FFFFFFF ? static_cast<uint8_t*>(gcAlloc(uint32_t(need))) : nullptr;
  if (key) *keyLen = GCStrGenSortKey(loc, key, int32_t(need), u, int32_t(units));
  gcFree(u);
  return key;
}

int32_t GCStrxfrm(GCLocale* locale, char* dst, int32_t size, const char* src, int32_t srcLen,
                  uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (!dst || size < 0) size = 0;
  if (!src) srcLen = 0;
  if (flags & GC_FL_CHARS) {
    if (srcLen > 0) srcLen = gcStrCharsToBytes(loc, src, srcLen);
    flags &= ~GC_FL_CHARS;
  }
  if (flags != 0 && flags != GC_COLL_ICASE && flags != GC_COLL_IWIDTH) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (srcLen < 0 && (srcLen = gcTextLen(src)) < 0) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (srcLen == 0) {
    // The key of an empty text: its three level separators. A size query
    // (size 0) gets the whole length as well.
    if (size > 0) std::memset(dst, 0, size_t(std::min(3, size)));
    return 3;
  }
  const bool sorted = loc->sort && !(loc->flags & GC_LF_NOSORT);
  if (!sorted && flags == 0) {
    if (srcLen <= size) std::memcpy(dst, src, size_t(srcLen));
    return srcLen;
  }
  uint32_t units = 0;
  GCUChar* u = ucs2Of(loc, src, srcLen, flags, &units);
  if (!u) {
    loc->status = GC_E_NOMEM;
    return -1;
  }
  int64_t result;
  if (sorted) {
    result = GCStrGenSortKey(loc, reinterpret_cast<uint8_t*>(dst), size, u, int32_t(units));
    if (result < 0) loc->status = GC_E_NOMEM;
  } else {
    result = 0;
    bool writing = true;
    for (uint32_t i = 0; i < units; ++i) {
      char buf[8];
      int m = GCCpUnicodeToChar(loc->codepage, u[i], buf);
      if (writing && result + m <= size)
        std::memcpy(dst + result, buf, size_t(m));
      else
        writing = false;
      result += m;
    }
    if (result > INT32_MAX) result = INT32_MAX;
  }
  gcFree(u);
  return int32_t(result);
}
