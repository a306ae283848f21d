// OLE dates: day counts and broken-down fields, the linear scale, ISO text,
// parsing and formatting, span arithmetic and its statuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_odt.h"

using namespace KCLASSIC;

namespace {

struct DayCase {
  double days;
  int year, month, day, hour, minute, second, wday, yday;
};

const DayCase kDays[] = {
    {0.0, 1899, 12, 30, 0, 0, 0, 7, 364},
    {1.25, 1899, 12, 31, 6, 0, 0, 1, 365},
    {-1.25, 1899, 12, 29, 6, 0, 0, 6, 363},
    {-1.0, 1899, 12, 29, 0, 0, 0, 6, 363},
    {60.0, 1900, 2, 28, 0, 0, 0, 4, 59},
    {61.0, 1900, 3, 1, 0, 0, 0, 5, 60},
    {36585.5, 2000, 2, 29, 12, 0, 0, 3, 60},
    {36586.0, 2000, 3, 1, 0, 0, 0, 4, 61},
    {-36522.0, 1800, 1, 1, 0, 0, 0, 4, 1},
    {37986.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0, 2003, 12, 31, 14, 5, 9, 4, 365},
    {-53688.0, 1753, 1, 1, 0, 0, 0, 2, 1},
    {2958465.0, 9999, 12, 31, 0, 0, 0, 6, 365},
    // 23:59:59.5 rounds to midnight of the next day.
    {1.0 + 86399.5 / 86400.0, 1900, 1, 1, 0, 0, 0, 2, 1},
};

} // namespace

TEST(OleDate, DayCountsBreakDownAndBuildBack) {
  for (const DayCase& c : kDays) {
    SCOPED_TRACE(c.days);
    std::tm t{};
    ASSERT_EQ(KTmFromOleDate(c.days, t), 1);
    EXPECT_EQ(t.tm_year, c.year);
    EXPECT_EQ(t.tm_mon, c.month);
    EXPECT_EQ(t.tm_mday, c.day);
    EXPECT_EQ(t.tm_hour, c.hour);
    EXPECT_EQ(t.tm_min, c.minute);
    EXPECT_EQ(t.tm_sec, c.second);
    EXPECT_EQ(t.tm_wday, c.wday);
    EXPECT_EQ(t.tm_yday, c.yday);
    KOleDateTime d(c.days);
    EXPECT_EQ(d.GetYear(), c.year);
    EXPECT_EQ(d.GetMonth(), c.month);
    EXPECT_EQ(d.GetDay(), c.day);
    EXPECT_EQ(d.GetHour(), c.hour);
    EXPECT_EQ(d.GetMinute(), c.minute);
    EXPECT_EQ(d.GetSecond(), c.second);
    EXPECT_EQ(d.GetDayOfWeek(), c.wday);
    EXPECT_EQ(d.GetDayOfYear(), c.yday);
    if (c.days != 1.0 + 86399.5 / 86400.0) {
      double back = -7;
      ASSERT_EQ(KOleDateFromTm(static_cast<unsigned short>(c.year), static_cast<unsigned short>(c.month),
                               static_cast<unsigned short>(c.day), static_cast<unsigned short>(c.hour),
                               static_cast<unsigned short>(c.minute), static_cast<unsigned short>(c.second), back),
                1);
      EXPECT_NEAR(back, c.days, 1e-9);
    }
  }
}

