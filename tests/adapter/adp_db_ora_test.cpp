// Oracle's database and repository creation: on the MariaDB server, the
// removal of the schema's objects (those named "SM..." kept), a fresh
// repository and header read back by SQL; through the scripted service,
// the storage clause appended to a CREATE TABLE and the public synonym.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_stor.h"

namespace {

long addr(const char* text) { return static_cast<long>(reinterpret_cast<intptr_t>(text)); }

class AdpDbOra : public adp_ora_open_test {
 protected:
  std::set<std::string> names(const std::string& sql) {
    std::set<std::string> out;
    for (const auto& row : db_.query(sql)) out.insert(row.empty() ? "" : row[0]);
    return out;
  }
  std::set<std::string> base_tables() {
    return names("select lower(table_name) from information_schema.tables where table_schema = database() and "
                 "table_type = 'BASE TABLE'");
  }
  // Views other than the service's own catalogue views.
  std::set<std::string> schema_views() {
    return names("select lower(table_name) from information_schema.tables where table_schema = database() and "
                 "table_type = 'VIEW' and upper(table_name) not in (select name from orbisan_service_objects)");
  }
};

TEST_F(AdpDbOra, DeleteThenCreateLaysDownAFreshRepositoryWithItsHeader) {
  ASSERT_TRUE(db_.run("create table sm_keep(a int); create view sm_view as select a from sm_keep; "
                      "create view view_gone as select a from sm_keep;"));
  ASSERT_FALSE(base_tables().empty());

  ASSERT_EQ(adp_db_delete(con_, "whatever"), 0) << core_top_alert_text();
  EXPECT_EQ(base_tables(), std::set<std::string>{"sm_keep"});
  EXPECT_EQ(schema_views(), std::set<std::string>{"sm_view"});

  // The names and files are not used.
  ASSERT_EQ(adp_db_create(con_, "ignored", 0, 0, 0, 0), 0);
  ASSERT_EQ(adp_db_cr_header(con_, addr("crmnew")), 0);
  EXPECT_EQ(base_tables(), (std::set<std::string>{
                               "sm_keep", "adp_tbl_name_map", "adp_tbl_oid", "adp_tbl_oid_unused", "adp_sch_info",
                               "adp_sch_rel_info", "adp_view_field_info", "adp_view_join_info", "adp_sch_index",
                               "adp_upgrade_ops", "adp_db_header", "adp_db_comments"}));
  const testdb::rows header = db_.query("select db_name, flags, site_num_bits from adp_db_header");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0], (std::vector<std::string>{"crmnew", "0", "4"}));
  // The repository indexes, unique where the object ids need it.
  EXPECT_EQ(names("select lower(concat(index_name, ':', non_unique)) from information_schema.statistics where "
                  "table_schema = database() and index_name like 'idx%'"),
            (std::set<std::string>{"idx_adp_tbl_oid:0", "idx_atou:0", "idx_adp_sch_info:1",
                                   "idx_adp_sch_rel_info:1"}));
  // The column order of the header follows the dialect (site_id_offline
  // after site_id).
  EXPECT_EQ(value("select column_name from information_schema.columns where table_schema = database() and "
                  "table_name = 'adp_db_header' and ordinal_position = 8"),
            "site_id_offline");
}

TEST_F(AdpDbOra, TheHeaderTakesTheOpenDatabaseNameWhenNoneIsGiven) {
  ASSERT_EQ(adp_db_delete(con_, nullptr), 0);
  ASSERT_EQ(adp_db_cr_header(con_, 0), 0);
  EXPECT_EQ(value("select db_name from adp_db_header"), "crm");
}

class AdpDbOraScript : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    // Text collections copy their strings once the types' procedures are in.
    ASSERT_EQ(cmn_meth_install_all(), 0);
    con_ = connect("oracle");
    ds_script::reset();
    std::ofstream def("storage.def");
    def << "table_case ::tablespace users storage (initial 64k)\n";
    def.close();
    ASSERT_EQ(typ_load_physical_storage_params(), 0);
  }
  void TearDown() override {
    adp_sch_ddl = nullptr;
    typ_free_physical_storage_params();
    adp_test::TearDown();
  }
  // A CREATE TABLE with the table's storage clause looked up, run as DDL.
  std::vector<std::string> create_table(const char* table) {
    KAdpSqlBatch* b = con_->GetSqlBatch(1);
    EXPECT_EQ(b->AppendSqlFormat("create table %s (objid number)", table), 0);
    EXPECT_EQ(con_->GetDbOperation()->LookUpPhysicalStorageParams(const_cast<char*>(table), nullptr), 0);
    EXPECT_EQ(b->ExecDdl(), 0);
    b->Reset();
    return adp_script_sent();
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpDbOraScript, TheStorageClauseFollowsTheCreateTableAndGoesToTheDdlFile) {
  FILE* ddl = std::fopen("ddl.out", "w");
  ASSERT_NE(ddl, nullptr);
  adp_sch_ddl = ddl;
  EXPECT_EQ(create_table("TABLE_CASE"),
            std::vector<std::string>{"create table TABLE_CASE (objid number)tablespace users storage (initial 64k)"});
  ds_script::reset();
  EXPECT_EQ(create_table("table_other"), std::vector<std::string>{"create table table_other (objid number)"});
  std::fclose(ddl);
  adp_sch_ddl = nullptr;
  EXPECT_EQ(file_text("ddl.out"), "tablespace users storage (initial 64k)\n\n");
}

TEST_F(AdpDbOraScript, ASynonymIsMadeForAPlainNameOnly) {
  KAdpDbOperation* op = con_->GetDbOperation();
  ASSERT_EQ(op->CreateSynonym(const_cast<char*>("table_case")), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"create public synonym table_case for table_case"});
  ds_script::reset();
  for (const char* name : {"t x", "t'x", "t;drop"}) {
    EXPECT_EQ(op->CreateSynonym(const_cast<char*>(name)), ADP_NO_SUCH_DB) << name;
  }
  EXPECT_TRUE(adp_script_sent().empty());
}

}  // namespace
