// Archive images of dates, currency and variants: golden bytes and round
// trips.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kc_testvar.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_var.h"

using namespace KCLASSIC;
using kctest::bytes;

namespace {

class ValueArchives : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
  kctest::TempDir dir;

  template <class F>
  std::string store(F fill) {
    KFile f(dir.file("a").c_str(), 0x1011);
    {
      KArchive ar(&f, KArchive::store);
      fill(ar);
    }
    f.Close();
    return dir.read("a");
  }

  template <class F>
  void load(const std::string& content, F read) {
    dir.write("a", content);
    KFile f(dir.file("a").c_str(), 0);
    KArchive ar(&f, KArchive::load);
    read(ar);
  }

  // A variant written and read back.
  KOleVariant round_trip(const KOleVariant& v, std::string* image = nullptr) {
    std::string s = store([&](KArchive& ar) { ar << v; });
    if (image) *image = s;
    KOleVariant back("previous content");
    load(s, [&](KArchive& ar) { ar >> back; });
    return back;
  }
};

} // namespace

TEST_F(ValueArchives, DateImages) {
  KOleDateTime d(1.5);
  EXPECT_EQ(store([&](KArchive& ar) { ar << d; }), bytes({0, 0, 0, 0, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
  KOleDateTime n(-1.25);
  n.SetStatus(KOleDateTime::null);
  std::string s = store([&](KArchive& ar) { ar << n; });
  EXPECT_EQ(s, bytes({0, 0, 0, 2, 0xBF, 0xF4, 0, 0, 0, 0, 0, 0}));
  KOleDateTime back;
  load(s, [&](KArchive& ar) { ar >> back; });
  EXPECT_EQ(back.GetStatus(), KOleDateTime::null);
  EXPECT_EQ(back.m_dt, -1.25);
  // Read as stored, without validation.
  load(bytes({0, 0, 0, 9, 0x41, 0xF0, 0, 0, 0, 0, 0, 0}), [&](KArchive& ar) { ar >> back; });
  EXPECT_EQ(back.m_status, 9);
  EXPECT_EQ(back.m_dt, 4294967296.0);
}

TEST_F(ValueArchives, CurrencyImages) {
  KOleCurrency c(tagKCY{-2});
  c.SetStatus(KOleCurrency::invalid);
  std::string s = store([&](KArchive& ar) { ar << c; });
  EXPECT_EQ(s, bytes({0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}));
  KOleCurrency back;
  load(s, [&](KArchive& ar) { ar >> back; });
  EXPECT_EQ(back.m_cur.int64, -2);
  EXPECT_EQ(back.GetStatus(), KOleCurrency::invalid);
  EXPECT_EQ(store([&](KArchive& ar) { ar << KOleCurrency(tagKCY{0x0000000100000002LL}); }),
            bytes({0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2}));
}

TEST_F(ValueArchives, VariantImages) {
  using namespace kctest;
  struct Case {
    const char* name;
    KOleVariant v;
    std::string image;
  };
  KOleVariant i2(short(-2)), ui1;
  ui1 = static_cast<unsigned char>(200);
  const Case cases[] = {
      {"empty", empty(), bytes({0, 0})},
      {"null", nullv(), bytes({0, 1})},
      {"short", i2, bytes({0, 2, 0xFF, 0xFE})},
      {"long", i4(0x01020304), bytes({0, 3, 1, 2, 3, 4})},
      {"float", r4(1.5f), bytes({0, 4, 0x3F, 0xC0, 0, 0})},
      {"double", r8(1.5), bytes({0, 5, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0})},
      {"currency", cy(0x0000000100000002LL), bytes({0, 6, 0, 0, 0, 2, 0, 0, 0, 1})},
      {"date", date(-1.25), bytes({0, 7, 0xBF, 0xF4, 0, 0, 0, 0, 0, 0})},
      {"error", err(-1), bytes({0, 10, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"boolean", boolean(1), bytes({0, 11, 0, 1})},
      {"byte", ui1, bytes({0, 17, 0, 200})},
      {"text", str("ab"), bytes({0, 115, 0, 0, 0, 3, 'a', 'b', 0})},
      {"NULL text", KOleVariant(static_cast<const char*>(nullptr)), bytes({0, 115, 0, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string image;
    KOleVariant back = round_trip(c.v, &image);
    EXPECT_EQ(image, c.image);
    if (c.v.vt == KVT_ERROR) {
      EXPECT_EQ(back.vt, KVT_ERROR);
      EXPECT_EQ(back.scode, c.v.scode);
    } else if (c.v.vt == KVT_KSTR && c.v.bstrVal) {
      // Read back with its stored NUL.
      EXPECT_STREQ(back.bstrVal, c.v.bstrVal);
      EXPECT_EQ(KBinSysStringByteLen(back.bstrVal), KBinSysStringByteLen(c.v.bstrVal) + 1);
    } else {
      EXPECT_TRUE(back == &c.v);
    }
  }
  // Types without a value image: by reference, and the decimal.
  KOleVariant ref;
  ref.vt = KVT_BYREF | KVT_I4;
  ref.lVal = 7;
  std::string image;
  KOleVariant back = round_trip(ref, &image);
  EXPECT_EQ(image, bytes({0x40, 3}));
  EXPECT_EQ(back.vt, KVT_BYREF | KVT_I4);
  EXPECT_EQ(back.lVal, 0);
  back = round_trip(dec("1.5"), &image);
  EXPECT_EQ(image, bytes({0, 14}));
  EXPECT_EQ(back.vt, KVT_DECIMAL);
}

TEST_F(ValueArchives, TextReadBackKeepsItsStoredNul) {
  KOleVariant t("hello");
  std::string first;
  KOleVariant back = round_trip(t, &first);
  // The stored NUL is counted: one byte longer, so not equal to the text
  // that was written.
  EXPECT_EQ(KBinSysStringByteLen(back.bstrVal), 6u);
  EXPECT_STREQ(back.bstrVal, "hello");
  EXPECT_FALSE(back == &t);
  // Written again, it carries its NUL and a second one.
  std::string second;
  KOleVariant again = round_trip(back, &second);
  EXPECT_EQ(second.size(), first.size() + 1);
  EXPECT_EQ(KBinSysStringByteLen(again.bstrVal), 7u);
  // A stored text without a trailing NUL keeps all its bytes.
  KOleVariant v;
  load(bytes({0, 115, 0, 0, 0, 2, 'o', 'k'}), [&](KArchive& ar) { ar >> v; });
  EXPECT_EQ(KBinSysStringByteLen(v.bstrVal), 2u);
  EXPECT_STREQ(v.bstrVal, "ok");
  // A count beyond the stream is the end-of-file error.
  auto e = kctest::thrown([&] { load(bytes({0, 115, 0x7F, 0, 0, 0, 'x'}), [&](KArchive& ar) { ar >> v; }); });
  EXPECT_EQ(e->GetErrorNum(), KERR_END_OF_FILE);
}

TEST_F(ValueArchives, SystemTime) {
  _KSYSTEMTIME st{2003, 12, 9, 31, 14, 5, 9, 999};
  KOleDateTime d;
  d = st;
  EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
  EXPECT_STREQ(d.Format("%Y-%m-%d %H:%M:%S"), "2003-12-31 14:05:09");
  _KSYSTEMTIME out{};
  ASSERT_EQ(d.GetAsSystemTime(out), 1);
  EXPECT_EQ(out.wYear, 2003);
  EXPECT_EQ(out.wMonth, 12);
  EXPECT_EQ(out.wDayOfWeek, 3); // Wednesday, 0 = Sunday
  EXPECT_EQ(out.wDay, 31);
  EXPECT_EQ(out.wHour, 14);
  EXPECT_EQ(out.wMinute, 5);
  EXPECT_EQ(out.wSecond, 9);
  EXPECT_EQ(out.wMilliseconds, 0);
  st.wDay = 32;
  d = st;
  EXPECT_EQ(d.GetStatus(), KOleDateTime::invalid);
  EXPECT_EQ(d.GetAsSystemTime(out), 0);
}
