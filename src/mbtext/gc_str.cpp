// String comparison by value and without regard to case.
#include "mbtext/gc_str.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_str_int.h"
#include "mbtext/gc_str_scan_int.h"
#include "mbtext/gc_types_int.h"

namespace {

constexpr uint32_t kAccepted = 0x80000000u | GC_FL_CHARS | GC_CMP_NOSPECIAL | GC_FL_ICASE;

int byValue(const uint8_t* a, int32_t la, const uint8_t* b, int32_t lb) {
  int32_t m = std::min(la, lb);
  if (m > 0) {
    int r = std::memcmp(a, b, size_t(m));
    if (r != 0) return r < 0 ? -1 : 1;
  }
  return la - lb;
}

// Upper-cases both whole texts with the language's special mappings and
// compares the results. Memory or mapping failures fall back on comparing
// by value, with the status saying why.
int compareMapped(GCLocale* loc, const uint8_t* a, int32_t la, const uint8_t* b, int32_t lb) {
  auto room = [](int32_t n) { return uint32_t(std::min<int64_t>(int64_t(n) * 8, 0x7FFFFFFF)); };
  char* ba = static_cast<char*>(gcAlloc(room(la)));
  char* bb = ba ? static_cast<char*>(gcAlloc(room(lb))) : nullptr;
  if (!ba || !bb) {
    gcFree(ba);
    loc->status = GC_E_NOMEM;
    return byValue(a, la, b, lb);
  }
  int32_t ma = GCMapString(loc, ba, int32_t(room(la)), reinterpret_cast<const char*>(a), la, 0x80000025u);
  int32_t mb = ma > 0 ? GCMapString(loc, bb, int32_t(room(lb)), reinterpret_cast<const char*>(b), lb,
                                    0x80000025u)
                      : 0;
  int r;
  if (ma > 0 && mb > 0) {
    loc->status = GC_OK;
    r = byValue(reinterpret_cast<uint8_t*>(ba), ma, reinterpret_cast<uint8_t*>(bb), mb);
  } else {
    if (loc->status == GC_OK) loc->status = GC_E_ARG;
    r = byValue(a, la, b, lb);
  }
  gcFree(ba);
  gcFree(bb);
  return r;
}

// Every other kind of comparison: counted texts, character counts, case.
__attribute__((noinline)) int compareGeneral(GCLocale* locale, const char* s1, int32_t len1, const char* s2,
                                             int32_t len2, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags & ~kAccepted) {
    loc->status = GC_E_ARG;
    return 0;
  }
  loc->status = GC_OK;
  gcStrPairToBytes(loc, s1, &len1, s2, &len2, &flags);
  const auto* a = reinterpret_cast<const uint8_t*>(s1);
  const auto* b = reinterpret_cast<const uint8_t*>(s2);
  len1 = len1 < 0 ? gcTextLen(s1) : gcStrWhole(loc, a, len1);
  len2 = len2 < 0 ? gcTextLen(s2) : gcStrWhole(loc, b, len2);
  if (len1 < 0 || len2 < 0) {
    loc->status = GC_E_ARG;
    return 0;
  }
  if (len1 == 0 || len2 == 0) return len1 - len2;
  if (flags == 0) return byValue(a, len1, b, len2);

  if (!(flags & GC_CMP_NOSPECIAL) && gcStrHasSpecialUpper(loc)) return compareMapped(loc, a, len1, b, len2);

  const GCObj* cp = loc->codepage;
  const int32_t m = std::min(len1, len2);
  const uint8_t* const upper = gcCpMain(cp) + GC_CPM_UPPER; // gcCpUpperByte's table, looked up once
  if (gcStrSingle(loc)) {
    int32_t i = 0;
    // Equal stretches eight bytes a step, then byte by byte.
    for (uint64_t x, y; i + 8 <= m; i += 8) {
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) break;
    }
    for (; i < m; ++i) {
      int d = int(upper[a[i]]) - int(upper[b[i]]);
      if (d != 0) return d;
    }
    return len1 - len2;
  }
  int32_t at = 0;
  while (at < m) {
    int la = gcStrLeadLen(loc, a + at), lb = gcStrLeadLen(loc, b + at);
    if (la != lb) return la - lb;
    if (m - at < la) break; // cannot happen for whole characters; decided by the lengths
    uint8_t ua[4] = {0, 0, 0, 0}, ub[4] = {0, 0, 0, 0};
    if (la == 1) {
      ua[0] = upper[a[at]];
      ub[0] = upper[b[at]];
    } else {
      char ca[8] = {}, cb[8] = {};
      std::memcpy(ca, a + at, size_t(la));
      std::memcpy(cb, b + at, size_t(la));
      GCCpMbCaseConv(cp, ca, reinterpret_cast<char*>(ua), GC_C_LOWER);
      GCCpMbCaseConv(cp, cb, reinterpret_cast<char*>(ub), GC_C_LOWER);
    }
    for (int i = 0; i < 4; ++i)
      if (ua[i] != ub[i]) return int(ua[i]) - int(ub[i]);
    at += la;
  }
  return len1 - len2;
}

} // namespace

int GCStrcmp(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
             uint32_t flags) {
  // Two NUL-terminated texts by value in one pass (gc_str_scan_int.h): the
  // same results as measuring both and comparing, a text of 2 GiB or more
  // refused.
  if (flags == 0 && len1 < 0 && len2 < 0 && s1 && s2) {
    GCLocale* loc = gcLocaleOrDefault(locale);
    const int r = gcStrCompareTerminated(reinterpret_cast<const uint8_t*>(s1), reinterpret_cast<const uint8_t*>(s2));
    if (r == kGCStrTooLong) {
      loc->status = GC_E_ARG;
      return 0;
    }
    loc->status = GC_OK;
    return r;
  }
  return compareGeneral(locale, s1, len1, s2, len2, flags);
}
