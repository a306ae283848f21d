// Variants: init, clear and copy; the conversion matrix with its values and
// statuses, conversion onto itself and under another locale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kc_testvar.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_var.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class Variant : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

// A text as a conversion makes it: 255 bytes holding the NUL-terminated
// text (more when the text is longer).
KOleVariant made(const char* text) {
  const size_t n = std::strlen(text);
  const unsigned size = unsigned(n + 1 > 255 ? n + 1 : 255);
  tagKVARIANT v;
  KVariantInit(&v);
  v.vt = KVT_KSTR;
  v.bstrVal = KBinSysAllocStringByteLen(nullptr, size);
  std::memcpy(v.bstrVal, text, n);
  KOleVariant out;
  out.Attach(v);
  return out;
}

std::string long_text(double v) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%f", v);
  return buf;
}

struct Pair {
  const char* name;
  KOleVariant src;
  unsigned short type;
  long status;
  KOleVariant expected; // for a success
};

// Runs each pair into a fresh destination; checks the status, the type and
// (for a success) the value.
void run_pairs(const std::vector<Pair>& pairs) {
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.name);
    KOleVariant src(p.src);
    tagKVARIANT dst;
    KVariantInit(&dst);
    dst.vt = KVT_KSTR;
    dst.bstrVal = KBinSysAllocString("stale"); // cleared by the conversion
    long st = KVariantChangeType(&dst, &src, 0, p.type);
    EXPECT_EQ(st, p.status);
    if (p.status == KS_OK) {
      EXPECT_EQ(dst.vt, p.type);
      if (p.type != KVT_ERROR) {
        EXPECT_TRUE(p.expected == &dst) << describe(dst) << " vs " << describe(p.expected);
      }
    } else {
      EXPECT_EQ(dst.vt, KVT_ERROR);
    }
    // The source is untouched.
    if (src.vt == KVT_KSTR) {
      EXPECT_TRUE(src == &p.src);
    } else {
      EXPECT_EQ(std::memcmp(&src, &p.src, sizeof src), 0);
    }
    KVariantClear(&dst);
  }
}

} // namespace

TEST_F(Variant, InitClearCopy) {
  tagKVARIANT v;
  std::memset(&v, 0xAB, sizeof v);
  KVariantInit(&v);
  for (size_t i = 0; i < sizeof v; ++i) EXPECT_EQ(reinterpret_cast<unsigned char*>(&v)[i], 0);
  std::memset(&v, 0xAB, sizeof v);
  KAfxVariantInit(&v);
  EXPECT_EQ(v.vt, 0);
  EXPECT_EQ(v.llVal, 0);

  tagKVARIANT t = str("abc").Detach();
  tagKVARIANT c;
  KVariantInit(&c);
  EXPECT_EQ(KVariantCopy(&c, &t), 0);
  EXPECT_EQ(c.vt, KVT_KSTR);
  EXPECT_NE(c.bstrVal, t.bstrVal); // a copy of its own
  EXPECT_STREQ(c.bstrVal, "abc");
  EXPECT_EQ(KVariantCopy(&c, &c), 0);
  EXPECT_STREQ(c.bstrVal, "abc");
  EXPECT_EQ(KVariantClear(&c), 0);
  EXPECT_EQ(c.vt, 0);
  EXPECT_EQ(c.bstrVal, nullptr);

  // By reference: only the type code travels, nothing is owned.
  tagKVARIANT r;
  KVariantInit(&r);
  r.vt = KVT_BYREF | KVT_KSTR;
  r.bstrVal = t.bstrVal;
  KVariantCopy(&c, &r);
  EXPECT_EQ(c.vt, KVT_BYREF | KVT_KSTR);
  EXPECT_EQ(c.bstrVal, nullptr);
  KVariantClear(&r); // does not free the borrowed text
  EXPECT_EQ(r.vt, 0);
  EXPECT_STREQ(t.bstrVal, "abc");
  KVariantClear(&t);

  tagKVARIANT d = dec("1.5").Detach();
  KVariantCopy(&c, &d);
  EXPECT_EQ(std::memcmp(&c, &d, sizeof c), 0);
  KVariantClear(&c);
  EXPECT_EQ(c.vt, 0);
}

