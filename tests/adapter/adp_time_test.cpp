// Dialect phrases, date texts of both dialects, the day-month-year text,
// the clock's adapter slots and the message list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_text.h"
#include "core/clk_fixture.h"
#include "core/loc/loc_str.h"
#include "platform/dataservice/ds_script.h"

namespace {

using P = KAdpDbOperation::str_type;
using N = KAdpDbOperation::long_type;

class AdpTime : public adp_test {};

TEST_F(AdpTime, PhraseTableOfTheBaseAndTheDialects) {
  KAdpOraOperation ora(nullptr);
  KAdpMssqlOperation ms(nullptr);
  EXPECT_STREQ(ora.GetDbSpecificStr(P(63)), "");
  EXPECT_EQ(ora.GetDbSpecificLong(N(13)), 0);
  EXPECT_EQ(ora.GetDbSpecificLong(N(10)), -1);
  EXPECT_STREQ(ora.GetDbSpecificStr(P(34)), "MM/DD/YYYY HH24:MI:SS");
  EXPECT_STREQ(ora.GetDbSpecificStr(P(35)), "%m/%d/%Y %H:%M:%S");
  EXPECT_STREQ(ms.GetDbSpecificStr(P(34)), "");
  EXPECT_STREQ(ms.GetDbSpecificStr(P(35)), "%Y-%m-%d %H:%M:%S");
  EXPECT_STREQ(ora.GetDbSpecificStr(P(0)),
               "select TO_CHAR(time, 'MM/DD/YYYY HH24:MI:SS'), comments from adp_db_comments");
  EXPECT_STREQ(ms.GetDbSpecificStr(P(0)), "select time, comments from adp_db_comments");
  for (long i : {20L, 21L, 23L, 24L, 26L, 27L, 28L, 29L, 36L, 53L, 54L}) {
    EXPECT_STREQ(ora.GetDbSpecificStr(P(i)), ms.GetDbSpecificStr(P(i))) << i;
    EXPECT_STRNE(ora.GetDbSpecificStr(P(i)), "") << i;
  }
  EXPECT_STREQ(ora.GetDbSpecificStr(P(28)), "UPDATE %s SET dev = dev + 1, ");
  EXPECT_STREQ(ora.GetDbSpecificStr(P(53)), "tta");
  EXPECT_STREQ(ora.GetDbSpecificStr(P(37)), "");
  // Sets: 0..55 and 59; 56..58 and 60..62 are ignored; 37 is copied.
  ora.SetDbSpecificStr(P(56), "role");
  EXPECT_STREQ(ora.GetUsrGroup(0), "orbisan_user");
  ora.SetDbSpecificStr(P(59), "P");
  EXPECT_STREQ(ora.GetDbSpecificStr(P(59)), "P");
  std::string big(400, 'c');
  ora.SetDbSpecificStr(P(37), big.c_str());
  EXPECT_EQ(std::strlen(ora.GetDbSpecificStr(P(37))), 255u);
  ora.SetDbSpecificLong(N(12), 8);
  EXPECT_EQ(ora.GetDbSpecificLong(N(12)), 8);
  ora.SetDbSpecificLong(N(13), 8);
  EXPECT_EQ(ora.GetDbSpecificLong(N(13)), 0);
}

TEST_F(AdpTime, AMessageOfAnotherErrorIsNoUniqueViolation) {
  KAdpOraOperation ora(nullptr);
  char msg[] = "ORA-00060: deadlock detected while waiting for resource";
  long type = 0;
  char* columns = nullptr;
  char* index = nullptr;
  EXPECT_EQ(ora.ObjNotUniqueByMsg(msg, &type, &columns, &index), 0);
  EXPECT_EQ(type, -1);
  EXPECT_STREQ(columns, "unknow column");
  EXPECT_STREQ(index, "");
  EXPECT_STREQ(msg, "ORA-00060: deadlock detected while waiting for resource");
}

TEST_F(AdpTime, DdlFileIsTruncated) {
  {
    FILE* f = std::fopen("sql.ddl", "w");
    std::fputs("old text", f);
    std::fclose(f);
  }
  KAdpOraOperation ora(nullptr);
  FILE* f = nullptr;
  EXPECT_EQ(ora.OpenDdlFile(&f), 0);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(file_text("sql.ddl"), "");
}

TEST_F(AdpTime, ClockTimeToTextBothDialects) {
  KAdpOraOperation ora(nullptr);
  KAdpMssqlOperation ms(nullptr);
  const struct {
    clktime t;
    const char* oracle;
    const char* mssql;
  } rows[] = {
      {{CLK_NULL_DAY, 0}, "1/1/1753 00:00:00", "1753-01-01 00:00:00"},
      {clk_at(2004, 3, 5, 14, 7, 9), "03/05/2004 14:07:09", "2004-03-05 14:07:09"},
      {clk_at(2005, 3, 7), "03/07/2005 00:00:00", "2005-03-07 00:00:00"},
  };
  for (const auto& r : rows) {
    char out[CLK_TEXT_SIZE];
    EXPECT_EQ(ora.AdpTimeClkToStr(&r.t, out), 0);
    EXPECT_STREQ(out, r.oracle);
    EXPECT_EQ(ms.AdpTimeClkToStr(&r.t, out), 0);
    EXPECT_STREQ(out, r.mssql);
  }
}

TEST_F(AdpTime, TextToClockTimeBothDialects) {
  KAdpOraOperation ora(nullptr);
  KAdpMssqlOperation ms(nullptr);
  const clktime base = clk_at(2004, 3, 5, 14, 7, 9);
  const struct {
    const char* text;
    bool oracle_ok;
    long mssql_extra_ticks;  // -1: SQL Server refuses
  } rows[] = {
      {"03/05/2004 14:07:09", true, 0},
      {"2004-03-05 14:07:09", false, 0},
      {"2004-03-05 14:07:09.5", false, 150},
      {"2004-03-05 14:07:09.500000", false, 150},
      {"2004-03-05 14:07:09.000500", false, 0},
      {"2004-03-05 14:07:09.999", false, 299},
      {"2004-03", false, -1},
      {"garbage", false, -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    char text[64];
    std::snprintf(text, sizeof text, "%s", r.text);
    clktime t{1, 1};
    cmn_alrt_clear(nullptr);
    long rc = ms.AdpTimeStrToClk(text, &t);
    EXPECT_STREQ(text, r.text);  // the caller's text is never changed
    if (r.mssql_extra_ticks < 0) {
      EXPECT_EQ(rc, ADP_BAD_DATE_TEXT);
      EXPECT_EQ(core_alert_codes().back(), ADP_BAD_DATE_TEXT);
      EXPECT_EQ(t.day, 1);
    } else {
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(t.day, base.day);
      EXPECT_EQ(t.ticks, base.ticks + r.mssql_extra_ticks);
    }
    t = clktime{1, 1};
    rc = ora.AdpTimeStrToClk(text, &t);
    if (r.oracle_ok) {
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(t.day, base.day);
      EXPECT_EQ(t.ticks, base.ticks);
    } else {
      EXPECT_EQ(rc, ADP_BAD_DATE_TEXT);
    }
  }
  clktime t{1, 1};
  EXPECT_EQ(ms.AdpTimeStrToClk(nullptr, &t), 0);
  EXPECT_EQ(t.day, CLK_NULL_DAY);
  EXPECT_EQ(t.ticks, 0);
  EXPECT_EQ(ora.AdpTimeStrToClk(nullptr, &t), ADP_BAD_DATE_TEXT);
}

// The Oracle reader reads its own form "MM/DD/YYYY HH24:MI:SS" without the
// general clock reader: both must agree on every text, valid or not.
TEST_F(AdpTime, OracleDateTextsReadAsTheClockReaderReadsThem) {
  KAdpOraOperation ora(nullptr);
  auto expect_same = [&](const char* text) {
    SCOPED_TRACE(text);
    clk_ty_cmp cmp{};
    clktime want{1, 1};
    cmn_alrt_clear(nullptr);
    const bool readable = clk_time_clksstr_to_cmp(text, &cmp, 0) == 0;
    const long want_rc = readable ? clk_time_cmp_to_time_adj(0, &cmp, &want) : ADP_BAD_DATE_TEXT;
    const std::vector<long> want_alerts = core_alert_codes();
    cmn_alrt_clear(nullptr);
    clktime got{1, 1};
    char copy[64];
    std::snprintf(copy, sizeof copy, "%s", text);
    EXPECT_EQ(ora.AdpTimeStrToClk(copy, &got), want_rc);
    EXPECT_EQ(got.day, want.day);
    EXPECT_EQ(got.ticks, want.ticks);
    std::vector<long> got_alerts = core_alert_codes();
    if (!readable) got_alerts.pop_back();  // the reader's own refusal
    EXPECT_EQ(got_alerts, want_alerts);
  };
  for (const char* text :
       {"03/05/2004 14:07:09", "02/29/2004 00:00:00", "02/29/1900 12:00:00", "02/29/2000 23:59:59",
        "12/31/4712 23:59:59", "01/01/4713 00:00:00", "01/01/1600 00:00:00", "12/31/1599 23:59:59",
        "01/01/0099 10:10:10", "01/01/0000 10:10:10", "00/10/2004 10:10:10", "13/01/2004 10:10:10",
        "04/31/2004 10:10:10", "04/00/2004 10:10:10", "03/05/2004 24:00:00", "03/05/2004 23:60:00",
        "03/05/2004 23:59:60", " 3/05/2004 14:07:09", "03/05/2004 14:07:09 ", "03/05/2004",
        "03-05-2004 14:07:09", "0a/05/2004 14:07:09", "03/05/20x4 14:07:09", "03/05/2004 14:07:0x",
        "03/05/2004T14:07:09", "03/05/2004 14.07.09", ""})
    expect_same(text);
  // Every fourth day of four centuries from 1754, each at another time of day.
  for (long day = -53000; day < -53000 + 4 * 36525; day += 4) {
    const clktime at{day, (day * 7919 % CLK_TICKS_PER_DAY + CLK_TICKS_PER_DAY) % CLK_TICKS_PER_DAY};
    clk_ty_cmp c{};
    ASSERT_EQ(clk_time_to_cmp_adj(0, &at, &c), 0);
    char text[128];
    std::snprintf(text, sizeof text, "%02ld/%02ld/%04ld %02ld:%02ld:%02ld", c.month + 1, c.day, c.year, c.hour,
                  c.minute, c.second);
    expect_same(text);
    if (HasFailure()) break;
  }
}

TEST_F(AdpTime, ConversionsThroughTheCurrentConnection) {
  cmn_alrt_clear(nullptr);
  char out[CLK_TEXT_SIZE];
  clktime t = clk_at(2004, 1, 5);
  EXPECT_EQ(adp_time_clk_to_str(&t, out), ADP_BAD_CONN);  // no connection
  connect("oledb", false);
  EXPECT_EQ(adp_time_clk_to_str(&t, out), 0);
  EXPECT_STREQ(out, "2004-01-05 00:00:00");
  clktime back{};
  EXPECT_EQ(adp_time_str_to_clk(out, &back), 0);
  EXPECT_EQ(back.day, t.day);
  const struct {
    const char* in;
    const char* out;
  } rows[] = {{"all", "all"}, {"", ""}, {"2004-01-05 00:00:00", " 5-Jan-2004"}, {"2004-12-31", " 31-Dec-2004"}};
  for (const auto& r : rows) {
    EXPECT_EQ(adp_time_sqr_str_convert(r.in, out), 0) << r.in;
    EXPECT_STREQ(out, r.out);
  }
}

TEST_F(AdpTime, TheClockReachesTheAdapterThroughItsSlots) {
  KAdpConnId* con = connect("oracle");
  ds_script::set_server_time(38051.5);  // 5 March 2004 12:00
  clktime t{};
  EXPECT_EQ(adp_time_get(&t), 0);
  EXPECT_EQ(t.day, clk_at(2004, 3, 5).day);
  EXPECT_EQ(t.ticks, 12 * 3600 * 300);
  EXPECT_EQ(clk_time_sstr_to_clk("03/05/2004 12:00:00", &t), 0);
  EXPECT_EQ(t.ticks, 12 * 3600 * 300);
  char out[32];
  EXPECT_EQ(clk_time_sqr_str_convert("03/05/2004 12:00:00", out, sizeof out), 0);
  EXPECT_STREQ(out, " 5-Mar-2004");
  con->GetHeader()->gmt_diff = 7200;
  EXPECT_EQ(clk_seam_get()->db_get_gmt_diff(con), 7200);
  EXPECT_EQ(clk_seam_get()->db_get_conn(), con);
}

TEST_F(AdpTime, MessageListArgumentsAndFlags) {
  const loc_ty_slist* slot = loc_str_slot(ADP_SUBSYS);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->first_id, 2000);
  EXPECT_EQ(slot->last_id, 2131);
  const struct {
    long n, count, flag;
  } rows[] = {{0, 0, 0}, {2, 2, 0}, {9, 3, 0}, {22, 4, 0}, {54, 2, 0}, {89, 5, 0}, {96, 4, 0},
              {97, 1, 1}, {98, 1, 1}, {99, 1, 1}, {100, 0, 0}, {101, 0, 1}, {128, 3, 0}, {131, 0, 0}};
  for (const auto& r : rows) {
    EXPECT_EQ(adp_str_nargs(r.n), r.count) << r.n;
    EXPECT_EQ(adp_str_flag(r.n), r.flag) << r.n;
    EXPECT_EQ(slot->args[2 * r.n], r.count) << r.n;
    EXPECT_EQ(slot->args[2 * r.n + 1], r.flag) << r.n;
  }
  EXPECT_EQ(adp_str_nargs(132), -1);
  // Every text reads no more arguments than its message is given.
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_SERVER, 2, "db alias", "crmsrv"), 0);
  EXPECT_NE(core_alert_texts().back().find("db aliascrmsrv"), std::string::npos);
}

}  // namespace
