// Nothing lost: a connection lost at any call of a poll stops the poll
// with -2 (now or at the next poll), deletes no undelivered event, and after
// terminate and init every event is delivered, at most one of them twice.
#include <map>

#include "conn_poll_fixture.h"
#include "connector/conn_util.h"

namespace {

class conn_recovery_test : public conn_poll_test {
 protected:
  // Three events on a stored case, each with its archive row.
  std::vector<long> populate() {
    stored_case("C-1", "Leak");
    std::vector<long> events;
    for (long p = 1; p <= 3; ++p) {
      events.push_back(event("Case:CaseId=C-1", "Update", p));
      archive_row(events.back());
    }
    return events;
  }
  static constexpr std::pair<const char*, const char*> archive{"ArchiveTableName",
                                                               "orbisan_archive"};
};

TEST_F(conn_recovery_test, a_lost_connection_at_any_call_of_a_poll_loses_no_event) {
  ASSERT_EQ(fresh_world({archive}), 0);
  populate();
  size_t before = cpi_double::calls().size();
  ASSERT_EQ(poll(), 0);
  const int total = static_cast<int>(cpi_double::calls().size() - before);
  ASSERT_GT(total, 30);
  for (int k = 1; k <= total; ++k) {
    SCOPED_TRACE("connection lost at call " + std::to_string(k));
    ASSERT_EQ(fresh_world({archive}), 0);
    std::vector<long> events = populate();
    cpi_double::lose_connection_at(k);
    int first = poll();
    EXPECT_TRUE(first == -2 || first == 0) << first;
    EXPECT_EQ(poll(), -2);
    // A deleted row was delivered first.
    std::map<std::string, int> times;
    for (const std::string& id : delivered_ids()) ++times[id];
    for (long e : events)
      if (!cpi_double::exists(e)) {
        EXPECT_EQ(times.count("Orbisan_" + std::to_string(e)), 1u) << e;
      }
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);

    cpi_double::restore_connection();
    globals->terminate();
    EXPECT_EQ(globals->lostSessionId(), 0);
    ASSERT_EQ(globals->init(nullptr), 0);
    for (int p = 0; p < 3 && !cpi_double::rows("orbisan_events").empty(); ++p)
      EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(cpi_double::rows("orbisan_events").empty());
    times.clear();
    for (const std::string& id : delivered_ids()) ++times[id];
    int twice = 0;
    for (long e : events) {
      int n = times["Orbisan_" + std::to_string(e)];
      EXPECT_GE(n, 1) << e;
      EXPECT_LE(n, 2) << e;
      if (n == 2) ++twice;
    }
    EXPECT_LE(twice, 1);
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_recovery_test, init_logs_out_the_lost_session_before_it_logs_in) {
  std::vector<long> events = populate();
  cpi_double::lose_connection_at(1);
  EXPECT_EQ(poll(), -2);
  EXPECT_EQ(globals->connectionId, 0);
  EXPECT_EQ(globals->lostSessionId(), 7);
  EXPECT_EQ(poll(), -2);
  cpi_double::restore_connection();
  size_t before = cpi_double::calls().size();
  ASSERT_EQ(globals->init(nullptr), 0);
  std::vector<std::string> calls(cpi_double::calls().begin() + static_cast<long>(before),
                                 cpi_double::calls().end());
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "cpi_sess_logout(7)");
  EXPECT_EQ(calls[1], "cpi_sess_login(,,,)");
  EXPECT_EQ(globals->connectionId, 8);
  EXPECT_EQ(poll(), 0);
  EXPECT_EQ(log->delivered.size(), events.size());
}

TEST_F(conn_recovery_test, a_retrieve_cut_short_by_a_lost_connection_ends_the_poll) {
  std::vector<long> events = populate();
  // The first event's retrieve query is the poll's third query; the
  // handler's ping after it (the poll's third) finds the connection gone.
  cpi_double::fail("cpi_qry_traverse_map", CONN_ALRT_CONNECTION_LOST, 3);
  cpi_double::fail("cpi_sess_ping", CONN_ALRT_CONNECTION_LOST, 3);
  EXPECT_EQ(poll(), -2);
  EXPECT_TRUE(log->delivered.empty());
  EXPECT_EQ(cpi_double::field(events[0], "event_status"), "1");  // neither delivered nor deleted
  EXPECT_EQ(cpi_double::field(events[1], "event_status"), "0");  // not touched
  EXPECT_EQ(globals->connectionId, 0);
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

}  // namespace
