// Business calendars: positions in the week, business seconds consumed in
// one week and one period, and the working intervals of periods.
#include <algorithm>

#include "client/oab/oab_cln.h"
#include "client/oab/oab_cln_int.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_rel.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace oab_cln {

clktime add_secs(const clktime& t, long seconds) {
  long long ticks = static_cast<long long>(t.ticks) + static_cast<long long>(seconds) * CLK_TICKS_PER_SEC;
  long long days = ticks / CLK_TICKS_PER_DAY;
  ticks %= CLK_TICKS_PER_DAY;
  if (ticks < 0) {
    ticks += CLK_TICKS_PER_DAY;
    --days;
  }
  return clktime{t.day + static_cast<long>(days), static_cast<long>(ticks)};
}

long secs_between(const clktime& a, const clktime& b) {
  long long ticks = static_cast<long long>(b.day - a.day) * CLK_TICKS_PER_DAY + (b.ticks - a.ticks);
  return static_cast<long>(ticks / CLK_TICKS_PER_SEC);
}

long compare(const clktime& a, const clktime& b) { return clk_time_cmp(&a, &b); }

dbs_ty_lobj* object_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  utl_col_ith(col, i, &e);
  return *static_cast<dbs_ty_lobj**>(e);
}

clktime time_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  utl_col_ith(col, i, &e);
  return *static_cast<clktime*>(e);
}

clktime time_field(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0 || v == 0) return clktime{CLK_NULL_DAY, 0};
  return *reinterpret_cast<const clktime*>(v);
}

long long_field(dbs_ty_lobj* o, long field) {
  long v = 0;
  dbs_fld_get(o, field, &v, nullptr);
  return v;
}

long make_times(const char* owner, utl_ty_col** col) {
  return utl_col_make(owner, CMN_TYP_CLK_TIME, 10, 10, 0, 0, col);
}

}  // namespace oab_cln

using namespace oab_cln;

namespace {

constexpr long kDaySecs = 86400;
constexpr long kHourSecs = 3600;
constexpr long kMinuteSecs = 60;
constexpr long kDaysPerWeek = 7;
constexpr long kCal2Week = 0;

long interval(utl_ty_col* hours, long i, long* s, long* e) {
  void* a = nullptr;
  void* b = nullptr;
  if (long st = utl_col_ith(hours, 2 * i, &a)) return st;
  if (long st = utl_col_ith(hours, 2 * i + 1, &b)) return st;
  *s = *static_cast<long*>(a);
  *e = *static_cast<long*>(b);
  return 0;
}

// The work week of a calendar: its total seconds and its intervals.
struct work_week {
  long total = 0;
  utl_ty_col* hours = nullptr;
  ~work_week() {
    if (hours != nullptr) utl_col_free("oab_cln", hours);
  }
};

long read_week(dbs_ty_lobj* calendar, work_week* w) {
  dbs_ty_lobj* week = nullptr;
  if (long st = oab_rel_get_one_relative_sp(nullptr, calendar, kCal2Week, 0, &week)) return st;
  if (week == nullptr) return utl_col_make("oab_cln", CMN_TYP_LONG, 10, 10, 0, 0, &w->hours);
  obj_id id{};
  long st = dbs_obj_oid_get(week, &id);
  w->total = long_field(week, OAB_CLN_WEEK_TOTAL);
  dbs_obj_free_local("oab_cln", week);
  if (st != 0) return st;
  return oab_cln_get_work_hr(&id, &w->hours);
}

struct span {
  clktime first_week;
  long first_pos;
  long last_pos;
  long weeks;  // whole weeks between, less one
};

long span_of(const clk_ty_tz* zone, utl_ty_col* boundaries, long index, span* s) {
  clktime a = time_at(boundaries, index);
  clktime b = time_at(boundaries, index + 1);
  clktime last_week{};
  if (long st = oab_cln_clk_to_wkhr(zone, &a, &s->first_week, &s->first_pos)) return st;
  if (long st = oab_cln_clk_to_wkhr(zone, &b, &last_week, &s->last_pos)) return st;
  return oab_cln_week_between(&s->first_week, &last_week, &s->weeks);
}

long from_zone(const clk_ty_tz* zone, clktime* t) { return clk_tz_convert_clk_time(0, zone, t, nullptr, t); }

}  // namespace

long oab_cln_clk_to_wkhr(const clk_ty_tz* zone, const clktime* time, clktime* week_start, long* seconds) {
  clktime local{};
  if (long st = clk_tz_convert_clk_time(0, nullptr, time, zone, &local)) return st;
  clk_ty_cmp cmp{};
  if (long st = clk_time_to_cmp_adj(0, &local, &cmp)) return st;
  *seconds = cmp.wday * kDaySecs + cmp.hour * kHourSecs + cmp.minute * kMinuteSecs + cmp.second;
  *week_start = clktime{local.day - cmp.wday, 0};
  return 0;
}

long oab_cln_week_between(const clktime* first, const clktime* later, long* count) {
  *count = (later->day - first->day) / kDaysPerWeek - 1;
  return 0;
}

