#include "core/loc/loc_num.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cstring>
#include <string>

#include "core/core_fixture.h"
#include "core/loc/loc_reg.h"
#include "core/osl/osl_loc.h"

namespace {

// Each test starts with the region record reset to the US defaults.
class LocNum : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(loc_reg_reset(), 0);
    ASSERT_TRUE(msgs.start());
  }
  void TearDown() override { loc_reg_reset(); }
  // The record with ',' as decimal symbol and '.' as group symbol.
  void swap_symbols(long neg_format = 1) {
    loc_ty_region* r = loc_reg_get_region();
    std::strcpy(r->dec_sym, ",");
    std::strcpy(r->group_sym, ".");
    std::strcpy(r->grouping, "\3");
    r->neg_format = static_cast<signed char>(neg_format);
    loc_st_num_cache_reset();
  }
  core_msg_capture msgs;
};

std::string s(const char* p) { return p ? p : "(null)"; }

TEST_F(LocNum, LocalizeByNegativeFormatAndGrouping) {
  struct {
    const char* text;
    const char* grouping;
    const char* neg;
    long format;
    long lz;
    long decimals;
    const char* want;
  } cases[] = {
      {"-1234567.891", "\3", "-", 0, 1, -1, "(1,234,567.891)"},
      {"-1234567.891", "\3", "-", 1, 1, -1, "-1,234,567.891"},
      {"-1234567.891", "\3", "-", 2, 1, -1, "- 1,234,567.891"},
      {"-1234567.891", "\3", "-", 3, 1, -1, "1,234,567.891-"},
      {"-1234567.891", "\3", "-", 4, 1, -1, "1,234,567.891 -"},
      {"-1234567.891", "\3", "~", 9, 1, -1, "~1,234,567.891"},
      {"1234567", "\3\2", "-", 1, 1, -1, "12,34,567"},         // 3, then 2 repeated
      {"12345678", "\3\2\0", "-", 1, 1, -1, "1,23,45,678"},
      {"1234567", "\2\177", "-", 1, 1, -1, "12345,67"},        // 127 ends grouping
      {"1234567", "", "-", 1, 1, -1, "1234567"},
      {"1234567", "\0\3", "-", 1, 1, -1, "1234567"},           // first size 0: none
      {"123", "\3", "-", 1, 1, -1, "123"},
      {"99.96", "\3", "-", 1, 1, 1, "100.0"},
      {"999.96", "\3", "-", 1, 1, 1, "1,000.0"},
      {"-0.145", "\3", "-", 1, 1, 1, "-0.1"},
      {"2.345", "\3", "-", 1, 1, 2, "2.35"},
      {"7", "\3", "-", 1, 1, 2, "7.00"},
      {"7.99", "\3", "-", 1, 1, 0, "7"},                         // 0 cuts, no rounding
      {"0.5", "\3", "-", 1, 0, -1, ".5"},
      {"000", "\3", "-", 1, 0, -1, "0"},
      {"007", "\3", "-", 1, 1, -1, "007"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(s(loc_st_localize_number(c.text, ".", ",", c.grouping, c.neg, c.format, c.lz, c.decimals)),
              c.want)
        << c.text << " format " << c.format;
  }
  // Multi-byte symbols and an empty decimal symbol.
  EXPECT_EQ(s(loc_st_localize_number("1234.5", "", "''", "\3", "-", 1, 1, -1)), "1''2345");
}

TEST_F(LocNum, RegionWrappersWithSwappedSymbols) {
  swap_symbols();
  EXPECT_EQ(s(loc_st_localize_decimal_prec("-1234.5", 2)), "-1.234,50");
  EXPECT_EQ(s(loc_st_localize_long("1234567")), "1.234.567");
  EXPECT_EQ(s(loc_st_localize_decimal("1234.5")), "1.234,5");  // precision -1
  EXPECT_EQ(s(loc_st_localize_QBdecimal("-1234.5")), "-1.234,5");
  EXPECT_EQ(s(loc_st_delocalize_decimal("1.234,5")), "1234.5");
  EXPECT_EQ(s(loc_st_delocalize_decimal("(12)")), "-12");
  EXPECT_EQ(s(loc_st_delocalize_decimal("1 234,5-")), "-1234.5");
  EXPECT_EQ(s(loc_st_delocalize_decimal_sybase("1,5.25")), "1.5");
  EXPECT_DOUBLE_EQ(loc_st_localize_atof("-1.234,5"), -1234.5);
  EXPECT_DOUBLE_EQ(loc_st_localize_dectof("1234.25"), 1234.25);
  EXPECT_EQ(loc_st_isreal("1.234,5"), 1);
  EXPECT_EQ(loc_st_isreal("1,234.5"), 0);
  swap_symbols(0);
  EXPECT_EQ(s(loc_st_localize_decimal_prec("-5", 1)), "(5,0)");
  EXPECT_EQ(loc_st_isnumeric('('), 1);
}

TEST_F(LocNum, DelocalizeWithGivenSymbols) {
  struct {
    const char* text;
    const char* dec;
    const char* grp;
    const char* neg;
    const char* want;
  } cases[] = {
      {"1.234,5", ",", ".", "-", "1234.5"},   {"(12)", ",", ".", "-", "-12"},
      {"1,234.5", ".", ",", "-", "1234.5"},   {"~7", ".", ",", "~", "-7"},
      {"12 345", ".", "", "-", "12345"},      {"--3", ".", ",", "-", "-3"},
  };
  for (auto& c : cases) EXPECT_EQ(s(loc_st_delocalize_number(c.text, c.dec, c.grp, c.neg)), c.want) << c.text;
}

TEST_F(LocNum, OverlongResultsAreRefused) {
  std::string digits(300, '1');
  EXPECT_EQ(loc_st_localize_number(digits.c_str(), ".", ",", "\3", "-", 1, 1, -1), nullptr);
  std::string fits(200, '1');  // grouping would make it 266 bytes
  EXPECT_EQ(loc_st_localize_number(fits.c_str(), ".", ",", "\3", "-", 1, 1, -1), nullptr);
  EXPECT_NE(loc_st_localize_number(fits.c_str(), ".", "", "", "-", 1, 1, -1), nullptr);
  EXPECT_EQ(loc_st_delocalize_number(digits.c_str(), ".", ",", "-"), nullptr);
  EXPECT_NE(msgs.text().find("too long"), std::string::npos);
  char buf[8] = "9.99";
  long point = 1;
  EXPECT_EQ(loc_st_round_numeric_string(buf, sizeof buf, &point, 5), -1);
  EXPECT_STREQ(buf, "9.99");
  EXPECT_EQ(loc_st_round_numeric_string(buf, sizeof buf, &point, 1), 0);
  EXPECT_STREQ(buf, "10.0");
  EXPECT_EQ(point, 2);
}

TEST_F(LocNum, Grammars) {
  struct {
    const char* text;
    long integer;
    long real;
  } cases[] = {
      {"", 1, 1},        {"   ", 1, 1},      {"12", 1, 1},        {" -1,234 ", 1, 1},
      {"+12", 1, 1},     {"(12)", 1, 1},     {"( 12 )", 1, 1},     {"(12", 0, 0},
      {"12-", 1, 1},     {"-12-", 0, 0},     {"(12)-", 0, 0},      {"12.5", 0, 1},
      {"-.5", 0, 1},     {"12.5.1", 0, 0},   {"1 2", 0, 0},        {"12a", 0, 0},
      {"--1", 0, 0},     {",,1,", 1, 1},     {"1.", 0, 1},         {"-", 1, 1},
  };
  for (auto& c : cases) {
    EXPECT_EQ(loc_st_isinteger(c.text), c.integer) << "'" << c.text << "'";
    EXPECT_EQ(loc_st_isreal(c.text), c.real) << "'" << c.text << "'";
  }
  struct {
    const char* text;
    long hex;
  } hex[] = {{"0x1F", 1}, {"0XaB", 1}, {"ff", 1}, {"0x", 1}, {"0xg", 0}, {"1x2", 0}};
  for (auto& h : hex) EXPECT_EQ(loc_st_ishexnum(h.text), h.hex) << h.text;
  EXPECT_EQ(loc_st_isnumeric('('), 0);
  EXPECT_EQ(loc_st_isnumeric(','), 1);
  EXPECT_EQ(loc_st_isnumeric_deloc(','), 0);
  EXPECT_EQ(loc_st_isintch('.'), 0);
  EXPECT_EQ(loc_st_isintch(')'), 1);
  EXPECT_EQ(loc_st_isodigit('8'), 0);
  EXPECT_EQ(loc_st_isfmtprefix('l'), 1);
}

TEST_F(LocNum, CacheWithoutARegionHoldsTheDefaults) {
  loc_reg_get_region()->dec_sym[0] = ',';
  loc_st_num_cache_reset();
  EXPECT_EQ(s(loc_st_localize_decimal("1.5")), "1,5");
  ASSERT_EQ(loc_reg_term(), 0);
  EXPECT_EQ(s(loc_st_localize_decimal("1.5")), "1.5");
  EXPECT_EQ(loc_reg_term(), -1);
  EXPECT_NE(msgs.text().find("loc_reg_term: LOC REG module not initialized (call loc_reg_init)\n"),
            std::string::npos);
  EXPECT_EQ(loc_reg_get_region(), nullptr);
}

TEST_F(LocNum, RegionDatesAndTimes) {
  loc_ty_region* r = loc_reg_get_region();
  std::strcpy(r->short_date, "%d.%m.%y");
  struct {
    int year;
    const char* want;
  } years[] = {{1931, "02.03.31"}, {1929, "02.03.1929"}, {2029, "02.03.29"}, {2030, "02.03.2030"}};
  for (auto& y : years) {
    struct tm t{};
    t.tm_year = y.year;
    t.tm_mon = 2;
    t.tm_mday = 2;
    const char* text = nullptr;
    ASSERT_EQ(loc_reg_datetime(&t, 1, &text), 0);
    EXPECT_STREQ(text, y.want);
  }
  loc_ty_tm t{};
  std::strcpy(r->short_date, "%d/%m/%y");
  ASSERT_EQ(loc_reg_str_to_time("02/03/31", 1, &t), 0);
  EXPECT_EQ(t.day, 2);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.year, 1931);
  char out[32];
  loc_reg_unknown_date(out, sizeof out, "?", 1);
  EXPECT_STREQ(out, "?/?/?");
  loc_reg_force_date_format("%Y-%m-%d");
  EXPECT_STREQ(loc_reg_get_dt_format(6), "%Y-%m-%d %H:%M:%S");
  EXPECT_STREQ(loc_reg_get_dt_format(1), "%Y-%m-%d");
  loc_reg_reset_mon_thsnds_sep();
  EXPECT_STREQ(r->group_sym, "");
  EXPECT_EQ(s(loc_st_localize_long("1234567")), "1234567");
}

}  // namespace

