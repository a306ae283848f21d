// Dictionary deletion by exact text through the scripted service: a field's
// columns and rows renumbered (change rows of both servers with the offline
// feature), relations of each kind with both ends, a type with its sequence
// and binary-array tables, views and all views' rows, the row test, the
// trigger probe, and names that must not reach SQL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_obj_model.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_del.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_script_answers.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using namespace adp_obj_model;
using ds_script::cell;
using texts = std::vector<std::string>;

constexpr long kBindSwitch = 9;
constexpr long kManaged = 5;
constexpr long kRoamer = 32;
constexpr long kUpperColumns = 1;
constexpr long kRefusedName = 0x60000C;
constexpr long kServerError = 0x8B0014F;

using adp_script_answers::found;
using adp_script_answers::none;
ds_script::result count_of(long n) { return {{"count"}, {{cell::l(n)}}}; }
// The answer of a statement that runs (every statement takes one answer).
ds_script::result done() { return {{}, {}, 1}; }
// n statements' answers, then the given ones.
std::vector<ds_script::result> after(long n, std::vector<ds_script::result> then) {
  std::vector<ds_script::result> out(static_cast<size_t>(n), done());
  out.insert(out.end(), then.begin(), then.end());
  return out;
}
void answer(const std::vector<ds_script::result>& answers) {
  for (const auto& a : answers) ds_script::push_result(a);
}
// The nth statement or query of the batch fails; the nth DDL statement fails.
ds_script::failure failing(long nth, const char* text) { return {"FetchNextSet", nth, 1, text, "", false}; }
ds_script::failure failing_ddl(long nth, const char* text) { return {"ExecStatement", nth, 1, text, "", false}; }

const char kMssqlColumn[] =
    "select colid from sysobjects, syscolumns \t\t\t\t\t\twhere sysobjects.name='%t' \t\t\t\t\t\tand "
    "sysobjects.id=syscolumns.id \t\t\t\t\t\tand syscolumns.name='%c'";
const char kOraColumn[] =
    "select column_name from user_tab_columns \t\t\t\t\t\t\t\twhere table_name = upper('%t') \t\t\t\t\t\t\t\tand "
    "column_name = upper('%c')";

// The column probe of the driver for one table and column.
std::string column_probe(const std::string& driver, const std::string& table, const std::string& column) {
  std::string s = driver == "oledb" ? kMssqlColumn : kOraColumn;
  s.replace(s.find("%t"), 2, table);
  s.replace(s.find("%c"), 2, column);
  return s;
}

std::string ora_moves(const char* table, const char* column, long type_id, long spec) {
  const std::string c = column;
  return std::string("insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) select objid, "
                     "dev+1, dev, '") +
         table + "', concat('1 " + c + " ', concat(TO_CHAR(LENGTH(TO_CHAR(" + c + "-1))), concat(' ', TO_CHAR(" + c +
         "-1)))) from " + table + " where type_id=" + std::to_string(type_id) + " and " + c + ">" +
         std::to_string(spec);
}

std::string mssql_moves(const char* table, const char* column, long type_id, long spec) {
  const std::string c = column;
  return std::string("insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) select objid, "
                     "dev+1, dev, '") +
         table + "', '1 " + c + " ' + convert(varchar, LEN(convert(varchar, " + c + "-1))) + ' ' + convert(varchar, " +
         c + "-1) from " + table + " where type_id=" + std::to_string(type_id) + " and " + c + ">" +
         std::to_string(spec);
}

