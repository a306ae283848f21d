// User groups and their grants: does a group exist (the three groups'
// answers cached for the process), making the groups with their
// privileges, the grant of one table to each existing group, and the grant
// of a view to everyone.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/adp_usr.h"
#include "adapter/adp_usr_int.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kManagedProperty = 5;  // set: the system manages logins, users and groups
constexpr long kReporter = 2;
constexpr const char* kPrivileges[ADP_USR_GROUPS] = {"SELECT, UPDATE, INSERT, DELETE", "ALL", "SELECT"};

struct group_cache {
  bool read = false;
  char exists[ADP_USR_GROUPS] = {};
};
group_cache g_groups;


long reset_batch(KAdpConnId* con) {
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  return b != nullptr ? b->Reset() : 0;
}

// Tables, then views, of the connected schema.
long objects_to_grant(KAdpConnId* con, std::vector<std::string>* names) {
  const bool mssql = adp_db_is_db_mssql() != 0;
  if (long st = adp_sql_texts(con,
                              mssql ? "select name from sysobjects where (type = 'U') and uid <> 3"
                                    : "select table_name from user_tables",
                              names)) {
    return st;
  }
  return adp_sql_texts(con,
                       mssql ? "select name from sysobjects where (type = 'V') and uid <> 3"
                             : "select view_name from user_views",
                       names);
}

}  // namespace

bool adp_usr_managed(KAdpConnId* con) {
  return con->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(kManagedProperty)) != 0;
}

long adp_usr_check_name(const char* name) {
  bool ok = name != nullptr && *name != '\0';
  for (const char* p = name; ok && *p != '\0'; ++p) {
    ok = std::isalnum(static_cast<unsigned char>(*p)) != 0 || std::strchr("_#$", *p) != nullptr;
  }
  if (ok) return 0;
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_DB, 1, name != nullptr ? name : "");
  return rc != 0 ? rc : ADP_NO_SUCH_DB;
}

const char* adp_usr_privilege(long group) {
  return group >= 0 && group < ADP_USR_GROUPS ? kPrivileges[group] : "";
}

long adp_usr_group_name_exist(KAdpConnId* con, const char* group, char* found) {
  *found = 1;
  if (!adp_usr_managed(con)) return 0;
  *found = 0;
  const char* format = adp_db_is_db_mssql() ? "select name from sysusers where name = '%s' and uid = gid"
                                            : "select role from dba_roles where role = upper('%s')";
  return adp_sql_exec_and_fetch_now(con, found, format, adp_sql_quotes_doubled(group).c_str());
}

long adp_usr_group_exist(KAdpConnId* con, long group, char* found) {
  *found = 0;
  if (group < 0 || group >= ADP_USR_GROUPS) return 0;
  if (!adp_usr_managed(con)) {
    *found = 1;
    return 0;
  }
  if (!g_groups.read) {
    KAdpDbOperation* op = con->GetDbOperation();
    for (long g = 0; g < ADP_USR_GROUPS; ++g) {
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
  const char* keyword = adp_usr_managed(con) ? "" : "group";
  for (long g = 0; g < ADP_USR_GROUPS; ++g) {
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

long adp_usr_groups_create(KAdpConnId* con, long /*x*/) {
  if (!adp_usr_managed(con)) return 0;
  KAdpDbOperation* op = con->GetDbOperation();
  for (long g = 0; g < ADP_USR_GROUPS; ++g) {
    const char* name = op->GetUsrGroup(g);
    if (long st = adp_usr_check_name(name)) return st;
    char exists = 0;
    if (long st = adp_usr_group_name_exist(con, name, &exists)) return st;
    if (exists == 0) {
      long st = adp_db_is_db_mssql() ? adp_sql_exec_query(con, "sp_addgroup %s", name)
                                     : adp_sql_parse_ddl_now(con, "create role %s", name);
      if (st != 0) return st;
      adp_usr_group_exist_forget();
    }
    if (long st = adp_usr_permission_grant(con, name, g)) return st;
  }
  return 0;
}

long adp_usr_permission_grant(KAdpConnId* con, const char* grantee, long group) {
  if (!adp_usr_managed(con)) return 0;
  if (long st = adp_usr_check_name(grantee)) return st;
  const char* privilege = adp_usr_privilege(group);
  std::vector<std::string> names;
  if (long st = objects_to_grant(con, &names)) return st;
  for (const std::string& n : names) {
    if (long st = adp_usr_check_name(n.c_str())) return st;
    if (long st = adp_sql_parse_ddl_now(con, "grant %s on %s to %s", privilege, n.c_str(), grantee)) return st;
  }
  if (adp_db_is_db_mssql()) {
    if (long st = adp_sql_parse_ddl_now(con, "grant %s to %s", "CREATE PROC", grantee)) return st;
  } else {
    std::vector<std::string> sequences;
    if (long st = adp_sql_texts(con, "select sequence_name from user_sequences", &sequences)) return st;
    for (const std::string& s : sequences) {
      if (long st = adp_usr_check_name(s.c_str())) return st;
      if (long st = adp_sql_parse_ddl_now(con, "GRANT SELECT ON %s TO %s", s.c_str(), grantee)) return st;
    }
  }
  if (group != kReporter) return 0;
  return adp_sql_parse_ddl_now(con, "GRANT %s ON adp_db_header TO %s", "UPDATE", grantee);
}

long adp_usr_view_grant(KAdpConnId* con, typ_sch_srec* view) {
  if (!adp_usr_managed(con)) return 0;
  KCLASSIC::KZString name = con->GetPhys(view->info->name, KAdpNameMapper::convert_type{}, 0, view);
  return adp_sql_parse_ddl_now(con, "grant select on %s to PUBLIC", static_cast<const char*>(name));
}
