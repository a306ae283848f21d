// Configuration items: the system and user caches keyed by the upper-cased
// name, items re-read on every look-up, and the clock configuration.
#include <cstring>
#include <string>

#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_main_cache.h"
#include "client/oab/oab_obj.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_rel.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/loc/loc_st_case.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColExtend = 10;
constexpr long kLevelField = 7;  // the system items are those with field 7 below 4
constexpr long kLevelLimit = 4;
constexpr long kOpLess = 2;
constexpr long kOpEq = 4;
constexpr long kUser2Config = 50;

utl_ty_col* g_system = nullptr;
utl_ty_col* g_user = nullptr;

template <class T>
T ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return *static_cast<T*>(slot);
}

std::string upper(const char* name) {
  std::string u = name != nullptr ? name : "";
  loc_st_strupper(u.data());
  return u;
}

const char* text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0 || v == 0) return "";
  return reinterpret_cast<const char*>(v);
}

long long_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  dbs_fld_get(o, field, &v, nullptr);
  return v;
}

// The names of the cached items upper-cased; the change is never written.
long names_to_upper(utl_ty_col* col) {
  for (long i = 0; i < col->count; ++i) {
    auto* o = ith<dbs_ty_lobj*>(col, i);
    std::string u = upper(text_of(o, OAB_CFG_NAME));
    const char* text = u.c_str();
    if (long st = dbs_fld_set(o, OAB_CFG_NAME, &text)) return st;
    if (long st = dbs_fld_set_dirty(o, OAB_CFG_NAME, 0)) return st;
  }
  return 0;
}

long load_system() {
  if (g_system != nullptr) return 0;
  if (long st = utl_col_make("oab_db_get_config_item", CMN_TYP_VOID_P, kColExtend, kColExtend, 0, 0, &g_system))
    return st;
  dbs_ty_qry_cond cond{kLevelField, kOpLess, kLevelLimit};
  dbs_ty_qry_desc desc{OAB_DB_CFG_TYPE, 1, &cond, 1};
  long st = dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, g_system);
  if (st == 0) st = names_to_upper(g_system);
  if (st != 0) oab_db_cfg_inval_cache();
  return st;
}

long load_user() {
  if (g_user != nullptr) return 0;
  dbs_ty_lobj* user = nullptr;
  if (long st = oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, &user)) return st;
  long st = 0;
  if (user != nullptr) st = oab_rel_get_relatives_sp(nullptr, user, kUser2Config, 0, &g_user);
  if (user != nullptr) dbs_obj_free_local("oab_db_get_user_config_item", user);
  if (st == 0 && g_user == nullptr)
    st = utl_col_make("oab_db_get_user_config_item", CMN_TYP_VOID_P, kColExtend, kColExtend, 0, 0, &g_user);
  if (st == 0) st = names_to_upper(g_user);
  if (st != 0) oab_db_user_cfg_inval_cache();
  return st;
}

dbs_ty_lobj* find(utl_ty_col* col, const char* name) {
  std::string u = upper(name);
  long index = -1;
  dbs_ty_lobj* found = nullptr;
  if (oab_obj_match_field_in_col(col, OAB_CFG_NAME, u.c_str(), &index, &found) != 0) return nullptr;
  return found;
}

// An item marked for re-reading takes the database's values (read by its
// object id), its name upper-cased as in the cache.
long refresh(dbs_ty_lobj* item) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(item, &id)) return st;
  dbs_ty_lobj* fresh = nullptr;
  if (long st = dbs_obj_get(oab_db_con_id, &id, 0, &fresh)) return st;
  long st = dbs_obj_copy_no_make(fresh, item);
  dbs_obj_free_local("oab_db_get_config_item", fresh);
  if (st != 0) return st;
  std::string u = upper(text_of(item, OAB_CFG_NAME));
  const char* text = u.c_str();
  if (long s = dbs_fld_set(item, OAB_CFG_NAME, &text)) return s;
  return dbs_fld_set_dirty(item, OAB_CFG_NAME, 0);
}

