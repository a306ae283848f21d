#include "core/cmn/cmn_val.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/core_fixture.h"
#include "core/loc/loc_reg.h"

namespace {

class CmnVal : public ::testing::Test {
 protected:
  void SetUp() override {
    core_start_cmn();
    cmn_alrt_clear(nullptr);
    loc_reg_reset();
    cmn_typ_conv_reset();
  }
};

cmn_ty_decimal dec(const char* text, long precision = 0, long scale = 0) {
  cmn_ty_decimal d{};
  std::strncpy(d.text, text, sizeof d.text - 1);
  d.precision = precision;
  d.scale = scale;
  return d;
}

std::string str(const OrbnCmnVal& v) {
  std::ostringstream o;
  o << v;
  return o.str();
}

TEST_F(CmnVal, ConstructorsAndAccessors) {
  EXPECT_EQ(OrbnCmnVal().GetValType(), CMN_TYP_LONG);
  EXPECT_EQ(OrbnCmnVal().GetLongVal(), 0);
  EXPECT_EQ(OrbnCmnVal(7L).GetLongVal(), 7);
  OrbnCmnVal s(static_cast<signed char>(-3));
  EXPECT_EQ(s.GetValType(), CMN_TYP_SHORT);
  EXPECT_EQ(s.GetShortVal(), -3);
  EXPECT_EQ(OrbnCmnVal(1.5f).GetValType(), CMN_TYP_FLOAT);
  EXPECT_EQ(OrbnCmnVal(2.5).GetDoubleVal(), 2.5);
  OrbnCmnVal d(dec("1.25", 3, 2));
  EXPECT_STREQ(d.GetDecimalVal().text, "1.25");
  EXPECT_EQ(d.GetDecimalVal().scale, 2);
  char text[] = "abc";
  OrbnCmnVal t(text);
  EXPECT_EQ(t.value.p, text);
  cmn_ty_value pair{CMN_TYP_LONG, 42};
  EXPECT_EQ(OrbnCmnVal(&pair).GetLongVal(), 42);
  OrbnCmnValRec rec{CMN_TYP_DOUBLE, {}};
  rec.value.d = 9.5;
  EXPECT_EQ(OrbnCmnVal(&rec).GetDoubleVal(), 9.5);
  struct {
    long type;
    double v;
    long want_type;
    std::string text;
  } typed[] = {{CMN_TYP_DOUBLE, 1.5, CMN_TYP_DOUBLE, "1.5"},
               {CMN_TYP_SHORT, -2.9, CMN_TYP_SHORT, "-2"},
               {CMN_TYP_FLOAT, 0.5, CMN_TYP_FLOAT, "0.5"},
               {CMN_TYP_DECIMAL, 2.25, CMN_TYP_DECIMAL, "2.250000"},
               {CMN_TYP_LONG, -7.9, CMN_TYP_LONG, "-7"},
               {600, 3.9, CMN_TYP_LONG, "3"},
               {CMN_TYP_CHAR_P, 3.9, CMN_TYP_CHAR_P, ""}};
  for (auto& c : typed) {
    OrbnCmnVal v(c.type, c.v);
    EXPECT_EQ(v.GetValType(), c.want_type) << c.type;
    EXPECT_EQ(str(v), c.text) << c.type;
  }
  OrbnCmnVal copy(d);
  EXPECT_STREQ(copy.GetDecimalVal().text, "1.25");
  EXPECT_EQ(copy.GetDecimalVal().precision, 3);
}

TEST_F(CmnVal, CommonTypeTable) {
  char text[] = "x";
  OrbnCmnVal vals[] = {OrbnCmnVal(1L), OrbnCmnVal(static_cast<signed char>(1)), OrbnCmnVal(1.0f), OrbnCmnVal(text),
                       OrbnCmnVal(1.0), OrbnCmnVal(dec("1"))};
  OrbnCmnValRec raw{600, {}};
  OrbnCmnVal other(&raw);
  const long want[6][7] = {
      {512, 512, 514, -1, 613, 766, -1}, {512, 513, 514, -1, 613, 766, -1}, {514, 514, 514, -1, 613, 766, -1},
      {-1, -1, -1, 516, -1, -1, -1},     {613, 613, 613, -1, 613, 613, -1}, {766, 766, 766, -1, 766, 766, -1}};
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 6; ++b) EXPECT_EQ(CommonType(vals[a], vals[b]), want[a][b]) << a << "," << b;
    EXPECT_EQ(CommonType(vals[a], other), want[a][6]);
  }
  EXPECT_EQ(CommonType(other, vals[0]), 0);
}

