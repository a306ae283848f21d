// Alert stacks: push, guard, suspend mode, readers, pools, and message texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"

namespace {

// Each test gets a fresh current stack and captures the OS layer's messages.
class CmnAlrt : public ::testing::Test {
 protected:
  void SetUp() override {
    core_start_cmn();
    ASSERT_EQ(cmn_alrt_new(20, &stack_), 0);
    ASSERT_EQ(cmn_alrt_set_current(stack_, &previous_), 0);
    ASSERT_TRUE(messages_.start());
  }
  void TearDown() override {
    messages_.stop();
    cmn_alrt_suspend(0);
    cmn_ty_alert_stack* cur = nullptr;
    cmn_alrt_get_current(&cur);
    if (cur == nullptr || cur == stack_) cmn_alrt_set_current(previous_, nullptr);
    cmn_alrt_free("test", stack_);
  }
  std::string printed() { return messages_.text(); }
  long count(cmn_ty_alert_stack* s = nullptr) {
    long n = -1;
    EXPECT_EQ(cmn_alrt_num(s, &n), 0);
    return n;
  }
  std::string text_at(long i, cmn_ty_alert_stack* s = nullptr) {
    const char* t = nullptr;
    EXPECT_EQ(cmn_alrt_ith(s, i, nullptr, &t), 0);
    return t != nullptr ? t : "<null>";
  }
  long code_at(long i, cmn_ty_alert_stack* s = nullptr) {
    long c = 0;
    EXPECT_EQ(cmn_alrt_ith(s, i, &c, nullptr), 0);
    return c;
  }

  cmn_ty_alert_stack* stack_ = nullptr;
  cmn_ty_alert_stack* previous_ = nullptr;
  core_msg_capture messages_;
};

TEST(CmnAlrtCode, SubsystemAndIndexBits) {
  EXPECT_EQ(cmn_alrt_code_subs(0x100018), 1);
  EXPECT_EQ(cmn_alrt_code_index(0x100018), 24);
  EXPECT_EQ(cmn_alrt_code(34, 5), 0x2200005);
  EXPECT_EQ(cmn_alrt_code_subs(0x3FF00000), 1023);
}

TEST_F(CmnAlrt, PushFormatsTheMessageText) {
  EXPECT_EQ(cmn_alrt_push(nullptr, "proc", 0x100003, 2, 100L, "here"), 0);
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(code_at(0), 0x100003);
  EXPECT_EQ(text_at(0), "Not enough memory to allocate 100 bytes (in 'here').");
  EXPECT_EQ(cmn_alrt_push(stack_, "proc", 0x100006, 1, "nosuch"), 0);
  EXPECT_EQ(text_at(1), "Unknown subsystem/application 'nosuch' (add to CMNSUBS table).");
}

TEST_F(CmnAlrt, PushDuringPushKeepsOnlyTheOuterAlert) {
  // The text look-up of a code with a bad subsystem pushes 0x100007 itself;
  // inside a push that inner alert is dropped.
  EXPECT_EQ(cmn_alrt_push(nullptr, "proc", 0x3FF00005, 0), 0);
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(code_at(0), 0x3FF00005);
  EXPECT_EQ(text_at(0), "Cannot get message for code 0x3ff00005 (subsystem=UNKNOWN SUBSYSTEM 1023)\n");
}

TEST_F(CmnAlrt, QuietPushLetsTheInnerAlertThrough) {
  EXPECT_EQ(cmn_alrt_quiet_push(nullptr, "proc", 0x3FF00005, 0), 0);
  ASSERT_EQ(count(), 2);
  EXPECT_EQ(code_at(0), 0x100007);
  EXPECT_EQ(text_at(0), "Bad alert code: invalid subsystem code 1023 in alert code 0x3ff00005.");
  EXPECT_EQ(code_at(1), 0x3FF00005);
}

TEST_F(CmnAlrt, CodeOfAListThatIsNotInstalled) {
  EXPECT_EQ(cmn_alrt_push(nullptr, "proc", 0x800001, 0), 0);  // rem, no list
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(text_at(0), "Cannot get message for code 0x800001 (subsystem=rem)\n");
  EXPECT_NE(printed().find("Could not retrieve messages for subsystem 'rem'"), std::string::npos);
}

TEST_F(CmnAlrt, SuspendModeDropsPushesToTheCurrentStackOnly) {
  cmn_ty_alert_stack* other = nullptr;
  ASSERT_EQ(cmn_alrt_new(5, &other), 0);
  ASSERT_EQ(cmn_alrt_suspend(1), 0);
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100018, 0), 0);
  EXPECT_EQ(cmn_alrt_push_msg(nullptr, 0x100018, "dropped"), 0);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(cmn_alrt_push(other, "p", 0x100009, 1, 7L), 0);
  EXPECT_EQ(cmn_alrt_push(stack_, "p", 0x100009, 1, 8L), 0);  // named, even if current
  EXPECT_EQ(count(other), 1);
  EXPECT_EQ(text_at(0, other), "Bad alert stack 7.");
  EXPECT_EQ(count(), 1);
  ASSERT_EQ(cmn_alrt_suspend(0), 0);
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100018, 0), 0);
  EXPECT_EQ(count(), 2);
  cmn_alrt_free("t", other);
}

