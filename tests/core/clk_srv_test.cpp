// The server clock with a fake adapter and a set local clock.
#include <gtest/gtest.h>

#include <string>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_tz.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_alrt.h"

namespace {

class ClkSrv : public clk_test {};

void expect_time(const clktime& got, const clktime& want) {
  EXPECT_EQ(got.day, want.day);
  EXPECT_EQ(got.ticks, want.ticks);
}

long clock_notes() {
  long n = 0;
  cmn_alrt_num(clk_time_alert_stack(), &n);
  return n;
}

TEST_F(ClkSrv, DifferenceSameDayAndAcrossMidnight) {
  struct {
    clktime server;
    long ly, lm, ld, lh, lmin, ls;
    long diff;  // ticks
  } cases[] = {
      {clk_at(2003, 1, 15, 10, 0, 0), 2003, 1, 15, 10, 0, 5, 5 * 300},
      {clk_at(2003, 1, 16, 0, 0, 1), 2003, 1, 15, 23, 59, 59, -2 * 300},
      {clk_at(2003, 1, 15, 23, 59, 59), 2003, 1, 16, 0, 0, 1, 2 * 300},
      {clk_at(2003, 1, 15, 0, 0, 0), 2003, 1, 16, 0, 30, 0, 26460000},    // 24.5 hours: the edge
      {clk_at(2003, 1, 16, 0, 30, 0), 2003, 1, 15, 0, 0, 0, -26460000},
  };
  for (const auto& c : cases) {
    clk_fake::server = c.server;
    clk_fake::set_local(c.ly, c.lm, c.ld, c.lh, c.lmin, c.ls);
    clktime local{}, server{};
    long diff = 0;
    ASSERT_EQ(clk_time_diff_get(&local, &server, &diff), 0);
    EXPECT_EQ(diff, c.diff);
    expect_time(server, c.server);
    expect_time(local, clk_at(c.ly, c.lm, c.ld, c.lh, c.lmin, c.ls));
  }
}

TEST_F(ClkSrv, ClocksMoreThanADayApartAreRefused) {
  struct {
    clktime server;
    long ld, lh, lmin, ls;
  } cases[] = {
      {clk_at(2003, 1, 15, 0, 0, 0), 16, 1, 0, 0},     // 25 hours
      {clk_at(2003, 1, 15, 0, 0, 0), 16, 0, 30, 1},    // a second past 24.5 hours
      {clk_at(2003, 1, 16, 0, 30, 1), 15, 0, 0, 0},
      {clk_at(2003, 1, 15, 12, 0, 0), 17, 12, 0, 0},   // two days
  };
  for (const auto& c : cases) {
    clk_fake::server = c.server;
    clk_fake::set_local(2003, 1, c.ld, c.lh, c.lmin, c.ls);
    long diff = 99;
    EXPECT_EQ(clk_time_diff_get(nullptr, nullptr, &diff), CLK_CLOCKS_APART);
    EXPECT_EQ(diff, 99);
    clktime out{7, 7};
    EXPECT_EQ(clk_time_get(&out), CLK_CLOCKS_APART);
    EXPECT_EQ(out.day, 7);
  }
  EXPECT_EQ(core_alert_texts().back(),
            "The difference between the client clock and the server clock is more than 24 hours.\n");
}

TEST_F(ClkSrv, GetAsksTheDatabaseEachTimeAndAddsTheMasterDifference) {
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 0);
  clk_fake::set_local(2003, 1, 15, 10, 0, 7);
  clk_time_mzone_diff_set(3600L * 300);  // master zone an hour ahead: results an hour behind
  clktime out{};
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 9, 0, 0));
  clk_fake::server = clk_at(2003, 1, 15, 10, 5, 0);
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 9, 5, 0));
  EXPECT_EQ(clk_fake::server_calls, 2);
  long client = 0, master_client = 0;
  ASSERT_EQ(clk_time_master_client_diff(&client, &master_client), 0);
  EXPECT_EQ(client, -(7 - 300));          // server - local, cached by the last reading
  EXPECT_EQ(master_client, -(293 - 3600));
}

