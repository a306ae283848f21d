// Collections: the growable container of typed elements of the procedural
// layers. The element type is a type id of the registry, which supplies the
// element size, an optional length procedure (variable-length elements) and
// the compare procedure.
//
// Elements of a type without a length procedure are stored in their slots
// (flag UTL_COL_IN_SLOT); otherwise each slot holds a pointer (pointer width)
// to a copy of the element in the collection's string pool. The element
// address of index i is the slot's address, respectively the pointer stored
// in the slot; every call that hands out or takes elements uses that rule.
//
// Calls return 0 or a status: utl alerts (utl_msg.h) or the plain status 17
// for an index outside the collection.
//
// Threads: one caller at a time. The live list and checking switch, the
// extend-by override and the sort in progress (its compare procedure passed
// through process-wide statics) are shared and unguarded; no lock.
#pragma once

#include "orb_api.h"

#include <cstdio>

#include "core/utl/utl_pl.h"

constexpr long UTL_COL_MAGIC = 123090;

// Flags.
constexpr long UTL_COL_SORTED = 1;        // sorted now
constexpr long UTL_COL_REF_COPY = 2;      // reference copy: read-only
constexpr long UTL_COL_HAS_REF = 4;       // has a live reference copy
constexpr long UTL_COL_IN_SLOT = 8;       // elements stored in their slots
constexpr long UTL_COL_NO_DUPLS = 16;     // refuse duplicates
constexpr long UTL_COL_KEEP_SORTED = 32;  // keep sorted
constexpr long UTL_COL_DROP_DUPLS = 64;   // drop duplicates silently (with 16)

// Options of utl_col_make.
constexpr long UTL_COL_OPT_POOL = 1;         // a string pool for a fixed-size type too
constexpr long UTL_COL_OPT_NO_DUPLS = 2;     // flag 16
constexpr long UTL_COL_OPT_KEEP_SORTED = 4;  // flag 32
constexpr long UTL_COL_OPT_DROP_DUPLS = 8;   // flag 64

struct utl_ty_col {
  long magic;     // UTL_COL_MAGIC while alive, -1 once freed
  long type;      // element type id
  long count;     // number of elements
  long capacity;  // slots allocated
  long extend;    // slots added when the array grows
  long ext;       // user word
  long slot_size;
  long flags;
  char* array;         // capacity * slot_size bytes
  utl_ty_pool* pool;   // string pool, or null
  utl_ty_col* source;  // the shared collection of a pointer-slot reference copy
  utl_ty_col* next;    // live list (checking on)
  utl_ty_col* prev;
  long refs;      // reference count, 1 at creation
  long ref_copies;  // live reference copies sharing this collection's elements
};

// Compare procedure given to the sort and search calls. The sort calls it with
// two slot addresses and its argument; the searches with the key and an
// element address (argument null).
using utl_ty_col_cmp = long (*)(const void* a, const void* b, void* arg);
// Visitor of utl_col_apply (flag: stop) and utl_col_select (flag: take).
using utl_ty_col_proc = long (*)(utl_ty_col* col, void* element, long index, long type,
                                 void* arg, long* flag);

ORB_API long utl_col_make(const char* owner, long type, long capacity, long extend, long ext,
                  long options, utl_ty_col** col);
ORB_API long utl_col_free(const char* owner, utl_ty_col* col);
ORB_API long utl_col_add_ref(utl_ty_col* col);
ORB_API long utl_col_get_ref(utl_ty_col* col, long* count);
ORB_API long utl_col_set_ref(utl_ty_col* col, long count);
ORB_API long utl_col_reset(utl_ty_col* col);

ORB_API long utl_col_num(utl_ty_col* col, long* count);
ORB_API long utl_col_get_array(utl_ty_col* col, void** array, long* count);
ORB_API long utl_col_info(utl_ty_col* col, long* type, long* count, long* capacity, long* extend,
                  long* slot_size, long* flags);
ORB_API long utl_col_ith(utl_ty_col* col, long index, void** element);
ORB_API long utl_col_last(utl_ty_col* col, long* index, void** element);

