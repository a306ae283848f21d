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
