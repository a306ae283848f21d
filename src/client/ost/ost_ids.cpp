// Object ids for the new objects of a save (and the relation rows that need
// one), the save's module data and the state module's start-up.
#include <cstdio>
#include <cstring>
#include <vector>

#include "client/ost/ost_int.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_save.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long k_default_retries = 10;
constexpr long k_oid_field = 0x1000003;
constexpr long k_offline_field = 0x1000097;
constexpr long k_row_id_type = DBS_IDS_SPECIAL_A;  // 100000002
constexpr long k_retired_types[] = {144, 5309, 5311, 5312};

long g_retry_count = k_default_retries;
long g_fail_count = 0;
utl_ty_col* g_requests = nullptr;

ost_ty_id_req* req_ith(utl_ty_col* col, long i) {
  void* e = nullptr;
  utl_col_ith(col, i, &e);
  return static_cast<ost_ty_id_req*>(e);
}

// The relation entries whose rows need an id of their own.
std::vector<long> rows_needing_ids(ost_ty_state* s) {
  std::vector<long> out;
  for (long i = 0; i < s->num_relations; ++i) {
    const ost_ty_rel_entry& e = s->rel_array[i];
    if (!(e.flags & OST_REL_RELATE)) continue;
    obj_id from = ost_rel_from_id(e);
    long is_mtm = 0;
    if (typ_sch_get_rel_info(nullptr, from.type & DBS_OID_TYPE_MASK, nullptr, e.rel, nullptr, nullptr, &is_mtm,
                             nullptr, nullptr, nullptr) == 0 &&
        is_mtm)
      out.push_back(i);
  }
  return out;
}

long give_id(ost_ty_state* s, const ost_ty_id_req& r, long site, long number, bool offline) {
  obj_id id{r.type, 0, 0};
  dbs_main_id_site_set(&id, site);
  dbs_main_id_number_set(&id, number);
  if (long st = dbs_fld_set_local(r.handle, k_oid_field, &id.num, 1)) return st;
  if (offline) {
    long one = 1;
    if (long st = dbs_fld_set_local(r.handle, k_offline_field, &one, 1)) return st;
  }
  ost_state_change_to_exists(r.handle);
  if (r.index < 0 || r.index >= s->num_objects) {
    osl_print_mes("Mismatch in object position in ost_state_create_ids\n");
    return 1;
  }
  ost_ty_obj_entry& e = s->object_array[r.index];
  if (e.handle != r.handle) {
    osl_print_mes("Mismatch in object handle in ost_state_create_ids\n");
    return 1;
  }
  e.id = ost_oid_of(r.handle);
  e.flags |= OST_OBJ_NEW_ID;
  return dbs_obj_add_to_batch(r.handle, 1);
}

}  // namespace

long ost_state_create_ids(ost_ty_state* s, KAdpConnId* db_con, utl_ty_col* requests) {
  char offline = 0;
  if (long st = dbs_db_if_roamer_enabled(db_con, &offline)) return st;
  std::vector<long> rows = offline ? rows_needing_ids(s) : std::vector<long>{};
  const long n = ost_col_count(requests);
  std::vector<long> types;
  for (long i = 0; i < n; ++i) {
    ost_ty_id_req* r = req_ith(requests, i);
    if (!ost_oid_has_number(ost_oid_of(r->handle))) types.push_back(r->type);
  }
  const long objects = static_cast<long>(types.size());
  types.insert(types.end(), rows.size(), k_row_id_type);
  if (types.empty()) return 0;
  long site = 0;
  if (long st = dbs_db_get_site_id(db_con, &site)) return st;
  std::vector<long> numbers(types.size());
  if (long st = dbs_obj_ids_create(db_con, static_cast<long>(types.size()), types.data(), numbers.data())) return st;
  long k = 0;
  for (long i = 0; i < n; ++i) {
    ost_ty_id_req r = *req_ith(requests, i);
    if (ost_oid_has_number(ost_oid_of(r.handle))) continue;
    if (long st = give_id(s, r, site, numbers[k++], offline)) return st;
  }
  for (size_t j = 0; j < rows.size(); ++j) {
    obj_id id{k_row_id_type, 0, 0};
    dbs_main_id_site_set(&id, site);
    dbs_main_id_number_set(&id, numbers[objects + static_cast<long>(j)]);
    s->rel_array[rows[j]].row_id = id;
  }
  return 0;
}

utl_ty_col* ost_save_requests() { return g_requests; }

char ost_save_take_injection() {
  if (g_fail_count <= 0) return 0;
  --g_fail_count;
  return 1;
}

long ost_save_retire_objects(ost_ty_state* s) {
  if (s->num_objects == 0) return 0;
  const long type = s->object_array[0].id.type & DBS_OID_TYPE_MASK;
  bool retire = false;
  for (long t : k_retired_types) retire = retire || t == type;
  if (!retire) return 0;
  if (!s->retired_col) {
    if (long st = utl_col_make("ost_state_save", CMN_TYP_VOID_P, 5, 10, 0, 0, &s->retired_col)) return st;
  }
  for (long i = 0; i < s->num_objects; ++i) {
    dbs_ty_lobj* h = s->object_array[i].handle;
    if (!h) continue;
    if (long st = utl_col_push(s->retired_col, &h, nullptr)) return st;
    s->object_array[i].handle = nullptr;
  }
  if (long st = utl_col_reset(s->object_col)) return st;
  ost_state_reload(s);
  return 0;
}

long ost_state_num_retries() { return g_retry_count; }
long ost_state_set_num_retries(long n) {
  g_retry_count = n;
  return 0;
}
long ost_state_db_fail(long n) {
  g_fail_count = n;
  return 0;
}

long ost_state_init() {
  if (long st = cmn_typ_install(OST_TY_STATE, -1, -1, nullptr, sizeof(ost_ty_state), nullptr, nullptr, nullptr,
                                nullptr))
    return st;
  if (long st = cmn_typ_install(OST_TY_ID_REQ, -1, -1, nullptr, sizeof(ost_ty_id_req), nullptr, nullptr, nullptr,
                                nullptr))
    return st;
  if (!g_requests) {
    if (long st = utl_col_make("ost_state_init", OST_TY_ID_REQ, 10, 10, 0, 0, &g_requests)) return st;
  }
  ost_state_set_default_cbs(0, nullptr);
  ost_state_clear_callbacks();
  return 0;
}
long ost_state_term() { return 0; }
