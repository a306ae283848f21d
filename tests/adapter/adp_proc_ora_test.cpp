// Oracle stored-procedure calls on the MariaDB server, through
// adp_sql_execute_proc: procedures made by the test with inputs and outputs
// of each type, none at all, a long text capped by its output length, the
// bind switch put back, and a failing procedure rolled back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "adapter/adp_cfg.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_proc_values.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_trn.h"
#include "adapter/adp_time.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_val.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"

namespace {

constexpr auto kBindSwitch = static_cast<KAdpConfig::bool_type>(9);
using namespace adp_proc_values;

class AdpProcOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(db_.run(
        "create table proc_log(what varchar2(40));\n/\n"
        "CREATE OR REPLACE PROCEDURE p_all(n IN INT, s IN VARCHAR2, d IN DATE, f IN FLOAT, o_long OUT INT,\n"
        "  o_short OUT INT, o_float OUT FLOAT, o_text OUT VARCHAR2, o_date OUT DATE) AS\n"
        "BEGIN\n  o_long := n * 2;\n  o_short := n + 1;\n  o_float := f * 2;\n  o_text := s || '!';\n"
        "  o_date := d + INTERVAL 1 DAY;\nEND;\n/\n"
        "CREATE OR REPLACE PROCEDURE p_none AS\nBEGIN\n  INSERT INTO proc_log VALUES('none');\nEND;\n/\n"
        "CREATE OR REPLACE PROCEDURE p_forty(o OUT VARCHAR2) AS\nBEGIN\n"
        "  o := '0123456789abcdefghijklmnopqrstuvwxyz;:-+';\nEND;\n/\n"
        "CREATE OR REPLACE PROCEDURE p_fail(n IN INT) AS\nBEGIN\n  INSERT INTO proc_log VALUES('fail');\n"
        "  raise_application_error(-20001, 'refused');\nEND;\n/\n"));
  }
  long call(const char* name, long n_in, cmn_ty_value* in, long n_out, long* lengths, cmn_ty_value* out) {
    return adp_sql_execute_proc(con_, const_cast<char*>(name), word(n_in), in, word(n_out), lengths, out, nullptr);
  }
  static long level() {
    long l = -1;
    adp_trn_appl_level(&l);
    return l;
  }
};

TEST_F(AdpProcOra, InputsAndOutputsOfEachType) {
  clktime day{};
  ASSERT_EQ(adp_time_str_to_clk("03/05/2004 14:07:09", &day), 0);
  char text_in[] = "it's";
  cmn_ty_value in[] = {{kLong, 21}, pointer_value(kText, text_in), pointer_value(kClk, &day), float_value(1.25f)};
  char text_out[32] = "";
  clktime date_out{};
  cmn_ty_value out[] = {{kLong, 0}, {kShort, 0}, {kFloat, 0}, pointer_value(kText, text_out),
                        pointer_value(kClk, &date_out)};
  con_->GetConfig().SetPropertyBool(kBindSwitch, 0);
  ASSERT_EQ(call("p_all", 4, in, 5, nullptr, out), 0) << core_top_alert_text();
  EXPECT_EQ(out[0].value, 42);
  EXPECT_EQ(out[1].value, 22);
  EXPECT_FLOAT_EQ(float_of(out[2]), 2.5f);
  EXPECT_STREQ(text_out, "it's!");
  char when[CLK_TEXT_SIZE] = "";
  ASSERT_EQ(adp_time_clk_to_str(&date_out, when), 0);
  EXPECT_STREQ(when, "03/06/2004 14:07:09");
  // The bind switch is back as it was, off or on; the transaction is ended.
  EXPECT_EQ(con_->GetConfig().GetPropertyBool(kBindSwitch), 0);
  con_->GetConfig().SetPropertyBool(kBindSwitch, 1);
  ASSERT_EQ(call("p_all", 4, in, 5, nullptr, out), 0);
  EXPECT_EQ(con_->GetConfig().GetPropertyBool(kBindSwitch), 1);
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpProcOra, NoValuesAtAll) {
  ASSERT_EQ(call("p_none", 0, nullptr, 0, nullptr, nullptr), 0) << core_top_alert_text();
  EXPECT_EQ(value("select what from proc_log"), "none");
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpProcOra, LongTextIsCappedByItsLengthOrGetsANewBuffer) {
  char ten[16];
  std::memset(ten, 'Z', sizeof ten);
  long lengths[] = {10};
  cmn_ty_value out[] = {pointer_value(kText, ten)};
  ASSERT_EQ(call("p_forty", 0, nullptr, 1, lengths, out), 0) << core_top_alert_text();
  EXPECT_STREQ(ten, "0123456789");
  EXPECT_EQ(ten[11], 'Z');  // nothing written past the cap and its end
  // No buffer: a new one of the caller's, with the whole text.
  cmn_ty_value fresh[] = {{kText, 0}};
  ASSERT_EQ(call("p_forty", 0, nullptr, 1, nullptr, fresh), 0);
  char* made = reinterpret_cast<char*>(fresh[0].value);
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made, "0123456789abcdefghijklmnopqrstuvwxyz;:-+");
  osl_mem_free("test", made);
}

TEST_F(AdpProcOra, AFailingProcedureIsRolledBack) {
  cmn_ty_value in[] = {{kLong, 1}};
  EXPECT_NE(call("p_fail", 1, in, 0, nullptr, nullptr), 0);
  EXPECT_EQ(level(), 0);
  EXPECT_EQ(value("select count(*) from proc_log"), "0");
  // The connection works on.
  ASSERT_EQ(call("p_none", 0, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(value("select count(*) from proc_log"), "1");
}

}  // namespace
