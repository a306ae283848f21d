// Clock time: day numbers, the broken-down form, arithmetic, comparison and
// the clock's message list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_alrt.h"

namespace {

using ClkTime = clk_test;

struct date_case {
  long day;
  long year, month, mday, yday, wday;
};

// Day numbers, days of year and weekdays from an independent calendar.
const date_case kDates[] = {
    {0, 1900, 0, 1, 1, 1},           {-1, 1899, 11, 31, 365, 0},    {59, 1900, 2, 1, 60, 4},
    {36583, 2000, 1, 29, 60, 2},     {36584, 2000, 2, 1, 61, 3},    {73108, 2100, 2, 1, 60, 1},
    {-53690, 1753, 0, 1, 1, 1},      {1027426, 4712, 11, 31, 366, 2}, {37634, 2003, 0, 15, 15, 3},
    {45655, 2024, 11, 31, 366, 2},
};

TEST_F(ClkTime, DayNumbersBreakDownAndBuildBack) {
  for (const auto& c : kDates) {
    SCOPED_TRACE(c.day);
    clk_ty_cmp cmp{};
    clktime t{c.day, 0};
    ASSERT_EQ(clk_time_to_cmp_adj(0, &t, &cmp), 0);
    EXPECT_EQ(cmp.year, c.year);
    EXPECT_EQ(cmp.month, c.month);
    EXPECT_EQ(cmp.day, c.mday);
    EXPECT_EQ(cmp.yday, c.yday);
    EXPECT_EQ(cmp.wday, c.wday);
    clktime back{};
    ASSERT_EQ(clk_time_cmp_to_time_adj(0, &cmp, &back), 0);
    EXPECT_EQ(back.day, c.day);
  }
}

TEST_F(ClkTime, YearsAfter4712AreRefused) {
  clk_ty_cmp c{};
  c.year = 4713;
  c.yday = 1;
  clktime t{7, 7};
  EXPECT_EQ(clk_time_cmp_to_time_adj(0, &c, &t), CLK_AFTER_4712);
  EXPECT_EQ(t.day, 7);  // untouched
  EXPECT_EQ(core_alert_texts().back(), "Date time can't be later than Dec. 31, 4712.\n");
}

TEST_F(ClkTime, BrokenDownUsesDayOfYearAndDropsMilliseconds) {
  clk_ty_cmp c{};
  c.year = 2000;
  c.month = 0;  // the month is not read
  c.day = 1;
  c.yday = 60;
  c.hour = 23;
  c.minute = 59;
  c.second = 58;
  c.msecs = 999;
  clktime t{};
  ASSERT_EQ(clk_time_cmp_to_time_adj(0, &c, &t), 0);
  EXPECT_EQ(t.day, 36583);
  EXPECT_EQ(t.ticks, (23 * 3600 + 59 * 60 + 58) * 300);
}

TEST_F(ClkTime, TicksGiveTimeOfDayAndMilliseconds) {
  struct {
    long ticks, hour, minute, second, msecs;
  } cases[] = {{0, 0, 0, 0, 0},       {1, 0, 0, 0, 3},    {2, 0, 0, 0, 6},
               {3, 0, 0, 0, 10},      {150, 0, 0, 0, 500}, {299, 0, 0, 0, 996},
               {25919999, 23, 59, 59, 996}, {(3600 + 61) * 300 + 31, 1, 1, 1, 103}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ticks);
    clk_ty_cmp cmp{};
    clktime t{100, c.ticks};
    ASSERT_EQ(clk_time_to_cmp_adj(0, &t, &cmp), 0);
    EXPECT_EQ(cmp.hour, c.hour);
    EXPECT_EQ(cmp.minute, c.minute);
    EXPECT_EQ(cmp.second, c.second);
    EXPECT_EQ(cmp.msecs, c.msecs);
  }
}

