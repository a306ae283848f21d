// Validation of loaded object data: every offset, count, trie index and text
// must lie within its section before the data is used.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_sortv1.h"
#include "mbtext/gc_types_int.h"

namespace {

// A NUL-terminated UCS-2 text at off that ends before limit.
bool text_ok(const uint8_t* d, uint32_t limit, uint32_t off) {
  for (uint64_t at = off; at + 2 <= limit; at += 2)
    if (gc_be16(d + at) == 0) return true;
  return false;
}

// Largest (b AND mask) over the bytes b in [lo, hi]; -1 when the range is empty.
int max_masked(uint8_t lo, uint8_t hi, uint8_t mask) {
  int m = -1;
  for (int b = lo; b <= hi; ++b)
    if ((b & mask) > m) m = b & mask;
  return m;
}

// What a trie walk learns of one node.
enum class TrieNode { Bad, Leaf, Inner };

// Walks a trie of `nodes` nodes from node 0. check(n, &first, &last) checks
// node n: Bad fails the walk, Leaf ends the path (a node of values, or one
// that no byte reaches), Inner has the children first..last, which must be
// nodes of the trie. No character is longer than 4 bytes, so nodes deeper
// than that are not followed; a node already seen at its depth or above is
// not walked again. GC_OK, GC_E_FILE_READ for a bad trie, or GC_E_NOMEM when
// the work lists (through the library's allocation callback) cannot be had.
template <class Check>
uint32_t trie_check(uint32_t nodes, Check check) {
  // A node enters the work list only when its depth falls (from 0xFF to at
  // most 3), so at most four times.
  const uint64_t slots = 4 * uint64_t(nodes) + 1;
  if (slots * sizeof(uint32_t) > UINT32_MAX) return GC_E_NOMEM;
  auto* depth = static_cast<uint8_t*>(gcAlloc(nodes ? nodes : 1));
  auto* work = static_cast<uint32_t*>(depth ? gcAlloc(uint32_t(slots * sizeof(uint32_t))) : nullptr);
  if (!work) {
    gcFree(depth);
    return GC_E_NOMEM;
  }
  std::memset(depth, 0xFF, nodes);
  uint64_t top = 0;
  work[top++] = 0;
  depth[0] = 0;
  uint32_t result = GC_OK;
  while (top > 0 && result == GC_OK) {
    uint32_t n = work[--top];
    uint64_t first = 0, last = 0;
    const TrieNode kind = check(n, &first, &last);
    if (kind == TrieNode::Bad || (kind == TrieNode::Inner && last >= nodes)) {
      result = GC_E_FILE_READ;
      break;
    }
    if (kind == TrieNode::Leaf || depth[n] >= 3) continue;
    for (uint64_t c = first; c <= last; ++c) {
      if (depth[c] != 0xFF && depth[c] <= depth[n] + 1) continue; // seen at this depth or above
      depth[c] = uint8_t(depth[n] + 1);
      work[top++] = uint32_t(c);
    }
  }
  gcFree(work);
  gcFree(depth);
  return result;
}

uint32_t mb_trie_check(const GCObj* cp) {
  const uint8_t* t = cp->sect[1];
  uint32_t size = cp->sect_size[1];
  if (!t) return GC_OK;
  uint32_t valoff = gc_be16(gcObjSection(cp) + GC_CPM_OFF_VALUES);
  if (valoff > size) return GC_E_FILE_READ;
  uint32_t nodes = valoff / GC_CP_NODE_SIZE;
  if (nodes == 0) return GC_OK;
  return trie_check(nodes, [&](uint32_t n, uint64_t* first, uint64_t* last) {
    const uint8_t* e = t + GC_CP_NODE_SIZE * n;
    int m = max_masked(e[2], e[3], e[1]);
    if (m < 0) return TrieNode::Leaf;
    *first = gc_be16(e + 4);
    *last = *first + uint64_t(m);
    if (e[0] != 0) return uint64_t(valoff) + 2 * (*last) + 2 > size ? TrieNode::Bad : TrieNode::Leaf;
    return TrieNode::Inner;
  });
}

uint32_t class_trie_check(const uint8_t* mt, uint32_t size) {
  uint32_t noff = gc_be16(mt + GC_CPM_OFF_CTRIE);
  uint32_t roff = gc_be16(mt + GC_CPM_OFF_CREC);
  if (noff == 0 && roff == 0) return GC_OK;
  if (noff == 0 || roff == 0 || !gc_in(size, noff, GC_CP_CNODE_SIZE) || roff > size) return GC_E_FILE_READ;
  uint32_t nodes = (size - noff) / GC_CP_CNODE_SIZE;
  return trie_check(nodes, [&](uint32_t n, uint64_t* first, uint64_t* last) {
    const uint8_t* e = mt + noff + GC_CP_CNODE_SIZE * n;
    *first = gc_be16(e + 2);
    *last = *first + e[1];
    if (e[0] != 0) return roff + (*last + 1) * GC_CP_CREC_SIZE > size ? TrieNode::Bad : TrieNode::Leaf;
    return TrieNode::Inner;
  });
}

bool pages_ok(const GCObj* cp) {
  const uint8_t* mt = gcObjSection(cp);
  uint32_t ls = cp->sect[2] ? cp->sect_size[2] : 0;
  uint32_t hs = cp->sect[3] ? cp->sect_size[3] : 0;
  for (int p = 0; p < 256; ++p) {
    const uint8_t* r = mt + GC_CPM_PAGES + 8 * p;
    int m = max_masked(r[2], r[3], r[1]);
    if (m < 0) continue;
    uint64_t lo = gc_be16(r + 4), hi = gc_be16(r + 6), i = uint64_t(m);
    bool ok;
    switch (r[0]) {
      case 0: ok = lo + i + 1 <= ls; break;
      case 1: ok = lo + 2 * i + 2 <= ls; break;
      case 2: ok = lo + 2 * i + 2 <= ls && hi + i + 1 <= hs; break;
      case 3: ok = lo + 2 * i + 2 <= ls && hi + 2 * i + 2 <= hs; break;
      case 4: ok = lo + i + 1 <= ls && hi + i + 1 <= hs; break;
      default: ok = false; break; // no such record type
    }
    if (!ok) return false;
  }
  return true;
}

} // namespace

