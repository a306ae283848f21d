#include "core/utl/utl_mem.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_live.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_pl.h"

namespace {

constexpr long kReserveSize = 64000;
constexpr long kHeadMagic = 32699380;  // 0x1F2F3F4
constexpr long kSegMagic = 0x5E6A11;

// Header of a block allocated in checking mode; the segment descriptors
// follow it, then the data.
struct mem_seg {
  long magic;
  long type;
  long size;
  char* data;
};

struct mem_head {
  long magic;
  long checkpoint;
  const char* owner;
  long nseg;
  char* data;  // start of the data
  char* last;  // last byte of the data (data - 1 when empty)
  mem_seg* segs;
  mem_head* next;
  mem_head* prev;
};

constexpr long kAlign = 16;
constexpr long round_up(long n) { return (n + kAlign - 1) / kAlign * kAlign; }

void* g_reserve = nullptr;
utl_ty_pool* g_owner_pool = nullptr;
long g_mode = 0;
long g_checkpoint = 0;
utl_live_list<mem_head> g_live;
long g_num_checked = 0;

const char* owner_text(const char* owner) { return owner ? owner : ""; }

long head_size(long nseg) { return round_up(sizeof(mem_head) + nseg * sizeof(mem_seg)); }

// The checked block whose data starts at p, or null.
mem_head* find_checked(const void* p) {
  for (mem_head* h = g_live.head; h; h = h->next)
    if (h->data == p) return h;
  return nullptr;
}

// The checked block whose data holds p (not only at its start), or null.
mem_head* find_containing(const void* p) {
  auto a = reinterpret_cast<uintptr_t>(p);
  for (mem_head* h = g_live.head; h; h = h->next) {
    auto s = reinterpret_cast<uintptr_t>(h->data);
    auto e = reinterpret_cast<uintptr_t>(h->last);
    if (a >= s && a <= e) return h;
  }
  return nullptr;
}

void unlink_head(mem_head* h) {
  g_live.unlink(h);
  --g_num_checked;
}

void link_head(mem_head* h) {
  g_live.link(h);
  ++g_num_checked;
}

// A copy of the owner name for a checked block's header. The name pool's own
// extents are checked blocks too; they keep an empty name.
const char* keep_owner(const char* owner) {
  static const char empty[] = "";
  static bool busy = false;
  if (!owner || !*owner || !g_owner_pool || busy) return empty;
  busy = true;
  char* copy = nullptr;
  long st = utl_pl_alloc_string(g_owner_pool, owner, &copy);
  busy = false;
  return st == 0 ? copy : empty;
}

// Sum of sizes with the checks of an allocation; 0 or the pushed code.
long sum_sizes(const char* owner, long n, const long* sizes, long* total) {
  long t = 0;
  for (long i = 0; i < n; ++i) {
    if (sizes[i] < 0) return utl_alrt(UTL_BAD_SEG_SIZE, sizes[i], i, owner_text(owner));
    if (sizes[i] > std::numeric_limits<long>::max() / 2 - t)
      return utl_alrt(UTL_TOO_LARGE, sizes[i]);
    t += sizes[i];
  }
  *total = t;
  return 0;
}

long out_of_memory(const char* owner, long total) {
  if (g_reserve) {
    osl_mem_free(utl_mem_name(), g_reserve);
    g_reserve = nullptr;
  }
  return utl_alrt(UTL_NO_MEMORY, total, owner_text(owner));
}

void place_segments(char* start, long n, const long* sizes, void** addresses) {
  long off = 0;
  for (long i = 0; i < n; ++i) {
    addresses[i] = sizes[i] == 0 ? nullptr : start + off;
    off += sizes[i];
  }
}

void fill_head(mem_head* h, long n, const long* type_ids, const long* sizes, long total) {
  h->nseg = n;
  h->segs = reinterpret_cast<mem_seg*>(reinterpret_cast<char*>(h) + sizeof(mem_head));
  h->data = reinterpret_cast<char*>(h) + head_size(n);
  h->last = h->data + total - 1;
  long off = 0;
  for (long i = 0; i < n; ++i) {
    h->segs[i].magic = kSegMagic;
    if (type_ids) h->segs[i].type = type_ids[i];
    h->segs[i].size = sizes[i];
    h->segs[i].data = sizes[i] == 0 ? nullptr : h->data + off;
    off += sizes[i];
  }
}

}  // namespace

const char* utl_mem_name() { return ""; }

