// Relation paths of the query builder: one step over a relation, and the
// walk along "rel:rel:field".
#include <string>

#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"
#include "store/dbs_rel.h"

namespace {

constexpr long DBS_NO_FIELD = 0x700022;
constexpr long DBS_BAD_REL = 0x700023;
constexpr long DBS_NO_TRAVERSE = 0x700024;
constexpr long DBS_PATH_MANY = 0x700025;
constexpr long k_mtm = 5;

const char* name_of(typ_sch_srec* s) { return s && s->info ? s->info->name : ""; }

}  // namespace

long dbs_pwr_traverse_rel_w_cond(KAdpConnId* c, dbs_ty_lobj* object, long target_type, long rel_id,
                                 const char* condition, long, utl_ty_col** objects) {
  *objects = nullptr;
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  if (long st = utl_col_make("dbs_pwr_traverse_rel_w_cond", 517, 5, 5, 0, 0, objects)) return st;
  dbs_ty_qry_cond cond{0, 15, reinterpret_cast<long>(condition)};
  dbs_ty_qry_desc target{target_type, 1, &cond, 0};
  long st = dbs_qry_relation(c, &id, rel_id, &target, nullptr, nullptr, *objects);
  if (st) {
    dbs_obj_free_local_col(nullptr, *objects);
    *objects = nullptr;
  }
  return st;
}

long dbs_pwr_traverse_rel(KAdpConnId* c, dbs_ty_lobj* object, const char* rel_text, long options,
                          utl_ty_col** objects) {
  *objects = nullptr;
  std::string text = rel_text ? rel_text : "";
  std::string name = text;
  std::string condition;
  bool has_condition = false;
  size_t open = text.find('(');
  size_t close = text.rfind(')');
  if (open != std::string::npos && close != std::string::npos && close > open) {
    name = text.substr(0, open);
    condition = text.substr(open + 1, close - open - 1);
    has_condition = true;
  }
  typ_sch_srec* s = dbs_obj_get_schema(object);
  if (!s) return dbs_alrt("dbs_pwr_traverse_rel", DBS_NULL_OBJECT);
  for (long i = 0; i < s->nrels; ++i) {
    const typ_sch_rel_inst& entry = s->rels[i];
    typ_sch_rrec* r = entry.rel;
    if (!r) continue;
    bool primary = entry.side == 'p';
    const char* side_name = primary ? r->pname : r->fname;
    if (!side_name || name != side_name) continue;
    long rel_id = primary ? r->pspec : r->fspec;
    bool to_one = (!primary && r->type != k_mtm) || (primary && (r->type == 3 || r->type == 4));
    if (to_one) {
      char got = 0;
      return dbs_rel_get_remote(c, object, rel_id, options, objects, &got);
    }
    if (!has_condition) return dbs_alrt("dbs_pwr_traverse_rel", DBS_NO_TRAVERSE, text.c_str());
    typ_sch_srec* other = primary ? r->fschema : r->pschema;
    return dbs_pwr_traverse_rel_w_cond(c, object, other ? other->type_id : 0, rel_id, condition.c_str(), options,
                                       objects);
  }
  return dbs_alrt("dbs_pwr_traverse_rel", DBS_BAD_REL, text.c_str(), name_of(s));
}

long dbs_pwr_rel_path_walk(KAdpConnId* c, dbs_ty_lobj* object, const char* path, long options, dbs_ty_lobj** out,
                           typ_sch_frec** field, char* fetched) {
  *out = nullptr;
  *field = nullptr;
  if (fetched) *fetched = 0;
  std::string p = path ? path : "";
  size_t colon = p.find(':');
  if (colon == std::string::npos) {
    typ_sch_srec* s = dbs_obj_get_schema(object);
    typ_sch_frec* f = nullptr;
    if (!s || typ_sch_field_get_by_name(s, p.c_str(), &f) != 0 || !f)
      return dbs_alrt("dbs_pwr_rel_path_walk", DBS_NO_FIELD, p.c_str(), name_of(s));
    *out = object;
    *field = f;
    return 0;
  }
  utl_ty_col* related = nullptr;
  long st = dbs_pwr_traverse_rel(c, object, p.substr(0, colon).c_str(), options, &related);
  long n = 0;
  if (related) utl_col_num(related, &n);
  if (st == 0 && n > 1) st = dbs_alrt("dbs_pwr_rel_path_walk", DBS_PATH_MANY, p.c_str(), n);
  if (st == 0 && n == 1) {
    void* slot = nullptr;
    utl_col_ith(related, 0, &slot);
    dbs_ty_lobj* next = *static_cast<dbs_ty_lobj**>(slot);
    char deeper = 0;
    st = dbs_pwr_rel_path_walk(c, next, p.substr(colon + 1).c_str(), options, out, field, &deeper);
    // next is freed below: it is not handed out.
    if (*out == next) *out = nullptr;
    if (fetched) *fetched = 1;
  }
  if (related) dbs_obj_free_local_col(nullptr, related);
  return st;
}

long dbs_pwr_rel_path_target_get(KAdpConnId* c, dbs_ty_lobj* object, const char* path, long options,
                                 dbs_ty_lobj** out, long* spec_id, long* cmn_type) {
  typ_sch_frec* f = nullptr;
  char fetched = 0;
  *spec_id = -1;
  *cmn_type = -1;
  if (long st = dbs_pwr_rel_path_walk(c, object, path, options, out, &f, &fetched)) return st;
  if (f) {
    *spec_id = f->spec_id;
    *cmn_type = f->data_type;
  }
  return 0;
}
