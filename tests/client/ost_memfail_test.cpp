// Allocation failures (the OS layer's fail-test mode) at each allocation of a
// save and of a fetch: the state is as it was, nothing found survives, and
// the sanitizers see no leak.
#include <string>

#include "client/client_fixture.h"
#include "client/ost/ost_comm.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long k_max_allocations = 400;

class ost_memfail_test : public client_test {
 protected:
  void TearDown() override {
    osl_mem_disable_fail_mode();
    client_test::TearDown();
  }

  // Fail-test mode fails the allocations numbered 1, 3, 6, 10, ... (gaps
  // growing by one): after the first j(j-1)/2 allocations are used up here,
  // the j-th allocation that follows is the next to fail.
  static void fail_at(long j) {
    osl_mem_reset_fail_num();
    for (long i = 0; i < j * (j - 1) / 2; ++i) osl_mem_free("t", osl_mem_alloc("t", 8));
    osl_mem_test_fired();
  }
};

TEST_F(ost_memfail_test, ASaveFailingAtAnyAllocationLeavesTheStateAsItWas) {
  seed(CONTACT, 8, "ann");
  long j = 1, failed = 0;
  for (; j <= k_max_allocations; ++j) {
    SCOPED_TRACE("allocation " + std::to_string(j));
    ost_ty_state* s = new_state();
    dbs_ty_lobj *a = nullptr, *b = nullptr;
    ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &a), 0);
    ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &b), 0);
    set_name(a, "north");
    obj_id ann{CONTACT, 8, 0};
    ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &ann, ACCOUNT2CONTACT), 0);
    long st = 0, fired = 0;
    messages([&] {
      fail_at(j);
      st = ost_state_save(s, 0);
      fired = osl_mem_test_fired();
      osl_mem_disable_fail_mode();
    });
    if (st == 0) {
      EXPECT_GT(number_of(a), 0);
      EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
    } else {
      ++failed;
      EXPECT_EQ(number_of(a), 0);
      EXPECT_EQ(number_of(b), 0);
      EXPECT_EQ(s->num_objects, 2);
      EXPECT_EQ(s->num_relations, 1);
      EXPECT_EQ(name_of(a), "north");
      EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
      EXPECT_EQ(adp_store::st().trn_level, 0);
      EXPECT_EQ(ost_state_verify(s), 0);
    }
    EXPECT_EQ(ost_state_abort(s, 0), 0);
    switch_database_on();
    adp_store::st().head_read = 1;
    seed(CONTACT, 8, "ann");
    if (!fired) break;
  }
  EXPECT_LE(j, k_max_allocations) << "the save never ran without a failure";
  EXPECT_GE(failed, 1) << "the save never met a failure (" << j << " tried)";
}

TEST_F(ost_memfail_test, AFetchFailingAtAnyAllocationLeavesNothingBehind) {
  seed(ACCOUNT, 1, "a1");
  for (long n : {10, 11}) {
    seed(CONTACT, n, "c");
    seed_fk(n, 1);
  }
  seed(TAG, 30, "t30");
  seed_link(10, 30);
  seed_link(11, 30);
  long j = 1, failed = 0;
  for (; j <= k_max_allocations; ++j) {
    SCOPED_TRACE("allocation " + std::to_string(j));
    ost_ty_state* s = new_state();
    obj_id root{ACCOUNT, 1, 0};
    ost_ty_trav_level map[] = {{ACCOUNT2CONTACT, -1, 0, 0, nullptr, 0, nullptr, 0},
                               {CONTACT2TAG, 0, 0, 0, nullptr, 0, nullptr, 0}};
    ost_ty_level_result res[2];
    utl_ty_col* out = nullptr;
    long st = 0, fired = 0;
    messages([&] {
      fail_at(j);
      st = ost_rel_community(con(), s, &root, 2, map, OST_REL_COMMUNE_GET_ALL_HNDLS | OST_COMM_ROOT_ITEM, res, &out);
      fired = osl_mem_test_fired();
      osl_mem_disable_fail_mode();
    });
    if (st == 0) {
      EXPECT_EQ(res[0].count, 2);
      utl_col_free("t", out);
    } else {
      ++failed;
      EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(ost_state_verify(s), 0);
    EXPECT_EQ(ost_state_abort(s, 0), 0);
    if (!fired) break;
  }
  EXPECT_LE(j, k_max_allocations) << "the fetch never ran without a failure";
  EXPECT_GT(failed, 10) << "the fetch failed at too few allocations (" << j << " tried)";
}

}  // namespace