TEST_F(ClkSrv, AdapterFailuresAndMissingSlotsAreReturned) {
  clk_fake::server_status = 0x600001;
  clktime out{7, 7};
  EXPECT_EQ(clk_time_get(&out), 0x600001);
  EXPECT_EQ(out.day, 7);
  clk_seam_reset();
  EXPECT_EQ(clk_time_get(&out), CLK_SEAM_MISSING);
  EXPECT_NE(core_alert_texts().back().find("adp_time_get"), std::string::npos);
  EXPECT_EQ(out.day, 7);
}

TEST_F(ClkSrv, ClockModes) {
  long mode = -1, interval = -1, tolerance = -1;
  ASSERT_EQ(clk_time_set_clock_mode(1, 0, 0), 0);
  clk_time_get_clock_mode(&mode, &interval, &tolerance);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(interval, 300);
  EXPECT_EQ(tolerance, 5);
  EXPECT_EQ(clk_time_get_clock_flags(), CLK_SYNC_DUE1);
  ASSERT_EQ(clk_time_set_clock_mode(2, 60, 2), 0);
  clk_time_get_clock_mode(&mode, &interval, &tolerance);
  EXPECT_EQ(interval, 60);
  EXPECT_EQ(tolerance, 2);
  EXPECT_EQ(clk_time_get_clock_flags(), CLK_SYNC_MODE2);
  clk_time_diff_cache_set(3);
  ASSERT_EQ(clk_time_set_clock_mode(7, 60, 2), 0);
  clk_time_get_clock_mode(&mode, &interval, nullptr);
  EXPECT_EQ(mode, 7);
  EXPECT_EQ(interval, 0);
  EXPECT_EQ(clk_time_get_clock_flags(), CLK_SYNC_CACHED);  // the cached difference survives
}

TEST_F(ClkSrv, ForcedLocalReadBeforeAnyMeasurement) {
  clktime out{7, 7};
  EXPECT_EQ(clk_time_get_option(1, &out), CLK_NOT_CACHED);
  EXPECT_EQ(core_alert_texts().back(),
            "Do not call clk_time_get_option with force_local==TRUE before the server/local clock delta has been "
            "cached.\n");
  EXPECT_EQ(out.day, 7);
  // After a measurement the local clock and the cached difference give the time.
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 0);
  clk_fake::set_local(2003, 1, 15, 10, 0, 20);
  clk_time_mzone_diff_set(-60L * 300);
  ASSERT_EQ(clk_time_get(&out), 0);
  clk_fake::set_local(2003, 1, 15, 11, 0, 20);
  ASSERT_EQ(clk_time_get_option(1, &out), 0);
  expect_time(out, clk_at(2003, 1, 15, 11, 1, 0));
  EXPECT_EQ(clk_fake::server_calls, 1);
}

// Measured once and armed, with mode 2: the local clock serves.
void arm(long interval, long tolerance) {
  clk_time_set_clock_mode(2, interval, tolerance);
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 0);
  clk_fake::set_local(2003, 1, 15, 10, 0, 10);
  clktime out{};
  ASSERT_EQ(clk_time_get(&out), 0);  // measures and caches -10 seconds
  EXPECT_EQ(clk_time_synch(), 0);
  EXPECT_TRUE(clk_time_get_clock_flags() & CLK_SYNC_ARMED);
}

TEST_F(ClkSrv, SynchronisedClockRemeasuresAndUsesTheLocalClock) {
  arm(300, 5);
  clktime out{};
  // First reading: due (mode 2), re-measured: the difference is the same.
  clk_fake::set_local(2003, 1, 15, 10, 0, 40);
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 30);
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 10, 0, 30));
  EXPECT_EQ(clk_fake::server_calls, 2);
  // Within the interval the server is not asked.
  clk_fake::set_local(2003, 1, 15, 10, 2, 0);
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 10, 1, 50));
  EXPECT_EQ(clk_fake::server_calls, 2);
  EXPECT_EQ(clock_notes(), 0);
}

