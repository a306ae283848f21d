// The SQL batch through the scripted service: golden statement texts of both
// dialects (markers, literals, TO_DATE, the id query), annotations, frozen
// appends, rows, DDL and DML batches.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "core/utl/utl_col.h"
#include "kclassic/kc_bstr.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

class AdpBatch : public adp_test {
 protected:
  KAdpSqlBatch* batch(KAdpConnId* con) { return con->GetSqlBatch(1); }
  void binding(KAdpConnId* con, char on) {
    con->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(9), on);
  }
  // Statements the service received, in order.
  static std::vector<std::string> statements() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls()) {
      if (c.rfind("Statement ", 0) == 0) out.push_back(c.substr(10));
    }
    return out;
  }
  static long level() {
    long n = 0;
    adp_trn_appl_level(&n);
    return n;
  }
};

TEST_F(AdpBatch, ParameterAndColumnConstructors) {
  float f = 1;
  double d = 2;
  cmn_ty_decimal dec{};
  clktime t{};
  const char* s = "x";
  const char* bytes = "raw";
  void* vp = &f;
  struct {
    KAdpBindParam p;
    long type;
    intptr_t value;
    char upper, by_ref;
  } params[] = {
      {KAdpBindParam(5L), 512, 5, 0, 0},
      {KAdpBindParam(&vp), 512, reinterpret_cast<intptr_t>(&vp), 0, 0},
      {KAdpBindParam(short{-3}), 513, -3, 0, 0},
      {KAdpBindParam(f), 514, reinterpret_cast<intptr_t>(&f), 0, 0},
      {KAdpBindParam(d), 613, reinterpret_cast<intptr_t>(&d), 0, 0},
      {KAdpBindParam(dec), 766, reinterpret_cast<intptr_t>(&dec), 0, 0},
      {KAdpBindParam(t), 609, reinterpret_cast<intptr_t>(&t), 0, 0},
      {KAdpBindParam(s, 1, 1), 516, reinterpret_cast<intptr_t>(s), 1, 1},
      {KAdpBindParam(&bytes), 615, reinterpret_cast<intptr_t>(bytes), 0, 0},
  };
  for (const auto& c : params) {
    EXPECT_EQ(c.p.m_nType, c.type);
    EXPECT_EQ(c.p.m_Value, c.value) << c.type;
    EXPECT_EQ(c.p.m_bUpper, c.upper);
    EXPECT_EQ(c.p.m_bByRef, c.by_ref);
  }
  EXPECT_EQ(KAdpBindParam(std::string(4000, 'a').c_str()).IsOCILargeString(), 0);
  std::string large(4001, 'a');
  EXPECT_EQ(KAdpBindParam(large.c_str()).IsOCILargeString(), 1);
  EXPECT_EQ(KAdpBindParam(7L).IsOCILargeString(), 0);

  long l = 0;
  char buf[4];
  char* text = nullptr;
  char* bin = nullptr;
  struct {
    KAdpBindCol c;
    void* data;
    long sql_type, type;
    char flag;
  } cols[] = {
      {KAdpBindCol(static_cast<void*>(&l), 11), &l, 11, 0, 0},
      {KAdpBindCol(l), &l, 0, 0, 0},
      {KAdpBindCol(buf, sizeof buf, 1), buf, 8, 0, 1},
      {KAdpBindCol(buf, sizeof buf), buf, 6, 0, 0},
      {KAdpBindCol(&text, 1), &text, 6, 1, 1},
      {KAdpBindCol(f), &f, 3, 0, 0},
      {KAdpBindCol(d), &d, 4, 0, 0},
      {KAdpBindCol(dec), &dec, 6, 766, 0},
      {KAdpBindCol(t), &t, 6, 609, 0},
      {KAdpBindCol('x', &bin), &bin, 16, 615, 0},
  };
  for (const auto& c : cols) {
    KAdpBindCol copy(c.c);
    EXPECT_EQ(copy.m_pData, c.data);
    EXPECT_EQ(copy.m_nSqlType, c.sql_type);
    EXPECT_EQ(copy.m_nType, c.type);
    EXPECT_EQ(copy.m_bFlag, c.flag);
  }
}

