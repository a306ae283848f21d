#include "core/clk_fixture.h"

#include <cstdio>
#include <cstring>

#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/loc/loc_num.h"
#include "core/loc/loc_reg.h"
#include "core/osl/osl_loc.h"

clktime clk_fake::server{};
long clk_fake::server_calls = 0;
long clk_fake::server_status = 0;
struct tm clk_fake::local{};
long clk_fake::server_type = 0;
void* clk_fake::connection = nullptr;
long clk_fake::gmt_diff = 0;
std::vector<void*> clk_fake::set_conns;

void clk_start() {
  static long started = -1;
  if (started == core_cmn_generation()) return;
  core_start_utl();
  ASSERT_EQ(clk_main_init(), 0);
  started = core_cmn_generation();
}

clktime clk_at(long year, long month, long day, long hour, long minute, long second) {
  clk_ty_cmp c{};
  c.year = year;
  c.month = month - 1;
  c.day = day;
  c.hour = hour;
  c.minute = minute;
  c.second = second;
  clktime t{};
  EXPECT_EQ(clk_time_recalc_cmp(&c), 0);
  EXPECT_EQ(clk_time_cmp_to_time_adj(0, &c, &t), 0);
  return t;
}

namespace {

long fake_time_get(clktime* out) {
  ++clk_fake::server_calls;
  if (clk_fake::server_status != 0) {
    cmn_alrt_push_msg(nullptr, clk_fake::server_status, "adapter failed\n");
    return clk_fake::server_status;
  }
  *out = clk_fake::server;
  return 0;
}
long fake_server_type() { return clk_fake::server_type; }
void* fake_get_conn() { return clk_fake::connection; }
long fake_set_conn(void* c) {
  clk_fake::set_conns.push_back(c);
  clk_fake::connection = c;
  return 0;
}
long fake_gmt_diff(void*) { return clk_fake::gmt_diff; }
long fake_local(struct tm* out) {
  *out = clk_fake::local;
  return 0;
}

}  // namespace

void clk_fake::set_local(long year, long month, long day, long hour, long minute, long second) {
  struct tm t{};
  t.tm_year = static_cast<int>(year - 1900);
  t.tm_mon = static_cast<int>(month - 1);
  t.tm_mday = static_cast<int>(day);
  t.tm_hour = static_cast<int>(hour);
  t.tm_min = static_cast<int>(minute);
  t.tm_sec = static_cast<int>(second);
  t.tm_isdst = 0;
  timegm(&t);  // fills the day of year and weekday
  local = t;
}

void clk_fake::install() {
  server = clktime{};
  server_calls = 0;
  server_status = 0;
  server_type = 0;
  connection = nullptr;
  gmt_diff = 0;
  set_conns.clear();
  set_local(2003, 1, 15, 10, 0, 0);
  clk_ty_seams s{};
  s.server_type = fake_server_type;
  s.time_get = fake_time_get;
  s.db_get_conn = fake_get_conn;
  s.db_set_conn = fake_set_conn;
  s.db_get_gmt_diff = fake_gmt_diff;
  s.local_time = fake_local;
  clk_seam_install(&s);
}

void clk_set_us_region() {
  if (loc_reg_is_inited() == 0) {
    ASSERT_EQ(loc_reg_reset(), 0);
  }
  loc_ty_region* region = loc_reg_get_region();
  ASSERT_NE(region, nullptr);
  *region = osl_loc_us_defaults;
  std::strcpy(region->short_date, "%m/%d/%Y");
  std::strcpy(region->date_time, "%m/%d/%Y %H:%M:%S");
  loc_st_num_cache_reset();
}

void clk_test::SetUp() {
  clk_start();
  clk_seam_reset();
  clk_time_adjust_reset();
  clk_time_srv_reset();
  clk_time_set_clock_mode(2, 0, 0);
  clk_tz_reg_db_server_tz_proc(nullptr);
  clk_tz_init();
  clk_set_us_region();
  clk_fake::install();
  cmn_alrt_clear(nullptr);
}

void clk_test::TearDown() {
  clk_tz_release();
  cmn_alrt_clear(nullptr);
}

const char** clk_text_cell(const char* text) {
  static const char* cell = nullptr;
  cell = text;
  return &cell;
}
