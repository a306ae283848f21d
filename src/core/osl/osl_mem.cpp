// OS layer: the heap cover with its running total and fail-test mode.
#include "core/osl/osl_mem.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/osl/osl_print.h"

namespace {

long g_total = 0;

// Fail-test mode: the allocation whose counter has reached the failure
// number fails; the number then grows by one, so the gaps between failures
// grow by one each time.
bool g_fail_mode = false;
long g_fail_num = 0;
long g_fail_count = 0;
long g_fail_fired = 0;

// True when this allocation is to fail.
bool fail_test_fires() {
  if (!g_fail_mode) return false;
  if (g_fail_count >= g_fail_num) {
    osl_print_mes("MEM TEST %ld FIRED\n", g_fail_num);
    g_fail_count = 0;
    ++g_fail_num;
    g_fail_fired = 1;
    return true;
  }
  ++g_fail_count;
  return false;
}

void add_total(long size) {
  if (g_total > LONG_MAX - size)
    g_total = LONG_MAX;
  else
    g_total += size;
}

// A float as a long, within the range of long (NaN gives 0).
long float_to_long(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(LONG_MAX)) return LONG_MAX;
  if (v <= static_cast<double>(LONG_MIN)) return LONG_MIN;
  return static_cast<long>(v);
}

}  // namespace

void* osl_mem_alloc(const char* /*owner*/, long size) {
  if (size < 1) return nullptr;
  if (fail_test_fires()) return nullptr;
  void* p = std::malloc(static_cast<size_t>(size));
  if (p != nullptr) add_total(size);
  return p;
}

void* osl_mem_realloc(const char* /*owner*/, void* p, long size) {
  if (size < 1) return nullptr;
  if (fail_test_fires()) return nullptr;
  void* q = p == nullptr ? std::malloc(static_cast<size_t>(size))
                         : std::realloc(p, static_cast<size_t>(size));
  if (q != nullptr) add_total(size);
  return q;
}

long osl_mem_free(const char* /*owner*/, void* p) {
  std::free(p);
  return 1;
}

long osl_mem_cpy(void* dst, const void* src, long n) {
  if (n > 0) std::memcpy(dst, src, static_cast<size_t>(n));
  return 0;
}

long osl_mem_move(void* dst, const void* src, long n) {
  if (n > 0) std::memmove(dst, src, static_cast<size_t>(n));
  return 0;
}

long osl_mem_fill(void* dst, long byte, long n) {
  if (n > 0) std::memset(dst, static_cast<int>(byte & 0xff), static_cast<size_t>(n));
  return 0;
}

long osl_mem_bzero(void* dst, long n) {
  if (n > 0) std::memset(dst, 0, static_cast<size_t>(n));
  return 0;
}

long osl_mem_trans_long(void* dst, const void* src, long n) {
  if (n > 0) std::memmove(dst, src, static_cast<size_t>(n) * 4);
  return 0;
}

long osl_mem_qsort(void* base, long n, long size, int (*compare)(const void*, const void*)) {
  if (n > 1 && size > 0)
    std::qsort(base, static_cast<size_t>(n), static_cast<size_t>(size), compare);
  return 0;
}

long osl_mem_round4(long n) {
  long rest = n % 4;
  if (rest == 0) return n;
  if (n > LONG_MAX - 3) return LONG_MAX - 3;  // the largest multiple of 4 there is
  return rest > 0 ? n + (4 - rest) : n - rest;
}

long osl_mem_trunc(const float* value) { return float_to_long(std::floor(*value)); }

long osl_mem_ceil(const float* value) { return float_to_long(std::ceil(*value)); }

long osl_mem_round(const float* value) { return float_to_long(std::floor(*value)); }

long osl_mem_get_mem_svc() { return g_total; }

void osl_mem_reset_mem_svc() { g_total = 0; }

void osl_mem_reset_fail_num() {
  g_fail_mode = true;
  g_fail_num = 0;
  g_fail_count = 0;
  g_fail_fired = 0;
}

void osl_mem_disable_fail_mode() { g_fail_mode = false; }

long osl_mem_test_fired() {
  long fired = g_fail_fired;
  g_fail_fired = 0;
  return fired;
}

long osl_mem_check_cushion() { return 0; }
