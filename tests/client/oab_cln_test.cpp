// Business calendars on the CRM rig (the site's zone is the server's):
// business time added, business hours, availability, cutting to a span,
// appointments merged.
#include <string>
#include <vector>

#include "client/crm_rig.h"
#include "client/oab/oab_cln.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_rel.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kDay = 86400;
constexpr long kHour = 3600;
constexpr long kMonday = 1;
constexpr long kFriday = 5;
constexpr long kSite = 7;
constexpr long kEmployee = 1;

clktime plus(const clktime& t, long seconds) {
  long long ticks = static_cast<long long>(t.ticks) + static_cast<long long>(seconds) * CLK_TICKS_PER_SEC;
  long days = static_cast<long>(ticks / CLK_TICKS_PER_DAY);
  ticks -= static_cast<long long>(days) * CLK_TICKS_PER_DAY;
  if (ticks < 0) {
    ticks += CLK_TICKS_PER_DAY;
    --days;
  }
  return clktime{t.day + days, static_cast<long>(ticks)};
}

class oab_cln_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(oab_rel_init(), 0);
    clk_ty_tz none{};
    long pos = 0;
    clktime any{160000, 0};
    ASSERT_EQ(oab_cln_clk_to_wkhr(&none, &any, &week_, &pos), 0);
    row(S_SITE, kSite, {{2, std::string("Main")}});
  }
  // A calendar of the header, effective from the time, working the given
  // hours (weekday, from hour, to hour) each week.
  void calendar(long number, long header, const clktime& effective, const std::vector<std::vector<long>>& hours) {
    row(S_CALENDAR, number, {{1, effective}});
    fk(S_CALENDAR, number, "calendar2hdr", header);
    fk(S_CALENDAR, number, "calendar2week", number);
    long total = 0;
    for (const auto& h : hours) total += (h[2] - h[1]) * kHour;
    row(S_WORK_WEEK, number, {{1, total}});
    long n = number * 100;
    for (const auto& h : hours) {
      row(S_WORK_HR, ++n, {{1, h[0] * kDay + h[1] * kHour}, {2, h[0] * kDay + h[2] * kHour}});
      fk(S_WORK_HR, n, "hours2week", number);
    }
  }
  void site_calendar(const std::vector<std::vector<long>>& hours) {
    row(S_CAL_HDR, 1, {});
    fk(S_SITE, kSite, "site2cal_hdr", 1);
    calendar(1, 1, plus(week_, -30 * kDay), hours);
  }
  static std::vector<std::vector<long>> nine_to_five() {
    std::vector<std::vector<long>> h;
    for (long d = kMonday; d <= kFriday; ++d) h.push_back({d, 9, 17});
    return h;
  }
  // Seconds into the week (week_ + days * 86400 + ...).
  clktime at(long days, long hours, long seconds = 0) const { return plus(week_, days * kDay + hours * kHour + seconds); }
  clktime week_{};
  obj_id site_{S_SITE, kSite, 0};
  obj_id employee_{S_EMPLOYEE, kEmployee, 0};
};

TEST_F(oab_cln_test, BusinessTimeSkipsTheHoursOffWork) {
  site_calendar(nine_to_five());
  const struct {
    clktime start;
    long seconds;
    clktime expected;
  } rows[] = {
      {at(kMonday, 16), 2 * kHour, at(kMonday + 1, 10)},
      {at(kFriday, 16), 2 * kHour, at(kMonday + 7, 10)},
      {at(kMonday, 9), 3 * 5 * 8 * kHour + kHour, at(kMonday + 21, 10)},
      {at(kMonday, 6), kHour, at(kMonday, 10)},
      {at(0, 12), 8 * kHour, at(kMonday, 17)},
  };
  for (const auto& r : rows) {
    clktime out{};
    ASSERT_EQ(oab_cln_calc_biz_time(&site_, nullptr, &r.start, r.seconds, &out), 0);
    EXPECT_EQ(out.day, r.expected.day) << r.start.day << "/" << r.start.ticks << " + " << r.seconds;
    EXPECT_EQ(out.ticks, r.expected.ticks) << r.start.day << "/" << r.start.ticks << " + " << r.seconds;
  }
}

TEST_F(oab_cln_test, AnOwnerWithoutCalendarCountsPlainClockTime) {
  clktime start = at(kFriday, 16);
  clktime out{};
  ASSERT_EQ(oab_cln_calc_biz_time(&site_, nullptr, &start, 2 * kHour, &out), 0);
  EXPECT_EQ(out.day, at(kFriday, 18).day);
  EXPECT_EQ(out.ticks, at(kFriday, 18).ticks);
  long flag = 0;
  ASSERT_EQ(oab_cln_is_in_biz_hour(&site_, nullptr, &start, &flag), 0);
  EXPECT_EQ(flag, 1);
}

