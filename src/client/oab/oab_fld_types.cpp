// The coded-field data types of the registry: activity codes (619) and
// condition codes (621) with get, set, address and convert methods; the
// location type (648) with its convert method; the contact-role (289) and
// site (88) views whose status and location fields read as words.
#include <cstring>
#include <string>

#include "client/oab/oab_fld.h"
#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "store/dbs_fld.h"

namespace {

constexpr long kRoleStatusField = 30;
constexpr long kSiteStatusField = 9;
constexpr long kSiteLocField = 3;

// The alert codes of one coded type.
struct code_kind {
  long type;
  long to_code;    // cannot convert to a type
  long from_code;  // cannot convert from a type
  long (*to_text)(long code, std::string* text);
  long (*from_text)(const char* text, long* code);
};

long act_to_text(long code, std::string* text) {
  const char* name = nullptr;
  long st = oab_fld_actcode_to_str(code, &name);
  *text = name != nullptr ? name : "";
  return st;
}

const code_kind kAct{OAB_FLD_ACTCODE, OAB_ACT_TO, OAB_ACT_FROM, act_to_text, oab_fld_str_to_actcode};
const code_kind kCond{OAB_FLD_CONDCODE, OAB_COND_TO, OAB_COND_FROM, oab_fld_condcode_to_str,
                      oab_fld_str_to_condcode};

// Storage of at least `bytes` behind the slot: the caller's when `size`
// reaches it, else a new block (allocated set).
long room(void* slot, long size, long bytes, long type, long* allocated, void** out) {
  void** p = static_cast<void**>(slot);
  if (size < bytes || *p == nullptr) {
    void* block = nullptr;
    if (long st = cmn_typ_alloc("oab_fld", 1, &type, &bytes, &block)) return st;
    std::memset(block, 0, static_cast<size_t>(bytes));
    *p = block;
    if (allocated != nullptr) *allocated = 1;
  }
  *out = *p;
  return 0;
}

// A text into the slot: a buffer of its size, at least 64 bytes, when the
// caller's is shorter. Never cut.
long put_text(void* slot, long size, long* allocated, const std::string& text) {
  long need = static_cast<long>(text.size()) + 1;
  long bytes = need > OAB_FLD_TEXT_BUF ? need : OAB_FLD_TEXT_BUF;
  void* out = nullptr;
  if (long st = room(slot, size < need ? 0 : size, bytes, CMN_TYP_CHAR_P, allocated, &out)) return st;
  std::memcpy(out, text.c_str(), static_cast<size_t>(need));
  return 0;
}

long put_long(void* slot, long size, long* allocated, long value) {
  void* out = nullptr;
  if (long st = room(slot, size, sizeof(long), CMN_TYP_LONG, allocated, &out)) return st;
  std::memcpy(out, &value, sizeof value);
  return 0;
}

const char* text_of(const void* value) { return value != nullptr ? *static_cast<const char* const*>(value) : ""; }

long code_get(const code_kind& k, void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  long code = *static_cast<const long*>(cell);
  long req = spec[CMN_SPEC_REQUESTED];
  if (req == CMN_TYP_LONG) return put_long(dest, size, allocated, code);
  if (req != CMN_TYP_CHAR_P) return oab_alrt("oab_fld_get", k.to_code, req);
  std::string text;
  if (long st = k.to_text(code, &text)) return st;
  return put_text(dest, size, allocated, text);
}

long code_set(const code_kind& k, void* dest, long* spec, void* value) {
  long* code = static_cast<long*>(dest);
  *code = -1;
  long src = spec[CMN_SPEC_REQUESTED];
  if (src == CMN_TYP_LONG) {
    *code = *static_cast<const long*>(value);
    return 0;
  }
  if (src != CMN_TYP_CHAR_P) return oab_alrt("oab_fld_set", k.from_code, src);
  return k.from_text(text_of(value), code);
}

long code_convert(long owner, long src_type, void* src, long dst_type, void* dst, long size, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const code_kind* k = owner == OAB_FLD_ACTCODE ? &kAct : (owner == OAB_FLD_CONDCODE ? &kCond : nullptr);
  if (k != nullptr && src_type == CMN_TYP_CHAR_P && dst_type == CMN_TYP_LONG) {
    long code = 0;
    if (long st = k->from_text(text_of(src), &code)) return st;
    return put_long(dst, size, allocated, code);
  }
  if (k != nullptr && src_type == CMN_TYP_LONG && dst_type == CMN_TYP_CHAR_P) {
    std::string text;
    if (long st = k->to_text(*static_cast<const long*>(src), &text)) return st;
    return put_text(dst, size, allocated, text);
  }
  return oab_alrt("oab_fld_convert_integer_code", OAB_NO_CONVERT, src_type, dst_type, owner);
}

long code_gaddr(long type, void* element, void** address, long* spec) {
  *address = element;
  spec[CMN_SPEC_ADDR1] = 1;
  spec[CMN_SPEC_ADDR2] = type;
  return 0;
}

// A field read as a word, converted to the requested type.
long word_get(const char* word, dbs_ty_fld_desc* desc, long size, void* value, long* allocated) {
  const char* text = word;
  return cmn_typ_convert(-1, CMN_TYP_CHAR_P, &text, desc->wanted_type, value, size, allocated);
}

long field_long(dbs_ty_lobj* o, long field, long* out) {
  long type = 0;
  return dbs_fld_get(o, field, out, &type);
}

}  // namespace

