// Database open with the zones handed to the clock, default objects, the
// user's login and the session's objects.
#include <cstring>
#include <string>

#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_rel.h"
#include "client/ost/ost_obj.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_time.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_usr.h"

namespace {

constexpr long kMasterName = 0xe000c5;
constexpr long kMasterMissing = 0xe000c6;
constexpr long kMasterUndefined = 0xe000c7;
constexpr long kServerName = 0xe000eb;
constexpr long kServerMissing = 0xe000ec;
constexpr long kServerUndefined = 0xe000ed;
constexpr long kDisplayMaster = 1;
constexpr long kEq = 4;
constexpr long kAnd = 1;
constexpr long kColExtend = 10;
constexpr long kMustExist = 1;
constexpr long kOnlyOne = 2;
constexpr long kUserLogin = 1;
constexpr long kUserRelativeGen = -79;
constexpr long kUser2Employee = 17;

const char* type_name(long type) {
  typ_sch_srec* s = nullptr;
  if (typ_sch_find_handle(type, nullptr, &s) != 0 || s == nullptr || s->info == nullptr) return "";
  return s->info->name;
}

const char* text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0 || v == 0) return "";
  return reinterpret_cast<const char*>(v);
}

// Several zones: master and server zones from their items; the display of
// the master zone and the database code page from theirs.
long open_zones() {
  if (clk_time_mzone_diff_get() != 0) {
    if (long st = oab_db_get_time_zone(oab_db_master_tz(), kMasterName, kMasterMissing, kMasterUndefined)) return st;
    if (long st = oab_db_get_time_zone(oab_db_server_tz(), kServerName, kServerMissing, kServerUndefined)) return st;
    if (long st = clk_time_server_master_tz_set(oab_db_server_tz(), oab_db_master_tz(), 0)) return st;
  }
  oab_db_cfg_inval_cache();
  dbs_ty_lobj* item = nullptr;
  long value = 0;
  if (long st = oab_db_get_config_item("display_mstr_time_zone", &item, &value, nullptr, nullptr)) return st;
  if (item != nullptr && value == kDisplayMaster) {
    // The display switch keeps the zones the clock was given.
    bool loaded = clk_time_mzone_diff_get() != 0;
    if (long st = clk_time_server_master_tz_set(loaded ? oab_db_server_tz() : nullptr,
                                                loaded ? oab_db_master_tz() : nullptr, kDisplayMaster))
      return st;
  }
  const char* page = nullptr;
  if (long st = oab_db_get_config_item("Database Codepage", &item, nullptr, nullptr, &page)) return st;
  if (item != nullptr && page != nullptr && *page != '\0') return dbs_db_set_dbcodepage(page);
  return 0;
}

// The special server type: the master zone is also the server's.
long open_special() {
  clk_ty_tz* master = oab_db_master_tz();
  if (long st = oab_db_get_time_zone(master, kMasterName, kMasterMissing, kMasterUndefined)) return st;
  if (long st = clk_time_server_master_tz_set(master, master, 0)) return st;
  osl_ty_client_tz os{};
  if (long st = osl_time_get_client_tz(&os)) return st;
  clk_ty_tz* client = oab_db_client_tz();
  client->zone_word = os.zone_word;
  client->gmt_offset = os.gmt_offset;
  return clk_time_client_tz_set(client);
}

long set_text(long number, const char* text) { return oab_glb_main_set_variable(number, OAB_GLB_TEXT, text); }

}  // namespace

long oab_db_dbase_open(const char* name) {
  char mode = oab_db_uses_schema_file() ? 1 : 0;
  if (long st = dbs_db_open(oab_db_con_id, name, mode)) return st;
  if (long st = clk_tz_reg_db_server_tz_proc(oab_db_get_server_tz)) return st;
  return dbs_main_server_type() == OAB_DB_SERVER_TYPE_SPECIAL ? open_special() : open_zones();
}

