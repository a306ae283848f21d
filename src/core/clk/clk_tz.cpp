// Zone records, daylight periods, conversion between zones and the
// client/server adjustment.
#include <cstdlib>
#include <initializer_list>

#include "core/clk/clk_seam.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"

namespace {

constexpr long kHalfHour = 540000;  // ticks
constexpr long kServerType64 = 64;

clk_ty_tz g_server{};
clk_ty_tz g_site{};
clk_ty_server_tz_proc g_server_proc = nullptr;

// Client/server adjustment.
clk_ty_tz* g_server_tz = nullptr;
clk_ty_tz* g_master_tz = nullptr;
clk_ty_tz* g_client_tz = nullptr;
bool g_adjust_client = true;
long g_zone_diff = 0;       // ticks
long g_mzone_diff = 0;      // ticks
long g_mzone_neg_secs = 0;  // -(master difference) in seconds

long make_col(utl_ty_col** col) {
  if (*col != nullptr) return 0;
  return utl_col_make("clk_tz_init_tz_info", CLK_TYP_TIME, 10, 10, 0, 0, col);
}

void free_col(utl_ty_col** col) {
  if (*col != nullptr) utl_col_free("clk_tz", *col);
  *col = nullptr;
}

// Instants of the collection at or before time, scanned from the start.
long count_upto(utl_ty_col* col, const clktime* time) {
  long n = 0, count = 0;
  utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(col, i, &e) != 0 || clk_time_cmp(e, time) > 0) break;
    ++count;
  }
  return count;
}

const clk_ty_tz* or_server(const clk_ty_tz* zone) { return zone != nullptr ? zone : &g_server; }

bool has_dlight(const clk_ty_tz* zone) { return zone->dl_starts != nullptr && zone->dl_ends != nullptr; }

}  // namespace

long clk_tz_init() {
  cmn_ty_type_info info{};
  cmn_typ_init_info(&info);
  info.convert = cmn_typ_proc(clk_tz_convert_time_zone);
  if (long st = cmn_typ_install_info(CLK_TYP_TZ_TIME, &info)) return st;
  clk_tz_release();
  g_server = clk_ty_tz{};
  g_site = clk_ty_tz{};
  return 0;
}

long clk_tz_release() {
  free_col(&g_server.dl_starts);
  free_col(&g_server.dl_ends);
  free_col(&g_site.dl_starts);
  free_col(&g_site.dl_ends);
  return 0;
}

long clk_tz_init_tz_info() {
  if (g_server.dl_starts != nullptr && g_server.dl_ends != nullptr) return 0;
  for (utl_ty_col** col : {&g_server.dl_starts, &g_server.dl_ends, &g_site.dl_starts, &g_site.dl_ends})
    if (long st = make_col(col)) return st;
  return g_server_proc != nullptr ? g_server_proc(&g_server) : 0;
}

long clk_tz_reg_db_server_tz_proc(clk_ty_server_tz_proc proc) {
  g_server_proc = proc;
  return 0;
}

long clk_tz_set_time_zone(const clk_ty_tz* record) {
  if (long st = clk_tz_init_tz_info()) return st;
  g_site.zone_word = record->zone_word;
  g_site.gmt_offset = record->gmt_offset;
  utl_ty_col* cols[2][2] = {{record->dl_starts, nullptr}, {record->dl_ends, nullptr}};
  for (auto& c : cols) {
    long st = c[0] != nullptr ? utl_col_copy("clk_tz_set_time_zone", c[0], &c[1]) : make_col(&c[1]);
    if (st != 0) {
      free_col(&cols[0][1]);
      return st;
    }
  }
  free_col(&g_site.dl_starts);
  free_col(&g_site.dl_ends);
  g_site.dl_starts = cols[0][1];
  g_site.dl_ends = cols[1][1];
  return 0;
}

long clk_tz_get_server_tz(clk_ty_tz** out) {
  if (long st = clk_tz_init_tz_info()) return st;
  *out = &g_server;
  return 0;
}

long clk_tz_get_site_tz(clk_ty_tz** out) {
  if (long st = clk_tz_init_tz_info()) return st;
  *out = &g_site;
  return 0;
}

long clk_tz_normal_dlight(const clk_ty_tz* zone, long shift, const clktime* time, clktime* out) {
  if (long st = clk_tz_init_tz_info()) return st;
  clktime t = *time;
  if (zone != nullptr && has_dlight(zone)) {
    long count = count_upto(zone->dl_ends, time) - count_upto(zone->dl_starts, time);
    if (count != 0) clk_time_add(&t, count * shift, &t);
  }
  *out = t;
  return 0;
}

long clk_tz_convert_clk_time(long flags, const clk_ty_tz* source, const clktime* time, const clk_ty_tz* target,
                             clktime* out) {
  if (long st = clk_tz_init_tz_info()) return st;
  // A copy of the source that carries the daylight instants to use.
  clk_ty_tz src = *or_server(source);
  if (!has_dlight(&src)) {
    src.dl_starts = g_server.dl_starts;
    src.dl_ends = g_server.dl_ends;
  }
  const clk_ty_tz* dst = or_server(target);
  if (clk_time_is_null(*time)) {
    *out = *time;
    return 0;
  }
  clktime t = *time;
  if (!(flags & 1))
    if (long st = clk_tz_normal_dlight(&src, 3600, &t, &t)) return st;
  clk_time_add(&t, dst->gmt_offset - src.gmt_offset, &t);
  if (!(flags & 2))
    if (long st = clk_tz_normal_dlight(dst, -3600, &t, &t)) return st;
  *out = t;
  return 0;
}

