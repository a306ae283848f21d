// Server time, date texts through the dialect, the day-month-year text, and
// the clock's adapter slots.
#include "adapter/adp_time.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"

namespace {

// The current connection's dialect, or the failure's code.
long current_dialect(KAdpDbOperation** op) {
  KAdpConnId* con = adp_db_get_conn();
  if (long st = adp_db_check_conn(con)) return st;
  *op = con->GetDbOperation();
  if (*op == nullptr) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_DB_ERROR, 2, "No SQL dialect for date text: ", "adp_time");
    return rc != 0 ? rc : ADP_DB_ERROR;
  }
  return 0;
}

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

long seam_sqr_str_convert(const char* text, char* out, long size) {
  char buf[CLK_TEXT_SIZE];
  if (long st = adp_time_sqr_str_convert(text, buf)) return st;
  if (out != nullptr && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s", buf);
  return 0;
}

void* seam_get_conn() { return adp_db_get_conn(); }
long seam_set_conn(void* con) { return adp_db_set_conn(static_cast<KAdpConnId*>(con)); }
long seam_gmt_diff(void* con) { return adp_db_get_gmt_diff(static_cast<KAdpConnId*>(con)); }

}  // namespace

long adp_time_get(clktime* out) {
  KAdpConnId* con = adp_db_get_conn();
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbSvrTime(out);
}

long adp_time_clk_to_str(const clktime* time, char* out) {
  KAdpDbOperation* op = nullptr;
  if (long st = current_dialect(&op)) return st;
  return op->AdpTimeClkToStr(time, out);
}

long adp_time_str_to_clk(const char* text, clktime* out) {
  KAdpDbOperation* op = nullptr;
  if (long st = current_dialect(&op)) return st;
  return op->AdpTimeStrToClk(text, out);
}

long adp_time_sqr_str_convert(const char* in, char* out) {
  if (in == nullptr || in[0] == '\0' || std::strcmp(in, "all") == 0) {
    std::strcpy(out, in != nullptr ? in : "");
    return 0;
  }
  clktime t{};
  if (long st = adp_time_str_to_clk(in, &t)) return st;
  char text[CLK_TEXT_SIZE];
  if (long st = clk_time_clk_to_sstr_option(4, &t, text, sizeof text)) return st;
  const char* slash = std::strchr(text, '/');
  if (slash == nullptr) return 0;
  long month = std::strtol(text, nullptr, 10);
  char abbrev[4] = "";
  if (month >= 1 && month <= 12) std::snprintf(abbrev, sizeof abbrev, "%.3s", kMonths[month - 1]);
  long day = std::strtol(slash + 1, nullptr, 10);
  const char* second = std::strchr(slash + 1, '/');
  if (second == nullptr) return 0;
  long year = std::strtol(second + 1, nullptr, 10);
  std::snprintf(out, CLK_TEXT_SIZE, " %ld-%3s-%ld", day, abbrev, year);
  return 0;
}

long adp_time_install_clock() {
  clk_ty_seams procs{};
  procs.time_get = adp_time_get;
  procs.db_get_conn = seam_get_conn;
  procs.db_set_conn = seam_set_conn;
  procs.db_get_gmt_diff = seam_gmt_diff;
  procs.sqr_str_convert = seam_sqr_str_convert;
  procs.str_to_clk = adp_time_str_to_clk;
  return clk_seam_install(&procs);
}
