// The Oracle-dialect service on the shared MariaDB server, each test in a
// database of its own: connecting and the set-up objects, batches with bound values, blocks,
// transactions and savepoints, errors by number and text, procedures and
// dates, and a server that dies under a connection.
#include <gtest/gtest.h>

#include <cctype>

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "adapter/adp_err.h"
#include "adapter/adp_sql_log.h"
#include "adapter/ds_ora_fixture.h"
#include "testdb/testdb_server.h"

namespace {

constexpr long kDeadlock = 0x8B0014E;
constexpr long kNotUnique = 0x8B0014F;
constexpr long kLost = 0x8B0013B;
constexpr long kBadLogin = 0x8B00180;
constexpr long kNoServer = 0x8B00181;
constexpr long kOracle = 0x8B00149;

class OraService : public ds_ora_test {
 protected:
  // A fresh table t (objid, dev, name; unique index t_uk on name).
  void make_table() {
    exec("DROP TABLE IF EXISTS t");
    exec("CREATE TABLE t (objid NUMBER(10) NOT NULL, dev NUMBER(10), name VARCHAR2(80), "
         "CONSTRAINT t_pk PRIMARY KEY (objid)) INITRANS 2 STORAGE (INITIAL 10K)");
    exec("CREATE UNIQUE INDEX t_uk ON t (name)");
  }
  long count(const std::string& where = "") {
    auto r = query("SELECT COUNT(*) FROM t" + (where.empty() ? "" : " WHERE " + where));
    return std::stol(cell(*r, 0, 0));
  }
};

TEST_F(OraService, ConnectMakesTheDatabaseAndItsCompatibilityObjects) {
  auto r = query("SELECT DATABASE() FROM dual");
  EXPECT_EQ(cell(*r, 0, 0), db_.name());
  for (const char* view : {"user_indexes", "all_indexes", "orbisan_indexes", "user_ind_columns", "all_ind_columns",
                           "orbisan_ind_columns", "user_objects", "all_objects", "user_triggers", "user_tables",
                           "all_tables", "orbisan_tables", "user_tab_columns", "orbisan_tab_columns",
                           "user_sequences", "all_synonyms", "all_users"}) {
    ds_error e = error_of([&] { query(std::string("SELECT * FROM ") + view + " WHERE 1 = 0"); });
    EXPECT_EQ(e.number, 0) << view << ": " << e.text2;
  }
  make_table();
  r = query("SELECT table_name, name FROM user_tables WHERE table_name = 'T'");
  ASSERT_EQ(r->GetRows(), 1);
  EXPECT_EQ(cell(*r, 0, 1), "t");  // the name as stored, for statements on a case-sensitive server
  r = query("SELECT index_name, uniqueness FROM user_indexes WHERE table_name = 'T' ORDER BY index_name");
  ASSERT_EQ(r->GetRows(), 2);
  EXPECT_EQ(cell(*r, 1, 0), "T_UK");
  EXPECT_EQ(cell(*r, 1, 1), "UNIQUE");
  r = query("SELECT column_name FROM user_tab_columns WHERE table_name = 'T' ORDER BY column_id");
  ASSERT_EQ(r->GetRows(), 3);
  EXPECT_EQ(cell(*r, 2, 0), "NAME");
  r = query("SELECT to_date('02/03/2026 04:05:06', 'MM/DD/YYYY HH24:MI:SS'), empty_clob() FROM dual");
  EXPECT_EQ(cell(*r, 0, 0), "02/03/2026 04:05:06");
  EXPECT_EQ(cell(*r, 0, 1), "");
  ds_error bad = error_of([&] { query("SELECT to_date('13/45/2026', 'MM/DD/YYYY') FROM dual"); });
  EXPECT_EQ(bad.number, kOracle);
  EXPECT_EQ(bad.text1, "ORA-01843: not a valid month");
  ds_error raised = error_of([&] { exec("BEGIN raise_application_error(-20001, 'no such contact'); END;"); });
  EXPECT_EQ(raised.number, kOracle);
  EXPECT_EQ(raised.text1, "ORA-20001: no such contact");
}

TEST_F(OraService, TheSetUpScriptRunsAgainWithoutHarm) {
  std::ifstream in(std::string(getenv("ORBISAN_SOURCE_DIR") ? getenv("ORBISAN_SOURCE_DIR") : ".") +
                   "/platform/dataservice/ora/ora_setup.sql");
  ASSERT_TRUE(in.good());
  std::stringstream all;
  all << in.rdbuf();
  std::string script = all.str(), stmt, line;
  std::istringstream lines(script);
  int ran = 0;
  while (std::getline(lines, line)) {
    if (line != "/") {
      if (line.rfind("--", 0) != 0) stmt += line + "\n";
      continue;
    }
    ds_error e = error_of([&] { exec(stmt); });
    EXPECT_EQ(e.number, 0) << stmt << e.text2;
    stmt.clear();
    ++ran;
  }
  EXPECT_GT(ran, 10);
  auto r = query("SELECT to_date('12/31/1999 23:59:58', 'MM/DD/YYYY HH24:MI:SS') FROM dual");
  EXPECT_EQ(cell(*r, 0, 0), "12/31/1999 23:59:58");
}

TEST_F(OraService, BoundValuesRoundTripWithEmptyTextsAsNull) {
  make_table();
  exec("ALTER TABLE t ADD (born DATE, photo BLOB, note VARCHAR2(20) DEFAULT EMPTY_CLOB())");
  const std::string bytes("\x00\x01\xAB\xFF'", 5);
  EXPECT_EQ(run({"INSERT INTO t (objid, dev, name, born, photo, note) VALUES (:B0, :B1, :B2, "
                 " TO_DATE( :B3, 'MM/DD/YYYY HH24:MI:SS') , :B4, :B5)",
                 {{":B0", "1", 0}, {":B1", "7", 0}, {":B2", "O'Brien; DROP TABLE t"}, {":B3", "12/09/2026 08:30:00", 9},
                  {"b:B4", bytes, 16}, {":B5", ""}}}),
            1);
  EXPECT_EQ(run({"INSERT INTO t (objid, dev, name, note) VALUES (:B0, 1, '', '')", {{":B0", "2", 0}}}), 1);
  auto r = query("SELECT objid, dev, name, born, photo, note FROM t ORDER BY objid");
  ASSERT_EQ(r->GetRows(), 2);
  EXPECT_EQ(r->GetColCellType(0), KCLASSIC::UTL_CELL_LONG);
  EXPECT_EQ(cell(*r, 0, 0), "1");
  EXPECT_EQ(cell(*r, 0, 1), "7");
  EXPECT_EQ(cell(*r, 0, 2), "O'Brien; DROP TABLE t");
  EXPECT_EQ(cell(*r, 0, 3), "12/09/2026 08:30:00");
  EXPECT_EQ(cell(*r, 0, 4), "0001ABFF27");
  EXPECT_EQ(count("note IS NULL"), 2);
  EXPECT_EQ(count("name IS NULL"), 1);
}

TEST_F(OraService, TextIsUtf8UnderTheFlagElseLatin1) {
  make_table();
  KCLASSIC::tagPpmDataSvc* latin = open_connected(false);
  ASSERT_NE(latin, nullptr);
  EXPECT_EQ(run({"INSERT INTO t (objid, name) VALUES (1, :B0)", {{":B0", "\xE9t\xE9 1"}}}, latin), 1);
  EXPECT_EQ(run({"INSERT INTO t (objid, name) VALUES (2, :B0)", {{":B0", "\xC3\xA9t\xC3\xA9 2"}}}), 1);
  auto utf8 = query("SELECT name FROM t ORDER BY objid");
  EXPECT_EQ(cell(*utf8, 0, 0), "\xC3\xA9t\xC3\xA9 1");
  EXPECT_EQ(cell(*utf8, 1, 0), "\xC3\xA9t\xC3\xA9 2");
  auto l1 = query("SELECT name FROM t ORDER BY objid", latin);
  EXPECT_EQ(cell(*l1, 1, 0), "\xE9t\xE9 2");
}

TEST_F(OraService, RoundTripsAndTransactionsAreTracedIntoTheSqlLog) {
  make_table();
  FILE* log = std::fopen("sql.log", "w");
  ASSERT_NE(log, nullptr);
  adp_sql_log_sql(log);
  svc_->BeginTransaction();
  run({"INSERT INTO t (objid, name) VALUES (:B0, :B1)", {{":B0", "1", 0}, {":B1", "x"}}});
  svc_->EndTransaction(1, 0);
  adp_sql_log_sql(nullptr);
  std::fclose(log);
  EXPECT_EQ(file_text("sql.log"),
            "--*** Begin Transaction ***\n"
            "----------BEGIN ROUND TRIP----------\nINSERT INTO t (objid, name) VALUES (:B0, :B1)\n\n"
            "----Bind Variables: :B0 = 1\n"
            "----Bind Variables: :B1 = x\n"
            "----INSERT INTO t (objid, name) VALUES (:B0, :B1)\n----------END ROUND TRIP----------\n\n"
            "--*** Commit Transaction ***\n");
}

TEST_F(OraService, ManyRowsComeBackInOneMove) {
  make_table();
  svc_->BeginTransaction();
  for (int i = 1; i <= 700; ++i) {
    ASSERT_EQ(run({"INSERT INTO t (objid, dev, name) VALUES (:B0, :B1, :B2)",
                   {{":B0", std::to_string(i), 0}, {":B1", "1", 0}, {":B2", "n" + std::to_string(i)}}}),
              1);
  }
  svc_->EndTransaction(1, 0);
  start_batch({{"SELECT objid, name FROM t WHERE objid > :B0 ORDER BY objid", {{":B0", "100", 0}}}});
  EXPECT_EQ(fetch(), 600);
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, "objid", 0);
  rec.SetColType(1, 0, "name", 6);
  svc_->SetBindInfo(rec);
  svc_->MoveRowset(rec, 0, 0);
  ASSERT_EQ(rec.GetRows(), 600);
  EXPECT_EQ(rec.GetLongVal(599, 0), 700);
  EXPECT_EQ(cell(rec, 0, 1), "n101");
  EXPECT_EQ(fetch(), -1);  // no further statement
}