TEST_F(AdpBatch, IdsOfTheResultIntoACollection) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"objid"}, {{cell::l(3)}, {cell::l(0)}, {cell::l(9)}}});
  KAdpSqlBatch* b = batch(con);
  EXPECT_EQ(b->SetCid(), 0);
  EXPECT_EQ(b->GetCid(), con);
  long id = 0;
  *b << "select objid from t" << KAdpBindCol(id) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  ASSERT_EQ(b->GetNextRow(), 1);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 512, 4, 4, 0, 0, &col), 0);
  ASSERT_EQ(b->GetObjectIdCollection(col, 0), 0);
  long n = 0;
  utl_col_num(col, &n);
  EXPECT_EQ(n, 2);
  utl_col_free(nullptr, col);
}

TEST_F(AdpBatch, MarkersCountPerStatementInBothDialects) {
  struct {
    const char* driver;
    const char* first;
    const char* second;
  } cases[] = {
      {"oracle", "select a from t where x = :B0 and y = :B1", "update t set b = :B0"},
      {"oledb", "select a from t where x = @V0 and y = @V1", "update t set b = @V0"},
  };
  for (const auto& c : cases) {
    KAdpConnId* con = connect(c.driver);
    KAdpSqlBatch* b = batch(con);
    *b << "select a from t where x = " << KAdpBindParam(5L) << " and y = " << KAdpBindParam("O'Brien")
       << KAdpSqlBatch::kEndStmt << "update t set b = " << KAdpBindParam(short{7}) << KAdpSqlBatch::kEndStmt;
    EXPECT_EQ(b->GetStatus(), 0);
    EXPECT_STREQ(b->GetStmt(0), c.first) << c.driver;
    EXPECT_STREQ(b->GetStmt(1), c.second) << c.driver;
    // Each statement's variables: marker, value text, record SQL type.
    KAdpUtlRecord vars;
    ASSERT_EQ(b->GetStmtBindVars().GetRecord(0, 0, vars, 0), 0);
    ASSERT_EQ(vars.GetRows(), 2);
    const char* text = nullptr;
    vars.GetStringPtr(1, 0, text);
    EXPECT_STREQ(text, std::string(c.first).substr(std::strlen(c.first) - 3).c_str());
    EXPECT_STREQ(static_cast<const char*>(vars.KUtlRecord::GetString(1, KAdpSqlBatch::COL_BV_BUFFER)), "O'Brien");
    EXPECT_EQ(vars.GetLongVal(0, 3), 0);
    EXPECT_EQ(vars.GetLongVal(1, 3), 6);
    delete con;
    conns_.clear();
  }
}

TEST_F(AdpBatch, BoundClockTimeOnOracleIsWrappedInToDate) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  clktime t{};
  ASSERT_EQ(adp_time_str_to_clk("03/04/2001 05:06:07", &t), 0);
  *b << "select a from t where d > " << KAdpBindParam(t);
  EXPECT_STREQ(b->GetCurrentStmt(), "select a from t where d >  TO_DATE( :B0, 'MM/DD/YYYY HH24:MI:SS') ");
  EXPECT_STREQ(b->GetBindVars().KUtlRecord::GetString(0, KAdpSqlBatch::COL_BV_BUFFER), "03/04/2001 05:06:07");
  EXPECT_EQ(b->GetBindVars().GetLongVal(0, 3), 9);
  // Without binding the clock time is a literal in the same call.
  binding(con, 0);
  b = batch(con);
  *b << "d = " << KAdpBindParam(t);
  EXPECT_STREQ(b->GetCurrentStmt(), "d =  TO_DATE( '03/04/2001 05:06:07', 'MM/DD/YYYY HH24:MI:SS') ");
}

