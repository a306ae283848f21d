// Login, open with the schema cache file, create and the header.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_msg.h"
#include "store_fixture.h"
#include "testdb/testdb_tmp.h"

namespace {

void spit(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::trunc);
  out << text;
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class opening : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    dir = testdb::tmp_folder("store_cache_");
    ASSERT_FALSE(dir.empty());
    dir += "/";
    osl_sys_set_config_string("dbcache", dir.c_str(), 0);
    osl_sys_set_config_string("SCHEMA_DOWNLOAD", "", 0);
    adp_store::st().stored.schema_rev = 7;
    file = dir + "orbisand.007";
  }
  void TearDown() override {
    std::remove(file.c_str());
    std::remove((file + ".tmp").c_str());
    rmdir(dir.c_str());
    osl_sys_set_config_string("dbcache", "", 0);
    store_test::TearDown();
  }
  long open(char use_cache = 1) {
    long st = 0;
    last_out = store_stdout_of([&] { st = dbs_db_open(nullptr, "orbisandb_long", use_cache); });
    return st;
  }
  std::string dir, file, last_out;
};

}  // namespace

TEST_F(store_test, LoginFallsBackToThePlainPasswordWithoutTrace) {
  auto& s = adp_store::st();
  s.accepted_password = "abc";  // the account was never scrambled
  KAdpConnId* cid = nullptr;
  ASSERT_EQ(dbs_db_login("srv", "bob", "abc", "app", 30, &cid, nullptr, 0), 0);
  auto calls = adp_double::calls_of("adp_db_login");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args[2], "efg3456701");
  EXPECT_EQ(calls[1].args[2], "abc");
  EXPECT_EQ(core_num_alerts(), 0);
  EXPECT_EQ(adp_double::calls_of("adp_db_info_set")[0].args[2], "abc");

  // A scrambled account logs in at the first attempt.
  adp_double::reset();
  s.accepted_password = "efg3456701";
  ASSERT_EQ(dbs_db_login("srv", "bob", "abc", "app", 30, &cid, nullptr, 0), 0);
  EXPECT_EQ(adp_double::calls_of("adp_db_login").size(), 1u);

  // Refused both ways: the second failure is returned.
  adp_double::reset();
  s.accepted_password = "other";
  EXPECT_EQ(dbs_db_login("srv", "bob", "abc", "app", 30, &cid, nullptr, 0), 0x600029);
  EXPECT_EQ(adp_double::calls_of("adp_db_login").size(), 2u);

  // Scrambling that leaves the password unchanged makes no second attempt.
  adp_double::reset();
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(dbs_db_login("srv", "sa", "abc", "app", 30, &cid, nullptr, 0), 0x600029);
  EXPECT_EQ(adp_double::calls_of("adp_db_login").size(), 1u);
}

TEST_F(store_test, FastReconnectScramblesForTheConnectionsUser) {
  adp_store::st().accepted_password = "abc";
  ASSERT_EQ(dbs_db_fast_reconnect(nullptr, "abc", 30, 0), 0);
  auto calls = adp_double::calls_of("adp_db_fast_reconnect");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args[0], "efg3456701");
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(store_test, CacheFileNames) {
  char name[256];
  osl_sys_set_config_string("dbcache", "", 0);
  ASSERT_EQ(dbs_db_cache_name("abcdefghijkl", 7, name, sizeof name), 0);
  EXPECT_STREQ(name, "abcdefgh.007");
  ASSERT_EQ(dbs_db_cache_name("db", 1234, name, sizeof name), 0);
  EXPECT_STREQ(name, "db.1234");
  osl_sys_set_config_string("dbcache", "/var/c", 0);
  ASSERT_EQ(dbs_db_cache_name("db", 7, name, sizeof name), 0);
  EXPECT_STREQ(name, "/var/cdb.007");
  osl_sys_set_config_string("dbcache", "", 0);
}

TEST_F(opening, RevisionChecks) {
  adp_store::st().stored.db_rev = 14;
  EXPECT_EQ(open(), DBS_OLD_DB_REV);
  adp_store::st().stored.db_rev = 15;
  dbs_db_assert_schema_rev(nullptr, 8);
  EXPECT_EQ(open(), DBS_SCHEMA_REV);
  const char* text = nullptr;
  cmn_alrt_top(nullptr, nullptr, &text);
  EXPECT_NE(std::string(text).find("has schema revision 7.  Application was expecting revision 8"),
            std::string::npos);
  dbs_db_assert_schema_rev(nullptr, -1);
  ASSERT_EQ(open(), 0);
  long rev = 0;
  dbs_db_get_schema_rev(nullptr, &rev);
  EXPECT_EQ(rev, 7);
}

