// The permanent-relation cache: what is cached, duplicates removed lazily
// behind the optimise marker, look-ups, purges, roots and relations.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

class ost_perm_test : public client_test {
 protected:
  static long marker(ost_ty_state* s) {
    long word = -1;
    utl_col_get_ext(s->perm_rel_col, &word);
    return word;
  }
};

TEST_F(ost_perm_test, CachingTheSameRelationTwiceLeavesOneAfterALookUp) {
  ost_ty_state* s = new_state();
  obj_id a{ACCOUNT, 1, 0}, c{CONTACT, 10, 0}, none{CONTACT, 0, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a, ACCOUNT2CONTACT, &c), 0);
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a, ACCOUNT2CONTACT, &c), 0);
  // A to object without number is not cached.
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a, ACCOUNT2CONTACT, &none), 0);
  EXPECT_EQ(s->num_perm_rels, 2);
  EXPECT_EQ(marker(s), 0);
  long found = 0;
  ASSERT_EQ(ost_rel_perm_find(s, &a, ACCOUNT2CONTACT, &c, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(s->num_perm_rels, 1);
  EXPECT_EQ(marker(s), OST_PERM_OPTIMIZED);
  // A new relation clears the marker again.
  obj_id c2{CONTACT, 11, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a, ACCOUNT2CONTACT, &c2), 0);
  EXPECT_EQ(marker(s), 0);
  ASSERT_EQ(ost_rel_perm_find(s, &a, CONTACT2TAG, &c2, &found), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_perm_test, OrderMatchAndPurge) {
  ost_ty_perm_rel x{0, {ACCOUNT, 1, 0}, {CONTACT, 10, 0}};
  struct row {
    ost_ty_perm_rel other;
    long sign;
  };
  for (const row& r : std::vector<row>{{{0, {ACCOUNT, 1, 0}, {CONTACT, 10, 0}}, 0},
                                       {{0, {ACCOUNT, 2, 0}, {CONTACT, 1, 0}}, -1},
                                       {{1, {ACCOUNT, 1, 0}, {CONTACT, 1, 0}}, -1},
                                       {{0, {ACCOUNT, 1, 0}, {CONTACT, 11, 0}}, -1},
                                       {{0, {ACCOUNT, 1, 0}, {CONTACT, 9, 0}}, 1}}) {
    long c = ost_rel_perm_cmp(&x, &r.other);
    EXPECT_EQ((c > 0) - (c < 0), r.sign);
  }
  obj_id a1{ACCOUNT, 1, 0};
  long matched = 0;
  ost_rel_perm_match(&a1, -1, &x, &matched);
  EXPECT_EQ(matched, 1);
  ost_rel_perm_match(&a1, 1, &x, &matched);
  EXPECT_EQ(matched, 0);
  ost_ty_state* s = new_state();
  obj_id a2{ACCOUNT, 2, 0}, c10{CONTACT, 10, 0}, t30{TAG, 30, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a1, ACCOUNT2CONTACT, &c10), 0);
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a2, ACCOUNT2CONTACT, &c10), 0);
  ASSERT_EQ(ost_rel_perm_cache_one(s, &c10, CONTACT2TAG, &t30), 0);
  ASSERT_EQ(ost_rel_perm_purge(s, &a1, nullptr, ACCOUNT2CONTACT, 0), 0);
  EXPECT_EQ(s->num_perm_rels, 2);
  ASSERT_EQ(ost_rel_perm_purge(s, &c10, nullptr, -1, 0), 0);
  EXPECT_EQ(s->num_perm_rels, 1);
  ASSERT_EQ(ost_rel_perm_purge(s, nullptr, nullptr, -1, 1), 0);
  EXPECT_EQ(s->perm_rel_col, nullptr);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_perm_test, RootsRelationsAndGetRelated) {
  seed(ACCOUNT, 1, "a1");
  seed(CONTACT, 10, "c10");
  seed(CONTACT, 11, "c11");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 1);
  dbs_ty_lobj* c10 = read(CONTACT, 10);
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  ASSERT_EQ(ost_obj_add_local(s, c10, nullptr), 0);
  dbs_ty_lobj* handles[] = {c10, nullptr};
  ASSERT_EQ(ost_rel_perm_cache(s, nullptr, a, ACCOUNT2CONTACT, 2, handles), 0);
  obj_id a1{ACCOUNT, 1, 0}, c11{CONTACT, 11, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a1, ACCOUNT2CONTACT, &c11), 0);
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a1, ACCOUNT2CONTACT, &c11), 0);
  // Related: only the objects the state holds.
  utl_ty_col* col = nullptr;
  ASSERT_EQ(ost_rel_perm_get_related(s, &a1, ACCOUNT2CONTACT, 0, &col), 0);
  ASSERT_EQ(ost_col_count(col), 1);
  EXPECT_EQ(ost_ptr_ith(col, 0), c10);
  utl_col_free("t", col);
  // Roots: the state's objects that no cached relation points to.
  col = nullptr;
  ASSERT_EQ(ost_rel_perm_find_roots(s, 0, &col), 0);
  ASSERT_EQ(ost_col_count(col), 1);
  EXPECT_EQ(ost_ptr_ith(col, 0), a);
  utl_col_free("t", col);
  // The relations from an object, without duplicates.
  col = nullptr;
  ASSERT_EQ(osl_rel_perm_find_rels(s, a, 0, &col), 0);
  EXPECT_EQ(ost_col_count(col), 2);
  utl_col_free("t", col);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_perm_test, RelatedIdToIdAsksTheCacheFirst) {
  seed(ACCOUNT, 1, "a1");
  seed(CONTACT, 10, "c10");
  seed(CONTACT, 11, "c11");
  seed_fk(10, 1);
  ost_ty_state* s = new_state();
  obj_id a1{ACCOUNT, 1, 0}, c10{CONTACT, 10, 0}, c11{CONTACT, 11, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a1, ACCOUNT2CONTACT, &c11), 0);
  struct row {
    ost_ty_state* state;
    const obj_id* to;
    long found, db_calls;
  };
  for (const row& r : std::vector<row>{{s, &c11, 1, 0}, {s, &c10, 1, 1}, {nullptr, &c11, 0, 1}}) {
    const long before = calls("adp_rel_related_remote_id");
    long found = -1;
    ASSERT_EQ(ost_rel_perm_related_id_to_id(con(), r.state, &a1, ACCOUNT2CONTACT, r.to, 0, &found), 0);
    EXPECT_EQ(found, r.found);
    EXPECT_EQ(calls("adp_rel_related_remote_id") - before, r.db_calls);
  }
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
