#include "core/utl/utl_col.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem_std.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_live.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kDefaultCapacity = 5;

long g_override = 0;
long g_checking = 0;
utl_live_list<utl_ty_col> g_live;

const char* owner_name() { return utl_mem_name(); }

long refuse_ref_copy(const utl_ty_col* col) {
  if (col->flags & UTL_COL_REF_COPY)
    return utl_alrt(UTL_REF_READONLY, utl_col_handle(col), owner_name());
  return 0;
}

bool in_array(const utl_ty_col* col, const void* p) {
  auto a = reinterpret_cast<uintptr_t>(p);
  auto s = reinterpret_cast<uintptr_t>(col->array);
  return a >= s && a < s + static_cast<uintptr_t>(col->capacity * col->slot_size);
}

// What a slot receives for element e, settled before the array may move: for
// pointer slots the address of a pool copy of the element; for elements kept
// in slots the element's bytes (zeros for null), set aside only when the
// element lies in the collection's own array.
struct slot_source {
  const void* bytes = nullptr;
  void* pool_copy = nullptr;
  osl_vector<char> own;
};

long prepare_slot(utl_ty_col* col, const void* e, slot_source* out) {
  if (!(col->flags & UTL_COL_IN_SLOT)) {
    cmn_ty_length_proc length = nullptr;
    utl_col_type_procs(col->type, &length, nullptr);
    long len = (e && length) ? length(e) : 0;
    if (!e || len < 1) return utl_alrt(UTL_BAD_ELEM_SIZE, len, utl_col_handle(col), owner_name());
    if (long st = utl_pl_alloc(col->pool, len, &out->pool_copy)) return st;
    std::memcpy(out->pool_copy, e, len);
    out->bytes = &out->pool_copy;
    return 0;
  }
  if (col->slot_size == 0) return utl_alrt(UTL_ZERO_SIZE_TYPE, cmn_typ_name(col->type));
  if (e && in_array(col, e)) {
    const auto* b = static_cast<const char*>(e);
    long st = osl_mem_guard(
        [&] {
          out->own.assign(b, b + col->slot_size);
          return 0L;
        },
        [&] { return utl_alrt(UTL_NO_MEMORY, col->slot_size, owner_name()); });
    if (st != 0) return st;
    e = out->own.data();
  }
  out->bytes = e;
  return 0;
}

void store_slot(utl_ty_col* col, long index, const slot_source& src) {
  char* slot = utl_col_slot(col, index);
  if (src.bytes) std::memcpy(slot, src.bytes, col->slot_size);
  else std::memset(slot, 0, col->slot_size);
}

}  // namespace

void utl_col_type_procs(long type, cmn_ty_length_proc* length, cmn_ty_compare_proc* compare) {
  cmn_ty_length_proc l = nullptr;
  cmn_ty_compare_proc c = nullptr;
  if (cmn_typ_info(type, nullptr, nullptr, nullptr, nullptr, &l, &c, nullptr, nullptr) != 0) {
    l = nullptr;
    c = nullptr;
  }
  if (length) *length = l;
  if (compare) *compare = c;
}

void utl_col_release_source(utl_ty_col* source) {
  if (!source || !g_live.contains(source)) return;
  if (source->ref_copies > 0) --source->ref_copies;
  if (source->ref_copies == 0) source->flags &= ~UTL_COL_HAS_REF;
}

long utl_col_check(utl_ty_col* col) {
  if (!col) return utl_alrt(UTL_BAD_LIST, 0L);
  if (g_checking && !g_live.contains(col)) return utl_alrt(UTL_BAD_LIST, utl_col_handle(col));
  if (col->magic != UTL_COL_MAGIC) return utl_alrt(UTL_BAD_LIST, utl_col_handle(col));
  return 0;
}

