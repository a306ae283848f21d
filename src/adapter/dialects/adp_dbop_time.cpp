#include "adapter/dialects/adp_dbop_time.h"

#include <cstdio>
#include <cstring>

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

namespace {

// The two digits at p as a number, or -1.
long two_digits(const char* p) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return digit(p[0]) && digit(p[1]) ? (p[0] - '0') * 10 + (p[1] - '0') : -1;
}

// A text in the form a server hands dates over, "MM/DD/YYYY HH:MI:SS", read
// straight into the clock time with the checks of the general reader;
// false for any other form or a value it would refuse (that reader then
// answers, with its alerts).
bool read_fixed_form(const char* t, clktime* out) {
  constexpr size_t kLength = 19;
  if (std::strlen(t) != kLength || t[2] != '/' || t[5] != '/' || t[10] != ' ' || t[13] != ':' || t[16] != ':')
    return false;
  const long month = two_digits(t) - 1, day = two_digits(t + 3), century = two_digits(t + 6),
             years = two_digits(t + 8), hour = two_digits(t + 11), minute = two_digits(t + 14),
             second = two_digits(t + 17);
  if (century < 0 || years < 0 || hour < 0 || minute < 0 || second < 0) return false;
  const long year = clk_time_adjust_dateyear(century * 100 + years);
  if (month < 0 || month > 11 || day < 1 || day > clk_time_month_days(year, month) || hour > 23 || minute > 59 ||
      second > 59 || year > CLK_MAX_YEAR)
    return false;
  out->day = clk_time_day_of(year, clk_time_days_before(year, month) + day);
  out->ticks = ((hour * 60 + minute) * 60 + second) * CLK_TICKS_PER_SEC;
  return true;
}

}  // namespace

long adp_dbop_read_text(const char* text, clktime* out, const char* proc) {
  if (text != nullptr && read_fixed_form(text, out)) return 0;
  clk_ty_cmp cmp{};
  if (text == nullptr || clk_time_clksstr_to_cmp(text, &cmp, 0) != 0) {
    long rc = cmn_alrt_push(nullptr, proc, ADP_BAD_DATE_TEXT, 0);
    return rc != 0 ? rc : ADP_BAD_DATE_TEXT;
  }
  return clk_time_cmp_to_time_adj(0, &cmp, out);
}
