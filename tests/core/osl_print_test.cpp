// Messages (mode, stream, indent) and the wildcard matcher.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/core_fixture.h"
#include "core/osl/osl_print.h"
#include "testdb/testdb_tmp.h"

namespace {

// Sends messages to a temporary stream for the life of the fixture.
class OslPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(messages_.start());
    osl_print_set_msg_mode(1);
  }
  void TearDown() override {
    messages_.stop();
    osl_print_set_msg_mode(1);
  }
  std::string Captured() { return messages_.text(); }
  core_msg_capture messages_;
};

long forward(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  long rc = osl_print_vmes(fmt, args);
  va_end(args);
  return rc;
}

long forward_i(long indent, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  long rc = osl_print_vmes_i(indent, fmt, args);
  va_end(args);
  return rc;
}

TEST_F(OslPrintTest, FormatsTypedArgumentsToTheMessageStream) {
  EXPECT_EQ(osl_print_mes("%s=%ld %d %.2f %c|", "k", 1234567890123L, -7, 2.5, 'x'), 0);
  EXPECT_EQ(Captured(), "k=1234567890123 -7 2.50 x|");
}

TEST_F(OslPrintTest, VaListFormsForwardArguments) {
  EXPECT_EQ(forward("%s-%ld", "a", 42L), 0);
  EXPECT_EQ(forward_i(2, "[%d]", 9), 0);
  EXPECT_EQ(Captured(), "a-42  [9]");
}

TEST_F(OslPrintTest, ModeOffPrintsNothing) {
  osl_print_set_msg_mode(0);
  EXPECT_EQ(osl_print_get_msg_mode(), 0);
  EXPECT_EQ(osl_print_mes("hidden %d\n", 1), 0);
  EXPECT_EQ(osl_print_mes_i(4, "hidden %d\n", 2), 0);
  EXPECT_EQ(forward("hidden %d\n", 3), 0);
  EXPECT_EQ(Captured(), "");
  osl_print_set_msg_mode(1);
  EXPECT_EQ(osl_print_get_msg_mode(), 1);
  osl_print_mes("shown");
  EXPECT_EQ(Captured(), "shown");
}

TEST_F(OslPrintTest, MessageIsFlushedAtOnce) {
  // Read through a second descriptor: only flushed bytes are visible there.
  const std::string flushed = testdb::tmp_file("osl_flush");
  ASSERT_FALSE(flushed.empty());
  const char* name = flushed.c_str();
  FILE* out = std::fopen(name, "w");
  ASSERT_NE(out, nullptr);
  osl_file_set_stdout(out);
  osl_print_mes("abc %d", 5);
  FILE* in = std::fopen(name, "r");
  ASSERT_NE(in, nullptr);
  char buf[32] = {};
  ASSERT_NE(std::fgets(buf, sizeof(buf), in), nullptr);
  EXPECT_STREQ(buf, "abc 5");
  std::fclose(in);
  osl_file_set_stdout(messages_.stream());
  std::fclose(out);
  std::remove(name);
}

