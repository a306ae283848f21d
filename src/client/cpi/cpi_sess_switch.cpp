// Acting as another user and back: the session globals of the user, the
// employee and the user's relative are swapped, the real user is kept.
#include <cstdio>
#include <cstring>

#include "client/cpi/cpi_int.h"
#include "client/cpi_qry.h"
#include "client/cpi_sess.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_rel.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kUser2Employee = 17;
constexpr long kUserRelativeGen = -79;
constexpr long kNoMapStatus = 1;
constexpr const char* kProc = "cpi_sess_switch_user";

// What a user stands for in the session globals; the objects are local
// copies this record frees.
struct cpi_sess_user_view {
  obj_id user{};
  obj_id employee_id{};
  dbs_ty_lobj* employee = nullptr;
  dbs_ty_lobj* relative = nullptr;
  cpi_sess_user_view() = default;
  cpi_sess_user_view(const cpi_sess_user_view&) = delete;
  cpi_sess_user_view& operator=(const cpi_sess_user_view&) = delete;
  ~cpi_sess_user_view() {
    if (employee != nullptr) dbs_obj_free_local(kProc, employee);
    if (relative != nullptr) dbs_obj_free_local(kProc, relative);
  }
};

// The first user whose login name is `login` (a local copy, or null when
// there is none).
long cpi_sess_find_user(long con_id, const char* login, dbs_ty_lobj** out) {
  *out = nullptr;
  cpi_ty_fcond cond{CPI_OP_EQUAL, "login_name", login};
  cpi_ty_trav_map map{};
  if (cpi_qry_trav_map_init(1, &map) != 0) {
    std::printf("error initializing traversal map \n");
    return kNoMapStatus;
  }
  map.type_name = "user";
  map.cond_count = 1;
  map.conds = &cond;
  cpi_ty_qry_result* result = nullptr;
  if (long st = cpi_qry_traverse_map(con_id, 0, nullptr, 1, &map, 0, &result)) {
    std::printf("\n\n Error in querying. Printing alert stack:\n\n");
    std::printf("\nPrinting entire alert stack:\n");
    cpi_alert_print(nullptr, 0);
    return st;  // a switch cannot go on without the user
  }
  long count = 0;
  void** objects = nullptr;
  long st = cpi_qry_get_result(result, 0, 0, &count, &objects);
  if (st == 0 && count > 0) st = dbs_obj_copy(cpi_obj_of(objects[0]), out);
  cpi_qry_free_results(result);
  return st;
}

// The user's employee (none: row 31, not pushed).
long cpi_sess_read_employee(const obj_id& user, cpi_sess_user_view* view) {
  obj_id id = user;
  if (long st = oab_rel_get_one_oid_byid_sp(&id, kUser2Employee, 0, &view->employee_id)) return st;
  if (view->employee_id.num == 0) return CPI_ALRT_NO_EMPLOYEE;
  return dbs_obj_get(cpi_current_con(), &view->employee_id, 0, &view->employee);
}

// Everything the globals need of a user, read before any global changes.
long cpi_sess_read_view(dbs_ty_lobj* user, cpi_sess_user_view* view) {
  if (long st = dbs_obj_oid_get(user, &view->user)) return st;
  if (long st = cpi_sess_read_employee(view->user, view)) return st;
  return oab_rel_get_one_relative(nullptr, user, kUserRelativeGen, 0, &view->relative);
}

long cpi_sess_apply_view(const cpi_sess_user_view& view, const char* login) {
  if (long st = oab_glb_main_set_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &view.user)) return st;
  if (long st = oab_glb_main_set_variable(OAB_GLB_EMPLOYEE, OAB_GLB_OBJ, view.employee)) return st;
  if (long st = oab_glb_main_set_variable(OAB_GLB_EMPLOYEE_ID, OAB_GLB_OID, &view.employee_id)) return st;
  if (long st = oab_glb_main_set_variable(OAB_GLB_LOGIN, OAB_GLB_TEXT, login)) return st;
  return oab_glb_main_set_variable(OAB_GLB_USER_RELATIVE, OAB_GLB_OBJ, view.relative);
}

