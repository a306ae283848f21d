// Date text parsing: the locale's date order, designators, two-digit years,
// full-width digits, ISO texts, refusals, and the thread locale restored.
#include <gtest/gtest.h>

#include <string>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_tconv.h"

using namespace KCLASSIC;

namespace {

constexpr const char* kParsed = "KUtlTypeConvert::ProcessParsedDate";
constexpr const char* kIso = "KUtlTypeConvert::ProcessStringAsISO";

class TypeConvert : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }

  // Converts text under the named locale; returns the canonical text.
  static std::string convert(const char* locale, const std::string& text, KOleDateTime* out = nullptr) {
    KUtlTypeConvert c;
    KZString in(text.c_str());
    KOleDateTime d;
    c.ConvertDate(in, d, UtlGetLocale(locale));
    if (out) *out = d;
    return std::string(c.GetText());
  }

  // The error a text raises under the named locale.
  static void refused(const char* locale, const std::string& text, const char* method) {
    SCOPED_TRACE(text);
    KUtlTypeConvert c;
    KZString in(text.c_str());
    auto e = kctest::thrown([&] { c.SetDate(in, UtlGetLocale(locale)); });
    kctest::expectErr(*e, KERR_DATE_FORMAT, method, nullptr);
  }

  static std::string thread_locale() {
    KZString name;
    UtlGetThreadLocale().GetCrtLocaleName(name);
    return std::string(name);
  }
};

struct Accepted {
  const char* locale;
  const char* text;
  const char* canonical;
};

} // namespace

TEST_F(TypeConvert, AcceptedTextsUnderEachOrder) {
  const Accepted cases[] = {
      {kctest::kEnglish, "12/31/2003", "2003-12-31 00:00:00"},
      {kctest::kEnglish, "12/31/2003 ", "2003-12-31 00:00:00"},
      {kctest::kEnglish, "12/31/03 10:20 PM", "2003-12-31 22:20:00"},
      {kctest::kEnglish, "12/31/03 12:05 AM", "2003-12-31 00:05:00"},
      {kctest::kEnglish, "12/31/03 12:05 pm", "2003-12-31 12:05:00"},
      {kctest::kEnglish, "12/31/03 1:05:09am", "2003-12-31 01:05:09"},
      {kctest::kEnglish, "12/31/2003 10:20:30", "2003-12-31 10:20:30"},
      {kctest::kEnglish, "12/31/2003 23:59", "2003-12-31 23:59:00"},
      {kctest::kEnglish, "12/31/29", "2029-12-31 00:00:00"},
      {kctest::kEnglish, "12/31/30", "1930-12-31 00:00:00"},
      {kctest::kEnglish, "1/1/0", "2000-01-01 00:00:00"},
      {kctest::kEnglish, "2/29/2000", "2000-02-29 00:00:00"},
      {kctest::kEnglish, "12.31.2003", "2003-12-31 00:00:00"},
      {kctest::kEnglish, "Date: 12/31/2003", "2003-12-31 00:00:00"},
      {kctest::kEnglish, "1/1/1753", "1753-01-01 00:00:00"},
      {kctest::kEnglish, "2003-12-31 10:20:30", "2003-12-31 10:20:30"},
      // Tokens after the seconds are ignored (a designator right after them
      // still counts).
      {kctest::kEnglish, "12/31/2003 10:20:30 xyz", "2003-12-31 10:20:30"},
      {kctest::kEnglish, "12/31/2003 10:20:30 PM 5", "2003-12-31 22:20:30"},
      {kctest::kEnglish, "2003-12-31 10:20:30x", "2003-12-31 10:20:30"},
      {kctest::kEnglish, "2003-12-31 10:20:30 and more", "2003-12-31 10:20:30"},
      {kctest::kGerman, "31.12.2003", "2003-12-31 00:00:00"},
      {kctest::kGerman, "31/12/2003 22:20", "2003-12-31 22:20:00"},
      {kctest::kGerman, "2003-12-31 10:20:30", "2003-12-31 10:20:30"},
      {kctest::kJapan, "2003/12/31", "2003-12-31 00:00:00"},
      {kctest::kJapan, "03/12/31 10:20 PM", "2003-12-31 22:20:00"},
      {kctest::kJapan, "2003-12-31 10:20:30", "2003-12-31 10:20:30"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + ": " + c.text);
    KOleDateTime d;
    EXPECT_EQ(convert(c.locale, c.text, &d), c.canonical);
    EXPECT_EQ(d.GetStatus(), KOleDateTime::valid);
    EXPECT_EQ(std::string(d.Format("%Y-%m-%d %H:%M:%S")), c.canonical);
  }
}