TEST_F(AdpBatch, LiteralsWithBindingOff) {
  std::string s4000(4000, 'x'), s4001(4001, 'x');
  double dv = 2.25;
  cmn_ty_decimal dec{"12.50", 4, 2};
  struct {
    const char* driver;
    bool unicode;
    KAdpBindParam value;
    std::string text;
  } cases[] = {
      {"oracle", false, KAdpBindParam(s4000.c_str()), "'" + s4000 + "'"},
      {"oracle", false, KAdpBindParam(s4001.c_str()), ":B0"},
      {"oledb", false, KAdpBindParam(s4001.c_str()), "'" + s4001 + "'"},
      {"oledb", false, KAdpBindParam("O'Brien"), "'O''Brien'"},
      {"oledb", true, KAdpBindParam("O'Brien"), "N'O''Brien'"},
      {"oracle", true, KAdpBindParam("O'Brien"), "'O''Brien'"},
      {"oracle", false, KAdpBindParam("TO_DATE('01/01/2000','MM/DD/YYYY')"), "TO_DATE('01/01/2000','MM/DD/YYYY')"},
      {"oracle", false, KAdpBindParam("TO_DATE('01/01/2000', 'MM/DD/YYYY')"),
       "TO_DATE('01/01/2000', 'MM/DD/YYYY')"},
      // Only a whole TO_DATE call stays unquoted.
      {"oracle", false, KAdpBindParam("TO_DATE('1','2'); drop table x"), "'TO_DATE(''1'',''2''); drop table x'"},
      {"oracle", false, KAdpBindParam("TO_DATEX"), "'TO_DATEX'"},
      {"oracle", false, KAdpBindParam("TO_DATE('a'b','c')"), "'TO_DATE(''a''b'',''c'')'"},
      {"oledb", false, KAdpBindParam("TO_DATE('01/01/2000','MM/DD/YYYY')"),
       "'TO_DATE(''01/01/2000'',''MM/DD/YYYY'')'"},
      {"oracle", false, KAdpBindParam("abc", 1), "'ABC'"},
      {"oracle", false, KAdpBindParam(static_cast<const char*>(nullptr)), "''"},
      {"oracle", false, KAdpBindParam(-42L), "-42"},
      {"oledb", false, KAdpBindParam(dv), "2.250000"},
      {"oledb", false, KAdpBindParam(dec), "'12.50'"},
  };
  for (auto& c : cases) {
    KAdpConnId* con = connect(c.driver);
    binding(con, 0);
    if (c.unicode) con->GetHeader()->flags |= ADP_HEAD_UNICODE;
    KAdpSqlBatch* b = batch(con);
    *b << "v = " << c.value;
    EXPECT_EQ(b->GetStatus(), 0);
    EXPECT_EQ(std::string(b->GetCurrentStmt()), "v = " + c.text) << c.driver << " " << c.text.substr(0, 40);
    delete con;
    conns_.clear();
  }
}

TEST_F(AdpBatch, RealNumbersAreWrittenWithAPointAndReadBackTheSame) {
  const char* before = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = before != nullptr ? before : "C";
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.utf8"), nullptr) << "the de_DE.utf8 locale is needed";
  struct {
    double value;
    bool is_float;
    const char* text;
  } cases[] = {
      {1.5, true, "1.500000"}, {1.5, false, "1.500000"},     {1e-7, false, "1e-07"},
      {-0.25, true, "-0.250000"}, {0.1, false, "0.100000"}, {0.1234567, false, "0.1234567"},       {123456.75, false, "123456.750000"},
  };
  for (const auto& c : cases) {
    KCLASSIC::KZString out;
    if (c.is_float) {
      adp_batch_float_text(static_cast<float>(c.value), out);
    } else {
      adp_batch_double_text(c.value, out);
    }
    EXPECT_STREQ(out, c.text) << c.value;
  }
  KAdpConnId* con = connect("oledb");
  binding(con, 0);
  float f = 1.5f;
  *batch(con) << KAdpBindParam(f);
  EXPECT_STREQ(con->GetSqlBatch(0)->GetCurrentStmt(), "1.500000");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(AdpBatch, BinaryValuesAreBoundOrWrittenAsHex) {
  const char raw[] = {0x01, static_cast<char>(0xAB)};
  char* bytes = KCLASSIC::KBinSysAllocStringByteLen(raw, 2);
  const char* cbytes = bytes;
  for (const char* driver : {"oracle", "oledb"}) {
    KAdpConnId* con = connect(driver);
    KAdpSqlBatch* b = batch(con);
    *b << "x = " << KAdpBindParam(&cbytes);
    bool ora = std::strcmp(driver, "oracle") == 0;
    EXPECT_STREQ(b->GetCurrentStmt(), ora ? "x = :B0" : "x = @V0");
    EXPECT_STREQ(b->GetBindVars().KUtlRecord::GetString(0, 0), ora ? "b:B0" : "@V0");
    EXPECT_EQ(b->GetBindVars().GetLongVal(0, 3), 16);
    binding(con, 0);
    b = batch(con);
    *b << "x = " << KAdpBindParam(&cbytes);
    EXPECT_STREQ(b->GetCurrentStmt(), ora ? "x = HEXTORAW('01AB')" : "x = 0x01AB");
    delete con;
    conns_.clear();
  }
  KCLASSIC::KBinSysFreeString(bytes);
}

TEST_F(AdpBatch, AnUnsupportedTypeFreezesEveryLaterAppend) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  long v = 1;
  *b << "select a from t where x = " << KAdpBindParam::Typed(999, &v);
  EXPECT_EQ(b->GetStatus(), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_VALUE_TYPE}));
  long dest = 0;
  *b << " and y = 1" << KAdpBindParam(3L) << KAdpBindCol(dest) << KAdpSqlBatch::kEndStmt;
  EXPECT_STREQ(b->GetCurrentStmt(), "select a from t where x = ");
  EXPECT_EQ(b->GetStmtCount(), 1);
  b->Reset();
  EXPECT_EQ(b->GetStatus(), 0);
  EXPECT_EQ(b->GetStmtCount(), 0);
  *b << "select 1";
  EXPECT_STREQ(b->GetStmt(0), "select 1");
}

