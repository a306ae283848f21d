// Dictionary deletion on the MariaDB server through the Oracle-dialect
// service, on the CRM fixture: a field of seven with the offline feature's
// change rows, a relation of each kind with both ends renumbered and the
// columns its DDL made dropped, a view, all views' rows, a type with its
// table, sequence and binary-array table, and the row test; each checked by
// SQL.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_del.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_meth.h"
#include "schema/typ_rec.h"

namespace {

using table = std::vector<std::vector<std::string>>;

constexpr long kRoamer = 32;
constexpr long kOtm = 1, kOtoPrimary = 3, kMtm = 5;

class AdpSchDelOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    // Text collections copy their elements by the types' methods.
    ASSERT_EQ(cmn_meth_install_all(), 0);
  }
  void offline(bool on) {
    adp_db_set_head_read(1);
    adp_db_set_flags(on ? kRoamer : 0);
  }
  // A type record of the model as the deletion reads it: id and name.
  typ_sch_srec* type(long id, const char* name) {
    types_.push_back(std::make_unique<typ_sch_iblk>());
    std::snprintf(types_.back()->name, sizeof types_.back()->name, "%s", name);
    schemas_.push_back(std::make_unique<typ_sch_srec>());
    schemas_.back()->type_id = id;
    schemas_.back()->info = types_.back().get();
    return schemas_.back().get();
  }
  bool column_exists(const std::string& table_name, const std::string& column) {
    return value("select count(*) from information_schema.columns where table_schema = database() and table_name = '" +
                 table_name + "' and column_name = '" + column + "'") == "1";
  }
  bool object_exists(const std::string& name) {
    return value("select count(*) from information_schema.tables where table_schema = database() and table_name = '" +
                 name + "'") == "1";
  }
  // A relation record between two types (names are the test's literals).
  static typ_sch_rrec relation(const char* pname, const char* fname, typ_sch_srec* primary, long pspec,
                               typ_sch_srec* foreign, long fspec, long kind) {
    typ_sch_rrec r{};
    r.pname = const_cast<char*>(pname);
    r.fname = const_cast<char*>(fname);
    r.pschema = primary;
    r.pspec = pspec;
    r.fschema = foreign;
    r.fspec = fspec;
    r.type = kind;
    return r;
  }
  table rel_rows(long type_id) {
    return db_.query("select rel_name, spec_rel_id from adp_sch_rel_info where type_id = " + std::to_string(type_id) +
                     " order by spec_rel_id");
  }

  std::vector<std::unique_ptr<typ_sch_iblk>> types_;
  std::vector<std::unique_ptr<typ_sch_srec>> schemas_;
};

TEST_F(AdpSchDelOra, FieldThreeOfSevenGoesWithThreeChangeRows) {
  ASSERT_TRUE(db_.run("create table table_wid(f0 number, f1 number, f2 number, f3 number, f4 number, f5 number, "
                      "f6 number);\n"
                      "insert into table_wid values(0, 1, 2, 3, 4, 5, 6);\n"
                      "alter table adp_sch_info add objid number;\n"
                      "alter table adp_sch_info add dev number;\n"));
  for (long i = 0; i <= 6; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_TRUE(db_.run("insert into adp_sch_info(type_id, field_name, cmn_type, db_type, array_size, dec_p, dec_s, "
                        "flags, gen_field_id, spec_field_id, objid, dev) values(50, 'f" +
                        n + "', 512, 0, 1, -1, -1, 0, -1, " + n + ", " + std::to_string(1000 + i) + ", 1);\n"));
  }
  offline(true);
  ASSERT_EQ(adp_sch_delete_field(con_, 50, "wid", 3, "f3", nullptr), 0);

  EXPECT_FALSE(column_exists("table_wid", "f3"));
  EXPECT_EQ(db_.query("select * from table_wid"), (table{{"0", "1", "2", "4", "5", "6"}}));
  EXPECT_EQ(db_.query("select field_name, spec_field_id, dev from adp_sch_info where type_id = 50 order by "
                      "spec_field_id"),
            (table{{"f0", "0", "1"}, {"f1", "1", "1"}, {"f2", "2", "1"}, {"f4", "3", "1"}, {"f5", "4", "1"},
                   {"f6", "5", "1"}}));
  EXPECT_EQ(db_.query("select row_id, row_ver, prev_row_ver, table_name, tx_detail from de_updates order by row_id"),
            (table{{"1004", "2", "1", "adp_sch_info", "1 spec_field_id 1 3"},
                   {"1005", "2", "1", "adp_sch_info", "1 spec_field_id 1 4"},
                   {"1006", "2", "1", "adp_sch_info", "1 spec_field_id 1 5"}}));
  // The other types' fields keep their numbers.
  EXPECT_EQ(value("select count(*) from adp_sch_info where type_id = 10 and spec_field_id = 3"), "1");

  // The last field: nothing moves, no change row.
  ASSERT_EQ(adp_sch_delete_field(con_, 50, "wid", 5, "f6", nullptr), 0);
  EXPECT_EQ(value("select count(*) from adp_sch_info where type_id = 50"), "5");
  EXPECT_EQ(value("select count(*) from de_updates"), "3");
  EXPECT_FALSE(column_exists("table_wid", "f6"));

  // Without the offline feature the rows move and nothing is recorded.
  offline(false);
  ASSERT_EQ(adp_sch_delete_field(con_, 50, "wid", 0, "f0", nullptr), 0);
  EXPECT_EQ(db_.query("select field_name from adp_sch_info where type_id = 50 and spec_field_id = 0"),
            (table{{"f1"}}));
  EXPECT_EQ(value("select count(*) from de_updates"), "3");
}

