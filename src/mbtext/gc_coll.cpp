// Weight levels and the reading of collation elements.
#include "mbtext/gc_coll.h"

#include <algorithm>
#include <cstring>

#include "mbtext/gc_coll_int.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_sort_int.h"

void gcSortLevelsInit(GCSortLevels* lv, uint8_t* base, uint32_t n) {
  const uint64_t n64 = n;
  lv->l1 = base;
  lv->l2 = base + 4 * n64 + 1;
  lv->l3 = base + 6 * n64 + 2;
  lv->l4 = base + 8 * n64 + 3;
  lv->ins1 = lv->end1 = lv->ins2 = lv->end2 = 0;
  lv->ins3 = lv->end3 = lv->ins4 = lv->end4 = 0;
}

namespace {

// Reverses the entries [from, to) of a level.
void reverse(uint8_t* list, uint32_t from, uint32_t to, size_t width) {
  uint8_t tmp[4];
  while (to > from + 1) {
    --to;
    uint8_t* a = list + size_t(from) * width;
    uint8_t* b = list + size_t(to) * width;
    std::memcpy(tmp, a, width);
    std::memcpy(a, b, width);
    std::memcpy(b, tmp, width);
    ++from;
  }
}

// Places one entry of width bytes into a level. Entries for the insertion
// point are kept in arrival order after it and reversed in one go when the
// run ends (an appended entry, or the end of the string), which gives the
// same list as inserting each at the insertion point, in linear time.
template <size_t width>
void place(uint8_t* list, uint32_t* ins, uint32_t* end, const uint8_t* entry, bool append) {
  if (append && *end > *ins + 1) reverse(list, *ins, *end, width);
  std::memcpy(list + size_t(*end) * width, entry, width);
  ++*end;
  if (append) *ins = *end;
}

} // namespace

void gcSortLevelsFinish(GCSortLevels* lv) {
  reverse(lv->l1, lv->ins1, lv->end1, 2);
  reverse(lv->l2, lv->ins2, lv->end2, 1);
  reverse(lv->l3, lv->ins3, lv->end3, 1);
  reverse(lv->l4, lv->ins4, lv->end4, 4);
  lv->ins1 = lv->end1;
  lv->ins2 = lv->end2;
  lv->ins3 = lv->end3;
  lv->ins4 = lv->end4;
}

void GCStrInsertWeights(GCSortLevels* lv, uint16_t primary, uint8_t secondary, uint8_t tertiary,
                        uint16_t special, uint16_t position, uint8_t order) {
  if (primary) {
    uint8_t e[2];
    gc_put16(e, primary);
    place<2>(lv->l1, &lv->ins1, &lv->end1, e, order & GC_ORDER_PRIMARY);
  }
  if (secondary) place<1>(lv->l2, &lv->ins2, &lv->end2, &secondary, order & GC_ORDER_SECONDARY);
  if (tertiary) place<1>(lv->l3, &lv->ins3, &lv->end3, &tertiary, order & GC_ORDER_TERTIARY);
  if (special) {
    uint8_t e[4];
    gc_put16(e, position);
    gc_put16(e + 2, special);
    place<4>(lv->l4, &lv->ins4, &lv->end4, e, order & GC_ORDER_SPECIAL);
  }
}

GCUChar gcCollChar(const GCLocale* loc, const uint8_t* p, int32_t avail, int* len) {
  *len = 0;
  if (avail <= 0) return 0;
  const GCObj* cp = loc->codepage;
  if (loc->flags & GC_LF_SINGLEBYTE) {
    *len = 1;
    return gcCpByteToUcs2(cp, p[0]);
  }
  int n = gcCpCharLen(cp, p, avail);
  if (n < 1) return 0;
  GCUChar u[2] = {0, 0};
  int used = 0;
  int units = gcCpToUcs2(cp, p, n, u, &used);
  *len = n;
  return units == 1 ? u[0] : GC_UCS2_INVALID;
}

namespace {

// gcCollChar with the reader's single-byte table when it has one.
inline GCUChar readChar(GCCollReader* r, const uint8_t* p, int32_t avail, int* len) {
  if (r->memo && (r->loc->flags & GC_LF_SINGLEBYTE) && avail > 0) {
    if (!r->memo->toUcs2) r->memo->toUcs2 = gcCpMain(r->loc->codepage) + GC_CPM_TOUCS2;
    *len = 1;
    return gc_be16(r->memo->toUcs2 + 2 * p[0]);
  }
  if (r->bytes && (r->loc->flags & GC_LF_SINGLEBYTE) && avail > 0) {
    if (!r->toUcs2) r->toUcs2 = gcCpMain(r->loc->codepage) + GC_CPM_TOUCS2;
    *len = 1;
    return gc_be16(r->toUcs2 + 2 * p[0]);
  }
  return gcCollChar(r->loc, p, avail, len);
}

// The element of c from an entry of a per-call memo or of the sort's own
// table: e1, e2 and order are set as gcSortWeights sets them.
template <class Entry>
inline int fromEntry(const Entry& m, GCSortElem* e1, GCSortElem* e2, uint8_t* order) {
  if (m.result >= 1) {
    *e1 = GCSortElem{m.e1.primary, m.e1.secondary, m.e1.tertiary, m.e1.special};
    *order = m.order;
  }
  if (m.result == 2) *e2 = GCSortElem{m.e2.primary, m.e2.secondary, m.e2.tertiary, m.e2.special};
  return m.result;
}

} // namespace

