#include "adapter/adp_double.h"

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "orb_api.h"

namespace adp_double {

std::map<long, std::string>& type_names() {
  static std::map<long, std::string> names;
  return names;
}

long& missing_status() {
  static long status = 0x500012;
  return status;
}

void reset() {
  type_names().clear();
  missing_status() = 0x500012;
}

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

ORB_API long typ_sch_id_to_name(long type_id, long /*field_id*/, const char** type_name, const char** field_name) {
  auto it = adp_double::type_names().find(type_id);
  if (it == adp_double::type_names().end()) return adp_double::missing_status();
  if (type_name != nullptr) *type_name = it->second.c_str();
  if (field_name != nullptr) *field_name = nullptr;
  return 0;
}
