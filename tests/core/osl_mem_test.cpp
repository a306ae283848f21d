// The heap cover: totals, fail-test mode, byte helpers and number helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"

namespace {

// Fail-test mode and the total are process-wide: every test starts with the
// mode off, the total at 0 and messages silenced.
class OslMemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    osl_mem_disable_fail_mode();
    osl_mem_test_fired();
    osl_mem_reset_mem_svc();
    osl_print_set_msg_mode(0);
  }
  void TearDown() override {
    osl_mem_disable_fail_mode();
    osl_print_set_msg_mode(1);
    osl_file_set_stdout(nullptr);
  }
};

TEST_F(OslMemTest, TotalCountsAllocationsAndReallocations) {
  void* a = osl_mem_alloc("t", 10);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(osl_mem_get_mem_svc(), 10);
  std::memset(a, 'x', 10);
  void* b = osl_mem_realloc("t", a, 30);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(static_cast<char*>(b)[9], 'x');  // contents kept
  EXPECT_EQ(osl_mem_get_mem_svc(), 40);
  void* c = osl_mem_realloc("t", nullptr, 5);  // null pointer: a new block
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(osl_mem_get_mem_svc(), 45);
  EXPECT_EQ(osl_mem_free("t", b), 1);
  EXPECT_EQ(osl_mem_free("t", c), 1);
  EXPECT_EQ(osl_mem_get_mem_svc(), 45);  // freeing does not lower the total
  osl_mem_reset_mem_svc();
  EXPECT_EQ(osl_mem_get_mem_svc(), 0);
  EXPECT_EQ(osl_mem_free("t", nullptr), 1);
}

TEST_F(OslMemTest, SizesBelowOneGiveNullAndLeaveTotal) {
  for (long size : {0L, -1L, -4096L}) {
    EXPECT_EQ(osl_mem_alloc("t", size), nullptr) << size;
    EXPECT_EQ(osl_mem_realloc("t", nullptr, size), nullptr) << size;
  }
  void* keep = osl_mem_alloc("t", 8);
  ASSERT_NE(keep, nullptr);
  std::memcpy(keep, "1234567", 8);
  EXPECT_EQ(osl_mem_realloc("t", keep, 0), nullptr);
  EXPECT_STREQ(static_cast<char*>(keep), "1234567");  // still valid, not freed
  EXPECT_EQ(osl_mem_get_mem_svc(), 8);
  osl_mem_free("t", keep);
}

TEST_F(OslMemTest, FailTestFollowsGrowingGaps) {
  osl_mem_reset_fail_num();
  const char* expected = "fail ok fail ok ok fail ok ok ok fail ok ok ok ok fail ";
  std::string got;
  std::vector<void*> blocks;
  for (int i = 0; i < 15; ++i) {
    // Alternate the two calls: both take part in the same count.
    void* p = (i % 2 == 0) ? osl_mem_alloc("t", 16) : osl_mem_realloc("t", nullptr, 16);
    got += p == nullptr ? "fail " : "ok ";
    if (p != nullptr) blocks.push_back(p);
  }
  EXPECT_EQ(got, expected);
  EXPECT_EQ(osl_mem_get_mem_svc(), 16 * 10);  // only successes count
  for (void* p : blocks) osl_mem_free("t", p);
}

TEST_F(OslMemTest, FailTestReportsEachFailure) {
  core_msg_capture messages;
  ASSERT_TRUE(messages.start());
  osl_print_set_msg_mode(1);
  osl_mem_reset_fail_num();
  std::vector<void*> blocks;
  for (int i = 0; i < 6; ++i) {
    void* p = osl_mem_alloc("t", 4);
    if (p != nullptr) blocks.push_back(p);
  }
  EXPECT_EQ(messages.text(), "MEM TEST 0 FIRED\nMEM TEST 1 FIRED\nMEM TEST 2 FIRED\n");
  for (void* p : blocks) osl_mem_free("t", p);
}

TEST_F(OslMemTest, FiredFlagIsReadAndCleared) {
  EXPECT_EQ(osl_mem_test_fired(), 0);
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_mem_test_fired(), 0);
  EXPECT_EQ(osl_mem_alloc("t", 4), nullptr);
  EXPECT_EQ(osl_mem_test_fired(), 1);
  EXPECT_EQ(osl_mem_test_fired(), 0);  // cleared by the read
  void* p = osl_mem_alloc("t", 4);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(osl_mem_test_fired(), 0);
  osl_mem_free("t", p);
}

