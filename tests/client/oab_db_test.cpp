// The database module on the CRM rig: configuration items and the clock
// configuration, server login, database open with its zones, default
// objects and the user's login.
#include <cstdlib>
#include <string>
#include <vector>

#include "client/crm_rig.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_alrt.h"
#include "core/clk/clk_tz.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/osl/osl_time.h"
#include "core/utl/utl_col.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kSecPerHour = 3600;

class oab_db_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(oab_rel_init(), 0);
    clk_time_adjust_reset();
    adp_store::st().accepted_password = "secret";
  }
  void TearDown() override {
    clk_time_adjust_reset();
    // The clock keeps the server zone it read through the database module's
    // callback; later tests must not compute in this test's zone.
    clk_tz_reg_db_server_tz_proc(nullptr);
    clk_ty_tz* kept = nullptr;
    if (clk_tz_get_server_tz(&kept) == 0) oab_db_free_time_zone(kept);
    clk_tz_init();
    clk_time_set_clock_mode(0, 0, 0);
    oab_db_cfg_inval_cache();
    oab_db_user_cfg_inval_cache();
    for (clk_ty_tz* z : {oab_db_master_tz(), oab_db_server_tz(), oab_db_client_tz()}) oab_db_free_time_zone(z);
    osl_sys_set_cmd_args(0, nullptr);
    unsetenv("CLOCK_MODE");
    oab_db_con_id = con();
    crm_test::TearDown();
  }
  static void item(long number, const std::string& name, const std::string& value, long integer = 0,
                   long refresh = 0) {
    row(S_CFG, number, {{2, name}, {3, refresh}, {4, integer}, {6, value}, {7, 0L}});
  }
  // A zone with daylight periods starting and ending on the given days.
  static void zone(long number, const std::string& name, long offset, const std::vector<long>& days = {}) {
    row(S_ZONE, number, {{1, name}, {3, offset}});
    long n = number * 10;
    for (long d : days) {
      row(S_DAYLIGHT, ++n, {{1, clktime{d, 0}}, {2, clktime{d + 100, 0}}});
      fk(S_DAYLIGHT, n, "daylight2zone", number);
    }
  }
  static void update_int(long number, long value) {
    dbs_ty_lobj* o = read(S_CFG, number);
    set_long(o, 4, value);
    EXPECT_EQ(dbs_obj_put(con(), o), 0);
    dbs_obj_free_local("test", o);
  }
  static long item_int(const char* name) {
    dbs_ty_lobj* o = nullptr;
    long value = -99;
    EXPECT_EQ(oab_db_get_config_item(name, &o, &value, nullptr, nullptr), 0);
    return o != nullptr ? value : -99;
  }
  static std::string text_global(long number) {
    char* text = nullptr;
    oab_glb_main_get_variable(number, OAB_GLB_TEXT, &text);
    return text != nullptr ? text : "?";
  }
  // Process arguments for the login (kept alive by the fixture).
  void args(std::vector<std::string> list) {
    args_ = std::move(list);
    argv_.clear();
    for (std::string& a : args_) argv_.push_back(a.data());
    osl_sys_set_cmd_args(static_cast<long>(argv_.size()), argv_.data());
  }
  std::vector<std::string> args_;
  std::vector<char*> argv_;
};

TEST_F(oab_db_test, ItemsAreFoundByNameInAnyCaseAndTheStoredNameIsNotWritten) {
  item(1, "Database Codepage", "cp1252");
  for (const char* name : {"Database Codepage", "DATABASE CODEPAGE", "database codepage"}) {
    dbs_ty_lobj* o = nullptr;
    const char* value = nullptr;
    ASSERT_EQ(oab_db_get_config_item(name, &o, nullptr, nullptr, &value), 0) << name;
    ASSERT_NE(o, nullptr) << name;
    EXPECT_STREQ(value, "cp1252");
  }
  dbs_ty_lobj* o = reinterpret_cast<dbs_ty_lobj*>(1);
  long integer = 5;
  const char* value = "x";
  ASSERT_EQ(oab_db_get_config_item("no such item", &o, &integer, nullptr, &value), 0);
  EXPECT_EQ(o, nullptr);
  EXPECT_EQ(integer, 0);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(adp_mem::field_text({S_CFG, 1, 0}, 2), "Database Codepage");
  EXPECT_EQ(calls("adp_obj_put_options"), 0);
}

