// Relations in a state: recording and cancelling, both families, related
// objects merged with pending changes, integration and the cache.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "store/dbs_obj.h"

namespace {

class ost_rel_test : public client_test {
 protected:
  // Names of the objects of a handle collection, in order.
  static std::vector<std::string> names(utl_ty_col* col) {
    std::vector<std::string> out;
    for (long i = 0; i < ost_col_count(col); ++i) out.push_back(name_of(static_cast<dbs_ty_lobj*>(ost_ptr_ith(col, i))));
    return out;
  }
  static void release(ost_ty_state* s, utl_ty_col* col) {
    ost_obj_free_related(s, col);
    utl_col_free("t", col);
  }
};

TEST_F(ost_rel_test, RelateThenUnrelateWritesNothing) {
  seed(ACCOUNT, 7, "acme");
  seed(CONTACT, 8, "ann");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 7);
  dbs_ty_lobj* c = read(CONTACT, 8);
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  ASSERT_EQ(ost_obj_add_local(s, c, nullptr), 0);
  obj_id cid{CONTACT, 8, 0};
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, c, ACCOUNT2CONTACT), 0);
  // The opposite change given by id on one side still names the same pair.
  ASSERT_EQ(ost_obj_unrelate_id_byhndl(s, a, &cid, ACCOUNT2CONTACT), 0);
  EXPECT_EQ(s->num_relations, 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(calls("adp_rel_do_batch"), 0);
  EXPECT_EQ(calls("adp_rel_add_to_batch"), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, RecordingByHandle) {
  seed(ACCOUNT, 7, "acme");
  seed(ACCOUNT, 9, "other");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 7);
  dbs_ty_lobj* b = read(ACCOUNT, 9);
  dbs_ty_lobj* c = nullptr;
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  ASSERT_EQ(ost_obj_add_local(s, b, nullptr), 0);
  ASSERT_EQ(ost_obj_create("t", s, CONTACT, &c), 0);
  // A pending relate makes a second relate of the pair record nothing.
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, c, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, c, ACCOUNT2CONTACT), 0);
  EXPECT_EQ(s->num_relations, 1);
  // Another pair, and an unrelate without pending entry, are recorded.
  ASSERT_EQ(ost_obj_relate_byhndl(s, b, c, ACCOUNT2CONTACT), 0);
  obj_id gone{CONTACT, 44, 0};
  ASSERT_EQ(ost_obj_unrelate_id_byhndl(s, a, &gone, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(s->num_relations, 3);
  EXPECT_EQ(s->rel_array[0].flags, OST_REL_RELATE | OST_REL_FROM_HNDL | OST_REL_TO_HNDL);
  EXPECT_EQ(s->rel_array[2].flags, OST_REL_UNRELATE | OST_REL_FROM_HNDL | OST_REL_TO_ID);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  // The new contact got its id before the relations were queued.
  auto queued = adp_double::relates();
  ASSERT_EQ(queued.size(), 3u);
  EXPECT_EQ(queued[0].b.num, number_of(c));
  EXPECT_EQ(queued[2].relate, 0);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, number_of(c), 0}, "contact2account"), 9);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, RecordingByKey) {
  seed(ACCOUNT, 7, "acme");
  ost_ty_state* s = new_state("keyed");
  dbs_ty_lobj* a = read(ACCOUNT, 7);
  long key = 0;
  ASSERT_EQ(ost_obj_add_local(s, a, &key), 0);
  obj_id cid{CONTACT, 8, 0}, aid{ACCOUNT, 7, 0};
  std::string out = messages([&] { EXPECT_EQ(ost_obj_relate(s, 99, key, ACCOUNT2CONTACT), 1); });
  EXPECT_EQ(out, "ost_rel_add: cannot relate FROM key 99 (doesn't exist in state 'keyed')\n");
  out = messages([&] { EXPECT_EQ(ost_obj_relate(s, key, 98, ACCOUNT2CONTACT), 1); });
  EXPECT_EQ(out, "ost_rel_add: cannot relate TO key 98 (doesn't exist in state 'keyed')\n");
  ASSERT_EQ(ost_obj_relate_id(s, key, &cid, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_unrelate_id_to_id(s, &cid, &aid, CONTACT2ACCOUNT), 0);
  ASSERT_EQ(s->num_relations, 2);
  EXPECT_EQ(s->rel_array[0].from_handle, a);
  EXPECT_EQ(s->rel_array[1].flags, OST_REL_UNRELATE | OST_REL_FROM_ID | OST_REL_TO_ID);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, RelatedObjectsOfANewObjectAreThePendingRelates) {
  seed(CONTACT, 8, "ann");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &a), 0);
  dbs_ty_lobj* c = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, CONTACT, &c), 0);
  set_name(c, "new one");
  obj_id stored{CONTACT, 8, 0};
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, c, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &stored, ACCOUNT2CONTACT), 0);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, 0, &col), 0);
  EXPECT_EQ(names(col), (std::vector<std::string>{"new one", "ann"}));
  EXPECT_EQ(calls("adp_rel_get_fk_obj"), 0);
  release(s, col);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, RelatedObjectsMergeTheDatabaseWithPendingChanges) {
  seed(ACCOUNT, 7, "acme");
  seed(CONTACT, 8, "ann");
  seed(CONTACT, 9, "bob");
  seed(CONTACT, 10, "cid");
  seed_fk(8, 7);
  seed_fk(9, 7);
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 7);
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  obj_id bob{CONTACT, 9, 0}, cid{CONTACT, 10, 0};
  ASSERT_EQ(ost_obj_unrelate_id_byhndl(s, a, &bob, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &cid, ACCOUNT2CONTACT), 0);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, OST_RELS_CACHE, &col), 0);
  EXPECT_EQ(names(col), (std::vector<std::string>{"ann", "cid"}));
  EXPECT_EQ(calls("adp_rel_get_fk_obj"), 1);
  release(s, col);
  // Option 4 reads nothing: only the pending relate.
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, OST_RELS_NO_DB, &col), 0);
  EXPECT_EQ(names(col), (std::vector<std::string>{"cid"}));
  release(s, col);
  // Integrated objects are the state's: the cache answers from them.
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, OST_RELS_INTEGRATE | OST_RELS_PURGE | OST_RELS_CACHE, &col),
            0);
  EXPECT_EQ(calls("adp_rel_get_fk_obj"), 2);
  EXPECT_EQ(s->num_objects, 3);
  EXPECT_EQ(names(col), (std::vector<std::string>{"ann", "cid"}));
  release(s, col);
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, 0, &col), 0);
  EXPECT_EQ(calls("adp_rel_get_fk_obj"), 2);
  EXPECT_EQ(names(col), (std::vector<std::string>{"ann", "cid"}));
  release(s, col);
  // Option 32 without cache entries gives no collection.
  ASSERT_EQ(ost_rel_perm_purge(s, nullptr, a, ACCOUNT2CONTACT, 0), 0);
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, a, ACCOUNT2CONTACT, OST_RELS_CACHE_ONLY, &col), 0);
  EXPECT_EQ(col, nullptr);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, IntegrationPutsTheStatesHandleInPlace) {
  seed(CONTACT, 8, "ann");
  seed(CONTACT, 9, "bob");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* held = read(CONTACT, 8);
  ASSERT_EQ(ost_obj_add_local(s, held, nullptr), 0);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make("t", 517, 5, 5, 0, 0, &col), 0);
  dbs_ty_lobj* dup = read(CONTACT, 8);
  dbs_ty_lobj* fresh = read(CONTACT, 9);
  utl_col_push(col, &dup, nullptr);
  utl_col_push(col, &fresh, nullptr);
  ASSERT_EQ(ost_obj_integrate_col(s, col, 1), 0);
  EXPECT_EQ(ost_ptr_ith(col, 0), held);
  EXPECT_EQ(ost_ptr_ith(col, 1), fresh);
  EXPECT_EQ(s->num_objects, 2);
  long modified = 0;
  ASSERT_EQ(ost_obj_is_modified(s, -1, nullptr, fresh, 0, 0, &modified, nullptr), 0);
  EXPECT_EQ(modified, 1);
  utl_col_free("t", col);
  // Freeing an integrated object through the state frees it (the sanitizers
  // would report it leaked otherwise).
  ASSERT_EQ(ost_obj_free(s, fresh), 0);
  EXPECT_EQ(s->num_objects, 1);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_rel_test, LinkTableRelationsBothWays) {
  seed(CONTACT, 8, "ann");
  seed(TAG, 3, "vip");
  seed(TAG, 4, "new");
  seed_link(8, 3);
  ost_ty_state* s = new_state();
  dbs_ty_lobj* c = read(CONTACT, 8);
  ASSERT_EQ(ost_obj_add_local(s, c, nullptr), 0);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(ost_obj_get_rel_byhndl(s, c, CONTACT2TAG, 0, &col), 0);
  EXPECT_EQ(ost_col_count(col), 1);
  release(s, col);
  obj_id t3{TAG, 3, 0}, t4{TAG, 4, 0};
  ASSERT_EQ(ost_obj_unrelate_id_byhndl(s, c, &t3, CONTACT2TAG), 0);
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, c, &t4, CONTACT2TAG), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  const typ_sch_rrec* r = rel_record(CONTACT, CONTACT2TAG);
  const bool contact_primary = r->pschema->type_id == CONTACT;
  EXPECT_EQ(adp_mem::link_count(r, contact_primary ? 8 : 3, contact_primary ? 3 : 8), 0);
  EXPECT_EQ(adp_mem::link_count(r, contact_primary ? 8 : 4, contact_primary ? 4 : 8), 1);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
