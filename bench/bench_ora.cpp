// Creating 1,000 rows of three fields in one transaction on a private
// MariaDB server: through the Oracle-dialect data service (a batch of one
// INSERT with three bound values per row, as the adapter's batch sends it)
// against the same inserts sent directly through a Connector/C prepared
// statement. Prints the ratio of the two times (target: within 1.5).
#include <benchmark/benchmark.h>
#include <mysql.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "bench_ratio.h"
#include "adapter/adp_cfg.h"
#include "adapter/adp_dsvc.h"
#include "adapter/adp_rec.h"
#include "kclassic/kc_err.h"
#include "schema/typ_sch.h"
#include "testdb/testdb_server.h"

namespace {

constexpr int kRows = 1000;

std::string g_socket;

void fail(const char* what) {
  std::fprintf(stderr, "ora_bench: %s\n", what);
  std::exit(1);
}

MYSQL* direct_connect() {
  MYSQL* m = mysql_init(nullptr);
  if (mysql_real_connect(m, nullptr, "root", "", "sa", 0, g_socket.c_str(), 0) == nullptr) fail(mysql_error(m));
  return m;
}

void sql(MYSQL* m, const char* text) {
  if (mysql_query(m, text) != 0) fail(mysql_error(m));
}

void BM_Service(benchmark::State& state) {
  KAdpConfig cfg("oracle");
  cfg.SetPOrbDllName(4, ORB_DATASVC_DIR "/OraDataSvc.DLL");
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(2), g_socket.c_str());
  void* handle = nullptr;
  KCLASSIC::tagPpmDataSvc* svc = nullptr;
  try {
    svc = cfg.LoadService(ORB_DATASVC_DIR "/OraDataSvc.DLL", handle);
    svc->Connect("root", "", nullptr);
  } catch (KCLASSIC::KErr* e) {
    fail(static_cast<const char*>(e->m_strText2));
  }
  MYSQL* admin = direct_connect();
  KCLASSIC::KStringArray stmts;
  stmts.Add(KCLASSIC::KZString("INSERT INTO bench_svc (objid, name, dev) VALUES (:B0, :B1, :B2)"));
  KCLASSIC::tagPpmStats stats;
  for (auto _ : state) {
    state.PauseTiming();
    sql(admin, "TRUNCATE TABLE bench_svc");
    state.ResumeTiming();
    svc->BeginTransaction();
    for (int i = 0; i < kRows; ++i) {
      KAdpUtlRecord binds, one;
      binds.SetColType(0, 0, "vars", KCLASSIC::UTL_DB_RECORD);
      one.SetColType(0, 0, "marker", 6);
      one.SetColType(1, 0, "value", 15);
      one.SetColType(2, 0, "buffer", 6);
      one.SetColType(3, 0, "type", 0);
      const std::string values[3] = {std::to_string(i), "name " + std::to_string(i), "1"};
      const long types[3] = {0, 6, 0};
      for (long c = 0; c < 3; ++c) {
        one.SetString(c, 0, (":B" + std::to_string(c)).c_str());
        one.SetString(c, 2, values[c].c_str());
        one.SetVoidPtr(c, 1, const_cast<char*>(one.GetString(c, 2)));
        one.SetLong(c, 3, types[c]);
      }
      binds.SetRecord(0, 0, one, 1);
      long rows = -1;
      svc->StartBatch(&stmts, &binds, &stats);
      svc->FetchNextSet(0, rows);
      if (rows != 1) fail("service insert");
    }
    svc->EndTransaction(1, 0);
  }
  mysql_close(admin);
  svc->Release(0);
}

void BM_Direct(benchmark::State& state) {
  MYSQL* m = direct_connect();
  MYSQL_STMT* stmt = mysql_stmt_init(m);
  const char* text = "INSERT INTO bench_direct (objid, name, dev) VALUES (?, ?, ?)";
  if (mysql_stmt_prepare(stmt, text, std::strlen(text)) != 0) fail(mysql_stmt_error(stmt));
  for (auto _ : state) {
    state.PauseTiming();
    sql(m, "TRUNCATE TABLE bench_direct");
    state.ResumeTiming();
    sql(m, "START TRANSACTION");
    for (int i = 0; i < kRows; ++i) {
      std::string name = "name " + std::to_string(i);
      long long id = i, dev = 1;
      unsigned long name_len = name.size();
      MYSQL_BIND b[3];
      std::memset(b, 0, sizeof b);
      b[0].buffer_type = MYSQL_TYPE_LONGLONG;
      b[0].buffer = &id;
      b[1].buffer_type = MYSQL_TYPE_STRING;
      b[1].buffer = name.data();
      b[1].buffer_length = name_len;
      b[1].length = &name_len;
      b[2].buffer_type = MYSQL_TYPE_LONGLONG;
      b[2].buffer = &dev;
      if (mysql_stmt_bind_param(stmt, b) != 0 || mysql_stmt_execute(stmt) != 0) fail(mysql_stmt_error(stmt));
    }
    sql(m, "COMMIT");
  }
  mysql_stmt_close(stmt);
  mysql_close(m);
}

BENCHMARK(BM_Service)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Direct)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  g_socket = testdb::shared_socket(&problem);
  if (g_socket.empty()) fail(problem.c_str());
  {
    // The first connection through the service makes database sa.
    KAdpConfig cfg("oracle");
    cfg.SetPOrbDllName(4, ORB_DATASVC_DIR "/OraDataSvc.DLL");
    cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(2), g_socket.c_str());
    void* handle = nullptr;
    try {
      KCLASSIC::tagPpmDataSvc* svc = cfg.LoadService(ORB_DATASVC_DIR "/OraDataSvc.DLL", handle);
      svc->Connect("root", "", nullptr);
      svc->Release(0);
    } catch (KCLASSIC::KErr* e) {
      fail(static_cast<const char*>(e->m_strText2));
    }
  }
  MYSQL* m = direct_connect();
  for (const char* t : {"bench_svc", "bench_direct"}) {
    sql(m, (std::string("DROP TABLE IF EXISTS ") + t).c_str());
    sql(m, (std::string("CREATE TABLE ") + t + " (objid NUMBER(10) PRIMARY KEY, name VARCHAR2(80), dev NUMBER(10))").c_str());
  }
  mysql_close(m);
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto svc = reporter.times.find("BM_Service"), direct = reporter.times.find("BM_Direct");
  if (svc != reporter.times.end() && direct != reporter.times.end() && direct->second > 0) {
    std::printf("\n1,000 rows of three fields in one transaction: service %.2f ms, Connector/C %.2f ms, "
                "ratio %.2f (target 1.5 or less)\n",
                svc->second, direct->second, svc->second / direct->second);
  }
  return 0;
}