long utl_col_make(const char* owner, long type, long capacity, long extend, long ext,
                  long options, utl_ty_col** out) {
  if (capacity <= 0) capacity = kDefaultCapacity;
  if (g_override >= 1) extend = g_override;
  if (extend <= 0) return UTL_BAD_ARG;
  long size = 0;
  cmn_ty_length_proc length = nullptr;
  if (long st = cmn_typ_info(type, nullptr, nullptr, nullptr, &size, &length, nullptr, nullptr,
                             nullptr))
    return st;
  long slot = length ? static_cast<long>(sizeof(void*)) : size;
  if (slot <= 0) return utl_alrt(UTL_ZERO_SIZE_TYPE, cmn_typ_name(type));
  if (capacity > std::numeric_limits<long>::max() / 4 / slot)
    return utl_alrt(UTL_TOO_LARGE, capacity);

  const long htype = UTL_COL_HEADER_TYPE;
  const long hsize = sizeof(utl_ty_col);
  void* haddr = nullptr;
  if (long st = utl_mem_alloc(owner, 1, &htype, &hsize, &haddr)) return st;
  auto* col = static_cast<utl_ty_col*>(haddr);
  std::memset(col, 0, sizeof(*col));
  const long asize = capacity * slot;
  void* aaddr = nullptr;
  if (long st = utl_mem_alloc(owner, 1, &type, &asize, &aaddr)) {
    utl_mem_free(owner, col);
    return st;
  }
  std::memset(aaddr, 0, asize);
  if (length || (options & UTL_COL_OPT_POOL)) {
    if (long st = utl_pl_create(owner, UTL_COL_POOL_EXTENT, &col->pool)) {
      utl_mem_free(owner, aaddr);
      utl_mem_free(owner, col);
      return st;
    }
  }
  col->magic = UTL_COL_MAGIC;
  col->type = type;
  col->capacity = capacity;
  col->extend = extend;
  col->ext = ext;
  col->slot_size = slot;
  col->array = static_cast<char*>(aaddr);
  col->refs = 1;
  if (!length) col->flags |= UTL_COL_IN_SLOT;
  if (options & UTL_COL_OPT_NO_DUPLS) col->flags |= UTL_COL_NO_DUPLS;
  if (options & UTL_COL_OPT_KEEP_SORTED) col->flags |= UTL_COL_KEEP_SORTED;
  if (options & UTL_COL_OPT_DROP_DUPLS) col->flags |= UTL_COL_DROP_DUPLS;
  g_live.link(col);
  *out = col;
  return 0;
}

long utl_col_free(const char* owner, utl_ty_col* col) {
  if (!col) return 0;
  if (long st = utl_col_check(col)) return st;
  --col->refs;
  if (col->refs > 0) return 0;
  if (col->flags & UTL_COL_HAS_REF)
    return utl_alrt(UTL_FREE_HAS_REF, utl_col_handle(col), owner_name());
  if ((col->flags & UTL_COL_REF_COPY) && col->source) utl_col_release_source(col->source);
  utl_pl_free(owner, col->pool);
  utl_mem_free(owner, col->array);
  g_live.unlink(col);
  col->magic = -1;
  utl_mem_free(owner, col);
  return 0;
}

long utl_col_add_ref(utl_ty_col* col) {
  if (!col) return 0;
  if (long st = utl_col_check(col)) return st;
  ++col->refs;
  return 0;
}

long utl_col_get_ref(utl_ty_col* col, long* count) {
  if (!col) return 0;
  if (long st = utl_col_check(col)) return st;
  if (count) *count = col->refs;
  return 0;
}

long utl_col_set_ref(utl_ty_col* col, long count) {
  if (!col || count < 1) return 0;
  if (long st = utl_col_check(col)) return st;
  col->refs = count;
  return 0;
}

long utl_col_reset(utl_ty_col* col) {
  if (long st = utl_col_check(col)) return st;
  if (col->flags & UTL_COL_HAS_REF)
    return utl_alrt(UTL_RESET_HAS_REF, utl_col_handle(col), owner_name());
  col->count = 0;
  if (col->pool) utl_pl_reset(col->pool);
  if (col->flags & UTL_COL_REF_COPY) {
    // The copy no longer shares its source's elements.
    utl_col_release_source(col->source);
    col->source = nullptr;
    col->flags &= ~UTL_COL_REF_COPY;
  }
  return 0;
}

long utl_col_num(utl_ty_col* col, long* count) {
  if (long st = utl_col_check(col)) return st;
  *count = col->count;
  return 0;
}

long utl_col_get_array(utl_ty_col* col, void** array, long* count) {
  if (long st = utl_col_check(col)) return st;
  if (array) *array = col->array;
  if (count) *count = col->count;
  return 0;
}

long utl_col_info(utl_ty_col* col, long* type, long* count, long* capacity, long* extend,
                  long* slot_size, long* flags) {
  if (long st = utl_col_check(col)) return st;
  if (type) *type = col->type;
  if (count) *count = col->count;
  if (capacity) *capacity = col->capacity;
  if (extend) *extend = col->extend;
  if (slot_size) *slot_size = col->slot_size;
  if (flags) *flags = col->flags;
  return 0;
}

long utl_col_ith(utl_ty_col* col, long index, void** element) {
  if (long st = utl_col_check(col)) return st;
  if (index < 0 || index >= col->count) return utl_alrt(UTL_BAD_INDEX, index, col->count);
  *element = utl_col_elem(col, index);
  return 0;
}

long utl_col_last(utl_ty_col* col, long* index, void** element) {
  if (long st = utl_col_check(col)) return st;
  long i = col->count - 1;
  if (index) *index = i;
  if (element) *element = i >= 0 ? utl_col_elem(col, i) : nullptr;
  return 0;
}

