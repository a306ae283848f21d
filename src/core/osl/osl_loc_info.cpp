// Client locale, double-byte languages and the small flags of the OS locale
// part.
#include <cstdlib>

#include "core/osl/osl_loc.h"
#include "core/osl/osl_sys_cfg.h"

namespace {

long osl_loc_no_locale_flag = 0;
long osl_loc_no_convert_flag = 0;

}  // namespace

long osl_loc_map_locale_info(long n) {
  static const long ids[] = {1033, 1041, 1036, 1031, 3082, 1028, 2052, 1042, 1046};
  return n >= 0 && n <= 8 ? ids[n] : n;
}

long osl_loc_get_locale_info() {
  char* value = nullptr;
  if (osl_sys_get_config_string("ORB_LOC", &value) != 0 || value == nullptr) return 1033;
  return osl_loc_map_locale_info(std::strtol(value, nullptr, 10));
}

long osl_loc_is_double_byte(long locale_id) {
  long primary = locale_id & 0x3FF;
  return primary == 4 || primary == 17 || primary == 18 ? 1 : 0;
}

struct tm* osl_loc_localtime(const time_t* t) { return std::localtime(t); }
struct tm* osl_loc_gmtime(const time_t* t) { return std::gmtime(t); }

const char* osl_loc_newline() { return "\n"; }

long osl_loc_set_no_convert(long flag) {
  osl_loc_no_convert_flag = flag;
  return 0;
}

long osl_loc_set_no_locale(long flag) {
  osl_loc_no_locale_flag = flag;
  return 0;
}

long osl_loc_no_locale() { return osl_loc_no_locale_flag; }

long osl_loc_is_ascii() { return 1; }
