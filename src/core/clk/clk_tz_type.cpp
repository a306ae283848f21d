// Type 677: a clock time shown in the site's zone.
#include "core/clk/clk_msg.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_type.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_time.h"

namespace {

bool is_text(long type) { return type == CMN_TYP_CHAR || type == CMN_TYP_CHAR_P; }
bool is_clock(long type) {
  return type == CLK_TYP_TIME || type == CLK_TYP_TIME_INF || type == CLK_TYP_TZ_TIME;
}

long inf_convert(long src_type, void* src, long dst_type, void* dst, long dst_size, long* allocated) {
  // Type 698 knows 609 and 698 only; a 677 clock is a 609 clock.
  if (src_type == CLK_TYP_TZ_TIME) src_type = CLK_TYP_TIME;
  if (dst_type == CLK_TYP_TZ_TIME) dst_type = CLK_TYP_TIME;
  return clk_time_inf_convert(CLK_TYP_TIME_INF, src_type, src, dst_type, dst, dst_size, allocated);
}

long clock_to_text(const clk_ty_tz* site, const clktime* time, void* dst, long dst_size, long* allocated) {
  clktime t = *time;
  long st = 0;
  auto* out = static_cast<char*>(clk_type_storage(dst, CLK_TEXT_SIZE, dst_size, CMN_TYP_CHAR_P, allocated, &st));
  if (out == nullptr) return st;
  long size = dst_size < CLK_TEXT_SIZE ? CLK_TEXT_SIZE : dst_size;
  if (clk_time_is_null(t)) return clk_time_clk_to_str(&t, out, size);
  // The process's own zone, measured from the system clock.
  osl_ty_client_tz own{};
  osl_time_get_client_tz(&own);
  clk_ty_tz from{0, own.gmt_offset, nullptr, nullptr, own.name};
  long flags = clk_time_mzone_diff_get() > 0 ? 1 : 0;
  if (long s = clk_tz_convert_clk_time(flags, site->zone_word == 0 ? &from : nullptr, &t, site, &t)) return s;
  return clk_time_clk_to_str_option(site->zone_word != 0 ? 4 : 5, &t, out, size);
}

long text_to_clock(const clk_ty_tz* site, const char* text, void* dst, long dst_size, long* allocated) {
  clktime t{};
  if (long st = clk_time_inf_str_to_clk_adj(0, text, &t)) return st;
  clk_ty_tz* server = nullptr;
  if (long st = clk_tz_get_server_tz(&server)) return st;
  if (!clk_time_is_far(t) && site->gmt_offset != server->gmt_offset)
    if (long st = clk_tz_convert_clk_time(0, site, &t, server, &t)) return st;
  long st = 0;
  auto* out = static_cast<clktime*>(clk_type_storage(dst, sizeof(clktime), dst_size, CLK_TYP_TIME, allocated, &st));
  if (out == nullptr) return st;
  *out = t;
  return 0;
}

}  // namespace

long clk_tz_convert_time_zone(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                              long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  clk_ty_tz* site = nullptr;
  if (long st = clk_tz_get_site_tz(&site)) return st;
  bool plain = (site->zone_word & 1) != 0;
  if (is_clock(src_type) && dst_type == CMN_TYP_CHAR_P) {
    const auto* t = static_cast<const clktime*>(src);
    if (plain || clk_time_is_far(*t)) return inf_convert(src_type, src, dst_type, dst, dst_size, allocated);
    return clock_to_text(site, t, dst, dst_size, allocated);
  }
  if (is_text(src_type) && is_clock(dst_type)) {
    const char* text = clk_type_text_of(src);
    if (plain || text[0] == '*') return inf_convert(src_type, src, dst_type, dst, dst_size, allocated);
    return text_to_clock(site, text, dst, dst_size, allocated);
  }
  return clk_alrt("clk_tz_convert_time_zone", CLK_NO_CONVERSION, src_type, dst_type, conv);
}
