// The cache registry, the time stamps of cached lists, the common words and
// the print command, on the CRM rig.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "client/crm_rig.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_main_cache.h"
#include "client/oab/oab_msg.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "testdb/testdb_tmp.h"

namespace {

std::vector<std::string> g_calls;

long record_flush(long mode, void* data) {
  g_calls.push_back(std::to_string(mode) + ":" + static_cast<const char*>(data));
  return 0;
}
long failing_flush(long mode, void* data) {
  g_calls.push_back(std::to_string(mode) + ":" + static_cast<const char*>(data));
  return 1;
}

class oab_main_cache_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    g_calls.clear();
    ASSERT_EQ(oab_main_init_cache(), 0);
  }
  void TearDown() override {
    oab_main_term_cache();
    oab_db_cfg_inval_cache();
    unsetenv("BRISK_PRINT");
    crm_test::TearDown();
  }
};

TEST_F(oab_main_cache_test, EqualEntriesAreRegisteredOnce) {
  static char a[] = "a";
  ASSERT_EQ(oab_main_register_cache_cb("first", 1, record_flush, a), 0);
  ASSERT_EQ(oab_main_register_cache_cb("second", 1, record_flush, a), 0);
  EXPECT_EQ(oab_main_cache_count(), 1);
  ASSERT_EQ(oab_main_register_cache_cb("second", 2, record_flush, a), 0);
  EXPECT_EQ(oab_main_cache_count(), 2);
}

TEST_F(oab_main_cache_test, FlushModesChooseTheEntries) {
  static char a[] = "a", b[] = "b", c[] = "c";
  oab_main_register_cache_cb("t", 1, record_flush, a);
  oab_main_register_cache_cb("t", 2, record_flush, b);
  oab_main_register_cache_cb("t", 1, record_flush, c);
  const struct {
    long mode;
    std::vector<std::string> expected;
  } rows[] = {{0, {"0:a", "0:b", "0:c"}}, {1, {"0:a", "0:c"}}, {2, {}}};
  for (const auto& r : rows) {
    g_calls.clear();
    EXPECT_EQ(oab_main_flush_cache(1, r.mode), 0);
    EXPECT_EQ(g_calls, r.expected) << r.mode;
  }
}

TEST_F(oab_main_cache_test, FailuresAreReportedOnceAfterEveryEntry) {
  static char a[] = "a", b[] = "b", c[] = "c";
  oab_main_register_cache_cb("t", 1, failing_flush, a);
  oab_main_register_cache_cb("t", 1, failing_flush, b);
  oab_main_register_cache_cb("t", 1, record_flush, c);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(oab_main_flush_cache(0, 0), OAB_FLUSH);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"0:a", "0:b", "0:c"}));
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  EXPECT_EQ(n, 1);
  g_calls.clear();
  EXPECT_EQ(oab_main_term_cache(), OAB_FLUSH);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"1:a", "1:b", "1:c"}));
  EXPECT_EQ(oab_main_cache_count(), 0);
}

TEST_F(oab_main_cache_test, TimeStampsComeFromThePopupItem) {
  long state = 0;
  clktime t{150000, 300};
  ASSERT_EQ(oab_main_check_cache_time(nullptr, &t, &state), 0);
  EXPECT_EQ(state, OAB_CACHE_TIME_NO_ITEM);
  row(S_CFG, 1, {{1, t}, {2, std::string("time stamp of popup list")}, {7, 0L}});
  oab_db_cfg_inval_cache();
  ASSERT_EQ(oab_main_get_cache_config(1, nullptr), 0);
  ASSERT_EQ(oab_main_check_cache_time(nullptr, &t, &state), 0);
  EXPECT_EQ(state, OAB_CACHE_TIME_SAME);
  clktime other{150000, 301};
  ASSERT_EQ(oab_main_check_cache_time(nullptr, &other, &state), 0);
  EXPECT_EQ(state, OAB_CACHE_TIME_CHANGED);
}