long utl_mem_alloc(const char* owner, long n, const long* type_ids, const long* sizes,
                   void** addresses) {
  long total = 0;
  if (long st = sum_sizes(owner, n, sizes, &total)) return st;
  for (long i = 0; i < n; ++i) addresses[i] = nullptr;
  if (total == 0) return 0;
  if (g_mode) {
    long hs = head_size(n);
    if (total > std::numeric_limits<long>::max() / 2 - hs) return utl_alrt(UTL_TOO_LARGE, total);
    auto* h = static_cast<mem_head*>(osl_mem_alloc(owner, hs + total));
    if (!h) return out_of_memory(owner, total);
    h->magic = kHeadMagic;
    h->checkpoint = g_checkpoint;
    h->owner = keep_owner(owner);
    fill_head(h, n, type_ids, sizes, total);
    link_head(h);
    place_segments(h->data, n, sizes, addresses);
    return 0;
  }
  void* block = osl_mem_alloc(owner, total);
  if (!block) return out_of_memory(owner, total);
  place_segments(static_cast<char*>(block), n, sizes, addresses);
  return 0;
}

long utl_mem_realloc(const char* owner, long n, const long* sizes, void** addresses) {
  long total = 0;
  if (long st = sum_sizes(owner, n, sizes, &total)) return st;
  void* block = addresses[0];
  if (block && g_live.head) {
    if (mem_head* h = find_checked(block)) {
      if (h->nseg != n) return utl_alrt(UTL_REALLOC_SEGS, h->nseg, n, owner_text(owner));
      if (total == 0) total = 1;  // a checked block keeps at least one byte
      long hs = head_size(n);
      if (total > std::numeric_limits<long>::max() / 2 - hs) return utl_alrt(UTL_TOO_LARGE, total);
      // The block leaves the live list while it may move.
      unlink_head(h);
      auto* nh = static_cast<mem_head*>(osl_mem_realloc(owner, h, hs + total));
      if (!nh) {
        link_head(h);
        return out_of_memory(owner, total);
      }
      link_head(nh);
      // The descriptors moved with the header; their types are kept.
      fill_head(nh, n, nullptr, sizes, total);
      addresses[0] = nh->data;
      for (long i = 1; i < n; ++i)
        addresses[i] = static_cast<char*>(addresses[i - 1]) + sizes[i - 1];
      return 0;
    }
    if (find_containing(block))
      return utl_alrt(UTL_BAD_REALLOC, reinterpret_cast<long>(block), owner_text(owner));
  }
  if (total == 0) {
    // Nothing to hold: the block stays as it is.
    for (long i = 1; i < n; ++i) addresses[i] = addresses[i - 1];
    return 0;
  }
  void* nb = osl_mem_realloc(owner, block, total);
  if (!nb) return out_of_memory(owner, total);
  addresses[0] = nb;
  for (long i = 1; i < n; ++i) addresses[i] = static_cast<char*>(addresses[i - 1]) + sizes[i - 1];
  return 0;
}

long utl_mem_free(const char* owner, void* block) {
  if (!block) return 0;
  if (g_live.head) {
    if (mem_head* h = find_checked(block)) {
      unlink_head(h);
      h->magic = -1;
      osl_mem_free(owner, h);
      return 0;
    }
    if (find_containing(block)) return utl_alrt(UTL_BAD_FREE, reinterpret_cast<long>(block));
  }
  osl_mem_free(owner, block);
  return 0;
}

long utl_mem_copy(void* to, const void* from, long n) {
  if (n > 0) osl_mem_move(to, from, n);
  return 0;
}

long utl_mem_emergy(const char* owner) {
  if (g_reserve) return 0;
  g_reserve = osl_mem_alloc(owner, kReserveSize);
  if (!g_reserve) return utl_alrt(UTL_NO_MEMORY, kReserveSize, owner_text(owner));
  return 0;
}

long utl_mem_has_reserve() { return g_reserve ? 1 : 0; }

long utl_mem_set_mode(long mode) {
  if (mode != 0 && mode != 1) return utl_alrt(UTL_BAD_MEM_MODE, mode);
  g_mode = mode;
  if (mode) ++g_checkpoint;
  return 0;
}

long utl_mem_is_mode_on() { return g_mode ? 1 : 0; }
long utl_mem_num_checked() { return g_num_checked; }

long utl_mem_init() {
  if (!g_owner_pool) {
    if (long st = utl_pl_create(utl_mem_name(), 1024, &g_owner_pool)) return st;
  }
  if (long st = utl_mem_emergy(utl_mem_name())) return st;
  return cmn_typ_install_mem_procs(utl_mem_alloc, utl_mem_free);
}

long utl_mem_term() { return 0; }
long utl_mem_set_allocator() { return 0; }
long utl_mem_dump() { return 0; }
long utl_mem_dump_it() { return 0; }
long utl_mem_dump_diff() { return 0; }
long utl_mem_dump_table() { return 0; }
long utl_mem_check_rebalance() { return 0; }
long utl_mem_verify() { return 0; }
long utl_mem_verify_error() { return 0; }
long utl_mem_set_verify() { return 0; }
long utl_mem_check() { return 0; }
long utl_mem_check_ptr() { return 0; }
long utl_mem_set_options() { return 0; }
