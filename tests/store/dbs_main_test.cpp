// Start-up (run again for each of these tests),
// switches, global slots, the app-server test, site ids and transactions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_store.h"
#include "core/clk/clk_seam.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_main.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"
#include "store_fixture.h"

namespace {

std::vector<std::string> names() {
  std::vector<std::string> out;
  for (const auto& c : adp_double::calls()) out.push_back(c.name);
  return out;
}

long init_with(std::vector<const char*> args) {
  static std::vector<char*> argv;
  argv.clear();
  for (const char* a : args) argv.push_back(const_cast<char*>(a));
  osl_sys_set_cmd_args(static_cast<long>(argv.size()), argv.data());
  core_start();
  // Another test of this program may have started the store already.
  dbs_main_reset();
  adp_double::reset();
  return dbs_main_init();
}

}  // namespace

TEST(DbsMainInit, RunsOnceInOrderWithItsSwitches) {
  std::string log = testing::TempDir() + "dbs_sqllog.txt";
  std::remove(log.c_str());
  ASSERT_EQ(init_with({"prog", "-sqlhint", "-deferinit", "defer.sql", "-sqllog", log.c_str(), "-nolock_off"}), 0);
  std::vector<std::string> expected = {"adp_main_init", "adp_db_set_log_last_sql", "adp_sce_defer_col_init",
                                       "adp_sql_log_sql"};
  EXPECT_EQ(names(), expected);
  EXPECT_EQ(adp_double::calls_of("adp_sce_defer_col_init")[0].args, (std::vector<std::string>{"1", "defer.sql"}));
  EXPECT_EQ(adp_double::calls_of("adp_sql_log_sql")[0].args[0], "stream");
  FILE* f = std::fopen(log.c_str(), "r");
  EXPECT_NE(f, nullptr);
  if (f) std::fclose(f);
  std::remove(log.c_str());
  EXPECT_EQ(dbs_main_get_super_flag(), 8 | 2 | 1);
  // Both global slots hold "any object" with a null value.
  for (long slot : {0L, 1L}) {
    cmn_ty_value v{1, 1};
    EXPECT_EQ(dbs_main_get_global(slot, &v), 0);
    EXPECT_EQ(v.type, 634);
    EXPECT_EQ(v.value, 0);
  }
  // The clock's server-type slot is the store's.
  EXPECT_EQ(clk_seam_get()->server_type, &dbs_main_server_type);
  // A second init does nothing.
  adp_double::reset();
  EXPECT_EQ(dbs_main_init(), 0);
  EXPECT_TRUE(adp_double::calls().empty());
}

TEST(DbsMainInit, AStoppedStoreStartsAfreshAndAStartedOneAnswersAtOnce) {
  ASSERT_EQ(init_with({"prog"}), 0);
  const struct {
    long (*call)();
    const char* expected;  // the adapter call made, or null for none
  } steps[] = {{dbs_main_init, nullptr},         {dbs_main_term, "adp_main_term"}, {dbs_main_term, nullptr},
               {dbs_main_init, "adp_main_init"}, {dbs_main_init, nullptr},         {dbs_main_term, "adp_main_term"},
               {dbs_main_init, "adp_main_init"}};
  long index = 0;
  for (const auto& s : steps) {
    adp_double::reset();
    EXPECT_EQ(s.call(), 0) << index;
    std::vector<std::string> made = names();
    if (s.expected == nullptr) {
      EXPECT_TRUE(made.empty()) << index;
    } else {
      ASSERT_FALSE(made.empty()) << index;
      EXPECT_EQ(made.front(), s.expected) << index;
    }
    ++index;
  }
  // Started afresh: the global slots and the clock's slot are set again.
  cmn_ty_value v{1, 1};
  EXPECT_EQ(dbs_main_get_global(0, &v), 0);
  EXPECT_EQ(v.type, 634);
  EXPECT_EQ(clk_seam_get()->server_type, &dbs_main_server_type);
}

