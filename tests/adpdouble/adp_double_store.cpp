#include "adpdouble/adp_double_store.h"

#include <string>

#include "adapter/adp_sch_upg.h"
#include "adpdouble/adp_double.h"
#include "core/utl/utl_col.h"
#include "store/dbs_upg.h"

namespace {
long g_rev = 0;
long g_int_rev = 0;
std::string g_cust;
bool g_roamer = false;
}  // namespace

namespace adp_double {
void set_revisions(long schema_rev, long cust_int_rev) {
  g_rev = schema_rev;
  g_int_rev = cust_int_rev;
}
long schema_rev() { return g_rev; }
long cust_int_rev() { return g_int_rev; }
const char* cust_rev() { return g_cust.c_str(); }
void set_roamer(bool on) { g_roamer = on; }
void store_reset() {
  g_rev = g_int_rev = 0;
  g_cust.clear();
  g_roamer = false;
}
}  // namespace adp_double

using adp_double::record;
using std::to_string;

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
long dbs_db_name_get(KAdpConnId*, const char** name) {
  *name = "testdb";
  return record("dbs_db_name_get", {});
}
long dbs_db_convert(KAdpConnId*, const char* argument) {
  return record("dbs_db_convert", {argument ? argument : ""});
}
long typ_sch_write(KAdpConnId*, long with_rels, long mode, long id_argument) {
  return record("typ_sch_write", {to_string(with_rels), to_string(mode), to_string(id_argument)});
}
long typ_sch_set_view_currency_flag(KAdpConnId*, utl_ty_col*) { return record("typ_sch_set_view_currency_flag", {}); }
long dbs_rdb_calc_changes(KAdpConnId*, long count, typ_sch_diff_rec*, unsigned long options, utl_ty_col** changes,
                          long revision, utl_ty_col*) {
  *changes = nullptr;
  return record("dbs_rdb_calc_changes", {to_string(count), to_string(options), to_string(revision)});
}
long dbs_rdb_change_tables(KAdpConnId*, utl_ty_col*, long mode) {
  return record("dbs_rdb_change_tables", {to_string(mode)});
}
long adp_sch_delete_type_info(KAdpConnId*, long type_id) {
  return record("adp_sch_delete_type_info", {to_string(type_id)});
}
long adp_sce_update_detable(KAdpConnId*, long version, utl_ty_col*) {
  return record("adp_sce_update_detable", {to_string(version)});
}
long adp_stp_create_procs(KAdpConnId*, const char* db_name, long flag) {
  return record("adp_stp_create_procs", {db_name ? db_name : "", to_string(flag)});
}
long adp_sch_types_init(KAdpConnId*, void*) { return record("adp_sch_types_init", {}); }
