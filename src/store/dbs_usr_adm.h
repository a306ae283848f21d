// Database logins of CRM users: login names, creation with a privilege
// class, user groups and password changes by server type.
#pragma once

#include "orb_api.h"

class KAdpConnId;

ORB_API long dbs_usr_chk_login_name(const char* name);
ORB_API long dbs_usr_create(KAdpConnId* c, const char* login, const char* password, long a, long privilege,
                            char* out);
// Asked when the login exists: answer 1 keeps it (nothing created), 2
// deletes it first.
using dbs_ty_usr_decide_proc = long (*)(KAdpConnId* c, const char* login, const char* password, long a,
                                        long* answer);
ORB_API long dbs_usr_create_with_privilege(KAdpConnId* c, const char* login, const char* password, long a,
                                           const char* class_name, long name_field, long value_field,
                                           dbs_ty_usr_decide_proc decide, char* out);
ORB_API long dbs_usr_groups_create(KAdpConnId* c, long x);
ORB_API long dbs_usr_admin_login_get(const char** name);
ORB_API long dbs_usr_change_password(KAdpConnId* c, const char* login, const char* old_password,
                                     const char* new_password, const char* user_name, const char* replacement_old);
