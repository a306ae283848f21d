// The one-pass scan in thirty-two-byte blocks, for processors with AVX2.
// Only the functions below the target switch use those instructions; the
// standard headers come before it and keep the plain instruction set.
#include <algorithm>
#include <cstring>

#include "mbtext/gc_str_scan_int.h"

#if defined(__x86_64__)
#include <immintrin.h>

bool gcStrCompare32Usable() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

#pragma GCC push_options
#pragma GCC target("avx2")

namespace {

struct Blocks {
  using Vec = __m256i;
  static constexpr size_t kWidth = 32;
  // Each block is loaded once into a register: the compiler would else
  // fold a block used twice into two memory operands, two loads.
  __attribute__((no_sanitize_address)) static Vec load(const uint8_t* p) {
    Vec v = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
    __asm__("" : "+x"(v));
    return v;
  }
  static Vec stopsOf(Vec x, Vec y) { return _mm256_min_epu8(x, _mm256_cmpeq_epi8(x, y)); }
  static Vec stops(const uint8_t* a, const uint8_t* b) { return stopsOf(load(a), load(b)); }
  static Vec lowest(Vec x, Vec y) { return _mm256_min_epu8(x, y); }
  static uint32_t zeros(Vec x) {
    return uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x, _mm256_setzero_si256())));
  }
  __attribute__((no_sanitize_address)) static uint32_t alignedNuls(const uint8_t* p) {
    return zeros(_mm256_load_si256(reinterpret_cast<const Vec*>(p)));
  }
};

#include "mbtext/gc_str_scan_body.h"

} // namespace

int gcStrCompare32(const uint8_t* a, const uint8_t* b) { return compare(a, b); }

#pragma GCC pop_options

#endif