long utl_col_grow_check(const utl_ty_col* col, long index) {
  if (index < col->capacity) return 0;
  // The array never passes a quarter of the address range, so every slot
  // offset and count computed from an index below this limit fits in a long.
  const long limit = std::numeric_limits<long>::max() / 4 / col->slot_size;
  if (index >= limit) {
    long slots = index < std::numeric_limits<long>::max() ? index + 1 : index;
    long bytes = slots > std::numeric_limits<long>::max() / col->slot_size
                     ? std::numeric_limits<long>::max()
                     : slots * col->slot_size;
    return utl_alrt(UTL_TOO_LARGE, bytes);
  }
  return 0;
}

long utl_col_extend(utl_ty_col* col, long index) {
  if (long st = utl_col_check(col)) return st;
  if (index < col->capacity) return 0;
  if (long st = utl_col_grow_check(col, index)) return st;
  const long limit = std::numeric_limits<long>::max() / 4 / col->slot_size;
  long cap = col->capacity + std::min(col->extend, limit - col->capacity);
  if (cap < index + 1) cap = index + 1;
  const long size = cap * col->slot_size;
  void* addr = col->array;
  if (long st = utl_mem_realloc(owner_name(), 1, &size, &addr)) return st;
  col->array = static_cast<char*>(addr);
  std::memset(col->array + col->capacity * col->slot_size, 0,
              (cap - col->capacity) * col->slot_size);
  col->capacity = cap;
  return 0;
}

long utl_col_insert_at(utl_ty_col* col, const void* element, long index, void** stored) {
  if (long st = utl_col_check(col)) return st;
  if (long st = refuse_ref_copy(col)) return st;
  if (index < 0) index = col->count;
  // A slot that cannot exist is refused before anything is copied.
  if (long st = utl_col_grow_check(col, index)) return st;
  slot_source src;
  if (long st = prepare_slot(col, element, &src)) return st;
  if (long st = utl_col_extend(col, index)) return st;
  store_slot(col, index, src);
  if (col->count < index + 1) col->count = index + 1;
  col->flags &= ~UTL_COL_SORTED;
  if (stored) *stored = utl_col_elem(col, index);
  return 0;
}

long utl_col_push(utl_ty_col* col, const void* element, void** stored) {
  return utl_col_insert_at(col, element, -1, stored);
}

long utl_col_insert_expand(utl_ty_col* col, const void* element, long index, void** stored) {
  if (long st = utl_col_check(col)) return st;
  if (index < 0 || index >= col->count) return utl_col_insert_at(col, element, index, stored);
  if (long st = refuse_ref_copy(col)) return st;
  slot_source src;
  if (long st = prepare_slot(col, element, &src)) return st;
  if (long st = utl_col_extend(col, col->count)) return st;
  std::memmove(utl_col_slot(col, index + 1), utl_col_slot(col, index),
               (col->count - index) * col->slot_size);
  store_slot(col, index, src);
  ++col->count;
  col->flags &= ~UTL_COL_SORTED;
  if (stored) *stored = utl_col_elem(col, index);
  return 0;
}

long utl_col_insert_obj(utl_ty_col* col, const void* element, long index) {
  return utl_col_insert_expand(col, element, index, nullptr);
}

long utl_col_insert_ret_index(utl_ty_col* col, const void* element, void** stored, long* index) {
  if (long st = utl_col_check(col)) return st;
  if (long st = refuse_ref_copy(col)) return st;
  long spot = -1;
  if (col->flags & UTL_COL_NO_DUPLS) {
    long found = -1;
    void* fe = nullptr;
    if (long st = utl_col_find_spot(col, element, &found, &fe, &spot)) return st;
    if (found >= 0) {
      if (col->flags & UTL_COL_DROP_DUPLS) {
        if (stored) *stored = fe;
        if (index) *index = found;
        return 0;
      }
      return utl_alrt(UTL_DUPLICATE);
    }
  }
  long at = -1;
  if (!(col->flags & UTL_COL_KEEP_SORTED)) {
    if (spot >= 0) {
      if (long st = utl_col_insert_expand(col, element, spot, stored)) return st;
      at = spot;
    } else {
      if (long st = utl_col_insert_at(col, element, -1, stored)) return st;
      at = col->count - 1;
    }
  } else {
    // Keep sorted: order the collection first when it is not sorted now,
    // then insert after any equal elements so that the order holds and the
    // index returned is where the element really is.
    if (!(col->flags & UTL_COL_SORTED)) {
      if (long st = utl_col_sort_it(col, nullptr, nullptr, false)) return st;
    }
    at = utl_col_upper_spot(col, element);
    if (long st = utl_col_insert_expand(col, element, at, stored)) return st;
    col->flags |= UTL_COL_SORTED;
  }
  if (index) *index = at;
  return 0;
}