TEST_F(AdpSchDelOra, ARelationOfEachKindLeavesBothTypesRenumbered) {
  ASSERT_TRUE(db_.run("create table table_case(objid number, title varchar(30), case2site number);\n"
                      "insert into table_case values(1, 'first', 7);\n"
                      "create table table_employee(objid number, employee2contact number);\n"
                      "create table table_contact(objid number, lead_id number, lead_type number);\n"
                      "create table mtm_site2contact(site2contact number, contact2site number);\n"
                      "alter table adp_sch_rel_info add objid number;\n"
                      "alter table adp_sch_rel_info add dev number;\n"
                      "update adp_sch_rel_info set objid = type_id * 100 + spec_rel_id, dev = 4;\n"));
  typ_sch_srec* kase = type(10, "case");
  typ_sch_srec* site = type(11, "site");
  typ_sch_srec* contact = type(12, "contact");
  typ_sch_srec* employee = type(13, "employee");
  // One to many, from the primary side: the case's key column goes; the
  // site's two later rows move down, each recorded.
  offline(true);
  typ_sch_rrec otm = relation("site2case", "case2site", site, 0, kase, 0, kOtm);
  ASSERT_EQ(adp_sch_delete_rel(con_, 11, "site", 'p', &otm), 0);
  EXPECT_FALSE(column_exists("table_case", "case2site"));
  EXPECT_EQ(db_.query("select objid, title from table_case"), (table{{"1", "first"}}));
  EXPECT_EQ(rel_rows(10), table{});
  EXPECT_EQ(rel_rows(11), (table{{"site2contact", "0"}, {"site2contact_lead", "1"}}));
  EXPECT_EQ(db_.query("select row_id, row_ver, prev_row_ver, table_name, tx_detail from de_updates order by row_id"),
            (table{{"1101", "5", "4", "adp_sch_rel_info", "1 spec_rel_id 1 0"},
                   {"1102", "5", "4", "adp_sch_rel_info", "1 spec_rel_id 1 1"}}));
  offline(false);

  // One to one, from the foreign side.
  typ_sch_rrec oto = relation("contact2employee", "employee2contact", contact, 1, employee, 0, kOtoPrimary);
  ASSERT_EQ(adp_sch_delete_rel(con_, 13, "employee", 'f', &oto), 0);
  EXPECT_FALSE(column_exists("table_employee", "employee2contact"));
  EXPECT_TRUE(column_exists("table_employee", "objid"));
  EXPECT_EQ(rel_rows(13), table{});
  EXPECT_EQ(rel_rows(12), (table{{"contact2site", "0"}, {"contact_lead2site", "1"}}));

  // Many to many: the link table stays as it is.
  typ_sch_rrec mtm = relation("site2contact", "contact2site", site, 0, contact, 0, kMtm);
  mtm.mtm_table = const_cast<char*>("mtm_site2contact");
  ASSERT_EQ(adp_sch_delete_rel(con_, 11, "site", 'p', &mtm), 0);
  EXPECT_TRUE(object_exists("mtm_site2contact"));
  EXPECT_TRUE(column_exists("mtm_site2contact", "contact2site"));
  EXPECT_EQ(rel_rows(11), (table{{"site2contact_lead", "0"}}));
  EXPECT_EQ(rel_rows(12), (table{{"contact_lead2site", "0"}}));

  // With relation flags: the physical-name and focus columns go.
  typ_sch_rrec pair = relation("site2contact_lead", "contact_lead2site", site, 0, contact, 0, kOtm);
  pair.exclusive = 1;
  pair.phys_name = const_cast<char*>("lead_id");
  pair.focus_field = const_cast<char*>("lead_type");
  ASSERT_EQ(adp_sch_delete_rel(con_, 11, "site", 'p', &pair), 0);
  EXPECT_FALSE(column_exists("table_contact", "lead_id"));
  EXPECT_FALSE(column_exists("table_contact", "lead_type"));
  EXPECT_TRUE(column_exists("table_contact", "objid"));
  EXPECT_EQ(value("select count(*) from adp_sch_rel_info"), "0");
}

