// Schema-change calls on the MariaDB server through the Oracle-dialect
// service, on the CRM fixture: type flags changed in the dictionary by
// BITAND, new columns with a date default filled on every row, a table
// renamed with its indexes, the exclusive-group conversion block over more
// than a thousand rows, and a view dropped with its synonym; each checked
// by SQL.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "adapter/adp_db.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_fixture.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

namespace {

using namespace adp_sce_fixture;

constexpr long kEmployee = 13;  // type flags 6 in the fixture
constexpr long kTicket = 40;  // a type of the test's own table
constexpr long kConverted = 1200;

class AdpSceSrv : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    ASSERT_EQ(dbs_rdb_init(), 0);
    ASSERT_EQ(utl_col_make("test", DBS_TY_TBL_CHANGE, 8, 8, 0, 0, &changes_), 0);
  }
  void TearDown() override {
    adp_sce_term();
    if (changes_ != nullptr) utl_col_free("test", changes_);
    adp_ora_open_test::TearDown();
  }
  // The indexes of a table, by name, in order.
  std::string indexes_of(const std::string& table) {
    return value("select group_concat(distinct index_name order by index_name) from information_schema.statistics "
                 "where table_schema = database() and table_name = '" + table + "'");
  }

  utl_ty_col* changes_ = nullptr;
};

TEST_F(AdpSceSrv, TypeFlagsChangeOnlyTheirTwoBits) {
  typ_sch_srec employee{};
  employee.type_id = kEmployee;
  dbs_ty_tbl_change c{};
  c.op = DBS_RDB_TYPE_FLAGS;
  c.schema = &employee;
  const struct {
    unsigned long flags;
    long stored;
  } steps[] = {{0x280000, 6 | 0x280000}, {0x280000, 6 | 0x280000}, {0x80000, 6 | 0x80000}, {0, 6}};
  for (const auto& s : steps) {
    c.operand = s.flags;
    ASSERT_EQ(adp_sce_modify_flags(con_, &c), 0) << core_top_alert_text();
    EXPECT_EQ(value("select type_flags from adp_tbl_name_map where type_id = 13"), std::to_string(s.stored))
        << s.flags;
  }
  EXPECT_EQ(value("select type_flags from adp_tbl_name_map where type_id = 10"), "2");
}

TEST_F(AdpSceSrv, NewColumnsAreFilledFromTheirDefaultsOnEveryRow) {
  typ_sch_iblk info{};
  std::snprintf(info.name, sizeof info.name, "ticket");
  typ_sch_srec ticket{};
  ticket.type_id = kTicket;
  ticket.info = &info;
  constexpr long rows = 3;
  ASSERT_TRUE(db_.run("create table table_ticket(objid number not null);\n"
                      "insert into table_ticket select seq from seq_1_to_" + std::to_string(rows) + ";\n"));
  for (const auto& [name, db_type, length, def] :
       {std::tuple{"due", kDbDate, 1L, "'02/29/2028 23:59:58'"}, std::tuple{"state", kDbText, 20L, "'it''s'"},
        std::tuple{"rank", kDbInt, 1L, static_cast<const char*>(nullptr)}}) {
    dbs_ty_tbl_change c{};
    c.op = DBS_RDB_ADD_COLUMN;
    c.schema = &ticket;
    c.name = const_cast<char*>(name);
    c.old_db_type = c.new_db_type = db_type;
    c.old_length = c.new_length = length;
    c.default_text = const_cast<char*>(def);
    ASSERT_EQ(utl_col_push(changes_, &c, nullptr), 0);
  }
  ASSERT_EQ(adp_sce_add_columns(con_, &ticket, changes_, nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(value("select count(*) from table_ticket where due = '2028-02-29 23:59:58' and state = 'it''s' and "
                  "rank is null"),
            std::to_string(rows));
}

TEST_F(AdpSceSrv, ARenamedTableTakesItsIndexesAlong) {
  ASSERT_TRUE(db_.run("create table table_tkt(objid number not null, title varchar(20), a number);\n"
                      "create unique index tkt_objindex on table_tkt(objid);\n"
                      "create index tkt_TITLE_INDEX on table_tkt(title);\n"
                      "create index tkt_A_B_INDEX on table_tkt(a);\n"
                      "create index other_ix on table_tkt(title, a);\n"));
  ASSERT_EQ(adp_sce_rename_table(con_, "table_tkt", "table_tix", nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(core_top_alert_text(), "");
  EXPECT_EQ(value("select count(*) from information_schema.tables where table_schema = database() and table_name "
                  "in ('table_tkt', 'table_tix')"),
            "1");
  EXPECT_EQ(indexes_of("table_tix"), "other_ix,tix_A_B_INDEX,tix_objindex,tix_TITLE_INDEX");
  // An older object-id index name takes the new one as well.
  ASSERT_TRUE(db_.run("create table table_old(objid number not null);\n"
                      "create unique index old_index on table_old(objid);\n"));
  ASSERT_EQ(adp_sce_rename_table(con_, "table_old", "table_new", nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(indexes_of("table_new"), "new_objindex");
}

TEST_F(AdpSceSrv, TheConversionFillsTheGroupColumnsOfEveryKeyedRow) {
  ASSERT_TRUE(db_.run("create table table_conv(objid number not null, case2site number, owner_id number, "
                      "owner_type number);\n"
                      "insert into table_conv select seq, case when mod(seq, 7) = 0 then null else seq * 10 end, "
                      "null, null from seq_1_to_" + std::to_string(kConverted) + ";\n"));
  adp_sce_conversion conversion;
  ASSERT_EQ(adp_sce_upgrade_exclusive(con_, &conversion.record, "table_conv", "table_conv", nullptr, 0), 0)
      << core_top_alert_text();
  const long keyed = kConverted - kConverted / 7;
  EXPECT_EQ(value("select count(*) from table_conv where owner_id = case2site and owner_type = 4202"),
            std::to_string(keyed));
  EXPECT_EQ(value("select count(*) from table_conv where case2site is null and owner_id is null and owner_type is "
                  "null"),
            std::to_string(kConverted / 7));
}

TEST_F(AdpSceSrv, AViewIsDroppedWithItsSynonym) {
  ASSERT_TRUE(db_.run("create view table_tview as select type_id, type_name from adp_tbl_name_map;\n"));
  ASSERT_EQ(adp_sce_delete_view(con_, "table_tview", nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(value("select count(*) from information_schema.views where table_schema = database() and table_name = "
                  "'table_tview'"),
            "0");
  // Dropping it again is the server's failure.
  EXPECT_NE(adp_sce_delete_view(con_, "table_tview", nullptr, 0), 0);
}

}  // namespace