class AdpSchDel : public adp_test {
 protected:
  void open(const char* driver, long header_flags = 0) {
    ASSERT_EQ(cmn_meth_install_all(), 0);
    build();
    con_ = connect(driver);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), 0);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kManaged), 0);
    adp_db_set_head_read(1);
    adp_db_set_flags(header_flags);
    con_->GetHeader()->flags = header_flags;
    ds_script::reset();
  }
  void TearDown() override {
    release();
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  static typ_sch_rrec* relation(const char* pname) {
    for (long i = 0; i < typ_sch_num_rels; ++i) {
      if (typ_sch_relations[i].pname != nullptr && std::string(typ_sch_relations[i].pname) == pname) {
        return &typ_sch_relations[i];
      }
    }
    return nullptr;
  }
  // Every transaction this call began was ended.
  static void expect_balanced() {
    EXPECT_EQ(ds_script::count("BeginTransaction"), ds_script::count("EndTransaction"));
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpSchDel, AFieldLeavesItsTableAndTheLaterFieldsMoveDown) {
  const struct {
    const char* driver;
    long flags;
    const char* field;
    std::vector<ds_script::result> answers;
    texts sent;
  } rows[] = {
      // Searchable with upper-case columns: both columns go; the offline
      // feature records the moved rows first.
      {"oledb",
       kRoamer | kUpperColumns,
       "title",
       {found(), done(), found()},
       {column_probe("oledb", "table_ticket", "title"), "ALTER TABLE table_ticket DROP COLUMN title",
        column_probe("oledb", "table_ticket", "S_title"), "ALTER TABLE table_ticket DROP COLUMN S_title",
        "delete from adp_sch_info where type_id=40 and spec_field_id=2",
        mssql_moves("adp_sch_info", "spec_field_id", 40, 2),
        "update adp_sch_info set spec_field_id=spec_field_id-1 where type_id=40 and spec_field_id>2"}},
      {"oracle",
       kRoamer,
       "count",
       {found()},
       {column_probe("oracle", "table_ticket", "count"), "ALTER TABLE table_ticket DROP COLUMN count",
        "delete from adp_sch_info where type_id=40 and spec_field_id=7",
        ora_moves("adp_sch_info", "spec_field_id", 40, 7),
        "update adp_sch_info set spec_field_id=spec_field_id-1 where type_id=40 and spec_field_id>7"}},
      // Without the offline feature no change rows; a column that is not
      // there is not dropped, and no search column without upper columns.
      {"oracle",
       0,
       "title",
       {none()},
       {column_probe("oracle", "table_ticket", "title"),
        "delete from adp_sch_info where type_id=40 and spec_field_id=2",
        "update adp_sch_info set spec_field_id=spec_field_id-1 where type_id=40 and spec_field_id>2"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.driver) + " " + r.field);
    open(r.driver, r.flags);
    for (const auto& a : r.answers) ds_script::push_result(a);
    typ_sch_srec* s = schema(kTicket);
    long spec = -1;
    for (long i = 0; i < s->nfields; ++i) {
      if (std::string(s->fields[i].name) == r.field) spec = i;
    }
    ASSERT_EQ(adp_sch_delete_field(con_, kTicket, "ticket", spec, r.field, s), 0);
    EXPECT_EQ(adp_script_sent(), r.sent);
    expect_balanced();
    EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
  }
}

TEST_F(AdpSchDel, AFailingRenumberRollsBackAndAFailingDropStopsEarly) {
  // The column probe, the row delete, the change rows.
  open("oracle", kRoamer);
  ds_script::push_result(found());
  ds_script::fail(failing(3, "ORA-00942: table or view does not exist"));
  EXPECT_NE(adp_sch_delete_field(con_, kTicket, "ticket", 7, "count", schema(kTicket)), 0);
  expect_balanced();
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 0);
  EXPECT_EQ(ds_script::count("Statement update"), 0);

  open("oracle");
  ds_script::push_result(found());
  ds_script::fail(failing_ddl(1, "ORA-00904: invalid identifier"));
  EXPECT_NE(adp_sch_delete_field(con_, kTicket, "ticket", 7, "count", schema(kTicket)), 0);
  EXPECT_EQ(ds_script::count("BeginTransaction"), 0);  // no row touched
}