TEST_F(OslMemTest, ResetStartsThePatternAgainAndDisableStopsIt) {
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_mem_alloc("t", 4), nullptr);
  void* p = osl_mem_alloc("t", 4);
  ASSERT_NE(p, nullptr);
  osl_mem_free("t", p);
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_mem_alloc("t", 4), nullptr);  // first allocation fails again
  osl_mem_disable_fail_mode();
  for (int i = 0; i < 5; ++i) {
    void* q = osl_mem_alloc("t", 4);
    EXPECT_NE(q, nullptr) << i;
    osl_mem_free("t", q);
  }
  EXPECT_EQ(osl_mem_test_fired(), 1);  // from before the mode was switched off
}

TEST_F(OslMemTest, FailedReallocationKeepsTheBlock) {
  char* p = static_cast<char*>(osl_mem_alloc("t", 6));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "hello", 6);
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_mem_realloc("t", p, 100), nullptr);
  EXPECT_STREQ(p, "hello");
  osl_mem_disable_fail_mode();
  osl_mem_free("t", p);
}

TEST(OslMemBytes, CopyMoveFillZero) {
  char a[16];
  std::memcpy(a, "abcdefghij", 11);
  char b[16] = {};
  EXPECT_EQ(osl_mem_cpy(b, a, 5), 0);
  EXPECT_STREQ(b, "abcde");
  EXPECT_EQ(osl_mem_move(a + 2, a, 6), 0);  // overlapping
  EXPECT_STREQ(a, "ababcdefij");
  EXPECT_EQ(osl_mem_fill(a, 'z', 3), 0);
  EXPECT_STREQ(a, "zzzbcdefij");
  EXPECT_EQ(osl_mem_fill(a, 0x141, 1), 0);  // only the low byte
  EXPECT_EQ(a[0], 'A');
  EXPECT_EQ(osl_mem_bzero(a + 4, 3), 0);
  EXPECT_EQ(std::memcmp(a, "AzzbX", 4), 0);
  EXPECT_EQ(a[4], 0);
  EXPECT_EQ(a[6], 0);
  EXPECT_EQ(a[7], 'f');
  EXPECT_EQ(osl_mem_cpy(b, a, 0), 0);  // nothing copied
  EXPECT_STREQ(b, "abcde");
}

TEST(OslMemBytes, TransLongCopiesWords) {
  const uint32_t src[3] = {0x01020304u, 0xA0B0C0D0u, 7u};
  uint32_t dst[4] = {0, 0, 0, 0xFFFFFFFFu};
  EXPECT_EQ(osl_mem_trans_long(dst, src, 3), 0);
  EXPECT_EQ(dst[0], src[0]);
  EXPECT_EQ(dst[1], src[1]);
  EXPECT_EQ(dst[2], src[2]);
  EXPECT_EQ(dst[3], 0xFFFFFFFFu);  // nothing past n words
}

TEST(OslMemBytes, QsortSorts) {
  long v[] = {5, -1, 9, 0, 3};
  auto cmp = [](const void* a, const void* b) {
    long x = *static_cast<const long*>(a), y = *static_cast<const long*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  };
  EXPECT_EQ(osl_mem_qsort(v, 5, sizeof(long), cmp), 0);
  EXPECT_EQ(v[0], -1);
  EXPECT_EQ(v[1], 0);
  EXPECT_EQ(v[2], 3);
  EXPECT_EQ(v[3], 5);
  EXPECT_EQ(v[4], 9);
}

TEST(OslMemNumbers, Round4) {
  const struct {
    long n, expected;
  } cases[] = {{0, 0}, {1, 4}, {3, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 12}, {-1, 0}, {-4, -4}, {-5, -4}};
  for (const auto& c : cases) EXPECT_EQ(osl_mem_round4(c.n), c.expected) << c.n;
}

TEST(OslMemNumbers, TruncCeilRound) {
  // round rounds down like trunc: callers rely on that.
  const struct {
    float v;
    long trunc, ceil, round;
  } cases[] = {
      {2.7f, 2, 3, 2}, {2.0f, 2, 2, 2}, {2.2f, 2, 3, 2}, {0.0f, 0, 0, 0},
      {-2.5f, -3, -2, -3}, {-2.0f, -2, -2, -2}, {0.5f, 0, 1, 0},
      {123456.9f, 123456, 123457, 123456},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(osl_mem_trunc(&c.v), c.trunc) << c.v;
    EXPECT_EQ(osl_mem_ceil(&c.v), c.ceil) << c.v;
    EXPECT_EQ(osl_mem_round(&c.v), c.round) << c.v;
  }
}

TEST(OslMemNumbers, OutOfRangeFloatsAreClamped) {
  const float big = 1e30f, small = -1e30f, nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(osl_mem_trunc(&big), std::numeric_limits<long>::max());
  EXPECT_EQ(osl_mem_ceil(&small), std::numeric_limits<long>::min());
  EXPECT_EQ(osl_mem_round(&nan), 0);
}

TEST(OslMemNumbers, CheckCushion) { EXPECT_EQ(osl_mem_check_cushion(), 0); }

}  // namespace
