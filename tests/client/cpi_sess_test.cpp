// Sessions at the client interface on the CRM rig: start-up and shut-down
// of the stack, the login's checks, the options and the user test login.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "adapter/adp_sql_log.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_main.h"
#include "client/cpi_sess.h"
#include "client/crm_rig.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_usr.h"

namespace {

class cpi_sess_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    ASSERT_EQ(cpi_str_init(), 0);  // the module's texts, whatever ran before
    char dir[] = "/tmp/cpi_sess_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    msg_mode_ = osl_print_get_msg_mode();
  }
  void TearDown() override {
    adp_sql_log_sql(nullptr);
    std::string rm = "rm -rf " + dir_;
    EXPECT_EQ(std::system(rm.c_str()), 0);
    osl_print_set_msg_mode(msg_mode_);
    crm_test::TearDown();
  }
  static long con_value() { return cpi_con_value(con()); }
  static long alert_count() {
    long n = 0;
    cmn_alrt_num(nullptr, &n);
    return n;
  }
  static cpi_ty_opt_value option(char flag, const std::string& file = "") {
    cpi_ty_opt_value v{};
    v.flag = flag;
    std::snprintf(v.file_name, sizeof v.file_name, "%s", file.c_str());
    return v;
  }
  static FILE* current_log() {
    FILE* f = nullptr;
    EXPECT_EQ(adp_sql_get_log(&f), 0);
    return f;
  }
  std::string dir_;
  long msg_mode_ = 0;
};

TEST_F(cpi_sess_test, CompiledTablesAreFoundByTheModulesFirstIdOnly) {
  ASSERT_EQ(cpi_str_init(), 0);
  const char* const* table = cpi_table_get_res_table(10600);
  ASSERT_NE(table, nullptr);
  const char* const* registered = nullptr;
  long count = 0;
  ASSERT_EQ(cmn_list_res_str(10600, 10600, &count, &registered), 0);
  EXPECT_EQ(table, registered);
  for (long id : {10601L, 0L, -1L, 99999L}) EXPECT_EQ(cpi_table_get_res_table(id), nullptr) << id;
}

TEST_F(cpi_sess_test, TheStartFlagTakesTheLowByteAndAStoppedStackStopsNothing) {
  ASSERT_EQ(cpi_main_set_init_done(0x100), 0);
  EXPECT_EQ(cpi_main_is_init_done(), 0);
  EXPECT_EQ(cpi_main_term(), 0);  // nothing started: nothing to stop
  EXPECT_EQ(cpi_main_set_init_done(0x201), 0);
  EXPECT_EQ(cpi_main_is_init_done(), 1);
  EXPECT_EQ(cpi_main_init(), 0);  // already started: no module is called
  EXPECT_EQ(calls("adp_main_init"), 0);
  cpi_main_set_init_done(0);
}

TEST_F(cpi_sess_test, LoginChecksItsTextsAndRefusesASecondSession) {
  long id = -1;
  const struct {
    const char *server, *db, *login, *password;
  } nulls[] = {{nullptr, "crm", "ann", "pw"}, {"srv", nullptr, "ann", "pw"},
               {"srv", "crm", nullptr, "pw"}, {"srv", "crm", "ann", nullptr}};
  for (const auto& n : nulls) {
    EXPECT_EQ(cpi_sess_login(n.server, n.db, n.login, n.password, 0, &id), CPI_ALRT_NULL_INPUT);
    EXPECT_EQ(cpi_sess_login_with_options(n.server, n.db, n.login, n.password, 0, &id, nullptr),
              CPI_ALRT_NULL_INPUT);
  }
  // The rig's connection is a session already.
  EXPECT_EQ(cpi_sess_login("srv", "crm", "ann", "pw", 0, &id), CPI_ALRT_SESSION_EXISTS);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(oab_db_con_id, con());
  EXPECT_EQ(cpi_main_is_init_done(), 0);
}

TEST_F(cpi_sess_test, TheCacheDirectoryGetsItsSeparatorOrIsReported) {
  long id = -1;
  std::string out = messages([&] {
    EXPECT_EQ(cpi_sess_login_with_options("srv", "crm", "ann", "pw", 0, &id, dir_.c_str()),
              CPI_ALRT_SESSION_EXISTS);
  });
  char* value = nullptr;
  ASSERT_EQ(osl_sys_get_config_string("dbcache", &value), 0);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(std::string(value), dir_ + "/");
  // A long directory that is not there: reported, "dbcache" unchanged.
  std::string missing = dir_ + "/" + std::string(300, 'd');
  osl_print_set_msg_mode(1);
  out = messages([&] { cpi_sess_login_with_options("srv", "crm", "ann", "pw", 0, &id, missing.c_str()); });
  EXPECT_NE(out.find("Unable to locate cache directory " + missing + "/, hence creating in default directory"),
            std::string::npos)
      << out;
  value = nullptr;
  ASSERT_EQ(osl_sys_get_config_string("dbcache", &value), 0);
  EXPECT_EQ(std::string(value), dir_ + "/");
}

