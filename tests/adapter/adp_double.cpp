#include "adapter/adp_double.h"

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "orb_api.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_rec_store.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "kclassic/kc_zstr.h"

namespace adp_double {

std::map<long, std::string>& type_names() {
  static std::map<long, std::string> names;
  return names;
}

long& missing_status() {
  static long status = 0x500012;
  return status;
}

std::vector<std::string>& store_calls() {
  static std::vector<std::string> calls;
  return calls;
}

std::vector<long>& field_types() {
  static std::vector<long> types;
  return types;
}

long& set_local_status() {
  static long status = 0;
  return status;
}

void reset() {
  store_calls().clear();
  field_types().clear();
  set_local_status() = 0;
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

ORB_API long dbs_fld_set_local(dbs_ty_lobj* object, long field, const void* value, char /*oid_ok*/) {
  using adp_double::field_types;
  long type = field < static_cast<long>(field_types().size()) ? field_types()[static_cast<size_t>(field)] : 0;
  std::string text;
  switch (type) {
    case 512: text = std::to_string(*static_cast<const long*>(value)); break;
    case 513: text = std::to_string(*static_cast<const short*>(value)); break;
    case 514: text = std::to_string(*static_cast<const float*>(value)); break;
    case 613:
    case 614: text = std::to_string(*static_cast<const double*>(value)); break;
    case 515:
    case 516: text = *static_cast<const char* const*>(value); break;
    case 609: {
      auto* t = static_cast<const clktime*>(value);
      text = std::to_string(t->day) + "/" + std::to_string(t->ticks);
      break;
    }
    case 766: text = static_cast<const cmn_ty_decimal*>(value)->text; break;
    case 615: {
      KCLASSIC::KZString hex;
      convert_BStr_to_hex(*static_cast<const char* const*>(value), hex);
      text = static_cast<const char*>(hex);
      break;
    }
    default: text = "?";
  }
  adp_double::store_calls().push_back(std::to_string(reinterpret_cast<intptr_t>(object)) + ":" +
                                      std::to_string(field) + "=" + text);
  return adp_double::set_local_status();
}

ORB_API long dbs_obj_mark_dirty(dbs_ty_lobj* object, char flag) {
  adp_double::store_calls().push_back("clean " + std::to_string(reinterpret_cast<intptr_t>(object)) + " " +
                                      std::to_string(flag));
  return 0;
}
