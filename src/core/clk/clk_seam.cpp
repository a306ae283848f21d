// The table of the clock's calls up the layers.
#include <cstdio>

#include "core/clk/clk_seam.h"
#include "core/cmn/cmn_alrt.h"

namespace {

clk_ty_seams g_seams{};
clk_ty_qry_convert_proc g_kept_convert = nullptr;

long missing(const char* call) {
  char text[160];
  std::snprintf(text, sizeof text, "No procedure is installed for '%s' (called by the clock).\n", call);
  cmn_alrt_push_msg(nullptr, CLK_SEAM_MISSING, text);
  return CLK_SEAM_MISSING;
}

template <class T>
void take(T& slot, T value) {
  if (value != nullptr) slot = value;
}

}  // namespace

long clk_seam_install(const clk_ty_seams* p) {
  if (p == nullptr) return 0;
  take(g_seams.server_type, p->server_type);
  take(g_seams.time_get, p->time_get);
  take(g_seams.db_get_conn, p->db_get_conn);
  take(g_seams.db_set_conn, p->db_set_conn);
  take(g_seams.db_get_gmt_diff, p->db_get_gmt_diff);
  take(g_seams.sqr_str_convert, p->sqr_str_convert);
  take(g_seams.str_to_clk, p->str_to_clk);
  take(g_seams.local_time, p->local_time);
  if (p->qry_install_convert != nullptr) {
    g_seams.qry_install_convert = p->qry_install_convert;
    if (g_kept_convert != nullptr) {
      clk_ty_qry_convert_proc kept = g_kept_convert;
      g_kept_convert = nullptr;
      return g_seams.qry_install_convert(kept);
    }
  }
  return 0;
}

long clk_seam_reset() {
  g_seams = clk_ty_seams{};
  g_kept_convert = nullptr;
  return 0;
}

const clk_ty_seams* clk_seam_get() { return &g_seams; }

long clk_seam_server_type() { return g_seams.server_type != nullptr ? g_seams.server_type() : 0; }

long clk_seam_time_get(clktime* out) {
  return g_seams.time_get != nullptr ? g_seams.time_get(out) : missing("adp_time_get");
}

void* clk_seam_db_get_conn() { return g_seams.db_get_conn != nullptr ? g_seams.db_get_conn() : nullptr; }

long clk_seam_db_set_conn(void* connection) {
  return g_seams.db_set_conn != nullptr ? g_seams.db_set_conn(connection) : missing("adp_db_set_conn");
}

long clk_seam_db_get_gmt_diff(void* connection, long* seconds) {
  if (g_seams.db_get_gmt_diff == nullptr) return missing("adp_db_get_gmt_diff");
  *seconds = g_seams.db_get_gmt_diff(connection);
  return 0;
}

long clk_seam_sqr_str_convert(const char* text, char* out, long size) {
  return g_seams.sqr_str_convert != nullptr ? g_seams.sqr_str_convert(text, out, size)
                                            : missing("adp_time_sqr_str_convert");
}

long clk_seam_str_to_clk(const char* text, clktime* out) {
  return g_seams.str_to_clk != nullptr ? g_seams.str_to_clk(text, out) : missing("adp_time_str_to_clk");
}

long clk_seam_qry_install_convert(clk_ty_qry_convert_proc proc) {
  if (g_seams.qry_install_convert != nullptr) return g_seams.qry_install_convert(proc);
  g_kept_convert = proc;
  return 0;
}

clk_ty_qry_convert_proc clk_seam_kept_qry_convert() { return g_kept_convert; }

long clk_seam_local_time(struct tm* out) {
  if (g_seams.local_time != nullptr) return g_seams.local_time(out);
  time_t now = time(nullptr);
  if (localtime_r(&now, out) == nullptr) return missing("localtime");
  return 0;
}