TEST_F(oab_db_test, AnItemMarkedForRereadingShowsTheDatabasesValue) {
  item(1, "always fresh", "", 1, OAB_CFG_REREAD);
  item(2, "cached", "", 1);
  EXPECT_EQ(item_int("always fresh"), 1);
  EXPECT_EQ(item_int("cached"), 1);
  update_int(1, 2);
  update_int(2, 2);
  EXPECT_EQ(item_int("ALWAYS FRESH"), 2);
  EXPECT_EQ(item_int("cached"), 1);
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(oab_db_get_config_item("always fresh", &o, nullptr, nullptr, nullptr), 0);
  long name = 0;
  dbs_fld_get(o, OAB_CFG_NAME, &name, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(name), "ALWAYS FRESH");
  ASSERT_EQ(oab_db_cfg_inval_cache(), 0);
  EXPECT_EQ(item_int("cached"), 2);
}

TEST_F(oab_db_test, UserItemsComeFromTheUsersRelatives) {
  row(S_USER, 1, {{1, std::string("ann")}});
  item(1, "Signature", "Ann");
  fk(S_CFG, 1, "config2user", 1);
  item(2, "Signature of others", "Bob");
  const char* value = nullptr;
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(oab_db_get_user_config_item("signature", &o, nullptr, nullptr, &value), 0);
  EXPECT_EQ(o, nullptr);  // no user yet: an empty cache
  ASSERT_EQ(oab_db_user_cfg_inval_cache(), 0);
  dbs_ty_lobj* user = read(S_USER, 1);
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER, OAB_GLB_OBJ, user), 0);
  dbs_obj_free_local("test", user);
  ASSERT_EQ(oab_db_get_user_config_item("SIGNATURE", &o, nullptr, nullptr, &value), 0);
  ASSERT_NE(o, nullptr);
  EXPECT_STREQ(value, "Ann");
  ASSERT_EQ(oab_db_get_user_config_item("signature of others", &o, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(o, nullptr);
}

TEST_F(oab_db_test, ClockConfigurationFromEnvironmentThenItems) {
  const struct {
    const char* env;   // null: not set
    const char* item;  // null: no item
    long frequency;    // item value, -1: no item
    bool set;
    long mode;
  } rows[] = {
      {"synchronized", "LOCAL_CLOCK", -1, true, 1},
      {nullptr, "local_clock", -1, true, 2},
      {nullptr, "SERVER_CLOCK", -1, true, 0},
      {nullptr, "anything", -1, true, 0},
      {nullptr, nullptr, 30, true, 0},
      {nullptr, nullptr, -1, false, 0},
  };
  for (const auto& r : rows) {
    oab_db_cfg_inval_cache();
    adp_mem::reset();
    switch_database_on();
    if (r.env != nullptr) setenv("CLOCK_MODE", r.env, 1);
    else unsetenv("CLOCK_MODE");
    if (r.item != nullptr) item(1, "CLOCK_MODE", r.item);
    if (r.frequency >= 0) item(2, "CLOCK_UPDATE_FREQUENCY", "", r.frequency);
    ASSERT_EQ(clk_time_set_clock_mode(2, 77, 88), 0);
    ASSERT_EQ(oab_db_clock_config(), 0);
    long mode = -1, interval = -1, tolerance = -1;
    clk_time_get_clock_mode(&mode, &interval, &tolerance);
    if (!r.set) {
      EXPECT_EQ(mode, 2);
      EXPECT_EQ(interval, 77);
      continue;
    }
    EXPECT_EQ(mode, r.mode) << (r.env ? r.env : "") << (r.item ? r.item : "");
  }
}

TEST_F(oab_db_test, ServerLoginReadsTheSchemaArgument) {
  const struct {
    std::vector<std::string> argv;
    long db_revision;
    long expected;
    bool printed;
  } rows[] = {{{"prog", "-schema=0"}, 5, 0, true},
              {{"prog"}, 0, -1, false},
              {{"prog"}, 7, 7, true},
              {{"prog", "-schema=12"}, 0, 12, true}};
  for (const auto& r : rows) {
    args(r.argv);
    dbs_db_assert_schema_rev(nullptr, r.db_revision);
    oab_db_con_id = nullptr;
    long st = -1;
    std::string out = messages([&] { st = oab_db_server_login("srv1", "ann", "secret", 0); });
    ASSERT_EQ(st, 0);
    EXPECT_NE(oab_db_con_id, nullptr);
    long asserted = -2;
    dbs_db_get_schema_rev(nullptr, &asserted);
    EXPECT_EQ(asserted, r.expected) << r.argv.back();
    EXPECT_EQ(out.find("Expecting database schema of") != std::string::npos, r.printed) << out;
    if (r.printed) {
      EXPECT_NE(out.find("Expecting database schema of " + std::to_string(r.expected) + "..."), std::string::npos);
    }
    EXPECT_EQ(text_global(44), "srv1");
  }
  dbs_db_assert_schema_rev(nullptr, -1);
}

TEST_F(oab_db_test, AFailedServerLoginLeavesNoConnection) {
  args({"prog"});
  oab_db_con_id = nullptr;
  EXPECT_NE(oab_db_server_login("srv1", "ann", "wrong", 0), 0);
  EXPECT_EQ(oab_db_con_id, nullptr);
  EXPECT_EQ(calls("adp_db_close"), 0);
  // A logout wipes the password globals.
  ASSERT_EQ(oab_glb_main_set_variable(17, OAB_GLB_TEXT, "secret"), 0);
  ASSERT_EQ(oab_db_server_login("srv1", "ann", "secret", 0), 0);
  ASSERT_EQ(oab_db_server_logout(), 0);
  EXPECT_EQ(oab_db_con_id, nullptr);
  EXPECT_EQ(text_global(17), "");
  EXPECT_EQ(calls("adp_db_logout"), 1);
  EXPECT_EQ(oab_db_server_logout(), 0);  // no connection: nothing to do
  EXPECT_EQ(calls("adp_db_logout"), 1);
}

TEST_F(oab_db_test, UserLoginKeepsTheStoredSpellingOfTheLoginName) {
  adp_mem::set_case_insensitive(true);
  row(S_USER, 1, {{1, std::string("ANN")}});
  row(S_WIPBIN, 3, {{1, std::string("default")}});
  fk(S_USER, 1, "user2wipbin", 3);
  row(S_EMPLOYEE, 4, {{1, std::string("Ann Employee")}});
  fk(S_USER, 1, "user2employee", 4);
  std::string login = "ann";
  long flag = 0;
  ASSERT_EQ(oab_db_user_login("crm", login.c_str(), "secret", &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(login, "ann");
  EXPECT_EQ(text_global(2), "ANN");
  EXPECT_EQ(text_global(33), "ANN");
  EXPECT_EQ(text_global(17), "secret");
  EXPECT_EQ(text_global(18), "crm");
  obj_id id{};
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &id), 0);
  EXPECT_EQ(id.num, 1);
  ASSERT_EQ(oab_glb_main_get_variable(22, OAB_GLB_OID, &id), 0);
  EXPECT_EQ(id.num, 4);
  for (long number : {23L, 26L, 35L}) {
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(oab_glb_main_get_variable(number, OAB_GLB_OBJ, &o), 0);
    ASSERT_NE(o, nullptr) << number;
    dbs_obj_free_local("test", o);
  }
}

TEST_F(oab_db_test, TwoUsersWithOneLoginNameOrNoneFail) {
  row(S_USER, 1, {{1, std::string("ann")}});
  long flag = 1;
  EXPECT_EQ(oab_db_user_login("crm", "nobody", "secret", &flag), OAB_NO_USER);
  EXPECT_EQ(flag, 0);
  row(S_USER, 2, {{1, std::string("ann")}});
  EXPECT_EQ(oab_db_user_login("crm", "ann", "secret", &flag), OAB_MANY_USERS);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(text_global(2), "");
}

TEST_F(oab_db_test, DefaultObjectsAreCheckedByFlags) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(oab_db_get_default(nullptr, S_SITE, 0, &o), 0);
  EXPECT_EQ(o, nullptr);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(oab_db_get_default(nullptr, S_SITE, 1, &o), OAB_NO_DEFAULT);
  std::string text;
  EXPECT_EQ(top_code(&text), OAB_NO_DEFAULT);
  EXPECT_NE(text.find("site"), std::string::npos) << text;
  row(S_SITE, 7, {{2, std::string("Main")}, {7, 1L}});
  row(S_SITE, 8, {{2, std::string("Other")}, {7, 0L}});
  ASSERT_EQ(oab_db_get_default(nullptr, S_SITE, 3, &o), 0);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(number_of(o), 7);
  dbs_obj_free_local("test", o);
  row(S_SITE, 9, {{2, std::string("Second")}, {7, 1L}});
  EXPECT_EQ(oab_db_get_default(nullptr, S_SITE, 2, &o), OAB_MANY_DEFAULTS);
  ASSERT_NE(o, nullptr);
  dbs_obj_free_local("test", o);
}