TEST_F(oab_main_cache_test, CommonWords) {
  oab_db_con_id = nullptr;
  EXPECT_STREQ(oab_main_get_gstr(0, 0), "Yes");
  EXPECT_STREQ(oab_main_get_gstr(29, 0), "Second");
  EXPECT_STREQ(oab_main_get_gstr(30, 0), "");
  EXPECT_STREQ(oab_main_get_gstr(-1, 0), "");
  oab_db_con_id = con();
  EXPECT_STREQ(oab_main_get_gstr(1, 0), oab_msg_text(0xe000ca));
  EXPECT_STREQ(oab_main_get_gstr(30, 0), "");
}

// Another suite's test in the same process may look items up (caching the
// system items of its database) and end without dropping them: the next
// test reads its own database's items.
TEST_F(oab_main_cache_test, ConfigItemsComeFromEachTestsOwnDatabase) {
  dbs_ty_lobj* item = nullptr;
  const char* text = nullptr;
  ASSERT_EQ(oab_db_get_config_item("BRISK_PRINT", &item, nullptr, nullptr, &text), 0);
  EXPECT_EQ(item, nullptr);
  crm_test::TearDown();
  crm_test::SetUp();
  row(S_CFG, 1, {{2, std::string("BRISK_PRINT")}, {6, std::string("lp -x")}, {7, 0L}});
  ASSERT_EQ(oab_db_get_config_item("BRISK_PRINT", &item, nullptr, nullptr, &text), 0);
  ASSERT_NE(item, nullptr);
  EXPECT_STREQ(text, "lp -x");
}

class oab_print_test : public oab_main_cache_test {
 protected:
  void SetUp() override {
    oab_main_cache_test::SetUp();
    dir_ = testdb::tmp_folder("oabprint");
    ASSERT_FALSE(dir_.empty());
    program_ = dir_ + "/printer";
    std::ofstream(program_) << "#!/bin/sh\n";
    ASSERT_EQ(chmod(program_.c_str(), 0755), 0);
  }
  void TearDown() override {
    std::remove(program_.c_str());
    rmdir(dir_.c_str());
    oab_main_cache_test::TearDown();
  }
  // The default the search ends with on this machine ("" when none).
  static std::string machine_default() {
    const char* defaults[][2] = {{"/usr/bin/lpr", "/usr/bin/lpr -s -r"},
                                 {"/usr/ucb/lpr", "/usr/ucb/lpr -s -r"},
                                 {"/usr/bin/lp", "/usr/bin/lp -c"}};
    for (const auto& d : defaults)
      if (access(d[0], X_OK) == 0) return d[1];
    return "";
  }
  std::string dir_;
  std::string program_;
};

TEST_F(oab_print_test, TheEnvironmentThenTheItemThenTheDefaults) {
  char out[256];
  setenv("BRISK_PRINT", (program_ + " -P office").c_str(), 1);
  ASSERT_EQ(oab_main_get_print_path(out, sizeof out), 0);
  EXPECT_EQ(std::string(out), program_ + " -P office");
  // A bare program name is no executable path: the item is next.
  setenv("BRISK_PRINT", "printer -P office", 1);
  row(S_CFG, 1, {{2, std::string("BRISK_PRINT")}, {6, program_ + " -x"}, {7, 0L}});
  ASSERT_EQ(oab_main_get_print_path(out, sizeof out), 0);
  EXPECT_EQ(std::string(out), program_ + " -x");
  // Neither: the defaults of the machine, or the alert with an empty command.
  unsetenv("BRISK_PRINT");
  oab_db_cfg_inval_cache();
  adp_mem::reset();
  switch_database_on();
  std::string expected = machine_default();
  long st = oab_main_get_print_path(out, sizeof out);
  EXPECT_EQ(std::string(out), expected);
  EXPECT_EQ(st, expected.empty() ? OAB_PRINT_NOT_FOUND : 0);
}

TEST_F(oab_print_test, TheCommandIsCutToTheBuffer) {
  setenv("BRISK_PRINT", (program_ + " -P office").c_str(), 1);
  char out[16];
  std::memset(out, '#', sizeof out);
  ASSERT_EQ(oab_main_get_print_path(out, 8), 0);
  EXPECT_EQ(std::string(out), program_.substr(0, 7));
  EXPECT_EQ(out[8], '#');
}

}  // namespace
