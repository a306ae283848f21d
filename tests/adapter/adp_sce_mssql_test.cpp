// SQL Server's schema-change statements by exact text through the scripted
// service: the exclusive-group conversion, column and table renames, type
// flags, the journal, drops and views, new columns with their
// initialisation (at once and deferred), search columns, a column deleted
// by copy, and option bit 0 writing every statement to the script instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_sce_fixture.h"
#include "adapter/adp_main.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

namespace {

using ds_script::cell;

using namespace adp_sce_fixture;

std::vector<std::string> grants(const std::string& table) {
  return {"grant SELECT, UPDATE, INSERT, DELETE on " + table + " to group orb_user",
          "grant ALL on " + table + " to group administrator", "grant SELECT on " + table + " to group reporter"};
}

class AdpSceMssql : public adp_sce_test {
 protected:
  void SetUp() override {
    adp_sce_test::SetUp();
    open("oledb");
  }
};

TEST_F(AdpSceMssql, TheExclusiveConversionCommitsEveryThousandRowsWithoutGo) {
  adp_sce_conversion conversion;
  dbs_ty_tbl_change& c = conversion.record;
  ASSERT_EQ(adp_sce_upgrade_exclusive(con_, &c, "table_case", "T_table_case", nullptr, 0), 0)
      << core_top_alert_text();
  const std::vector<std::string> expected{
      "DECLARE temp_cur  CURSOR  LOCAL READ_ONLY FORWARD_ONLY FOR\n             \tSELECT case2site, objid FROM "
      "table_case WHERE case2site is NOT NULL\n             DECLARE @count INT, @fkey  INT, @oid INT\n             "
      "SET @count = 0\n             OPEN temp_cur\n             begin transaction\n             FETCH NEXT FROM "
      "temp_cur INTO @fkey, @oid\n             WHILE @@FETCH_STATUS = 0\n             BEGIN\n\n                "
      "UPDATE T_table_case\n\t              SET owner_id = @fkey, owner_type = 4202\n                  where objid "
      "= @oid \n                if ((@count%1000) = 0 )\n                BEGIN\n                   commit "
      "transaction\n                   begin transaction\n                END\n                SET @count = "
      "(@count+1)\n                FETCH NEXT FROM temp_cur INTO @fkey, @oid\n            END\n            commit "
      "transaction\n"};
  EXPECT_EQ(adp_script_sent(), expected);
  // Any other change record converts nothing (a relation leaving its group
  // or moving between groups has no plain key in the old table); a bad
  // table name runs nothing.
  ds_script::reset();
  for (long op : {DBS_RDB_EXCL_BOTH, DBS_RDB_EXCL_OLD, DBS_RDB_RENAME_EXCL}) {
    c.op = op;
    EXPECT_EQ(adp_sce_upgrade_exclusive(con_, &c, "table_case", "T_table_case", nullptr, 0), 0) << op;
  }
  c.op = DBS_RDB_EXCL_NEW;
  EXPECT_EQ(adp_sce_upgrade_exclusive(con_, &c, "table_case; drop table x", "T", nullptr, 0), ADP_NO_SUCH_DB);
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpSceMssql, RenamesOfColumnsAndTables) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  change(DBS_RDB_RENAME_COLUMN, "status", "state", kDbText, 20);
  change(DBS_RDB_RENAME_COLUMN, "headline", "title", kDbText, 80);
  change(DBS_RDB_ADD_COLUMN, "other", nullptr, kDbInt, 1);
  ASSERT_EQ(adp_sce_rename_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  ASSERT_EQ(adp_sce_rename_table(con_, "dbo.table_old", "dbo.table_new", nullptr, 0), 0);
  // The renamed searchable field takes its search column along.
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"sp_rename 'table_case.status', 'state', 'COLUMN'",
                                      "sp_rename 'table_case.headline', 'title', 'COLUMN'",
                                      "sp_rename 'table_case.S_headline', 'S_title', 'COLUMN'",
                                      "sp_rename table_old, table_new\n"}));
}

TEST_F(AdpSceMssql, TypeFlagsAreSetOrClearedWhateverElseIsSet) {
  const struct {
    unsigned long flags;
    const char* sent;
  } cases[] = {
      {0x280000, "update adp_tbl_name_map set type_flags = \t\t                              (type_flags & "
                 "~2621440) | 2621440 where type_id = 4201"},
      {0, "update adp_tbl_name_map set type_flags = \t\t                              (type_flags & ~2621440) | 0 "
          "where type_id = 4201"},
      {0x80000, "update adp_tbl_name_map set type_flags = \t\t                              (type_flags & ~2621440) "
                "| 524288 where type_id = 4201"},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(flags_sent(k.flags), std::vector<std::string>{k.sent}) << k.flags;
  }
}

