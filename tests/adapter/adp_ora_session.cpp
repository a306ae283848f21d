#include "adapter/adp_ora_session.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "adapter/adp_db.h"
#include "adapter/adp_double.h"
#include "core/clk/clk_srv.h"
#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_dump.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"

std::string adp_ora_library() { return std::string(ADP_DATASVC_DIR) + "/libOraDataSvc.so"; }
std::string adp_ora_dll() { return std::string(ADP_DATASVC_DIR) + "/OraDataSvc.DLL"; }

void adp_ora_test::SetUp() {
  adp_test::SetUp();
  // The service's plain library name finds the loaded library by its soname
  // (a name alone is not searched along the program's path here).
  static void* keep = dlopen(adp_ora_library().c_str(), RTLD_NOW | RTLD_GLOBAL);
  ASSERT_NE(keep, nullptr) << dlerror();
  static bool started = false;
  if (!started) {
    started = true;
    ASSERT_EQ(typ_main_init(), 0);
    ASSERT_EQ(dbs_main_init(), 0);
  }
  // The store's start registered its own message list over the test texts.
  adp_double::install_dbs_messages();
  ASSERT_FALSE(db_.socket().empty()) << db_.problem();
  ASSERT_TRUE(db_.create());
  ASSERT_TRUE(db_.load("crm_fixture.sql"));
  osl_sys_set_config_string("dbcache", (dir_.path().string() + "/").c_str(), 0);
  adp_db_set_db_driver("oracle");
}

void adp_ora_test::TearDown() {
  while (KAdpConnId* c = adp_db_list_head()) delete c;
  adp_db_set_head_read(0);
  adp_test::TearDown();
}

KAdpConnId* adp_ora_test::session() {
  KAdpConnId* cid = nullptr;
  EXPECT_EQ(adp_db_alloc_conn(db_.socket().c_str(), "root", "adptest", &cid, 0), 0);
  if (cid == nullptr) return nullptr;
  KAdpConfig& cfg = cid->GetConfig();
  cfg.SetPOrbDllName(cfg.GetPropertyLong(static_cast<KAdpConfig::long_type>(4)), adp_ora_dll().c_str());
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(15), db_.name().c_str());
  EXPECT_EQ(adp_db_connect(db_.socket().c_str(), "root", "", "adptest", 0, &cid, 0), 0);
  return cid;
}

KAdpConnId* adp_ora_test::opened() {
  KAdpConnId* cid = session();
  if (cid == nullptr) return nullptr;
  EXPECT_EQ(adp_db_open(cid, "crm"), 0);
  EXPECT_EQ(adp_db_get_header(cid, cid->GetHeader()), 0);
  return cid;
}

std::string adp_ora_test::value(const std::string& sql) {
  testdb::rows r = db_.query(sql);
  return r.empty() || r[0].empty() ? "" : r[0][0];
}

std::string adp_ora_test::model_dump() {
  char* buf = nullptr;
  size_t len = 0;
  FILE* f = open_memstream(&buf, &len);
  if (f == nullptr) return "";
  typ_sch_dump_all(f, "model", 0);
  std::fclose(f);
  std::string out(buf, len);
  std::free(buf);
  return out;
}

void adp_ora_open_test::SetUp() {
  adp_ora_test::SetUp();
  if (HasFatalFailure()) return;
  con_ = opened();
  ASSERT_NE(con_, nullptr);
}

KAdpConnId* adp_ora_test::store_session(long flags) {
  EXPECT_TRUE(db_.run("update adp_db_header set flags = " + std::to_string(flags) + ";"));
  KAdpConnId* cid = session();
  if (cid == nullptr) return nullptr;
  EXPECT_EQ(typ_sch_alloc(), 0);
  // The store's login caches the server's clock difference (none here).
  clk_time_diff_cache_set(0);
  EXPECT_EQ(dbs_db_assert_schema_rev(nullptr, 61), 0);
  EXPECT_EQ(dbs_db_open(cid, "crm", 1), 0);
  return cid;
}
