// Pools: bump allocation from extents that are freed only together.
//
// Threads: a pool belongs to one caller at a time; the live-pool list, the
// checking switch and the search count are process-wide and unguarded (no
// lock).
#pragma once

#include "orb_api.h"

struct utl_ty_pool_extent {
  char* open;   // next free byte
  long left;    // bytes left
  long size;    // bytes of data
  utl_ty_pool_extent* next;
  // the data follows the header in the same block
};

struct utl_ty_pool {
  long extent_size;  // size of a new extent (at least the size asked for)
  utl_ty_pool_extent* first;
  utl_ty_pool_extent* last;
  utl_ty_pool* next;  // live-pool list
  utl_ty_pool* prev;
  utl_ty_pool_extent* own;  // extent made in the pool's own block, or null
};

// A new pool without extents.
ORB_API long utl_pl_create(const char* owner, long extent_size, utl_ty_pool** pool);
// A new pool whose first extent (extent_size bytes, at least 1) lies in the
// pool's own block: one allocation for a pool that is used at once. The
// extent behaves as any other and is freed with the pool.
ORB_API long utl_pl_create_with_extent(const char* owner, long extent_size, utl_ty_pool** pool);
// n bytes from the pool; n < 1 gives 17. Searches at most the search count of
// extents from the head; when that many were searched without a fit and more
// extents remain, the searched ones move to the tail. Without a fit a new
// extent of max(extent size, n) bytes goes to the head.
ORB_API long utl_pl_alloc(utl_ty_pool* pool, long n, void** address);
// n bytes aligned for any record of natural types (8 bytes).
ORB_API long utl_pl_alloc4(utl_ty_pool* pool, long n, void** address);
// A copy of text with its terminator.
ORB_API long utl_pl_alloc_string(utl_ty_pool* pool, const char* text, char** copy);
// Every extent empty again; nothing is freed.
ORB_API long utl_pl_reset(utl_ty_pool* pool);
// Frees every extent and the pool (null: nothing).
ORB_API long utl_pl_free(const char* owner, utl_ty_pool* pool);
// inside = 1 when address lies in an extent's data; a range running past that
// extent's end gives utl 29.
ORB_API long utl_pl_contains(utl_ty_pool* pool, const void* address, long length, long* inside);
// n > 0 sets the search count; otherwise all extents are searched.
ORB_API long utl_pl_set_num_search(long n);
ORB_API long utl_pl_get_num_search();
// n > 0 becomes the pool's extent size.
ORB_API long utl_pl_set_extent_size(utl_ty_pool* pool, long n);
// Checking: while on, pool calls refuse a pool that is not live (utl 30).
ORB_API long utl_pl_set_checking(long flag);
ORB_API long utl_pl_get_checking();

ORB_API long utl_pl_init();
ORB_API long utl_pl_term();
ORB_API long utl_pl_dump_all();
ORB_API long utl_pl_dump();
ORB_API long utl_pl_verify();
ORB_API long utl_pl_check();