TEST_F(OslPrintTest, IndentWritesThatManyBlanks) {
  struct Case {
    long indent;
    std::string expected;
  };
  const Case cases[] = {
      {3, "   m\n"},
      {0, "m\n"},
      {-2, "m\n"},
      {1, " m\n"},
      {75, std::string(75, ' ') + "m\n"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(messages_.restart());
    EXPECT_EQ(osl_print_mes_i(c.indent, "%s\n", "m"), 0);
    EXPECT_EQ(Captured(), c.expected) << "indent " << c.indent;
  }
}

TEST(OslPrintStream, NullStreamMeansStandardOutput) {
  osl_file_set_stdout(nullptr);
  EXPECT_EQ(osl_file_stdout(), stdout);
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  osl_file_set_stdout(f);
  EXPECT_EQ(osl_file_stdout(), f);
  osl_file_set_stdout(nullptr);
  EXPECT_EQ(osl_file_stdout(), stdout);
  std::fclose(f);
}

struct MatchCase {
  const char* text;
  const char* pattern;
  long case_sensitive;
  long expected;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << "text \"" << c.text << "\" pattern \"" << c.pattern << "\" case " << c.case_sensitive;
}

class OslMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(OslMatchTest, Match) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(osl_print_match(c.text, c.pattern, c.case_sensitive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OslMatchTest,
    ::testing::Values(
        // case on and off
        MatchCase{"ABC", "a*", 0, 1}, MatchCase{"ABC", "a*", 1, 0},
        MatchCase{"abc", "ABC", 0, 1}, MatchCase{"abc", "ABC", 1, 0},
        MatchCase{"abc", "abc", 1, 1},
        // '?'
        MatchCase{"abc", "a?c", 1, 1}, MatchCase{"ac", "a?c", 1, 0},
        MatchCase{"abbc", "a?c", 1, 0}, MatchCase{"", "?", 1, 0},
        // '*'
        MatchCase{"", "*", 1, 1}, MatchCase{"anything", "*", 1, 1},
        MatchCase{"", "**", 1, 1}, MatchCase{"abc", "a*c", 1, 1},
        MatchCase{"ac", "a*c", 1, 1}, MatchCase{"abcd", "a*c", 1, 0},
        MatchCase{"aXbXc", "*b*", 1, 1}, MatchCase{"aab", "*ab", 1, 1},
        MatchCase{"abab", "*ab*ab", 1, 1}, MatchCase{"ab", "*ab*ab", 1, 0},
        MatchCase{"mississippi", "m*iss*ppi", 1, 1}, MatchCase{"mississippi", "m*iss*ppx", 1, 0},
        MatchCase{"-char_set=latin1", "-char_set=*", 1, 1}, MatchCase{"-char_set", "-char_set=*", 1, 0},
        MatchCase{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*c", 1, 0},
        // text longer or shorter than the pattern
        MatchCase{"abc", "ab", 1, 0}, MatchCase{"ab", "abc", 1, 0}, MatchCase{"", "", 1, 1},
        MatchCase{"a", "", 1, 0},
        // '/' escape
        MatchCase{"a*", "a/*", 1, 1}, MatchCase{"ab", "a/*", 1, 0}, MatchCase{"a", "a/*", 1, 0},
        MatchCase{"a?", "a/?", 1, 1}, MatchCase{"ab", "a/?", 1, 0},
        MatchCase{"a/", "a//", 1, 1}, MatchCase{"ab", "a/b", 1, 1}, MatchCase{"AB", "a/b", 0, 1},
        MatchCase{"a", "a/", 1, 0}, MatchCase{"a/", "a/", 1, 0}, MatchCase{"", "/", 1, 0},
        MatchCase{"x*y", "*/**", 1, 1}, MatchCase{"xy", "*/**", 1, 0},
        // punctuation and digits compare as they are
        MatchCase{"1.5", "1?5", 0, 1}, MatchCase{"1.5", "1.6", 0, 0}));

class OslMatch2Test : public ::testing::TestWithParam<MatchCase> {};

TEST_P(OslMatch2Test, Match2) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(osl_print_match2(c.text, c.pattern, c.case_sensitive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OslMatch2Test,
    ::testing::Values(
        // '/' is ordinary before the first '*'
        MatchCase{"dir/file", "dir/file", 1, 1}, MatchCase{"dirfile", "dir/file", 1, 0},
        MatchCase{"dir/a.txt", "dir/*.txt", 1, 1}, MatchCase{"DIR/A.TXT", "dir/*.txt", 0, 1},
        MatchCase{"DIR/A.TXT", "dir/*.txt", 1, 0}, MatchCase{"a/", "a/", 1, 1},
        MatchCase{"a", "a/", 1, 0},
        // after the first '*', '/' escapes again
        MatchCase{"d/x*", "d/*/*", 1, 1}, MatchCase{"d/x/y", "d/*/*", 1, 0},
        MatchCase{"d/xy", "d/*y", 1, 1},
        // the rest as osl_print_match
        MatchCase{"abc", "a?c", 1, 1}, MatchCase{"ac", "a?c", 1, 0}, MatchCase{"", "*", 1, 1},
        MatchCase{"ab", "ab", 1, 1}, MatchCase{"abc", "ab", 1, 0}, MatchCase{"ab", "abc", 1, 0},
        MatchCase{"ABC", "a*", 0, 1}, MatchCase{"ABC", "a*", 1, 0}));

TEST(OslMatchNull, NullArgumentsNeverMatch) {
  EXPECT_EQ(osl_print_match(nullptr, "*", 1), 0);
  EXPECT_EQ(osl_print_match("a", nullptr, 1), 0);
  EXPECT_EQ(osl_print_match2(nullptr, "*", 1), 0);
}

}  // namespace
