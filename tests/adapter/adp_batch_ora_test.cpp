// The SQL batch and the statement interface end to end: a connection on the
// Oracle-dialect service on the shared MariaDB server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "adapter/ds_ora_fixture.h"
#include "kclassic/kc_bstr.h"

namespace {

class AdpBatchOra : public ds_ora_test {
 protected:
  void SetUp() override {
    ds_ora_test::SetUp();
    adp_db_set_db_driver("oracle");
    con_ = new KAdpConnId("oracle");
    conns_.push_back(con_);
    KAdpConfig& cfg = con_->GetConfig();
    cfg.SetPOrbDllName(cfg.GetPropertyLong(static_cast<KAdpConfig::long_type>(4)), ds_ora_dll().c_str());
    point_at(cfg, socket_);
    adp_db_list_add(con_);
    adp_db_set_conn(con_);
    ASSERT_EQ(con_->LoadDataService(), 0);
    ASSERT_EQ(con_->Connect("root", "", nullptr), 0);
    exec("DROP TABLE IF EXISTS v");
    exec("CREATE TABLE v (objid NUMBER(10) NOT NULL, s SMALLINT, name VARCHAR2(80), d DATE, dbl FLOAT, "
         "f FLOAT, amount NUMBER(12,2), b BLOB, CONSTRAINT v_pk PRIMARY KEY (objid))");
  }
  void binding(char on) { con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(9), on); }

  // Inserts one row of every type and reads it back through the batch.
  void round_trip(long id) {
    clktime when{};
    ASSERT_EQ(adp_time_str_to_clk("07/08/2005 09:10:11", &when), 0);
    double dbl = 2.5;
    float f = 0.25f;
    cmn_ty_decimal dec{"1234.50", 6, 2};
    const char raw[] = {0x00, 0x7F, static_cast<char>(0xFF)};
    char* bytes = KCLASSIC::KBinSysAllocStringByteLen(raw, 3);
    const char* cbytes = bytes;
    KAdpSqlBatch* b = con_->GetSqlBatch(1);
    *b << "INSERT INTO v (objid, s, name, d, dbl, f, amount, b) VALUES (" << KAdpBindParam(id) << ", "
       << KAdpBindParam(short{-3}) << ", " << KAdpBindParam("O'Brien") << ", " << KAdpBindParam(when) << ", "
       << KAdpBindParam(dbl) << ", " << KAdpBindParam(f) << ", " << KAdpBindParam(dec) << ", "
       << KAdpBindParam(&cbytes) << ")" << KAdpSqlBatch::kEndStmt;
    ASSERT_EQ(b->GetStatus(), 0);
    const std::string insert = b->GetStmt(0);
    bool bound = con_->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(9)) != 0;
    for (const char* piece : {":B2", ":B7"}) EXPECT_EQ(insert.find(piece) != std::string::npos, bound) << insert;
    for (const char* piece : {"'O''Brien'", "HEXTORAW('007FFF')", "'1234.50'"}) {
      EXPECT_EQ(insert.find(piece) != std::string::npos, !bound) << insert;
    }
    ASSERT_EQ(b->ExecuteDMLBatch(), 0) << b->GetLastSqlStmt();
    KCLASSIC::KBinSysFreeString(bytes);

    long got_id = 0, got_s = 0;
    char name[32] = "";
    clktime got_when{};
    double got_dbl = 0;
    float got_f = 0;
    cmn_ty_decimal got_dec{};
    char* got_bytes = nullptr;
    b = con_->GetSqlBatch(1);
    *b << "SELECT objid, s, name, TO_CHAR(d, 'MM/DD/YYYY HH24:MI:SS'), dbl, f, amount, b FROM v WHERE objid = "
       << KAdpBindParam(id) << KAdpBindCol(got_id) << KAdpBindCol(got_s) << KAdpBindCol(name, sizeof name)
       << KAdpBindCol(got_when) << KAdpBindCol(got_dbl) << KAdpBindCol(got_f) << KAdpBindCol(got_dec)
       << KAdpBindCol('x', &got_bytes) << KAdpSqlBatch::kEndStmt;
    ASSERT_EQ(b->GetNextResult(nullptr), 0);
    ASSERT_EQ(b->GetNextRow(), 1) << b->GetStatus();
    EXPECT_EQ(got_id, id);
    EXPECT_EQ(got_s, -3);
    EXPECT_STREQ(name, "O'Brien");
    EXPECT_EQ(got_when.day, when.day);
    EXPECT_EQ(got_when.ticks, when.ticks);
    EXPECT_EQ(got_dbl, 2.5);
    EXPECT_EQ(got_f, 0.25f);
    EXPECT_EQ(std::stod(got_dec.text), 1234.5);
    ASSERT_NE(got_bytes, nullptr);
    EXPECT_EQ(std::string(got_bytes, KCLASSIC::KBinSysStringByteLen(got_bytes)), std::string(raw, 3));
    KCLASSIC::KBinSysFreeString(got_bytes);
    EXPECT_EQ(b->GetNextRow(), -1);
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpBatchOra, EveryValueTypeBoundWrittenAndReadBack) { round_trip(1); }

