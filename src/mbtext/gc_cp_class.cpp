// Character classes, case conversion and width forms inside a code page.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_mem_be_int.h"

namespace {

const uint8_t kNoClass[GC_CP_CREC_SIZE] = {};

// Class record of the character at p through the class trie, reading at most
// len bytes (negative: as many as the trie asks for, up to the NUL).
const uint8_t* class_lookup(const GCObj* cp, const uint8_t* p, int len) {
  const uint8_t* m = gcCpMain(cp);
  uint32_t msize = gcCpMainSize(cp);
  uint32_t noff = gc_be16(m + GC_CPM_OFF_CTRIE);
  uint32_t roff = gc_be16(m + GC_CPM_OFF_CREC);
  if (noff == 0 || roff == 0) return kNoClass;
  uint32_t node = 0;
  for (int depth = 0; (len < 0 || depth < len) && depth < 4; ++depth) {
    if (len < 0 && depth > 0 && p[depth] == 0) return kNoClass; // the text ended
    uint64_t at = noff + uint64_t(node) * GC_CP_CNODE_SIZE;
    if (!gc_in(msize, at, GC_CP_CNODE_SIZE)) return kNoClass;
    const uint8_t* n = m + at;
    uint32_t idx = uint32_t(gc_be16(n + 2)) + (p[depth] & n[1]);
    if (n[0] != 0) {
      uint64_t r = roff + uint64_t(idx) * GC_CP_CREC_SIZE;
      if (!gc_in(msize, r, GC_CP_CREC_SIZE)) return kNoClass;
      return m + r;
    }
    node = idx;
  }
  return kNoClass;
}

// Width pair table: (half, full) pairs and their count, bounds-checked.
uint32_t pair_table(const GCObj* cp, const uint8_t** pairs) {
  const uint8_t* m = gcCpMain(cp);
  uint32_t msize = gcCpMainSize(cp);
  uint32_t off = gc_be16(m + GC_CPM_OFF_PAIRS);
  uint32_t count = gc_be16(m + GC_CPM_PAIRCOUNT);
  if (off == 0 || count == 0 || !gc_in(msize, off, uint64_t(count) * 8)) return 0;
  *pairs = m + off;
  return count;
}

} // namespace

uint32_t gcCtypeClass(const uint8_t* rec) { return gc_be32(rec); }
int32_t gcCtypeDelta(const uint8_t* rec) { return int32_t(gc_be32(rec + 4)); }

const uint8_t* GCGetMbCtype(const GCObj* cp, const char* s) {
  if (!s) return kNoClass;
  return class_lookup(cp, reinterpret_cast<const uint8_t*>(s), -1);
}

const uint8_t* GCGetMbCtypeW(const GCObj* cp, GCPacked value) {
  char buf[4];
  int n = GCWToMb(buf, value);
  return class_lookup(cp, reinterpret_cast<const uint8_t*>(buf), n);
}

int GCCpMbCaseConv(const GCObj* cp, const char* src, char* out, uint32_t mask) {
  if (!src || !out) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(src);
  int n = gcCpCharLen(cp, p, -1);
  if (n == 0) return 0;
  const uint8_t* rec = class_lookup(cp, p, n);
  if (gcCtypeClass(rec) & mask) return GCWToMb(out, GCMbToW(cp, src) + uint32_t(gcCtypeDelta(rec)));
  std::memcpy(out, src, size_t(n));
  return n;
}

GCPacked GCCpMbCaseConvW(const GCObj* cp, GCPacked value, uint32_t mask) {
  const uint8_t* rec = GCGetMbCtypeW(cp, value);
  if (gcCtypeClass(rec) & mask) return value + uint32_t(gcCtypeDelta(rec));
  return value;
}

int GCCpMbCaseConvS(const GCObj* cp, const char* src, char* out, uint32_t mask) {
  if (!src || !out) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(src);
  int n = gcCpMaxLen(cp);
  for (int i = 0; i < n; ++i)
    if (p[i] == 0) { // a double-byte character cut by the end of the text
      n = i;
      break;
    }
  if (n == 0) return 0;
  const uint8_t* rec = class_lookup(cp, p, n);
  if (n == gcCpMaxLen(cp) && (gcCtypeClass(rec) & mask)) {
    GCPacked v = GCMbToWS(cp, src, 1) + uint32_t(gcCtypeDelta(rec));
    return GCWToMb(out, v);
  }
  std::memcpy(out, src, size_t(n));
  return n;
}

GCPacked GCCpMbHalfToFullW(const GCObj* cp, GCPacked half) {
  const uint8_t* pairs = nullptr;
  uint32_t count = pair_table(cp, &pairs);
  if (count == 0) return 0;
  uint32_t low = 0, high = count - 1;
  while (low < high) {
    uint32_t mid = (low + high) / 2;
    if (half <= gc_be32(pairs + 8 * mid)) high = mid;
    else low = mid + 1;
  }
  return gc_be32(pairs + 8 * high) == half ? gc_be32(pairs + 8 * high + 4) : 0;
}

GCPacked GCCpFullToHalfW(const GCObj* cp, GCPacked full) {
  const uint8_t* m = gcCpMain(cp);
  uint32_t msize = gcCpMainSize(cp);
  uint32_t off = gc_be16(m + GC_CPM_OFF_FULLW);
  if (off != 0 && gc_in(msize, off, 256 * 4)) {
    for (uint32_t b = 0; b < 256; ++b)
      if (gc_be32(m + off + 4 * b) == full) return b;
  }
  const uint8_t* pairs = nullptr;
  uint32_t count = pair_table(cp, &pairs);
  for (uint32_t i = 0; i < count; ++i)
    if (gc_be32(pairs + 8 * i + 4) == full) return gc_be32(pairs + 8 * i);
  return 0;
}