namespace {

TEST(LocMain, StartFromTheEnvironmentAndEnd) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  osl_loc_clear_dt_fmts();
  setenv("ORBISAN_DATE_FORMAT", "%d.%m.%Y", 1);
  setenv("ORBISAN_TIME_FORMAT", "%I:%M", 1);
  loc_main_term();  // whatever an earlier test left
  msgs.restart();
  ASSERT_EQ(loc_main_init(), 0);
  EXPECT_EQ(loc_main_is_inited(), 1);
  EXPECT_EQ(loc_reg_is_inited(), 1);
  EXPECT_STREQ(loc_reg_get_dt_format(1), "%d.%m.%Y");
  EXPECT_STREQ(loc_reg_get_dt_format(6), "%d.%m.%Y %I:%M %p");
  EXPECT_STREQ(loc_reg_date_separator(), ".");
  EXPECT_STREQ(loc_reg_time_separator(), ":");
  EXPECT_EQ(msgs.text(), "time format %I:%M is ambiguous, appending AM/PM: %p\n");
  EXPECT_STREQ(loc_reg_get_dt_format(4), "");  // no time-stamp format stored
  ASSERT_EQ(loc_main_term(), 0);
  EXPECT_EQ(loc_main_is_inited(), 0);
  msgs.restart();
  const char* text = nullptr;
  struct tm t{};
  EXPECT_EQ(loc_reg_datetime(&t, 1, &text), -1);
  EXPECT_EQ(msgs.text(), "loc_reg_datetime: LOC REG module not initialized (call loc_reg_init)\n");
  unsetenv("ORBISAN_DATE_FORMAT");
  unsetenv("ORBISAN_TIME_FORMAT");
  osl_loc_clear_dt_fmts();
  std::setlocale(LC_ALL, "C");
  loc_reg_reset();
}

}  // namespace
