// The per-sort weights of U+0000-U+00FF, made when a sort is loaded.
//
// 256 entries of 16 bytes and a header: 4 104 bytes for each loaded sort.
#include <cstring>

#include "mbtext/gc_sort_int.h"
#include "mbtext/gc_types_int.h"

GCSortBytes* gcSortBytesMake(const GCObj* sort) {
  auto* t = static_cast<GCSortBytes*>(gcAlloc(sizeof(GCSortBytes)));
  if (!t) return nullptr;
  std::memset(t, 0, sizeof *t);
  t->magic = GC_SORT_BYTES_MAGIC;
  t->combinations = gcSortCombinationCount(sort);
  for (int c = 0; c < 256; ++c) {
    GCSortElem w1, w2;
    uint8_t order = 0;
    GCSortBytes::Entry& e = t->entry[c];
    e.result = int8_t(gcSortWeights(sort, GCUChar(c), &w1, &w2, &order));
    e.order = order;
    e.e1 = {w1.primary, w1.special, w1.secondary, w1.tertiary};
    e.e2 = {w2.primary, w2.special, w2.secondary, w2.tertiary};
  }
  // Three characters (first, second, 0) for each combination; without room
  // to list them every character is taken to start one.
  if (t->combinations > 0) {
    const uint32_t count = 3 * uint32_t(t->combinations) + 3;
    auto* all = static_cast<GCUChar*>(gcAlloc(count * sizeof(GCUChar)));
    if (all) std::memset(all, 0, count * sizeof(GCUChar));
    if (all) GCSortGetAllCombinations(sort, all);
    for (int c = 0; c < 256; ++c) t->entry[c].combines = all ? 0 : 1;
    for (int32_t i = 0; all && i < t->combinations; ++i)
      if (all[3 * i] < 256) t->entry[all[3 * i]].combines = 1;
    gcFree(all);
  }
  return t;
}
