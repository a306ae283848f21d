// Objects read by a list of their ids, put in the order of the ids.
#include "adapter/adp_qry.h"
#include "core/utl/utl_col.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {
constexpr long k_no_limit = -1;
}  // namespace

long dbs_obj_get_col_order_by_id2(KAdpConnId* con, long type_id, utl_ty_col* ids, long first, long last,
                                  utl_ty_col* objects, long option) {
  long n = 0;
  if (objects == nullptr || utl_col_num(objects, &n) != 0 || n != 0)
    return dbs_alrt("dbs_obj_get_col_order_by_id2", DBS_BAD_ID_COL, reinterpret_cast<long>(objects));
  dbs_ty_qry_desc desc{type_id, 0, nullptr, 0};
  if (long st = adp_qry_simple_with_id2(con, &desc, nullptr, nullptr, ids, first, last, k_no_limit, objects, option))
    return st;
  return dbs_obj_order_by_id(ids, first, last, objects);
}