TEST_F(AdpBatch, OidQueriesOfBothDialects) {
  struct {
    const char* driver;
    long lock, exists;
    const char* text;
  } cases[] = {
      {"oledb", 1, 0, "SELECT c FROM t with (updlock)  WHERE k = @V0"},
      {"oracle", 1, 0, "SELECT c FROM t WHERE k = :B0 FOR UPDATE "},
      {"oracle", 0, 1, "SELECT 1 FROM dual WHERE EXISTS \n (SELECT c FROM t WHERE k = :B0)"},
      {"oledb", 0, 1, "SELECT 1 WHERE EXISTS \n (SELECT c FROM t WHERE k = @V0)"},
      {"oracle", 0, 0, "SELECT c FROM t WHERE k = :B0"},
      {"oledb", 1, 1, "SELECT c FROM t with (updlock)  WHERE k = @V0"},
  };
  for (const auto& c : cases) {
    KAdpConnId* con = connect(c.driver);
    KAdpSqlBatch* b = batch(con);
    EXPECT_EQ(b->BuildOidQuery("c", "t", "k", 42, c.lock, c.exists), 0);
    EXPECT_STREQ(b->GetStmt(0), c.text);
    EXPECT_STREQ(b->GetStmt(1), "");  // the separator opened the next statement
    EXPECT_STREQ(b->GetStmtBindVars().GetRecordPtr(0, 0)->GetString(0, KAdpSqlBatch::COL_BV_BUFFER), "42");
    delete con;
    conns_.clear();
  }
}

TEST_F(AdpBatch, RowsAreDeliveredOneByOneThenTheEnd) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"objid", "name"}, {{cell::l(5), cell::t("alpha")}, {cell::l(7), cell::t("beta")}}});
  KAdpSqlBatch* b = batch(con);
  long id = 0;
  char name[16] = "";
  *b << "select objid, name from t where x = " << KAdpBindParam(3L) << KAdpBindCol(id)
     << KAdpBindCol(name, sizeof name) << KAdpSqlBatch::kEndStmt;
  long rows = 0;
  ASSERT_EQ(b->GetNextResult(&rows), 0);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(b->GetNextRow(), 1);
  EXPECT_EQ(id, 5);
  EXPECT_STREQ(name, "alpha");
  EXPECT_EQ(b->GetNextRow(), 1);
  EXPECT_EQ(id, 7);
  EXPECT_STREQ(name, "beta");
  EXPECT_EQ(b->GetNextRow(), -1);
  EXPECT_EQ(b->GetRowCount(), 2);
  EXPECT_EQ(ds_script::count("SetBindInfo 2"), 1);
  EXPECT_EQ(ds_script::count("MoveRowset 0 0"), 1);
  // The last statement carries its value after the marker; the server log's
  // hint reads the same text.
  EXPECT_STREQ(b->GetLastSqlStmt(), "select objid, name from t where x = :B0 /*3 */");
  EXPECT_STREQ(con->GetLastSql(), "select objid, name from t where x = :B0 /*3 */");
}

