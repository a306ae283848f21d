// KLongNumber's 96-bit arithmetic and KDecimal's text, record and variant
// conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kc_testloc.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_dec.h"

using namespace KCLASSIC;

namespace {

using u128 = unsigned __int128;

KLongNumber num(u128 v) {
  uint8_t b[12];
  for (int i = 0; i < 12; ++i) b[i] = uint8_t(v >> (8 * i));
  return KLongNumber(b);
}

u128 val(const KLongNumber& n) {
  u128 v = 0;
  for (int i = 11; i >= 0; --i) v = (v << 8) | n[i];
  return v;
}

const u128 kMax96 = (u128(1) << 96) - 1;

std::string text_of(const KDecimal& d) {
  char* p = d.GetBSTRVal();
  std::string s(p, KBinSysStringByteLen(p));
  KBinSysFreeString(p);
  return s;
}

class Decimal : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

} // namespace

TEST(LongNumber, AdditionCarriesAndSubtractionSigns) {
  KLongNumber s = num(0xFFFFFFFFFFFFFFFFull) + num(1);
  EXPECT_TRUE(val(s) == u128(1) << 64);
  EXPECT_EQ(s.GetCarry(), 0);
  EXPECT_EQ(s.GetSign(), 0);
  KLongNumber wrap = num(kMax96) + num(2);
  EXPECT_TRUE(val(wrap) == 1);
  EXPECT_EQ(wrap.GetSign(), 1); // the carry out of 96 bits lands in the sign bit
  KLongNumber d = num(5) - num(7);
  EXPECT_EQ(d.GetSign(), 1);
  EXPECT_TRUE(val(d) == kMax96 - 1); // two's complement of 2
  KLongNumber e = num(7) - num(5);
  EXPECT_EQ(e.GetSign(), 0);
  EXPECT_TRUE(val(e) == 2);
  EXPECT_EQ(e.GetCarry(), 1);
}

TEST(LongNumber, Comparisons) {
  EXPECT_TRUE(num(5) < num(7));
  EXPECT_FALSE(num(7) < num(5));
  EXPECT_FALSE(num(7) < num(7));
  EXPECT_TRUE(num(7) > num(5));
  EXPECT_FALSE(num(7) > num(7)); // strict
  EXPECT_FALSE(num(5) > num(7));
  EXPECT_TRUE(num(kMax96) > num(u128(1) << 95));
  EXPECT_TRUE(num(42) == num(42));
  uint8_t b[12] = {42};
  EXPECT_TRUE(KLongNumber(b, 1, 1) == num(42)); // flags not compared
}

TEST(LongNumber, BitOperations) {
  KLongNumber a = num(0xF0F0), b = num(0xFF00);
  EXPECT_TRUE(val(a & b) == 0xF000);
  EXPECT_TRUE(val(a | b) == 0xFFF0);
  EXPECT_TRUE(val(num(0x1234) & 0x0Fu) == 0x04);
  EXPECT_TRUE(val(num(0x1234) | 0x0F01u) == 0x35); // only the low byte
  KLongNumber inv = ~num(0);
  EXPECT_TRUE(val(inv) == kMax96);
  EXPECT_EQ(inv.GetSign(), 1);
  EXPECT_EQ(KLongNumber::NegetiveZero(inv.m_bytes), 1);
  EXPECT_EQ(KLongNumber::NegetiveZero(num(1).m_bytes), 0);
  EXPECT_TRUE(val(num(1) << 95) == u128(1) << 95);
  EXPECT_TRUE(val(num(1) << 96) == 0);
  EXPECT_TRUE(val(num(u128(3) << 94) << 1) == u128(1) << 95);
  EXPECT_TRUE(val(num(u128(1) << 95) >> 95) == 1);
  uint8_t bytes[12] = {0x01};
  KLongNumber::LeftShift(bytes, 9);
  EXPECT_EQ(bytes[1], 0x02);
  KLongNumber::RightShift(bytes, 10);
  EXPECT_EQ(bytes[0], 0x00);
}

TEST(LongNumber, MultiplyDivideRemainder) {
  EXPECT_TRUE(val(num(123456789) * 1000u) == u128(123456789000ull));
  EXPECT_TRUE(val(num(kMax96) * 2u) == kMax96 - 1); // modulo 2^96
  KLongNumber n = num(1234567);
  EXPECT_EQ(n % 10u, 7u);
  EXPECT_TRUE(val(n) == 123456);
  struct Case {
    u128 a, b, q, r;
  };
  const Case cases[] = {{100, 7, 14, 2},
                        {7, 7, 1, 0},
                        {5, 9, 0, 5},
                        {kMax96, 10, kMax96 / 10, kMax96 % 10},
                        {kMax96, (u128(1) << 40) + 3, kMax96 / ((u128(1) << 40) + 3), kMax96 % ((u128(1) << 40) + 3)}};
  for (const Case& c : cases) {
    KLongNumber q = num(99), r = num(99);
    unsigned_divide(num(c.a), num(c.b), q, r);
    EXPECT_TRUE(val(q) == c.q);
    EXPECT_TRUE(val(r) == c.r);
  }
  KLongNumber q = num(99), r = num(98);
  unsigned_divide(num(0), num(3), q, r);
  unsigned_divide(num(3), num(0), q, r);
  EXPECT_TRUE(val(q) == 99 && val(r) == 98);
}

