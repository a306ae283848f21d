// Sessions: the module's pool, allocating and connecting connections (with
// the session set-up), the credentials check, fast reconnect and
// disconnect, logout, the connection's information and the plain stubs.
#include "adapter/adp_sess.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_pl.h"
#include "store/dbs_ids.h"

namespace {

constexpr long kPoolExtent = 200;
constexpr char kServerLog[] = "server.log";
constexpr char kDateFormat[] = "mdy";

utl_ty_pool* adp_db_cpool = nullptr;
FILE* msg_file = nullptr;
adp_ty_deadlock_proc adp_db_deadlock_cb = nullptr;
char adp_db_msg[512] = "";

KAdpConfig::str_type str_prop(long n) { return static_cast<KAdpConfig::str_type>(n); }
constexpr long kServerStr = 2;
constexpr long kLoginStr = 3;
constexpr long kPasswordStr = 4;
constexpr long kLibraryStr = 13;
constexpr long kNoConvertBool = 7;

long push(long code, int nargs = 0, const char* arg = nullptr) {
  long rc = nargs > 0 ? cmn_alrt_push(nullptr, nullptr, code, 1, arg) : cmn_alrt_push(nullptr, nullptr, code, 0);
  return rc != 0 ? rc : code;
}

bool listed(KAdpConnId* cid) {
  for (KAdpConnId* c = adp_db_list_head(); c != nullptr; c = c->GetNext())
    if (c == cid) return true;
  return false;
}

// Makes prev current again when it is still listed; else none.
void restore_current(KAdpConnId* prev) {
  if (prev != nullptr && listed(prev)) {
    adp_db_set_conn(prev);
  } else if (KAdpConnId* cur = adp_db_get_conn(); cur != nullptr && !listed(cur)) {
    adp_db_clear_conn(cur);
  }
}

long ensure_pool() {
  if (adp_db_cpool != nullptr) return 0;
  return utl_pl_create("adp_db", kPoolExtent, &adp_db_cpool);
}

void free_pool() {
  if (adp_db_cpool != nullptr) utl_pl_free(nullptr, adp_db_cpool);
  adp_db_cpool = nullptr;
}

// The server log of a session: "dbcache" names its directory; a first
// connect starts it afresh, a reconnect appends.
long open_server_log(bool append) {
  char* dbcache = nullptr;
  osl_sys_get_config_string("dbcache", &dbcache);
  if (dbcache != nullptr) {
    std::string name = std::string(dbcache) + kServerLog;
    if (long st = KAdpProcessError::SetServerLogFileName(name.c_str())) return st;
  }
  return append ? KAdpProcessError::AppendServerLogFile() : KAdpProcessError::OpenServerLogFile();
}

void set_login_strings(KAdpConnId* c, const char* server, const char* login, const char* password) {
  KAdpConfig& cfg = c->GetConfig();
  cfg.SetPropertyStr(str_prop(kServerStr), server != nullptr ? server : "");
  cfg.SetPropertyStr(str_prop(kLoginStr), login != nullptr ? login : "");
  cfg.SetPropertyStr(str_prop(kPasswordStr), password != nullptr ? password : "");
}

// Loads the service: on failure the connection is deleted when it is new
// and 0x60004C is pushed with the library name.
long load_service(KAdpConnId* c, bool fresh, KAdpConnId** cid) {
  if (c->LoadDataService() == 0) return 0;
  KCLASSIC::KZString library = c->GetConfig().GetPropertyStr(str_prop(kLibraryStr));
  if (fresh) {
    delete c;
    if (cid != nullptr) *cid = nullptr;
  }
  return push(ADP_LOAD_FAIL, 1, library);
}

long session_setup(KAdpConnId* c) {
  KAdpSqlBatch* b = c->GetSqlBatch(1);
  if (adp_db_is_db_oracle()) {
    char* trace = nullptr;
    if (long st = osl_sys_get_config_string("oracle_sql_trace_on", &trace)) return st;
    if (trace != nullptr && strcasecmp(trace, "TRUE") == 0) {
      *b << "Alter session set sql_trace = true " << KAdpSqlBatch::kEndStmt;
    }
    *b << "ALTER SESSION SET NLS_NUMERIC_CHARACTERS = '.,' ";
  } else if (adp_db_is_db_mssql()) {
    b->AppendSqlFormat(" set dateformat %s", kDateFormat);
  }
  long st = b->GetStatus();
  if (st == 0) st = b->ExecuteDMLBatch();
  long rs = b->Reset();
  return st != 0 ? st : rs;
}

long connect_session(const char* server, const char* login, const char* password, const char* app_name,
                     KAdpConnId** cid, char utf8, bool reconnect) {
  if (long st = open_server_log(reconnect)) return st;
  if (long st = ensure_pool()) return st;
  KAdpConnId* prev = adp_db_get_conn();
  KAdpConnId* c = cid != nullptr ? *cid : nullptr;
  const bool fresh = c == nullptr;
  if (fresh) {
    if (long st = adp_db_alloc_conn(server, login, app_name, &c, utf8)) return st;
    if (cid != nullptr) *cid = c;
  } else if (long st = adp_db_check_conn(c)) {
    return st;
  }
  adp_db_set_conn(c);
  set_login_strings(c, server, login, password);
  if (long st = load_service(c, fresh, cid)) {
    restore_current(prev);
    return st;
  }
  if (long st = c->Connect(login, password, nullptr)) {
    if (fresh) {
      delete c;
      if (cid != nullptr) *cid = nullptr;
    }
    restore_current(prev);
    return st;
  }
  return session_setup(c);
}

}  // namespace

