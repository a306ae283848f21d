// Memory front end and pools.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_main.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_pl.h"

namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new core_utl_env);

class UtlMem : public core_utl_test {
 protected:
  void release() override {
    utl_mem_set_mode(0);
    utl_pl_set_num_search(3);
  }
};

TEST_F(UtlMem, SegmentsLieEndToEndInOneBlock) {
  const long types[3] = {512, 515, 516};
  const long sizes[3] = {16, 0, 8};
  void* addr[3] = {&addr, &addr, &addr};
  osl_mem_reset_mem_svc();
  ASSERT_EQ(utl_mem_alloc("t", 3, types, sizes, addr), 0);
  EXPECT_EQ(osl_mem_get_mem_svc(), 24);  // one block of 24 bytes
  ASSERT_NE(addr[0], nullptr);
  EXPECT_EQ(addr[1], nullptr);
  EXPECT_EQ(addr[2], static_cast<char*>(addr[0]) + 16);
  std::memset(addr[0], 1, 24);  // the whole block is usable
  EXPECT_EQ(utl_mem_free("t", addr[0]), 0);
  EXPECT_EQ(utl_mem_free("t", nullptr), 0);
}

TEST_F(UtlMem, ReallocKeepsTheLayoutAndTheContents) {
  const long types[2] = {512, 515};
  long sizes[2] = {8, 4};
  void* addr[2] = {};
  ASSERT_EQ(utl_mem_alloc("t", 2, types, sizes, addr), 0);
  std::memcpy(addr[0], "ABCDEFGH", 8);
  sizes[0] = 8;
  sizes[1] = 4000;
  ASSERT_EQ(utl_mem_realloc("t", 2, sizes, addr), 0);
  EXPECT_EQ(std::memcmp(addr[0], "ABCDEFGH", 8), 0);
  EXPECT_EQ(addr[1], static_cast<char*>(addr[0]) + 8);
  std::memset(addr[1], 2, 4000);
  utl_mem_free("t", addr[0]);
}

TEST_F(UtlMem, ZeroTotalIsNotAFailure) {
  const long types[2] = {512, 512};
  const long sizes[2] = {0, 0};
  void* addr[2] = {&addr, &addr};
  ASSERT_EQ(utl_mem_has_reserve(), 1);
  EXPECT_EQ(utl_mem_alloc("t", 2, types, sizes, addr), 0);
  EXPECT_EQ(addr[0], nullptr);
  EXPECT_EQ(addr[1], nullptr);
  EXPECT_EQ(utl_mem_has_reserve(), 1);
  EXPECT_EQ(core_top_alert_text(), "");
}

TEST_F(UtlMem, NegativeSegmentSize) {
  const long types[2] = {512, 512};
  const long sizes[2] = {4, -3};
  void* addr[2] = {};
  EXPECT_EQ(utl_mem_alloc("owner", 2, types, sizes, addr), UTL_BAD_SEG_SIZE);
  EXPECT_EQ(core_top_alert_text(), "Invalid segment size (-3, segment #1) requested from 'owner'.\n");
  EXPECT_EQ(utl_mem_has_reserve(), 1);
}

