// Currency: text to ten-thousandths and back, rounding and refused texts,
// the fixed-point step, and the arithmetic with its statuses.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_cy.h"

using namespace KCLASSIC;

namespace {

class Currency : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

std::string text_of(long long v) {
  char* p = KOsInt64ToKBstr(v);
  std::string s = p ? std::string(p, KBinSysStringByteLen(p)) : "<null>";
  KBinSysFreeString(p);
  return s;
}

} // namespace

TEST_F(Currency, TextToCount) {
  struct Case {
    const char* text;
    long long value;
  };
  const Case cases[] = {{"12.5", 125000},
                        {"12", 120000},
                        {"0", 0},
                        {"0.0", 0},
                        {"-0.00005", -1},
                        {"0.00005", 1},
                        {"0.00004", 0},
                        {"1.23456", 12346},
                        {"0.123449", 1234}, // one look at the first dropped digit
                        {"9.99995", 100000},
                        {"-9.99995", -100000},
                        {" +7.1 ", 71000},
                        {"\t-3\n", -30000},
                        {".5", 5000},
                        {"5.", 50000},
                        {"922337203685477.5807", LLONG_MAX},
                        {"-922337203685477.5808", LLONG_MIN},
                        {"000000000000000000001", 10000}};
  for (const Case& c : cases) EXPECT_EQ(KOsKBstrToInt64(c.text), c.value) << c.text;
}

TEST_F(Currency, RefusedTexts) {
  for (const char* bad : {"", " ", "abc", "1.2.3", "1e5", "--1", "+", ".", "-.", "1 2", "12a", "0x10", "1,5", "$1"}) {
    auto e = kctest::thrown([&] { KOsKBstrToInt64(bad); });
    kctest::expectErr(*e, KERR_ILLEGAL_ARGUMENT, "KOsKBstrToInt64", bad);
  }
  kctest::expectErr(*kctest::thrown([] { KOsKBstrToInt64(nullptr); }), KERR_ILLEGAL_ARGUMENT, "KOsKBstrToInt64",
                    "NULL parameter");
  std::string longText(25, '1');
  kctest::expectErr(*kctest::thrown([&] { KOsKBstrToInt64(longText.c_str()); }), KERR_ILLEGAL_ARGUMENT,
                    "KOsKBstrToInt64", "Param exceeds maximum length");
  EXPECT_NO_THROW(KOsKBstrToInt64(std::string(14, '1').c_str()));
  // Out of range, also through rounding: refused, never wrapped.
  for (const char* big : {"922337203685477.5808", "-922337203685477.5809", "922337203685477.58075", "99999999999999999"}) {
    auto e = kctest::thrown([&] { KOsKBstrToInt64(big); });
    EXPECT_EQ(e->GetErrorNum(), KERR_ILLEGAL_ARGUMENT) << big;
    EXPECT_STREQ(e->GetMethodName(), "atoll") << big;
  }
}

TEST_F(Currency, LocaleDecimalSeparatorIsAPointToo) {
  kctest::ThreadLocale german(kctest::kGerman);
  EXPECT_EQ(KOsKBstrToInt64("1,5"), 15000);
  EXPECT_EQ(KOsKBstrToInt64("-0,00005"), -1);
  EXPECT_EQ(KOsKBstrToInt64("1.5"), 15000);
  kctest::thrown([] { KOsKBstrToInt64("1,5.0"); });
  kctest::thrown([] { KOsKBstrToInt64("1.000,5"); });
}

TEST_F(Currency, CountToText) {
  struct Case {
    long long value;
    const char* text;
  };
  const Case cases[] = {{125000, "12.5000"},    {120000, "12"},   {5, "0.0005"},
                        {-5000, "-0.5000"},     {0, "0"},         {-10000, "-1"},
                        {-12345, "-1.2345"},    {10050, "1.0050"}, {LLONG_MAX, "922337203685477.5807"},
                        {LLONG_MIN, "-922337203685477.5808"}};
  for (const Case& c : cases) EXPECT_EQ(text_of(c.value), c.text) << c.value;
  // Each text reads back to its count.
  for (const Case& c : cases) EXPECT_EQ(KOsKBstrToInt64(text_of(c.value).c_str()), c.value);
}

TEST_F(Currency, FixedPointStep) {
  struct Case {
    const char* digits;
    int lastInteger, fraction;
    const char* result;
  };
  const Case cases[] = {{"125", 1, 1, "125000"},       {"12", 1, 0, "120000"},
                        {"123456", 0, 5, "+012346"},  {"-000005", 1, 5, "-000001"},
                        {"1999995", 0, 6, "+020000"},  {"99999", 0, 4, "+099999"},
                        {"999995", 0, 5, "+100000"},   {"0123449", 0, 6, "+001234"}};
  for (const Case& c : cases) {
    char buf[64];
    std::strcpy(buf, c.digits);
    EXPECT_EQ(KOsConvertToFixedPoint(buf, c.lastInteger, c.fraction), 0);
    EXPECT_STREQ(buf, c.result) << c.digits;
  }
}

