// Object ids and the id cache: numbers are reserved from the database in
// ranges per type and handed out from memory, so that most creates cost no
// round trip; unused numbers go back to the database at logout.
//
// Threads: the cache is process-wide and unguarded; one session per process.
#pragma once

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;

// One bucket of the cache.
struct dbs_ty_objid_bucket {
  long type_id;
  long block_size;
  long last_number;
  long numbers_left;
  long state;  // -1 normal, -2 up to 500 listed unused numbers, -3 more
  long schema_flag;
};

constexpr long DBS_IDS_SPECIAL_A = 100000002;
constexpr long DBS_IDS_SPECIAL_B = 100000001;

ORB_API long dbs_obj_ids_create(KAdpConnId* con, long n, const long* type_ids, long* numbers);
ORB_API long dbs_obj_id_create(KAdpConnId* con, dbs_ty_lobj* object, obj_id* out);
ORB_API long dbs_obj_return_cache(KAdpConnId* con);

// For inspection: the cache size, the reuse switch and a type's bucket (null
// when the cache is not made or the type has none).
ORB_API long dbs_obj_ids_cache_size();
ORB_API long dbs_obj_ids_reuse();
ORB_API const dbs_ty_objid_bucket* dbs_obj_ids_bucket(long type_id);
// Forgets the cache and its settings (they are read again on the next call).
ORB_API long dbs_obj_ids_reset();
