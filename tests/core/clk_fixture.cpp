#include "core/clk_fixture.h"

#include <cstdio>
#include <cstring>

#include "core/clk/clk_loc.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"

clktime clk_fake::server{};
long clk_fake::server_calls = 0;
long clk_fake::server_status = 0;
struct tm clk_fake::local{};
long clk_fake::server_type = 0;
void* clk_fake::connection = nullptr;
long clk_fake::gmt_diff = 0;
std::vector<void*> clk_fake::set_conns;

void clk_start() {
  static bool started = false;
  if (started) return;
  started = true;
  core_start_utl();
  ASSERT_EQ(clk_main_init(), 0);
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

const char* const kMonths[12] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                                 "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};

char g_loc_buf[129];

long us_datetime(const struct tm* t, long kind, const char** text) {
  struct tm c = *t;
  c.tm_year -= 1900;  // the region's writer takes the full year
  std::strftime(g_loc_buf, sizeof g_loc_buf, kind == 1 ? "%m/%d/%Y" : "%m/%d/%Y %H:%M:%S", &c);
  *text = g_loc_buf;
  return 0;
}

// Numbers as typed; parts not given keep their "not given" values.
long us_str_to_time(const char* text, long kind, clk_ty_loc_parts* p) {
  int m = 0, d = 0, y = 0, hh = 0, mm = 0, ss = 0;
  int n = std::sscanf(text, "%d/%d/%d %d:%d:%d", &m, &d, &y, &hh, &mm, &ss);
  if (n >= 1) p->month = m - 1;
  if (n >= 2) p->day = d;
  if (n >= 3) p->year = y;
  if (kind != 1) {
    if (n >= 4) p->hour = hh;
    if (n >= 5) p->minute = mm;
    if (n >= 6) p->second = ss;
  }
  return 0;
}

long us_unknown(char* out, long size, const char* ph, long date_only) {
  if (date_only) std::snprintf(out, static_cast<size_t>(size), "%s/%s/%s", ph, ph, ph);
  else std::snprintf(out, static_cast<size_t>(size), "%s/%s/%s %s:%s:%s", ph, ph, ph, ph, ph, ph);
  return 0;
}

const char* us_month(long m) { return m >= 0 && m < 12 ? kMonths[m] : nullptr; }

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

void clk_install_us_locale() {
  clk_ty_loc_procs p{us_datetime, us_str_to_time, us_unknown, us_month};
  clk_loc_install(&p);
}

void clk_test::SetUp() {
  clk_start();
  clk_seam_reset();
  clk_loc_reset();
  clk_time_adjust_reset();
  clk_time_srv_reset();
  clk_time_set_clock_mode(2, 0, 0);
  clk_tz_reg_db_server_tz_proc(nullptr);
  clk_tz_init();
  clk_install_us_locale();
  clk_fake::install();
  cmn_alrt_clear(nullptr);
}

void clk_test::TearDown() {
  clk_tz_release();
  cmn_alrt_clear(nullptr);
}

std::vector<std::string> clk_alert_texts() {
  std::vector<std::string> out;
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  for (long i = 0; i < n; ++i) {
    const char* text = nullptr;
    cmn_alrt_ith(nullptr, i, nullptr, &text);
    out.emplace_back(text != nullptr ? text : "");
  }
  return out;
}

std::vector<long> clk_alert_codes() {
  std::vector<long> out;
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  for (long i = 0; i < n; ++i) {
    long code = 0;
    cmn_alrt_ith(nullptr, i, &code, nullptr);
    out.push_back(code);
  }
  return out;
}

const char** clk_text_cell(const char* text) {
  static const char* cell = nullptr;
  cell = text;
  return &cell;
}
