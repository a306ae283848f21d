// Oracle's index creation on the MariaDB server: indexes made from the
// schema with their adp_sch_index rows (the offline feature off and on, the
// old row replaced), the search index, then listed from the catalogue,
// dropped and rebuilt from their records' DDL with their rows written again;
// every row checked by SQL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_model.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "store/dbs_ids.h"

namespace {

constexpr long kType = 4201;
constexpr long kLong = 512, kText = 516;
constexpr long kDbInt = 0, kDbText = 7;
constexpr long kObjidGen = 3;
constexpr unsigned long kSearchable = 0x100;
constexpr long kSearchFlag = 1, kRoamerFlag = 32;

class AdpIndMakeOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_ind_init();
    model_ = new adp_model;
    typ_sch_srec* t = adp_model_object("dl3i", kType);
    adp_model_field(t, "objid", kLong, kDbInt, kObjidGen);
    adp_model_field(t, "title", kText, kDbText, -1, kSearchable);
    adp_model_field(t, "status", kText, kDbText);
    type_ = model_->finish(kType);
    ASSERT_NE(type_, nullptr);
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_dl3i(objid number not null, title varchar2(30), "
                                          "s_title varchar2(30), status varchar2(30))"),
              0);
    flags_ = adp_db_get_flags();
    dbs_obj_ids_reset();
  }
  void TearDown() override {
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    if (records_ != nullptr) {
      adp_ind_free_res_ind_col(records_);
      utl_col_free("test", records_);
    }
    adp_db_set_flags(flags_);
    dbs_obj_ids_reset();
    delete model_;
    adp_ora_open_test::TearDown();
  }
  long add(const char* name, std::initializer_list<const char*> fields, char unique) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("test", 516, 4, 4, 0, 0, &col), 0);
    for (const char* f : fields) EXPECT_EQ(utl_col_push(col, f, nullptr), 0);
    cols_.push_back(col);
    return con_->GetDbOperation()->IndAddIndex(con_, type_, const_cast<char*>(name), col, unique, nullptr, 0);
  }
  // The offline feature: the rows gain objid and dev as the repository
  // makes them then.
  void offline() {
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "alter table adp_sch_index add (objid number null, dev number null)"), 0);
    adp_db_set_flags(flags_ | kRoamerFlag);
  }
  std::string rows() {
    std::string out;
    for (const auto& r : db_.query("select index_name, flags, field_count, field_names from adp_sch_index where "
                                   "type_id = 4201 order by index_name")) {
      out += r[0] + " " + r[1] + " " + r[2] + " " + r[3] + ";";
    }
    return out;
  }
  std::string columns(const char* index) {
    std::string out;
    for (const auto& r : db_.query(std::string("select lower(column_name) from information_schema.statistics "
                                               "where table_schema = database() and upper(index_name) = '") +
                                   index + "' order by seq_in_index")) {
      out += r[0] + " ";
    }
    return out;
  }
  std::string unique(const char* index) {
    return value(std::string("select min(non_unique) from information_schema.statistics where table_schema = "
                             "database() and upper(index_name) = '") +
                 index + "'");
  }

  adp_model* model_ = nullptr;
  typ_sch_srec* type_ = nullptr;
  long flags_ = 0;
  std::vector<utl_ty_col*> cols_;
  utl_ty_col* records_ = nullptr;
};

TEST_F(AdpIndMakeOra, IndexesAreMadeAndRecordedAndAnOldRowIsReplaced) {
  ASSERT_EQ(add("objid", {"objid"}, 1), 0);
  ASSERT_EQ(add("title", {"title", "status"}, 0), 0);
  EXPECT_EQ(columns("DL3I_OBJINDEX"), "objid ");
  EXPECT_EQ(unique("DL3I_OBJINDEX"), "0");
  EXPECT_EQ(columns("DL3I_TITLE"), "title status ");
  EXPECT_EQ(unique("DL3I_TITLE"), "1");
  EXPECT_EQ(rows(), "objid 1 1 objid;title 0 2 title:status;");
  // Made again under the same name (its index gone): one row, the new one.
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "DROP INDEX dl3i_title ON table_dl3i"), 0);
  ASSERT_EQ(add("title", {"status"}, 1), 0);
  EXPECT_EQ(rows(), "objid 1 1 objid;title 1 1 status;");
  // No search option: no search index.
  EXPECT_EQ(columns("S_DL3I_TITLE"), "");
}

TEST_F(AdpIndMakeOra, TheSearchIndexCoversTheUpperCaseCopy) {
  adp_db_set_flags(flags_ | kSearchFlag);
  ASSERT_EQ(add("title", {"title", "status"}, 0), 0);
  EXPECT_EQ(columns("S_DL3I_TITLE"), "s_title status ");
  EXPECT_EQ(rows(), "title 0 2 title:status;");  // one row for both
}