uint32_t gcLanguageValidate(const uint8_t* d, uint32_t size) {
  if (!d || size < GC_LANG_HDR_SIZE) return GC_E_FILE_READ;
  for (int i = 0; i < GC_LANG_TEXT_COUNT; ++i)
    if (!text_ok(d, size, gc_be16(d + GC_LANG_OFFSETS + 2 * i))) return GC_E_FILE_READ;
  for (int t = 0; t < 2; ++t) {
    uint64_t off = gc_be16(d + GC_LANG_OFFSETS + 2 * (GC_LANG_TABLE_UPPER + t));
    uint64_t count = gc_be16(d + GC_LANG_UPPER_COUNT + 2 * t);
    if (!gc_in(size, off, count * GC_LANG_SPECIAL_SIZE)) return GC_E_FILE_READ;
  }
  return GC_OK;
}

uint32_t gcTerritoryValidate(const uint8_t* d, uint32_t size) {
  if (!d || size < GC_TERR_HDR_SIZE) return GC_E_FILE_READ;
  for (int i = GC_TERR_ABBREV; i <= GC_TERR_NAME; ++i)
    if (!text_ok(d, size, gc_be16(d + GC_TERR_OFFSETS + 2 * i))) return GC_E_FILE_READ;
  // Texts 2..10 lie one after the other; each ends before the next begins.
  for (int i = GC_TERR_NAME + 1; i < GC_TERR_TEXT_COUNT; ++i) {
    uint32_t own = gc_be16(d + GC_TERR_OFFSETS + 2 * i), next = gc_be16(d + GC_TERR_OFFSETS + 2 * (i + 1));
    if (next < own + 2 || (next - own) % 2 != 0 || next > size) return GC_E_FILE_READ;
    if (!text_ok(d, next, own)) return GC_E_FILE_READ;
  }
  return GC_OK;
}

