// Power-query and order records made from simple queries (through the view
// map), from condition objects and from sort objects; their frees and the
// scratch collections that keep the texts of the simple-query transform.
#include <cstring>
#include <string>

#include "client/oab/oab_qry.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_path.h"
#include "store/dbs_fld.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kScratchSlots = 5;
constexpr long kTextExtend = 50;
constexpr long kCondPath = 1;
constexpr long kCondOperator = 3;
constexpr long kCondValue = 5;
constexpr long kSortPath = 3;
constexpr long kOwnFreeRecordKept = 1;
constexpr long kFirstLeftOut = 9;   // simple operators 9-11 are not carried over
constexpr long kLastLeftOut = 11;

utl_ty_col* g_estr_col = nullptr;  // utl_ty_estr* of the transform's texts
utl_ty_col* g_str_col = nullptr;   // const char* of the order paths

long scratch_make() {
  if (g_estr_col == nullptr)
    if (long st = utl_col_make("oab_qry_scratch", CMN_TYP_VOID_P, kScratchSlots, kScratchSlots, 0, 0, &g_estr_col))
      return st;
  if (g_str_col == nullptr)
    return utl_col_make("oab_qry_scratch", CMN_TYP_VOID_P, kScratchSlots, kScratchSlots, 0, 0, &g_str_col);
  return 0;
}

template <class T>
T ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return *static_cast<T*>(slot);
}

const char* text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0) return "";
  return v != 0 ? reinterpret_cast<const char*>(v) : "";
}

bool all_blank(const char* t) { return std::strspn(t, " \t") == std::strlen(t); }

// The data type of a path on a type, or 0 when the path does not resolve
// (the schema's alert is taken off again: the condition is left out).
long path_data_type(long type, const char* path) {
  long t = 0, f = 0, d = 0;
  if (typ_sch_field_path_info_get(type, path, &t, &f, &d) == 0) return d;
  cmn_alrt_pop(nullptr, nullptr, nullptr);
  return 0;
}

// One simple condition in power form; *taken false when it is left out.
long xform_cond(long view, long type, const dbs_ty_qry_cond& c, dbs_ty_pwr_cond* out, bool* taken) {
  *taken = false;
  if (c.op >= kFirstLeftOut && c.op <= kLastLeftOut) return 0;
  long t = 0;
  const char* path = nullptr;
  oab_qry_view_to_obj_map(view, c.field, &t, &path);
  if (path == nullptr) return 0;
  long data = path_data_type(type, path);
  long op = 0;
  std::string value;
  if (data == CMN_TYP_CHAR_P && c.value != 0) {
    if (long st = oab_qry_xform_string_val(c.op, reinterpret_cast<const char*>(c.value), &op, &value)) return st;
  } else if (data == CMN_TYP_LONG) {
    if (long st = oab_qry_xform_long_val(c.op, c.value, &op, &value)) return st;
  } else {
    return 0;
  }
  const char* kept_path = nullptr;
  const char* kept_value = nullptr;
  if (long st = oab_qry_scratch_keep(path, &kept_path)) return st;
  if (long st = oab_qry_scratch_keep(value.c_str(), &kept_value)) return st;
  *out = dbs_ty_pwr_cond{kept_path, op, kept_value};
  *taken = true;
  return 0;
}

long xform_orders(long view, long type, long n, const oab_ty_qry_order* orders, oab_ty_pwr_order* out) {
  *out = oab_ty_pwr_order{type, 0, nullptr, 0};
  if (n <= 0 || orders == nullptr) return 0;
  out->direction = static_cast<unsigned char>(orders[0].direction & 0xff);
  for (long i = 0; i < n; ++i) {
    long t = 0;
    const char* path = nullptr;
    oab_qry_view_to_obj_map(view, orders[i].field, &t, &path);
    if (path == nullptr) continue;
    const char* kept = nullptr;
    if (long st = oab_qry_scratch_keep(path, &kept)) return st;
    if (long st = utl_col_push(g_str_col, &kept, nullptr)) return st;
  }
  out->count = g_str_col->count;
  out->paths = reinterpret_cast<const char**>(g_str_col->array);
  return 0;
}

dbs_ty_pwr_list* new_record(long type, long slots) {
  auto* rec = new dbs_ty_pwr_list{type, 0, nullptr, 1, nullptr, 0};
  rec->conds = new dbs_ty_pwr_cond[static_cast<size_t>(slots > 0 ? slots : 1)];
  return rec;
}

}  // namespace

