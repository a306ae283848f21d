// Text to number: integers in every base with signs, separators and
// clamping; doubles with locale separators, correct rounding and long
// exponents; the token reader; grouping texts; random texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "gc_fmt_testloc.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_strto_int.h"

using gcfmt_test::Page;
using gcfmt_test::TestLocale;

namespace {

struct LongCase {
  const char* text;
  int base;
  uint32_t flags;
  long value;
  int endOffset;  // -1: end of text
  uint32_t status;
};

class StringToLongTable : public ::testing::TestWithParam<LongCase> {};

TEST_P(StringToLongTable, ValueEndAndStatus) {
  const LongCase& c = GetParam();
  TestLocale tl;
  const char* end = nullptr;
  long v = GCStringToLong(tl.get(), c.text, -1, &end, c.base, c.flags);
  EXPECT_EQ(v, c.value) << c.text;
  int want = c.endOffset < 0 ? static_cast<int>(std::strlen(c.text)) : c.endOffset;
  EXPECT_EQ(end - c.text, want) << c.text;
  EXPECT_EQ(tl.loc.status, c.status) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringToLongTable,
    ::testing::Values(LongCase{"  -12,345", 10, 0, -12345, -1, 0}, LongCase{"0x1F", 0, 0, 31, -1, 0},
                      LongCase{"017", 0, 0, 15, -1, 0}, LongCase{"0", 0, 0, 0, -1, 0},
                      LongCase{"x1F", 16, 0, 31, -1, 0}, LongCase{"1F", 16, 0, 31, -1, 0},
                      LongCase{"0x1f", 16, 0, 31, -1, 0}, LongCase{"08", 8, 0, 0, 1, 0},
                      LongCase{"12a", 10, 0, 12, 2, 0}, LongCase{"+42", 10, 0, 42, -1, 0},
                      LongCase{"zz", 36, 0, 1295, -1, 0}, LongCase{"101", 2, 0, 5, -1, 0},
                      LongCase{"4294967295", 10, 0x80, 4294967295L, -1, 0},
                      LongCase{"4294967296", 10, 0x80, 4294967295L, 9, GC_E_ARG},
                      LongCase{"2147483647", 10, 0, 2147483647L, -1, 0},
                      LongCase{"2147483648", 10, 0, 2147483647L, 9, GC_E_ARG},
                      LongCase{"-2147483648", 10, 0, -2147483648L, -1, 0},
                      LongCase{"-2147483649", 10, 0, -2147483648L, 10, GC_E_ARG},
                      LongCase{"99999999999999999999", 10, 0, 2147483647L, 9, GC_E_ARG},
                      LongCase{"-5", 10, 0x80, 0, 0, 0}, LongCase{"", 10, 0, 0, 0, 0},
                      LongCase{"abc", 10, 0, 0, 0, 0}, LongCase{"-", 10, 0, 0, -1, 0},
                      LongCase{"   ", 10, 0, 0, -1, 0}, LongCase{"1 2", 10, 0, 1, 1, 0},
                      LongCase{"12", 1, 0, 0, 0, GC_E_BASE}, LongCase{"12", 37, 0, 0, 0, GC_E_BASE},
                      LongCase{"12", -1, 0, 0, 0, GC_E_BASE}, LongCase{"12", 10, 0x2, 0, 0, GC_E_ARG},
                      LongCase{"12", 10, 0x40, 0, 0, GC_E_ARG}));

TEST(StringToLong, LengthBoundsTheText) {
  TestLocale tl;
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(tl.get(), "12345", 3, &end, 10, 0), 123);
  EXPECT_STREQ(end, "45");
  EXPECT_EQ(GCStringToLong(tl.get(), "12345", 0, &end, 10, 0), 0);
}

TEST(StringToLong, MonetarySignsAndSeparator) {
  TestLocale tl;
  tl.setMonetary(",", "'");
  tl.setText(GC_TXT_POS_SIGN, "plus");
  tl.setText(GC_TXT_NEG_SIGN, "minus");
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(tl.get(), "minus1'234", -1, &end, 10, 0x20), -1234);
  EXPECT_EQ(GCStringToLong(tl.get(), "plus7", -1, &end, 10, 0x20), 7);
  EXPECT_EQ(GCStringToLong(tl.get(), "-7", -1, &end, 10, 0x20), 0);  // the plain sign is not a sign here
}

