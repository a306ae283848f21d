// Internals of the sort tables: table facts and element look-ups.
#pragma once

#include <cstdint>

#include "mbtext/gc_sort.h"

// Table facts.
uint16_t gcSortCombinationCount(const GCObj* sort);
uint8_t gcSortDefaultSecondary(const GCObj* sort);
uint8_t gcSortDefaultTertiary(const GCObj* sort);

// The same look-ups into element records.
int gcSortWeights(const GCObj* sort, GCUChar c, GCSortElem* e1, GCSortElem* e2, uint8_t* order);
int gcSortCombination(const GCObj* sort, GCUChar first, GCUChar second, GCSortElem* e, uint8_t* order);

// The weights of U+0000-U+00FF of one sort, made once when the sort is
// loaded and kept with it (an allocated section, freed at unload): what
// gcSortWeights gives for each, and whether it starts a combination.
struct GCSortBytes {
  struct Weights {
    uint16_t primary, special;
    uint8_t secondary, tertiary;
  };
  struct Entry {
    int8_t result;   // gcSortWeights' result: 0, 1 or 2
    uint8_t order;
    uint8_t combines;  // 1: the first character of some combination
    Weights e1, e2;
  };
  uint32_t magic;
  int32_t combinations;  // the sort's combination count
  Entry entry[256];
};
inline constexpr uint32_t GC_SORT_BYTES_MAGIC = 0x53425754u;  // "SBWT"
inline constexpr int GC_SORT_BYTES_SECTION = 3;

// Made from a sort object with its section 0 in place; null when out of
// memory.
GCSortBytes* gcSortBytesMake(const GCObj* sort);
// The table of a loaded sort, or null (a sort made some other way).
inline const GCSortBytes* gcSortBytes(const GCObj* sort) {
  if (!sort || !(sort->flags & (GC_OBJ_ALLOC0 << GC_SORT_BYTES_SECTION)) ||
      sort->sect_size[GC_SORT_BYTES_SECTION] != sizeof(GCSortBytes))
    return nullptr;
  const auto* t = reinterpret_cast<const GCSortBytes*>(sort->sect[GC_SORT_BYTES_SECTION]);
  return t && t->magic == GC_SORT_BYTES_MAGIC ? t : nullptr;
}
