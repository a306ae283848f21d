// The connection registry, the server type, the header accessors and the
// application transaction level.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/osl/osl_sys_cfg.h"
#include "platform/dataservice/ds_script.h"

namespace {

class AdpRegistry : public adp_test {
 protected:
  long level() {
    long l = -1;
    adp_trn_appl_level(&l);
    return l;
  }
};

TEST_F(AdpRegistry, ServerTypeFromTheDriverBeforeAConnection) {
  const struct {
    const char* driver;
    long type, oracle, mssql;
  } rows[] = {{"ORACLE", 2, 1, 0}, {"oracle", 2, 1, 0}, {"oledb", 517, 0, 1},
              {"Quill", 256, 0, 0}, {"sybase", 0, 0, 0}};
  for (const auto& r : rows) {
    adp_db_set_db_driver(r.driver);
    EXPECT_EQ(adp_main_server_type(), r.type) << r.driver;
    EXPECT_EQ(adp_db_is_db_oracle(), r.oracle) << r.driver;
    EXPECT_EQ(adp_db_is_db_mssql(), r.mssql) << r.driver;
  }
  // Empty: the configuration string decides.
  adp_db_set_db_driver("");
  osl_sys_set_config_string("db_driver", "oledb", 0);
  EXPECT_EQ(adp_main_server_type(), 517);
  osl_sys_set_config_string("db_driver", "", 0);
  EXPECT_EQ(adp_main_server_type(), 0);
  // Longer names are cut to ten characters.
  adp_db_set_db_driver("oracle_and_more");
  EXPECT_EQ(adp_main_server_type(), 0);
}

TEST_F(AdpRegistry, ServerTypeFollowsTheCurrentConnection) {
  connect("oledb", false);
  adp_db_set_db_driver("oracle");
  EXPECT_EQ(adp_main_server_type(), 517);
  EXPECT_EQ(adp_db_is_db_mssql(), 1);
  EXPECT_NE(dynamic_cast<KAdpMssqlOperation*>(adp_db_get_conn()->GetDbOperation()), nullptr);
}

TEST_F(AdpRegistry, CheckAndSetConnections) {
  KAdpConnId* a = connect("oracle", false);
  KAdpConnId stray("oracle");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_db_check_conn(a), 0);
  EXPECT_EQ(adp_db_check_conn(&stray), ADP_BAD_CONN);
  EXPECT_EQ(adp_db_check_conn(nullptr), ADP_BAD_CONN);
  EXPECT_EQ(adp_db_set_conn(&stray), ADP_BAD_CONN);
  EXPECT_EQ(adp_db_get_conn(), a);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_CONN, ADP_BAD_CONN, ADP_BAD_CONN}));
  EXPECT_EQ(adp_db_set_conn(a), 0);
}

TEST_F(AdpRegistry, HeaderOfTheCurrentConnection) {
  connect("oracle", false);
  char out = 9;
  adp_db_set_flags(static_cast<long>(0x80000000L));
  EXPECT_EQ(adp_db_is_header_flags_set(adp_db_get_head_addr(), 0x80000000L, &out), 0);
  EXPECT_EQ(out, 1);
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HEAD_UNICODE, &out);
  EXPECT_EQ(out, 0);
  out = 9;
  adp_db_is_header_flags_set(nullptr, 1, &out);
  EXPECT_EQ(out, 9);

  std::string long_name(80, 'd');
  adp_db_set_db_name(long_name.c_str());
  EXPECT_EQ(std::string(adp_db_get_db_name()), long_name.substr(0, 63));
  adp_db_set_cust_rev(long_name.c_str());
  EXPECT_EQ(std::string(adp_db_get_cust_schema_rev()), long_name.substr(0, 63));
  adp_db_set_site_id(7);
  adp_db_set_site_id_offline(8);
  adp_db_set_schema_rev(9);
  adp_db_set_db_rev(10);
  adp_db_set_cust_int_sch_rev(11);
  EXPECT_EQ(adp_db_get_site_id(), 7);
  EXPECT_EQ(adp_db_get_site_id_offline(), 8);
  EXPECT_EQ(adp_db_get_schema_rev(), 9);
  EXPECT_EQ(adp_db_get_db_rev(), 10);
  EXPECT_EQ(adp_db_get_cust_int_sch_rev(), 11);
  clktime t{1000, 300};
  adp_db_set_last_modify(&t);
  adp_db_set_orb_schema_date(&t);
  EXPECT_EQ(adp_db_get_last_modify()->day, 1000);
  EXPECT_EQ(adp_db_get_orb_schema_date()->ticks, 300);
  EXPECT_EQ(adp_db_get_create_date()->day, 0);
  adp_db_get_head_addr()->gmt_diff = -3600;
  EXPECT_EQ(adp_db_get_gmt_diff(adp_db_get_conn()), -3600);
  adp_db_set_head_read(1);
  EXPECT_EQ(adp_db_get_head_read(), 1);
}