TEST(DbsMainInit, AFailedStartLeavesTheStoreStoppedAndTheNextStartTriesAgain) {
  ASSERT_EQ(init_with({"prog"}), 0);
  ASSERT_EQ(dbs_main_term(), 0);
  adp_double::reset();
  adp_double::script("adp_main_init", {0x7000ff});
  EXPECT_EQ(dbs_main_init(), 0x7000ff);
  adp_double::reset();
  EXPECT_EQ(dbs_main_term(), 0);  // nothing started
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(dbs_main_init(), 0);
  EXPECT_EQ(adp_double::calls_of("adp_main_init").size(), 1u);
}

TEST(DbsMainInit, SqllogNeedsTheExactSwitchAndAFileName) {
  ASSERT_EQ(init_with({"prog", "-sqllog", "-x"}), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_sql_log_sql").empty());
  EXPECT_EQ(dbs_main_get_super_flag(), 8);
}

TEST(DbsMainInit, LongerSwitchIsNotSqllog) {
  std::string log = testing::TempDir() + "dbs_sqllog2.txt";
  std::remove(log.c_str());
  ASSERT_EQ(init_with({"prog", "-sqllogx", log.c_str()}), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_sql_log_sql").empty());
  EXPECT_EQ(std::fopen(log.c_str(), "r"), nullptr);
}

TEST(DbsMainInit, UnopenableLogIsReportedAndNullHandedOn) {
  std::string out = store_stdout_of([] { ASSERT_EQ(init_with({"prog", "-sqllog", "/no/such/dir/log"}), 0); });
  EXPECT_NE(out.find("CANNOT open sqllog file for writing.\n"), std::string::npos);
  ASSERT_EQ(adp_double::calls_of("adp_sql_log_sql").size(), 1u);
  EXPECT_EQ(adp_double::calls_of("adp_sql_log_sql")[0].args[0], "null");
}

TEST_F(store_test, GlobalSlotsAndOtherSlotNumbers) {
  cmn_ty_value v{634, 1234};
  EXPECT_EQ(dbs_main_set_global(1, &v), 0);
  cmn_ty_value got{};
  EXPECT_EQ(dbs_main_get_global(1, &got), 0);
  EXPECT_EQ(got.value, 1234);
  EXPECT_EQ(dbs_main_set_global(2, &v), 1);
  EXPECT_EQ(dbs_main_get_global(-1, &got), 1);
  cmn_ty_value null{634, 0};
  dbs_main_set_global(1, &null);
}

TEST_F(store_test, AppServerByRemoteOrb) {
  struct row {
    const char* value;
    long expected;
  } rows[] = {{"", 0}, {"TRUE", 0}, {"true", 0}, {"Optimize", 0}, {"host1", 1}};
  for (const row& r : rows) {
    ASSERT_EQ(osl_sys_set_config_string("REMOTE_ORB", r.value, 0), 0);
    EXPECT_EQ(dbs_main_is_appsrv(), r.expected) << r.value;
  }
  osl_sys_set_config_string("REMOTE_ORB", "", 0);
}

TEST_F(store_test, SiteIdsKeepTheir32BitMeaning) {
  adp_store::st().stored.site_id = 0;
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  obj_id id{17, 0, 0};
  dbs_main_id_number_set(&id, 0x7fffffffL);
  EXPECT_EQ(id.num, 0x7fffffffL);
  dbs_main_id_number_set(&id, 0xffffffffL);
  EXPECT_EQ(id.num, -1);
  EXPECT_EQ(dbs_main_id_number_get(&id), -1);

  adp_store::st().stored.site_id = 3;
  ASSERT_EQ(dbs_db_get_header(nullptr, nullptr), 0);
  obj_id s{17, 0, 0};
  dbs_main_id_site_set(&s, 3);
  dbs_main_id_number_set(&s, 0x12345678);
  EXPECT_EQ(s.num, 0x32345678L);
  EXPECT_EQ(dbs_main_id_number_get(&s), 0x02345678L);
  // Site 9 sets bit 31: the number is negative in 32 bits, sign-extended.
  obj_id n{17, 5, 0};
  dbs_main_id_site_set(&n, 9);
  EXPECT_EQ(n.num, static_cast<long>(static_cast<int32_t>(0x90000005u)));
  EXPECT_EQ(dbs_main_id_site_get(), 3);
}

TEST_F(store_test, TransactionsTraceTheLevelBeforeTheCall) {
  ASSERT_EQ(dbs_trn_begin(nullptr), 0);
  ASSERT_EQ(dbs_trn_begin(nullptr), 0);
  ASSERT_EQ(dbs_trn_commit(nullptr), 0);
  ASSERT_EQ(dbs_trn_release(nullptr), 0);
  EXPECT_EQ(dbs_trn_release(nullptr), 0);
  std::vector<std::string> expected = {"BEGIN TRANS LEVEL: 0\n", "BEGIN TRANS LEVEL: 1\n", "COMMIT TRANS LEVEL: 2\n",
                                       "ROLLBACK TRANS LEVEL: 1\n"};
  EXPECT_EQ(adp_store::st().printed, expected);
  EXPECT_EQ(adp_double::calls_of("adp_trn_rollback").size(), 1u);
  long level = 9;
  dbs_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

TEST_F(store_test, ErrorClassesAndRemoteHooks) {
  EXPECT_EQ(dbs_main_is_interesting_err(0x600029), 1);
  EXPECT_EQ(dbs_main_is_interesting_err(0x600028), 0);
  for (long c : {0x70002fL, 0x700030L, 0x700031L}) EXPECT_EQ(dbs_main_is_nonsense_err(c), 1);
  EXPECT_EQ(dbs_main_is_nonsense_err(0x700032), 0);
  long out = 5;
  EXPECT_EQ(dbs_main_fpapi_obj_get(&out, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(dbs_main_fpapi_svc_call(0, 0, 0, 0, 0, 0), 1);
  EXPECT_EQ(dbs_main_fpapi_svc_new(0, 0, 0, 0, 0, 0), nullptr);
}

TEST_F(store_test, CodePagesAndSwitchesForward) {
  ASSERT_EQ(dbs_main_set_user_codepage_id(1252), 0);
  EXPECT_EQ(dbs_main_user_codepage_id_get(), 1252);
  char def = 1;
  ASSERT_EQ(dbs_main_is_codepage_sys_default(&def), 0);
  EXPECT_EQ(def, 0);
  dbs_main_set_user_codepage_id(0);
  ASSERT_EQ(dbs_main_set_max_per_batch(40), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_set_max_per_batch")[0].args[0], "40");
  ASSERT_EQ(dbs_main_no_optimize_queries(), 0);
  EXPECT_EQ(adp_double::calls_of("adp_qry_no_optimize_create").size(), 1u);
  std::string out = store_stdout_of([] { EXPECT_EQ(fpa_cbr_exec(), 0); });
  EXPECT_EQ(out, "--ERROR--FPA remote CB not supported\n");
  adp_store::st().is_remote = 0x101;
  EXPECT_EQ(dbs_main_is_remote(), 1);  // the low byte
}

TEST_F(store_test, PrefetchedTextsAndTheListOfTheStore) {
  ASSERT_EQ(dbs_db_str_init(), 0);
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(0x700015, &text), 0);
  EXPECT_STREQ(text, "The difference between the client clock and the server clock is more than 24 hours.\n");
  ASSERT_EQ(cmn_alrt_get_msg(0x700090, &text), 0);
  EXPECT_STREQ(text, "The user name entered does not match a valid user of this database.\n");
  // The save's duplicate-key and database-raised codes print with their texts.
  ASSERT_EQ(cmn_alrt_get_msg(0x70002c, &text), 0);
  EXPECT_STREQ(text, "A '%s' with the same '%s' already exists in the database.\n");
  ASSERT_EQ(cmn_alrt_get_msg(0x70007f, &text), 0);
  EXPECT_STREQ(text, "%s\n");
}