TEST_F(Variant, MatrixFromEmptyNullAndLong) {
  ThreadLocale english(kEnglish);
  run_pairs({
      {"empty to long", empty(), KVT_I4, KS_OK, i4(0)},
      {"empty to text", empty(), KVT_KSTR, KS_OK, KOleVariant(static_cast<const char*>(nullptr))},
      {"null to date", nullv(), KVT_DATE, KS_OK, date(0.0)},
      {"null to double", nullv(), KVT_R8, KS_OK, r8(0.0)},
      {"long to long", i4(-7), KVT_I4, KS_OK, i4(-7)},
      {"long to float", i4(42), KVT_R4, KS_OK, r4(42.0f)},
      {"long to currency", i4(-42), KVT_CY, KS_OK, cy(-420000)},
      {"long to boolean: the low 16 bits", i4(65536), KVT_BOOL, KS_OK, boolean(0)},
      {"long 65537 to boolean", i4(65537), KVT_BOOL, KS_OK, boolean(1)},
      {"long 0 to boolean", i4(0), KVT_BOOL, KS_OK, boolean(0)},
      {"long to text", i4(-42), KVT_KSTR, KS_OK, made("-42")},
      {"long to double", i4(1), KVT_R8, KDISP_E_TYPEMISMATCH, empty()},
      {"long to date", i4(1), KVT_DATE, KDISP_E_TYPEMISMATCH, empty()},
      {"long to decimal", i4(1), KVT_DECIMAL, KDISP_E_TYPEMISMATCH, empty()},
      {"long to short", i4(1), KVT_I2, KDISP_E_TYPEMISMATCH, empty()},
      {"long to error", i4(1), KVT_ERROR, KDISP_E_TYPEMISMATCH, empty()},
  });
}

TEST_F(Variant, MatrixFromFloatAndDouble) {
  ThreadLocale english(kEnglish);
  run_pairs({
      {"float to float", r4(1.5f), KVT_R4, KS_OK, r4(1.5f)},
      {"float to double", r4(1.5f), KVT_R8, KS_OK, r8(1.5)},
      {"float to currency", r4(1.5f), KVT_CY, KS_OK, cy(15000)},
      {"float to decimal", r4(1.5f), KVT_DECIMAL, KS_OK, dec("1.500000")},
      {"float to text", r4(1.5f), KVT_KSTR, KS_OK, made("1.500000")},
      {"float to long", r4(1.5f), KVT_I4, KDISP_E_TYPEMISMATCH, empty()},
      {"double 2147483647.9 to long", r8(2147483647.9), KVT_I4, KS_OK, i4(2147483647)},
      {"double -3.7 to long", r8(-3.7), KVT_I4, KS_OK, i4(-3)},
      {"double -2147483648.9 to long", r8(-2147483648.9), KVT_I4, KS_OK, i4(INT32_MIN)},
      {"double 2^31 to long", r8(2147483648.0), KVT_I4, KDISP_E_OVERFLOW, empty()},
      {"double 2147483648.5 to long", r8(2147483648.5), KVT_I4, KDISP_E_OVERFLOW, empty()},
      {"double -2147483649 to long", r8(-2147483649.0), KVT_I4, KDISP_E_OVERFLOW, empty()},
      {"double NaN to long", r8(std::nan("")), KVT_I4, KDISP_E_OVERFLOW, empty()},
      {"double to float", r8(0.1), KVT_R4, KS_OK, r4(0.1f)},
      {"double to double", r8(-0.25), KVT_R8, KS_OK, r8(-0.25)},
      {"double to currency", r8(1.23456), KVT_CY, KS_OK, cy(12346)},
      {"double to decimal", r8(-2.25), KVT_DECIMAL, KS_OK, dec("-2.250000")},
      {"double 1e30 to decimal", r8(1e30), KVT_DECIMAL, KDISP_E_OVERFLOW, empty()},
      {"double NaN to decimal", r8(std::nan("")), KVT_DECIMAL, KDISP_E_TYPEMISMATCH, empty()},
      {"double to text", r8(2.25), KVT_KSTR, KS_OK, made("2.250000")},
      {"long %f text", r8(1e20), KVT_KSTR, KS_OK, made("100000000000000000000.000000")},
      // Longer than 254 bytes: the text and its NUL, nothing cut.
      {"longer than the block", r8(1e300), KVT_KSTR, KS_OK, made(long_text(1e300).c_str())},
      {"double to date", r8(1.0), KVT_DATE, KDISP_E_TYPEMISMATCH, empty()},
  });
}