TEST_F(AdpSchDel, ARelationDropsTheColumnsItsDdlMadeAndBothEndsRenumber) {
  const struct {
    const char* driver;
    long flags;
    const char* relation;
    char side;
    std::vector<ds_script::result> answers;
    texts columns;  // the statements before the dictionary rows
  } rows[] = {
      {"oledb",
       0,
       "ticket2note",
       'p',
       {found()},
       {column_probe("oledb", "table_note", "note2ticket"), "ALTER TABLE table_note DROP COLUMN note2ticket"}},
      // A relation with relation flags made the pair of physical-name and
      // focus columns.
      {"oracle",
       0,
       "ticket2note_owner",
       'f',
       {found(), done(), found()},
       {column_probe("oracle", "table_note", "owner_id"), "ALTER TABLE table_note DROP COLUMN owner_id",
        column_probe("oracle", "table_note", "owner_type"), "ALTER TABLE table_note DROP COLUMN owner_type"}},
      // A link table's relation made no column; the link table stays.
      {"oledb", kRoamer, "ticket2tag", 'p', {}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.relation);
    open(r.driver, r.flags);
    for (const auto& a : r.answers) ds_script::push_result(a);
    typ_sch_rrec* rel = relation(r.relation);
    ASSERT_NE(rel, nullptr);
    const long this_type = r.side == 'p' ? rel->pschema->type_id : rel->fschema->type_id;
    const long this_spec = r.side == 'p' ? rel->pspec : rel->fspec;
    const long other_type = r.side == 'p' ? rel->fschema->type_id : rel->pschema->type_id;
    const long other_spec = r.side == 'p' ? rel->fspec : rel->pspec;
    core_msg_capture msgs;
    ASSERT_TRUE(msgs.start());
    ASSERT_EQ(adp_sch_delete_rel(con_, this_type, "", r.side, rel), 0);
    texts want = r.columns;
    for (const auto& [type, spec] : {std::pair{this_type, this_spec}, std::pair{other_type, other_spec}}) {
      const std::string where = "type_id=" + std::to_string(type) + " and spec_rel_id";
      want.push_back("delete from adp_sch_rel_info where " + where + "=" + std::to_string(spec));
      if (r.flags & kRoamer) want.push_back(mssql_moves("adp_sch_rel_info", "spec_rel_id", type, spec));
      want.push_back("update adp_sch_rel_info set spec_rel_id=spec_rel_id-1 where " + where + ">" +
                     std::to_string(spec));
    }
    EXPECT_EQ(adp_script_sent(), want);
    EXPECT_EQ(msgs.text(), "Deleting rel '" + std::string(rel->pname) + "/" + rel->fname +
                               "', inv type=" + std::to_string(other_type) +
                               ", spec_rel_id=" + std::to_string(other_spec) + "\n");
    expect_balanced();
    EXPECT_EQ(ds_script::count("EndTransaction 1"), 2);  // one per end
  }
}

TEST_F(AdpSchDel, AnExclusivePairAnotherRelationStillWritesStays) {
  open("oledb");
  typ_sch_rrec* owner = relation("ticket2note_owner");
  ASSERT_NE(owner, nullptr);
  // A second relation of the note's exclusive set: the model's own record
  // still uses owner_id and owner_type, so neither column is dropped.
  typ_sch_rrec second = *owner;
  ASSERT_EQ(adp_sch_delete_rel(con_, kTicket, "ticket", 'p', &second), 0);
  for (const std::string& s : adp_script_sent()) EXPECT_EQ(s.find("DROP COLUMN"), std::string::npos) << s;
  EXPECT_EQ(ds_script::count("Statement select colid"), 0);
  EXPECT_EQ(ds_script::count("Statement delete from adp_sch_rel_info"), 2);
}

const texts kTypeRows = {
    "delete from adp_sch_info where type_id=42",         "delete from adp_sch_rel_info where type_id=42",
    "delete from adp_tbl_name_map where type_id=42",     "delete from adp_sch_index where type_id=42",
    "delete from adp_view_join_info where obj_type_id=42", "delete from adp_view_join_info where view_type_id=42",
    "delete from adp_view_field_info where from_obj_type=42",
    "delete from adp_view_field_info where view_type_id=42",
};
const texts kIdCounter = {"DELETE FROM adp_tbl_oid WHERE type_id = 42",
                          "INSERT INTO adp_tbl_oid (type_id, obj_num) values (42,0)"};
const char kSequenceProbe[] = "select sequence_name from user_sequences where sequence_name = upper('SEQ_tag')";

