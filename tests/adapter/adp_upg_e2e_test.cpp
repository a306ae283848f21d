// The schema upgrade end to end on the run's MariaDB server: a changed
// schema file compiled in upgrade mode, compared and applied with commit
// through the store's table-change engine and the adapter's upgrade calls;
// tables, rows, the journal and the offline marks checked by SQL, and a
// fresh open reading the new dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/adp_sch.h"
#include "adapter/adp_upg_e2e.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using texts = std::vector<std::string>;

constexpr unsigned long kCommit = 0x80;
constexpr unsigned long kAllowDrops = 0x800000;

class AdpUpgE2e : public adp_upg_test {};

// The fields of case as the starting point has them.
const char kCaseFields[] =
    "OBJECT case 10 FIELDS objid" ADP_UPG_ID ", title" ADP_UPG_TEXT(80) ", status" ADP_UPG_TEXT(20)
    " DEFAULT=\"open\", amount CMN_DATA_TYPE=766 DB_DATA_TYPE=11 DEC_PRECISION=19 DEC_SCALE=2,"
    " opened CMN_DATA_TYPE=609 DB_DATA_TYPE=9 FIELDS_END\n";

texts sorted(texts v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(AdpUpgE2e, AddedColumnsAreFilledFromTheirDefaults) {
  ASSERT_NE(start(), nullptr);
  ASSERT_TRUE(db_.run("insert into table_site(objid, name, S_name) values(1, 'North', 'NORTH');\n"
                      "insert into table_site(objid, name, S_name) values(2, 'South', 'SOUTH');"));
  adp_upg_schema s = adp_upg_start_schema();
  s.site = "OBJECT site 11 FIELDS objid" ADP_UPG_ID ", name" ADP_UPG_TEXT(80) " SEARCHABLE,"
           " since CMN_DATA_TYPE=609 DB_DATA_TYPE=9 DEFAULT=\"01/02/2003 04:05:06\","
           " region" ADP_UPG_TEXT(20) " SEARCHABLE DEFAULT=\"East\" FIELDS_END\n"
           "RELATIONS site2case OTM case INV_REL=case2site RELATIONS_END OBJECT_END;\n";
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  EXPECT_EQ(sorted(columns_of("table_site")), (texts{"S_name", "S_region", "name", "objid", "region", "since"}))
      << out_;
  EXPECT_EQ(db_.query("select objid, date_format(since, '%Y-%m-%d %H:%i:%s'), region, S_region from table_site"
                      " order by objid"),
            (testdb::rows{{"1", "2003-01-02 04:05:06", "East", "EAST"}, {"2", "2003-01-02 04:05:06", "East", "EAST"}}))
      << out_;
  // The journal holds one row per added column with its default, under the
  // schema revision and the next internal revision (61 and 4 + 1).
  EXPECT_EQ(db_.query("select version, field_name, details from adp_upgrade_ops where opcode = 5 order by objid"),
            (testdb::rows{{"61000005", "since", "01/02/2003 04:05:06"}, {"61000005", "region", "East"}}))
      << out_;
  EXPECT_EQ(value("select cust_int_sch_rev from adp_db_header"), "5");
  // The offline feature: dictionary tables marked for the upgrade group, the
  // server node at the new version.
  EXPECT_EQ(db_.query("select table_name, upgrade_group from de_table_bind order by table_name"),
            (testdb::rows{{"ADP_SCH_INFO", "U"}, {"table_case", "N"}}));
  EXPECT_EQ(db_.query("select node_name, schema_version from de_comm order by node_name"),
            (testdb::rows{{"laptop", "0"}, {"server", "61000005"}}));
  // The dictionary and a fresh open know the new fields.
  EXPECT_EQ(column("select field_name from adp_sch_info where type_id = 11 order by spec_field_id"),
            (texts{"objid", "name", "since", "region"}));
  typ_sch_srec* site = reopened(11);
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->nfields, 4);
}