class oab_db_open_test : public oab_db_test {
 protected:
  void SetUp() override {
    oab_db_test::SetUp();
    zone(1, "EST", -5 * kSecPerHour, {100, 465});
    zone(2, "GMT", 0);
  }
  static void set_gmt_diff(long minutes) {
    adp_store::st().current.gmt_diff = minutes;
    adp_store::st().stored.gmt_diff = minutes;
  }
  static long shift_to_client() {
    clktime t{200000, 0};
    clk_time_adjust_to_client(&t);
    return (t.day - 200000) * CLK_TICKS_PER_DAY + t.ticks;
  }
};

TEST_F(oab_db_open_test, SeveralZonesLoadMasterAndServerZones) {
  item(1, "Master Time Zone", "EST");
  item(2, "Server Time Zone", "GMT");
  set_gmt_diff(60);
  std::string why;
  ASSERT_EQ(oab_db_dbase_open("crm"), 0) << (top_code(&why), why);
  EXPECT_NE(clk_time_mzone_diff_get(), 0);
  clk_ty_tz* master = oab_db_master_tz();
  EXPECT_STREQ(master->name, "EST");
  EXPECT_EQ(master->gmt_offset, -5 * kSecPerHour);
  ASSERT_NE(master->dl_starts, nullptr);
  EXPECT_EQ(master->dl_starts->count, 2);
  EXPECT_EQ(master->dl_ends->count, 2);
  EXPECT_STREQ(oab_db_server_tz()->name, "GMT");
  EXPECT_NE(shift_to_client(), 0);  // the clock converts between the two
}