TEST_F(CmnVal, AdditionAndMultiplicationPromote) {
  OrbnCmnVal a(static_cast<signed char>(100));
  a *= OrbnCmnVal(static_cast<signed char>(100));  // 10000
  a += a;
  a += OrbnCmnVal(static_cast<signed char>(100));
  a *= OrbnCmnVal(static_cast<signed char>(3));  // 60300 wraps in 16 bits
  EXPECT_EQ(a.GetValType(), CMN_TYP_SHORT);
  EXPECT_EQ(a.GetShortVal(), static_cast<short>(60300));
  EXPECT_LT(a.GetShortVal(), 0);
  OrbnCmnVal l(5L);
  l += OrbnCmnVal(static_cast<signed char>(2));
  EXPECT_EQ(l.GetValType(), CMN_TYP_LONG);
  EXPECT_EQ(l.GetLongVal(), 7);
  OrbnCmnVal s(static_cast<signed char>(2));
  s += OrbnCmnVal(5L);
  EXPECT_EQ(s.GetValType(), CMN_TYP_LONG);
  EXPECT_EQ(s.GetLongVal(), 7);
  l *= OrbnCmnVal(0.5f);
  EXPECT_EQ(l.GetValType(), CMN_TYP_FLOAT);
  EXPECT_FLOAT_EQ(l.GetFloatVal(), 3.5f);
  l += OrbnCmnVal(0.25);
  EXPECT_EQ(l.GetValType(), CMN_TYP_DOUBLE);
  EXPECT_DOUBLE_EQ(l.GetDoubleVal(), 3.75);
  OrbnCmnVal one(1L);
  one += OrbnCmnVal(dec(".25", 2, 2));
  EXPECT_EQ(one.GetValType(), CMN_TYP_DECIMAL);
  EXPECT_STREQ(one.GetDecimalVal().text, "1.25");
  EXPECT_EQ(one.GetDecimalVal().precision, 2);  // the other operand's counts
  EXPECT_EQ(one.GetDecimalVal().scale, 2);
  OrbnCmnVal d(dec("1.5"));
  d *= OrbnCmnVal(4L);
  EXPECT_STREQ(d.GetDecimalVal().text, "6");
  EXPECT_EQ(d.GetDecimalVal().precision, 1);
  d += OrbnCmnVal(0.25);  // 0.25 prints exactly
  EXPECT_STREQ(d.GetDecimalVal().text, "6.25");
  char text[] = "t";
  OrbnCmnVal t(text);
  t += OrbnCmnVal(1L);
  EXPECT_EQ(t.value.p, text);
  d += OrbnCmnVal(text);
  EXPECT_STREQ(d.GetDecimalVal().text, "6.25");
  // A failing decimal operation leaves the value.
  OrbnCmnVal big(dec(std::string(38, '9').c_str()));
  big += OrbnCmnVal(1L);
  EXPECT_EQ(std::string(big.GetDecimalVal().text), std::string(38, '9'));
  long code = 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  EXPECT_EQ(code, CMN_DEC_OVERFLOW);
}

TEST_F(CmnVal, Division) {
  OrbnCmnVal a(7L);
  a /= OrbnCmnVal(2L);
  EXPECT_EQ(a.GetValType(), CMN_TYP_DECIMAL);
  EXPECT_STREQ(a.GetDecimalVal().text, "3.5");
  OrbnCmnVal five(5L);
  five /= OrbnCmnVal(0L);
  EXPECT_EQ(five.GetValType(), CMN_TYP_LONG);
  EXPECT_EQ(five.GetLongVal(), 5);
  for (const OrbnCmnVal& zero : {OrbnCmnVal(static_cast<signed char>(0)), OrbnCmnVal(0.0f), OrbnCmnVal(0.0),
                                 OrbnCmnVal(dec("0.0"))}) {
    OrbnCmnVal v(5L);
    v /= zero;
    EXPECT_EQ(v.GetValType(), CMN_TYP_LONG);
  }
  OrbnCmnVal third(1L);
  third /= OrbnCmnVal(3L);
  EXPECT_EQ(std::string(third.GetDecimalVal().text), "." + std::string(27, '3'));
  EXPECT_EQ(third.GetDecimalVal().precision, 27);
  EXPECT_EQ(third.GetDecimalVal().scale, 27);
  OrbnCmnVal q(dec("-1234567890.1"));
  q /= OrbnCmnVal(static_cast<signed char>(7));
  EXPECT_STREQ(q.GetDecimalVal().text, "-176366841.44285714285714285");  // cut: 28 characters
  EXPECT_EQ(q.GetDecimalVal().precision, 26);
  EXPECT_EQ(q.GetDecimalVal().scale, 17);
  OrbnCmnVal exact(dec("-1234567890.5"));
  exact /= OrbnCmnVal(7L);
  EXPECT_STREQ(exact.GetDecimalVal().text, "-176366841.5");
}

