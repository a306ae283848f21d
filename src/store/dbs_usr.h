// Password scrambling: passwords of CRM users travel to the database server
// scrambled. The scrambler is the system's database password scrambler
// (Orbn_dbs_password_encrypt, declared with the business-object utilities'
// encryption), one implementation shared with them. Accounts whose password
// was scrambled in another way need a password reset.
//
// Threads: the scrambled-password buffer is static; each call overwrites it.
#pragma once

#include "bo/bo_crypt.h"
#include "orb_api.h"

class KAdpConnId;

ORB_API long dbs_usr_password_encrypt(KAdpConnId* con, const char* login, const char* password, char force,
                                      const char** out, char* scrambled);
ORB_API long dbs_usr_set_encryption_flag(char flag);
