// Object states: creation with callbacks, class and default callbacks,
// application data, verification, counts and indexes.
#include <cstring>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"

namespace {

std::vector<std::string> g_ran;

long note(ost_ty_state*, long a1, long, long, long arg, long* answer) {
  g_ran.push_back("arg" + std::to_string(arg) + ":a" + std::to_string(a1) + ":answer" + std::to_string(*answer));
  *answer = arg;
  return 0;
}

long refuse(ost_ty_state*, long, long, long, long arg, long*) {
  g_ran.push_back("refuse" + std::to_string(arg));
  return 77;
}

class ost_state_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    g_ran.clear();
  }
};

TEST_F(ost_state_test, CallbackSlotsAboveEighteenAreRefused) {
  struct row {
    long slot;
    long status;
  };
  for (const row& r : std::vector<row>{{0, 0}, {13, 0}, {18, 0}, {19, OST_BAD_CALLBACK}, {-1, OST_BAD_CALLBACK}}) {
    ost_ty_cb_triple t{r.slot, note, 5};
    ost_ty_state* s = nullptr;
    EXPECT_EQ(ost_state_create("named", nullptr, 1, &t, nullptr, 0, &s), r.status) << r.slot;
    EXPECT_EQ(s == nullptr, r.status != 0) << r.slot;
    if (s) {
      EXPECT_EQ(ost_state_has_callback(s, r.slot), 1);
      EXPECT_EQ(ost_state_abort(s, 0), 0);
    }
  }
  EXPECT_EQ(core_top_alert_text(), "An invalid OST state callback number -1 was passed to the OST subsystem.\n");
  EXPECT_EQ(ost_state_do_callback(nullptr, 19, 0, 0, 0, nullptr), OST_BAD_CALLBACK);
}