long oab_db_get_default(ost_ty_state* state, long type, long flags, dbs_ty_lobj** out) {
  *out = nullptr;
  long one = 1;
  dbs_ty_qry_cond cond{OAB_DB_DEFAULT_FIELD, kEq, one};
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("oab_db_get_default", CMN_TYP_VOID_P, 1, kColExtend, 0, 0, &col)) return st;
  long st = oab_qry_all_of_a_kind_w_cond(type, col, &cond, 1, kAnd);
  long count = col->count;
  if (st == 0 && count > 0) {
    *out = reinterpret_cast<dbs_ty_lobj**>(col->array)[0];
    utl_col_remove(col, nullptr, 0);
  }
  dbs_obj_free_local_col(nullptr, col);
  if (st != 0) return st;
  if (count == 0) return (flags & kMustExist) ? oab_alrt("oab_db_get_default", OAB_NO_DEFAULT, type_name(type)) : 0;
  if (state != nullptr)
    if (long s = ost_obj_add(state, *out, 0)) return s;
  if (count > 1 && (flags & kOnlyOne)) return oab_alrt("oab_db_get_default", OAB_MANY_DEFAULTS, count, type_name(type));
  return 0;
}

long oab_db_check_password(const char* login, const char*, obj_id* user, std::string* stored) {
  *user = obj_id{};
  dbs_ty_qry_cond cond{kUserLogin, kEq, reinterpret_cast<long>(login)};
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("oab_db_check_password", CMN_TYP_VOID_P, 1, kColExtend, 0, 0, &col)) return st;
  long st = oab_qry_all_of_a_kind_w_cond(OAB_DB_USER_TYPE, col, &cond, 1, kAnd);
  if (st == 0 && col->count > 1) st = oab_alrt("oab_db_check_password", OAB_MANY_USERS);
  if (st == 0 && col->count == 0) st = oab_alrt("oab_db_check_password", OAB_NO_USER);
  if (st == 0) {
    auto* found = reinterpret_cast<dbs_ty_lobj**>(col->array)[0];
    st = dbs_obj_oid_get(found, user);
    if (stored != nullptr) *stored = text_of(found, kUserLogin);
    if (st == 0) st = oab_db_cache_global_objects(found);
  }
  dbs_obj_free_local_col(nullptr, col);
  return st;
}

long oab_db_cache_global_objects(dbs_ty_lobj* user) {
  if (long st = oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, user)) return st;
  dbs_ty_lobj* relative = nullptr;
  long st = oab_rel_get_one_relative(nullptr, user, kUserRelativeGen, 0, &relative);
  if (st == 0) st = oab_glb_main_set_variable(OAB_GLB_USER_RELATIVE, OAB_GLB_OBJ, relative);
  if (relative != nullptr) dbs_obj_free_local("oab_db_cache_global_objects", relative);
  if (st != 0) return st;
  dbs_ty_lobj* employee = nullptr;
  if (long s = oab_rel_get_one_relative_sp(nullptr, user, kUser2Employee, 0, &employee)) return s;
  if (employee == nullptr) return 0;
  obj_id id{};
  st = oab_glb_main_set_variable(OAB_GLB_EMPLOYEE, OAB_GLB_OBJ, employee);
  if (st == 0) st = dbs_obj_oid_get(employee, &id);
  if (st == 0) st = oab_glb_main_set_variable(OAB_GLB_EMPLOYEE_ID, OAB_GLB_OID, &id);
  dbs_obj_free_local("oab_db_cache_global_objects", employee);
  return st;
}

long oab_db_user_login(const char* database, const char* login, const char* password, long* flag) {
  *flag = 0;
  obj_id user{};
  std::string stored;
  if (long st = oab_db_check_password(login, password, &user, &stored)) return st;
  *flag = 1;
  const char* encrypted = nullptr;
  char scrambled = 0;
  if (long st = oab_glb_main_set_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &user)) return st;
  if (long st = set_text(OAB_GLB_LOGIN, stored.c_str())) return st;
  if (long st = set_text(OAB_GLB_REAL_LOGIN, stored.c_str())) return st;
  if (long st = set_text(OAB_GLB_PASSWORD, password)) return st;
  if (long st = dbs_usr_password_encrypt(oab_db_con_id, stored.c_str(), password, 0, &encrypted, &scrambled))
    return st;
  if (long st = set_text(OAB_GLB_ENCRYPTED, encrypted != nullptr ? encrypted : "")) return st;
  if (long st = set_text(OAB_GLB_DATABASE, database)) return st;
  if (long st = oab_glb_set_altuser()) return st;
  return oab_db_clock_config();
}
