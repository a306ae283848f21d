// Text dumps of states, the operator table of traversal conditions and the
// dump of traversal maps.
#include <cstdio>
#include <vector>

#include "client/ost/ost_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "schema/typ_fld.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

const ost_ty_op_info op_info[OST_NUM_OPS] = {
    {">", 0, 0},    {">=", 0, 0},   {"<", 0, 0},           {"<=", 0, 0}, {"=", 0, 0},
    {"!=", 0, 0},   {"LIKE", 1, 0}, {"NOT LIKE", 1, 0},    {"SOUNDS LIKE", 1, 0},
    {"IN", 1, 1},   {"IS NOT NULL", 0, 0}, {"&", 0, 0},    {"NOT &", 1, 0},
};

namespace {

ost_ty_state* g_dumped = nullptr;

bool known_op(long op) { return op >= 0 && op < OST_NUM_OPS; }

constexpr long k_entry_indent = 4;

// Each element through its type's print procedure (conditions, which have
// none, as their three words).
long dump_col(FILE* f, long indent, utl_ty_col* col) {
  if (!col) return 0;
  long type = 0, n = 0;
  utl_col_info(col, &type, &n, nullptr, nullptr, nullptr, nullptr);
  cmn_ty_print_proc print = nullptr;
  cmn_typ_info(type, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print);
  const int w = static_cast<int>(indent + k_entry_indent);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    if (print) {
      print(f, indent + k_entry_indent, e, type, i);
    } else if (type == OST_TY_COND) {
      const auto* c = static_cast<const ost_ty_cond*>(e);
      std::fprintf(f, "%*.*sCONDITION %ld %ld %ld\n", w, w, "", c->words[0], c->words[1], c->words[2]);
    }
  }
  return 0;
}

}  // namespace

ost_ty_state* ost_state_get_dump() { return g_dumped; }
long ost_state_set_dump(ost_ty_state* s) {
  g_dumped = s;
  return 0;
}

long ost_rel_op_expects_str(long op) { return known_op(op) ? op_info[op].text_value : 1; }
long ost_rel_op_expects_col(long op) { return known_op(op) ? op_info[op].list_value : 0; }

long ost_state_dump(FILE* f, long indent, const char* title, long options, ost_ty_state* s) {
  if (!f) f = stdout;
  if (long st = ost_state_check(s)) {
    std::fprintf(f, "%s: INVALID STATE %ld\n", "ost_state_dump", reinterpret_cast<long>(s));
    return st;
  }
  const int w = static_cast<int>(indent);
  g_dumped = s;
  std::fprintf(f, "%*.*sSTATE '%s':\n", w, w, "", s->name ? s->name : "<null>");
  std::fprintf(f, "%*.*s  Num_objects  %ld, object_array  %ld, col  %ld\n", w, w, "", s->num_objects,
               reinterpret_cast<long>(s->object_array), reinterpret_cast<long>(s->object_col));
  dump_col(f, indent, s->object_col);
  std::fprintf(f, "%*.*s  Num_relations  %ld, rel_array  %ld, col  %ld\n", w, w, "", s->num_relations,
               reinterpret_cast<long>(s->rel_array), reinterpret_cast<long>(s->rel_col));
  dump_col(f, indent, s->rel_col);
  ost_rel_perm_optimize(s);
  std::fprintf(f, "%*.*s  Num_cached_permanent_relations  %ld, array  %ld, col  %ld\n", w, w, "", s->num_perm_rels,
               reinterpret_cast<long>(s->perm_rel_array), reinterpret_cast<long>(s->perm_rel_col));
  dump_col(f, indent, s->perm_rel_col);
  std::fprintf(f, "%*.*s  condition col  %ld\n", w, w, "", reinterpret_cast<long>(s->cond_col));
  dump_col(f, indent, s->cond_col);
  std::fprintf(f, "%*.*s  Application_data_at %ld, size   %ld\n", w, w, "", reinterpret_cast<long>(s->app_data),
               s->app_data_size);
  std::fprintf(f, "%*.*s  Parent_ptr  %ld, child  %ld, sibling  %ld, next  %ld\n", w, w, "",
               reinterpret_cast<long>(s->parent), reinterpret_cast<long>(s->child),
               reinterpret_cast<long>(s->sibling), reinterpret_cast<long>(s->next));
  std::fprintf(f, "%*.*s  STATE_CALLBACKS:\n", w, w, "");
  for (long i = 0; i < OST_NUM_CALLBACKS; ++i)
    if (s->callbacks[i])
      std::fprintf(f, "%*.*s   CB[%s]: %ld\n", w, w, "", ost_state_cb_names[i],
                   reinterpret_cast<long>(s->callbacks[i]));
  if (options & 1) {
    std::fprintf(f, "%*.*s  CHILDREN_STATES:\n", w, w, "");
    for (ost_ty_state* c = s->child; c; c = c->sibling)
      if (long st = ost_state_dump(f, indent + 3, title, options, c)) return st;
    g_dumped = s;
  }
  g_dumped = nullptr;
  return 0;
}