TEST_F(Currency, ValuesAndStatuses) {
  EXPECT_EQ(KOleCurrency(1, 5000).m_cur.int64, 15000);
  EXPECT_EQ(KOleCurrency(-1, -5000).m_cur.int64, -15000);
  EXPECT_EQ(KOleCurrency(1, 5000).GetStatus(), KOleCurrency::valid);
  KOleCurrency big(LONG_MAX, 0);
  EXPECT_EQ(big.GetStatus(), KOleCurrency::invalid);
  KOleCurrency edge(922337203685477L, 5807);
  EXPECT_EQ(edge.GetStatus(), KOleCurrency::valid);
  EXPECT_EQ(edge.m_cur.int64, LLONG_MAX);
  EXPECT_EQ(KOleCurrency(922337203685477L, 5808).GetStatus(), KOleCurrency::invalid);

  KOleCurrency c;
  c = tagKCY{42};
  EXPECT_EQ(c.m_cur.int64, 42);
  EXPECT_TRUE(KOleCurrency(tagKCY{-1}) < KOleCurrency(tagKCY{1}));
  EXPECT_TRUE(KOleCurrency(tagKCY{1}) >= KOleCurrency(tagKCY{1}));
  EXPECT_EQ(c.ParseCurrency("12.5"), 1);
  EXPECT_EQ(c.m_cur.int64, 125000);
  EXPECT_EQ(c.ParseCurrency("twelve"), 0);
  EXPECT_EQ(c.GetStatus(), KOleCurrency::invalid);
  EXPECT_EQ(c.m_cur.int64, 0);
  EXPECT_STREQ(c.Format(), "Invalid Currency.");
  c.SetStatus(KOleCurrency::null);
  EXPECT_STREQ(c.Format(), "");
  EXPECT_STREQ(KOleCurrency(1, 0).Format(), "");
}

TEST_F(Currency, Arithmetic) {
  auto cy = [](long long v) { return KOleCurrency(tagKCY{v}); };
  struct Case {
    KOleCurrency r;
    long long value;
    KOleCurrency::CurrencyStatus status;
  };
  const Case cases[] = {
      {cy(15000) + cy(5), 15005, KOleCurrency::valid},
      {cy(LLONG_MAX) + cy(1), LLONG_MIN, KOleCurrency::invalid}, // wrapped sum stays
      {cy(LLONG_MIN) - cy(1), LLONG_MAX, KOleCurrency::invalid},
      {cy(-5) - cy(10), -15, KOleCurrency::valid},
      {cy(0x100000000LL) + cy(0xFFFFFFFFLL), 0x1FFFFFFFFLL, KOleCurrency::valid},
      {-cy(LLONG_MIN), LLONG_MIN, KOleCurrency::invalid},
      {-cy(7), -7, KOleCurrency::valid},
      {cy(15000) * 3, 45000, KOleCurrency::valid},
      {cy(-15000) * 3, -45000, KOleCurrency::valid},
      {cy(-15000) * -3, 45000, KOleCurrency::valid},
      {cy(0) * 99, 0, KOleCurrency::valid},
      {cy(LLONG_MIN) * 1, LLONG_MIN, KOleCurrency::valid},
      {cy(LLONG_MIN) * -1, LLONG_MIN, KOleCurrency::invalid},
      {cy(LLONG_MAX / 2 + 1) * 2, LLONG_MIN, KOleCurrency::invalid},
      {cy(0x100000000LL) * 0x80000000L, LLONG_MIN, KOleCurrency::invalid}, // 2^63
      {cy(0xFFFFFFFFLL) * 0x7FFFFFFFL, 0xFFFFFFFFLL * 0x7FFFFFFFLL, KOleCurrency::valid},
      {cy(3) * 0x7FFFFFFFFFFFFFFFL, LLONG_MIN, KOleCurrency::invalid},
      {cy(-5) / 2, -2, KOleCurrency::valid},
      {cy(5) / -2, -2, KOleCurrency::valid},
      {cy(LLONG_MAX) / 7, LLONG_MAX / 7, KOleCurrency::valid},
      {cy(1234) / 0, LLONG_MIN, KOleCurrency::invalid},
      {cy(0) / 0, LLONG_MIN, KOleCurrency::invalid},
      {cy(LLONG_MIN) / -1, LLONG_MIN, KOleCurrency::invalid},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    EXPECT_EQ(cases[i].r.m_cur.int64, cases[i].value) << i;
    EXPECT_EQ(cases[i].r.GetStatus(), cases[i].status) << i;
  }
}

TEST_F(Currency, StatusRulesOfOperands) {
  KOleCurrency valid(tagKCY{10}), invalid(tagKCY{20}), null(tagKCY{30});
  invalid.SetStatus(KOleCurrency::invalid);
  null.SetStatus(KOleCurrency::null);
  EXPECT_EQ((null + invalid).GetStatus(), KOleCurrency::null);
  EXPECT_EQ((invalid + null).GetStatus(), KOleCurrency::null);
  EXPECT_EQ((null + invalid).m_cur.int64, 0);
  EXPECT_EQ((valid - invalid).GetStatus(), KOleCurrency::invalid);
  EXPECT_EQ((valid - invalid).m_cur.int64, 0);
  // One-operand operations hand a value that is not valid back unchanged.
  for (const KOleCurrency& c : {invalid, null}) {
    EXPECT_EQ((-c).m_cur.int64, c.m_cur.int64);
    EXPECT_EQ((c * 2).m_cur.int64, c.m_cur.int64);
    EXPECT_EQ((c / 0).GetStatus(), c.GetStatus());
  }
}
