// Row-level security: the set-up of a session (privilege class,
// restrictions, start objects), its clean-up and the questions on it.
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_rel.h"
#include "client/oab/oab_sec.h"
#include "client/oab/oab_sec_int.h"
#include "client/ost/ost_comm.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kClassName = 1;
constexpr long kUserLogin = 1;
constexpr long kRestrictionSlots = 10;
constexpr long kFormatSize = 50;
constexpr long kEq = 4;
constexpr long kAnd = 1;
constexpr long kCommunityLevels = 3;

oab_ty_sec_state g_state;

template <class T>
T ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return *static_cast<T*>(slot);
}

void free_obj(dbs_ty_lobj** o) {
  if (*o != nullptr) dbs_obj_free_local("oab_qry_cleanup_secure_objs", *o);
  *o = nullptr;
}

// The session's user: global 26, else the object of type 20 whose login
// is the database user's (then kept as global 26). Null when none.
long session_user(dbs_ty_lobj** user) {
  if (long st = oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, user)) return st;
  if (*user != nullptr) return 0;
  const char* login = nullptr;
  if (long st = dbs_db_info_get(oab_db_con_id, nullptr, &login, nullptr, nullptr)) return st;
  dbs_ty_qry_cond cond{kUserLogin, kEq, reinterpret_cast<long>(login != nullptr ? login : "")};
  long found = 0;
  if (long st = oab_qry_unique_obj_w_cond(OAB_SEC_USER_TYPE, &cond, 1, kAnd, &found, user)) return st;
  if (*user == nullptr) return 0;
  return oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, *user);
}

// The privilege class: global 39, else the user's relative (then kept as
// globals 36 and 39). Null when the user has none.
long privilege_class(dbs_ty_lobj** pc) {
  if (long st = oab_glb_main_get_variable(OAB_GLB_CLASS, OAB_GLB_OBJ, pc)) return st;
  if (*pc != nullptr) return 0;
  dbs_ty_lobj* user = nullptr;
  long st = session_user(&user);
  if (st == 0 && user != nullptr) st = oab_rel_get_one_relative_sp(nullptr, user, OAB_SEC_USER2CLASS, 0, pc);
  free_obj(&user);
  obj_id id{};
  if (st == 0 && *pc != nullptr) st = dbs_obj_oid_get(*pc, &id);
  if (st == 0 && *pc != nullptr) st = oab_glb_main_set_variable(OAB_GLB_CLASS_ID, OAB_GLB_OID, &id);
  if (st == 0 && *pc != nullptr) st = oab_glb_main_set_variable(OAB_GLB_CLASS, OAB_GLB_OBJ, *pc);
  return st;
}

// The restrictions of the classes named as pc, ordered by type and kind.
long read_restrictions(dbs_ty_lobj* pc) {
  const char* name = oab_sec_text(pc, kClassName);
  dbs_ty_qry_cond cond{kClassName, kEq, reinterpret_cast<long>(name)};
  utl_ty_col* classes = nullptr;
  if (long st = utl_col_make("oab_qry_retrieve_secure_objs", CMN_TYP_VOID_P, 1, kRestrictionSlots, 0, 0, &classes))
    return st;
  dbs_ty_qry_desc by_name{OAB_SEC_CLASS_TYPE, 1, &cond, kAnd};
  long st = dbs_qry_simple(oab_db_con_id, &by_name, nullptr, nullptr, classes);
  oab_ty_qry_order orders[] = {{OAB_RST_TYPE, 0}, {OAB_RST_IS_COND, 0}};
  long num_orders = 2;
  dbs_ty_qry_desc target{OAB_SEC_RESTRICTION_TYPE, 0, nullptr, kAnd};
  for (long i = 0; st == 0 && i < classes->count; ++i) {
    obj_id id{};
    st = dbs_obj_oid_get(ith<dbs_ty_lobj*>(classes, i), &id);
    if (st == 0)
      st = dbs_qry_relation(oab_db_con_id, &id, OAB_SEC_CLASS2RESTRICTION, &target, orders, &num_orders,
                            g_state.restrictions);
  }
  dbs_obj_free_local_col(nullptr, classes);
  return st;
}

long copy_first(utl_ty_col* found, const ost_ty_level_result& level, dbs_ty_lobj** out) {
  if (level.count <= 0) return 0;
  auto* all = reinterpret_cast<dbs_ty_lobj**>(found->array);
  return dbs_obj_copy(all[level.fetch_word1], out);
}

// Contact and primary site of a user without employee.
long user_contact_and_site() {
  obj_id id{};
  if (long st = dbs_obj_oid_get(g_state.user, &id)) return st;
  ost_ty_trav_cond primary{OAB_SEC_ROLE_PRIMARY, kEq, 1};
  ost_ty_trav_level levels[kCommunityLevels] = {
      {OAB_SEC_USER2CONTACT, -1, 0, 0, nullptr, 0, nullptr, 0},
      {OAB_SEC_CONTACT2ROLE, 0, 0, 1, &primary, 0, nullptr, 0},
      {OAB_SEC_ROLE2SITE, 1, 0, 0, nullptr, 0, nullptr, 0}};
  ost_ty_level_result results[kCommunityLevels]{};
  utl_ty_col* found = nullptr;
  long st = ost_rel_community(oab_db_con_id, nullptr, &id, kCommunityLevels, levels, OST_REL_COMMUNE_GET_ALL_HNDLS,
                              results, &found);
  if (st == 0 && found != nullptr) st = copy_first(found, results[0], &g_state.contact);
  if (st == 0 && found != nullptr) st = copy_first(found, results[2], &g_state.site);
  if (found != nullptr) dbs_obj_free_local_col(nullptr, found);
  return st;
}