TEST_F(ClkTime, BreakingDownRefusesInvalidTimes) {
  clk_ty_cmp cmp{};
  clktime before{-53691, 0};
  EXPECT_EQ(clk_time_to_cmp_adj(0, &before, &cmp), CLK_BEFORE_1753);
  EXPECT_NE(core_alert_texts().back().find("cannot be before Jan 1, 1753"), std::string::npos);
  for (long ticks : {-1L, 25920000L}) {
    clktime t{0, ticks};
    EXPECT_EQ(clk_time_to_cmp_adj(0, &t, &cmp), CLK_BAD_TICKS);
    EXPECT_EQ(core_alert_texts().back(), "Time " + std::to_string(ticks) + " of the clk_date is out of the valid range.\n");
  }
}

TEST_F(ClkTime, HugeDaysAreRefusedRatherThanOverflowing) {
  clk_ty_cmp cmp{};
  clktime t{1L << 60, 0};
  EXPECT_EQ(clk_time_to_cmp_adj(0, &t, &cmp), CLK_INVALID);
  clktime far{2000000, 0};  // far-future days still break down
  ASSERT_EQ(clk_time_to_cmp_adj(0, &far, &cmp), 0);
  EXPECT_EQ(cmp.year, 7375);
}

TEST_F(ClkTime, MainInitStartsTheModule) {
  ASSERT_EQ(clk_main_init(), 0);
  long mode = 0, interval = 0, tolerance = 0;
  clk_time_get_clock_mode(&mode, &interval, &tolerance);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(interval, 300);
  EXPECT_EQ(tolerance, 5);
  EXPECT_EQ(clk_seam_kept_qry_convert(), &clk_time_clk_to_str_prec_adj);
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(CLK_CLOCKS_APART, &text), 0);
  EXPECT_STREQ(text, "The difference between the client clock and the server clock is more than 24 hours.\n");
  EXPECT_EQ(clk_main_term(), 0);
  EXPECT_EQ(clk_time_sdate_set("%m/%d/%y"), 0);
}

TEST_F(ClkTime, LeapYearsFollowTheGregorianRule) {
  struct {
    long year, leap;
  } cases[] = {{1900, 0}, {2000, 1}, {2004, 1}, {2003, 0}, {2100, 0}, {1600, 1}, {4712, 1}};
  for (const auto& c : cases) EXPECT_EQ(clk_time_is_leap(c.year), c.leap) << c.year;
}

TEST_F(ClkTime, RecalcChecksMonthAndDayAndSetsDayOfYear) {
  clk_ty_cmp c{};
  c.year = 2000;
  c.month = 1;
  c.day = 29;
  ASSERT_EQ(clk_time_recalc_cmp(&c), 0);
  EXPECT_EQ(c.yday, 60);

  c.year = 1900;
  EXPECT_EQ(clk_time_recalc_cmp(&c), CLK_BAD_DAY);
  EXPECT_EQ(core_alert_texts().back(), "Day 29 is not valid for month 'February' of the year 1900.\n");

  c.month = 12;
  EXPECT_EQ(clk_time_recalc_cmp(&c), CLK_BAD_MONTH);
  EXPECT_EQ(core_alert_texts().back(), "Month 13 is invalid; valid number are in the range 1 - 12.\n");
}

TEST_F(ClkTime, AddCarriesDaysAndNormalisesTicks) {
  struct {
    clktime from;
    long seconds;
    clktime to;
  } cases[] = {
      {{10, 0}, -1, {9, 25919700}},
      {{10, 25919700}, 1, {11, 0}},
      {{10, 300}, 86400 * 3 + 5, {13, 1800}},
      {{10, 300}, -86400 * 2 - 2, {7, 25919700}},
      {{0, 0}, 0, {0, 0}},
  };
  for (const auto& c : cases) {
    clktime out{};
    ASSERT_EQ(clk_time_add(&c.from, c.seconds, &out), 0);
    EXPECT_EQ(out.day, c.to.day) << c.seconds;
    EXPECT_EQ(out.ticks, c.to.ticks) << c.seconds;
  }
}