TEST(StringToLong, EbcdicDigitsAndSigns) {
  TestLocale tl(Page::Ebcdic);
  std::string text = tl.form("  -12,345");
  EXPECT_EQ(GCStringToLong(tl.get(), text.c_str(), -1, nullptr, 10, 0), -12345);
  text = tl.form("0x1f");
  EXPECT_EQ(GCStringToLong(tl.get(), text.c_str(), -1, nullptr, 0, 0), 31);
}

TEST(StringToLong, NationalDigitsReadWithMapping) {
  TestLocale tl;
  const char text[] = "\xF1\xF2\xF3";  // Thai one, two, three in the test page
  EXPECT_EQ(GCStringToLong(tl.get(), text, -1, nullptr, 10, 0), 0);
  EXPECT_EQ(GCStringToLong(tl.get(), text, -1, nullptr, 10, 0x10), 123);
}

TEST(StringToLong, DoubleByteCharactersEndTheNumber) {
  TestLocale tl(Page::DoubleByte);
  const char text[] = "12\x82\x31" "3";
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(tl.get(), text, -1, &end, 10, 0), 12);
  EXPECT_EQ(end - text, 2);
  const char cut[] = "7\x82";  // lead byte cut by the length
  EXPECT_EQ(GCStringToLong(tl.get(), cut, 2, &end, 10, 0), 7);
  EXPECT_EQ(end - cut, 1);
}

struct DoubleCase {
  const char* text;
  double value;
  int endOffset;
};

