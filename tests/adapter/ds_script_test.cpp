// The scripted data service on its own, called directly through its factory
// (no connection in between): batches run statement by statement with their
// bind values and traces, results reach the record by their cells, and the
// prepared ids and procedure outputs land in the caller's record.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "adapter/adp_dsvc.h"
#include "adapter/adp_rec.h"
#include "platform/dataservice/ds_script.h"

namespace {

// A settings object that keeps the trace events the service sends.
class trace_config final : public KCLASSIC::tagLpmConfig {
 public:
  void Trace(const char* event, const char* text) override {
    events.emplace_back(event ? event : "", text ? text : "");
  }
  std::vector<std::pair<std::string, std::string>> events;
};

class ScriptService : public ::testing::Test {
 protected:
  void SetUp() override {
    ds_script::reset();
    svc_ = ClassicCreateDataSvc(&config_);
    ASSERT_NE(svc_, nullptr);
    EXPECT_EQ(ds_script::calls(), std::vector<std::string>{"Create"});
    ds_script::reset();  // the service stays; its calls from here on
  }
  void TearDown() override {
    if (svc_) svc_->Release(0);
    EXPECT_EQ(ds_script::live(), 0);
    ds_script::reset();
  }

  trace_config config_;
  KCLASSIC::tagPpmDataSvc* svc_ = nullptr;
};

TEST_F(ScriptService, BatchRunsStatementByStatement) {
  ds_script::result first;
  first.columns = {"objid", "name", "data"};
  first.rows = {{ds_script::cell::l(5), ds_script::cell::t("a"), ds_script::cell::b(std::string("\x01\xAB", 2))},
                {ds_script::cell::l(7), ds_script::cell::t("b"), ds_script::cell::b("")}};
  ds_script::result second;
  second.count = 3;
  ds_script::push_result(first);
  ds_script::push_result(second);

  KCLASSIC::KStringArray statements;
  statements.Add("select objid, name, data from t");
  statements.Add("");
  statements.Add("update t set x = 1");
  KAdpUtlRecord binds;
  binds.SetColType(0, 0, "v", 0);
  binds.SetColType(1, 0, "w", 7);
  binds.SetLong(0, 0, 42);
  binds.SetString(0, 1, "it's");
  KCLASSIC::tagPpmStats stats;
  EXPECT_EQ(svc_->StartBatch(&statements, &binds, &stats), 0);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 0);  // start batch only stores

  long rows = -1;
  EXPECT_EQ(svc_->FetchNextSet(0, rows), 0);
  EXPECT_EQ(rows, 2);
  KAdpUtlRecord result;
  result.SetColType(0, 0, "objid", 0);  // declared long; the others by the result
  EXPECT_EQ(svc_->MoveRowset(result, 0, 0), 0);
  ASSERT_EQ(result.GetRows(), 2);
  long id = 0;
  EXPECT_EQ(result.GetDataValue(1, 0, id), 0);
  EXPECT_EQ(id, 7);
  const char* text = nullptr;
  EXPECT_EQ(result.GetDataValue(0, 1, &text, nullptr), 0);
  EXPECT_STREQ(text, "a");
  EXPECT_EQ(result.GetDataValue(0, 2, &text, nullptr), 0);
  EXPECT_STREQ(text, "01AB");

  rows = -1;
  EXPECT_EQ(svc_->FetchNextSet(0, rows), 0);  // the empty statement is passed over
  EXPECT_EQ(rows, 3);
  rows = 0;
  EXPECT_EQ(svc_->FetchNextSet(0, rows), 0);
  EXPECT_EQ(rows, -1);
  EXPECT_EQ(ds_script::count("Bind 0,0=42"), 1);
  EXPECT_EQ(ds_script::count("Bind 0,1=it's"), 1);
  EXPECT_EQ(ds_script::count("FetchNextSet update t set x = 1"), 1);
  using event = std::pair<std::string, std::string>;
  EXPECT_EQ(config_.events,
            (std::vector<event>{{"SQL Batch started", "select objid, name, data from t\n\nupdate t set x = 1\n"},
                                {"----BindVariables--", "0,0=42"},
                                {"----BindVariables--", "0,1=it's"},
                                {"SQL Batch Execution", "select objid, name, data from t"},
                                {"SQL Batch Execution", "update t set x = 1"}}));
}

TEST_F(ScriptService, GeneratedIdsAndProcedureOutputs) {
  ds_script::push_ids({101, 102});
  ds_script::set_proc_outputs({{1, "done"}});
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, "objid", 0);
  rec.SetColType(1, 0, "out", 7);
  rec.SetLong(0, 0, 0);
  rec.SetLong(1, 0, 0);
  EXPECT_EQ(svc_->GenerateObjids(rec), 0);
  long a = 0, b = 0;
  rec.GetDataValue(0, 0, a);
  rec.GetDataValue(1, 0, b);
  EXPECT_EQ(a, 101);
  EXPECT_EQ(b, 102);
  KCLASSIC::KZString name("csp_new_objectid");
  EXPECT_EQ(svc_->ExecProc(rec, name, 0), 0);
  const char* out = nullptr;
  rec.GetDataValue(0, 1, &out, nullptr);
  EXPECT_STREQ(out, "done");
  EXPECT_EQ(ds_script::calls(), (std::vector<std::string>{"GenerateObjids 2", "ExecProc csp_new_objectid 0"}));
}

}  // namespace
