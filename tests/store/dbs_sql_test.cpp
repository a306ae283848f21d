// SQL pass-through: the forwarders, the calls with behaviour of their own and
// the two private message stacks.
#include <functional>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_estr.h"
#include "store/dbs_msg.h"
#include "store/dbs_sql.h"
#include "store_fixture.h"

namespace {

KAdpConnId* fake_con() { return reinterpret_cast<KAdpConnId*>(0x40); }
void* p(long v) { return reinterpret_cast<void*>(v); }
std::string s(long v) { return std::to_string(v); }

std::vector<std::string> names_of_calls() {
  std::vector<std::string> out;
  for (const auto& c : adp_double::calls()) out.push_back(c.name);
  return out;
}

std::string config(const char* key) {
  char* v = nullptr;
  osl_sys_get_config_string(key, &v);
  return v ? v : "";
}

void log_cb(const char*, long) {}

}  // namespace

TEST_F(store_test, SqlForwardersPassArgumentsAndResultUnchanged) {
  struct row {
    const char* adapter_call;
    std::function<long()> run;
    std::vector<std::string> args;
  };
  KAdpConnId* c = fake_con();
  std::string cs = s(0x40);
  utl_ty_col** out = reinterpret_cast<utl_ty_col**>(p(0x90));
  utl_ty_col* columns = reinterpret_cast<utl_ty_col*>(p(0x90));
  auto* results = reinterpret_cast<utl_ty_col*>(p(0x50));
  long count = 7;
  char more = 7;
  void* batch = nullptr;
  const long types[] = {1};
  const long sizes[] = {2};
  std::vector<row> rows = {
      {"adp_sql_ping", [&] { return dbs_sql_ping(c, p(0x60)); }, {cs, s(0x60)}},
      {"adp_sql_rowcount", [&] { return dbs_sql_rowcount(c, &count); }, {cs}},
      {"adp_sql_exec_query", [&] { return dbs_sql_exec_command(c, "delete from t where id = %ld", 12L); },
       {cs, "delete from t where id = 12"}},
      {"adp_sql_cancel_all", [&] { return dbs_sql_cancel_all(c); }, {cs}},
      {"adp_qry_related_objs_sql",
       [&] { return dbs_sql_qry_related_objs(c, results, p(0x70), 33, p(0x80), 2, p(0x88), 1, 9); },
       {cs, s(0x50), s(0x70), "33", s(0x80), "2", s(0x88), "1", "9"}},
      {"adp_qry_related_objs_sql",
       [&] { return dbs_sql_qry_relation(c, results, p(0x70), 33, p(0x80), 2, p(0x88), 1); },
       {cs, s(0x50), s(0x70), "33", s(0x80), "2", s(0x88), "1", "0"}},
      {"adp_qry_simple_sql", [&] { return dbs_sql_qry_simple(c, results, p(0x70), 1, p(0x88), 4); },
       {cs, s(0x50), s(0x70), "1", s(0x88), "4"}},
      {"adp_qry_simple_sql_batch", [&] { return dbs_sql_qry_simple_batch(c, results, p(0x70), 0, nullptr, 5); },
       {cs, s(0x50), s(0x70), "0", "0", "5"}},
      {"adp_obj_get_sql_batch", [&] { return dbs_sql_obj_get_batch(c, results, 17, 4, 2); },
       {cs, s(0x50), "17", "4", "2"}},
      {"adp_sql_get_sqlvar_batch", [&] { return dbs_sql_get_sqlvar_batch(c, p(0x60), -3); }, {cs, s(0x60), "-3"}},
      {"adp_sql_execute_batch", [&] { return dbs_sql_execute_batch(c, out); }, {cs, s(0x90)}},
      {"adp_sql_result_batch", [&] { return dbs_sql_result_batch(c); }, {cs}},
      {"adp_sql_get_result", [&] { return dbs_sql_get_result(c, p(0x60), &more); }, {cs, s(0x60)}},
      {"adp_sql_batch_create", [&] { return dbs_sql_batch_create(c, &batch); },
       {cs, s(reinterpret_cast<long>(&batch))}},
      {"adp_sql_batch_start", [&] { return dbs_sql_batch_start(c); }, {cs}},
      {"adp_sql_batch_free", [&] { return dbs_sql_batch_free(c, p(0x60)); }, {cs, s(0x60)}},
      {"adp_sql_execute_proc",
       [&] { return dbs_sql_execute_proc(c, p(1), p(2), p(3), p(4), p(5), p(6), p(7)); },
       {cs, "1", "2", "3", "4", "5", "6", "7"}},
      {"adp_sql_log_file", [&] { return dbs_sql_log_file("sql.log"); }, {"sql.log"}},
      {"adp_sql_install_debugger_log_cb", [&] { return dbs_sql_install_log_callback(log_cb); }, {"set"}},
      {"adp_sql_select", [&] { return dbs_sql_select(c, "select 1", 1, types, sizes, columns); },
       {cs, "select 1", "1", s(reinterpret_cast<long>(types)), s(reinterpret_cast<long>(sizes)), s(0x90)}},
      {"adp_sql_dbstrlen", [&] { return dbs_sql_dbstrlen(c); }, {cs}},
      {"adp_sql_multi_select", [&] { return dbs_sql_multi_select(c); }, {cs}},
      {"adp_sql_print_out", [&] { return dbs_sql_print_out(c, "a line\n"); }, {}},
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::script(r.adapter_call, {0x600077});
    EXPECT_EQ(r.run(), 0x600077) << r.adapter_call;
    ASSERT_EQ(names_of_calls(), std::vector<std::string>{r.adapter_call});
    if (!r.args.empty()) {
      EXPECT_EQ(adp_double::calls()[0].args, r.args) << r.adapter_call;
    }
    EXPECT_EQ(r.run(), 0) << r.adapter_call;  // the script is used up: success passes through too
  }
  // The two calls without result forward too.
  adp_double::reset();
  dbs_sql_set_alt_format(c);
  dbs_sql_mark_cmd_end(c);
  EXPECT_EQ(names_of_calls(), (std::vector<std::string>{"adp_sql_set_alt_format", "adp_sql_mark_cmd_end"}));
}

