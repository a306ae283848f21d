// Block allocation: the block chain and the fixed-size allocator's order,
// reuse and release.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "kclassic/kc_plex.h"

using namespace KCLASSIC;

TEST(Plex, BlocksChainInFront) {
  KPlex* head = nullptr;
  KPlex* a = KPlex::Create(head, 4, 16);
  EXPECT_EQ(head, a);
  EXPECT_EQ(a->pNext, nullptr);
  KPlex* b = KPlex::Create(head, 4, 16);
  EXPECT_EQ(head, b);
  EXPECT_EQ(b->pNext, a);
  EXPECT_EQ(static_cast<char*>(b->data()), reinterpret_cast<char*>(b) + sizeof(KPlex));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(b->data()) % alignof(std::max_align_t) % 8, 0u);
  head->FreeDataChain(); // both blocks (the sanitizer reports a leak otherwise)
}

TEST(FixedAlloc, HandsOutABlockInAddressOrderThenANewBlock) {
  KFixedAlloc pool(80, 64);
  std::vector<char*> got;
  for (int i = 0; i < 64; ++i) got.push_back(static_cast<char*>(pool.Alloc()));
  for (int i = 1; i < 64; ++i) EXPECT_EQ(got[i], got[i - 1] + 80) << i;
  char* next = static_cast<char*>(pool.Alloc()); // a second block
  EXPECT_TRUE(next < got.front() || next > got.back());
}

TEST(FixedAlloc, FreedElementsAreReusedLastInFirstOut) {
  KFixedAlloc pool(32, 8);
  void* a = pool.Alloc();
  void* b = pool.Alloc();
  pool.Free(a);
  pool.Free(b);
  EXPECT_EQ(pool.Alloc(), b);
  EXPECT_EQ(pool.Alloc(), a);
  pool.Free(nullptr); // ignored
  void* c = pool.Alloc();
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
}

TEST(FixedAlloc, FreeAllStartsAFreshBlockAndSmallSizesHoldALink) {
  KFixedAlloc tiny(1, 4);
  EXPECT_EQ(tiny.GetAllocSize(), sizeof(void*));
  void* first = tiny.Alloc();
  tiny.FreeAll();
  void* fresh = tiny.Alloc();
  (void)first;
  EXPECT_NE(fresh, nullptr);
  tiny.Free(fresh);
  EXPECT_EQ(tiny.Alloc(), fresh);
}

TEST(FixedAlloc, ThreadsShareOnePool) {
  KFixedAlloc pool(16, 32);
  std::vector<std::thread> threads;
  std::vector<std::vector<void*>> got(4);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) got[t].push_back(pool.Alloc());
    });
  for (auto& t : threads) t.join();
  std::set<void*> all;
  for (auto& v : got) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(), 2000u); // no element handed out twice
}
