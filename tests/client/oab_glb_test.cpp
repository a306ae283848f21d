// The "oab" message list and the session globals.
#include <cstring>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_val.h"
#include "core/utl/utl_col.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"

namespace {

class oab_glb_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    oab_db_con_id = con();
    ASSERT_EQ(oab_glb_init(), 0);
  }
  void TearDown() override {
    dbs_ty_lobj* none = nullptr;
    for (long n : {23L, 26L, 35L, 39L, 67L}) EXPECT_EQ(oab_glb_main_set_variable(n, OAB_GLB_OBJ, none), 0);
    EXPECT_EQ(oab_glb_main_term(), 0);
    client_test::TearDown();
  }
};

std::string top_text() {
  const char* text = nullptr;
  long code = 0;
  cmn_alrt_top(nullptr, &code, &text);
  return text != nullptr ? text : "";
}

TEST_F(oab_glb_test, MessagesFormatTheirArgumentsAndKeepTheirWords) {
  oab_alrt("oab_obj_copy_data_fields", OAB_COPY_TYPES, "account", "contact");
  EXPECT_EQ(top_text(), "You cannot copy fields from one type (account) to another (contact).");
  cmn_alrt_clear(nullptr);
  oab_alrt("t", oab_code(72), "passed through %s unchanged");
  EXPECT_EQ(top_text(), "passed through %s unchanged");
  cmn_alrt_clear(nullptr);
  const struct {
    long index;
    const char* text;
  } rows[] = {{0, "More than one relative was found on an object.\n"},
              {33, "Case Close"},
              {153, "Global variable ID requested does not exist.\n"},
              {156, "%Active Contract%"},
              {200, "Invalid restrictions (on '%s') set up for your privilege class. See your OrbisanCRM admin."},
              {370, "SFA Quote-Temporary"}};
  for (const auto& r : rows) EXPECT_STREQ(oab_msg_text(oab_code(r.index)), r.text) << r.index;
  for (long i : {182L, 187L, 251L, 263L, 267L, 347L}) EXPECT_STRNE(oab_msg_text(oab_code(i)), "") << i;
}

TEST_F(oab_glb_test, NumbersAndTypeCodesAreChecked) {
  const struct {
    long number;
    long type;
    long expected;
  } rows[] = {{47, OAB_GLB_LONG, OAB_GLB_ID},   {81, OAB_GLB_LONG, OAB_GLB_ID},   {1, OAB_GLB_LONG, OAB_GLB_ID},
              {11, OAB_GLB_OID, OAB_GLB_ID},    {2, OAB_GLB_LONG, OAB_GLB_TYPE},  {16, OAB_GLB_TEXT, OAB_GLB_TYPE},
              {19, OAB_GLB_LONG, OAB_GLB_TYPE}, {16, OAB_GLB_LONG, 0},            {9, OAB_GLB_OID, 0}};
  for (const auto& r : rows) {
    obj_id buf{};
    EXPECT_EQ(oab_glb_main_get_variable(r.number, r.type, &buf), r.expected) << r.number;
    EXPECT_EQ(oab_glb_main_set_variable(r.number, r.type, &buf), r.expected) << r.number;
  }
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  EXPECT_EQ(n, 0);  // returned, never pushed
}

TEST_F(oab_glb_test, StartValuesAndRoundTrips) {
  std::vector<long> clocks{19, 20, 21, 37, 40, 41, 46, 48, 80};
  for (long n = 50; n <= 66; ++n) clocks.push_back(n);
  for (long n = 72; n <= 78; ++n) clocks.push_back(n);
  for (long n : clocks) {
    clktime t{1, 1};
    ASSERT_EQ(oab_glb_main_get_variable(n, OAB_GLB_TIME, &t), 0) << n;
    EXPECT_TRUE(clk_time_is_null(t)) << n;
  }
  clktime t0{};
  EXPECT_EQ(oab_glb_main_get_variable(38, OAB_GLB_TIME, &t0), OAB_GLB_TYPE);
  clktime t{5, 77};
  ASSERT_EQ(oab_glb_main_set_variable(50, OAB_GLB_TIME, &t), 0);
  clktime back{};
  ASSERT_EQ(oab_glb_main_get_variable(50, OAB_GLB_TIME, &back), 0);
  EXPECT_EQ(back.day, 5);
  EXPECT_EQ(back.ticks, 77);
  obj_id id{20, 7, 0};
  ASSERT_EQ(oab_glb_main_set_variable(22, OAB_GLB_OID, &id), 0);
  obj_id id_back{};
  ASSERT_EQ(oab_glb_main_get_variable(22, OAB_GLB_OID, &id_back), 0);
  EXPECT_EQ(id_back.num, 7);
  long flag = 1;
  ASSERT_EQ(oab_glb_main_set_variable(32, OAB_GLB_LONG, &flag), 0);
  long flag_back = 0;
  ASSERT_EQ(oab_glb_main_get_variable(32, OAB_GLB_LONG, &flag_back), 0);
  EXPECT_EQ(flag_back, 1);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(13, OAB_GLB_COL, &col), 0);
  EXPECT_NE(col, nullptr);
  ASSERT_EQ(oab_glb_main_get_variable(28, OAB_GLB_COL, &col), 0);
  EXPECT_EQ(col, nullptr);
}

