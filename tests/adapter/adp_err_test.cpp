// Error mapping: each data-service number to its alerts, result and server
// log entry; the SQL Server refinements; the server log file itself.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "core/core_fixture.h"
#include "core/osl/osl_sys_cfg.h"
#include "platform/dataservice/ds_script.h"

namespace {

class AdpError : public adp_test {
 protected:
  long process(long number, const char* text1, const char* text2) {
    KCLASSIC::KErr err(number, "ScriptDataSvc::Exec");
    err.m_strText1 = text1;
    err.m_strText2 = text2;
    return KAdpProcessError::ProcessError(nullptr, &err);
  }
};

struct map_row {
  const char* driver;
  long number;
  const char* text1;
  const char* text2;
  long result;
  std::vector<long> alerts;
  const char* alert_text;  // in the first alert's text
  const char* log;         // in the server log
};

TEST_F(AdpError, EachNumberGivesItsAlertsResultAndLogEntry) {
  const map_row rows[] = {
      {"oracle", 0x8B0014E, "ORA-00060: deadlock", "deadlock detected", DBS_DEADLOCK,
       {ADP_DB_ERROR, DBS_DEADLOCK}, "Database Error: ORA-00060: deadlock", "ADP Error: ERR_DBS_DEADLOCK"},
      {"oracle", 0x8B0013B, "ORA-03113", "lost", DBS_SERVER_CONNECTION_FAIL,
       {ADP_DB_ERROR, DBS_SERVER_CONNECTION_FAIL}, "ORA-03113", "ADP Error: ERR_DBS_SERVER_CONNECTION_FAIL"},
      {"oracle", 0x8B00134, "conv", "bad conversion", ADP_SQL_NEXTROW_FAIL, {ADP_DB_ERROR, ADP_SQL_NEXTROW_FAIL},
       "conv", "ADP Error: ERR_ADP_SQL_NEXTROW_FAIL"},
      {"oracle", 0x8B0012D, "m", "method failed", ADP_SQL_NEXTROW_FAIL, {ADP_DB_ERROR, ADP_SQL_NEXTROW_FAIL}, "m",
       " Error Message:\n method failed"},
      {"oracle", 0x8B00149, "ORA-00942", "table or view does not exist", ADP_DB_ERROR, {ADP_DB_ERROR}, "ORA-00942",
       " Error Message:\n table or view does not exist"},
      {"oracle", 0x12345, "odd", "odd number", ADP_DB_ERROR, {ADP_DB_ERROR}, "odd", "odd number"},
      {"oracle", 0x8B0017D, "", "bad password", ADP_DB_ERROR, {ADP_PASSWD_FAIL}, "password", "bad password"},
      {"oracle", 0x8B00180, "", "expired", ADP_DB_ERROR, {ADP_PASSWD_FAIL}, "password", "expired"},
      {"oledb", 0x8B0017E, "", "no server", ADP_DB_ERROR, {ADP_NO_SUCH_SERVER},
       "Can not login to the database server, SQL Server 'crmsrv", "no server"},
      {"oracle", 0x8B00181, "", "no listener", ADP_DB_ERROR, {ADP_NO_SUCH_SERVER},
       "Can not login to the Oracle Server, 'crmsrv", "no listener"},
      {"oracle", 0x8B0017F, "Login 'scott' failed", "", ADP_DB_ERROR, {ADP_LOGIN_NAME}, "login scott is", ""},
      {"oracle", 0x8B00182, "", "ORA-02289: sequence SEQ_CASE does not exist. More.", ADP_DB_ERROR,
       {ADP_SEQUENCE_NAME}, "sequence SEQ_CASE does not exist is", "ORA-02289"},
      {"oracle", 0x8B00183, "", "sequence", ADP_DB_ERROR, {ADP_SEQUENCE}, "sequence", ""},
      // Messages the dialects analyse without asking the server: Oracle's
      // names no index (no object type); SQL Server's names no known table.
      {"oracle", 0x8B0014F, "unique constraint violated", "unique key refused", DBS_NOT_UNIQUE,
       {ADP_DB_ERROR, ADP_NOT_UNIQUE}, "unique constraint violated", "ADP Error: ERR_ADP_NOT_UNIQUE"},
      {"oledb", 0x8B0014F, "Cannot insert duplicate key row",
       "Cannot insert duplicate key row in object 'table_contact' with unique index 'contact_objindex'.",
       ADP_NOT_UNIQUE_TEXT, {ADP_DB_ERROR, ADP_NOT_UNIQUE_TEXT}, "Cannot insert", "contact_objindex"},
      {"oledb", 0x8B00149, "x", "SQL1046N the login is not valid", ADP_PASSWD_FAIL, {ADP_DB_ERROR, ADP_PASSWD_FAIL},
       "x", "ADP Error: ERR_ADP_PASSWD_FAIL"},
      {"oledb", 0x8B00149, "x", "SQL1013N no such alias", ADP_NO_SUCH_SERVER, {ADP_DB_ERROR, ADP_NO_SUCH_SERVER}, "x",
       "ADP Error: ERR_ADP_NO_SUCH_SERVER db alias crmsrv"},
      {"oracle", 0x8B00149, "x", "SQL1046N on Oracle means nothing", ADP_DB_ERROR, {ADP_DB_ERROR}, "x", "SQL1046N"},
  };
  for (const map_row& r : rows) {
    SCOPED_TRACE(std::to_string(r.number) + " " + r.driver + " " + r.text2);
    KAdpProcessError::Reset();
    KAdpProcessError::SetServerLogFileName("server.log");
    std::remove("server.log");
    connect(r.driver, false);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(process(r.number, r.text1, r.text2), r.result);
    EXPECT_EQ(core_alert_codes(), r.alerts);
    ASSERT_FALSE(core_alert_texts().empty());
    EXPECT_NE(core_alert_texts()[0].find(r.alert_text), std::string::npos) << core_alert_texts()[0];
    EXPECT_NE(file_text("server.log").find(r.log), std::string::npos) << file_text("server.log");
    for (KAdpConnId* c : conns_) delete c;
    conns_.clear();
  }
}

TEST_F(AdpError, NotUniqueNamesTheTypeOrTheIndex) {
  // An object type's table: the type's name and the key's columns.
  adp_model model;
  model.add("contact", 12, {{516, 7}});
  ASSERT_NE(model.finish(12), nullptr);
  connect("oledb");
  ds_script::push_result(ds_script::result{{"field_names"}, {{ds_script::cell::t("first_name:last_name")}}});
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(KAdpProcessError::ProcessConvError(DBS_NOT_UNIQUE, "x",
                                               "duplicate key in object 'table_contact' with index 'contact_name'"),
            DBS_NOT_UNIQUE);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{DBS_NOT_UNIQUE});
  EXPECT_NE(core_top_alert_text().find("contact"), std::string::npos) << core_top_alert_text();
  EXPECT_NE(core_top_alert_text().find("first_name:last_name"), std::string::npos) << core_top_alert_text();
  // Any other table: the columns and the index.
  connect("oracle");
  ds_script::push_result(ds_script::result{{"table_name"}, {{ds_script::cell::t("ADP_TBL_OID")}}});
  ds_script::push_result(ds_script::result{{"column_name"}, {{ds_script::cell::t("type_id")}}});
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(KAdpProcessError::ProcessConvError(DBS_NOT_UNIQUE, "ORA-00001: unique constraint (SA.IDX_OID) violated",
                                               "x"),
            DBS_NOT_UNIQUE);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_NOT_UNIQUE});
  EXPECT_NE(core_top_alert_text().find("(type_id) of table IDX_OID"), std::string::npos) << core_top_alert_text();
}

