// The transactions the Oracle dialect begins for object ids and procedure
// calls end on every path: a commit the server refuses is followed by a
// rollback, and the application level is back at 0.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_proc_values.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

class AdpDbopTrn : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    con_ = connect("oracle");
    adp_db_set_head_read(1);
    adp_db_set_site_id(4);  // no range check
    ds_script::reset();
  }
  void TearDown() override {
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  static long level() {
    long l = -1;
    adp_trn_appl_level(&l);
    return l;
  }
  // The EndTransaction calls made, in order.
  static std::string ends() {
    std::string out;
    for (const std::string& c : ds_script::calls()) {
      if (c.rfind("EndTransaction ", 0) == 0) out += c.substr(15, 1);
    }
    return out;
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpDbopTrn, RefusedCommitOfAnIdRequestIsRolledBack) {
  ds_script::push_result(ds_script::result{{}, {}, 1});                      // UPDATE
  ds_script::push_result(ds_script::result{{"obj_num"}, {{cell::t("8")}}});  // SELECT
  ds_script::fail({"EndTransaction", 1, 0x8B00149, "refused", "commit refused"});
  long type = 3, last = 0, count = 5;
  EXPECT_NE(con_->GetDbOperation()->ObjNumberBatch(1, &type, &last, &count), 0);
  EXPECT_EQ(ends(), "10");
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpDbopTrn, RefusedCommitOfAProcedureCallIsRolledBack) {
  ds_script::fail({"EndTransaction", 1, 0x8B00149, "refused", "commit refused"});
  EXPECT_NE(adp_sql_execute_proc(con_, const_cast<char*>("P"), adp_proc_values::word(0), nullptr,
                                 adp_proc_values::word(0), nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(ends(), "10");
  EXPECT_EQ(level(), 0);
  // A call that succeeds commits once.
  ds_script::reset();
  ASSERT_EQ(adp_sql_execute_proc(con_, const_cast<char*>("P"), adp_proc_values::word(0), nullptr,
                                 adp_proc_values::word(0), nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(ends(), "1");
  EXPECT_EQ(level(), 0);
}

}  // namespace