TEST_F(AdpBatch, EachStatementDeclaresItsOwnResultColumns) {
  // A text column first, then a long in the same position: the second
  // statement's rows are read by its own declarations.
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"name"}, {{cell::t("alpha")}}});
  ds_script::push_result({{"objid", "count"}, {{cell::l(42), cell::l(7)}}});
  KAdpSqlBatch* b = batch(con);
  char name[16] = "";
  *b << "select name from t" << KAdpBindCol(name, sizeof name);
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  ASSERT_EQ(b->GetNextRow(), 1);
  EXPECT_STREQ(name, "alpha");
  b = batch(con);
  long id = 0, count = 0;
  *b << "select objid, count from t" << KAdpBindCol(id) << KAdpBindCol(count);
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  ASSERT_EQ(b->GetNextRow(), 1);
  EXPECT_EQ(id, 42);
  EXPECT_EQ(count, 7);
  long type = -1;
  b->GetResult().GetSqlDataType(0, type);
  EXPECT_EQ(type, 0);
}

TEST_F(AdpBatch, AnnotationsFollowEachMarkerNeverAnotherDigit) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  *b << "select c1 from t2 where a = 0 and x = ";
  for (long i = 0; i < 12; ++i) *b << (i == 0 ? "" : ", ") << KAdpBindParam(100 + i);
  *b << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  std::string want = "select c1 from t2 where a = 0 and x = ";
  for (long i = 0; i < 12; ++i) want += (i == 0 ? "" : ", ") + (":B" + std::to_string(i)) + " /*" + std::to_string(100 + i) + " */";
  EXPECT_EQ(std::string(b->GetLastSqlStmt()), want);
  EXPECT_EQ(b->SetLastSqlStmt(nullptr), 0);
  EXPECT_STREQ(b->GetLastSqlStmt(), "");
}

TEST_F(AdpBatch, AFailedConversionEndsTheRowsWithItsCode) {
  KAdpConnId* con = connect("oledb");
  ds_script::push_result({{"name"}, {{cell::t("far too long for it")}, {cell::t("ok")}}});
  KAdpSqlBatch* b = batch(con);
  char name[8] = "";
  *b << "select name from t" << KAdpBindCol(name, sizeof name) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  EXPECT_EQ(b->GetNextRow(), 0);
  EXPECT_EQ(b->GetStatus(), ADP_REC_NO_FIT);
  EXPECT_STREQ(name, "");  // nothing cut into the buffer
  EXPECT_EQ(b->GetNextRow(), -1);
}

TEST_F(AdpBatch, AFailedMoveRowsetEndsTheRowsToo) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"objid"}, {{cell::l(1)}}});
  ds_script::fail({"MoveRowset", 1, 0x8B0014F, "lost", "moving rows"});
  KAdpSqlBatch* b = batch(con);
  long id = 0;
  *b << "select objid from t" << KAdpBindCol(id) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  EXPECT_EQ(b->GetNextRow(), 0);
  EXPECT_NE(b->GetStatus(), 0);
  EXPECT_EQ(b->GetNextRow(), -1);
}

TEST_F(AdpBatch, DeclaringAnEmptyColumnListFails) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  *b << "select 1" << KAdpSqlBatch::kEndStmt;
  // A statement without destinations runs without the column set-up.
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  EXPECT_EQ(ds_script::count("SetBindInfo"), 0);
  EXPECT_EQ(b->GetNextRow(), -1);
  EXPECT_NE(b->SetCurrentResultColumnTypes(), 0);
}

