#include "core/loc/loc_st.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "core/core_fixture.h"
#include "core/loc/loc_dbg.h"
#include "core/osl/osl_file.h"

namespace {

// Runs with the character set of a locale's LC_CTYPE, put back afterwards.
class ctype_locale {
 public:
  explicit ctype_locale(const char* name) : old_(std::setlocale(LC_CTYPE, nullptr)) {
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~ctype_locale() { std::setlocale(LC_CTYPE, old_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string old_;
  bool ok_;
};

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

TEST(LocSt, CaseInsensitiveComparisons) {
  struct {
    const char* a;
    const char* b;
    long want;
  } cases[] = {{"Hello", "He", 1}, {"He", "Hello", -1}, {"HeLLo", "hEllO", 0}, {"", "", 0},
               {"abc", "abd", 'c' - 'd'}, {"B", "a", 'b' - 'a'}};
  for (auto& c : cases) EXPECT_EQ(loc_st_strcmpi(c.a, c.b), c.want) << c.a << " " << c.b;
  EXPECT_EQ(loc_st_strncmpi("HELLO world", "hello WORLD!", 11), 0);
  struct {
    const char* a;
    const char* b;
    int sign;
  } by_value[] = {{"abc", "abd", -1}, {"b", "a", 1}, {"same", "same", 0}, {"ab", "abc", -1},
                  {"", "a", -1},      {"a", "A", 1}, {"\xE9", "z", 1}};
  for (auto& c : by_value) {
    long r = loc_st_strcmp(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " " << c.b;
  }
  EXPECT_EQ(loc_st_strncmpi("abc", "abd", 2), 0);
  EXPECT_EQ(loc_st_strcmp_upper("b", "A"), 'B' - 'A');
  EXPECT_EQ(loc_st_strcmp_opt(" a b\tc ", "abc", 1), 0);
  EXPECT_LT(loc_st_strcmp_opt("a b", "a c", 1), 0);
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  EXPECT_EQ(loc_st_strcmp_opt("a", "b", 2), 0);
  EXPECT_EQ(msgs.text(), "loc_st_strcmp_opt: unknown option 2\n");
  const char* text = "The Quick Fox";
  EXPECT_EQ(loc_st_strstri(text, "qUICK"), text + 4);
  EXPECT_EQ(loc_st_strstri(text, "slow"), nullptr);
  EXPECT_EQ(loc_st_match("*.TXT", "notes.txt"), 0);
  EXPECT_EQ(loc_st_match("*.doc", "notes.txt"), 1);
  EXPECT_EQ(loc_st_has_wildcard("a*b"), 1);
  EXPECT_EQ(loc_st_has_wildcard("ab"), 0);
  EXPECT_EQ(loc_st_in(',', " ,;"), 0);
  EXPECT_EQ(loc_st_in('x', " ,;"), -1);
  EXPECT_EQ(loc_st_in('x', ""), -1);
  EXPECT_EQ(loc_st_toupper('a'), 'A');
  EXPECT_EQ(loc_st_tolower(0xC9), static_cast<signed char>(0xC9));  // sign-extended low byte
  EXPECT_EQ(loc_st_isascii(0x41), 1);
  EXPECT_EQ(loc_st_isascii(0xC1), 0);
  EXPECT_EQ(loc_st_isxdigit('f'), 1);
  EXPECT_EQ(loc_st_ispunct('!'), 1);
}

TEST(LocSt, LeadBytesByClientLocale) {
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
  // Without double-byte mode the character set decides.
  ctype_locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  EXPECT_EQ(loc_IsDBCSLeadByte(0xE3), 1);
  EXPECT_EQ(loc_IsDBCSLeadByte('a'), 0);
  EXPECT_EQ(loc_st_get_char_length(0xE3), 3);
  EXPECT_EQ(loc_st_get_char_length(0xC3), 2);
  EXPECT_EQ(loc_st_get_char_length('a'), 1);
}

std::vector<std::string> tokens(char* (*tok)(char*, const char*), std::string text, const char* delims) {
  std::vector<std::string> out;
  std::vector<char> buf(text.begin(), text.end());
  buf.push_back('\0');
  for (char* t = tok(buf.data(), delims); t != nullptr; t = tok(nullptr, delims)) out.push_back(t);
  return out;
}

TEST(LocSt, TokenisersKeepDoubleByteCharactersWhole) {
  // 0x81 0x2C is one character in double-byte mode: its second byte is ','.
  const std::string text = std::string("a,\x81,b,,c");
  {
    double_byte_mode mode("1");
    EXPECT_EQ(tokens(loc_st_strtok, text, ","), (std::vector<std::string>{"a", "\x81,b", "", "c"}));
    EXPECT_EQ(tokens(loc_st_strtok, ",x,", ","), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(tokens(loc_st_strtok2, text, ","), (std::vector<std::string>{"a", "\x81,b", "c"}));
  }
  EXPECT_EQ(tokens(loc_st_strtok, "a,,b", ","), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(tokens(loc_st_strtok2, "a, b,;c", ", ;"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(tokens(loc_st_strtok2, ",a", ","), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(tokens(loc_st_strtok2, "", ","), std::vector<std::string>{});
}

TEST(LocSt, CutsAndSearchesNeverSplitACharacter) {
  ctype_locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  const std::string text = "ab\xE3\x81\x82" "c\xC3\xA9";  // a b (3 bytes) c (2 bytes)
  struct {
    long len;
    const char* want;
  } cuts[] = {{0, ""}, {2, "ab"}, {3, "ab"}, {4, "ab"}, {5, "ab\xE3\x81\x82"}, {7, "ab\xE3\x81\x82" "c"},
              {8, "ab\xE3\x81\x82" "c\xC3\xA9"}, {20, "ab\xE3\x81\x82" "c\xC3\xA9"}};
  for (auto& c : cuts) {
    std::string buf = text;
    loc_st_set_null(buf.data(), c.len);
    EXPECT_STREQ(buf.c_str(), c.want) << c.len;
  }
  // 0x81 inside the 3-byte character is not found as a character.
  std::string s = "x\xE3\x81\x82\x81";
  EXPECT_EQ(loc_st_strchr(s.c_str(), 0x81), s.c_str() + 4);  // the lone byte, not the inner one
  EXPECT_EQ(loc_st_strrchr(text.c_str(), 'c'), text.c_str() + 5);
  EXPECT_EQ(loc_st_strstr(text.c_str(), "\x81\x82"), nullptr);
  EXPECT_EQ(loc_st_strstr(text.c_str(), "c\xC3"), text.c_str() + 5);
  EXPECT_EQ(loc_st_nextch(text.c_str() + 2), text.c_str() + 5);
}

TEST(LocSt, WhiteSpaceHelpers) {
  char buf[32] = "  lead and trail \t";
  EXPECT_STREQ(loc_st_strip_spaces(buf), "lead and trail");
  EXPECT_EQ(loc_st_is_allspace(" \t\n"), 1);
  EXPECT_EQ(loc_st_is_allspace(" x"), 0);
  EXPECT_EQ(loc_st_has_space("a b"), 1);
  EXPECT_STREQ(loc_st_next_nonspace("  x"), "x");
  EXPECT_STREQ(loc_st_next_nonspace_noncomma(" , ,x"), "x");
  char out[6];
  const char* src = "alpha beta";
  EXPECT_STREQ(loc_st_copy_til_space(out, sizeof out, src), " beta");
  EXPECT_STREQ(out, "alpha");
  EXPECT_STREQ(loc_st_copy_til_char(out, sizeof out, "ab  =c", '='), "=c");
  EXPECT_STREQ(out, "ab");
  EXPECT_STREQ(loc_st_copy_til_char_nochop(out, sizeof out, "ab  =c", '='), "=c");
  EXPECT_STREQ(out, "ab  ");
  EXPECT_STREQ(loc_st_copy_til_one_of(out, sizeof out, "abcdefgh;x", ";,"), ";x");
  EXPECT_STREQ(out, "abcde");  // cut at size - 1
  EXPECT_STREQ(loc_st_find_eol("ab\ncd"), "\ncd");
  char t[] = "a=b=c";
  EXPECT_STREQ(loc_st_set_char_to(t, '=', ':'), "a:b:c");
  EXPECT_STREQ(loc_st_set_char_null(t, ':'), "a");
  EXPECT_EQ(loc_st_empty_str(nullptr), 1);
  EXPECT_EQ(loc_st_empty_str(""), 1);
  EXPECT_EQ(loc_st_is_newline('\n'), 1);
  EXPECT_EQ(loc_st_mb_to_wide(nullptr, "abc", 3), 0);
}

long trace_calls = 0;
long trace(const char*, long level, const char* format, va_list args) {
  char buf[64];
  std::vsnprintf(buf, sizeof buf, format, args);
  ++trace_calls;
  return std::string(buf) == "x 7 y" ? level : 0;
}

TEST(LocSt, DebugTraceAndCharacterDump) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  loc_dbg_set_topic("loc", -1, nullptr);
  loc_dbg_print("loc", 0, "hidden %d\n", 1);
  EXPECT_EQ(msgs.text(), "");
  loc_dbg_set_topic("loc", 2, nullptr);
  loc_dbg_print("loc", 2, "shown %s %ld %.1f\n", "a", 5L, 1.5);
  loc_dbg_print("loc", 3, "too deep\n");
  EXPECT_EQ(msgs.text(), "loc_dbg_print: shown a 5 1.5\n");
  loc_dbg_set_topic("loc", 0, trace);
  msgs.restart();
  EXPECT_EQ(loc_dbg_print("loc", 9, "x %d %s", 7, "y"), 9);
  EXPECT_EQ(trace_calls, 1);
  EXPECT_EQ(loc_dbg_print("loc", 0, "left %d\n", 8), 0);  // the procedure gives 0: printed here
  EXPECT_EQ(trace_calls, 2);
  EXPECT_EQ(msgs.text(), "loc_dbg_print: left 8\n");
  loc_dbg_set_topic("loc", -1, nullptr);

  core_scratch_dir dir;
  ASSERT_TRUE(dir.make("loc_dump"));
  dir.enter(dir.path(), dir.path());
  loc_st_dump_char_to_file("off");
  EXPECT_FALSE(core_read_file(dir.path() / "chardump.out"));
  loc_st_set_dump_char(1);
  loc_st_dump_char_to_file("AB");
  loc_st_dump_char_to_file("\xE9");
  loc_st_set_dump_char(0);
  EXPECT_EQ(core_read_file(dir.path() / "chardump.out").value_or(""), "AB\n65 66 \n\xE9\n233 \n");
  char name[OSL_FILE_TMP_NAME_SIZE + 1];
  ASSERT_NE(loc_io_tmpnam(name), nullptr);
  EXPECT_EQ(loc_io_access(name, 0), 0);
  std::remove(name);
}

}  // namespace