long oab_cln_calc_wkhr_clk(long from, long to, utl_ty_col* hours, clktime* week_start, long* remaining,
                           clktime* out) {
  *out = clktime{CLK_NULL_DAY, 0};
  for (long i = 0; i < hours->count / 2; ++i) {
    long s = 0, e = 0;
    if (long st = interval(hours, i, &s, &e)) return st;
    if (!(e > from && to > s)) continue;
    long length = std::min(e, to) - std::max(s, from);
    if (*remaining <= length) {
      *out = add_secs(*week_start, std::max(s, from) + *remaining);
      *remaining = 0;
      return 0;
    }
    *remaining -= length;
  }
  *week_start = add_secs(*week_start, OAB_CLN_WEEK);
  return 0;
}

long oab_cln_get_wkhr_clk(long from, long to, utl_ty_col* hours, const clktime* week_start, utl_ty_col* out) {
  for (long i = 0; i < hours->count / 2; ++i) {
    long s = 0, e = 0;
    if (long st = interval(hours, i, &s, &e)) return st;
    if (!(e > from && to > s)) continue;
    clktime a = add_secs(*week_start, std::max(s, from));
    clktime b = add_secs(*week_start, std::min(e, to));
    if (long st = utl_col_push(out, &a, nullptr)) return st;
    if (long st = utl_col_push(out, &b, nullptr)) return st;
  }
  return 0;
}

long oab_cln_calc_one_biz(const clk_ty_tz* zone, long index, utl_ty_col* calendars, utl_ty_col* boundaries,
                          long* remaining, clktime* out) {
  *out = clktime{CLK_NULL_DAY, 0};
  work_week w;
  if (long st = read_week(object_at(calendars, index), &w)) return st;
  span s{};
  if (long st = span_of(zone, boundaries, index, &s)) return st;
  clktime week = s.first_week;
  long first_to = s.weeks < 0 ? s.last_pos : OAB_CLN_WEEK;
  if (long st = oab_cln_calc_wkhr_clk(s.first_pos, first_to, w.hours, &week, remaining, out)) return st;
  for (long k = 0; k < s.weeks && clk_time_is_null(*out); ++k) {
    if (*remaining > w.total) {
      *remaining -= w.total;
      week = add_secs(week, OAB_CLN_WEEK);
      continue;
    }
    if (long st = oab_cln_calc_wkhr_clk(0, OAB_CLN_WEEK, w.hours, &week, remaining, out)) return st;
  }
  if (s.weeks >= 0 && clk_time_is_null(*out))
    if (long st = oab_cln_calc_wkhr_clk(0, s.last_pos, w.hours, &week, remaining, out)) return st;
  return clk_time_is_null(*out) ? 0 : from_zone(zone, out);
}

long oab_cln_cut_wkhr(const clk_ty_tz* zone, long index, utl_ty_col* calendars, utl_ty_col* boundaries,
                      utl_ty_col* out) {
  work_week w;
  if (long st = read_week(object_at(calendars, index), &w)) return st;
  span s{};
  if (long st = span_of(zone, boundaries, index, &s)) return st;
  long from = out->count;
  clktime week = s.first_week;
  long first_to = s.weeks < 0 ? s.last_pos : OAB_CLN_WEEK;
  if (long st = oab_cln_get_wkhr_clk(s.first_pos, first_to, w.hours, &week, out)) return st;
  for (long k = 0; k <= s.weeks; ++k) {
    week = add_secs(week, OAB_CLN_WEEK);
    long to = k < s.weeks ? OAB_CLN_WEEK : s.last_pos;
    if (long st = oab_cln_get_wkhr_clk(0, to, w.hours, &week, out)) return st;
  }
  for (long i = from; i < out->count; ++i) {
    void* e = nullptr;
    utl_col_ith(out, i, &e);
    if (long st = from_zone(zone, static_cast<clktime*>(e))) return st;
  }
  return 0;
}

long oab_cln_cut_week(const clk_ty_tz* zone, utl_ty_col* calendars, utl_ty_col* boundaries) {
  utl_ty_col* intervals = nullptr;
  if (long st = make_times("oab_cln_cut_week", &intervals)) return st;
  long st = 0;
  for (long i = 0; st == 0 && i < calendars->count && i + 1 < boundaries->count; ++i)
    st = oab_cln_cut_wkhr(zone, i, calendars, boundaries, intervals);
  if (st == 0) st = utl_col_reset(boundaries);
  for (long i = 0; st == 0 && i < intervals->count; ++i) {
    clktime t = time_at(intervals, i);
    st = utl_col_push(boundaries, &t, nullptr);
  }
  utl_col_free("oab_cln_cut_week", intervals);
  return st;
}

long oab_cln_is_in_one_biz_hour(const clk_ty_tz* zone, dbs_ty_lobj* calendar, const clktime* moment, long* flag) {
  *flag = 0;
  work_week w;
  if (long st = read_week(calendar, &w)) return st;
  clktime week{};
  long pos = 0;
  if (long st = oab_cln_clk_to_wkhr(zone, moment, &week, &pos)) return st;
  for (long i = 0; i < w.hours->count / 2; ++i) {
    long s = 0, e = 0;
    if (long st = interval(w.hours, i, &s, &e)) return st;
    if (e > pos - 1 && pos + 1 > s) *flag = 1;
  }
  return 0;
}