TEST_F(store_test, SqlCommandTextIsNotFormattedTwice) {
  ASSERT_EQ(dbs_sql_exec_command(fake_con(), "update t set a = '%s'", "50%d off"), 0);
  auto calls = adp_double::calls_of("adp_sql_exec_query");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[1], "update t set a = '50%d off'");
}

TEST_F(store_test, SqlPingByAppUsesAStatementOfItsOwn) {
  ASSERT_EQ(dbs_sql_ping_by_app(fake_con()), 0);
  EXPECT_EQ(names_of_calls(), (std::vector<std::string>{"adp_sql_create", "adp_sql_ping", "adp_sql_free"}));
  // A failed ping is returned and the statement is still freed.
  adp_double::reset();
  adp_double::script("adp_sql_ping", {0x600020});
  EXPECT_EQ(dbs_sql_ping_by_app(fake_con()), 0x600020);
  EXPECT_EQ(names_of_calls(), (std::vector<std::string>{"adp_sql_create", "adp_sql_ping", "adp_sql_free"}));
  // Without a statement nothing is pinged.
  adp_double::reset();
  adp_double::script("adp_sql_create", {0x600052});
  EXPECT_EQ(dbs_sql_ping_by_app(fake_con()), 0x600052);
  EXPECT_EQ(names_of_calls(), std::vector<std::string>{"adp_sql_create"});
}

TEST_F(store_test, SqlExecuteSqlTellsWhetherARowCame) {
  struct row {
    long exec_status;
    char row_there;
    long status;
    char found;
    size_t fetches;
  } rows[] = {
      {0, 1, 0, 1, 1},
      {0, 0, 0, 0, 1},
      {0x600004, 1, 0x600004, 0, 0},  // a failed command reports its failure and no row
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::script("adp_sql_exec_query", {r.exec_status});
    char there = r.row_there;
    adp_double::hook("adp_sql_nextrow", [there](const std::vector<void*>& a) {
      *static_cast<char*>(a[2]) = there;
      return 0L;
    });
    char found = 9;
    EXPECT_EQ(dbs_sql_execute_sql(fake_con(), "select 1 from t", &found), r.status);
    EXPECT_EQ(found, r.found);
    EXPECT_EQ(adp_double::calls_of("adp_sql_nextrow").size(), r.fetches);
    auto exec = adp_double::calls_of("adp_sql_exec_query");
    ASSERT_EQ(exec.size(), 1u);
    EXPECT_EQ(exec[0].args[1], "select 1 from t");
  }
}

