// The schema upgrade end to end on the run's MariaDB server: a changed
// schema file compiled in upgrade mode, compared and applied with commit
// through the store's table-change engine and the adapter's upgrade calls;
// tables, rows, the journal and the offline marks checked by SQL, and a
// fresh open reading the new dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/adp_upg_e2e.h"
#include "schema/typ_rec.h"

namespace {

using texts = std::vector<std::string>;

constexpr unsigned long kCommit = 0x80;
constexpr unsigned long kAllowDrops = 0x800000;

class AdpUpgE2e : public adp_upg_test {};

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

}  // namespace
