// The one database session of the process: login, logout, ping and the
// current connection id.
#include "client/cpi_sess.h"

#include <string>

#include "adapter/adp_loc.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_main.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "core/loc/loc_str.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_qry.h"
#include "store/dbs_sql.h"

namespace {

constexpr long kMsgModeQuiet = 0;
constexpr long kAccessWrite = 2;
// Without "-lcid" the store reads this id as the OS locale.
constexpr long kDefaultLocale = 1033;

// The message lists read the connection id through a long at each call.
static_assert(sizeof(long) == sizeof(KAdpConnId*));
const long* cpi_sess_con_word() { return reinterpret_cast<const long*>(&oab_db_con_id); }

void cpi_sess_drop_session() {
  oab_db_dbase_close();
  oab_db_server_logout();
  oab_db_con_id = nullptr;
}

// The database stops serving texts: the lists forget what it gave them, so
// the compiled-in texts serve again, and the store frees its copies.
void cpi_sess_remove_db_texts() {
  loc_str_install_qry_string_cb(nullptr, nullptr);
  loc_str_assert_static_strings(1);  // the lists hold no text of their own
  loc_str_reset_subs();
  loc_str_assert_static_strings(0);
  dbs_qry_free_res_strs();
}

long cpi_sess_install_db_texts() {
  long locale = adp_db_get_thread_lcid();
  if (long st = dbs_qry_set_res_str_locale(locale != 0 ? locale : kDefaultLocale)) return st;
  return loc_str_install_qry_string_cb(dbs_qry_list_res_str, cpi_sess_con_word());
}

long cpi_sess_login_do(const char* server, const char* database, const char* login, const char* password,
                       long* out_con_id) {
  if (oab_db_con_id != nullptr) return cpi_alrt(CPI_ALRT_SESSION_EXISTS);
  osl_print_set_msg_mode(kMsgModeQuiet);
  if (long st = cpi_main_init()) return st;
  if (long st = oab_db_server_login(server, login, password, 0)) return st;
  long st = oab_db_dbase_open(database);
  if (st == 0) st = cpi_sess_install_db_texts();
  long flag = 0;
  if (st == 0) st = oab_db_user_login(database, login, password, &flag);
  if (st != 0) {
    // No half-made session stays behind.
    cpi_sess_remove_db_texts();
    cpi_sess_drop_session();
    return st;
  }
  if (out_con_id != nullptr) *out_con_id = cpi_con_value(oab_db_con_id);
  return 0;
}

bool cpi_sess_null_input(const char* server, const char* database, const char* login, const char* password) {
  return server == nullptr || database == nullptr || login == nullptr || password == nullptr;
}

// "dbcache" names the cache directory, always ending in a separator.
long cpi_sess_set_cache_dir(const char* cache_dir) {
  std::string dir = cache_dir;
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
  if (osl_file_access(dir.c_str(), kAccessWrite) == 0) return osl_sys_set_config_string("dbcache", dir.c_str(), 0);
  osl_print_mes("Unable to locate cache directory %s, hence creating in default directory\n", dir.c_str());
  return 0;
}

}  // namespace

long cpi_sess_login(const char* server_name, const char* database_name, const char* login_name,
                    const char* password, long /*reserved*/, long* out_con_id) {
  if (cpi_sess_null_input(server_name, database_name, login_name, password)) return cpi_alrt(CPI_ALRT_NULL_INPUT);
  return cpi_sess_login_do(server_name, database_name, login_name, password, out_con_id);
}

long cpi_sess_login_with_options(const char* server_name, const char* database_name, const char* login_name,
                                 const char* password, long /*reserved*/, long* out_con_id, const char* cache_dir) {
  if (cpi_sess_null_input(server_name, database_name, login_name, password)) return cpi_alrt(CPI_ALRT_NULL_INPUT);
  if (cache_dir != nullptr) {
    if (long st = cpi_sess_set_cache_dir(cache_dir)) return st;
  }
  return cpi_sess_login_do(server_name, database_name, login_name, password, out_con_id);
}

long cpi_sess_logout(long con_id) {
  if (long st = cpi_utl_conid_check(con_id)) return st;
  // Every step runs even when one fails: the session ends regardless.
  long first = oab_db_dbase_close();
  long st = oab_db_server_logout();
  if (first == 0) first = st;
  oab_db_con_id = nullptr;
  cpi_sess_remove_db_texts();
  st = cpi_main_term();
  return first != 0 ? first : st;
}

long cpi_sess_ping(long con_id) {
  if (long st = cpi_utl_conid_check(con_id)) return st;
  return dbs_sql_ping(cpi_con_of(con_id), nullptr);
}

long cpi_sess_use(long con_id) {
  oab_db_set_con_id(cpi_con_of(con_id));
  return 0;
}

long cpi_sess_reconnect() { return oab_db_fast_reconnect(); }

long cpi_sess_disconnect() { return oab_db_fast_disconnect(); }
