// Translation of a traversal map: level types fixed through relations,
// conditions turned into the store's condition codes with typed values, and
// sort orders. Everything made lives in one cpi_qry_xform and is freed with it.
#include "client/cpi/cpi_col.h"
#include "client/cpi/cpi_fld.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi/cpi_qry_int.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/utl/utl_col.h"
#include "schema/typ_path.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kUnfixed = -1;
constexpr long kLevelCacheOption = 2;
constexpr long kLongTokenExtent = 10;

// The map argument's name in the alert of a condition that cannot be handed on.
long bad_map() { return cpi_bad_param(6, "trav_map"); }

bool is_text(long type) { return type == CPI_FT_TEXT || type == CPI_FT_CHAR; }

// The store's code of a caller's operator, and the pattern around a value
// ("" for none); -1 when the operator is not handed on.
long store_code(long op, const char** before, const char** after) {
  *before = "";
  *after = "";
  switch (op) {
    case CPI_OP_GREATER: case CPI_OP_GREATER_EQUAL: case CPI_OP_LESS: case CPI_OP_LESS_EQUAL:
    case CPI_OP_EQUAL: case CPI_OP_NOT_EQUAL: case CPI_OP_IN:
      return op;
    case CPI_OP_STARTS_WITH: *after = "%"; return CPI_STORE_LIKE;
    case CPI_OP_ENDS_WITH: *before = "%"; return CPI_STORE_LIKE;
    case CPI_OP_CONTAINS: *before = *after = "%"; return CPI_STORE_LIKE;
    case CPI_OP_NOT_STARTS_WITH: *after = "%"; return CPI_STORE_NOT_LIKE;
    case CPI_OP_NOT_ENDS_WITH: *before = "%"; return CPI_STORE_NOT_LIKE;
    case CPI_OP_NOT_CONTAINS: *before = *after = "%"; return CPI_STORE_NOT_LIKE;
    case CPI_OP_SOUNDS_LIKE: return CPI_STORE_SOUNDEX;
    default: return -1;
  }
}

template <typename T>
long to_number(const char* text, long type, T* out) {
  long allocated = 0;
  void* slot = out;
  long st = cmn_typ_convert(-1, CMN_TYP_CHAR_P, &text, type, &slot, sizeof(T), &allocated);
  if (allocated) cmn_typ_dealloc("cpi_qry_xform_conds", slot);
  return st;
}

// An in-list: texts as tokens, longs and shorts converted.
long in_list_value(long type_id, const cpi_ty_fcond& c, long field_type, cpi_qry_xform* made, long* value) {
  if (!is_text(field_type) && field_type != CPI_FT_LONG && field_type != CPI_FT_SHORT) return bad_map();
  utl_ty_col* tokens = nullptr;
  std::string list;
  if (long st = cpi_qry_in_operand_tokenize(type_id, c.field, c.value, &list, &tokens)) return st;
  if (!tokens) return bad_map();
  made->token_cols.push_back(tokens);
  made->list_texts.push_back(list);
  if (is_text(field_type)) {
    *value = reinterpret_cast<long>(tokens);
    return 0;
  }
  utl_ty_col* numbers = nullptr;
  if (long st = utl_col_make("cpi_qry_xform_conds", CMN_TYP_LONG, kLongTokenExtent, kLongTokenExtent, 0, 0, &numbers))
    return st;
  made->token_cols.push_back(numbers);
  for (const char* token : cpi_col_texts(tokens)) {
    long number = 0;
    if (long st = to_number(token, CMN_TYP_LONG, &number)) return st;
    if (long st = utl_col_push(numbers, &number, nullptr)) return st;
  }
  *value = reinterpret_cast<long>(numbers);
  return 0;
}

