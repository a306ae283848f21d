// What an object's fields say at the client interface: extreme dates, field
// ids by name, copying fields by name pairs, values along relation paths,
// conditions from changed fields and dirty marks.
#include <string>
#include <vector>

#include "client/cpi/cpi_col.h"
#include "client/cpi/cpi_fld.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_obj.h"
#include "client/oab/oab_rel.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"

namespace {

constexpr long kEstrSize = 256;
constexpr long kDirtyYes = 1;

enum : long { kNotExtreme = 0, kNullDate = 1, kFarFuture = 2 };

long cpi_obj_check_minmax_date_do(void* object, const char* field_name, long, long* out_is_date, long* out_kind) {
  *out_is_date = 0;
  *out_kind = kNotExtreme;
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  long word = 0;
  long type = 0;
  if (long st = dbs_fld_get_by_name(cpi_obj_of(object), field_name, &word, &type)) return st;
  if (type != CPI_FT_DATE && type != CPI_FT_DATE2) return 0;
  *out_is_date = 1;
  const clktime time = word ? *reinterpret_cast<const clktime*>(word) : clktime{CPI_NULL_DATE_DAY, 0};
  if (time.day == CPI_NULL_DATE_DAY) *out_kind = time.ticks == 0 ? kNullDate : kNotExtreme;
  else *out_kind = time.day < CPI_FAR_FUTURE_DAY ? kNotExtreme : kFarFuture;
  return 0;
}

long cpi_obj_get_field_ids_do(long type_id, long count, const char* const names[], long* out_ids, long* out_types) {
  if (count < 1) return 0;
  typ_sch_srec* schema = nullptr;
  long nfields = 0;
  typ_sch_frec* fields = nullptr;
  if (long st = typ_sch_find_finfo(type_id, nullptr, &schema, &nfields, &fields)) return st;
  for (long i = 0; i < count; ++i) {
    long found = -1;
    for (long f = 0; f < nfields && found < 0; ++f)
      if (fields[f].name && names[i] && loc_st_strcmpi(fields[f].name, names[i]) == 0) found = f;
    if (found < 0) return cpi_alrt(CPI_ALRT_NO_FIELD, names[i] ? names[i] : "", cpi_obj_typename(type_id));
    if (out_ids) out_ids[i] = fields[found].spec_id;
    if (out_types) out_types[i] = fields[found].data_type;
  }
  return 0;
}

long field_ids_of(dbs_ty_lobj* object, utl_ty_col* names, std::vector<long>* ids) {
  std::vector<const char*> texts = cpi_col_texts(names);
  ids->assign(texts.size(), 0);
  long type = 0;
  if (long st = dbs_obj_type(object, &type)) return st;
  return cpi_obj_get_field_ids(type, static_cast<long>(texts.size()), texts.data(), ids->data(), nullptr);
}

long cpi_obj_transform_do(void* source, void* source_names, void* target, void* target_names) {
  auto* from_names = static_cast<utl_ty_col*>(source_names);
  auto* to_names = static_cast<utl_ty_col*>(target_names);
  if (cpi_col_count(to_names) > cpi_col_count(from_names)) return cpi_alrt(CPI_ALRT_BAD_PARAMS);
  std::vector<long> from_ids;
  std::vector<long> to_ids;
  if (long st = field_ids_of(cpi_obj_of(source), from_names, &from_ids)) return st;
  if (long st = field_ids_of(cpi_obj_of(target), to_names, &to_ids)) return st;
  for (size_t i = 0; i < to_ids.size(); ++i) {
    long word = 0;
    if (long st = dbs_fld_get(cpi_obj_of(source), from_ids[i], &word, nullptr)) return st;
    if (long st = dbs_fld_set_local(cpi_obj_of(target), to_ids[i], &word, 1)) return st;
  }
  return 0;
}

// Appends a field's value as text.
long append_field_text(dbs_ty_lobj* object, long field_id, long type, utl_ty_estr* out) {
  long word = 0;
  if (long st = dbs_fld_get(object, field_id, &word, nullptr)) return st;
  if (type == CPI_FT_TEXT || type == CPI_FT_CHAR) return utl_estr_append(out, word ? reinterpret_cast<const char*>(word) : "");
  void* storage = nullptr;
  long allocated = 0;
  // The cell as the store hands values to conversions: the slot word for
  // longs and decimals, else the value it points to.
  bool slot_cell = type == CPI_FT_LONG || type == CPI_FT_SHORT || type == CPI_FT_DECIMAL;
  void* cell = slot_cell ? static_cast<void*>(&word) : reinterpret_cast<void*>(word);
  long st = cmn_typ_convert(-1, type, cell, CPI_FT_TEXT, &storage, 0, &allocated);
  if (st == 0) st = utl_estr_append(out, storage ? static_cast<const char*>(storage) : "");
  if (allocated) cmn_typ_dealloc("cpi_obj_get_path_value", storage);
  return st;
}

// "relation:field" with a text field: the texts of every related object.
long rel_val_from_path(dbs_ty_lobj* root, const std::string& path, utl_ty_estr* out, long* found, bool* handled) {
  *handled = false;
  const char* last = dbs_pwr_is_path(path.c_str());
  if (!last) return 0;
  std::string relation = path.substr(0, static_cast<size_t>(last - path.c_str()));
  std::string field = last + 1;
  if (relation.find(':') != std::string::npos) return 0;
  long type = 0;
  if (long st = dbs_obj_type(root, &type)) return st;
  long rel = -1;
  long target = -1;
  if (typ_sch_rel_name_to_id(type, nullptr, relation.c_str(), &rel, &target) != 0 || rel < 0) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  long field_id = -1;
  long data_type = 0;
  if (typ_sch_get_field_info(target, field.c_str(), &field_id, &data_type) != 0 || data_type != CPI_FT_TEXT) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  *handled = true;
  utl_ty_col* related = nullptr;
  long st = oab_rel_get_relatives_sp(nullptr, root, rel, 0, &related);
  std::vector<dbs_ty_lobj*> objects = cpi_col_objects(related);
  for (size_t i = 0; st == 0 && i < objects.size(); ++i) st = append_field_text(objects[i], field_id, data_type, out);
  if (st == 0 && !objects.empty()) *found = 1;
  if (related) dbs_obj_free_local_col(nullptr, related);
  return st;
}

long target_value(dbs_ty_lobj* root, const std::string& path, utl_ty_estr* out, long* found) {
  dbs_ty_lobj* target = nullptr;
  long field_id = -1;
  long type = -1;
  if (dbs_pwr_rel_path_target_get(cpi_current_con(), root, path.c_str(), 0, &target, &field_id, &type) != 0) {
    cmn_alrt_clear(nullptr);
    return 1;
  }
  if (!target || field_id < 0) return 0;
  long st = append_field_text(target, field_id, type, out);
  if (target != root) dbs_obj_free_local("cpi_obj_get_path_value", target);
  if (st == 0) *found = 1;
  return st;
}

long cpi_obj_get_path_value_do(void* root_object, const char* path, char open_char, char close_char, void** out_text,
                               long* out_found) {
  if (long st = cpi_utl_obj_check(root_object, 1, "root_obj_hdl")) return st;
  if (!path || !*path) return cpi_bad_param(2, "path");
  if (!out_text) return cpi_bad_param(5, "value");
  if (!out_found) return cpi_bad_param(6, "found");
  *out_found = 0;
  utl_ty_estr* text = nullptr;
  if (long st = utl_estr_create("cpi_obj_get_path_value", nullptr, kEstrSize, kEstrSize, &text)) return st;
  *out_text = text;
  const char opener[2] = {open_char, 0};
  const char closer[2] = {close_char, 0};
  if (long st = utl_estr_append(text, opener)) return st;
  std::string p = path;
  if (!p.empty() && p.front() == open_char) p.erase(0, 1);
  if (!p.empty() && p.back() == close_char) p.pop_back();
  dbs_ty_lobj* root = cpi_obj_of(root_object);
  bool handled = false;
  if (long st = rel_val_from_path(root, p, text, out_found, &handled)) return st;
  if (!handled) {
    long st = target_value(root, p, text, out_found);
    if (st == 1) return 0;
    if (st) return st;
  }
  return utl_estr_append(text, closer);
}

long cpi_obj_to_conds_do(void* object, void* conds_col, long) {
  if (!object) return 0;
  long type = 0;
  if (long st = dbs_obj_type(cpi_obj_of(object), &type)) return st;
  typ_sch_srec* schema = nullptr;
  long nfields = 0;
  typ_sch_frec* fields = nullptr;
  if (long st = typ_sch_find_finfo(type, nullptr, &schema, &nfields, &fields)) return st;
  for (long f = 0; f < nfields; ++f) {
    char dirty = 0;
    if (long st = dbs_fld_is_dirty(cpi_obj_of(object), fields[f].spec_id, &dirty)) return st;
    if (!dirty) continue;
    long cond[3] = {fields[f].spec_id, 0, 0};
    long data_type = 0;
    if (long st = dbs_fld_get(cpi_obj_of(object), fields[f].spec_id, &cond[2], &data_type)) return st;
    bool text = data_type == CPI_FT_CHAR || data_type == CPI_FT_TEXT;
    cond[1] = text ? CPI_OP_STARTS_WITH : CPI_OP_EQUAL;
    if (long st = utl_col_insert(static_cast<utl_ty_col*>(conds_col), cond, nullptr)) return st;
  }
  return 0;
}

long cpi_obj_check_dirty_do(void* object, const char* field_name, long* out_dirty) {
  *out_dirty = 0;
  char dirty = 0;
  if (field_name && *field_name) {
    long type = 0;
    if (long st = dbs_obj_type(cpi_obj_of(object), &type)) return st;
    long id = 0;
    if (long st = cpi_obj_get_field_ids(type, 1, &field_name, &id, nullptr)) return st;
    if (long st = dbs_fld_is_dirty(cpi_obj_of(object), id, &dirty)) return st;
  } else if (long st = dbs_obj_check_dirty(cpi_obj_of(object), &dirty)) {
    return st;
  }
  *out_dirty = dirty == kDirtyYes ? 1 : 0;
  return 0;
}

}  // namespace

long cpi_obj_check_minmax_date(void* object, const char* field_name, long reserved, long* out_is_date,
                               long* out_kind) {
  return cpi_obj_check_minmax_date_do(object, field_name, reserved, out_is_date, out_kind);
}
long cpi_obj_get_field_ids(long type_id, long count, const char* const names[], long* out_ids, long* out_types) {
  return cpi_obj_get_field_ids_do(type_id, count, names, out_ids, out_types);
}
long cpi_obj_transform(void* source, void* source_names, void* target, void* target_names) {
  return cpi_obj_transform_do(source, source_names, target, target_names);
}
long cpi_obj_get_path_value(void* root_object, const char* path, char open_char, char close_char, void** out_text,
                            long* out_found) {
  return cpi_obj_get_path_value_do(root_object, path, open_char, close_char, out_text, out_found);
}
long cpi_obj_to_conds(void* object, void* conds_col, long reserved) {
  return cpi_obj_to_conds_do(object, conds_col, reserved);
}
long cpi_obj_check_dirty(void* object, const char* field_name, long* out_dirty) {
  return cpi_obj_check_dirty_do(object, field_name, out_dirty);
}