TEST_F(AdpUpgE2e, ARelationJoiningAnExclusiveGroupKeepsItsKeys) {
  ASSERT_NE(start(), nullptr);
  ASSERT_TRUE(db_.run("insert into table_site(objid, name, S_name) values(1, 'North', 'NORTH');\n"
                      "insert into table_site(objid, name, S_name) values(2, 'South', 'SOUTH');\n"
                      "set max_recursive_iterations = 5000;\n"
                      "insert into table_case(objid, title, case2site) with recursive n(i) as (select 1 union all"
                      " select i + 1 from n where i < 2500) select i, concat('case ', i), case when mod(i, 5) = 0"
                      " then null else mod(i, 2) + 1 end from n;"));
  adp_upg_schema s = adp_upg_start_schema();
  s.case_type = kCaseFields + std::string("RELATIONS EXCLUSIVE owner case2site MTO site INV_REL=site2case"
                                          " RELATIONS_END OBJECT_END;\n");
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  // The plain key column is gone; the group's key and type columns took its
  // values (the type column the site's type id) on every row that had one.
  EXPECT_EQ(sorted(columns_of("table_case")),
            (texts{"amount", "gr_type_owner", "group2owner", "objid", "opened", "status", "title"}))
      << out_;
  EXPECT_EQ(db_.query("select group2owner, gr_type_owner, count(*) from table_case group by group2owner,"
                      " gr_type_owner order by group2owner"),
            (testdb::rows{{testdb::kNull, testdb::kNull, "500"}, {"1", "11", "1000"}, {"2", "11", "1000"}}))
      << out_;
  EXPECT_EQ(value("select title from table_case where objid = 2499"), "case 2499");
  // The view reads the group's key now.
  EXPECT_EQ(value("select count(*) from table_case_view where site_name = 'South'"), "1000") << out_;
  EXPECT_EQ(db_.query("select rel_phy_name, focus_fldname, exclusive_set from adp_sch_rel_info"
                      " where rel_name = 'case2site'"),
            (testdb::rows{{"group2owner", "gr_type_owner", "owner"}}));
  typ_sch_srec* c = reopened(10);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->nrels, 1);
  ASSERT_NE(c->rels[0].rel, nullptr);
  EXPECT_NE(c->rels[0].rel->exclusive, 0);
}

TEST_F(AdpUpgE2e, ATypeDeletedTakesItsArrayTablesAlong) {
  ASSERT_NE(start(), nullptr);
  // A type with a binary array is added first (its table and array table
  // made), then deleted again with both.
  adp_upg_schema s = adp_upg_start_schema();
  s.views += "OBJECT memo 14 FIELDS objid" ADP_UPG_ID ", text" ADP_UPG_TEXT(40) ","
             " points CMN_DATA_TYPE=array GEN_FIELD_ID=60 FIELDS_END OBJECT_END;\n";
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  const std::string memo_tables = "select table_name from information_schema.tables where table_schema = '" +
                                  db_.name() + "' and table_name like 'table_memo%' order by table_name";
  EXPECT_EQ(column(memo_tables), (texts{"table_memo", "table_memo_array_60"})) << out_;
  ASSERT_TRUE(db_.run("insert into table_memo(objid, text) values(1, 'gone with its type');"));
  ASSERT_EQ(upgrade(adp_upg_start_schema().text(), kCommit | kAllowDrops), 0) << out_;
  EXPECT_EQ(column(memo_tables), texts{}) << out_;
  EXPECT_EQ(value("select count(*) from adp_tbl_name_map where type_id = 14"), "0");
  EXPECT_EQ(value("select count(*) from adp_sch_info where type_id = 14"), "0");
  // The journal: the type added (0) and deleted (1).
  EXPECT_EQ(column("select opcode from adp_upgrade_ops where object_name = 'memo' order by objid"),
            (texts{"0", "1"}));
  EXPECT_EQ(reopened(14), nullptr);
}

