// Database logins: creation with privilege classes and password changes.
#include "store/dbs_usr_adm.h"

#include <cctype>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_usr.h"

namespace {

constexpr long ADM_BAD_LOGIN = 0x2a0003d;
constexpr long DBS_NO_CLASS = 0x70001a;
constexpr long DBS_DUP_CLASS = 0x70001b;
constexpr long DBS_NO_PASSWORD_CHANGE = 0x700029;
constexpr long k_class_type = 33;

// The scrambled form of a password for an account (a copy: the scrambler's
// buffer is shared).
long scramble(KAdpConnId* c, const std::string& account, const char* password, char force, std::string* out) {
  const char* s = nullptr;
  if (long st = dbs_usr_password_encrypt(c, account.c_str(), password, force, &s, nullptr)) return st;
  *out = s ? s : "";
  return 0;
}

long no_change() { return dbs_alrt("dbs_usr_change_password", DBS_NO_PASSWORD_CHANGE); }

}  // namespace

long dbs_usr_chk_login_name(const char* name) {
  if (long st = dbs_obj_chk_name(name)) return st;
  if ((adp_main_server_type() & 1) && name && std::isdigit(static_cast<unsigned char>(name[0]))) {
    cmn_alrt_push_msg(nullptr, ADM_BAD_LOGIN, name);
    return ADM_BAD_LOGIN;
  }
  return 0;
}

long dbs_usr_create(KAdpConnId* c, const char* login, const char* password, long a, long privilege, char* out) {
  if (long st = dbs_usr_chk_login_name(login)) return st;
  std::string scrambled;
  if (long st = scramble(c, login, password, 0, &scrambled)) return st;
  return adp_usr_create(c, login, scrambled.c_str(), a, privilege, out);
}

long dbs_usr_create_with_privilege(KAdpConnId* c, const char* login, const char* password, long a,
                                   const char* class_name, long name_field, long value_field,
                                   dbs_ty_usr_decide_proc decide, char* out) {
  const char* name = class_name ? class_name : "";
  dbs_ty_qry_cond cond{name_field, 4, reinterpret_cast<long>(name)};
  dbs_ty_qry_desc desc{k_class_type, 1, &cond, 0};
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("dbs_usr_create_with_privilege", 517, 2, 2, 0, 0, &found)) return st;
  long st = dbs_qry_simple(c, &desc, nullptr, nullptr, found);
  long n = 0;
  utl_col_num(found, &n);
  long privilege = 0;
  if (st == 0 && n == 1) {
    void* slot = nullptr;
    utl_col_ith(found, 0, &slot);
    st = dbs_fld_get(*static_cast<dbs_ty_lobj**>(slot), value_field, &privilege, nullptr);
  }
  dbs_obj_free_local_col(nullptr, found);
  if (st) return st;
  if (n == 0) return dbs_alrt("dbs_usr_create_with_privilege", DBS_NO_CLASS, name);
  if (n > 1) return dbs_alrt("dbs_usr_create_with_privilege", DBS_DUP_CLASS, name);
  if (out) *out = 0;
  char exists = 0;
  if (decide && adp_usr_login_exists(c, login, a, &exists) == 0 && exists) {
    long answer = 0;
    if (long dst = decide(c, login, password, a, &answer)) return dst;
    if (answer == 1) {
      if (out) *out = 1;
      return 0;
    }
    if (answer == 2) {
      if (long dst = adp_usr_login_delete(c, login, a)) {
        if (out) *out = 1;
        return dst;
      }
    }
  }
  return dbs_usr_create(c, login, password, a, privilege, out);
}

long dbs_usr_groups_create(KAdpConnId* c, long x) { return adp_usr_groups_create(c, x); }
long dbs_usr_admin_login_get(const char** name) { return adp_usr_admin_login_get(name); }

long dbs_usr_change_password(KAdpConnId* c, const char* login, const char* old_password, const char* new_password,
                             const char* user_name, const char* replacement_old) {
  const char* admin = nullptr;
  adp_usr_admin_login_get(&admin);
  std::string user = user_name ? user_name : "";
  bool is_admin = admin && loc_st_strcmpi(admin, user.c_str()) == 0;
  bool has_login = login && *login;
  std::string account = is_admin && has_login ? login : user;
  std::string old_given = old_password ? old_password : "";
  std::string new_given = new_password ? new_password : "";
  std::string old_used = old_given;
  std::string new_used = new_given;
  if (!is_admin) {
    if (!old_given.empty()) {
      if (long st = scramble(c, account, old_given.c_str(), 0, &old_used)) return st;
    }
    if (long st = scramble(c, account, new_given.c_str(), 0, &new_used)) return st;
  }
  long server = adp_main_server_type();
  bool admin_other = is_admin && has_login;
  const char* pass_account = (server & 1) && !admin_other ? nullptr : account.c_str();
  if (admin_other && (server & 0x428)) old_used = replacement_old ? replacement_old : "";
  long st = adp_usr_change_password(c, pass_account, old_used.c_str(), new_used.c_str());
  bool family_104 = (server & 0x104) != 0;
  if (st != 0) {
    if (!family_104) return no_change();
    // Retry with the old password in its other form.
    if (is_admin || old_given.empty()) return no_change();
    cmn_alrt_clear(nullptr);
    std::string retry_old = old_given;
    if (old_used == old_given) {
      if (scramble(c, account, old_given.c_str(), 1, &retry_old) != 0) return no_change();
    }
    if (adp_usr_change_password(c, pass_account, retry_old.c_str(), new_used.c_str()) != 0) return no_change();
  } else if (family_104 && has_login) {
    return 0;
  }
  if (!has_login) return adp_db_info_set(c, nullptr, nullptr, new_given.c_str(), nullptr);
  return 0;
}
