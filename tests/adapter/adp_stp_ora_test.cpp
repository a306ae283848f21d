// Oracle's triggers around a table rebuild on the MariaDB server: read from
// the catalogue as "create or replace trigger" texts (a body with "%" and
// one longer than 8,000 characters read whole), run again after the table
// is made anew, and freed; a table without triggers gives none.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"

namespace {

std::vector<std::string> texts_of(utl_ty_col* triggers) {
  std::vector<std::string> out;
  long n = 0;
  utl_col_num(triggers, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(triggers, i, &e);
    out.emplace_back(utl_estr_get(*static_cast<utl_ty_estr**>(e)));
  }
  return out;
}

class AdpTriggersOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    std::snprintf(info_.name, sizeof info_.name, "dl3t");
    schema_.info = &info_;
    make_table();
  }
  void make_table() {
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_dl3t(objid number not null, title varchar2(40))"), 0);
  }

  typ_sch_iblk info_{};
  typ_sch_srec schema_{};
};

TEST_F(AdpTriggersOra, ATriggerIsReadBackAndMadeAgainAfterTheTableIsRebuilt) {
  const std::string comment(8500, 'c');  // a body longer than 8,000 characters
  ASSERT_EQ(adp_sql_parse_ddl_now(con_,
                                  "CREATE TRIGGER dl3t_ins BEFORE INSERT ON table_dl3t FOR EACH ROW\n"
                                  "BEGIN\n  /* %s */\n  :NEW.title := :NEW.title || ' 100%%ROWTYPE';\nEND",
                                  comment.c_str()),
            0);
  utl_ty_col* triggers = nullptr;
  ASSERT_EQ(adp_stp_get_table_trigger(con_, &schema_, &triggers), 0);
  ASSERT_NE(triggers, nullptr);
  const std::vector<std::string> got = texts_of(triggers);
  ASSERT_EQ(got.size(), 1u);
  const std::string& t = got[0];
  EXPECT_EQ(t.rfind("create or replace trigger dl3t_ins\nBEFORE INSERT ON table_dl3t\nFOR EACH ROW\n\nBEGIN", 0), 0u)
      << t.substr(0, 200);
  EXPECT_NE(t.find(comment), std::string::npos);
  EXPECT_NE(t.find("' 100%ROWTYPE';\nEND"), std::string::npos) << t.substr(t.size() - 80);

  // The table is made anew (its trigger goes with it) and the text runs as
  // it stands.
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "drop table table_dl3t"), 0);
  make_table();
  EXPECT_EQ(value("select count(*) from information_schema.triggers where trigger_schema = database()"), "0");
  ASSERT_EQ(adp_stp_build_table_trigger(con_, 0, triggers), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "insert into table_dl3t(objid, title) values (1, 'x')"), 0);
  EXPECT_EQ(value("select title from table_dl3t"), "x 100%ROWTYPE");
  EXPECT_EQ(adp_stp_free_table_trigger(triggers), 0);  // frees the list it made
}

TEST_F(AdpTriggersOra, TheCallersListIsFilledAndEmptiedAndATableWithoutTriggersGivesNone) {
  utl_ty_col* triggers = nullptr;
  ASSERT_EQ(utl_col_make("test", 517, 4, 4, 0, 0, &triggers), 0);
  ASSERT_EQ(adp_stp_get_table_trigger(con_, &schema_, &triggers), 0);
  long n = -1;
  utl_col_num(triggers, &n);
  EXPECT_EQ(n, 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "CREATE TRIGGER dl3t_a BEFORE INSERT ON table_dl3t FOR EACH ROW\n"
                                        "BEGIN\n  :NEW.objid := :NEW.objid + 1;\nEND"),
            0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "CREATE TRIGGER dl3t_b BEFORE UPDATE ON table_dl3t FOR EACH ROW\n"
                                        "BEGIN\n  :NEW.title := 'u';\nEND"),
            0);
  ASSERT_EQ(adp_stp_get_table_trigger(con_, &schema_, &triggers), 0);
  utl_col_num(triggers, &n);
  EXPECT_EQ(n, 2);
  // Run again over the existing triggers: each is replaced.
  EXPECT_EQ(adp_stp_build_table_trigger(con_, 0, triggers), 0);
  EXPECT_EQ(value("select count(*) from information_schema.triggers where trigger_schema = database()"), "2");
  EXPECT_EQ(adp_stp_free_table_trigger(triggers), 0);
  utl_col_num(triggers, &n);
  EXPECT_EQ(n, 0);  // emptied, still the caller's
  // An empty list runs nothing; a null one is no failure.
  EXPECT_EQ(adp_stp_build_table_trigger(con_, 0, triggers), 0);
  EXPECT_EQ(adp_stp_build_table_trigger(con_, 0, nullptr), 0);
  EXPECT_EQ(adp_stp_free_table_trigger(nullptr), 0);
  utl_col_free("test", triggers);
}

}  // namespace