long ost_state_dump_all(FILE* f, long indent, const char* title, long options) {
  if (!f) f = stdout;
  const int w = static_cast<int>(indent);
  std::fprintf(f, "\n********************\n%*.*sDUMP OF OBJECT STATES '%s'\n", w, w, "", title ? title : "");
  for (ost_ty_state* s = ost_state_first(); s; s = s->next) {
    if (s->parent) continue;
    if (long st = ost_state_dump(f, indent, title, options, s)) return st;
  }
  std::fprintf(f, "\n********************\n\n");
  return 0;
}

long ost_rel_get_trav_type(long from_type, long rel, long* type) {
  *type = -1;
  return typ_sch_get_related(from_type, nullptr, rel, nullptr, type, nullptr);
}

long ost_rel_build_trav_type(utl_ty_col* names, long nlevels, const ost_ty_trav_level* levels, long root_type,
                             long index, long* type) {
  *type = -1;
  if (index < 0 || index >= nlevels) return 1;
  const char* name = static_cast<const char*>(ost_ptr_ith(names, index));
  if (name) {
    long id = -1;
    typ_sch_name_to_id(name, nullptr, &id, nullptr);
    *type = id;
    return 0;
  }
  const ost_ty_trav_level& l = levels[index];
  if (l.rel == -1) {
    *type = l.type_id;
    return 0;
  }
  long from = root_type;
  if (l.from_index >= 0) {
    if (l.from_index == index) return 1;
    if (long st = ost_rel_build_trav_type(names, nlevels, levels, root_type, l.from_index, &from)) return st;
  }
  return ost_rel_get_trav_type(from, l.rel, type);
}

long ost_rel_trav_make_types(utl_ty_col* names, long nlevels, const ost_ty_trav_level* levels, long root_type,
                             long* types) {
  for (long i = 0; i < nlevels; ++i)
    if (long st = ost_rel_build_trav_type(names, nlevels, levels, root_type, i, &types[i])) return st;
  return 0;
}

namespace {

const char* field_name(long type_id, long field) {
  typ_sch_srec* s = nullptr;
  long index = -1;
  if (typ_sch_find_handle(type_id, nullptr, &s) || !s || typ_sch_map(s, field, &index) || index < 0 ||
      index >= s->nfields)
    return "";
  return s->fields[index].name;
}

long field_type(long type_id, long field) {
  long t = -1;
  typ_sch_field_type_get(type_id, field, &t);
  return t;
}

// The text of a value word of the type, through the type registry (texts,
// decimals and longs are held in the word; other values are pointed to).
void print_word(FILE* f, long type, const long* word) {
  const bool in_word = type == CMN_TYP_CHAR_P || type == CMN_TYP_DECIMAL || type == CMN_TYP_LONG ||
                       type == CMN_TYP_SHORT || type == CMN_TYP_BOOLEAN;
  const void* cell = in_word ? static_cast<const void*>(word) : reinterpret_cast<const void*>(*word);
  const char* text = cell ? cmn_typ_val(cell, type, 0) : "";
  std::fputs(text ? text : "", f);
}

// The value's text: an in-list as "(a,b)", else the one value.
void value_text(FILE* f, long type_id, const ost_ty_trav_cond& c) {
  const long t = field_type(type_id, c.field);
  if (!ost_rel_op_expects_col(c.op)) {
    print_word(f, t, &c.value);
    return;
  }
  auto* col = reinterpret_cast<utl_ty_col*>(c.value);
  long n = 0, flags = 0;
  if (col) utl_col_info(col, nullptr, &n, nullptr, nullptr, nullptr, &flags);
  std::fputc('(', f);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    if (i) std::fputc(',', f);
    long word = (flags & UTL_COL_IN_SLOT) ? *static_cast<long*>(e) : reinterpret_cast<long>(e);
    print_word(f, t, &word);
  }
  std::fputc(')', f);
}

}  // namespace