TEST_F(UtlMem, FailedAllocationReleasesTheReserveUntilTakenAgain) {
  const long type = 512;
  const long size = 100;
  void* addr = nullptr;
  ASSERT_EQ(utl_mem_has_reserve(), 1);
  osl_mem_reset_fail_num();  // the next allocation fails
  EXPECT_EQ(utl_mem_alloc("owner", 1, &type, &size, &addr), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(addr, nullptr);
  EXPECT_EQ(utl_mem_has_reserve(), 0);
  EXPECT_EQ(core_top_alert_text(), "Cannot allocate memory block of size 100 (from 'owner').\n");
  ASSERT_EQ(utl_mem_emergy(nullptr), 0);
  EXPECT_EQ(utl_mem_has_reserve(), 1);
  // taking it while one is held keeps the one held
  osl_mem_reset_mem_svc();
  ASSERT_EQ(utl_mem_emergy(nullptr), 0);
  EXPECT_EQ(osl_mem_get_mem_svc(), 0);
  // and failing to take one is reported
  osl_mem_reset_fail_num();  // fail, ok, fail
  EXPECT_EQ(utl_mem_alloc("owner", 1, &type, &size, &addr), UTL_NO_MEMORY);
  ASSERT_EQ(utl_mem_alloc("owner", 1, &type, &size, &addr), 0);
  utl_mem_free("owner", addr);
  EXPECT_EQ(utl_mem_emergy("again"), UTL_NO_MEMORY);
  EXPECT_EQ(core_top_alert_text(), "Cannot allocate memory block of size 64000 (from 'again').\n");
  osl_mem_disable_fail_mode();
  EXPECT_EQ(utl_mem_has_reserve(), 0);
}

TEST_F(UtlMem, FailedReallocLeavesTheBlock) {
  const long type = 515;
  long size = 4;
  void* addr = nullptr;
  ASSERT_EQ(utl_mem_alloc("t", 1, &type, &size, &addr), 0);
  std::memcpy(addr, "abc", 4);
  void* before = addr;
  size = 1 << 20;
  osl_mem_reset_fail_num();
  EXPECT_EQ(utl_mem_realloc("t", 1, &size, &addr), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(addr, before);
  EXPECT_STREQ(static_cast<char*>(addr), "abc");
  utl_mem_free("t", addr);
}

TEST_F(UtlMem, CheckingModeKeepsLiveBlocks) {
  EXPECT_EQ(utl_mem_set_mode(2), UTL_BAD_MEM_MODE);
  EXPECT_EQ(core_top_alert_text(), "Invalid memory checking mode (2); must be 1 or 0.\n");
  EXPECT_EQ(utl_mem_is_mode_on(), 0);
  const long types[2] = {512, 515};
  long sizes[2] = {16, 10};
  void* plain[2] = {};
  ASSERT_EQ(utl_mem_alloc("t", 2, types, sizes, plain), 0);  // before the mode
  ASSERT_EQ(utl_mem_set_mode(1), 0);
  EXPECT_EQ(utl_mem_is_mode_on(), 1);
  void* a[2] = {};
  void* b[2] = {};
  ASSERT_EQ(utl_mem_alloc("checked", 2, types, sizes, a), 0);
  // (the first checked block may also have made room for owner names)
  long before = utl_mem_num_checked() - 1;
  ASSERT_EQ(utl_mem_alloc("checked", 2, types, sizes, b), 0);
  EXPECT_EQ(utl_mem_num_checked(), before + 2);
  EXPECT_EQ(a[1], static_cast<char*>(a[0]) + 16);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(a[0]) % 16, 0u);
  std::memset(a[0], 7, 26);
  // a pointer inside a checked block is not a block
  EXPECT_EQ(utl_mem_free("t", a[1]), UTL_BAD_FREE);
  EXPECT_EQ(utl_mem_realloc("t", 2, sizes, &a[1]), UTL_BAD_REALLOC);
  // the segment count of a checked block is fixed
  EXPECT_EQ(utl_mem_realloc("t", 1, sizes, a), UTL_REALLOC_SEGS);
  sizes[1] = 5000;
  // a failed re-size leaves the block where it was, still a live block
  void* kept = a[0];
  osl_mem_reset_fail_num();
  EXPECT_EQ(utl_mem_realloc("t", 2, sizes, a), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(a[0], kept);
  EXPECT_EQ(utl_mem_num_checked(), before + 2);
  ASSERT_EQ(utl_mem_realloc("t", 2, sizes, a), 0);
  EXPECT_EQ(static_cast<unsigned char*>(a[0])[15], 7);
  std::memset(a[1], 1, 5000);
  EXPECT_EQ(utl_mem_num_checked(), before + 2);
  EXPECT_EQ(utl_mem_free("t", a[0]), 0);
  EXPECT_EQ(utl_mem_free("t", b[0]), 0);
  EXPECT_EQ(utl_mem_num_checked(), before);
  EXPECT_EQ(utl_mem_free("t", plain[0]), 0);  // blocks from before the mode still free
  ASSERT_EQ(utl_mem_set_mode(0), 0);
}

TEST_F(UtlMem, RegistryAllocatesThroughTheFrontEnd) {
  const long type = 516;
  const long size = 11;
  void* addr = nullptr;
  osl_mem_reset_mem_svc();
  ASSERT_EQ(cmn_typ_alloc("t", 1, &type, &size, &addr), 0);
  ASSERT_NE(addr, nullptr);
  EXPECT_EQ(osl_mem_get_mem_svc(), 11);
  EXPECT_EQ(cmn_typ_dealloc("t", addr), 0);
}

TEST_F(UtlMem, FetchStrings) {
  EXPECT_EQ(utl_main_fetch_strs(), 0);
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(UTL_BAD_INDEX, &text), 0);
  EXPECT_STREQ(text, "The given index %ld is out of range for the list (it has %ld elements).\n");
  EXPECT_STREQ(utl_str_text(52), "You cannot allocate a string from a collection that has no string pool.\n");
  EXPECT_EQ(utl_str_text(53), nullptr);
}

// ---- pools

class UtlPool : public UtlMem {
 protected:
  void TearDown() override {
    for (utl_ty_pool* p : pools_) utl_pl_free(nullptr, p);
    utl_pl_set_checking(1);
    UtlMem::TearDown();
  }
  utl_ty_pool* make(long extent) {
    utl_ty_pool* p = nullptr;
    EXPECT_EQ(utl_pl_create("t", extent, &p), 0);
    pools_.push_back(p);
    return p;
  }
  static std::vector<utl_ty_pool_extent*> chain(utl_ty_pool* p) {
    std::vector<utl_ty_pool_extent*> v;
    for (utl_ty_pool_extent* e = p->first; e; e = e->next) v.push_back(e);
    return v;
  }
  std::vector<utl_ty_pool*> pools_;
};

TEST_F(UtlPool, ExtentsComeWithTheFirstAllocation) {
  utl_ty_pool* p = make(256);
  EXPECT_EQ(p->first, nullptr);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 10, &a), 0);
  ASSERT_NE(p->first, nullptr);
  EXPECT_EQ(p->first, p->last);
  EXPECT_EQ(p->first->size, 256);
  EXPECT_EQ(p->first->left, 246);
  void* b = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 20, &b), 0);
  EXPECT_EQ(b, static_cast<char*>(a) + 10);
}

