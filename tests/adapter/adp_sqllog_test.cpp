// The SQL log: the stream, the "-sqlout" echo and the debugger route.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_sql_log.h"
#include "core/osl/osl_sys_cfg.h"

namespace {

std::vector<std::pair<std::string, long>>& received() {
  static std::vector<std::pair<std::string, long>> lines;
  return lines;
}

void callback(const char* text, long flag) { received().emplace_back(text, flag); }

class AdpSqlLog : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    received().clear();
    osl_sys_set_cmd_args(0, nullptr);
  }
  void TearDown() override {
    osl_sys_set_cmd_args(0, nullptr);
    if (log_ != nullptr) std::fclose(log_);
    adp_test::TearDown();
  }
  FILE* log_ = nullptr;
};

TEST_F(AdpSqlLog, LinesGoToTheStreamAndTheCallback) {
  log_ = std::fopen("sql.log", "w");
  ASSERT_EQ(adp_sql_log_sql(log_), 0);
  adp_sql_install_debugger_log_cb(callback);
  testing::internal::CaptureStdout();
  EXPECT_EQ(adp_sql_print_out(nullptr, "select 1"), 0);
  EXPECT_EQ(adp_sql_alt_print_out(5, "select 2"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(file_text("sql.log"), "select 1\nselect 2\n");
  EXPECT_EQ(received(), (std::vector<std::pair<std::string, long>>{{"select 1", 1}, {"select 2", 0}}));
  FILE* got = nullptr;
  adp_sql_get_log(&got);
  EXPECT_EQ(got, log_);
}

TEST_F(AdpSqlLog, SqloutEchoesToStandardOutput) {
  char prog[] = "agent";
  char sw[] = "-sqlout";
  char* argv[] = {prog, sw, nullptr};
  osl_sys_set_cmd_args(2, argv);
  log_ = std::fopen("sql.log", "w");
  adp_sql_log_sql(log_);
  testing::internal::CaptureStdout();
  adp_sql_print_out(nullptr, "update t");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "update t\n");
  EXPECT_EQ(file_text("sql.log"), "update t\n");
  // The echo stays on without a file log.
  adp_sql_log_sql(nullptr);
  testing::internal::CaptureStdout();
  adp_sql_print_out(nullptr, "delete t");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "delete t\n");
  // The alternative line needs a log.
  EXPECT_EQ(adp_sql_alt_print_out(7, "x"), 7);
}

TEST_F(AdpSqlLog, DebuggerNameRoutesLinesToTheCallbackOnly) {
  adp_sql_install_debugger_log_cb(callback);
  ASSERT_EQ(adp_sql_log_file("TempFile1234L"), 0);
  adp_sql_get_log(&log_);
  adp_sql_print_out(nullptr, "select 3");
  EXPECT_EQ(adp_sql_alt_print_out(9, "select 4"), 9);
  EXPECT_EQ(file_text("TempFile1234L"), "");
  EXPECT_EQ(received(), (std::vector<std::pair<std::string, long>>{{"select 3", 1}, {"select 4", 0}}));
  EXPECT_EQ(adp_sql_log_file("no/such/dir/x.log"), 1);
}

}  // namespace
