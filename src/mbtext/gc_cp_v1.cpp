// Upgrade of version-1 code-page main tables (and their tries) on load.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_types_int.h"

uint8_t* GCCpV1toV2(const uint8_t* old, uint32_t old_size, const uint8_t* old_trie,
                    uint32_t old_trie_size, uint8_t** new_trie, uint32_t* new_main_size,
                    uint32_t* new_trie_size) {
  *new_trie = nullptr;
  *new_trie_size = 0;
  *new_main_size = 0;
  if (!gcCpV1WellFormed(old, old_size, old_trie, old_trie_size)) return nullptr;
  bool multi = old[GC_CPM_MAXLEN] >= 2;
  uint32_t var_at = gc_be16(old + GC_CPM1_OFFSETS);
  uint32_t var_len = multi ? old_size - var_at : 0;
  uint32_t size = GC_CP_MAIN_SIZE + var_len;
  auto* m = static_cast<uint8_t*>(gcAlloc(size));
  if (!m) return nullptr;
  std::memset(m, 0, GC_CP_MAIN_SIZE);
  std::memcpy(m, old, 8); // bytes 0-5 and the pair count
  m[GC_CPM_SO] = 0;
  m[GC_CPM_SI] = 0;
  std::memcpy(m + GC_CPM_LEADLEN, old + GC_CPM1_LEADLEN, 3 * 256);
  std::memcpy(m + GC_CPM_TOUCS2, old + GC_CPM1_TOUCS2, 512);
  std::memcpy(m + GC_CPM_CLASS, old + GC_CPM1_CLASS, 1024);
  std::memcpy(m + GC_CPM_PAGES, old + GC_CPM1_PAGES, 2048);
  std::memcpy(m + GC_CPM_FLAGS, old + GC_CPM1_FLAGS, 2);
  if (!multi) {
    *new_main_size = size;
    return m;
  }
  // The variable part moves to the end of the new fixed part.
  uint32_t dist = GC_CP_MAIN_SIZE - var_at; // modulo 2^16 below
  gc_put16(m + GC_CPM_OFF_FULLW, uint16_t(GC_CP_MAIN_SIZE));
  for (int k = 1; k < 4; ++k)
    gc_put16(m + GC_CPM_OFF_FULLW + 2 * k, uint16_t(gc_be16(old + GC_CPM1_OFFSETS + 2 * k) + dist));
  std::memcpy(m + GC_CP_MAIN_SIZE, old + var_at, var_len);
  if (old_trie) {
    uint32_t valoff = gc_be16(old + GC_CPM1_VALUES);
    uint32_t nodes = valoff / GC_CP_NODE1_SIZE;
    uint32_t node_bytes = (nodes * GC_CP_NODE_SIZE + 3) & ~3u; // fits the 16-bit offset (checked)
    uint32_t values = old_trie_size - valoff;
    uint32_t tsize = node_bytes + values;
    auto* t = static_cast<uint8_t*>(gcAlloc(tsize > 0 ? tsize : 1));
    if (!t) {
      gcFree(m);
      return nullptr;
    }
    std::memset(t, 0, node_bytes);
    for (uint32_t i = 0; i < nodes; ++i) {
      const uint8_t* o = old_trie + GC_CP_NODE1_SIZE * i;
      uint8_t* n = t + GC_CP_NODE_SIZE * i;
      n[0] = o[0];
      n[1] = o[1];
      n[2] = 0x00;
      n[3] = 0xFF;
      n[4] = o[2];
      n[5] = o[3];
    }
    std::memcpy(t + node_bytes, old_trie + valoff, values);
    gc_put16(m + GC_CPM_OFF_VALUES, uint16_t(node_bytes));
    *new_trie = t;
    *new_trie_size = tsize;
  }
  *new_main_size = size;
  return m;
}

bool gcCpV1WellFormed(const uint8_t* old, uint32_t old_size, const uint8_t* trie, uint32_t trie_size) {
  if (!old || old_size < GC_CP1_MAIN_SIZE) return false;
  if (old[GC_CPM_MAXLEN] < 2) return true;
  if (gc_be16(old + GC_CPM1_OFFSETS) > old_size) return false;
  if (old_size - gc_be16(old + GC_CPM1_OFFSETS) > 0xFFFFFFFFu - GC_CP_MAIN_SIZE) return false;
  if (!trie) return true;
  uint32_t valoff = gc_be16(old + GC_CPM1_VALUES);
  if (valoff > trie_size) return false;
  return ((valoff / GC_CP_NODE1_SIZE) * GC_CP_NODE_SIZE + 3) / 4 * 4 <= 0xFFFF;
}
