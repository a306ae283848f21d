// Server time, the dialects' date texts, the day-month-year text of the query
// layer, and the start function that gives the clock its adapter calls.
#pragma once

#include "core/clk/clk_time.h"
#include "orb_api.h"

// The database server's current time through the current connection.
ORB_API long adp_time_get(clktime* out);
// Clock time <-> the current dialect's date text (out: at least
// CLK_TEXT_SIZE bytes). The text is never changed.
ORB_API long adp_time_clk_to_str(const clktime* time, char* out);
ORB_API long adp_time_str_to_clk(const char* text, clktime* out);
// " d-Mon-yyyy" of a date text; "all" and "" are copied unchanged; out holds
// at least CLK_TEXT_SIZE bytes.
ORB_API long adp_time_sqr_str_convert(const char* in, char* out);
// Fills the clock's adapter slots (server time, connection, GMT difference,
// date texts). Called by the adapter's start.
ORB_API long adp_time_install_clock();