TEST_F(oab_cln_test, BusinessHoursAtAMoment) {
  site_calendar(nine_to_five());
  const struct {
    clktime moment;
    long expected;
  } rows[] = {{at(kMonday, 9), 1},      {at(kMonday, 9, -1), 0}, {at(kMonday, 12), 1},
              {at(0, 12), 0},           {at(kFriday, 17, 1), 0}, {plus(week_, -40 * kDay), 1}};
  for (const auto& r : rows) {
    long flag = -1;
    ASSERT_EQ(oab_cln_is_in_biz_hour(&site_, nullptr, &r.moment, &flag), 0);
    EXPECT_EQ(flag, r.expected) << r.moment.day << "/" << r.moment.ticks;
  }
}

TEST_F(oab_cln_test, TheCalendarInForceGovernsNotALaterOne) {
  site_calendar(nine_to_five());
  calendar(2, 1, at(kMonday + 7, 0), {{kMonday, 0, 24}});
  long flag = -1;
  clktime evening = at(kMonday, 20);
  ASSERT_EQ(oab_cln_is_in_biz_hour(&site_, nullptr, &evening, &flag), 0);
  EXPECT_EQ(flag, 0);
  clktime later = at(kMonday + 7, 20);
  ASSERT_EQ(oab_cln_is_in_biz_hour(&site_, nullptr, &later, &flag), 0);
  EXPECT_EQ(flag, 1);
  utl_ty_col* calendars = nullptr;
  utl_ty_col* bounds = nullptr;
  ASSERT_EQ(utl_col_make("test", CMN_TYP_VOID_P, 10, 10, 0, 0, &calendars), 0);
  ASSERT_EQ(utl_col_make("test", CMN_TYP_CLK_TIME, 10, 10, 0, 0, &bounds), 0);
  ASSERT_EQ(oab_cln_get_site_biz_cal(&site_, calendars), 0);
  ASSERT_EQ(calendars->count, 2);
  clktime from = at(kMonday, 0);
  clktime to = at(kMonday + 14, 0);
  ASSERT_EQ(oab_cln_cut_biz(1, calendars, &from, &to, bounds), 0);
  EXPECT_EQ(calendars->count, 2);
  ASSERT_EQ(bounds->count, 3);  // from, the second calendar's start, to
  void* e = nullptr;
  utl_col_ith(bounds, 1, &e);
  EXPECT_EQ(static_cast<clktime*>(e)->day, at(kMonday + 7, 0).day);
  dbs_obj_free_local_col(nullptr, calendars);
  utl_col_free("test", bounds);
}

TEST_F(oab_cln_test, AnAppointmentMakesAnEmployeeUnavailable) {
  site_calendar(nine_to_five());
  row(S_EMPLOYEE, kEmployee, {{1, std::string("Eve")}});
  row(S_SCHEDULE, 1, {});
  fk(S_EMPLOYEE, kEmployee, "employee2schedule", 1);
  row(S_APPT, 1, {{1, at(kMonday, 10)}, {2, at(kMonday, 11)}});
  fk(S_APPT, 1, "appt2schedule", 1);
  const struct {
    clktime moment;
    long expected;
  } rows[] = {{at(kMonday, 10, 1800), 0}, {at(kMonday, 12), 1}, {at(kMonday, 20), 0}, {at(0, 12), 0}};
  for (const auto& r : rows) {
    long flag = -1;
    ASSERT_EQ(oab_cln_is_user_available(&employee_, &site_, &r.moment, &flag), 0);
    EXPECT_EQ(flag, r.expected) << r.moment.day << "/" << r.moment.ticks;
  }
}

TEST_F(oab_cln_test, AdjacentAppointmentsAreMerged) {
  row(S_EMPLOYEE, kEmployee, {{1, std::string("Eve")}});
  row(S_SCHEDULE, 1, {});
  fk(S_EMPLOYEE, kEmployee, "employee2schedule", 1);
  const long spans[][2] = {{9, 10}, {10, 11}, {11, 12}, {14, 15}};
  long n = 0;
  for (const auto& s : spans) {
    row(S_APPT, ++n, {{1, at(kMonday, s[0])}, {2, at(kMonday, s[1])}});
    fk(S_APPT, n, "appt2schedule", 1);
  }
  utl_ty_col* appts = nullptr;
  ASSERT_EQ(utl_col_make("test", CMN_TYP_VOID_P, 10, 10, 0, 0, &appts), 0);
  clktime from = at(kMonday, 0);
  ASSERT_EQ(oab_cln_get_emp_appt(&employee_, appts, &from, nullptr), 0);
  ASSERT_EQ(appts->count, 4);
  ASSERT_EQ(oab_cln_merge_appt(appts), 0);
  ASSERT_EQ(appts->count, 2);
  void* e = nullptr;
  utl_col_ith(appts, 0, &e);
  long v = 0;
  dbs_fld_get(*static_cast<dbs_ty_lobj**>(e), 2, &v, nullptr);
  EXPECT_EQ(reinterpret_cast<const clktime*>(v)->ticks, at(kMonday, 12).ticks);
  dbs_obj_free_local_col(nullptr, appts);
}

}  // namespace