TEST_F(opening, FirstOpenWritesTheFileAndTheSecondReadsTheSameModel) {
  ASSERT_EQ(open(), 0);
  ASSERT_TRUE(exists(file));
  EXPECT_FALSE(exists(file + ".tmp"));
  std::string written = store_file_text(file);
  EXPECT_EQ(written.rfind("ORBISAN_SCHEMA: 15 7\nTIMESTAMP: 'D1000 T0'\n{\n(17,2,case)\n", 0), 0u) << written;
  EXPECT_NE(written.find("(title,516,3,25,-1,-1,1,-1,1,17,untitled)\n"), std::string::npos);
  EXPECT_NE(written.find("(notes,516,10,0,-1,-1,1,-1,2,17)\n"), std::string::npos);
  std::string from_db = store_model_dump();

  adp_double::reset();
  ASSERT_EQ(open(), 0);
  EXPECT_NE(last_out.find("Reading data schema from file...\n"), std::string::npos);
  EXPECT_NE(last_out.find("Done with schema\n"), std::string::npos);
  EXPECT_TRUE(adp_double::calls_of("adp_sch_read_all").empty());
  EXPECT_EQ(store_model_dump(), from_db);
  EXPECT_EQ(adp_double::calls_of("adp_sch_map_names").size(), 1u);
}

TEST_F(opening, StaleFilesAreRewritten) {
  ASSERT_EQ(open(), 0);
  const std::string good = store_file_text(file);
  std::string from_db = store_model_dump();
  struct row {
    const char* what;
    std::string text;
  } rows[] = {
      {"one tick", std::string(good).replace(good.find("T0'"), 3, "T1'")},
      {"spec-id gap", std::string(good).replace(good.find(",1,17,untitled"), 14, ",2,17,untitled")},
      {"type flags 0", std::string(good).replace(good.find("(17,2,case)"), 11, "(17,0,case)")},
      {"cut file", good.substr(0, good.find("(case2site"))},
      {"field missing", std::string(good).replace(good.find("(notes,516,10,0,"), 16, "(notes,516,10,")},
      {"other revision", std::string(good).replace(0, 20, "ORBISAN_SCHEMA: 15 8")},
  };
  for (const row& r : rows) {
    spit(file, r.text);
    adp_double::reset();
    ASSERT_EQ(open(), 0) << r.what;
    EXPECT_EQ(adp_double::calls_of("adp_sch_read_all").size(), 1u) << r.what;
    EXPECT_EQ(store_file_text(file), good) << r.what;
    EXPECT_EQ(store_model_dump(), from_db) << r.what;
    EXPECT_EQ(core_num_alerts(), 0) << r.what;
  }
  spit(file, std::string(good).replace(good.find("T0'"), 3, "T1'"));
  open();
  EXPECT_NE(last_out.find("Cached data dictionary file is out of date; recaching from database...\n"),
            std::string::npos);
}

TEST_F(opening, AFailedLoadLeavesNoFile) {
  adp_double::script("adp_sch_read_all", {0x600029});
  EXPECT_EQ(open(), 0x600029);
  EXPECT_FALSE(exists(file));
  EXPECT_FALSE(exists(file + ".tmp"));
}

TEST_F(opening, NoFileWhenNotAskedOrDownloading) {
  ASSERT_EQ(open(0), 0);
  EXPECT_FALSE(exists(file));
  osl_sys_set_config_string("SCHEMA_DOWNLOAD", "true", 0);
  ASSERT_EQ(open(1), 0);
  EXPECT_FALSE(exists(file));
  EXPECT_EQ(adp_double::calls_of("adp_sch_read_all").size(), 2u);
  osl_sys_set_config_string("SCHEMA_DOWNLOAD", "", 0);
}

TEST_F(store_test, HeaderFlagsAndRevisions) {
  char on = 9;
  // An unread header: the feature tests return 1 without an alert.
  EXPECT_EQ(dbs_db_if_zez_enabled(reinterpret_cast<KAdpConnId*>(1), &on), 1);
  EXPECT_EQ(core_num_alerts(), 0);
  adp_store::st().stored.flags = 4 | 32;
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  auto* cid = reinterpret_cast<KAdpConnId*>(1);
  dbs_db_if_zez_enabled(cid, &on);
  EXPECT_EQ(on, 1);
  dbs_db_if_secure_enabled(cid, &on);
  EXPECT_EQ(on, 0);
  dbs_db_if_roamer_enabled(cid, &on);
  EXPECT_EQ(on, 1);
  ASSERT_EQ(dbs_db_set_flags(cid, 8, 1), 0);
  EXPECT_EQ(adp_store::st().stored.flags, 8);
  std::string out = store_stdout_of([&] { ASSERT_EQ(dbs_db_change_schema_rev(cid, 9), 0); });
  EXPECT_NE(out.find("has schema revision 1; object schema file has revision 9"), std::string::npos);
  EXPECT_EQ(adp_store::st().stored.schema_rev, 9);
  EXPECT_GT(adp_store::st().stored.last_modify.day, 1000);  // stamped by the clock
  ASSERT_EQ(dbs_db_change_cust_schema_rev(cid, std::string(80, 'c').c_str()), 0);
  EXPECT_EQ(std::string(adp_store::st().stored.cust_rev), std::string(64, 'c'));
}