TEST_F(store_test, SqlDefaultCharsetOnlyOnTheSqlServerFamily) {
  adp_double::script("adp_sql_get_default_charset", {5, 5});
  adp_store::st().server_type = 2;
  EXPECT_EQ(dbs_sql_get_default_charset(), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_sql_get_default_charset").empty());
  adp_store::st().server_type = 1 | 0x100;
  EXPECT_EQ(dbs_sql_get_default_charset(), 5);
}

TEST_F(store_test, SqlMaxPerBatchSavesSetsAndRestores) {
  struct row {
    const char* before;  // "" for unset
    long count;
    const char* set;
    const char* restored;
  } rows[] = {
      {"40", 0, "25", "40"}, {"40", -3, "25", "40"}, {"", 7, "7", "25"},
      {"abc", 100, "100", "25"}, {"0", 12, "12", "25"}, {"-5", 12, "12", "25"},
  };
  for (const row& r : rows) {
    osl_sys_set_config_string("MAX_PER_BATCH", r.before, 0);
    ASSERT_EQ(dbs_sql_set_max_per_batch(r.count, 0), 0);
    EXPECT_EQ(config("MAX_PER_BATCH"), r.set) << r.before << " " << r.count;
    ASSERT_EQ(dbs_sql_set_max_per_batch(999, 1), 0);
    EXPECT_EQ(config("MAX_PER_BATCH"), r.restored) << r.before << " " << r.count;
  }
  osl_sys_set_config_string("MAX_PER_BATCH", "", 0);
}

TEST_F(store_test, SqlCaughtMessagesAreRaisedInOrder) {
  dbs_sql_raise_message();  // empties what an earlier test may have parked
  cmn_alrt_clear(nullptr);
  // Nothing caught: 0 and nothing pushed.
  EXPECT_EQ(dbs_sql_raise_message(), 0);
  EXPECT_EQ(core_num_alerts(), 0);
  // Catching an empty stack parks nothing.
  EXPECT_EQ(dbs_sql_catch_message(), 0);
  EXPECT_EQ(dbs_sql_raise_message(), 0);
  EXPECT_EQ(core_num_alerts(), 0);

  cmn_alrt_push_msg(nullptr, 0x600010, "first below");
  cmn_alrt_push_msg(nullptr, 0x600011, "first top");
  ASSERT_EQ(dbs_sql_catch_message(), 0);
  EXPECT_EQ(core_num_alerts(), 0);  // the current stack is cleared
  cmn_alrt_push_msg(nullptr, 0x600012, "second");
  ASSERT_EQ(dbs_sql_catch_message(), 0);
  cmn_alrt_push_msg(nullptr, 0x600013, "standing");

  EXPECT_EQ(dbs_sql_raise_message(), 0x600012);
  ASSERT_EQ(core_num_alerts(), 3);
  long code = 0;
  const char* text = nullptr;
  cmn_alrt_ith(nullptr, 1, &code, &text);
  EXPECT_EQ(code, 0x600011);
  EXPECT_STREQ(text, "first top");
  cmn_alrt_ith(nullptr, 2, &code, &text);
  EXPECT_EQ(code, 0x600012);
  EXPECT_STREQ(text, "second");
  // The display stack is empty again.
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(dbs_sql_raise_message(), 0);
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(store_test, SqlObjectIdMessagesPopTheTopAndClear) {
  utl_ty_estr* text = nullptr;
  ASSERT_EQ(utl_estr_create("test", "unchanged", 0, 10, &text), 0);
  dbs_sql_objid_msg_pop(nullptr);  // empties what an earlier test left
  EXPECT_EQ(dbs_sql_objid_msg_pop(text), 0);
  EXPECT_STREQ(utl_estr_get(text), "unchanged");

  ASSERT_EQ(dbs_sql_objid_msg_push(DBS_NULL_OBJECT), 0);
  ASSERT_EQ(dbs_sql_objid_msg_push(DBS_CLOCK_DIFF), 0);
  // A code whose text takes arguments is parked without reading any.
  ASSERT_EQ(dbs_sql_objid_msg_push(DBS_TOO_LONG), 0);
  EXPECT_EQ(core_num_alerts(), 0);  // the current stack is not touched
  EXPECT_EQ(dbs_sql_objid_msg_pop(text), DBS_TOO_LONG);
  EXPECT_EQ(dbs_sql_objid_msg_pop(text), 0);  // cleared
  ASSERT_EQ(dbs_sql_objid_msg_push(DBS_CLOCK_DIFF), 0);
  EXPECT_EQ(dbs_sql_objid_msg_pop(text), DBS_CLOCK_DIFF);
  const char* expected = nullptr;
  cmn_alrt_get_msg(DBS_CLOCK_DIFF, &expected);
  ASSERT_NE(expected, nullptr);
  EXPECT_STRNE(expected, "");
  EXPECT_STREQ(utl_estr_get(text), expected);
  EXPECT_EQ(dbs_sql_objid_msg_pop(text), 0);  // cleared
  utl_estr_free("test", text);
}
