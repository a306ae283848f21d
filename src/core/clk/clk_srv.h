// The server clock: the current time of the CRM stack is the database
// server's. clk_time_get asks the database each time unless synchronisation
// has been armed (clk_time_synch); then it reads the local clock and adds a
// cached client/server difference, re-measured at an interval and compared
// for drift. Notes of drift and reset wait on the clock's own alert stack
// until clk_time_synch moves them to the current stack.
//
// Threads: not safe from several threads: the synchronisation state, the cached
// difference and the clock's alert stack are process-wide and unguarded.
#pragma once

#include "core/clk/clk_time.h"
#include "orb_api.h"

// Mode flags.
constexpr long CLK_SYNC_DUE1 = 1;     // mode 1 re-measurement due
constexpr long CLK_SYNC_MODE2 = 2;    // mode 2: compare with the last synchronisation
constexpr long CLK_SYNC_ARMED = 4;    // local clock in use
constexpr long CLK_SYNC_CACHED = 8;   // difference cached
constexpr long CLK_SYNC_DRIFTED = 16; // drift noted

constexpr long CLK_SYNC_INTERVAL = 300;  // seconds
constexpr long CLK_SYNC_TOLERANCE = 5;   // seconds

struct cmn_ty_alert_stack;

ORB_API long clk_time_set_clock_mode(long mode, long interval, long tolerance);
ORB_API long clk_time_get_clock_mode(long* mode, long* interval, long* tolerance);
long clk_time_get_clock_flags();
// The clock's own alert stack (null until the mode is first set).
cmn_ty_alert_stack* clk_time_alert_stack();
// Arms synchronisation and moves the clock's notes to the current stack;
// the code of the last note moved, 0 when none.
ORB_API long clk_time_synch();
// Measures: local and server time now and their difference in ticks
// (local - server); #13 when more than a day (and half an hour) apart.
ORB_API long clk_time_diff_get(clktime* local, clktime* server, long* diff_ticks);
// Caches -(seconds) as the difference server - local.
ORB_API long clk_time_diff_cache_set(long seconds);
ORB_API long clk_time_get_option(long force_local, clktime* out);
ORB_API long clk_time_get(clktime* out);
ORB_API long clk_time_get_spec_db(void* connection, clktime* out);
ORB_API long clk_time_master_client_diff(long* client_diff, long* master_client_diff);
// Puts the module state back to its start (mode none, nothing cached).
ORB_API long clk_time_srv_reset();
