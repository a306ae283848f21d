// The save of a state on the rig: what it writes, ids from one request,
// failures that leave state and database as before, deadlock retries,
// transactions and the callbacks around the batch.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include <algorithm>

#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"

namespace {

long g_level_seen = -1;
long g_answer = 0;
long g_status = 0;

std::vector<long> g_numbers;

// Slot 12: the number each saved object was given in this attempt.
long note_number(ost_ty_state*, long entry, long, long, long, long*) {
  g_numbers.push_back(reinterpret_cast<ost_ty_obj_entry*>(entry)->id.num);
  return 0;
}

long watch_level(ost_ty_state*, long, long, long, long, long* answer) {
  g_level_seen = adp_store::st().trn_level;
  *answer = g_answer;
  return g_status;
}

dbs_ty_lobj* g_touched = nullptr;

// Slot 13: changes another object of the state while the save runs.
long touch(ost_ty_state* s, long, long, long, long, long*) {
  if (!g_touched) return 0;
  long st = ost_obj_get(s, g_touched, OST_OBJ_GET_CHANGE);
  const char* text = "touched";
  dbs_fld_set(g_touched, F_NAME, &text);
  return st;
}

std::vector<long> g_failed_args;

long note_failed(ost_ty_state*, long a1, long, long, long, long*) {
  g_failed_args.push_back(a1);
  return 0;
}

class ost_save_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    g_level_seen = -1;
    g_numbers.clear();
    g_answer = 0;
    g_status = 0;
  }

  // A state holding two new accounts.
  ost_ty_state* two_new(dbs_ty_lobj** a, dbs_ty_lobj** b, long ncb = 0, const ost_ty_cb_triple* cbs = nullptr) {
    ost_ty_state* s = nullptr;
    EXPECT_EQ(ost_state_create(nullptr, con(), ncb, cbs, nullptr, 0, &s), 0);
    EXPECT_EQ(ost_obj_create("t", s, ACCOUNT, a), 0);
    EXPECT_EQ(ost_obj_create("t", s, ACCOUNT, b), 0);
    set_name(*a, "north");
    set_name(*b, "south");
    return s;
  }

  static bool entry_modified(ost_ty_state* s, dbs_ty_lobj* h) {
    long modified = 0, modifiable = 0;
    EXPECT_EQ(ost_obj_is_modified(s, -1, nullptr, h, 0, 0, &modified, &modifiable), 0);
    return modified == 1;
  }
};

