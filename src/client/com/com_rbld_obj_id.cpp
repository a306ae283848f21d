// The one object a time bomb relates to, found through a relation.
#include "client/com/com_rbld.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_rel.h"
#include "core/utl/utl_col.h"
#include "store/dbs_oid.h"
#include "store/dbs_rel.h"

namespace {
constexpr long kColSlots = 4;
}  // namespace

long com_rbld_get_obj_id(obj_id* id, long rel_id, obj_id* out) {
  *out = obj_id{};
  utl_ty_col* ids = nullptr;
  if (long st = utl_col_make("com_rbld_get_obj_id", OAB_REL_OID_TYPE, kColSlots, kColSlots, 0, 0, &ids)) return st;
  long st = dbs_rel_get_oid_from_oid(oab_db_con_id, id, rel_id, 0, ids);
  long n = ids->count;
  if (st == 0 && n == 1) {
    void* e = nullptr;
    utl_col_ith(ids, 0, &e);
    *out = *static_cast<obj_id*>(e);
  }
  utl_col_free("com_rbld_get_obj_id", ids);
  if (st != 0) return st;
  return n > 1 ? COM_SEVERAL_RELATED : 0;
}
