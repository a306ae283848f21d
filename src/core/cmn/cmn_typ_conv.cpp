// Dispatch of cmn_typ_convert and the settings of the conversions.
#include "core/cmn/cmn_typ_conv.h"

#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv_int.h"
#include "core/loc/loc_reg.h"

namespace {

cmn_conv_settings cmn_conv_state;
cmn_ty_dyn_conv_lookup cmn_conv_dyn_lookup = nullptr;

constexpr long kClockOwner = 653;

long matrix(long owner, long src_type, void* src, long dst_type, void* slot, long size, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  switch (src_type) {
    case CMN_TYP_LONG:
    case CMN_TYP_FLOAT:
    case CMN_TYP_DOUBLE:
    case CMN_TYP_MONEY:
    case CMN_TYP_BOOLEAN:
      return cmn_conv_from_number(owner, src_type, src, dst_type, slot, size, allocated);
    case CMN_TYP_CHAR:
    case CMN_TYP_CHAR_P:
      return cmn_conv_from_text(owner, src_type, src, dst_type, slot, size, allocated);
    case CMN_TYP_DECIMAL:
      return cmn_conv_from_decimal(owner, src, dst_type, slot, size, allocated);
    case CMN_TYP_CLK_TIME:
      // A clock time as a long is 0.
      if (dst_type == CMN_TYP_LONG) return cmn_conv_put_long(slot, size, allocated, 0);
      return cmn_conv_by_clock(owner, src_type, src, dst_type, slot, size, allocated);
    default:
      return cmn_conv_no_proc(owner, src_type, dst_type);
  }
}

}  // namespace

cmn_conv_settings& cmn_conv() { return cmn_conv_state; }

bool cmn_conv_localized() {
  cmn_conv_settings& s = cmn_conv_state;
  if (!s.region_fetched) {
    s.region_fetched = true;
    if (loc_reg_is_inited()) {
      const loc_ty_region* r = loc_reg_get_region();
      s.dec_precision = r->precision;
      s.reg_cur_precision = r->mon_precision;
    }
  }
  return s.localized && loc_reg_is_inited();
}

long cmn_conv_take_cur_precision(long p) {
  cmn_conv_settings& s = cmn_conv_state;
  if (s.read_flag) p = s.reg_cur_precision;
  if (s.write_flag) p = s.db_cur_precision;
  s.read_flag = s.write_flag = false;
  return p;
}

long cmn_typ_convert(long owner, long src_type, void* src, long dst_type, void* dst_slot, long dst_size,
                     long* allocated) {
  cmn_conv_localized();  // fetches the region on the first call
  bool builtin = owner == -1 || owner == CMN_TYP_LONG || owner == CMN_TYP_CHAR_P || owner == CMN_TYP_FLOAT ||
                 owner == CMN_TYP_DOUBLE || owner == CMN_TYP_CLK_TIME || owner == CMN_TYP_DECIMAL ||
                 (owner == kClockOwner && src_type == CMN_TYP_CLK_TIME && dst_type == CMN_TYP_CLK_TIME);
  if (!builtin) {
    if (owner >= CMN_TYP_FIRST_RUNTIME) {
      void* proc = nullptr;
      if (cmn_conv_dyn_lookup != nullptr) {
        long rc = cmn_conv_dyn_lookup(owner, &proc);
        if (rc != 0) return rc;
      }
      if (proc != nullptr)
        return reinterpret_cast<cmn_ty_convert_proc>(proc)(owner, src_type, src, dst_type, dst_slot, dst_size,
                                                           allocated);
    } else {
      cmn_ty_obj_info info;
      long rc = cmn_typ_get_obj_info(owner, &info);
      if (rc != 0) return rc;
      if (info.methods != nullptr && info.methods[CMN_MTH_CONVERT] != nullptr)
        return cmn_typ_proc_as<cmn_ty_convert_proc>(info.methods[CMN_MTH_CONVERT])(
            owner, src_type, src, dst_type, dst_slot, dst_size, allocated);
    }
  }
  return matrix(owner, src_type, src, dst_type, dst_slot, dst_size, allocated);
}