TEST_F(ost_save_test, NothingToWriteWritesNothing) {
  ost_ty_state* s = new_state();
  seed(ACCOUNT, 5, "kept");
  dbs_ty_lobj* o = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
  const long before = adp_double::calls().size();
  EXPECT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_double::calls().size(), before);
  EXPECT_EQ(adp_mem::batch_runs(), 0);
  // Option 32 runs the (empty) batch all the same.
  EXPECT_EQ(ost_state_save(s, OST_SAVE_ALWAYS), 0);
  EXPECT_EQ(adp_mem::batch_runs(), 1);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, NewObjectsGetIdsFromOneRequestAndAreWritten) {
  dbs_ty_lobj *a = nullptr, *b = nullptr, *c = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  ASSERT_EQ(ost_obj_create("t", s, CONTACT, &c), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  // One request for both types.
  ASSERT_EQ(calls("adp_obj_number_batch"), 1);
  EXPECT_EQ(adp_double::calls_of("adp_obj_number_batch")[0].args[0], "2");
  EXPECT_GT(number_of(c), 0);
  const long na = number_of(a), nb = number_of(b);
  EXPECT_GT(na, 0);
  EXPECT_GT(nb, 0);
  EXPECT_NE(na, nb);
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, na, 0}, F_NAME), "north");
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, nb, 0}, F_NAME), "south");
  EXPECT_EQ(dbs_obj_is_temp(a), 0);
  EXPECT_FALSE(entry_modified(s, a));
  // A change of a saved object is an update of its row, without a new id.
  ASSERT_EQ(ost_obj_get(s, a, OST_OBJ_GET_CHANGE), 0);
  set_name(a, "east");
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(calls("adp_obj_number_batch"), 1);
  EXPECT_EQ(number_of(a), na);
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, na, 0}, F_NAME), "east");
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
  EXPECT_EQ(adp_mem::row_count(CONTACT), 1);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, AFailedSaveLeavesNewObjectsNewAndNoTransactionOpen) {
  struct row {
    const char* what;
    long code;
    bool save_begins;  // a slot-13 callback makes the save begin the transaction
  };
  for (const row& r : std::vector<row>{{"duplicate key", DUP_KEY, false},
                                       {"duplicate key, own transaction", DUP_KEY, true},
                                       {"raised error", RAISED, false},
                                       {"raised error, own transaction", RAISED, true},
                                       {"lost connection", LOST, true}}) {
    SCOPED_TRACE(r.what);
    adp_double::reset();
    switch_database_on();
    adp_store::st().head_read = 1;
    g_numbers.clear();
    ost_ty_cb_triple cbs[] = {{OST_CB_SAVE_STATE, note_number, 0}, {OST_CB_SAVE_OBJECT, watch_level, 0}};
    dbs_ty_lobj *a = nullptr, *b = nullptr;
    ost_ty_state* s = two_new(&a, &b, r.save_begins ? 2 : 1, cbs);
    adp_double::fail_from("adp_rel_do_batch", 1, r.code);
    EXPECT_EQ(ost_state_save(s, 0), r.code);
    EXPECT_EQ(number_of(a), 0);
    EXPECT_EQ(number_of(b), 0);
    EXPECT_TRUE(entry_modified(s, a));
    EXPECT_EQ(adp_store::st().trn_level, 0);
    EXPECT_EQ(adp_mem::trn_level(), 0);
    EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
    EXPECT_EQ(s->flags & OST_ST_SAVING, 0);
    // The next save asks for fresh ids and writes both rows.
    adp_double::fail_from("adp_rel_do_batch", 1000, r.code);
    EXPECT_EQ(ost_state_save(s, 0), 0);
    ASSERT_EQ(g_numbers.size(), 4u);
    EXPECT_GT(g_numbers[0], 0);
    EXPECT_NE(number_of(a), g_numbers[0]);
    EXPECT_NE(number_of(b), g_numbers[1]);
    EXPECT_EQ(number_of(a), g_numbers[2]);
    EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
    EXPECT_EQ(ost_state_abort(s, 0), 0);
  }
}

