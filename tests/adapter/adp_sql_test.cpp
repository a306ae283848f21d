// The statement interface through the scripted service: formatting limits,
// escaping, preparing and executing, rows, selects into collections, the
// fault injection, printing and the connection check.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

class AdpSql : public adp_test {
 protected:
  void TearDown() override {
    adp_db_disable_fail_mode();
    adp_db_test_fired();
    adp_test::TearDown();
  }
  static std::vector<std::string> ran() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls()) {
      if (c.rfind("FetchNextSet ", 0) == 0) out.push_back(c.substr(13));
      if (c.rfind("ExecStatement ", 0) == 0) out.push_back(c.substr(14));
    }
    return out;
  }
};

TEST_F(AdpSql, FormattedTextUpToTheBufferSize) {
  KAdpConnId* con = connect("oledb");
  std::string fits(ADP_SQL_BUF_SIZE, 'a');
  ASSERT_EQ(adp_sql_dbfcmd(con, "%s", fits.c_str()), 0);
  EXPECT_EQ(std::strlen(con->GetSqlBatch(0)->GetCurrentStmt()), static_cast<size_t>(ADP_SQL_BUF_SIZE));
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sql_dbfcmd(con, "%sb", fits.c_str()), ADP_SQL_TOO_LONG);
  EXPECT_TRUE(core_alert_codes().empty());
  EXPECT_EQ(adp_sql_flsprintf(con, 0, "select %d", 7), 0);
  EXPECT_STREQ(con->GetSqlBatch(0)->GetCurrentStmt(), "select 7");
  EXPECT_EQ(adp_sql_dbfcmd(nullptr, "x"), ADP_BAD_CONN);
}

TEST_F(AdpSql, EscapingAndSmallTextHelpers) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {{"a'b'c", "a''b''c"}, {"", ""}, {nullptr, ""}, {"''", "''''"}, {"plain", "plain"}};
  for (const auto& c : cases) {
    char* out = nullptr;
    ASSERT_EQ(adp_sql_escape_str(c.in, &out), 0);
    EXPECT_STREQ(out, c.out);
  }
  KAdpConnId* con = connect("oledb");
  void* stmt = nullptr;
  ASSERT_EQ(adp_sql_create(con, &stmt), 0);
  ASSERT_EQ(adp_sql_get_sqlvar_batch(con, stmt, -5), 0);
  ASSERT_EQ(adp_sql_sprintf(con, stmt, "x%ldy", 3L), 0);
  EXPECT_STREQ(static_cast<KAdpSqlBatch*>(stmt)->GetCurrentStmt(), "select @v5\nx3y");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sql_check(con, nullptr), ADP_SQL_NULL_POINTER);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_SQL_NULL_POINTER}));
  EXPECT_EQ(adp_sql_check(con, stmt), 0);
  long sql_type = -1;
  for (auto [type, want] : std::vector<std::pair<long, long>>{{512, 0}, {514, 3}, {516, 6}, {766, 6}}) {
    EXPECT_EQ(adp_sql_define_type_mapping(type, &sql_type), 0);
    EXPECT_EQ(sql_type, want);
  }
  EXPECT_EQ(adp_sql_define_type_mapping(609, &sql_type), ADP_SQL_BAD_COL_TYPE);
}

TEST_F(AdpSql, PreparedStatementsRunOnlyWhenExecuted) {
  KAdpConnId* con = connect("oracle");
  void* stmt = nullptr;
  ASSERT_EQ(adp_sql_create(con, &stmt), 0);
  ASSERT_EQ(adp_sql_append(con, stmt, "update t set a = 1"), 0);
  ASSERT_EQ(adp_sql_parse(con, stmt), 0);
  ASSERT_EQ(adp_sql_parse_ddl(con, stmt), 0);
  EXPECT_TRUE(ran().empty());
  ASSERT_EQ(adp_sql_execute(con, stmt), 0);
  EXPECT_EQ(ran(), (std::vector<std::string>{"update t set a = 1"}));
  // Without the prepared flag the DDL path runs it at once.
  ASSERT_EQ(adp_sql_parse_ddl_now(con, "drop table %s", "t"), 0);
  EXPECT_EQ(ran().back(), "drop table t");
  ASSERT_EQ(adp_sql_parse_now(con, "select %d", 1), 0);
  EXPECT_EQ(ran().size(), 2u);
}