long clk_tz_convert_col_clk_time(long flags, const clk_ty_tz* source, utl_ty_col* times, const clk_ty_tz* target,
                                 utl_ty_col* out) {
  if (long st = clk_tz_init_tz_info()) return st;
  if (long st = utl_col_reset(out)) return st;
  long n = 0;
  if (long st = utl_col_num(times, &n)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    clktime t{};
    if (long st = utl_col_ith(times, i, &e)) return st;
    if (long st = clk_tz_convert_clk_time(flags, source, static_cast<const clktime*>(e), target, &t)) return st;
    if (long st = utl_col_push(out, &t, nullptr)) return st;
  }
  return 0;
}

long clk_tz_time_add(long flags, const clk_ty_tz* zone, const clktime* time, long seconds, clktime* out) {
  if (long st = clk_tz_init_tz_info()) return st;
  const clk_ty_tz* z = or_server(zone);
  clktime t = *time;
  if (!(flags & 1))
    if (long st = clk_tz_normal_dlight(z, 3600, &t, &t)) return st;
  clk_time_add(&t, seconds, &t);
  if (!(flags & 2))
    if (long st = clk_tz_normal_dlight(z, -3600, &t, &t)) return st;
  *out = t;
  return 0;
}

long clk_tz_time_diff(long flags, const clk_ty_tz* zone, const clktime* a, const clktime* b, long* seconds) {
  if (long st = clk_tz_init_tz_info()) return st;
  const clk_ty_tz* z = or_server(zone);
  clktime x = *a, y = *b;
  if (!(flags & 1))
    if (long st = clk_tz_normal_dlight(z, 3600, &x, &x)) return st;
  if (!(flags & 2))
    if (long st = clk_tz_normal_dlight(z, 3600, &y, &y)) return st;
  return clk_time_diff(&x, &y, seconds);
}

long clk_time_zone_round(long ticks) {
  long q = ticks / kHalfHour, r = ticks % kHalfHour;
  if (r > kHalfHour / 2) ++q;
  else if (r < -kHalfHour / 2) --q;
  return q * kHalfHour;
}

long clk_time_server_master_tz_set(clk_ty_tz* server, clk_ty_tz* master, long flags) {
  g_server_tz = server;
  g_master_tz = master;
  if (flags & 1) g_adjust_client = false;
  return 0;
}

long clk_time_client_tz_set(clk_ty_tz* client) {
  g_client_tz = client;
  return 0;
}

long clk_time_set_adjust_client(long on) {
  g_adjust_client = on != 0;
  return 0;
}

long clk_time_get_adjust_client() { return g_adjust_client ? 1 : 0; }

long clk_time_zone_diff_set(long ticks) {
  g_zone_diff = ticks;
  return 0;
}

long clk_time_zone_diff_get() { return g_zone_diff; }

long clk_time_mzone_diff_set(long ticks) {
  g_mzone_diff = ticks;
  g_mzone_neg_secs = -(ticks / CLK_TICKS_PER_SEC);
  return 0;
}

long clk_time_mzone_diff_get() { return g_mzone_diff; }

long clk_time_mzone_neg_secs() { return g_mzone_neg_secs; }

long clk_time_adjust_reset() {
  g_server_tz = g_master_tz = g_client_tz = nullptr;
  g_adjust_client = true;
  g_zone_diff = 0;
  clk_time_mzone_diff_set(0);
  return 0;
}

long clk_time_adjust_to_client(clktime* time) {
  if (!g_adjust_client || clk_time_is_null(*time)) return 0;
  if (clk_seam_server_type() == kServerType64) {
    if (g_master_tz != nullptr && g_client_tz != nullptr)
      return clk_tz_convert_clk_time(0, g_master_tz, time, g_client_tz, time);
    return 0;
  }
  if (g_master_tz != nullptr && g_server_tz != nullptr) {
    if (long st = clk_tz_convert_clk_time(1, g_master_tz, time, g_server_tz, time)) return st;
  } else {
    clk_time_add_ticks(time, g_mzone_diff);
  }
  clk_time_add_ticks(time, g_zone_diff);
  return 0;
}

long clk_time_adjust_to_server(clktime* time) {
  if (!g_adjust_client || clk_time_is_null(*time)) return 0;
  if (clk_seam_server_type() == kServerType64) {
    if (g_master_tz != nullptr && g_client_tz != nullptr)
      return clk_tz_convert_clk_time(0, g_client_tz, time, g_master_tz, time);
    return 0;
  }
  clk_time_add_ticks(time, -g_zone_diff);
  if (g_master_tz != nullptr && g_server_tz != nullptr)
    return clk_tz_convert_clk_time(2, g_server_tz, time, g_master_tz, time);
  clk_time_add_ticks(time, -g_mzone_diff);
  return 0;
}