TEST_F(CmnAlrt, TopOnEmptyCurrentStackPushesTheUnexpectedAlert) {
  long code = 0;
  const char* text = nullptr;
  EXPECT_EQ(cmn_alrt_top(nullptr, &code, &text), 0x100018);
  EXPECT_EQ(code, 0x100018);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text,
               "An unexpected problem occurred.  Please report circumstances to OrbisanCRM Customer Support.");
  EXPECT_EQ(count(), 1);
  // Now the stack has an entry: top reads it without removing it.
  EXPECT_EQ(cmn_alrt_top(nullptr, &code, &text), 0);
  EXPECT_EQ(count(), 1);
}

TEST_F(CmnAlrt, TopOnEmptyOtherStackGivesTheFallbackText) {
  cmn_ty_alert_stack* other = nullptr;
  ASSERT_EQ(cmn_alrt_new(5, &other), 0);
  long code = 0;
  const char* text = nullptr;
  EXPECT_EQ(cmn_alrt_top(other, &code, &text), 0x100018);
  EXPECT_STREQ(text, "Problem occurred but could not add to the alert list");
  EXPECT_EQ(count(other), 0);
  EXPECT_EQ(count(), 1);  // the alert went to the current stack
  cmn_alrt_free("t", other);
}

TEST_F(CmnAlrt, PopAndIthEdgeCases) {
  long code = 99;
  const char* text = "untouched";
  EXPECT_EQ(cmn_alrt_pop(nullptr, &code, &text), 0);
  EXPECT_EQ(code, -1);
  EXPECT_EQ(text, nullptr);

  cmn_alrt_push_msg(nullptr, 11, "first");
  cmn_alrt_push_msg(nullptr, 22, "second");
  for (long i : {2L, 3L, -1L}) {
    code = 99;
    text = "untouched";
    EXPECT_EQ(cmn_alrt_ith(nullptr, i, &code, &text), 0) << i;
    EXPECT_EQ(code, 99) << i;
    EXPECT_STREQ(text, "untouched") << i;
  }
  EXPECT_EQ(cmn_alrt_ith(nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(code_at(0), 11);
  EXPECT_EQ(text_at(1), "second");

  EXPECT_EQ(cmn_alrt_pop(nullptr, &code, &text), 0);
  EXPECT_EQ(code, 22);
  EXPECT_STREQ(text, "second");
  EXPECT_EQ(count(), 1);
  // The popped text stays readable: pool space is not given back by a pop.
  cmn_alrt_push_msg(nullptr, 33, "third");
  EXPECT_STREQ(text, "second");
  EXPECT_EQ(cmn_alrt_pop(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(count(), 1);
}

TEST_F(CmnAlrt, ManyAlertsGrowTheEntryArray) {
  for (long i = 0; i < 45; ++i) {
    ASSERT_EQ(cmn_alrt_push_msg(nullptr, i, ("alert " + std::to_string(i)).c_str()), 0);
  }
  ASSERT_EQ(count(), 45);
  for (long i = 0; i < 45; ++i) {
    EXPECT_EQ(code_at(i), i);
    EXPECT_EQ(text_at(i), "alert " + std::to_string(i));
  }
}

TEST_F(CmnAlrt, LongTextsGetTheirOwnPool) {
  std::string big(3000, 'q');
  ASSERT_EQ(cmn_alrt_push_msg(nullptr, 1, big.c_str()), 0);
  ASSERT_EQ(cmn_alrt_push_msg(nullptr, 2, "small"), 0);
  EXPECT_EQ(text_at(0), big);
  EXPECT_EQ(text_at(1), "small");
}

TEST_F(CmnAlrt, ClearReusesThePoolsWithoutNewAllocations) {
  std::string mid(300, 'm');
  auto fill = [&] {
    for (int i = 0; i < 10; ++i) ASSERT_EQ(cmn_alrt_push_msg(nullptr, i, mid.c_str()), 0);
  };
  fill();
  ASSERT_EQ(count(), 10);
  ASSERT_EQ(cmn_alrt_clear(nullptr), 0);
  EXPECT_EQ(count(), 0);
  long before = osl_mem_get_mem_svc();
  fill();
  EXPECT_EQ(osl_mem_get_mem_svc(), before);
  EXPECT_EQ(text_at(9), mid);
}

TEST_F(CmnAlrt, FailedAllocationsAreReturnedAndStoreNothing) {
  const std::string long_arg(600, 'n');  // its text needs a pool of its own
  osl_mem_reset_fail_num();              // the first allocation fails
  // The failure is returned; the no-memory alert raised inside the push is
  // dropped, so the stack stays empty.
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100006, 1, long_arg.c_str()), 0x100003);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100006, 1, long_arg.c_str()), 0);  // next one succeeds
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(text_at(0), "Unknown subsystem/application '" + long_arg + "' (add to CMNSUBS table).");

  // Each failed step of making a stack is reported with one alert on the
  // current stack and links nothing into the chain.
  cmn_ty_alert_stack* made = nullptr;
  int failures = 0;
  for (int i = 0; i < 10 && made == nullptr; ++i) {
    const long before = count();
    const long rc = cmn_alrt_new(3, &made);
    if (rc == 0) break;
    ++failures;
    EXPECT_EQ(rc, 0x100003) << i;
    EXPECT_EQ(made, nullptr) << i;
    ASSERT_EQ(count(), before + 1) << i;
    EXPECT_EQ(code_at(before), 0x100003) << i;
  }
  osl_mem_disable_fail_mode();
  EXPECT_GE(failures, 2);  // the header, then a later allocation
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(cmn_alrt_check(made), 0);
  EXPECT_EQ(cmn_alrt_push_msg(made, 1, "works"), 0);
  EXPECT_EQ(text_at(0, made), "works");
  EXPECT_EQ(cmn_alrt_free("t", made), 0);
  EXPECT_EQ(cmn_alrt_check(stack_), 0);
}