TEST_F(cpi_sess_test, OptionsCheckTheirConnectionAndArguments) {
  cpi_ty_opt_value v = option(1);
  cmn_alrt_push(nullptr, nullptr, 0x123, 0);
  EXPECT_EQ(cpi_sess_set_option(con_value() + 1, 3, &v), CPI_ALRT_NO_SESSION);
  EXPECT_EQ(alert_count(), 1);  // the earlier alert was cleared
  EXPECT_EQ(cpi_sess_set_option(con_value(), 3, nullptr), CPI_ALRT_BAD_PARAM);
  for (long bad : {0L, 4L, -1L}) EXPECT_EQ(cpi_sess_set_option(con_value(), bad, &v), CPI_ALRT_BAD_PARAM) << bad;
  cpi_ty_opt_value out{};
  // Slots live for the process, so only a number no call can set is surely
  // without one.
  EXPECT_EQ(cpi_sess_get_option(con_value(), 47, &out), CPI_ALRT_OPTION_NOT_SET);
  std::string text;
  EXPECT_EQ(top_code(&text), CPI_ALRT_OPTION_NOT_SET);
  EXPECT_NE(text.find("47"), std::string::npos) << text;
}

TEST_F(cpi_sess_test, MessageModeFollowsTheFlagAndTheRecordIsKept) {
  for (char flag : {1, 0, 1}) {
    cpi_ty_opt_value v = option(flag, "kept");
    v.word = 7;
    v.short_word = 3;
    ASSERT_EQ(cpi_sess_set_option(con_value(), 3, &v), 0);
    EXPECT_EQ(osl_print_get_msg_mode(), flag);
    cpi_ty_opt_value out{};
    ASSERT_EQ(cpi_sess_get_option(0, 3, &out), 0);  // the id is not checked here
    EXPECT_EQ(out.flag, flag);
    EXPECT_EQ(out.word, 7);
    EXPECT_EQ(out.short_word, 3);
    EXPECT_STREQ(out.file_name, "kept");
  }
  EXPECT_EQ(cpi_sess_get_option(0, 3, nullptr), CPI_ALRT_BAD_PARAM);
}

TEST_F(cpi_sess_test, TheLogFileIsReplacedOnlyByOneThatOpens) {
  std::string first = dir_ + "/one.log", second = dir_ + "/two.log";
  cpi_ty_opt_value v = option(0, first);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 1, &v), 0);
  FILE* one = current_log();
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(access(first.c_str(), F_OK), 0);
  v = option(0, second);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 1, &v), 0);
  FILE* two = current_log();
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(access(second.c_str(), F_OK), 0);
  // A file that cannot be opened is reported; the log stays where it was.
  v = option(0, dir_ + "/no/such/dir.log");
  EXPECT_NE(cpi_sess_set_option(con_value(), 1, &v), 0);
  EXPECT_EQ(current_log(), two);
  // Switching standard output off leaves the file log on.
  v = option(0);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 2, &v), 0);
  EXPECT_EQ(current_log(), two);
}

TEST_F(cpi_sess_test, StandardOutputLogGoesOnAndOff) {
  ASSERT_EQ(current_log(), nullptr);
  cpi_ty_opt_value v = option(0);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 2, &v), 0);
  EXPECT_EQ(current_log(), nullptr);
  v = option(1);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 2, &v), 0);
  EXPECT_EQ(current_log(), osl_file_stdout());
  v = option(0);
  ASSERT_EQ(cpi_sess_set_option(con_value(), 2, &v), 0);
  EXPECT_EQ(current_log(), nullptr);
}

TEST_F(cpi_sess_test, ValidateUserAnswersByTheTestLogin) {
  // The test login receives the password scrambled with the login name.
  const char* scrambled = nullptr;
  ASSERT_EQ(dbs_usr_password_encrypt(con(), "ann", "secret", 0, &scrambled, nullptr), 0);
  adp_store::st().accepted_password = scrambled;
  ASSERT_EQ(oab_glb_main_set_variable(2, OAB_GLB_TEXT, "ann"), 0);
  ASSERT_EQ(oab_glb_main_set_variable(17, OAB_GLB_TEXT, "secret"), 0);
  const struct {
    const char *login, *password;
    long valid;
  } rows[] = {{"ann", "secret", 1}, {"ann", "wrong", 0}, {nullptr, nullptr, 1}, {"", "", 1}, {"", "wrong", 0}};
  for (const auto& r : rows) {
    long valid = -1;
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(cpi_sess_validate_user(r.login, r.password, 0, &valid), 0);
    EXPECT_EQ(valid, r.valid) << (r.password ? r.password : "(null)");
    EXPECT_EQ(alert_count(), 0);  // a refused test login leaves no alert
  }
  auto logins = adp_double::calls_of("adp_db_bby_login");
  ASSERT_FALSE(logins.empty());
  EXPECT_EQ(logins[0].args[1], "ann");
  EXPECT_EQ(logins[0].args[3], "Test");
}

TEST_F(cpi_sess_test, FlushingEmptyCachesIsHarmless) {
  EXPECT_EQ(cpi_sess_dspch_flush_cache(), 0);
  EXPECT_EQ(cpi_sess_acpt_flush_cache(), 0);
}

}  // namespace