TEST_F(store_test, CreateWritesANewHeader) {
  dbs_db_assert_schema_rev(nullptr, 5);
  ASSERT_EQ(dbs_db_create(nullptr, "newdb", 0, 0, 0, 0, 3, 4, 1), 0);
  const auto& h = adp_store::st().stored;
  EXPECT_EQ(h.db_rev, 15);
  EXPECT_EQ(h.schema_rev, 5);
  EXPECT_EQ(h.flags, 2);
  EXPECT_EQ(h.site_id, 3);
  EXPECT_EQ(h.site_offline, 4);
  EXPECT_STREQ(h.db_name, "newdb");
  EXPECT_EQ(adp_double::calls_of("adp_db_trunc_log").size(), 1u);
  EXPECT_EQ(adp_double::calls_of("adp_db_add_comment")[0].args[0], "Initially created new database %s.|newdb");
}

TEST_F(store_test, CheckNeedsUserNodeAndWipbin) {
  EXPECT_EQ(dbs_db_check(), DBS_NO_USER);
  // A user object with its node id text in field 23.
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj("user", 20, "", "", &s), 0);
  long pos = 0;
  for (int i = 0; i < 24; ++i)
    ASSERT_EQ(typ_sch_fadd(s, ("f" + std::to_string(i)).c_str(), 516, 3, -1, -1, 0x1, 30, -1, -1, 0, 0, nullptr, "",
                           &pos),
              0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  dbs_ty_lobj* user = make(20);
  const char* node = "Node7";
  ASSERT_EQ(dbs_fld_set(user, 23, &node), 0);
  cmn_ty_value u{634, reinterpret_cast<long>(user)};
  dbs_main_set_global(1, &u);
  EXPECT_EQ(dbs_db_check(), DBS_NO_WIPBIN);
  adp_store::st().is_remote = 1;
  adp_store::st().remote_id = "node8";
  EXPECT_EQ(dbs_db_check(), DBS_WRONG_NODE);
  adp_store::st().remote_id = "NODE7";
  EXPECT_EQ(dbs_db_check(), DBS_NO_WIPBIN);
  cmn_ty_value w{634, reinterpret_cast<long>(user)};
  dbs_main_set_global(0, &w);
  EXPECT_EQ(dbs_db_check(), 0);
  EXPECT_EQ(adp_double::calls_of("adp_db_check_objid").size(), 1u);
  cmn_ty_value null{634, 0};
  dbs_main_set_global(0, &null);
  dbs_main_set_global(1, &null);
  dbs_obj_free_local("test", user);
}

TEST_F(store_test, ForwardersAndTheirConditions) {
  EXPECT_EQ(dbs_db_upgrade(0), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_db_upgrade").empty());
  EXPECT_EQ(dbs_db_upgrade(1), 0);
  EXPECT_EQ(adp_double::calls_of("adp_db_upgrade").size(), 1u);
  adp_store::st().server_type = 2;
  EXPECT_EQ(dbs_db_set_dbcodepage("cp1252"), 0);
  EXPECT_EQ(dbs_db_set_client_charset(), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_db_set_db_codepage").empty());
  EXPECT_TRUE(adp_double::calls_of("adp_sql_set_client_charset").empty());
  adp_store::st().server_type = 1;
  EXPECT_EQ(dbs_db_set_dbcodepage("cp1252"), 0);
  EXPECT_EQ(dbs_db_set_client_charset(), 0);
  EXPECT_EQ(adp_double::calls_of("adp_db_set_db_codepage").size(), 1u);
  EXPECT_EQ(adp_double::calls_of("adp_sql_set_client_charset").size(), 1u);
  adp_store::st().stored = {};
  std::snprintf(adp_store::st().stored.db_name, 64, "%s", "crm");
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  const char* name = nullptr;
  dbs_db_name_get(&name);
  EXPECT_STREQ(name, "crm");
  char yes = 0;
  ASSERT_EQ(dbs_db_exist(nullptr, "crm", &yes), 0);
  EXPECT_EQ(yes, 1);
  long cp = 0;
  ASSERT_EQ(dbs_db_get_code_page_from_lcid(1033, &cp), 0);
  EXPECT_EQ(cp, 1252);
}

TEST_F(store_test, ConvertNamesTheRevisionItCannotReach) {
  adp_store::st().stored.db_rev = 13;
  adp_store::st().stored.schema_rev = 3;
  dbs_db_assert_schema_rev(nullptr, 4);
  long st = 0;
  std::string out = store_stdout_of([&] { st = dbs_db_convert(reinterpret_cast<KAdpConnId*>(1), "arg"); });
  EXPECT_EQ(st, 1);
  EXPECT_EQ(adp_double::calls_of("adp_db_convert_db").size(), 1u);
  EXPECT_EQ(adp_double::calls_of("adp_db_add_comment")[0].args[0], "Converted database from DB rev %ld to %ld|13|15");
  EXPECT_NE(out.find(": no conversion procedure to go to schema revision 4\n"), std::string::npos);
}