TEST(OleDate, OutOfRangeAndInvalidFields) {
  std::tm t{};
  for (double out : {2958465.5, -53688.5, 1e300, -1e300, std::nan("")}) {
    EXPECT_EQ(KTmFromOleDate(out, t), 0) << out;
    KOleDateTime d(out);
    EXPECT_EQ(d.GetYear(), -1);
    EXPECT_EQ(d.GetDayOfWeek(), -1);
    EXPECT_STREQ(d.Format("%Y"), "Invalid DateTime.");
  }
  struct Fields {
    unsigned short y, m, d, h, mi, s;
  };
  const Fields bad[] = {{2001, 2, 29, 0, 0, 0}, {2000, 2, 30, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {10000, 1, 1, 0, 0, 0},
                        {2000, 0, 1, 0, 0, 0},  {2000, 13, 1, 0, 0, 0}, {2000, 4, 31, 0, 0, 0}, {2000, 1, 0, 0, 0, 0},
                        {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, 0, 60, 0}, {2000, 1, 1, 0, 0, 60}};
  for (const Fields& f : bad) {
    double out = 42.0;
    EXPECT_EQ(KOleDateFromTm(f.y, f.m, f.d, f.h, f.mi, f.s, out), 0) << f.y << "-" << f.m << "-" << f.d;
    EXPECT_EQ(out, 42.0);
  }
  // No lower bound on the year when building a day count.
  double early = 0;
  EXPECT_EQ(KOleDateFromTm(1600, 2, 29, 0, 0, 0, early), 1);
  EXPECT_EQ(early, -109512.0);
  KOleDateTime d;
  EXPECT_EQ(d.SetDateTime(2001, 2, 29, 0, 0, 0), KOleDateTime::invalid);
  EXPECT_EQ(d.GetStatus(), KOleDateTime::invalid);
  EXPECT_EQ(d.SetDateTime(2001, 2, 28, 1, 2, 3), KOleDateTime::valid);
  EXPECT_EQ(d.GetSecond(), 3);
}

TEST(OleDate, LinearScaleAroundDayZero) {
  EXPECT_DOUBLE_EQ(KDoubleFromDate(-1.25), -0.75);
  EXPECT_DOUBLE_EQ(KDateFromDouble(-0.75), -1.25);
  EXPECT_DOUBLE_EQ(KDoubleFromDate(2.5), 2.5);
  EXPECT_DOUBLE_EQ(KDateFromDouble(2.5), 2.5);
  EXPECT_DOUBLE_EQ(KDoubleFromDate(-2.0), -2.0);
  // Comparisons follow time, not the stored count: -1.25 (29 Dec 06:00)
  // comes before -1.5 (29 Dec 12:00).
  EXPECT_TRUE(KOleDateTime(-1.25) < KOleDateTime(-1.5));
  EXPECT_TRUE(KOleDateTime(-1.5) > KOleDateTime(-1.25));
  EXPECT_TRUE(KOleDateTime(-1.25) <= KOleDateTime(-1.25));
  EXPECT_TRUE(KOleDateTime(0.0) >= KOleDateTime(-1.99));
}

TEST(OleDate, IsoTextBothWays) {
  std::tm t{};
  t.tm_year = 999;
  t.tm_mon = 2;
  t.tm_mday = 3;
  t.tm_hour = 4;
  t.tm_min = 5;
  t.tm_sec = 6;
  char buf[80];
  KTmToISODateStr(buf, t);
  EXPECT_STREQ(buf, " 999-02-03 04:05:06");
  std::tm wide{};
  wide.tm_year = wide.tm_mon = wide.tm_mday = wide.tm_hour = wide.tm_min = wide.tm_sec = INT32_MIN;
  KTmToISODateStr(buf, wide);
  EXPECT_EQ(std::strlen(buf), 71u);

  struct Case {
    const char* text;
    int ok;
  };
  const Case cases[] = {{"2003-12-31 10:20:30", 1},  {"2003-12-31  10:20:30", 1}, {" 2003-12-31 10:20:30 x", 1},
                        {"2003:12:31-10 20 30", 1},  {"2003-12-31 10:20", 0},     {"2003-12-31", 0},
                        {"03-12-31 10:20:30", 0},    {"2003-1-31 10:20:30", 0},   {"2003-12-31 10:20:3x", 0},
                        {"2OO3-12-31 10:20:30", 0},  {"", 0},                     {"2003-12-31T10:20:30", 0}};
  for (const Case& c : cases) {
    std::tm r{};
    r.tm_isdst = 77;
    EXPECT_EQ(KISODateStrToTm(r, c.text), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(r.tm_year, 2003);
      EXPECT_EQ(r.tm_mon, 12);
      EXPECT_EQ(r.tm_mday, 31);
      EXPECT_EQ(r.tm_hour, 10);
      EXPECT_EQ(r.tm_min, 20);
      EXPECT_EQ(r.tm_sec, 30);
      EXPECT_EQ(r.tm_isdst, 77); // other fields untouched
    }
  }
  std::string longText = "2003-12-31 10:20:30" + std::string(109, ' ');
  ASSERT_EQ(longText.size(), 128u);
  EXPECT_EQ(KISODateStrToTm(t, longText.c_str()), 0);
  EXPECT_EQ(KISODateStrToTm(t, longText.substr(0, 127).c_str()), 1);
  EXPECT_EQ(KISODateStrToTm(t, nullptr), 0);
}

TEST(OleDate, ParseDateTimeAcceptsTheFullFormOnly) {
  kctest::startLocales();
  KOleDateTime d;
  EXPECT_EQ(d.ParseDateTime("2000-02-29 10:20:30"), 1);
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  EXPECT_NEAR(d.m_dt, 36585.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0, 1e-9);
  EXPECT_EQ(d.ParseDateTime("2001-02-03 10:20:30 trailing"), 1);
  EXPECT_EQ(d.GetDay(), 3);
  // No range check: a date of year 1000 is valid, its getters give -1.
  EXPECT_EQ(d.ParseDateTime("1000-01-01 00:00:00"), 1);
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  EXPECT_EQ(d.GetYear(), -1);
  for (const char* bad : {"2001-02-29 10:20:30", "2001-2-03 10:20:30", "2003-12-31", "garbage"}) {
    KOleDateTime e(5.0);
    auto err = kctest::thrown([&] { e.ParseDateTime(bad); });
    kctest::expectErr(*err, KERR_ILLEGAL_ARGUMENT, "KOleDateTime::ParseDateTime", "Invalid Date");
    EXPECT_EQ(e.m_dt, 5.0) << bad;
  }
}

TEST(OleDate, FormatByStatusAndPattern) {
  kctest::startLocales();
  KOleDateTime d(37986.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0);
  EXPECT_STREQ(d.Format("%Y-%m-%d %H:%M:%S"), "2003-12-31 14:05:09");
  EXPECT_STREQ(d.Format("%j %w"), "365 3"); // libc's day of year and weekday
  // A text longer than 128 bytes comes back whole.
  std::string pattern(100, 'x');
  pattern += " %Y-%m-%d %H:%M:%S";
  EXPECT_EQ(std::string(d.Format(pattern.c_str())), std::string(100, 'x') + " 2003-12-31 14:05:09");
  EXPECT_STREQ(d.Format(0ul), "");
  EXPECT_STREQ(d.Format(0xF109u), "Command failed."); // a pattern from the string table
  KOleDateTime n(d);
  n.SetStatus(KOleDateTime::null);
  EXPECT_STREQ(n.Format("%Y"), "");
  EXPECT_STREQ(n.Format(0ul), "");
  KOleDateTime i(d);
  i.SetStatus(KOleDateTime::invalid);
  EXPECT_STREQ(i.Format("%Y"), "Invalid DateTime.");
  EXPECT_STREQ(i.Format(0ul), "Invalid DateTime.");
}

TEST(OleDate, SpanArithmeticStatuses) {
  KOleDateTime valid(1.0), invalid(1.0), null(1.0);
  invalid.SetStatus(KOleDateTime::invalid);
  null.SetStatus(KOleDateTime::null);
  KOleDateTimeSpan span(0.5), badSpan(0.5, KOleDateTime::invalid), nullSpan(0.5, KOleDateTime::null);
  struct Case {
    KOleDateTime date;
    KOleDateTimeSpan span;
    KOleDateTime::DateTimeStatus status;
    double plus;
  };
  const Case cases[] = {
      {valid, span, KOleDateTime::valid, 1.5},     {null, badSpan, KOleDateTime::null, 0.0},
      {valid, nullSpan, KOleDateTime::null, 0.0},  {invalid, span, KOleDateTime::invalid, 0.0},
      {valid, badSpan, KOleDateTime::invalid, 0.0}, {invalid, nullSpan, KOleDateTime::null, 0.0},
  };
  for (const Case& c : cases) {
    KOleDateTime r = c.date + c.span;
    EXPECT_EQ(r.GetStatus(), c.status);
    EXPECT_EQ(r.m_dt, c.plus);
  }
  // Across day 0 on the linear scale: day 0.25 minus 0.5 is 29 Dec 18:00.
  KOleDateTime back = KOleDateTime(0.25) - KOleDateTimeSpan(0.5);
  EXPECT_EQ(back.GetStatus(), KOleDateTime::valid);
  EXPECT_DOUBLE_EQ(back.m_dt, -1.75);
  EXPECT_EQ(back.GetHour(), 18);
  // Beyond the range: invalid, the value stays.
  KOleDateTime late = KOleDateTime(2958465.0) + KOleDateTimeSpan(1.0);
  EXPECT_EQ(late.GetStatus(), KOleDateTime::invalid);
  EXPECT_DOUBLE_EQ(late.m_dt, 2958466.0);
  // Date minus date.
  KOleDateTimeSpan s = KOleDateTime(-1.25) - KOleDateTime(0.0);
  EXPECT_EQ(s.GetStatus(), KOleDateTime::valid);
  EXPECT_DOUBLE_EQ(s.m_span, -0.75);
  EXPECT_EQ((null - invalid).GetStatus(), KOleDateTime::null);
  EXPECT_EQ((invalid - valid).GetStatus(), KOleDateTime::invalid);
  EXPECT_EQ((invalid - valid).m_span, 0.0);
  // No range check on a span.
  EXPECT_EQ((KOleDateTime(1e7) - valid).GetStatus(), KOleDateTime::valid);
}

TEST(OleDate, FromTimeT) {
  kctest::EnvVar tz("TZ", "UTC");  // the zone of the tests after this one is given back
  KOleDateTime d;
  d = 1072879509L; // 2003-12-31 14:05:09 UTC
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  EXPECT_STREQ(d.Format("%Y-%m-%d %H:%M:%S"), "2003-12-31 14:05:09");
  KOleDateTime now = KOleDateTime::GetCurrentTime();
  EXPECT_EQ(now.GetStatus(), KOleDateTime::valid);
  EXPECT_GE(now.GetYear(), 2024);
}

TEST(OleDate, KDateTimeCarriesTheDateValueFirst) {
  KDateTime d(36585.5);
  EXPECT_EQ(static_cast<const void*>(&d), static_cast<const void*>(&d.m_dt));
  EXPECT_EQ(d.GetMonth(), 2);
  d = KOleDateTime(1.0);
  EXPECT_EQ(d.GetDay(), 31);
}
