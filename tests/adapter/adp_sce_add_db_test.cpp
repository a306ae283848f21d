// The interactive adders on the MariaDB server through the Oracle-dialect
// service, on the CRM fixture opened by the store: fields added to a type
// with rows (columns, every row holding its default, dictionary rows, a
// fresh open seeing them), a relation added (key column, both types' rows),
// and failures in the middle leaving the dictionary as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "core/cmn/cmn_meth.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using table = std::vector<std::vector<std::string>>;
using texts = std::vector<std::string>;

constexpr long kCase = 10, kEmployee = 13;
constexpr unsigned long kMandatory = 0x8;

class AdpSceAddDb : public adp_ora_test {
 protected:
  void SetUp() override {
    adp_ora_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    ASSERT_TRUE(db_.run("create table table_case(objid number, title varchar(80), status varchar(20), "
                        "amount number(19,2), opened date, case2site number);\n"
                        "insert into table_case(objid, title) values(1, 'one');\n"
                        "insert into table_case(objid, title) values(2, 'two');\n"
                        "insert into table_case(objid, title) values(3, 'three');\n"));
  }
  static typ_sch_srec* type(long id) {
    typ_sch_srec* s = nullptr;
    typ_sch_find_handle(id, nullptr, &s);
    return s;
  }
  static texts field_names(long id) {
    texts out;
    const typ_sch_srec* s = type(id);
    for (long i = 0; s != nullptr && i < s->nfields; ++i) out.emplace_back(s->fields[i].name);
    return out;
  }
  static texts rel_names(long id) {
    texts out;
    const typ_sch_srec* s = type(id);
    for (long i = 0; s != nullptr && i < s->nrels; ++i) {
      // A type flagged as a view as well keeps its records by index only.
      const typ_sch_rrec& r = typ_sch_relations[s->rels[i].rel_index];
      out.emplace_back(s->rels[i].side == 'p' ? r.pname : r.fname);
    }
    return out;
  }
  bool column_exists(const std::string& column) {
    return value("select count(*) from information_schema.columns where table_schema = database() and "
                 "table_name = 'table_case' and column_name = '" +
                 column + "'") == "1";
  }
  // Every dictionary row of the case and employee types.
  table dictionary() {
    table out;
    for (const char* q : {"select type_id, type_flags, type_name from adp_tbl_name_map where type_id in (10, 13)",
                          "select type_id, field_name, cmn_type, db_type, array_size, flags, spec_field_id, "
                          "fld_default, comments from adp_sch_info where type_id in (10, 13) order by type_id, spec_field_id",
                          "select type_id, rel_name, rel_type, target_name, spec_rel_id, inv_rel_name, comments, "
                          "flags from "
                          "adp_sch_rel_info where type_id in (10, 13) order by type_id, spec_rel_id"}) {
      for (const auto& row : db_.query(q)) out.push_back(row);
    }
    return out;
  }
};

TEST_F(AdpSceAddDb, FieldsAddedToATypeWithRowsAreFilledWrittenAndReadBack) {
  KAdpConnId* con = store_session(0);
  ASSERT_NE(con, nullptr);
  adp_sce_field_spec specs[] = {{"priority", -1, "long integer", 1, 1, 0, "7"},
                                {"note", -1, "small var string", 40, 0, 1, "it's"},
                                {"due", -1, "date/time", 1, 0, 0, "03/05/2004 14:07:09"}};
  ASSERT_EQ(adp_sce_add_fields(con, "case", nullptr, 3, specs), 0) << core_top_alert_text();

  EXPECT_EQ(db_.query("select objid, priority, note, DATE_FORMAT(due, '%Y-%m-%d %H:%i:%s') from table_case "
                      "order by objid"),
            (table{{"1", "7", "it's", "2004-03-05 14:07:09"},
                   {"2", "7", "it's", "2004-03-05 14:07:09"},
                   {"3", "7", "it's", "2004-03-05 14:07:09"}}));
  EXPECT_EQ(db_.query("select field_name, cmn_type, db_type, array_size, flags, spec_field_id, fld_default from "
                      "adp_sch_info where type_id = 10 and spec_field_id >= 5 order by spec_field_id"),
            (table{{"priority", "512", "0", "1", "28", "5", "7"},
                   {"note", "516", "7", "40", "4", "6", "it's"},
                   {"due", "609", "9", "1", "4", "7", "03/05/2004 14:07:09"}}));
  // The type's other rows stay as they were, their comments too (the
  // store's model was opened without them).
  EXPECT_EQ(db_.query("select field_name, comments from adp_sch_info where type_id = 10 and spec_field_id < 5 "
                      "order by spec_field_id"),
            (table{{"objid", "Object number"},
                   {"title", "Title of the case"},
                   {"status", "Status"},
                   {"amount", "<null>"},
                   {"opened", "<null>"}}));
  EXPECT_EQ(db_.query("select type_name, comments from adp_tbl_name_map where type_id = 10"),
            (table{{"case", "A customer's case"}}));
  EXPECT_EQ(db_.query("select rel_name, comments from adp_sch_rel_info where type_id = 10"),
            (table{{"case2site", "The case's site"}}));

  // A fresh open reads the new fields from the dictionary.
  ASSERT_NE(store_session(0), nullptr);
  EXPECT_EQ(field_names(kCase), (texts{"objid", "title", "status", "amount", "opened", "priority", "note", "due"}));
  EXPECT_EQ(type(kCase)->fields[5].flags & kMandatory, kMandatory);
}