TEST_F(AdpUpgE2e, AColumnDeletedByCopyAndOneRenamedKeepTheRows) {
  ASSERT_NE(start(), nullptr);
  ASSERT_TRUE(db_.run("insert into table_contact(objid, first_name, last_name, contact2employee)"
                      " values(1, 'Ann', 'Lee', 7);\n"
                      "insert into table_contact(objid, first_name, last_name, contact2employee)"
                      " values(2, 'Bo', 'Kim', null);"));
  adp_upg_schema s = adp_upg_start_schema();
  // first_name goes, last_name is now surname.
  s.contact = "OBJECT contact 12 FIELDS objid" ADP_UPG_ID ", surname" ADP_UPG_TEXT(30) " OLD_NAME=last_name"
              " FIELDS_END\n"
              "RELATIONS contact2employee OTOP employee INV_REL=employee2contact RELATIONS_END OBJECT_END;\n";
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  // The table was copied: every row with its other columns, the relation's
  // key column included, the renamed column from its old name.
  EXPECT_EQ(sorted(columns_of("table_contact")), (texts{"contact2employee", "objid", "surname"})) << out_;
  EXPECT_EQ(db_.query("select objid, surname, contact2employee from table_contact order by objid"),
            (testdb::rows{{"1", "Lee", "7"}, {"2", "Kim", testdb::kNull}}))
      << out_;
  EXPECT_EQ(value("select count(*) from user_tables where table_name = upper('T_table_contact')"), "0");
  EXPECT_EQ(column("select field_name from adp_sch_info where type_id = 12 order by spec_field_id"),
            (texts{"objid", "surname"}));
  typ_sch_srec* contact = reopened(12);
  ASSERT_NE(contact, nullptr);
  ASSERT_EQ(contact->nfields, 2);
  EXPECT_STREQ(contact->fields[1].name, "surname");
}

TEST_F(AdpUpgE2e, ATableRenamedWithItsType) {
  ASSERT_NE(start(), nullptr);
  ASSERT_TRUE(db_.run("insert into table_employee(objid, login) values(7, 'alee');"));
  adp_upg_schema s = adp_upg_start_schema();
  s.contact = "OBJECT contact 12 FIELDS objid" ADP_UPG_ID ", first_name" ADP_UPG_TEXT(30) ", last_name" ADP_UPG_TEXT(30)
              " FIELDS_END\n"
              "RELATIONS contact2employee OTOP staff INV_REL=employee2contact RELATIONS_END OBJECT_END;\n";
  s.employee = "OBJECT staff 13 FIELDS objid" ADP_UPG_ID ", login" ADP_UPG_TEXT(30) " FIELDS_END\n"
               "RELATIONS employee2contact OTOF contact INV_REL=contact2employee RELATIONS_END OBJECT_END;\n";
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  // The table moved under the new name with its rows; the dictionary and a
  // fresh open know the type by it, and the relation's target too.
  EXPECT_EQ(value("select count(*) from user_tables where table_name = upper('table_employee')"), "0");
  EXPECT_EQ(db_.query("select objid, login from table_staff"), (testdb::rows{{"7", "alee"}})) << out_;
  EXPECT_EQ(value("select type_name from adp_tbl_name_map where type_id = 13"), "staff");
  EXPECT_EQ(value("select target_name from adp_sch_rel_info where rel_name = 'contact2employee'"), "staff");
  typ_sch_srec* staff = reopened(13);
  ASSERT_NE(staff, nullptr);
  EXPECT_STREQ(staff->info->name, "staff");
  const char* table = nullptr;
  ASSERT_EQ(adp_sch_tbl_find(13, &table), 0);
  EXPECT_STREQ(table, "table_staff");
}

