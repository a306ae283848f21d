// Queries through the adapter on a private MariaDB server (Oracle-dialect
// service, the CRM fixture's dictionary): a simple query reading 1,000
// objects of a five-field type into local objects, and a relation query
// reading 1,000 related ids; against the same SELECTs through Connector/C
// prepared statements fetched into plain structs, same server, same run.
// Prints the two ratios (target: within 1.5).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <mysql.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "bench_session.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_sch_load.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_main.h"
#include "core/utl/utl_main.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "testdb/testdb_database.h"

namespace {

constexpr int kRows = 1000;
constexpr long kCase = 10, kSite = 11;

KAdpConnId* g_cid = nullptr;
testdb::database* g_db = nullptr;
long g_rel = -1;

void fail(const char* what) { bench_fail("qry_bench", what); }

void open_session() {
  g_cid = bench_open_session(*g_db, "qry_bench");
  typ_sch_srec* s = nullptr;
  adp_sch_shandle_find(kSite, &s);
  for (long i = 0; s != nullptr && i < s->nrels; ++i)
    if (s->rels[i].rel != nullptr && std::strcmp(s->rels[i].side == 'p' ? s->rels[i].rel->pname : s->rels[i].rel->fname,
                                                 "site2case") == 0)
      g_rel = i;
  if (g_rel < 0) fail("relation site2case");
}

void BM_AdapterObjects(benchmark::State& state) {
  adp_ty_qry desc{kCase, 0, nullptr, 0};
  for (auto _ : state) {
    utl_ty_col* objs = nullptr;
    utl_col_make("bench", 517, kRows, kRows, 0, 0, &objs);
    if (dbs_qry_simple(g_cid, &desc, nullptr, nullptr, objs) != 0 || objs->count != kRows) fail("simple query");
    state.PauseTiming();
    dbs_obj_free_local_col(nullptr, objs);
    state.ResumeTiming();
  }
}

struct case_row {
  long long objid;
  char title[81];
  char status[21];
  char amount[48];
  MYSQL_TIME opened;
};

void BM_DirectObjects(benchmark::State& state) {
  testdb::connection m = g_db->connect();
  MYSQL_STMT* stmt = mysql_stmt_init(m.get());
  const char* text = "SELECT objid, title, status, amount, opened FROM table_case";
  if (mysql_stmt_prepare(stmt, text, std::strlen(text)) != 0) fail(mysql_stmt_error(stmt));
  std::vector<case_row> rows(kRows);
  for (auto _ : state) {
    if (mysql_stmt_execute(stmt) != 0) fail(mysql_stmt_error(stmt));
    case_row r{};
    unsigned long len[5] = {};
    my_bool nulls[5] = {};
    MYSQL_BIND b[5];
    std::memset(b, 0, sizeof b);
    b[0].buffer_type = MYSQL_TYPE_LONGLONG, b[0].buffer = &r.objid;
    b[1].buffer_type = MYSQL_TYPE_STRING, b[1].buffer = r.title, b[1].buffer_length = sizeof r.title;
    b[2].buffer_type = MYSQL_TYPE_STRING, b[2].buffer = r.status, b[2].buffer_length = sizeof r.status;
    b[3].buffer_type = MYSQL_TYPE_STRING, b[3].buffer = r.amount, b[3].buffer_length = sizeof r.amount;
    b[4].buffer_type = MYSQL_TYPE_DATETIME, b[4].buffer = &r.opened;
    for (int i = 0; i < 5; ++i) b[i].length = &len[i], b[i].is_null = &nulls[i];
    if (mysql_stmt_bind_result(stmt, b) != 0) fail(mysql_stmt_error(stmt));
    int n = 0;
    while (mysql_stmt_fetch(stmt) == 0) rows[static_cast<size_t>(n++ % kRows)] = r;
    if (n != kRows) fail("direct rows");
    mysql_stmt_free_result(stmt);
  }
  mysql_stmt_close(stmt);
}

void BM_AdapterRelationIds(benchmark::State& state) {
  adp_ty_qry target{kCase, 0, nullptr, 0};
  obj_id site{kSite, 1, 0};
  utl_ty_col* ids = nullptr;
  utl_col_make("bench", 512, kRows, kRows, 0, 0, &ids);
  for (auto _ : state) {
    if (dbs_qry_relation_for_id(g_cid, &site, g_rel, &target, nullptr, nullptr, ids) != 0 || ids->count != kRows)
      fail("relation query");
  }
  utl_col_free("bench", ids);
}

void BM_DirectRelationIds(benchmark::State& state) {
  testdb::connection m = g_db->connect();
  MYSQL_STMT* stmt = mysql_stmt_init(m.get());
  const char* text = "SELECT objid FROM table_case WHERE case2site IN (?)";
  if (mysql_stmt_prepare(stmt, text, std::strlen(text)) != 0) fail(mysql_stmt_error(stmt));
  std::vector<long> ids;
  ids.reserve(kRows);
  for (auto _ : state) {
    ids.clear();
    long long site = 1, id = 0;
    MYSQL_BIND p{}, r{};
    p.buffer_type = MYSQL_TYPE_LONGLONG, p.buffer = &site;
    r.buffer_type = MYSQL_TYPE_LONGLONG, r.buffer = &id;
    if (mysql_stmt_bind_param(stmt, &p) != 0 || mysql_stmt_execute(stmt) != 0) fail(mysql_stmt_error(stmt));
    if (mysql_stmt_bind_result(stmt, &r) != 0) fail(mysql_stmt_error(stmt));
    while (mysql_stmt_fetch(stmt) == 0) ids.push_back(static_cast<long>(id));
    if (ids.size() != static_cast<size_t>(kRows)) fail("direct ids");
    mysql_stmt_free_result(stmt);
  }
  mysql_stmt_close(stmt);
}

BENCHMARK(BM_AdapterObjects)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DirectObjects)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AdapterRelationIds)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DirectRelationIds)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::string rows_script() {
  std::string s =
      "create table table_site(objid int primary key, name varchar(80), dev int);\n"
      "create table table_case(objid int primary key, title varchar(80), status varchar(20), amount decimal(19,2),"
      " opened datetime, case2site int, dev int);\n"
      "create index case_site on table_case(case2site);\n"
      "insert into table_site values (1, 'North', 1), (2, 'South', 1);\n";
  for (int i = 1; i <= kRows; ++i)
    s += std::string(i % 100 == 1 ? "insert into table_case values " : ",") + "(" + std::to_string(i) + ",'case " +
         std::to_string(i) + "','open'," + std::to_string(i) + ".25,'2004-03-05 14:07:09',1,1)" +
         (i % 100 == 0 ? ";\n" : "");
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  testdb::database db;
  g_db = &db;
  if (db.socket().empty()) fail(db.problem().c_str());
  if (!db.create() || !db.load("crm_fixture.sql") || !db.run(rows_script())) fail("fixture");
  open_session();
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto ratio = [&](const char* a, const char* b) {
    auto x = reporter.times.find(a), y = reporter.times.find(b);
    return x != reporter.times.end() && y != reporter.times.end() && y->second > 0 ? x->second / y->second : -1.0;
  };
  std::printf("\n1,000 objects of five fields: adapter / Connector/C ratio %.2f (target 1.5 or less)\n",
              ratio("BM_AdapterObjects", "BM_DirectObjects"));
  std::printf("1,000 related ids: adapter / Connector/C ratio %.2f (target 1.5 or less)\n",
              ratio("BM_AdapterRelationIds", "BM_DirectRelationIds"));
  return 0;
}
