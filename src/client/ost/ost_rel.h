// Relations in a state and the permanent-relation cache. Relating and
// unrelating record entries that the save writes; a later change of the
// opposite kind cancels a pending one. Related objects merge what the
// database or the cache says with the state's pending changes.
#pragma once

#include <cstdio>

#include "client/ost/ost_ty.h"
#include "orb_api.h"

constexpr long OST_KIND_RELATE = 1;
constexpr long OST_KIND_UNRELATE = 2;

// Options of the related-objects read.
constexpr long OST_RELS_INTEGRATE = 2;
constexpr long OST_RELS_NO_DB = 4;
constexpr long OST_RELS_PURGE = 8;
constexpr long OST_RELS_CACHE = 16;
constexpr long OST_RELS_CACHE_ONLY = 32;

// The cache's user word once it holds no duplicates.
constexpr long OST_PERM_OPTIMIZED = 0x54617261;

ORB_API long ost_rel_add_byhndl(ost_ty_state* state, dbs_ty_lobj* from_handle, const obj_id* from_id,
                                dbs_ty_lobj* to_handle, const obj_id* to_id, long rel, long kind);
ORB_API long ost_obj_relate_byhndl(ost_ty_state* state, dbs_ty_lobj* from, dbs_ty_lobj* to, long rel);
ORB_API long ost_obj_relate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* from, const obj_id* to, long rel);
ORB_API long ost_obj_relate_hndl_byid(ost_ty_state* state, const obj_id* from, dbs_ty_lobj* to, long rel);
ORB_API long ost_obj_unrelate_byhndl(ost_ty_state* state, dbs_ty_lobj* from, dbs_ty_lobj* to, long rel);
ORB_API long ost_obj_unrelate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* from, const obj_id* to, long rel);
ORB_API long ost_obj_unrelate_hndl_byid(ost_ty_state* state, const obj_id* from, dbs_ty_lobj* to, long rel);

ORB_API long ost_rel_add(ost_ty_state* state, long from_key, const obj_id* from_id, long to_key,
                         const obj_id* to_id, long rel, long kind);
ORB_API long ost_obj_relate(ost_ty_state* state, long from_key, long to_key, long rel);
ORB_API long ost_obj_relate_id(ost_ty_state* state, long from_key, const obj_id* to_id, long rel);
ORB_API long ost_obj_relate_id_to_id(ost_ty_state* state, const obj_id* from_id, const obj_id* to_id, long rel);
ORB_API long ost_obj_unrelate(ost_ty_state* state, long from_key, long to_key, long rel);
ORB_API long ost_obj_unrelate_id(ost_ty_state* state, long from_key, const obj_id* to_id, long rel);
ORB_API long ost_obj_unrelate_id_to_id(ost_ty_state* state, const obj_id* from_id, const obj_id* to_id, long rel);

ORB_API long ost_obj_get_related(ost_ty_state* state, long key, long rel, long options, utl_ty_col** out);
ORB_API long ost_obj_get_rel_byhndl(ost_ty_state* state, dbs_ty_lobj* handle, long rel, long options,
                                    utl_ty_col** out);
ORB_API long ost_obj_get_rels(ost_ty_state* state, long key, dbs_ty_lobj* handle, long rel, long options,
                              utl_ty_col** out);
ORB_API long ost_obj_integrate_col(ost_ty_state* state, utl_ty_col* handles, long options);
ORB_API long ost_rel_delta(ost_ty_state* state, const ost_ty_rel_entry* entry, utl_ty_col* handles);
ORB_API long ost_obj_free_related(ost_ty_state* state, utl_ty_col* handles);
ORB_API long ost_rel_promote(ost_ty_state* state, const ost_ty_rel_entry* entry);
ORB_API long ost_rel_reset_all(ost_ty_state* state);

ORB_API long ost_rel_init();
ORB_API long ost_rel_term();
long ost_rel_entry_print(FILE* stream, long indent, const void* entry, long type_id, long number);

// The two ids of an entry's sides (read from the local object for a side by
// handle).
obj_id ost_rel_from_id(const ost_ty_rel_entry& entry);
obj_id ost_rel_to_id(const ost_ty_rel_entry& entry);
// Adds one relation entry to the write batch (entries without a kind are
// skipped).
long ost_rel_put_in_batch(const ost_ty_rel_entry& entry);
// Records a saved entry in the cache (relate) or drops the cached relations
// of its from object by its relation (unrelate).
long ost_rel_cache_saved(ost_ty_state* state, const ost_ty_rel_entry& entry);

// The permanent-relation cache.
ORB_API long ost_rel_perm_check_cache(ost_ty_state* state);
ORB_API long ost_rel_perm_clear_cache(ost_ty_state* state);
ORB_API long ost_rel_perm_cache_one(ost_ty_state* state, const obj_id* from, long rel, const obj_id* to);
ORB_API long ost_rel_perm_cache(ost_ty_state* state, const obj_id* from, dbs_ty_lobj* from_handle, long rel,
                                long count, dbs_ty_lobj* const* handles);
ORB_API long ost_rel_perm_cache_col(ost_ty_state* state, const obj_id* from, dbs_ty_lobj* from_handle, long rel,
                                    utl_ty_col* handles);
ORB_API long ost_rel_perm_optimize(ost_ty_state* state);
ORB_API long ost_rel_perm_match(const obj_id* id, long rel, const ost_ty_perm_rel* cached, long* matched);
ORB_API long ost_rel_perm_get_related(ost_ty_state* state, const obj_id* from, long rel, long options,
                                      utl_ty_col** out);
ORB_API long ost_rel_perm_find(ost_ty_state* state, const obj_id* from, long rel, const obj_id* to, long* found);
ORB_API long ost_rel_perm_related_id_to_id(KAdpConnId* db_con, ost_ty_state* state, const obj_id* from, long rel,
                                           const obj_id* to, long options, long* found);
ORB_API long ost_rel_perm_purge(ost_ty_state* state, const obj_id* from, dbs_ty_lobj* from_handle, long rel,
                                long options);
ORB_API long ost_rel_perm_find_roots(ost_ty_state* state, long options, utl_ty_col** out);
// Not exported: the name carries the OS layer's prefix.
long osl_rel_perm_find_rels(ost_ty_state* state, dbs_ty_lobj* handle, long options, utl_ty_col** out);
long ost_rel_perm_cmp(const void* a, const void* b);
long ost_rel_perm_print(FILE* stream, long indent, const void* entry, long type_id, long number);
