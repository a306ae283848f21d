// The one pass of GCStrcmp over two NUL-terminated texts: where they first
// differ (or the first ends), then the rest of both lengths. Two builds of
// the same scan, sixteen bytes a block on every x86-64 processor and
// thirty-two on those with AVX2; gcStrCompareTerminated picks once which
// one this processor runs.
#pragma once

#include <cstddef>
#include <cstdint>

// The comparison by value of two NUL-terminated texts (as measuring both and
// comparing their bytes: negative, 0 or positive, a proper prefix giving the
// difference of the lengths), or kGCStrTooLong when either text has 2 GiB
// or more (no other result can have that value).
constexpr int kGCStrTooLong = INT32_MIN;

#if defined(__x86_64__)
// The two builds, each usable where the processor has its instructions
// (the tests run both).
int gcStrCompare16(const uint8_t* a, const uint8_t* b);
int gcStrCompare32(const uint8_t* a, const uint8_t* b);
bool gcStrCompare32Usable();
// Set once before main (false until then: the sixteen-byte build).
extern const bool gcStrUse32;

inline int gcStrCompareTerminated(const uint8_t* a, const uint8_t* b) {
  return gcStrUse32 ? gcStrCompare32(a, b) : gcStrCompare16(a, b);
}
#else
int gcStrCompareTerminated(const uint8_t* a, const uint8_t* b);
#endif
