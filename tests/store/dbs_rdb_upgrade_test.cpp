// A schema upgrade from a schema file through the comparison, the applier
// and the table-change engine, against the adapter double.
#include <cstdio>
#include <string>
#include <vector>
#include <unistd.h>

#include "adpdouble/adp_double_sce.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_apply.h"
#include "store/dbs_db.h"
#include "store/dbs_rdb.h"
#include "rdb_fixture.h"
#include "testdb/testdb_tmp.h"

namespace {

const std::string kLong = " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";

class rdb_upgrade : public table_change_test {
 protected:
  void SetUp() override {
    table_change_test::SetUp();
    path_ = testdb::tmp_file("rdb_upgrade_");
    ASSERT_FALSE(path_.empty());
  }
  void TearDown() override {
    std::remove(path_.c_str());
    table_change_test::TearDown();
  }
  // Writes the schema file and runs the upgrade with the options.
  long upgrade(const std::string& schema, unsigned long options, std::string* out) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) return -1;
    std::fputs(schema.c_str(), f);
    std::fclose(f);
    if (long st = dbs_db_find_header(nullptr)) return st;
    auto* con = reinterpret_cast<KAdpConnId*>(1);  // the double's connection is not read
    utl_ty_col* diffs = nullptr;
    utl_ty_estr* report = nullptr;
    char cut = 1;
    long st = -1;
    *out = store_stdout_of(
        [&] { st = typ_sch_diff_schemas(con, path_.c_str(), options, nullptr, &diffs, &report, &cut); });
    if (diffs) utl_col_free("test", diffs);
    if (report) utl_estr_free("test", report);
    EXPECT_EQ(cut, 0);
    return st;
  }
  std::string path_;
};

// Fields dropped from both types; one added to case with a default.
const std::string kSchema =
    "OBJECT case 17 FIELDS objid" + kLong + " GEN_FIELD_ID=3 , extra" + kLong +
    " DEFAULT=\"5\" FIELDS_END RELATIONS case2site MTO site INV_REL=site2case RELATIONS_END OBJECT_END;\n"
    "OBJECT site 18 FIELDS objid" + kLong +
    " GEN_FIELD_ID=3 FIELDS_END RELATIONS site2case OTM case INV_REL=case2site RELATIONS_END OBJECT_END;\n";

}  // namespace

TEST_F(rdb_upgrade, ChangedFieldsRebuildTheTableInATrialRun) {
  std::string out;
  const long st = upgrade(kSchema, 0x400 | 0x800000, &out);
  ASSERT_EQ(st, 0) << testing::PrintToString(core_alert_texts()) << out;
  // The engine ran in trial mode: fields dropped and one added with a
  // default, so the table is rebuilt and the new column takes its default.
  auto fills = adp_double::calls_of("adp_sce_fill_table_from_table");
  ASSERT_EQ(fills.size(), 2u) << out;  // site lost a field too
  EXPECT_EQ(fills[0].args[0], "table_case");
  EXPECT_EQ(fills[0].args[1], "T_table_case");
  EXPECT_EQ(fills[0].args[2], "objid,extra,case2site");
  EXPECT_EQ(fills[0].args[3], "objid,5,case2site");
  EXPECT_EQ(fills[0].args[4], "0,1,0");
  EXPECT_EQ(fills[0].args[5], "stream/1");
  EXPECT_EQ(fills[1].args[0], "table_site");
  EXPECT_EQ(fills[1].args[2], "objid");
  EXPECT_NE(out.find("Table/view modification encountered 0 errors."), std::string::npos) << out;
}

TEST_F(rdb_upgrade, RebuiltTablesKeepTheirRelationKeyColumns) {
  std::string out;
  ASSERT_EQ(upgrade(kSchema, 0x400 | 0x800000, &out), 0) << testing::PrintToString(core_alert_texts()) << out;
  // Both tables are defined afresh under their temporary names; the
  // definitions ask for the relation key columns (case2site of case), which
  // the copy lists fill from the old table.
  auto defs = adp_double::calls_of("adp_sch_table_def");
  ASSERT_EQ(defs.size(), 2u) << out;
  for (const auto& d : defs) EXPECT_EQ(d.args[2], "1") << d.args[1];
}

