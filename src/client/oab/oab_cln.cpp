// Business calendars: an owner's calendars and their cut to a span,
// appointments, and the three questions (business time added, business
// hours, an employee's availability).
#include "client/oab/oab_cln.h"

#include "client/oab/oab_cln_int.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_rel.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

using namespace oab_cln;

namespace {

constexpr long kHeader2Calendar = 0;
constexpr long kWeek2Hours = 0;
constexpr long kSchedule2Appt = 0;
constexpr long kOpGt = 0;
constexpr long kOpLt = 2;

struct order_rec {
  long field;
  long direction;
};

// Everything a question makes, freed on every return.
struct work {
  utl_ty_col* calendars = nullptr;
  utl_ty_col* boundaries = nullptr;
  clk_ty_tz zone{};
  ~work() {
    if (calendars != nullptr) dbs_obj_free_local_col(nullptr, calendars);
    if (boundaries != nullptr) utl_col_free("oab_cln", boundaries);
    oab_db_free_time_zone(&zone);
  }
  long make() {
    if (long st = utl_col_make("oab_cln", CMN_TYP_VOID_P, 10, 10, 0, 0, &calendars)) return st;
    return make_times("oab_cln", &boundaries);
  }
};

void remove_at(utl_ty_col* col, long i, long free_flag) {
  dbs_ty_lobj* o = object_at(col, i);
  utl_col_remove(col, nullptr, i);
  if (free_flag != 0) dbs_obj_free_local("oab_cln_cut_biz", o);
}

long push_time(utl_ty_col* col, const clktime& t) { return utl_col_push(col, &t, nullptr); }

// No calendar governs the start of the span: the boundary list holds two
// entries more than there are calendars.
bool none_in_force(const work& w) { return w.boundaries->count == w.calendars->count + 2; }

}  // namespace

long oab_cln_get_site_biz_cal(const obj_id* owner, utl_ty_col* calendars) {
  while (calendars->count > 0) {
    dbs_ty_lobj* o = object_at(calendars, calendars->count - 1);
    utl_col_remove(calendars, nullptr, calendars->count - 1);
    dbs_obj_free_local("oab_cln_get_site_biz_cal", o);
  }
  obj_id header{};
  if ((owner->type & OAB_TYPE_MASK) == OAB_CLN_HEADER_TYPE) {
    header = *owner;
  } else {
    obj_id id = *owner;
    if (long st = oab_rel_get_one_oid_byid_gen(&id, OAB_CLN_HEADER_GEN, 0, &header)) return st;
  }
  if (header.num == 0 && header.type == 0) return 0;
  dbs_ty_qry_desc target{OAB_CLN_CALENDAR_TYPE, 0, nullptr, 1};
  order_rec order{OAB_CLN_START, 0};
  long num_orders = 1;
  return dbs_qry_relation(oab_db_con_id, &header, kHeader2Calendar, &target, &order, &num_orders, calendars);
}

long oab_cln_has_eff_biz_cal(utl_ty_col* calendars, const clktime* moment, long* flag) {
  *flag = 0;
  for (long i = 0; i < calendars->count; ++i)
    if (compare(time_field(object_at(calendars, i), OAB_CLN_START), *moment) < 0) *flag = 1;
  return 0;
}

long oab_cln_cut_biz(long free_flag, utl_ty_col* calendars, const clktime* from, const clktime* to,
                     utl_ty_col* boundaries) {
  if (long st = utl_col_reset(boundaries)) return st;
  long in_force = -1;
  while (in_force + 1 < calendars->count &&
         compare(time_field(object_at(calendars, in_force + 1), OAB_CLN_START), *from) <= 0)
    ++in_force;
  for (long i = 0; i < in_force; ++i) remove_at(calendars, 0, free_flag);
  while (calendars->count > 0 &&
         compare(time_field(object_at(calendars, calendars->count - 1), OAB_CLN_START), *to) >= 0)
    remove_at(calendars, calendars->count - 1, free_flag);
  if (long st = push_time(boundaries, *from)) return st;
  for (long i = in_force >= 0 ? 1 : 0; i < calendars->count; ++i) {
    clktime eff = time_field(object_at(calendars, i), OAB_CLN_START);
    if (boundaries->count == 1 && compare(eff, *from) == 0) continue;
    if (long st = push_time(boundaries, eff)) return st;
  }
  return push_time(boundaries, *to);
}

