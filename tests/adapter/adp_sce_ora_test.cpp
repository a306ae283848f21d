// Oracle's schema-change statements through the scripted service, each
// text compared whole: the exclusive-group conversion block, type flags by
// BITAND, column renames and table renames with their indexes, the storage
// clause of a template table, new columns with dates through TO_DATE (at
// once and deferred), a column deleted by copy, views with their synonyms,
// the journal and the smaller steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_fixture.h"
#include "adapter/adp_sch_upg.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

namespace {

using ds_script::cell;
using texts = std::vector<std::string>;
using namespace adp_sce_fixture;

constexpr long kServerError = 0x8B0014F;
constexpr const char kTemplateQuery[] =
    "select initial_extent, \t\t\t\tnext_extent, min_extents,max_extents,\t\t\t\tpct_increase, tablespace_name from "
    "user_tables where table_name = upper('table_case')";

// The answer of a statement that runs.
ds_script::result done() { return {{}, {}, 1}; }
// The nth DDL statement (or block) sent fails.
ds_script::failure failing_ddl(long nth) { return {"ExecStatement", nth, kServerError, "refused", "", false}; }

texts grants(const std::string& table) {
  return {"grant SELECT, UPDATE, INSERT, DELETE on " + table + " to group orbisan_user",
          "grant ALL on " + table + " to group orbisan_administrator",
          "grant SELECT on " + table + " to group orbisan_reporter"};
}

texts plus(texts a, const texts& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class AdpSceOra : public adp_sce_test {
 protected:
  void SetUp() override {
    adp_sce_test::SetUp();
    open("oracle");
  }
};

TEST_F(AdpSceOra, TheConversionBlockDeclaresItsRecordUnqualifiedAndCommitsEveryThousandRows) {
  adp_sce_conversion conversion;
  ASSERT_EQ(adp_sce_upgrade_exclusive(con_, &conversion.record, "table_case", "T_table_case", nullptr, 0), 0)
      << core_top_alert_text();
  const std::string block =
      "DECLARE\n\t\t\t\tCURSOR temp_cursor IS SELECT case2site, objid FROM table_case WHERE case2site is NOT "
      "NULL;\n\t\t\t\tcounter number default 0;\n\t\t\t\tfrom_rec table_case%ROWTYPE;\nBEGIN\n\t\t\t\t"
      "dbms_transaction.begin_discrete_transaction;\n\t\t\t\t\tFOR temp_rec IN temp_cursor LOOP\n\t\t\t\t\t\t"
      "UPDATE T_table_case\n\t\t\t\t\t\tSET owner_id = temp_rec.case2site, owner_type = 4202\n\t\t\t\t\t\twhere "
      "objid = temp_rec.objid;\n\n\t\t\t\t\t\tif mod(counter, 1000) = 0 then \n\t\t\t\t\t\tcommit;\n\t\t\t\t\t\t"
      "end if;\n\t\t\t\t\t\tcounter := counter+1;\n\t\t\t\t\tEND LOOP;\n\t\t\t\tcommit;\nEND;\n";
  EXPECT_EQ(adp_script_sent(), texts{block});
  // The script pair: the block is written whole, nothing runs.
  ds_script::reset();
  const std::string written = script_text([&](FILE* f) {
    EXPECT_EQ(adp_sce_upgrade_exclusive(con_, &conversion.record, "table_case", "T_table_case", f, kScriptOnly), 0);
  });
  EXPECT_EQ(written, block);
  EXPECT_TRUE(adp_script_sent().empty());
  // The block's failure is the call's.
  ds_script::fail(failing_ddl(1));
  EXPECT_NE(adp_sce_upgrade_exclusive(con_, &conversion.record, "table_case", "T_table_case", nullptr, 0), 0);
}

TEST_F(AdpSceOra, TypeFlagsAreSetOrClearedByBitArithmetic) {
  const struct {
    unsigned long flags;
    long added;  // what the update adds after taking the two bits away
  } cases[] = {{0x280000, 0x280000}, {0, 0}, {0x80000, 0x80000}, {0x200000 | 0x1000, 0x200000}};
  for (const auto& k : cases) {
    EXPECT_EQ(flags_sent(k.flags), texts{"update adp_tbl_name_map \n \t\t\t\t\t\tset type_flags = type_flags - "
                                       "BITAND(type_flags, 2621440) + " +
                                       std::to_string(k.added) + "\n \t\t\t\t\t\twhere type_id = 4201"})
        << k.flags;
  }
}

TEST_F(AdpSceOra, ColumnRenamesTakeTheirSearchColumnsAlong) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  change(DBS_RDB_RENAME_COLUMN, "status", "state", kDbText, 20);
  change(DBS_RDB_RENAME_COLUMN, "headline", "title", kDbText, 80);
  change(DBS_RDB_ADD_COLUMN, "other", nullptr, kDbInt, 1);
  ASSERT_EQ(adp_sce_rename_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(adp_script_sent(), (texts{"ALTER TABLE table_case RENAME COLUMN status TO state",
                                      "ALTER TABLE table_case RENAME COLUMN headline TO title",
                                      "ALTER TABLE table_case RENAME COLUMN S_headline TO S_title"}));
}

// The catalogue read for the other indexes of a renamed table: its "_"
// escaped, the table by its new name.
std::string index_query(const std::string& old_short, const std::string& escaped, const std::string& table) {
  return "SELECT SUBSTR(INDEX_NAME, LENGTH('" + old_short + "') + 2) FROM \t\t\tUSER_INDEXES\nWHERE TABLE_NAME = "
         "UPPER('" + table + "') AND \n\t\t\tINDEX_NAME NOT LIKE '%OBJINDEX' AND INDEX_NAME LIKE UPPER('" + escaped +
         "\\_%\\_INDEX') ESCAPE '\\'";
}

TEST_F(AdpSceOra, ATableRenameRenamesItsIndexesByAlterIndex) {
  const texts object_id_indexes{"ALTER INDEX old_case_objindex RENAME TO new_case_objindex\n",
                                "ALTER INDEX old_case_index RENAME TO new_case_objindex\n"};
  const std::string query = index_query("old_case", "old\\_case", "table_new_case");
  const struct {
    const char* name;
    std::vector<ds_script::failure> failures;
    long answered;  // statements run before the catalogue read
    long status;
    texts sent;
  } rows[] = {
      {"every index renamed", {}, 3, 0,
       plus(plus({"RENAME table_old_case to table_new_case\n"}, object_id_indexes),
            {query, "ALTER INDEX old_case_TITLE_INDEX RENAME TO new_case_TITLE_INDEX\n",
             "ALTER INDEX old_case_DUE_X_INDEX RENAME TO new_case_DUE_X_INDEX\n"})},
      // The object-id index under either name may be missing: no failure.
      {"object-id renames refused", {failing_ddl(2), failing_ddl(3)}, 1, 0,
       plus(plus({"RENAME table_old_case to table_new_case\n"}, object_id_indexes),
            {query, "ALTER INDEX old_case_TITLE_INDEX RENAME TO new_case_TITLE_INDEX\n",
             "ALTER INDEX old_case_DUE_X_INDEX RENAME TO new_case_DUE_X_INDEX\n"})},
      // A listed index that cannot be renamed ends the call.
      {"listed rename refused", {failing_ddl(4)}, 3, 1,
       plus(plus({"RENAME table_old_case to table_new_case\n"}, object_id_indexes),
            {query, "ALTER INDEX old_case_TITLE_INDEX RENAME TO new_case_TITLE_INDEX\n"})},
      // The table itself refused: no index is touched.
      {"table rename refused", {failing_ddl(1)}, 0, 1, {"RENAME table_old_case to table_new_case\n"}},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    for (const auto& f : r.failures) ds_script::fail(f);
    for (long i = 0; i < r.answered; ++i) ds_script::push_result(done());
    ds_script::push_result({{"suffix"}, {{cell::t("TITLE_INDEX")}, {cell::t("DUE_X_INDEX")}}});
    const long st = adp_sce_rename_table(con_, "table_old_case", "table_new_case", nullptr, 0);
    EXPECT_EQ(st != 0, r.status != 0) << r.name << ": " << core_top_alert_text();
    EXPECT_EQ(adp_script_sent(), r.sent) << r.name;
    if (r.status == 0) {
      EXPECT_EQ(core_top_alert_text(), "") << r.name;
    }
  }
}

TEST_F(AdpSceOra, OnlyTablesNamedAsTablesWithoutArraysTakeTheirIndexesAlong) {
  const struct {
    const char* from;
    const char* to;
  } plain[] = {{"table_case_array", "table_ticket_array"}, {"TABLE_CASE_ARRAY", "TABLE_T"}, {"case", "table_ticket"},
               {"table_case", "ticket"}};
  for (const auto& p : plain) {
    ds_script::reset();
    ASSERT_EQ(adp_sce_rename_table(con_, p.from, p.to, nullptr, 0), 0) << p.from;
    EXPECT_EQ(adp_script_sent(), texts{std::string("RENAME ") + p.from + " to " + p.to + "\n"}) << p.from;
  }
  // Written to the script: the table and its object-id index, no catalogue
  // read.
  ds_script::reset();
  const std::string written = script_text(
      [&](FILE* f) { EXPECT_EQ(adp_sce_rename_table(con_, "TABLE_CASE", "TABLE_TICKET", f, kScriptOnly), 0); });
  EXPECT_EQ(written,
            "RENAME TABLE_CASE to TABLE_TICKET\nALTER INDEX CASE_objindex RENAME TO TICKET_objindex\n"
            "ALTER INDEX CASE_index RENAME TO TICKET_objindex\n");
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpSceOra, ANewTableTakesTheStorageOfItsTemplate) {
  const std::string ddl = "create table table_x (objid number)";
  const auto row = [](std::vector<cell> cells) {
    return ds_script::result{{"initial_extent", "next_extent", "min_extents", "max_extents", "pct_increase",
                              "tablespace_name"},
                             {cells}};
  };
  const struct {
    const char* name;
    std::vector<ds_script::result> answers;
    std::string clause;
  } rows[] = {
      {"numbers and tablespace",
       {row({cell::l(65536), cell::l(131072), cell::l(1), cell::l(505), cell::l(0), cell::t("USERS")})},
       " storage (initial 65536 next 131072 minextents \n\t\t\t\t1 maxextents 505 pctincrease 0) tablespace USERS"},
      {"no storage numbers",
       {row({cell::null(), cell::null(), cell::null(), cell::null(), cell::null(), cell::t("USERS")})},
       " tablespace USERS"},
      {"one number missing",
       {row({cell::l(65536), cell::null(), cell::l(1), cell::l(505), cell::l(0), cell::null()})},
       ""},
      {"template not found", {ds_script::result{{"initial_extent"}, {}}}, ""},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    for (const auto& a : r.answers) ds_script::push_result(a);
    ASSERT_EQ(adp_sce_create_table(con_, "table_x", ddl.c_str(), "table_case", nullptr, 0), 0)
        << r.name << ": " << core_top_alert_text();
    EXPECT_EQ(adp_script_sent(), plus({kTemplateQuery, ddl + r.clause}, grants("table_x"))) << r.name;
  }
  // Without a template no catalogue read.
  ds_script::reset();
  ASSERT_EQ(adp_sce_create_table(con_, "table_x", ddl.c_str(), nullptr, nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), plus({ddl}, grants("table_x")));
}

TEST_F(AdpSceOra, NewColumnsAreAddedInParenthesesAndDatesSetThroughToDate) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  change(DBS_RDB_ADD_COLUMN, "case2site", nullptr, kDbInt, 1);
  change(DBS_RDB_ADD_COLUMN, "title", nullptr, kDbText, 80, "'it''s'");
  change(DBS_RDB_ADD_COLUMN, "due", nullptr, kDbDate, 1, "'01/01/1753 00:00:00'");
  ASSERT_EQ(adp_sce_add_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  EXPECT_EQ(adp_script_sent(),
            (texts{"ALTER TABLE table_case add ( case2site number null,\n  title varchar2(80) null,\n S_title "
                   "varchar2(80) null,\n  due date null)\n",
                   "update table_case set\n title = 'it''s',\n  S_title = upper('it''s'),\n  due = "
                   "TO_DATE('01/01/1753 00:00:00', 'MM/DD/YYYY HH24:MI:SS')\n"}));
}

TEST_F(AdpSceOra, ADeferredInitialisationEndsWithASemicolon) {
  ASSERT_EQ(adp_sce_defer_col_init(1, nullptr), 0);
  change(DBS_RDB_ADD_COLUMN, "due", nullptr, kDbDate, 1, "'12/31/2026 23:59:59'");
  change(DBS_RDB_ADD_COLUMN, "status", nullptr, kDbText, 20, "'open'");
  ASSERT_EQ(adp_sce_add_columns(con_, case_, changes_, nullptr, 0), 0) << core_top_alert_text();
  ASSERT_EQ(adp_sce_term(), 0);
  EXPECT_EQ(adp_script_sent(),
            texts{"ALTER TABLE table_case add ( due date null,\n  status varchar2(20) null)\n"});
  EXPECT_EQ(file_text("initcol.sql"),
            "/* SQL_BEGIN */\nupdate table_case set\n due = TO_DATE('12/31/2026 23:59:59', 'MM/DD/YYYY "
            "HH24:MI:SS'),\n  status = 'open'\n/* SQL_GO */\n;\n/* SQL_END */\n");
}

TEST_F(AdpSceOra, AColumnDeletedByCopyInsertsIntoTheCopyBeforeTheOldTableGoes) {
  adp_db_set_flags(ADP_HEAD_UPPER_COLUMNS);
  ASSERT_EQ(adp_sce_delete_col(con_, case_, "case", "status"), 0) << core_top_alert_text();
  const std::string list = " objid, title, S_title, due, summary, S_summary, case2site, owner_id, owner_type";
  const texts expected = plus(
      {"CREATE TABLE table_table_case_TEMP ( objid number, title varchar2(80), S_title varchar2(80), due date, summary "
       "varchar2(80), S_summary varchar2(80), case2site number NULL, owner_id number NULL, owner_type number NULL)\n",
       "INSERT INTO table_table_case_TEMP (" + list + ") select " + list + " from table_case",
       "DROP TABLE table_case\n", "RENAME table_table_case_TEMP to table_case"},
      grants("table_case"));
  texts sent = adp_script_sent();
  // The catalogue's index read and the look for a copy left over come first.
  ASSERT_GE(sent.size(), expected.size());
  sent.erase(sent.begin(), sent.end() - static_cast<long>(expected.size()));
  EXPECT_EQ(sent, expected);
}

TEST_F(AdpSceOra, AViewGoesWithItsPublicSynonym) {
  ASSERT_EQ(adp_sce_delete_view(con_, "view_a", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), (texts{"DROP VIEW view_a\n", "DROP PUBLIC SYNONYM view_a\n"}));
  // A synonym that is not there is no failure; a view that cannot be
  // dropped is.
  ds_script::reset();
  ds_script::fail(failing_ddl(2));
  EXPECT_EQ(adp_sce_delete_view(con_, "view_a", nullptr, 0), 0);
  EXPECT_EQ(core_top_alert_text(), "");
  ds_script::reset();
  ds_script::fail(failing_ddl(1));
  EXPECT_NE(adp_sce_delete_view(con_, "view_a", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), texts{"DROP VIEW view_a\n"});
  // Written to the script: the view only.
  ds_script::reset();
  EXPECT_EQ(script_text([&](FILE* f) { EXPECT_EQ(adp_sce_delete_view(con_, "view_a", f, kScriptOnly), 0); }),
            "DROP VIEW view_a\n");
  // A synonym for a new table, its failure left behind.
  ds_script::reset();
  ds_script::fail(failing_ddl(1));
  EXPECT_EQ(adp_sce_create_synonym(con_, "table_x", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), texts{"create public synonym table_x for table_x"});
}

TEST_F(AdpSceOra, TheJournalAndTheSmallerSteps) {
  ASSERT_EQ(adp_sce_insert_upgrade_ops(con_, 11, 3000005, 5, "case", "it's", "'it''s'"), 0);
  ASSERT_EQ(adp_sce_update_detable(con_, 3000006, nullptr), 0);
  ASSERT_EQ(adp_sce_delete_lowend_rows(con_, "table_case", 1000, nullptr, 0), 0);
  char done_flag = 0;
  ASSERT_EQ(adp_sce_allow_nulls(con_, "table_case", "title", 1, &done_flag), 0);
  EXPECT_EQ(done_flag, 1);
  ASSERT_EQ(adp_sce_allow_nulls(con_, "table_case", "status", 0, &done_flag), 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"insert into adp_upgrade_ops (objid, dev, version, opcode, object_name, field_name, details) "
                   "values(11, 1, 3000005, 5, 'case', 'it''s', 'it''s')\n",
                   "update de_table_bind set upgrade_group = 'U' where table_name like 'ADP_%'",
                   "update de_comm set schema_version = 3000006 where node_status = 'S'",
                   "delete table_case where objid <= 1000", "ALTER TABLE table_case MODIFY (title NULL)",
                   "ALTER TABLE table_case MODIFY (status NOT NULL)"}));
  // A refused change of the null rule is not done.
  ds_script::reset();
  ds_script::fail(failing_ddl(1));
  EXPECT_NE(adp_sce_allow_nulls(con_, "table_case", "title", 1, &done_flag), 0);
  EXPECT_EQ(done_flag, 0);
  // The highest journal entry; an empty journal gives 0.
  ds_script::reset();
  long highest = -1;
  ds_script::push_result({{"max"}, {{cell::l(41)}}});
  ASSERT_EQ(adp_sce_get_sequence(con_, &highest), 0);
  EXPECT_EQ(highest, 41);
  ds_script::push_result({{"max"}, {{cell::null()}}});
  ASSERT_EQ(adp_sce_get_sequence(con_, &highest), 0);
  EXPECT_EQ(highest, 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"select max(objid) from adp_upgrade_ops", "select max(objid) from adp_upgrade_ops"}));
}

}  // namespace
