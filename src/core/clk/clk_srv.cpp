// The server clock.
#include <cstdarg>
#include <cstdlib>
#include <ctime>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kWindow = 26460000;  // 24 hours 30 minutes, in ticks

long g_mode = 0;
long g_interval = 0;
long g_tolerance = 0;
long g_flags = 0;
cmn_ty_alert_stack* g_stack = nullptr;
long g_cached = 0;      // server - local, seconds
long g_last_read = 0;   // local clock, seconds
long g_last_synch = 0;  // local clock, seconds

long seconds_of(const clktime& t) { return t.day * CLK_SECS_PER_DAY + t.ticks / CLK_TICKS_PER_SEC; }

long make_stack() {
  return g_stack != nullptr ? 0 : cmn_alrt_new(10, &g_stack);
}

void note(long code, ...) {
  if (make_stack() != 0) return;
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(g_stack, "clk_time_get_option", code, 0, args);
  va_end(args);
}

// Local wall-clock time now as a clock time (no adjustment).
long local_now(clktime* out) {
  struct tm t{};
  if (long st = clk_seam_local_time(&t)) return st;
  clk_ty_cmp c{};
  c.year = t.tm_year + 1900L;
  c.yday = t.tm_yday + 1L;
  c.hour = t.tm_hour;
  c.minute = t.tm_min;
  c.second = t.tm_sec;
  return clk_time_cmp_to_time_adj(0, &c, out);
}

long plus_master(clktime* t) { return clk_time_add(t, clk_time_mzone_neg_secs(), t); }

}  // namespace

long clk_time_set_clock_mode(long mode, long interval, long tolerance) {
  if (long st = make_stack()) return st;
  g_flags &= CLK_SYNC_CACHED;
  if (mode == 1 || mode == 2) {
    g_interval = interval < 1 ? CLK_SYNC_INTERVAL : interval;
    g_tolerance = tolerance < 1 ? CLK_SYNC_TOLERANCE : tolerance;
    g_flags |= mode == 1 ? CLK_SYNC_DUE1 : CLK_SYNC_MODE2;
  } else {
    g_interval = g_tolerance = 0;
  }
  g_mode = mode;
  return 0;
}

long clk_time_get_clock_mode(long* mode, long* interval, long* tolerance) {
  if (mode != nullptr) *mode = g_mode;
  if (interval != nullptr) *interval = g_interval;
  if (tolerance != nullptr) *tolerance = g_tolerance;
  return 0;
}

long clk_time_get_clock_flags() { return g_flags; }

cmn_ty_alert_stack* clk_time_alert_stack() { return g_stack; }

long clk_time_synch() {
  if (g_mode == 1) g_flags |= CLK_SYNC_DUE1 | CLK_SYNC_ARMED;
  else if (g_mode == 2) g_flags |= CLK_SYNC_MODE2 | CLK_SYNC_ARMED;
  if (g_stack == nullptr) return 0;
  long n = 0, last = 0;
  cmn_alrt_num(g_stack, &n);
  for (long i = 0; i < n; ++i) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_ith(g_stack, i, &code, &text);
    cmn_alrt_push_msg(nullptr, code, text);
    last = code;
  }
  cmn_alrt_clear(g_stack);
  return last;
}

long clk_time_diff_get(clktime* local, clktime* server, long* diff_ticks) {
  clktime s{}, l{};
  if (long st = clk_seam_time_get(&s)) return st;
  if (long st = local_now(&l)) return st;
  long diff = l.ticks - s.ticks;
  if (l.day == s.day + 1) diff += CLK_TICKS_PER_DAY;
  else if (l.day == s.day - 1) diff -= CLK_TICKS_PER_DAY;
  else if (l.day != s.day) diff = kWindow + 1;
  if (diff > kWindow || diff < -kWindow) return clk_alrt("clk_time_diff_get", CLK_CLOCKS_APART);
  if (local != nullptr) *local = l;
  if (server != nullptr) *server = s;
  if (diff_ticks != nullptr) *diff_ticks = diff;
  return 0;
}