// Numbers reach long cells whole; an undeclared integer column wider than
// 32 bits comes as text; a declared long column refuses a value beyond 32
// bits.
TEST_F(OraService, NumbersFillLongCellsWithinThirtyTwoBits) {
  auto undeclared = query("SELECT 7 AS a, -2147483647 AS b, 2147483648 AS c, -2147483648 AS d, 12.5 AS e FROM dual");
  const struct {
    long col;
    long cell_type;
    std::string text;
  } columns[] = {{0, KCLASSIC::UTL_CELL_LONG, "7"},
                 {1, KCLASSIC::UTL_CELL_LONG, "-2147483647"},
                 {2, KCLASSIC::UTL_CELL_STRING, "2147483648"},
                 {3, KCLASSIC::UTL_CELL_STRING, "-2147483648"},
                 {4, KCLASSIC::UTL_CELL_STRING, "12.5"}};
  for (const auto& c : columns) {
    EXPECT_EQ(undeclared->GetColCellType(c.col), c.cell_type) << c.text;
    if (c.cell_type == KCLASSIC::UTL_CELL_LONG) EXPECT_EQ(std::to_string(undeclared->GetLongVal(0, c.col)), c.text);
    else EXPECT_EQ(cell(*undeclared, 0, c.col), c.text);
  }
  const struct {
    const char* value;
    long expected;  // -1: refused
  } values[] = {{"42", 42},        {"-2147483647", -2147483647L}, {"'0012'", 12}, {"12.75", 12},
                {"2147483648", -1}, {"-2147483648", -1},          {"'abc'", -1}};
  for (const auto& v : values) {
    start_batch({{std::string("SELECT ") + v.value + " AS v FROM dual", {}}});
    ASSERT_EQ(fetch(), 1) << v.value;
    KAdpUtlRecord rec;
    rec.SetColType(0, 0, "v", 0);
    svc_->SetBindInfo(rec);
    ds_error e = error_of([&] { svc_->MoveRowset(rec, 0, 0); });
    if (v.expected == -1) {
      EXPECT_NE(e.number, 0) << v.value;
      continue;
    }
    EXPECT_EQ(e.number, 0) << v.value << " " << e.text1;
    ASSERT_EQ(rec.GetRows(), 1) << v.value;
    EXPECT_EQ(rec.GetLongVal(0, 0), v.expected) << v.value;
  }
}

