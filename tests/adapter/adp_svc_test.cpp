// The connection on the scripted data service: loading and its failures,
// forwarding (arguments, the caller's records and results, refusal without
// a service), the exception boundary, release and reconnect, and the server
// time.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sql_log.h"
#include "core/osl/osl_sys_cfg.h"
#include "platform/dataservice/ds_script.h"

namespace {

using L = KAdpConfig::long_type;

class AdpService : public adp_test {};

TEST_F(AdpService, LoadsTheServiceByItsTableName) {
  KAdpConnId* con = connect("oracle");
  EXPECT_NE(con->GetDataService(), nullptr);
  EXPECT_NE(con->GetLibraryHandle(), nullptr);
  EXPECT_TRUE(con->GetConfig().HasFactory());
  EXPECT_EQ(ds_script::calls().at(0), "Create");
  EXPECT_EQ(ds_script::calls().at(1), "Connect sa secret");
  EXPECT_EQ(ds_script::live(), 1);
  EXPECT_TRUE(core_alert_codes().empty());
}

TEST_F(AdpService, LoadFailuresBecomeAlerts) {
  for (const std::string& dll : {adp_missing_dll(), adp_nofactory_dll()}) {
    SCOPED_TRACE(dll);
    cmn_alrt_clear(nullptr);
    KAdpConnId* con = connect("oracle", false);
    con->GetConfig().SetPOrbDllName(4, dll.c_str());
    EXPECT_EQ(con->LoadDataService(), ADP_DB_ERROR);
    EXPECT_EQ(con->GetDataService(), nullptr);
    EXPECT_FALSE(con->GetConfig().HasFactory());
    ASSERT_FALSE(core_alert_codes().empty());
    EXPECT_EQ(core_alert_codes().front(), ADP_DB_ERROR);
    // Without a service the forwarders refuse.
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(con->BeginTransaction(), DBS_SERVER_CONNECTION_FAIL);
    EXPECT_EQ(core_alert_codes(), std::vector<long>{DBS_SERVER_CONNECTION_FAIL});
  }
}

TEST_F(AdpService, ReleaseAndReConnect) {
  KAdpConnId* con = connect("oracle");
  EXPECT_EQ(con->Release(), 0);
  EXPECT_EQ(con->GetDataService(), nullptr);
  EXPECT_EQ(ds_script::live(), 0);
  EXPECT_EQ(con->Release(), 0);  // nothing to release
  ds_script::reset();
  EXPECT_EQ(con->ReConnect(), 0);
  EXPECT_NE(con->GetDataService(), nullptr);
  EXPECT_EQ(ds_script::calls(), (std::vector<std::string>{"Create", "Connect sa secret"}));
  EXPECT_EQ(con->ReConnect(), 0);  // a service is there: nothing
  EXPECT_EQ(ds_script::calls().size(), 2u);
}

TEST_F(AdpService, ForwardersPassTheirArguments) {
  KAdpConnId* con = connect("oledb");
  ds_script::reset();
  KAdpUtlRecord rec;
  KCLASSIC::tagPpmStats stats;
  long rows = -1;
  EXPECT_EQ(con->MoveRowset(rec, 5, 7), 0);
  EXPECT_EQ(con->BeginTransaction(), 0);
  EXPECT_EQ(con->EndTransaction(1, 1), 0);
  EXPECT_EQ(con->EndTransaction(0, 1), 0);
  EXPECT_EQ(con->ExecDmlStmt(&stats, "delete from t", &rows), 0);
  EXPECT_EQ(con->ExecDmlStmt(&stats, "", &rows), 0);  // empty: runs as nothing
  EXPECT_EQ(con->EndBatch(), 0);
  EXPECT_EQ(con->ExecProc(rec, "csp_x", 3), 0);
  EXPECT_EQ(ds_script::calls(),
            (std::vector<std::string>{"MoveRowset 5 0", "BeginTransaction", "EndTransaction 1 1",
                                      "EndTransaction 0 1", "ExecStatement delete from t", "EndBatch",
                                      "ExecProc csp_x 3"}));
}

// What the service does with a batch, ids and procedures is its own (the
// scripted service's suite); here the connection hands the caller's
// statements, bind values and records to the service and gives back what
// the service puts in them.
TEST_F(AdpService, ForwardersHandOverTheCallersObjectsAndResults) {
  KAdpConnId* con = connect("oracle");
  ds_script::reset();
  ds_script::push_result(ds_script::result{{"n"}, {{ds_script::cell::l(8)}, {ds_script::cell::l(9)}}, -1});
  ds_script::push_result(ds_script::result{{"m"}, {{ds_script::cell::t("row")}}, -1});
  ds_script::push_ids({301});
  ds_script::set_proc_outputs({{0, "out"}});
  KCLASSIC::KStringArray statements;
  statements.Add("select n from t");
  statements.Add("select n from u");
  KAdpUtlRecord binds;
  binds.SetColType(0, 0, "v", 0);
  binds.SetLong(0, 0, 42);
  KCLASSIC::tagPpmStats stats;
  EXPECT_EQ(con->StartBatch(&statements, &binds, &stats), 0);
  EXPECT_STREQ(con->GetLastSql(), "select n from u");  // the batch's last statement

  long rows = -1;
  EXPECT_EQ(con->FetchNextSet(0, rows), 0);
  EXPECT_EQ(rows, 2);
  KAdpUtlRecord result;
  EXPECT_EQ(con->SetBindInfo(result), 0);
  EXPECT_EQ(con->MoveRowset(result, 0, 0), 0);
  long n = 0;
  ASSERT_EQ(result.GetRows(), 2);
  EXPECT_EQ(result.GetDataValue(1, 0, n), 0);
  EXPECT_EQ(n, 9);

  KAdpUtlRecord query;
  EXPECT_EQ(con->ExecSelectStmt(&stats, "select m from v", query), 0);
  EXPECT_STREQ(con->GetLastSql(), "select m from v");
  const char* text = nullptr;
  ASSERT_EQ(query.GetRows(), 1);
  EXPECT_EQ(query.GetDataValue(0, 0, &text, nullptr), 0);
  EXPECT_STREQ(text, "row");

  KAdpUtlRecord ids;
  ids.SetColType(0, 0, "objid", 0);
  ids.SetLong(0, 0, 0);
  EXPECT_EQ(con->GenerateObjidValues(ids), 0);
  EXPECT_EQ(ids.GetDataValue(0, 0, n), 0);
  EXPECT_EQ(n, 301);
  KAdpUtlRecord params;
  params.SetColType(0, 0, "result", 7);
  params.SetString(0, 0, "");
  EXPECT_EQ(con->ExecProc(params, "csp_y", 1), 0);
  EXPECT_EQ(params.GetDataValue(0, 0, &text, nullptr), 0);
  EXPECT_STREQ(text, "out");
  EXPECT_EQ(ds_script::calls(),
            (std::vector<std::string>{"StartBatch 2", "Statement select n from t", "Statement select n from u",
                                      "Bind 0,0=42", "FetchNextSet select n from t", "SetBindInfo 0",
                                      "MoveRowset 0 0", "ExecQuery select m from v", "GenerateObjids 1",
                                      "ExecProc csp_y 1"}));
}

// Every forwarder refuses, with the connection alert, when no service is
// loaded, and leaves the caller's objects as they were.
TEST_F(AdpService, EveryForwarderRefusesWithoutAService) {
  KAdpConnId* con = connect("oracle", false);
  KAdpUtlRecord rec;
  KCLASSIC::KStringArray statements;
  statements.Add("select 1");
  KCLASSIC::tagPpmStats stats;
  long rows = 5;
  const std::vector<std::pair<const char*, std::function<long()>>> calls = {
      {"Connect", [&] { return con->Connect("sa", "secret", nullptr); }},
      {"StartBatch", [&] { return con->StartBatch(&statements, nullptr, &stats); }},
      {"EndBatch", [&] { return con->EndBatch(); }},
      {"BeginTransaction", [&] { return con->BeginTransaction(); }},
      {"EndTransaction", [&] { return con->EndTransaction(1, 0); }},
      {"SetBindInfo", [&] { return con->SetBindInfo(rec); }},
      {"FetchNextSet", [&] { return con->FetchNextSet(0, rows); }},
      {"MoveRowset", [&] { return con->MoveRowset(rec, 0, 0); }},
      {"ExecSelectStmt", [&] { return con->ExecSelectStmt(&stats, "select 1", rec); }},
      {"ExecDmlStmt", [&] { return con->ExecDmlStmt(&stats, "delete from t", &rows); }},
      {"GenerateObjidValues", [&] { return con->GenerateObjidValues(rec); }},
      {"ExecProc", [&] { return con->ExecProc(rec, "csp_x", 0); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(call(), DBS_SERVER_CONNECTION_FAIL);
    EXPECT_EQ(core_alert_codes(), std::vector<long>{DBS_SERVER_CONNECTION_FAIL});
  }
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(rec.GetRows(), 0);
  EXPECT_TRUE(ds_script::calls().empty());
}

TEST_F(AdpService, FailureAtTheChosenCallBecomesItsCode) {
  struct row {
    const char* call;
    long number;
    long code;
    size_t alerts;  // "Database Error" first, then the mapped alert (none more on Oracle for 0x600036)
    long last;      // the last alert pushed
  } rows[] = {
      {"ExecStatement", 0x8B0014E, DBS_DEADLOCK, 2, DBS_DEADLOCK},
      {"FetchNextSet", 0x8B0013B, DBS_SERVER_CONNECTION_FAIL, 2, DBS_SERVER_CONNECTION_FAIL},
      {"ExecQuery", 0x8B00134, ADP_SQL_NEXTROW_FAIL, 2, ADP_SQL_NEXTROW_FAIL},
      {"BeginTransaction", 0x8B00140, ADP_DB_ERROR, 1, ADP_DB_ERROR},
      {"ExecStatement", 0x8B0014F, DBS_NOT_UNIQUE, 2, ADP_NOT_UNIQUE},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.call);
    KAdpConnId* con = connect("oracle");
    ds_script::reset();
    ds_script::fail({r.call, 2, r.number, "ORA-00001: unique constraint (SA.CONTACT_OBJINDEX) violated",
                     "description", false});
    KCLASSIC::tagPpmStats stats;
    KAdpUtlRecord rec;
    KCLASSIC::KStringArray statements;
    statements.Add("select 1");
    statements.Add("select 2");
    long rows_out = 0;
    auto run = [&]() -> long {
      std::string call = r.call;
      if (call == "ExecStatement") return con->ExecDmlStmt(&stats, "insert", &rows_out);
      if (call == "FetchNextSet") return con->FetchNextSet(0, rows_out);
      if (call == "ExecQuery") return con->ExecSelectStmt(&stats, "select", rec);
      return con->BeginTransaction();
    };
    if (std::string(r.call) == "FetchNextSet") con->StartBatch(&statements, nullptr, &stats);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(run(), 0);  // the first call passes
    EXPECT_EQ(run(), r.code);
    ASSERT_EQ(core_alert_codes().size(), r.alerts);
    EXPECT_EQ(core_alert_codes().front(), ADP_DB_ERROR);
    EXPECT_EQ(core_alert_codes().back(), r.last);
    EXPECT_EQ(run(), 0);  // only the chosen call fails
  }
}

TEST_F(AdpService, AnExceptionThatIsNoKErr) {
  KAdpConnId* con = connect("oracle");
  ds_script::fail({"ExecStatement", 1, 0, "bad alloc", "", true});
  KCLASSIC::tagPpmStats stats;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(con->ExecDmlStmt(&stats, "insert", nullptr), ADP_DB_ERROR);
  ASSERT_EQ(core_alert_codes(), std::vector<long>{ADP_DB_ERROR});
  EXPECT_NE(core_alert_texts()[0].find("Memory Exception"), std::string::npos);
  EXPECT_NE(file_text("server.log").find("Memory CException : "), std::string::npos);
}

TEST_F(AdpService, ServerTimeThroughThePhraseAndTheDialect) {
  for (const char* driver : {"oracle", "oledb"}) {
    SCOPED_TRACE(driver);
    KAdpConnId* con = connect(driver);
    // 5 March 2004 14:07:09 as an OLE date.
    ds_script::set_server_time(38051.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0);
    clktime t{};
    EXPECT_EQ(con->GetDbSvrTime(&t), 0);
    clk_ty_cmp cmp{};
    ASSERT_EQ(clk_time_to_cmp_adj(0, &t, &cmp), 0);
    EXPECT_EQ(cmp.year, 2004);
    EXPECT_EQ(cmp.month, 2);
    EXPECT_EQ(cmp.day, 5);
    EXPECT_EQ(cmp.hour, 14);
    EXPECT_EQ(cmp.minute, 7);
    EXPECT_EQ(cmp.second, 9);
  }
}

TEST_F(AdpService, DestroyingClearsOnlyItsOwnCurrentness) {
  KAdpConnId* a = connect("oracle");
  KAdpConnId* b = connect("oracle");
  EXPECT_EQ(adp_db_get_conn(), b);
  conns_.erase(conns_.begin());
  delete a;
  EXPECT_EQ(adp_db_get_conn(), b);
  EXPECT_EQ(adp_db_list_head(), b);
  EXPECT_EQ(b->GetNext(), nullptr);
  conns_.clear();
  delete b;
  EXPECT_EQ(adp_db_get_conn(), nullptr);
  EXPECT_EQ(adp_db_list_head(), nullptr);
  EXPECT_EQ(ds_script::live(), 0);
}

TEST_F(AdpService, LoadingAndRoundTripsAreTraced) {
  FILE* log = std::fopen("sql.log", "w");
  ASSERT_NE(log, nullptr);
  adp_sql_log_sql(log);
  KAdpConnId* con = connect("oracle");
  ds_script::push_result(ds_script::result{{"n"}, {{ds_script::cell::l(1)}}, -1});
  KCLASSIC::KStringArray statements;
  statements.Add("select n from t where x = :B1");
  KAdpUtlRecord binds;
  binds.SetColType(0, 0, "x", 7);
  binds.SetString(0, 0, "abc");
  KCLASSIC::tagPpmStats stats;
  long rows = 0;
  con->StartBatch(&statements, &binds, &stats);
  con->FetchNextSet(0, rows);
  con->BeginTransaction();
  adp_sql_log_sql(nullptr);
  std::fclose(log);
  EXPECT_EQ(file_text("sql.log"), "--POrb Subsystem\n" + adp_script_dll() +
                                      "\n"
                                      "----------BEGIN ROUND TRIP----------\nselect n from t where x = :B1\n\n"
                                      "----Bind Variables: 0,0=abc\n"
                                      "----select n from t where x = :B1\n----------END ROUND TRIP----------\n\n"
                                      "--*** Begin Transaction ***\n");
}

TEST_F(AdpService, WindowsAuthenticationOnSqlServerOnly) {
  osl_sys_set_config_string("win_authentication", "true", 0);
  KAdpConnId* ms = connect("oledb");
  KAdpConnId* ora = connect("oracle");
  osl_sys_set_config_string("win_authentication", "", 0);
  EXPECT_EQ(ms->GetConfig().GetWinAuthentication(), 1);
  EXPECT_EQ(ora->GetConfig().GetWinAuthentication(), 0);
}

TEST_F(AdpService, LoginFailuresOfTheService) {
  const struct {
    const char* driver;
    long number;
    long alert;
    const char* text;
  } rows[] = {
      {"oledb", 0x8B0017E, ADP_NO_SUCH_SERVER, "SQL Server 'crmsrv"},
      {"oracle", 0x8B00181, ADP_NO_SUCH_SERVER, "Oracle Server, 'crmsrv"},
      {"oracle", 0x8B0017D, ADP_PASSWD_FAIL, "password"},
      {"oracle", 0x8B00183, ADP_SEQUENCE, "sequence"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.number);
    KAdpConnId* con = connect(r.driver, false);
    ASSERT_EQ(con->LoadDataService(), 0);
    ds_script::reset();
    ds_script::fail({"Connect", 1, r.number, "login refused", "login refused", false});
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(con->Connect("sa", "bad", nullptr), ADP_DB_ERROR);
    ASSERT_EQ(core_alert_codes(), std::vector<long>{r.alert});
    EXPECT_NE(core_alert_texts()[0].find(r.text), std::string::npos) << core_alert_texts()[0];
  }
}

TEST_F(AdpService, WithoutADialectTheServerTimeIsRefused) {
  KAdpConnId* con = connect("quill");
  EXPECT_EQ(con->GetDbOperation(), nullptr);
  clktime t{5, 5};
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(con->GetDbSvrTime(&t), ADP_DB_ERROR);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_DB_ERROR});
  EXPECT_EQ(t.day, 5);
  KAdpConnId bare;  // base configuration, no dialect, no service
  EXPECT_EQ(bare.GetDbOperation(), nullptr);
  EXPECT_EQ(bare.GetDataService(), nullptr);
  EXPECT_STREQ(bare.GetConfig().GetPropertyStr(KAdpConfig::str_type(13)), "");
}

TEST_F(AdpService, ProcessErrorGivesTheNumber) {
  KAdpConnId* con = connect("oracle", false);
  KCLASSIC::KErr err(0x8B0012D, "x");
  err.m_strText2 = "KAdpSqlBatch::Exec";
  EXPECT_EQ(con->ProcessError(&err), 0x8B0012D);
}

}  // namespace