TEST_F(AdpError, OtherCodesCarryTheirText) {
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(KAdpProcessError::ProcessConvError(0x600057, "the message", nullptr), 0x600057);
  EXPECT_EQ(KAdpProcessError::ProcessConvError(0x600003, nullptr, nullptr), 0x600003);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{0x600057, 0x600003}));
  EXPECT_NE(core_alert_texts()[0].find("the message"), std::string::npos);
  std::string log = file_text("server.log");
  EXPECT_NE(log.find("Error: No: 6291543 Description: the message\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Error: No: 6291459 \n"), std::string::npos) << log;
}

TEST_F(AdpError, ConvertedNumbers) {
  const std::pair<long, long> rows[] = {{0x8B00138, ADP_DB_ERROR}, {0x8B0013B, DBS_SERVER_CONNECTION_FAIL},
                                        {0x8B00134, ADP_SQL_NEXTROW_FAIL}, {0x8B0014E, DBS_DEADLOCK},
                                        {0x8B0014F, DBS_NOT_UNIQUE},     {0x8B000D7, ADP_DB_ERROR},
                                        {0x8B0017D, ADP_DB_ERROR},       {0, ADP_DB_ERROR}};
  for (auto [number, code] : rows) EXPECT_EQ(KAdpProcessError::GetConvErrNo(number), code) << number;
}

