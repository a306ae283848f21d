// Copies, appends, visitors and raw slot access of collections.
#include <cstring>
#include <limits>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

long options_like(const utl_ty_col* source) { return source->pool ? UTL_COL_OPT_POOL : 0; }

// Target for a copy: the collection *copy holds (emptied), else a new one
// like the source.
long copy_target(const char* owner, utl_ty_col* source, utl_ty_col** copy) {
  if (*copy) {
    if (long st = utl_col_check(*copy)) return st;
    if ((*copy)->type != source->type || (*copy)->slot_size != source->slot_size)
      return utl_alrt(UTL_BAD_ELEM_TYPE, (*copy)->type, utl_col_handle(*copy), utl_mem_name());
    return utl_col_reset(*copy);
  }
  return utl_col_make(owner, source->type, source->capacity, source->extend, 0,
                      options_like(source), copy);
}

// Copies the source's slots byte for byte into the copy.
long copy_slots(utl_ty_col* source, utl_ty_col* copy) {
  if (source->count > 0) {
    if (long st = utl_col_extend(copy, source->count - 1)) return st;
    std::memcpy(copy->array, source->array, source->count * source->slot_size);
  }
  copy->count = source->count;
  return 0;
}

}  // namespace

long utl_col_copy_ref(const char* owner, utl_ty_col* source, utl_ty_col** copy) {
  if (long st = utl_col_check(source)) return st;
  if (source->flags & UTL_COL_REF_COPY)
    return utl_alrt(UTL_COPY_OF_REF, utl_col_handle(source), utl_mem_name());
  if (*copy == source) return UTL_BAD_ARG;
  bool made = *copy == nullptr;
  if (long st = copy_target(owner, source, copy)) return st;
  if (long st = copy_slots(source, *copy)) {
    if (made) {
      utl_col_free(owner, *copy);
      *copy = nullptr;
    }
    return st;
  }
  // The copy carries the source's flags, read-only; it never inherits the
  // source's own "has a reference copy" mark.
  (*copy)->flags = (source->flags & ~UTL_COL_HAS_REF) | UTL_COL_REF_COPY;
  if (!(source->flags & UTL_COL_IN_SLOT)) {
    (*copy)->source = source;
    source->flags |= UTL_COL_HAS_REF;
    ++source->ref_copies;
  }
  return 0;
}

long utl_col_copy(const char* owner, utl_ty_col* source, utl_ty_col** copy) {
  if (long st = utl_col_check(source)) return st;
  if (*copy == source) return UTL_BAD_ARG;
  bool made = *copy == nullptr;
  if (long st = copy_target(owner, source, copy)) return st;
  utl_ty_col* c = *copy;
  long st = 0;
  if (source->flags & UTL_COL_IN_SLOT) {
    st = copy_slots(source, c);
  } else {
    for (long i = 0; i < source->count && st == 0; ++i)
      st = utl_col_insert(c, utl_col_elem(source, i), nullptr);
  }
  if (st == 0 && source->pool && !c->pool) st = utl_pl_create(owner, UTL_COL_POOL_EXTENT, &c->pool);
  if (st != 0) {
    if (made) {
      utl_col_free(owner, c);
      *copy = nullptr;
    }
    return st;
  }
  if (source->flags & UTL_COL_IN_SLOT) {
    // A copy of the slots carries every flag of the source but its reference
    // marks.
    c->flags = source->flags & ~(UTL_COL_REF_COPY | UTL_COL_HAS_REF);
  } else {
    constexpr long kCopied = UTL_COL_SORTED | UTL_COL_NO_DUPLS | UTL_COL_KEEP_SORTED;
    c->flags = (c->flags & ~kCopied) | (source->flags & kCopied);
  }
  return 0;
}

long utl_col_append(utl_ty_col* source, utl_ty_col* target) {
  if (long st = utl_col_check(source)) return st;
  if (long st = utl_col_check(target)) return st;
  if (target->flags & UTL_COL_REF_COPY)
    return utl_alrt(UTL_REF_READONLY, utl_col_handle(target), utl_mem_name());
  if (source->type != target->type)
    return utl_alrt(UTL_BAD_ELEM_TYPE, source->type, utl_col_handle(target), utl_mem_name());
  long n = source->count;
  if (n == 0) return 0;
  if (long st = utl_col_extend(target, target->count + n - 1)) return st;
  if ((source->flags & UTL_COL_IN_SLOT) && (target->flags & UTL_COL_IN_SLOT) &&
      source->slot_size == target->slot_size) {
    std::memmove(utl_col_slot(target, target->count), source->array, n * source->slot_size);
    target->count += n;
    target->flags &= ~UTL_COL_SORTED;
    return 0;
  }
  // Appending a collection to itself adds each of its original elements once.
  for (long i = 0; i < n; ++i) {
    if (long st = utl_col_insert(target, utl_col_elem(source, i), nullptr)) return st;
  }
  return 0;
}

