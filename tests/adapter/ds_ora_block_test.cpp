// The Oracle-dialect service on the shared MariaDB server with what a schema
// upgrade sends: blocks that commit inside (the caller's transaction goes on
// in a new one, after success and after a failure), the exclusive-group
// conversion block with its discrete transaction.
#include <gtest/gtest.h>

#include <string>

#include "adapter/ds_ora_fixture.h"

namespace {

constexpr long kOracle = 0x8B00149;

class OraServiceBlocks : public ds_ora_test {
 protected:
  void SetUp() override {
    ds_ora_test::SetUp();
    exec("CREATE TABLE t (objid NUMBER(10) NOT NULL, k NUMBER(10), g NUMBER(10), y NUMBER(10))");
  }
  long count(const std::string& where = "") {
    auto r = query("SELECT COUNT(*) FROM t" + (where.empty() ? "" : " WHERE " + where));
    return std::stol(cell(*r, 0, 0));
  }
  void rows(long n) {
    for (long i = 1; i <= n; ++i)
      exec("INSERT INTO t (objid, k) VALUES (" + std::to_string(i) + ", " + std::to_string(i % 3 == 0 ? 0 : i) + ")");
  }
};

TEST_F(OraServiceBlocks, ABlockThatCommitsLeavesTheCallerInATransactionOfItsOwn) {
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid) VALUES (1)");
  exec("BEGIN INSERT INTO t (objid) VALUES (2); COMMIT; INSERT INTO t (objid) VALUES (3); END;");
  exec("INSERT INTO t (objid) VALUES (4)");
  svc_->EndTransaction(0, 0);
  // What the block committed stays; what follows the block belongs to a
  // new transaction, which the rollback ends.
  EXPECT_EQ(count("objid IN (1, 2)"), 2);
  EXPECT_EQ(count("objid = 4"), 0);
}

TEST_F(OraServiceBlocks, AFailingBlockAfterItsCommitKeepsTheCommittedWorkAndTheTransactionGoesOn) {
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid) VALUES (1)");
  ds_error e = error_of([&] {
    exec("BEGIN INSERT INTO t (objid) VALUES (2); COMMIT; INSERT INTO t (objid) VALUES (3); "
         "raise_application_error(-20001, 'stop'); END;");
  });
  EXPECT_EQ(e.number, kOracle);
  exec("INSERT INTO t (objid) VALUES (4)");
  svc_->EndTransaction(0, 0);
  EXPECT_EQ(count("objid IN (1, 2)"), 2);
  EXPECT_EQ(count("objid = 4"), 0);
  // Without a commit the block goes back to its savepoint as before.
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid) VALUES (5)");
  e = error_of([&] { exec("BEGIN INSERT INTO t (objid) VALUES (6); raise_application_error(-20001, 'x'); END;"); });
  EXPECT_EQ(e.number, kOracle);
  svc_->EndTransaction(1, 0);
  EXPECT_EQ(count("objid = 5"), 1);
  EXPECT_EQ(count("objid = 6"), 0);
}

TEST_F(OraServiceBlocks, TheConversionBlockFillsTheGroupColumnsCommittingAsItGoes) {
  rows(25);
  exec("CREATE TABLE t2 AS SELECT * FROM t");
  exec("UPDATE t2 SET k = NULL");
  svc_->BeginTransaction();
  exec("DECLARE\n\t\t\t\tCURSOR temp_cursor IS SELECT k, objid FROM t WHERE k is NOT NULL;\n\t\t\t\tcounter number "
       "default 0;\n\t\t\t\tfrom_rec t%ROWTYPE;\nBEGIN\n\t\t\t\tdbms_transaction.begin_discrete_transaction;\n\t\t\t\t\t"
       "FOR temp_rec IN temp_cursor LOOP\n\t\t\t\t\t\tUPDATE t2\n\t\t\t\t\t\tSET g = temp_rec.k, y = 77\n\t\t\t\t\t\t"
       "where objid = temp_rec.objid;\n\n\t\t\t\t\t\tif mod(counter, 10) = 0 then \n\t\t\t\t\t\tcommit;\n\t\t\t\t\t\t"
       "end if;\n\t\t\t\t\t\tcounter := counter+1;\n\t\t\t\t\tEND LOOP;\n\t\t\t\tcommit;\nEND;\n");
  svc_->EndTransaction(1, 0);
  auto r = query("SELECT COUNT(*), SUM(g), MIN(y), MAX(y) FROM t2 WHERE g IS NOT NULL");
  EXPECT_EQ(cell(*r, 0, 0), "25");
  EXPECT_EQ(cell(*r, 0, 1), "217");  // 1 + 2 + 4 + 5 + ... + 25, every third row holding 0
  EXPECT_EQ(cell(*r, 0, 2), "77");
  EXPECT_EQ(cell(*r, 0, 3), "77");
}

}  // namespace