TEST_F(ost_state_test, ClassCallbackRunsFirstAndItsFailureStopsTheStatesOwn) {
  ost_ty_cb_triple own{4, note, 2};
  ost_ty_state* s = nullptr;
  ASSERT_EQ(ost_state_create(nullptr, nullptr, 1, &own, nullptr, 0, &s), 0);
  ost_ty_cb_triple cls{4, note, 1};
  ASSERT_EQ(ost_state_install_callback(nullptr, 1, &cls), 0);
  long answer = 9;
  EXPECT_EQ(ost_state_do_callback(s, 4, 7, 0, 0, &answer), 0);
  // The answer word is cleared before the first call; the state's callback
  // sees what the class callback answered and has the last word.
  EXPECT_EQ(g_ran, (std::vector<std::string>{"arg1:a7:answer0", "arg2:a7:answer1"}));
  EXPECT_EQ(answer, 2);
  cls = {4, refuse, 3};
  ASSERT_EQ(ost_state_install_callback(nullptr, 1, &cls), 0);
  g_ran.clear();
  EXPECT_EQ(ost_state_do_callback(s, 4, 0, 0, 0, nullptr), 77);
  EXPECT_EQ(g_ran, (std::vector<std::string>{"refuse3"}));
  // A slot with no callback anywhere answers 0.
  answer = 5;
  EXPECT_EQ(ost_state_do_callback(s, 6, 0, 0, 0, &answer), 0);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_state_test, DefaultCallbacksReachOnlyLaterStates) {
  ost_ty_state* before = new_state();
  ost_ty_cb_triple d{12, note, 4};
  ASSERT_EQ(ost_state_set_default_cbs(1, &d), 0);
  ost_ty_state* after = new_state();
  EXPECT_EQ(ost_state_has_callback(before, 12), 0);
  EXPECT_EQ(ost_state_has_callback(after, 12), 1);
  // Triples given at creation override the defaults.
  ost_ty_cb_triple own{12, refuse, 1};
  ost_ty_state* mine = nullptr;
  ASSERT_EQ(ost_state_create(nullptr, nullptr, 1, &own, nullptr, 0, &mine), 0);
  EXPECT_EQ(ost_state_do_callback(mine, 12, 0, 0, 0, nullptr), 77);
  for (ost_ty_state* s : {before, after, mine}) EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_state_test, HasCallbackLooksAtTheFunctionNotItsArgument) {
  ost_ty_cb_triple t{13, note, 0};
  ost_ty_state* s = nullptr;
  ASSERT_EQ(ost_state_create(nullptr, nullptr, 1, &t, nullptr, 0, &s), 0);
  EXPECT_EQ(ost_state_has_callback(s, 13), 1);
  EXPECT_EQ(ost_state_has_callback(s, 15), 0);
  EXPECT_EQ(ost_state_has_callback(s, 19), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_state_test, ApplicationDataIsAPrivateCopy) {
  char data[] = "abcdef";
  ost_ty_state* s = nullptr;
  ASSERT_EQ(ost_state_create("with data", nullptr, 0, nullptr, data, sizeof data, &s), 0);
  data[0] = 'X';
  void* got = nullptr;
  long size = 0;
  ASSERT_EQ(ost_state_get_app_data(s, &got, &size), 0);
  EXPECT_EQ(size, static_cast<long>(sizeof data));
  EXPECT_STREQ(static_cast<const char*>(got), "abcdef");
  EXPECT_EQ(ost_state_set_app_data(s, "xy", -3), OST_BAD_APP_SIZE);
  EXPECT_EQ(core_top_alert_text(), "Invalid size for object state application data block (-3).");
  ASSERT_EQ(ost_state_set_app_data(s, nullptr, 0), 0);
  ASSERT_EQ(ost_state_get_app_data(s, &got, &size), 0);
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(ost_state_verify(s), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
  // A negative size at creation counts as none.
  ASSERT_EQ(ost_state_create(nullptr, nullptr, 0, nullptr, data, -4, &s), 0);
  ASSERT_EQ(ost_state_get_app_data(s, &got, &size), 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_state_test, VerifyReportsTheFirstFaultInOrder) {
  struct row {
    const char* what;
    void (*spoil)(ost_ty_state*);
    long code;
  };
  static char elsewhere[] = "x";
  const std::vector<row> rows = {
      {"name", [](ost_ty_state* s) { s->name = elsewhere; }, OST_BAD_NAME},
      {"name before count", [](ost_ty_state* s) { s->name = elsewhere; s->num_objects = 3; }, OST_BAD_NAME},
      {"object count", [](ost_ty_state* s) { s->num_objects = 3; }, OST_BAD_NUM_OBJS},
      {"object array", [](ost_ty_state* s) { s->object_array = nullptr; }, OST_BAD_OBJ_ARRAY},
      {"relation count", [](ost_ty_state* s) { s->num_relations = 2; }, OST_BAD_NUM_RELS},
      {"application data", [](ost_ty_state* s) { s->app_data_size = 8; }, OST_BAD_APP_DATA},
      {"parent", [](ost_ty_state* s) { s->parent = reinterpret_cast<ost_ty_state*>(elsewhere); }, OST_BAD_PARENT},
      {"child", [](ost_ty_state* s) { s->child = reinterpret_cast<ost_ty_state*>(elsewhere); }, OST_BAD_CHILD},
  };
  for (const row& r : rows) {
    ost_ty_state* s = new_state("verified");
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &o), 0);
    ost_ty_state saved = *s;
    r.spoil(s);
    EXPECT_EQ(ost_state_verify(s), r.code) << r.what;
    *s = saved;
    EXPECT_EQ(ost_state_verify(s), 0) << r.what;
    EXPECT_EQ(ost_state_abort(s, 0), 0);
  }
}

TEST_F(ost_state_test, FreedStatesFailEveryCheck) {
  ost_ty_state* s = new_state();
  ASSERT_EQ(ost_state_abort(s, 0), 0);
  EXPECT_EQ(ost_state_check(s), OST_BAD_STATE);
  EXPECT_EQ(core_top_alert_text(), "An invalid OST state was passed to the OST subsystem.\n");
  long n = 0;
  EXPECT_EQ(ost_state_count(s, -1, &n), OST_BAD_STATE);
  EXPECT_EQ(ost_state_save(s, 0), OST_BAD_STATE);
  std::string text = core_written_to([&](FILE* f) { EXPECT_EQ(ost_state_dump(f, 0, "t", 0, s), OST_BAD_STATE); });
  EXPECT_EQ(text, "ost_state_dump: INVALID STATE " + std::to_string(reinterpret_cast<long>(s)) + "\n");
}

TEST_F(ost_state_test, CountAndIndexByType) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a1 = nullptr;
  dbs_ty_lobj* c1 = nullptr;
  dbs_ty_lobj* a2 = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &a1), 0);
  ASSERT_EQ(ost_obj_create("t", s, CONTACT, &c1), 0);
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &a2), 0);
  struct row {
    long type, count;
  };
  for (const row& r : std::vector<row>{{-1, 3}, {ACCOUNT, 2}, {CONTACT, 1}, {TAG, 0}}) {
    long n = -1;
    ASSERT_EQ(ost_state_count(s, r.type, &n), 0);
    EXPECT_EQ(n, r.count) << r.type;
  }
  struct at {
    long index, type;
    dbs_ty_lobj* handle;
  };
  for (const at& r : std::vector<at>{{0, -1, a1}, {1, -1, c1}, {2, -1, a2}, {3, -1, nullptr}, {1, ACCOUNT, a2},
                                     {0, CONTACT, c1}, {1, CONTACT, nullptr}}) {
    dbs_ty_lobj* h = reinterpret_cast<dbs_ty_lobj*>(1);
    long found = -1;
    ASSERT_EQ(ost_state_get_obj_by_index(s, r.index, r.type, &h, &found), 0);
    EXPECT_EQ(h, r.handle) << r.index << "/" << r.type;
    EXPECT_EQ(found, r.handle ? 1 : 0);
  }
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_state_test, AbortWithOptionTwoRunsTheAfterCommitSlotFirst) {
  ost_ty_cb_triple t{OST_CB_AFTER_COMMIT, refuse, 6};
  ost_ty_state* s = nullptr;
  ASSERT_EQ(ost_state_create(nullptr, nullptr, 1, &t, nullptr, 0, &s), 0);
  EXPECT_EQ(ost_state_abort(s, 2), 77);
  EXPECT_EQ(ost_state_check(s), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
  EXPECT_EQ(g_ran, (std::vector<std::string>{"refuse6"}));
}

}  // namespace
