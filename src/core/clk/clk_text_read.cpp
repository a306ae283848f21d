// Readers of clock texts.
#include <cctype>
#include <cstring>
#include <strings.h>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_text.h"
#include "core/loc/loc_reg.h"

namespace {

bool all_blank(const char* text) {
  for (const char* p = text; *p != '\0'; ++p)
    if (*p != ' ') return false;
  return true;
}

void set_wday(clk_ty_cmp* c) {
  long w = clk_time_day_of(c->year, c->yday) + 109579;
  c->wday = ((w % 7) + 7) % 7;
}

// Fills cmp from checked parts.
void fill(clk_ty_cmp* c, long year, long month, long day, long hour, long minute, long second) {
  *c = clk_ty_cmp{};
  c->year = year;
  c->month = month;
  c->day = day;
  c->yday = clk_time_days_before(year, month) + day;
  set_wday(c);
  c->hour = hour;
  c->minute = minute;
  c->second = second;
}

// A cursor over a numeric text: numbers of digits, separators with blanks
// before them.
struct scan {
  const char* p;
  bool number(long* v) {
    while (*p == ' ') ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    long n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
      if (n > 100000) return false;
      n = n * 10 + (*p++ - '0');
    }
    *v = n;
    return true;
  }
  bool sep(char c) {
    while (*p == ' ') ++p;
    if (*p != c) return false;
    ++p;
    return true;
  }
  bool at_end() {
    while (*p == ' ') ++p;
    return *p == '\0';
  }
};

// Short numeric and "#" texts: the date in the given order (0 m/d/y, 1
// y-m-d), optionally a time, then only blanks.
long read_numeric(const char* proc, const char* text, clk_ty_cmp* cmp, long flags, bool iso) {
  const char* t = text != nullptr ? text : "";
  scan s{t};
  long a = 0, b = 0, c = 0, hour = 0, minute = 0, second = 0;
  char sep = iso ? '-' : '/';
  bool ok = s.number(&a) && s.sep(sep) && s.number(&b) && s.sep(sep) && s.number(&c);
  if (ok && !s.at_end())
    ok = s.number(&hour) && s.sep(':') && s.number(&minute) && s.sep(':') && s.number(&second) && s.at_end();
  long month = (iso ? b : a) - 1, day = iso ? c : b;
  long year = clk_time_adjust_dateyear(iso ? a : c);
  ok = ok && month >= 0 && month <= 11 && day >= 1 && day <= clk_time_month_days(year, month) && hour <= 23 &&
       minute <= 59 && second <= 59;
  if (!ok) return clk_alrt(proc, CLK_BAD_TEXT, t);
  if (year > CLK_MAX_YEAR) return clk_alrt(proc, CLK_AFTER_4712);
  if (flags & CLK_STR_DATE_ONLY) hour = minute = second = 0;
  fill(cmp, year, month, day, hour, minute, second);
  return 0;
}

long read_clk(long flag, const char* text, clktime* time, long cmp_flags) {
  const char* t = text != nullptr ? text : "";
  if (t[0] == '?' || all_blank(t)) return clk_time_clear(time);
  if (t[0] == '*') {
    *time = clktime{CLK_FAR_FUTURE_DAY, 0};
    return 0;
  }
  clk_ty_cmp c{};
  long st = clk_time_clkstr_to_cmp(t, &c, cmp_flags);
  if (st == CLK_BAD_TEXT) return clk_alrt("clk_time_str_to_clk", CLK_INVALID);
  if (st != 0) return st;
  return clk_time_cmp_to_time_adj(flag, &c, time);
}

}  // namespace

long clk_time_clkstr_to_cmp(const char* text, clk_ty_cmp* cmp, long flags) {
  static const char* kProc = "clk_time_clkstr_to_cmp";
  const char* t = text != nullptr ? text : "";
  bool date_only = (flags & CLK_STR_DATE_ONLY) != 0;
  if (loc_reg_get_region() == nullptr) return clk_alrt(kProc, CLK_INVALID);
  // Parts the text does not give keep these values.
  loc_ty_tm parts{0, 0, 0, 32, 15, -1};
  if (loc_reg_str_to_time(t, date_only ? 1 : 2, &parts) != 0) return clk_alrt(kProc, CLK_BAD_TEXT, t);
  long year = clk_time_adjust_dateyear(parts.year);
  long month = parts.month, day = parts.day;
  auto bad = [&](long code, long value) {
    clk_alrt(kProc, CLK_BAD_TEXT, t);
    clk_alrt(kProc, code, value);
    return CLK_BAD_TEXT;
  };
  if (month < 0 || month > 11) return bad(CLK_TEXT_MONTH, month + 1);
  if (day < 1 || day > clk_time_month_days(year, month)) return bad(CLK_TEXT_DAY, day);
  if (year > CLK_MAX_YEAR) return clk_alrt(kProc, CLK_AFTER_4712);
  if (year < 0) return clk_alrt(kProc, CLK_INVALID);
  long hour = 0, minute = 0, second = 0;
  if (!date_only) {
    hour = parts.hour;
    minute = parts.minute;
    second = parts.second;
    if (hour < 0 || hour > 23) return bad(CLK_TEXT_HOUR, hour);
    if (minute < 0 || minute > 59) return bad(CLK_TEXT_MINUTE, minute);
    if (second < 0 || second >= 60) return bad(CLK_TEXT_SECOND, second);
  }
  fill(cmp, year, month, day, hour, minute, second);
  return 0;
}

long clk_time_clksstr_to_cmp(const char* text, clk_ty_cmp* cmp, long flags) {
  return read_numeric("clk_time_clksstr_to_cmp", text, cmp, flags, false);
}

long clk_time_clkstr_iso_to_cmp(const char* text, clk_ty_cmp* cmp, long flags) {
  return read_numeric("clk_time_clkstr_iso_to_cmp", text, cmp, flags, true);
}

long clk_time_str_to_clk_adj(long flag, const char* text, clktime* time) { return read_clk(flag, text, time, 0); }

long clk_time_str_to_clk(const char* text, clktime* time) { return read_clk(1, text, time, 0); }

long clk_time_inf_str_to_clk_adj(long flag, const char* text, clktime* time) { return read_clk(flag, text, time, 0); }

long clk_time_inf_str_to_clk(const char* text, clktime* time) { return read_clk(1, text, time, 0); }

long clk_time_str_to_date(const char* text, clktime* time) { return read_clk(0, text, time, CLK_STR_DATE_ONLY); }

long clk_time_monstr_2_mondigit(const char* name, long* month) {
  *month = -1;
  for (long m = 0; m < 12 && name != nullptr; ++m) {
    if (strcasecmp(name, clk_str_short_month(m)) == 0) {
      *month = m;
      break;
    }
  }
  return 0;
}

long clk_time_sqr_str_convert(const char* text, char* out, long size) {
  return clk_seam_sqr_str_convert(text, out, size);
}

long clk_time_sstr_to_clk(const char* text, clktime* time) { return clk_seam_str_to_clk(text, time); }