ORB_API long utl_col_insert_at(utl_ty_col* col, const void* element, long index, void** stored);
ORB_API long utl_col_push(utl_ty_col* col, const void* element, void** stored);
ORB_API long utl_col_insert(utl_ty_col* col, const void* element, void** stored);
ORB_API long utl_col_insert_ret_index(utl_ty_col* col, const void* element, void** stored, long* index);
ORB_API long utl_col_insert_expand(utl_ty_col* col, const void* element, long index, void** stored);
ORB_API long utl_col_insert_obj(utl_ty_col* col, const void* element, long index);
ORB_API long utl_col_pop(utl_ty_col* col);
ORB_API long utl_col_remove(utl_ty_col* col, const void* element, long index);
ORB_API long utl_col_swap(utl_ty_col* col, long i, long j);

// Linear searches: index -1 (element null) when absent. The spot is the index
// before which a sorted collection would take the key, or -1.
ORB_API long utl_col_find(utl_ty_col* col, const void* key, long* index);
ORB_API long utl_col_find_it(utl_ty_col* col, const void* key, long* index, void** element);
ORB_API long utl_col_find_spot(utl_ty_col* col, const void* key, long* index, void** element,
                       long* spot);
ORB_API long utl_col_custom_find(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index);
ORB_API long utl_col_custom_find_it(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                            void** element);
ORB_API long utl_col_custom_find_spot(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                              void** element, long* spot);
// Binary search (an unsorted collection is sorted first).
ORB_API long utl_col_bsearch(utl_ty_col* col, const void* key, long* index, void** element);
ORB_API long utl_col_custom_bsearch(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                            void** element);

ORB_API long utl_col_sort(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg);
ORB_API long utl_col_sort_inverse(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg);
ORB_API long utl_col_set_sorted(utl_ty_col* col, long on);
ORB_API long utl_col_is_sorted(utl_ty_col* col);
ORB_API long utl_col_mark_unsorted(utl_ty_col* col, long value);
ORB_API long utl_col_set_dupls(utl_ty_col* col, long allow);
ORB_API long utl_col_allows_dupls(utl_ty_col* col);
ORB_API long utl_col_extend(utl_ty_col* col, long index);

ORB_API long utl_col_copy_ref(const char* owner, utl_ty_col* source, utl_ty_col** copy);
ORB_API long utl_col_copy(const char* owner, utl_ty_col* source, utl_ty_col** copy);
ORB_API long utl_col_append(utl_ty_col* source, utl_ty_col* target);

ORB_API long utl_col_apply(utl_ty_col* col, utl_ty_col_proc proc, void* arg);
ORB_API long utl_col_select(utl_ty_col* col, utl_ty_col** result, utl_ty_col_proc proc, void* arg);
ORB_API long utl_col_fill(utl_ty_col* col, long n, long position, const void* data);
ORB_API long utl_col_reserve(utl_ty_col* col, long n, long position, void** slot);

ORB_API long utl_col_alloc(utl_ty_col* col, long size, const void* data, void** pointer);
ORB_API long utl_col_alloc4(utl_ty_col* col, long size, const void* data, void** pointer);
ORB_API long utl_col_alloc_string(utl_ty_col* col, const char* text, char** pointer);
ORB_API long utl_col_get_pool(utl_ty_col* col, utl_ty_pool** pool);
ORB_API long utl_col_set_ext(utl_ty_col* col, long word);
ORB_API long utl_col_get_ext(utl_ty_col* col, long* word);

ORB_API long utl_col_set_extend_num_override(long n);
ORB_API long utl_col_set_checking(long flag);
ORB_API long utl_col_get_checking();
ORB_API long utl_col_check(utl_ty_col* col);
ORB_API long utl_col_check_all();

ORB_API long utl_col_verify(utl_ty_col* col);
ORB_API long utl_col_dump(FILE* stream, long indent, const char* title, utl_ty_col* col, long level);
ORB_API long utl_col_print(utl_ty_col* col);
ORB_API long utl_col_dump_all();
ORB_API long utl_col_print_elems(utl_ty_col* col);

ORB_API long utl_col_init();
ORB_API long utl_col_term();
