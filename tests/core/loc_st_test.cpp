#include "core/loc/loc_st.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/core_fixture.h"
#include "core/loc/loc_dbg.h"
#include "core/osl/osl_file.h"

namespace {

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