TEST_F(ost_save_test, DeadlockInEveryAttemptGivesUpAfterTheRetryCount) {
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  adp_double::fail_from("adp_rel_do_batch", 1, DEADLOCK);
  std::string out = messages([&] { EXPECT_EQ(ost_state_save(s, 0), DEADLOCK); });
  EXPECT_EQ(calls("adp_rel_do_batch"), 10);
  EXPECT_NE(out.find("DEADLOCK: OST retrying write to database (#10)...\n"), std::string::npos);
  EXPECT_NE(out.find("OST DEADLOCKED and already tried 10 times; giving up...\n"), std::string::npos);
  EXPECT_EQ(out.find("(#11)"), std::string::npos);
  auto lines = sql_lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "DEADLOCK doing object/relation batch!\n"), 10);
  EXPECT_EQ(lines.back(), "OST DEADLOCKED too many times; giving up...\n");
  EXPECT_EQ(number_of(a), 0);
  ost_state_set_num_retries(3);
  adp_double::fail_from("adp_rel_do_batch", 1, DEADLOCK);
  messages([&] { EXPECT_EQ(ost_state_save(s, 0), DEADLOCK); });
  EXPECT_EQ(calls("adp_rel_do_batch"), 13);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, ADeadlockThenSuccessWritesOnce) {
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  adp_double::script("adp_rel_do_batch", {DEADLOCK, DEADLOCK});
  std::string out = messages([&] { EXPECT_EQ(ost_state_save(s, 0), 0); });
  EXPECT_EQ(calls("adp_rel_do_batch"), 3);
  EXPECT_NE(out.find("DATABASE commitment failed; retrying...\n"), std::string::npos);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
  EXPECT_EQ(adp_mem::batch_runs(), 1);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, SlotFourteenHearsWhetherTheSaveRetries) {
  ost_ty_cb_triple cb{OST_CB_SAVE_FAILED, note_failed, 0};
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b, 1, &cb);
  g_failed_args.clear();
  adp_double::script("adp_rel_do_batch", {DEADLOCK, DEADLOCK});
  messages([&] { EXPECT_EQ(ost_state_save(s, OST_SAVE_CHECKPOINT), 0); });
  EXPECT_EQ(g_failed_args, (std::vector<long>{1, 1}));
  EXPECT_EQ(s->flags & OST_ST_CHECKPOINTED, 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
  s = two_new(&a, &b, 1, &cb);
  g_failed_args.clear();
  ost_state_set_num_retries(2);
  adp_double::fail_from("adp_rel_do_batch", 1, DEADLOCK);
  messages([&] { EXPECT_EQ(ost_state_save(s, OST_SAVE_CHECKPOINT), DEADLOCK); });
  EXPECT_EQ(g_failed_args, (std::vector<long>{1, 0}));
  EXPECT_EQ(s->flags & OST_ST_CHECKPOINTED, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, DeadlockInsideTheCallersTransactionIsReturnedAtOnce) {
  struct row {
    const char* what;
    long options;
  };
  for (const row& r : std::vector<row>{{"application transaction", 0}, {"option 1", OST_SAVE_APPL_TRN}}) {
    SCOPED_TRACE(r.what);
    adp_double::reset();
    switch_database_on();
    adp_store::st().head_read = 1;
    dbs_ty_lobj *a = nullptr, *b = nullptr;
    ost_ty_state* s = two_new(&a, &b);
    ASSERT_EQ(dbs_trn_begin(con()), 0);
    adp_double::fail_from("adp_rel_do_batch", 1, DEADLOCK);
    std::string out = messages([&] { EXPECT_EQ(ost_state_save(s, r.options), DEADLOCK); });
    EXPECT_EQ(calls("adp_rel_do_batch"), 1);
    // The caller's transaction stays open: the caller rolls back.
    EXPECT_EQ(adp_store::st().trn_level, 1);
    EXPECT_EQ(calls("adp_trn_rollback"), 0);
    if (r.options == 0)
      EXPECT_NE(out.find("OST DEADLOCK inside nested transaction (level=1)...\n"), std::string::npos);
    else
      EXPECT_EQ(out.find("retrying"), std::string::npos);
    EXPECT_EQ(number_of(a), 0);
    ASSERT_EQ(dbs_trn_rollback(con()), 0);
    EXPECT_EQ(ost_state_abort(s, 0), 0);
  }
}

TEST_F(ost_save_test, OptionOneRunsInTheCallersTransactionAndLeavesItOpen) {
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  ASSERT_EQ(dbs_trn_begin(con()), 0);
  ASSERT_EQ(ost_state_save(s, OST_SAVE_APPL_TRN), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[0], "0");
  EXPECT_EQ(adp_store::st().trn_level, 1);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
  // The caller's rollback takes the rows away again.
  ASSERT_EQ(dbs_trn_rollback(con()), 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, SlotThirteenWithArgumentZeroRunsInsideTheSavesOwnTransaction) {
  ost_ty_cb_triple cb{OST_CB_SAVE_OBJECT, watch_level, 0};
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b, 1, &cb);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(g_level_seen, 1);
  EXPECT_EQ(calls("adp_trn_begin"), 1);
  EXPECT_EQ(calls("adp_trn_commit"), 1);
  EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[0], "0");
  EXPECT_EQ(adp_store::st().trn_level, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
  // Without such a callback the batch commits by itself.
  s = two_new(&a, &b);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(calls("adp_trn_begin"), 1);
  EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[0], "1");
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, ObjectsTouchedWhileSavingGoIntoTheBatchAtOnce) {
  seed(ACCOUNT, 5, "before");
  ost_ty_cb_triple cb{OST_CB_SAVE_OBJECT, touch, 0};
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b, 1, &cb);
  g_touched = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, g_touched, nullptr), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, 5, 0}, F_NAME), "touched");
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 3);
  g_touched = nullptr;
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, CallbackAnswersSteerTheSave) {
  struct row {
    const char* what;
    long slot, answer, status, result;
    bool written;
  };
  for (const row& r : std::vector<row>{
           {"slot 17 answering 101 returns at once", OST_CB_BEFORE_SAVE, 0, OST_SAVE_STOP, OST_SAVE_STOP, false},
           {"slot 17 answer abandons", OST_CB_BEFORE_SAVE, 1, 0, 0, false},
           {"slot 12 answer 32 goes on", OST_CB_SAVE_STATE, 32, 0, 0, true},
           {"slot 12 other answer abandons", OST_CB_SAVE_STATE, 4, 0, 0, false},
           {"slot 18 answer abandons with 1", OST_CB_AFTER_IDS, 1, 0, 1, false},
           {"slot 13 answer abandons with 1", OST_CB_SAVE_OBJECT, 1, 0, 1, false},
           {"slot 15 failure fails", OST_CB_PRIOR_TO_COMMIT, 0, 55, 55, false},
       }) {
    SCOPED_TRACE(r.what);
    adp_double::reset();
    switch_database_on();
    adp_store::st().head_read = 1;
    g_answer = r.answer;
    g_status = r.status;
    ost_ty_cb_triple cb{r.slot, watch_level, 0};
    dbs_ty_lobj *a = nullptr, *b = nullptr;
    ost_ty_state* s = two_new(&a, &b, 1, &cb);
    EXPECT_EQ(ost_state_save(s, 0), r.result);
    EXPECT_EQ(adp_mem::row_count(ACCOUNT), r.written ? 2 : 0);
    EXPECT_EQ(adp_store::st().trn_level, 0);
    if (r.result == OST_SAVE_STOP) {
      EXPECT_EQ(calls("adp_rel_abort_batch"), 0);
    } else if (!r.written) {
      EXPECT_EQ(number_of(a), 0);
      EXPECT_TRUE(entry_modified(s, a));
    }
    EXPECT_EQ(ost_state_abort(s, 0), 0);
  }
}

