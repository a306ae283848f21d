// Comparison of two strings in a locale's collation order.
#include "mbtext/gc_coll.h"

#include <cstring>

#include "mbtext/gc_coll_int.h"
#include "mbtext/gc_cp_int.h"
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

// Result of a comparison that gave up (see incremental's limits).
constexpr int kUndecided = 2;

// A side with a limit (above 0) is given only the first limit bytes of its
// text: it is never read where the rest of the text could change what is
// read (a character and a combination's second one before the limit), and
// when deciding would need more, the comparison gives up with kUndecided.
int incremental(GCLocale* loc, Side* a, Side* b, int32_t limitA = 0, int32_t limitB = 0) {
  bool fast = true;
  uint32_t k = 0; // primary weights found equal so far
  const uint8_t* const startA = a->rd.p;
  const uint8_t* const startB = b->rd.p;
  auto room = [](const Side* s, const uint8_t* start, int32_t limit) {
    return limit <= 0 || (s->rd.p - start) + 8 <= limit;
  };
  while (fast) {
    while (fast && !a->done() && a->lv.end1 <= k) {
      if (!room(a, startA, limitA)) return kUndecided;
      fetch(a, &fast);
    }
    while (fast && !b->done() && b->lv.end1 <= k) {
      if (!room(b, startB, limitB)) return kUndecided;
      fetch(b, &fast);
    }
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
  if (limitA > 0 || limitB > 0) return kUndecided;
  while (!a->done()) fetch(a, &fast);
  while (!b->done()) fetch(b, &fast);
  return gcSortLevelsCompare(loc->sort, &a->lv, &b->lv);
}

// One text read for its primary weights: through the sort's own table for
// U+0000-U+00FF, through the sort's records beyond (see primariesDecide).
struct PrimaryStream {
  const GCLocale* loc;
  const uint8_t* p;
  const uint8_t* start;
  const uint8_t* end;    // null: up to the NUL
  const uint8_t* toUcs2; // a single-byte page's UCS-2 table (null: read by gcCollChar)
  const GCSortBytes* bytes;
  uint16_t pending = 0;  // second primary weight of an expansion
  const uint8_t* last;   // where the last element read began

  // The next character's UCS-2 value and length; 0 at the end of the text.
  int readChar(GCUChar* c) {
    if (end ? p >= end : *p == 0) return 0;
    if (toUcs2) {
      *c = gc_be16(toUcs2 + 2 * *p);
      return 1;
    }
    // Up to four bytes, none past the end or the NUL.
    int32_t avail = end ? int32_t(end - p < 4 ? end - p : 4) : int32_t(strnlen(reinterpret_cast<const char*>(p), 4));
    int n = 0;
    *c = gcCollChar(loc, p, avail, &n);
    return n;
  }

  // The next non-zero primary weight, 0 at the end of the text, -1 where
  // this reading cannot tell (a character that may start a combination or
  // is cut, a primary weight not simply appended).
  int32_t next() {
    if (pending) {
      const uint16_t w = pending;
      pending = 0;
      return w;
    }
    for (;;) {
      GCUChar c = 0;
      const int n = readChar(&c);
      if (n == 0) return (end ? p >= end : *p == 0) ? 0 : -1;
      GCSortBytes::Entry e;
      if (c < 256) {
        e = bytes->entry[c];
      } else {
        GCSortElem w1, w2;
        uint8_t order = 0;
        e.result = int8_t(gcSortWeights(loc->sort, c, &w1, &w2, &order));
        e.order = order;
        e.combines = 1;
        e.e1 = {w1.primary, w1.special, w1.secondary, w1.tertiary};
        e.e2 = {w2.primary, w2.special, w2.secondary, w2.tertiary};
      }
      if (e.combines && bytes->combinations > 0) return -1;
      last = p;
      p += n;
      if (e.result == 0) continue;
      const bool appended = (e.order & GC_ORDER_PRIMARY) != 0;
      const uint16_t p1 = e.e1.primary, p2 = e.result == 2 ? e.e2.primary : 0;
      if ((p1 || p2) && !appended) return -1;
      if (p1) {
        pending = p2;
        return p1;
      }
      if (p2) return p2;
    }
  }
};

// Texts decided by their primary weights: while every element read is
// simply appended at level 1 the primary weights read are final, so the
// first that differ decide (incremental's fast path, the weights of
// U+0000-U+00FF from the sort's table); texts of the same bytes are equal.
// kUndecided when the weights run out equal on different bytes or this
// reading cannot tell. A NUL-terminated text read past the first view's
// reach is measured, as the whole comparison measures it.
int primariesDecide(GCLocale* loc, const GCSortBytes* bytes, const char* s1, int32_t len1, const char* s2,
                    int32_t len2, int32_t view) {
  const uint8_t* toUcs2 =
      (loc->flags & GC_LF_SINGLEBYTE) ? gcCpMain(loc->codepage) + GC_CPM_TOUCS2 : nullptr;
  auto stream = [&](const char* s, int32_t len) {
    const auto* p = reinterpret_cast<const uint8_t*>(s);
    return PrimaryStream{loc, p, p, len >= 0 ? p + len : nullptr, toUcs2, bytes, 0, p};
  };
  PrimaryStream a = stream(s1, len1), b = stream(s2, len2);
  int r = 0;
  for (;;) {
    const int32_t x = a.next(), y = b.next();
    if (x < 0 || y < 0) return kUndecided;
    if (x != y) {
      r = x < y ? -1 : 1;
      break;
    }
    if (x == 0) {
      const size_t n = size_t(a.p - a.start);
      if (n != size_t(b.p - b.start) || std::memcmp(a.start, b.start, n) != 0) return kUndecided;
      break;  // the same bytes
    }
  }
  const bool far = a.last - a.start > view - 8 || b.last - b.start > view - 8;
  if (far && ((len1 < 0 && gcTextLen(s1) < 0) || (len2 < 0 && gcTextLen(s2) < 0))) {
    loc->status = GC_E_ARG;
    return 0;
  }
  return r;
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
  constexpr int32_t kView = 64;
  const GCSortBytes* bytes = gcSortBytes(loc->sort);
  if (flags == 0 && bytes && !(loc->flags & GC_LF_SHIFT) && s1 && s2) {
    const int r = primariesDecide(loc, bytes, s1, len1, s2, len2, kView);
    if (r != kUndecided) return r;
  }
  if (flags == 0) {
    // First from the texts' first kView bytes with the levels on the
    // stack: most comparisons are decided there, without measuring the
    // texts or allocating levels for them whole.
    auto view = [](const char* s, int32_t len, bool* whole) {
      int32_t n = len >= 0 ? (len < kView ? len : kView) : int32_t(strnlen(s, size_t(kView)));
      *whole = len >= 0 ? len <= kView : n < kView;
      return n;
    };
    bool whole1, whole2;
    const int32_t v1 = view(s1, len1, &whole1), v2 = view(s2, len2, &whole2);
    uint8_t stack[2 * (16 * kView + 3)];
    Side a, b;
    a.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s1), v1, 0, false, 0, nullptr, bytes};
    b.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s2), v2, 0, false, 0, nullptr, bytes};
    gcSortLevelsInit(&a.lv, stack, uint32_t(v1));
    gcSortLevelsInit(&b.lv, stack + gcSortLevelsSize(uint64_t(v1)), uint32_t(v2));
    // Texts found equal go the whole way, which is where a failed
    // allocation is seen.
    int r = incremental(loc, &a, &b, whole1 ? 0 : v1, whole2 ? 0 : v2);
    if (r != kUndecided && r != 0) return r;
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
  GCCollMemo memo; // for both texts
  a.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s1), len1, 0, false, 0, bytes ? nullptr : &memo, bytes};
  b.rd = GCCollReader{loc, reinterpret_cast<const uint8_t*>(s2), len2, 0, false, 0, bytes ? nullptr : &memo, bytes};
  gcSortLevelsInit(&a.lv, block, uint32_t(len1));
  gcSortLevelsInit(&b.lv, block + size1, uint32_t(len2));
  int r = incremental(loc, &a, &b);
  gcFree(block);
  return r;
}
