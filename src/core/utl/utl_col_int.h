// Collection internals shared by the collection source files.
//
// Threads: as utl_col.h (one caller at a time).
#pragma once

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"

// Type of the collection header block, and the extent size of collection
// string pools.
constexpr long UTL_COL_HEADER_TYPE = 518;
constexpr long UTL_COL_POOL_EXTENT = 256;

// Element address of slot i.
inline void* utl_col_elem(const utl_ty_col* col, long i) {
  char* slot = col->array + i * col->slot_size;
  if (col->flags & UTL_COL_IN_SLOT) return slot;
  return *reinterpret_cast<void**>(slot);
}

inline char* utl_col_slot(const utl_ty_col* col, long i) { return col->array + i * col->slot_size; }

inline long utl_col_handle(const utl_ty_col* col) { return reinterpret_cast<long>(col); }

// The registry procedures of the element type (null when absent).
void utl_col_type_procs(long type, cmn_ty_length_proc* length, cmn_ty_compare_proc* compare);

// Comparison used by searches and sorts: the given procedure, else the
// element type's compare procedure.
struct utl_col_cmp_ctx {
  utl_ty_col_cmp custom;
  void* arg;
  cmn_ty_compare_proc type_cmp;
  bool pointer_slots;
  bool inverse;
};

// Compares key with an element (searches): custom(key, element, null) or the
// type's compare; the context must hold one of the two.
long utl_col_cmp_key(const utl_col_cmp_ctx& c, const void* key, const void* element);

// Drops one reference copy from a source collection.
void utl_col_release_source(utl_ty_col* source);

// Sorts with the context; sets the sorted flag.
long utl_col_sort_it(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg, bool inverse);

// Index before which the key keeps a sorted collection in order (after any
// equal elements), by binary search.
long utl_col_upper_spot(utl_ty_col* col, const void* key);

// 0 when the array can grow so that slot `index` exists; otherwise pushes
// utl 45 (too large) without changing anything. Indexes below the capacity
// always pass.
long utl_col_grow_check(const utl_ty_col* col, long index);
