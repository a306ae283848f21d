// Whole sessions on the CRM rig, from a stopped stack as a host process
// starts: login and logout twice in one process, a login failing at each of
// its steps, a logout whose close fails, the clock and the message texts
// around the session. A program of its own: these tests stop and start
// every module the rest of the suite relies on.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "client/com/com_rbld.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_main.h"
#include "client/cpi_sess.h"
#include "client/crm_rig.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_str.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_qry.h"

namespace {

class session_env : public testing::Environment {
 public:
  void SetUp() override { client_start(); }
};
[[maybe_unused]] testing::Environment* const kSessionEnv = testing::AddGlobalTestEnvironment(new session_env);

constexpr long kTextType = 326;
constexpr long kLocale = 1031;
constexpr long kFailed = 0x7000ff;
constexpr long kClosed = 0x70002e;
// The ids of two texts the database holds: the module's "session exists"
// and the rule builder's first operator.
constexpr long kSessionTextId = 10600 + (CPI_ALRT_SESSION_EXISTS & 0xffff);
constexpr long kOperatorTextId = COM_FIRST_ID + (0x3300022 & 0xffff);
const char* const kSessionText = "A session is open already (from the database)";
const char* const kOperatorText = "equals (from the database)";

class cpi_sess_login_test : public crm_test {
 protected:
  void define_dictionary() override {
    crm_test::define_dictionary();
    auto& s = adp_store::st();
    s.types.push_back({kTextType, 2, "string_db"});
    s.fields.push_back({"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, kTextType, ""});
    s.fields.push_back({"id", 512, 0, 0, -1, -1, 0x1, -1, 1, kTextType, ""});
    s.fields.push_back({"string", 516, 3, 255, -1, -1, 0x1, -1, 2, kTextType, ""});
    s.fields.push_back({"locale", 512, 0, 0, -1, -1, 0x1, -1, 3, kTextType, ""});
  }
  void SetUp() override {
    crm_test::SetUp();
    msg_mode_ = osl_print_get_msg_mode();
    set_secure_flag(false);
    ASSERT_EQ(oab_rel_init(), 0);
    adp_store::st().accepted_password = "secret";
    seed_user();
    row(S_ZONE, 1, {{1, std::string("GMT")}, {3, 0L}});
    row(kTextType, 1, {{1, kSessionTextId}, {2, std::string(kSessionText)}, {3, kLocale}});
    row(kTextType, 2, {{1, kOperatorTextId}, {2, std::string(kOperatorText)}, {3, kLocale}});
    adp_double::hook("adp_db_get_thread_lcid", [](const std::vector<void*>&) { return kLocale; });
    args_ = {const_cast<char*>("prog")};
    osl_sys_set_cmd_args(1, args_.data());
    // A host process has started nothing before its login.
    ASSERT_EQ(cpi_main_init(), 0);
    ASSERT_EQ(cpi_main_term(), 0);
    oab_db_con_id = nullptr;
  }
  void TearDown() override {
    if (oab_db_con_id != nullptr) cpi_sess_logout(cpi_con_value(oab_db_con_id));
    // Everything started again for the rig's own tear-down.
    ASSERT_EQ(cpi_main_init(), 0);
    cpi_main_set_init_done(0);
    clk_tz_reg_db_server_tz_proc(nullptr);
    clk_ty_tz* kept = nullptr;
    if (clk_tz_get_server_tz(&kept) == 0) oab_db_free_time_zone(kept);
    clk_tz_init();
    for (clk_ty_tz* z : {oab_db_master_tz(), oab_db_server_tz(), oab_db_client_tz()}) oab_db_free_time_zone(z);
    oab_db_cfg_inval_cache();
    oab_db_user_cfg_inval_cache();
    osl_sys_set_cmd_args(0, nullptr);
    dbs_qry_set_res_str_locale(1033);
    oab_db_con_id = con();
    osl_print_set_msg_mode(msg_mode_);
    crm_test::TearDown();
  }
  static void seed_user() {
    row(S_USER, 1, {{1, std::string("ann")}});
    row(S_EMPLOYEE, 11, {{1, std::string("Ann Employee")}});
    fk(S_USER, 1, "user2employee", 11);
    row(S_WIPBIN, 21, {{1, std::string("default")}});
    fk(S_USER, 1, "user2wipbin", 21);
  }
  static long login(const char* user = "ann", const char* password = "secret", long* id = nullptr) {
    long out = 0;
    return cpi_sess_login("srv", "crm", user, password, 0, id != nullptr ? id : &out);
  }
  static std::string text_of(long code) {
    const char* text = nullptr;
    cmn_alrt_get_msg(code, &text);
    return text != nullptr ? text : "";
  }
  // What a test can see of a session: its id, the started stack and the
  // server login.
  static void expect_no_session(const std::string& where) {
    EXPECT_EQ(oab_db_con_id, nullptr) << where;
    long session = 0;
    EXPECT_EQ(login("ann", "secret", &session), 0) << where << ": a good login afterwards";
    EXPECT_NE(session, 0) << where;
    EXPECT_EQ(cpi_sess_logout(session), 0) << where;
  }
  std::vector<char*> args_;
  long msg_mode_ = 0;
};

TEST_F(cpi_sess_login_test, TwoWholeSessionsInOneProcessServeTheDatabasesTextsEachTime) {
  const std::string compiled_session = text_of(CPI_ALRT_SESSION_EXISTS);
  ASSERT_FALSE(compiled_session.empty());
  ASSERT_NE(compiled_session, kSessionText);
  // Nothing is started: the clock has no server to ask.
  ASSERT_EQ(clk_seam_reset(), 0);
  clktime now{};
  EXPECT_EQ(clk_time_get(&now), CLK_SEAM_MISSING);
  const long starts = adp_double::uses("adp_main_init"), stops = adp_double::uses("adp_main_term");
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE("session " + std::to_string(round));
    osl_print_set_msg_mode(1);
    long id = 0;
    ASSERT_EQ(login("ann", "secret", &id), 0);
    EXPECT_NE(id, 0);
    EXPECT_EQ(id, cpi_con_value(oab_db_con_id));
    EXPECT_EQ(cpi_main_is_init_done(), 1);
    EXPECT_EQ(osl_print_get_msg_mode(), 0);  // login silences the OS layer's messages
    EXPECT_EQ(cpi_sess_ping(id), 0);
    // The clock reads the server's time through the adapter: fixed a few
    // ticks past the local clock, it answers exactly the server's time.
    now = clktime{};
    ASSERT_EQ(clk_time_get(&now), 0);
    const clktime server{now.day, now.ticks + 3};
    adp_store::st().fixed_time = true;
    adp_store::st().server_time = server;
    now = clktime{};
    ASSERT_EQ(clk_time_get(&now), 0);
    EXPECT_EQ(now.day, server.day);
    EXPECT_EQ(now.ticks, server.ticks);
    // Texts come from the database, the rule builder's names included.
    EXPECT_EQ(text_of(CPI_ALRT_SESSION_EXISTS), kSessionText);
    EXPECT_STREQ(com_rbld_cond_opname(0), kOperatorText);
    long again = 0;
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(login("ann", "secret", &again), CPI_ALRT_SESSION_EXISTS);
    EXPECT_EQ(again, 0);
    // The session's user is in the globals.
    obj_id user{};
    ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &user), 0);
    EXPECT_EQ(user.num, 1);
    adp_store::st().fixed_time = false;
    ASSERT_EQ(cpi_sess_logout(id), 0);
    EXPECT_EQ(oab_db_con_id, nullptr);
    EXPECT_EQ(cpi_main_is_init_done(), 0);
    // The compiled-in texts serve again.
    EXPECT_EQ(text_of(CPI_ALRT_SESSION_EXISTS), compiled_session);
  }
  // Each session logged in and out once, and started and stopped the
  // adapter once.
  EXPECT_EQ(adp_double::uses("adp_db_logout"), 2);
  EXPECT_EQ(adp_double::uses("adp_main_init") - starts, 2);
  EXPECT_EQ(adp_double::uses("adp_main_term") - stops, 2);
}

