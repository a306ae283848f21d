// Registry types of the clock and their procedures.
#include <cstdlib>
#include <cstring>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_type.h"
#include "core/cmn/cmn_typ.h"

namespace {

bool is_text(long type) { return type == CMN_TYP_CHAR || type == CMN_TYP_CHAR_P; }
bool is_clock(long type) { return type == CLK_TYP_TIME || type == CLK_TYP_TIME_INF; }
// A text source is passed through its cell: the cell holds the text's address.
const char* text_of(void* src) {
  const char* text = src != nullptr ? *static_cast<const char* const*>(src) : nullptr;
  return text != nullptr ? text : "";
}

long no_conversion(long conv, long src, long dst) {
  return clk_alrt("clk_time_convert", CLK_NO_CONVERSION, src, dst, conv);
}

// A clock time into text (client time) in a 160-byte buffer.
long clock_to_text(long flags, const clktime* t, void* dst, long dst_size, long* allocated) {
  long st = 0;
  auto* out = static_cast<char*>(clk_type_storage(dst, CLK_TEXT_SIZE, dst_size, CMN_TYP_CHAR_P, allocated, &st));
  if (out == nullptr) return st;
  return clk_time_clk_to_str_option(flags, t, out, dst_size < CLK_TEXT_SIZE ? CLK_TEXT_SIZE : dst_size);
}

long store_clock(const clktime& t, void* dst, long dst_size, long* allocated) {
  long st = 0;
  auto* out = static_cast<clktime*>(clk_type_storage(dst, sizeof(clktime), dst_size, CLK_TYP_TIME, allocated, &st));
  if (out == nullptr) return st;
  *out = t;
  return 0;
}

long store_long(long v, void* dst, long dst_size, long type, long* allocated) {
  long st = 0;
  auto* out = static_cast<long*>(clk_type_storage(dst, sizeof(long), dst_size, type, allocated, &st));
  if (out == nullptr) return st;
  *out = v;
  return 0;
}

long elapsed_to_text(long seconds, void* dst, long dst_size, long* allocated) {
  long st = 0;
  auto* out = static_cast<char*>(clk_type_storage(dst, CLK_ELPS_TEXT_SIZE, dst_size, CMN_TYP_CHAR_P, allocated, &st));
  if (out == nullptr) return st;
  return clk_time_elps_to_str(seconds, out, dst_size < CLK_ELPS_TEXT_SIZE ? CLK_ELPS_TEXT_SIZE : dst_size);
}

// Shared by 609 and 698: text reader chosen by the type.
long clock_convert(bool inf, long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                   long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  if (is_text(src_type) && is_clock(dst_type)) {
    clktime t{};
    long st = inf ? clk_time_inf_str_to_clk(text_of(src), &t) : clk_time_str_to_clk(text_of(src), &t);
    return st != 0 ? st : store_clock(t, dst, dst_size, allocated);
  }
  if (is_clock(src_type) && dst_type == CMN_TYP_CHAR_P)
    return clock_to_text(5, static_cast<const clktime*>(src), dst, dst_size, allocated);
  if (is_clock(src_type) && is_clock(dst_type)) return store_clock(*static_cast<const clktime*>(src), dst, dst_size, allocated);
  return no_conversion(conv, src_type, dst_type);
}

}  // namespace

const char* clk_type_text_of(void* cell) { return text_of(cell); }

void* clk_type_storage(void* dst, long need, long dst_size, long type_id, long* allocated, long* status) {
  auto** slot = static_cast<void**>(dst);
  *status = 0;
  if (slot == nullptr) {
    *status = clk_alrt("clk_type_storage", CLK_UNEXPECTED_TYPE, type_id);
    return nullptr;
  }
  if (dst_size >= need && *slot != nullptr) return *slot;
  void* block = nullptr;
  if (long st = cmn_typ_alloc("clk_type_storage", 1, &type_id, &need, &block)) {
    *status = st;
    return nullptr;
  }
  std::memset(block, 0, static_cast<size_t>(need));
  *slot = block;
  if (allocated != nullptr) *allocated = 1;
  return block;
}

