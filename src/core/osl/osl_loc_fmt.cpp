// Examining date and time formats, the date order and the time-stamp
// formats.
#include <cstdio>
#include <cstring>

#include "core/osl/osl_loc.h"
#include "core/osl/osl_loc_int.h"
#include "core/osl/osl_print.h"

namespace {

long osl_loc_order = -1;
long osl_loc_flags = OSL_LOC_FLAGS_NOT_SET;
char osl_loc_ts_format[81] = "";
char osl_loc_site_format[81] = "";

constexpr size_t kFormatField = 32;

// A character that may stand between '%' and the conversion letter.
bool is_fmt_prefix(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '#' || c == 'l'; }

struct fmt_scan {
  long code = 0;
  char separator = '\0';
  bool twelve = false;
  bool ampm = false;
};

// Walks the conversions of a format; digit(letter) gives the letter's digit
// (0 for none).
template <class Digit>
fmt_scan scan_format(const char* format, Digit digit, fmt_scan s = {}) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    ++p;
    while (is_fmt_prefix(*p)) ++p;
    if (*p == '\0') break;
    long d = digit(*p, s);
    // A code beyond three digits is refused anyway; keep it from growing.
    if (d > 0) s.code = s.code > 1000 ? s.code : s.code * 10 + d;
    if (s.code > 0 && s.separator == '\0' && p[1] != '\0' && p[1] != '%') s.separator = p[1];
  }
  return s;
}

bool accepted(long code, const long* codes, int n, int* index) {
  for (int i = 0; i < n; ++i)
    if (codes[i] == code) {
      *index = i;
      return true;
    }
  return false;
}

}  // namespace

bool osl_loc_date_flags_have(long bit) {
  return osl_loc_flags != OSL_LOC_FLAGS_NOT_SET && (osl_loc_flags & bit) != 0;
}

long osl_loc_extract_date(const char* format, loc_ty_region* region) {
  region->short_date[0] = '\0';
  std::strcpy(region->date_sep, "/");
  static const long codes[] = {123, 213, 312, 132, 231, 321};
  fmt_scan s;
  int order = -1;
  if (format != nullptr && std::strlen(format) < kFormatField) {
    s = scan_format(format, [](char c, fmt_scan&) -> long {
      if (c == 'm' || c == 'b' || c == 'B') return 1;
      if (c == 'd') return 2;
      if (c == 'y' || c == 'Y') return 3;
      return 0;
    });
  }
  if (format != nullptr && accepted(s.code, codes, 6, &order)) {
    std::strcpy(region->short_date, format);
    if (s.separator != '\0') {
      region->date_sep[0] = s.separator;
      region->date_sep[1] = '\0';
    }
    osl_loc_order = order;
    return 0;
  }
  if (format != nullptr) osl_print_mes("date format %s is unusable, using default: %%m/%%d/%%Y\n", format);
  std::strcpy(region->short_date, "%m/%d/%Y");
  osl_loc_order = 0;
  return 0;
}

long osl_loc_extract_time(const char* format, loc_ty_region* region) {
  region->time_fmt[0] = '\0';
  std::strcpy(region->time_sep, ":");
  static const long codes[] = {12, 21, 123, 132, 213, 231, 312, 321};
  auto use_default = [&](const char* message) {
    if (message != nullptr && format != nullptr) osl_print_mes(message, format);
    std::strcpy(region->time_fmt, "%H:%M:%S");
    region->hour12 = 0;
    return 0;
  };
  if (format == nullptr) return use_default(nullptr);
  fmt_scan s = scan_format(format, [](char c, fmt_scan& st) -> long {
    if (c == 'H') return 1;
    if (c == 'I') {
      st.twelve = true;
      return 1;
    }
    if (c == 'M') return 2;
    if (c == 'S') return 3;
    if (c == 'p') st.ampm = true;
    return 0;
  });
  int index = 0;
  const char* unusable = "time format %s is unusable, using default: %%H:%%M:%%S\n";
  if (!accepted(s.code, codes, 8, &index)) return use_default(unusable);
  if (s.ampm && !s.twelve) return use_default(unusable);
  size_t len = std::strlen(format);
  if (s.separator != '\0') {
    region->time_sep[0] = s.separator;
    region->time_sep[1] = '\0';
  }
  if (s.twelve && !s.ampm && len < kFormatField) {
    if (len + 3 < kFormatField) {
      osl_print_mes("time format %s is ambiguous, appending AM/PM: %%p\n", format);
      std::strcpy(region->time_fmt, format);
      std::strcat(region->time_fmt, " %p");
      region->hour12 = 1;
      return 0;
    }
    std::strcpy(region->time_sep, ":");
    return use_default("time format %s is ambiguous, using default: %%H:%%M:%%S\n");
  }
  if (len < kFormatField) {
    std::strcpy(region->time_fmt, format);
    region->hour12 = s.twelve ? 1 : 0;
    return 0;
  }
  std::strcpy(region->time_sep, ":");
  return use_default("time format %s is too long, using default: %%H:%%M:%%S\n");
}

long osl_loc_dt_orient(long* order) {
  *order = osl_loc_order;
  return 0;
}

long osl_loc_set_date_format(const long* flags) {
  if (osl_loc_flags == OSL_LOC_FLAGS_NOT_SET && flags != nullptr) osl_loc_flags = *flags;
  return 0;
}

long osl_loc_get_date_format(long* flags) {
  *flags = osl_loc_flags == OSL_LOC_FLAGS_NOT_SET ? 0 : osl_loc_flags;
  return 0;
}

long osl_loc_set_dt_fmts(const long* flags, const char* ts_format, const char* site_format) {
  osl_loc_set_date_format(flags);
  if (flags == nullptr || (*flags & OSL_LOC_TS) == 0) return 0;
  if (ts_format != nullptr && *ts_format != '\0')
    osl_loc_copy(osl_loc_ts_format, sizeof osl_loc_ts_format - 1, ts_format);
  if ((*flags & OSL_LOC_SITE_TS) != 0 && site_format != nullptr && *site_format != '\0')
    osl_loc_copy(osl_loc_site_format, sizeof osl_loc_site_format - 1, site_format);
  return 0;
}

const char* osl_loc_get_dt_fmt(long flags) {
  if ((flags & OSL_LOC_TS) == 0) return nullptr;
  return (flags & OSL_LOC_SITE_TS) != 0 ? osl_loc_site_format : osl_loc_ts_format;
}

long osl_loc_clear_dt_fmts() {
  osl_loc_flags = OSL_LOC_FLAGS_NOT_SET;
  osl_loc_ts_format[0] = '\0';
  osl_loc_site_format[0] = '\0';
  osl_loc_order = -1;
  return 0;
}

long osl_loc_unknown_date(char* out, long size, const char* p, long date_only, const loc_ty_region* region) {
  if (out == nullptr || size <= 0) return 0;
  const char* s = osl_loc_date_flags_have(OSL_LOC_FIXED_DATE) ? "-" : region->date_sep;
  const char* t = region->time_sep;
  if (date_only == 1)
    std::snprintf(out, static_cast<size_t>(size), "%s%s%s%s%s", p, s, p, s, p);
  else
    std::snprintf(out, static_cast<size_t>(size), "%s%s%s%s%s %s%s%s%s%s", p, s, p, s, p, p, t, p, t, p);
  return 0;
}
