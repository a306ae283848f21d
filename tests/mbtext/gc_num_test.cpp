// Numbers to text: grouping tables, separators, signs, cut texts, EBCDIC.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "gc_fmt_testloc.h"
#include "mbtext/gc_num.h"
#include "mbtext/gc_strto_int.h"

using gcfmt_test::Page;
using gcfmt_test::TestLocale;

namespace {

struct LongCase {
  int32_t value;
  uint32_t flags;
  const char* grouping;
  const char* sep;
  const char* text;
};

class LongToStringTable : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongToStringTable, Text) {
  const LongCase& c = GetParam();
  TestLocale tl;
  tl.setText(GC_TXT_GROUPING, c.grouping);
  tl.setSeparators(".", c.sep);
  char buf[64];
  std::memset(buf, 'Z', sizeof buf);
  int n = GCLongToString(tl.get(), c.value, buf, sizeof buf, c.flags | GC_FL_NUL);
  EXPECT_EQ(n, static_cast<int>(std::strlen(c.text)) + 1);
  EXPECT_STREQ(buf, c.text);
  EXPECT_EQ(tl.loc.status, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Grouping, LongToStringTable,
    ::testing::Values(LongCase{-1234567, 0, "3;0", ",", "-1,234,567"}, LongCase{-1234567, 0, "3", ",", "-1234,567"},
                      LongCase{-1234567, 0, "", ",", "-1234567"}, LongCase{0, 0, "3;0", ",", "0"},
                      LongCase{INT32_MIN, 0, "3;0", ",", "-2,147,483,648"},
                      LongCase{-1, 0x80, "3;0", ",", "4,294,967,295"}, LongCase{123, 0, "3;0", ",", "123"},
                      LongCase{123456, 0, "3;0", ",", "123,456"}, LongCase{1234567890, 0, "3;2;0", ",", "1,23,45,67,890"},
                      LongCase{1234567890, 0, "3;2", ",", "12345,67,890"},
                      LongCase{1234567, 0, "3;0", "", "1234567"}, LongCase{1234567, 0, "1;0", " ", "1 2 3 4 5 6 7"},
                      LongCase{1234567, 0, "0", ",", "1234567"}, LongCase{1234567, 0, "4;0", "'", "123'4567"},
                      LongCase{-5, 0, "3;0", ",", "-5"}));

TEST(LongToString, CutTextKeepsLeadingCharacters) {
  TestLocale tl;
  tl.setText(GC_TXT_GROUPING, "");
  char buf[8];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCLongToString(tl.get(), 12345, buf, 4, GC_FL_NUL), 4);
  EXPECT_STREQ(buf, "123");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(buf[4], 'Z');
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCLongToString(tl.get(), -12345, buf, 3, 0), 3);
  EXPECT_EQ(std::string(buf, 3), "-12");
  EXPECT_EQ(buf[3], 'Z');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(GCLongToString(tl.get(), -1, buf, 1, GC_FL_NUL), 1);  // only the NUL fits
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
}

