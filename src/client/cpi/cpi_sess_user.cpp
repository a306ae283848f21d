// A user's credentials tested against the server, and the two session
// caches.
#include <cstring>

#include "adapter/adp_db.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_sess.h"
#include "client/oab/oab_glb.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_db.h"
#include "store/dbs_obj.h"
#include "store/dbs_usr.h"

utl_ty_col* cpi_sess_cache_elem_col = nullptr;
utl_ty_col* cpi_sess_user_wipbin_col = nullptr;

namespace {

constexpr long kTestTimeout = 0;

bool cpi_sess_blank(const char* text) { return text == nullptr || *text == '\0'; }

}  // namespace

long cpi_sess_validate_user(const char* login_name, const char* password, long /*reserved*/, long* out_valid) {
  if (out_valid != nullptr) *out_valid = 0;
  KAdpConnId* con = cpi_current_con();
  adp_db_dhead* header = nullptr;
  const char* db_login = nullptr;
  const char* db_password = nullptr;
  const char* server = nullptr;
  if (long st = dbs_db_info_get(con, &header, &db_login, &db_password, &server)) return st;
  char* text = nullptr;
  if (cpi_sess_blank(login_name)) {
    if (long st = oab_glb_main_get_variable(OAB_GLB_LOGIN, OAB_GLB_TEXT, &text)) return st;
    login_name = text != nullptr ? text : "";
  }
  if (cpi_sess_blank(password)) {
    text = nullptr;
    if (long st = oab_glb_main_get_variable(OAB_GLB_PASSWORD, OAB_GLB_TEXT, &text)) return st;
    password = text != nullptr ? text : "";
  }
  const char* encrypted = nullptr;
  if (long st = dbs_usr_password_encrypt(con, login_name, password, 0, &encrypted, nullptr)) return st;
  KAdpConnId* test = nullptr;
  if (adp_db_bby_login(server, login_name, encrypted, "Test", kTestTimeout, &test) != 0) {
    long code = 0;
    const char* why = nullptr;
    cmn_alrt_pop(nullptr, &code, &why);
    return 0;
  }
  if (out_valid != nullptr) *out_valid = 1;
  return 0;
}

long cpi_sess_dspch_flush_cache() {
  if (cpi_sess_cache_elem_col == nullptr) return 0;
  long st = utl_col_free("cpi_sess", cpi_sess_cache_elem_col);
  cpi_sess_cache_elem_col = nullptr;
  return st;
}

long cpi_sess_acpt_flush_cache() {
  if (cpi_sess_user_wipbin_col == nullptr) return 0;
  long st = dbs_obj_free_local_col(nullptr, cpi_sess_user_wipbin_col);
  cpi_sess_user_wipbin_col = nullptr;
  return st;
}
