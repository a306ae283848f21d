// SQL Server's database and repository creation by exact text through the
// scripted service: the database with its two files, every repository table
// granted (national types under the Unicode option, the object-id tables and
// indexes unchanged), the header with its first row, the removal of the
// current and of another database, and names refused before anything runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_acc.h"

namespace {

constexpr long kGroupsLookedUp = 5;
constexpr unsigned long kUnicodeOption = 0x400000;

std::vector<std::string> grants(const std::string& table) {
  return {"grant SELECT, UPDATE, INSERT, DELETE on " + table + " to group orb_user",
          "grant ALL on " + table + " to group administrator", "grant SELECT on " + table + " to group reporter"};
}

long addr(const char* text) { return static_cast<long>(reinterpret_cast<intptr_t>(text)); }

class AdpDbMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    adp_usr_group_exist_forget();
    typ_sch_set_bld_options(0);
    con_ = connect("oledb");
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kGroupsLookedUp), 0);
    ds_script::reset();
  }
  void TearDown() override {
    typ_sch_set_bld_options(0);
    adp_usr_group_exist_forget();
    adp_test::TearDown();
  }
  std::vector<std::string> create() {
    adp_db_set_db_name("");
    ds_script::reset();
    EXPECT_EQ(adp_db_create(con_, "crm2", addr("/data/crm2"), 20, addr("/logs/crm2log"), 5), 0);
    return adp_script_sent();
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpDbMssql, CreateMakesTheDatabaseThenEveryRepositoryTableGranted) {
  const std::vector<std::string> sent = create();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[0],
            "create database crm2 on ( name = crm2_Data, filename = '/data/crm2.mdf', size = 20 ) log on ( name = "
            "crm2_Log, filename = '/logs/crm2log.ldf', size = 5 )");
  EXPECT_EQ(sent[1], "use crm2");
  // Each table is followed by its grants; indexes stand alone or beside
  // their object-id table.
  std::vector<std::string> expected;
  auto table = [&](const std::string& text, const std::string& name) {
    expected.push_back(text);
    for (auto& g : grants(name)) expected.push_back(g);
  };
  table("CREATE TABLE adp_tbl_name_map ( \ntype_id int, type_flags int, type_name varchar(64), \ncomments "
        "varchar(255) null, obj_group varchar(255) null, sql text null)",
        "adp_tbl_name_map");
  table("CREATE TABLE adp_sch_info( type_id int, field_name varchar(64), cmn_type smallint, \ndb_type smallint, "
        "array_size int, dec_p int, \ndec_s int, flags int, gen_field_id smallint, \nspec_field_id smallint, "
        "fld_default varchar(255) null, \ncomments varchar(255) null)",
        "adp_sch_info");
  expected.push_back("CREATE INDEX idx_adp_sch_info ON adp_sch_info(type_id, spec_field_id)");
  expected.push_back("CREATE TABLE adp_tbl_oid(type_id int, obj_num int)");
  table("CREATE UNIQUE INDEX idx_adp_tbl_oid ON adp_tbl_oid(type_id)", "adp_tbl_oid");
  expected.push_back("CREATE TABLE adp_tbl_oid_unused(type_id int, min_obj int, num_obj int)");
  table("CREATE UNIQUE CLUSTERED INDEX idx_atou ON adp_tbl_oid_unused(type_id, min_obj)", "adp_tbl_oid_unused");
  table("CREATE TABLE adp_sch_rel_info( \ntype_id int, rel_name varchar(64), rel_type smallint, \ntarget_name "
        "varchar(64), gen_rel_id smallint, spec_rel_id smallint, \ninv_rel_name varchar(64), comments varchar(255) "
        "null, \nrel_flags smallint, rel_phy_name varchar(64), \nfocus_fldname varchar(64), flags int, "
        "exclusive_set varchar(64))",
        "adp_sch_rel_info");
  expected.push_back("CREATE INDEX idx_adp_sch_rel_in ON adp_sch_rel_info(type_id, spec_rel_id)");
  table("CREATE TABLE adp_view_field_info( \nview_type_id int, view_spec_field_id smallint, from_obj_type int, "
        "\nfrom_field_id smallint, alias varchar(64), \ncomments varchar(255) null, flags int)",
        "adp_view_field_info");
  table("CREATE TABLE adp_view_join_info( \nview_type_id int, obj_type_id int, obj_spec_rel_id smallint, "
        "\npalias varchar(64), falias varchar(64), \ncomments varchar(255) null, flags int, join_flag int)",
        "adp_view_join_info");
  table("CREATE TABLE adp_sch_index( \ntype_id int, index_name varchar(64), flags smallint, \nfield_count "
        "smallint, field_names varchar(255), \ncomments varchar(255) null)",
        "adp_sch_index");
  table("create table adp_upgrade_ops(objid int, \ndev int, version int, opcode int, object_name varchar(64), "
        "\nfield_name varchar(64) null, details text null)",
        "adp_upgrade_ops");
  EXPECT_EQ(std::vector<std::string>(sent.begin() + 2, sent.end()), expected);
}

