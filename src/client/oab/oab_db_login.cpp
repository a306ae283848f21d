// Server login and logout, the connection's settings and reconnection.
#include <cstring>
#include <string>

#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_db.h"
#include "store/dbs_sql.h"

long cam_app_type = 0;

namespace {

constexpr long kDriverSize = 256;
constexpr long kNoRevision = -1;
constexpr const char* kSchemaArg = "-schema=";
constexpr const char* kCharsetArg = "-char_set=";

long g_timeout = -1;
char g_driver[kDriverSize] = "";
char g_use_schema_file = 0;

// The text after the prefix of the first argument "prefix*", or null.
const char* arg_value(const char* prefix) {
  std::string pattern = std::string(prefix) + "*";
  char* arg = nullptr;
  if (osl_sys_has_arg(pattern.c_str(), 0, &arg) != 1 || arg == nullptr) return nullptr;
  return arg + std::strlen(prefix);
}

long expected_revision(KAdpConnId* cid, long* expected) {
  long database = 0;
  if (long st = dbs_db_get_schema_rev(cid, &database)) return st;
  const char* given = arg_value(kSchemaArg);
  *expected = given != nullptr ? loc_st_atol(given) : (database == 0 ? kNoRevision : database);
  if (*expected != kNoRevision) osl_print_mes("Expecting database schema of %ld...\n", *expected);
  return 0;
}

long set_charset() {
  if (const char* charset = arg_value(kCharsetArg)) {
    osl_print_mes("check charset = %s\n", charset);
    return dbs_db_set_client_charset();
  }
  if (double_byte_enable != 1) return 0;
  if (long st = dbs_sql_get_default_charset()) return st;
  return dbs_db_set_client_charset();
}

long undo_login(long status) {
  if (oab_db_con_id != nullptr) {
    oab_db_dbase_close();
    oab_db_server_logout();
  }
  oab_db_con_id = nullptr;
  return status;
}

}  // namespace

KAdpConnId* oab_db_get_con_id() { return oab_db_con_id; }
long oab_db_set_con_id(KAdpConnId* id) {
  oab_db_con_id = id;
  return 0;
}
long oab_db_set_timeout(long value) {
  g_timeout = value;
  return 0;
}
long oab_db_get_timeout() { return g_timeout; }
long oab_db_set_db_driver(const char* name) { return dbs_db_set_db_driver(name); }
long oab_db_set_driver_name(const char* name) {
  const char* text = name != nullptr ? name : "";
  if (std::strlen(text) >= static_cast<size_t>(kDriverSize)) return 1;
  std::strcpy(g_driver, text);
  return 0;
}
long oab_db_set_schema_file_mode(char value) {
  g_use_schema_file = value;
  return 0;
}
long oab_db_disable_ansi_to_oem() { return dbs_db_disable_ansi_to_oem(); }

long oab_db_server_login(const char* server, const char* login, const char* password, long flag) {
  if (g_driver[0] != '\0') dbs_db_set_db_driver(g_driver);
  if (long st = dbs_db_login(server, login, password, "oab_db_server_login", g_timeout, &oab_db_con_id, nullptr,
                             static_cast<char>(flag)))
    return undo_login(st);
  if (long st = oab_glb_main_set_variable(OAB_GLB_SERVER, OAB_GLB_TEXT, server)) return st;
  long expected = kNoRevision;
  if (long st = expected_revision(oab_db_con_id, &expected)) return undo_login(st);
  if (long st = set_charset()) return st;
  if (long st = dbs_db_assert_schema_rev(oab_db_con_id, expected)) return undo_login(st);
  return 0;
}

long oab_db_server_logout() {
  if (oab_db_con_id == nullptr) return 0;
  long st = dbs_db_logout(oab_db_con_id);
  oab_db_con_id = nullptr;
  // The password is of no use once logged out.
  oab_glb_main_set_variable(OAB_GLB_PASSWORD, OAB_GLB_TEXT, "");
  oab_glb_main_set_variable(43, OAB_GLB_TEXT, "");
  return st;
}

long oab_db_dbase_close() {
  if (oab_db_con_id == nullptr) return 0;
  return dbs_db_close(oab_db_con_id);
}

long oab_db_fast_reconnect() {
  char* password = nullptr;
  if (long st = oab_glb_main_get_variable(OAB_GLB_PASSWORD, OAB_GLB_TEXT, &password)) return st;
  return dbs_db_fast_reconnect(oab_db_con_id, password, g_timeout, 0);
}

long oab_db_fast_disconnect() {
  if (oab_db_con_id == nullptr) return 0;
  return dbs_db_fast_disconnect(oab_db_con_id);
}

bool oab_db_uses_schema_file() { return g_use_schema_file != 0 && cam_app_type != OAB_DB_APP_TYPE_NO_FILE; }