TEST_F(UtlPool, LargeRequestGetsAnExtentOfItsOwnSize) {
  utl_ty_pool* p = make(256);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 300, &a), 0);
  EXPECT_EQ(p->first->size, 300);
  EXPECT_EQ(p->first->left, 0);
  std::memset(a, 3, 300);
}

TEST_F(UtlPool, BadSizesAndPools) {
  utl_ty_pool* p = make(64);
  void* a = nullptr;
  EXPECT_EQ(utl_pl_alloc(p, 0, &a), UTL_BAD_ARG);
  EXPECT_EQ(utl_pl_alloc(p, -5, &a), UTL_BAD_ARG);
  EXPECT_EQ(utl_pl_alloc(nullptr, 4, &a), UTL_BAD_POOL);
  utl_ty_pool fake{};
  EXPECT_EQ(utl_pl_alloc(&fake, 4, &a), UTL_BAD_POOL);
  EXPECT_EQ(core_top_alert_text().rfind("Invalid pool ", 0), 0u);
  EXPECT_EQ(utl_pl_free(nullptr, nullptr), 0);
}

// Five extents with 6 bytes left each, newest first.
std::vector<utl_ty_pool_extent*> fill_extents(utl_ty_pool* p, int n) {
  utl_pl_set_num_search(0);
  void* a = nullptr;
  for (int i = 0; i < n; ++i) utl_pl_alloc(p, 10, &a);
  utl_pl_set_num_search(3);
  std::vector<utl_ty_pool_extent*> v;
  for (utl_ty_pool_extent* e = p->first; e; e = e->next) v.push_back(e);
  return v;
}

TEST_F(UtlPool, SearchedFullExtentsMoveBehindTheOthers) {
  utl_ty_pool* p = make(16);
  auto e = fill_extents(p, 5);
  ASSERT_EQ(e.size(), 5u);
  for (auto* x : e) ASSERT_EQ(x->left, 6);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 8, &a), 0);
  auto c = chain(p);
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[1], e[3]);
  EXPECT_EQ(c[2], e[4]);
  EXPECT_EQ(c[3], e[0]);
  EXPECT_EQ(c[4], e[1]);
  EXPECT_EQ(c[5], e[2]);
  EXPECT_EQ(p->last, e[2]);
  EXPECT_EQ(c[0]->size, 16);
  EXPECT_EQ(a, reinterpret_cast<char*>(c[0] + 1));
  for (int i = 1; i < 6; ++i) EXPECT_EQ(c[i]->left, 6);
}