TEST_F(OraService, BatchesRunOneStatementPerFetchAndFailThere) {
  make_table();
  start_batch({{"INSERT INTO t (objid, name) VALUES (:B0, 'a')", {{":B0", "1", 0}}},
               {"", {}},
               {"SELEC nonsense", {}},
               {"UPDATE t SET dev = :B0", {{":B0", "3", 0}}}});
  EXPECT_EQ(fetch(), 1);
  ds_error e = error_of([&] { fetch(); });  // the empty statement is passed over
  EXPECT_EQ(e.number, kOracle);
  EXPECT_NE(e.text2.find("1064"), std::string::npos) << e.text2;
  EXPECT_EQ(fetch(), 1);
  EXPECT_EQ(count("dev = 3"), 1);
}

TEST_F(OraService, AStaleStampUpdatesNoRow) {
  make_table();
  exec("INSERT INTO t (objid, dev, name) VALUES (1, 5, 'a')");
  const char* sql = "UPDATE t SET dev = dev + 1 WHERE objid = :B0 AND dev = :B1";
  EXPECT_EQ(run({sql, {{":B0", "1", 0}, {":B1", "4", 0}}}), 0);
  EXPECT_EQ(run({sql, {{":B0", "1", 0}, {":B1", "5", 0}}}), 1);
  EXPECT_EQ(count("dev = 6"), 1);
}

