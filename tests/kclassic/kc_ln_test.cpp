// Language-neutral value text under "." and "," locales, and the throw
// helpers.
#include <gtest/gtest.h>

#include <string>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_dec.h"
#include "kclassic/kc_ln.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class LnText : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { startLocales(); }
};

tagKDEC dec_of(const char* text) {
  KDecimal d;
  EXPECT_EQ(d.CreateFromBSTR(text), 1);
  return d.GetDecimalVal();
}

} // namespace

TEST(LnHelpers, ThrowHelpers) {
  startLocales();
  EXPECT_NO_THROW(UtlCheckHResult(0, "x"));
  EXPECT_NO_THROW(UtlCheckHResult(5, "x"));
  auto e = thrown([] { UtlCheckHResult(-1, "x"); });
  expectErr(*e, KERR_ILLEGAL_ARGUMENT, "x", "Input Value");
  EXPECT_EQ(e->HResult, -1);
  auto r = thrown([] { RaiseError(0x8B000CB, "M::m", "detail"); });
  expectErr(*r, 0x8B000CB, "M::m", "detail");
  KZString s("a.b.c");
  UtlCStringReplace(s, ".", "::");
  EXPECT_STREQ(s, "a::b::c");
}

TEST(LnHelpers, SeparatorExchange) {
  {
    ThreadLocale english(kEnglish);
    KZString s("1.5,2");
    EXPECT_STREQ(UtlConvertToLnString(s), "1.5,2");
    EXPECT_STREQ(UtlConvertFromLnString(s), "1.5,2");
  }
  ThreadLocale german(kGerman);
  KZString s("1,5,2");
  EXPECT_STREQ(UtlConvertToLnString(s), "1.5.2");
  EXPECT_STREQ(UtlConvertFromLnString(s), "1,5,2");
}

// The same texts and values under a "." and a "," locale.
TEST_P(LnText, ValuesBothWays) {
  ThreadLocale use(GetParam());
  EXPECT_STREQ(UtlLongToLnString(-42), "-42");
  EXPECT_EQ(UtlLnStringToLong("-42"), -42);
  EXPECT_STREQ(UtlDoubleToLnString(1.5), "1.500000");
  EXPECT_DOUBLE_EQ(UtlLnStringToDouble("2.25"), 2.25);
  EXPECT_STREQ(UtlCurrencyToLnString(tagKCY{125000}), "12.5000");
  EXPECT_STREQ(UtlCurrencyToLnString(tagKCY{-10000}), "-1");
  EXPECT_EQ(UtlLnStringToCurrency("12.5").int64, 125000);
  EXPECT_EQ(UtlLnStringToCurrency("-0.00005").int64, -1);
  EXPECT_STREQ(UtlDecimalToLnString(UtlLnStringToDecimal("-1.250")), "-1.250");
  tagKDEC d = UtlLnStringToDecimal("3.5");
  EXPECT_EQ(d.wReserved, KVT_DECIMAL);
  EXPECT_EQ(d.scale, 1);
  EXPECT_EQ(d.Lo32, 35u);
  // A record with 0 in its reserved word converts as a decimal too.
  EXPECT_STREQ(UtlDecimalToLnString(dec_of("0.05")), "0.05");
  EXPECT_STREQ(UtlDateToLnString(37986.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0), "2003-12-31 14:05:09");
  EXPECT_DOUBLE_EQ(UtlLnStringToDate("2003-12-31 00:00:00"), 37986.0);
}

INSTANTIATE_TEST_SUITE_P(PointAndComma, LnText, ::testing::Values(kEnglish, kGerman));

TEST(LnHelpers, FailuresNameTheFunction) {
  ThreadLocale german(kGerman);
  struct Case {
    const char* method;
    void (*call)();
  };
  const Case cases[] = {
      {"UtlLnStringToDecimal", [] { UtlLnStringToDecimal("1.2.3"); }},
      {"UtlLnStringToDecimal", [] { UtlLnStringToDecimal("abc"); }},
  };
  for (const Case& c : cases) {
    auto e = thrown(c.call);
    EXPECT_EQ(e->GetErrorNum(), KERR_ILLEGAL_ARGUMENT);
    EXPECT_STREQ(e->GetMethodName(), c.method);
    EXPECT_STREQ(e->GetParam(0), "Input Value");
    EXPECT_LT(e->HResult, 0);
  }
  // The currency reader's error passes through.
  auto c = thrown([] { UtlLnStringToCurrency("1x"); });
  EXPECT_STREQ(c->GetMethodName(), "KOsKBstrToInt64");
  auto d = thrown([] { UtlLnStringToDate("2003-12-31"); });
  expectErr(*d, KERR_ILLEGAL_ARGUMENT, "KOleDateTime::ParseDateTime", "Invalid Date");
}