long oab_fld_get_actcode_con(void* cell, long* spec, long size, void* dest, long* allocated) {
  return code_get(kAct, cell, spec, size, dest, allocated);
}
long oab_fld_set_actcode_con(void* dest, long* spec, void* value) { return code_set(kAct, dest, spec, value); }
long oab_fld_gaddr_actcode_con(void* element, void*, void** address, long* spec) {
  return code_gaddr(OAB_FLD_ACTCODE, element, address, spec);
}
long oab_fld_get_condcode_con(void* cell, long* spec, long size, void* dest, long* allocated) {
  return code_get(kCond, cell, spec, size, dest, allocated);
}
long oab_fld_set_condcode_con(void* dest, long* spec, void* value) { return code_set(kCond, dest, spec, value); }
long oab_fld_gaddr_condcode_con(void* element, void*, void** address, long* spec) {
  return code_gaddr(OAB_FLD_CONDCODE, element, address, spec);
}
long oab_fld_convert_integer_code(long owner, long src_type, void* src, long dst_type, void* dst, long size,
                                  long* allocated) {
  return code_convert(owner, src_type, src, dst_type, dst, size, allocated);
}

long oab_fld_location_type_convert(long, long src_type, void* src, long dst_type, void* dst, long size,
                                   long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  bool src_long = src_type == CMN_TYP_LONG;
  bool dst_long = dst_type == CMN_TYP_LONG;
  bool src_text = src_type == CMN_TYP_CHAR_P;
  bool dst_text = dst_type == CMN_TYP_CHAR_P;
  if (src_long && dst_text) return put_text(dst, size, allocated, oab_fld_loc_type_name(*static_cast<long*>(src)));
  if (src_text && dst_long) return put_long(dst, size, allocated, oab_fld_loc_type_value(text_of(src)));
  if (src_long && dst_long) return put_long(dst, size, allocated, *static_cast<long*>(src));
  if (src_text && dst_text) return put_text(dst, size, allocated, text_of(src));
  return 0;
}

long oab_fld_rol_cntct_get_con(dbs_ty_lobj* o, dbs_ty_fld_desc* desc, long size, void* value, long* allocated) {
  if (desc->format != nullptr || desc->field_id != kRoleStatusField)
    return dbs_mth_ofld_get(o, desc, size, value, allocated);
  long v = 0;
  if (long st = field_long(o, kRoleStatusField, &v)) return st;
  return word_get(oab_fld_status_word(v), desc, size, value, allocated);
}

long oab_fld_site_view_get_con(dbs_ty_lobj* o, dbs_ty_fld_desc* desc, long size, void* value, long* allocated) {
  bool status = desc->field_id == kSiteStatusField;
  if (desc->format != nullptr || (!status && desc->field_id != kSiteLocField))
    return dbs_mth_ofld_get(o, desc, size, value, allocated);
  long v = 0;
  if (long st = field_long(o, desc->field_id, &v)) return st;
  return word_get(status ? oab_fld_status_word(v) : oab_fld_loc_type_name(v), desc, size, value, allocated);
}

long oab_fld_init() {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  info.get = cmn_typ_proc(oab_fld_get_actcode_con);
  info.set = cmn_typ_proc(oab_fld_set_actcode_con);
  info.address_of = cmn_typ_proc(oab_fld_gaddr_actcode_con);
  info.convert = cmn_typ_proc(oab_fld_convert_integer_code);
  if (long st = cmn_typ_install_info(OAB_FLD_ACTCODE, &info)) return st;
  info.get = cmn_typ_proc(oab_fld_get_condcode_con);
  info.set = cmn_typ_proc(oab_fld_set_condcode_con);
  info.address_of = cmn_typ_proc(oab_fld_gaddr_condcode_con);
  if (long st = cmn_typ_install_info(OAB_FLD_CONDCODE, &info)) return st;
  cmn_typ_init_info(&info);
  info.convert = cmn_typ_proc(oab_fld_location_type_convert);
  if (long st = cmn_typ_install_info(OAB_FLD_LOC_TYPE, &info)) return st;
  const struct {
    long type;
    cmn_ty_method_proc get;
  } views[] = {{OAB_FLD_ROLE_VIEW, cmn_typ_proc(oab_fld_rol_cntct_get_con)},
               {OAB_FLD_SITE_VIEW, cmn_typ_proc(oab_fld_site_view_get_con)}};
  for (const auto& v : views) {
    if (long st = cmn_typ_install(v.type, -1, -1, nullptr, -1, nullptr, nullptr, nullptr, nullptr)) return st;
    cmn_typ_init_info(&info);
    info.get = v.get;
    info.set = cmn_typ_proc(dbs_mth_ofld_set);
    info.address_of = cmn_typ_proc(dbs_mth_ofld_get_addr);
    if (long st = cmn_typ_install_info(v.type, &info)) return st;
  }
  return 0;
}

long oab_fld_term() { return 0; }
