// Stored index descriptions and type registrations, answering through the double.
#include "adpdouble/adp_double_rdb.h"

#include "adapter/adp_sch_upg.h"
#include "adpdouble/adp_double.h"
#include "core/utl/utl_col.h"
#include "store/dbs_rdb.h"

namespace {
std::map<long, std::vector<adp_double::stored_index>>& indexes() {
  static std::map<long, std::vector<adp_double::stored_index>> m;
  return m;
}
}  // namespace

namespace adp_double {
void set_indexes(long type_id, std::vector<stored_index> list) { indexes()[type_id] = std::move(list); }
void rdb_reset() { indexes().clear(); }
}  // namespace adp_double

using adp_double::record;

long dbs_rdb_get_indexes(KAdpConnId*, long type_id, utl_ty_col** list) {
  if (long st = record("dbs_rdb_get_indexes", {std::to_string(type_id)})) return st;
  if (long st = utl_col_make("dbs_rdb_get_indexes", 517, 4, 4, 0, 0, list)) return st;
  for (const auto& ix : indexes()[type_id]) {
    utl_ty_col* members = nullptr;
    utl_col_make("dbs_rdb_get_indexes", 516, 4, 4, 0, 0, &members);
    utl_col_push(members, ix.name.c_str(), nullptr);
    for (const auto& f : ix.fields) utl_col_push(members, f.c_str(), nullptr);
    utl_col_set_ext(members, ix.unique ? 1 : 0);
    utl_col_push(*list, &members, nullptr);
  }
  return 0;
}

long dbs_rdb_free_ind_col(utl_ty_pool*, utl_ty_col* list) {
  record("dbs_rdb_free_ind_col", {});
  long n = 0;
  if (list) utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    if (e) utl_col_free("dbs_rdb_free_ind_col", *static_cast<utl_ty_col**>(e));
  }
  return list ? utl_col_free("dbs_rdb_free_ind_col", list) : 0;
}

long adp_sch_type_insert(long type_id, unsigned long flags, typ_sch_iblk*) {
  return record("adp_sch_type_insert", {std::to_string(type_id), std::to_string(flags)});
}