uint32_t gcSortValidate(const uint8_t* d, uint32_t size) {
  if (!d || size < GC_SORT_HDR_SIZE) return GC_E_FILE_READ;
  uint64_t woff = gc_be32(d + GC_SORT_OFF_WEIGHTS);
  uint64_t eoff = gc_be32(d + GC_SORT_OFF_EXPANSIONS);
  uint64_t coff = gc_be32(d + GC_SORT_OFF_COMBINATIONS);
  if (woff > size || eoff > size || coff > size) return GC_E_FILE_READ;
  if (!gc_in(size, eoff, uint64_t(gc_be16(d + 2)) * GC_SORT_EXPANSION_SIZE)) return GC_E_FILE_READ;
  if (!gc_in(size, coff, uint64_t(gc_be16(d + 4)) * GC_SORT_COMBINATION_SIZE)) return GC_E_FILE_READ;
  for (int p = 0; p < 256; ++p) {
    const uint8_t* e = d + GC_SORT_PAGES + 8 * p;
    if (e[0] & (GC_SORTP_NONE | GC_SORTP_ALGO | GC_SORTP_ALGO_SPECIAL)) continue;
    uint64_t base = gc_be32(e + 4);
    if (!gc_in(size, woff + base * GC_SORT_WEIGHT_SIZE, 256ull * GC_SORT_WEIGHT_SIZE))
      return GC_E_FILE_READ;
  }
  return GC_OK;
}

uint32_t gcCodePageValidate(const GCObj* cp) {
  if (!cp || !gcObjSection(cp) || cp->sect_size[0] < GC_CP_MAIN_SIZE) return GC_E_FILE_READ;
  const uint8_t* mt = gcObjSection(cp);
  uint32_t size = cp->sect_size[0];
  uint8_t maxlen = mt[GC_CPM_MAXLEN];
  if (maxlen < 1 || maxlen > 4) return GC_E_FILE_READ;
  for (int b = 0; b < 256; ++b)
    if (mt[GC_CPM_LEADLEN + b] > 4) return GC_E_FILE_READ;
  if (gc_be16(mt + GC_CPM_FLAGS) & GC_CPF_SHIFT) {
    uint8_t so = mt[GC_CPM_SO], si = mt[GC_CPM_SI];
    if (maxlen < 2 || so == 0 || si == 0 || so == si) return GC_E_FILE_READ;
  }
  uint32_t fw = gc_be16(mt + GC_CPM_OFF_FULLW);
  if (fw != 0 && !gc_in(size, fw, 256 * 4)) return GC_E_FILE_READ;
  uint32_t pairs = gc_be16(mt + GC_CPM_PAIRCOUNT);
  uint32_t poff = gc_be16(mt + GC_CPM_OFF_PAIRS);
  if (pairs != 0 && poff != 0 && !gc_in(size, poff, uint64_t(pairs) * 8)) return GC_E_FILE_READ;
  if (uint32_t st = class_trie_check(mt, size); st != GC_OK) return st;
  if (uint32_t st = mb_trie_check(cp); st != GC_OK) return st;
  return pages_ok(cp) ? GC_OK : GC_E_FILE_READ;
}

uint32_t gcObjValidate(const GCObj* e) {
  if (!e || !gcObjSection(e)) return GC_E_FILE_READ;
  switch (e->cls) {
    case GC_CLASS_LANGUAGE: return gcLanguageValidate(gcObjSection(e), e->sect_size[0]);
    case GC_CLASS_TERRITORY: return gcTerritoryValidate(gcObjSection(e), e->sect_size[0]);
    case GC_CLASS_CODEPAGE: return gcCodePageValidate(e);
    case GC_CLASS_SORT: return gcSortValidate(gcObjSection(e), e->sect_size[0]);
    default: return GC_E_FILE_READ;
  }
}