long cmn_conv_by_clock(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                       long* allocated) {
  cmn_ty_obj_info info;
  if (cmn_typ_get_obj_info(CMN_TYP_CLK_TIME, &info) != 0 || info.methods == nullptr ||
      info.methods[CMN_MTH_CONVERT] == nullptr) {
    return cmn_conv_no_proc(owner, src_type, dst_type);
  }
  return cmn_typ_proc_as<cmn_ty_convert_proc>(info.methods[CMN_MTH_CONVERT])(owner, src_type, src, dst_type,
                                                                              slot, size, allocated);
}

long cmn_conv_no_proc(long owner, long src, long dst) {
  cmn_alrt_push(nullptr, "cmn_typ_convert", CMN_TYP_NO_CONV_PROC, 3, cmn_typ_name(owner), cmn_typ_name(src),
                cmn_typ_name(dst));
  return CMN_TYP_NO_CONV_PROC;
}

long cmn_conv_push_value(long code, const char* text) {
  cmn_alrt_push(nullptr, "cmn_typ_convert", code, 1, text != nullptr ? text : "");
  return code;
}

long cmn_typ_report_float(long code) {
  const char* text = nullptr;
  cmn_alrt_get_msg(code, &text);
  cmn_alrt_push_msg(nullptr, code, text != nullptr ? text : "");
  return code;
}

long cmn_conv_range_check(double v) {
  if (v > 9999999.99) return cmn_typ_report_float(CMN_TYP_TOO_LARGE);
  if (v < -9999999.99) return cmn_typ_report_float(CMN_TYP_TOO_SMALL);
  return 0;
}

long cmn_conv_storage(void* slot, long size, long threshold, long alloc, long type, long* allocated,
                      void** storage) {
  void** p = static_cast<void**>(slot);
  if (size < threshold || *p == nullptr) {
    long bytes = alloc > threshold ? alloc : threshold;
    void* block = nullptr;
    long rc = cmn_typ_alloc("cmn_typ_convert", 1, &type, &bytes, &block);
    if (rc != 0) return rc;
    std::memset(block, 0, static_cast<size_t>(bytes));
    *p = block;
    if (allocated != nullptr) *allocated = 1;
  }
  *storage = *p;
  return 0;
}

long cmn_conv_put_text(void* slot, long size, long threshold, long alloc, long* allocated,
                       const std::string& text) {
  long need = static_cast<long>(text.size()) + 1;
  void* storage = nullptr;
  long rc = cmn_conv_storage(slot, size, need > threshold ? need : threshold, need > alloc ? need : alloc,
                             CMN_TYP_CHAR_P, allocated, &storage);
  if (rc != 0) return rc;
  std::memcpy(storage, text.c_str(), static_cast<size_t>(need));
  return 0;
}

long cmn_typ_no_localize() {
  cmn_conv_state.localized = false;
  return 0;
}
long cmn_typ_set_localize(long on) {
  cmn_conv_state.localized = on != 0;
  return 0;
}
long cmn_typ_get_dec_precision() {
  cmn_conv_localized();
  return cmn_conv_state.dec_precision;
}
long cmn_typ_set_dec_precision(long precision) {
  cmn_conv_localized();
  cmn_conv_state.dec_precision = precision;
  return 0;
}
long cmn_typ_get_reg_cur_prec() {
  cmn_conv_localized();
  return cmn_conv_state.reg_cur_precision;
}
long cmn_typ_set_db_cur_prec(long precision) {
  cmn_conv_state.db_cur_precision = precision;
  return 0;
}
long cmn_typ_get_db_cur_prec() { return cmn_conv_state.db_cur_precision; }
long cmn_typ_set_read_cur_flag(long flag) {
  if (flag != 0) cmn_conv_state.read_flag = true;
  return 0;
}
long cmn_typ_set_write_cur_flag(long flag) {
  if (flag != 0) cmn_conv_state.write_flag = true;
  return 0;
}
long cmn_typ_set_from_db(long flag) {
  cmn_conv_state.from_db = flag != 0;
  return 0;
}
long cmn_typ_conv_from_db() { return cmn_conv_state.from_db ? 1 : 0; }
long cmn_typ_conv_reset() {
  cmn_conv_state = cmn_conv_settings{};
  return 0;
}
long cmn_typ_install_dyn_conv_lookup(cmn_ty_dyn_conv_lookup lookup) {
  cmn_conv_dyn_lookup = lookup;
  return 0;
}
