// Object ids of relatives, and the one related object meeting conditions.
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_set.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_rel.h"

namespace {

constexpr long kColExtend = 10;

// The ids through one specific relation merged into *out (made when the
// first ids arrive).
template <class Read>
long collect(long sp_id, utl_ty_col** out, Read read) {
  utl_ty_col* tmp = nullptr;
  if (long st = utl_col_make("oab_rel_get_rel_oid", OAB_REL_OID_TYPE, kColExtend, kColExtend, 0, 0, &tmp)) return st;
  long st = read(sp_id, tmp);
  if (st == 0 && tmp->count > 0 && *out == nullptr)
    st = utl_col_make("oab_rel_get_rel_oid", OAB_REL_OID_TYPE, kColExtend, kColExtend, 0, 0, out);
  if (st == 0 && tmp->count > 0) st = utl_col_merge_col(tmp, *out);
  utl_col_free("oab_rel_get_rel_oid", tmp);
  return st;
}

template <class Read>
long collect_gen(long type, long gen_id, utl_ty_col** out, Read read) {
  long count = 0;
  oab_rel_node* node = nullptr;
  if (long st = oab_rel_map_gen_all(type, gen_id, &count, &node)) return st;
  for (long i = 0; i < count; ++i, node = node->next)
    if (long st = collect(node->sp_id, out, read)) return st;
  return 0;
}

// The one id of a collection: cleared when none, 0xE00000 when several.
long one_of(const char* proc, long st, utl_ty_col* ids, obj_id* out) {
  *out = obj_id{};
  long n = ids != nullptr ? ids->count : 0;
  if (st == 0 && n == 1) {
    void* e = nullptr;
    utl_col_ith(ids, 0, &e);
    *out = *static_cast<obj_id*>(e);
  }
  if (ids != nullptr) utl_col_free(proc, ids);
  if (st != 0) return st;
  return n > 1 ? oab_alrt(proc, OAB_MANY_RELATIVES) : 0;
}

}  // namespace

long oab_rel_get_rel_oid_gen(dbs_ty_lobj* object, long rel_id, long options, utl_ty_col** out) {
  *out = nullptr;
  auto read = [&](long sp, utl_ty_col* tmp) { return dbs_rel_get_oid(oab_db_con_id, object, sp, options, tmp); };
  if (rel_id >= 0) return collect(rel_id, out, read);
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  return collect_gen(id.type & OAB_TYPE_MASK, rel_id, out, read);
}

long oab_rel_get_one_oid_gen(dbs_ty_lobj* object, long rel_id, long options, obj_id* out) {
  utl_ty_col* ids = nullptr;
  long st = oab_rel_get_rel_oid_gen(object, rel_id, options, &ids);
  return one_of("oab_rel_get_one_oid_gen", st, ids, out);
}

long oab_rel_get_rel_oid_byid_gen(obj_id* id, long gen_id, long options, utl_ty_col** out) {
  *out = nullptr;
  auto read = [&](long sp, utl_ty_col* tmp) { return dbs_rel_get_oid_from_oid(oab_db_con_id, id, sp, options, tmp); };
  return collect_gen(id->type & OAB_TYPE_MASK, gen_id, out, read);
}

long oab_rel_get_one_oid_byid_gen(obj_id* id, long gen_id, long options, obj_id* out) {
  utl_ty_col* ids = nullptr;
  long st = oab_rel_get_rel_oid_byid_gen(id, gen_id, options, &ids);
  return one_of("oab_rel_get_one_oid_byid_gen", st, ids, out);
}

long oab_rel_get_one_oid_byid_sp(obj_id* id, long sp_id, long options, obj_id* out) {
  utl_ty_col* ids = nullptr;
  auto read = [&](long sp, utl_ty_col* tmp) { return dbs_rel_get_oid_from_oid(oab_db_con_id, id, sp, options, tmp); };
  long st = collect(sp_id, &ids, read);
  return one_of("oab_rel_get_one_oid_byid_sp", st, ids, out);
}

long oab_rel_get_one_obj_w_cond(dbs_ty_lobj* object, long rel_id, long type, void* conds, long count, long join,
                                long* found, dbs_ty_lobj** out) {
  const char* proc = "oab_rel_get_one_obj_w_cond";
  *found = 0;
  *out = nullptr;
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  dbs_ty_qry_desc target{type, count, static_cast<dbs_ty_qry_cond*>(conds), join};
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make(proc, CMN_TYP_VOID_P, 1, kColExtend, 0, 0, &col)) return st;
  long st = dbs_qry_relation(oab_db_con_id, &id, rel_id, &target, nullptr, nullptr, col);
  if (st == 0) *found = col->count;
  if (st == 0 && col->count == 1) {
    void* e = nullptr;
    utl_col_ith(col, 0, &e);
    *out = *static_cast<dbs_ty_lobj**>(e);
    utl_col_remove(col, nullptr, 0);
  }
  dbs_obj_free_local_col(nullptr, col);
  return st;
}