long clk_time_diff_cache_set(long seconds) {
  g_cached = -seconds;
  g_flags |= CLK_SYNC_CACHED;
  return 0;
}

long clk_time_get_option(long force_local, clktime* out) {
  if (force_local && !(g_flags & CLK_SYNC_CACHED))
    return clk_alrt("clk_time_get_option", CLK_NOT_CACHED, "clk_time_get_option");
  clktime local{}, server{};
  long diff = 0;
  if (!force_local && (g_mode == 0 || !(g_flags & CLK_SYNC_ARMED))) {
    if (long st = clk_time_diff_get(&local, &server, &diff)) return st;
    clk_time_diff_cache_set(diff / CLK_TICKS_PER_SEC);
    *out = server;
    return plus_master(out);
  }
  clktime now_t{};
  if (long st = local_now(&now_t)) return st;
  long now = seconds_of(now_t);
  bool due = now < g_last_read || now > g_last_read + g_interval || (g_flags & CLK_SYNC_DUE1) ||
             ((g_flags & CLK_SYNC_MODE2) && (now < g_last_synch || now > g_last_synch + g_interval));
  if (!force_local && due) {
    if (!(g_flags & (CLK_SYNC_DUE1 | CLK_SYNC_MODE2))) {
      note(CLK_RESET);
      g_flags &= ~CLK_SYNC_ARMED;
      if (long st = clk_seam_time_get(out)) return st;
      return plus_master(out);
    }
    g_last_read = now;
    if (long st = clk_time_diff_get(&local, &server, &diff)) return st;
    long measured = -(diff / CLK_TICKS_PER_SEC);
    long drift = measured - g_cached;
    if ((g_flags & CLK_SYNC_CACHED) && !(g_flags & CLK_SYNC_DRIFTED) && std::labs(drift) > g_tolerance) {
      note(CLK_DRIFT, drift);
      g_flags |= CLK_SYNC_DRIFTED;
      g_flags &= ~CLK_SYNC_ARMED;
      *out = server;
      return plus_master(out);
    }
    clk_time_diff_cache_set(diff / CLK_TICKS_PER_SEC);
    g_last_synch = seconds_of(local);
    g_flags &= ~(CLK_SYNC_DUE1 | CLK_SYNC_MODE2 | CLK_SYNC_DRIFTED);
  } else {
    g_flags &= ~(CLK_SYNC_DUE1 | CLK_SYNC_MODE2);
  }
  if (long st = local_now(&now_t)) return st;
  clk_time_add(&now_t, g_cached, &now_t);
  *out = now_t;
  return plus_master(out);
}

long clk_time_get(clktime* out) { return clk_time_get_option(0, out); }

long clk_time_get_spec_db(void* connection, clktime* out) {
  if (clk_seam_db_get_conn() != connection) {
    if (long st = clk_seam_db_set_conn(connection)) return st;
    long gmt = 0;
    if (long st = clk_seam_db_get_gmt_diff(connection, &gmt)) return st;
    clk_time_mzone_diff_set(gmt * CLK_TICKS_PER_SEC);
    long diff = 0;
    if (long st = clk_time_diff_get(nullptr, nullptr, &diff)) return st;
    clk_time_diff_cache_set(diff / CLK_TICKS_PER_SEC);
  }
  return clk_time_get(out);
}

long clk_time_master_client_diff(long* client_diff, long* master_client_diff) {
  if (!(g_flags & CLK_SYNC_CACHED)) {
    long diff = 0;
    if (long st = clk_time_diff_get(nullptr, nullptr, &diff)) return st;
    clk_time_diff_cache_set(diff / CLK_TICKS_PER_SEC);
  }
  if (client_diff != nullptr) *client_diff = g_cached;
  if (master_client_diff != nullptr) *master_client_diff = -(g_cached + clk_time_mzone_neg_secs());
  return 0;
}

long clk_time_srv_reset() {
  g_mode = g_interval = g_tolerance = g_flags = 0;
  g_cached = g_last_read = g_last_synch = 0;
  if (g_stack != nullptr) cmn_alrt_clear(g_stack);
  return 0;
}
