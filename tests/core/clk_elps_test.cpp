// Elapsed times: splitting seconds into units, the texts both ways and their
// limits.
#include <gtest/gtest.h>

#include <string>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_time.h"
#include "core/clk_fixture.h"

namespace {

using ClkElps = clk_test;

TEST_F(ClkElps, SecondsSplitIntoUnitsUpToTheStoppingUnit) {
  const long s = ((((2 * 7 + 3) * 24 + 4) * 60 + 5) * 60) + 6;  // 2 wks 3 days 4:05:06
  struct {
    long flags;
    clk_elps_cmp want;
  } cases[] = {
      {0, {2, 3, 4, 5, 6}},
      {2, {0, 17, 4, 5, 6}},
      {4, {0, 0, 17 * 24 + 4, 5, 6}},
      {8, {0, 0, 0, (17 * 24 + 4) * 60 + 5, 6}},
      {16, {0, 0, 0, 0, s}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    clk_elps_cmp out{9, 9, 9, 9, 9};
    ASSERT_EQ(clk_time_elps_to_cmp(s, c.flags, &out), 0);
    EXPECT_EQ(out.weeks, c.want.weeks);
    EXPECT_EQ(out.days, c.want.days);
    EXPECT_EQ(out.hours, c.want.hours);
    EXPECT_EQ(out.minutes, c.want.minutes);
    EXPECT_EQ(out.seconds, c.want.seconds);
    long back = 0;
    clk_time_cmp_to_elps(&out, &back);
    EXPECT_EQ(back, s);
  }
}

TEST_F(ClkElps, TextsShortAndLongWithoutLeadingZeroUnits) {
  struct {
    clk_elps_cmp c;
    long short_form;
    const char* want;
  } cases[] = {
      {{0, 3, 4, 5, 6}, 1, "003 04:05"},
      {{0, 3008, 23, 59, 0}, 1, "3008 23:59"},
      {{1, 2, 3, 4, 5}, 0, "1 wks:2 days:3 hrs:4 mins:5 secs"},
      {{0, 2, 0, 4, 5}, 0, "2 days:0 hrs:4 mins:5 secs"},
      {{0, 0, 3, 0, 5}, 0, "3 hrs:0 mins:5 secs"},
      {{0, 0, 0, 4, 0}, 0, "4 mins:0 secs"},
      {{0, 0, 0, 0, 0}, 0, "0 secs"},
  };
  for (const auto& c : cases) {
    char out[CLK_ELPS_TEXT_SIZE];
    ASSERT_EQ(clk_time_elps_cmp_to_str(&c.c, c.short_form, out, sizeof out), 0);
    EXPECT_STREQ(out, c.want);
  }
  char tiny[6];
  clk_elps_cmp big{0, 3, 4, 5, 6};
  clk_time_elps_cmp_to_str(&big, 1, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "003 0");  // cut, never overrun
}

TEST_F(ClkElps, ParsingReadsTheMaskedUnitsInOrder) {
  struct {
    long mask;
    const char* text;
    clk_elps_cmp want;
  } cases[] = {
      {14, "003 04:05", {0, 3, 4, 5, 0}},
      {14, "3008 23:59", {0, 3008, 23, 59, 0}},
      {14, "  0 0:0  ", {0, 0, 0, 0, 0}},
      {14, "     ", {0, 0, 0, 0, 0}},
      {31, "429 1 2:3:4", {429, 1, 2, 3, 4}},
      {24, "59:59", {0, 0, 0, 59, 59}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    clk_elps_cmp out{9, 9, 9, 9, 9};
    ASSERT_EQ(clk_time_elps_str_parse(c.mask, c.text, &out), 0);
    EXPECT_EQ(out.weeks, c.want.weeks);
    EXPECT_EQ(out.days, c.want.days);
    EXPECT_EQ(out.hours, c.want.hours);
    EXPECT_EQ(out.minutes, c.want.minutes);
    EXPECT_EQ(out.seconds, c.want.seconds);
  }
}

TEST_F(ClkElps, ParsingRefusesBadTextsAndLimits) {
  struct {
    long mask;
    const char* text;
    long code;
  } cases[] = {
      {14, "3009 00:00", CLK_ELAPSED_LIMIT}, {1, "430", CLK_ELAPSED_LIMIT},
      {14, "001 24:00", CLK_BAD_ELAPSED},    {14, "001 23:60", CLK_BAD_ELAPSED},
      {16, "60", CLK_BAD_ELAPSED},           {14, "abc", CLK_BAD_ELAPSED},
      {14, "001 02", CLK_BAD_ELAPSED},       {14, "001 -2:00", CLK_BAD_ELAPSED},
      {14, "001 02:03 later", CLK_BAD_ELAPSED}, {14, "99999999999999999999 0:0", CLK_ELAPSED_LIMIT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    clk_elps_cmp out{9, 9, 9, 9, 9};
    EXPECT_EQ(clk_time_elps_str_parse(c.mask, c.text, &out), c.code);
    EXPECT_EQ(out.days, 9);
  }
  EXPECT_EQ(core_alert_texts().front(), "Elapsed time 3009 00:00 cannot be greater than 3009 days.\n");
  EXPECT_EQ(core_alert_texts()[2], "Elapsed time '001 24:00' entered was not valid.\n");
}

TEST_F(ClkElps, SecondsAndShortTextRoundTrip) {
  for (long s : {0L, 59L, 60L, 3600L, 86399L, 86400L * 20 + 3600 * 5 + 60 * 7, 3008L * 86400 + 23 * 3600 + 59 * 60}) {
    char out[CLK_ELPS_TEXT_SIZE];
    ASSERT_EQ(clk_time_elps_to_str(s, out, sizeof out), 0);
    long back = -1;
    ASSERT_EQ(clk_time_str_to_elps(out, &back), 0) << out;
    EXPECT_EQ(back, s / 60 * 60) << out;  // the short text keeps whole minutes
  }
  char out[CLK_ELPS_TEXT_SIZE];
  clk_time_elps_to_str(86400L * 20 + 3600 * 5 + 60 * 7, out, sizeof out);
  EXPECT_STREQ(out, "020 05:07");
}

}  // namespace