TEST_F(rdb_upgrade, ARelationJoiningAGroupIsConvertedFromItsOldKey) {
  // case2site joins the exclusive group "owner": the rebuilt table has the
  // group's columns instead of the plain key.
  std::string joined = kSchema;
  const std::string plain = "RELATIONS case2site MTO site";
  joined.replace(joined.find(plain), plain.size(), "RELATIONS EXCLUSIVE owner case2site MTO site");
  long op = -1;
  adp_double::hook("adp_sce_upgrade_exclusive", [&op](const std::vector<void*>& args) {
    op = static_cast<const dbs_ty_tbl_change*>(args[0])->op;
    return 0L;
  });
  std::string out;
  ASSERT_EQ(upgrade(joined, 0x400 | 0x800000, &out), 0) << testing::PrintToString(core_alert_texts()) << out;
  // The group's columns are not in the old table: the copy leaves them out
  // and the conversion fills them from the old key column afterwards.
  auto fills = adp_double::calls_of("adp_sce_fill_table_from_table");
  ASSERT_FALSE(fills.empty()) << out;
  EXPECT_EQ(fills[0].args[0], "table_case");
  EXPECT_EQ(fills[0].args[2], "objid,extra");
  auto converted = adp_double::calls_of("adp_sce_upgrade_exclusive");
  ASSERT_EQ(converted.size(), 1u) << out;
  EXPECT_EQ(op, DBS_RDB_EXCL_NEW);
  EXPECT_EQ(converted[0].args[1], "table_case");
  EXPECT_EQ(converted[0].args[2], "T_table_case");
  // A group column the old table has already is copied like any other.
  adp_double::reset();
  adp_store::st().server_type = 2;
  for (const char* t : {"table_case", "table_site"}) {
    adp_double::set_table_exists(t, true);
    adp_double::set_table_has_rows(t, true);
  }
  adp_double::set_table_exists("table_case.group2owner", true);
  ASSERT_EQ(upgrade(joined, 0x400 | 0x800000, &out), 0) << out;
  fills = adp_double::calls_of("adp_sce_fill_table_from_table");
  ASSERT_FALSE(fills.empty()) << out;
  EXPECT_EQ(fills[0].args[2], "objid,extra,group2owner");
}

TEST_F(rdb_upgrade, AnAddedTypeGetsItsArrayTables) {
  // The model keeps binary-array fields with the special fields.
  const std::string memo = "OBJECT memo 19 FIELDS objid" + kLong +
                           " GEN_FIELD_ID=3, points CMN_DATA_TYPE=array GEN_FIELD_ID=60 FIELDS_END OBJECT_END;\n";
  std::string out;
  ASSERT_EQ(upgrade(kSchema + memo, 0x400 | 0x800000, &out), 0) << testing::PrintToString(core_alert_texts()) << out;
  EXPECT_NE(out.find("Would create binary array for table 'array_memo_60', field #60\n"), std::string::npos) << out;
}

TEST_F(rdb_upgrade, ACommittedUpgradeReplacesTheTablesAndWritesTheSchema) {
  std::string out;
  ASSERT_EQ(upgrade(kSchema, 0x80 | 0x800000, &out), 0) << testing::PrintToString(core_alert_texts()) << out;
  std::vector<std::string> replaced;
  for (const auto& c : adp_double::calls_of("adp_sce_rename_table")) replaced.push_back(c.args[0] + ">" + c.args[1]);
  EXPECT_EQ(replaced, (std::vector<std::string>{"T_table_case>table_case", "T_table_site>table_site"}));
  EXPECT_EQ(adp_double::calls_of("adp_sce_fill_table_from_table")[0].args[5], "stream/0");
  EXPECT_EQ(adp_double::calls_of("adp_stp_create_procs").size(), 1u) << out;
  EXPECT_NE(out.find("Table/view modification encountered 0 errors."), std::string::npos) << out;
  EXPECT_EQ(adp_store::st().stored.cust_int_rev, 1);
}
