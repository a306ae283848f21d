// Clock time arithmetic, comparison and the broken-down form.
#include <climits>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_time.h"
#include "core/clk/clk_tz.h"

namespace {

constexpr long kDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
constexpr long kBefore[2][12] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                 {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};

long floor_div(long a, long b) {
  long q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Leap years from year 1 (proleptic) up to n, counted so that differences
// give the leap days of any span.
long leaps_upto(long n) { return floor_div(n, 4) - floor_div(n, 100) + floor_div(n, 400); }

long cmp3(long a, long b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

long clk_time_is_leap(long year) {
  return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 1 : 0;
}

long clk_time_month_days(long year, long month) { return kDays[clk_time_is_leap(year)][month]; }

long clk_time_days_before(long year, long month) { return kBefore[clk_time_is_leap(year)][month]; }

long clk_time_day_of(long year, long yday) {
  return (year - 1600) * 365 + leaps_upto(year - 1) - leaps_upto(1599) + yday - (CLK_DAYS_FROM_1600 + 1);
}

long clk_time_adjust_dateyear(long year) {
  if (year >= 0 && year <= 29) return year + 2000;
  if (year >= 30 && year <= 199) return year + 1900;
  return year;
}

long clk_time_cmp(const void* a, const void* b) {
  const auto* x = static_cast<const clktime*>(a);
  const auto* y = static_cast<const clktime*>(b);
  if (x->day != y->day) return cmp3(x->day, y->day);
  return cmp3(x->ticks, y->ticks);
}

long clk_elps_sec_cmp(const void* a, const void* b) {
  return cmp3(*static_cast<const long*>(a), *static_cast<const long*>(b));
}

long clk_elps_cmp_cmp(const void* a, const void* b) {
  long x = 0, y = 0;
  clk_time_cmp_to_elps(static_cast<const clk_elps_cmp*>(a), &x);
  clk_time_cmp_to_elps(static_cast<const clk_elps_cmp*>(b), &y);
  return cmp3(x, y);
}

long clk_time_diff(const clktime* a, const clktime* b, long* seconds) {
  long days = 0, secs = 0, result = 0;
  if (__builtin_sub_overflow(b->day, a->day, &days) || __builtin_mul_overflow(days, CLK_SECS_PER_DAY, &secs) ||
      __builtin_add_overflow(secs, (b->ticks - a->ticks) / CLK_TICKS_PER_SEC, &result) ||
      (days > 0 && result < 0) || (days < 0 && result > 0))
    return clk_alrt("clk_time_diff", CLK_DIFF_OVERFLOW);
  *seconds = result;
  return 0;
}

long clk_time_diff_double(const clktime* a, const clktime* b, double* seconds) {
  long s = 0;
  if (long st = clk_time_diff(a, b, &s)) return st;
  *seconds = static_cast<double>(s);
  return 0;
}

void clk_time_add_ticks(clktime* time, long ticks) {
  time->day += ticks / CLK_TICKS_PER_DAY;
  time->ticks += ticks % CLK_TICKS_PER_DAY;
  if (time->ticks < 0) {
    time->ticks += CLK_TICKS_PER_DAY;
    --time->day;
  } else if (time->ticks >= CLK_TICKS_PER_DAY) {
    time->ticks -= CLK_TICKS_PER_DAY;
    ++time->day;
  }
}

long clk_time_add(const clktime* time, long seconds, clktime* out) {
  clktime t = *time;
  t.day += seconds / CLK_SECS_PER_DAY;  // whole days first
  clk_time_add_ticks(&t, (seconds % CLK_SECS_PER_DAY) * CLK_TICKS_PER_SEC);
  *out = t;
  return 0;
}

long clk_time_clear(clktime* time) {
  time->day = CLK_NULL_DAY;
  time->ticks = 0;
  return 0;
}

long clk_time_recalc_cmp(clk_ty_cmp* cmp) {
  if (cmp->month < 0 || cmp->month > 11) return clk_alrt("clk_time_recalc_cmp", CLK_BAD_MONTH, cmp->month + 1);
  if (cmp->day < 1 || cmp->day > clk_time_month_days(cmp->year, cmp->month))
    return clk_alrt("clk_time_recalc_cmp", CLK_BAD_DAY, cmp->day, clk_str_long_month(cmp->month), cmp->year);
  cmp->yday = clk_time_days_before(cmp->year, cmp->month) + cmp->day;
  return 0;
}

long clk_time_to_cmp_adj(long flag, const clktime* time, clk_ty_cmp* cmp) {
  if (time->day < CLK_NULL_DAY) return clk_alrt("clk_time_to_cmp", CLK_BEFORE_1753, time->day);
  if (time->ticks < 0 || time->ticks >= CLK_TICKS_PER_DAY) return clk_alrt("clk_time_to_cmp", CLK_BAD_TICKS, time->ticks);
  // Far beyond any calendar date (the arithmetic below would overflow).
  if (time->day > CLK_MAX_DAY) return clk_alrt("clk_time_to_cmp", CLK_INVALID);
  clktime t = *time;
  if (flag == 1) clk_time_adjust_to_client(&t);

  // The year by estimate, corrected against the first day of the year.
  long year = 1600 + floor_div((t.day + CLK_DAYS_FROM_1600) * 400, 146097);
  while (clk_time_day_of(year, 1) > t.day) --year;
  while (clk_time_day_of(year + 1, 1) <= t.day) ++year;
  long yday = t.day - clk_time_day_of(year, 1) + 1;
  long month = 11;
  while (month > 0 && clk_time_days_before(year, month) >= yday) --month;

  clk_ty_cmp c{};
  c.year = year;
  c.yday = yday;
  c.month = month;
  c.day = yday - clk_time_days_before(year, month);
  long w = t.day + 109579;
  c.wday = w - floor_div(w, 7) * 7;
  long secs = t.ticks / CLK_TICKS_PER_SEC;
  c.hour = secs / 3600;
  c.minute = secs / 60 % 60;
  c.second = secs % 60;
  long rest = t.ticks % CLK_TICKS_PER_SEC;
  c.msecs = rest / 3 * 10 + rest % 3 * 3;
  *cmp = c;
  return 0;
}

long clk_time_to_cmp(const clktime* time, clk_ty_cmp* cmp) { return clk_time_to_cmp_adj(1, time, cmp); }

long clk_time_cmp_to_time_adj(long flag, const clk_ty_cmp* cmp, clktime* time) {
  if (cmp->year > CLK_MAX_YEAR) return clk_alrt("clk_time_cmp_to_time", CLK_AFTER_4712);
  clktime t{clk_time_day_of(cmp->year, cmp->yday), ((cmp->hour * 60 + cmp->minute) * 60 + cmp->second) * CLK_TICKS_PER_SEC};
  if (flag == 1) clk_time_adjust_to_server(&t);
  *time = t;
  return 0;
}

long clk_time_cmp_to_time(const clk_ty_cmp* cmp, clktime* time) { return clk_time_cmp_to_time_adj(1, cmp, time); }

long clk_time_sdate_set(const char* /*format*/) { return 0; }