texts joined(std::initializer_list<texts> parts) {
  texts out;
  for (const texts& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST_F(AdpSchDel, ATypeGoesWithItsRowsTableSequenceAndArrayTables) {
  const std::string mssql_arrays =
      "select name from sysobjects where type = 'U' and name like 'table\\_tag\\_array\\_%' escape '\\'";
  const std::string ora_arrays =
      "select name from user_tables \t\t   where upper(table_name) like upper('table\\_tag\\_array\\_%') escape '\\'";
  const ds_script::result arrays{{"name"}, {{cell::t("table_tag_array_3")}, {cell::t("table_tag_array_4")}}};
  const struct {
    const char* driver;
    std::vector<ds_script::result> answers;
    texts sent;
    std::string printed;
  } rows[] = {
      {"oledb",
       after(11, {arrays}),
       joined({kTypeRows, kIdCounter,
               {"drop table table_tag", mssql_arrays, "drop table table_tag_array_3", "drop table table_tag_array_4"}}),
       "DROPPING BINARY ARRAY TABLE 'table_tag_array_3'\nDROPPING BINARY ARRAY TABLE 'table_tag_array_4'\n"},
      // Oracle drops the sequence once: the second look finds it gone. Each
      // array table loses its own synonym.
      {"oracle",
       after(8, {found(), done(), done(), done(), done(), done(), done(), none(), arrays}),
       joined({kTypeRows,
               {kSequenceProbe, "DROP SEQUENCE SEQ_tag", "DROP PUBLIC SYNONYM SEQ_tag"},
               kIdCounter,
               {"drop table table_tag", "drop public synonym table_tag", kSequenceProbe, ora_arrays,
                "drop table table_tag_array_3", "drop public synonym table_tag_array_3", "drop table table_tag_array_4",
                "drop public synonym table_tag_array_4"}}),
       "DROPPING BINARY ARRAY TABLE 'table_tag_array_3'\nDROPPING BINARY ARRAY TABLE 'table_tag_array_4'\n"},
      // A type without a sequence or array tables.
      {"oracle",
       after(8, {none(), done(), done(), done(), done(), none(), none()}),
       joined({kTypeRows, {kSequenceProbe}, kIdCounter,
               {"drop table table_tag", "drop public synonym table_tag", kSequenceProbe, ora_arrays}}),
       ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    open(r.driver);
    answer(r.answers);
    core_msg_capture msgs;
    ASSERT_TRUE(msgs.start());
    ASSERT_EQ(adp_sch_delete_type(con_, kTag, "tag"), 0);
    EXPECT_EQ(adp_script_sent(), r.sent);
    EXPECT_EQ(msgs.text(), r.printed);
    expect_balanced();
  }
}

TEST_F(AdpSchDel, TypeDeletionFailures) {
  // A failing row delete rolls the type's rows back and drops nothing.
  open("oledb");
  ds_script::fail(failing(3, "refused"));
  EXPECT_NE(adp_sch_delete_type(con_, kTag, "tag"), 0);
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 0);
  EXPECT_EQ(ds_script::count("Statement drop"), 0);
  expect_balanced();

  // The table's drop failing ends the call before the array tables.
  open("oledb");
  ds_script::fail(failing_ddl(1, "no such table"));
  EXPECT_NE(adp_sch_delete_type(con_, kTag, "tag"), 0);
  EXPECT_EQ(adp_script_sent().back(), "drop table table_tag");

  // A dropped array table or synonym that is already gone is no failure.
  open("oracle");
  answer(after(8, {none(), done(), done(), done(), done(), none(),
                   ds_script::result{{"name"}, {{cell::t("table_tag_array_3")}}}}));
  ds_script::fail(failing_ddl(3, "ORA-00942: table or view does not exist"));
  EXPECT_EQ(adp_sch_delete_type(con_, kTag, "tag"), 0);
  EXPECT_EQ(adp_script_sent().back(), "drop public synonym table_tag_array_3");
  EXPECT_TRUE(core_alert_codes().empty());

  // A name that is no plain name never reaches a drop.
  open("oledb");
  EXPECT_EQ(adp_sch_delete_type(con_, kTag, "tag; drop table x"), kRefusedName);
  EXPECT_TRUE(adp_script_sent().empty());  // not even the type's rows
}

TEST_F(AdpSchDel, TheTypeRowsAloneAndTheModelDecidesTheSequence) {
  open("oracle");
  // The model knows no type 77: no sequence is looked for.
  ASSERT_EQ(adp_sch_delete_type_info(con_, 77), 0);
  const texts sent = adp_script_sent();
  ASSERT_EQ(sent.size(), kTypeRows.size() + kIdCounter.size());
  EXPECT_EQ(sent.front(), "delete from adp_sch_info where type_id=77");
  EXPECT_EQ(sent.back(), "INSERT INTO adp_tbl_oid (type_id, obj_num) values (77,0)");
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
}

TEST_F(AdpSchDel, ViewsTheirRowsAndTheirDrop) {
  const texts view_rows = {"delete from adp_sch_info where type_id=30", "delete from adp_view_join_info where view_type_id=30",
                           "delete from adp_view_field_info where view_type_id=30",
                           "delete from adp_tbl_name_map where type_id=30"};
  open("oledb");
  ASSERT_EQ(adp_sch_delete_view(con_, 30, "tview"), 0);
  EXPECT_EQ(adp_script_sent(), joined({view_rows, {"drop view table_tview"}}));
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);

  // The view's drop may fail (already gone): the rows are deleted all the same.
  open("oracle");
  ds_script::fail(failing_ddl(1, "ORA-00942: table or view does not exist"));
  ASSERT_EQ(adp_sch_delete_view(con_, 30, "tview"), 0);
  EXPECT_EQ(adp_script_sent(), joined({view_rows, {"drop view table_tview", "drop public synonym table_tview"}}));
  EXPECT_TRUE(core_alert_codes().empty());

  open("oledb");
  ASSERT_EQ(adp_sch_del_view_info(con_), 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"delete from adp_tbl_name_map where type_id IN (select DISTINCT view_type_id from "
                   "adp_view_field_info) ",
                   "delete from adp_sch_info where type_id IN (select DISTINCT view_type_id from adp_view_field_info) ",
                   "delete from adp_view_field_info ", "delete from adp_view_join_info "}));
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
}