void hand_out(dbs_ty_lobj* item, dbs_ty_lobj** object, long* integer, const char** text5, const char** text6) {
  if (object != nullptr) *object = item;
  if (item == nullptr) return;
  if (integer != nullptr) *integer = long_of(item, OAB_CFG_INT);
  if (text5 != nullptr) *text5 = text_of(item, OAB_CFG_TEXT5);
  if (text6 != nullptr) *text6 = text_of(item, OAB_CFG_TEXT6);
}

void clear(dbs_ty_lobj** object, long* integer, const char** text5, const char** text6) {
  if (object != nullptr) *object = nullptr;
  if (integer != nullptr) *integer = 0;
  if (text5 != nullptr) *text5 = nullptr;
  if (text6 != nullptr) *text6 = nullptr;
}

void free_cache(utl_ty_col** col) {
  if (*col != nullptr) dbs_obj_free_local_col(nullptr, *col);
  *col = nullptr;
}

// A number from the configuration strings, else the item's integer value;
// *given tells whether either was found.
long number_setting(const char* name, long* value, bool* given) {
  char* text = nullptr;
  if (long st = osl_sys_get_config_string(name, &text)) return st;
  if (text != nullptr) {
    *value = loc_st_atol(text);
    *given = true;
    return 0;
  }
  dbs_ty_lobj* item = nullptr;
  long integer = 0;
  if (long st = oab_db_get_config_item(name, &item, &integer, nullptr, nullptr)) return st;
  *value = item != nullptr ? integer : 0;
  *given = *given || item != nullptr;
  return 0;
}

long mode_of(const char* text) {
  const struct {
    const char* name;
    long mode;
  } modes[] = {{"SERVER_CLOCK", 0}, {"SYNCHRONIZED", 1}, {"LOCAL_CLOCK", 2}};
  std::string u = upper(text);
  for (const auto& m : modes)
    if (u == m.name) return m.mode;
  return 0;
}

}  // namespace

long oab_db_get_config_item(const char* name, dbs_ty_lobj** object, long* integer, const char** text5,
                            const char** text6) {
  clear(object, integer, text5, text6);
  if (long st = load_system()) return st;
  dbs_ty_lobj* item = find(g_system, name);
  if (item != nullptr && long_of(item, OAB_CFG_REFRESH) == OAB_CFG_REREAD)
    if (long st = refresh(item)) return st;
  hand_out(item, object, integer, text5, text6);
  return 0;
}

long oab_db_get_user_config_item(const char* name, dbs_ty_lobj** object, long* integer, const char** text5,
                                 const char** text6) {
  clear(object, integer, text5, text6);
  if (long st = load_user()) return st;
  hand_out(find(g_user, name), object, integer, text5, text6);
  return 0;
}

long oab_db_get_config_col(utl_ty_col** out) {
  *out = nullptr;
  if (long st = load_system()) return st;
  *out = g_system;
  return 0;
}

long oab_db_cfg_inval_cache() {
  free_cache(&g_system);
  return oab_main_reset_cache_config();
}

long oab_db_user_cfg_inval_cache() {
  free_cache(&g_user);
  return 0;
}

long oab_db_clock_config() {
  if (oab_db_con_id == nullptr) return 0;
  char* text = nullptr;
  if (long st = osl_sys_get_config_string("CLOCK_MODE", &text)) return st;
  const char* mode_text = text;
  if (mode_text == nullptr) {
    dbs_ty_lobj* item = nullptr;
    if (long st = oab_db_get_config_item("CLOCK_MODE", &item, nullptr, nullptr, &mode_text)) return st;
  }
  bool given = mode_text != nullptr;
  long mode = given ? mode_of(mode_text) : 0;
  long frequency = 0;
  long tolerance = 0;
  if (long st = number_setting("CLOCK_UPDATE_FREQUENCY", &frequency, &given)) return st;
  if (long st = number_setting("CLOCK_DRIFT_TOLERANCE", &tolerance, &given)) return st;
  if (!given) return 0;
  return clk_time_set_clock_mode(mode, frequency, tolerance);
}
