// KVariant: kinds, normalisation, conversions, negation, SQL literal text;
// and the variant helpers with defaults.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "bo/bo_util.h"
#include "bo/bo_var.h"
#include "bo_fixture.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_dec.h"

using namespace KCLASSIC;
using botest::BoTest;
using kctest::catchKErr;

namespace {

tagKVARIANT raw(uint16_t vt, int64_t bits = 0) {
  tagKVARIANT v{};
  v.vt = vt;
  v.llVal = bits;
  return v;
}

tagKVARIANT by_ref(uint16_t vt, const void* target) {
  tagKVARIANT v{};
  v.vt = uint16_t(vt | KVT_BYREF);
  std::memcpy(&v.llVal, &target, sizeof target);
  return v;
}

std::string sql(const KVariant& v, ESqlOption option, int boType) {
  KZString out("stale");
  v.AsSqlString(out, option, boType);
  return static_cast<const char*>(out);
}

TEST_F(BoTest, KindsOfVariantTypes) {
  struct Case {
    uint16_t vt;
    EKVType kind;
  };
  const Case cases[] = {
      {KVT_EMPTY, kvEmpty}, {KVT_NULL, kvNull},       {KVT_I2, kvLong},       {KVT_I4, kvLong},
      {KVT_R4, kvFloat},    {KVT_R8, kvDouble},       {KVT_CY, kvCurrency},   {KVT_DATE, kvDateTime},
      {8, kvString},        {KVT_KSTR, kvString},     {KVT_DECIMAL, kvDecimal}, {0x4003, kvLong},
      {KVT_BOOL, kvString}, {KVT_ERROR, kvString},    {0x4005, kvDouble},
  };
  for (const Case& c : cases) {
    KVariant v;
    v.vt = c.vt; // the kind reads the type code alone
    EXPECT_EQ(v.GetType(), c.kind) << c.vt;
    v.vt = KVT_EMPTY;
  }
  const int boTypes[] = {7, 7, 0, 3, 4, 7, 9, 12, 11, 7};
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(KVariant::KV2BOType(EKVType(k)), boTypes[k]) << k;
}

TEST_F(BoTest, ConstructorsGiveTheirTypes) {
  KVariant l(42L);
  EXPECT_EQ(l.vt, KVT_I4);
  KVariant f(1.5f);
  EXPECT_EQ(f.vt, KVT_R4);
  KVariant d(2.5);
  EXPECT_EQ(d.vt, KVT_R8);
  KVariant s("ab\0c");
  EXPECT_EQ(s.vt, KVT_KSTR);
  EXPECT_EQ(KBinSysStringByteLen(s.bstrVal), 2u);
  KZString withNul("xyz");
  KVariant z(withNul);
  EXPECT_STREQ(z.bstrVal, "xyz");
  KVariant cy(KOleCurrency(3, 5000));
  EXPECT_EQ(cy.vt, KVT_CY);
  EXPECT_EQ(cy.cyVal.int64, 35000);
  KVariant dt(KDateTime(45000.25));
  EXPECT_EQ(dt.vt, KVT_DATE);
  EXPECT_EQ(dt.date, 45000.25);
  EXPECT_TRUE(KVariant().IsEmpty());
  KVariant n(raw(KVT_NULL));
  EXPECT_TRUE(n.IsNull());
  EXPECT_FALSE(n.IsEmpty());
}

TEST_F(BoTest, VariantsFromOutsideAreNormalised) {
  int16_t shortVal = -7;
  int32_t longVal = 1234;
  float floatVal = 0.5f;
  char* text = KBinSysAllocStringByteLen("by ref", 6);
  tagKVARIANT inner = raw(KVT_I4, 99);
  tagKVARIANT innerRef = by_ref(12, &inner);
  tagKVARIANT outerRef = by_ref(12, &innerRef);

  struct Case {
    tagKVARIANT in;
    uint16_t vt;
    double value; // numeric value, or 0 for the text case
  };
  const Case cases[] = {
      {raw(KVT_I2, uint16_t(-3)), KVT_I4, -3},
      {raw(KVT_UI1, 200), KVT_I4, 200},
      {raw(18, 65535), KVT_I4, 65535},
      {raw(19, 70000), KVT_I4, 70000},
      {by_ref(KVT_I2, &shortVal), KVT_I4, -7},
      {by_ref(KVT_I4, &longVal), KVT_I4, 1234},
      {by_ref(KVT_R4, &floatVal), KVT_R8, 0.5},
      {outerRef, KVT_I4, 99},
  };
  for (const Case& c : cases) {
    KVariant v(c.in);
    EXPECT_EQ(v.vt, c.vt);
    EXPECT_EQ(v.AsDouble(), c.value);
  }
  tagKVARIANT r4 = raw(KVT_R4);
  r4.fltVal = 2.25f;
  EXPECT_EQ(KVariant(r4).vt, KVT_R8);
  KVariant t(by_ref(KVT_KSTR, &text));
  EXPECT_EQ(t.vt, KVT_KSTR);
  EXPECT_STREQ(t.bstrVal, "by ref");
  EXPECT_NE(t.bstrVal, text); // a copy, not the caller's text
  KBinSysFreeString(text);
}

TEST_F(BoTest, UnrecognisedVariantsAreRefused) {
  tagKVARIANT object = raw(9);
  tagKVARIANT objectRef = by_ref(9, &object);
  tagKVARIANT nullRef = by_ref(KVT_I4, nullptr);
  tagKVARIANT tooBig = raw(19);
  tooBig.lVal = int32_t(0x80000000u);
  for (const tagKVARIANT& in : {object, objectRef, nullRef, tooBig, raw(KVT_ARRAY | KVT_I4), raw(77)}) {
    auto t = catchKErr([&] { KVariant v(in); });
    EXPECT_TRUE(t.thrown) << in.vt;
    EXPECT_EQ(t.id, 0x8B000C9);
    EXPECT_EQ(t.method, "UtlNormalizeVariant");
    EXPECT_EQ(t.params, std::vector<std::string>{"Unrecognized Variant Type"});
  }
}

TEST_F(BoTest, ChangeTypeConvertsOrLeavesAlone) {
  KVariant l(5L);
  l.ChangeType(kvLong);
  EXPECT_EQ(l.vt, KVT_I4);
  KVariant s;
  s.vt = KVT_I2;
  s.iVal = -12;
  s.ChangeType(kvLong);
  EXPECT_EQ(s.vt, KVT_I4);
  EXPECT_EQ(s.lVal, -12);
  KVariant t("17");
  t.ChangeType(kvDouble);
  EXPECT_EQ(t.vt, KVT_R8);
  EXPECT_EQ(t.dblVal, 17.0);
  t.ChangeType(kvEmpty);
  EXPECT_TRUE(t.IsEmpty());

  KVariant bad("x");
  auto e = kctest::thrown([&] { bad.ChangeType(kvLong); });
  EXPECT_EQ(e->GetErrorNum(), 0x8B000C9);
  EXPECT_STREQ(e->GetMethodName(), "KVariant::ChangeType");
  ASSERT_EQ(e->GetParamCount(), 1);
  EXPECT_STREQ(e->GetParam(0), "Change type failed");
  ASSERT_NE(e->GetNext(), nullptr);
  EXPECT_EQ(e->GetNext()->GetErrorNum(), 0);
}

TEST_F(BoTest, AsConversionsLeaveTheValueAlone) {
  KVariant s("12");
  EXPECT_EQ(s.AsLong(), 12);
  EXPECT_EQ(s.AsDouble(), 12.0);
  EXPECT_EQ(s.AsFloat(), 12.0f);
  EXPECT_EQ(s.vt, KVT_KSTR);
  KVariant l(42L);
  KZString text;
  EXPECT_STREQ(l.AsString(text), "42");
  EXPECT_EQ(l.vt, KVT_I4);
  KVariant d(KDateTime(KOleDateTime(2024, 2, 29, 10, 20, 30)));
  std::tm tm{};
  d.AsTm(tm);
  EXPECT_EQ(tm.tm_year, 124);
  EXPECT_EQ(tm.tm_mon, 1);
  EXPECT_EQ(tm.tm_mday, 29);
  EXPECT_EQ(tm.tm_yday, 59);
  KOleCurrency cy;
  EXPECT_EQ(KVariant(7L).AsCurrency(cy).m_cur.int64, 70000);
  KVariant x("x");
  auto t = catchKErr([&] { x.AsLong(); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.method, "KVariant::ChangeType");
  EXPECT_EQ(x.vt, KVT_KSTR);
  EXPECT_STREQ(x.bstrVal, "x");
  tagKVARIANT copy;
  x.GetVariant(copy);
  EXPECT_NE(copy.bstrVal, x.bstrVal);
  EXPECT_STREQ(copy.bstrVal, "x");
  KVariantClear(&copy);
}

TEST_F(BoTest, NegativeAndNegate) {
  KVariant values[] = {KVariant(-3L), KVariant(2.5f), KVariant(-1.25), KVariant(KOleCurrency(-4, 0)),
                       KVariant(3L)};
  const int negative[] = {1, 0, 1, 1, 0};
  for (size_t i = 0; i < std::size(values); ++i) {
    KVariant& v = values[i];
    EXPECT_EQ(v.IsNegative(), negative[i]) << i;
    double before = v.AsDouble();
    v.Negate();
    EXPECT_EQ(v.AsDouble(), -before) << i;
    EXPECT_EQ(v.IsNegative(), negative[i] ? 0 : 1) << i;
    v.Negate();
    EXPECT_EQ(v.AsDouble(), before) << i;
  }
  KVariant lowest(long(INT32_MIN));
  lowest.Negate(); // wraps, no undefined behaviour
  EXPECT_EQ(lowest.lVal, INT32_MIN);
  KVariant dec("-12.50");
  dec.ChangeType(kvDecimal);
  EXPECT_EQ(dec.IsNegative(), 1);
  dec.Negate();
  EXPECT_EQ(dec.IsNegative(), 0);
  KZString text;
  EXPECT_STREQ(dec.AsString(text), "12.50");
  KVariant s("abc");
  s.Negate();
  EXPECT_STREQ(s.bstrVal, "abc");
  KVariant date(KDateTime(100.5));
  date.Negate();
  EXPECT_EQ(date.date, 100.5);
  EXPECT_EQ(KVariant("-1").IsNegative(), 0);
}

TEST_F(BoTest, SqlTextOfEachKind) {
  KVariant date(KDateTime(KOleDateTime(2024, 5, 6, 7, 8, 9)));
  struct Case {
    KVariant v;
    ESqlOption option;
    int boType;
    const char* text;
  };
  const Case cases[] = {
      {KVariant("O'Brien"), eSqlQuoted, -1, "'O''Brien'"},
      {KVariant("O'Brien"), eSqlBare, -1, "O'Brien"},
      {KVariant(42L), eSqlQuoted, -1, "42"},
      {KVariant(42L), eSqlQuoted, 7, "'42'"},
      {KVariant("1; x"), eSqlQuoted, 0, ""},        // never unquoted text
      {KVariant("12"), eSqlQuoted, 0, "12"},
      {KVariant("x"), eSqlQuoted, 3, ""},
      {KVariant(2.5), eSqlQuoted, -1, "2.500000"},
      {KVariant(2.5), eSqlQuoted, 7, "'2.500000'"},
      {KVariant(2.5), eSqlQuoted, 0, "2"},
      {date, eSqlQuoted, -1, "'2024-05-06 07:08:09'"},
      {date, eSqlBare, -1, "2024-05-06 07:08:09"},
      {date, eSqlQuoted, 0, ""},
      {KVariant(), eSqlQuoted, -1, "''"},
      {KVariant(KOleCurrency(12, 3400)), eSqlQuoted, -1, "12.3400"},
      {KVariant("a''b"), eSqlQuoted, 8, "'a''''b'"},
  };
  for (const Case& c : cases) EXPECT_EQ(sql(c.v, c.option, c.boType), c.text) << c.text;
}

TEST_F(BoTest, VariantHelpersWithDefaults) {
  tagKVARIANT empty = raw(KVT_EMPTY);
  tagKVARIANT null = raw(KVT_NULL);
  tagKVARIANT error = raw(KVT_ERROR, 5);
  for (const tagKVARIANT& v : {empty, null, error}) {
    EXPECT_EQ(UtlVariantToLong(v, 7), 7);
    EXPECT_EQ(UtlVariantToDouble(v, 1.5), 1.5);
    EXPECT_EQ(UtlVariantToBool(v, 1), 1);
    KZString out("x");
    EXPECT_STREQ(UtlVariantToString(v, out, "dflt"), "dflt");
    EXPECT_STREQ(out, "dflt");
  }
  KOleVariant twelve("12");
  EXPECT_EQ(UtlVariantToLong(twelve, 7), 12);
  EXPECT_EQ(UtlVariantToDouble(twelve, 0), 12.0);
  KOleVariant three(3L);
  EXPECT_EQ(UtlVariantToBool(three, 0), 1);
  KZString out;
  EXPECT_STREQ(UtlVariantToString(three, out, "d"), "3");
  EXPECT_STREQ(out, "3");

  KOleVariant x("x");
  struct Case {
    const char* method;
    void (*call)(const tagKVARIANT&);
  };
  const Case cases[] = {
      {"KUtlMisc::UtlVariantToLong", [](const tagKVARIANT& v) { UtlVariantToLong(v, 0); }},
      {"KUtlMisc::UtlVariantToDouble", [](const tagKVARIANT& v) { UtlVariantToDouble(v, 0); }},
      {"KUtlMisc::UtlVariantToBool", [](const tagKVARIANT& v) { UtlVariantToBool(v, 0); }},
  };
  for (const Case& c : cases) {
    auto t = catchKErr([&] { c.call(x); });
    EXPECT_TRUE(t.thrown) << c.method;
    EXPECT_EQ(t.id, 0x8B000C9);
    EXPECT_EQ(t.method, c.method);
    EXPECT_EQ(t.params, std::vector<std::string>{""});
  }
}

TEST_F(BoTest, NormaliseIntoACallersVariant) {
  tagKVARIANT in = raw(KVT_I2, 9);
  tagKVARIANT out = raw(KVT_EMPTY);
  UtlNormalizeVariant(&in, out);
  EXPECT_EQ(out.vt, KVT_I4);
  EXPECT_EQ(out.lVal, 9);
  KOleVariant copy = UtlNormalizeVariant(&in);
  EXPECT_EQ(copy.vt, KVT_I4);
  EXPECT_EQ(copy.lVal, 9);
}

} // namespace
