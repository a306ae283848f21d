#include "adapter/dialects/adp_dbop_time.h"

#include <cstdio>

#include "adapter/adp_msg.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"

long adp_dbop_clk_text(const clktime* time, char* out, const char* unset_format) {
  if (long st = clk_time_clk_to_sstr_conv(time, out, CLK_TEXT_SIZE)) return st;
  if (out[0] != '?') return 0;
  const clktime unset{CLK_NULL_DAY, 0};
  clk_ty_cmp cmp{};
  if (long st = clk_time_to_cmp_adj(0, &unset, &cmp)) return st;
  std::snprintf(out, CLK_TEXT_SIZE, unset_format, cmp.month + 1, cmp.day, cmp.year, cmp.hour, cmp.minute,
                cmp.second);
  return 0;
}

long adp_dbop_read_text(const char* text, clktime* out, const char* proc) {
  clk_ty_cmp cmp{};
  if (text == nullptr || clk_time_clksstr_to_cmp(text, &cmp, 0) != 0) {
    long rc = cmn_alrt_push(nullptr, proc, ADP_BAD_DATE_TEXT, 0);
    return rc != 0 ? rc : ADP_BAD_DATE_TEXT;
  }
  return clk_time_cmp_to_time_adj(0, &cmp, out);
}