TEST_F(AdpBatch, DdlRunsEachRealStatementAndCountsTheLast) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{}, {}, 3});
  ds_script::push_result({{}, {}, 4});
  KAdpSqlBatch* b = batch(con);
  *b << "update a set x = 1" << KAdpSqlBatch::kEndStmt << KAdpSqlBatch::kEndStmt << "update b set y = 2"
     << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->ExecDdl(), 0);
  EXPECT_EQ(ds_script::count("ExecStatement"), 2);
  EXPECT_EQ(b->GetRowCount(), 4);
  // One formatted statement; a failure is returned.
  ds_script::fail({"ExecStatement", 3, 0x8B0014F, "ORA-00942: table or view does not exist", "drop"});
  EXPECT_NE(b->ExecDdlFormat("drop table %s", "gone"), 0);
  EXPECT_EQ(ds_script::calls().back(), "ExecStatement drop table gone");
}

TEST_F(AdpBatch, EachDdlStatementIsAnnotatedWithItsOwnValues) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  *b << "update a set x = " << KAdpBindParam(1L) << KAdpSqlBatch::kEndStmt << "update b set y = "
     << KAdpBindParam(2L) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->ExecDdl(), 0);
  EXPECT_STREQ(b->GetLastSqlStmt(), "update b set y = :B0 /*2 */");
}

TEST_F(AdpBatch, DdlInsideATransactionForQuill) {
  KAdpConnId* con = connect("quill");
  KAdpSqlBatch* b = batch(con);
  ASSERT_EQ(b->ExecDdlFormat("create table %s (a int)", "t"), 0);
  std::vector<std::string> want = {"BeginTransaction", "ExecStatement create table t (a int)", "EndTransaction 1 1"};
  std::vector<std::string> got(ds_script::calls().end() - 3, ds_script::calls().end());
  EXPECT_EQ(got, want);
}

TEST_F(AdpBatch, AFailingDmlBatchRollsBackEvenAnOuterTransaction) {
  KAdpConnId* con = connect("oracle");
  ASSERT_EQ(adp_trn_begin(con), 0);
  ds_script::fail({"FetchNextSet", 2, 0x8B0014E, "ORA-00001: unique constraint (SA.X) violated", "insert"});
  KAdpSqlBatch* b = batch(con);
  *b << "insert into a values (" << KAdpBindParam(1L) << ")" << KAdpSqlBatch::kEndStmt << "insert into b values ("
     << KAdpBindParam(2L) << ")" << KAdpSqlBatch::kEndStmt;
  EXPECT_NE(b->ExecuteDMLBatch(), 0);
  EXPECT_EQ(level(), 0);
  EXPECT_EQ(ds_script::count("EndTransaction 0"), 1);
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 0);
  // A good batch commits on its own outside a transaction.
  b = batch(con);
  *b << "delete from a" << KAdpSqlBatch::kEndStmt;
  EXPECT_EQ(b->ExecuteDMLBatch(), 0);
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpBatch, WholeResultsAndProcedures) {
  KAdpConnId* con = connect("oledb");
  ds_script::push_result({{"objid"}, {{cell::l(11)}, {cell::l(12)}}});
  KAdpSqlBatch* b = batch(con);
  *b << "select objid from t" << KAdpSqlBatch::kEndStmt << "exec p" << KAdpSqlBatch::kEndStmt;
  KAdpUtlRecord rec;
  ASSERT_EQ(b->GetNextResult(rec), 0);
  EXPECT_EQ(rec.GetRows(), 2);
  ds_script::set_proc_outputs({{0, "out"}});
  KAdpUtlRecord params;
  ASSERT_EQ(b->ExecProc(params, "name_on_oracle", 2), 0);
  // SQL Server runs the statement text, Oracle the name.
  EXPECT_EQ(ds_script::calls().back(), "ExecProc exec p 2");
  EXPECT_STREQ(params.KUtlRecord::GetString(0, 0), "out");
}

TEST_F(AdpBatch, ResetKeepsTheLastStatementAndCount) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{}, {}, 9});
  KAdpSqlBatch* b = batch(con);
  ASSERT_EQ(b->ExecDdlFormat("update t set a = %d", 1), 0);
  b->Reset();
  EXPECT_EQ(b->GetRowCount(), 9);
  EXPECT_STREQ(b->GetLastSqlStmt(), "update t set a = 1");
  EXPECT_EQ(b->GetStmtCount(), 0);
  EXPECT_EQ(b->CancelResult(), 1);
}