long clk_time_convert(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size, long* allocated) {
  return clock_convert(false, conv, src_type, src, dst_type, dst, dst_size, allocated);
}

long clk_time_inf_convert(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                          long* allocated) {
  return clock_convert(true, conv, src_type, src, dst_type, dst, dst_size, allocated);
}

long clk_time_clk_get(void* cell, long* field_spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  long type = field_spec[CLK_SPEC_TYPE];
  const auto* t = static_cast<const clktime*>(cell);
  if (type == CMN_TYP_CHAR_P) return clock_to_text(5, t, dest, size, allocated);
  if (is_clock(type)) return store_clock(*t, dest, size, allocated);
  return clk_alrt("clk_time_clk_get", CLK_UNEXPECTED_TYPE, type);
}

long clk_time_clk_set(void* dest, long* field_spec, void* value) {
  long type = field_spec[CLK_SPEC_TYPE];
  auto* t = static_cast<clktime*>(dest);
  if (is_text(type)) return clk_time_str_to_clk(text_of(value), t);
  if (is_clock(type)) {
    *t = *static_cast<const clktime*>(value);
    return 0;
  }
  return clk_alrt("clk_time_clk_set", CLK_UNEXPECTED_TYPE, type);
}

long clk_time_clk_gaddr(void* element, void* /*reserved*/, void** address, long* field_spec) {
  *address = element;
  field_spec[CLK_SPEC_ADDR1] = 1;
  field_spec[CLK_SPEC_ADDR2] = 40;
  return 0;
}

long clk_time_print(FILE* stream, long indent, const void* element, long /*type_id*/, long /*number*/) {
  char text[CLK_TEXT_SIZE];
  const auto* t = static_cast<const clktime*>(element);
  if (clk_time_clk_to_str_option(0, t, text, sizeof text) != 0) clk_time_clk_to_sstr_option(0, t, text, sizeof text);
  std::fprintf(stream != nullptr ? stream : stdout, "%*.*sCLK_TY_TIME = %s\n", static_cast<int>(indent),
               static_cast<int>(indent), "", text);
  return 0;
}

long clk_time_elps_get(void* cell, long* field_spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  long type = field_spec[CLK_SPEC_TYPE];
  long seconds = *static_cast<const long*>(cell);
  if (type == CMN_TYP_CHAR_P) return elapsed_to_text(seconds, dest, size, allocated);
  if (type == CLK_TYP_ELAPSED) return store_long(seconds, dest, size, CLK_TYP_ELAPSED, allocated);
  return clk_alrt("clk_time_elps_get", CLK_UNEXPECTED_TYPE, type);
}

long clk_time_elps_set(void* dest, long* field_spec, void* value) {
  long type = field_spec[CLK_SPEC_TYPE];
  auto* seconds = static_cast<long*>(dest);
  if (is_text(type)) return clk_time_str_to_elps(text_of(value), seconds);
  if (type == CLK_TYP_ELAPSED) {
    *seconds = *static_cast<const long*>(value);
    return 0;
  }
  return clk_alrt("clk_time_elps_set", CLK_UNEXPECTED_TYPE, type);
}

long clk_time_elps_gaddr(void* element, void* /*reserved*/, void** address, long* field_spec) {
  *address = element;
  field_spec[CLK_SPEC_ADDR1] = 1;
  field_spec[CLK_SPEC_ADDR2] = 12;
  return 0;
}

long clk_time_elps_convert(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                           long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  auto is_seconds = [conv](long type) {
    return type == CLK_TYP_ELAPSED || (conv == CLK_TYP_ELAPSED && type == CMN_TYP_LONG);
  };
  if (is_seconds(src_type) && dst_type == CMN_TYP_CHAR_P)
    return elapsed_to_text(*static_cast<const long*>(src), dst, dst_size, allocated);
  if (is_text(src_type) && is_seconds(dst_type)) {
    long seconds = 0;
    if (long st = clk_time_str_to_elps(text_of(src), &seconds)) return st;
    return store_long(seconds, dst, dst_size, dst_type, allocated);
  }
  return no_conversion(conv, src_type, dst_type);
}