class StringToDoubleTable : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(StringToDoubleTable, ValueAndEnd) {
  const DoubleCase& c = GetParam();
  TestLocale tl;
  const char* end = nullptr;
  double v = GCStringToDouble(tl.get(), c.text, -1, &end, 0);
  EXPECT_EQ(v, c.value) << c.text;
  int want = c.endOffset < 0 ? static_cast<int>(std::strlen(c.text)) : c.endOffset;
  EXPECT_EQ(end - c.text, want) << c.text;
  EXPECT_EQ(tl.loc.status, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringToDoubleTable,
    ::testing::Values(DoubleCase{"1.5e3", 1500.0, -1}, DoubleCase{".5", 0.5, -1},
                      DoubleCase{"-2,000.25", -2000.25, -1}, DoubleCase{"1e", 1.0, -1}, DoubleCase{"e5", 0.0, 0},
                      DoubleCase{"  +3.25x", 3.25, 7}, DoubleCase{"1.5E-2", 0.015, -1}, DoubleCase{"1d2", 100.0, -1},
                      DoubleCase{"0.1", 0.1, -1}, DoubleCase{"0.3", 0.3, -1},
                      DoubleCase{"2.2250738585072014e-308", 2.2250738585072014e-308, -1},
                      DoubleCase{"4.9406564584124654e-324", 4.9406564584124654e-324, -1},
                      DoubleCase{"1.7976931348623157e308", 1.7976931348623157e308, -1},
                      DoubleCase{"1e400", std::numeric_limits<double>::infinity(), -1},
                      DoubleCase{"1e-400", 0.0, -1}, DoubleCase{"1e99999999999999999999", HUGE_VAL, -1},
                      DoubleCase{"1e-99999999999999999999", 0.0, -1}, DoubleCase{"0.000", 0.0, -1},
                      DoubleCase{"9007199254740993", 9007199254740992.0, -1},
                      DoubleCase{"1,,2", 1.0, 2}, DoubleCase{"1.2.3", 1.2, 3}, DoubleCase{"", 0.0, 0}));

TEST(StringToDouble, CorrectlyRoundedWhereAccumulationIsNot) {
  TestLocale tl;
  // Exactly halfway between two doubles, decided by a digit far down.
  std::string half = "9007199254740993";
  EXPECT_EQ(GCStringToDouble(tl.get(), (half + "00000000000000000000001").c_str(), -1, nullptr, 0) ,
            std::strtod((half + "00000000000000000000001").c_str(), nullptr));
  std::string many = "0." + std::string(900, '3');
  EXPECT_EQ(GCStringToDouble(tl.get(), many.c_str(), -1, nullptr, 0), 1.0 / 3.0);
  std::string longint = "1" + std::string(1000, '0') + "e-1000";
  EXPECT_EQ(GCStringToDouble(tl.get(), longint.c_str(), -1, nullptr, 0), 1.0);
  std::string sticky = "1" + std::string(16, '0') + "1" + std::string(900, '0') + "1e-16";  // 1.0000000000000000100..01 rounds up
  EXPECT_EQ(GCStringToDouble(tl.get(), sticky.c_str(), -1, nullptr, 0), std::strtod(sticky.c_str(), nullptr));
  EXPECT_EQ(GCStringToDouble(tl.get(), "123.456", -1, nullptr, 0), 123.456);
  EXPECT_EQ(GCStringToDouble(tl.get(), "8.589973e9", -1, nullptr, 0), 8.589973e9);
}

TEST(StringToDouble, LocaleAndMonetarySeparators) {
  TestLocale tl;
  tl.setSeparators(",", ".");
  EXPECT_EQ(GCStringToDouble(tl.get(), "1.234,5", -1, nullptr, 0), 1234.5);
  tl.setMonetary(".", "'");
  tl.setText(GC_TXT_POS_SIGN, "");
  const char* end = nullptr;
  EXPECT_EQ(GCStringToDouble(tl.get(), "-1'000.5", -1, nullptr, 0x20), -1000.5);
  EXPECT_EQ(GCStringToDouble(tl.get(), "+5", -1, &end, 0x20), 0.0);  // no monetary plus sign
  EXPECT_EQ(end - "+5", 0);
  EXPECT_EQ(GCStringToDouble(tl.get(), "-1e-2", -1, nullptr, 0x20), -0.01);  // exponent signs are plain
  double bad = GCStringToDouble(tl.get(), "1", -1, &end, 0x40);
  EXPECT_EQ(bad, 0.0);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
}

TEST(StringToDouble, EbcdicText) {
  TestLocale tl(Page::Ebcdic);
  std::string t = tl.form("-2,000.25e1");
  EXPECT_EQ(GCStringToDouble(tl.get(), t.c_str(), -1, nullptr, 0), -20002.5);
}

TEST(StringToDouble, StateMachineRejectsWhatItShould) {
  struct {
    int state, token, next;
  } cases[] = {{0, 5, 3},  {0, 44, 0}, {0, 40, 1}, {0, 41, 1},  {0, 43, 2},  {0, 42, -1}, {1, 7, 3},
               {1, 43, 2}, {1, 40, -1}, {2, 3, 5}, {2, 43, -1}, {3, 1, 3},   {3, 43, 5},  {3, 42, 4},
               {3, 13, 6}, {3, 14, 6}, {4, 2, 3},  {4, 42, -1}, {5, 9, 5},   {5, 14, 6},  {5, 43, -1},
               {6, 1, 8},  {6, 40, 7}, {6, 41, 7}, {7, 4, 8},   {7, 40, -1}, {8, 9, 8},   {8, 14, -1},
               {9, 1, -1}, {-1, 1, -1}};
  for (const auto& c : cases) {
    double v = 0;
    int s = 1, fe = 0, es = 1, e = 0;
    EXPECT_EQ(GCStrDoubleNextState(c.state, c.token, &v, &s, &fe, &es, &e), c.next)
        << c.state << "/" << c.token;
  }
  double v = 0;
  int s = 1, fe = 0, es = 1, e = 0;
  int st = 6;
  for (int i = 0; i < 40; ++i) st = GCStrDoubleNextState(st, 9, &v, &s, &fe, &es, &e);  // no int overflow
  EXPECT_EQ(st, 8);
  EXPECT_GT(e, 100000000);
}

TEST(GroupingSize, ReadsSizesOneByOne) {
  TestLocale tl;
  const char* text = "3;2;0";
  int32_t remaining = 5;
  const char* next = nullptr;
  EXPECT_EQ(GCStrGroupingSize(tl.get(), text, &remaining, &next), 3);
  EXPECT_STREQ(next, "2;0");
  EXPECT_EQ(GCStrGroupingSize(tl.get(), next, &remaining, &next), 2);
  EXPECT_STREQ(next, "0");
  EXPECT_EQ(GCStrGroupingSize(tl.get(), next, &remaining, &next), 0);
  EXPECT_EQ(next, nullptr);
  EXPECT_EQ(remaining, 0);
  remaining = 2;
  EXPECT_EQ(GCStrGroupingSize(tl.get(), "3a", &remaining, &next), -1);
  remaining = 5;
  EXPECT_EQ(GCStrGroupingSize(tl.get(), "", &remaining, &next), -1);
  EXPECT_EQ(GCStrGroupingSize(tl.get(), nullptr, &remaining, &next), -1);
  remaining = 2;
  EXPECT_EQ(GCStrGroupingSize(tl.get(), "12", &remaining, &next), 12);
  EXPECT_EQ(next, nullptr);
  TestLocale eb(Page::Ebcdic);
  std::string et = eb.form("3;2");
  remaining = 3;
  EXPECT_EQ(GCStrGroupingSize(eb.get(), et.c_str(), &remaining, &next), 3);
  EXPECT_EQ(GCStrGroupingSize(eb.get(), next, &remaining, &next), 2);
  const GCUChar u[] = {u'3', u';', u'0', 0};
  const GCUChar* un = nullptr;
  remaining = 3;
  EXPECT_EQ(GCStrGroupingSizeU(tl.get(), u, &remaining, &un), 3);
  EXPECT_EQ(GCStrGroupingSizeU(tl.get(), un, &remaining, &un), 0);
  EXPECT_EQ(un, nullptr);
}

TEST(TokenReader, TokensAndPositions) {
  TestLocale tl;
  const char* next = nullptr;
  const char* t = "  x";
  EXPECT_EQ(GCStrGetDigit(tl.get(), t, 3, &next, ",", ".", "+", "-", 1, 0), GC_TOK_SPACE);
  EXPECT_EQ(next, t + 2);
  EXPECT_EQ(GCStrGetDigit(tl.get(), "plus", 4, &next, ",", ".", "plus", "-", 1, 0), GC_TOK_STR1);
  EXPECT_EQ(GCStrGetDigit(tl.get(), "plu", 3, &next, ",", ".", "plus", "-", 1, 0), 25);  // 'p' as a letter
  EXPECT_EQ(GCStrGetDigit(tl.get(), ",", 1, &next, ",", ".", "+", "-", 1, 0), GC_TOK_CHAR1);
  EXPECT_EQ(GCStrGetDigit(tl.get(), ".", 1, &next, ",", ".", "+", "-", 1, 0), GC_TOK_CHAR2);
  EXPECT_EQ(GCStrGetDigit(tl.get(), "Z", 1, &next, ",", ".", "+", "-", 1, 0), 35);
  t = "#";
  EXPECT_EQ(GCStrGetDigit(tl.get(), t, 1, &next, ",", ".", "+", "-", 1, 0), GC_TOK_END);
  EXPECT_EQ(next, t);
  EXPECT_EQ(GCStrGetDigit(tl.get(), "5", 0, &next, ",", ".", "+", "-", 1, 0), GC_TOK_END);
  EXPECT_EQ(GCStrGetDigit(tl.get(), "5", 1, &next, ",", ".", "+", "-", 1, 0x2), GC_TOK_END);
}

TEST(NumberParsers, RandomTextsDoNotCrash) {
  std::mt19937 rng(20261210);
  TestLocale pages[] = {TestLocale(Page::Ascii), TestLocale(Page::Ebcdic), TestLocale(Page::DoubleByte)};
  const char alphabet[] = "0123456789+-.,eExX \t;abcdefz\x82\x9f\xf0\xf5\x4e\x60\x6b\x4b";
  for (int i = 0; i < 3000; ++i) {
    TestLocale& tl = pages[i % 3];
    int len = static_cast<int>(rng() % 64);
    std::string s;
    for (int k = 0; k < len; ++k) s += alphabet[rng() % (sizeof alphabet - 1)];
    const char* end = nullptr;
    int base = static_cast<int>(rng() % 40) - 1;
    uint32_t flags = (rng() % 2 ? 0x80 : 0) | (rng() % 2 ? 0x20 : 0) | (rng() % 2 ? 0x10 : 0);
    // Give a length that ends inside the text, at its end, or -1.
    int32_t given = (rng() % 3 == 0) ? -1 : static_cast<int32_t>(rng() % (s.size() + 1));
    GCStringToLong(tl.get(), s.c_str(), given, &end, base, flags);
    int32_t limit = given < 0 ? static_cast<int32_t>(s.size()) : given;
    ASSERT_GE(end, s.c_str());
    ASSERT_LE(end, s.c_str() + limit);
    GCStringToDouble(tl.get(), s.c_str(), given, &end, flags & 0x31);
    ASSERT_GE(end, s.c_str());
    ASSERT_LE(end, s.c_str() + limit);
  }
}

}  // namespace