TEST_F(ost_save_test, InjectedFailuresFailTheNextBatches) {
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  ost_state_db_fail(1);
  EXPECT_NE(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[1], "1");
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
  EXPECT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[1], "0");
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 2);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, OptionEightFreesTheStateWhateverTheOutcome) {
  dbs_ty_lobj *a = nullptr, *b = nullptr;
  ost_ty_state* s = two_new(&a, &b);
  EXPECT_EQ(ost_state_save(s, OST_SAVE_FREE), 0);
  EXPECT_EQ(live_states(), 0);
  s = two_new(&a, &b);
  adp_double::fail_from("adp_rel_do_batch", 1, DUP_KEY);
  EXPECT_EQ(ost_state_save(s, OST_SAVE_FREE), DUP_KEY);
  EXPECT_EQ(live_states(), 0);
}

TEST_F(ost_save_test, DeletesAndRelationsReachTheDatabase) {
  seed(ACCOUNT, 7, "acme");
  seed(CONTACT, 8, "ann");
  seed(CONTACT, 9, "bob");
  seed(TAG, 3, "vip");
  seed_fk(9, 7);
  ost_ty_state* s = new_state();
  dbs_ty_lobj* acct = read(ACCOUNT, 7);
  dbs_ty_lobj* ann = read(CONTACT, 8);
  dbs_ty_lobj* bob = read(CONTACT, 9);
  for (dbs_ty_lobj* o : {acct, ann, bob}) ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
  obj_id tag{TAG, 3, 0};
  ASSERT_EQ(ost_obj_relate_byhndl(s, acct, ann, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_unrelate_byhndl(s, bob, acct, CONTACT2ACCOUNT), 0);
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, ann, &tag, CONTACT2TAG), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, 8, 0}, "contact2account"), 7);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, 9, 0}, "contact2account"), 0);
  EXPECT_EQ(s->num_relations, 0);
  ASSERT_EQ(ost_obj_delete(s, bob, 0), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_FALSE(adp_mem::has_row({CONTACT, 9, 0}));
  EXPECT_TRUE(adp_mem::has_row({CONTACT, 8, 0}));
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, ASaveLetsGoOfLedgerObjectsButTheyLiveOnWithTheState) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* l = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, LEDGER, &l), 0);
  set_name(l, "entry");
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(s->num_objects, 0);
  EXPECT_EQ(adp_mem::row_count(LEDGER), 1);
  // The caller's handle is still a live object until the state goes.
  EXPECT_EQ(name_of(l), "entry");
  EXPECT_GT(number_of(l), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, OfflineFeatureGivesLinkRowsIdsOfTheirOwn) {
  adp_store::st().current.flags |= 32;  // offline synchronisation on
  adp_store::st().current.site_id = 2;
  seed(TAG, 3, "vip");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* c = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, CONTACT, &c), 0);
  obj_id tag{TAG, 3, 0};
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, c, &tag, CONTACT2TAG), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(calls("adp_obj_number_batch"), 1);
  const auto& rel = adp_double::relates();
  ASSERT_EQ(rel.size(), 1u);
  EXPECT_EQ(rel[0].link.type, 100000002);
  EXPECT_NE(rel[0].link.num, 0);
  EXPECT_EQ(long_of(c, 3), 1);  // the synced field
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, CheckpointRollbackRestoresFieldsAndDropsLaterObjects) {
  seed(ACCOUNT, 5, "before", 10);
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
  ASSERT_EQ(ost_state_checkpoint(s), 0);
  ASSERT_EQ(ost_obj_get(s, o, OST_OBJ_GET_CHANGE), 0);
  set_name(o, "after");
  set_long(o, F_SIZE, 99);
  dbs_ty_lobj* later = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &later), 0);
  EXPECT_EQ(ost_obj_remove(s, o, 0), 0x200000e);
  ASSERT_EQ(ost_state_rollback(s), 0);
  EXPECT_EQ(name_of(o), "before");
  EXPECT_EQ(long_of(o, F_SIZE), 10);
  long n = 0;
  ASSERT_EQ(ost_state_count(s, -1, &n), 0);
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(entry_modified(s, o));
  EXPECT_EQ(s->flags & OST_ST_CHECKPOINTED, 0);
  // A commit of the checkpoint keeps the changes.
  ASSERT_EQ(ost_state_checkpoint(s), 0);
  ASSERT_EQ(ost_obj_get(s, o, OST_OBJ_GET_CHANGE), 0);
  set_name(o, "kept");
  ASSERT_EQ(ost_state_commit(s, 0), 0);
  EXPECT_EQ(name_of(o), "kept");
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, OptionSixteenPutsTheObjectsBackAfterAFailure) {
  seed(ACCOUNT, 5, "before");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
  ASSERT_EQ(ost_obj_get(s, o, OST_OBJ_GET_CHANGE), 0);
  set_name(o, "after");
  adp_double::fail_from("adp_rel_do_batch", 1, LOST);
  EXPECT_EQ(ost_state_save(s, OST_SAVE_CHECKPOINT), LOST);
  EXPECT_EQ(name_of(o), "after");
  EXPECT_TRUE(entry_modified(s, o));
  EXPECT_EQ(s->flags & OST_ST_CHECKPOINTED, 0);
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, 5, 0}, F_NAME), "before");
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_save_test, OptionSixtyFourCachesTheSavedRelations) {
  seed(ACCOUNT, 7, "acme");
  seed(CONTACT, 8, "ann");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* acct = read(ACCOUNT, 7);
  dbs_ty_lobj* ann = read(CONTACT, 8);
  ASSERT_EQ(ost_obj_add_local(s, acct, nullptr), 0);
  ASSERT_EQ(ost_obj_add_local(s, ann, nullptr), 0);
  ASSERT_EQ(ost_obj_relate_byhndl(s, acct, ann, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_state_save(s, OST_SAVE_CACHE_RELS), 0);
  obj_id from{ACCOUNT, 7, 0}, to{CONTACT, 8, 0};
  long found = 0;
  ASSERT_EQ(ost_rel_perm_find(s, &from, ACCOUNT2CONTACT, &to, &found), 0);
  EXPECT_EQ(found, 1);
  // An unrelate saved with option 64 drops the cached relations.
  ASSERT_EQ(ost_obj_unrelate_byhndl(s, acct, ann, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_state_save(s, OST_SAVE_CACHE_RELS), 0);
  ASSERT_EQ(ost_rel_perm_find(s, &from, ACCOUNT2CONTACT, &to, &found), 0);
  EXPECT_EQ(found, 0);
  // A save without option 64 clears the cache.
  ASSERT_EQ(ost_rel_perm_cache_one(s, &from, ACCOUNT2CONTACT, &to), 0);
  ASSERT_EQ(ost_obj_get(s, acct, OST_OBJ_GET_CHANGE), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(s->perm_rel_col, nullptr);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