TEST_F(AdpSql, BothTheOptionBitAndTheFlagSkipExecution) {
  KAdpConnId* con = connect("oracle");
  struct {
    long option, flag;
    bool runs;
  } cases[] = {{0, 0, true}, {1, 0, true}, {0, 1, true}, {1, 1, false}, {3, 1, false}};
  for (const auto& c : cases) {
    ds_script::reset();
    ASSERT_EQ(adp_sql_exec_opt_now(con, c.option, c.flag, "delete from t where a = %ld", c.option), 0);
    EXPECT_EQ(ran().size(), c.runs ? 1u : 0u) << c.option << "," << c.flag;
    ds_script::reset();
    ASSERT_EQ(adp_sql_parse_ddl_opt_now(con, c.option, c.flag, "drop table t%ld", c.flag), 0);
    EXPECT_EQ(ran().size(), c.runs ? 1u : 0u) << c.option << "," << c.flag;
  }
}

TEST_F(AdpSql, JoinedTextRunsAsItStands) {
  KAdpConnId* con = connect("oracle");
  ASSERT_EQ(adp_sql_10exec_query(con, "select '100%s' from t ", "where a like '%d'"), 0);
  EXPECT_EQ(ran(), (std::vector<std::string>{"select '100%s' from t where a like '%d'"}));
}

TEST_F(AdpSql, RowsThroughNextrowAndRowcount) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"objid"}, {{cell::l(4)}, {cell::l(6)}}});
  long id = 0;
  const adp_sql_col_type cols[] = {{512, 0, &id}, {-1, 0, nullptr}};
  ASSERT_EQ(adp_sql_exec_bind(con, cols, "select objid from t where a = %d", 1), 0);
  std::vector<long> got;
  for (;;) {
    char found = 0;
    ASSERT_EQ(adp_sql_nextrow(con, nullptr, &found), 0);
    if (found == 0) break;
    got.push_back(id);
  }
  EXPECT_EQ(got, (std::vector<long>{4, 6}));
  long count = 0;
  ASSERT_EQ(adp_sql_rowcount(con, &count), 0);
  EXPECT_EQ(count, 2);
}

TEST_F(AdpSql, AFailedRowIsReportedByNextrow) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"name"}, {{cell::t("too long for four")}}});
  void* stmt = nullptr;
  ASSERT_EQ(adp_sql_create(con, &stmt), 0);
  char name[4] = "";
  ASSERT_EQ(adp_sql_append(con, stmt, "select name from t"), 0);
  ASSERT_EQ(adp_sql_define(con, KAdpBindCol(name, sizeof name)), 0);
  ASSERT_EQ(adp_sql_execute(con, stmt), 0);
  char found = 1;
  EXPECT_EQ(adp_sql_nextrow(con, stmt, &found), ADP_REC_NO_FIT);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(adp_sql_nextrow(con, stmt, &found), 0);
  EXPECT_EQ(found, 0);
}

TEST_F(AdpSql, ExecAndFetchTellsWhetherARowCame) {
  KAdpConnId* con = connect("oledb");
  ds_script::push_result({{"x"}, {{cell::t("1")}}});
  char found = 0;
  ASSERT_EQ(adp_sql_exec_and_fetch_now(con, &found, "select 1 from t where a = %d", 2), 0);
  EXPECT_EQ(found, 1);
  ds_script::push_result({{"x"}, {}});
  ASSERT_EQ(adp_sql_exec_and_fetch_now(con, &found, "select 1 from t where a = %d", 3), 0);
  EXPECT_EQ(found, 0);
}

TEST_F(AdpSql, SelectFillsOneCollectionPerColumn) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"n", "s", "d", "f"},
                          {{cell::l(1), cell::t("one"), cell::t("1.50"), cell::t("0.5")},
                           {cell::l(2), cell::t("two"), cell::t("2.25"), cell::t("1.25")}}});
  utl_ty_col* out = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 517, 4, 4, 0, 0, &out), 0);
  const long types[] = {512, 516, 766, 514};
  const long sizes[] = {4, 16, 0, 4};
  ASSERT_EQ(adp_sql_select(con, "select n, s, d, f from t", 4, types, sizes, out), 0);
  long ncols = 0;
  utl_col_num(out, &ncols);
  ASSERT_EQ(ncols, 4);
  utl_ty_col* cols[4] = {};
  for (long i = 0; i < 4; ++i) {
    void* e = nullptr;
    ASSERT_EQ(utl_col_ith(out, i, &e), 0);
    cols[i] = *static_cast<utl_ty_col**>(e);
    long n = 0;
    utl_col_num(cols[i], &n);
    EXPECT_EQ(n, 2) << i;
  }
  void* e = nullptr;
  utl_col_ith(cols[0], 1, &e);
  EXPECT_EQ(*static_cast<long*>(e), 2);
  utl_col_ith(cols[1], 0, &e);
  EXPECT_STREQ(static_cast<char*>(e), "one");
  utl_col_ith(cols[2], 1, &e);
  EXPECT_STREQ(static_cast<char*>(e), "2.25");
  utl_col_ith(cols[3], 1, &e);
  EXPECT_EQ(*static_cast<float*>(e), 1.25f);
  for (utl_ty_col* c : cols) utl_col_free(nullptr, c);
  utl_col_free(nullptr, out);
}

