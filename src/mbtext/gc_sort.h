// Collation weights of a sort object: the weights of one character or of a
// two-character combination, the list of combinations, and the characters
// that share a primary weight.
//
// The sort table is the sort object's section 0 (version 3 layout of
// gc_sortv1.h). Every read is bounds-checked against the section size; a
// record outside the table counts as no weights.
//
// Threads: safe from several threads: sort tables are read-only once loaded.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_sortv1.h"

// Order bits: a set bit appends the weight of that level after the weights
// placed so far; a clear bit inserts it at the level's insertion point.
inline constexpr uint8_t GC_ORDER_PRIMARY = 0x8;
inline constexpr uint8_t GC_ORDER_SECONDARY = 0x4;
inline constexpr uint8_t GC_ORDER_TERTIARY = 0x2;
inline constexpr uint8_t GC_ORDER_SPECIAL = 0x1;

// Record flags of character weights and combinations.
inline constexpr uint16_t GC_SORTW_SPECIAL = 0x8000;
inline constexpr uint16_t GC_SORTW_EXPAND = 0x4000;
inline constexpr uint16_t GC_SORTW_ORDER = 0x3C00;

// One collation element.
struct GCSortElem {
  uint16_t primary = 0;
  uint8_t secondary = 0;
  uint8_t tertiary = 0;
  uint16_t special = 0;
};

// Weights of character c: 0 (none; nothing written, except the order bits
// of an expanding character without an expansion record), 1 (e1 set) or 2
// (an expansion: e1 and e2 set). Order bits into *order.
ORB_API int GCSortGetWeights(const GCObj* sort, GCUChar c, uint16_t* primary, uint8_t* secondary,
                     uint8_t* tertiary, uint16_t* special, uint16_t* primary2, uint8_t* secondary2,
                     uint8_t* tertiary2, uint16_t* special2, uint8_t* order);

// 1 and the combination's weights when (first, second) is a combination;
// 0 (outputs untouched) otherwise.
ORB_API int GCSortGetCombination(const GCObj* sort, GCUChar first, GCUChar second, uint16_t* primary,
                         uint8_t* secondary, uint8_t* tertiary, uint16_t* special, uint8_t* order);

// Every combination as (first, second, 0); out needs room for three units a
// combination (gcSortCombinationCount).
ORB_API void GCSortGetAllCombinations(const GCObj* sort, GCUChar* out);

// Characters (into chars) and combinations (as first, second, 0 into combos,
// counted in *comboCount) sharing the primary weight of c, or of the
// combination (c, second) when second is not 0. Result: characters written.
// chars needs room for 65536 units, combos for three units a combination.
ORB_API int GCSortGetSamePrimaryWeight(const GCObj* sort, GCUChar c, GCUChar second, GCUChar* chars,
                               uint16_t* comboCount, GCUChar* combos);

