// Memory front end: blocks made of several typed segments in one heap
// allocation, an emergency reserve that is released when the heap runs out,
// and an optional checking mode that keeps a header and a live list per block.
//
// Threads: one caller at a time. The emergency reserve, the checking mode
// and its live list of blocks are process-wide and unguarded; no lock.
#pragma once

#include "orb_api.h"

// One block of n segments laid end to end in the given order. addresses[i]
// receives segment i's address, or null for a segment of size 0. A block
// whose total is 0 allocates nothing: every address is null and 0 is
// returned. Failure pushes utl 15 (negative size), 45 (total too large) or
// 16 (out of memory; the emergency reserve is released) and returns it.
ORB_API long utl_mem_alloc(const char* owner, long n, const long* type_ids, const long* sizes,
                   void** addresses);
// Re-sizes the block addresses[0] to the sum of the new sizes; on success
// addresses[0] is the (possibly moved) block and each further address is the
// previous one plus the previous segment's size. Segment contents stay at
// their offset from the block start. Failure (utl 16) leaves the block as it
// was.
ORB_API long utl_mem_realloc(const char* owner, long n, const long* sizes, void** addresses);
// Frees a block (null: nothing); 0, or utl 14 for a pointer inside a checked
// block that is not its start.
ORB_API long utl_mem_free(const char* owner, void* block);
// Overlapping copy of n bytes; 0.
ORB_API long utl_mem_copy(void* to, const void* from, long n);
// Takes a new 64,000-byte emergency reserve (nothing when one is held);
// utl 16 when that fails.
ORB_API long utl_mem_emergy(const char* owner);
// 1 while an emergency reserve is held (for diagnostics).
ORB_API long utl_mem_has_reserve();
// Checking mode: 0 or 1 (other values: utl 17). Blocks allocated while it is
// on carry a header (owner, segments) and are kept in a live list.
ORB_API long utl_mem_set_mode(long mode);
ORB_API long utl_mem_is_mode_on();
// Number of live checked blocks.
ORB_API long utl_mem_num_checked();
// Owner name of utl's own allocations and messages: "".
ORB_API const char* utl_mem_name();

// Start: owner-name pool, emergency reserve, registry memory procedures.
ORB_API long utl_mem_init();

// Entries kept for callers; each returns 0.
ORB_API long utl_mem_term();
ORB_API long utl_mem_set_allocator();
ORB_API long utl_mem_dump();
ORB_API long utl_mem_dump_it();
ORB_API long utl_mem_dump_diff();
ORB_API long utl_mem_dump_table();
ORB_API long utl_mem_check_rebalance();
ORB_API long utl_mem_verify();
ORB_API long utl_mem_verify_error();
ORB_API long utl_mem_set_verify();
ORB_API long utl_mem_check();
ORB_API long utl_mem_check_ptr();
ORB_API long utl_mem_set_options();