TEST_F(oab_glb_test, TextGlobalsKeep127Characters) {
  std::string login(200, 'x');
  login[126] = 'y';
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_LOGIN, OAB_GLB_TEXT, login.c_str()), 0);
  char* buf = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_LOGIN, OAB_GLB_TEXT, &buf), 0);
  ASSERT_EQ(std::strlen(buf), 127u);
  EXPECT_EQ(buf[126], 'y');
  char* other = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(33, OAB_GLB_TEXT, &other), 0);
  EXPECT_STREQ(other, "");  // the buffers are apart
  std::strcpy(buf, "written in place");
  char* again = nullptr;
  oab_glb_main_get_variable(OAB_GLB_LOGIN, OAB_GLB_TEXT, &again);
  EXPECT_STREQ(again, "written in place");
}

TEST_F(oab_glb_test, ObjectGlobalsHandOutCopiesAndTellTheStore) {
  seed(ACCOUNT, 3, "Acme");
  dbs_ty_lobj* user = read(ACCOUNT, 3);
  ASSERT_NE(user, nullptr);
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, user), 0);
  set_name(user, "changed after set");
  dbs_ty_lobj* a = nullptr;
  dbs_ty_lobj* b = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER, 0, &a), 0);  // type code not checked
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, &b), 0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(name_of(a), "Acme");
  set_name(a, "only a");
  EXPECT_EQ(name_of(b), "Acme");
  cmn_ty_value told{};
  ASSERT_EQ(dbs_main_get_global(1, &told), 0);
  EXPECT_EQ(told.type, 634);
  ASSERT_NE(told.value, 0);
  EXPECT_EQ(name_of(reinterpret_cast<dbs_ty_lobj*>(told.value)), "Acme");
  dbs_obj_free_local("t", a);
  dbs_obj_free_local("t", b);
  dbs_obj_free_local("t", user);
  dbs_ty_lobj* none = nullptr;
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, none), 0);
  ASSERT_EQ(dbs_main_get_global(1, &told), 0);
  EXPECT_EQ(told.value, 0);
  dbs_ty_lobj* holder = user;
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, &holder), 0);
  EXPECT_EQ(holder, nullptr);
}

TEST_F(oab_glb_test, DialogMapReplacesInPlace) {
  long v = -1;
  ASSERT_EQ(oab_glb_find_dlg_inst_id(4, &v), 0);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(oab_glb_set_dlg_inst_id(4, 40), 0);
  ASSERT_EQ(oab_glb_set_dlg_inst_id(5, 50), 0);
  ASSERT_EQ(oab_glb_set_dlg_inst_id(4, 41), 0);
  oab_glb_find_dlg_inst_id(4, &v);
  EXPECT_EQ(v, 41);
  oab_glb_find_dlg_inst_id(5, &v);
  EXPECT_EQ(v, 50);
  utl_ty_col* keys = nullptr;
  oab_glb_main_get_variable(OAB_GLB_DLG_KEYS, OAB_GLB_COL, &keys);
  EXPECT_EQ(keys->count, 2);
}

TEST_F(oab_glb_test, SharedQueueAndAlternateUser) {
  long shared = 0;
  ASSERT_EQ(oab_glb_current_q_is_shared(&shared), 0);
  EXPECT_EQ(shared, 1);  // no queue
  obj_id q = seed(ACCOUNT, 8, "queue", 1);  // field 2 (size) holds the shared flag
  obj_id q2 = seed(ACCOUNT, 9, "private", 0);
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_QUEUE, OAB_GLB_OID, &q), 0);
  ASSERT_EQ(oab_glb_current_q_is_shared(&shared), 0);
  EXPECT_EQ(shared, 1);
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_QUEUE, OAB_GLB_OID, &q2), 0);
  ASSERT_EQ(oab_glb_current_q_is_shared(&shared), 0);
  EXPECT_EQ(shared, 0);
  obj_id missing{ACCOUNT, 99, 0};
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_QUEUE, OAB_GLB_OID, &missing), 0);
  ASSERT_EQ(oab_glb_current_q_is_shared(&shared), 0);
  EXPECT_EQ(shared, 1);
}

}  // namespace
