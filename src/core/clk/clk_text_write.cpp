// Writers of clock texts.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_text.h"
#include "core/loc/loc_reg.h"

namespace {

void put(char* out, long size, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

void put(char* out, long size, const char* fmt, ...) {
  if (out == nullptr || size <= 0) return;
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(out, static_cast<size_t>(size), fmt, args);
  va_end(args);
}

struct tm to_tm(const clk_ty_cmp& c) {
  struct tm t{};
  t.tm_year = static_cast<int>(c.year);  // the full year, as the region's writer takes it
  t.tm_mon = static_cast<int>(c.month);
  t.tm_mday = static_cast<int>(c.day);
  t.tm_yday = static_cast<int>(c.yday - 1);
  t.tm_wday = static_cast<int>(c.wday);
  t.tm_hour = static_cast<int>(c.hour);
  t.tm_min = static_cast<int>(c.minute);
  t.tm_sec = static_cast<int>(c.second);
  return t;
}

void put_compact(const clk_ty_cmp& c, bool date_only, char* out, long size) {
  if (date_only)
    put(out, size, "%.2ld%.2ld%.2ld", c.year, c.month + 1, c.day);
  else
    put(out, size, "%.2ld%.2ld%.2ld%.2ld%.2ld%.2ld", c.year, c.month + 1, c.day, c.hour, c.minute, c.second);
}

long wrapper_flags(long adjust, long date_only) { return (date_only ? 6 : 4) + (adjust ? 1 : 0); }

// The region's date-time text (kind 1 date only, 6 date and time).
long loc_text(const clk_ty_cmp& c, long kind, char* out, long size) {
  struct tm t = to_tm(c);
  const char* text = nullptr;
  if (loc_reg_datetime(&t, kind, &text) != 0 || text == nullptr) return clk_alrt("clk_time_clk_to_str", CLK_INVALID);
  put(out, size, "%s", text);
  return 0;
}

// The region's text of an unknown date with the placeholder in each field.
long unknown_date(const char* placeholder, bool date_only, char* out, long size) {
  if (loc_reg_get_region() == nullptr) return clk_alrt("clk_time_clk_to_str", CLK_INVALID);
  return loc_reg_unknown_date(out, size, placeholder, date_only ? 1 : 0);
}

// The region's name of month 0..11 ("" outside).
long month_name(long month, const char** name) {
  const loc_ty_region* r = loc_reg_get_region();
  if (r == nullptr) return clk_alrt("clk_time_cmpstr", CLK_INVALID);
  *name = month >= 0 && month < 12 ? r->month_names[month] : "";
  return 0;
}

}  // namespace

long clk_time_clk_to_str_option(long flags, const clktime* time, char* out, long size) {
  bool date_only = (flags & CLK_STR_DATE_ONLY) != 0;
  if (clk_time_is_null(*time)) return unknown_date("?", date_only, out, size);
  if (!(flags & CLK_STR_NO_FAR) && clk_time_is_far(*time)) return unknown_date("*", date_only, out, size);
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(flags & CLK_STR_ADJUST, time, &c)) return st;
  if (flags & CLK_STR_COMPACT) {
    put_compact(c, date_only, out, size);
    return 0;
  }
  return loc_text(c, date_only ? 1 : 6, out, size);
}

long clk_time_clk_to_str(const clktime* time, char* out, long size) { return clk_time_clk_to_str_option(5, time, out, size); }

long clk_time_clk_to_str_conv(const clktime* time, char* out, long size) {
  return clk_time_clk_to_str_option(CLK_STR_NO_FAR, time, out, size);
}

long clk_time_clk_to_str_adj(long adjust, const clktime* time, char* out, long size, long date_only) {
  return clk_time_clk_to_str_option(wrapper_flags(adjust, date_only), time, out, size);
}

long clk_time_clk_to_sstr_option(long flags, const clktime* time, char* out, long size) {
  bool date_only = (flags & CLK_STR_DATE_ONLY) != 0;
  const char* mark = nullptr;
  if (clk_time_is_null(*time)) mark = "?";
  else if (!(flags & CLK_STR_NO_FAR) && clk_time_is_far(*time)) mark = "*";
  if (mark != nullptr) {
    if (date_only) put(out, size, "%s/%s/%s", mark, mark, mark);
    else put(out, size, "%s/%s/%s %s:%s:%s", mark, mark, mark, mark, mark, mark);
    return 0;
  }
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(flags & CLK_STR_ADJUST, time, &c)) return st;
  if (flags & CLK_STR_COMPACT) put_compact(c, date_only, out, size);
  else if (date_only) put(out, size, "%.2ld/%.2ld/%ld", c.month + 1, c.day, c.year);
  else put(out, size, "%.2ld/%.2ld/%ld %.2ld:%.2ld:%.2ld", c.month + 1, c.day, c.year, c.hour, c.minute, c.second);
  return 0;
}

long clk_time_clk_to_sstr(const clktime* time, char* out, long size) { return clk_time_clk_to_sstr_option(5, time, out, size); }

long clk_time_clk_to_sstr_conv(const clktime* time, char* out, long size) {
  return clk_time_clk_to_sstr_option(CLK_STR_NO_FAR, time, out, size);
}

long clk_time_clk_to_sstr_adj(long adjust, const clktime* time, char* out, long size, long date_only) {
  return clk_time_clk_to_sstr_option(wrapper_flags(adjust, date_only), time, out, size);
}

