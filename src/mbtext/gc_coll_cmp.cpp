// Comparison of two strings in a locale's collation order.
#include "mbtext/gc_coll.h"
#include "mbtext/gc_coll_int.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_key_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_str_int.h"
#include "mbtext/gc_types_int.h"

namespace {

int byValue(const char* a, int32_t la, const char* b, int32_t lb) {
  return gcSortBytesCompare(reinterpret_cast<const uint8_t*>(a), size_t(la), reinterpret_cast<const uint8_t*>(b),
                            size_t(lb));
}

// One string of an incremental comparison.
struct Side {
  GCCollReader rd;
  GCSortLevels lv;
  bool pending = false; // second element of an expansion still to be placed
  GCSortElem second;
  uint8_t secondOrder = 0;
  uint16_t secondPos = 0;

  bool done() const { return !pending && rd.remaining <= 0; }
};

// Places the next element of s; turns the fast path off at a primary weight
// that is not simply appended.
void fetch(Side* s, bool* fast) {
  GCSortElem e, e2;
  uint8_t order = 0;
  uint16_t pos;
  if (s->pending) {
    s->pending = false;
    e = s->second;
    order = s->secondOrder;
    pos = s->secondPos;
  } else {
    int r = gcCollNext(&s->rd, &e, &e2, &order);
    if (r == 0) return;
    pos = gcSortPosition(s->rd.position);
    if (r == 2) {
      s->pending = true;
      s->second = e2;
      s->secondOrder = order;
      s->secondPos = pos;
    }
  }
  if (e.primary != 0 && !(order & GC_ORDER_PRIMARY)) *fast = false;
  GCStrInsertWeights(&s->lv, e.primary, e.secondary, e.tertiary, e.special, pos, order);
}

int incremental(GCLocale* loc, Side* a, Side* b) {
  bool fast = true;
  uint32_t k = 0; // primary weights found equal so far
  while (fast) {
    while (fast && !a->done() && a->lv.end1 <= k) fetch(a, &fast);
    while (fast && !b->done() && b->lv.end1 <= k) fetch(b, &fast);
    if (!fast) break;
    // While only appended, the primary weights found so far are final.
    while (a->lv.end1 > k && b->lv.end1 > k) {
      uint16_t pa = gc_be16(a->lv.l1 + 2 * size_t(k)), pb = gc_be16(b->lv.l1 + 2 * size_t(k));
      if (pa != pb) return pa < pb ? -1 : 1;
      ++k;
    }
    if (a->done() && a->lv.end1 <= k && b->lv.end1 > k) return -1;
    if (b->done() && b->lv.end1 <= k && a->lv.end1 > k) return 1;
    if (a->done() && b->done()) break;
  }
  while (!a->done()) fetch(a, &fast);
  while (!b->done()) fetch(b, &fast);
  return gcSortLevelsCompare(loc->sort, &a->lv, &b->lv);
}

} // namespace

int GCStrcoll(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
              uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  gcStrPairToBytes(loc, s1, &len1, s2, &len2, &flags);
  if (!loc->sort || (loc->flags & GC_LF_NOSORT)) {
    if (flags == GC_COLL_IWIDTH) flags = 0;
    return GCStrcmp(loc, s1, len1, s2, len2, flags);
  }
  if (flags != 0 && flags != GC_COLL_ICASE && flags != GC_COLL_IWIDTH) {
    loc->status = GC_E_ARG;
    return 0;
  }
  if ((len1 < 0 && (len1 = gcTextLen(s1)) < 0) || (len2 < 0 && (len2 = gcTextLen(s2)) < 0)) {
    loc->status = GC_E_ARG;
    return 0;
  }

  if (flags != 0) {
    int32_t k1 = 0, k2 = 0;
    uint8_t* key1 = gcKeyOf(loc, s1, len1, flags, &k1);
    uint8_t* key2 = key1 ? gcKeyOf(loc, s2, len2, flags, &k2) : nullptr;
    int r;
    if (!key1 || !key2) {
      loc->status = GC_E_NOMEM;
      r = byValue(s1, len1, s2, len2);
    } else {
      r = gcSortBytesCompare(key1, size_t(k1), key2, size_t(k2));
    }
    gcFree(key1);
    gcFree(key2);
    return r;
  }

  const uint64_t size1 = gcSortLevelsSize(uint64_t(len1)), size2 = gcSortLevelsSize(uint64_t(len2));
  uint8_t* block = size1 + size2 <= 0xFFFFFFFFu ? static_cast<uint8_t*>(gcAlloc(uint32_t(size1 + size2)))
                                                : nullptr;
  if (!block) {
    loc->status = GC_E_NOMEM;
    return byValue(s1, len1, s2, len2);
  }
  Side a, b;
  a.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s1), len1, 0, false, 0};
  b.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s2), len2, 0, false, 0};
  gcSortLevelsInit(&a.lv, block, uint32_t(len1));
  gcSortLevelsInit(&b.lv, block + size1, uint32_t(len2));
  int r = incremental(loc, &a, &b);
  gcFree(block);
  return r;
}
