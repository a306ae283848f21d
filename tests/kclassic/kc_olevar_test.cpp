// KOleVariant: constructors, assignments, ChangeType, Attach and Detach,
// equality; strings, dates and currency taken from variants.
#include <gtest/gtest.h>

#include <cstring>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kc_testvar.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_var.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class OleVariant : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

} // namespace

TEST_F(OleVariant, Constructors) {
  ThreadLocale english(kEnglish);
  KOleVariant t("abc");
  EXPECT_EQ(t.vt, KVT_KSTR);
  EXPECT_EQ(KBinSysStringByteLen(t.bstrVal), 3u);
  KOleVariant n(static_cast<const char*>(nullptr));
  EXPECT_EQ(n.vt, KVT_KSTR);
  EXPECT_EQ(n.bstrVal, nullptr);
  KOleVariant c("12.5", KVT_CY);
  EXPECT_EQ(c.vt, KVT_CY);
  EXPECT_EQ(c.cyVal.int64, 125000);
  KOleVariant bad("x", KVT_DECIMAL); // the status is ignored
  EXPECT_EQ(bad.vt, KVT_ERROR);
  EXPECT_EQ(KOleVariant(short(7), KVT_BOOL).boolVal, 1);
  EXPECT_EQ(KOleVariant(short(0), KVT_BOOL).boolVal, 0);
  EXPECT_EQ(KOleVariant(7, KVT_BOOL).vt, KVT_BOOL);
  EXPECT_EQ(KOleVariant(7, KVT_BOOL).boolVal, 1);
  KOleVariant s(short(-3));
  EXPECT_EQ(s.vt, KVT_I2);
  EXPECT_EQ(s.iVal, -3);
  KOleVariant e(5L, KVT_ERROR);
  EXPECT_EQ(e.vt, KVT_ERROR);
  EXPECT_EQ(e.scode, 5);
  KOleVariant l(5L, KVT_R8); // any other type: a long
  EXPECT_EQ(l.vt, KVT_I4);
  KOleVariant copy(t);
  EXPECT_NE(copy.bstrVal, t.bstrVal);
  EXPECT_TRUE(copy == &t);
  const tagKVARIANT& raw = t;
  KOleVariant fromPtr(&raw);
  EXPECT_TRUE(fromPtr == raw);
  // A NULL source is refused through the check, not read.
  auto refused = thrown([] { KOleVariant bad(static_cast<const tagKVARIANT*>(nullptr)); });
  expectErr(*refused, KERR_UNKNOWN_EXCEPTION, "KAfxCheckError", "Ole Exception");
  EXPECT_EQ(KVariantCopy(nullptr, &t), KE_INVALIDARG);
  EXPECT_EQ(KVariantClear(nullptr), KE_INVALIDARG);
}

TEST_F(OleVariant, Assignments) {
  KOleVariant v;
  v = "text";
  EXPECT_STREQ(v.bstrVal, "text");
  v = KZString("other");
  EXPECT_EQ(v.vt, KVT_KSTR);
  EXPECT_STREQ(v.bstrVal, "other");
  v = static_cast<const char*>(nullptr);
  EXPECT_EQ(v.vt, KVT_KSTR);
  EXPECT_EQ(v.bstrVal, nullptr);
  v = static_cast<unsigned char>(200);
  EXPECT_EQ(v.vt, KVT_UI1);
  EXPECT_EQ(v.bVal, 200);
  v = short(9);
  EXPECT_EQ(v.vt, KVT_I2);
  v = 11L;
  EXPECT_EQ(v.vt, KVT_I4);
  EXPECT_EQ(v.lVal, 11);
  v = KOleVariant(1L, KVT_BOOL);
  v = short(0);
  EXPECT_EQ(v.vt, KVT_BOOL); // a boolean stays a boolean
  EXPECT_EQ(v.boolVal, 0);
  v = 42L;
  EXPECT_EQ(v.vt, KVT_BOOL);
  EXPECT_EQ(v.boolVal, 1);
  v = KOleVariant(1L, KVT_ERROR);
  v = 77L;
  EXPECT_EQ(v.vt, KVT_ERROR);
  EXPECT_EQ(v.scode, 77);
  v = 1.5f;
  EXPECT_EQ(v.vt, KVT_R4);
  v = 2.5;
  EXPECT_EQ(v.vt, KVT_R8);
  EXPECT_EQ(v.dblVal, 2.5);
  KOleCurrency c(tagKCY{99});
  c.SetStatus(KOleCurrency::invalid); // not consulted
  v = c;
  EXPECT_EQ(v.vt, KVT_CY);
  EXPECT_EQ(v.cyVal.int64, 99);
  v = KOleDateTime(1.25);
  EXPECT_EQ(v.vt, KVT_DATE);
  EXPECT_EQ(v.date, 1.25);
  KOleVariant w;
  w = v;
  EXPECT_TRUE(w == &v);
  w = static_cast<const tagKVARIANT*>(&v);
  EXPECT_TRUE(w == &v);
  w = w; // self-assignment keeps the value
  EXPECT_EQ(w.date, 1.25);
}

