// Processes, signals and numbers.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core_fixture.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys.h"

namespace {

TEST(OslSys, CallTypeTable) {
  const struct {
    long type_id, expected;
  } cases[] = {{512, 1}, {513, 2}, {514, 3}, {613, 4}, {516, 5}, {515, 6}, {609, 6}, {0, 6}, {-1, 6}};
  for (const auto& c : cases) EXPECT_EQ(osl_sys_cmn_to_call_type(c.type_id), c.expected) << c.type_id;
}

TEST(OslSys, FixedAnswers) {
  EXPECT_EQ(osl_sys_max_display(), 60000);
  EXPECT_EQ(osl_sys_dial_out(), -1);
  core_msg_capture messages;
  ASSERT_TRUE(messages.start());
  EXPECT_EQ(osl_sys_call(), 1);
  EXPECT_EQ(messages.text(), "osl_sys_call is not yet implemented\n");
}

TEST(OslSys, RandomNumbers) {
  osl_sys_srand(42);
  long first[5];
  for (long& v : first) v = osl_sys_rand();
  osl_sys_srand(42);
  for (long v : first) EXPECT_EQ(osl_sys_rand(), v);  // same seed, same sequence
  for (int i = 0; i < 1000; ++i) {
    float r = -1.0f;
    EXPECT_EQ(osl_sys_rand_real(&r), 0);
    ASSERT_GE(r, 0.0f);
    ASSERT_LE(r, 1.0f);
  }
  // The value is rand() over RAND_MAX.
  osl_sys_srand(7);
  long raw = osl_sys_rand();
  osl_sys_srand(7);
  float r = 0.0f;
  osl_sys_rand_real(&r);
  EXPECT_FLOAT_EQ(r, static_cast<float>(static_cast<double>(raw) / RAND_MAX));
}

TEST(OslSys, SystemRunsTheShell) {
  EXPECT_EQ(osl_sys_system("exit 0"), 0);
  long rc = osl_sys_system("exit 3");
  EXPECT_TRUE(WIFEXITED(rc));
  EXPECT_EQ(WEXITSTATUS(rc), 3);
}

TEST(OslSys, SleepZeroReturnsAtOnce) { EXPECT_EQ(osl_sys_sleep(0), 0); }

// Saves and restores the actions of the signals a test changes.
class OslSignalTest : public ::testing::Test {
 protected:
  static constexpr int kSignals[] = {SIGTRAP, SIGILL, SIGBUS, SIGSEGV, SIGCHLD};
  void SetUp() override {
    for (int i = 0; i < 5; ++i) sigaction(kSignals[i], nullptr, &saved_[i]);
  }
  void TearDown() override {
    for (int i = 0; i < 5; ++i) sigaction(kSignals[i], &saved_[i], nullptr);
  }
  static void (*Handler(int sig))(int) {
    struct sigaction sa {};
    sigaction(sig, nullptr, &sa);
    return sa.sa_handler;
  }
  struct sigaction saved_[5];
};

TEST_F(OslSignalTest, FaultSignalsFollowTheMode) {
  const int faults[] = {SIGTRAP, SIGILL, SIGBUS, SIGSEGV};
  EXPECT_EQ(osl_sys_set_signal(0), 0);
  for (int s : faults) EXPECT_EQ(Handler(s), SIG_IGN) << s;
  EXPECT_EQ(osl_sys_set_signal(7), 0);  // other modes: nothing
  for (int s : faults) EXPECT_EQ(Handler(s), SIG_IGN) << s;
  EXPECT_EQ(osl_sys_set_signal(1), 0);
  for (int s : faults) EXPECT_EQ(Handler(s), SIG_DFL) << s;
}

TEST_F(OslSignalTest, ChildSignalFollowsTheMode) {
  EXPECT_EQ(osl_sys_set_child_signal(0), 0);
  EXPECT_EQ(Handler(SIGCHLD), SIG_IGN);
  EXPECT_EQ(osl_sys_set_child_signal(2), 0);
  EXPECT_EQ(Handler(SIGCHLD), SIG_IGN);
  EXPECT_EQ(osl_sys_set_child_signal(1), 0);
  EXPECT_EQ(Handler(SIGCHLD), SIG_DFL);
}

}  // namespace