TEST(LongToString, FlagsAndLengths) {
  TestLocale tl;
  char buf[16];
  EXPECT_EQ(GCLongToString(tl.get(), 1, buf, 0, 0), 0);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(GCLongToString(tl.get(), 1, buf, sizeof buf, 0x2), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(GCLongToString(tl.get(), 1, buf, -5, 0), -1);
  EXPECT_EQ(GCLongToString(tl.get(), 1234, buf, sizeof buf, 0), 5);  // no NUL written or counted
  EXPECT_EQ(std::string(buf, 5), "1,234");
  EXPECT_EQ(GCLongToString(tl.get(), 1234, buf, sizeof buf, GC_FL_CHARS | GC_FL_NUL), 6);
}

TEST(LongToString, EbcdicDigitsAndMinus) {
  TestLocale tl(Page::Ebcdic);
  char buf[16];
  ASSERT_EQ(GCLongToString(tl.get(), -1234, buf, sizeof buf, GC_FL_NUL), 7);
  EXPECT_EQ(std::string(buf), tl.form("-1,234"));
  EXPECT_EQ(static_cast<unsigned char>(buf[0]), 0x60);
  EXPECT_EQ(static_cast<unsigned char>(buf[1]), 0xF1);
}

TEST(LongToString, DoubleByteSeparatorCountsInCharacters) {
  TestLocale tl(Page::DoubleByte);
  char buf[16];
  EXPECT_EQ(GCLongToString(tl.get(), 1234567, buf, sizeof buf, GC_FL_CHARS), 9);
}

struct DoubleCase {
  double value;
  int digits;
  const char* dec;
  const char* sep;
  const char* grouping;
  uint32_t flags;
  const char* text;
};

class DoubleToStringTable : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(DoubleToStringTable, Text) {
  const DoubleCase& c = GetParam();
  TestLocale tl;
  tl.setDigits(c.digits);
  tl.setSeparators(c.dec, c.sep);
  tl.setText(GC_TXT_GROUPING, c.grouping);
  char buf[512];
  int n = GCDoubleToString(tl.get(), c.value, buf, sizeof buf, c.flags | GC_FL_NUL);
  EXPECT_STREQ(buf, c.text);
  EXPECT_EQ(n, static_cast<int>(std::strlen(c.text)) + 1);
  EXPECT_EQ(tl.loc.status, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DoubleToStringTable,
    ::testing::Values(DoubleCase{1234.5, 2, ",", ".", "3;0", 0, "1.234,50"},
                      DoubleCase{-0.5, 2, ",", ".", "3;0", 0, "-0,50"},
                      DoubleCase{1234.25, 0, ",", ".", "3;0", 0, "1.234"},
                      DoubleCase{-1234.5, 2, ".", ",", "3;0", 0, "-1,234.50"},
                      DoubleCase{-123.5, 1, ".", ",", "3;0", 0, "-123.5"},
                      DoubleCase{123.5, 1, ".", ",", "3;0", 0, "123.5"},
                      DoubleCase{1234567.125, 3, ".", ",", "3;2;0", 0, "12,34,567.125"},
                      DoubleCase{1.5, 2, ".", ",", "3;0", GC_NUM_PLAIN_FRACTION, "1.500000"},
                      DoubleCase{-0.0, 2, ".", ",", "3;0", 0, "-0.00"},
                      DoubleCase{1e20, 0, ".", ",", "3;0", 0, "100,000,000,000,000,000,000"},
                      DoubleCase{std::numeric_limits<double>::infinity(), 2, ".", ",", "3;0", 0, "inf"},
                      DoubleCase{-std::numeric_limits<double>::infinity(), 2, ".", ",", "3;0", 0, "-inf"},
                      DoubleCase{std::numeric_limits<double>::quiet_NaN(), 2, ".", ",", "3;0", 0, "nan"}));

TEST(DoubleToString, LargestValueAndTooManyDigits) {
  TestLocale tl;
  tl.setText(GC_TXT_GROUPING, "");
  char buf[1024];
  int n = GCDoubleToString(tl.get(), 1.7976931348623157e308, buf, sizeof buf, GC_FL_NUL);
  EXPECT_EQ(n, 309 + 1 + 2 + 1);
  EXPECT_EQ(tl.loc.status, 0u);
  tl.setText(GC_TXT_GROUPING, "1;0");
  n = GCDoubleToString(tl.get(), 1.7976931348623157e308, buf, sizeof buf, GC_FL_NUL);
  EXPECT_EQ(n, 309 + 308 + 1 + 2 + 1);
  tl.setDigits(600);  // text longer than the work area
  EXPECT_EQ(GCDoubleToString(tl.get(), 1.0, buf, sizeof buf, 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
}

TEST(DoubleToString, CutTextAndFlags) {
  TestLocale tl;
  char buf[8];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCDoubleToString(tl.get(), -1234.5, buf, 5, GC_FL_NUL), 5);
  EXPECT_STREQ(buf, "-1,2");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(buf[5], 'Z');
  EXPECT_EQ(GCDoubleToString(tl.get(), 1.0, buf, 0, 0), 0);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(GCDoubleToString(tl.get(), 1.0, buf, sizeof buf, 0x80), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
}

TEST(DoubleToString, EbcdicText) {
  TestLocale tl(Page::Ebcdic);
  tl.setSeparators(",", ".");
  char buf[32];
  ASSERT_EQ(GCDoubleToString(tl.get(), -1234.5, buf, sizeof buf, GC_FL_NUL), 10);
  EXPECT_EQ(std::string(buf), tl.form("-1.234,50"));
  ASSERT_EQ(GCDoubleToString(tl.get(), -std::numeric_limits<double>::infinity(), buf, sizeof buf, GC_FL_NUL), 5);
  EXPECT_EQ(std::string(buf), tl.form("-inf"));
  ASSERT_EQ(GCDoubleToString(tl.get(), std::numeric_limits<double>::quiet_NaN(), buf, sizeof buf, GC_FL_NUL), 4);
  EXPECT_EQ(std::string(buf), tl.form("nan"));
}

}  // namespace

namespace {

TEST(NumberItems, ItemFlagReadsTheTerritorysValues) {
  TestLocale tl;
  tl.setText(GC_TXT_GROUPING, "3;0");
  tl.setSeparators(",", ".");               // territory and locale
  tl.setSeparators(".", "'", true);         // the locale's own changes
  tl.setText(GC_TXT_GROUPING, "2;0", true);
  char buf[32];
  ASSERT_EQ(GCLongToString(tl.get(), 1234567, buf, sizeof buf, GC_FL_NUL), 11);
  EXPECT_STREQ(buf, "1'23'45'67");
  ASSERT_EQ(GCLongToString(tl.get(), 1234567, buf, sizeof buf, GC_FL_NUL | GC_FL_ITEM), 10);
  EXPECT_STREQ(buf, "1.234.567");
  tl.loc.digits = 1;  // locale only; the territory keeps 2
  ASSERT_GT(GCDoubleToString(tl.get(), 1234.5, buf, sizeof buf, GC_FL_NUL), 0);
  EXPECT_STREQ(buf, "12'34.5");
  ASSERT_GT(GCDoubleToString(tl.get(), 1234.5, buf, sizeof buf, GC_FL_NUL | GC_FL_ITEM), 0);
  EXPECT_STREQ(buf, "1.234,50");
}

}  // namespace
