// Oracle's binary-array table on the MariaDB server: the table with its
// columns and a unique index on (objid, seq_num) that refuses a second
// slice of the same number.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_ora_session.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"

namespace {

class AdpBarOra : public adp_ora_open_test {};

TEST_F(AdpBarOra, TheTableAndItsUniqueIndexAreMade) {
  char name[] = "bar_case_3";
  ASSERT_EQ(con_->GetDbOperation()->BarCreateWithName(name, 3), 0);
  EXPECT_EQ(value("select group_concat(column_name order by ordinal_position) from information_schema.columns "
                  "where table_schema = database() and table_name = 'bar_case_3'"),
            "objid,seq_num,data");
  EXPECT_EQ(value("select group_concat(column_name order by seq_in_index) from information_schema.statistics "
                  "where table_schema = database() and table_name = 'bar_case_3' and non_unique = 0"),
            "objid,seq_num");
  EXPECT_EQ(adp_sql_exec_query(con_, "insert into bar_case_3 values(7, 1, hextoraw('0A0B'))"), 0);
  EXPECT_EQ(adp_sql_exec_query(con_, "insert into bar_case_3 values(7, 2, hextoraw('0C'))"), 0);
  EXPECT_NE(adp_sql_exec_query(con_, "insert into bar_case_3 values(7, 2, hextoraw('0D'))"), 0);
  EXPECT_EQ(value("select count(*) from bar_case_3"), "2");
}

TEST_F(AdpBarOra, AnExistingTableIsRefusedAndKept) {
  ASSERT_TRUE(db_.run("create table bar_case_4(objid number);"));
  char name[] = "bar_case_4";
  EXPECT_NE(con_->GetDbOperation()->BarCreateWithName(name, 4), 0);
  EXPECT_EQ(value("select count(*) from information_schema.statistics where table_schema = database() and "
                  "table_name = 'bar_case_4'"),
            "0");
}

}  // namespace