long typed_value(const char* text, long field_type, cpi_qry_xform* made, long* value) {
  switch (field_type) {
    case CPI_FT_TEXT: case CPI_FT_CHAR:
      *value = reinterpret_cast<long>(text);
      return 0;
    case CPI_FT_LONG: case CPI_FT_SHORT:
      return to_number(text, CMN_TYP_LONG, value);
    case CPI_FT_FLOAT: {
      float& f = made->floats.emplace_back();
      *value = reinterpret_cast<long>(&f);
      return to_number(text, CPI_FT_FLOAT, &f);
    }
    case CPI_FT_DOUBLE: case CPI_FT_DOUBLE2: {
      double& d = made->doubles.emplace_back();
      *value = reinterpret_cast<long>(&d);
      return to_number(text, CPI_FT_DOUBLE, &d);
    }
    case CPI_FT_DATE: {
      clktime& t = made->dates.emplace_back();
      *value = reinterpret_cast<long>(&t);
      return clk_time_str_to_clk(text, &t);
    }
    case CPI_FT_DECIMAL: {
      void* slot = nullptr;
      long allocated = 0;
      long st = cmn_typ_convert(-1, CMN_TYP_CHAR_P, &text, CPI_FT_DECIMAL, &slot, 0, &allocated);
      if (allocated) made->decimals.push_back(static_cast<cmn_ty_decimal*>(slot));
      *value = reinterpret_cast<long>(slot);
      return st;
    }
    default:
      return bad_map();
  }
}

}  // namespace

long cpi_qry_xform_cond(const cpi_ty_fcond& c, long level_type, cpi_qry_xform* made, ost_ty_trav_cond* out) {
  const char* before = nullptr;
  const char* after = nullptr;
  long code = store_code(c.op, &before, &after);
  if (code < 0 || !c.field || !c.value) return bad_map();
  long final_type = 0;
  long field_type = 0;
  if (long st = typ_sch_field_path_info_get(level_type, c.field, &final_type, &out->field, &field_type)) return st;
  out->op = code;
  if (code == CPI_OP_IN) return in_list_value(level_type, c, field_type, made, &out->value);
  bool text_only = code == CPI_STORE_LIKE || code == CPI_STORE_NOT_LIKE || code == CPI_STORE_SOUNDEX;
  if (text_only && !is_text(field_type)) return bad_map();
  if (*before || *after) {
    std::string& pattern = made->texts.emplace_back(std::string(before) + c.value + after);
    out->value = reinterpret_cast<long>(pattern.c_str());
    return 0;
  }
  return typed_value(c.value, field_type, made, &out->value);
}

