#include "mbtext/gc_sort.h"

#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_sort_int.h"

namespace {

struct Table {
  const uint8_t* d = nullptr;
  uint32_t size = 0;

  explicit Table(const GCObj* sort) {
    if (sort && gcObjSection(sort) && sort->sect_size[0] >= GC_SORT_HDR_SIZE) {
      d = gcObjSection(sort);
      size = sort->sect_size[0];
    }
  }
  bool ok() const { return d != nullptr; }
  const uint8_t* page(int p) const { return d + GC_SORT_PAGES + 8 * p; }
  // The record of the given size at index i of the list at offset field
  // off; null when it lies outside the table.
  const uint8_t* record(uint32_t field, uint64_t i, uint32_t recSize) const {
    uint64_t at = uint64_t(gc_be32(d + field)) + i * recSize;
    return gc_in(size, at, recSize) ? d + at : nullptr;
  }
  uint16_t expansions() const { return gc_be16(d + 2); }
  uint16_t combinations() const { return gc_be16(d + 4); }
};

uint8_t orderOf(uint16_t flags) { return uint8_t((flags & GC_SORTW_ORDER) >> 10); }

} // namespace

uint16_t gcSortCombinationCount(const GCObj* sort) {
  Table t(sort);
  return t.ok() ? t.combinations() : 0;
}

uint8_t gcSortDefaultSecondary(const GCObj* sort) {
  Table t(sort);
  return t.ok() ? t.d[0] : 0;
}

uint8_t gcSortDefaultTertiary(const GCObj* sort) {
  Table t(sort);
  return t.ok() ? t.d[1] : 0;
}

int gcSortWeights(const GCObj* sort, GCUChar c, GCSortElem* e1, GCSortElem* e2, uint8_t* order) {
  Table t(sort);
  if (!t.ok()) return 0;
  const uint8_t* E = t.page(c >> 8);
  const uint8_t b = uint8_t(c & 0xFF);
  const uint32_t base = gc_be32(E + 4);
  if (E[0] & GC_SORTP_NONE) return 0;
  if (E[0] & (GC_SORTP_ALGO | GC_SORTP_ALGO_SPECIAL)) {
    *e1 = GCSortElem{};
    const uint16_t w = uint16_t(base + b);
    if (E[0] & GC_SORTP_ALGO)
      e1->primary = w;
    else
      e1->special = w;
    *order = E[1];
    return 1;
  }
  const uint8_t* R = t.record(GC_SORT_OFF_WEIGHTS, uint64_t(base) + b, GC_SORT_WEIGHT_SIZE);
  if (!R) return 0;
  const uint16_t flags = gc_be16(R + 4);
  *order = orderOf(flags);
  if (flags & GC_SORTW_EXPAND) {
    for (uint32_t i = 0; i < t.expansions(); ++i) {
      const uint8_t* X = t.record(GC_SORT_OFF_EXPANSIONS, i, GC_SORT_EXPANSION_SIZE);
      if (!X) break;
      if (gc_be16(X) != c) continue;
      *e1 = GCSortElem{gc_be16(X + 2), X[4], X[5], 0};
      *e2 = GCSortElem{gc_be16(X + 6), X[8], X[9], 0};
      return 2;
    }
    return 0;
  }
  *e1 = GCSortElem{};
  if (flags & GC_SORTW_SPECIAL) {
    e1->special = gc_be16(R);
  } else {
    e1->primary = gc_be16(R);
    e1->secondary = R[2];
    e1->tertiary = R[3];
  }
  return 1;
}

int gcSortCombination(const GCObj* sort, GCUChar first, GCUChar second, GCSortElem* e, uint8_t* order) {
  Table t(sort);
  if (!t.ok()) return 0;
  for (uint32_t i = 0; i < t.combinations(); ++i) {
    const uint8_t* C = t.record(GC_SORT_OFF_COMBINATIONS, i, GC_SORT_COMBINATION_SIZE);
    if (!C) break;
    if (gc_be16(C) != first || gc_be16(C + 2) != second) continue;
    const uint16_t flags = gc_be16(C + 8);
    *e = GCSortElem{};
    if (flags & GC_SORTW_SPECIAL) {
      e->special = gc_be16(C + 4);
    } else {
      e->primary = gc_be16(C + 4);
      e->secondary = C[6];
      e->tertiary = C[7];
    }
    *order = orderOf(flags);
    return 1;
  }
  return 0;
}

