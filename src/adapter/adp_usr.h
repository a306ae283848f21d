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
