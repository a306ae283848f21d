#include "adapter/adp_fixture.h"

#include <fstream>
#include <sstream>

#include "adapter/adp_db.h"
#include "adapter/adp_double.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_seam.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "platform/dataservice/ds_script.h"

std::string adp_script_dll() { return std::string(ADP_DATASVC_DIR) + "/ScriptDataSvc.DLL"; }
std::string adp_nofactory_dll() { return std::string(ADP_TESTLIB_DIR) + "/AdpNoFactory.DLL"; }
std::string adp_missing_dll() { return std::string(ADP_TESTLIB_DIR) + "/NoSuchDataSvc.DLL"; }

void adp_test::SetUp() {
  static bool started = false;
  if (!started) {
    started = true;
    clk_start();
    ASSERT_EQ(adp_str_init(), 0);
    adp_double::install_dbs_messages();
  }
  clk_seam_reset();
  clk_set_us_region();
  ASSERT_EQ(adp_time_install_clock(), 0);
  ASSERT_TRUE(dir_.make("adp"));
  dir_.enter(dir_.path(), dir_.path());
  cmn_alrt_clear(nullptr);
  ds_script::reset();
  KAdpProcessError::Reset();
  adp_sql_log_reset();
  adp_db_set_db_driver("");
  osl_sys_set_config_string("dbcache", "", 0);
  long level = 0;
  for (adp_trn_appl_level(&level); level > 0; adp_trn_appl_level(&level)) adp_trn_appl_dec();
}

void adp_test::TearDown() {
  for (KAdpConnId* c : conns_) delete c;
  conns_.clear();
  KAdpProcessError::Reset();
  adp_sql_log_reset();
  adp_db_set_db_driver("");
  cmn_alrt_clear(nullptr);
  clk_seam_reset();
}

KAdpConnId* adp_test::connect(const char* driver, bool load) {
  adp_db_set_db_driver(driver);
  // The dialect follows the driver, not the connection current before.
  if (KAdpConnId* cur = adp_db_get_conn()) adp_db_clear_conn(cur);
  auto* con = new KAdpConnId(driver);
  conns_.push_back(con);
  KAdpConfig& cfg = con->GetConfig();
  cfg.SetPOrbDllName(cfg.GetPropertyLong(static_cast<KAdpConfig::long_type>(4)), adp_script_dll().c_str());
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(2), "crmsrv");
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(3), "sa");
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(4), "secret");
  adp_db_list_add(con);
  adp_db_set_conn(con);
  if (load) {
    EXPECT_EQ(con->LoadDataService(), 0);
    EXPECT_EQ(con->Connect("sa", "secret", nullptr), 0);
  }
  return con;
}

std::string adp_test::file_text(const std::string& name) const {
  std::ifstream in(dir_.path() / name);
  if (!in) return "";
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> adp_script_sent() {
  std::vector<std::string> out;
  for (const std::string& c : ds_script::calls()) {
    for (const std::string p : {"Statement ", "ExecStatement ", "ExecQuery "}) {
      if (c.rfind(p, 0) == 0 && c.size() > p.size()) out.push_back(c.substr(p.size()));
    }
  }
  return out;
}
