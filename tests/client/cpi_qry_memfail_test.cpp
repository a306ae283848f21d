// Allocation failures (the OS layer's fail-test mode) at each allocation of
// a traversal through the interface: the query fails with nothing handed
// out, or succeeds whole; the sanitizers see no leak either way.
#include <string>

#include "client/cpi_fixture.h"
#include "core/osl/osl_mem.h"

namespace {

constexpr long k_max_allocations = 600;

class cpi_qry_memfail_test : public cpi_test {
 protected:
  void TearDown() override {
    osl_mem_disable_fail_mode();
    cpi_test::TearDown();
  }
  // Fail-test mode fails the allocations numbered 1, 3, 6, 10, ...: after
  // the first j(j-1)/2 are used up here, the j-th that follows fails.
  static void fail_at(long j) {
    osl_mem_reset_fail_num();
    for (long i = 0; i < j * (j - 1) / 2; ++i) osl_mem_free("t", osl_mem_alloc("t", 8));
    osl_mem_test_fired();
  }
};

TEST_F(cpi_qry_memfail_test, ATraversalFailingAtAnyAllocationLeavesNothingBehind) {
  seed(ACCOUNT, 1, "north");
  seed(ACCOUNT, 2, "south");
  seed(CONTACT, 10, "ann", 1);
  seed(CONTACT, 11, "bob", 2);
  seed_fk(10, 1);
  seed_fk(11, 2);
  const cpi_ty_fcond level0[] = {{CPI_OP_IN, "name", "north south"}, {CPI_OP_LESS, "balance", "99.5"},
                                 {CPI_OP_LESS, "opened", "01/01/2990 00:00:00"}};
  const cpi_ty_fcond level1[] = {{CPI_OP_CONTAINS, "name", "n"}, {CPI_OP_IN, "rank", "1, 2"}};
  cpi_ty_forder order{"name", 0};
  long j = 1, failed = 0;
  for (; j <= k_max_allocations; ++j) {
    SCOPED_TRACE("allocation " + std::to_string(j));
    cpi_ty_trav_map maps[2];
    cpi_qry_trav_map_init(2, maps);
    maps[0].type_name = "account";
    maps[0].cond_count = 3;
    maps[0].conds = const_cast<cpi_ty_fcond*>(level0);
    maps[0].order_count = 1;
    maps[0].orders = &order;
    maps[1].kind = 0;
    maps[1].parent = 0;
    maps[1].rel_name = "account2contact";
    maps[1].cond_count = 2;
    maps[1].conds = const_cast<cpi_ty_fcond*>(level1);
    cpi_ty_qry_result* r = nullptr;
    long st = 0, fired = 0;
    messages([&] {
      fail_at(j);
      st = cpi_qry_traverse_map(conid(), 0, nullptr, 2, maps, 0, &r);
      fired = osl_mem_test_fired();
      osl_mem_disable_fail_mode();
    });
    if (st == 0) {
      ASSERT_NE(r, nullptr);
      EXPECT_EQ(r->entries[0].count, 2);
      EXPECT_EQ(r->entries[1].count, 1);
      EXPECT_EQ(cpi_qry_free_results(r), 0);
    } else {
      ++failed;
      EXPECT_EQ(r, nullptr);
      EXPECT_EQ(maps[0].result, nullptr);
    }
    if (!fired) break;
  }
  EXPECT_LE(j, k_max_allocations) << "the traversal never ran without a failure";
  EXPECT_GE(failed, 1) << "the traversal never met a failure (" << j << " tried)";
}

}  // namespace
