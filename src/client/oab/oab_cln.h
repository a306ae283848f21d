// Business calendars: from its effective time on, a calendar says during
// which seconds of each week work is done (in the site's time zone). Is a
// moment inside business hours, is an employee available, which moment do
// a number of business seconds reach.
#pragma once

#include "core/clk/clk_time.h"
#include "core/clk/clk_tz.h"
#include "store/dbs_oid.h"

struct dbs_ty_lobj;
struct utl_ty_col;

constexpr long OAB_CLN_WEEK = 604800;
constexpr long OAB_CLN_HEADER_TYPE = 258;
constexpr long OAB_CLN_CALENDAR_TYPE = 286;
constexpr long OAB_CLN_HOURS_TYPE = 256;
constexpr long OAB_CLN_APPT_TYPE = 260;
constexpr long OAB_CLN_START = 0x100001D;  // effective time; interval and appointment start
constexpr long OAB_CLN_END = 0x100001E;
constexpr long OAB_CLN_WEEK_TOTAL = 0x1000006;
constexpr long OAB_CLN_HEADER_GEN = -98;
constexpr long OAB_CLN_EMPL2SCHEDULE = 18;
constexpr long OAB_CLN_FIVE_YEARS = 157680000;

// The owner's calendars ordered by effective time (old objects of the
// collection freed first); an owner without header has none.
long oab_cln_get_site_biz_cal(const obj_id* owner, utl_ty_col* calendars);
long oab_cln_has_eff_biz_cal(utl_ty_col* calendars, const clktime* moment, long* flag);
// Keeps the calendars governing from..to (the others removed, freed with
// free_flag) and lists the period boundaries (clock times).
long oab_cln_cut_biz(long free_flag, utl_ty_col* calendars, const clktime* from, const clktime* to,
                     utl_ty_col* boundaries);
// The work week's intervals: start, end, start, end ... (seconds of the week).
long oab_cln_get_work_hr(const obj_id* week, utl_ty_col** hours);
long oab_cln_clk_to_wkhr(const clk_ty_tz* zone, const clktime* time, clktime* week_start, long* seconds);
long oab_cln_week_between(const clktime* first, const clktime* later, long* count);
long oab_cln_calc_wkhr_clk(long from, long to, utl_ty_col* hours, clktime* week_start, long* remaining,
                           clktime* out);
long oab_cln_get_wkhr_clk(long from, long to, utl_ty_col* hours, const clktime* week_start, utl_ty_col* out);
long oab_cln_calc_one_biz(const clk_ty_tz* zone, long index, utl_ty_col* calendars, utl_ty_col* boundaries,
                          long* remaining, clktime* out);
long oab_cln_cut_wkhr(const clk_ty_tz* zone, long index, utl_ty_col* calendars, utl_ty_col* boundaries,
                      utl_ty_col* out);
long oab_cln_cut_week(const clk_ty_tz* zone, utl_ty_col* calendars, utl_ty_col* boundaries);
long oab_cln_is_in_one_biz_hour(const clk_ty_tz* zone, dbs_ty_lobj* calendar, const clktime* moment, long* flag);
// Appointments ending after from and (when to is given) starting before to.
long oab_cln_get_emp_appt(const obj_id* employee, utl_ty_col* out, const clktime* from, const clktime* to);
long oab_cln_merge_appt(utl_ty_col* appointments);

long oab_cln_calc_biz_time(const obj_id* site, const obj_id* owner, const clktime* start, long seconds,
                           clktime* out);
long oab_cln_is_in_biz_hour(const obj_id* site, const obj_id* owner, const clktime* moment, long* flag);
long oab_cln_is_user_available(const obj_id* employee, const obj_id* site, const clktime* moment, long* flag);