long oab_cln_get_work_hr(const obj_id* week, utl_ty_col** hours) {
  if (long st = utl_col_make("oab_cln_get_work_hr", CMN_TYP_LONG, 10, 10, 0, 0, hours)) return st;
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("oab_cln_get_work_hr", CMN_TYP_VOID_P, 10, 10, 0, 0, &found)) return st;
  dbs_ty_qry_desc target{OAB_CLN_HOURS_TYPE, 0, nullptr, 1};
  order_rec order{OAB_CLN_START, 0};
  long num_orders = 1;
  obj_id id = *week;
  long st = dbs_qry_relation(oab_db_con_id, &id, kWeek2Hours, &target, &order, &num_orders, found);
  for (long i = 0; st == 0 && i < found->count; ++i) {
    long s = long_field(object_at(found, i), OAB_CLN_START);
    long e = long_field(object_at(found, i), OAB_CLN_END);
    st = utl_col_push(*hours, &s, nullptr);
    if (st == 0) st = utl_col_push(*hours, &e, nullptr);
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

long oab_cln_get_emp_appt(const obj_id* employee, utl_ty_col* out, const clktime* from, const clktime* to) {
  obj_id schedule{};
  obj_id id = *employee;
  if (long st = oab_rel_get_one_oid_byid_sp(&id, OAB_CLN_EMPL2SCHEDULE, 0, &schedule)) return st;
  if (schedule.num == 0 && schedule.type == 0) return 0;
  dbs_ty_qry_cond conds[2] = {{OAB_CLN_END, kOpGt, reinterpret_cast<long>(from)},
                              {OAB_CLN_START, kOpLt, reinterpret_cast<long>(to)}};
  dbs_ty_qry_desc target{OAB_CLN_APPT_TYPE, to != nullptr ? 2 : 1, conds, 1};
  order_rec order{OAB_CLN_START, 0};
  long num_orders = 1;
  return dbs_qry_relation(oab_db_con_id, &schedule, kSchedule2Appt, &target, &order, &num_orders, out);
}

long oab_cln_merge_appt(utl_ty_col* appointments) {
  for (long i = appointments->count - 1; i >= 1; --i) {
    dbs_ty_lobj* previous = object_at(appointments, i - 1);
    dbs_ty_lobj* current = object_at(appointments, i);
    if (compare(time_field(previous, OAB_CLN_END), time_field(current, OAB_CLN_START)) != 0) continue;
    clktime end = time_field(current, OAB_CLN_END);
    const clktime* p = &end;
    if (long st = dbs_fld_set(previous, OAB_CLN_END, &p)) return st;
    utl_col_remove(appointments, nullptr, i);
    dbs_obj_free_local("oab_cln_merge_appt", current);
  }
  return 0;
}

long oab_cln_calc_biz_time(const obj_id* site, const obj_id* owner, const clktime* start, long seconds,
                           clktime* out) {
  *out = clktime{CLK_NULL_DAY, 0};
  work w;
  if (long st = w.make()) return st;
  if (long st = oab_cln_get_site_biz_cal(owner != nullptr ? owner : site, w.calendars)) return st;
  if (w.calendars->count == 0) return clk_tz_time_add(0, nullptr, start, seconds, out);
  clktime end = add_secs(*start, seconds);
  clktime horizon = add_secs(end, OAB_CLN_FIVE_YEARS);
  if (long st = oab_cln_cut_biz(1, w.calendars, start, &horizon, w.boundaries)) return st;
  if (long st = oab_db_get_site_time_zone(site, &w.zone)) return st;
  long remaining = seconds;
  if (none_in_force(w)) {
    clktime first = time_field(object_at(w.calendars, 0), OAB_CLN_START);
    if (compare(end, first) <= 0) {
      *out = end;
      return 0;
    }
    if (long st = clk_tz_time_diff(0, nullptr, &first, &end, &remaining)) return st;
    if (remaining < 0) remaining = -remaining;
    utl_col_remove(w.boundaries, nullptr, 0);  // the walk starts at the first calendar
  }
  for (long i = 0; i < w.calendars->count && i + 1 < w.boundaries->count; ++i) {
    if (long st = oab_cln_calc_one_biz(&w.zone, i, w.calendars, w.boundaries, &remaining, out)) return st;
    if (!clk_time_is_null(*out)) return 0;
  }
  return 0;
}

long oab_cln_is_in_biz_hour(const obj_id* site, const obj_id* owner, const clktime* moment, long* flag) {
  *flag = 1;
  work w;
  if (long st = w.make()) return st;
  if (long st = oab_cln_get_site_biz_cal(owner != nullptr ? owner : site, w.calendars)) return st;
  clktime next = add_secs(*moment, 1);
  if (long st = oab_cln_cut_biz(1, w.calendars, moment, &next, w.boundaries)) return st;
  if (none_in_force(w) || w.boundaries->count != 2 || w.calendars->count != 1) return 0;
  if (long st = oab_db_get_site_time_zone(site, &w.zone)) return st;
  return oab_cln_is_in_one_biz_hour(&w.zone, object_at(w.calendars, 0), moment, flag);
}

long oab_cln_is_user_available(const obj_id* employee, const obj_id* site, const clktime* moment, long* flag) {
  *flag = 0;
  work w;
  if (long st = w.make()) return st;
  if (long st = oab_cln_get_emp_appt(employee, w.calendars, moment, moment)) return st;
  if (w.calendars->count > 0) return 0;
  long own = 0;
  if (long st = oab_cln_get_site_biz_cal(employee, w.calendars)) return st;
  if (long st = oab_cln_has_eff_biz_cal(w.calendars, moment, &own)) return st;
  if (own == 0)
    if (long st = oab_cln_get_site_biz_cal(site, w.calendars)) return st;
  clktime next = add_secs(*moment, 1);
  if (long st = oab_cln_cut_biz(1, w.calendars, moment, &next, w.boundaries)) return st;
  if (w.calendars->count == 0 || none_in_force(w)) {
    *flag = 1;
    return 0;
  }
  if (long st = oab_db_get_site_time_zone(site, &w.zone)) return st;
  if (long st = oab_cln_cut_week(&w.zone, w.calendars, w.boundaries)) return st;
  *flag = w.boundaries->count > 0 ? 1 : 0;
  return 0;
}