TEST_F(AdpSceMssql, TheJournalQuotesItsNamesAndReadsItsHighestEntry) {
  ASSERT_EQ(adp_sce_insert_upgrade_ops(con_, 11, 3000005, 5, "case", "it's", "'it''s'"), 0);
  ASSERT_EQ(adp_sce_insert_upgrade_ops(con_, 12, 3000005, 0, "site", "", ""), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"insert into adp_upgrade_ops (objid, dev, version, opcode, object_name, "
                                      "field_name, details) values(11, 1, 3000005, 5, 'case', 'it''s', 'it''s')\n",
                                      "insert into adp_upgrade_ops (objid, dev, version, opcode, object_name, "
                                      "field_name, details) values(12, 1, 3000005, 0, 'site', '', '')\n"}));
  long highest = -1;
  ds_script::reset();
  ds_script::push_result({{"max"}, {{cell::l(41)}}});
  ASSERT_EQ(adp_sce_get_sequence(con_, &highest), 0);
  EXPECT_EQ(highest, 41);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"select max(objid) from adp_upgrade_ops"});
  // An empty journal: no row (or a null maximum) is 0.
  ds_script::reset();
  ds_script::push_result({{"max"}, {}});
  ASSERT_EQ(adp_sce_get_sequence(con_, &highest), 0);
  EXPECT_EQ(highest, 0);
  ds_script::reset();
  ds_script::push_result({{"max"}, {{cell::null()}}});
  ASSERT_EQ(adp_sce_get_sequence(con_, &highest), 0);
  EXPECT_EQ(highest, 0);
}

TEST_F(AdpSceMssql, TablesAreMadeGrantedDroppedAndCounted) {
  ASSERT_EQ(adp_sce_create_table(con_, "table_x", "create table table_x (objid int)", "table_case", nullptr, 0), 0)
      << core_top_alert_text();
  std::vector<std::string> expected{"create table table_x (objid int)"};
  for (const auto& g : grants("table_x")) expected.push_back(g);
  EXPECT_EQ(adp_script_sent(), expected);

  // A view is dropped only when it exists; no synonym on this server.
  ds_script::reset();
  ds_script::push_result({{"name"}, {{cell::t("view_a")}}});
  ASSERT_EQ(adp_sce_delete_view(con_, "view_a", nullptr, 0), 0);
  ds_script::push_result({{"name"}, {}});
  ASSERT_EQ(adp_sce_delete_view(con_, "view_b", nullptr, 0), 0);
  ASSERT_EQ(adp_sce_create_synonym(con_, "table_x", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{"select id from sysobjects where name='view_a'",
                                                         "DROP VIEW view_a\n",
                                                         "select id from sysobjects where name='view_b'"}));

  ds_script::reset();
  ds_script::push_result({{"count"}, {{cell::l(2500)}}});
  long kind = 0, size = 0;
  ASSERT_EQ(adp_sce_get_table_info(con_, "table_case", &kind, &size), 0);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(size, 2500);
  ASSERT_EQ(adp_sce_get_table_info(con_, "table_case", &kind, nullptr), 0);
  ASSERT_EQ(adp_sce_delete_lowend_rows(con_, "table_case", 1000, nullptr, 0), 0);
  ASSERT_EQ(adp_sce_update_detable(con_, 3000006, nullptr), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"select count(*) from table_case", "delete table_case where objid <= 1000",
                                      "update de_table_bind set upgrade_group = 'U' where table_name like 'ADP_%'",
                                      "update de_comm set schema_version = 3000006 where node_status = 'S'"}));
  char done = 1;
  EXPECT_EQ(adp_sce_allow_nulls(con_, "table_case", "title", 1, &done), ADP_SEQUENCE);
  EXPECT_EQ(done, 0);
}