TEST_F(CmnAlrt, DeadStackHandleIsRejected) {
  cmn_ty_alert_stack* dead = nullptr;
  ASSERT_EQ(cmn_alrt_new(5, &dead), 0);
  ASSERT_EQ(cmn_alrt_free("t", dead), 0);
  long n = 0;
  EXPECT_EQ(cmn_alrt_num(dead, &n), 0x100009);
  EXPECT_EQ(cmn_alrt_push_msg(dead, 1, "x"), 0x100009);
  EXPECT_EQ(cmn_alrt_clear(dead), 0x100009);
  EXPECT_EQ(cmn_alrt_set_current(dead, nullptr), 0x100009);
  ASSERT_EQ(count(), 4);
  EXPECT_EQ(code_at(0), 0x100009);
  EXPECT_EQ(text_at(0), "Bad alert stack " + std::to_string(reinterpret_cast<long>(dead)) + ".");
  // A push to the dead stack reports the failure and stores nothing, not
  // even the 0x100009 alert (raised inside the push).
  EXPECT_EQ(cmn_alrt_push(dead, "p", 0x100018, 0), 0x100009);
  EXPECT_EQ(count(), 4);
}

TEST_F(CmnAlrt, FreeUnlinksFromTheChain) {
  cmn_ty_alert_stack *a = nullptr, *b = nullptr, *c = nullptr;
  ASSERT_EQ(cmn_alrt_new(2, &a), 0);
  ASSERT_EQ(cmn_alrt_new(2, &b), 0);
  ASSERT_EQ(cmn_alrt_new(2, &c), 0);
  ASSERT_EQ(cmn_alrt_free("t", b), 0);  // middle
  EXPECT_EQ(cmn_alrt_check(a), 0);
  EXPECT_EQ(cmn_alrt_check(c), 0);
  ASSERT_EQ(cmn_alrt_free("t", c), 0);  // newest
  EXPECT_EQ(cmn_alrt_check(a), 0);
  ASSERT_EQ(cmn_alrt_free("t", a), 0);
  EXPECT_EQ(cmn_alrt_check(stack_), 0);
  EXPECT_EQ(count(), 0);
}

