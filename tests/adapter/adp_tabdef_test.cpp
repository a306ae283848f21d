// The end of a type's CREATE TABLE text in both dialects: relation key
// columns (plain, exclusive sets sharing an id column, columns the type
// already has), the caller's line breaking, the script file and Oracle's
// storage clause.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "adapter/adp_fixture.h"
#include "adapter/adp_tabdef_records.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_stor.h"

namespace {

class AdpTabDef : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    ASSERT_EQ(utl_estr_create("test", "create table table_case\n (objid number, title varchar2(80)", 64, 64, &text_),
              0);
    ASSERT_EQ(utl_col_make("test", 516, 10, 10, 0, 1, &written_), 0);
  }
  void TearDown() override {
    utl_estr_free("test", text_);
    utl_col_free("test", written_);
    typ_free_physical_storage_params();
    adp_test::TearDown();
  }
  // The operation on the driver's dialect with the script in a file.
  long run(const char* driver, char relation_columns, long* count, std::string* script) {
    KAdpConnId* con = connect(driver);
    FILE* f = std::fopen("script.sql", "w");
    long st = con->GetDbOperation()->SchTableDef(&type_.schema, relation_columns, written_, text_, count,
                                                 "table_case", f);
    std::fclose(f);
    *script = file_text("script.sql");
    return st;
  }
  std::string added() const {
    std::string all = utl_estr_get(text_);
    const std::string head = "create table table_case\n (objid number, title varchar2(80)";
    return all.substr(head.size());
  }

  type_records type_;
  utl_ty_estr* text_ = nullptr;
  utl_ty_col* written_ = nullptr;
};

TEST_F(AdpTabDef, SqlServerKeyColumnsContinueTheCallersLines) {
  long count = 2;
  std::string script;
  ASSERT_EQ(run("oledb", 1, &count, &script), 0);
  EXPECT_EQ(added(),
            ", case2site INTEGER NULL"
            ",\n  group2owner INTEGER NULL, gr_type_owner INTEGER NULL, gr_type_other INTEGER NULL"
            ",\n  case2lead INTEGER NULL)\n");
  EXPECT_EQ(count, 7);
  EXPECT_EQ(script,
            ", case2site integer null"
            ",\n  group2owner INTEGER NULL, gr_type_owner INTEGER NULL, gr_type_other INTEGER NULL"
            ",\n  case2lead integer null)\n\n");
  long n = 0;
  utl_col_num(written_, &n);
  EXPECT_EQ(n, 2);  // group2owner, group2other
}

TEST_F(AdpTabDef, WithoutRelationColumnsOnlyTheEnd) {
  long count = 2;
  std::string script;
  ASSERT_EQ(run("oledb", 0, &count, &script), 0);
  EXPECT_EQ(added(), ")\n");
  EXPECT_EQ(script, ")\n\n");
  EXPECT_EQ(count, 2);
}

TEST_F(AdpTabDef, OracleAddsTheTablesStorageClause) {
  {
    std::ofstream def("storage.def");
    def << "table_case ::tablespace users storage (initial 64k)\n";
  }
  ASSERT_EQ(typ_load_physical_storage_params(), 0);
  long count = 3;
  std::string script;
  ASSERT_EQ(run("oracle", 1, &count, &script), 0);
  EXPECT_EQ(added(),
            ",\n  case2site number null, group2owner number null, gr_type_owner number null"
            ",\n  gr_type_other number null, case2lead number null)\n"
            "tablespace users storage (initial 64k)");
  EXPECT_EQ(script,
            ",\n  case2site number null, group2owner number null, gr_type_owner number null"
            ",\n  gr_type_other number null, case2lead number null)\n\n"
            "tablespace users storage (initial 64k)\n\n");
  EXPECT_EQ(count, 8);
}

}  // namespace
