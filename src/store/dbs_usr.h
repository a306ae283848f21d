// Password scrambling: passwords of CRM users travel to the database server
// scrambled. The scrambler is the system's database password scrambler
// (Orbn_dbs_password_encrypt), one implementation shared with the
// business-object utilities. Accounts whose password was scrambled in
// another way need a password reset.
//
// Threads: the scrambled-password buffer is static; each call overwrites it.
#pragma once

#include "orb_api.h"

class KAdpConnId;

// Digits and letters shifted, other characters written as filler digits;
// 10 to 30 characters. out must hold 31 bytes; returns the address of the
// terminating NUL in out.
ORB_API char* Orbn_dbs_password_encrypt(const char* in, char* out);

ORB_API long dbs_usr_password_encrypt(KAdpConnId* con, const char* login, const char* password, char force,
                                      const char** out, char* scrambled);
ORB_API long dbs_usr_set_encryption_flag(char flag);
