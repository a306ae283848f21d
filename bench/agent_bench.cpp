// The agent on the demo CRM database (a private MariaDB server started for
// the run, tools/demo/demo_db.sh) against the same work written by hand
// with Connector/C, on the same server in the same run:
//   create      1,000 Orbisan_Contact Creates through AgentHost::request,
//               each committed on its own, against the same rows inserted
//               by prepared INSERTs, one commit per contact;
//   poll-1000   the connector's poll over 1,000 ready events (batches of
//   poll-10000  1,000, a one-level retrieve each) against the statements
//               and commits it sends, as prepared statements.
// Both sides are checked before any timing. After Google Benchmark's table
// it prints "<name>: ours <rate>/s, reference <rate>/s, ratio <x>", x being
// our time per item over the reference's.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <mysql.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "agent_bench.h"
#include "agent_bench_ours.h"
#include "agent_bench_ref.h"
#include "agent_demo.h"
#include "bench_ratio.h"
#include "kl_bo.h"

namespace {

constexpr long kCreates = 1000;
constexpr long kBatch = 1000;
constexpr long kSmallBacklog = 1000;
constexpr long kLargeBacklog = 10000;
constexpr long kChecked = 50;
// The contacts the events name, seeded apart from those the Creates make.
constexpr long kSeedBase = 900000;
constexpr long kSeeded = 1000;
// The reference's own id counter for its Creates.
constexpr long kReferenceIdBase = 500000;
constexpr long kInsertChunk = 500;
constexpr const char* kDatabase = "sa";
constexpr const char* kUser = "orbisan";
constexpr const char* kPassword = "orbisan-demo";

int g_stderr = STDERR_FILENO;
std::string g_log;
MYSQL* g_admin = nullptr;
AgentSide* g_ours = nullptr;
ReferenceSide* g_ref = nullptr;
long g_reference_id = kReferenceIdBase;
long g_next_event = 1;

std::string sql_text(const std::string& s) { return "'" + s + "'"; }

void sql(const std::string& text) {
  if (mysql_query(g_admin, text.c_str()) != 0) bench_agent_fail(mysql_error(g_admin) + (": " + text));
}

std::vector<std::vector<std::string>> rows(const std::string& text) {
  sql(text);
  MYSQL_RES* res = mysql_store_result(g_admin);
  std::vector<std::vector<std::string>> out;
  unsigned n = res ? mysql_num_fields(res) : 0;
  while (MYSQL_ROW row = res ? mysql_fetch_row(res) : nullptr) {
    std::vector<std::string>& r = out.emplace_back();
    for (unsigned c = 0; c < n; ++c) r.emplace_back(row[c] ? row[c] : "");
  }
  if (res) mysql_free_result(res);
  return out;
}

long count(const std::string& text) { return std::stol(rows(text).at(0).at(0)); }

// Contacts kSeedBase + 1 .. kSeedBase + kSeeded, each with a role.
void seed_contacts() {
  for (long i = 1; i <= kSeeded; ++i) {
    long id = kSeedBase + i;
    BenchContact c = bench_contact(id);
    sql("insert into table_contact values(" + std::to_string(id) + ", " + sql_text(c.first) + ", " +
        sql_text(c.last) + ", " + sql_text(c.phone) + ", " + sql_text(c.email) + ", 0, null)");
    sql("insert into table_contact_role values(" + std::to_string(id) + ", " + sql_text(c.role) + ", 0, " +
        std::to_string(id) + ", " + std::to_string(c.site) + ")");
  }
}

long contact_of_event(long event) { return kSeedBase + 1 + event % kSeeded; }

// A fresh event table holding n ready events (and their archive rows
// "Pending"), as the CRM writes them; the first event's number.
long load_events(long n) {
  sql("truncate table table_orbisan_events");
  sql("truncate table table_orbisan_archive");
  const long first = g_next_event;
  for (long done = 0; done < n;) {
    std::string events = "insert into table_orbisan_events values", archive = "insert into table_orbisan_archive values";
    for (long k = 0; k < kInsertChunk && done < n; ++k, ++done) {
      const std::string e = std::to_string(g_next_event++), c = std::to_string(contact_of_event(first + done));
      const std::string sep = k ? ", " : " ";
      events += sep + "(" + e + ", 'Contact:ObjId=" + c + "', 'Update', '" + c + "', sysdate, '0', 1)";
      archive += sep + "(" + e + ", " + e + ", 'Contact:ObjId=" + c + "', 'Update', '" + c + "', 'Pending')";
    }
    sql(events);
    sql(archive);
  }
  return first;
}

// Every event delivered once in order with its contact, deleted and archived.
void check_polled(const char* side, long first, long n, const std::vector<BenchDelivery>& got) {
  const std::string where = std::string(side) + " poll of " + std::to_string(n) + ": ";
  if (static_cast<long>(got.size()) != n)
    bench_agent_fail(where + std::to_string(got.size()) + " deliveries");
  for (long k = 0; k < n; ++k) {
    const long c = contact_of_event(first + k);
    const BenchContact v = bench_contact(c);
    const BenchDelivery want{first + k, c, v.first, v.last, v.phone, v.email, c, v.role, v.site};
    if (!(got[static_cast<size_t>(k)] == want))
      bench_agent_fail(where + "delivery " + std::to_string(k) + " is not event " + std::to_string(first + k) +
                       " with contact " + std::to_string(c));
  }
  if (count("select count(*) from table_orbisan_events") != 0) bench_agent_fail(where + "events left");
  if (count("select count(*) from table_orbisan_archive where event_status = 'Success'") != n)
    bench_agent_fail(where + "archive rows not all \"Success\"");
}

// The contact `id` and its role hold c.
void check_created(const char* side, long id, const BenchContact& c) {
  auto r = rows("select c.first_name, c.last_name, c.phone, c.e_mail, r.role_name, r.contact_role2site "
                "from table_contact c join table_contact_role r on r.contact_role2contact = c.objid where c.objid = " +
                std::to_string(id));
  const std::vector<std::string> want{c.first, c.last, c.phone, c.email, c.role, std::to_string(c.site)};
  if (r.size() != 1 || r[0] != want)
    bench_agent_fail(std::string(side) + " create: contact " + std::to_string(id) + " and its role not as sent");
}

std::vector<long> create_ours(long first, long n, benchmark::State* state) {
  std::vector<std::unique_ptr<BusinessObject>> requests;
  for (long i = 0; i < n; ++i) requests.push_back(g_ours->create_request(bench_contact(first + i)));
  std::vector<long> ids;
  if (state) state->ResumeTiming();
  for (auto& bo : requests) ids.push_back(g_ours->create(*bo));
  if (state) state->PauseTiming();
  for (long id : ids)
    if (id == 0) bench_agent_fail("ours create: a request was refused");
  return ids;
}

std::vector<long> create_reference(long first, long n, benchmark::State* state) {
  std::vector<BenchContact> contacts;
  std::vector<long> ids;
  for (long i = 0; i < n; ++i) contacts.push_back(bench_contact(first + i)), ids.push_back(++g_reference_id);
  if (state) state->ResumeTiming();
  for (long i = 0; i < n; ++i) g_ref->create(contacts[static_cast<size_t>(i)], ids[static_cast<size_t>(i)]);
  if (state) state->PauseTiming();
  return ids;
}

using CreateSide = std::vector<long> (*)(long, long, benchmark::State*);
using PollSide = std::vector<BenchDelivery> (*)();

std::vector<BenchDelivery> poll_ours() { return g_ours->poll_all(); }
std::vector<BenchDelivery> poll_reference() { return g_ref->poll_all(kBatch); }

long g_next_contact = 1;

void check_create(const char* side, CreateSide run, long n) {
  const long first = g_next_contact;
  g_next_contact += n;
  std::vector<long> ids = run(first, n, nullptr);
  for (long i = 0; i < n; ++i) check_created(side, ids[static_cast<size_t>(i)], bench_contact(first + i));
}

void check_poll(const char* side, PollSide run, long n) {
  const long first = load_events(n);
  check_polled(side, first, n, run());
}

void bench_create(benchmark::State& state, const char* side, CreateSide run) {
  for (auto _ : state) {
    state.PauseTiming();
    const long first = g_next_contact;
    g_next_contact += kCreates;
    std::vector<long> ids = run(first, kCreates, &state);
    // Spot checks: the first and the last contact of the round.
    check_created(side, ids.front(), bench_contact(first));
    check_created(side, ids.back(), bench_contact(first + kCreates - 1));
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kCreates);
}

void bench_poll(benchmark::State& state, const char* side, PollSide run) {
  const long n = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    const long first = load_events(n);
    state.ResumeTiming();
    std::vector<BenchDelivery> got = run();
    state.PauseTiming();
    check_polled(side, first, n, got);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// name -> its benchmarks' names and the items one iteration handles.
struct Comparison {
  const char* name;
  long items;
};
constexpr Comparison kComparisons[] = {{"create", kCreates}, {"poll-1000", kSmallBacklog},
                                       {"poll-10000", kLargeBacklog}};

void register_benchmarks() {
  auto unit = [](benchmark::internal::Benchmark* b, int iterations) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(iterations);
  };
  unit(benchmark::RegisterBenchmark("create:ours", bench_create, "ours", create_ours), 2);
  unit(benchmark::RegisterBenchmark("create:reference", bench_create, "reference", create_reference), 2);
  for (long n : {kSmallBacklog, kLargeBacklog}) {
    const std::string name = "poll-" + std::to_string(n);
    const int iterations = n == kSmallBacklog ? 2 : 1;
    unit(benchmark::RegisterBenchmark((name + ":ours").c_str(), bench_poll, "ours", poll_ours)->Arg(n), iterations);
    unit(benchmark::RegisterBenchmark((name + ":reference").c_str(), bench_poll, "reference", poll_reference)->Arg(n),
         iterations);
  }
}

void print_comparisons(const std::map<std::string, double>& times) {
  std::printf("\n");
  for (const Comparison& c : kComparisons) {
    auto ours = times.find(std::string(c.name) + ":ours"), ref = times.find(std::string(c.name) + ":reference");
    if (ours == times.end() || ref == times.end()) continue;
    const double per_second = 1000.0 * static_cast<double>(c.items);
    std::printf("%s: ours %.0f/s, reference %.0f/s, ratio %.2f\n", c.name, per_second / ours->second,
                per_second / ref->second, ours->second / ref->second);
  }
}

}  // namespace

