// The store's simple queries in the forms the services use: all objects
// or ids of a type, the unique object or id, the object found by one field.
#include "client/oab/oab_main.h"
#include "client/oab/oab_qry.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColExtend = 10;
constexpr long kAnd = 1;

struct query {
  dbs_ty_qry_desc desc;
  void* orders;
  long num_orders;
  void* order_flags() { return num_orders > 0 ? &num_orders : nullptr; }
};

query make(long type, dbs_ty_qry_cond* conds, long count, long join, void* orders = nullptr, long num = 0) {
  return query{{type, count, conds, join}, orders, num};
}

long objects(query q, utl_ty_col* result) {
  return dbs_qry_simple(oab_db_con_id, &q.desc, q.orders, q.order_flags(), result);
}

long ids(query q, utl_ty_col* result) {
  return dbs_qry_simple_for_id(oab_db_con_id, &q.desc, q.orders, q.order_flags(), result);
}

// Takes element 0 out of a collection of objects and frees the rest.
dbs_ty_lobj* take_first(utl_ty_col* col) {
  void* e = nullptr;
  utl_col_ith(col, 0, &e);
  auto* first = *static_cast<dbs_ty_lobj**>(e);
  utl_col_remove(col, nullptr, 0);
  return first;
}

}  // namespace

long oab_qry_all_of_a_kind(long type, utl_ty_col* result) { return objects(make(type, nullptr, 0, 0), result); }

long oab_qry_all_of_a_kind_w_cond(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join) {
  return objects(make(type, conds, count, join), result);
}

long oab_qry_all_of_a_kind_w_order(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join,
                                   void* orders, long num_orders) {
  return objects(make(type, conds, count, join, orders, num_orders), result);
}

long oab_qry_all_id_of_a_kind(long type, utl_ty_col* result) { return ids(make(type, nullptr, 0, 0), result); }

long oab_qry_all_id_of_a_kind_w_cond(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count,
                                     long join) {
  return ids(make(type, conds, count, join), result);
}

long oab_qry_all_id_of_a_kind_w_orde(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join,
                                     void* orders, long num_orders) {
  return ids(make(type, conds, count, join, orders, num_orders), result);
}

long oab_qry_unique_oid_w_cond(long type, dbs_ty_qry_cond* conds, long count, long join, long* found, obj_id* out) {
  *found = 0;
  *out = obj_id{};
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("oab_qry_unique_oid_w_cond", CMN_TYP_LONG, 1, kColExtend, 0, 0, &col)) return st;
  long st = ids(make(type, conds, count, join), col);
  if (st == 0) *found = col->count;
  if (st == 0 && col->count == 1) {
    void* e = nullptr;
    utl_col_ith(col, 0, &e);
    *out = obj_id{type & OAB_TYPE_MASK, *static_cast<long*>(e), 0};
  }
  utl_col_free("oab_qry_unique_oid_w_cond", col);
  return st;
}

long oab_qry_unique_obj_w_cond(long type, dbs_ty_qry_cond* conds, long count, long join, long* found,
                               dbs_ty_lobj** out) {
  *found = 0;
  *out = nullptr;
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("oab_qry_unique_obj_w_cond", CMN_TYP_VOID_P, 1, kColExtend, 0, 0, &col)) return st;
  long st = objects(make(type, conds, count, join), col);
  if (st == 0) *found = col->count;
  if (st == 0 && col->count > 0) *out = take_first(col);
  dbs_obj_free_local_col(nullptr, col);
  return st;
}

long oab_qry_find_obj_by_one_fld(long type, long field, long op, long value, dbs_ty_lobj** out, long flag) {
  *out = nullptr;
  if (flag != 0) return 0;
  dbs_ty_qry_cond cond{field, op, value};
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("oab_qry_find_obj_by_one_fld", CMN_TYP_VOID_P, 1, kColExtend, 0, 0, &col)) return st;
  long st = objects(make(type, &cond, 1, kAnd), col);
  if (st == 0 && col->count == 1) *out = take_first(col);
  dbs_obj_free_local_col(nullptr, col);
  return st;
}