TEST_F(AdpSceMssql, NewColumnsAreAddedThenSetFromTheirDefaults) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  // A key column without default comes first: the update's first item is
  // still written without a comma.
  change(DBS_RDB_ADD_COLUMN, "case2site", nullptr, kDbInt, 1);
  change(DBS_RDB_ADD_COLUMN, "title", nullptr, kDbText, 80, "'it''s'");
  change(DBS_RDB_ADD_COLUMN, "due", nullptr, kDbDate, 1, "'01/01/1753 00:00:00'");
  change(DBS_RDB_RECOMPILE_INDEXES, nullptr, nullptr, 0, 0);
  ASSERT_EQ(adp_sce_add_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"ALTER TABLE table_case add  case2site int null,\n  title varchar(80) null,\n "
                                      "S_title varchar(80) null,\n  due datetime null\n",
                                      "update table_case set\n title = 'it''s',\n  S_title = upper('it''s'),\n  due = "
                                      "'01/01/1753 00:00:00'\n"}));
  // Nothing to add: nothing sent.
  ds_script::reset();
  utl_col_reset(changes_);
  change(DBS_RDB_RECOMPILE_INDEXES, nullptr, nullptr, 0, 0);
  ASSERT_EQ(adp_sce_add_columns(con_, case_, changes_, nullptr, 0), 0);
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpSceMssql, ADeferredInitialisationGoesToItsScriptWithTheLogTruncated) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  ASSERT_EQ(adp_sce_defer_col_init(1, "initcol.sql"), 0);
  change(DBS_RDB_ADD_COLUMN, "title", nullptr, kDbText, 80, "'new'");
  ASSERT_EQ(adp_sce_add_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  ASSERT_EQ(adp_sce_term(), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"ALTER TABLE table_case add  title varchar(80) null,\n "
                                                         "S_title varchar(80) null\n"});
  EXPECT_EQ(file_text("initcol.sql"),
            "/* SQL_BEGIN */\nupdate table_case set\n title = 'new',\n  S_title = upper('new')\n/* SQL_GO */\ngo\n"
            "dump tran crm with truncate_only\ngo\n/* SQL_END */\n");
}

TEST_F(AdpSceMssql, SearchColumnsAreFilledFromTheirFields) {
  ASSERT_EQ(adp_sce_make_table_searchable(con_, case_, "table_case", nullptr, 0), 0);
  EXPECT_TRUE(adp_script_sent().empty());  // the header asks for no search columns
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  ASSERT_EQ(adp_sce_make_table_searchable(con_, case_, "table_case", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(),
            std::vector<std::string>{"UPDATE table_case set S_title = upper(title), S_summary = upper(summary)"});
}

TEST_F(AdpSceMssql, AColumnDeletedByCopyKeepsEveryOtherColumnAndTheOldTableUntilTheCopyIsIn) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  ASSERT_EQ(adp_sce_delete_col(con_, case_, "case", "status"), 0) << core_top_alert_text();
  const std::string list = " objid, title, S_title, due, summary, S_summary, case2site, owner_id, owner_type";
  std::vector<std::string> expected{
      "select name from sysobjects where name='t_table_case'",
      "CREATE TABLE t_table_case ( objid int, title varchar(80), S_title varchar(80), due datetime, summary "
      "varchar(80), S_summary varchar(80), case2site int NULL, owner_id int NULL, owner_type int NULL)\n",
      "insert t_table_case (" + list + ") select " + list + " from table_case", "DROP TABLE table_case\n",
      "sp_rename t_table_case, table_case"};
  for (const auto& g : grants("table_case")) expected.push_back(g);
  std::vector<std::string> sent = adp_script_sent();
  // The catalogue's index read comes first.
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent.front().rfind("select indid, name", 0), 0u) << sent.front();
  sent.erase(sent.begin());
  EXPECT_EQ(sent, expected);

  // A failed copy leaves the old table and drops the copy.
  ds_script::reset();
  ds_script::fail({"FetchNextSet", 3, 0x8B0014F, "copy failed", "insert"});
  EXPECT_NE(adp_sce_delete_col(con_, case_, "case", "case2site"), 0);
  sent = adp_script_sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), "DROP TABLE t_table_case\n");
  for (const std::string& s : sent) EXPECT_EQ(s.find("sp_rename"), std::string::npos) << s;
}

TEST_F(AdpSceMssql, OptionBitZeroWritesEveryStatementToTheScriptAndRunsNothing) {
  change(DBS_RDB_RENAME_COLUMN, "status", "state", kDbText, 20);
  const std::string text = script_text([&](FILE* f) {
    EXPECT_EQ(adp_sce_create_table(con_, "table_x", "create table table_x (objid int)", nullptr, f, kScriptOnly), 0);
    EXPECT_EQ(adp_sce_rename_table(con_, "table_x", "table_y", f, kScriptOnly), 0);
    EXPECT_EQ(adp_sce_delete_view(con_, "view_a", f, kScriptOnly), 0);
    EXPECT_EQ(adp_sce_rename_columns(con_, case_, changes_, f, kScriptOnly), 0);
    EXPECT_EQ(adp_sce_delete_lowend_rows(con_, "table_y", 7, f, kScriptOnly), 0);
  });
  EXPECT_EQ(text,
            "create table table_x (objid int)\nsp_rename table_x, table_y\nDROP VIEW view_a\n"
            "sp_rename 'table_case.status', 'state', 'COLUMN'\ndelete table_y where objid <= 7\n");
  EXPECT_TRUE(adp_script_sent().empty());
}

}  // namespace