long utl_col_insert(utl_ty_col* col, const void* element, void** stored) {
  return utl_col_insert_ret_index(col, element, stored, nullptr);
}

long utl_col_pop(utl_ty_col* col) {
  if (long st = utl_col_check(col)) return st;
  if (long st = refuse_ref_copy(col)) return st;
  if (col->count > 0) --col->count;
  return 0;
}

long utl_col_remove(utl_ty_col* col, const void* element, long index) {
  if (long st = utl_col_check(col)) return st;
  if (long st = refuse_ref_copy(col)) return st;
  if (index == -1) {
    if (!element) return utl_alrt(UTL_REMOVE_NULL);
    long found = -1;
    if (long st = utl_col_find(col, element, &found)) return st;
    if (found < 0) return utl_alrt(UTL_NO_ELEM_REMOVE, utl_col_handle(col), owner_name());
    index = found;
  }
  if (index < 0 || index >= col->count) return UTL_BAD_ARG;
  std::memmove(utl_col_slot(col, index), utl_col_slot(col, index + 1),
               (col->count - index - 1) * col->slot_size);
  --col->count;
  std::memset(utl_col_slot(col, col->count), 0, col->slot_size);
  return 0;
}

long utl_col_swap(utl_ty_col* col, long i, long j) {
  if (long st = utl_col_check(col)) return st;
  if (long st = refuse_ref_copy(col)) return st;
  if (i < 0 || i >= col->count || j < 0 || j >= col->count) return UTL_BAD_ARG;
  if (i == j) return 0;
  char* a = utl_col_slot(col, i);
  std::swap_ranges(a, a + col->slot_size, utl_col_slot(col, j));
  col->flags &= ~UTL_COL_SORTED;
  return 0;
}

long utl_col_set_sorted(utl_ty_col* col, long on) {
  if (long st = utl_col_check(col)) return st;
  if (on) {
    if (long st = utl_col_sort_it(col, nullptr, nullptr, false)) return st;
    col->flags |= UTL_COL_KEEP_SORTED;
  } else {
    col->flags &= ~UTL_COL_KEEP_SORTED;
  }
  return 0;
}

long utl_col_is_sorted(utl_ty_col* col) {
  if (utl_col_check(col)) return 0;
  return (col->flags & UTL_COL_SORTED) ? 1 : 0;
}

long utl_col_mark_unsorted(utl_ty_col* col, long value) {
  if (long st = utl_col_check(col)) return st;
  if (value == 1) col->flags &= ~UTL_COL_SORTED;
  else col->flags |= UTL_COL_SORTED;
  return 0;
}

long utl_col_set_dupls(utl_ty_col* col, long allow) {
  if (long st = utl_col_check(col)) return st;
  if (allow == 0) col->flags |= UTL_COL_NO_DUPLS;
  else col->flags &= ~UTL_COL_NO_DUPLS;
  return 0;
}

long utl_col_allows_dupls(utl_ty_col* col) {
  if (utl_col_check(col)) return 0;
  return (col->flags & UTL_COL_NO_DUPLS) ? 0 : 1;
}

long utl_col_get_pool(utl_ty_col* col, utl_ty_pool** pool) {
  if (long st = utl_col_check(col)) return st;
  *pool = col->pool;
  return 0;
}

long utl_col_set_ext(utl_ty_col* col, long word) {
  if (long st = utl_col_check(col)) return st;
  col->ext = word;
  return 0;
}

long utl_col_get_ext(utl_ty_col* col, long* word) {
  if (long st = utl_col_check(col)) return st;
  *word = col->ext;
  return 0;
}

long utl_col_set_extend_num_override(long n) {
  if (n < 0) {
    osl_print_mes("--Error in utl_col_set_extend_num_override.  override = %ld\n", n);
    return 0;
  }
  g_override = n;
  return 0;
}

long utl_col_set_checking(long flag) {
  g_checking = flag ? 1 : 0;
  return 0;
}

long utl_col_get_checking() { return g_checking; }

long utl_col_check_all() {
  if (!g_checking) return 0;
  for (utl_ty_col* c = g_live.head; c; c = c->next)
    if (c->magic != UTL_COL_MAGIC) return utl_alrt(UTL_BAD_LIST, utl_col_handle(c));
  return 0;
}

long utl_col_verify(utl_ty_col*) { return 0; }
long utl_col_dump(FILE*, long, const char*, utl_ty_col*, long) { return 0; }
long utl_col_print(utl_ty_col*) { return 0; }
long utl_col_dump_all() { return 0; }
long utl_col_print_elems(utl_ty_col*) { return 0; }
