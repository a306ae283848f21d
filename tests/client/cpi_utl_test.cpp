// The client interface's conventions: argument checks with their alerts, the
// module's message texts, the alert calls and the small utilities.
#include <cstdio>
#include <string>

#include "client/cpi_fixture.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

class cpi_utl_test : public cpi_test {};

TEST_F(cpi_utl_test, ChecksPassOrPushTheirRowWithTheParameter) {
  long dummy = 0;
  const cpi_ty_objid unsaved{ACCOUNT, 0, 7};
  const cpi_ty_objid saved{ACCOUNT, 5, 0};
  struct row {
    const char* what;
    std::function<long()> check;
    long code;
    std::string text;
  } rows[] = {
      {"object", [&] { return cpi_utl_obj_check(&dummy, 2, "obj"); }, 0, ""},
      {"null object, no parameter", [] { return cpi_utl_obj_check(nullptr, -1, "obj"); }, CPI_ALRT_BAD_OBJECT,
       "Object '0' is invalid.\n"},
      {"null object, parameter 2", [] { return cpi_utl_obj_check(nullptr, 2, "from_obj"); }, CPI_ALRT_BAD_PARAM,
       "Parameter number '2', 'from_obj' is invalid.\n"},
      {"saved id", [&] { return cpi_utl_objid_check(&saved, 3, "to_objid"); }, 0, ""},
      {"id number 0 with words 0 and 2 set", [&] { return cpi_utl_objid_check(&unsaved, 3, "to_objid"); },
       CPI_ALRT_BAD_PARAM, "Parameter number '3', 'to_objid' is invalid.\n"},
      {"null id, no parameter", [] { return cpi_utl_objid_check(nullptr, -1, "x"); }, CPI_ALRT_BAD_OBJID,
       "Object ID pointer '0' is invalid.\n"},
      {"wrong connection", [] { return cpi_utl_conid_check(conid() + 8); }, CPI_ALRT_BAD_CON_ID,
       "The given connection  ID '" + std::to_string(conid() + 8) + "' is not valid.\n"},
      {"right connection", [] { return cpi_utl_conid_check(conid()); }, 0, ""},
      {"type codes differ", [] { return cpi_utl_type_code_check(3, 4); }, CPI_ALRT_TYPE_CODE,
       "Input TYPE_CODE is 3 and expecting TYPE_CODE is 4.\n"},
      {"type codes equal", [] { return cpi_utl_type_code_check(4, 4); }, 0, ""},
      {"dead state, parameter 1", [] { return cpi_utl_state_check(12345, 1, "tstate"); }, CPI_ALRT_BAD_PARAM,
       "Parameter number '1', 'tstate' is invalid.\n"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(r.check(), r.code);
    EXPECT_EQ(top_code(), r.code);
    EXPECT_EQ(top_text(), r.text);
  }
}

TEST_F(cpi_utl_test, AStateCheckWithoutParameterGivesTheStateLayersOwnCode) {
  long st = cpi_utl_state_check(0, -1, "tstate");
  EXPECT_NE(st, 0);
  EXPECT_NE(st, CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_code(), st);
  long s = state();
  EXPECT_EQ(cpi_utl_state_check(s, 1, "tstate"), 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
  long con = 0;
  cpi_utl_get_connection_id(&con);
  EXPECT_EQ(con, conid());
}

TEST_F(cpi_utl_test, TheModulesMessagesAreRegisteredWithTheirTexts) {
  struct row {
    long code;
    const char* text;
  } rows[] = {
      {CPI_ALRT_BAD_PARAMS, "One or more parameters are not valid.\n"},
      {CPI_ALRT_CIRCULAR_MAP, "Circular traversal map for traversal map number '%ld' is invalid.\n"},
      {CPI_ALRT_NO_FIELD, "Field name '%s' does not exist for object type '%s'.\n"},
      {CPI_ALRT_NO_LOGIN, "The login name cannot be found. \n"},
  };
  for (const row& r : rows) {
    const char* text = nullptr;
    EXPECT_EQ(cpi_utl_get_msg(r.code, 0, &text), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, r.text);
  }
  EXPECT_EQ(cpi_alrt(CPI_ALRT_BAD_PARENT, 3L, 1L), CPI_ALRT_BAD_PARENT);
  EXPECT_EQ(top_text(), "The parent index '3' for the traversal map number '1' is invalid.\n");
}

TEST_F(cpi_utl_test, PrintingTheTopAlertWritesItsTextVerbatim) {
  cpi_alert_push_message("100% done, %s untouched");
  EXPECT_EQ(top_code(), CPI_ALRT_APP_ERROR);
  EXPECT_EQ(written([](FILE* f) { EXPECT_EQ(cpi_alert_print(f, 1), 0); }), "100% done, %s untouched");
  cpi_alrt(CPI_ALRT_BAD_STATE);
  std::string all = written([](FILE* f) { EXPECT_EQ(cpi_alert_print(f, 0), 0); });
  EXPECT_NE(all.find("100% done"), std::string::npos);
  EXPECT_NE(all.find("The input T-state is not valid."), std::string::npos);
  EXPECT_EQ(cpi_alert_clear(), 0);
  EXPECT_EQ(top_code(), 0);
}

TEST_F(cpi_utl_test, PushingAnyAlertHandsItsArgumentsOn) {
  EXPECT_EQ(cpi_alert_push("caller", CPI_ALRT_BAD_PARAM, 2, 4L, "maps"), 0);
  EXPECT_EQ(top_code(), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '4', 'maps' is invalid.\n");
}

TEST_F(cpi_utl_test, CalendarAnswersForAnUnsavedIdAreYesWithoutAsking) {
  const cpi_ty_objid unsaved{20, 0, 0};
  long flag = 0;
  EXPECT_EQ(cpi_utl_empl_available(&unsaved, 0, "not a time", &flag), 0);
  EXPECT_EQ(flag, 1);
  flag = 0;
  EXPECT_EQ(cpi_utl_site_in_business(&unsaved, "not a time", &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(calls("adp_qry_relation"), 0);
}

TEST_F(cpi_utl_test, IdsAreCopiedWordByWord) {
  const cpi_ty_objid from{ACCOUNT | 0x40000, 99, 3};
  cpi_ty_objid to{};
  EXPECT_EQ(cpi_utl_id_assign(&from, &to), 0);
  EXPECT_EQ(to.type_word, ACCOUNT | 0x40000);
  EXPECT_EQ(to.id_number, 99);
  EXPECT_EQ(to.id_ext, 3);
  char bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(cpi_utl_zero(bytes, 2), 0);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 3);
}

TEST_F(cpi_utl_test, TheCurrentTimeIsTheServerClocksText) {
  char text[CPI_TIME_TEXT_SIZE];
  ASSERT_EQ(cpi_utl_current_time(text), 0);
  clktime now{};
  ASSERT_EQ(cpi_utl_current_time_bin(&now), 0);
  clktime back{};
  ASSERT_EQ(clk_time_str_to_clk(text, &back), 0);
  EXPECT_EQ(back.day, now.day);
}

class cpi_utl_col_test : public cpi_utl_test {
 protected:
  void TearDown() override {
    if (col_) dbs_obj_free_local_col(nullptr, col_);
    cpi_utl_test::TearDown();
  }
  void fill(std::initializer_list<const char*> names) {
    ASSERT_EQ(utl_col_make("t", 517, 4, 4, 0, 0, &col_), 0);
    for (const char* n : names) {
      void* o = nullptr;
      ASSERT_EQ(cpi_obj_make("contact", 0, &o), 0);
      ASSERT_EQ(cpi_obj_set_field(o, "name", n, 0), 0);
      ASSERT_EQ(utl_col_push(col_, &o, nullptr), 0);
    }
  }
  std::string names() {
    std::string all;
    long n = 0;
    utl_col_num(col_, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(col_, i, &e);
      all += name_of(*static_cast<dbs_ty_lobj**>(e)) + " ";
    }
    return all;
  }
  utl_ty_col* col_ = nullptr;
};

TEST_F(cpi_utl_col_test, MatchAndSortGoByTheFieldOfTheFirstObjectsType) {
  fill({"cleo", "abe", "bea"});
  long index = 7;
  void* found = nullptr;
  EXPECT_EQ(cpi_utl_match_field_in_col(col_, "name", "abe", &index, &found), 0);
  EXPECT_EQ(index, 1);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(name_of(cpi_obj_of(found)), "abe");
  EXPECT_EQ(cpi_utl_sort_col_by_field(col_, "name"), 0);
  EXPECT_EQ(names(), "abe bea cleo ");
}

TEST_F(cpi_utl_col_test, MatchingInAnEmptyCollectionFindsNothing) {
  fill({});
  long index = 7;
  void* found = &index;
  EXPECT_EQ(cpi_utl_match_field_in_col(col_, "name", "abe", &index, &found), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(found, nullptr);
}

}  // namespace