TEST_F(cpi_sess_login_test, ALoginFailingAtAnyStepLeavesNoSessionAndTheNextOneSucceeds) {
  const struct {
    const char* step;
    std::function<void()> arrange;
    const char* user;
    const char* password;
    long expected;  // 0: any failure
    long server_logins;  // made and ended again
  } rows[] = {
      {"start", [] { adp_double::script("adp_main_init", {kFailed}); }, "ann", "secret", kFailed, 0},
      {"server login", [] {}, "ann", "wrong", 0, 0},
      {"database open", [] { adp_double::script("adp_db_open", {kFailed}); }, "ann", "secret", 0, 1},
      {"user login", [] {}, "nobody", "secret", OAB_NO_USER, 1},
  };
  for (const auto& r : rows) {
    const long logouts = adp_double::uses("adp_db_logout");
    const long closes = adp_double::uses("adp_db_close");
    r.arrange();
    long id = -1;
    long st = login(r.user, r.password, &id);
    if (r.expected != 0) {
      EXPECT_EQ(st, r.expected) << r.step;
    } else {
      EXPECT_NE(st, 0) << r.step;
    }
    EXPECT_EQ(id, -1) << r.step;
    // A server login that took place has been ended, its database closed.
    EXPECT_EQ(adp_double::uses("adp_db_logout") - logouts, r.server_logins) << r.step;
    EXPECT_EQ(adp_double::uses("adp_db_close") - closes, r.server_logins) << r.step;
    expect_no_session(r.step);
  }
}

