// The adapter double's test login (credentials only, no connection kept)
// and the user's locale id.
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_store.h"
#include "core/cmn/cmn_alrt.h"

using adp_double::record;
using adp_store::st;

namespace {

constexpr long kLoginRefused = 0x600029;

std::string txt(const char* s) { return s != nullptr ? s : "(null)"; }

}  // namespace

long adp_db_bby_login(const char* server, const char* login, const char* password, const char* app_name, long,
                      KAdpConnId** cid) {
  long s = record("adp_db_bby_login", {txt(server), txt(login), txt(password), txt(app_name)});
  if (cid != nullptr) *cid = nullptr;
  if (s) return s;
  if (password != nullptr && st().accepted_password == password) return 0;
  cmn_alrt_push(nullptr, "adp_db_bby_login", kLoginRefused, 1, "login refused");
  return kLoginRefused;
}

long adp_db_get_thread_lcid() { return record("adp_db_get_thread_lcid", {}); }