TEST_F(UtlPool, ThreeFullExtentsStayWhereTheyAre) {
  utl_ty_pool* p = make(16);
  auto e = fill_extents(p, 3);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 8, &a), 0);
  auto c = chain(p);
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[1], e[0]);
  EXPECT_EQ(c[2], e[1]);
  EXPECT_EQ(c[3], e[2]);
  EXPECT_EQ(p->last, e[2]);
}

TEST_F(UtlPool, FitWithinTheSearchCount) {
  utl_ty_pool* p = make(16);
  auto e = fill_extents(p, 5);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 6, &a), 0);  // the head fits: nothing moves
  EXPECT_EQ(chain(p), e);
  EXPECT_EQ(e[0]->left, 0);
  ASSERT_EQ(utl_pl_alloc(p, 5, &a), 0);  // the second fits
  EXPECT_EQ(chain(p), e);
  EXPECT_EQ(e[1]->left, 1);
  // searching all extents finds room in the last one
  utl_pl_set_num_search(-1);
  EXPECT_EQ(utl_pl_get_num_search(), 9999999);
  ASSERT_EQ(utl_pl_alloc(p, 6, &a), 0);
  EXPECT_EQ(chain(p), e);
  EXPECT_EQ(e[2]->left, 0);
}

TEST_F(UtlPool, ResetReusesTheFirstExtent) {
  utl_ty_pool* p = make(32);
  void* a = nullptr;
  void* b = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 20, &a), 0);
  ASSERT_EQ(utl_pl_alloc(p, 20, &b), 0);
  ASSERT_EQ(utl_pl_reset(p), 0);
  for (auto* e : chain(p)) EXPECT_EQ(e->left, e->size);
  void* c = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 4, &c), 0);
  EXPECT_EQ(c, reinterpret_cast<char*>(p->first + 1));
  EXPECT_EQ(chain(p).size(), 2u);
}

TEST_F(UtlPool, AlignedAndStringAllocations) {
  utl_ty_pool* p = make(64);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 1, &a), 0);
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(utl_pl_alloc4(p, 5, &a), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
    *static_cast<long*>(a) = i;
  }
  char* s = nullptr;
  ASSERT_EQ(utl_pl_alloc_string(p, "hello", &s), 0);
  EXPECT_STREQ(s, "hello");
}

TEST_F(UtlPool, Contains) {
  utl_ty_pool* p = make(32);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 8, &a), 0);
  long inside = 0;
  ASSERT_EQ(utl_pl_contains(p, a, 8, &inside), 0);
  EXPECT_EQ(inside, 1);
  long local = 0;
  ASSERT_EQ(utl_pl_contains(p, &local, 8, &inside), 0);
  EXPECT_EQ(inside, 0);
  EXPECT_EQ(utl_pl_contains(p, static_cast<char*>(a) + 30, 4, &inside), UTL_POOL_RANGE);
}

// Exact fits: a pool extent with exactly n bytes left serves a request of n
// bytes from that extent, and one of n + 1 bytes from a new extent.
struct fit_case {
  long extent;
  long first;   // taken first
  long second;  // then this
  bool same_extent;
};

class UtlPoolFit : public UtlPool, public ::testing::WithParamInterface<fit_case> {};

TEST_P(UtlPoolFit, ExactFitUsesTheExtentAndOneMoreDoesNot) {
  const fit_case& f = GetParam();
  utl_ty_pool* p = make(f.extent);
  void* a = nullptr;
  void* b = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, f.first, &a), 0);
  ASSERT_EQ(p->first->left, f.extent - f.first);
  ASSERT_EQ(utl_pl_alloc(p, f.second, &b), 0);
  auto c = chain(p);
  if (f.same_extent) {
    EXPECT_EQ(b, static_cast<char*>(a) + f.first);
    EXPECT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0]->left, f.extent - f.first - f.second);
  } else {
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(b, reinterpret_cast<char*>(c[0] + 1));
    EXPECT_EQ(c[1]->left, f.extent - f.first);
  }
  std::memset(b, 0x5a, static_cast<size_t>(f.second));  // the sanitizer sees an overrun
  long inside = 0;
  EXPECT_EQ(utl_pl_contains(p, b, f.second, &inside), 0);
  EXPECT_EQ(inside, 1);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, UtlPoolFit,
                         ::testing::Values(fit_case{64, 40, 24, true}, fit_case{64, 40, 25, false},
                                           fit_case{64, 63, 1, true}, fit_case{64, 63, 2, false},
                                           fit_case{64, 64, 1, false}, fit_case{16, 1, 15, true},
                                           fit_case{16, 1, 16, false}));