TEST_F(AdpSql, SelectKeepsWholeTextsOfEveryLength) {
  // Texts and decimals longer than a pointer come back whole, in a text
  // collection made with or without its own string pool. A text collection
  // copies its texts by the type's length procedure, which the session's
  // start installs (without it, type 516 is a bare pointer slot).
  ASSERT_EQ(cmn_meth_install_all(), 0);
  const std::string texts[] = {"a", "seven77", "eight888", "nine99999", std::string(200, 'y') + "end"};
  std::vector<std::vector<cell>> rows;
  for (const auto& t : texts) rows.push_back({cell::t(t), cell::t("12345678.25")});
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"s", "d"}, rows});
  utl_ty_col* out = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 517, 2, 2, 0, 0, &out), 0);
  const long types[] = {516, 766};
  const long sizes[] = {255, 0};
  ASSERT_EQ(adp_sql_select(con, "select s, d from t", 2, types, sizes, out), 0);
  utl_ty_col* cols[2] = {};
  for (long i = 0; i < 2; ++i) {
    void* e = nullptr;
    ASSERT_EQ(utl_col_ith(out, i, &e), 0);
    cols[i] = *static_cast<utl_ty_col**>(e);
  }
  utl_ty_col* pooled = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 516, 2, 2, 0, UTL_COL_OPT_POOL, &pooled), 0);
  for (const auto& t : texts) ASSERT_EQ(utl_col_push(pooled, t.c_str(), nullptr), 0);
  for (long r = 0; r < static_cast<long>(std::size(texts)); ++r) {
    void* e = nullptr;
    ASSERT_EQ(utl_col_ith(cols[0], r, &e), 0);
    EXPECT_STREQ(static_cast<char*>(e), texts[r].c_str());
    ASSERT_EQ(utl_col_ith(cols[1], r, &e), 0);
    EXPECT_STREQ(static_cast<char*>(e), "12345678.25");
    ASSERT_EQ(utl_col_ith(pooled, r, &e), 0);
    EXPECT_STREQ(static_cast<char*>(e), texts[r].c_str());
  }
  for (utl_ty_col* c : {cols[0], cols[1], pooled, out}) utl_col_free(nullptr, c);
}

TEST_F(AdpSql, FaultInjectionFailsEverLaterExecutions) {
  KAdpConnId* con = connect("oracle");
  ASSERT_EQ(adp_db_reset_fail_num(), 0);
  std::vector<long> results, fired;
  for (int i = 0; i < 7; ++i) {
    results.push_back(adp_sql_exec_query(con, "update t set a = %d", i));
    fired.push_back(adp_db_test_fired());
  }
  EXPECT_EQ(results, (std::vector<long>{1, 0, 1, 0, 0, 1, 0}));
  EXPECT_EQ(fired, results);
  EXPECT_EQ(ran().size(), 7u);  // every statement ran
  ASSERT_EQ(adp_db_disable_fail_mode(), 0);
  EXPECT_EQ(adp_sql_exec_query(con, "update t set a = 9"), 0);
  EXPECT_EQ(adp_db_test_fired(), 0);
}

TEST_F(AdpSql, PingNeedsAHeaderRow) {
  KAdpConnId* con = connect("oracle");
  ds_script::push_result({{"site_id"}, {}});
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sql_ping(con, nullptr), ADP_SQL_NO_HEADER);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_SQL_NO_HEADER}));
  ds_script::push_result({{"site_id"}, {{cell::l(1)}}});
  EXPECT_EQ(adp_sql_ping(con, nullptr), 0);
  EXPECT_EQ(ds_script::calls().back(), "ExecQuery select site_id from adp_db_header");
  ds_script::fail({"ExecQuery", 3, 0x8B0014F, "lost", "ping"});
  EXPECT_NE(adp_sql_ping(con, nullptr), 0);
}