TEST_F(AdpBatchOra, EveryValueTypeAsLiterals) {
  // Binary literals are HEXTORAW('..'): the set-up script provides it.
  binding(0);
  round_trip(2);
}

TEST_F(AdpBatchOra, AFailingSecondStatementLeavesNothing) {
  KAdpSqlBatch* b = con_->GetSqlBatch(1);
  *b << "INSERT INTO v (objid, name) VALUES (" << KAdpBindParam(10L) << ", 'a')" << KAdpSqlBatch::kEndStmt
     << "INSERT INTO v (objid, name) VALUES (" << KAdpBindParam(10L) << ", 'b')" << KAdpSqlBatch::kEndStmt;
  EXPECT_NE(b->ExecuteDMLBatch(), 0);
  auto r = query("SELECT COUNT(*) FROM v");
  EXPECT_EQ(cell(*r, 0, 0), "0");
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

TEST_F(AdpBatchOra, ALockingIdQueryFindsItsRow) {
  exec("INSERT INTO v (objid, name) VALUES (5, 'x')");
  ASSERT_EQ(adp_trn_begin(con_), 0);
  KAdpSqlBatch* b = con_->GetSqlBatch(1);
  ASSERT_EQ(b->BuildOidQuery("objid", "v", "objid", 5, 1, 0), 0);
  EXPECT_STREQ(b->GetStmt(0), "SELECT objid FROM v WHERE objid = :B0 FOR UPDATE ");
  long rows = -1;
  ASSERT_EQ(b->GetNextResult(&rows), 0);
  EXPECT_EQ(rows, 1);
  // Another connection cannot take the row while the lock is held.
  KCLASSIC::tagPpmDataSvc* other = open_connected();
  ASSERT_NE(other, nullptr);
  exec("SET SESSION innodb_lock_wait_timeout = 1", other);
  ds_error e = error_of([&] { exec("UPDATE v SET name = 'y' WHERE objid = 5", other); });
  EXPECT_NE(e.number, 0);
  EXPECT_EQ(adp_trn_commit(con_), 0);
  EXPECT_EQ(exec("UPDATE v SET name = 'y' WHERE objid = 5", other), 1);
}

TEST_F(AdpBatchOra, PingNeedsAHeaderRow) {
  exec("DROP TABLE IF EXISTS adp_db_header");
  exec("CREATE TABLE adp_db_header (site_id NUMBER(10))");
  EXPECT_EQ(adp_sql_ping(con_, nullptr), ADP_SQL_NO_HEADER);
  exec("INSERT INTO adp_db_header (site_id) VALUES (1)");
  EXPECT_EQ(adp_sql_ping(con_, nullptr), 0);
  exec("DROP TABLE adp_db_header");
  EXPECT_NE(adp_sql_ping(con_, nullptr), 0);
}

TEST_F(AdpBatchOra, OneCallFormsAndSelectsIntoCollections) {
  ASSERT_EQ(adp_sql_exec_query(con_, "INSERT INTO v (objid, name) VALUES (%d, '%s')", 7, "seven"), 0);
  char found = 0;
  ASSERT_EQ(adp_sql_exec_and_fetch_now(con_, &found, "SELECT name FROM v WHERE objid = %d", 7), 0);
  EXPECT_EQ(found, 1);
  ASSERT_EQ(adp_sql_exec_and_fetch_now(con_, &found, "SELECT name FROM v WHERE objid = %d", 8), 0);
  EXPECT_EQ(found, 0);
}

}  // namespace