TEST_F(AdpSceAddDb, ARelationAddedGetsItsKeyColumnAndBothTypesRows) {
  KAdpConnId* con = store_session(0);
  ASSERT_NE(con, nullptr);
  const adp_sce_rel_spec specs[] = {{"case2emp", "MTO", "employee", "who owns it", "emp2case"}};
  ASSERT_EQ(adp_sce_add_relations(con, kCase, nullptr, 1, specs), 0) << core_top_alert_text();

  EXPECT_TRUE(column_exists("case2emp"));
  EXPECT_EQ(db_.query("select rel_name, rel_type, target_name, spec_rel_id, inv_rel_name, comments, flags from "
                      "adp_sch_rel_info where type_id = 10 order by spec_rel_id"),
            (table{{"case2site", "2", "site", "0", "site2case", "The case's site", "0"},
                   {"case2emp", "2", "employee", "1", "emp2case", "who owns it", "131072"}}));
  EXPECT_EQ(db_.query("select rel_name, rel_type, target_name, spec_rel_id, inv_rel_name, flags from "
                      "adp_sch_rel_info where type_id = 13 order by spec_rel_id"),
            (table{{"employee2contact", "4", "contact", "0", "contact2employee", "0"},
                   {"emp2case", "1", "case", "1", "case2emp", "131072"}}));

  ASSERT_NE(store_session(0), nullptr);
  EXPECT_EQ(rel_names(kCase), (texts{"case2site", "case2emp"}));
  EXPECT_EQ(rel_names(kEmployee), (texts{"employee2contact", "emp2case"}));
}

// The dictionary refuses a row half-way through the writing: every row of
// both types is as it was, the new columns are gone and the model is
// unchanged.
TEST_F(AdpSceAddDb, AFailureInTheMiddleLeavesTheDictionaryAsItWas) {
  ASSERT_TRUE(db_.run("alter table adp_sch_info add constraint no_bad_field check (field_name <> 'bad');\n"
                      "alter table adp_sch_rel_info add constraint no_bad_rel check (rel_name <> 'emp2bad');\n"));
  KAdpConnId* con = store_session(0);
  ASSERT_NE(con, nullptr);
  const table before = dictionary();
  ASSERT_FALSE(before.empty());

  adp_sce_field_spec fields[] = {{"good", -1, "long integer", 1, 0, 0, "1"},
                                 {"bad", -1, "long integer", 1, 0, 0, "2"}};
  EXPECT_NE(adp_sce_add_fields(con, "case", nullptr, 2, fields), 0);
  EXPECT_EQ(dictionary(), before);
  EXPECT_FALSE(column_exists("good"));
  EXPECT_FALSE(column_exists("bad"));
  EXPECT_EQ(field_names(kCase), (texts{"objid", "title", "status", "amount", "opened"}));

  const adp_sce_rel_spec rels[] = {{"case2bad", "MTO", "employee", nullptr, "emp2bad"}};
  EXPECT_NE(adp_sce_add_relations(con, kCase, nullptr, 1, rels), 0);
  EXPECT_EQ(dictionary(), before);
  EXPECT_EQ(rel_names(kCase), (texts{"case2site"}));
  EXPECT_EQ(rel_names(kEmployee), (texts{"employee2contact"}));

  // Both still work once the dictionary takes the rows.
  adp_sce_field_spec good[] = {{"good", -1, "long integer", 1, 0, 0, "1"}};
  EXPECT_EQ(adp_sce_add_fields(con, "case", nullptr, 1, good), 0) << core_top_alert_text();
  EXPECT_EQ(value("select count(*) from adp_sch_info where type_id = 10 and field_name = 'good'"), "1");
}

}  // namespace
