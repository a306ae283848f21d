// Floating-point conversion: e, f and g texts, rounding, EBCDIC forms, edges.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "mbtext/gc_fp.h"

namespace {

std::string cvt(double v, char letter, int prec, int capital = 0) {
  char out[8192];
  int n = GCCfltcvt(&v, out, sizeof out, letter, prec, capital, 1);
  EXPECT_GE(n, 0) << v << " " << letter << prec;
  if (n < 0) return "<fail>";
  EXPECT_EQ(static_cast<size_t>(n), std::strlen(out));
  return out;
}

std::string lcvt(long double v, char letter, int prec, int capital = 0) {
  char out[8192];
  int n = GCCldcvt(&v, out, sizeof out, letter, prec, capital, 1);
  EXPECT_GE(n, 0);
  return n < 0 ? "<fail>" : std::string(out);
}

std::string crop(const char* s) {
  char buf[64];
  std::strcpy(buf, s);
  GCCropzeros(buf, 1);
  return buf;
}

struct FpCase {
  double value;
  char letter;
  int prec;
  const char* text;
};

class FpTable : public ::testing::TestWithParam<FpCase> {};

TEST_P(FpTable, DoubleAndLongDoubleGiveTheSameText) {
  const FpCase& c = GetParam();
  EXPECT_EQ(cvt(c.value, c.letter, c.prec), c.text);
  EXPECT_EQ(lcvt(static_cast<long double>(c.value), c.letter, c.prec), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    FixedForm, FpTable,
    ::testing::Values(FpCase{2.5, 'f', 0, "3"}, FpCase{0.125, 'f', 2, "0.13"}, FpCase{9.996, 'f', 2, "10.00"},
                      FpCase{0.05, 'f', 1, "0.1"}, FpCase{0.0, 'f', 6, "0.000000"}, FpCase{-1.5, 'f', 1, "-1.5"},
                      FpCase{0.5, 'f', 0, "1"}, FpCase{0.4, 'f', 0, "0"}, FpCase{123.456, 'f', 6, "123.456000"},
                      FpCase{1e-5, 'f', 3, "0.000"}, FpCase{0.0009, 'f', 3, "0.001"},
                      FpCase{999.9995, 'f', 3, "1000.000"}, FpCase{1e20, 'f', 0, "100000000000000000000"},
                      FpCase{-0.0, 'f', 2, "-0.00"}, FpCase{1e-45, 'f', 2, "0.00"}));

INSTANTIATE_TEST_SUITE_P(
    ExponentForm, FpTable,
    ::testing::Values(FpCase{12345.678, 'e', 2, "1.23e+004"}, FpCase{0.0123, 'e', 3, "1.230e-002"},
                      FpCase{1e-5, 'e', 2, "1.00e-005"}, FpCase{0.0, 'e', 6, "0.000000e+000"},
                      FpCase{9.999, 'e', 2, "1.00e+001"}, FpCase{1.0, 'e', 0, "1e+000"},
                      FpCase{-2.5, 'e', 1, "-2.5e+000"}, FpCase{1e100, 'e', 1, "1.0e+100"},
                      FpCase{1.5e-300, 'e', 2, "1.50e-300"}, FpCase{4.9406564584124654e-324, 'e', 3, "4.941e-324"},
                      FpCase{1.23456789012e-35, 'e', 10, "1.2345678901e-035"},
                      FpCase{1e-41, 'e', 2, "1.00e-041"}, FpCase{-0.0, 'e', 1, "-0.0e+000"},
                      FpCase{DBL_MAX, 'e', 5, "1.79769e+308"}));

INSTANTIATE_TEST_SUITE_P(
    GeneralForm, FpTable,
    ::testing::Values(FpCase{123.456, 'g', 6, "123.456"}, FpCase{100.0, 'g', 6, "100"}, FpCase{0.5, 'g', 6, "0.5"},
                      FpCase{0.0001, 'g', 6, "0.0001"}, FpCase{0.00001, 'g', 6, "1.00000e-005"},
                      FpCase{1234567.0, 'g', 6, "1.23457e+006"}, FpCase{123456.789, 'g', 6, "123456.789"},
                      FpCase{0.0, 'g', 6, "0"}, FpCase{-0.0, 'g', 6, "-0"}, FpCase{0.99999999, 'g', 6, "1"},
                      FpCase{9999995.0, 'g', 6, "1.00000e+007"}, FpCase{1e-50, 'g', 3, "1.00e-050"},
                      FpCase{0.0123, 'g', 2, "0.01"}));

TEST(FpConvert, CapitalExponentLetter) {
  EXPECT_EQ(cvt(12345.678, 'e', 2, 1), "1.23E+004");
  EXPECT_EQ(lcvt(1234567.0L, 'G', 6), "1.23457E+006");
  EXPECT_EQ(lcvt(1234567.0L, 'g', 6, 1), "1.23457E+006");
}

TEST(FpConvert, UnknownLetterAndBadPrecisionAreRefused) {
  double v = 1.0;
  char out[64] = "x";
  EXPECT_EQ(GCCfltcvt(&v, out, sizeof out, 'G', 2, 0, 1), -1);  // only lower case for double
  EXPECT_EQ(GCCfltcvt(&v, out, sizeof out, 'd', 2, 0, 1), -1);
  EXPECT_EQ(GCCfltcvt(&v, out, sizeof out, 'f', -1, 0, 1), -1);
  EXPECT_EQ(GCCfltcvt(&v, out, sizeof out, 'f', GC_FP_MAXPREC + 1, 0, 1), -1);
  EXPECT_STREQ(out, "");
}

TEST(FpConvert, TextThatDoesNotFitIsRefusedWithoutWritingPastTheBuffer) {
  double v = 1e300;
  char out[32];
  std::memset(out, 'Z', sizeof out);
  EXPECT_EQ(GCCfltcvt(&v, out, 16, 'f', 2, 0, 1), -1);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(out[16], 'Z');
  v = 12.5;
  EXPECT_EQ(GCCfltcvt(&v, out, 5, 'f', 1, 0, 1), 4);  // "12.5" and its NUL fit exactly
  EXPECT_STREQ(out, "12.5");
  EXPECT_EQ(GCCfltcvt(&v, out, 4, 'f', 1, 0, 1), -1);
}

TEST(FpConvert, LargestValuesInEveryForm) {
  std::string f = cvt(DBL_MAX, 'f', 2);
  ASSERT_EQ(f.size(), 309u + 3u);
  EXPECT_EQ(f.substr(0, 17), "17976931348623157");
  EXPECT_EQ(f.substr(f.size() - 3), ".00");
  EXPECT_EQ(cvt(DBL_MAX, 'g', 6), "1.79769e+308");

  long double lmax = LDBL_MAX;
  std::string lf = lcvt(lmax, 'f', 1);
  EXPECT_EQ(lf.size(), 4933u + 2u);
  EXPECT_EQ(lf.substr(0, 6), "118973");
  EXPECT_EQ(lcvt(lmax, 'e', 4), "1.1897e+4932");
  EXPECT_EQ(lcvt(-lmax, 'g', 3), "-1.19e+4932");
}

TEST(FpConvert, SmallestValuesKeepTheirSignificantDigits) {
  long double tiny = LDBL_TRUE_MIN;
  EXPECT_EQ(lcvt(tiny, 'e', 2), "3.65e-4951");
  EXPECT_EQ(lcvt(tiny, 'g', 4), "3.645e-4951");
  EXPECT_EQ(lcvt(tiny, 'f', 3), "0.000");
  EXPECT_EQ(cvt(DBL_MIN, 'e', 4), "2.2251e-308");
}

TEST(FpConvert, LongDoublePointPositionAgreesWithItsDigits) {
  // Close to 1 from below: the digits and the point come from one text.
  EXPECT_EQ(lcvt(0.99999999999999999L, 'f', 2), "1.00");
  EXPECT_EQ(lcvt(0.99999999999999999L, 'e', 2), "1.00e+000");
  double below1 = std::nextafter(1.0, 0.0);  // 0.99999999999999988897769753748...
  EXPECT_EQ(cvt(below1, 'f', 3), "1.000");
  EXPECT_EQ(cvt(below1, 'e', 20), "9.99999999999999888978e-001");
  EXPECT_EQ(cvt(below1, 'g', 16), "0.9999999999999999");
  EXPECT_EQ(cvt(below1, 'g', 15), "1");
}

TEST(FpConvert, InfinityAndNanWithSign) {
  double inf = std::numeric_limits<double>::infinity();
  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(cvt(inf, 'f', 2), "inf");
  EXPECT_EQ(cvt(-inf, 'e', 2), "-inf");
  EXPECT_EQ(cvt(nan, 'g', 2), "nan");
  EXPECT_EQ(cvt(-nan, 'g', 2), "-nan");
  EXPECT_EQ(cvt(inf, 'e', 2, 1), "INF");
  EXPECT_EQ(lcvt(-std::numeric_limits<long double>::infinity(), 'G', 2), "-INF");
}

TEST(FpConvert, EbcdicFormsOfEveryCharacter) {
  double v = -12345.678;
  char out[64];
  ASSERT_EQ(GCCfltcvt(&v, out, sizeof out, 'e', 2, 0, 0), 10);
  const unsigned char want[] = {0x60, 0xF1, 0x4B, 0xF2, 0xF3, 0x85, 0x4E, 0xF0, 0xF0, 0xF4, 0};
  EXPECT_EQ(std::memcmp(out, want, sizeof want), 0);
  ASSERT_EQ(GCCfltcvt(&v, out, sizeof out, 'e', 2, 1, 0), 10);
  EXPECT_EQ(static_cast<unsigned char>(out[5]), 0xC5);
  v = 0.5;
  ASSERT_EQ(GCCfltcvt(&v, out, sizeof out, 'f', 2, 0, 0), 4);
  const unsigned char wantf[] = {0xF0, 0x4B, 0xF5, 0xF0, 0};
  EXPECT_EQ(std::memcmp(out, wantf, sizeof wantf), 0);
  v = 1e-5;  // g without zero removal keeps the EBCDIC zeros; removal finds them
  ASSERT_GT(GCCfltcvt(&v, out, sizeof out, 'g', 6, 0, 0), 0);
  GCCropzeros(out, 0);
  const unsigned char wantg[] = {0xF1, 0x85, 0x60, 0xF0, 0xF0, 0xF5, 0};
  EXPECT_EQ(std::memcmp(out, wantg, sizeof wantg), 0);
  v = -std::numeric_limits<double>::infinity();
  ASSERT_EQ(GCCfltcvt(&v, out, sizeof out, 'f', 2, 0, 0), 4);
  const unsigned char wantinf[] = {0x60, 0x89, 0x95, 0x86, 0};
  EXPECT_EQ(std::memcmp(out, wantinf, sizeof wantinf), 0);
  v = std::numeric_limits<double>::quiet_NaN();
  ASSERT_EQ(GCCfltcvt(&v, out, sizeof out, 'e', 2, 1, 0), 3);
  const unsigned char wantnan[] = {0xD5, 0xC1, 0xD5, 0};
  EXPECT_EQ(std::memcmp(out, wantnan, sizeof wantnan), 0);
}

TEST(FpConvert, GetStrDigitsConvertsOnlyDigitsAndSigns) {
  char text[] = "-1.5e+3x";
  GCGetStrDigits(text, 0);
  const unsigned char want[] = {0x60, 0xF1, 0x4B, 0xF5, 'e', 0x4E, 0xF3, 'x', 0};
  EXPECT_EQ(std::memcmp(text, want, sizeof want), 0);
  char same[] = "-1.5";
  GCGetStrDigits(same, 1);
  EXPECT_STREQ(same, "-1.5");
}

TEST(FpConvert, ForcedPointAndZeroRemoval) {
  struct {
    const char* in;
    const char* forced;
    const char* cropped;
  } cases[] = {
      {"3", "3.", "3"},
      {"3e+000", "3.e+000", "3e+000"},
      {"1.500", "1.500", "1.5"},
      {"2.000e+001", "2.000e+001", "2e+001"},
      {"12", "12.", "12"},
      {"100", "100.", "100"},
      {"1.05e-002", "1.05e-002", "1.05e-002"},
      {"0.0", "0.0", "0"},
  };
  for (const auto& c : cases) {
    char buf[32];
    std::strcpy(buf, c.in);
    EXPECT_EQ(GCForcdecpt(buf, sizeof buf, 1), 0);
    EXPECT_STREQ(buf, c.forced) << c.in;
    EXPECT_EQ(crop(c.in), c.cropped) << c.in;
  }
  char tight[3] = "12";
  EXPECT_EQ(GCForcdecpt(tight, sizeof tight, 1), -1);
  EXPECT_STREQ(tight, "12");
  const unsigned char ebc[] = {0xF3, 0x85, 0x4E, 0xF0, 0};
  char eb[16];
  std::memcpy(eb, ebc, sizeof ebc);
  ASSERT_EQ(GCForcdecpt(eb, sizeof eb, 0), 0);
  EXPECT_EQ(static_cast<unsigned char>(eb[1]), 0x4B);
}

TEST(FpConvert, DigitFunctionsGiveDigitsPointAndSign) {
  char out[64];
  int decpt = 0, sign = 0;
  EXPECT_EQ(GCeconvert(-0.0123, 3, &decpt, &sign, out, sizeof out, 1), 4);
  EXPECT_STREQ(out, "1230");
  EXPECT_EQ(decpt, -1);
  EXPECT_EQ(sign, 1);
  EXPECT_EQ(GCfconvert(9.996, 2, &decpt, &sign, out, sizeof out, 1), 4);
  EXPECT_STREQ(out, "1000");
  EXPECT_EQ(decpt, 2);
  EXPECT_EQ(sign, 0);
  long double l = 2.5L;
  EXPECT_EQ(GCqfconvert(&l, 0, &decpt, &sign, out, sizeof out, 1), 1);
  EXPECT_STREQ(out, "3");
  EXPECT_EQ(GCqeconvert(&l, 1, &decpt, &sign, out, sizeof out, 1), 2);
  EXPECT_STREQ(out, "25");
  EXPECT_EQ(decpt, 1);
  EXPECT_EQ(GCgconvert(0.00001, 6, out, sizeof out, 0, 1), 12);
  EXPECT_STREQ(out, "1.00000e-005");
  // Precision 0 is taken as 1; the fixed form counts fraction digits.
  EXPECT_EQ(GCqgconvert(&l, 0, out, sizeof out, 0, 1), 3);
  EXPECT_STREQ(out, "2.5");
  EXPECT_EQ(GCfconvert(1.0, 2, &decpt, &sign, out, 3, 1), -1);  // "100" needs 4 bytes
}

TEST(FpConvert, RoundingOfTheDigitString) {
  GCFpValue v;
  GCfltout(0.995, &v);  // 0.99499999999999999555910790149937...
  char out[64];
  int decpt = 0, sign = 0;
  EXPECT_EQ(GCfpcvt(&v, 2, &decpt, &sign, out, sizeof out), 2);
  EXPECT_STREQ(out, "99");
  EXPECT_EQ(decpt, 0);
  GCfltout(9.5, &v);
  EXPECT_EQ(GCfpcvt(&v, 1, &decpt, &sign, out, sizeof out), 2);
  EXPECT_STREQ(out, "10");
  EXPECT_EQ(decpt, 2);
  EXPECT_EQ(GCfpcvt(&v, -1, &decpt, &sign, out, sizeof out), -1);
  EXPECT_EQ(GCfpcvt(&v, 10, &decpt, &sign, out, 5), -1);
}

TEST(FpConvert, DecompositionPointPositions) {
  struct {
    double v;
    int decpt;
  } cases[] = {{0.0, 1}, {1.0, 1}, {123.0, 3}, {0.5, 0}, {0.0001, 0}, {0.00001, -4}, {1.5e-10, -9}};
  for (const auto& c : cases) {
    GCFpValue v;
    GCfltout(c.v, &v);
    EXPECT_EQ(v.decpt, c.decpt) << c.v;
    EXPECT_EQ(v.special, 0);
  }
  GCFpValue v;
  GCfltout(-std::numeric_limits<double>::infinity(), &v);
  EXPECT_EQ(v.special, 1);
  EXPECT_EQ(v.sign, 1);
}

}  // namespace
