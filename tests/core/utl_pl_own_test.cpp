// Pools made with their first extent in the pool's own block.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/core_fixture.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_pl.h"

namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new core_utl_env);

class UtlPoolOwnExtent : public core_utl_test {
 protected:
  void SetUp() override {
    core_utl_test::SetUp();
    ASSERT_EQ(utl_mem_set_mode(1), 0);  // checked blocks, counted
    // The owner's name is kept (in a block of its own) at its first use.
    utl_ty_pool* first = make(8);
    ASSERT_EQ(utl_pl_free("t", first), 0);
    before_ = utl_mem_num_checked();
  }
  void release() override {
    utl_pl_set_num_search(3);
    utl_mem_set_mode(0);
  }
  utl_ty_pool* make(long extent) {
    utl_ty_pool* p = nullptr;
    EXPECT_EQ(utl_pl_create_with_extent("t", extent, &p), 0);
    return p;
  }
  long blocks() const { return utl_mem_num_checked() - before_; }
  long before_ = 0;
};

TEST_F(UtlPoolOwnExtent, PoolAndFirstExtentTakeOneBlock) {
  utl_ty_pool* p = make(64);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(blocks(), 1);
  ASSERT_NE(p->first, nullptr);
  EXPECT_EQ(p->first, p->own);
  EXPECT_EQ(p->last, p->own);
  EXPECT_EQ(p->own->size, 64);
  EXPECT_EQ(p->own->left, 64);
  void* a = nullptr;
  void* b = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 40, &a), 0);
  ASSERT_EQ(utl_pl_alloc(p, 24, &b), 0);
  EXPECT_EQ(b, static_cast<char*>(a) + 40);
  EXPECT_EQ(blocks(), 1);  // both from the own extent
  std::memset(a, 1, 64);
  long inside = 0;
  EXPECT_EQ(utl_pl_contains(p, a, 64, &inside), 0);
  EXPECT_EQ(inside, 1);
  ASSERT_EQ(utl_pl_alloc(p, 8, &a), 0);  // full: a new extent in a block of its own
  EXPECT_EQ(blocks(), 2);
  EXPECT_NE(p->first, p->own);
  ASSERT_EQ(utl_pl_reset(p), 0);
  EXPECT_EQ(p->own->left, 64);
  EXPECT_EQ(utl_pl_free("t", p), 0);
  EXPECT_EQ(blocks(), 0);
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(UtlPoolOwnExtent, OwnExtentMovedBehindOthersIsStillFreedWithThePool) {
  utl_ty_pool* p = make(16);
  void* a = nullptr;
  utl_pl_set_num_search(0);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(utl_pl_alloc(p, 10, &a), 0);
  utl_pl_set_num_search(3);
  EXPECT_EQ(blocks(), 5);  // the own extent and four more
  ASSERT_EQ(utl_pl_alloc(p, 8, &a), 0);  // three searched extents move to the tail
  std::vector<utl_ty_pool_extent*> chain;
  for (utl_ty_pool_extent* e = p->first; e; e = e->next) chain.push_back(e);
  ASSERT_EQ(chain.size(), 6u);
  EXPECT_NE(chain.front(), p->own);
  EXPECT_NE(chain.back(), p->own);
  EXPECT_EQ(utl_pl_free("t", p), 0);
  EXPECT_EQ(blocks(), 0);
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(UtlPoolOwnExtent, AnEmptyExtentIsRefused) {
  for (long size : {0L, -8L}) {
    utl_ty_pool* p = nullptr;
    EXPECT_EQ(utl_pl_create_with_extent("t", size, &p), UTL_BAD_ARG) << size;
    EXPECT_EQ(p, nullptr);
  }
  EXPECT_EQ(blocks(), 0);
}

}  // namespace
