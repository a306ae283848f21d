// The Oracle-dialect service on the shared MariaDB server with the texts a
// schema upgrade sends: date texts as column defaults and as SET values,
// type flags changed by BITAND arithmetic, indexes renamed by ALTER INDEX,
// and a block's COMMIT leaving the rest of the block in a transaction the
// caller still ends.
#include <gtest/gtest.h>

#include <string>

#include "adapter/ds_ora_fixture.h"

namespace {

constexpr long kOracle = 0x8B00149;

class OraServiceUpgrade : public ds_ora_test {
 protected:
  std::string one(const std::string& sql) {
    testdb::rows r = db_.query(sql);
    return r.empty() || r[0].empty() ? "" : r[0][0];
  }
};

TEST_F(OraServiceUpgrade, DateTextsAsDefaultsAndSetValuesAreReadAsDates) {
  exec("CREATE TABLE t (objid NUMBER(10), due DATE default '02/29/2028 23:59:58' NOT NULL)");
  exec("ALTER TABLE t ADD (opened DATE DEFAULT '12/25/2026 10:30:00' NULL, note VARCHAR2(20) DEFAULT 'x' NULL)");
  exec("INSERT INTO t (objid) VALUES (1)");
  exec("INSERT INTO t (objid) VALUES (2)");
  EXPECT_EQ(one("SELECT CONCAT(due, ' ', opened, ' ', note) FROM t WHERE objid = 1"),
            "2028-02-29 23:59:58 2026-12-25 10:30:00 x");
  // The initialisation of new columns: several dates, one of them after a
  // text value.
  EXPECT_EQ(exec("update t set\n note = 'it''s',\n  opened = '01/01/1753 00:00:00',\n  due = '07/04/1999 "
                 "01:02:03'\n"),
            2);
  EXPECT_EQ(one("SELECT CONCAT(due, ' ', opened, ' ', note) FROM t WHERE objid = 2"),
            "1999-07-04 01:02:03 1753-01-01 00:00:00 it's");
  // A date text that is no date is refused as Oracle refuses it.
  ds_error e = error_of([&] { exec("UPDATE t SET opened = '13/45/2026 10:30:00'"); });
  EXPECT_EQ(e.number, kOracle);
  EXPECT_EQ(one("SELECT COUNT(*) FROM t WHERE opened = '1753-01-01 00:00:00'"), "2");
}

TEST_F(OraServiceUpgrade, TypeFlagsAreSetAndClearedWhateverOtherBitsAreSet) {
  exec("CREATE TABLE adp_tbl_name_map (type_id NUMBER NOT NULL, type_flags NUMBER NOT NULL)");
  // Flags before, with other bits around the two of the mask.
  exec("INSERT INTO adp_tbl_name_map VALUES (1, 0)");
  exec("INSERT INTO adp_tbl_name_map VALUES (2, " + std::to_string(0x200000 | 0x1000 | 0x1) + ")");
  exec("INSERT INTO adp_tbl_name_map VALUES (3, " + std::to_string(0x280000 | 0x800000 | 0x40000) + ")");
  auto set = [&](long type_id, long flags) {
    exec("update adp_tbl_name_map \n \t\t\t\t\t\tset type_flags = type_flags - BITAND(type_flags, 2621440) + " +
         std::to_string(flags) + "\n \t\t\t\t\t\twhere type_id = " + std::to_string(type_id));
  };
  auto flags_of = [&](long type_id) {
    return std::stol(one("SELECT type_flags FROM adp_tbl_name_map WHERE type_id = " + std::to_string(type_id)));
  };
  set(1, 0x280000);
  set(1, 0x280000);  // setting what is set changes nothing
  EXPECT_EQ(flags_of(1), 0x280000);
  set(2, 0x80000);
  EXPECT_EQ(flags_of(2), 0x80000 | 0x1000 | 0x1);
  set(3, 0);
  EXPECT_EQ(flags_of(3), 0x800000 | 0x40000);
}

TEST_F(OraServiceUpgrade, IndexesAreRenamedOnTheirTable) {
  exec("CREATE TABLE table_ticket (objid NUMBER(10), title VARCHAR2(20))");
  exec("CREATE UNIQUE INDEX case_objindex ON table_ticket (objid)");
  exec("CREATE INDEX case_TITLE_INDEX ON table_ticket (title)");
  exec("ALTER INDEX case_objindex RENAME TO ticket_objindex\n");
  exec("alter index case_TITLE_INDEX rename to ticket_TITLE_INDEX;");
  EXPECT_EQ(one("SELECT GROUP_CONCAT(DISTINCT index_name ORDER BY index_name) FROM information_schema.statistics "
                "WHERE table_schema = DATABASE() AND table_name = 'table_ticket'"),
            "ticket_objindex,ticket_TITLE_INDEX");
  // As any DDL, the rename commits what came before it; what follows is in
  // a new transaction that the caller's rollback ends.
  svc_->BeginTransaction();
  exec("INSERT INTO table_ticket (objid) VALUES (1)");
  exec("ALTER INDEX ticket_objindex RENAME TO t_objindex");
  exec("INSERT INTO table_ticket (objid) VALUES (2)");
  svc_->EndTransaction(0, 0);
  EXPECT_EQ(one("SELECT GROUP_CONCAT(objid) FROM table_ticket"), "1");
  // An index that is not there: the server's error comes back.
  ds_error e = error_of([&] { exec("ALTER INDEX case_index RENAME TO ticket_objindex"); });
  EXPECT_EQ(e.number, kOracle);
}

TEST_F(OraServiceUpgrade, WhatABlockDoesAfterItsCommitIsUndoneByTheCallersRollback) {
  exec("CREATE TABLE t (objid NUMBER(10) NOT NULL)");
  auto count = [&](const std::string& where) { return one("SELECT COUNT(*) FROM t WHERE " + where); };
  svc_->BeginTransaction();
  exec("INSERT INTO t (objid) VALUES (1)");
  exec("BEGIN INSERT INTO t (objid) VALUES (2); COMMIT; INSERT INTO t (objid) VALUES (3); END;");
  exec("BEGIN INSERT INTO t (objid) VALUES (4); COMMIT WORK; INSERT INTO t (objid) VALUES (5); ROLLBACK; "
       "INSERT INTO t (objid) VALUES (6); END;");
  exec("INSERT INTO t (objid) VALUES (7)");
  svc_->EndTransaction(0, 0);
  EXPECT_EQ(count("objid IN (1, 2, 3, 4)"), "4");
  EXPECT_EQ(count("objid IN (5, 6, 7)"), "0");
  // Outside a caller's transaction the block is its own: what follows its
  // COMMIT is committed when the block ends, and undone when it fails.
  exec("BEGIN INSERT INTO t (objid) VALUES (8); COMMIT; INSERT INTO t (objid) VALUES (9); END;");
  ds_error e = error_of([&] {
    exec("BEGIN INSERT INTO t (objid) VALUES (10); COMMIT; INSERT INTO t (objid) VALUES (11); "
         "raise_application_error(-20001, 'stop'); END;");
  });
  EXPECT_EQ(e.number, kOracle);
  EXPECT_EQ(count("objid IN (8, 9, 10)"), "3");
  EXPECT_EQ(count("objid = 11"), "0");
  // The session is in no transaction afterwards: a statement commits.
  exec("INSERT INTO t (objid) VALUES (12)");
  EXPECT_EQ(count("objid = 12"), "1");
}

}  // namespace