TEST_F(AdpError, ServerLogBetweenConnections) {
  // No log open: each entry opens "server.log" for appending and closes it.
  EXPECT_EQ(KAdpProcessError::AddToServerLog(nullptr, "%s", "one\n"), 0);
  EXPECT_FALSE(KAdpProcessError::IsServerLogOpen());
  EXPECT_EQ(KAdpProcessError::AddToServerLog(nullptr, "%s %ld\n", "two", 2L), 0);
  EXPECT_EQ(file_text("server.log"), "one\ntwo 2\n");
  // Open truncates; entries go to the open stream; after closing, appended.
  EXPECT_EQ(KAdpProcessError::OpenServerLogFile(), 0);
  EXPECT_TRUE(KAdpProcessError::IsServerLogOpen());
  KAdpProcessError::AddToServerLog(nullptr, "%s", "three\n");
  EXPECT_EQ(file_text("server.log"), "three\n");
  KAdpProcessError::CloseServerLogFile();
  KAdpProcessError::AddToServerLog(nullptr, "%s", "four\n");
  EXPECT_EQ(file_text("server.log"), "three\nfour\n");
  // A named file gets the entry alone.
  KAdpProcessError::AddToServerLog("other.log", "%ld-%ld", 1L, 2L);
  EXPECT_EQ(file_text("other.log"), "1-2");
  // A text with conversions is written as it is.
  KAdpProcessError::AddToServerLogWithHint("100%s %n done");
  EXPECT_NE(file_text("server.log").find(" Error Message:\n 100%s %n done"), std::string::npos);
}

TEST_F(AdpError, DbcacheIsJoinedBare) {
  osl_sys_set_config_string("dbcache", "cache_", 0);
  KAdpProcessError::AddToServerLog(nullptr, "%s", "entry\n");
  osl_sys_set_config_string("dbcache", "", 0);
  EXPECT_EQ(file_text("cache_server.log"), "entry\n");
  EXPECT_STREQ(KAdpProcessError::GetServerLogFileName(), "cache_server.log");
}

TEST_F(AdpError, LogNamesHaveNoFixedLimit) {
  std::string name(300, 'n');
  name += ".log";
  KAdpProcessError::SetServerLogFileName(name.c_str());
  EXPECT_EQ(std::string(KAdpProcessError::GetServerLogFileName()), name);
  char small[8];
  KAdpProcessError::GetServerLogFileName(small, sizeof small);
  EXPECT_STREQ(small, "nnnnnnn");
}

TEST_F(AdpError, SqlHintNamesTheLastStatement) {
  KAdpConnId* con = connect("oracle");
  KCLASSIC::tagPpmStats stats;
  con->ExecDmlStmt(&stats, "update table_case set x = 1", nullptr);
  KAdpProcessError::OpenServerLogFile();
  KAdpProcessError::AddToServerLogWithHint("first");
  KAdpProcessError::SetSqlHint(1);
  KAdpProcessError::AddToServerLogWithHint("second");
  KAdpProcessError::CloseServerLogFile();
  KAdpProcessError::AddToServerLogWithHint("third");  // no open log: no hint
  EXPECT_EQ(file_text("server.log"),
            "\n--------------\n Error Message:\n first"
            "\n--------------\n Error Message:\n second\n SQL Hint : \nupdate table_case set x = 1 \n"
            "\n--------------\n Error Message:\n third");
}

TEST_F(AdpError, WithoutTextTheTopAlertIsLogged) {
  cmn_alrt_push(nullptr, nullptr, ADP_SEQUENCE, 0);
  EXPECT_EQ(KAdpProcessError::AddToServerLogWithHint(nullptr), 0);
  EXPECT_NE(file_text("server.log").find("sequence is out of order"), std::string::npos) << file_text("server.log");
}

}  // namespace