BenchContact bench_contact(long i) {
  const std::string n = std::to_string(i);
  return {"Erin", "Example " + n, "555-" + n, "erin" + n + "@example.com", "Buyer", kBenchSite};
}

void bench_agent_fail(const std::string& what) {
  dprintf(g_stderr, "agent_bench: %s\n", what.c_str());
  if (!g_log.empty()) dprintf(g_stderr, "agent_bench: the agent's log: %s\n", g_log.c_str());
  std::_Exit(1);
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  agent_test::DemoDatabase db;
  std::string why;
  if (!db.start(&why)) bench_agent_fail("the demo database did not start: " + why);
  g_admin = mysql_init(nullptr);
  if (!mysql_real_connect(g_admin, nullptr, "root", "", kDatabase, 0, (db.folder() + "/db/mysqld.sock").c_str(), 0))
    bench_agent_fail(mysql_error(g_admin));
  sql("set session sql_mode = 'ORACLE'");
  seed_contacts();
  db.set_property("PollQuantity", std::to_string(kBatch));
  // The agent's own lines (a few per request) go to a log of the run.
  g_stderr = dup(STDERR_FILENO);
  g_log = db.folder() + "/agent.log";
  int log = open(g_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (g_stderr < 0 || log < 0 || dup2(log, STDERR_FILENO) < 0) bench_agent_fail("cannot open " + g_log);
  close(log);
  AgentSide ours(db);
  ReferenceSide ref(db.folder() + "/db/mysqld.sock", kUser, kPassword, kDatabase);
  g_ours = &ours, g_ref = &ref;

  check_create("ours", create_ours, kChecked);
  check_create("reference", create_reference, kChecked);
  check_poll("ours", poll_ours, kChecked);
  check_poll("reference", poll_reference, kChecked);

  register_benchmarks();
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  print_comparisons(reporter.times);
  mysql_close(g_admin);
  dup2(g_stderr, STDERR_FILENO);
  return 0;
}