TEST_F(ClkTime, DiffInWholeSecondsAcrossMidnightAndBackwards) {
  struct {
    clktime a, b;
    long seconds;
  } cases[] = {
      {{9, 25919700}, {10, 300}, 2},
      {{10, 300}, {9, 25919700}, -2},
      {{10, 0}, {10, 299}, 0},      // part of a second is dropped
      {{10, 299}, {10, 0}, 0},
      {{0, 0}, {3, 600}, 3 * 86400 + 2},
      {{-53690, 0}, {1027426, 0}, (1027426L + 53690L) * 86400},
  };
  for (const auto& c : cases) {
    long s = 99;
    ASSERT_EQ(clk_time_diff(&c.a, &c.b, &s), 0);
    EXPECT_EQ(s, c.seconds);
    double d = 0;
    ASSERT_EQ(clk_time_diff_double(&c.a, &c.b, &d), 0);
    EXPECT_EQ(d, static_cast<double>(c.seconds));
  }
  clktime lo{-(1L << 62), 0}, hi{1L << 62, 0};
  long s = 99;
  EXPECT_EQ(clk_time_diff(&lo, &hi, &s), CLK_DIFF_OVERFLOW);
  EXPECT_EQ(s, 99);
}

TEST_F(ClkTime, CompareByDayThenTicks) {
  clktime a{5, 100}, b{5, 200}, c{6, 0};
  EXPECT_EQ(clk_time_cmp(&a, &b), -1);
  EXPECT_EQ(clk_time_cmp(&b, &a), 1);
  EXPECT_EQ(clk_time_cmp(&b, &c), -1);
  EXPECT_EQ(clk_time_cmp(&a, &a), 0);
  long x = 5, y = 7;
  EXPECT_EQ(clk_elps_sec_cmp(&x, &y), -1);
  clk_elps_cmp e1{0, 1, 0, 0, 0}, e2{0, 0, 23, 59, 59};
  EXPECT_EQ(clk_elps_cmp_cmp(&e1, &e2), 1);
}

TEST_F(ClkTime, ClearGivesTheNullDate) {
  clktime t{5, 5};
  clk_time_clear(&t);
  EXPECT_TRUE(clk_time_is_null(t));
  EXPECT_EQ(t.day, -53690);
}

TEST_F(ClkTime, TwoDigitYears) {
  struct {
    long in, out;
  } cases[] = {{0, 2000}, {29, 2029}, {30, 1930}, {99, 1999}, {199, 2099}, {200, 200}, {-1, -1}, {2003, 2003}};
  for (const auto& c : cases) EXPECT_EQ(clk_time_adjust_dateyear(c.in), c.out) << c.in;
}

TEST_F(ClkTime, MessageListNamesMonthsAndWeekdays) {
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(clk_code(43), &text), 0);
  EXPECT_STREQ(text, "November");
  ASSERT_EQ(cmn_alrt_get_msg(clk_code(44), &text), 0);
  EXPECT_STREQ(text, "October");
  EXPECT_STREQ(clk_str_long_month(9), "October");
  EXPECT_STREQ(clk_str_long_month(10), "November");
  EXPECT_STREQ(clk_str_long_month(11), "December");
  EXPECT_STREQ(clk_str_short_month(0), "JAN");
  EXPECT_STREQ(clk_str_short_month(11), "DEC");
  EXPECT_STREQ(clk_str_weekday(0), "Sunday");
  EXPECT_STREQ(clk_str_weekday(6), "Saturday");
  ASSERT_EQ(cmn_alrt_get_msg(clk_code(52), &text), 0);
  EXPECT_STREQ(text, "Saturday");
  clk_alrt("test", CLK_NO_CONVERSION, 609L, 512L, 653L);
  EXPECT_EQ(core_alert_texts().back(),
            "Can't convert from source type 609 to destination type 512 for conversion type 653.\n");
}

}  // namespace
