// String comparison by value and without regard to case.
#include "mbtext/gc_str.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_str_int.h"
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

// Index of the first byte where a and b differ or a ends (its NUL), read
// sixty-four bytes a step (sixteen near a page's end, then byte by byte): a
// block is read only while it lies within the page of its first byte, so
// nothing past either NUL's page is touched. The bytes read beyond a NUL
// are never looked at (hence no address checks).
#if defined(__SSE2__)
constexpr uintptr_t kPage = 4096;
constexpr uintptr_t kBlock = 16;
constexpr uintptr_t kStep = 4 * kBlock;

// Zero bytes where a block stops: a byte that differs or a's NUL.
__attribute__((no_sanitize_address)) inline __m128i stops(const uint8_t* a, const uint8_t* b) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  return _mm_min_epu8(x, _mm_cmpeq_epi8(x, y));
}

inline unsigned stopMask(__m128i v) { return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))); }

inline bool roomInPage(const uint8_t* p, uintptr_t n) { return (reinterpret_cast<uintptr_t>(p) & (kPage - 1)) <= kPage - n; }

__attribute__((no_sanitize_address)) size_t firstStop(const uint8_t* a, const uint8_t* b) {
  size_t i = 0;
  for (;;) {
    if (roomInPage(a + i, kStep) && roomInPage(b + i, kStep)) {
      const __m128i s0 = stops(a + i, b + i), s1 = stops(a + i + kBlock, b + i + kBlock);
      const __m128i s2 = stops(a + i + 2 * kBlock, b + i + 2 * kBlock);
      const __m128i s3 = stops(a + i + 3 * kBlock, b + i + 3 * kBlock);
      if (stopMask(_mm_min_epu8(_mm_min_epu8(s0, s1), _mm_min_epu8(s2, s3))) == 0) {
        i += kStep;
        continue;
      }
      for (const __m128i s : {s0, s1, s2, s3}) {
        const unsigned m = stopMask(s);
        if (m != 0) return i + size_t(__builtin_ctz(m));
        i += kBlock;
      }
    }
    if (roomInPage(a + i, kBlock) && roomInPage(b + i, kBlock)) {
      const unsigned m = stopMask(stops(a + i, b + i));
      if (m != 0) return i + size_t(__builtin_ctz(m));
      i += kBlock;
      continue;
    }
    if (a[i] != b[i] || a[i] == 0) return i;
    ++i;
  }
}
// Bit k set when byte k of the aligned block is a NUL.
__attribute__((no_sanitize_address)) inline unsigned nuls(const uint8_t* block) {
  const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(block));
  return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())));
}

// Length of the text at p: its first two blocks through aligned sixteen
// bytes (an aligned block never crosses a page), the rest of a long text
// through strlen.
__attribute__((no_sanitize_address)) size_t measure(const uint8_t* p) {
  const uintptr_t off = reinterpret_cast<uintptr_t>(p) & (kBlock - 1);
  const uint8_t* q = p - off;
  const unsigned m = nuls(q) >> off;
  if (m != 0) return size_t(__builtin_ctz(m));
  const unsigned next = nuls(q + kBlock);
  if (next != 0) return (kBlock - off) + size_t(__builtin_ctz(next));
  return (2 * kBlock - off) + std::strlen(reinterpret_cast<const char*>(q + 2 * kBlock));
}
#else
size_t firstStop(const uint8_t* a, const uint8_t* b) {
  size_t i = 0;
  while (a[i] == b[i] && a[i] != 0) ++i;
  return i;
}
size_t measure(const uint8_t* p) { return std::strlen(reinterpret_cast<const char*>(p)); }
#endif

// Two NUL-terminated texts by value in one pass: the first difference and
// both lengths (the rest of each text is measured only past it). The same
// results as measuring both and comparing: a text of 2 GiB or more is
// refused, a proper prefix gives the difference of the lengths.
int byValueTerminated(GCLocale* loc, const uint8_t* a, const uint8_t* b) {
  const size_t i = firstStop(a, b);
  const size_t la = a[i] ? i + measure(a + i) : i;
  const size_t lb = b[i] ? i + measure(b + i) : i;
  if (la >= size_t(INT32_MAX) || lb >= size_t(INT32_MAX)) {
    loc->status = GC_E_ARG;
    return 0;
  }
  if (i < la && i < lb) return a[i] < b[i] ? -1 : 1;
  return int32_t(la) - int32_t(lb);
}

} // namespace

int GCStrcmp(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
             uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags & ~kAccepted) {
    loc->status = GC_E_ARG;
    return 0;
  }
  loc->status = GC_OK;
  gcStrPairToBytes(loc, s1, &len1, s2, &len2, &flags);
  const auto* a = reinterpret_cast<const uint8_t*>(s1);
  const auto* b = reinterpret_cast<const uint8_t*>(s2);
  if (flags == 0 && len1 < 0 && len2 < 0) return byValueTerminated(loc, a, b);
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