long set_up() {
  g_state.on = false;
  if (long st = utl_col_make("oab_qry_retrieve_secure_objs", CMN_TYP_VOID_P, kRestrictionSlots, kRestrictionSlots,
                             0, 0, &g_state.restrictions))
    return st;
  dbs_ty_lobj* pc = nullptr;
  long st = privilege_class(&pc);
  if (st == 0 && pc != nullptr) st = read_restrictions(pc);
  free_obj(&pc);
  if (st != 0) return st;
  g_state.on = g_state.restrictions->count > 0;
  if (long s = oab_qry_cache_secure_objs()) return s;
  if (long s = utl_estr_create("oab_qry_retrieve_secure_objs", nullptr, kFormatSize, kFormatSize,
                               &g_state.combined_format))
    return s;
  return utl_estr_create("oab_qry_retrieve_secure_objs", nullptr, kFormatSize, kFormatSize, &g_state.db_format);
}

void free_compiled(dbs_ty_lobj* restriction) {
  void* p = nullptr;
  dbs_obj_uptr_get(restriction, &p);
  auto* c = static_cast<oab_ty_secure_cond*>(p);
  if (c == nullptr) return;
  if (c->path != nullptr) utl_estr_free("oab_qry_cleanup_secure_objs", c->path);
  if (c->value != nullptr) utl_estr_free("oab_qry_cleanup_secure_objs", c->value);
  delete c;
  dbs_obj_uptr_set(restriction, nullptr);
}

}  // namespace

oab_ty_sec_state& oab_sec_state() { return g_state; }

const char* oab_sec_text(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (o == nullptr || dbs_fld_get(o, field, &v, nullptr) != 0) return "";
  return v != 0 ? reinterpret_cast<const char*>(v) : "";
}

long oab_sec_long(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (o == nullptr || dbs_fld_get(o, field, &v, nullptr) != 0) return 0;
  return v;
}

const char* oab_sec_type_name(long type) {
  typ_sch_srec* s = nullptr;
  if (typ_sch_find_handle(type, nullptr, &s) != 0 || s == nullptr || s->info == nullptr) return "";
  return s->info->name;
}

long oab_qry_retrieve_secure_objs() {
  if (g_state.inited || g_state.busy) return 0;
  char enabled = 0;
  if (long st = dbs_db_if_secure_enabled(oab_db_con_id, &enabled)) return st;
  if (enabled == 0) {
    g_state.on = false;
    return 0;
  }
  g_state.busy = true;
  long st = set_up();
  g_state.busy = false;
  if (st != 0) {
    oab_qry_cleanup_secure_objs();
    return st;
  }
  g_state.inited = true;
  return 0;
}

long oab_qry_cache_secure_objs() {
  if (long st = oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, &g_state.user)) return st;
  if (long st = oab_glb_main_get_variable(OAB_GLB_EMPLOYEE, OAB_GLB_OBJ, &g_state.employee)) return st;
  if (g_state.employee != nullptr)
    return oab_rel_get_one_relative_sp(nullptr, g_state.employee, OAB_SEC_EMPL2SITE, 0, &g_state.site);
  if (g_state.user == nullptr) return 0;
  return user_contact_and_site();
}

long oab_qry_cleanup_secure_objs() {
  if (utl_ty_col* col = g_state.restrictions) {
    for (long i = 0; i < col->count; ++i) free_compiled(ith<dbs_ty_lobj*>(col, i));
    dbs_obj_free_local_col(nullptr, col);
  }
  g_state.restrictions = nullptr;
  for (dbs_ty_lobj** o : {&g_state.user, &g_state.employee, &g_state.contact, &g_state.site}) free_obj(o);
  oab_qry_scratch_free();
  for (utl_ty_estr** e : {&g_state.combined_format, &g_state.db_format}) {
    if (*e != nullptr) utl_estr_free("oab_qry_cleanup_secure_objs", *e);
    *e = nullptr;
  }
  g_state.inited = false;
  g_state.on = false;
  return 0;
}

long oab_qry_is_there_security(char* on) {
  *on = 0;
  if (long st = oab_qry_retrieve_secure_objs()) return st;
  *on = g_state.on ? 1 : 0;
  return 0;
}

long oab_qry_startobj_byflag(long selector, dbs_ty_lobj** out) {
  switch (selector) {
    case OAB_SEC_USER: *out = g_state.user; break;
    case OAB_SEC_SITE: *out = g_state.site; break;
    case OAB_SEC_CONTACT: *out = g_state.contact; break;
    case OAB_SEC_EMPLOYEE: *out = g_state.employee; break;
    default: *out = nullptr; break;
  }
  return 0;
}
