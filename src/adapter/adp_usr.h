// The adapter's database-login calls. Implemented by the adapter.
#pragma once

#include "orb_api.h"

class KAdpConnId;

ORB_API long adp_usr_create(KAdpConnId* con, const char* login, const char* password, long a, long privilege,
                            char* out);
ORB_API long adp_usr_login_exists(KAdpConnId* con, const char* login, long a, char* exists);
ORB_API long adp_usr_login_delete(KAdpConnId* con, const char* login, long a);
ORB_API long adp_usr_groups_create(KAdpConnId* con, long x);
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
