// The close of a state: the quit callbacks' answers choose what its batch
// writes; the close callbacks run and the state is freed.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"

namespace {

std::vector<long> g_answers;
size_t g_next = 0;
std::vector<std::string> g_closed;

long answer_next(ost_ty_state*, long, long, long, long, long* answer) {
  *answer = g_next < g_answers.size() ? g_answers[g_next] : 0;
  ++g_next;
  return 0;
}

long note_close(ost_ty_state*, long, long, long, long arg, long*) {
  g_closed.push_back("slot" + std::to_string(arg));
  return 0;
}

class ost_close_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    g_answers.clear();
    g_next = 0;
    g_closed.clear();
  }
};

TEST_F(ost_close_test, EachObjectAnswer) {
  struct row {
    const char* what;
    std::vector<long> answers;
    std::vector<bool> written;  // the three accounts
    bool cancelled;
  };
  for (const row& r : std::vector<row>{
           {"1 cancels", {1}, {false, false, false}, true},
           {"2 writes this one", {2, 0, 2}, {true, false, true}, false},
           {"4 leaves it", {4, 4, 2}, {false, false, true}, false},
           {"8 writes this and every later one", {0, 8}, {false, true, true}, false},
           {"16 stops looking at objects", {2, 16, 2}, {true, false, false}, false},
       }) {
    SCOPED_TRACE(r.what);
    adp_double::reset();
    switch_database_on();
    adp_store::st().head_read = 1;
    for (long n : {1, 2, 3}) seed(ACCOUNT, n, "old");
    g_answers = r.answers;
    g_next = 0;
    g_closed.clear();
    ost_ty_cb_triple cbs[] = {{OST_CB_QUIT_OBJECTS, answer_next, 0}, {OST_CB_CLOSE, note_close, 0}};
    ost_ty_state* s = nullptr;
    ASSERT_EQ(ost_state_create(nullptr, con(), 2, cbs, nullptr, 0, &s), 0);
    for (long n : {1, 2, 3}) {
      dbs_ty_lobj* o = read(ACCOUNT, n);
      ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
      ASSERT_EQ(ost_obj_get(s, o, OST_OBJ_GET_CHANGE), 0);
      set_name(o, "new");
    }
    long cancelled = -1;
    ASSERT_EQ(ost_state_close(s, 0, &cancelled), 0);
    EXPECT_EQ(cancelled, r.cancelled ? 1 : 0);
    for (long n : {1, 2, 3})
      EXPECT_EQ(adp_mem::field_text({ACCOUNT, n, 0}, F_NAME), r.written[n - 1] ? "new" : "old") << n;
    if (r.cancelled) {
      EXPECT_EQ(ost_state_check(s), 0);
      EXPECT_TRUE(g_closed.empty());
      EXPECT_EQ(ost_state_abort(s, 0), 0);
    } else {
      EXPECT_EQ(g_closed, (std::vector<std::string>{"slot0"}));
      EXPECT_EQ(live_states(), 0);
    }
  }
}

TEST_F(ost_close_test, RelationAnswersAndTheBatchsOwnTransaction) {
  seed(ACCOUNT, 7, "acme");
  for (long n : {8, 9}) seed(CONTACT, n, "c");
  struct row {
    const char* what;
    std::vector<long> answers;
    long fk8, fk9;
  };
  for (const row& r : std::vector<row>{{"2 and 4", {2, 4}, 7, 0},
                                       {"8 writes the rest", {8}, 7, 7},
                                       {"16 stops", {16, 2}, 0, 0},
                                       {"1 ends the close", {1}, 0, 0}}) {
    SCOPED_TRACE(r.what);
    adp_mem::set_fk({CONTACT, 8, 0}, "contact2account", 0);
    adp_mem::set_fk({CONTACT, 9, 0}, "contact2account", 0);
    g_answers = r.answers;
    g_next = 0;
    ost_ty_cb_triple cb{OST_CB_QUIT_RELATIONS, answer_next, 0};
    ost_ty_state* s = nullptr;
    ASSERT_EQ(ost_state_create(nullptr, con(), 1, &cb, nullptr, 0, &s), 0);
    dbs_ty_lobj* a = read(ACCOUNT, 7);
    ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
    obj_id c8{CONTACT, 8, 0}, c9{CONTACT, 9, 0};
    ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &c8, ACCOUNT2CONTACT), 0);
    ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &c9, ACCOUNT2CONTACT), 0);
    long cancelled = -1;
    ASSERT_EQ(ost_state_close(s, 0, &cancelled), 0);
    EXPECT_EQ(adp_mem::fk_of(c8, "contact2account"), r.fk8);
    EXPECT_EQ(adp_mem::fk_of(c9, "contact2account"), r.fk9);
    if (r.answers[0] == 1) {
      EXPECT_EQ(ost_state_abort(s, 0), 0);
    } else {
      // No application transaction: the batch is its own.
      EXPECT_EQ(adp_double::calls_of("adp_rel_do_batch").back().args[0], "1");
    }
  }
}

TEST_F(ost_close_test, AFailedBatchIsReturnedWithItsLogLine) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &o), 0);
  adp_double::fail_from("adp_rel_do_batch", 1, DEADLOCK);
  long cancelled = -1;
  EXPECT_EQ(ost_state_close(s, 1, &cancelled), DEADLOCK);
  EXPECT_EQ(sql_lines().back(), "DEADLOCK doing object/relation batch!\n");
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