TEST_F(OraService, TwoStatementsRunAsOneBlockWithTheirBinds) {
  make_table();
  EXPECT_NO_THROW(run({"INSERT INTO t (objid, name) VALUES (:B0, :B1); UPDATE t SET dev = :B2 WHERE objid = :B0",
                       {{":B0", "4", 0}, {":B1", "four"}, {":B2", "9", 0}}}));
  EXPECT_EQ(count("objid = 4 AND dev = 9 AND name = 'four'"), 1);
}

TEST_F(OraService, AFailedBlockLeavesNothingBehind) {
  make_table();
  exec("INSERT INTO t (objid, name) VALUES (1, 'taken')");
  const ds_stmt block{"INSERT INTO t (objid, name) VALUES (2, 'new'); INSERT INTO t (objid, name) VALUES (3, :B0)",
                      {{":B0", "taken"}}};
  // Outside a transaction: its own transaction.
  EXPECT_EQ(error_of([&] { run(block); }).number, kNotUnique);
  EXPECT_EQ(count(), 1);
  // Inside one: back to the block's savepoint, the work before it stays.
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid, name) VALUES (5, 'before')");
  EXPECT_EQ(error_of([&] { run(block); }).number, kNotUnique);
  svc_->EndTransaction(1, 0);
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(count("objid = 2"), 0);
}

TEST_F(OraService, TransactionsCommitOrRollBackAndSavepointsWork) {
  make_table();
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid, name) VALUES (1, 'a')");
  svc_->EndTransaction(0, 0);
  EXPECT_EQ(count(), 0);
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid, name) VALUES (1, 'a')");
  exec("SAVEPOINT s1");
  exec("INSERT INTO t (objid, name) VALUES (2, 'b')");
  exec("ROLLBACK TO SAVEPOINT s1");
  svc_->EndTransaction(1, 0);
  EXPECT_EQ(count(), 1);
  // A savepoint outside a transaction opens one, which a ROLLBACK ends.
  exec("SAVEPOINT s2");
  exec("INSERT INTO t (objid, name) VALUES (3, 'c')");
  exec("ROLLBACK");
  EXPECT_EQ(count(), 1);
  // DDL commits on the server; what follows it stays in a transaction.
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid, name) VALUES (7, 'g')");
  exec("CREATE TABLE IF NOT EXISTS t_side (a NUMBER(10))");
  exec("INSERT INTO t (objid, name) VALUES (8, 'h')");
  svc_->EndTransaction(0, 0);
  EXPECT_EQ(count("objid = 7"), 1);  // committed by the DDL
  EXPECT_EQ(count("objid = 8"), 0);
  exec("DELETE t WHERE objid = 7");
  // Outside a transaction each statement commits at once.
  exec("INSERT INTO t (objid, name) VALUES (4, 'd')");
  KCLASSIC::tagPpmDataSvc* other = open_connected();
  ASSERT_NE(other, nullptr);
  auto r = query("SELECT COUNT(*) FROM t", other);
  EXPECT_EQ(cell(*r, 0, 0), "2");
}

