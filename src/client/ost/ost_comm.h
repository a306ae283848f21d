// The community fetch: a tree of related objects read level by level, all
// parents of one depth in one SQL batch of the object store, and the cached
// variant that first answers each level from the state and its relation
// cache.
#pragma once

#include "client/ost/ost_ty.h"
#include "orb_api.h"

// Fetch options.
constexpr long OST_REL_COMMUNE_GET_ALL_HNDLS = 1;
constexpr long OST_COMM_ROOT_ITEM = 2;
constexpr long OST_COMM_CACHED = 4;
constexpr long OST_COMM_FK_ADAPTER = 8;
constexpr long OST_COMM_NO_MERGE = 16;

// The default number of statements of one batch in per-item mode.
constexpr long OST_COMM_DEFAULT_BATCH = 100;

// One query of the fetch (type 696): a level and one parent object.
struct ost_ty_work_item {
  long level_index;  // -1: the root object itself
  const ost_ty_trav_level* level;
  long target_type;
  obj_id parent;
  long key;  // the parent's key column value; -1 when null
  char active;
  char ids_only;
  char keys_fetched;
};

// root may be null or all zero (levels queried by type only). results holds
// nlevels records. On failure *out is null and nothing found survives.
ORB_API long ost_rel_community(KAdpConnId* db_con, ost_ty_state* state, const obj_id* root, long nlevels,
                               const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                               utl_ty_col** out);
// The same with a collection for the object ids (type 594) of ids-only
// levels (flag 8); without one such levels fail with 0x2000015.
ORB_API long ost_rel_mixed_community(KAdpConnId* db_con, ost_ty_state* state, const obj_id* root, long nlevels,
                                     const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                                     utl_ty_col** out, utl_ty_col* ids);
ORB_API long ost_rel_community_free_col(const char* owner, utl_ty_col* col);
ORB_API long ost_rel_community_init_trav(long count, ost_ty_trav_level* levels);
ORB_API long ost_rel_community_cached(KAdpConnId* db_con, ost_ty_state* state, dbs_ty_lobj* root, long nlevels,
                                      const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                                      utl_ty_col** out);
// Registers the work-item type.
long ost_comm_init();
// Forgets the batch size read from the configuration (read again next time).
void ost_comm_reset_batch_size();
