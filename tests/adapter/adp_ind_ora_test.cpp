// Oracle's catalogue indexes on the MariaDB server, after the indexes are
// made: one record per index of a type's table with its columns in key
// order and its storage values marked NULL, and the table's index list
// without the search indexes (only names that begin with "S_": a type whose
// name begins with "S" keeps its indexes).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "adapter/adp_ind.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"

namespace {

constexpr unsigned long kAllStorageNull = ADP_IND_NULL_INI_TRANS | ADP_IND_NULL_MAX_TRANS | ADP_IND_NULL_PCT_FREE |
                                          ADP_IND_NULL_TABLESPACE | ADP_IND_NULL_PCT_INCREASE |
                                          ADP_IND_NULL_INITIAL | ADP_IND_NULL_NEXT | ADP_IND_NULL_MIN_EXTENTS |
                                          ADP_IND_NULL_MAX_EXTENTS;

std::vector<std::string> strings_of(utl_ty_col* col) {
  std::vector<std::string> out;
  long n = 0;
  utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    out.emplace_back(static_cast<const char*>(e));
  }
  return out;
}

class AdpIndOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    for (const char* ddl : {"create table table_sdl2(objid number not null, title varchar2(30), due date, "
                            "site number)",
                            "create unique index sdl2_objindex on table_sdl2(objid)",
                            "create index sdl2_title on table_sdl2(title, due)",
                            "create index s_sdl2_title on table_sdl2(site)"}) {
      ASSERT_EQ(adp_sql_parse_ddl_now(con_, "%s", ddl), 0) << ddl;
    }
    std::snprintf(info_.name, sizeof info_.name, "sdl2");
    schema_.info = &info_;
    ASSERT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
  }
  void TearDown() override {
    if (records_ != nullptr) {
      adp_ind_free_res_ind_col(records_);
      utl_col_free("test", records_);
    }
    adp_ora_open_test::TearDown();
  }

  typ_sch_iblk info_{};
  typ_sch_srec schema_{};
  utl_ty_col* records_ = nullptr;
};

TEST_F(AdpIndOra, EveryIndexOfTheTypeTableBecomesARecordWithItsColumns) {
  ASSERT_EQ(adp_ind_get_table_index(con_, &schema_, records_), 0);
  std::map<std::string, const adp_ty_index_info*> by_name;
  long n = 0;
  utl_col_num(records_, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    ASSERT_EQ(utl_col_ith(records_, i, &e), 0);
    auto* r = static_cast<const adp_ty_index_info*>(e);
    by_name[r->name] = r;
  }
  ASSERT_EQ(by_name.size(), 3u);
  const struct {
    const char* name;
    const char* uniqueness;
    std::vector<std::string> columns;
  } want[] = {{"SDL2_OBJINDEX", "UNIQUE", {"OBJID"}},
              {"SDL2_TITLE", "NONUNIQUE", {"TITLE", "DUE"}},
              {"S_SDL2_TITLE", "NONUNIQUE", {"SITE"}}};
  for (const auto& w : want) {
    SCOPED_TRACE(w.name);
    ASSERT_EQ(by_name.count(w.name), 1u);
    const adp_ty_index_info* r = by_name[w.name];
    EXPECT_EQ(std::string(r->uniqueness), w.uniqueness);
    EXPECT_EQ(strings_of(r->fields), w.columns);
    // The server keeps no storage values: every one is marked NULL and reads 0.
    EXPECT_EQ(r->null_storage, kAllStorageNull);
    EXPECT_EQ(r->max_extents, 0);
    EXPECT_EQ(std::string(r->tablespace), "");
  }

  // Another type's table gives nothing.
  std::snprintf(info_.name, sizeof info_.name, "none");
  ASSERT_EQ(adp_ind_free_res_ind_col(records_), 0);
  ASSERT_EQ(adp_ind_get_table_index(con_, &schema_, records_), 0);
  utl_col_num(records_, &n);
  EXPECT_EQ(n, 0);
}

TEST_F(AdpIndOra, TheIndexListLeavesOutSearchIndexesOnly) {
  char flag = 7;
  void* indexes = nullptr;
  KAdpDbOperation* op = con_->GetDbOperation();
  ASSERT_EQ(op->SchGetIndexInfo(con_, const_cast<char*>("table_sdl2"), &flag, &indexes), 0);
  EXPECT_EQ(flag, 0);
  auto* list = static_cast<utl_ty_col*>(indexes);
  std::map<std::string, std::pair<std::vector<std::string>, long>> got;
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* slot = nullptr;
    ASSERT_EQ(utl_col_ith(list, i, &slot), 0);
    auto* inner = *static_cast<utl_ty_col**>(slot);
    std::vector<std::string> names = strings_of(inner);
    ASSERT_FALSE(names.empty());
    got[names[0]] = {std::vector<std::string>(names.begin() + 1, names.end()), inner->ext};
    utl_col_free("test", inner);
  }
  utl_col_free("test", list);
  const std::map<std::string, std::pair<std::vector<std::string>, long>> want{
      {"objindex", {{"objid"}, 1}}, {"title", {{"title", "due"}, 0}}};
  EXPECT_EQ(got, want);
}

// The escape above needs the server to read a backslash in a literal as a
// plain character, as Oracle does; so does a value that holds one.
TEST_F(AdpIndOra, ABackslashInALiteralIsAPlainCharacter) {
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_bslash(v varchar2(20))"), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "insert into table_bslash values ('C:\\temp\\n''x')"), 0);
  EXPECT_EQ(value("select v from table_bslash"), "C:\\temp\\n'x");
}

}  // namespace
