// The adapter functions themselves, answering through the double.
#include <string>

#include "adapter/adp_rel.h"
#include "adapter/adp_sch.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"

namespace adp_double {
long require_prefix_value();
const std::string* table_of(long type_id);
const std::string* type_name_of(long db_type);
void add_relate(const queued_relate& r);
}  // namespace adp_double

namespace {
std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }
std::string oid(const obj_id* id) {
  return id ? std::to_string(id->type) + "/" + std::to_string(id->num) + "/" + std::to_string(id->sub) : "null";
}
}  // namespace

using adp_double::record;

long adp_sch_require_prefix() {
  record("adp_sch_require_prefix", {});
  return adp_double::require_prefix_value();
}

long adp_sch_tbl_name_prefix(const char* name, const char** out) {
  long st = record("adp_sch_tbl_name_prefix", {name ? name : "null"});
  if (out) *out = name;
  return st;
}

long adp_sch_types_sch_reinit() { return record("adp_sch_types_sch_reinit", {}); }
long adp_sch_set_comment_flag() { return record("adp_sch_set_comment_flag", {}); }
long adp_sch_set_join_flag() { return record("adp_sch_set_join_flag", {}); }

const char* adp_sch_type_to_string(long db_type) {
  record("adp_sch_type_to_string", {std::to_string(db_type)});
  if (const std::string* n = adp_double::type_name_of(db_type)) return n->c_str();
  return "unknown database datatype";
}

long adp_sch_tbl_find(long type_id, const char** table) {
  long st = record("adp_sch_tbl_find", {std::to_string(type_id)});
  if (st) return st;
  const std::string* t = adp_double::table_of(type_id);
  if (!t) return 0x600006;
  *table = t->c_str();
  return 0;
}

long adp_sch_fetch_joins(KAdpConnId* con, typ_sch_srec* view, char reload, char first_def, utl_ty_col** types,
                         utl_ty_col** aliases) {
  return record("adp_sch_fetch_joins",
                {ptr(con), ptr(view), std::to_string(reload), std::to_string(first_def)},
                {con, view, types, aliases});
}

long adp_sch_fetch_org_view_fields(KAdpConnId* con, typ_sch_srec* view, utl_ty_col* types, utl_ty_col* aliases) {
  return record("adp_sch_fetch_org_view_fields", {ptr(con), ptr(view), ptr(types), ptr(aliases)},
                {con, view, types, aliases});
}

long adp_sch_get_view_rel(KAdpConnId* con, typ_sch_srec* view, char reload, utl_ty_col** types,
                          utl_ty_col** aliases, utl_ty_col* first, utl_ty_col* second) {
  return record("adp_sch_get_view_rel", {ptr(con), ptr(view), std::to_string(reload)},
                {con, view, types, aliases, first, second});
}

long adp_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate) {
  long st = record("adp_rel_add_to_batch",
                   {oid(a), oid(b), oid(link_row), std::to_string(rel_id), std::to_string(relate)});
  if (!st) adp_double::add_relate({*a, *b, link_row ? *link_row : obj_id{}, rel_id, relate});
  if (!st && adp_mem::on()) adp_mem::queue_relation(*a, *b, link_row ? *link_row : obj_id{}, rel_id, relate);
  return st;
}
