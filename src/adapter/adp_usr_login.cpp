// Server logins and database users: existence tests, creation and removal,
// the tablespaces of a new Oracle login, passwords and the cached
// administrator login. While a statement carries a password, the SQL log
// and the server log show it as "****".
#include <cstring>
#include <string>

#include "adapter/adp_cfg.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sess.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_usr.h"
#include "adapter/adp_usr_int.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kLoginProperty = 3;   // the connection's login
constexpr long kAdminProperty = 12;  // the administrator login
constexpr long kSpaceSize = 129;
constexpr const char kSpaceSource[] = "sa";  // new Oracle logins take this user's tablespaces
constexpr const char kDefaultSpace[] = "users";
constexpr const char kTempSpace[] = "temp";
constexpr const char kHidden[] = "****";

bool mssql() { return adp_db_is_db_mssql() != 0; }

long push(long code) {
  long rc = cmn_alrt_push(nullptr, nullptr, code, 0);
  return rc != 0 ? rc : code;
}

// A refused login statement: the server's alerts give way to 0x60002E.
long login_failed() {
  cmn_alrt_clear(nullptr);
  return push(ADP_LOGIN_FAIL);
}

// While alive, the password's literal shows as "****" in the logs.
class hidden_password {
 public:
  hidden_password(const std::string& literal, const std::string& shown) {
    adp_sql_log_hide(literal.c_str(), shown.c_str());
  }
  ~hidden_password() { adp_sql_log_unhide(); }
  hidden_password(const hidden_password&) = delete;
  hidden_password& operator=(const hidden_password&) = delete;
};


// The password as a SQL Server literal's body (quotes doubled), and the
// guard that hides it.
struct mssql_password {
  explicit mssql_password(const char* password)
      : text(adp_sql_quotes_doubled(password)), hide("'" + text + "'", std::string("'") + kHidden + "'") {}
  std::string text;
  hidden_password hide;
};

std::string connected_login(KAdpConnId* con) {
  return static_cast<const char*>(con->GetConfig().GetPropertyStr(static_cast<KAdpConfig::str_type>(kLoginProperty)));
}

long oracle_login_tablespaces(KAdpConnId* con, const char* login) {
  char space[kSpaceSize] = "";
  char temp[kSpaceSize] = "";
  if (adp_usr_get_tablespaces(con, kSpaceSource, space, temp, kSpaceSize) != 0 || space[0] == '\0' ||
      temp[0] == '\0') {
    cmn_alrt_clear(nullptr);
    std::strcpy(space, kDefaultSpace);
    std::strcpy(temp, kTempSpace);
  }
  if (long st = adp_usr_check_name(space)) return st;
  if (long st = adp_usr_check_name(temp)) return st;
  return adp_sql_parse_ddl_now(con, "alter user %s default tablespace %s       temporary tablespace %s", login, space,
                               temp);
}

long oracle_password(KAdpConnId* con, const char* login, const char* password) {
  if (std::strchr(password, '"') != nullptr) return push(ADP_LOGIN_FAIL);
  hidden_password hide(std::string("\"") + password + "\"", std::string("\"") + kHidden + "\"");
  return adp_sql_parse_ddl_now(con, "grant connect to %s identified by \"%s\"", login, password);
}

long mssql_use(KAdpConnId* con, const char* database) { return adp_sql_exec_query(con, "use %s", database); }

}  // namespace

long adp_usr_login_name_exist(KAdpConnId* con, const char* login, char* found) {
  *found = 0;
  if (!adp_usr_managed(con)) return 0;
  if (long st = adp_usr_check_name(login)) return st;
  return adp_sql_exec_and_fetch_now(con, found,
                                    mssql() ? "select name from master..syslogins where name = '%s'"
                                            : "select username from all_users where username = upper('%s')",
                                    login);
}

long adp_usr_login_exists(KAdpConnId* con, const char* login, long /*a*/, char* exists) {
  return adp_usr_login_name_exist(con, login, exists);
}

long adp_usr_dbuser_name_exist(KAdpConnId* con, const char* user, char* found) {
  *found = 1;
  if (!adp_usr_managed(con)) return 0;
  *found = 0;
  if (long st = adp_usr_check_name(user)) return st;
  return adp_sql_exec_and_fetch_now(con, found,
                                    mssql() ? "select name from sysusers where name = '%s' and uid != gid"
                                            : "select username from all_users where username = upper('%s')",
                                    user);
}

long adp_usr_get_tablespaces(KAdpConnId* con, const char* user, char* default_space, char* temp_space, long size) {
  if (long st = adp_usr_check_name(user)) return st;
  if (long st = adp_sql_parse_now(con,
                                  "select default_tablespace, temporary_tablespace from dba_users where username = "
                                  "upper('%s')",
                                  user)) {
    return st;
  }
  default_space[0] = '\0';
  temp_space[0] = '\0';
  if (long st = adp_sql_define(con, KAdpBindCol(default_space, size))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(temp_space, size))) return st;
  char found = 0;
  return adp_sql_exec_and_fetch(con, &found);
}