TEST_F(Decimal, TextRoundTrips) {
  struct Case {
    const char* in;
    const char* out;
    int scale;
    int negative;
  };
  const Case cases[] = {{"1.5000", "1.5000", 4, 0},
                        {"-0.05", "-0.05", 2, 1},
                        {"0", "0", 0, 0},
                        {"0.00", "0.00", 2, 0},
                        {"  +12.34  ", "12.34", 2, 0},
                        {"007", "7", 0, 0},
                        {".25", "0.25", 2, 0},
                        {"3.", "3", 0, 0},
                        {"79228162514264337593543950335", "79228162514264337593543950335", 0, 0},
                        {"-7.9228162514264337593543950335", "-7.9228162514264337593543950335", 28, 1},
                        {"0.0000000000000000000000000001", "0.0000000000000000000000000001", 28, 0}};
  for (const Case& c : cases) {
    KDecimal d;
    ASSERT_EQ(d.CreateFromBSTR(c.in), 1) << c.in;
    EXPECT_EQ(text_of(d), c.out);
    EXPECT_EQ(d.m_scale, c.scale);
    EXPECT_EQ(d.m_negative, c.negative);
    KDecimal k;
    EXPECT_EQ(k.CreateFromKString(KZString(c.in)), 1);
    EXPECT_TRUE(k.m_mag == d.m_mag);
  }
}

TEST_F(Decimal, RefusedTexts) {
  struct Case {
    const char* text;
    long status;
  };
  const Case cases[] = {{"", KDISP_E_TYPEMISMATCH},
                        {"   ", KDISP_E_TYPEMISMATCH},
                        {"abc", KDISP_E_TYPEMISMATCH},
                        {"1.2.3", KDISP_E_TYPEMISMATCH},
                        {"1e3", KDISP_E_TYPEMISMATCH},
                        {"-", KDISP_E_TYPEMISMATCH},
                        {".", KDISP_E_TYPEMISMATCH},
                        {"1-2", KDISP_E_TYPEMISMATCH},
                        {"79228162514264337593543950336", KDISP_E_OVERFLOW},
                        {"0.00000000000000000000000000001", KDISP_E_OVERFLOW},
                        {nullptr, KDISP_E_TYPEMISMATCH}};
  for (const Case& c : cases) {
    KDecimal d;
    d.CreateFromBSTR("4.2");
    EXPECT_EQ(d.CreateFromBSTR(c.text), 0) << (c.text ? c.text : "NULL");
    EXPECT_EQ(text_of(d), "4.2"); // unchanged
    EXPECT_EQ(d.ReadText(c.text), c.status);
  }
}

TEST_F(Decimal, LocaleSeparatorReads) {
  kctest::ThreadLocale german(kctest::kGerman);
  KDecimal d;
  ASSERT_EQ(d.CreateFromBSTR("-1,25"), 1);
  EXPECT_EQ(text_of(d), "-1.25");
  ASSERT_EQ(d.CreateFromBSTR("2.5"), 1);
  EXPECT_EQ(text_of(d), "2.5");
  EXPECT_EQ(d.CreateFromBSTR("1.000,5"), 0);
}

TEST_F(Decimal, RecordAndVariant) {
  tagKDEC rec{};
  rec.scale = 3;
  rec.sign = KDECIMAL_NEG;
  rec.Lo32 = 1;
  rec.Mid32 = 2;
  rec.Hi32 = 3;
  KDecimal d;
  ASSERT_EQ(d.CreateFromDecimal(rec), 1);
  EXPECT_EQ(d.m_negative, 1);
  EXPECT_EQ(d.m_scale, 3);
  EXPECT_TRUE(val(d.m_mag) == (u128(3) << 64 | u128(2) << 32 | 1));
  tagKDEC back = d.GetDecimalVal();
  EXPECT_EQ(back.wReserved, 0);
  EXPECT_EQ(back.scale, 3);
  EXPECT_EQ(back.sign, KDECIMAL_NEG);
  EXPECT_EQ(back.Lo32, 1u);
  EXPECT_EQ(back.Mid32, 2u);
  EXPECT_EQ(back.Hi32, 3u);
  // A positive record clears the sign.
  rec.sign = 0;
  d.CreateFromDecimal(rec);
  EXPECT_EQ(d.m_negative, 0);

  tagKVARIANT v = d.GetVariantVal();
  EXPECT_EQ(v.vt, KVT_DECIMAL);
  KDecimal e;
  EXPECT_EQ(e.CreateFromVariant(v), 1);
  EXPECT_TRUE(e.m_mag == d.m_mag);
  EXPECT_EQ(e.m_scale, 3);
  tagKVARIANT t{};
  t.vt = KVT_KSTR;
  t.bstrVal = KBinSysAllocString("-9.5");
  EXPECT_EQ(e.CreateFromVariant(t), 1);
  EXPECT_EQ(text_of(e), "-9.5");
  KBinSysFreeString(t.bstrVal);
  tagKVARIANT l{};
  l.vt = KVT_I4;
  EXPECT_EQ(e.CreateFromVariant(l), 0);
}

TEST_F(Decimal, AddLongNumber) {
  KDecimal d;
  d.CreateFromBSTR("1.99");
  d.AddLongNumber(num(1));
  EXPECT_EQ(text_of(d), "2.00");
}
