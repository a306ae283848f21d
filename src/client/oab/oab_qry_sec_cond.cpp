// Row-level security: checking restrictions, compiling condition
// restrictions and gathering the restrictions of a type.
#include <string>

#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_sec.h"
#include "client/oab/oab_sec_int.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_opr.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_path.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"

namespace {

constexpr long kValueSlots = 10;
constexpr long kTextExtend = 50;

template <class T>
T ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return *static_cast<T*>(slot);
}

long type_of(dbs_ty_lobj* o) {
  obj_id id{};
  dbs_obj_oid_get(o, &id);
  return id.type & OAB_TYPE_MASK;
}

// Whether the path reaches a text field of the type (a failed look-up's
// alert is taken off: the caller reports the restriction instead).
bool is_text_path(long type, const char* path) {
  long t = 0, f = 0, d = 0;
  if (typ_sch_field_path_info_get(type, path, &t, &f, &d) != 0) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    return false;
  }
  return d == CMN_TYP_CHAR_P;
}

bool condition_ok(dbs_ty_lobj* r, long type) {
  const char* path = oab_sec_text(r, OAB_RST_PATH);
  if (*path == '\0' || !is_text_path(type, path)) return false;
  const char* value_path = oab_sec_text(r, OAB_RST_VALUE_PATH);
  if (*value_path != '\0') {
    dbs_ty_lobj* start = nullptr;
    oab_qry_startobj_byflag(oab_sec_long(r, OAB_RST_START), &start);
    if (start == nullptr || !is_text_path(type_of(start), value_path)) return false;
  }
  long allowed = 0;
  cmn_opr_str_opr_chk(CMN_TYP_CHAR_P, oab_sec_text(r, OAB_RST_OPERATOR), &allowed);
  return allowed != 0;
}

oab_ty_secure_cond* compiled_of(dbs_ty_lobj* r) {
  void* p = nullptr;
  dbs_obj_uptr_get(r, &p);
  return static_cast<oab_ty_secure_cond*>(p);
}

bool is_of_type(dbs_ty_lobj* r, long type) { return oab_sec_long(r, OAB_RST_TYPE) == type; }

long new_text(const std::string& text, utl_ty_estr** out) {
  return utl_estr_create("oab_qry_bld_one_secure_cond", text.c_str(), 1, kTextExtend, out);
}

}  // namespace

long oab_qry_secure_obj_chk(dbs_ty_lobj* r) {
  long type = oab_sec_long(r, OAB_RST_TYPE);
  bool ok = oab_sec_long(r, OAB_RST_IS_COND) != 0 ? condition_ok(r, type) : *oab_sec_text(r, OAB_RST_PATH) != '\0';
  if (ok) return 0;
  return oab_alrt("oab_qry_secure_obj_chk", OAB_BAD_RESTRICTION, oab_sec_type_name(type));
}

long oab_qry_bld_one_secure_cond(dbs_ty_lobj* r) {
  dbs_ty_lobj* start = nullptr;
  oab_qry_startobj_byflag(oab_sec_long(r, OAB_RST_START), &start);
  utl_ty_col* values = nullptr;
  if (long st = utl_col_make("oab_qry_bld_one_secure_cond", CMN_TYP_VOID_P, kValueSlots, 1, 0, 0, &values))
    return st;
  long field = 0;
  std::string value;
  long st = oab_qry_traverse_path(nullptr, start, oab_sec_text(r, OAB_RST_VALUE_PATH), nullptr, values, nullptr,
                                  &field, nullptr, 0);
  if (st == 0)
    st = oab_qry_bld_one_secure_value(values, field, oab_sec_text(r, OAB_RST_PREFIX), oab_sec_text(r, OAB_RST_SUFFIX),
                                      &value);
  long op = -1;
  if (st == 0) cmn_opr_value_from_str(oab_sec_text(r, OAB_RST_OPERATOR), &op);
  auto* c = new oab_ty_secure_cond{nullptr, oab_qry_secure_operator(op, values->count), nullptr};
  dbs_obj_free_local_col(nullptr, values);
  if (st == 0) st = new_text(oab_sec_text(r, OAB_RST_PATH), &c->path);
  if (st == 0) st = new_text(value, &c->value);
  if (st == 0) st = dbs_obj_uptr_set(r, c);
  if (st == 0) return 0;
  if (c->path != nullptr) utl_estr_free("oab_qry_bld_one_secure_cond", c->path);
  if (c->value != nullptr) utl_estr_free("oab_qry_bld_one_secure_cond", c->value);
  delete c;
  return st;
}

long oab_qry_bld_secure_cond_bytyp(long type, long* count, utl_ty_estr* texts, long) {
  *count = 0;
  utl_ty_col* col = oab_sec_state().restrictions;
  bool has_text = false;
  for (long i = 0; col != nullptr && i < col->count; ++i) {
    auto* r = ith<dbs_ty_lobj*>(col, i);
    if (!is_of_type(r, type)) continue;
    if (compiled_of(r) != nullptr) {
      ++*count;
      continue;
    }
    if (long st = oab_qry_secure_obj_chk(r)) return st;
    if (oab_sec_long(r, OAB_RST_IS_COND) != 0) {
      if (long st = oab_qry_bld_one_secure_cond(r)) return st;
      ++*count;
    } else {
      if (long st = utl_estr_append(texts, oab_sec_text(r, OAB_RST_PATH))) return st;
      has_text = true;
    }
  }
  if (has_text || *count == 0) return 0;
  return oab_alrt("oab_qry_bld_secure_cond_bytyp", OAB_BAD_RESTRICTION, oab_sec_type_name(type));
}

long oab_qry_cpy_secure_cond_bytyp(long type, dbs_ty_pwr_cond* conds) {
  utl_ty_col* col = oab_sec_state().restrictions;
  long n = 0;
  for (long i = 0; col != nullptr && i < col->count; ++i) {
    auto* r = ith<dbs_ty_lobj*>(col, i);
    oab_ty_secure_cond* c = is_of_type(r, type) ? compiled_of(r) : nullptr;
    if (c == nullptr) continue;
    conds[n++] = dbs_ty_pwr_cond{utl_estr_get(c->path), c->op, utl_estr_get(c->value)};
  }
  return 0;
}