TEST_F(AdpSchDel, AViewIsDroppedOnlyWhenItExists) {
  typ_sch_iblk info{};
  std::snprintf(info.name, sizeof info.name, "tview");
  typ_sch_srec view{};
  view.info = &info;
  const struct {
    const char* driver;
    ds_script::result exists;
    long failing_nth;  // the DDL statement that fails (0: none)
    long status;
    texts drops;
  } rows[] = {
      {"oledb", none(), 0, 0, {}},
      {"oledb", found(), 0, 0, {"drop view table_tview "}},
      {"oracle", found(), 0, 0, {"drop view table_tview ", "drop public synonym table_tview "}},
      // The view's own drop failing is returned; no synonym is dropped then.
      {"oracle", found(), 1, kServerError, {"drop view table_tview "}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    open(r.driver);
    ds_script::push_result(r.exists);
    if (r.failing_nth != 0) ds_script::fail(failing_ddl(r.failing_nth, "refused"));
    const long st = adp_sch_drop_view(con_, &view);
    EXPECT_EQ(st != 0, r.status != 0);
    const texts sent = adp_script_sent();
    ASSERT_EQ(sent.size(), r.drops.size() + 1);
    EXPECT_EQ(texts(sent.begin() + 1, sent.end()), r.drops);
  }
}

TEST_F(AdpSchDel, TheRowTestAndTheTriggerProbe) {
  const struct {
    std::vector<ds_script::result> answers;
    char has_rows;
  } rows[] = {{{count_of(0)}, 0}, {{count_of(3)}, 1}, {{none()}, 0}};
  for (const auto& r : rows) {
    open("oledb");
    for (const auto& a : r.answers) ds_script::push_result(a);
    char has_rows = 7;
    ASSERT_EQ(adp_sch_does_table_have_data(con_, "table_case", &has_rows), 0);
    EXPECT_EQ(has_rows, r.has_rows);
    EXPECT_EQ(adp_script_sent(), texts{"SELECT COUNT(*) FROM table_case"});
  }
  open("oledb");
  char has_rows = 7;
  EXPECT_EQ(adp_sch_does_table_have_data(con_, "table_case where 1=0 union select 5", &has_rows), kRefusedName);
  EXPECT_EQ(has_rows, 0);
  EXPECT_TRUE(adp_script_sent().empty());

  char found_byte = 7, enabled = 7;
  EXPECT_EQ(adp_sch_get_trigger(con_, "table_case", 1, &found_byte, &enabled), 0);
  EXPECT_EQ(found_byte, 0);
  EXPECT_EQ(enabled, 0);
}

}  // namespace