TEST_F(AdpBatch, AFailedStatementLogsItsAnnotatedTextAsTheHint) {
  KAdpConnId* con = connect("oracle");
  KAdpProcessError::OpenServerLogFile();
  KAdpProcessError::SetSqlHint(1);
  ds_script::fail({"FetchNextSet", 1, 0x8B0014E, "ORA-00001: unique constraint (SA.X) violated", "insert"});
  KAdpSqlBatch* b = batch(con);
  *b << "insert into t values (" << KAdpBindParam(7L) << ", " << KAdpBindParam("v") << ")" << KAdpSqlBatch::kEndStmt;
  EXPECT_NE(b->GetNextResult(nullptr), 0);
  KAdpProcessError::CloseServerLogFile();
  EXPECT_NE(file_text("server.log").find("SQL Hint : \ninsert into t values (:B0 /*7 */, :B1 /*v */) \n"),
            std::string::npos)
      << file_text("server.log");
}

TEST_F(AdpBatch, ClockLiteralsOnSqlServer) {
  KAdpConnId* con = connect("oledb");
  binding(con, 0);
  clktime t{};
  ASSERT_EQ(adp_time_str_to_clk("2001-03-04 05:06:07", &t), 0);
  *batch(con) << KAdpBindParam(t);
  EXPECT_STREQ(con->GetSqlBatch(0)->GetCurrentStmt(), "'2001-03-04 05:06:07'");
  con->GetHeader()->flags |= ADP_HEAD_UNICODE;
  *batch(con) << KAdpBindParam(t);
  EXPECT_STREQ(con->GetSqlBatch(0)->GetCurrentStmt(), "N'2001-03-04 05:06:07'");
}

TEST_F(AdpBatch, UpperCaseCopiesLiveUntilTheNextOne) {
  char* text = const_cast<char*>("abc Def");
  ASSERT_EQ(adp_qry_str_conv(&text), 0);
  EXPECT_STREQ(text, "ABC DEF");
  std::string big(3000, 'q');
  char* second = big.data();
  ASSERT_EQ(adp_qry_str_conv(&second), 0);
  EXPECT_EQ(std::string(second), std::string(3000, 'Q'));
  EXPECT_NE(second, big.data());
}

TEST_F(AdpBatch, PrintsEveryStatement) {
  KAdpConnId* con = connect("oracle");
  KAdpSqlBatch* b = batch(con);
  *b << "select 1" << KAdpSqlBatch::kEndStmt << "select 2";
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  *f << b;
  std::rewind(f);
  char buf[64] = "";
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buf, n), "select 1\nselect 2\n");
}

TEST_F(AdpBatch, TextPointersAndBuffersKeepWholeLongTexts) {
  // Texts longer than a pointer come back whole through each kind of text
  // destination; the text pointer stays the record's until the next row.
  const std::string lengths[] = {"", "seven77", "eight888", "nine99999", std::string(300, 'x') + "end"};
  std::vector<std::vector<cell>> rows;
  for (const auto& s : lengths) rows.push_back({s.empty() ? cell::null() : cell::t(s)});
  KAdpConnId* con = connect("oracle");
  for (int pass = 0; pass < 2; ++pass) ds_script::push_result({{"name"}, rows});
  KAdpSqlBatch* b = batch(con);
  char* text = nullptr;
  *b << "select name from t" << KAdpBindCol(&text, 0) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  for (const auto& s : lengths) {
    ASSERT_EQ(b->GetNextRow(), 1);
    EXPECT_STREQ(text != nullptr ? text : "", s.c_str());
  }
  EXPECT_EQ(b->GetNextRow(), -1);
  b = batch(con);
  char buffer[400] = "";
  *b << "select name from t" << KAdpBindCol(buffer, sizeof buffer) << KAdpSqlBatch::kEndStmt;
  ASSERT_EQ(b->GetNextResult(nullptr), 0);
  for (const auto& s : lengths) {
    ASSERT_EQ(b->GetNextRow(), 1);
    EXPECT_STREQ(buffer, s.c_str());
  }
}

}  // namespace