TEST_F(CmnAlrt, CopyKeepsCodesAndTexts) {
  cmn_alrt_push_msg(nullptr, 1, "one");
  cmn_alrt_push(nullptr, "p", 0x100009, 1, 5L);
  cmn_ty_alert_stack* copy = nullptr;
  ASSERT_EQ(cmn_alrt_copy(nullptr, &copy), 0);
  ASSERT_EQ(count(copy), 2);
  EXPECT_EQ(code_at(0, copy), 1);
  EXPECT_EQ(text_at(0, copy), "one");
  EXPECT_EQ(code_at(1, copy), 0x100009);
  EXPECT_EQ(text_at(1, copy), "Bad alert stack 5.");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(text_at(0, copy), "one");
  cmn_alrt_free("t", copy);
}

TEST_F(CmnAlrt, CurrentStackSwitching) {
  cmn_ty_alert_stack* other = nullptr;
  ASSERT_EQ(cmn_alrt_new(3, &other), 0);
  cmn_ty_alert_stack* prev = nullptr;
  ASSERT_EQ(cmn_alrt_set_current(other, &prev), 0);
  EXPECT_EQ(prev, stack_);
  cmn_alrt_push_msg(nullptr, 5, "to other");
  EXPECT_EQ(count(other), 1);
  EXPECT_EQ(count(stack_), 0);
  ASSERT_EQ(cmn_alrt_set_current(stack_, &prev), 0);
  EXPECT_EQ(prev, other);
  cmn_alrt_free("t", other);
}

TEST_F(CmnAlrt, WithoutACurrentStackAlertsArePrinted) {
  cmn_ty_alert_stack* gone = nullptr;
  ASSERT_EQ(cmn_alrt_new(3, &gone), 0);
  ASSERT_EQ(cmn_alrt_set_current(gone, nullptr), 0);
  ASSERT_EQ(cmn_alrt_free("t", gone), 0);
  cmn_ty_alert_stack* cur = stack_;
  cmn_alrt_get_current(&cur);
  EXPECT_EQ(cur, nullptr);
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100003, 2, 64L, "pool"), 0);
  EXPECT_EQ(printed(),
            "The following error occurred before CMN initialization or\n"
            " during the processing of another error:\n"
            "  Not enough memory to allocate 64 bytes (in 'pool'). (code=100003)\n");
  cmn_alrt_set_current(stack_, nullptr);
}