namespace {

TEST(NumberItems, ParsersReadTheTerritorysSeparatorsWithTheItemFlag) {
  TestLocale tl;
  tl.setSeparators(",", ".");
  tl.setSeparators(".", "'", true);
  EXPECT_EQ(GCStringToLong(tl.get(), "1'234", -1, nullptr, 10, 0), 1234);
  EXPECT_EQ(GCStringToLong(tl.get(), "1.234", -1, nullptr, 10, 0x01), 1234);
  EXPECT_EQ(GCStringToDouble(tl.get(), "1'234.5", -1, nullptr, 0), 1234.5);
  EXPECT_EQ(GCStringToDouble(tl.get(), "1.234,5", -1, nullptr, 0x01), 1234.5);
}

}  // namespace

namespace {

TEST(TokenReaderWide, Ucs2Tokens) {
  TestLocale tl;
  const GCUChar plus[] = {u'+', 0}, minus[] = {u'm', u'i', 0};
  struct {
    std::u16string text;
    uint32_t flags;
    int token;
    int stepped;
  } cases[] = {
      {u"  \u3000x", 0, GC_TOK_SPACE, 3}, {u"+1", 0, GC_TOK_STR1, 1}, {u"mi", 0, GC_TOK_STR2, 2},
      {u"m", 0, 22, 1},  // a lone 'm' is the letter
      {u",", 0, GC_TOK_CHAR1, 1}, {u".", 0, GC_TOK_CHAR2, 1}, {u"7", 0, 7, 1}, {u"f", 0, 15, 1},
      {u"\uff17", 0, GC_TOK_END, 0},   // full-width 7 without mapping
      {u"\uff17", 0x10, 7, 1},         // and with it
      {u"\u0e53", 0x10, 3, 1},         // Thai three
      {u"\u4e00", 0x10, GC_TOK_END, 0}, {u"#", 0, GC_TOK_END, 0}, {u"1", 0x2, GC_TOK_END, 0},
  };
  for (const auto& c : cases) {
    std::vector<GCUChar> t(c.text.begin(), c.text.end());
    t.push_back(0);
    const GCUChar* next = nullptr;
    EXPECT_EQ(GCStrGetDigitU(tl.get(), t.data(), static_cast<int32_t>(c.text.size()), &next, u',', u'.', plus, minus,
                             c.flags),
              c.token);
    EXPECT_EQ(next - t.data(), c.stepped);
  }
}

TEST(TokenReaderWide, PackedValueTokens) {
  TestLocale tl;
  const uint32_t plus[] = {'+', 0}, minus[] = {'-', 0};
  struct {
    std::vector<uint32_t> text;
    int token;
    int stepped;
  } cases[] = {{{' ', ' ', '1'}, GC_TOK_SPACE, 2}, {{'+'}, GC_TOK_STR1, 1}, {{'-'}, GC_TOK_STR2, 1},
               {{','}, GC_TOK_CHAR1, 1},         {{'9'}, 9, 1},           {{0x8241}, GC_TOK_END, 0},
               {{'Z'}, 35, 1}};
  for (auto& c : cases) {
    c.text.push_back(0);
    const uint32_t* next = nullptr;
    EXPECT_EQ(GCStrGetDigitW(tl.get(), c.text.data(), static_cast<int32_t>(c.text.size() - 1), &next, ',', '.', plus,
                             minus, 1, 0),
              c.token);
    EXPECT_EQ(next - c.text.data(), c.stepped);
  }
  const uint32_t group[] = {'3', ';', '2', ';', '0', 0};
  int32_t remaining = 5;
  const uint32_t* next = nullptr;
  EXPECT_EQ(GCStrGroupingSizeW(tl.get(), group, &remaining, &next), 3);
  EXPECT_EQ(GCStrGroupingSizeW(tl.get(), next, &remaining, &next), 2);
  EXPECT_EQ(GCStrGroupingSizeW(tl.get(), next, &remaining, &next), 0);
  EXPECT_EQ(next, nullptr);
  const uint32_t bad[] = {'3', 'x', 0};
  remaining = 2;
  EXPECT_EQ(GCStrGroupingSizeW(tl.get(), bad, &remaining, &next), -1);
}

}  // namespace

