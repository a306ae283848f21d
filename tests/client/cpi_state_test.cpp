// States at the client interface: create on the session's connection,
// commit (the state stays), rollback (freed), dump, callbacks, connection,
// count and index.
#include <string>

#include "client/cpi_fixture.h"
#include "client/ost/ost_state.h"

namespace {

class cpi_state_test : public cpi_test {};

TEST_F(cpi_state_test, CreateChecksTheConnectionThenTheOutput) {
  long s = 0;
  EXPECT_EQ(cpi_state_create(conid() + 1, 0, &s), CPI_ALRT_BAD_CON_ID);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(cpi_state_create(conid(), 0, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '3', 'tstate' is invalid.\n");
  ASSERT_EQ(cpi_state_create(conid(), 0, &s), 0);
  long con = 0;
  EXPECT_EQ(cpi_state_get_dbid(s, &con), 0);
  EXPECT_EQ(con, conid());
  EXPECT_EQ(cpi_state_rollback(s), 0);
  EXPECT_EQ(live_states(), 0);
}

TEST_F(cpi_state_test, CommitWritesAndKeepsTheStateUntilRollback) {
  long s = state();
  void* a = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &a), 0);
  ASSERT_EQ(cpi_obj_set_field(a, "name", "north", 0), 0);
  ASSERT_EQ(cpi_state_commit(s), 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 1);
  EXPECT_EQ(live_states(), 1);
  ASSERT_EQ(cpi_obj_set_field(a, "name", "south", 0), 0);
  ASSERT_EQ(cpi_obj_set_modified(s, a), 0);
  ASSERT_EQ(cpi_state_commit(s), 0);
  EXPECT_EQ(adp_mem::field_text({ACCOUNT, number_of(cpi_obj_of(a)), 0}, F_NAME), "south");
  EXPECT_EQ(cpi_state_rollback(s), 0);
  EXPECT_EQ(live_states(), 0);
  EXPECT_EQ(cpi_state_commit(s), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(cpi_state_rollback(s), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '1', 'tstate' is invalid.\n");
}

TEST_F(cpi_state_test, RollbackAbandonsWhatWasNotCommitted) {
  long s = state();
  void* a = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &a), 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
  EXPECT_EQ(adp_mem::row_count(ACCOUNT), 0);
  EXPECT_EQ(live_states(), 0);
}

TEST_F(cpi_state_test, CountAndIndexGoOverOneTypeOrAll) {
  long s = state();
  void *a = nullptr, *c = nullptr, *d = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &a), 0);
  ASSERT_EQ(cpi_obj_create(s, "contact", 0, &c), 0);
  ASSERT_EQ(cpi_obj_create(s, "contact", 0, &d), 0);
  long n = 0;
  EXPECT_EQ(cpi_state_count(s, nullptr, &n), 0);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(cpi_state_count(s, "contact", &n), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(cpi_state_count(s, "nothing", &n), CPI_ALRT_BAD_TYPE);
  EXPECT_EQ(top_text(), "Object type 'nothing' is not valid.\n");
  void* o = nullptr;
  EXPECT_EQ(cpi_state_get_obj_by_index(s, 1, "contact", &o), 0);
  EXPECT_EQ(o, d);
  EXPECT_EQ(cpi_state_get_obj_by_index(s, 0, nullptr, &o), 0);
  EXPECT_EQ(o, a);
  EXPECT_EQ(cpi_state_get_obj_by_index(s, 3, nullptr, &o), CPI_ALRT_BAD_OBJ_INDEX);
  EXPECT_EQ(top_text(), "Invalid object index 3 for the transaction state.\n");
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_state_test, TheConnectionOfANullStateIsRefusedWithoutAskingTheStates) {
  long con = 5;
  EXPECT_EQ(cpi_state_get_dbid(0, &con), CPI_ALRT_NULL_STATE);
  EXPECT_EQ(top_text(), "Cannot get connection ID from NULL transaction state.\n");
  EXPECT_EQ(con, 5);
}

long g_calls = 0;
long count_save(ost_ty_state*, long, long, long, long, long*) {
  ++g_calls;
  return 0;
}

TEST_F(cpi_state_test, DumpAndCallbacksReachTheState) {
  long s = state();
  void* a = nullptr;
  ASSERT_EQ(cpi_obj_create(s, "account", 0, &a), 0);
  g_calls = 0;
  EXPECT_EQ(cpi_state_install_callback(s, OST_CB_SAVE_STATE, reinterpret_cast<void*>(&count_save)), 0);
  EXPECT_EQ(cpi_state_commit(s), 0);
  EXPECT_EQ(g_calls, 1);
  std::string text = written([&](FILE* f) { EXPECT_EQ(cpi_state_dump(s, f), 0); });
  EXPECT_NE(text.find("account"), std::string::npos) << text;
  EXPECT_EQ(cpi_state_dump(0, stdout), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

}  // namespace
