// SQL Server's multi-query read through the scripted service: the queued
// queries' rows become local objects or the ids of the relation queries'
// collections, and the batch ends on every return.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "store/dbs_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_obj.h"

namespace {

using ds_script::cell;

class AdpMultiBatch : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    con_ = connect("oledb");
    model_.add("case", 20, {{512, 0}, {516, 7}});
    model_.add("site", 21, {{512, 0}});
    model_.finish(20);
    op_ = dynamic_cast<KAdpMssqlOperation*>(con_->GetDbOperation());
    ASSERT_NE(op_, nullptr);
    ASSERT_EQ(adp_sql_batch_start(con_), 0);
  }
  void queue(const char* sql, long type_id) {
    *op_->GetBatch() << sql << KAdpSqlBatch::kEndStmt;
    op_->GetBatchTypes().Add(static_cast<unsigned>(type_id));
  }
  static std::vector<void*> elements(utl_ty_col* col) { return adp_col_pointers(col); }
  static std::vector<long> longs(utl_ty_col* col) { return adp_col_longs(col); }
  KAdpConnId* con_ = nullptr;
  KAdpMssqlOperation* op_ = nullptr;
  adp_model model_;
};

TEST_F(AdpMultiBatch, RowsBecomeObjectsOfEachQuerysType) {
  queue("select objid, title from table_case", 20);
  queue("select objid from table_site", 21);
  ds_script::push_result({{"objid", "title"}, {{cell::l(5), cell::t("alpha")}, {cell::l(7), cell::t("beta")}}});
  ds_script::push_result({{"objid"}, {{cell::l(9)}}});
  utl_ty_col* out = nullptr;
  ASSERT_EQ(adp_sql_execute_batch(con_, &out), 0);
  ASSERT_NE(out, nullptr);
  std::vector<void*> sets = elements(out);
  ASSERT_EQ(sets.size(), 2u);
  std::vector<void*> cases = elements(static_cast<utl_ty_col*>(sets[0]));
  ASSERT_EQ(cases.size(), 2u);
  long v = 0, type = 0;
  auto* second = static_cast<dbs_ty_lobj*>(cases[1]);
  ASSERT_EQ(dbs_fld_get(second, 0, &v, &type), 0);
  EXPECT_EQ(v, 7);
  ASSERT_EQ(dbs_fld_get(second, 1, &v, &type), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(v), "beta");
  EXPECT_EQ(second->flags & 7, 1);
  EXPECT_EQ(second->schema->type_id, 20);
  std::vector<void*> sites = elements(static_cast<utl_ty_col*>(sets[1]));
  ASSERT_EQ(sites.size(), 1u);
  ASSERT_EQ(dbs_fld_get(static_cast<dbs_ty_lobj*>(sites[0]), 0, &v, &type), 0);
  EXPECT_EQ(v, 9);
  EXPECT_EQ(op_->GetBatch(), nullptr);  // the batch has ended
  for (void* set : sets) {
    for (void* o : elements(static_cast<utl_ty_col*>(set))) dbs_obj_free_local("test", static_cast<dbs_ty_lobj*>(o));
    utl_col_free(nullptr, static_cast<utl_ty_col*>(set));
  }
  utl_col_free(nullptr, out);
}

TEST_F(AdpMultiBatch, RelationQueriesFillTheirIdCollections) {
  queue("select objid from table_site where case_id = 5", 21);
  queue("select objid from table_site where case_id = 7", 21);
  utl_ty_col* ids[2] = {};
  for (utl_ty_col*& c : ids) {
    ASSERT_EQ(utl_col_make(nullptr, 512, 4, 4, 0, 0, &c), 0);
    op_->GetBatchIdCols().Add(c);
  }
  ds_script::push_result({{"objid"}, {{cell::l(3)}, {cell::l(4)}}});
  ds_script::push_result({{"objid"}, {}});
  utl_ty_col* out = nullptr;
  ASSERT_EQ(adp_sql_execute_batch(con_, &out), 0);
  EXPECT_EQ(longs(ids[0]), (std::vector<long>{3, 4}));
  EXPECT_TRUE(longs(ids[1]).empty());
  for (void* set : elements(out)) utl_col_free(nullptr, static_cast<utl_ty_col*>(set));
  utl_col_free(nullptr, out);
  for (utl_ty_col* c : ids) utl_col_free(nullptr, c);
}

TEST_F(AdpMultiBatch, AFailingSecondSetEndsTheBatch) {
  queue("select objid from table_site", 21);
  queue("select objid from table_site where objid > 1", 21);
  ds_script::push_result({{"objid"}, {{cell::l(1)}}});
  ds_script::push_result({{"objid"}, {{cell::l(2)}}});
  ds_script::fail({"FetchNextSet", 2, 0x8B000D7, "set failed", "the second set"});
  utl_ty_col* out = nullptr;
  cmn_alrt_clear(nullptr);
  long st = adp_sql_execute_batch(con_, &out);
  EXPECT_NE(st, 0);
  EXPECT_FALSE(core_alert_codes().empty());
  EXPECT_EQ(op_->GetBatch(), nullptr);
  EXPECT_EQ(op_->GetBatchTypes().GetSize(), 0);
  ASSERT_NE(out, nullptr);
  std::vector<void*> sets = elements(out);
  ASSERT_EQ(sets.size(), 1u);  // the first set was read
  for (void* set : sets) {
    for (void* o : elements(static_cast<utl_ty_col*>(set))) dbs_obj_free_local("test", static_cast<dbs_ty_lobj*>(o));
    utl_col_free(nullptr, static_cast<utl_ty_col*>(set));
  }
  utl_col_free(nullptr, out);
}

TEST_F(AdpMultiBatch, OtherServersReturnAtOnce) {
  adp_db_set_db_driver("oracle");
  KAdpConnId* ora = connect("oracle");
  utl_ty_col* out = nullptr;
  EXPECT_EQ(adp_sql_execute_batch(ora, &out), 0);
  EXPECT_EQ(out, nullptr);
}

}  // namespace