namespace {

// The translation's view of the caller's levels while their types are fixed.
struct type_walk {
  long count;
  const cpi_ty_trav_map* maps;
  const cpi_qry_root& root;
  std::vector<long> types;
};

long root_type(const cpi_qry_root& root, long level, long* type) {
  const cpi_ty_objid* id = root.objid;
  if (id && (id->type_word || id->id_number || id->id_ext)) {
    *type = cpi_objid_type(*id);
    return 0;
  }
  if (root.object) {
    obj_id oid{};
    if (long st = dbs_obj_oid_get(root.object, &oid)) return st;
    *type = oid.type & CPI_OBJID_TYPE_MASK;
    return 0;
  }
  return cpi_alrt(CPI_ALRT_NULL_IN_MAP, level);
}

long relation_on(long type, const char* name, long* rel, long* target) {
  return typ_sch_rel_name_to_id(type, nullptr, name, rel, target);
}

long fix_type(type_walk& w, long i, long depth) {
  if (depth > w.count) return cpi_alrt(CPI_ALRT_CIRCULAR_MAP, i);
  if (w.types[i] != kUnfixed) return 0;
  const cpi_ty_trav_map& m = w.maps[i];
  long rel = 0;
  if (m.kind & CPI_KIND_ROOT_REL) {
    long type = 0;
    if (long st = root_type(w.root, i, &type)) return st;
    return relation_on(type, m.rel_name, &rel, &w.types[i]);
  }
  if (m.kind & CPI_KIND_TYPE) return cpi_type_id(m.type_name, &w.types[i]);
  if (m.parent < 0 || m.parent >= w.count) return cpi_alrt(CPI_ALRT_BAD_PARENT, static_cast<long>(m.parent), i);
  if (long st = fix_type(w, m.parent, depth + 1)) return st;
  return relation_on(w.types[m.parent], m.rel_name, &rel, &w.types[i]);
}

long xform_conds(const cpi_ty_trav_map& m, long type, cpi_qry_xform* made, ost_ty_trav_level* level) {
  level->ncond = 0;
  level->conds = nullptr;
  if (!m.conds || m.cond_count <= 0) return 0;
  std::vector<ost_ty_trav_cond>& conds = made->conds.emplace_back(static_cast<size_t>(m.cond_count));
  level->conds = conds.data();
  level->ncond = m.cond_count;
  for (int32_t k = 0; k < m.cond_count; ++k)
    if (long st = cpi_qry_xform_cond(m.conds[k], type, made, &conds[static_cast<size_t>(k)])) return st;
  return 0;
}

long xform_orders(const cpi_ty_trav_map& m, long type, cpi_qry_xform* made, ost_ty_trav_level* level) {
  level->norder = 0;
  level->orders = nullptr;
  if (!m.orders || m.order_count <= 0) return 0;
  std::vector<ost_ty_trav_order>& orders = made->orders.emplace_back(static_cast<size_t>(m.order_count));
  level->orders = orders.data();
  level->norder = m.order_count;
  for (int32_t k = 0; k < m.order_count; ++k) {
    ost_ty_trav_order& o = orders[static_cast<size_t>(k)];
    o.descending = m.orders[k].direction == 0 ? 1 : 0;
    long final_type = 0;
    long data_type = 0;
    if (!m.orders[k].field) return bad_map();
    if (long st = typ_sch_field_path_info_get(type, m.orders[k].field, &final_type, &o.field, &data_type)) return st;
  }
  return 0;
}

long xform_level(const type_walk& w, long i, cpi_qry_xform* made) {
  const cpi_ty_trav_map& m = w.maps[i];
  ost_ty_trav_level& level = made->levels[static_cast<size_t>(i)];
  level = ost_ty_trav_level{-1, -1, 0, 0, nullptr, 0, nullptr, 0};
  if (long st = xform_conds(m, w.types[i], made, &level)) return st;
  if (long st = xform_orders(m, w.types[i], made, &level)) return st;
  long target = 0;
  if (m.kind & CPI_KIND_TYPE) {
    level.type_id = w.types[i];
  } else if (m.kind & CPI_KIND_ROOT_REL) {
    long type = 0;
    if (long st = root_type(w.root, i, &type)) return st;
    if (long st = relation_on(type, m.rel_name, &level.rel, &target)) return st;
  } else {
    level.from_index = m.parent;
    if (long st = relation_on(w.types[m.parent], m.rel_name, &level.rel, &target)) return st;
  }
  if (m.kind & CPI_KIND_OPTION) level.flags |= kLevelCacheOption;
  return 0;
}

}  // namespace

long cpi_qry_xform_trav_maps(long count, const cpi_ty_trav_map* maps, const cpi_qry_root& root, cpi_qry_xform* out) {
  type_walk w{count, maps, root, std::vector<long>(static_cast<size_t>(count), kUnfixed)};
  for (long i = 0; i < count; ++i)
    if (long st = fix_type(w, i, 0)) return st;
  out->levels.resize(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i)
    if (long st = xform_level(w, i, out)) return st;
  return 0;
}

cpi_qry_xform::~cpi_qry_xform() {
  for (cmn_ty_decimal* d : decimals) cmn_typ_dealloc("cpi_qry_traverse_map", d);
  for (utl_ty_col* col : token_cols) utl_col_free("cpi_qry_traverse_map", col);
}