struct trn_step {
  char op;  // b begin, c commit, r rollback
  long result;
  long level;
};

TEST_F(AdpRegistry, TransactionSequences) {
  const struct {
    const char* name;
    std::vector<trn_step> steps;
    std::vector<std::string> calls;
  } rows[] = {
      {"nested commit", {{'b', 0, 1}, {'b', 0, 2}, {'c', 0, 1}, {'c', 0, 0}},
       {"BeginTransaction", "EndTransaction 1 1"}},
      {"rollback inside", {{'b', 0, 1}, {'b', 0, 2}, {'r', 0, 0}, {'c', 0, 0}},
       {"BeginTransaction", "EndTransaction 0 1"}},
      {"commit at level 0", {{'c', 0, 0}}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    KAdpConnId* con = connect("oracle");
    ds_script::reset();
    for (const trn_step& s : r.steps) {
      long rc = s.op == 'b' ? adp_trn_begin(con) : s.op == 'c' ? adp_trn_commit(con) : adp_trn_rollback(con);
      EXPECT_EQ(rc, s.result) << s.op;
      EXPECT_EQ(level(), s.level) << s.op;
    }
    EXPECT_EQ(ds_script::calls(), r.calls);
  }
}

TEST_F(AdpRegistry, RefusedCommitAndRollbackKeepTheLevel) {
  for (const char* call : {"commit", "rollback"}) {
    SCOPED_TRACE(call);
    KAdpConnId* con = connect("oracle");
    ds_script::reset();
    ds_script::fail({"EndTransaction", 1, 0x8B00140, "refused", "refused", false});
    ASSERT_EQ(adp_trn_begin(con), 0);
    cmn_alrt_clear(nullptr);
    long rc = std::string(call) == "commit" ? adp_trn_commit(con) : adp_trn_rollback(con);
    EXPECT_EQ(rc, ADP_TRN_END_FAIL);
    EXPECT_EQ(core_alert_codes().back(), ADP_TRN_REFUSED);
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(adp_trn_rollback(con), 0);
    EXPECT_EQ(level(), 0);
  }
}

TEST_F(AdpRegistry, FailedBeginReturnsItsCodeAndKeepsTheLevel) {
  KAdpConnId* con = connect("oracle");
  ds_script::fail({"BeginTransaction", 1, 0x8B0013B, "lost", "lost", false});
  EXPECT_EQ(adp_trn_begin(con), DBS_SERVER_CONNECTION_FAIL);
  EXPECT_EQ(level(), 0);
  EXPECT_EQ(adp_trn_begin(con), 0);
  EXPECT_EQ(level(), 1);
}

TEST_F(AdpRegistry, UnlistedConnectionLeavesTheLevel) {
  KAdpConnId stray("oracle");
  EXPECT_EQ(adp_trn_begin(&stray), ADP_BAD_CONN);
  EXPECT_EQ(adp_trn_commit(&stray), ADP_BAD_CONN);
  EXPECT_EQ(adp_trn_rollback(&stray), ADP_BAD_CONN);
  EXPECT_EQ(level(), 0);
  adp_trn_appl_dec();
  EXPECT_EQ(level(), 0);
  adp_trn_appl_inc();
  adp_trn_appl_inc();
  adp_trn_appl_dec();
  EXPECT_EQ(level(), 1);
}

}  // namespace
