// The adapter's database-login calls: server logins, database users, the
// three groups with their privileges, grants and passwords. They act only
// when the configuration says the system manages database users (boolean
// property 5); otherwise each returns 0 without a statement. Logins, users
// and groups reach SQL only as plain names (letters, digits, "_", "#", "$"),
// else 0x60000C; passwords go in as literals and the SQL log and the server
// log show them as "****".
#pragma once

#include "orb_api.h"

class KAdpConnId;

// Login and database user in one: the database is the one the connection's
// header names, the group the privilege (0 user, 1 administrator, 2
// reporter); a is ignored. *out is 1 when the login could not be made.
ORB_API long adp_usr_create(KAdpConnId* con, const char* login, const char* password, long a, long privilege,
                            char* out);
ORB_API long adp_usr_login_exists(KAdpConnId* con, const char* login, long a, char* exists);
ORB_API long adp_usr_login_name_exist(KAdpConnId* con, const char* login, char* found);
// Oracle: a user's default and temporary tablespaces (size bytes each).
ORB_API long adp_usr_get_tablespaces(KAdpConnId* con, const char* user, char* default_space, char* temp_space,
                                     long size);
ORB_API long adp_usr_login_create(KAdpConnId* con, const char* login, const char* password);
ORB_API long adp_usr_login_delete(KAdpConnId* con, const char* login, long a);
ORB_API long adp_usr_dbuser_name_exist(KAdpConnId* con, const char* user, char* found);
// Makes the login a user of the database in the group; 0x600014 (not
// pushed) when there is no such login.
ORB_API long adp_usr_dbuser_create(KAdpConnId* con, const char* login, const char* database, long group);
// Creates the groups the server lacks and grants each its privilege.
ORB_API long adp_usr_groups_create(KAdpConnId* con, long x);
// The group's privilege on every table, view and sequence to the grantee.
ORB_API long adp_usr_permission_grant(KAdpConnId* con, const char* grantee, long group);
// account null: the connected login.
ORB_API long adp_usr_change_password(KAdpConnId* con, const char* account, const char* old_password,
                                     const char* new_password);

// Groups 0 (user), 1 (administrator) and 2 (reporter), by the dialect's
// names. Unless property 5 says groups are looked up, every group exists.
ORB_API long adp_usr_group_name_exist(KAdpConnId* con, const char* group, char* found);
// The same by number; the three answers are read once and then cached.
ORB_API long adp_usr_group_exist(KAdpConnId* con, long group, char* found);
// Forgets the cached answers (after groups were made or dropped).
ORB_API void adp_usr_group_exist_forget();
// Grants a new table to every existing group with the group's privilege
// (option and flag as adp_sql_parse_ddl_opt_now takes them).
ORB_API long adp_usr_table_grant(KAdpConnId* con, const char* table, long option, long flag);
