#include "adapter/dialects/adp_dbop_mssql.h"

#include <cstring>

#include "adapter/adp_msg.h"
#include "adapter/dialects/adp_dbop_time.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kWorkSize = 100;  // working copy of a date text
constexpr int kMaxFractionDigits = 9;

}  // namespace

KAdpMssqlOperation::KAdpMssqlOperation(KAdpConnId* con) {
  KAdpMssqlOperation::Initialize();
  SetConnection(con);
}

long KAdpMssqlOperation::AdpTimeClkToStr(const clktime* time, char* out) {
  if (long st = adp_dbop_clk_text(time, out, "%.2ld/%.2ld/%ld %.2ld:%.2ld:%.2ld")) return st;
  if (std::strlen(out) >= 10 && out[2] == '/' && out[5] == '/') {
    // MM/DD/YYYY -> YYYY-MM-DD, the time of day stays.
    const char mdy[10] = {out[0], out[1], out[2], out[3], out[4], out[5], out[6], out[7], out[8], out[9]};
    const char ymd[10] = {mdy[6], mdy[7], mdy[8], mdy[9], '-', mdy[0], mdy[1], '-', mdy[3], mdy[4]};
    std::memcpy(out, ymd, sizeof ymd);
  }
  return 0;
}

long KAdpMssqlOperation::AdpTimeStrToClk(const char* text, clktime* out) {
  if (text == nullptr) {
    out->day = CLK_NULL_DAY;
    out->ticks = 0;
    return 0;
  }
  // The caller's text is left alone: the fraction is cut in the copy.
  char work[kWorkSize];
  size_t len = std::strcspn(text, ".");
  if (len >= sizeof work) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_DATE_TEXT, 0);
    return rc != 0 ? rc : ADP_BAD_DATE_TEXT;
  }
  std::memcpy(work, text, len);
  work[len] = '\0';
  long long fraction = 0, scale = 1;
  if (text[len] == '.') {
    // Digits past the ninth are worth less than a tick.
    int digits = 0;
    for (const char* p = text + len + 1; *p >= '0' && *p <= '9' && digits < kMaxFractionDigits; ++p, ++digits) {
      fraction = fraction * 10 + (*p - '0');
      scale *= 10;
    }
  }
  if (work[0] != '\0' && std::strlen(work) > 4 && work[4] == '-' && work[2] != '/') {
    if (std::strlen(work) < 10) {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_DATE_TEXT, 0);
      return rc != 0 ? rc : ADP_BAD_DATE_TEXT;
    }
    const char ymd[10] = {work[0], work[1], work[2], work[3], work[4], work[5], work[6], work[7], work[8], work[9]};
    const char mdy[10] = {ymd[5], ymd[6], '/', ymd[8], ymd[9], '/', ymd[0], ymd[1], ymd[2], ymd[3]};
    std::memcpy(work, mdy, sizeof mdy);
  }
  clktime t = *out;
  if (long st = adp_dbop_read_text(work, &t, nullptr)) return st;
  if (fraction != 0) t.ticks += static_cast<long>(fraction * CLK_TICKS_PER_SEC / scale);
  *out = t;
  return 0;
}
