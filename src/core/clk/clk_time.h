// Clock time: one representation of date and time for the whole CRM stack, a
// day number (day 0 is 1 January 1900) and ticks of 1/300 second since
// midnight; its arithmetic, its broken-down form and elapsed times.
//
// Functions return 0 or a clock alert code (clk_msg.h) after pushing it;
// outputs are left as they were on failure.
//
// Threads: the arithmetic works on its arguments, but failures push alerts on the
// current stack (cmn_alrt.h), which is one thread at a time.
#pragma once

#include "orb_api.h"

struct clktime {
  long day;    // day + 109573 counts days since 1 January 1600
  long ticks;  // 0 .. 25,919,999
};

// Broken-down clock time.
struct clk_ty_cmp {
  long year;     // full year
  long month;    // 0..11
  long day;      // day of month 1..31
  long yday;     // day of year 1..366
  long wday;     // 0 = Sunday
  long hour;
  long minute;
  long second;
  long msecs;
  short word;    // zeroed by the readers
};

// Elapsed time broken down (type 611).
struct clk_elps_cmp {
  long weeks;
  long days;
  long hours;
  long minutes;
  long seconds;
};

constexpr long CLK_TICKS_PER_SEC = 300;
constexpr long CLK_SECS_PER_DAY = 86400;
constexpr long CLK_TICKS_PER_DAY = CLK_SECS_PER_DAY * CLK_TICKS_PER_SEC;  // 25,920,000
constexpr long CLK_DAYS_FROM_1600 = 109573;  // day 0 counted from 1 January 1600
constexpr long CLK_NULL_DAY = -53690;        // 1 January 1753: the unknown date
constexpr long CLK_FAR_FUTURE_DAY = 1027426; // 31 December 4712 and later: infinite
constexpr long CLK_MAX_YEAR = 4712;
constexpr long CLK_MAX_DAY = 365000000;      // largest day broken down (about a million years)

// Registry type ids of the clock.
constexpr long CLK_TYP_TIME = 609;
constexpr long CLK_TYP_ELAPSED = 610;
constexpr long CLK_TYP_ELPS_CMP = 611;
constexpr long CLK_TYP_DATE_ONLY = 653;
constexpr long CLK_TYP_TZ_TIME = 677;
constexpr long CLK_TYP_HOURS_MINS = 692;
constexpr long CLK_TYP_TIME_INF = 698;

// Elapsed-time limits: 3009 days in all (3008 days plus hours and minutes).
constexpr long CLK_ELPS_MAX_WEEKS = 429;
constexpr long CLK_ELPS_MAX_DAYS = 3008;

inline bool clk_time_is_null(const clktime& t) { return t.day == CLK_NULL_DAY && t.ticks == 0; }
inline bool clk_time_is_far(const clktime& t) { return t.day >= CLK_FAR_FUTURE_DAY; }

// Start and stop of the clock module: message list, types, query
// conversion, clock mode 2, short month names, time zones.
ORB_API long clk_main_init();
ORB_API long clk_main_term();
long clk_time_init();
// Called by the object store with its short-date format; nothing depends on it.
ORB_API long clk_time_sdate_set(const char* format);

// Arithmetic and comparison.
ORB_API long clk_time_cmp(const void* a, const void* b);  // -1, 0, 1
ORB_API long clk_elps_sec_cmp(const void* a, const void* b);
ORB_API long clk_elps_cmp_cmp(const void* a, const void* b);
// (b - a) in whole seconds (ticks truncated toward zero); #12 on overflow.
ORB_API long clk_time_diff(const clktime* a, const clktime* b, long* seconds);
ORB_API long clk_time_diff_double(const clktime* a, const clktime* b, double* seconds);
// out = time + seconds (signed); out may be time.
ORB_API long clk_time_add(const clktime* time, long seconds, clktime* out);
// Adds ticks and brings them back into one day.
void clk_time_add_ticks(clktime* time, long ticks);
ORB_API long clk_time_clear(clktime* time);
ORB_API long clk_time_is_leap(long year);
// Days in month 0..11 of the year.
long clk_time_month_days(long year, long month);
// Days before month 0..11 of the year (cumulative table).
long clk_time_days_before(long year, long month);
// Checks month (#5) and day (#6) and sets the day of year.
ORB_API long clk_time_recalc_cmp(clk_ty_cmp* cmp);
// Two-digit years: 0..29 -> 2000..2029, 30..199 -> 1930..2099.
ORB_API long clk_time_adjust_dateyear(long year);

// Broken-down form. flag 1: server time to client time first (to_cmp),
// client time to server time afterwards (cmp_to_time).
ORB_API long clk_time_to_cmp_adj(long flag, const clktime* time, clk_ty_cmp* cmp);
ORB_API long clk_time_to_cmp(const clktime* time, clk_ty_cmp* cmp);
ORB_API long clk_time_cmp_to_time_adj(long flag, const clk_ty_cmp* cmp, clktime* time);
ORB_API long clk_time_cmp_to_time(const clk_ty_cmp* cmp, clktime* time);
// Day number of a date (no checks).
long clk_time_day_of(long year, long yday);

// Elapsed time.
constexpr long CLK_ELPS_TEXT_SIZE = 35;
ORB_API long clk_time_elps_to_cmp(long seconds, long flags, clk_elps_cmp* out);
ORB_API long clk_time_cmp_to_elps(const clk_elps_cmp* cmp, long* seconds);
// Short: "ddd hh:mm"; long: "n wks:n days:n hrs:n mins:n secs" without
// leading zero units.
ORB_API long clk_time_elps_cmp_to_str(const clk_elps_cmp* cmp, long short_form, char* out,
                                      long size);
// mask bits: 1 weeks, 2 days, 4 hours, 8 minutes, 16 seconds.
ORB_API long clk_time_elps_str_parse(long mask, const char* text, clk_elps_cmp* out);
ORB_API long clk_time_elps_str_to_cmp(const char* text, clk_elps_cmp* out);
ORB_API long clk_time_elps_to_str(long seconds, char* out, long size);
ORB_API long clk_time_str_to_elps(const char* text, long* seconds);