TEST_F(OraService, ADuplicateKeyReadsAsOracleAndMapsToNotUnique) {
  make_table();
  exec("INSERT INTO t (objid, name) VALUES (1, 'a')");
  ds_error e = error_of([&] { run({"INSERT INTO t (objid, name) VALUES (:B0, :B1)", {{":B0", "2", 0}, {":B1", "a"}}}); });
  EXPECT_EQ(e.number, kNotUnique);
  // The index's owner is the database.
  std::string owner = database_;
  for (char& c : owner) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(e.text1, "ORA-00001: unique constraint (" + owner + ".T_UK) violated");
  EXPECT_EQ(e.text2, e.text1);
  // Through the adapter's connection: the alert of a violated key.
  KAdpConnId* con = connect("oracle", false);
  con->GetConfig().SetPOrbDllName(4, ds_ora_dll().c_str());
  point_at(con->GetConfig(), socket_);
  ASSERT_EQ(con->LoadDataService(), 0);
  ASSERT_EQ(con->Connect("root", "", nullptr), 0);
  long rows = 0;
  EXPECT_EQ(con->ExecDmlStmt(nullptr, "INSERT INTO t (objid, name) VALUES (3, 'a')", &rows), 0x70002C);
  EXPECT_EQ(count(), 1);
}

