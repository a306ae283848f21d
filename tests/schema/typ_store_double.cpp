// Stand-ins for the object store's calls, answering through the adapter double.
#include "typ_store_double.h"

#include <map>

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_bld.h"
#include "adpdouble/adp_double_store.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"
#include "store/dbs_rdb.h"
#include "store/dbs_upg.h"

namespace {
std::map<long, std::vector<adp_double::stored_index>>& indexes() {
  static std::map<long, std::vector<adp_double::stored_index>> m;
  return m;
}
long g_rev = 0;
long g_int_rev = 0;
std::string g_cust;
bool g_roamer = false;
}  // namespace

namespace adp_double {
void set_indexes(long type_id, std::vector<stored_index> list) { indexes()[type_id] = std::move(list); }
void set_revisions(long schema_rev, long cust_int_rev) {
  g_rev = schema_rev;
  g_int_rev = cust_int_rev;
}
long schema_rev() { return g_rev; }
long cust_int_rev() { return g_int_rev; }
const char* cust_rev() { return g_cust.c_str(); }
void set_roamer(bool on) { g_roamer = on; }
}  // namespace adp_double

void schema_double_reset() {
  adp_double::reset();
  adp_store::reset();
  adp_double::set_server_type(0);
  indexes().clear();
  g_rev = g_int_rev = 0;
  g_cust.clear();
  g_roamer = false;
}

using adp_double::record;
using std::to_string;

long dbs_rdb_get_indexes(KAdpConnId*, long type_id, utl_ty_col** list) {
  if (long st = record("dbs_rdb_get_indexes", {to_string(type_id)})) return st;
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

long dbs_db_change_schema_rev(KAdpConnId*, long revision) {
  long st = record("dbs_db_change_schema_rev", {to_string(revision)});
  if (!st) g_rev = revision;
  return st;
}
long dbs_db_get_schema_rev(KAdpConnId*, long* revision) {
  *revision = g_rev;
  return record("dbs_db_get_schema_rev", {});
}
long dbs_db_change_cust_schema_rev(KAdpConnId*, const char* text) {
  long st = record("dbs_db_change_cust_schema_rev", {text ? text : ""});
  if (!st) g_cust = text ? text : "";
  return st;
}
long dbs_db_get_cust_int_sch_rev(KAdpConnId*, long* revision) {
  *revision = g_int_rev;
  return record("dbs_db_get_cust_int_sch_rev", {});
}
long dbs_db_change_cust_int_sch_rev(KAdpConnId*, long revision) {
  long st = record("dbs_db_change_cust_int_sch_rev", {to_string(revision)});
  if (!st) g_int_rev = revision;
  return st;
}
long dbs_db_if_roamer_enabled(KAdpConnId*, char* yes) {
  *yes = g_roamer ? 1 : 0;
  return record("dbs_db_if_roamer_enabled", {});
}
long dbs_db_name_get(const char** name) {
  *name = "testdb";
  return record("dbs_db_name_get", {});
}
long dbs_db_convert(KAdpConnId*, const char* argument) {
  return record("dbs_db_convert", {argument ? argument : ""});
}
long dbs_db_put_header(KAdpConnId*, adp_db_dhead*) { return record("dbs_db_put_header", {}); }
long dbs_rdb_calc_changes(KAdpConnId*, long count, typ_sch_diff_rec*, unsigned long options, utl_ty_col** changes,
                          long revision, utl_ty_col*) {
  *changes = nullptr;
  return record("dbs_rdb_calc_changes", {to_string(count), to_string(options), to_string(revision)});
}
long dbs_rdb_change_tables(KAdpConnId*, utl_ty_col*, long mode) {
  return record("dbs_rdb_change_tables", {to_string(mode)});
}

// The schema writer's field calls.
long dbs_fld_set_it(dbs_ty_lobj*, long field_id, const void*, long flags) {
  return record("dbs_fld_set_it", {to_string(field_id), to_string(flags)});
}
// As the store answers: the source field's currency bit in the current
// model; an unknown type is not an error.
long dbs_fld_is_currency_field(long type_id, long field_id, char* out) {
  *out = 0;
  if (long st = record("dbs_fld_is_currency_field", {to_string(type_id), to_string(field_id)})) return st;
  typ_sch_srec* s = nullptr;
  if (adp_sch_shandle_find(type_id, &s) != 0 || !s) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  long index = 0;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  *out = (s->fields[index].flags & TYP_FLD_CURRENCY) ? 1 : 0;
  return 0;
}

// The local object of a view, prepared for conversion: recorded only.
long dbs_obj_make(void*, long type_id, dbs_ty_lobj** out) {
  static char object;  // never read: stands for the object handed out
  *out = reinterpret_cast<dbs_ty_lobj*>(&object);
  return record("dbs_obj_make", {to_string(type_id)});
}
long dbs_obj_obj_to_or_from_view(KAdpConnId*, dbs_ty_lobj**, long n, dbs_ty_lobj*, char direction, const long*) {
  return record("dbs_obj_obj_to_or_from_view", {to_string(n), to_string(direction)});
}
long dbs_obj_free_local(const char* caller, dbs_ty_lobj*) {
  return record("dbs_obj_free_local", {caller ? caller : ""});
}