// The last byte of an extent is inside it; a range one byte longer runs past
// its end; the byte after the end is not inside.
TEST_F(UtlPool, ContainsAtTheExtentsEnd) {
  utl_ty_pool* p = make(32);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 32, &a), 0);
  char* base = static_cast<char*>(a);
  const struct {
    long offset;
    long length;
    long status;
    long inside;
  } cases[] = {{0, 32, 0, 1}, {0, 33, UTL_POOL_RANGE, 1}, {31, 1, 0, 1}, {31, 2, UTL_POOL_RANGE, 1},
               {30, 2, 0, 1},  {32, 1, 0, 0}};
  for (const auto& k : cases) {
    long inside = -1;
    EXPECT_EQ(utl_pl_contains(p, base + k.offset, k.length, &inside), k.status) << k.offset << "+" << k.length;
    EXPECT_EQ(inside, k.inside) << k.offset << "+" << k.length;
  }
}

// Aligned requests: the aligned block lies wholly inside what was taken, for
// every start offset and size around the alignment, and sizes near the
// largest long are refused instead of overflowing.
TEST_F(UtlPool, AlignedBlocksStayInsideTheirExtent) {
  for (long lead = 0; lead < 9; ++lead) {
    for (long n : {1L, 7L, 8L, 9L, 16L}) {
      utl_ty_pool* p = make(lead + n + 8 + 1);
      void* a = nullptr;
      if (lead > 0) {
        ASSERT_EQ(utl_pl_alloc(p, lead, &a), 0);
      }
      ASSERT_EQ(utl_pl_alloc4(p, n, &a), 0);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
      EXPECT_EQ(chain(p).size(), 1u) << lead << " " << n;
      long inside = 0;
      EXPECT_EQ(utl_pl_contains(p, a, n, &inside), 0) << lead << " " << n;
      std::memset(a, 1, static_cast<size_t>(n));
      // The next request starts after the aligned block, never inside it.
      void* next = nullptr;
      ASSERT_EQ(utl_pl_alloc(p, 1, &next), 0);
      EXPECT_EQ(chain(p).size(), 1u) << lead << " " << n;
      EXPECT_GE(static_cast<char*>(next), static_cast<char*>(a) + n) << lead << " " << n;
    }
  }
  utl_ty_pool* p = make(64);
  void* a = nullptr;
  cmn_alrt_clear(nullptr);
  for (long n : {std::numeric_limits<long>::max(), std::numeric_limits<long>::max() - 2,
                 std::numeric_limits<long>::max() - 7}) {
    EXPECT_EQ(utl_pl_alloc4(p, n, &a), UTL_TOO_LARGE) << n;
  }
  EXPECT_EQ(core_num_alerts(), 3);
  EXPECT_EQ(utl_pl_alloc(p, std::numeric_limits<long>::max(), &a), UTL_TOO_LARGE);
  EXPECT_EQ(chain(p).size(), 0u);
}

TEST_F(UtlPool, ExtentSizeChanges) {
  utl_ty_pool* p = make(16);
  ASSERT_EQ(utl_pl_set_extent_size(p, 100), 0);
  ASSERT_EQ(utl_pl_set_extent_size(p, 0), 0);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 1, &a), 0);
  EXPECT_EQ(p->first->size, 100);
}

TEST_F(UtlPool, AllocationFailureLeavesThePool) {
  utl_ty_pool* p = make(16);
  void* a = nullptr;
  ASSERT_EQ(utl_pl_alloc(p, 16, &a), 0);
  osl_mem_reset_fail_num();
  void* b = nullptr;
  EXPECT_EQ(utl_pl_alloc(p, 4, &b), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(chain(p).size(), 1u);
  EXPECT_EQ(utl_pl_alloc(p, 4, &b), 0);
  EXPECT_EQ(chain(p).size(), 2u);
}

}  // namespace