TEST_F(Variant, MatrixFromCurrencyDateErrorBoolean) {
  ThreadLocale english(kEnglish);
  run_pairs({
      {"currency to long", cy(125000), KVT_I4, KS_OK, i4(12)},
      {"currency -0.5 to long", cy(-5000), KVT_I4, KS_OK, i4(0)},
      {"currency beyond long", cy(214748364800000LL), KVT_I4, KDISP_E_OVERFLOW, empty()},
      {"currency to float", cy(125000), KVT_R4, KS_OK, r4(12.5f)},
      {"currency to double", cy(-12345), KVT_R8, KS_OK, r8(-1.2345)},
      {"currency to currency", cy(7), KVT_CY, KS_OK, cy(7)},
      {"currency to decimal", cy(125000), KVT_DECIMAL, KS_OK, dec("12.5000")},
      {"currency to text", cy(125000), KVT_KSTR, KS_OK, str("12.5000")},
      {"whole currency to text", cy(120000), KVT_KSTR, KS_OK, str("12")},
      {"currency to date", cy(1), KVT_DATE, KDISP_E_TYPEMISMATCH, empty()},
      {"date to date", date(-1.25), KVT_DATE, KS_OK, date(-1.25)},
      {"date 0 to text", date(0.0), KVT_KSTR, KS_OK, made("1899-12-30 00:00:00")},
      {"date to text", date(-1.25), KVT_KSTR, KS_OK, made("1899-12-29 06:00:00")},
      {"date to double", date(1.0), KVT_R8, KDISP_E_TYPEMISMATCH, empty()},
      {"error to error", err(5), KVT_ERROR, KS_OK, empty()},
      {"error to long", err(5), KVT_I4, KDISP_E_TYPEMISMATCH, empty()},
      {"boolean to long", boolean(1), KVT_I4, KS_OK, i4(1)},
      {"boolean to double", boolean(1), KVT_R8, KS_OK, r8(1.0)},
      {"boolean to boolean", boolean(0), KVT_BOOL, KS_OK, boolean(0)},
      {"boolean to text", boolean(1), KVT_KSTR, KDISP_E_TYPEMISMATCH, empty()},
  });
  tagKVARIANT far = date(3000000.0).Detach(), dst;
  KVariantInit(&dst);
  auto e = thrown([&] { KVariantChangeType(&dst, &far, 0, KVT_KSTR); });
  expectErr(*e, KERR_ILLEGAL_ARGUMENT, "KVariantChangeType", "Invalid Date");
  EXPECT_NE(dst.vt, KVT_KSTR);
}

TEST_F(Variant, MatrixFromDecimalAndText) {
  ThreadLocale english(kEnglish);
  run_pairs({
      {"decimal to double", dec("-1.25"), KVT_R8, KS_OK, r8(-1.25)},
      {"decimal to currency", dec("-1.25"), KVT_CY, KS_OK, cy(-12500)},
      {"decimal to decimal", dec("3.14"), KVT_DECIMAL, KS_OK, dec("3.14")},
      {"decimal to text", dec("-0.050"), KVT_KSTR, KS_OK, str("-0.050")},
      {"decimal to long", dec("1"), KVT_I4, KDISP_E_TYPEMISMATCH, empty()},
      {"text to long", str("12.5"), KVT_I4, KS_OK, i4(12)},
      {"text beyond long saturates", str("4294967296"), KVT_I4, KS_OK, i4(INT32_MAX)},
      {"text to float", str("12.5"), KVT_R4, KS_OK, r4(12.5f)},
      {"text to double", str("-0.125"), KVT_R8, KS_OK, r8(-0.125)},
      {"text to currency", str("12.5"), KVT_CY, KS_OK, cy(125000)},
      {"text to date", str("12/31/2003 10:20 PM"), KVT_DATE, KS_OK, date(37986.0 + (22 * 60 + 20) / 1440.0)},
      {"ISO text to date", str("2003-12-31 10:20:30"), KVT_DATE, KS_OK,
       date(37986.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0)},
      {"text to decimal", str(" 12.50 "), KVT_DECIMAL, KS_OK, dec("12.50")},
      {"bad text to decimal", str("12,5x"), KVT_DECIMAL, KDISP_E_TYPEMISMATCH, empty()},
      {"huge text to decimal", str("79228162514264337593543950336"), KVT_DECIMAL, KDISP_E_OVERFLOW, empty()},
      {"text to text", str("a\tb"), KVT_KSTR, KS_OK, str("a\tb")},
      {"text to boolean", str("1"), KVT_BOOL, KDISP_E_TYPEMISMATCH, empty()},
  });
  // Readers that throw: currency text and date text.
  for (const char* bad : {"abc", "1.2.3"}) {
    tagKVARIANT s = str(bad).Detach(), dst;
    KVariantInit(&dst);
    expectErr(*thrown([&] { KVariantChangeType(&dst, &s, 0, KVT_CY); }), KERR_ILLEGAL_ARGUMENT, "KOsKBstrToInt64",
              bad);
    KVariantClear(&s);
  }
  tagKVARIANT s = str("abc").Detach(), dst;
  KVariantInit(&dst);
  EXPECT_EQ(thrown([&] { KVariantChangeType(&dst, &s, 0, KVT_DATE); })->GetErrorNum(), 0x8B000E6);
  KVariantClear(&s);
}