TEST_F(AdpUpgE2e, EveryChangeInOneSchemaFile) {
  ASSERT_NE(start(), nullptr);
  adp_upg_schema s = adp_upg_start_schema();
  const std::string memo = "OBJECT memo 14 FIELDS objid" ADP_UPG_ID ", points CMN_DATA_TYPE=array GEN_FIELD_ID=60"
                           " FIELDS_END OBJECT_END;\n";
  ASSERT_EQ(upgrade(s.text() + memo, kCommit | kAllowDrops), 0) << out_;
  ASSERT_TRUE(db_.run("insert into table_site(objid, name, S_name) values(1, 'North', 'NORTH');\n"
                      "insert into table_site(objid, name, S_name) values(2, 'South', 'SOUTH');\n"
                      "insert into table_contact(objid, first_name, last_name) values(1, 'Ann', 'Lee');\n"
                      "insert into table_employee(objid, login) values(7, 'alee');\n"
                      "set max_recursive_iterations = 5000;\n"
                      "insert into table_case(objid, title, case2site) with recursive n(i) as (select 1 union all"
                      " select i + 1 from n where i < 2500) select i, concat('case ', i), mod(i, 2) + 1 from n;"));
  // One file: a date and a searchable column added to site, a column of
  // contact deleted and one renamed, employee renamed, case2site joining a
  // group, the view made again, memo deleted with its array table.
  s.site = "OBJECT site 11 FIELDS objid" ADP_UPG_ID ", name" ADP_UPG_TEXT(80) " SEARCHABLE,"
           " since CMN_DATA_TYPE=609 DB_DATA_TYPE=9 DEFAULT=\"01/02/2003 04:05:06\","
           " region" ADP_UPG_TEXT(20) " SEARCHABLE DEFAULT=\"East\" FIELDS_END\n"
           "RELATIONS site2case OTM case INV_REL=case2site RELATIONS_END OBJECT_END;\n";
  s.contact = "OBJECT contact 12 FIELDS objid" ADP_UPG_ID ", surname" ADP_UPG_TEXT(30) " OLD_NAME=last_name"
              " FIELDS_END\n"
              "RELATIONS contact2employee OTOP staff INV_REL=employee2contact RELATIONS_END OBJECT_END;\n";
  s.employee = "OBJECT staff 13 FIELDS objid" ADP_UPG_ID ", login" ADP_UPG_TEXT(30) " FIELDS_END\n"
               "RELATIONS employee2contact OTOF contact INV_REL=contact2employee RELATIONS_END OBJECT_END;\n";
  s.case_type = kCaseFields + std::string("RELATIONS EXCLUSIVE owner case2site MTO site INV_REL=site2case"
                                          " RELATIONS_END OBJECT_END;\n");
  ASSERT_EQ(upgrade(s.text(), kCommit | kAllowDrops), 0) << out_;
  EXPECT_EQ(value("select count(*) from table_site where region = 'East' and S_region = 'EAST' and"
                  " since = TO_DATE('01/02/2003 04:05:06', 'MM/DD/YYYY HH24:MI:SS')"),
            "2")
      << out_;
  EXPECT_EQ(db_.query("select objid, surname from table_contact"), (testdb::rows{{"1", "Lee"}})) << out_;
  EXPECT_EQ(db_.query("select objid, login from table_staff"), (testdb::rows{{"7", "alee"}})) << out_;
  EXPECT_EQ(value("select count(*) from table_case where group2owner = mod(objid, 2) + 1 and gr_type_owner = 11"),
            "2500")
      << out_;
  EXPECT_EQ(value("select count(*) from table_case_view where site_name = 'North'"), "1250") << out_;
  EXPECT_EQ(value("select count(*) from user_tables where table_name like upper('table_memo%')"), "0") << out_;
  // The journal of the second run: the added columns and the deleted type.
  EXPECT_EQ(db_.query("select opcode, object_name, field_name from adp_upgrade_ops where version = 61000006"
                      " order by objid"),
            (testdb::rows{{"5", "site", "since"}, {"5", "site", "region"}, {"1", "memo", testdb::kNull}}))
      << out_;
  EXPECT_EQ(value("select cust_int_sch_rev from adp_db_header"), "6");
  typ_sch_srec* site = reopened(11);
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->nfields, 4);
  typ_sch_srec* memo_type = nullptr;
  typ_sch_find_handle(14, nullptr, &memo_type);
  EXPECT_EQ(memo_type, nullptr);
}

}  // namespace
