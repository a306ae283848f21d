// Set-up shared by the clock's test suites: the core and the clock started,
// the locale layer's region record with US formats, and a fake adapter
// whose server time, connection and server type the tests set, with a local
// clock the tests set too.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/clk/clk_time.h"
#include "core/core_fixture.h"

// core_start_utl, then clk_main_init, once per generation (core_fixture.h).
void clk_start();

// Builds a clock time from a date and a time of day.
clktime clk_at(long year, long month, long day, long hour = 0, long minute = 0, long second = 0);

// The fake adapter and local clock.
struct clk_fake {
  static clktime server;       // what adp_time_get answers
  static long server_calls;    // adp_time_get calls
  static long server_status;   // adp_time_get's status (pushed when non-zero)
  static struct tm local;      // the local wall-clock time
  static long server_type;     // dbs_main_server_type
  static void* connection;     // adp_db_get_conn
  static long gmt_diff;        // adp_db_get_gmt_diff (seconds)
  static std::vector<void*> set_conns;  // adp_db_set_conn calls
  // Sets the local clock to a date and time.
  static void set_local(long year, long month, long day, long hour, long minute, long second);
  static void install();  // every slot of the clock's table
};

// The locale layer's region record (started when it is not) with the US
// defaults and four-digit years: "%m/%d/%Y %H:%M:%S" and "%m/%d/%Y", unknown
// dates "?/?/? ?:?:?", month names "JANUARY".."DECEMBER".
void clk_set_us_region();

// Each clock test starts with the module settings of a fresh start (adjust
// on, no zones, mode 2, empty alert stacks), the US locale and the fake
// adapter installed.
class clk_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// A text cell as the conversions take texts: it holds the text's address
// (one cell, reused by the next call).
const char** clk_text_cell(const char* text);

