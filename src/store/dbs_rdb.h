// The table-change engine's calls that the schema comparison makes: the
// stored index descriptions of a type. Implemented by the object store.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct utl_ty_pool;

// One member list (type 516) per stored index of the type in *list (type
// 517): the index name, then its field names; extension word 1 for UNIQUE.
ORB_API long dbs_rdb_get_indexes(KAdpConnId* con, long type_id, utl_ty_col** list);
// Frees each member list, then the list.
ORB_API long dbs_rdb_free_ind_col(utl_ty_pool* pool, utl_ty_col* list);