TEST_F(AdpDbMssql, TheUnicodeOptionGivesNationalTypesToCharacterTablesOnly) {
  const std::vector<std::string> plain = create();
  typ_sch_set_bld_options(kUnicodeOption);
  const std::vector<std::string> national = create();
  ASSERT_EQ(plain.size(), national.size());
  long changed = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    SCOPED_TRACE(plain[i]);
    const bool character_table = (plain[i].rfind("CREATE TABLE", 0) == 0 || plain[i].rfind("create table", 0) == 0) &&
                                 plain[i].find("varchar(") != std::string::npos;
    if (!character_table) {
      EXPECT_EQ(national[i], plain[i]);
      continue;
    }
    ++changed;
    std::string want = plain[i];
    for (size_t at = want.find("varchar("); at != std::string::npos; at = want.find("varchar(", at + 2)) {
      want.insert(at, "n");
    }
    const size_t text = want.find(" text null");
    if (text != std::string::npos) want.replace(text, 10, " ntext null");
    EXPECT_EQ(national[i], want);
  }
  EXPECT_EQ(changed, 7);
}

TEST_F(AdpDbMssql, TheHeaderTableGetsItsFirstRowThenTheCommentsTable) {
  for (unsigned long option : {0UL, kUnicodeOption}) {
    typ_sch_set_bld_options(option);
    ds_script::reset();
    ASSERT_EQ(adp_db_cr_header(con_, addr("crm2")), 0);
    const std::vector<std::string> sent = adp_script_sent();
    const std::string n = option != 0 ? "n" : "";
    std::vector<std::string> expected{
        "CREATE TABLE adp_db_header( \ndb_name " + n +
        "varchar(128), create_date datetime null, \nlast_full_backup datetime null, \nlast_incr_backup datetime "
        "null, \nup_since datetime null, last_modify datetime null, \nsite_id int null, db_rev int null, "
        "\nschema_rev int null, cust_int_sch_rev int null, \ngmt_diff int null, cust_schema_rev " +
            n +
            "varchar(64) null, \nflags int null, orbisan_schema_date datetime null, \ncust_schema_date datetime "
            "null, \nsite_num_bits int null, site_id_offline int null)"};
    for (auto& g : grants("adp_db_header")) expected.push_back(g);
    expected.push_back("INSERT INTO adp_db_header (db_name, flags, site_num_bits) VALUES (@V0, 0,4)");
    expected.push_back("create table adp_db_comments(seq_num int, time datetime, comments " + n + "varchar(255))");
    for (auto& g : grants("adp_db_comments")) expected.push_back(g);
    EXPECT_EQ(sent, expected);
  }
}

TEST_F(AdpDbMssql, DeletingGoesThroughMasterAndReturnsToThePreviousDatabase) {
  const std::string long_name(100, 'd');  // longer than the header's name field
  const struct {
    std::string current;
    std::string deleted;
    std::vector<std::string> sent;
  } cases[] = {
      {"crm", "crm2", {"use crm2", "use master", "drop database crm2 ", "use crm"}},
      {"crm2", "crm2", {"use master", "drop database crm2 "}},
      {"", long_name, {"use " + long_name, "use master", "drop database " + long_name + " "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.current + " / " + c.deleted);
    adp_db_set_db_name(c.current.c_str());
    ds_script::reset();
    ASSERT_EQ(adp_db_delete(con_, c.deleted.c_str()), 0);
    EXPECT_EQ(adp_script_sent(), c.sent);
  }
}

TEST_F(AdpDbMssql, NamesThatCouldCarrySqlOrShellTextAreRefused) {
  const struct {
    const char* name;
    const char* data_file;
    const char* log_file;
  } bad_create[] = {{"crm2; drop database crm", "/d/f", "/d/l"}, {"crm2", "/d/f' x", "/d/l"},
                    {"crm2", "/d/f", "/d/l l"},                   {"", "/d/f", "/d/l"},
                    {"crm2", nullptr, "/d/l"}};
  for (const auto& b : bad_create) {
    SCOPED_TRACE(b.name);
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(adp_db_create(con_, b.name, addr(b.data_file), 1, addr(b.log_file), 1), ADP_NO_SUCH_DB);
    EXPECT_EQ(core_top_alert_code(), ADP_NO_SUCH_DB);
  }
  for (const char* name : {"crm2 x", "c'rm", "crm;"}) {
    EXPECT_EQ(adp_db_delete(con_, name), ADP_NO_SUCH_DB) << name;
  }
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpDbMssql, DroppingATableRunsOrWritesItsStatement) {
  ASSERT_EQ(adp_sce_delete_table(con_, "table_case", nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"DROP TABLE table_case\n"});

  ds_script::reset();
  FILE* script = std::fopen("drop.sql", "w");
  ASSERT_NE(script, nullptr);
  ASSERT_EQ(adp_sce_delete_table(con_, "table_case", script, 1), 0);
  std::fclose(script);
  EXPECT_EQ(file_text("drop.sql"), "DROP TABLE table_case\n");
  EXPECT_TRUE(adp_script_sent().empty());

  EXPECT_EQ(adp_sce_delete_table(con_, "table_case; drop table x", nullptr, 0), ADP_NO_SUCH_DB);
  EXPECT_TRUE(adp_script_sent().empty());
}

}  // namespace