long adp_sess_dbcache_path(const char* name, char* out, long size) {
  char* dbcache = nullptr;
  osl_sys_get_config_string("dbcache", &dbcache);
  std::snprintf(out, static_cast<size_t>(size), "%s%s", dbcache != nullptr ? dbcache : "", name);
  return 0;
}

void adp_sess_delete(KAdpConnId* cid) { delete cid; }

long adp_db_init() {
  if (adp_db_cpool != nullptr) return push(ADP_ALREADY_INIT);
  return ensure_pool();
}

long adp_db_term() {
  while (KAdpConnId* c = adp_db_list_head()) delete c;
  free_pool();
  if (msg_file != nullptr) std::fclose(msg_file);
  msg_file = nullptr;
  return 0;
}

long adp_db_deadlock_proc_set(adp_ty_deadlock_proc proc) {
  adp_db_deadlock_cb = proc;
  return 0;
}

long adp_db_alloc_conn(const char* server, const char* login, const char* app_name, KAdpConnId** cid, char utf8) {
  const char* driver = adp_sess_driver();
  if (driver == nullptr || (strcasecmp(driver, "oracle") != 0 && strcasecmp(driver, "oledb") != 0)) return -1;
  auto* c = new KAdpConnId(driver);
  c->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kNoConvertBool), 0);
  c->SetHeaderRead(0);
  c->GetConfig().SetPropertyStr(str_prop(kLoginStr), login != nullptr ? login : "");
  c->SetStartAppInUTF8Flag(utf8);
  c->SetAppName(app_name);
  c->GetConfig().SetPropertyStr(str_prop(kServerStr), server != nullptr ? server : "");
  adp_db_list_add(c);
  if (cid != nullptr) *cid = c;
  return 0;
}

long adp_db_connect(const char* server, const char* login, const char* password, const char* app_name,
                    long /*timeout*/, KAdpConnId** cid, char utf8) {
  return connect_session(server, login, password, app_name, cid, utf8, false);
}

long adp_db_login(const char* server, const char* login, const char* password, const char* app_name,
                  long timeout, KAdpConnId** cid, char utf8) {
  if (cid != nullptr) *cid = nullptr;
  return adp_db_connect(server, login, password, app_name, timeout, cid, utf8);
}

long adp_db_bby_login(const char* server, const char* login, const char* password, const char* app_name,
                      long /*timeout*/, KAdpConnId** cid) {
  if (cid != nullptr) *cid = nullptr;
  KAdpConnId* prev = adp_db_get_conn();
  KAdpConnId* c = nullptr;
  if (long st = adp_db_alloc_conn(server, login, app_name, &c, 0)) return st;
  adp_db_set_conn(c);
  set_login_strings(c, server, login, password);
  long st = load_service(c, true, &c);
  if (st == 0) st = c->Connect(login, password, nullptr);
  if (st == 0 && adp_db_is_db_mssql()) {
    std::string text = std::string(" set dateformat ") + kDateFormat;
    st = c->ExecDmlStmt(nullptr, text.c_str(), nullptr);
  }
  if (c != nullptr) {
    adp_db_close(c);
    c->Release();
    delete c;
  }
  restore_current(prev);
  return st;
}

