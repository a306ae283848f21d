#include "adapter/adp_upg_e2e.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_meth.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "core/core_fixture.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_db.h"
#include "store/dbs_rdb.h"

namespace {

constexpr long kSearchFlag = 1;
constexpr long kCreatedFlag = 2;
constexpr long kOfflineFlag = DBS_HDR_ROAMER;

// What the store's open made of the dictionary, as typed or viewed tables.
const long kTables[] = {10, 11, 12, 13};
constexpr long kCaseView = 30;

long capture_stdout(const std::function<long()>& run, std::string* out) {
  std::fflush(stdout);
  char path[] = "/tmp/adp_upg_outXXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return run();
  const int saved = dup(1);
  dup2(fd, 1);
  const long st = run();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  close(fd);
  std::ifstream in(path);
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::remove(path);
  return st;
}

}  // namespace

adp_upg_schema adp_upg_start_schema() {
  adp_upg_schema s;
  s.case_type = "OBJECT case 10 FIELDS objid" ADP_UPG_ID ", title" ADP_UPG_TEXT(80) ", status" ADP_UPG_TEXT(20)
                " DEFAULT=\"open\", amount CMN_DATA_TYPE=766 DB_DATA_TYPE=11 DEC_PRECISION=19 DEC_SCALE=2,"
                " opened CMN_DATA_TYPE=609 DB_DATA_TYPE=9 FIELDS_END\n"
                "RELATIONS case2site MTO site INV_REL=site2case RELATIONS_END OBJECT_END;\n";
  s.site = "OBJECT site 11 FIELDS objid" ADP_UPG_ID ", name" ADP_UPG_TEXT(80) " SEARCHABLE FIELDS_END\n"
           "RELATIONS site2case OTM case INV_REL=case2site RELATIONS_END OBJECT_END;\n";
  s.contact = "OBJECT contact 12 FIELDS objid" ADP_UPG_ID ", first_name" ADP_UPG_TEXT(30) ", last_name" ADP_UPG_TEXT(30)
              " FIELDS_END\n"
              "RELATIONS contact2employee OTOP employee INV_REL=employee2contact RELATIONS_END OBJECT_END;\n";
  s.employee = "OBJECT employee 13 FIELDS objid" ADP_UPG_ID ", login" ADP_UPG_TEXT(30) " FIELDS_END\n"
               "RELATIONS employee2contact OTOF contact INV_REL=contact2employee RELATIONS_END OBJECT_END;\n";
  s.views = "VIEW case_view 30 ALIAS case c, site s FIELDS objid FROM c.objid, title FROM c.title,"
            " site_name FROM s.name FIELDS_END JOINS c.case2site = s.site2case JOINS_END VIEW_END;\n";
  return s;
}

void adp_upg_test::SetUp() {
  adp_ora_test::SetUp();
  if (HasFatalFailure()) return;
  ASSERT_TRUE(db_.load("crm_upgrade.sql"));
  // The engine's text lists copy their texts as the started core does.
  ASSERT_EQ(cmn_meth_install_all(), 0);
}

KAdpConnId* adp_upg_test::start() {
  con_ = store_session(kSearchFlag | kCreatedFlag | kOfflineFlag);
  if (con_ == nullptr) return nullptr;
  for (long id : kTables) {
    typ_sch_srec* s = nullptr;
    EXPECT_EQ(typ_sch_find_handle(id, nullptr, &s), 0) << id;
    const char* table = nullptr;
    EXPECT_EQ(adp_sch_tbl_find(id, &table), 0) << id;
    if (s == nullptr || table == nullptr) return nullptr;
    utl_ty_estr* ddl = nullptr;
    EXPECT_EQ(adp_sch_table_def(con_, s, nullptr, nullptr, DBS_RDB_WITH_RELATION_COLUMNS, &ddl), 0) << id;
    if (ddl == nullptr) return nullptr;
    EXPECT_EQ(adp_sce_create_table(con_, table, utl_estr_get(ddl), nullptr, nullptr, 0), 0) << utl_estr_get(ddl);
    utl_estr_free("test", ddl);
  }
  const char* view = nullptr;
  EXPECT_EQ(adp_sch_tbl_find(kCaseView, &view), 0);
  if (view == nullptr) return nullptr;
  EXPECT_TRUE(db_.run(std::string("create view ") + view +
                      " as select c.objid, c.title, s.name site_name from table_case c, table_site s"
                      " where c.case2site = s.objid;"));
  return con_;
}

long adp_upg_test::upgrade(const std::string& schema, unsigned long options) {
  const std::string path = dir_.path().string() + "/upgrade.sch";
  {
    std::ofstream f(path);
    f << schema;
  }
  return capture_stdout(
      [&] {
        typ_bld_init();
        // The statements run go to the output too.
        adp_sql_log_sql(stdout);
        const long st = typ_bld_compile(con_, path.c_str(), options | TYP_BLD_UPGRADE, 0, nullptr, nullptr);
        adp_sql_log_sql(nullptr);
        return st;
      },
      &out_);
}

typ_sch_srec* adp_upg_test::reopened(long type_id) {
  // The store's model goes with the session; a new one reads the dictionary.
  delete con_;
  con_ = store_session(kSearchFlag | kCreatedFlag | kOfflineFlag);
  if (con_ == nullptr) return nullptr;
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

std::vector<std::string> adp_upg_test::column(const std::string& sql) {
  std::vector<std::string> out;
  for (const auto& row : db_.query(sql)) out.push_back(row.empty() ? "" : row[0]);
  return out;
}

std::vector<std::string> adp_upg_test::columns_of(const std::string& table) {
  return column("select column_name from information_schema.columns where table_schema = '" + db_.name() +
                "' and table_name = '" + table + "' order by ordinal_position");
}
