// Password scrambling.
#include "store/dbs_usr.h"

#include <cstring>

#include "adapter/adp_obj.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "store/dbs_db.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"

namespace {

char encrypt_password = 1;
char scrambled_text[64];

}  // namespace

long dbs_usr_password_encrypt(KAdpConnId* con, const char* login, const char* password, char force,
                              const char** out, char* scrambled) {
  if (scrambled) *scrambled = 0;
  if (!password || !*password) {
    scrambled_text[0] = '\0';
    *out = scrambled_text;
    return 0;
  }
  const char* admin = nullptr;
  adp_usr_admin_login_get(&admin);
  if (admin && login && loc_st_strcmpi(admin, login) == 0) {
    *out = password;
    return 0;
  }
  if (dbs_obj_chk_name(password) != 0) return dbs_alrt("dbs_usr_password_encrypt", DBS_BAD_PASSWORD);
  bool scramble = force != 0;
  if (!scramble && encrypt_password) {
    long flags = 0;
    if (dbs_db_get_flags(con, &flags) != 0) {
      flags = 2;  // header not read (no alert is left): flag 2 is assumed
    }
    scramble = (flags & 2) != 0;
  }
  if (!scramble) {
    *out = password;
    return 0;
  }
  Orbn_dbs_password_encrypt(password, scrambled_text);
  *out = scrambled_text;
  if (scrambled) *scrambled = 1;
  return 0;
}

long dbs_usr_set_encryption_flag(char flag) {
  encrypt_password = flag;
  return 0;
}
