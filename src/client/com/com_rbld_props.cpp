// The property cache of the rule builder (type 294) and the property lists
// offered for conditions.
#include <strings.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/oab/oab_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColSlots = 20;
constexpr long kFldName = 1;
constexpr long kFldObjType = 2;
constexpr long kFldPath = 3;
constexpr long kFldKind = 4;
constexpr long kFldValueType = 5;
constexpr long kFldRelation = 6;
constexpr long kFldValue = 7;

std::vector<com_ty_prop> com_rbld_prop_map;
// The lists already made, per object type.
std::map<long, com_ty_prop_cols> com_rbld_prop_objs_col;

com_ty_prop read_prop(dbs_ty_lobj* o) {
  com_ty_prop p;
  p.name = com_rbld_text_of(o, kFldName);
  p.obj_type = com_rbld_long_of(o, kFldObjType);
  p.path = com_rbld_text_of(o, kFldPath);
  p.kind = com_rbld_long_of(o, kFldKind);
  p.value_type = com_rbld_long_of(o, kFldValueType);
  p.is_relation = com_rbld_long_of(o, kFldRelation);
  p.value = com_rbld_text_of(o, kFldValue);
  return p;
}

std::string shown_name(const com_ty_prop& p) {
  if (p.kind == COM_PROP_KIND_STARRED) return p.name + "*";
  if (p.is_relation != 0) return "[" + p.name + "]";
  return p.name;
}

// Rows sort (and merge) by the name as shown, case ignored.
bool by_name(const com_ty_prop* a, const com_ty_prop* b) {
  return strcasecmp(shown_name(*a).c_str(), shown_name(*b).c_str()) < 0;
}

// The lists of every type but the first keep only the names all share: the
// name-sorted lists are merged pairwise.
com_ty_prop_cols common_rows(const com_ty_prop_cols& a, const com_ty_prop_cols& b) {
  com_ty_prop_cols out;
  size_t i = 0, j = 0;
  while (i < a.names.size() && j < b.names.size()) {
    int c = strcasecmp(a.names[i].c_str(), b.names[j].c_str());
    if (c == 0) com_rbld_add_to_list(a, i, &out);
    if (c <= 0) ++i;
    if (c >= 0) ++j;
  }
  return out;
}

}  // namespace

long com_rbld_cache_props(bool all) {
  com_rbld_uncache_props();
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("com_rbld_cache_props", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found)) return st;
  dbs_ty_qry_desc desc{COM_PROP_TYPE, 0, nullptr, 0};
  long st = dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, found);
  for (long i = 0; st == 0 && i < found->count; ++i) {
    com_ty_prop p = read_prop(reinterpret_cast<dbs_ty_lobj**>(found->array)[i]);
    if (all || p.name.empty() || p.name[0] != COM_HIDDEN_PREFIX) com_rbld_prop_map.push_back(std::move(p));
  }
  dbs_obj_free_local_col(nullptr, found);
  if (st != 0) com_rbld_uncache_props();
  return st;
}

void com_rbld_uncache_props() {
  com_rbld_prop_map.clear();
  com_rbld_prop_objs_col.clear();
}

long com_rbld_num_props() { return static_cast<long>(com_rbld_prop_map.size()); }

long com_rbld_map_property(long obj_type, const char* name, const com_ty_prop** out) {
  *out = nullptr;
  for (const com_ty_prop& p : com_rbld_prop_map) {
    bool type_fits = obj_type == COM_ANY_TYPE || p.obj_type == COM_ANY_TYPE || p.obj_type == obj_type;
    if (type_fits && name != nullptr && strcasecmp(p.name.c_str(), name) == 0) {
      *out = &p;
      return 0;
    }
  }
  return 0;
}

void com_rbld_add_to_list(const com_ty_prop_cols& from, size_t i, com_ty_prop_cols* out) {
  out->names.push_back(from.names[i]);
  out->operators.push_back(from.operators[i]);
  out->paths.push_back(from.paths[i]);
  out->kinds.push_back(from.kinds[i]);
  out->value_types.push_back(from.value_types[i]);
  out->values.push_back(from.values[i]);
}

long com_rbld_make_prop_cols(long obj_type, com_ty_prop_cols* out) {
  *out = com_ty_prop_cols{};
  if (long st = com_rbld_ops_init()) return st;
  std::vector<const com_ty_prop*> rows;
  for (const com_ty_prop& p : com_rbld_prop_map)
    if (p.obj_type == obj_type || p.obj_type == COM_ANY_TYPE) rows.push_back(&p);
  std::stable_sort(rows.begin(), rows.end(), by_name);
  std::vector<std::string> ops;
  for (long code = 0; code < COM_NUM_OPERATORS; ++code) ops.emplace_back(com_rbld_cond_opname(code));
  for (const com_ty_prop* p : rows) {
    out->names.push_back(shown_name(*p));
    out->operators.push_back(ops);
    out->paths.push_back(p->path);
    out->kinds.push_back(p->kind);
    out->value_types.push_back(p->value_type);
    out->values.push_back(p->value);
  }
  return 0;
}

long com_rbld_get_properties(const std::vector<long>& obj_types, com_ty_prop_cols* out) {
  *out = com_ty_prop_cols{};
  for (size_t k = 0; k < obj_types.size(); ++k) {
    auto it = com_rbld_prop_objs_col.find(obj_types[k]);
    if (it == com_rbld_prop_objs_col.end()) {
      com_ty_prop_cols cols;
      if (long st = com_rbld_make_prop_cols(obj_types[k], &cols)) return st;
      it = com_rbld_prop_objs_col.emplace(obj_types[k], std::move(cols)).first;
    }
    *out = k == 0 ? it->second : common_rows(*out, it->second);
  }
  return 0;
}