long clk_time_clk_to_sstr_prec_adj(long adjust, const clktime* time, char* out, long size) {
  if (clk_time_is_null(*time)) {
    put(out, size, "%s", "?/?/? ?:?:?");
    return 0;
  }
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(adjust ? 1 : 0, time, &c)) return st;
  put(out, size, "%ld/%ld/%ld %.2ld:%.2ld:%.2ld:%.3ld", c.month + 1, c.day, c.year, c.hour, c.minute, c.second, c.msecs);
  return 0;
}

long clk_time_clk_to_str_prec_adj(long adjust, const clktime* time, char* out, long size) {
  return clk_time_clk_to_sstr_prec_adj(adjust, time, out, size);
}

long clk_time_clk_to_str_with_msecs(const clktime* time, char* out, long size) {
  return clk_time_clk_to_str_prec_adj(1, time, out, size);
}

long clk_time_cmpstr(long part, char* out, long size, const clk_ty_cmp* c) {
  switch (part) {
    case 1: put(out, size, "%ld", clk_time_adjust_dateyear(c->year)); return 0;
    case 2: put(out, size, "%ld", c->month / 4 + 1); return 0;
    case 3: put(out, size, "%s", clk_str_long_month(c->month)); return 0;
    case 4: put(out, size, "%.2ld", c->yday); return 0;
    case 5: put(out, size, "%.2ld", c->day); return 0;
    case 6: put(out, size, "%s", clk_str_weekday(c->wday)); return 0;
    case 7: put(out, size, "%.2ld", c->hour); return 0;
    case 8: put(out, size, "%.2ld", c->minute); return 0;
    case 9: put(out, size, "%.2ld", c->second); return 0;
    case 10: {
      const char* name = nullptr;
      if (long st = month_name(c->month, &name)) return st;
      put(out, size, "%s", name);
      return 0;
    }
    default: return clk_alrt("clk_time_cmpstr", CLK_BAD_DATEPART, part);
  }
}

long clk_time_clk_to_cmpstr_adjust(const clktime* time, long part, char* out, long size, long adjust) {
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(adjust ? 1 : 0, time, &c)) return st;
  return clk_time_cmpstr(part, out, size, &c);
}

long clk_time_clk_to_cmpstr(const clktime* time, long part, char* out, long size) {
  return clk_time_clk_to_cmpstr_adjust(time, part, out, size, 1);
}

namespace {

long nstr(const clktime* time, char* out, long size, long adjust, bool date_only) {
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(adjust ? 1 : 0, time, &c)) return st;
  const char* name = nullptr;
  if (long st = month_name(c.month, &name)) return st;
  if (date_only) put(out, size, "%.2ld-%.3s-%ld ", c.day, name, c.year);
  else put(out, size, "%.2ld-%.3s-%ld %.2ld:%.2ld:%.2ld ", c.day, name, c.year, c.hour, c.minute, c.second);
  return 0;
}

}  // namespace

long clk_time_clk_to_nstr_adjust(const clktime* time, char* out, long size, long adjust) {
  return nstr(time, out, size, adjust, false);
}

long clk_time_clk_to_date_nstr(const clktime* time, char* out, long size, long adjust) {
  return nstr(time, out, size, adjust, true);
}

long clk_time_clk_to_cstr_adjust(const clktime* time, char* out, long size, long kind, long adjust) {
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(adjust ? 1 : 0, time, &c)) return st;
  return loc_text(c, kind, out, size);
}

long clk_time_format_str(const char* month, const char* day, const char* year, const char* hour, const char* minute,
                         const char* second, char* out, long size) {
  long h = std::strtol(hour, nullptr, 10);
  if (h >= 13 && h <= 23)
    put(out, size, "%.3s %s %s %ld:%s:%s:000PM", month, day, year, h - 12, minute, second);
  else if (h == 12)
    put(out, size, "%.3s %s %s %s:%s:%s:000PM", month, day, year, hour, minute, second);
  else if (h == 0)
    put(out, size, "%.3s %s %s 12:%s:%s:000AM", month, day, year, minute, second);
  else
    put(out, size, "%.3s %s %s %s:%s:%s:000AM", month, day, year, hour, minute, second);
  return 0;
}

long clk_time_to_iso(char* text, long size) {
  clktime t{};
  if (long st = clk_time_str_to_clk(text, &t)) return st;
  clk_ty_cmp c{};
  if (long st = clk_time_to_cmp_adj(0, &t, &c)) return st;
  put(text, size, "#%.2ld-%.2ld-%.2ld %.2ld:%.2ld:%.2ld", c.year, c.month + 1, c.day, c.hour, c.minute, c.second);
  return 0;
}

long clk_time_to_loc(char* text, long size) {
  static const char* kProc = "clk_time_to_loc";
  constexpr size_t kWidth = 20;  // the "#" text is read from this many characters
  const char* hash = text != nullptr ? std::strchr(text, '#') : nullptr;
  if (hash == nullptr || std::strlen(hash + 1) < kWidth - 1) return clk_alrt(kProc, CLK_ADP_BAD_DATE_TEXT);
  char buf[kWidth + 1];
  std::memcpy(buf, hash + 1, kWidth);
  buf[kWidth] = '\0';
  clk_ty_cmp c{};
  clktime t{};
  if (clk_time_clkstr_iso_to_cmp(buf, &c, 0) != 0 || clk_time_cmp_to_time_adj(0, &c, &t) != 0)
    return clk_alrt(kProc, CLK_ADP_BAD_DATE_TEXT);
  return clk_time_clk_to_str(&t, text, size);
}