TEST_F(CmnAlrt, MessageTextsOfCodes) {
  const char* text = nullptr;
  EXPECT_EQ(cmn_alrt_get_msg(0x100009, &text), 0);
  EXPECT_STREQ(text, "Bad alert stack %ld.");
  long nargs = 0, flag = 0;
  EXPECT_EQ(cmn_alrt_get_msg_info(0x10001f, &text, &nargs, &flag), 0);
  EXPECT_EQ(nargs, 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(cmn_alrt_get_msg_info(0x100003, &text, &nargs, &flag), 0);
  EXPECT_EQ(nargs, 2);
  EXPECT_EQ(flag, 0);
  EXPECT_STREQ(cmn_alrt_get(0x100019), "Invalid class %ld.");
  EXPECT_STREQ(cmn_alrt_get(0x100002), "cmn message 1002 (no text available)");
  EXPECT_STREQ(cmn_alrt_get(0x800001), "CANT FIND message (but valid code)");
  EXPECT_STREQ(cmn_alrt_ret_msg(0x800001), "Cannot retrieve message with 'rem' code 0x800001.\n");
  EXPECT_EQ(count(), 0);
  EXPECT_STREQ(cmn_alrt_get(0x40000001), "UNKNOWN alert code");
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(code_at(0), 0x100007);
  EXPECT_STREQ(cmn_alrt_subs_name(0x2200005), "clk");

  const long codes[] = {0x100000, 0x100001, 0x800001, 0x100003};
  const char* texts[4] = {};
  EXPECT_EQ(cmn_alrt_get_messages(4, codes, texts), -1);
  EXPECT_STREQ(texts[1], "Bad callback number %ld for data type %ld.");
  EXPECT_EQ(texts[3], nullptr);

  cmn_alrt_push_msg(nullptr, 1, "will be cleared");
  EXPECT_NE(cmn_alrt_get_msg_and_clear(0x800001, &text), 0);
  EXPECT_EQ(count(), 0);
}

TEST_F(CmnAlrt, FormattedMessagesOfCodes) {
  char buf[16];
  EXPECT_EQ(cmn_alrt_get_fmsg(0x100003, sizeof buf, buf, 123456L, "owner"), 0);
  EXPECT_STREQ(buf, "Not enough memo");
  EXPECT_STREQ(cmn_alrt_ret_fmsg(0x10001d, 11L, "Value"),
               "There can only be one method for message 11 installed for class Value.");
  EXPECT_STREQ(cmn_alrt_ret_fmsg(0x800002), "Cannot retrieve message with 'rem' code 0x800002.\n");
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(code_at(0), 0x100008);
  EXPECT_EQ(text_at(0), "Cannot format alert message with code 0x800002.");
  EXPECT_EQ(cmn_alrt_print_fmsg(0x100009, 3L), 0);
  EXPECT_NE(printed().find("Bad alert stack 3."), std::string::npos);
}

TEST_F(CmnAlrt, PushSpecialPrintsThreePieces) {
  EXPECT_EQ(cmn_alrt_push_special(0x1234, "boom"), 0);
  EXPECT_EQ(printed(),
            "The following error occurred before CMN initialization or\n"
            " during the processing of another error:\n"
            "  boom (code=1234)\n");
}

// Exact fits of the alert texts' pools (512 bytes, a longer text gets a pool
// of its own size): a text that fills what is left of a pool goes into it,
// one byte more takes a new pool. Every text reads back whole (the sanitizer
// sees a write past a pool).
struct pool_fit_case {
  std::vector<long> lengths;       // text lengths, without the terminator
  std::vector<bool> new_pool;      // whether each push takes a new pool
};

class CmnAlrtPoolFit : public CmnAlrt, public ::testing::WithParamInterface<pool_fit_case> {};

TEST_P(CmnAlrtPoolFit, ExactFitStaysAndOneMoreTakesANewPool) {
  const pool_fit_case& c = GetParam();
  std::vector<std::string> texts;
  for (size_t i = 0; i < c.lengths.size(); ++i) {
    texts.emplace_back(static_cast<size_t>(c.lengths[i]), static_cast<char>('a' + i));
    long before = osl_mem_get_mem_svc();
    ASSERT_EQ(cmn_alrt_push_msg(nullptr, static_cast<long>(i), texts.back().c_str()), 0);
    EXPECT_EQ(osl_mem_get_mem_svc() != before, c.new_pool[i]) << "push " << i;
  }
  ASSERT_EQ(count(), static_cast<long>(texts.size()));
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(text_at(static_cast<long>(i)), texts[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, CmnAlrtPoolFit,
    ::testing::Values(pool_fit_case{{511, 0}, {false, true}},        // 512 bytes exactly, then 1 more
                      pool_fit_case{{510, 0, 0}, {false, false, true}},
                      pool_fit_case{{300, 210, 0}, {false, false, true}},
                      pool_fit_case{{300, 211}, {false, true}},      // one byte more than is left
                      pool_fit_case{{512, 0}, {true, false}},        // 513 bytes: a pool of its own
                      pool_fit_case{{0, 510, 0}, {false, false, true}}));

// Exact fits of the entry array: a stack made for n alerts takes n without
// growing and grows at the n + 1st; every entry reads back.
class CmnAlrtEntryFit : public CmnAlrt, public ::testing::WithParamInterface<long> {};

TEST_P(CmnAlrtEntryFit, CapacityThenGrowth) {
  const long capacity = GetParam();
  cmn_ty_alert_stack* s = nullptr;
  ASSERT_EQ(cmn_alrt_new(capacity, &s), 0);
  for (long i = 0; i <= capacity; ++i) {
    long before = osl_mem_get_mem_svc();
    ASSERT_EQ(cmn_alrt_push_msg(s, i, ""), 0);  // one byte of the first pool each
    EXPECT_EQ(osl_mem_get_mem_svc() != before, i == capacity) << "push " << i;
  }
  EXPECT_EQ(count(s), capacity + 1);
  for (long i = 0; i <= capacity; ++i) EXPECT_EQ(code_at(i, s), i);
  long code = 0;
  const char* text = reinterpret_cast<const char*>(1);
  EXPECT_EQ(cmn_alrt_ith(s, capacity + 1, &code, &text), 0);  // one past the end: unchanged
  EXPECT_EQ(text, reinterpret_cast<const char*>(1));
  EXPECT_EQ(cmn_alrt_free("test", s), 0);
}

INSTANTIATE_TEST_SUITE_P(Capacities, CmnAlrtEntryFit, ::testing::Values(1L, 2L, 19L, 20L));

// Exact fit of the formatted text: a message that formats to exactly 2048
// characters is stored whole; one character more is cut to 2048.
TEST_F(CmnAlrt, FormattedTextOfExactlyTheBufferSize) {
  const std::string head = "Unknown subsystem/application '";
  const std::string tail = "' (add to CMNSUBS table).";
  const size_t fits = static_cast<size_t>(CMN_ALRT_BUF_SIZE - 1) - head.size() - tail.size();
  for (size_t n : {fits - 1, fits, fits + 1}) {
    cmn_alrt_clear(nullptr);
    std::string arg(n, 'w');
    ASSERT_EQ(cmn_alrt_push(nullptr, "p", 0x100006, 1, arg.c_str()), 0);
    std::string whole = head + arg + tail;
    std::string stored = text_at(0);
    EXPECT_EQ(stored, whole.substr(0, static_cast<size_t>(CMN_ALRT_BUF_SIZE - 1))) << n;
  }
}

TEST_F(CmnAlrt, OverlongArgumentIsCutInTheStoredText) {
  std::string big(4000, 'z');
  EXPECT_EQ(cmn_alrt_push(nullptr, "p", 0x100006, 1, big.c_str()), 0);
  std::string t = text_at(0);
  EXPECT_EQ(t.size(), 2048U);
  EXPECT_EQ(t.substr(0, 31), "Unknown subsystem/application '");
}

}  // namespace
