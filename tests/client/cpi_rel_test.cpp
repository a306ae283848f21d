// Relations at the client interface, and one state's whole life through
// the interface: create, relate, commit, traverse, update, delete, rollback.
#include <string>

#include "client/cpi_fixture.h"

namespace {

class cpi_rel_test : public cpi_test {};

TEST_F(cpi_rel_test, TheFourCallsRelateByHandleOrIdAndUnrelateOtherwise) {
  seed(ACCOUNT, 1, "north");
  seed(CONTACT, 10, "ann");
  seed(CONTACT, 11, "bob");
  seed(TAG, 30, "red");
  long s = state();
  void* ann = read(CONTACT, 10);
  ASSERT_EQ(cpi_obj_add(s, ann, 0), 0);
  void* fresh = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "tag", 0, &fresh), 0);
  const cpi_ty_objid north = objid(ACCOUNT, 1);
  const cpi_ty_objid bob = objid(CONTACT, 11);
  const cpi_ty_objid red = objid(TAG, 30);
  ASSERT_EQ(cpi_rel_toid(s, ann, &north, "contact2account", 1), 0);
  ASSERT_EQ(cpi_rel_objs(s, ann, fresh, "contact2tag", 1), 0);
  ASSERT_EQ(cpi_rel_fromid(s, &bob, fresh, "contact2tag", 1), 0);
  ASSERT_EQ(cpi_rel_ids(s, &bob, &red, "contact2tag", 1), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  long tag = number_of(cpi_obj_of(fresh));
  EXPECT_EQ(adp_mem::fk_of({CONTACT, 10, 0}, "contact2account"), 1);
  EXPECT_EQ(adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 10, tag) +
                adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), tag, 10), 1);
  EXPECT_EQ(adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 11, 30) +
                adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 30, 11), 1);
  // Only the low byte of the mode counts: 256 unrelates, 257 relates.
  ASSERT_EQ(cpi_rel_ids(s, &bob, &red, "contact2tag", 256), 0);
  ASSERT_EQ(cpi_rel_toid(s, ann, &north, "contact2account", 2), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_EQ(adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 11, 30) +
                adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 30, 11), 0);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, 10, 0}, "contact2account"), 0);
  ASSERT_EQ(cpi_rel_ids(s, &bob, &red, "contact2tag", 257), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_EQ(adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 11, 30) +
                adp_mem::link_count(rel_record(CONTACT, CONTACT2TAG), 30, 11), 1);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_rel_test, EndsAreCheckedAndAnUnknownRelationChangesNothing) {
  long s = state();
  void* a = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &a), 0);
  const cpi_ty_objid unsaved = objid(CONTACT, 0);
  const cpi_ty_objid saved = objid(CONTACT, 4);
  struct row {
    const char* what;
    std::function<long()> call;
    std::string text;
  } rows[] = {
      {"no state", [&] { return cpi_rel_objs(0, a, a, "account2contact", 1); },
       "Parameter number '1', 'tstate' is invalid.\n"},
      {"no from object", [&] { return cpi_rel_objs(s, nullptr, a, "account2contact", 1); },
       "Parameter number '2', 'from_obj' is invalid.\n"},
      {"no to object", [&] { return cpi_rel_objs(s, a, nullptr, "account2contact", 1); },
       "Parameter number '3', 'to_obj' is invalid.\n"},
      {"unsaved to id", [&] { return cpi_rel_toid(s, a, &unsaved, "account2contact", 1); },
       "Parameter number '3', 'to_objid' is invalid.\n"},
      {"unsaved from id", [&] { return cpi_rel_fromid(s, &unsaved, a, "contact2account", 1); },
       "Parameter number '2', 'from_objid' is invalid.\n"},
      {"unsaved from id of ids", [&] { return cpi_rel_ids(s, &unsaved, &saved, "contact2tag", 1); },
       "Parameter number '2', 'from_objid' is invalid.\n"},
      {"unsaved to id of ids", [&] { return cpi_rel_ids(s, &saved, &unsaved, "contact2tag", 1); },
       "Parameter number '3', 'to_objid' is invalid.\n"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(r.call(), CPI_ALRT_BAD_PARAM);
    EXPECT_EQ(top_text(), r.text);
  }
  long st = cpi_rel_toid(s, a, &saved, "account2nothing", 1);
  EXPECT_NE(st, 0);
  EXPECT_EQ(top_code(), st);
  ost_ty_state* engine = cpi_state_of(s);
  EXPECT_EQ(engine->num_relations, 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_rel_test, AStatesWholeLifeThroughTheInterface) {
  seed(TAG, 30, "red");
  long s = state();
  // Create and relate by handle and by id.
  void *acc = nullptr, *c1 = nullptr, *c2 = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &acc), 0);
  ASSERT_EQ(cpi_obj_create(s, "contact", 0, &c1), 0);
  ASSERT_EQ(cpi_obj_create(s, "contact", 0, &c2), 0);
  long rank1 = 4, rank2 = 8;
  ASSERT_EQ(cpi_obj_set_field(acc, "name", "north", 0), 0);
  ASSERT_EQ(cpi_obj_set_field(c1, "name", "ann", 0), 0);
  ASSERT_EQ(cpi_obj_set_field(c1, "rank", &rank1, 0), 0);
  ASSERT_EQ(cpi_obj_set_field(c2, "name", "amy", 0), 0);
  ASSERT_EQ(cpi_obj_set_field(c2, "rank", &rank2, 0), 0);
  ASSERT_EQ(cpi_rel_objs(s, acc, c1, "account2contact", 1), 0);
  ASSERT_EQ(cpi_rel_objs(s, c2, acc, "contact2account", 1), 0);
  const cpi_ty_objid red = objid(TAG, 30);
  ASSERT_EQ(cpi_rel_toid(s, c1, &red, "contact2tag", 1), 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_EQ(top_code(), 0);
  long acc_no = number_of(cpi_obj_of(acc)), c1_no = number_of(cpi_obj_of(c1)), c2_no = number_of(cpi_obj_of(c2));
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 1);
  EXPECT_EQ(adp_mem::row_count(CONTACT), 2);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, c1_no, 0}, "contact2account"), acc_no);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, c2_no, 0}, "contact2account"), acc_no);
  // Traverse two levels with conditions and orders.
  cpi_ty_trav_map maps[2];
  cpi_qry_trav_map_init(2, maps);
  const cpi_ty_fcond on_name{CPI_OP_STARTS_WITH, "name", "nor"};
  const cpi_ty_fcond on_rank{CPI_OP_GREATER_EQUAL, "rank", "4"};
  cpi_ty_forder by_rank{"rank", 1};
  maps[0].type_name = "account";
  maps[0].cond_count = 1;
  maps[0].conds = const_cast<cpi_ty_fcond*>(&on_name);
  maps[1].kind = 0;
  maps[1].parent = 0;
  maps[1].rel_name = "account2contact";
  maps[1].cond_count = 1;
  maps[1].conds = const_cast<cpi_ty_fcond*>(&on_rank);
  maps[1].order_count = 1;
  maps[1].orders = &by_rank;
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), s, nullptr, 2, maps, 0, &r), 0) << alert_texts();
  long n = 0;
  void** found = nullptr;
  ASSERT_EQ(cpi_qry_get_result(r, 1, 0, &n, &found), 0);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(found[0], c1);
  EXPECT_EQ(found[1], c2);
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  // Update.
  ASSERT_EQ(cpi_obj_set_field(acc, "name", "northeast", 0), 0);
  ASSERT_EQ(cpi_obj_update(s, acc, 0), 0);
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, acc_no, 0}, F_NAME), "northeast");
  // Delete: one at commit, one at once keeping the handle, one at once.
  ASSERT_EQ(cpi_obj_delete(s, c1, 2), 0);
  EXPECT_TRUE(adp_mem::has_row({CONTACT, c1_no, 0}));
  ASSERT_EQ(cpi_obj_delete(s, c2, 3), 0);
  EXPECT_FALSE(adp_mem::has_row({CONTACT, c2_no, 0}));
  ASSERT_EQ(cpi_state_commit(s), 0) << alert_texts();
  EXPECT_FALSE(adp_mem::has_row({CONTACT, c1_no, 0}));
  ASSERT_EQ(cpi_obj_delete(s, acc, 0), 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
  // A failing call on the way tells its text; the state is released.
  EXPECT_EQ(cpi_obj_delete(s, nullptr, 0), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '2', 'obj' is invalid.\n");
  EXPECT_EQ(cpi_state_rollback(s), 0);
  EXPECT_EQ(live_states(), 0);
}

}  // namespace
