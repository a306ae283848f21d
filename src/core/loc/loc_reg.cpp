// The process's region record and the calls on it.
#include "core/loc/loc_reg.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/loc/loc_dbg.h"
#include "core/loc/loc_num.h"
#include "core/osl/osl_loc.h"
#include "core/osl/osl_print.h"

namespace {

loc_ty_region loc_reg_region;
bool loc_reg_inited = false;
char loc_reg_buf[LOC_REG_BUF_SIZE];

bool check_inited(const char* proc) {
  if (loc_reg_inited) return true;
  osl_print_mes("%s: LOC REG module not initialized (call loc_reg_init)\n", proc);
  return false;
}

}  // namespace

long loc_reg_init() {
  loc_dbg_print("loc", 4, "Initialized LOC REG module\n");
  long rc = osl_loc_init_region(&loc_reg_region);
  if (rc != 0) return -1;
  loc_reg_inited = true;
  return 0;
}

long loc_reg_reset() {
  loc_dbg_print("loc", 4, "resetting LOC REG settings\n");
  osl_loc_reset_region(&loc_reg_region);
  loc_reg_inited = true;
  return 0;
}

long loc_reg_term() {
  if (!check_inited("loc_reg_term")) return -1;
  loc_dbg_print("loc", 4, "Terminating LOC REG module\n");
  loc_reg_inited = false;
  loc_st_num_cache_reset();
  return 0;
}

long loc_reg_is_inited() { return loc_reg_inited ? 1 : 0; }

loc_ty_region* loc_reg_get_region() {
  if (!check_inited("loc_reg_get_region")) return nullptr;
  return &loc_reg_region;
}

const char* loc_reg_date_separator() { return loc_reg_region.date_sep; }
const char* loc_reg_time_separator() { return loc_reg_region.time_sep; }

long loc_reg_reset_mon_thsnds_sep() {
  loc_reg_region.mon_group_sym[0] = '\0';
  loc_reg_region.group_sym[0] = '\0';
  loc_st_num_cache_reset();
  return 0;
}

const char* loc_reg_get_dt_format(long kind) {
  if (kind == 6) return loc_reg_region.date_time;
  if (kind == 4 || kind == 5) return osl_loc_get_dt_fmt(kind);
  return loc_reg_region.short_date;
}

long loc_reg_datetime(const struct tm* time, long kind, const char** text) {
  if (!check_inited("loc_reg_datetime")) return -1;
  const char* format = loc_reg_get_dt_format(kind);
  if (format == nullptr) format = "";
  struct tm t = *time;
  int year = time->tm_year;
  std::string f = format;
  if (f.find("%y") != std::string::npos && !(year >= 1930 && year <= 2029))
    for (char& c : f)
      if (c == 'y') c = 'Y';
  if (year >= 100) t.tm_year = year - 1900;
  if (std::strftime(loc_reg_buf, LOC_REG_BUF_SIZE - 1, f.c_str(), &t) == 0) loc_reg_buf[0] = '\0';
  if (text != nullptr) *text = loc_reg_buf;
  return 0;
}

long loc_reg_str_to_time(const char* text, long kind, loc_ty_tm* time) {
  const char* format = kind == 1 ? loc_reg_region.short_date : loc_reg_region.date_time;
  return osl_loc_strptime(text, format, 0, &loc_reg_region, time);
}

long loc_reg_unknown_date(char* out, long size, const char* placeholder, long date_only) {
  return osl_loc_unknown_date(out, size, placeholder, date_only, &loc_reg_region);
}

long loc_reg_force_date_format(const char* format) {
  return osl_loc_force_date_format(&loc_reg_region, format);
}