long cpi_sess_flush_caches() {
  long st = cpi_sess_acpt_flush_cache();
  long other = cpi_sess_dspch_flush_cache();
  return st != 0 ? st : other;
}

// A user found by login name, copied; `none` when there is no such user.
long cpi_sess_user_by_login(long con_id, const char* login, dbs_ty_lobj** out) {
  if (long st = cpi_sess_find_user(con_id, login, out)) return st;
  return *out == nullptr ? CPI_ALRT_NO_LOGIN : 0;
}

long cpi_sess_switch_do(long con_id, const char* current_login, const char* new_login) {
  dbs_ty_lobj* current = nullptr;
  if (long st = cpi_sess_user_by_login(con_id, current_login, &current)) return st;
  cpi_sess_user_view real;
  long st = cpi_sess_read_view(current, &real);
  dbs_obj_free_local(kProc, current);
  if (st != 0) return st;
  dbs_ty_lobj* target = nullptr;
  if (long s = cpi_sess_user_by_login(con_id, new_login, &target)) {
    if (s == CPI_ALRT_NO_LOGIN) std::printf("\nUser Name Can not be found\n");
    return s;
  }
  cpi_sess_user_view next;
  st = cpi_sess_read_view(target, &next);
  dbs_obj_free_local(kProc, target);
  if (st != 0) return st;
  long switched = 0;
  if (long s = oab_glb_main_get_variable(OAB_GLB_SWITCHED, OAB_GLB_LONG, &switched)) return s;
  if (switched == 0) {
    // The first switch keeps who really logged in; later ones keep it.
    if (long s = oab_glb_main_set_variable(OAB_GLB_REAL_USER_ID, OAB_GLB_OID, &real.user)) return s;
    if (long s = oab_glb_main_set_variable(OAB_GLB_REAL_LOGIN, OAB_GLB_TEXT, current_login)) return s;
    const long on = 1;
    if (long s = oab_glb_main_set_variable(OAB_GLB_SWITCHED, OAB_GLB_LONG, &on)) return s;
  }
  if (long s = cpi_sess_apply_view(next, new_login)) return s;
  return cpi_sess_flush_caches();
}

long cpi_sess_revert_do(char* out_login_name) {
  obj_id real{};
  if (long st = oab_glb_main_get_variable(OAB_GLB_REAL_USER_ID, OAB_GLB_OID, &real)) return st;
  char* login = nullptr;
  if (long st = oab_glb_main_get_variable(OAB_GLB_REAL_LOGIN, OAB_GLB_TEXT, &login)) return st;
  const char* name = login != nullptr ? login : "";
  dbs_ty_lobj* user = nullptr;
  if (long st = dbs_obj_get(cpi_current_con(), &real, 0, &user)) return st;
  cpi_sess_user_view view;
  long st = cpi_sess_read_view(user, &view);
  if (st == 0) st = oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, user);
  dbs_obj_free_local(kProc, user);
  if (st != 0) return st;
  if (out_login_name != nullptr) std::strcpy(out_login_name, name);
  const long off = 0;
  if (long s = oab_glb_main_set_variable(OAB_GLB_SWITCHED, OAB_GLB_LONG, &off)) return s;
  if (long s = cpi_sess_apply_view(view, name)) return s;
  return cpi_sess_flush_caches();
}

}  // namespace

long cpi_sess_switch_user(const char* current_login_name, const char* new_login_name, long con_id) {
  if (current_login_name == nullptr) return cpi_bad_param(1, "current_login_name");
  if (new_login_name == nullptr) return cpi_bad_param(2, "new_login_name");
  return cpi_sess_switch_do(con_id, current_login_name, new_login_name);
}

long cpi_sess_revert_user(char* out_login_name) { return cpi_sess_revert_do(out_login_name); }
