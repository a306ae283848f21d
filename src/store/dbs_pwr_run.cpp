// Power-query assembly with the security and clean-up procedures, trend and
// non-blocking runs, and the in-list test.
#include <cstring>
#include <vector>

#include "adapter/adp_qry.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_trn.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "schema/typ_path.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_pwr.h"


namespace {

constexpr long k_sql_size = 70016;
constexpr long k_proc_field = 5;
constexpr long k_sql_field = 6;

dbs_ty_pwr_secure_proc g_secure = nullptr;
dbs_ty_pwr_cleanup_proc g_cleanup = nullptr;

const char* text_field(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0) return "";
  const char* t = reinterpret_cast<const char*>(v);
  return t ? t : "";
}

void free_pattern(dbs_ty_pwr_list* list) {
  if (list && list->pattern) {
    osl_mem_free("dbs_pwr_qry_construct2", list->pattern);
    list->pattern = nullptr;
  }
}

}  // namespace

long dbs_pwr_qry_secure_install(dbs_ty_pwr_secure_proc secure, dbs_ty_pwr_cleanup_proc cleanup) {
  g_secure = secure;
  g_cleanup = cleanup;
  return 0;
}

long dbs_pwr_qry_construct2(KAdpConnId* c, dbs_ty_pwr_list* list, dbs_ty_pwr_list* list2, void* client_query,
                            dbs_ty_lobj* pwr_object, long options) {
  long st = dbs_pwr_pattern_first(list);
  if (st == 0 && list2) st = dbs_pwr_pattern_second(list2);
  if (st == 0) st = dbs_pwr_qry_construct3(c, list, list2, client_query, pwr_object, options);
  free_pattern(list);
  free_pattern(list2);
  return st;
}

long dbs_pwr_qry_construct3(KAdpConnId* c, dbs_ty_pwr_list* list, dbs_ty_pwr_list* list2, void* client_query,
                            dbs_ty_lobj* pwr_object, long options) {
  dbs_ty_pwr_list* replacement = nullptr;
  char convert = 0;
  if (!(options & 2) && g_secure) {
    if (long st = g_secure(list, &replacement, &convert, 0)) return st;
    dbs_pwr_set_convert_to_union(convert == 1 ? 1 : 0);
  }
  dbs_ty_pwr_list* used = replacement ? replacement : list;
  typ_sch_srec* schema = nullptr;
  long st = adp_sch_shandle_find(used->type_id, &schema);
  std::vector<char> sql(k_sql_size, '\0');
  if (st == 0) st = adp_pwr_qry_construct(c, schema, used, list2, client_query, sql.data());
  if (st == 0) {
    sql.back() = '\0';
    const char* text = sql.data();
    st = dbs_fld_set(pwr_object, k_sql_field, &text);
  }
  if (convert == 1 && g_cleanup) g_cleanup(replacement, 0, 0);
  return st;
}

long dbs_pwr_trend_qry_execute(KAdpConnId* c, dbs_ty_lobj* pwr_object, void* x) {
  return adp_pwr_trend_qry_execute(c, text_field(pwr_object, k_sql_field), x);
}
long dbs_pwr_non_block_exe(KAdpConnId* c, dbs_ty_lobj* pwr_object) {
  return adp_pwr_non_block_exe(c, text_field(pwr_object, k_proc_field), text_field(pwr_object, k_sql_field));
}
long dbs_pwr_non_block_check(void* a, void* b, long* state) { return adp_pwr_non_block_check(a, b, state); }
long dbs_pwr_non_block_results(KAdpConnId* c, utl_ty_col* ids) {
  if (ids) utl_col_reset(ids);
  return adp_pwr_non_block_results(c, ids);
}
long dbs_pwr_non_block_cancel() { return adp_pwr_non_block_cancel(); }

const char* dbs_pwr_is_path(const char* name) { return name ? std::strrchr(name, ':') : nullptr; }

long dbs_checkforin(KAdpConnId* c, dbs_ty_pwr_list* list) {
  if (long st = adp_trn_begin(c)) return st & 0xff;
  long result = 0;
  long st = 0;
  if (list && list->count > 0) {
    typ_sch_srec* s = nullptr;
    typ_sch_srec* fin = nullptr;
    typ_sch_frec* f = nullptr;
    long cf = 0, cnt = 0, rf = 0;
    unsigned long rw = 0;
    st = adp_sch_shandle_find(list->type_id, &s);
    const char* path = list->conds[0].field ? list->conds[0].field : "";
    if (st == 0) st = typ_sch_field_path_walk(s, path, 0, 0, &fin, &f, &cf, &cnt, &rf, &rw);
    if (st == 0)
      result = list->conds[0].op == 9 && f && f->data_type == 512 && f->name && std::strcmp(f->name, "objid") == 0;
  }
  adp_trn_commit(c);
  return st ? (st & 0xff) : result;
}
