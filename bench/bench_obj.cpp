// Creating objects through the adapter on a private MariaDB server
// (Oracle-dialect service, the CRM fixture's dictionary): 1,000 cases of
// five fields (objid, title, status, amount, opened; the case2site column
// gets its temporary key) through adp_obj_create in one application
// transaction, against the same INSERTs through a Connector/C prepared
// statement in one transaction, same server, same run. Prints the ratio
// (target: within 1.5).
#include <benchmark/benchmark.h>
#include <mysql.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "bench_session.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_rdb.h"
#include "testdb/testdb_database.h"

namespace {

constexpr int kRows = 1000;
constexpr long kCase = 10;
constexpr long kTitle = 1, kStatus = 2, kAmount = 3, kOpened = 4;

KAdpConnId* g_cid = nullptr;
testdb::database* g_db = nullptr;

void fail(const char* what) { bench_fail("obj_bench", what); }

// The values of row i, the same on both sides.
struct row_values {
  std::string title, status = "open";
  cmn_ty_decimal amount{};
  clktime opened{};
};

row_values values_of(int i) {
  row_values v;
  v.title = "case " + std::to_string(i);
  std::snprintf(v.amount.text, sizeof v.amount.text, "%d.25", i);
  v.amount.precision = 19;
  v.amount.scale = 2;
  if (adp_time_str_to_clk("03/05/2004 14:07:09", &v.opened) != 0) fail("date");
  return v;
}

void set_field(dbs_ty_lobj* o, long field, const void* value) {
  if (dbs_fld_set(o, field, value) != 0) fail("field");
}

void BM_AdapterCreate(benchmark::State& state) {
  testdb::connection admin = g_db->connect();
  std::vector<row_values> rows;
  for (int i = 1; i <= kRows; ++i) rows.push_back(values_of(i));
  std::vector<dbs_ty_lobj*> objects(kRows, nullptr);
  for (dbs_ty_lobj*& o : objects)
    if (dbs_obj_make(nullptr, kCase, &o) != 0) fail("object");
  for (auto _ : state) {
    state.PauseTiming();
    if (mysql_query(admin.get(), "TRUNCATE TABLE table_case") != 0) fail(mysql_error(admin.get()));
    state.ResumeTiming();
    if (adp_trn_begin(g_cid) != 0) fail("begin");
    for (int i = 0; i < kRows; ++i) {
      dbs_ty_lobj* o = objects[static_cast<size_t>(i)];
      const row_values& v = rows[static_cast<size_t>(i)];
      const char* title = v.title.c_str();
      const char* status = v.status.c_str();
      const void* amount = &v.amount;
      const void* opened = &v.opened;
      set_field(o, kTitle, &title);
      set_field(o, kStatus, &status);
      set_field(o, kAmount, &amount);
      set_field(o, kOpened, &opened);
      obj_id id{kCase, i + 1, 0};
      if (adp_obj_create(g_cid, &id, o) != 0) fail("create");
    }
    if (adp_trn_commit(g_cid) != 0) fail("commit");
  }
  for (dbs_ty_lobj* o : objects) dbs_obj_free_local("bench", o);
}

void BM_DirectCreate(benchmark::State& state) {
  testdb::connection m = g_db->connect();
  MYSQL_STMT* stmt = mysql_stmt_init(m.get());
  const char* text =
      "INSERT INTO table_direct (objid, title, status, amount, opened, case2site) VALUES (?, ?, ?, ?, ?, ?)";
  if (mysql_stmt_prepare(stmt, text, std::strlen(text)) != 0) fail(mysql_stmt_error(stmt));
  std::vector<row_values> rows;
  for (int i = 1; i <= kRows; ++i) rows.push_back(values_of(i));
  for (auto _ : state) {
    state.PauseTiming();
    if (mysql_query(m.get(), "TRUNCATE TABLE table_direct") != 0) fail(mysql_error(m.get()));
    state.ResumeTiming();
    if (mysql_query(m.get(), "START TRANSACTION") != 0) fail(mysql_error(m.get()));
    for (int i = 0; i < kRows; ++i) {
      const row_values& v = rows[static_cast<size_t>(i)];
      long long id = i + 1, key = dbs_rdb_temp_unique_key(i + 1);
      unsigned long len[3] = {v.title.size(), v.status.size(), std::strlen(v.amount.text)};
      clk_ty_cmp c{};
      clk_time_to_cmp_adj(0, &v.opened, &c);
      MYSQL_TIME t{};
      t.year = static_cast<unsigned>(c.year), t.month = static_cast<unsigned>(c.month + 1);
      t.day = static_cast<unsigned>(c.day), t.hour = static_cast<unsigned>(c.hour);
      t.minute = static_cast<unsigned>(c.minute), t.second = static_cast<unsigned>(c.second);
      t.time_type = MYSQL_TIMESTAMP_DATETIME;
      MYSQL_BIND b[6];
      std::memset(b, 0, sizeof b);
      b[0].buffer_type = MYSQL_TYPE_LONGLONG, b[0].buffer = &id;
      b[1].buffer_type = MYSQL_TYPE_STRING, b[1].buffer = const_cast<char*>(v.title.data()), b[1].length = &len[0];
      b[2].buffer_type = MYSQL_TYPE_STRING, b[2].buffer = const_cast<char*>(v.status.data()), b[2].length = &len[1];
      b[3].buffer_type = MYSQL_TYPE_NEWDECIMAL, b[3].buffer = const_cast<char*>(v.amount.text), b[3].length = &len[2];
      b[4].buffer_type = MYSQL_TYPE_DATETIME, b[4].buffer = &t;
      b[5].buffer_type = MYSQL_TYPE_LONGLONG, b[5].buffer = &key;
      if (mysql_stmt_bind_param(stmt, b) != 0 || mysql_stmt_execute(stmt) != 0) fail(mysql_stmt_error(stmt));
    }
    if (mysql_query(m.get(), "COMMIT") != 0) fail(mysql_error(m.get()));
  }
  mysql_stmt_close(stmt);
}

BENCHMARK(BM_AdapterCreate)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DirectCreate)->Unit(benchmark::kMillisecond)->MinTime(2.0);

const char* kTables =
    "create table table_case(objid number primary key, title varchar(80), status varchar(20), amount number(19,2),"
    " opened date, case2site number, dev number);\n"
    "create table table_direct(objid number primary key, title varchar(80), status varchar(20), amount number(19,2),"
    " opened date, case2site number, dev number);\n";

}  // namespace

int main(int argc, char** argv) {
  testdb::database db;
  g_db = &db;
  if (db.socket().empty()) fail(db.problem().c_str());
  if (!db.create() || !db.load("crm_fixture.sql") || !db.run(kTables)) fail("fixture");
  g_cid = bench_open_session(db, "obj_bench");
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto a = reporter.times.find("BM_AdapterCreate"), d = reporter.times.find("BM_DirectCreate");
  if (a != reporter.times.end() && d != reporter.times.end() && d->second > 0) {
    std::printf("\n1,000 objects of five fields created in one transaction: adapter %.2f ms, Connector/C %.2f ms, "
                "ratio %.2f (target 1.5 or less)\n",
                a->second, d->second, a->second / d->second);
  }
  return 0;
}
