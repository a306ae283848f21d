// Row-level security: the rewriting of the store's power and simple queries
// and its installation in the store.
#include <string>

#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_sec.h"
#include "client/oab/oab_sec_int.h"
#include "core/utl/utl_estr.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kAnd = 1;

// The caller's conditions followed by the n compiled restriction conditions
// of its type, with the combined format.
long rewrite(dbs_ty_pwr_list* q, long n, dbs_ty_pwr_list** out) {
  oab_ty_sec_state& s = oab_sec_state();
  long own = q->conds != nullptr ? q->count : 0;
  auto* rec = new dbs_ty_pwr_list{q->type_id, own + n, nullptr, kAnd, nullptr, own};
  rec->conds = new dbs_ty_pwr_cond[static_cast<size_t>(own + n > 0 ? own + n : 1)];
  for (long i = 0; i < own; ++i) rec->conds[i] = q->conds[i];
  long st = oab_qry_cpy_secure_cond_bytyp(q->type_id, rec->conds + own);
  std::string format = oab_qry_secure_format(own, q->pattern, static_cast<char>(q->and_flag), n,
                                             utl_estr_get(s.db_format));
  if (st == 0) st = utl_estr_reset(s.combined_format);
  if (st == 0) st = utl_estr_append(s.combined_format, format.c_str());
  if (st != 0) {
    oab_qry_pwr_obj_cond_free(rec, 0);
    return st;
  }
  rec->pattern = s.combined_format->text;
  *out = rec;
  return 0;
}

// The number of condition restrictions of a type (their texts gathered
// into the module's format string).
long gather(long type, long* n) {
  oab_ty_sec_state& s = oab_sec_state();
  if (long st = utl_estr_reset(s.db_format)) return st;
  return oab_qry_bld_secure_cond_bytyp(type, n, s.db_format, 0);
}

// The power-query object of a transformed simple query.
long construct(dbs_ty_pwr_list* rec, oab_ty_pwr_order* order, dbs_ty_lobj** out) {
  dbs_ty_lobj* pwr = nullptr;
  if (long st = dbs_obj_make(nullptr, OAB_SEC_PWR_QUERY_TYPE, &pwr)) return st;
  if (long st = dbs_pwr_qry_construct2(oab_db_con_id, rec, nullptr, order, pwr, 0)) {
    dbs_obj_free_local("oab_qry_secure_simple_query", pwr);
    return st;
  }
  *out = pwr;
  return 0;
}

}  // namespace

long oab_qry_init() {
  if (long st = dbs_pwr_qry_secure_install(oab_qry_secure_pwr_query, oab_qry_dealloc_query)) return st;
  return dbs_qry_secure_install(oab_qry_secure_simple_query);
}

long oab_qry_term() { return oab_qry_cleanup_secure_objs(); }

long oab_qry_secure_pwr_query(dbs_ty_pwr_list* query, dbs_ty_pwr_list** out, char* rewritten, long) {
  *out = nullptr;
  *rewritten = 0;
  if (long st = oab_qry_retrieve_secure_objs()) return st;
  if (!oab_sec_state().on || oab_sec_state().busy || query == nullptr) return 0;
  long n = 0;
  if (long st = gather(query->type_id, &n)) return st;
  if (long st = rewrite(query, n, out)) return st;
  *rewritten = 1;
  return 0;
}

long oab_qry_secure_simple_query(void* desc, void* orders, void* num_orders, dbs_ty_lobj** out, long) {
  *out = nullptr;
  if (long st = oab_qry_retrieve_secure_objs()) return st;
  if (!oab_sec_state().on || oab_sec_state().busy || desc == nullptr) return 0;
  oab_qry_reset_scratch_cols();
  auto* q = static_cast<dbs_ty_qry_desc*>(desc);
  long type = -1;
  oab_qry_view_to_obj_map(q->type_id, -1, &type, nullptr);
  if (type == -1) return 0;
  long n = 0;
  if (long st = gather(type, &n)) return st;
  if (n == 0) return 0;
  long count = num_orders != nullptr ? *static_cast<long*>(num_orders) : 0;
  dbs_ty_pwr_list* rec = nullptr;
  oab_ty_pwr_order* order = nullptr;
  char flag = 0;
  if (long st = oab_qry_xform_simple_query(q, count, static_cast<oab_ty_qry_order*>(orders), &rec, &order, &flag))
    return st;
  long taken = rec->count;
  // An OR-joined query keeps its join inside the restriction's parentheses.
  if (q->count > 1 && q->order_field != kAnd) rec->and_flag = 0;  // fourth word: the join flag
  long st = taken == (q->conds != nullptr ? q->count : 0)
                ? construct(rec, order, out)
                : oab_alrt("oab_qry_secure_simple_query", OAB_BAD_RESTRICTION, oab_sec_type_name(type));
  oab_qry_dealloc_query(rec, reinterpret_cast<long>(order), 0);
  return st;
}
