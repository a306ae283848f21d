// The one-pass scan in sixteen-byte blocks (SSE2, every x86-64 processor),
// and the choice between it and the thirty-two-byte build.
#include <algorithm>
#include <cstring>

#include "mbtext/gc_str_scan_int.h"

#if defined(__x86_64__)
#include <emmintrin.h>

namespace {

struct Blocks {
  using Vec = __m128i;
  static constexpr size_t kWidth = 16;
  // Each block is loaded once into a register: the compiler would else
  // fold a block used twice into two memory operands, two loads.
  __attribute__((no_sanitize_address)) static Vec load(const uint8_t* p) {
    Vec v = _mm_loadu_si128(reinterpret_cast<const Vec*>(p));
    __asm__("" : "+x"(v));
    return v;
  }
  static Vec stopsOf(Vec x, Vec y) { return _mm_min_epu8(x, _mm_cmpeq_epi8(x, y)); }
  static Vec stops(const uint8_t* a, const uint8_t* b) { return stopsOf(load(a), load(b)); }
  static Vec lowest(Vec x, Vec y) { return _mm_min_epu8(x, y); }
  static uint32_t zeros(Vec x) { return uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_setzero_si128()))); }
  __attribute__((no_sanitize_address)) static uint32_t alignedNuls(const uint8_t* p) {
    return zeros(_mm_load_si128(reinterpret_cast<const Vec*>(p)));
  }
};

#include "mbtext/gc_str_scan_body.h"

} // namespace

const bool gcStrUse32 = gcStrCompare32Usable();

int gcStrCompare16(const uint8_t* a, const uint8_t* b) { return compare(a, b); }

#else

int gcStrCompareTerminated(const uint8_t* a, const uint8_t* b) {
  size_t i = 0;
  while (a[i] == b[i] && a[i] != 0) ++i;
  const size_t la = i + std::strlen(reinterpret_cast<const char*>(a + i));
  const size_t lb = i + std::strlen(reinterpret_cast<const char*>(b + i));
  if (la >= size_t(INT32_MAX) || lb >= size_t(INT32_MAX)) return kGCStrTooLong;
  if (i < la && i < lb) return a[i] < b[i] ? -1 : 1;
  return int(int32_t(la) - int32_t(lb));
}

#endif
