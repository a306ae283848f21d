// The adapter's index calls on the MariaDB server through the Oracle-dialect
// service: indexes made from the schema's lists, listed and read from their
// adp_sch_index rows and from the catalogue, dropped with their rows (a
// missing one quietly), rebuilt after a table change with the names of the
// two that could not be made, their rows rewritten, and fitted to a column
// the table lost. Every effect is checked by SQL.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/adp_ind.h"
#include "adapter/adp_model.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using texts = std::vector<std::string>;

constexpr long kType = 4301;
constexpr long kLong = 512, kText = 516;
constexpr long kDbInt = 0, kDbText = 7;
constexpr long kObjidGen = 3;

class AdpIndServer : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_ind_init();
    model_ = new adp_model;
    typ_sch_srec* t = adp_model_object("dl7i", kType);
    adp_model_field(t, "objid", kLong, kDbInt, kObjidGen);
    adp_model_field(t, "title", kText, kDbText);
    adp_model_field(t, "status", kText, kDbText);
    type_ = model_->finish(kType);
    ASSERT_NE(type_, nullptr);
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_dl7i(objid number not null, title varchar2(30), "
                                          "status varchar2(30))"),
              0);
    ASSERT_EQ(utl_col_make("test", 517, 4, 4, 0, 0, &declared_), 0);
    declare("objid", {"objid"}, 1);
    declare("title", {"title", "status"}, 1);
    declare("status", {"status"}, 0);
    ASSERT_EQ(typ_sch_uptr_set(type_, declared_), 0);
  }
  void TearDown() override {
    if (type_ != nullptr) typ_sch_uptr_set(type_, nullptr);
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    if (declared_ != nullptr) utl_col_free("test", declared_);
    free_records();
    delete model_;
    adp_ora_open_test::TearDown();
  }
  void declare(const char* name, std::initializer_list<const char*> fields, long flags) {
    utl_ty_col* m = nullptr;
    ASSERT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &m), 0);
    ASSERT_EQ(utl_col_push(m, name, nullptr), 0);
    for (const char* f : fields) ASSERT_EQ(utl_col_push(m, f, nullptr), 0);
    ASSERT_EQ(utl_col_set_ext(m, flags), 0);
    ASSERT_EQ(utl_col_push(declared_, &m, nullptr), 0);
    cols_.push_back(m);
  }
  utl_ty_col* list() {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &col), 0);
    cols_.push_back(col);
    return col;
  }
  void read_records() {
    free_records();
    ASSERT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
    ASSERT_EQ(adp_ind_get_table_index(con_, type_, records_), 0);
  }
  void free_records() {
    if (records_ == nullptr) return;
    adp_ind_free_res_ind_col(records_);
    utl_col_free("test", records_);
    records_ = nullptr;
  }
  texts record_names() {
    texts out;
    long n = 0;
    utl_col_num(records_, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(records_, i, &e);
      out.emplace_back(static_cast<adp_ty_index_info*>(e)->name);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  // The indexes of the table with their columns in key order.
  std::string catalogue() {
    std::string out;
    for (const auto& r : db_.query("select lower(index_name), group_concat(lower(column_name) order by "
                                   "seq_in_index), min(non_unique) from information_schema.statistics where "
                                   "table_schema = database() and table_name = 'table_dl7i' group by index_name "
                                   "order by 1")) {
      out += r[0] + "(" + r[1] + ")" + (r[2] == "0" ? " unique" : "") + ";";
    }
    return out;
  }
  std::string rows() {
    std::string out;
    for (const auto& r : db_.query("select index_name, flags, field_count, field_names from adp_sch_index where "
                                   "type_id = 4301 order by index_name")) {
      out += r[0] + " " + r[1] + " " + r[2] + " " + r[3] + ";";
    }
    return out;
  }

  adp_model* model_ = nullptr;
  typ_sch_srec* type_ = nullptr;
  utl_ty_col* declared_ = nullptr;
  std::vector<utl_ty_col*> cols_;
  utl_ty_col* records_ = nullptr;
};

TEST_F(AdpIndServer, IndexesAreAddedListedReadAndDropped) {
  ASSERT_EQ(adp_ind_create(con_, type_), 0);
  EXPECT_EQ(catalogue(), "dl7i_objindex(objid) unique;dl7i_status(status);dl7i_title(title,status) unique;");
  EXPECT_EQ(rows(), "objid 1 1 objid;status 0 1 status;title 1 2 title:status;");

  utl_ty_col* names = list();
  ASSERT_EQ(adp_ind_list_index(con_, kType, names), 0);
  texts listed = adp_col_texts(names);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (texts{"objid", "status", "title"}));

  utl_ty_col* fields = list();
  char unique = 0;
  ASSERT_EQ(adp_ind_get_index(con_, kType, "TITLE", fields, &unique), 0);
  EXPECT_EQ(adp_col_texts(fields), (texts{"title", "status"}));
  EXPECT_EQ(unique, 1);

  read_records();
  EXPECT_EQ(record_names(), (texts{"DL7I_OBJINDEX", "DL7I_STATUS", "DL7I_TITLE"}));
  EXPECT_EQ(adp_ind_exists(con_, "dl7i_title"), 1);
  EXPECT_EQ(adp_ind_exists(con_, "dl7i_none"), 0);

  ASSERT_EQ(adp_ind_drop_index(con_, kType, "title"), 0);
  EXPECT_EQ(catalogue(), "dl7i_objindex(objid) unique;dl7i_status(status);");
  EXPECT_EQ(rows(), "objid 1 1 objid;status 0 1 status;");
  // Dropped again: nothing left to drop, no failure, no alert.
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(adp_ind_drop_index(con_, kType, "title"), 0);
  EXPECT_TRUE(core_alert_codes().empty());
  // A physical index by name.
  ASSERT_EQ(adp_ind_drop_named_index(con_, "table_dl7i", "dl7i_status", 0, 0), 0);
  EXPECT_EQ(catalogue(), "dl7i_objindex(objid) unique;");
}

