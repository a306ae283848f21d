// Quoting of SQL literals and the nestable stopwatch.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "kc_testloc.h"
#include "kclassic/kc_quote.h"

using namespace KCLASSIC;

namespace {
class Quoting : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};
} // namespace

TEST_F(Quoting, DelimitTable) {
  struct Case {
    const char* text;
    char quote;
    const char* expected;
  } cases[] = {
      {"O'Neil", '\'', "'O''Neil'"}, {"", '\'', "''"},          {"'", '\'', "''''"},
      {"a\"b", '"', "\"a\"\"b\""},   {"a'b", '"', "\"a'b\""},   {"x''y", '\'', "'x''''y'"},
  };
  for (const auto& c : cases) {
    KZString s(c.text);
    const char* r = UtlDelimitString(s, c.quote);
    EXPECT_STREQ(r, c.expected) << c.text;
    EXPECT_EQ(s.GetLength(), int(strlen(c.expected)));
  }
  KZString s("keep");
  EXPECT_EQ(UtlDelimitString(s, '['), nullptr);
  EXPECT_STREQ(s, "keep");
}

TEST_F(Quoting, StripTable) {
  struct Case {
    const char* text;
    char quote;
    const char* expected;
  } cases[] = {
      {"'O''Neil'", '\'', "O'Neil"}, {"'abc'xyz", '\'', "abc"}, {"'abc", '\'', "abc"},
      {"''", '\'', ""},              {"'x", '\'', ""},          {"abc", '\'', "abc"},
      {"'", '\'', "'"},              {"\"a\"\"b\"", '"', "a\"b"}, {"'''", '\'', "'"},
      {"'a''", '\'', "a'"},
  };
  for (const auto& c : cases) {
    KZString s(c.text);
    EXPECT_STREQ(UtlStripDelimiter(s, c.quote), c.expected) << c.text;
  }
  // Round trip.
  KZString s("it's \"fine\"");
  UtlDelimitString(s, '\'');
  UtlStripDelimiter(s, '\'');
  EXPECT_STREQ(s, "it's \"fine\"");
}

TEST_F(Quoting, StopwatchNesting) {
  KStopTimer t;
  t.Stop(); // without Start: nothing
  EXPECT_EQ(t.GetNesting(), 0u);
  EXPECT_EQ(t.GetAccumulated(), 0);
  t.Start(1);
  EXPECT_EQ(t.GetFrequency(), 1e9);
  t.Start(0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  t.Stop();
  EXPECT_EQ(t.GetNesting(), 1u); // still running
  EXPECT_EQ(t.GetLastInterval(), 0);
  t.Stop();
  EXPECT_EQ(t.GetNesting(), 0u);
  EXPECT_GE(t.GetLastInterval(), 20000000);
  EXPECT_EQ(t.GetAccumulated(), t.GetLastInterval());
  EXPECT_GE(t.ElapsedTime(t.GetAccumulated()), 20.0);
  int64_t first = t.GetAccumulated();
  t.Start();
  t.Stop();
  EXPECT_EQ(t.GetAccumulated(), first + t.GetLastInterval());
  EXPECT_DOUBLE_EQ(t.ElapsedTime(1500000), 1.5);
  t.Clear();
  EXPECT_EQ(t.GetAccumulated(), 0);
  EXPECT_EQ(t.GetLastInterval(), 0);

  KStopTimer fresh; // never cleared: the frequency is fetched for the answer
  EXPECT_DOUBLE_EQ(fresh.ElapsedTime(2000000), 2.0);
}
