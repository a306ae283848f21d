// The debug facility: the coverage list, marking, dumps, the do-nothing
// topics and procedure stack, and the SQL-log switch.
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn_main_fixture.h"
#include "core/core_fixture.h"
#include "core/dbg/dbg_main.h"

namespace {

class DbgTc : public core_runtime_test {
 protected:
  void SetUp() override {
    core_runtime_test::SetUp();
    ASSERT_EQ(dbg_main_init(), 0);
  }
  void TearDown() override {
    while (dbg_ty_tc_rtn* e = dbg_tc_first()) dbg_tc_deactivate(nullptr, e->text);
    cmn_alrt_clear(nullptr);
  }

  static std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (dbg_ty_tc_rtn* e = dbg_tc_first(); e != nullptr; e = e->next) out.emplace_back(e->text);
    return out;
  }
};

TEST_F(DbgTc, ActivationTextsGoToTheHeadOnce) {
  ASSERT_EQ(dbg_tc_activate("all", nullptr), 0);
  ASSERT_EQ(dbg_tc_activate("ALL", "ignored"), 0);
  ASSERT_EQ(dbg_tc_activate("dbs", nullptr), 0);
  ASSERT_EQ(dbg_tc_activate(nullptr, "cpi_obj_create"), 0);
  ASSERT_EQ(dbg_tc_activate("", "cpi_obj_create"), 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"cpi_obj_create", "dbs_*", "*"}));
}

TEST_F(DbgTc, FindingByExactTextOrPattern) {
  dbg_tc_activate("all", nullptr);
  dbg_tc_activate("dbs", nullptr);
  dbg_ty_tc_rtn* e = nullptr;
  dbg_ty_tc_rtn* prev = nullptr;
  ASSERT_EQ(dbg_tc_find_routine("dbs_obj_get", 0, &e, &prev), 0);
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->text, "dbs_*");
  EXPECT_EQ(prev, nullptr);
  ASSERT_EQ(dbg_tc_find_routine("ost_state", 0, &e, &prev), 0);
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->text, "*");
  ASSERT_NE(prev, nullptr);
  EXPECT_STREQ(prev->text, "dbs_*");
  ASSERT_EQ(dbg_tc_find_routine("dbs_obj_get", 1, &e, nullptr), 0);
  EXPECT_EQ(e, nullptr);
}

TEST_F(DbgTc, DeactivationUnlinksOrReportsNine) {
  dbg_tc_activate(nullptr, "a");
  dbg_tc_activate(nullptr, "b");
  dbg_tc_activate(nullptr, "c");
  ASSERT_EQ(dbg_tc_deactivate(nullptr, "b"), 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"c", "a"}));
  EXPECT_EQ(dbg_tc_deactivate(nullptr, "zz"), 9);
  long code = 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  EXPECT_EQ(code, DBG_TC_NOT_FOUND);
  EXPECT_EQ(core_top_alert_text(), "Can't deactivate test coverage for 'zz' (routine not found in list).\n");
}

TEST_F(DbgTc, MarkingAListedRoutineNeedsAProcedureStack) {
  dbg_tc_activate("dbs", nullptr);
  EXPECT_EQ(dbg_prc_enter("dbs_obj_get"), 0);  // the stack keeps nothing
  EXPECT_EQ(dbg_tc_mark("dbs_obj_get", "m1"), DBG_TC_NO_PRC);
  EXPECT_EQ(core_top_alert_text(), "DBG PRC stack must be active to use test coverage markers.\n");
  EXPECT_EQ(dbg_tc_first()->hits, nullptr);  // never a silent count
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(dbg_tc_mark("ost_unlisted", "m1"), 0);
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(DbgTc, HitListDumps) {
  dbg_ty_tc_hit second{nullptr, 3, const_cast<char*>("b")};
  dbg_ty_tc_hit first{&second, 1, const_cast<char*>("a")};
  EXPECT_EQ(core_written_to([&](FILE* s) { dbg_tc_dump(s, "r", 2, &first); }),
            "  HIT LIST for 'r':\n     'a': hit 1 times\n     'b': hit 3 times\n");
  EXPECT_EQ(core_written_to([&](FILE* s) { dbg_tc_dump(s, "r", 0, nullptr); }),
            "dbg_tc_dump: Can't find hit list for routine 'r'\n");
}

TEST_F(DbgTc, TopicsAndStackDoNothing) {
  long mode = 5, installed = 5, level = 7;
  EXPECT_EQ(dbg_d_get_mode(&mode), 0);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(dbg_prc_get_mode(&mode, &installed), 0);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(installed, 0);
  const char* log = nullptr;
  EXPECT_EQ(dbg_d_get_log(&log), 0);
  EXPECT_STREQ(log, "");
  EXPECT_EQ(dbg_d_set_topic(3, 9), 0);
  EXPECT_EQ(dbg_d_get_topic(3, &level), 0);
  EXPECT_EQ(level, 7);  // nothing written
  const char* top = "unchanged";
  EXPECT_EQ(dbg_prc_get_top(&top), 0);
  EXPECT_STREQ(top, "unchanged");
  EXPECT_EQ(core_num_alerts(), 0);
}

long print_through(long* printed, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  long rc = dbg_d_print(1, 1, fmt, args, printed);
  va_end(args);
  return rc;
}

TEST_F(DbgTc, PrintReportsNothingPrinted) {
  long printed = 1;
  EXPECT_EQ(print_through(&printed, "%s", "x"), 0);
  EXPECT_EQ(printed, 0);
  EXPECT_EQ(print_through(nullptr, "%d", 1), 0);
}

TEST_F(DbgTc, SqlLogSwitchIsNotSupported) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  EXPECT_EQ(adp_sql_log_stdout(), 0);
  EXPECT_EQ(msgs.text(), "adp_sql_log_stdout: Not currently supported\n");
}

TEST_F(DbgTc, TheDbgMessagesAreRegistered) {
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(DBG_TC_WRONG_TOP, &text), 0);
  EXPECT_STREQ(text, "Top of PRC stack '%s' doesn't match TC mark routine '%s'.\n");
}

}  // namespace