TEST_F(ClkSrv, DriftIsNotedOnTheClockStack) {
  arm(300, 5);
  clk_fake::set_local(2003, 1, 15, 10, 0, 40);
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 50);  // 20 seconds more than cached
  clk_time_mzone_diff_set(-3600L * 300);
  clktime out{};
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 11, 0, 50));  // the measured server time
  EXPECT_EQ(clock_notes(), 1);
  EXPECT_FALSE(clk_time_get_clock_flags() & CLK_SYNC_ARMED);
  EXPECT_TRUE(clk_time_get_clock_flags() & CLK_SYNC_DRIFTED);
  EXPECT_EQ(core_alert_codes().size(), 0u);  // nothing on the current stack yet
  EXPECT_EQ(clk_time_synch(), CLK_DRIFT);
  EXPECT_EQ(core_alert_texts().back(), "NOTE: the client clock has drifted 20 seconds from the server clock.\n");
  EXPECT_EQ(clock_notes(), 0);
}

TEST_F(ClkSrv, ResetClockIsNoted) {
  arm(300, 5);
  clktime out{};
  clk_fake::set_local(2003, 1, 15, 10, 0, 40);
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 30);
  ASSERT_EQ(clk_time_get(&out), 0);  // re-measured: flags 1 and 2 cleared
  clk_fake::set_local(2003, 1, 15, 9, 0, 0);  // the local clock went back
  clk_fake::server = clk_at(2003, 1, 15, 10, 1, 0);
  clk_time_mzone_diff_set(60L * 300);
  ASSERT_EQ(clk_time_get(&out), 0);
  expect_time(out, clk_at(2003, 1, 15, 10, 0, 0));  // the server's time
  EXPECT_FALSE(clk_time_get_clock_flags() & CLK_SYNC_ARMED);
  EXPECT_EQ(clk_time_synch(), CLK_RESET);
  EXPECT_EQ(core_alert_texts().back(), "NOTE: the client clock appears to have been reset.\n");
}

TEST_F(ClkSrv, SpecificDatabaseSwitchesConnectionAndMasterDifference) {
  int conn_a = 0, conn_b = 0;
  clk_fake::connection = &conn_a;
  clk_fake::gmt_diff = 7200;
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 0);
  clk_fake::set_local(2003, 1, 15, 10, 0, 3);
  clktime out{};
  ASSERT_EQ(clk_time_get_spec_db(&conn_a, &out), 0);  // already current: no switch
  EXPECT_TRUE(clk_fake::set_conns.empty());
  expect_time(out, clk_at(2003, 1, 15, 10, 0, 0));
  ASSERT_EQ(clk_time_get_spec_db(&conn_b, &out), 0);
  ASSERT_EQ(clk_fake::set_conns.size(), 1u);
  EXPECT_EQ(clk_fake::set_conns[0], &conn_b);
  EXPECT_EQ(clk_time_mzone_diff_get(), 7200L * 300);
  expect_time(out, clk_at(2003, 1, 15, 8, 0, 0));
  long client = 0;
  ASSERT_EQ(clk_time_master_client_diff(&client, nullptr), 0);
  EXPECT_EQ(client, -3);
}

TEST_F(ClkSrv, SpecificDatabaseWithoutTheAdapterFails) {
  int conn = 0;
  clk_seam_reset();
  clktime out{7, 7};
  EXPECT_EQ(clk_time_get_spec_db(&conn, &out), CLK_SEAM_MISSING);
  EXPECT_NE(core_alert_texts().back().find("adp_db_set_conn"), std::string::npos);
  EXPECT_EQ(out.day, 7);
}

TEST_F(ClkSrv, MasterClientDiffMeasuresWhenNothingIsCached) {
  clk_fake::server = clk_at(2003, 1, 15, 10, 0, 0);
  clk_fake::set_local(2003, 1, 15, 9, 59, 50);
  clk_time_mzone_diff_set(120L * 300);
  long client = 0, mc = 0;
  ASSERT_EQ(clk_time_master_client_diff(&client, &mc), 0);
  EXPECT_EQ(client, 10);
  EXPECT_EQ(mc, -(10 - 120));
  EXPECT_EQ(clk_fake::server_calls, 1);
  ASSERT_EQ(clk_time_master_client_diff(nullptr, nullptr), 0);
  EXPECT_EQ(clk_fake::server_calls, 1);
}

}  // namespace