TEST_F(TypeConvert, RefusedTexts) {
  const char* parsed[] = {"12/31/1752", "2/29/1900", "13/1/2003", "12/32/2003", "12/31/2003 10",
                          "12/31/2003 13:00 PM", "12/31/2003 0:30 AM", "12 / 31 / 2003", "12/31/2003 10:20:30 AM PM",
                          "12/31/2003 24:00", "12/31/2003 10:60", "12/31/2003 10:20:60", "12/31", "12/31/2003x"};
  for (const char* t : parsed) refused(kctest::kEnglish, t, kParsed);
  // The ISO shape wins and needs all six fields; 30 December 1899 00:00 is
  // the value 0.0, which is refused.
  for (const char* t : {"2003-12-31", "2003-12-31 10:20", "12/30/1899", "2003-12-31T10:20:30"})
    refused(kctest::kEnglish, t, kIso);
  refused(kctest::kJapan, "2003-12-31", kIso);
  refused(kctest::kEnglish, "", "KUtlTypeConvert::ParseDateString");
}

TEST_F(TypeConvert, IsoShapeTextsAndTokens) {
  KUtlTypeConvert c;
  kctest::ThreadLocale english(kctest::kEnglish);
  struct Case {
    const char* text;
    int iso;
    const char* result;
  };
  const Case cases[] = {{"2003-12-31", 1, "2003-12-31"},
                        {"2003-12-31 10:20", 1, "2003-12-31 10:20"},
                        {"2003-12-31 10:20:", 1, "2003-12-31 10:20:"},
                        {"2003-12-31 10:20:30", 1, "2003-12-31 10:20:30"},
                        {"2003-12-31T10:20:30", 1, "2003-12-31"},
                        {"2003-12-31 10:20:3", 1, "2003-12-31"},
                        {"03-12-31 10:20:30", 0, ""},
                        {"2003/12/31", 0, ""}};
  for (const Case& k : cases) {
    KZString in(k.text);
    c.ParseDateString(in);
    EXPECT_EQ(c.ProcessParsedDateAsISO(), k.iso) << k.text;
    if (k.iso) {
      EXPECT_STREQ(c.GetText(), k.result);
    }
  }
  KZString in("Date: 12/31/03 10:20 PM");
  c.ParseDateString(in);
  const char* tokens[] = {"Date: ", "12", "/", "31", "/", "03", " ", "10", ":", "20", " PM"};
  ASSERT_EQ(c.GetTokens().GetSize(), 11);
  for (int i = 0; i < 11; ++i) EXPECT_STREQ(c.GetTokens()[i], tokens[i]);
}

TEST_F(TypeConvert, FullWidthDigitsReadAsDigits) {
  // The test UTF-8 page has the full-width digits EF BC 90 to EF BC 99.
  auto wide = [](const char* ascii) {
    std::string s;
    for (const char* p = ascii; *p; ++p)
      s += *p >= '0' && *p <= '9' ? kctest::bytes({0xEF, 0xBC, 0x90 + (*p - '0')}) : std::string(1, *p);
    return s;
  };
  EXPECT_EQ(convert(kctest::kUtf8, wide("12/31/03 10:20 PM")), "2003-12-31 22:20:00");
  EXPECT_EQ(convert(kctest::kUtf8, wide("2003-12-31 10:20:30")), "2003-12-31 10:20:30");
  EXPECT_EQ(convert(kctest::kUtf8, "1" + wide("2/3") + "1/2003"), "2003-12-31 00:00:00");
}

TEST_F(TypeConvert, ThreadLocaleRestored) {
  kctest::ThreadLocale english(kctest::kEnglish);
  std::string before = thread_locale();
  EXPECT_EQ(convert(kctest::kGerman, "31.12.2003"), "2003-12-31 00:00:00");
  EXPECT_EQ(thread_locale(), before);
  refused(kctest::kGerman, "31.12.1700", kParsed);
  EXPECT_EQ(thread_locale(), before);
  refused(kctest::kJapan, "2003-12-31", kIso);
  EXPECT_EQ(thread_locale(), before);
}

TEST_F(TypeConvert, RangeHelpers) {
  KUtlTypeConvert c;
  struct Case {
    long month, day, year, completed, ok;
  };
  const Case cases[] = {{2, 29, 0, 2000, 1},    {2, 29, 29, 2029, 0},  {12, 31, 30, 1930, 1}, {12, 31, 99, 1999, 1},
                        {2, 29, 1900, 1900, 0}, {2, 29, 2004, 2004, 1}, {4, 31, 2003, 2003, 0}, {1, 1, 100, 100, 0},
                        {0, 1, 2003, 2003, 0},  {1, 0, 2003, 2003, 0},  {1, 1, -1, -1, 0}};
  for (const Case& k : cases) {
    long year = k.year;
    EXPECT_EQ(c.ValidateDateRanges(k.month, k.day, year), k.ok) << k.month << "/" << k.day << "/" << k.year;
    if (k.year >= 0 && k.month >= 1 && k.month <= 12) {
      EXPECT_EQ(year, k.completed);
    }
  }
  EXPECT_EQ(c.IsLeapYear(2000), 1);
  EXPECT_EQ(c.IsLeapYear(1900), 0);
  EXPECT_EQ(c.IsLeapYear(2004), 1);
  EXPECT_EQ(c.IsLeapYear(2003), 0);
  KZString s("abc");
  EXPECT_EQ(c.GetCharCount(s), 3);
}