std::vector<std::pair<std::string, long>>& debugger_lines() {
  static std::vector<std::pair<std::string, long>> lines;
  return lines;
}

TEST_F(AdpSql, PrintGoesToTheDebuggerAndTheStream) {
  debugger_lines().clear();
  adp_sql_install_debugger_log_cb([](const char* text, long flag) { debugger_lines().emplace_back(text, flag); });
  KAdpConnId* con = connect("oracle");
  void* stmt = nullptr;
  ASSERT_EQ(adp_sql_create(con, &stmt), 0);
  *static_cast<KAdpSqlBatch*>(stmt) << "select 1" << KAdpSqlBatch::kEndStmt << "select 2";
  FILE* f = std::tmpfile();
  ASSERT_EQ(adp_sql_print(con, stmt, f), 0);
  std::rewind(f);
  char buf[64] = "";
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buf, n), "select 1\nselect 2\n");
  ASSERT_EQ(debugger_lines().size(), 1u);
  EXPECT_EQ(debugger_lines()[0], (std::pair<std::string, long>{"select 2", 0}));
  adp_sql_install_debugger_log_cb(nullptr);
}

TEST_F(AdpSql, QueuedStatementRecordAndTheSqlServerBatch) {
  KAdpConnId* con = connect("oledb");
  void* rec = nullptr;
  ASSERT_EQ(adp_sql_batch_create(con, &rec), 0);
  char more = 1;
  ASSERT_EQ(adp_sql_get_result(con, rec, &more), 0);
  EXPECT_EQ(more, 0);
  void* p = &more;
  utl_col_insert(static_cast<adp_ty_sql_id*>(rec)->col, &p, nullptr);
  ASSERT_EQ(adp_sql_get_result(con, rec, &more), 0);
  EXPECT_EQ(more, 1);
  ASSERT_EQ(adp_sql_batch_free(con, rec), 0);
  EXPECT_EQ(static_cast<adp_ty_sql_id*>(rec)->col, nullptr);

  auto* ms = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation());
  ASSERT_NE(ms, nullptr);
  ms->GetBatchTypes().Add(10);
  ASSERT_EQ(adp_sql_batch_start(con), 0);
  EXPECT_EQ(ms->GetBatch(), con->GetSqlBatch(0));
  EXPECT_EQ(ms->GetBatchTypes().GetSize(), 0);
  *ms->GetBatch() << "select 1";
  ms->GetBatchIdCols().Add(nullptr);
  ASSERT_EQ(ms->BatchTerminate(), 0);
  EXPECT_EQ(ms->GetBatch(), nullptr);
  EXPECT_EQ(ms->GetBatchIdCols().GetSize(), 0);
  EXPECT_EQ(con->GetSqlBatch(0)->GetStmtCount(), 0);
  // A failing open passes its status on.
  KAdpMssqlOperation loose(nullptr);
  EXPECT_EQ(loose.BatchInitialize(nullptr), ADP_BAD_CONN);
  EXPECT_EQ(loose.GetBatch(), nullptr);
}

TEST_F(AdpSql, StubsAndCounters) {
  KAdpConnId* con = connect("oracle");
  for (long st : {adp_sql_free(con, nullptr), adp_sql_cancel(con), adp_sql_cancel_all(con, 1), adp_sql_result(),
                  adp_sql_result_batch(con), adp_sql_set_client_charset(),
                  adp_sql_get_default_charset(con, nullptr), adp_sql_get_perf_flag(con), adp_sql_dbstrlen(con),
                  adp_sql_multi_select(con), adp_sql_dont_execute(con)}) {
    EXPECT_EQ(st, 0);
  }
  EXPECT_EQ(adp_sql_set_num_execs(12), 0);
  EXPECT_EQ(adp_sql_get_num_execs(), 12);
  adp_ty_sql_id id{};
  ASSERT_EQ(adp_sql_id_init(&id), 0);
  EXPECT_EQ(id.state, 2);
  ASSERT_EQ(utl_col_make(nullptr, 512, 2, 2, 0, 0, &id.col), 0);
  id.state = 0;
  ASSERT_EQ(adp_sql_id_clean(&id), 0);
  EXPECT_EQ(id.col, nullptr);
  EXPECT_EQ(id.state, 2);
  EXPECT_EQ(adp_sql_id_clean(nullptr), 0);
}

}  // namespace