TEST_F(Variant, UnsupportedSourcesAndArguments) {
  ThreadLocale english(kEnglish);
  tagKVARIANT i2, ui1, ref;
  KVariantInit(&i2);
  i2.vt = KVT_I2;
  i2.iVal = 5;
  KVariantInit(&ui1);
  ui1.vt = KVT_UI1;
  KVariantInit(&ref);
  ref.vt = KVT_BYREF | KVT_I4;
  for (tagKVARIANT* s : {&i2, &ui1, &ref}) {
    for (unsigned short t : {KVT_I2, KVT_I4, KVT_R8, KVT_KSTR}) {
      tagKVARIANT dst;
      KVariantInit(&dst);
      EXPECT_EQ(KVariantChangeType(&dst, s, 0, t), KDISP_E_BADVARTYPE);
      EXPECT_EQ(dst.vt, KVT_ERROR);
    }
  }
  tagKVARIANT v = i4(1).Detach();
  EXPECT_EQ(KVariantChangeType(nullptr, &v, 0, KVT_I4), KE_INVALIDARG);
  EXPECT_EQ(KVariantChangeType(&v, nullptr, 0, KVT_I4), KE_INVALIDARG);
  EXPECT_EQ(v.vt, KVT_I4);
}

TEST_F(Variant, ConversionOntoItself) {
  ThreadLocale english(kEnglish);
  tagKVARIANT v = str("12.5").Detach();
  EXPECT_EQ(KVariantChangeType(&v, &v, 0, KVT_CY), KS_OK);
  EXPECT_EQ(v.vt, KVT_CY);
  EXPECT_EQ(v.cyVal.int64, 125000);
  EXPECT_EQ(KVariantChangeType(&v, &v, 0, KVT_KSTR), KS_OK);
  EXPECT_STREQ(v.bstrVal, "12.5000");
  EXPECT_EQ(KBinSysStringByteLen(v.bstrVal), 7u); // the text's own length
  EXPECT_EQ(KVariantChangeType(&v, &v, 0, KVT_KSTR), KS_OK);
  EXPECT_STREQ(v.bstrVal, "12.5000");
  EXPECT_EQ(KVariantChangeType(&v, &v, 0, KVT_BOOL), KDISP_E_TYPEMISMATCH);
  EXPECT_EQ(v.vt, KVT_ERROR);
  KVariantClear(&v);
}

TEST_F(Variant, LocaleOfTheConversion) {
  ThreadLocale english(kEnglish);
  {
    ThreadLocale german(kGerman);
    run_pairs({
        {"double to text", r8(2.25), KVT_KSTR, KS_OK, made("2,250000")},
        {"double to currency", r8(2.25), KVT_CY, KS_OK, cy(22500)},
        {"double to decimal", r8(2.25), KVT_DECIMAL, KS_OK, dec("2.250000")},
        {"currency to double", cy(125000), KVT_R8, KS_OK, r8(12.5)},
        {"currency to float", cy(125000), KVT_R4, KS_OK, r4(12.5f)},
        {"decimal to double", dec("-1.25"), KVT_R8, KS_OK, r8(-1.25)},
        {"text to double", str("1,5"), KVT_R8, KS_OK, r8(1.5)},
        {"text to currency", str("2,25"), KVT_CY, KS_OK, cy(22500)},
        {"text to decimal", str("2,25"), KVT_DECIMAL, KS_OK, dec("2.25")},
        {"text to date", str("31.12.2003"), KVT_DATE, KS_OK, date(37986.0)},
    });
  }
  KZString before;
  UtlGetThreadLocale().GetCrtLocaleName(before);
  tagKVARIANT d = r8(2.25).Detach(), dst;
  KVariantInit(&dst);
  EXPECT_EQ(KVariantChangeTypeEx(&dst, &d, UtlGetLocale(kGerman), 0, KVT_KSTR), KS_OK);
  EXPECT_STREQ(dst.bstrVal, "2,250000");
  KZString after;
  UtlGetThreadLocale().GetCrtLocaleName(after);
  EXPECT_STREQ(after, before);
  // Restored also when the conversion throws.
  tagKVARIANT far = date(3000000.0).Detach();
  thrown([&] { KVariantChangeTypeEx(&dst, &far, UtlGetLocale(kGerman), 0, KVT_KSTR); });
  UtlGetThreadLocale().GetCrtLocaleName(after);
  EXPECT_STREQ(after, before);
  KVariantClear(&dst);
}