TEST_F(AdpSchDelOra, AViewItsRowsAndAllViewsRows) {
  ASSERT_TRUE(db_.run("create table table_case(objid number, title varchar(30));\n"
                      "create view table_case_view as select objid, title from table_case;\n"
                      "create view table_site_view as select objid from table_case;\n"
                      "insert into adp_sch_info(type_id, field_name, cmn_type, db_type, array_size, dec_p, dec_s, "
                      "flags, gen_field_id, spec_field_id) values(30, 'title', 516, 7, 30, -1, -1, 0, -1, 0);\n"));
  ASSERT_EQ(adp_sch_delete_view(con_, 30, "case_view"), 0);
  EXPECT_FALSE(object_exists("table_case_view"));
  for (const char* sql : {"select count(*) from adp_sch_info where type_id = 30",
                          "select count(*) from adp_view_join_info where view_type_id = 30",
                          "select count(*) from adp_view_field_info where view_type_id = 30",
                          "select count(*) from adp_tbl_name_map where type_id = 30"}) {
    EXPECT_EQ(value(sql), "0") << sql;
  }
  EXPECT_EQ(value("select count(*) from adp_view_field_info where view_type_id = 31"), "2");
  // Once gone, deleting it again finds nothing to drop and still succeeds.
  EXPECT_EQ(adp_sch_delete_view(con_, 30, "case_view"), 0);

  ASSERT_EQ(adp_sch_del_view_info(con_), 0);
  EXPECT_EQ(value("select count(*) from adp_view_field_info"), "0");
  EXPECT_EQ(value("select count(*) from adp_view_join_info"), "0");
  EXPECT_EQ(db_.query("select type_id from adp_tbl_name_map order by type_id"),
            (table{{"10"}, {"11"}, {"12"}, {"13"}, {"20"}, {"32"}}));

  typ_sch_srec* view = type(31, "site_view");
  ASSERT_EQ(adp_sch_drop_view(con_, view), 0);
  EXPECT_FALSE(object_exists("table_site_view"));
  EXPECT_EQ(adp_sch_drop_view(con_, view), 0);  // no longer there
}

TEST_F(AdpSchDelOra, ATypeGoesWithTableSequenceAndArrayTables) {
  ASSERT_TRUE(db_.run("create table table_case(objid number);\n"
                      "create sequence SEQ_case;\n"
                      "create table table_case_array_5(objid number, seq_num number);\n"
                      "create table table_site(objid number);\n"
                      "update adp_tbl_oid set obj_num = 9 where type_id = 10;\n"));
  ASSERT_EQ(adp_sch_delete_type(con_, 10, "case"), 0);
  EXPECT_FALSE(object_exists("table_case"));
  EXPECT_FALSE(object_exists("SEQ_case"));
  EXPECT_FALSE(object_exists("table_case_array_5"));
  EXPECT_TRUE(object_exists("table_site"));
  for (const char* sql : {"select count(*) from adp_sch_info where type_id = 10",
                          "select count(*) from adp_sch_rel_info where type_id = 10",
                          "select count(*) from adp_tbl_name_map where type_id = 10",
                          "select count(*) from adp_view_join_info where obj_type_id = 10",
                          "select count(*) from adp_view_field_info where from_obj_type = 10"}) {
    EXPECT_EQ(value(sql), "0") << sql;
  }
  EXPECT_EQ(value("select obj_num from adp_tbl_oid where type_id = 10"), "0");
  EXPECT_NE(value("select count(*) from adp_sch_info where type_id = 11"), "0");

  // A type whose table is gone: the drop's failure is returned.
  EXPECT_NE(adp_sch_delete_type(con_, 10, "case"), 0);
}

TEST_F(AdpSchDelOra, TheRowTest) {
  ASSERT_TRUE(db_.run("create table table_wid(objid number);\n"));
  char has_rows = 7;
  ASSERT_EQ(adp_sch_does_table_have_data(con_, "table_wid", &has_rows), 0);
  EXPECT_EQ(has_rows, 0);
  ASSERT_TRUE(db_.run("insert into table_wid values(1);\ninsert into table_wid values(2);\n"));
  ASSERT_EQ(adp_sch_does_table_have_data(con_, "table_wid", &has_rows), 0);
  EXPECT_EQ(has_rows, 1);
  EXPECT_NE(adp_sch_does_table_have_data(con_, "table_none", &has_rows), 0);
}

}  // namespace