long adp_usr_login_create(KAdpConnId* con, const char* login, const char* password) {
  if (!adp_usr_managed(con)) return 0;
  char exists = 0;
  if (long st = adp_usr_login_name_exist(con, login, &exists)) return st;
  if (exists != 0) return 0;
  if (password == nullptr) password = "";
  if (mssql()) {
    mssql_password pw(password);
    if (adp_sql_exec_query(con, "sp_addlogin '%s', '%s'", login, pw.text.c_str()) != 0) return login_failed();
    return 0;
  }
  if (long st = oracle_password(con, login, password)) return st == ADP_LOGIN_FAIL ? st : login_failed();
  return oracle_login_tablespaces(con, login);
}

long adp_usr_login_delete(KAdpConnId* con, const char* login, long /*a*/) {
  if (!adp_usr_managed(con)) return 0;
  if (long st = adp_usr_check_name(login)) return st;
  if (!mssql()) return adp_sql_parse_ddl_now(con, "revoke connect from %s", login);
  char exists = 0;
  if (long st = adp_usr_login_name_exist(con, login, &exists)) return st;
  if (exists == 0) return 0;
  if (adp_sql_exec_query(con, "sp_droplogin '%s'", login) != 0) return login_failed();
  return 0;
}

long adp_usr_dbuser_create(KAdpConnId* con, const char* login, const char* database, long group) {
  if (!adp_usr_managed(con)) return 0;
  char exists = 0;
  if (long st = adp_usr_login_name_exist(con, login, &exists)) return st;
  if (exists == 0) return ADP_NO_LOGIN;
  if (group < 0 || group >= ADP_USR_GROUPS) return push(ADP_LOGIN_FAIL);
  const char* group_name = con->GetDbOperation()->GetUsrGroup(group);
  if (!mssql()) return adp_sql_parse_ddl_now(con, "grant %s to %s", group_name, login);
  if (long st = adp_usr_dbuser_name_exist(con, login, &exists)) return st;
  if (exists != 0) return 0;
  if (long st = adp_usr_check_name(database)) return st;
  if (long st = mssql_use(con, database)) return st;
  long added = adp_sql_exec_query(con, "sp_adduser '%s', '%s', '%s'", login, login, group_name);
  if (added != 0) login_failed();
  // Back to the connection's own database.
  const char* own = con->GetHeader()->db_name;
  if (own[0] != '\0' && adp_usr_check_name(own) == 0) {
    if (long st = mssql_use(con, own); st != 0 && added == 0) return st;
  }
  return added != 0 ? ADP_LOGIN_FAIL : 0;
}

long adp_usr_create(KAdpConnId* con, const char* login, const char* password, long /*a*/, long privilege,
                    char* out) {
  if (out != nullptr) *out = 0;
  if (!adp_usr_managed(con)) return 0;
  if (long st = adp_usr_login_create(con, login, password)) {
    if (out != nullptr) *out = 1;
    return st;
  }
  return adp_usr_dbuser_create(con, login, con->GetHeader()->db_name, privilege);
}

long adp_usr_change_password(KAdpConnId* con, const char* account, const char* old_password,
                             const char* new_password) {
  if (!adp_usr_managed(con)) return 0;
  if (new_password == nullptr) new_password = "";
  const std::string connected = connected_login(con);
  const bool other = account != nullptr && *account != '\0' && connected != account;
  if (!mssql()) {
    const std::string login = other ? account : connected;
    if (long st = adp_usr_check_name(login.c_str())) return st;
    return oracle_password(con, login.c_str(), new_password);
  }
  if (other) {
    if (long st = adp_usr_check_name(account)) return st;
  }
  const bool with_old = old_password != nullptr && *old_password != '\0';
  const std::string old_text = with_old ? adp_sql_quotes_doubled(old_password) : "";
  mssql_password pw(new_password);
  hidden_password hide_old(with_old ? "'" + old_text + "'" : std::string(), std::string("'") + kHidden + "'");
  if (other) {
    return with_old ? adp_sql_exec_query(con, "sp_password '%s', '%s', '%s'", old_text.c_str(), pw.text.c_str(), account)
                    : adp_sql_exec_query(con, "sp_password NULL, '%s', '%s'", pw.text.c_str(), account);
  }
  return with_old ? adp_sql_exec_query(con, "sp_password '%s', '%s'", old_text.c_str(), pw.text.c_str())
                  : adp_sql_exec_query(con, "sp_password NULL, '%s'", pw.text.c_str());
}

long adp_usr_admin_login_get(const char** login) {
  static std::string cached;
  static bool read = false;
  if (!read) {
    const char* driver = adp_sess_driver();
    KAdpConfig config(driver != nullptr ? driver : "");
    cached = static_cast<const char*>(config.GetPropertyStr(static_cast<KAdpConfig::str_type>(kAdminProperty)));
    read = true;
  }
  if (login != nullptr) *login = cached.c_str();
  return 0;
}
