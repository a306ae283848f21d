// User groups and the grants a new table receives: does a group exist (the
// three groups' answers cached for the process), and the grant of one table
// to each existing group with the group's privilege.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"

namespace {

constexpr long kGroups = 3;
constexpr long kGroupsAsRolesProperty = 5;  // set: groups are the server's roles, looked up
constexpr const char* kPrivileges[kGroups] = {"SELECT, UPDATE, INSERT, DELETE", "ALL", "SELECT"};

struct group_cache {
  bool read = false;
  char exists[kGroups] = {};
};
group_cache g_groups;

bool roles_looked_up(KAdpConnId* con) {
  return con->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(kGroupsAsRolesProperty)) != 0;
}

std::string escaped(const char* text) {
  char* out = nullptr;
  adp_sql_escape_str(text, &out);
  return out != nullptr ? out : "";
}

long reset_batch(KAdpConnId* con) {
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  return b != nullptr ? b->Reset() : 0;
}

}  // namespace

long adp_usr_group_name_exist(KAdpConnId* con, const char* group, char* found) {
  *found = 1;
  if (!roles_looked_up(con)) return 0;
  *found = 0;
  const char* format = adp_db_is_db_mssql() ? "select name from sysusers where name = '%s' and uid = gid"
                                            : "select role from dba_roles where role = upper('%s')";
  return adp_sql_exec_and_fetch_now(con, found, format, escaped(group).c_str());
}

long adp_usr_group_exist(KAdpConnId* con, long group, char* found) {
  *found = 0;
  if (group < 0 || group >= kGroups) return 0;
  if (!roles_looked_up(con)) {
    *found = 1;
    return 0;
  }
  if (!g_groups.read) {
    KAdpDbOperation* op = con->GetDbOperation();
    for (long g = 0; g < kGroups; ++g) {
      if (long st = reset_batch(con)) return st;
      if (long st = adp_usr_group_name_exist(con, op->GetUsrGroup(g), &g_groups.exists[g])) return st;
      if (long st = reset_batch(con)) return st;
    }
    g_groups.read = true;
  }
  *found = g_groups.exists[group];
  return 0;
}

void adp_usr_group_exist_forget() { g_groups = group_cache{}; }

long adp_usr_table_grant(KAdpConnId* con, const char* table, long option, long flag) {
  KAdpDbOperation* op = con->GetDbOperation();
  const char* keyword = roles_looked_up(con) ? "" : "group";
  for (long g = 0; g < kGroups; ++g) {
    char exists = 0;
    if (long st = adp_usr_group_exist(con, g, &exists)) return st;
    if (exists == 0) continue;
    if (long st = adp_sql_parse_ddl_opt_now(con, option, flag, "grant %s on %s to %s %s", kPrivileges[g], table,
                                            keyword, op->GetUsrGroup(g))) {
      return st;
    }
  }
  return 0;
}
