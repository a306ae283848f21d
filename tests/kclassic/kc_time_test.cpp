// KTime and KTimeSpan under a set time zone.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "kc_testdir.h"
#include "kc_testloc.h"
#include "kclassic/kc_time.h"

using namespace KCLASSIC;

namespace {

// Runs the test in a fixed zone five hours west of UTC (no daylight time).
class Times : public ::testing::Test {
 protected:
  void SetUp() override {
    kctest::startLocales();
    ::tzset();
  }
  void TearDown() override { ::tzset(); }
  kctest::EnvVar tz{"TZ", "EST5"};
};

} // namespace

TEST_F(Times, ConstructionFromFields) {
  KTime t(2001, 13, 1, 0, 0, 0, 0); // month 13 normalised to January 2002
  EXPECT_EQ(t.GetYear(), 2002);
  EXPECT_EQ(t.GetMonth(), 1);
  EXPECT_EQ(t.GetDay(), 1);
  EXPECT_EQ(t.GetTime(), 1009843200 + 5 * 3600); // 2002-01-01 05:00 UTC
  KTime u(2000, 2, 29, 12, 30, 45, 0);
  EXPECT_EQ(u.GetTime(), 951845445);
  EXPECT_EQ(u.GetHour(), 12);
  EXPECT_EQ(u.GetMinute(), 30);
  EXPECT_EQ(u.GetSecond(), 45);
  EXPECT_EQ(u.GetDayOfWeek(), 3); // a Tuesday; 1 is Sunday

  _KSYSTEMTIME st{2000, 2, 0, 29, 12, 30, 45, 999};
  EXPECT_EQ(KTime(st, 0).GetTime(), 951845445);
  _KSYSTEMTIME old{1899, 12, 0, 31, 0, 0, 0, 0};
  EXPECT_EQ(KTime(old, 0).GetTime(), 0);

  _KSYSTEMTIME back{};
  EXPECT_EQ(u.GetAsSystemTime(back), 1);
  EXPECT_EQ(back.wYear, 2000);
  EXPECT_EQ(back.wMonth, 2);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wDayOfWeek, 2);
  EXPECT_EQ(back.wHour, 12);
  EXPECT_EQ(back.wMilliseconds, 0);
}

TEST_F(Times, LocalAndUtcFieldsAndFormats) {
  KTime zero(int64_t(0));
  EXPECT_EQ(zero.GetMonth(), 12);
  EXPECT_EQ(zero.GetYear(), 1969);
  EXPECT_EQ(zero.GetHour(), 19);
  EXPECT_STREQ(zero.FormatGmt("%Y-%m-%d"), "1970-01-01");
  EXPECT_STREQ(zero.Format("%Y-%m-%d %H:%M"), "1969-12-31 19:00");
  tm b{};
  EXPECT_EQ(zero.GetGmtTm(&b), &b);
  EXPECT_EQ(b.tm_hour, 0);
  EXPECT_EQ(zero.GetLocalTm(nullptr), nullptr);

  std::string longPattern(130, 'x');
  EXPECT_STREQ(zero.Format(longPattern.c_str()), "");
  std::string fits(127, 'x');
  EXPECT_EQ(std::string(zero.Format(fits.c_str())), fits);
  EXPECT_STREQ(zero.Format(""), "");
}

TEST_F(Times, BeyondTwentyThirtyEight) {
  KTime late(2100, 6, 1, 12, 0, 0, 0);
  EXPECT_GT(late.GetTime(), int64_t(INT32_MAX));
  EXPECT_EQ(late.GetYear(), 2100);
  EXPECT_STREQ(late.FormatGmt("%Y-%m-%d %H"), "2100-06-01 17");
  KTime later = late + KTimeSpan(int64_t(86400) * 365);
  EXPECT_EQ(later.GetYear(), 2101);
}

TEST_F(Times, ArithmeticAndComparison) {
  KTime t(int64_t(1000));
  KTimeSpan s(int64_t(250));
  EXPECT_EQ(((t + s) - t).GetTotalSeconds(), 250);
  EXPECT_EQ((t - s).GetTime(), 750);
  KTime u = t;
  u += s;
  EXPECT_EQ(u.GetTime(), 1250);
  u -= KTimeSpan(int64_t(2000));
  EXPECT_EQ(u.GetTime(), -750);
  EXPECT_TRUE(u < t);
  EXPECT_TRUE(t > u);
  EXPECT_TRUE(t >= KTime(int64_t(1000)));
  EXPECT_TRUE(t <= KTime(int64_t(1000)));
  EXPECT_TRUE(t != u);
  EXPECT_TRUE(t == KTime(int64_t(1000)));
  EXPECT_EQ((u - t).GetTotalSeconds(), -1750);
  KTime now = KTime::GetCurrentTime();
  EXPECT_NEAR(double(now.GetTime()), double(::time(nullptr)), 2);
}