TEST_F(CmnVal, AssignmentComparisonUnaryMinusAndOutput) {
  OrbnCmnVal l(5L);
  l = OrbnCmnVal(2.5);
  EXPECT_EQ(l.GetValType(), CMN_TYP_DOUBLE);
  EXPECT_EQ(l.GetDoubleVal(), 2.5);
  char text[] = "t";
  OrbnCmnVal t(text);
  t = OrbnCmnVal(2.5);
  EXPECT_EQ(t.GetValType(), CMN_TYP_CHAR_P);
  EXPECT_EQ(t.value.p, text);
  OrbnCmnVal d(dec("1", 1, 0));
  d = OrbnCmnVal(42L);
  EXPECT_STREQ(d.GetDecimalVal().text, "42");
  EXPECT_EQ(d.GetDecimalVal().precision, 0);
  d = OrbnCmnVal(dec("-1.5", 2, 1));
  EXPECT_STREQ(d.GetDecimalVal().text, "-1.5");
  EXPECT_EQ(d.GetDecimalVal().precision, 2);
  OrbnCmnValRec raw{CMN_VAL_RAW, {}};
  OrbnCmnVal r(&raw);
  r = OrbnCmnVal(1.5f);
  EXPECT_EQ(r.GetValType(), CMN_TYP_FLOAT);

  EXPECT_TRUE(OrbnCmnVal(2L) <= OrbnCmnVal(2.5));
  EXPECT_FALSE(OrbnCmnVal(3L) <= OrbnCmnVal(2.5));
  EXPECT_TRUE(OrbnCmnVal(static_cast<signed char>(3)) >= OrbnCmnVal(3L));
  EXPECT_TRUE(OrbnCmnVal(dec("1.50")) >= OrbnCmnVal(1.5));
  EXPECT_TRUE(OrbnCmnVal(dec("1.50")) <= OrbnCmnVal(1.5));
  EXPECT_FALSE(OrbnCmnVal(dec("-2")) >= OrbnCmnVal(1L));
  EXPECT_FALSE(OrbnCmnVal(text) <= OrbnCmnVal(text));
  EXPECT_FALSE(OrbnCmnVal(text) >= OrbnCmnVal(1L));

  EXPECT_EQ((-OrbnCmnVal(5L)).GetLongVal(), -5);
  EXPECT_EQ((-OrbnCmnVal(static_cast<signed char>(5))).GetShortVal(), -5);
  EXPECT_STREQ((-OrbnCmnVal(dec("0012.5"))).GetDecimalVal().text, "-12.5");
  EXPECT_EQ((-OrbnCmnVal(text)).value.p, text);
  EXPECT_EQ(str(OrbnCmnVal(dec("-.25"))), "-.25");
  EXPECT_EQ(str(OrbnCmnVal(12L)), "12");
}

TEST_F(CmnVal, ToDecimal) {
  struct {
    OrbnCmnVal v;
    const char* text;  // null: no decimal
  } cases[] = {{OrbnCmnVal(-12L), "-12"},
               {OrbnCmnVal(static_cast<signed char>(7)), "7"},
               {OrbnCmnVal(0.25), "0.25"},
               {OrbnCmnVal(1234.5f), "1234.5"},
               {OrbnCmnVal(3.0), "3"},
               {OrbnCmnVal(0.1), nullptr},  // its 44 printed places do not fit a decimal
               {OrbnCmnVal(dec("1.5", 2, 1)), "1.5"},
               {OrbnCmnVal(const_cast<char*>("x")), nullptr}};
  for (auto& c : cases) {
    cmn_ty_decimal* d = c.v.ToDecimal();
    if (c.text == nullptr) {
      EXPECT_EQ(d, nullptr);
    } else {
      ASSERT_NE(d, nullptr) << c.text;
      EXPECT_STREQ(d->text, c.text);
      cmn_typ_dealloc("test", d);
    }
  }
}

TEST_F(CmnVal, RoundTexts) {
  struct {
    const char* in;
    long places;
    const char* out;
  } cases[] = {{"2.345", 2, "2.35"}, {"9.96", 1, "10.0"}, {"0.145", 1, "0.1"}, {"99.96", 1, "100.0"},
               {"-9.96", 1, "-10.0"}, {"1.2", 2, "1.2"},  {"12", 1, "12"},     {"abc", 2, "0.00"},
               {"", 2, ""},           {"9.5", 0, "10"},   {"1.49", 0, "1"},    {".96", 1, "1.0"},
               {"-1-2", 1, "0.00"}};
  for (auto& c : cases) {
    char buf[32];
    std::strcpy(buf, c.in);
    EXPECT_EQ(cmn_round(buf, c.places), 0);
    EXPECT_STREQ(buf, c.out) << c.in << " to " << c.places;
  }
  EXPECT_EQ(cmn_val_round(nullptr, 766, 2), 0);
  EXPECT_EQ(cmn_ctoi('7'), 7);
  EXPECT_EQ(cmn_ctoi('x'), 0);
  EXPECT_EQ(cmn_itoa(8), '8');
  EXPECT_EQ(cmn_itoa(9), '9');
  EXPECT_EQ(cmn_itoa(-1), '9');
}

}  // namespace