TEST_F(OleVariant, ChangeTypeAttachDetach) {
  ThreadLocale english(kEnglish);
  KOleVariant v("12.5");
  v.ChangeType(KVT_CY);
  EXPECT_EQ(v.cyVal.int64, 125000);
  v.ChangeType(KVT_CY); // already that type
  EXPECT_EQ(v.cyVal.int64, 125000);
  KOleVariant src("7");
  v.ChangeType(KVT_I4, &src);
  EXPECT_EQ(v.vt, KVT_I4);
  EXPECT_EQ(v.lVal, 7);
  EXPECT_EQ(src.vt, KVT_KSTR);
  auto e = thrown([&] { v.ChangeType(KVT_DATE); });
  expectErr(*e, KERR_UNKNOWN_EXCEPTION, "KAfxCheckError", "Ole Exception");

  KOleVariant a;
  tagKVARIANT raw = KOleVariant("owned").Detach();
  a.Attach(raw);
  EXPECT_EQ(raw.vt, KVT_EMPTY);
  EXPECT_STREQ(a.bstrVal, "owned");
  tagKVARIANT out = a.Detach();
  EXPECT_EQ(a.vt, KVT_EMPTY);
  EXPECT_STREQ(out.bstrVal, "owned");
  KVariantClear(&out);
}

TEST_F(OleVariant, Equality) {
  struct Case {
    KOleVariant a, b;
    bool equal;
  };
  KOleVariant i2a(short(3)), i2b(short(3)), i2c(short(4));
  const Case cases[] = {
      {empty(), empty(), true},     {nullv(), nullv(), true},     {empty(), nullv(), false},
      {i2a, i2b, true},             {i2a, i2c, false},            {i4(3), i4(3), true},
      {i4(3), r8(3.0), false},      {r4(1.5f), r4(1.5f), true},   {r8(0.1), r8(0.1), true},
      {r8(0.1), r8(0.2), false},    {date(1.5), date(1.5), true}, {cy(5), cy(5), true},
      {cy(5), cy(6), false},        {boolean(1), boolean(1), true}, {dec("1.50"), dec("1.50"), true},
      {dec("1.50"), dec("1.5"), false}, {str("abc"), str("abc"), true}, {str("abc"), str("abd"), false},
      {str("ab"), str("abc"), false}, {str(""), str(""), true},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    EXPECT_EQ(cases[i].a == &cases[i].b, cases[i].equal) << i;
  }
  KOleVariant e1 = err(1), e2 = err(1);
  expectErr(*thrown([&] { (void)(e1 == &e2); }), KERR_ILLEGAL_ARGUMENT, "KOleVariant::operator==",
            "Invalid VARIANT type");
  EXPECT_TRUE(e1 == &e1); // the same variant
}

TEST_F(OleVariant, StringsFromAndToVariants) {
  ThreadLocale english(kEnglish);
  KZString s;
  s = static_cast<const tagKVARIANT&>(i4(42));
  EXPECT_STREQ(s, "42");
  s = static_cast<const tagKVARIANT&>(str("text"));
  EXPECT_STREQ(s, "text");
  s = static_cast<const tagKVARIANT&>(KOleVariant(static_cast<const char*>(nullptr)));
  EXPECT_STREQ(s, "");
  s = static_cast<const tagKVARIANT&>(date(0.0));
  EXPECT_STREQ(s, "1899-12-30 00:00:00");
  s = static_cast<const tagKVARIANT&>(cy(125000));
  EXPECT_STREQ(s, "12.5000");
  auto e = thrown([&] { s = static_cast<const tagKVARIANT&>(err(3)); });
  EXPECT_EQ(e->GetErrorNum(), KERR_UNKNOWN_EXCEPTION);

  tagKVARIANT v;
  KVariantInit(&v);
  KZString("made").ToKVariant(v);
  EXPECT_EQ(v.vt, KVT_KSTR);
  EXPECT_EQ(KBinSysStringByteLen(v.bstrVal), 4u);
  EXPECT_STREQ(v.bstrVal, "made");
  KVariantClear(&v);
}

TEST_F(OleVariant, DatesAndCurrencyFromVariants) {
  ThreadLocale english(kEnglish);
  KOleDateTime d;
  d = static_cast<const tagKVARIANT&>(date(-1.25));
  EXPECT_EQ(d.m_dt, -1.25);
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  d = static_cast<const tagKVARIANT&>(str("12/31/2003"));
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  EXPECT_EQ(d.m_dt, 37986.0);
  d = static_cast<const tagKVARIANT&>(str("not a date"));
  EXPECT_EQ(d.GetStatus(), KOleDateTime::invalid);
  EXPECT_EQ(d.m_dt, 0.0);
  d = static_cast<const tagKVARIANT&>(r8(2.0)); // no double to date pair
  EXPECT_EQ(d.GetStatus(), KOleDateTime::invalid);

  KOleCurrency c;
  c = static_cast<const tagKVARIANT&>(cy(-7));
  EXPECT_EQ(c.m_cur.int64, -7);
  c = static_cast<const tagKVARIANT&>(str("12.5"));
  EXPECT_EQ(c.GetStatus(), KOleCurrency::valid);
  EXPECT_EQ(c.m_cur.int64, 125000);
  c = static_cast<const tagKVARIANT&>(r8(0.5));
  EXPECT_EQ(c.m_cur.int64, 5000);
  c = static_cast<const tagKVARIANT&>(str("twelve"));
  EXPECT_EQ(c.GetStatus(), KOleCurrency::invalid);
  EXPECT_EQ(c.m_cur.int64, 0);
  c = static_cast<const tagKVARIANT&>(boolean(1));
  EXPECT_EQ(c.GetStatus(), KOleCurrency::invalid);
}
