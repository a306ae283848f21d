// OS layer: the heap cover with its running total and fail-test mode, and
// small memory helpers.
//
// Threads: not safe from several threads. The allocation total and the
// fail-test counters are process-wide and no lock guards them; the byte
// helpers and the rounding functions keep no state and are safe anywhere.
#pragma once

#include "orb_api.h"

#include <cstdint>

// The owner names the caller for diagnostics; it is not otherwise used.
//
// size < 1 gives null. Otherwise, in fail-test mode, the allocation may be
// made to fail (null); else malloc. On success the allocation total grows by
// size.
ORB_API void* osl_mem_alloc(const char* owner, long size);
// As osl_mem_alloc for realloc (malloc when p is null). size < 1 gives null
// and leaves p untouched. On failure p stays valid and owned by the caller.
ORB_API void* osl_mem_realloc(const char* owner, void* p, long size);
// free(p) (null is allowed); returns 1.
ORB_API long osl_mem_free(const char* owner, void* p);

// Byte helpers; each returns 0.
ORB_API long osl_mem_cpy(void* dst, const void* src, long n);      // regions apart
ORB_API long osl_mem_move(void* dst, const void* src, long n);     // regions may overlap
ORB_API long osl_mem_fill(void* dst, long byte, long n);           // n bytes of byte
ORB_API long osl_mem_bzero(void* dst, long n);                     // n zero bytes
ORB_API long osl_mem_trans_long(void* dst, const void* src, long n);  // n 32-bit words

// libc qsort; 0.
ORB_API long osl_mem_qsort(void* base, long n, long size, int (*compare)(const void*, const void*));

// n rounded up to the next multiple of 4 (n itself when already one).
ORB_API long osl_mem_round4(long n);
// The value as an integer: rounded down (trunc), rounded up (ceil); round
// also rounds down.
ORB_API long osl_mem_trunc(const float* value);
ORB_API long osl_mem_ceil(const float* value);
ORB_API long osl_mem_round(const float* value);

// Bytes handed out by osl_mem_alloc / osl_mem_realloc since the last reset.
ORB_API long osl_mem_get_mem_svc();
ORB_API void osl_mem_reset_mem_svc();

// Fail-test mode. osl_mem_reset_fail_num switches it on from the start: the
// allocations then fail in the pattern fail, ok, fail, ok, ok, fail, ok, ok,
// ok, fail, ... ("MEM TEST n FIRED" is printed for each failure).
// osl_mem_disable_fail_mode switches it off. osl_mem_test_fired returns the
// fired flag (1 when a failure was made since it was last cleared) and
// clears it.
ORB_API void osl_mem_reset_fail_num();
ORB_API void osl_mem_disable_fail_mode();
ORB_API long osl_mem_test_fired();

// Always 0.
ORB_API long osl_mem_check_cushion();