namespace {

TEST(ShiftState, NumbersAcrossShiftCodes) {
  TestLocale tl(Page::Shift);
  const std::string so = "\x0E", si = "\x0F";
  struct {
    std::string text;
    long value;
    int end;  // -1: end of text
  } cases[] = {
      {tl.form("12"), 12, -1},
      {tl.form("1") + so + si + tl.form("2"), 12, -1},
      {tl.form("1") + so + "\x42\xF3" + si + tl.form("4"), 1, 1},  // a double-byte character ends it
      {tl.form("  ") + so + si + tl.form("-7"), -7, -1},
      {so + "\xF1\xF2" + si, 0, 0},  // two bytes in double-byte mode are one character
  };
  for (const auto& c : cases) {
    const char* end = nullptr;
    EXPECT_EQ(GCStringToLong(tl.get(), c.text.c_str(), static_cast<int32_t>(c.text.size()), &end, 10, 0), c.value);
    EXPECT_EQ(end - c.text.c_str(), c.end < 0 ? static_cast<long>(c.text.size()) : c.end);
  }
  std::string d = tl.form("1") + so + si + tl.form(".5");
  EXPECT_EQ(GCStringToDouble(tl.get(), d.c_str(), static_cast<int32_t>(d.size()), nullptr, 0), 1.5);
  const char* next = nullptr;
  int state = -1;
  std::string t = so + si + so + "\xF1\xF2";
  EXPECT_EQ(GCStrGetDigitEx(tl.get(), t.c_str(), 0, static_cast<int32_t>(t.size()), &next, &state, nullptr, nullptr,
                            nullptr, nullptr, 0, 0),
            GC_TOK_END);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(next, t.c_str());
  t = tl.form("5");
  EXPECT_EQ(GCStrGetDigitEx(tl.get(), t.c_str(), 0, 1, &next, &state, nullptr, nullptr, nullptr, nullptr, 0, 0), 5);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(GCStrGetDigitEx(tl.get(), t.c_str(), 0, 1, &next, &state, nullptr, nullptr, nullptr, nullptr, 0, 0x4),
            GC_TOK_END);
}

}  // namespace

namespace {

TEST(MultibyteSpace, Utf8IdeographicSpaceIsWhiteSpace) {
  TestLocale tl(Page::DoubleByte);
  tl.cp.id = GC_CP_ID_UTF8;
  const char text[] = "\xE3\x80\x80 42\xE3\x80\x80";
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(tl.get(), text, -1, &end, 10, 0), 42);
  EXPECT_EQ(end - text, 6);
  const char* next = nullptr;
  EXPECT_EQ(GCStrGetDigit(tl.get(), text, 2, &next, nullptr, nullptr, nullptr, nullptr, 1, 0), GC_TOK_END);  // cut
  EXPECT_EQ(GCStrGetDigit(tl.get(), text, 4, &next, nullptr, nullptr, nullptr, nullptr, 1, 0), GC_TOK_SPACE);
  EXPECT_EQ(next - text, 4);
}

}  // namespace