TEST_F(oab_db_open_test, MissingOrUndefinedMasterZone) {
  set_gmt_diff(60);
  EXPECT_EQ(oab_db_dbase_open("crm"), 0xe000c6);
  item(1, "Master Time Zone", "Atlantis");
  oab_db_cfg_inval_cache();
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(oab_db_dbase_open("crm"), 0xe000c7);
  std::string text;
  EXPECT_EQ(top_code(&text), 0xe000c7);
  EXPECT_NE(text.find("Atlantis"), std::string::npos) << text;
}

TEST_F(oab_db_open_test, OneZoneReadsTheDisplaySwitchAndTheCodePageInEitherCase) {
  for (const char* name : {"Database Codepage", "DATABASE CODEPAGE"}) {
    adp_double::reset();
    adp_mem::reset();
    switch_database_on();
    adp_store::st().server_type = 1;  // the SQL Server family takes a code page
    item(1, name, "cp1252");
    item(2, "display_mstr_time_zone", "", 1);
    ASSERT_EQ(clk_time_set_adjust_client(1), 0);
    ASSERT_EQ(oab_db_dbase_open("crm"), 0) << name;
    EXPECT_EQ(clk_time_get_adjust_client(), 0);
    auto pages = adp_double::calls_of("adp_db_set_db_codepage");
    ASSERT_EQ(pages.size(), 1u) << name;
    EXPECT_EQ(pages[0].args[0], "cp1252");
  }
}

TEST_F(oab_db_open_test, TheSpecialServerTypeHandsTheMasterZoneAsTheServers) {
  adp_store::st().server_type = OAB_DB_SERVER_TYPE_SPECIAL;
  item(1, "Master Time Zone", "EST");
  ASSERT_EQ(oab_db_dbase_open("crm"), 0);
  EXPECT_STREQ(oab_db_master_tz()->name, "EST");
  EXPECT_EQ(oab_db_server_tz()->name, nullptr);  // never loaded on this path
  osl_ty_client_tz os{};
  ASSERT_EQ(osl_time_get_client_tz(&os), 0);
  EXPECT_EQ(oab_db_client_tz()->gmt_offset, os.gmt_offset);
  // The clock converts between the master zone and the client's.
  EXPECT_EQ(shift_to_client(), (os.gmt_offset + 5 * kSecPerHour) * CLK_TICKS_PER_SEC);
  adp_store::st().server_type = 2;
}

TEST_F(oab_db_open_test, TheServerZoneOfOneZoneIsTheDefaultSitesZone) {
  row(S_SITE, 7, {{2, std::string("Main")}, {7, 1L}});
  row(S_ADDRESS, 3, {{1, std::string("1 Main St")}});
  fk(S_SITE, 7, "site2address", 3);
  fk(S_ADDRESS, 3, "address2zone", 1);
  clk_ty_tz record{};
  ASSERT_EQ(oab_db_get_server_tz(&record), 0);
  EXPECT_STREQ(record.name, "EST");
  EXPECT_EQ(record.gmt_offset, -5 * kSecPerHour);
  EXPECT_EQ(record.dl_starts->count, 2);
  utl_ty_col* hours = nullptr;
  ASSERT_EQ(utl_col_make("test", 517, 1, 10, 0, 0, &hours), 0);
  ASSERT_EQ(oab_db_get_day_light_hr(&record, hours, 0), 0);
  EXPECT_EQ(hours->count, 2);
  dbs_obj_free_local_col(nullptr, hours);
  oab_db_free_time_zone(&record);
}

}  // namespace
