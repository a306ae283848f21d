// Sessions and the database header on SQL Server, through the scripted
// service: the exact texts of the session set-up, "use", the database
// options and the header read and write, and the current connection after
// failures. A connection of the "oledb" driver is allocated and pointed at
// the scripted service, then connected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "core/osl/osl_sys_cfg.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

class AdpSess : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    adp_db_set_db_driver("oledb");
  }
  void TearDown() override {
    adp_db_term();
    adp_test::TearDown();
  }
  // What the server was sent: the texts of statements and queries.
  static std::vector<std::string> sent() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls()) {
      for (const char* p : {"Statement ", "ExecStatement ", "ExecQuery "})
        if (c.rfind(p, 0) == 0) out.push_back(c.substr(std::string(p).size()));
    }
    return out;
  }
  static bool sent_has(const std::string& text) {
    for (const std::string& s : sent())
      if (s.find(text) != std::string::npos) return true;
    return false;
  }
  // A listed connection of the driver on the scripted service (not current).
  static KAdpConnId* allocate() {
    KAdpConnId* cid = nullptr;
    EXPECT_EQ(adp_db_alloc_conn("crmsrv", "sa", "crmapp", &cid, 0), 0);
    if (cid == nullptr) return nullptr;
    KAdpConfig& cfg = cid->GetConfig();
    cfg.SetPOrbDllName(cfg.GetPropertyLong(static_cast<KAdpConfig::long_type>(4)), adp_script_dll().c_str());
    return cid;
  }
  static KAdpConnId* login(const char* password = "pw") {
    KAdpConnId* cid = allocate();
    EXPECT_EQ(adp_db_connect("crmsrv", "sa", password, "crmapp", 0, &cid, 0), 0);
    return cid;
  }
  // One header row: name, dates as SQL Server text, numbers.
  static ds_script::result header_row(long flags) {
    ds_script::result r;
    r.columns = {"db_name", "create_date", "last_full_backup", "last_incr_backup", "up_since", "last_modify",
                 "site_id", "db_rev", "schema_rev", "gmt_diff", "cust_schema_rev", "flags", "orbisan_schema_date",
                 "cust_schema_date", "site_id_offline", "cust_int_sch_rev"};
    const cell d = cell::t("2004-03-05 14:07:09");
    r.rows = {{cell::t("crm"), d, d, d, d, d, cell::l(3), cell::l(15), cell::l(61), cell::l(-3600), cell::t("c1"),
               cell::l(flags), d, d, cell::l(0), cell::l(4)}};
    return r;
  }
};

TEST_F(AdpSess, LoginSetsUpTheSessionAndOpenRunsUse) {
  KAdpConnId* cid = login();
  ASSERT_NE(cid, nullptr);
  EXPECT_EQ(adp_db_get_conn(), cid);
  EXPECT_EQ(adp_db_list_head(), cid);
  EXPECT_STREQ(cid->GetAppName(), "crmapp");
  EXPECT_EQ(ds_script::count("Connect sa pw"), 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{" set dateformat mdy"}));
  ASSERT_EQ(adp_db_open(cid, "crm"), 0);
  ASSERT_EQ(adp_db_open(cid, "crm"), 0);  // already open: nothing sent
  EXPECT_EQ(sent(), (std::vector<std::string>{" set dateformat mdy", "use crm"}));
  EXPECT_STREQ(static_cast<const char*>(cid->GetConfig().GetPropertyStr(static_cast<KAdpConfig::str_type>(15))),
               "crm");
  ASSERT_EQ(adp_db_close(cid), 0);
  ASSERT_EQ(adp_db_open(cid, ""), 0);  // an empty name still runs "use"
  EXPECT_EQ(sent().back(), "use ");
  // Fast reconnect reuses the connection: a new session opens the database.
  ds_script::reset();
  ds_script::push_result({});  // the set-up
  ds_script::push_result({});  // "use"
  ds_script::push_result({{"site_id"}, {{cell::l(0)}}});  // the connection check
  ASSERT_EQ(adp_db_fast_reconnect(cid, "pw", 0, 0), 0);
  EXPECT_EQ(adp_db_get_conn(), cid);
  EXPECT_EQ(adp_db_list_head(), cid);
  EXPECT_EQ(ds_script::count("Connect sa pw"), 1);
  const std::vector<std::string> again = sent();
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[0], " set dateformat mdy");
  EXPECT_EQ(again[1], "use ");
  ASSERT_EQ(adp_db_logout(cid), 0);
  EXPECT_EQ(adp_db_list_head(), nullptr);
  EXPECT_EQ(adp_db_get_conn(), nullptr);
  EXPECT_GE(ds_script::count("Release"), 1);
}

TEST_F(AdpSess, DriversThatCannotLogIn) {
  const struct {
    const char* driver;
    long status;
  } rows[] = {{"quill", -1}, {"sybase", -1}, {"", -1}};
  for (const auto& r : rows) {
    adp_db_set_db_driver(r.driver);
    osl_sys_set_config_string("db_driver", "", 0);
    KAdpConnId* cid = reinterpret_cast<KAdpConnId*>(1);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(adp_db_login("s", "u", "p", "a", 0, &cid, 0), r.status) << r.driver;
    EXPECT_EQ(cid, nullptr) << r.driver;
    EXPECT_EQ(adp_db_list_head(), nullptr) << r.driver;
    EXPECT_TRUE(core_alert_codes().empty()) << r.driver;
  }
}