long adp_db_fast_reconnect(KAdpConnId* cid, const char* password, long /*timeout*/, char utf8) {
  if (long st = adp_db_check_conn(cid)) return st;
  cid->GetSqlBatch(1);
  KAdpConfig& cfg = cid->GetConfig();
  KCLASSIC::KZString server = cfg.GetPropertyStr(str_prop(kServerStr));
  KCLASSIC::KZString login = cfg.GetPropertyStr(str_prop(kLoginStr));
  KCLASSIC::KZString app = cid->GetAppName();
  KAdpConnId* c = cid;
  if (long st = connect_session(server, login, password, app, &c, utf8, true)) return st;
  // The new session has no database yet: open the one the connection had.
  std::string name = cid->GetHeader()->db_name;
  cid->GetHeader()->db_name[0] = '\0';
  if (long st = adp_db_open(cid, name.c_str())) return st;
  if (adp_db_is_db_oracle() && msg_file == nullptr) {
    char path[1024];
    adp_sess_dbcache_path(kServerLog, path, sizeof path);
    msg_file = std::fopen(path, "a");
  }
  if (adp_db_is_db_mssql()) {
    if (long st = adp_sql_ping(cid, nullptr)) return st;
    return adp_sql_cancel_all(cid, 0);
  }
  return 0;
}

long adp_db_fast_disconnect(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  cid->GetSqlBatch(1);
  if (adp_db_is_db_mssql()) adp_db_close(cid);
  cid->Release();
  adp_db_clear_conn(cid);
  return KAdpProcessError::CloseServerLogFile();
}

long adp_db_logout(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  dbs_obj_return_cache(cid);
  long st = adp_db_fast_disconnect(cid);
  delete cid;
  if (KAdpConnId* head = adp_db_list_head()) adp_db_set_conn(head);
  free_pool();
  return st;
}

long adp_db_cid_user(KAdpConnId* cid, const char** user) {
  static KCLASSIC::KZString login;
  if (cid == nullptr) {
    if (user != nullptr) *user = nullptr;
    return 0;
  }
  login = cid->GetConfig().GetPropertyStr(str_prop(kLoginStr));
  if (user != nullptr) *user = login;
  return 0;
}

long adp_db_info_get(KAdpConnId* cid, adp_db_dhead** header, const char** login, const char** password,
                     const char** server) {
  static KCLASSIC::KZString s_login, s_server, s_password;
  if (long st = adp_db_check_conn(cid)) return st;
  KAdpConfig& cfg = cid->GetConfig();
  if (header != nullptr) *header = cid->GetHeader();
  if (login != nullptr) {
    s_login = cfg.GetPropertyStr(str_prop(kLoginStr));
    *login = s_login;
  }
  if (password != nullptr) {
    s_password = cfg.GetPropertyStr(str_prop(kPasswordStr));
    *password = s_password;
  }
  if (server != nullptr) {
    s_server = cfg.GetPropertyStr(str_prop(kServerStr));
    *server = s_server;
  }
  return 0;
}

long adp_db_info_set(KAdpConnId* cid, const char* db_name, const char* login, const char* password,
                     const char* server) {
  if (long st = adp_db_check_conn(cid)) return st;
  adp_db_dhead* h = cid->GetHeader();
  if (db_name != nullptr && std::strcmp(db_name, h->db_name) != 0) {
    std::snprintf(h->db_name, sizeof h->db_name, "%s", db_name);
  }
  KAdpConfig& cfg = cid->GetConfig();
  if (login != nullptr) cfg.SetPropertyStr(str_prop(kLoginStr), login);
  if (password != nullptr) cfg.SetPropertyStr(str_prop(kPasswordStr), password);
  if (server != nullptr) cfg.SetPropertyStr(str_prop(kServerStr), server);
  return 0;
}

long adp_db_assert_revs(KAdpConnId* cid, long db_rev, long schema_rev) {
  if (long st = adp_db_check_conn(cid)) return st;
  cid->SetRevisions(db_rev, schema_rev);
  return 0;
}

long adp_db_get_last_errmsg(void* /*ignored*/, const char** out) {
  if (out != nullptr) *out = adp_db_msg;
  return 0;
}

long adp_db_set_log_last_sql() { return KAdpProcessError::SetSqlHint(1); }

long adp_db_log_msg(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, ap);
  va_end(ap);
  return KAdpProcessError::AddToServerLog(nullptr, "%s", text.c_str());
}

long adp_db_flush_log() { return 0; }
long adp_db_set_timeout() { return 0; }
long adp_db_is_schema_cached() { return 0; }
long adp_db_check_objid() { return 0; }
long adp_db_upgrade() { return 0; }
long adp_db_set_textlimit() { return 0; }
long adp_db_disable_ansi_to_oem() { return 0; }
long adp_db_set_no_dump_tran() { return 0; }
long adp_db_install_msg_handler() { return 0; }
long adp_db_encrypt() { return 1; }
long adp_db_LPBEncrypt() { return 1; }