long clk_time_date_convert(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                           long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  if (is_text(src_type) && is_clock(dst_type)) {
    clktime t{};
    if (long st = clk_time_str_to_date(text_of(src), &t)) return st;
    return store_clock(t, dst, dst_size, allocated);
  }
  if (is_clock(src_type) && dst_type == CMN_TYP_CHAR_P)
    return clock_to_text(CLK_STR_DATE_ONLY, static_cast<const clktime*>(src), dst, dst_size, allocated);
  return no_conversion(conv, src_type, dst_type);
}

long clk_time_elps_hour_min(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                            long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  auto is_seconds = [](long type) {
    return type == CMN_TYP_LONG || type == CLK_TYP_ELAPSED || type == CLK_TYP_HOURS_MINS;
  };
  if (is_seconds(src_type) && dst_type == CMN_TYP_CHAR_P) {
    long seconds = *static_cast<const long*>(src), st = 0;
    auto* out = static_cast<char*>(clk_type_storage(dst, CLK_ELPS_TEXT_SIZE, dst_size, CMN_TYP_CHAR_P, allocated, &st));
    if (out == nullptr) return st;
    std::snprintf(out, static_cast<size_t>(dst_size < CLK_ELPS_TEXT_SIZE ? CLK_ELPS_TEXT_SIZE : dst_size),
                  "%.3ld:%.2ld", seconds / 3600, seconds / 60 % 60);
    return 0;
  }
  if (is_text(src_type) && is_seconds(dst_type)) {
    const char* text = text_of(src);
    // Hours at offset 0, minutes at offset 4 ("hhh:mm").
    if (std::strlen(text) < 5) return clk_alrt("clk_time_elps_hour_min", CLK_BAD_ELAPSED, text);
    long seconds = (std::strtol(text, nullptr, 10) * 60 + std::strtol(text + 4, nullptr, 10)) * 60;
    return store_long(seconds, dst, dst_size, dst_type, allocated);
  }
  return no_conversion(conv, src_type, dst_type);
}

long clk_type_install() {
  cmn_ty_type_info info{};
  // Each type takes the procedures set in info since the one before.
  auto install = [&info](long id) {
    long st = cmn_typ_install_info(id, &info);
    cmn_typ_init_info(&info);
    return st;
  };
  cmn_typ_init_info(&info);
  info.size = sizeof(clktime);
  info.get = cmn_typ_proc(clk_time_clk_get);
  info.set = cmn_typ_proc(clk_time_clk_set);
  info.address_of = cmn_typ_proc(clk_time_clk_gaddr);
  info.compare = cmn_typ_proc(clk_time_cmp);
  info.print = cmn_typ_proc(clk_time_print);
  info.convert = cmn_typ_proc(clk_time_convert);
  cmn_ty_type_info inf = info;
  inf.convert = cmn_typ_proc(clk_time_inf_convert);
  if (long st = install(CLK_TYP_TIME)) return st;
  info = inf;
  if (long st = install(CLK_TYP_TIME_INF)) return st;

  info.size = sizeof(long);
  info.get = cmn_typ_proc(clk_time_elps_get);
  info.set = cmn_typ_proc(clk_time_elps_set);
  info.address_of = cmn_typ_proc(clk_time_elps_gaddr);
  info.compare = cmn_typ_proc(clk_elps_sec_cmp);
  info.convert = cmn_typ_proc(clk_time_elps_convert);
  if (long st = install(CLK_TYP_ELAPSED)) return st;

  info.size = sizeof(clk_elps_cmp);
  info.compare = cmn_typ_proc(clk_elps_cmp_cmp);
  if (long st = install(CLK_TYP_ELPS_CMP)) return st;

  info.convert = cmn_typ_proc(clk_time_date_convert);
  if (long st = install(CLK_TYP_DATE_ONLY)) return st;

  info.convert = cmn_typ_proc(clk_time_elps_hour_min);
  return install(CLK_TYP_HOURS_MINS);
}