int GCSortGetWeights(const GCObj* sort, GCUChar c, uint16_t* primary, uint8_t* secondary,
                     uint8_t* tertiary, uint16_t* special, uint16_t* primary2, uint8_t* secondary2,
                     uint8_t* tertiary2, uint16_t* special2, uint8_t* order) {
  GCSortElem e1, e2;
  uint8_t ord = 0;
  bool orderSet = false;
  int r = gcSortWeights(sort, c, &e1, &e2, &ord);
  if (r == 0) {
    // An expanding character without its expansion still gives its order bits.
    Table t(sort);
    if (t.ok()) {
      const uint8_t* E = t.page(c >> 8);
      if (!(E[0] & (GC_SORTP_NONE | GC_SORTP_ALGO | GC_SORTP_ALGO_SPECIAL))) {
        const uint8_t* R = t.record(GC_SORT_OFF_WEIGHTS, uint64_t(gc_be32(E + 4)) + (c & 0xFF),
                                    GC_SORT_WEIGHT_SIZE);
        orderSet = R != nullptr;
      }
    }
  } else {
    orderSet = true;
  }
  if (orderSet && order) *order = ord;
  if (r >= 1) {
    if (primary) *primary = e1.primary;
    if (secondary) *secondary = e1.secondary;
    if (tertiary) *tertiary = e1.tertiary;
    if (special) *special = e1.special;
  }
  if (r == 2) {
    if (primary2) *primary2 = e2.primary;
    if (secondary2) *secondary2 = e2.secondary;
    if (tertiary2) *tertiary2 = e2.tertiary;
    if (special2) *special2 = e2.special;
  }
  return r;
}

int GCSortGetCombination(const GCObj* sort, GCUChar first, GCUChar second, uint16_t* primary,
                         uint8_t* secondary, uint8_t* tertiary, uint16_t* special, uint8_t* order) {
  GCSortElem e;
  uint8_t ord = 0;
  if (!gcSortCombination(sort, first, second, &e, &ord)) return 0;
  if (primary) *primary = e.primary;
  if (secondary) *secondary = e.secondary;
  if (tertiary) *tertiary = e.tertiary;
  if (special) *special = e.special;
  if (order) *order = ord;
  return 1;
}

void GCSortGetAllCombinations(const GCObj* sort, GCUChar* out) {
  Table t(sort);
  if (!t.ok() || !out) return;
  for (uint32_t i = 0; i < t.combinations(); ++i) {
    const uint8_t* C = t.record(GC_SORT_OFF_COMBINATIONS, i, GC_SORT_COMBINATION_SIZE);
    if (!C) break;
    *out++ = gc_be16(C);
    *out++ = gc_be16(C + 2);
    *out++ = 0;
  }
}

int GCSortGetSamePrimaryWeight(const GCObj* sort, GCUChar c, GCUChar second, GCUChar* chars,
                               uint16_t* comboCount, GCUChar* combos) {
  if (comboCount) *comboCount = 0;
  if (!sort) {
    if (second != 0) return 0;
    if (chars) chars[0] = c;
    return 1;
  }
  Table t(sort);
  if (!t.ok() || !chars) return 0;
  GCSortElem e1, e2;
  uint8_t ord = 0;
  const int r = second != 0 ? gcSortCombination(sort, c, second, &e1, &ord)
                            : gcSortWeights(sort, c, &e1, &e2, &ord);
  int written = 0;
  if (r == 1) {
    const uint16_t P = e1.primary;
    for (int p = 0; p < 256; ++p) {
      const uint8_t* E = t.page(p);
      const uint32_t base = gc_be32(E + 4);
      if (E[0] & GC_SORTP_NONE) continue;
      if (E[0] & GC_SORTP_ALGO) {
        const uint16_t B = uint16_t(base);
        if (B <= P && P <= uint16_t(B + 255)) chars[written++] = GCUChar(p * 256 + (P - B));
        continue;
      }
      if (E[0] & GC_SORTP_ALGO_SPECIAL) {
        if (P == 0)
          for (int b = 0; b < 256; ++b) chars[written++] = GCUChar(p * 256 + b);
        continue;
      }
      for (int b = 0; b < 256; ++b) {
        const uint8_t* R = t.record(GC_SORT_OFF_WEIGHTS, uint64_t(base) + b, GC_SORT_WEIGHT_SIZE);
        if (!R) break;
        const uint16_t flags = gc_be16(R + 4);
        if (flags & GC_SORTW_EXPAND) continue;
        const bool match = (flags & GC_SORTW_SPECIAL) ? P == 0 : gc_be16(R) == P;
        if (match) chars[written++] = GCUChar(p * 256 + b);
      }
    }
    uint16_t n = 0;
    for (uint32_t i = 0; i < t.combinations(); ++i) {
      const uint8_t* C = t.record(GC_SORT_OFF_COMBINATIONS, i, GC_SORT_COMBINATION_SIZE);
      if (!C) break;
      const bool match = (gc_be16(C + 8) & GC_SORTW_SPECIAL) ? P == 0 : gc_be16(C + 4) == P;
      if (!match) continue;
      if (combos) {
        combos[3 * n] = gc_be16(C);
        combos[3 * n + 1] = gc_be16(C + 2);
        combos[3 * n + 2] = 0;
      }
      ++n;
    }
    if (comboCount) *comboCount = n;
  } else if (r == 2) {
    for (uint32_t i = 0; i < t.expansions(); ++i) {
      const uint8_t* X = t.record(GC_SORT_OFF_EXPANSIONS, i, GC_SORT_EXPANSION_SIZE);
      if (!X) break;
      if (gc_be16(X + 2) == e1.primary && gc_be16(X + 6) == e2.primary) chars[written++] = gc_be16(X);
    }
  }
  return written;
}
