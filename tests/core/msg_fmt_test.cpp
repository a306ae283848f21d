// The message formatter's account of what a text reads: argument count,
// conflicts and the type of each argument, after positional markers.
#include <gtest/gtest.h>

#include <string>

#include "core/msg/msg_fmt.h"

namespace {

struct args_case {
  const char* text;
  long count;
  long conflict;
  const char* kinds;
};

class MsgFmtArgs : public ::testing::TestWithParam<args_case> {};

TEST_P(MsgFmtArgs, CountConflictAndKinds) {
  const args_case& c = GetParam();
  long count = -1, conflict = -1;
  char kinds[MSG_FMT_SLOTS + 1] = "xxxxx";
  ASSERT_EQ(msg_fmt_args(c.text, &count, &conflict, kinds), 0);
  EXPECT_EQ(count, c.count) << c.text;
  EXPECT_EQ(conflict, c.conflict) << c.text;
  EXPECT_STREQ(kinds, c.kinds) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MsgFmtArgs,
    ::testing::Values(args_case{"", 0, 0, ""}, args_case{"plain 100%% text", 0, 0, ""},
                      args_case{"%ld bytes (in '%s')", 2, 0, "ls"},
                      args_case{"%s:2 has %ld:1 items", 2, 0, "ls"},
                      args_case{"value %ld:5.", 5, 0, "----l"},
                      args_case{"%*d|%.*s", 4, 0, "iiis"},
                      args_case{"%s:1 and %ld:1", 1, 1, "s"},
                      args_case{"%g %Lg %p %zu %lld %c", 5, 0, "dDpzL"},
                      args_case{"%q broken %", 0, 0, ""}));

TEST(MsgFmt, NullTextAndNullOutputs) {
  long count = 9, conflict = 9;
  char kinds[MSG_FMT_SLOTS + 1] = "x";
  EXPECT_EQ(msg_fmt_args(nullptr, &count, &conflict, kinds), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(conflict, 0);
  EXPECT_STREQ(kinds, "");
  EXPECT_EQ(msg_fmt_args("%s", nullptr, nullptr, nullptr), 0);
  char out[16];
  EXPECT_EQ(msg_fmt_format(out, sizeof out, "%s:2-%ld:1", 7L, "x"), 0);
  EXPECT_STREQ(out, "x-7");
}

}  // namespace