long oab_qry_scratch_keep(const char* text, const char** kept) {
  if (long st = scratch_make()) return st;
  utl_ty_estr* e = nullptr;
  if (long st = utl_estr_create("oab_qry_scratch_keep", text, 1, kTextExtend, &e)) return st;
  if (long st = utl_col_push(g_estr_col, &e, nullptr)) {
    utl_estr_free("oab_qry_scratch_keep", e);
    return st;
  }
  *kept = e->text;
  return 0;
}

long oab_qry_reset_scratch_cols() {
  if (g_estr_col != nullptr) {
    for (long i = 0; i < g_estr_col->count; ++i) utl_estr_free("oab_qry_reset_scratch_cols", ith<utl_ty_estr*>(g_estr_col, i));
    utl_col_reset(g_estr_col);
  }
  if (g_str_col != nullptr) utl_col_reset(g_str_col);
  return 0;
}

long oab_qry_scratch_free() {
  oab_qry_reset_scratch_cols();
  for (utl_ty_col** col : {&g_estr_col, &g_str_col}) {
    if (*col != nullptr) utl_col_free("oab_qry_scratch_free", *col);
    *col = nullptr;
  }
  return 0;
}

long oab_qry_xform_simple_query(dbs_ty_qry_desc* query, long num_orders, const oab_ty_qry_order* orders,
                                dbs_ty_pwr_list** out, oab_ty_pwr_order** order, char* flag) {
  *out = nullptr;
  *order = nullptr;
  *flag = 0;
  if (long st = scratch_make()) return st;
  long type = -1;
  oab_qry_view_to_obj_map(query->type_id, -1, &type, nullptr);
  dbs_ty_pwr_list* rec = new_record(type, query->count);
  auto* ord = new oab_ty_pwr_order{};
  long st = 0;
  for (long i = 0; st == 0 && i < query->count && query->conds != nullptr; ++i) {
    bool taken = false;
    st = xform_cond(query->type_id, type, query->conds[i], &rec->conds[rec->count], &taken);
    if (taken) rec->pattern_count = ++rec->count;
  }
  if (st == 0) st = xform_orders(query->type_id, type, num_orders, orders, ord);
  if (st != 0) {
    oab_qry_pwr_obj_cond_free(rec, 0);
    delete ord;
    return st;
  }
  *out = rec;
  *order = ord;
  *flag = 1;
  return 0;
}

long oab_qry_xform_qry(long type, utl_ty_col* conditions, dbs_ty_pwr_list** out, long flags) {
  long n = (flags & 1) && conditions != nullptr ? conditions->count : 0;
  dbs_ty_pwr_list* rec = new_record(type, n);
  for (long i = 0; i < n; ++i) {
    auto* o = ith<dbs_ty_lobj*>(conditions, i);
    long op = 0;
    if (long st = dbs_fld_get(o, kCondOperator, &op, nullptr)) {
      oab_qry_pwr_obj_cond_free(rec, 0);
      return st;
    }
    rec->conds[i] = dbs_ty_pwr_cond{text_of(o, kCondPath), op, text_of(o, kCondValue)};
  }
  rec->count = n;
  rec->pattern_count = n;
  *out = rec;
  return 0;
}

long oab_qry_xform_mult_sort(long type, long direction, utl_ty_col* sorts, oab_ty_pwr_order** out) {
  auto* ord = new oab_ty_pwr_order{type, 0, nullptr, direction};
  long n = sorts != nullptr ? sorts->count : 0;
  ord->paths = new const char*[static_cast<size_t>(n > 0 ? n : 1)];
  for (long i = 0; i < n; ++i) {
    const char* path = text_of(ith<dbs_ty_lobj*>(sorts, i), kSortPath);
    if (all_blank(path)) continue;
    char* copy = new char[std::strlen(path) + 1];
    std::strcpy(copy, path);
    ord->paths[ord->count++] = copy;
  }
  *out = ord;
  return 0;
}

long oab_qry_pwr_obj_cond_free(dbs_ty_pwr_list* query, long flag) {
  if (query == nullptr) return 0;
  delete[] query->conds;
  query->conds = nullptr;
  if (!(flag & kOwnFreeRecordKept)) delete query;
  return 0;
}

long oab_qry_pwr_order_free(oab_ty_pwr_order* order) {
  if (order == nullptr) return 0;
  for (long i = 0; i < order->count; ++i) delete[] order->paths[i];
  delete[] order->paths;
  delete order;
  return 0;
}

long oab_qry_dealloc_query(dbs_ty_pwr_list* query, long order_record, long) {
  oab_qry_pwr_obj_cond_free(query, 0);
  delete reinterpret_cast<oab_ty_pwr_order*>(order_record);
  return oab_qry_reset_scratch_cols();
}
