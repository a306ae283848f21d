#include "core/osl/osl_loc.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "core/core_fixture.h"

namespace {

// Each test starts from the start-up state of the date-format settings, with
// neither ORBISAN_DATE_FORMAT nor ORBISAN_TIME_FORMAT set, messages captured.
class OslLoc : public ::testing::Test {
 protected:
  void SetUp() override {
    osl_loc_clear_dt_fmts();
    unsetenv("ORBISAN_DATE_FORMAT");
    unsetenv("ORBISAN_TIME_FORMAT");
    ASSERT_TRUE(msgs.start());
  }
  void TearDown() override {
    unsetenv("ORBISAN_DATE_FORMAT");
    unsetenv("ORBISAN_TIME_FORMAT");
    osl_loc_clear_dt_fmts();
  }
  // Fills the record in the "C" locale with the given formats (null: unset).
  void fill(const char* date, const char* time) {
    if (date) setenv("ORBISAN_DATE_FORMAT", date, 1);
    if (time) setenv("ORBISAN_TIME_FORMAT", time, 1);
    msgs.restart();
    ASSERT_EQ(osl_loc_init_region_option(&r, "C"), 0);
  }
  loc_ty_region r{};
  core_msg_capture msgs;
};

TEST_F(OslLoc, RegionFromTheCLocaleKeepsTheUsDefaults) {
  fill(nullptr, nullptr);
  EXPECT_STREQ(r.neg_sign, "-");
  EXPECT_STREQ(r.dec_sym, ".");
  EXPECT_STREQ(r.group_sym, ",");
  EXPECT_STREQ(r.grouping, "");
  EXPECT_EQ(r.precision, -1);
  EXPECT_EQ(r.neg_format, 1);
  EXPECT_EQ(r.leading_zero, 1);
  EXPECT_EQ(r.mon_precision, 2);
  EXPECT_STREQ(r.currency, "$");
  EXPECT_STREQ(r.short_date, "%m/%d/%Y");
  EXPECT_STREQ(r.long_date, "%e %B, %Y");
  EXPECT_STREQ(r.time_fmt, "%H:%M:%S");
  EXPECT_STREQ(r.date_time, "%m/%d/%Y %H:%M:%S");
  EXPECT_STREQ(r.date_sep, "/");
  EXPECT_STREQ(r.time_sep, ":");
  EXPECT_STREQ(r.day_names[0], "Sunday");
  EXPECT_STREQ(r.month_abbr[11], "Dec");
  EXPECT_EQ(r.flag1, 1);
  long order = 9;
  osl_loc_dt_orient(&order);
  EXPECT_EQ(order, 0);
  EXPECT_EQ(msgs.text(), "");
  EXPECT_STREQ(osl_loc_locale_name(), "C");
  // The record's layout: widths as the format fixes them.
  EXPECT_EQ(offsetof(loc_ty_region, precision), 29u);
  EXPECT_EQ(offsetof(loc_ty_region, short_date), 63u);
  EXPECT_EQ(sizeof(loc_ty_region), 63u + 96 + 38 * 15 + 32 + 1 + 4 + 160 + 2);
}

TEST_F(OslLoc, DateFormats) {
  const std::string long_fmt = "%d.%m.%Y" + std::string(24, 'x');  // 32 characters
  struct {
    const char* format;
    const char* short_date;
    long order;
    const char* sep;
    bool message;
  } cases[] = {
      {"%d.%m.%Y", "%d.%m.%Y", 1, ".", false},  {"%m/%d/%y", "%m/%d/%y", 0, "/", false},
      {"%Y-%m-%d", "%Y-%m-%d", 2, "-", false},  {"%m-%Y-%d", "%m-%Y-%d", 3, "-", false},
      {"%d %Y %m", "%d %Y %m", 4, " ", false},  {"%Y/%d/%m", "%Y/%d/%m", 5, "/", false},
      {"%-d/%b/%y", "%-d/%b/%y", 1, "/", false}, {"%%%m%d%y", "%%%m%d%y", 0, "/", false},
      {"%Y-%d", "%m/%d/%Y", 0, "/", true},      {"%d.%m.%d", "%m/%d/%Y", 0, "/", true},
      {long_fmt.c_str(), "%m/%d/%Y", 0, "/", true},
  };
  for (auto& c : cases) {
    fill(c.format, nullptr);
    EXPECT_STREQ(r.short_date, c.short_date) << c.format;
    EXPECT_STREQ(r.date_sep, c.sep) << c.format;
    long order = 9;
    osl_loc_dt_orient(&order);
    EXPECT_EQ(order, c.order) << c.format;
    std::string want = c.message ? "date format " + std::string(c.format) + " is unusable, using default: %m/%d/%Y\n" : "";
    EXPECT_EQ(msgs.text(), want);
  }
}

TEST_F(OslLoc, TimeFormats) {
  const std::string ambiguous_full = "%I:%M" + std::string(25, '.');  // 30 characters
  const std::string too_long = "%H:%M" + std::string(27, '.');        // 32 characters
  struct {
    const char* format;
    const char* time_fmt;
    long hour12;
    const char* sep;
    const char* message;  // with %s for the format
  } cases[] = {
      {"%I:%M", "%I:%M %p", 1, ":", "time format %s is ambiguous, appending AM/PM: %%p\n"},
      {"%H:%M %p", "%H:%M:%S", 0, ":", "time format %s is unusable, using default: %%H:%%M:%%S\n"},
      {"%S", "%H:%M:%S", 0, ":", "time format %s is unusable, using default: %%H:%%M:%%S\n"},
      {"%H.%M", "%H.%M", 0, ".", ""},
      {"%I:%M:%S %p", "%I:%M:%S %p", 1, ":", ""},
      {"%M:%H", "%M:%H", 0, ":", ""},
      {ambiguous_full.c_str(), "%H:%M:%S", 0, ":", "time format %s is ambiguous, using default: %%H:%%M:%%S\n"},
      {too_long.c_str(), "%H:%M:%S", 0, ":", "time format %s is too long, using default: %%H:%%M:%%S\n"},
  };
  for (auto& c : cases) {
    fill(nullptr, c.format);
    EXPECT_STREQ(r.time_fmt, c.time_fmt) << c.format;
    EXPECT_EQ(r.hour12, c.hour12) << c.format;
    EXPECT_STREQ(r.time_sep, c.sep) << c.format;
    char want[256];
    std::snprintf(want, sizeof want, c.message, c.format);
    EXPECT_EQ(msgs.text(), want) << c.format;
  }
  // Date and time together must stay below 32 characters.
  fill("%d.%m.%Y ......................", "%H:%M:%S");
  EXPECT_STREQ(r.date_time, "%m/%d/%Y %H:%M:%S");
  EXPECT_NE(msgs.text().find("date time format %d.%m.%Y ...................... %H:%M:%S is too long, "
                             "using default: %m/%d/%Y %H:%M:%S\n"),
            std::string::npos);
  fill("%d.%m.%Y", "%H.%M");
  EXPECT_STREQ(r.date_time, "%d.%m.%Y %H.%M");
}

TEST_F(OslLoc, FixedDateFlagAndTimeStampFormats) {
  long flags = OSL_LOC_FIXED_DATE | OSL_LOC_TS | OSL_LOC_SITE_TS;
  ASSERT_EQ(osl_loc_set_dt_fmts(&flags, "%Y%m%d", "%d%m%Y"), 0);
  long later = OSL_LOC_TS;
  osl_loc_set_date_format(&later);  // the first setting stays
  long got = 0;
  osl_loc_get_date_format(&got);
  EXPECT_EQ(got, flags);
  EXPECT_STREQ(osl_loc_get_dt_fmt(OSL_LOC_TS), "%Y%m%d");
  EXPECT_STREQ(osl_loc_get_dt_fmt(OSL_LOC_TS | OSL_LOC_SITE_TS), "%d%m%Y");
  EXPECT_EQ(osl_loc_get_dt_fmt(0), nullptr);
  fill("%Y/%m/%d", nullptr);  // ignored: the fixed format wins
  EXPECT_STREQ(r.short_date, "%d-%m-%y");
  EXPECT_STREQ(r.date_sep, "-");
  char out[64];
  osl_loc_unknown_date(out, sizeof out, "?", 1, &r);
  EXPECT_STREQ(out, "?-?-?");
  osl_loc_clear_dt_fmts();
  osl_loc_get_date_format(&got);
  EXPECT_EQ(got, 0);
}

TEST_F(OslLoc, UnknownDateAndMonthNames) {
  fill(nullptr, nullptr);
  char out[64];
  osl_loc_unknown_date(out, sizeof out, "?", 0, &r);
  EXPECT_STREQ(out, "?/?/? ?:?:?");
  osl_loc_unknown_date(out, sizeof out, "**", 1, &r);
  EXPECT_STREQ(out, "**/**/**");
  osl_loc_unknown_date(out, 6, "**", 0, &r);  // cut to fit
  EXPECT_STREQ(out, "**/**");
  struct {
    const char* text;
    long month;
  } months[] = {{"march", 2}, {"Mar", 2}, {"DEC", 11}, {"january", 0}, {"xyz", -1}, {"", -1}};
  for (auto& m : months) EXPECT_EQ(osl_loc_month_atol(&r, m.text), m.month) << m.text;
  char am[11], pm[11];
  osl_loc_get_ampm(am, pm);
  EXPECT_STREQ(am, "AM");
  EXPECT_STREQ(pm, "PM");
}

TEST_F(OslLoc, StrptimeWithAmPm) {
  fill(nullptr, nullptr);
  struct {
    const char* text;
    const char* format;
    loc_ty_tm want;  // second, minute, hour, day, month, year
  } cases[] = {
      {"12/25/03 10:15:00 PM", "%m/%d/%y %I:%M:%S %p", {0, 15, 22, 25, 11, 2003}},
      {"12/25/03 12:30:00 AM", "%m/%d/%y %I:%M:%S %p", {0, 30, 0, 25, 11, 2003}},  // midnight
      {"12/25/03 12:30:00 PM", "%m/%d/%y %I:%M:%S %p", {0, 30, 12, 25, 11, 2003}},
      // A year beyond a word is kept at the word's end, for the caller to refuse.
      {"1/1/4294969296", "%m/%d/%Y", {0, 0, 0, 1, 0, INT32_MAX}},
      {"01/02/29 01:02:03 PM", "%m/%d/%y %I:%M:%S %p", {3, 2, 13, 2, 0, 2029}},
      {"25 Dec 1930", "%d %b %Y", {0, 0, 0, 25, 11, 1930}},
      {"7/4/30", "%m/%d/%y", {0, 0, 0, 4, 6, 1930}},
      {"12/25", "%m/%d", {0, 0, 0, 32, 15, -1}},                              // too few words
      {"12/25 10:15", "%m/%d %H:%M", {0, 0, 0, 32, 15, -1}},                  // ':' needs four
      // A number out of range is kept, then the parse stops.
      {"13/25/03", "%m/%d/%y", {0, 0, 0, 32, 12, -1}},
      {"0/25/03", "%m/%d/%y", {0, 0, 0, 32, -1, -1}},
      {"Foo 25 03", "%b %d %y", {0, 0, 0, 32, 15, -1}},  // no month name: not given
      {"12/0/03", "%m/%d/%y", {0, 0, 0, 0, 11, -1}},
      {"12/32/03", "%m/%d/%y", {0, 0, 0, 32, 11, -1}},
      {"12/25/03 24:15:00 PM", "%m/%d/%y %I:%M:%S %p", {0, 0, 24, 25, 11, 2003}},  // hour 24 ends, no PM
      {"12/25/03 10:60:00", "%m/%d/%y %H:%M:%S", {0, 60, 10, 25, 11, 2003}},
      {"12/25/03 10:15:99", "%m/%d/%y %H:%M:%S", {99, 15, 10, 25, 11, 2003}},
      {"12/25/03 10:15:00 XM", "%m/%d/%y %I:%M:%S %p", {0, 15, 10, 25, 11, 2003}},
  };
  for (auto& c : cases) {
    loc_ty_tm t{-9, -9, -9, -9, -9, -9};
    ASSERT_EQ(osl_loc_strptime(c.text, c.format, 0, &r, &t), 0);
    EXPECT_EQ(std::memcmp(&t, &c.want, sizeof t), 0)
        << c.text << ": " << t.second << " " << t.minute << " " << t.hour << " " << t.day << " " << t.month
        << " " << t.year;
  }
  // Over-long texts and formats are not read.
  std::string long_text = "12/25/03 10:15:00 PM" + std::string(70, ' ');
  loc_ty_tm t{};
  osl_loc_strptime(long_text.c_str(), "%m/%d/%y", 0, &r, &t);
  EXPECT_EQ(t.year, -1);
}

TEST_F(OslLoc, ClientLocale) {
  core_scratch_dir dir;
  ASSERT_TRUE(dir.make("osl_loc"));
  dir.enter(dir.path(), dir.path());
  struct {
    const char* setting;
    long id;
  } cases[] = {{"2", 1036}, {"1036", 1036}, {"0", 1033}, {"8", 1046}, {"7", 1042}, {nullptr, 1033}};
  for (auto& c : cases) {
    if (c.setting)
      setenv("ORB_LOC", c.setting, 1);
    else
      unsetenv("ORB_LOC");
    EXPECT_EQ(osl_loc_get_locale_info(), c.id) << (c.setting ? c.setting : "unset");
  }
  unsetenv("ORB_LOC");
  EXPECT_EQ(osl_loc_map_locale_info(9), 9);
  EXPECT_EQ(osl_loc_is_double_byte(1041), 1);
  EXPECT_EQ(osl_loc_is_double_byte(1042), 1);
  EXPECT_EQ(osl_loc_is_double_byte(2052), 1);
  EXPECT_EQ(osl_loc_is_double_byte(1036), 0);
  EXPECT_EQ(osl_loc_is_double_byte(1033), 0);
}

}  // namespace