TEST_F(AdpIndMakeOra, WithTheOfflineFeatureEachRowHasItsOwnObjectId) {
  offline();
  ASSERT_EQ(add("status", {"status"}, 0), 0);
  ASSERT_EQ(add("title", {"title"}, 1), 0);
  EXPECT_EQ(rows(), "status 0 1 status;title 1 1 title;");
  const auto got = db_.query("select objid, dev from adp_sch_index where type_id = 4201 order by index_name");
  ASSERT_EQ(got.size(), 2u);
  const long counter = std::stol(value("select obj_num from adp_tbl_oid where type_id = 100000001"));
  for (const auto& r : got) {
    ASSERT_FALSE(r[0].empty());
    EXPECT_GT(std::stol(r[0]), 0);
    EXPECT_LE(std::stol(r[0]), counter);  // drawn from the row type's counter
    EXPECT_EQ(r[1], "1");
  }
  EXPECT_NE(got[0][0], got[1][0]);
}

// Listed from the catalogue, dropped, made again from the records' DDL, and
// the declared ones recorded again: the objid index and an index not named
// after the type get no row.
TEST_F(AdpIndMakeOra, IndexesAreListedAndRebuiltWithTheirRows) {
  for (bool roaming : {false, true}) {
    SCOPED_TRACE(roaming ? "offline feature" : "no offline feature");
    if (roaming) offline();
    ASSERT_EQ(add("objid", {"objid"}, 1), 0);
    ASSERT_EQ(add("title", {"title", "status"}, 1), 0);
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create index other_ix on table_dl3i(status)"), 0);
    ASSERT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
    ASSERT_EQ(adp_ind_get_table_index(con_, type_, records_), 0);
    long n = 0;
    utl_col_num(records_, &n);
    ASSERT_EQ(n, 3);
    utl_ty_estr* ddl = nullptr;
    ASSERT_EQ(utl_estr_create("test", "", 64, 64, &ddl), 0);
    ASSERT_EQ(con_->GetDbOperation()->IndSqlBuildTableIndex(const_cast<char*>("dl3i"), records_, ddl), 0);
    const std::string text = utl_estr_get(ddl);
    utl_estr_free("test", ddl);
    // The catalogue kept no storage values: no storage clause is written.
    EXPECT_EQ(text.find("INITRANS"), std::string::npos) << text;
    EXPECT_NE(text.find("create UNIQUE index DL3I_TITLE on TABLE_dl3i (TITLE, STATUS)\n;\n"), std::string::npos)
        << text;
    for (const char* ix : {"dl3i_objindex", "dl3i_title", "other_ix"}) {
      ASSERT_EQ(adp_sql_parse_ddl_now(con_, "DROP INDEX %s ON table_dl3i", ix), 0);
    }
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "delete from adp_sch_index"), 0);
    size_t at = 0;
    for (size_t end; (end = text.find(";\n", at)) != std::string::npos; at = end + 2) {
      ASSERT_EQ(adp_sql_parse_ddl_now(con_, "%s", text.substr(at, end - at).c_str()), 0);
    }
    EXPECT_EQ(columns("DL3I_TITLE"), "title status ");
    EXPECT_EQ(unique("DL3I_TITLE"), "0");
    EXPECT_EQ(columns("OTHER_IX"), "status ");
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      ASSERT_EQ(utl_col_ith(records_, i, &e), 0);
      static_cast<adp_ty_index_info*>(e)->in_schema = 1;
    }
    ASSERT_EQ(adp_ind_build_adp_index(con_, type_, records_, nullptr, 0), 0);
    EXPECT_EQ(rows(), "title 1 2 title:status;");
    if (roaming) {
      EXPECT_NE(value("select objid from adp_sch_index where type_id = 4201"), "");
      EXPECT_EQ(value("select dev from adp_sch_index where type_id = 4201"), "1");
    }
    // Written again over an existing row: still one.
    ASSERT_EQ(adp_ind_build_adp_index(con_, type_, records_, nullptr, 0), 0);
    EXPECT_EQ(rows(), "title 1 2 title:status;");
    adp_ind_free_res_ind_col(records_);
    utl_col_free("test", records_);
    records_ = nullptr;
    for (const char* ix : {"dl3i_objindex", "dl3i_title", "other_ix"}) {
      ASSERT_EQ(adp_sql_parse_ddl_now(con_, "DROP INDEX %s ON table_dl3i", ix), 0);
    }
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "delete from adp_sch_index"), 0);
  }
}

}  // namespace