TEST_F(AdpSess, FailedConnectLeavesThePreviousConnectionCurrent) {
  KAdpConnId* first = login();
  ASSERT_EQ(adp_db_get_conn(), first);
  KAdpConnId* second = allocate();
  ds_script::reset();
  ds_script::fail({"Connect", 1, 0x8B0017D, "login refused", "bad password"});
  EXPECT_NE(adp_db_connect("crmsrv", "sa", "wrong", "crmapp", 0, &second, 0), 0);
  EXPECT_EQ(adp_db_get_conn(), first);
  // A library that cannot be loaded: the new connection is gone again.
  KAdpConnId* third = nullptr;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_db_login("crmsrv", "sa", "pw", "crmapp", 0, &third, 0), ADP_LOAD_FAIL);
  EXPECT_EQ(third, nullptr);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_DB_ERROR, ADP_LOAD_FAIL}));
  EXPECT_EQ(adp_db_get_conn(), first);
  EXPECT_EQ(adp_db_list_head(), second);
  EXPECT_EQ(second->GetNext(), first);
  EXPECT_EQ(first->GetNext(), nullptr);
}

TEST_F(AdpSess, CredentialsCheckThatCannotLoadLeavesNothingListed) {
  KAdpConnId* first = login();
  KAdpConnId* check = reinterpret_cast<KAdpConnId*>(1);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_db_bby_login("crmsrv", "other", "pw2", "app", 0, &check), ADP_LOAD_FAIL);
  EXPECT_EQ(check, nullptr);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_DB_ERROR, ADP_LOAD_FAIL}));
  EXPECT_EQ(adp_db_get_conn(), first);
  EXPECT_EQ(adp_db_list_head(), first);
  EXPECT_EQ(first->GetNext(), nullptr);
}

TEST_F(AdpSess, DatabaseOptionsRunInMaster) {
  KAdpConnId* cid = login();
  ASSERT_EQ(adp_db_open(cid, "crm"), 0);
  ASSERT_EQ(adp_db_trunc_log(cid), 0);
  const std::vector<std::string> s = sent();
  ASSERT_GE(s.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(s.end() - 4, s.end()),
            (std::vector<std::string>{"use master", "sp_dboption crm, 'trunc. log on chkpt.', true", "use crm",
                                      "checkpoint"}));
}

TEST_F(AdpSess, HeaderReadAndWrite) {
  KAdpConnId* cid = login();
  ASSERT_EQ(adp_db_open(cid, "crm"), 0);
  ds_script::push_result(header_row(0x20));
  adp_db_dhead* h = cid->GetHeader();
  ASSERT_EQ(adp_db_get_header(cid, h), 0);
  EXPECT_TRUE(sent_has("SELECT db_name, create_date, last_full_backup, \nlast_incr_backup, up_since, last_modify, "
                       "\nsite_id, db_rev, schema_rev, \ngmt_diff, cust_schema_rev, flags, \norbisan_schema_date, "
                       "cust_schema_date, site_id_offline, \ncust_int_sch_rev \nFROM adp_db_header"));
  EXPECT_STREQ(h->db_name, "crm");
  EXPECT_EQ(h->site_id, 3);
  EXPECT_EQ(h->db_rev, 15);
  EXPECT_EQ(h->gmt_diff, -3600);
  EXPECT_STREQ(h->cust_schema_rev, "c1");
  EXPECT_EQ(h->cust_int_sch_rev, 4);
  EXPECT_EQ(cid->GetHeaderRead(), 1);
  EXPECT_EQ(cid->GetConfig().GetPropertyLong(static_cast<KAdpConfig::long_type>(8)), 0x20);
  // Flag 0x20: the offline feature is on, so a change row comes first.
  cid->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(9), 0);
  h->schema_rev = 62;
  ASSERT_EQ(adp_db_put_header(cid, h), 0);
  const std::vector<std::string> s = sent();
  ASSERT_GE(s.size(), 2u);
  const std::string change = s[s.size() - 2];
  const std::string update = s.back();
  EXPECT_EQ(change.rfind("insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) select objid, "
                         "dev+1, dev, 'adp_db_header', '16 create_date 19 db_name 3 last_full_backup 19",
                         0),
            0u)
      << change;
  EXPECT_NE(change.find(" site_id 1 db_rev 2 schema_rev 2 gmt_diff 5 cust_schema_rev 2 flags 2"), std::string::npos)
      << change;
  EXPECT_NE(change.find(" 2004-03-05 14:07:09crm2004-03-05 14:07:09"), std::string::npos) << change;
  EXPECT_EQ(update.rfind("UPDATE adp_db_header SET create_date = ", 0), 0u) << update;
  EXPECT_NE(update.find(", db_name = 'crm', last_full_backup = "), std::string::npos) << update;
  EXPECT_NE(update.find(", schema_rev = 62, "), std::string::npos) << update;
  EXPECT_EQ(update.find("gmt_diff"), std::string::npos) << update;
  const std::string tail = ", cust_int_sch_rev = 4, dev = dev+1";
  ASSERT_GE(update.size(), tail.size());
  EXPECT_EQ(update.substr(update.size() - tail.size()), tail) << update;
}

TEST_F(AdpSess, EmptyHeaderTableIsRefusedAndTheRecordCleared) {
  KAdpConnId* cid = login();
  ds_script::push_result(ds_script::result{{"db_name"}, {}, -1});
  adp_db_dhead h{};
  h.site_id = 9;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_db_get_header(cid, &h), ADP_NO_HEADER);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_NO_HEADER}));
  EXPECT_EQ(h.site_id, 0);
  EXPECT_EQ(h.create_date.day, -53690);
  EXPECT_EQ(h.cust_schema_date.day, -53690);
  EXPECT_EQ(cid->GetHeaderRead(), 0);
}

}  // namespace