TEST_F(OraService, TwoConnectionsInADeadlockOneIsChosen) {
  make_table();
  exec("INSERT INTO t (objid, dev, name) VALUES (1, 0, 'a')");
  exec("INSERT INTO t (objid, dev, name) VALUES (2, 0, 'b')");
  KCLASSIC::tagPpmDataSvc* other = open_connected();
  ASSERT_NE(other, nullptr);
  svc_->BeginTransaction();
  other->BeginTransaction();
  exec("UPDATE t SET dev = 1 WHERE objid = 1");
  exec("UPDATE t SET dev = 2 WHERE objid = 2", other);
  ds_error first;
  std::thread waiting([&] { first = error_of([&] { exec("UPDATE t SET dev = 1 WHERE objid = 2"); }); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ds_error second = error_of([&] { exec("UPDATE t SET dev = 2 WHERE objid = 1", other); });
  waiting.join();
  EXPECT_TRUE((first.number == kDeadlock) != (second.number == kDeadlock))
      << first.number << " " << second.number << " " << first.text2 << second.text2;
  EXPECT_EQ(first.number + second.number, kDeadlock);
  svc_->EndTransaction(0, 0);
  other->EndTransaction(0, 0);
  EXPECT_EQ(count("dev = 0"), 2);
}

TEST_F(OraService, ProceduresAnswerWithTheirOutValues) {
  exec("CREATE OR REPLACE PROCEDURE twice(a IN NUMBER, b OUT NUMBER, c OUT VARCHAR2) AS BEGIN b := a * 2; "
       "c := 'done'; END;");
  EXPECT_EQ(run({"begin twice(:B0, :B1, :B2); end;", {{":B0", "21", 0}, {":B1", "", 0}, {":B2", ""}}}), 1);
  KAdpUtlRecord rec;
  svc_->MoveRowset(rec, 0, 0);
  ASSERT_EQ(rec.GetRows(), 1);
  EXPECT_EQ(cell(rec, 0, 0), "42");
  EXPECT_EQ(cell(rec, 0, 1), "done");
  // ExecProc: row 0 holds the arguments, the OUT values come back into it.
  KAdpUtlRecord params;
  params.SetColType(0, 0, "a", 6);
  params.SetColType(1, 0, "b", 6);
  params.SetColType(2, 0, "c", 6);
  params.SetString(0, 0, "5");
  EXPECT_NO_THROW(svc_->ExecProc(params, KCLASSIC::KZString("twice"), 0));
  EXPECT_EQ(cell(params, 0, 1), "10");
  EXPECT_EQ(cell(params, 0, 2), "done");
  // SELECT dev INTO dev reads the column, and no row raises ORA-01403.
  make_table();
  exec("INSERT INTO t (objid, dev, name) VALUES (1, 33, 'a')");
  exec("CREATE OR REPLACE PROCEDURE getdev(id IN NUMBER, res OUT NUMBER) AS dev NUMBER; BEGIN "
       "SELECT dev INTO dev FROM t WHERE objid = id; res := dev; END;");
  EXPECT_EQ(run({"begin getdev(:B0, :B1); end;", {{":B0", "1", 0}, {":B1", "", 0}}}), 1);
  rec.RemoveAll();
  svc_->MoveRowset(rec, 0, 0);
  EXPECT_EQ(cell(rec, 0, 0), "33");
  ds_error none = error_of([&] { run({"begin getdev(:B0, :B1); end;", {{":B0", "9", 0}, {":B1", "", 0}}}); });
  EXPECT_EQ(none.text1, "ORA-01403: no data found");
}

TEST_F(OraService, DatesComeFromSysdateInTheOracleForm) {
  double now = svc_->GetServerTime();
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  double mine = 25569.0 + static_cast<double>(t + local.tm_gmtoff) / 86400.0;
  EXPECT_NEAR(now, mine, 120.0 / 86400.0);
  auto r = query("SELECT TIMESTAMPDIFF(SECOND, sysdate - 1.5, sysdate), TIMESTAMPDIFF(SECOND, sysdate, sysdate+2) "
                 "FROM dual");
  EXPECT_EQ(cell(*r, 0, 0), "129600");
  EXPECT_EQ(cell(*r, 0, 1), "172800");
  // The relative-date forms of the power queries: tomorrow at noon, and an
  // hour ago cut to the minute.
  r = query("SELECT ((sysdate+1.000000)-((sysdate+ 1.000000)-(to_date(to_char((sysdate + 1.000000),'DD/MM/YYYY'),"
            "'DD/MM/YYYY')))+ 0.500000), DATE_FORMAT(CURDATE() + INTERVAL 1 DAY, '%m/%d/%Y 12:00:00'), "
            "TIMESTAMPDIFF(MINUTE, TO_DATE(TO_CHAR((sysdate - (0.041667)), 'DD/MON/YYYYHH24:MI'), "
            "'DD/MON/YYYYHH24:MI'), sysdate) FROM dual");
  EXPECT_EQ(cell(*r, 0, 0), cell(*r, 0, 1));
  EXPECT_EQ(cell(*r, 0, 2), "60");
}

TEST_F(OraService, RewrittenStatementsRunOnTheServer) {
  make_table();
  const char* ok[] = {
      "CREATE PUBLIC SYNONYM t FOR sa.t",
      "ALTER SESSION SET NLS_DATE_FORMAT = 'MM/DD/YYYY'",
      "ALTER TABLE t ADD (sql VARCHAR2(200), memo VARCHAR2(10) DEFAULT EMPTY_CLOB())",
      "INSERT INTO t (objid, name, sql) VALUES (1, 'a', 'select 1')",
      "DROP TABLE IF EXISTS t2",
      "RENAME t TO t2",
      "DELETE t2 WHERE objid = 1",
  };
  for (const char* s : ok) {
    ds_error e = error_of([&] { exec(s); });
    EXPECT_EQ(e.number, 0) << s << ": " << e.text2;
  }
  auto r = query("SELECT COUNT(*) FROM t2");
  EXPECT_EQ(cell(*r, 0, 0), "0");
  // Nullability changes keep each column's type and default.
  exec("ALTER TABLE t2 ADD (code VARCHAR2(12) DEFAULT 'x' NOT NULL)");
  exec("ALTER TABLE t2 MODIFY (code NULL, dev NOT NULL)");
  r = query("SELECT column_name, data_type, data_length, nullable FROM user_tab_columns "
            "WHERE table_name = 'T2' AND column_name IN ('CODE', 'DEV') ORDER BY column_name");
  ASSERT_EQ(r->GetRows(), 2);
  EXPECT_EQ(cell(*r, 0, 1), "VARCHAR2");
  EXPECT_EQ(cell(*r, 0, 2), "12");
  EXPECT_EQ(cell(*r, 0, 3), "Y");
  EXPECT_EQ(cell(*r, 1, 3), "N");
  exec("INSERT INTO t2 (objid, dev) VALUES (9, 1)");
  r = query("SELECT code FROM t2 WHERE objid = 9");
  EXPECT_EQ(cell(*r, 0, 0), "x");
  EXPECT_EQ(error_of([&] { exec("ALTER TABLE t2 MODIFY (nosuch NULL)"); }).number, kOracle);
  // Outer-join marks become a LEFT JOIN.
  exec("DROP TABLE IF EXISTS t3");
  exec("CREATE TABLE t3 (objid NUMBER(10), t2_id NUMBER(10))");
  exec("INSERT INTO t3 (objid, t2_id) VALUES (1, 9)");
  exec("INSERT INTO t3 (objid, t2_id) VALUES (2, 77)");
  r = query("SELECT t3.objid, t2.code FROM t3, t2 WHERE t3.t2_id = t2.objid (+) ORDER BY t3.objid");
  ASSERT_EQ(r->GetRows(), 2);
  EXPECT_EQ(cell(*r, 0, 1), "x");
  EXPECT_EQ(cell(*r, 1, 1), "<null>");
  // A statement no rule fits comes back with the server's error.
  ds_error e = error_of([&] { query("SELECT t3.objid FROM t3, t2 WHERE t3.objid = 1 OR t3.t2_id = t2.objid (+)"); });
  EXPECT_EQ(e.number, kOracle);
}

TEST_F(OraService, TriggersReadBackWholeAndRunAgainAsTheyStand) {
  make_table();
  exec("DROP TABLE IF EXISTS t_log");
  exec("CREATE TABLE t_log (note VARCHAR2(4000))");
  // A body longer than 8,000 characters, holding "%" and a %ROWTYPE variable.
  const std::string filler(8200, 'x');
  const std::string body = "DECLARE\n  r t%ROWTYPE;\n  pad CLOB;\nBEGIN\n  r.name := :NEW.name;\n"
                           "  IF r.name LIKE '%pct%' THEN\n    INSERT INTO t_log (note) VALUES ('100%');\n  END IF;\n"
                           "  pad := '" + filler + "';\nEND";
  auto must = [&](const std::string& sql) {
    ds_error e = error_of([&] { exec(sql); });
    EXPECT_EQ(e.number, 0) << sql.substr(0, 200) << ": " << e.text1 << e.text2;
  };
  must("CREATE OR REPLACE TRIGGER t_note\nBEFORE INSERT ON t\nFOR EACH ROW\n" + body);
  auto r = query("SELECT trigger_name, description, trigger_body FROM user_triggers WHERE table_name = upper('T')");
  ASSERT_EQ(r->GetRows(), 1);
  EXPECT_EQ(cell(*r, 0, 0), "T_NOTE");
  const std::string description = cell(*r, 0, 1);
  EXPECT_EQ(description, "t_note\nBEFORE INSERT ON t\nFOR EACH ROW\n");
  EXPECT_EQ(cell(*r, 0, 2), body);
  // The statement the adapter makes of a row re-creates the trigger.
  must("DROP TRIGGER t_note");
  must("create or replace trigger " + description + "\n" + cell(*r, 0, 2));
  must("INSERT INTO t (objid, name) VALUES (1, 'a pct b')");
  auto logged = query("SELECT note FROM t_log");
  ASSERT_EQ(logged->GetRows(), 1);
  EXPECT_EQ(cell(*logged, 0, 0), "100%");
  EXPECT_EQ(query("SELECT description FROM user_triggers WHERE table_name = 'T'")->GetRows(), 1);
}

TEST_F(OraService, LoginFailuresHaveTheirNumbers) {
  KCLASSIC::tagPpmDataSvc* s = open(socket_);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(error_of([&] { s->Connect("nobody", "wrong", nullptr); }).number, kBadLogin);
  KCLASSIC::tagPpmDataSvc* none = open("/nonexistent/orb.sock");
  ASSERT_NE(none, nullptr);
  ds_error e = error_of([&] { none->Connect("root", "", nullptr); });
  EXPECT_EQ(e.number, kNoServer);
  EXPECT_EQ(error_of([&] { none->ExecStatement(nullptr, "SELECT 1 FROM dual", nullptr); }).number, kLost);
  // The service that failed can still connect.
  EXPECT_EQ(error_of([&] { s->Connect("root", "", nullptr); }).number, 0);
}

// Without a database name the service works in sa, and makes it when it is
// missing; a name is a quoted identifier. On a server of the test's own: sa
// on the shared server would be every program's.
TEST_F(OraService, WithoutADatabaseNameTheServiceUsesSa) {
  testdb::private_server own;
  ASSERT_TRUE(own.start()) << own.problem();
  for (const char* name : {"", "odd`name"}) {
    database_ = name;
    KCLASSIC::tagPpmDataSvc* s = open(own.socket());
    ASSERT_NE(s, nullptr);
    ds_error e = error_of([&] { s->Connect("root", "", nullptr); });
    ASSERT_EQ(e.number, 0) << e.text1 << " " << e.text2;
    auto r = query("SELECT DATABASE() FROM dual", s);
    EXPECT_EQ(cell(*r, 0, 0), *name ? name : "sa");
    r = query("SELECT COUNT(*) FROM user_tables", s);
    EXPECT_EQ(cell(*r, 0, 0), "0");
  }
}

// The test's own server is killed under its connections and started again.
TEST_F(OraService, AKilledServerIsALostConnectionAndTheNextConnectWorks) {
  testdb::private_server own;
  ASSERT_TRUE(own.start()) << own.problem();
  socket_ = own.socket();
  svc_ = open_connected();
  ASSERT_NE(svc_, nullptr);
  make_table();
  KAdpConnId* con = connect("oracle", false);
  KAdpConfig& cfg = con->GetConfig();
  cfg.SetPOrbDllName(4, ds_ora_dll().c_str());
  point_at(cfg, socket_);
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(3), "root");
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(4), "");
  ASSERT_EQ(con->LoadDataService(), 0);
  ASSERT_EQ(con->Connect("root", "", nullptr), 0);
  own.kill();
  long rows = 0;
  EXPECT_EQ(con->ExecDmlStmt(nullptr, "DELETE t", &rows), 0x70002E);
  ds_error e = error_of([&] { exec("INSERT INTO t (objid, name) VALUES (1, 'a')"); });
  EXPECT_EQ(e.number, kLost) << e.text2;
  EXPECT_EQ(error_of([&] { exec("SELECT 1 FROM dual"); }).number, kLost);
  ASSERT_TRUE(own.restart()) << own.problem();
  socket_ = own.socket();
  KCLASSIC::tagPpmDataSvc* again = open_connected();
  ASSERT_NE(again, nullptr);
  auto r = query("SELECT COUNT(*) FROM user_tables", again);
  EXPECT_EQ(r->GetRows(), 1);
  // The adapter's connection makes a new service and logs in again.
  point_at(cfg, socket_);
  EXPECT_EQ(con->Release(), 0);
  EXPECT_EQ(con->ReConnect(), 0);
  EXPECT_EQ(con->ExecDmlStmt(nullptr, "CREATE TABLE t4 (a NUMBER(10))", &rows), 0);
  EXPECT_EQ(con->ExecDmlStmt(nullptr, "INSERT INTO t4 VALUES (1)", &rows), 0);
  EXPECT_EQ(rows, 1);
}

}  // namespace
