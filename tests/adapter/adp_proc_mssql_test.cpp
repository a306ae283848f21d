// SQL Server stored-procedure calls through the scripted service: the exact
// batch text (declarations, inputs in line, outputs, the select), Unicode
// texts, calls without inputs or outputs, the outputs read back by type, and
// an answer with the wrong number of columns.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_proc_values.h"
#include "adapter/adp_time.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_val.h"
#include "core/core_fixture.h"
#include "platform/dataservice/ds_script.h"

namespace {

using namespace adp_proc_values;

constexpr long kOther = 600;
constexpr long kUnicodeFlag = 0x40;

class AdpProcMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    con_ = connect("oledb");
    adp_db_set_flags(0);
    ds_script::reset();
  }
  void TearDown() override {
    adp_db_set_flags(0);
    adp_test::TearDown();
  }
  long call(const char* name, std::vector<cmn_ty_value> in, std::vector<cmn_ty_value>* out, long* lengths = nullptr) {
    return adp_sql_execute_proc(con_, const_cast<char*>(name), word(static_cast<long>(in.size())), in.data(),
                                word(static_cast<long>(out->size())), lengths, out->data(), nullptr);
  }
  // The text of the batch the procedure call ran.
  static std::string proc_text() {
    for (const std::string& c : ds_script::calls()) {
      if (c.rfind("ExecProc ", 0) == 0) return c.substr(9);
    }
    return "<none>";
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpProcMssql, InputsInLineAndOneIntegerOutput) {
  ds_script::set_proc_outputs({{0, "7"}});
  char abc[] = "abc";
  std::vector<cmn_ty_value> out = {{kLong, 0}};
  ASSERT_EQ(call("P", {{kLong, 5}, pointer_value(kText, abc)}, &out), 0) << core_top_alert_text();
  EXPECT_EQ(proc_text(), "declare @o0 int\nexec P  5\n,  'abc'\n, @o0 output  select @o0 2");
  EXPECT_EQ(out[0].value, 7);
}

TEST_F(AdpProcMssql, EveryInputTypeWithQuotesDoubled) {
  clktime day{};
  ASSERT_EQ(adp_time_str_to_clk("2004-03-05 14:07:09", &day), 0);
  char quote[] = "it's";
  std::vector<cmn_ty_value> out;
  ASSERT_EQ(call("P", {{kShort, -3}, float_value(1.5f), pointer_value(kText, quote), pointer_value(kClk, &day),
                       {kOther, 9}},
                 &out),
            0);
  EXPECT_EQ(proc_text(), "exec P  -3\n,  1.500000\n,  'it''s'\n,  '2004-03-05 14:07:09'\n,  9\n 5");
}

TEST_F(AdpProcMssql, UnicodeDatabaseWritesNationalTexts) {
  adp_db_set_flags(kUnicodeFlag);
  ds_script::set_proc_outputs({{0, "x"}, {1, "y"}});
  char abc[] = "abc";
  char a[16] = "", b[16] = "";
  std::vector<cmn_ty_value> out = {pointer_value(kText, a), pointer_value(kText, b)};
  long lengths[] = {0, 10};
  ASSERT_EQ(call("P", {pointer_value(kText, abc)}, &out, lengths), 0);
  EXPECT_EQ(proc_text(),
            "declare @o0 nvarchar(255)\ndeclare @o1 nvarchar(10)\nexec P N'abc'\n, @o0 output , @o1 output  "
            "select @o0, @o1 1");
}

TEST_F(AdpProcMssql, CallsWithoutInputsOrOutputsAreValid) {
  ds_script::set_proc_outputs({{0, "4"}});
  std::vector<cmn_ty_value> out = {{kLong, 0}};
  ASSERT_EQ(call("P", {}, &out), 0);
  EXPECT_EQ(proc_text(), "declare @o0 int\nexec P @o0 output  select @o0 0");
  ds_script::reset();
  std::vector<cmn_ty_value> none;
  ASSERT_EQ(call("P", {}, &none), 0);
  EXPECT_EQ(proc_text(), "exec P  0");
}

TEST_F(AdpProcMssql, OutputsReadBackByType) {
  ds_script::set_proc_outputs({{0, "12"}, {1, "2.5"}, {2, "2004-03-06 14:07:09"}, {3, "hello world"}, {4, "ok"}});
  clktime when{};
  char capped[16];
  std::memset(capped, 'Z', sizeof capped);
  std::vector<cmn_ty_value> out = {{kShort, 0}, {kFloat, 0}, pointer_value(kClk, &when),
                                   pointer_value(kText, capped), {kText, 0}};
  long lengths[] = {0, 0, 0, 5, 0};
  ASSERT_EQ(call("P", {}, &out, lengths), 0) << core_top_alert_text();
  EXPECT_EQ(out[0].value, 12);
  EXPECT_FLOAT_EQ(float_of(out[1]), 2.5f);
  char text[CLK_TEXT_SIZE] = "";
  ASSERT_EQ(adp_time_clk_to_str(&when, text), 0);
  EXPECT_STREQ(text, "2004-03-06 14:07:09");
  EXPECT_STREQ(capped, "hello");
  EXPECT_EQ(capped[6], 'Z');
  ASSERT_NE(out[4].value, 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(out[4].value), "ok");
}

TEST_F(AdpProcMssql, AnAnswerWithOtherColumnsIsRefused) {
  ds_script::set_proc_outputs({{0, "1"}});
  std::vector<cmn_ty_value> out = {{kLong, 0}, {kLong, 0}};
  EXPECT_EQ(call("P_two", {}, &out), ADP_PROC_COLUMNS);
  EXPECT_EQ(core_top_alert_code(), ADP_PROC_COLUMNS);
  const std::string alert = core_top_alert_text();
  EXPECT_NE(alert.find("P_two has 2 outputs but returned 1 columns"), std::string::npos) << alert;
}

}  // namespace
