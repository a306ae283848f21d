// Clock texts: every writer on normal, null and far-future dates, and the
// readers with their checks in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_tz.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/loc/loc_reg.h"

namespace {

using ClkText = clk_test;

const clktime kNull{CLK_NULL_DAY, 0};
const clktime kFar{CLK_FAR_FUTURE_DAY, 0};

clktime sample() { return clk_at(2003, 1, 5, 22, 7, 9); }

using writer = long (*)(long, const clktime*, char*, long);

TEST_F(ClkText, WritersOnNormalNullAndFarFutureDates) {
  struct {
    const char* name;
    writer w;
    long flags;
    clktime t;
    const char* want;
  } cases[] = {
      {"str", clk_time_clk_to_str_option, 5, sample(), "01/05/2003 22:07:09"},
      {"str date", clk_time_clk_to_str_option, 6, sample(), "01/05/2003"},
      {"str null", clk_time_clk_to_str_option, 5, kNull, "?/?/? ?:?:?"},
      {"str null date", clk_time_clk_to_str_option, 6, kNull, "?/?/?"},
      {"str far", clk_time_clk_to_str_option, 5, kFar, "*/*/* *:*:*"},
      {"str far 16", clk_time_clk_to_str_option, 16, kFar, "12/31/4712 00:00:00"},
      {"str compact", clk_time_clk_to_str_option, 8, sample(), "20030105220709"},
      {"str compact date", clk_time_clk_to_str_option, 10, sample(), "20030105"},
      {"sstr", clk_time_clk_to_sstr_option, 5, sample(), "01/05/2003 22:07:09"},
      {"sstr date", clk_time_clk_to_sstr_option, 6, sample(), "01/05/2003"},
      {"sstr null", clk_time_clk_to_sstr_option, 5, kNull, "?/?/? ?:?:?"},
      {"sstr null date", clk_time_clk_to_sstr_option, 2, kNull, "?/?/?"},
      {"sstr far", clk_time_clk_to_sstr_option, 1, kFar, "*/*/* *:*:*"},
      {"sstr far date", clk_time_clk_to_sstr_option, 2, kFar, "*/*/*"},
      {"sstr far 16", clk_time_clk_to_sstr_option, 16, kFar, "12/31/4712 00:00:00"},
      {"sstr compact", clk_time_clk_to_sstr_option, 8, sample(), "20030105220709"},
      {"prec", clk_time_clk_to_str_prec_adj, 0, clktime{sample().day, sample().ticks + 299}, "1/5/2003 22:07:09:996"},
      {"prec null", clk_time_clk_to_str_prec_adj, 1, kNull, "?/?/? ?:?:?"},
      {"prec far", clk_time_clk_to_sstr_prec_adj, 0, kFar, "12/31/4712 00:00:00:000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char out[CLK_TEXT_SIZE] = "unchanged";
    ASSERT_EQ(c.w(c.flags, &c.t, out, sizeof out), 0);
    EXPECT_STREQ(out, c.want);
  }
}

TEST_F(ClkText, WrappersChooseTheirFlags) {
  clktime t = sample();
  char out[CLK_TEXT_SIZE];
  clk_time_mzone_diff_set(3600L * 300);  // client time is an hour later
  ASSERT_EQ(clk_time_clk_to_str(&t, out, sizeof out), 0);
  EXPECT_STREQ(out, "01/05/2003 23:07:09");
  ASSERT_EQ(clk_time_clk_to_str_conv(&t, out, sizeof out), 0);
  EXPECT_STREQ(out, "01/05/2003 22:07:09");
  ASSERT_EQ(clk_time_clk_to_str_adj(1, &t, out, sizeof out, 1), 0);
  EXPECT_STREQ(out, "01/05/2003");
  ASSERT_EQ(clk_time_clk_to_sstr(&t, out, sizeof out), 0);
  EXPECT_STREQ(out, "01/05/2003 23:07:09");
  ASSERT_EQ(clk_time_clk_to_sstr_conv(&kFar, out, sizeof out), 0);
  EXPECT_STREQ(out, "12/31/4712 00:00:00");
  ASSERT_EQ(clk_time_clk_to_sstr_adj(0, &t, out, sizeof out, 0), 0);
  EXPECT_STREQ(out, "01/05/2003 22:07:09");
  ASSERT_EQ(clk_time_clk_to_str_with_msecs(&t, out, sizeof out), 0);
  EXPECT_STREQ(out, "1/5/2003 23:07:09:000");
  char small[8];
  ASSERT_EQ(clk_time_clk_to_sstr(&t, small, sizeof small), 0);
  EXPECT_STREQ(small, "01/05/2");
}

TEST_F(ClkText, QueryConversionIsInstalledOrKept) {
  // Started without the query SQL: the conversion waits for it.
  ASSERT_EQ(clk_time_init(), 0);
  EXPECT_EQ(clk_seam_kept_qry_convert(), &clk_time_clk_to_str_prec_adj);
  static clk_ty_qry_convert_proc got = nullptr;
  clk_ty_seams s{};
  s.qry_install_convert = [](clk_ty_qry_convert_proc p) -> long {
    got = p;
    return 0;
  };
  ASSERT_EQ(clk_seam_install(&s), 0);
  EXPECT_EQ(got, &clk_time_clk_to_str_prec_adj);
  EXPECT_EQ(clk_seam_kept_qry_convert(), nullptr);
}

TEST_F(ClkText, SinglePartsAsText) {
  clktime t = clk_at(2003, 11, 5, 7, 8, 9);  // a Wednesday
  struct {
    long part;
    const char* want;
  } cases[] = {{1, "2003"}, {2, "3"},      {3, "November"}, {4, "309"}, {5, "05"},
               {6, "Wednesday"}, {7, "07"}, {8, "08"},       {9, "09"}, {10, "NOVEMBER"}};
  for (const auto& c : cases) {
    char out[40];
    ASSERT_EQ(clk_time_clk_to_cmpstr_adjust(&t, c.part, out, sizeof out, 0), 0);
    EXPECT_STREQ(out, c.want) << c.part;
  }
  char out[40] = "x";
  EXPECT_EQ(clk_time_clk_to_cmpstr(&t, 11, out, sizeof out), CLK_BAD_DATEPART);
  EXPECT_EQ(core_alert_texts().back(), "Datepart 11 passed in is invalid.\n");
  clk_ty_cmp c{};
  c.year = 29;
  c.month = 3;
  ASSERT_EQ(clk_time_cmpstr(1, out, sizeof out, &c), 0);
  EXPECT_STREQ(out, "2029");
  ASSERT_EQ(clk_time_cmpstr(2, out, sizeof out, &c), 0);
  EXPECT_STREQ(out, "1");
}

TEST_F(ClkText, NamedMonthTextsAndRegionKinds) {
  clktime t = clk_at(2003, 1, 5, 22, 7, 9);
  char out[CLK_TEXT_SIZE];
  ASSERT_EQ(clk_time_clk_to_nstr_adjust(&t, out, sizeof out, 0), 0);
  EXPECT_STREQ(out, "05-JAN-2003 22:07:09 ");
  ASSERT_EQ(clk_time_clk_to_date_nstr(&t, out, sizeof out, 0), 0);
  EXPECT_STREQ(out, "05-JAN-2003 ");
  ASSERT_EQ(clk_time_clk_to_cstr_adjust(&t, out, sizeof out, 1, 0), 0);
  EXPECT_STREQ(out, "01/05/2003");
}

// The clock writes and reads with whatever the region record holds.
TEST_F(ClkText, TextsFollowTheRegionRecord) {
  loc_ty_region* r = loc_reg_get_region();
  ASSERT_NE(r, nullptr);
  std::strcpy(r->short_date, "%d.%m.%Y");
  std::strcpy(r->date_time, "%d.%m.%Y %H:%M:%S");
  std::strcpy(r->date_sep, ".");
  std::strcpy(r->month_names[0], "Januar");
  clktime t = sample();
  char out[CLK_TEXT_SIZE];
  ASSERT_EQ(clk_time_clk_to_str_option(4, &t, out, sizeof out), 0);
  EXPECT_STREQ(out, "05.01.2003 22:07:09");
  ASSERT_EQ(clk_time_clk_to_str_option(6, &t, out, sizeof out), 0);
  EXPECT_STREQ(out, "05.01.2003");
  ASSERT_EQ(clk_time_clk_to_str_option(4, &kNull, out, sizeof out), 0);
  EXPECT_STREQ(out, "?.?.? ?:?:?");
  ASSERT_EQ(clk_time_clk_to_cmpstr_adjust(&t, 10, out, sizeof out, 0), 0);
  EXPECT_STREQ(out, "Januar");
  ASSERT_EQ(clk_time_clk_to_nstr_adjust(&t, out, sizeof out, 0), 0);
  EXPECT_STREQ(out, "05-Jan-2003 22:07:09 ");
  // The reader counts words split at '/' only (a text of fewer words reads
  // nothing), so day-first texts are read with that separator.
  std::strcpy(r->date_time, "%d/%m/%Y %H:%M:%S");
  std::strcpy(r->date_sep, "/");
  clk_ty_cmp c{};
  EXPECT_EQ(clk_time_clkstr_to_cmp("06.02.2004 01:02:03", &c, 0), CLK_BAD_TEXT);
  ASSERT_EQ(clk_time_clkstr_to_cmp("06/02/2004 01:02:03", &c, 0), 0);
  EXPECT_EQ(c.year, 2004);
  EXPECT_EQ(c.month, 1);
  EXPECT_EQ(c.day, 6);
  EXPECT_EQ(c.hour, 1);
  EXPECT_EQ(c.second, 3);
}

TEST_F(ClkText, TwelveHourRegionTextsReadBackAsWritten) {
  loc_ty_region* r = loc_reg_get_region();
  ASSERT_NE(r, nullptr);
  std::strcpy(r->date_time, "%m/%d/%Y %I:%M:%S %p");
  struct {
    int hour;
    const char* text;
  } cases[] = {{0, "01/05/2003 12:07:09 AM"}, {1, "01/05/2003 01:07:09 AM"}, {11, "01/05/2003 11:07:09 AM"},
               {12, "01/05/2003 12:07:09 PM"}, {13, "01/05/2003 01:07:09 PM"}, {23, "01/05/2003 11:07:09 PM"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const clktime t = clk_at(2003, 1, 5, c.hour, 7, 9);
    char out[CLK_TEXT_SIZE];
    ASSERT_EQ(clk_time_clk_to_str_option(4, &t, out, sizeof out), 0);
    EXPECT_STREQ(out, c.text);
    clk_ty_cmp cmp{};
    ASSERT_EQ(clk_time_clkstr_to_cmp(out, &cmp, 0), 0);
    EXPECT_EQ(cmp.hour, c.hour);
    EXPECT_EQ(cmp.minute, 7);
  }
}

TEST_F(ClkText, YearsBeyondAWordAreRefused) {
  // 4294969296 is 2000 more than 2^32: cut to a word it would read as 2000.
  for (const char* text : {"1/1/4294969296 00:00:00", "1/1/99999999999999999999 00:00:00"}) {
    SCOPED_TRACE(text);
    clktime t{5, 5};
    EXPECT_NE(clk_time_str_to_clk(text, &t), 0);
    EXPECT_EQ(t.day, 5);
  }
}

TEST_F(ClkText, FormatStrWritesTwelveHourTexts) {
  struct {
    const char* hour;
    const char* want;
  } cases[] = {{"00", "Jan 05 2003 12:07:09:000AM"}, {"09", "Jan 05 2003 09:07:09:000AM"},
               {"12", "Jan 05 2003 12:07:09:000PM"}, {"13", "Jan 05 2003 1:07:09:000PM"},
               {"23", "Jan 05 2003 11:07:09:000PM"}};
  for (const auto& c : cases) {
    char out[40];
    ASSERT_EQ(clk_time_format_str("January", "05", "2003", c.hour, "07", "09", out, sizeof out), 0);
    EXPECT_STREQ(out, c.want) << c.hour;
  }
}

TEST_F(ClkText, HashFormBothWays) {
  char text[CLK_TEXT_SIZE] = "01/05/2003 22:07:09";
  ASSERT_EQ(clk_time_to_iso(text, sizeof text), 0);
  EXPECT_STREQ(text, "#2003-01-05 22:07:09");
  ASSERT_EQ(clk_time_to_loc(text, sizeof text), 0);
  EXPECT_STREQ(text, "01/05/2003 22:07:09");

  // Client time an hour ahead of the server: the "#" form is server time.
  clk_time_mzone_diff_set(3600L * 300);
  std::strcpy(text, "01/05/2003 22:07:09");
  ASSERT_EQ(clk_time_to_iso(text, sizeof text), 0);
  EXPECT_STREQ(text, "#2003-01-05 21:07:09");
  ASSERT_EQ(clk_time_to_loc(text, sizeof text), 0);
  EXPECT_STREQ(text, "01/05/2003 22:07:09");

  for (const char* bad : {"#2003-01-05", "no hash", "#2003-13-05 22:07:09", "#2003-01-05 22:07:x9"}) {
    std::strcpy(text, bad);
    EXPECT_EQ(clk_time_to_loc(text, sizeof text), CLK_ADP_BAD_DATE_TEXT) << bad;
    EXPECT_STREQ(text, bad);
  }
}

TEST_F(ClkText, ReadersGiveNullAndFarFutureDates) {
  struct {
    const char* text;
    clktime want;
  } cases[] = {{"?", kNull}, {"?/?/? ?:?:?", kNull}, {"", kNull}, {"    ", kNull}, {"*", kFar}, {"*/*/*", kFar}};
  for (const auto& c : cases) {
    clktime t{1, 1};
    ASSERT_EQ(clk_time_str_to_clk(c.text, &t), 0) << c.text;
    EXPECT_EQ(t.day, c.want.day) << c.text;
    EXPECT_EQ(t.ticks, 0);
    clktime u{1, 1};
    ASSERT_EQ(clk_time_inf_str_to_clk(c.text, &u), 0);
    EXPECT_EQ(u.day, c.want.day);
  }
}

TEST_F(ClkText, RegionReaderExpandsTwoDigitYears) {
  struct {
    const char* text;
    long year;
  } cases[] = {{"1/2/29 00:00:00", 2029}, {"1/2/30 00:00:00", 1930}, {"1/2/199 00:00:00", 2099},
               {"1/2/200 00:00:00", 200}, {"1/2/2003 00:00:00", 2003}};
  for (const auto& c : cases) {
    clk_ty_cmp cmp{};
    ASSERT_EQ(clk_time_clkstr_to_cmp(c.text, &cmp, 0), 0) << c.text;
    EXPECT_EQ(cmp.year, c.year);
    EXPECT_EQ(cmp.month, 0);
    EXPECT_EQ(cmp.day, 2);
    EXPECT_EQ(cmp.yday, 2);
  }
}

TEST_F(ClkText, RegionReaderChecksInOrder) {
  struct {
    const char* text;
    long flags;
    long code;
    const char* last;  // text of the last alert
  } cases[] = {
      {"13/32/4713 25:61:61", 0, CLK_BAD_TEXT,
       "The month specified in the date/time (13) was invalid (must be between 1 and 12 or Jan to Dec).\n"},
      {"2/29/1900 25:61:61", 0, CLK_BAD_TEXT,
       "The day of the month specified in the date/time (29) was invalid (must be between 1 and 31).\n"},
      {"2/28/4713 25:61:61", 0, CLK_AFTER_4712, "Date time can't be later than Dec. 31, 4712.\n"},
      {"2/28/-5 25:61:61", 0, CLK_INVALID, "Date/time entered is not valid.\n"},
      {"2/28/2000 25:61:61", 0, CLK_BAD_TEXT,
       "The hours specified in the date/time (25) were invalid (must be between 0 and 23).\n"},
      {"2/28/2000 23:61:61", 0, CLK_BAD_TEXT,
       "The minutes specified in the date/time (61) were invalid (must be between 0 and 59).\n"},
      {"2/28/2000 23:59:60", 0, CLK_BAD_TEXT,
       "The seconds specified in the date/time (60) were invalid (must be between 0 and 59).\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    cmn_alrt_clear(nullptr);
    clk_ty_cmp cmp{};
    EXPECT_EQ(clk_time_clkstr_to_cmp(c.text, &cmp, c.flags), c.code);
    auto texts = core_alert_texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), c.last);
    if (c.code == CLK_BAD_TEXT) {
      EXPECT_EQ(texts.front(), std::string("Clock time '") + c.text + "' is not valid.\n");
    }
  }
  clk_ty_cmp cmp{};
  EXPECT_EQ(clk_time_clkstr_to_cmp("2/28/2000 25:61:61", &cmp, CLK_STR_DATE_ONLY), 0);  // time not read
  EXPECT_EQ(cmp.hour, 0);
}

TEST_F(ClkText, StrToClkTurnsUnreadableTextIntoInvalidDate) {
  clktime t{5, 5};
  EXPECT_EQ(clk_time_str_to_clk("2/30/2000 00:00:00", &t), CLK_INVALID);
  auto codes = core_alert_codes();
  ASSERT_EQ(codes.size(), 3u);
  EXPECT_EQ(codes[0], CLK_BAD_TEXT);
  EXPECT_EQ(codes[1], CLK_TEXT_DAY);
  EXPECT_EQ(codes[2], CLK_INVALID);
  EXPECT_EQ(t.day, 5);
  EXPECT_EQ(clk_time_str_to_clk("1/1/4713 00:00:00", &t), CLK_AFTER_4712);
}

TEST_F(ClkText, StrToClkAdjustsClientToServer) {
  clk_time_mzone_diff_set(3600L * 300);
  clktime t{};
  ASSERT_EQ(clk_time_str_to_clk("01/05/2003 00:30:00", &t), 0);
  clktime want = clk_at(2003, 1, 4, 23, 30, 0);
  EXPECT_EQ(t.day, want.day);
  EXPECT_EQ(t.ticks, want.ticks);
  ASSERT_EQ(clk_time_str_to_clk_adj(0, "01/05/2003 00:30:00", &t), 0);
  EXPECT_EQ(t.ticks, 30L * 60 * 300);
  ASSERT_EQ(clk_time_str_to_date("01/05/2003", &t), 0);
  EXPECT_EQ(t.day, clk_at(2003, 1, 5).day);
  EXPECT_EQ(t.ticks, 0);
}

TEST_F(ClkText, ShortNumericReader) {
  struct {
    const char* text;
    long year, month, day, yday, hour, minute, second;
  } ok[] = {
      {"12/25/03 10:15:00", 2003, 11, 25, 359, 10, 15, 0},
      {"12 /25 /2003", 2003, 11, 25, 359, 0, 0, 0},
      {" 1/2/29   23 : 59 : 59  ", 2029, 0, 2, 2, 23, 59, 59},
      {"1/2/30", 1930, 0, 2, 2, 0, 0, 0},
      {"1/2/199", 2099, 0, 2, 2, 0, 0, 0},
      {"1/2/200", 200, 0, 2, 2, 0, 0, 0},
      {"2/29/2000", 2000, 1, 29, 60, 0, 0, 0},
      {"12/31/4712 23:59:59", 4712, 11, 31, 366, 23, 59, 59},
  };
  for (const auto& c : ok) {
    SCOPED_TRACE(c.text);
    clk_ty_cmp cmp{};
    cmp.word = 7;
    ASSERT_EQ(clk_time_clksstr_to_cmp(c.text, &cmp, 0), 0);
    EXPECT_EQ(cmp.year, c.year);
    EXPECT_EQ(cmp.month, c.month);
    EXPECT_EQ(cmp.day, c.day);
    EXPECT_EQ(cmp.yday, c.yday);
    EXPECT_EQ(cmp.hour, c.hour);
    EXPECT_EQ(cmp.minute, c.minute);
    EXPECT_EQ(cmp.second, c.second);
    EXPECT_EQ(cmp.word, 0);
  }
  struct {
    const char* text;
    long code;
  } bad[] = {{"12/25/03 10:15:00 later", CLK_BAD_TEXT}, {"2/29/1900", CLK_BAD_TEXT}, {"13/1/2000", CLK_BAD_TEXT},
             {"0/1/2000", CLK_BAD_TEXT},  {"1/32/2000", CLK_BAD_TEXT},  {"1/1/2000 24:00:00", CLK_BAD_TEXT},
             {"1/1/2000 10:60:00", CLK_BAD_TEXT}, {"1/1/2000 10:00:60", CLK_BAD_TEXT}, {"1/1/2000 10:00", CLK_BAD_TEXT},
             {"1/1", CLK_BAD_TEXT},       {"", CLK_BAD_TEXT},          {"1/1/4713", CLK_AFTER_4712}};
  for (const auto& c : bad) {
    clk_ty_cmp cmp{};
    EXPECT_EQ(clk_time_clksstr_to_cmp(c.text, &cmp, 0), c.code) << c.text;
  }
  EXPECT_EQ(core_alert_texts().front(), "Clock time '12/25/03 10:15:00 later' is not valid.\n");
}

TEST_F(ClkText, IsoReader) {
  clk_ty_cmp cmp{};
  ASSERT_EQ(clk_time_clkstr_iso_to_cmp("2003-12-25 10:15:00", &cmp, 0), 0);
  EXPECT_EQ(cmp.year, 2003);
  EXPECT_EQ(cmp.month, 11);
  EXPECT_EQ(cmp.day, 25);
  EXPECT_EQ(cmp.hour, 10);
  EXPECT_EQ(clk_time_clkstr_iso_to_cmp("1900-02-29", &cmp, 0), CLK_BAD_TEXT);
  EXPECT_EQ(clk_time_clkstr_iso_to_cmp("4713-01-01", &cmp, 0), CLK_AFTER_4712);
}

TEST_F(ClkText, ShortMonthNames) {
  struct {
    const char* name;
    long month;
  } cases[] = {{"jan", 0}, {"JAN", 0}, {"Dec", 11}, {"oCt", 9}, {"January", -1}, {"", -1}};
  for (const auto& c : cases) {
    long m = 99;
    ASSERT_EQ(clk_time_monstr_2_mondigit(c.name, &m), 0);
    EXPECT_EQ(m, c.month) << c.name;
  }
}

TEST_F(ClkText, WithoutTheRegionRecordTextsFailClearly) {
  ASSERT_EQ(loc_reg_term(), 0);
  clktime t = sample();
  char out[CLK_TEXT_SIZE] = "unchanged";
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  EXPECT_EQ(clk_time_clk_to_str(&t, out, sizeof out), CLK_INVALID);
  EXPECT_EQ(clk_time_clk_to_str(&kNull, out, sizeof out), CLK_INVALID);
  EXPECT_EQ(clk_time_str_to_clk("01/05/2003 00:30:00", &t), CLK_INVALID);
  EXPECT_EQ(clk_time_clk_to_cmpstr(&t, 10, out, sizeof out), CLK_INVALID);
  EXPECT_STREQ(out, "unchanged");
  EXPECT_NE(msgs.text().find("loc_reg_datetime: LOC REG module not initialized"), std::string::npos) << msgs.text();
  EXPECT_NE(msgs.text().find("loc_reg_get_region: LOC REG module not initialized"), std::string::npos);
  // The texts that need no region still work.
  ASSERT_EQ(clk_time_clk_to_sstr_option(0, &t, out, sizeof out), 0);
  EXPECT_STREQ(out, "01/05/2003 22:07:09");
}

TEST_F(ClkText, AdapterTextsAreHandedOver) {
  char out[40] = "unchanged";
  clktime t{1, 1};
  EXPECT_EQ(clk_time_sqr_str_convert("1/1/2000", out, sizeof out), CLK_SEAM_MISSING);
  EXPECT_NE(core_alert_texts().back().find("adp_time_sqr_str_convert"), std::string::npos);
  EXPECT_EQ(clk_time_sstr_to_clk("x", &t), CLK_SEAM_MISSING);
  clk_ty_seams s{};
  s.sqr_str_convert = [](const char* text, char* o, long size) -> long {
    std::snprintf(o, static_cast<size_t>(size), "to_date('%s')", text);
    return 0;
  };
  s.str_to_clk = [](const char*, clktime* o) -> long {
    *o = clktime{42, 43};
    return 0;
  };
  clk_seam_install(&s);
  ASSERT_EQ(clk_time_sqr_str_convert("1/1/2000", out, sizeof out), 0);
  EXPECT_STREQ(out, "to_date('1/1/2000')");
  ASSERT_EQ(clk_time_sstr_to_clk("x", &t), 0);
  EXPECT_EQ(t.day, 42);
}

}  // namespace