// Around a table change: the catalogue records matched with the schema,
// dropped, then made again; two names are taken meanwhile, so two CREATEs
// fail and are named, and the rows of the declared ones are written anew.
TEST_F(AdpIndServer, ARebuildNamesTheIndexesItCouldNotMakeAndRewritesTheRows) {
  ASSERT_EQ(adp_ind_create(con_, type_), 0);
  read_records();
  // The schema's lists as the table-change engine reads them: copies it
  // hands over (the matched ones are freed by the call).
  utl_ty_col* schema = nullptr;
  ASSERT_EQ(utl_col_make("test", 517, 4, 4, 0, 0, &schema), 0);
  for (utl_ty_col* m : cols_) {
    utl_ty_col* copy = nullptr;
    ASSERT_EQ(utl_col_copy("test", m, &copy), 0);
    ASSERT_EQ(utl_col_push(schema, &copy, nullptr), 0);
  }
  ASSERT_EQ(adp_ind_clean_sch_index(con_, type_, records_, schema), 0);
  long unmatched = -1;
  utl_col_num(schema, &unmatched);
  EXPECT_EQ(unmatched, 0);
  utl_col_free("test", schema);
  ASSERT_EQ(adp_ind_drop_table_index(con_, type_, records_, nullptr, 0), 0);
  EXPECT_EQ(catalogue(), "");
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "delete from adp_sch_index"), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create index dl7i_title on table_dl7i(objid)"), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create index dl7i_status on table_dl7i(objid, title)"), 0);

  utl_ty_estr* failed = nullptr;
  ASSERT_EQ(adp_ind_build_table_index(con_, type_, records_, &failed, nullptr, 0), 0);
  ASSERT_NE(failed, nullptr);
  const std::string names = utl_estr_get(failed);
  utl_estr_free("test", failed);
  EXPECT_TRUE(names == "dl7i_title,\ndl7i_status" || names == "dl7i_status,\ndl7i_title") << names;
  EXPECT_EQ(catalogue(), "dl7i_objindex(objid) unique;dl7i_status(objid,title);dl7i_title(objid);");
  // The objid index keeps no row; the declared ones are written from the
  // schema's fields.
  EXPECT_EQ(rows(), "status 0 1 status;title 1 2 title:status;");
}

// A table change as the table-change engine makes it: the catalogue
// indexes dropped, a column renamed and one dropped, the records fitted to
// the table (the index left without columns loses its row) and made again.
TEST_F(AdpIndServer, IndexesAreFittedToTheColumnsTheTableKeeps) {
  ASSERT_EQ(adp_ind_create(con_, type_), 0);
  read_records();
  ASSERT_EQ(adp_ind_drop_table_index(con_, type_, records_, nullptr, 0), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "alter table table_dl7i rename column title to headline"), 0);
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "alter table table_dl7i drop column status"), 0);
  utl_ty_col* renamed = list();
  ASSERT_EQ(utl_col_push(renamed, "title", nullptr), 0);
  ASSERT_EQ(utl_col_push(renamed, "headline", nullptr), 0);
  ASSERT_EQ(adp_ind_check_columns(con_, "table_dl7i", type_, records_, renamed, nullptr, 0), 0);
  EXPECT_EQ(record_names(), (texts{"DL7I_OBJINDEX", "DL7I_TITLE"}));
  EXPECT_EQ(rows(), "objid 1 1 objid;title 1 2 title:status;");
  utl_ty_estr* failed = nullptr;
  ASSERT_EQ(adp_ind_build_table_index(con_, type_, records_, &failed, nullptr, 0), 0);
  ASSERT_NE(failed, nullptr);
  EXPECT_STREQ(utl_estr_get(failed), "");
  utl_estr_free("test", failed);
  EXPECT_EQ(catalogue(), "dl7i_objindex(objid) unique;dl7i_title(headline) unique;");
}

}  // namespace
