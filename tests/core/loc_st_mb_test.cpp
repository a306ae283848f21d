// The locale layer's characters and strings in the class library's test
// locales: single-byte English, German in Latin1, a double-byte page (lead
// bytes 0x81 and 0x82) and UTF-8 with a case pair of unequal lengths.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/core_fixture.h"
#include "core/loc/loc_kc.h"
#include "core/loc/loc_st.h"
#include "kclassic/kc_testloc.h"

namespace {

using kctest::bytes;
using kctest::ThreadLocale;

// The test locales must be the library's data before anything here starts
// the library on its own.
class kc_locales_env : public ::testing::Environment {
 public:
  void SetUp() override { kctest::startLocales(); }
};
const ::testing::Environment* const kc_env = ::testing::AddGlobalTestEnvironment(new kc_locales_env);

// Double-byte mode with a client locale, both put back afterwards.
class double_byte_mode {
 public:
  explicit double_byte_mode(const char* orb_loc) {
    double_byte_enable = 1;
    if (orb_loc)
      setenv("ORB_LOC", orb_loc, 1);
    else
      unsetenv("ORB_LOC");
  }
  ~double_byte_mode() {
    double_byte_enable = 0;
    unsetenv("ORB_LOC");
  }
};

std::string upper(std::string s) { return loc_st_strupper(s.data()); }
std::string lower(std::string s) { return loc_st_strlower(s.data()); }

TEST(LocStMb, ClassesAndCaseFollowTheThreadLocale) {
  {
    ThreadLocale english(kctest::kEnglish);
    EXPECT_EQ(loc_st_isalpha(0xE4), 0);
    EXPECT_EQ(loc_st_toupper(0xE4), static_cast<signed char>(0xE4));
    EXPECT_EQ(upper("ab\xE4z1"), "AB\xE4Z1");
    EXPECT_EQ(loc_st_strcmpi("\xC4X", "\xE4x"), 0xC4 - 0xE4);  // no case pair in US-ASCII
  }
  ThreadLocale german(kctest::kGerman);
  struct {
    long c;
    long alpha, upper, lower, digit, space, alnum;
  } classes[] = {{'a', 1, 0, 1, 0, 0, 1},  {'Z', 1, 1, 0, 0, 0, 1},  {'7', 0, 0, 0, 1, 0, 1},
                 {' ', 0, 0, 0, 0, 1, 0},  {0xE4, 1, 0, 1, 0, 0, 1}, {0xC4, 1, 1, 0, 0, 0, 1},
                 {'-', 0, 0, 0, 0, 0, 0},  {static_cast<signed char>(0xC4), 1, 1, 0, 0, 0, 1}};
  for (auto& c : classes) {
    EXPECT_EQ(loc_st_isalpha(c.c), c.alpha) << c.c;
    EXPECT_EQ(loc_st_isupper(c.c), c.upper) << c.c;
    EXPECT_EQ(loc_st_islower(c.c), c.lower) << c.c;
    EXPECT_EQ(loc_st_isdigit(c.c), c.digit) << c.c;
    EXPECT_EQ(loc_st_isspace(c.c), c.space) << c.c;
    EXPECT_EQ(loc_st_isalnum(c.c), c.alnum) << c.c;
  }
  EXPECT_EQ(loc_st_toupper(0xE4), static_cast<signed char>(0xC4));
  EXPECT_EQ(loc_st_tolower(0xC4), static_cast<signed char>(0xE4));
  EXPECT_EQ(upper("ab\xE4z1"), "AB\xC4Z1");
  EXPECT_EQ(lower("AB\xC4Z1"), "ab\xE4z1");
  EXPECT_EQ(loc_st_strcmpi("\xC4X", "\xE4x"), 0);
  EXPECT_EQ(loc_st_strcmpi("\xC4Xa", "\xE4x"), 1);
  EXPECT_EQ(loc_st_strcmpi("\xC4", "\xE4x"), -1);
  const char* text = "Gro\xC4" "E";
  EXPECT_EQ(loc_st_strstri(text, "\xE4" "e"), text + 3);
}

TEST(LocStMb, DoubleByteCharactersStayWhole) {
  ThreadLocale dbl(kctest::kDouble);
  // Lengths by lead byte; 0x83 starts no character.
  struct {
    long byte, length, lead;
  } leads[] = {{'a', 1, 0}, {0x81, 2, 1}, {0x82, 2, 1}, {0x83, 1, 0}, {0, 1, 0}};
  for (auto& l : leads) {
    EXPECT_EQ(loc_st_get_char_length(l.byte), l.length) << l.byte;
    EXPECT_EQ(loc_IsDBCSLeadByte(l.byte), l.lead) << l.byte;
  }
  // Upper case of full-width a (0x82 0x81) is full-width A (0x82 0x60); the
  // trail byte 0x60 is no character of its own.
  const std::string wide_a = bytes({0x82, 0x81}), wide_A = bytes({0x82, 0x60});
  EXPECT_EQ(upper("x" + wide_a + "y"), "X" + wide_A + "Y");
  EXPECT_EQ(lower("X" + wide_A + "Y"), "x" + wide_a + "y");
  EXPECT_EQ(loc_st_isupper(0x8260), 0);  // a packed character is tested by its low byte ('`') only
  EXPECT_EQ(loc_st_isspace(0x40), 0);

  const std::string text = "a" + wide_A + "`b" + wide_A;  // '`' is 0x60
  EXPECT_EQ(loc_st_strchr(text.c_str(), '`'), text.c_str() + 3);
  EXPECT_EQ(loc_st_strrchr(text.c_str(), '`'), text.c_str() + 3);
  EXPECT_EQ(loc_st_strchr(text.c_str(), 0x8260), text.c_str() + 1);
  EXPECT_EQ(loc_st_strrchr(text.c_str(), 0x8260), text.c_str() + 5);
  EXPECT_EQ(loc_st_strchr(text.c_str(), 'z'), nullptr);
  EXPECT_EQ(loc_st_strchr(text.c_str(), 0), text.c_str() + text.size());
  EXPECT_EQ(loc_st_strstr(text.c_str(), "`b"), text.c_str() + 3);
  EXPECT_EQ(loc_st_strstr(text.c_str(), bytes({0x60, 0x60}).c_str()), nullptr);  // trail byte, then '`'
  EXPECT_EQ(loc_st_strstr(text.c_str(), ""), text.c_str());
  EXPECT_EQ(loc_st_nextch(text.c_str() + 1), text.c_str() + 3);
  EXPECT_EQ(loc_st_char_length_at(text.c_str() + 1), 2);

  struct {
    long len;
    std::string want;
  } cuts[] = {{0, ""},        {1, "a"},           {2, "a"},           {3, "a" + wide_A},
              {4, "a" + wide_A + "`"}, {6, "a" + wide_A + "`b"}, {7, text}, {40, text}};
  for (auto& c : cuts) {
    std::string buf = text;
    EXPECT_EQ(std::string(loc_st_set_null(buf.data(), c.len)), c.want) << c.len;
  }
  // A lead byte cut off by the end of the text is one byte.
  std::string cut = "ab" + bytes({0x82});
  EXPECT_EQ(loc_st_char_length_at(cut.c_str() + 2), 1);
  EXPECT_EQ(std::string(loc_st_set_null(cut.data(), 3)), "ab" + bytes({0x82}));
}

TEST(LocStMb, Utf8CaseOfUnequalLengthsNeverGrowsTheText) {
  ThreadLocale utf8(kctest::kUtf8);
  const std::string small = bytes({0xC9, 0x90}), big = bytes({0xE2, 0xB1, 0xAF});
  EXPECT_EQ(loc_st_get_char_length(0xE2), 3);
  EXPECT_EQ(loc_st_get_char_length(0xC9), 2);
  EXPECT_EQ(loc_st_get_char_length(0x80), 1);
  EXPECT_EQ(loc_IsDBCSLeadByte(0xC9), 1);
  // Each character whose other case has another length keeps its case; the
  // rest of the text is mapped.
  EXPECT_EQ(upper("a" + small + "b"), "A" + small + "B");
  EXPECT_EQ(lower("A" + big + "B"), "a" + big + "b");
  std::string s = "x" + big;
  for (long len : {1L, 2L, 3L}) {
    std::string buf = s;
    EXPECT_EQ(std::string(loc_st_set_null(buf.data(), len)), "x") << len;
  }
}

TEST(LocStMb, NumbersComparisonsAndFormattingThroughTheLibrary) {
  {
    ThreadLocale german(kctest::kGerman);
    EXPECT_DOUBLE_EQ(loc_st_atof("1,5"), 1.5);
    EXPECT_EQ(loc_st_atol("  -42x"), -42);
    EXPECT_EQ(loc_st_atoi("17"), 17);
    char out[64];
    EXPECT_EQ(loc_st_sprintf(out, "%s|%ld|%.2f", "ab", 7L, 2.75), 9);
    EXPECT_STREQ(out, "ab|7|2,75");
  }
  ThreadLocale english(kctest::kEnglish);
  EXPECT_DOUBLE_EQ(loc_st_atof("1,5"), 15.0);  // ',' groups digits here
  EXPECT_DOUBLE_EQ(loc_st_atof("2.5e1"), 25.0);
  char out[64];
  EXPECT_EQ(loc_st_sprintf(out, "%s|%ld|%.2f", "ab", 7L, 2.75), 9);
  EXPECT_STREQ(out, "ab|7|2.75");
  struct {
    const char* a;
    const char* b;
    int sign;
  } cmp[] = {{"abc", "abd", -1}, {"b", "a", 1}, {"same", "same", 0}, {"ab", "abc", -1}, {"", "a", -1}};
  for (auto& c : cmp) {
    long r = loc_st_strcmp(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " " << c.b;
    r = loc_st_strcoll(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " " << c.b;
  }
  char buf[16] = "ab";
  EXPECT_STREQ(loc_st_strcat(buf, "cd"), "abcd");
  EXPECT_EQ(loc_st_strlen(buf), 4);
  EXPECT_STREQ(loc_st_strcpy(buf, "x"), "x");
}

TEST(LocStMb, CodePageAndWideConversions) {
  ThreadLocale english(kctest::kEnglish);
  const std::string latin = bytes({'a', 0xE4});
  char out[16] = {};
  EXPECT_EQ(loc_st_strconvert(nullptr, latin.c_str(), -1, 0, "UTF-8", "Latin1"), 4);
  EXPECT_EQ(loc_st_strconvert(out, latin.c_str(), -1, sizeof out, "UTF-8", "Latin1"), 4);
  EXPECT_EQ(std::string(out), "a" + bytes({0xC3, 0xA4}));
  // Wide text is not converted.
  wchar_t wide[4] = {L'x', 0};
  EXPECT_EQ(loc_st_mb_to_wide(wide, "abc", 4), 0);
  EXPECT_EQ(loc_st_wide_to_mb(out, wide, sizeof out), 0);
  EXPECT_EQ(loc_st_mb_to_wide_size("abc"), 0);
  EXPECT_EQ(loc_st_wide_to_mb_size(wide), 0);
}

TEST(LocStMb, LeadBytesByClientLocaleInDoubleByteMode) {
  ThreadLocale english(kctest::kEnglish);  // no lead bytes of its own
  struct {
    const char* orb_loc;
    long byte;
    long want;
  } cases[] = {{"7", 0xD5, 0},  {"1042", 0xD5, 0}, {nullptr, 0xD5, 1}, {"1", 0xD5, 0}, {"1", 0xE0, 1},
               {"1", 0xA0, 0},  {"7", 0xA0, 1},    {nullptr, 0xA0, 1}, {"1", 0x80, 0}, {"7", 0x80, 0},
               {nullptr, 0x80, 0}, {"1", 0x81, 1}, {"7", 0x84, 1},     {"7", 0xFA, 0}, {nullptr, 0xFE, 1}};
  for (auto& c : cases) {
    double_byte_mode mode(c.orb_loc);
    EXPECT_EQ(loc_IsDBCSLeadByte(c.byte), c.want) << (c.orb_loc ? c.orb_loc : "none") << " " << c.byte;
  }
  EXPECT_EQ(loc_IsDBCSLeadByte(0xD5), 0);  // mode off: the thread locale's lengths
}

// What the layer does with an error object the library throws: caught,
// freed (the leak check of the sanitised build would see it otherwise), its
// code handed back and the fallback given.
TEST(LocStMb, LibraryErrorsAreCaughtAndFreed) {
  long error = 0;
  long got = loc_kc_call([]() -> long { throw new KCLASSIC::KErr(KCLASSIC::KERR_INTERNAL, "kstrupper"); },
                         [] { return -7L; }, &error);
  EXPECT_EQ(got, -7);
  EXPECT_EQ(error, KCLASSIC::KERR_INTERNAL);
  error = 5;
  EXPECT_EQ(loc_kc_call([]() -> long { throw 1; }, [] { return -8L; }, &error), -8);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(loc_kc_call([] { return 3L; }, [] { return -9L; }), 3);
  EXPECT_EQ(loc_kc_char(static_cast<signed char>(0xE4)), 0xE4u);
  EXPECT_EQ(loc_kc_char(0x8260), 0x8260u);
}

std::vector<std::string> tokens(char* (*tok)(char*, const char*), std::string text, const char* delims) {
  std::vector<std::string> out;
  std::vector<char> buf(text.begin(), text.end());
  buf.push_back('\0');
  for (char* t = tok(buf.data(), delims); t != nullptr; t = tok(nullptr, delims)) out.push_back(t);
  return out;
}

TEST(LocStMb, TokenisersKeepDoubleByteCharactersWhole) {
  // 0x81 0x2C is one character in double-byte mode: its second byte is ','.
  const std::string text = std::string("a,\x81,b,,c");
  {
    double_byte_mode mode("1");
    EXPECT_EQ(tokens(loc_st_strtok, text, ","), (std::vector<std::string>{"a", "\x81,b", "", "c"}));
    EXPECT_EQ(tokens(loc_st_strtok, ",x,", ","), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(tokens(loc_st_strtok, "", ","), std::vector<std::string>{});
    EXPECT_EQ(tokens(loc_st_strtok2, text, ","), (std::vector<std::string>{"a", "\x81,b", "c"}));
    EXPECT_EQ(tokens(loc_st_strtok2, "x\x81", ","), (std::vector<std::string>{"x\x81"}));  // lead byte at the end
  }
  {
    // Out of double-byte mode the thread locale's lengths step the second
    // tokeniser; the first is the C library's.
    ThreadLocale dbl(kctest::kDouble);
    EXPECT_EQ(tokens(loc_st_strtok2, "a;\x82;b;c", ";"), (std::vector<std::string>{"a", "\x82;b", "c"}));
    EXPECT_EQ(tokens(loc_st_strtok, "a;\x82;b", ";"), (std::vector<std::string>{"a", "\x82", "b"}));
  }
  EXPECT_EQ(tokens(loc_st_strtok, "a,,b", ","), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(tokens(loc_st_strtok2, "a, b,;c", ", ;"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(tokens(loc_st_strtok2, ",a", ","), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(tokens(loc_st_strtok2, "", ","), std::vector<std::string>{});
}

}  // namespace