TEST_F(cpi_sess_login_test, AFailedStartStopsWhatItStarted) {
  adp_double::script("adp_main_init", {kFailed});
  EXPECT_EQ(login(), kFailed);
  EXPECT_EQ(cpi_main_is_init_done(), 0);
  // The modules before the store were stopped again: a new start runs
  // every one of them, the store's adapter included.
  EXPECT_EQ(cpi_main_init(), 0);
  EXPECT_EQ(adp_double::uses("adp_main_init"), 2);
  EXPECT_EQ(cpi_main_term(), 0);
}

TEST_F(cpi_sess_login_test, ALogoutWhoseCloseFailsStillEndsTheSession) {
  const std::string compiled_session = text_of(CPI_ALRT_SESSION_EXISTS);
  long id = 0;
  ASSERT_EQ(login("ann", "secret", &id), 0);
  ASSERT_EQ(text_of(CPI_ALRT_SESSION_EXISTS), kSessionText);
  adp_double::script("adp_db_close", {kClosed});
  EXPECT_EQ(cpi_sess_logout(id), kClosed);
  EXPECT_EQ(oab_db_con_id, nullptr);
  EXPECT_EQ(adp_double::uses("adp_db_logout"), 1);
  EXPECT_EQ(cpi_main_is_init_done(), 0);
  EXPECT_EQ(text_of(CPI_ALRT_SESSION_EXISTS), compiled_session);
  expect_no_session("after the failed close");
}

TEST_F(cpi_sess_login_test, PingUseReconnectAndDisconnectWorkOnTheSession) {
  long id = 0;
  ASSERT_EQ(login("ann", "secret", &id), 0);
  EXPECT_EQ(cpi_sess_ping(id), 0);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(cpi_sess_ping(id + 1), CPI_ALRT_BAD_CON_ID);
  EXPECT_EQ(cpi_sess_disconnect(), 0);
  EXPECT_EQ(adp_double::uses("adp_db_fast_disconnect"), 1);
  EXPECT_EQ(cpi_sess_reconnect(), 0);  // with the session's password
  auto reconnects = adp_double::calls_of("adp_db_fast_reconnect");
  ASSERT_EQ(reconnects.size(), 1u);
  EXPECT_EQ(reconnects[0].args[0], "secret");
  EXPECT_EQ(cpi_sess_use(0), 0);
  EXPECT_EQ(oab_db_con_id, nullptr);
  EXPECT_EQ(cpi_sess_use(id), 0);
  EXPECT_EQ(cpi_con_value(oab_db_con_id), id);
  EXPECT_EQ(cpi_sess_logout(id), 0);
}

}  // namespace
