#include "mbtext/gc_sortv1.h"

#include <cstring>

#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_sortv1_int.h"
#include "mbtext/gc_types.h"
#include "mbtext/gc_types_int.h"

bool gcSortV1WellFormed(const uint8_t* old, uint32_t old_size) {
  return old && old_size >= GC_SORT1_HDR_SIZE && gc_be16(old + GC_SORT1_OFF_WEIGHTS) <= old_size;
}

uint8_t* GCSortV1toV3(const uint8_t* old, uint32_t old_size, uint32_t* new_size) {
  *new_size = 0;
  if (!gcSortV1WellFormed(old, old_size)) return nullptr;
  uint32_t woff = gc_be16(old + GC_SORT1_OFF_WEIGHTS);
  uint64_t size = uint64_t(old_size) - woff + GC_SORT_HDR_SIZE;
  if (size > 0xFFFFFFFFu) return nullptr;
  auto* t = static_cast<uint8_t*>(gcAlloc(uint32_t(size)));
  if (!t) return nullptr;
  std::memset(t, 0, GC_SORT_HDR_SIZE);
  std::memcpy(t, old, 6);
  for (int p = 0; p < 256; ++p) {
    const uint8_t* o = old + GC_SORT1_PAGES + 4 * p;
    uint8_t* n = t + GC_SORT_PAGES + 8 * p;
    n[0] = o[0];
    n[1] = o[1];
    gc_put32(n + 4, gc_be16(o + 2));
  }
  uint32_t shift = GC_SORT_HDR_SIZE - woff;
  gc_put32(t + GC_SORT_OFF_WEIGHTS, GC_SORT_HDR_SIZE);
  gc_put32(t + GC_SORT_OFF_EXPANSIONS, gc_be16(old + GC_SORT1_OFF_EXPANSIONS) + shift);
  gc_put32(t + GC_SORT_OFF_COMBINATIONS, gc_be16(old + GC_SORT1_OFF_COMBINATIONS) + shift);
  std::memcpy(t + GC_SORT_HDR_SIZE, old + woff, old_size - woff);
  *new_size = uint32_t(size);
  return t;
}
