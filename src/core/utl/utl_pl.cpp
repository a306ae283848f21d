#include "core/utl/utl_pl.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "core/utl/utl_alrt.h"
#include "core/utl/utl_live.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kTypePool = 519;
constexpr long kTypeExtentHead = 520;
constexpr long kTypeExtentData = 521;
constexpr long kSearchAll = 9999999;

long g_num_search = 3;
long g_checking = 1;
utl_live_list<utl_ty_pool> g_live;

char* extent_data(utl_ty_pool_extent* e) { return reinterpret_cast<char*>(e + 1); }

long check_pool(const utl_ty_pool* pool) {
  if (!pool || (g_checking && !g_live.contains(pool)))
    return utl_alrt(UTL_BAD_POOL, reinterpret_cast<long>(pool));
  return 0;
}

// An empty extent of size bytes (its header at e) at the head of the pool.
void add_extent(utl_ty_pool* pool, utl_ty_pool_extent* e, long size) {
  e->open = extent_data(e);
  e->left = size;
  e->size = size;
  e->next = pool->first;
  pool->first = e;
  if (!pool->last) pool->last = e;
}

long new_extent(utl_ty_pool* pool, long size, utl_ty_pool_extent** out) {
  const long types[2] = {kTypeExtentHead, kTypeExtentData};
  const long sizes[2] = {static_cast<long>(sizeof(utl_ty_pool_extent)), size};
  void* addr[2] = {nullptr, nullptr};
  if (long st = utl_mem_alloc(utl_mem_name(), 2, types, sizes, addr)) return st;
  auto* e = static_cast<utl_ty_pool_extent*>(addr[0]);
  add_extent(pool, e, size);
  *out = e;
  return 0;
}

void start_pool(utl_ty_pool* p, long extent_size) {
  p->extent_size = extent_size;
  p->first = p->last = nullptr;
  p->own = nullptr;
  g_live.link(p);
}

}  // namespace

long utl_pl_create(const char* owner, long extent_size, utl_ty_pool** pool) {
  const long type = kTypePool;
  const long size = sizeof(utl_ty_pool);
  void* addr = nullptr;
  if (long st = utl_mem_alloc(owner, 1, &type, &size, &addr)) return st;
  auto* p = static_cast<utl_ty_pool*>(addr);
  start_pool(p, extent_size);
  *pool = p;
  return 0;
}

long utl_pl_create_with_extent(const char* owner, long extent_size, utl_ty_pool** pool) {
  if (extent_size < 1) return UTL_BAD_ARG;
  const long types[3] = {kTypePool, kTypeExtentHead, kTypeExtentData};
  const long sizes[3] = {static_cast<long>(sizeof(utl_ty_pool)), static_cast<long>(sizeof(utl_ty_pool_extent)),
                         extent_size};
  void* addr[3] = {nullptr, nullptr, nullptr};
  if (long st = utl_mem_alloc(owner, 3, types, sizes, addr)) return st;
  auto* p = static_cast<utl_ty_pool*>(addr[0]);
  start_pool(p, extent_size);
  p->own = static_cast<utl_ty_pool_extent*>(addr[1]);
  add_extent(p, p->own, extent_size);
  *pool = p;
  return 0;
}

long utl_pl_alloc(utl_ty_pool* pool, long n, void** address) {
  if (long st = check_pool(pool)) return st;
  if (n < 1) return UTL_BAD_ARG;
  utl_ty_pool_extent* prev = nullptr;
  utl_ty_pool_extent* e = pool->first;
  long searched = 0;
  while (e && searched < g_num_search) {
    if (e->left >= n) {
      *address = e->open;
      e->open += n;
      e->left -= n;
      return 0;
    }
    prev = e;
    e = e->next;
    ++searched;
  }
  if (e && prev) {
    // The searched extents are full for this size: they move, in order,
    // behind the others, and the first unsearched extent becomes the head.
    utl_ty_pool_extent* searched_first = pool->first;
    prev->next = nullptr;
    pool->first = e;
    pool->last->next = searched_first;
    pool->last = prev;
  }
  long size = pool->extent_size > n ? pool->extent_size : n;
  utl_ty_pool_extent* fresh = nullptr;
  if (long st = new_extent(pool, size, &fresh)) return st;
  *address = fresh->open;
  fresh->open += n;
  fresh->left -= n;
  return 0;
}

long utl_pl_alloc4(utl_ty_pool* pool, long n, void** address) {
  constexpr long kRecAlign = 8;
  if (n < 1) return UTL_BAD_ARG;
  if (n > std::numeric_limits<long>::max() - kRecAlign) return utl_alrt(UTL_TOO_LARGE, n);
  void* raw = nullptr;
  if (long st = utl_pl_alloc(pool, n + kRecAlign, &raw)) return st;
  auto a = reinterpret_cast<uintptr_t>(raw);
  a = (a + kRecAlign - 1) / kRecAlign * kRecAlign;
  *address = reinterpret_cast<void*>(a);
  return 0;
}

long utl_pl_alloc_string(utl_ty_pool* pool, const char* text, char** copy) {
  if (!text) text = "";
  long n = static_cast<long>(std::strlen(text)) + 1;
  void* p = nullptr;
  if (long st = utl_pl_alloc(pool, n, &p)) return st;
  std::memcpy(p, text, n);
  *copy = static_cast<char*>(p);
  return 0;
}

long utl_pl_reset(utl_ty_pool* pool) {
  if (long st = check_pool(pool)) return st;
  for (utl_ty_pool_extent* e = pool->first; e; e = e->next) {
    e->open = extent_data(e);
    e->left = e->size;
  }
  return 0;
}

long utl_pl_free(const char* owner, utl_ty_pool* pool) {
  if (!pool) return 0;
  if (long st = check_pool(pool)) return st;
  for (utl_ty_pool_extent* e = pool->first; e;) {
    utl_ty_pool_extent* next = e->next;
    if (e != pool->own) utl_mem_free(owner, e);
    e = next;
  }
  g_live.unlink(pool);
  utl_mem_free(owner, pool);
  return 0;
}

long utl_pl_contains(utl_ty_pool* pool, const void* address, long length, long* inside) {
  if (long st = check_pool(pool)) return st;
  *inside = 0;
  auto a = reinterpret_cast<uintptr_t>(address);
  for (utl_ty_pool_extent* e = pool->first; e; e = e->next) {
    auto s = reinterpret_cast<uintptr_t>(extent_data(e));
    auto end = s + static_cast<uintptr_t>(e->size);
    if (a >= s && a < end) {
      *inside = 1;
      if (length > 0 && a + static_cast<uintptr_t>(length) > end)
        return utl_alrt(UTL_POOL_RANGE, reinterpret_cast<long>(address), length,
                        reinterpret_cast<long>(pool));
      return 0;
    }
  }
  return 0;
}

long utl_pl_set_num_search(long n) {
  g_num_search = n > 0 ? n : kSearchAll;
  return 0;
}

long utl_pl_get_num_search() { return g_num_search; }

long utl_pl_set_extent_size(utl_ty_pool* pool, long n) {
  if (long st = check_pool(pool)) return st;
  if (n > 0) pool->extent_size = n;
  return 0;
}

long utl_pl_set_checking(long flag) {
  g_checking = flag ? 1 : 0;
  return 0;
}

long utl_pl_get_checking() { return g_checking; }

long utl_pl_init() { return 0; }
long utl_pl_term() { return 0; }
long utl_pl_dump_all() { return 0; }
long utl_pl_dump() { return 0; }
long utl_pl_verify() { return 0; }
long utl_pl_check() { return 0; }