long utl_col_apply(utl_ty_col* col, utl_ty_col_proc proc, void* arg) {
  if (long st = utl_col_check(col)) return st;
  for (long i = 0; i < col->count; ++i) {
    long stop = 0;
    if (long r = proc(col, utl_col_elem(col, i), i, col->type, arg, &stop)) return r;
    if (stop == 1) break;
  }
  return 0;
}

long utl_col_select(utl_ty_col* col, utl_ty_col** result, utl_ty_col_proc proc, void* arg) {
  if (long st = utl_col_check(col)) return st;
  if (!*result) {
    if (long st = utl_col_make(utl_mem_name(), col->type, col->capacity, col->extend, 0,
                               options_like(col), result))
      return st;
  } else if (long st = utl_col_check(*result)) {
    return st;
  } else if ((*result)->type != col->type) {
    return utl_alrt(UTL_BAD_ELEM_TYPE, col->type, utl_col_handle(*result), utl_mem_name());
  }
  for (long i = 0; i < col->count; ++i) {
    long take = 0;
    void* e = utl_col_elem(col, i);
    if (long r = proc(col, e, i, col->type, arg, &take)) return r;
    if (take == 1) {
      if (long st = utl_col_insert(*result, e, nullptr)) return st;
    }
  }
  return 0;
}

long utl_col_fill(utl_ty_col* col, long n, long position, const void* data) {
  if (long st = utl_col_check(col)) return st;
  if (!(col->flags & UTL_COL_IN_SLOT)) return 1;
  if (n < 0 || position < 0) return UTL_BAD_ARG;
  if (n == 0) return 0;
  if (position > std::numeric_limits<long>::max() - n) return utl_alrt(UTL_TOO_LARGE, std::numeric_limits<long>::max());
  if (long st = utl_col_extend(col, position + n - 1)) return st;
  if (data) std::memmove(utl_col_slot(col, position), data, n * col->slot_size);
  else std::memset(utl_col_slot(col, position), 0, n * col->slot_size);
  if (col->count < position + n) col->count = position + n;
  col->flags &= ~UTL_COL_SORTED;
  return 0;
}

long utl_col_reserve(utl_ty_col* col, long n, long position, void** slot) {
  if (long st = utl_col_check(col)) return st;
  if (n < 0 || position < 0) return UTL_BAD_ARG;
  if (position > std::numeric_limits<long>::max() - n) return utl_alrt(UTL_TOO_LARGE, std::numeric_limits<long>::max());
  // The slot handed back always lies inside the array, also for n = 0.
  if (long st = utl_col_extend(col, n > 0 ? position + n - 1 : position)) return st;
  if (slot) *slot = utl_col_slot(col, position);
  if (col->count < position + n) {
    col->count = position + n;
    col->flags &= ~UTL_COL_SORTED;
  }
  return 0;
}

static long col_alloc(utl_ty_col* col, long size, const void* data, void** pointer, bool align) {
  if (long st = utl_col_check(col)) return st;
  if (col->flags & UTL_COL_REF_COPY)
    return utl_alrt(UTL_REF_READONLY, utl_col_handle(col), utl_mem_name());
  if (!col->pool) return utl_alrt(UTL_NO_POOL);
  void* p = nullptr;
  long st = align ? utl_pl_alloc4(col->pool, size, &p) : utl_pl_alloc(col->pool, size, &p);
  if (st) return st;
  if (data) std::memcpy(p, data, size);
  *pointer = p;
  return 0;
}

long utl_col_alloc(utl_ty_col* col, long size, const void* data, void** pointer) {
  return col_alloc(col, size, data, pointer, false);
}

long utl_col_alloc4(utl_ty_col* col, long size, const void* data, void** pointer) {
  return col_alloc(col, size, data, pointer, true);
}

long utl_col_alloc_string(utl_ty_col* col, const char* text, char** pointer) {
  if (long st = utl_col_check(col)) return st;
  if (!col->pool) return utl_alrt(UTL_NO_POOL);
  return utl_pl_alloc_string(col->pool, text, pointer);
}
