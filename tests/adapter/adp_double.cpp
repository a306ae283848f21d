#include "adapter/adp_double.h"

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace adp_double {

void install_dbs_messages() {
  constexpr long kCount = 47;
  static const char* texts[kCount] = {};
  static signed char args[2 * kCount] = {};
  texts[0x2B] = "Deadlock.\n";
  texts[0x2C] = "Object of type %s is not unique on %s.\n";
  args[2 * 0x2C] = 2;
  texts[0x2E] = "Connection to the server lost.\n";
  for (long i = 0; i < kCount; ++i) {
    if (texts[i] == nullptr) texts[i] = "Object store message.\n";
  }
  cmn_list_install_res_table(2200, kCount, texts);
  loc_str_init_list("dbs", 7, 2200, 2200 + kCount - 1, kCount, args);
}

}  // namespace adp_double