int gcCollNext(GCCollReader* r, GCSortElem* e1, GCSortElem* e2, uint8_t* order) {
  const GCObj* sort = r->loc->sort;
  GCUChar c;
  if (r->held) {
    c = r->look;
    r->held = false;
    r->remaining -= 1;
    ++r->position;
  } else {
    int n;
    c = readChar(r, r->p, r->remaining, &n);
    if (n < 1) {
      r->remaining = 0;
      return 0;
    }
    r->remaining -= n;
    r->p += n;
    ++r->position;
  }
  int combinations;
  if (r->bytes) {
    // Only a character that starts a combination looks at the next one.
    combinations = c < 256 && !r->bytes->entry[c].combines ? 0 : r->bytes->combinations;
  } else if (r->memo) {
    if (r->memo->combinations < 0) r->memo->combinations = gcSortCombinationCount(sort);
    combinations = r->memo->combinations;
  } else {
    combinations = r->remaining > 0 ? gcSortCombinationCount(sort) : 0;
  }
  if (r->remaining > 0 && combinations > 0) {
    int n;
    GCUChar next = readChar(r, r->p, r->remaining, &n);
    if (n > 0) {
      r->remaining -= n;
      r->p += n;
      if (gcSortCombination(sort, c, next, e1, order)) {
        ++r->position;
        return 1;
      }
      r->held = true;
      r->look = next;
      r->remaining += 1; // the held character keeps the text from looking finished
    }
  }
  if (r->bytes && c < 256) return fromEntry(r->bytes->entry[c], e1, e2, order);
  if (r->memo && c < 256) {
    GCCollMemo::Entry& m = r->memo->entry[c];
    if (!r->memo->known[c]) {
      GCSortElem w1, w2;
      uint8_t o = 0;
      m.result = int8_t(gcSortWeights(sort, c, &w1, &w2, &o));
      m.order = o;
      m.e1 = {w1.primary, w1.special, w1.secondary, w1.tertiary};
      m.e2 = {w2.primary, w2.special, w2.secondary, w2.tertiary};
      r->memo->known[c] = true;
    }
    return fromEntry(m, e1, e2, order);
  }
  return gcSortWeights(sort, c, e1, e2, order);
}

int GCStrGetNextWeight(GCLocale* locale, const char** p, int32_t* remaining, uint32_t* position,
                       uint16_t* primary, uint8_t* secondary, uint8_t* tertiary, uint16_t* special,
                       uint16_t* primary2, uint8_t* secondary2, uint8_t* tertiary2, uint16_t* special2,
                       uint8_t* order, GCUChar* look) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  GCCollReader r{loc, reinterpret_cast<const uint8_t*>(*p), *remaining, *position, *look != 0xFFFF,
                 *look};
  GCSortElem e1, e2;
  uint8_t ord = 0;
  int res = gcCollNext(&r, &e1, &e2, &ord);
  *p = reinterpret_cast<const char*>(r.p);
  *remaining = r.remaining;
  *position = r.position;
  *look = r.held ? r.look : 0xFFFF;
  if (res >= 1) {
    *primary = e1.primary;
    *secondary = e1.secondary;
    *tertiary = e1.tertiary;
    *special = e1.special;
    *order = ord;
  }
  if (res == 2) {
    *primary2 = e2.primary;
    *secondary2 = e2.secondary;
    *tertiary2 = e2.tertiary;
    *special2 = e2.special;
  }
  return res;
}

int gcSortBytesCompare(const uint8_t* a, size_t la, const uint8_t* b, size_t lb) {
  size_t m = std::min(la, lb);
  if (m > 0) {
    int r = std::memcmp(a, b, m);
    if (r != 0) return r < 0 ? -1 : 1;
  }
  return la < lb ? -1 : (la > lb ? 1 : 0);
}

namespace {

uint32_t trimmed(const uint8_t* list, uint32_t end, uint8_t def) {
  while (end > 0 && list[end - 1] == def) --end;
  return end;
}

} // namespace

int gcSortLevelsCompare(const GCObj* sort, GCSortLevels* a, GCSortLevels* b) {
  gcSortLevelsFinish(a);
  gcSortLevelsFinish(b);
  int r = gcSortBytesCompare(a->l1, 2 * size_t(a->end1), b->l1, 2 * size_t(b->end1));
  if (r) return r;
  const uint8_t ds = gcSortDefaultSecondary(sort), dt = gcSortDefaultTertiary(sort);
  const uint32_t a2 = trimmed(a->l2, a->end2, ds), b2 = trimmed(b->l2, b->end2, ds);
  if ((r = gcSortBytesCompare(a->l2, a2, b->l2, b2))) return r;
  const uint32_t a3 = trimmed(a->l3, a->end3, dt), b3 = trimmed(b->l3, b->end3, dt);
  if ((r = gcSortBytesCompare(a->l3, a3, b->l3, b3))) return r;
  const bool bare = a->end1 == 0 && a2 == 0 && a3 == 0 && b->end1 == 0 && b2 == 0 && b3 == 0;
  if (!bare) return gcSortBytesCompare(a->l4, 4 * size_t(a->end4), b->l4, 4 * size_t(b->end4));
  // Only special weights: compared without their positions.
  for (uint32_t i = 0; i < a->end4 && i < b->end4; ++i) {
    uint16_t x = gc_be16(a->l4 + 4 * size_t(i) + 2), y = gc_be16(b->l4 + 4 * size_t(i) + 2);
    if (x != y) return x < y ? -1 : 1;
  }
  return a->end4 < b->end4 ? -1 : (a->end4 > b->end4 ? 1 : 0);
}