long ost_rel_dump_conds(FILE* f, long indent, long count, const ost_ty_trav_cond* conds, long type_id) {
  if (count <= 0) return 0;
  if (!f) f = stdout;
  const int w = static_cast<int>(indent), w2 = static_cast<int>(indent + 2);
  std::fprintf(f, "%*.*sCONDITIONS:\n", w, w, "");
  for (long i = 0; i < count; ++i) {
    const char* op = known_op(conds[i].op) ? op_info[conds[i].op].text : "";
    std::fprintf(f, "%*.*s%s %s ", w2, w2, "", field_name(type_id, conds[i].field), op);
    value_text(f, type_id, conds[i]);
    std::fputc('\n', f);
  }
  return 0;
}

long ost_rel_dump_order(FILE* f, long indent, long count, const ost_ty_trav_order* orders, long type_id) {
  if (count <= 0) return 0;
  if (!f) f = stdout;
  const int w = static_cast<int>(indent), w2 = static_cast<int>(indent + 2);
  std::fprintf(f, "%*.*sSORT BY:\n", w, w, "");
  for (long i = 0; i < count; ++i)
    std::fprintf(f, "%*.*s%s %s\n", w2, w2, "", field_name(type_id, orders[i].field),
                 orders[i].descending == 1 ? "DESCENDING" : "ASCENDING");
  return 0;
}

long ost_rel_dump_trav(FILE* f, long indent, utl_ty_col* names, long nlevels, const ost_ty_trav_level* levels,
                       long root_type, long) {
  if (nlevels <= 0) return 0;
  if (!f) f = stdout;
  std::vector<long> types(static_cast<size_t>(nlevels), -1);
  for (long i = 0; i < nlevels; ++i) ost_rel_build_trav_type(names, nlevels, levels, root_type, i, &types[i]);
  for (long i = 0; i < nlevels; ++i) {
    long depth = 0;
    for (long p = levels[i].from_index; p >= 0 && p < nlevels && depth <= nlevels; p = levels[p].from_index) ++depth;
    const long in = indent + 2 * depth;
    const int w = static_cast<int>(in);
    const char* type_name = nullptr;
    typ_sch_id_to_name(types[i], -1, &type_name, nullptr);
    if (levels[i].rel == -1) {
      std::fprintf(f, "%*.*s%ld) SIMPLE QUERY of type '%s'.\n", w, w, "", i, type_name ? type_name : "");
    } else {
      long from = levels[i].from_index >= 0 && levels[i].from_index < nlevels ? types[levels[i].from_index] : root_type;
      const char* from_name = nullptr;
      typ_sch_id_to_name(from, -1, &from_name, nullptr);
      std::fprintf(f, "%*.*s%ld) FROM '%s' TO '%s' via relation '%s'.\n", w, w, "", i, from_name ? from_name : "",
                   type_name ? type_name : "", typ_sch_get_rel_name(from, nullptr, levels[i].rel));
    }
    ost_rel_dump_order(f, in + 2, levels[i].norder, levels[i].orders, types[i]);
    ost_rel_dump_conds(f, in + 2, levels[i].ncond, levels[i].conds, types[i]);
  }
  return 0;
}
