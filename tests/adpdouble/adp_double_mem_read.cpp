// The in-memory database's reads: conditions, simple and relation queries,
// related objects, foreign-key columns and the SQL batch of several reads.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "adpdouble/adp_double_mem_int.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace adp_mem {

namespace {

constexpr long k_bad_cond = 0x70002f;
constexpr long k_no_result = 0x600021;

bool like(const char* text, const char* pattern) {
  if (!*pattern) return !*text;
  if (*pattern == '%') return like(text, pattern + 1) || (*text && like(text + 1, pattern));
  if (!*text) return false;
  if (*pattern == '_' || *pattern == *text) return like(text + 1, pattern + 1);
  return false;
}

// <0, 0, >0 of the cell against one value word of the field's type.
long compare(const typ_sch_frec& f, const cell& c, long value) {
  if (c.inline_value) return c.word < value ? -1 : (c.word > value ? 1 : 0);
  if (c.text) {
    const char* v = value ? reinterpret_cast<const char*>(value) : "";
    return st().nocase ? strcasecmp(c.bytes.c_str(), v) : std::strcmp(c.bytes.c_str(), v);
  }
  long result = 0;
  cmn_typ_valcomp(f.data_type, c.bytes.data(), reinterpret_cast<const void*>(value), &result);
  return result;
}

bool in_list(const typ_sch_frec& f, const cell& c, long value) {
  auto* col = reinterpret_cast<utl_ty_col*>(value);
  long n = 0, flags = 0;
  if (!col) return false;
  utl_col_info(col, nullptr, &n, nullptr, nullptr, nullptr, &flags);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    long word = 0;
    if (c.text) word = (flags & UTL_COL_IN_SLOT) ? *static_cast<long*>(e) : reinterpret_cast<long>(e);
    else if (c.inline_value) word = *static_cast<long*>(e);
    else word = reinterpret_cast<long>(e);
    if (compare(f, c, word) == 0) return true;
  }
  return false;
}

long test(const typ_sch_frec& f, const cell& c, long op, long value, bool* ok) {
  switch (op) {
    case 0: *ok = compare(f, c, value) > 0; return 0;
    case 1: *ok = compare(f, c, value) >= 0; return 0;
    case 2: *ok = compare(f, c, value) < 0; return 0;
    case 3: *ok = compare(f, c, value) <= 0; return 0;
    case 4: *ok = compare(f, c, value) == 0; return 0;
    case 5: *ok = compare(f, c, value) != 0; return 0;
    case 6:
    case 7:
      *ok = like(c.bytes.c_str(), value ? reinterpret_cast<const char*>(value) : "") == (op == 6);
      return 0;
    case 9: *ok = in_list(f, c, value); return 0;
    case 11: *ok = c.inline_value && (c.word & value) != 0; return 0;  // any of the bits set
    case 12: *ok = c.inline_value && (c.word & value) == 0; return 0;  // none of them set
    case 13: *ok = c.inline_value && c.word == 0; return 0;
    case 14: *ok = c.inline_value && c.word != 0; return 0;
    default: return push(k_bad_cond);
  }
}

// An ordering as the query layer receives it: field id, descending byte.
struct order_rec {
  long field;
  char descending;
};

long field_index(typ_sch_srec* s, long field) {
  long index = -1;
  if (typ_sch_map(s, field, &index) || index < 0 || index >= s->nfields) return -1;
  return index;
}

void sort_rows(std::vector<const row*>& rows, typ_sch_srec* s, long n_order, const void* orders) {
  if (n_order <= 0 || !orders || !s) return;
  const auto* o = static_cast<const order_rec*>(orders);
  std::stable_sort(rows.begin(), rows.end(), [&](const row* a, const row* b) {
    for (long k = 0; k < n_order; ++k) {
      long i = field_index(s, o[k].field);
      if (i < 0) continue;
      const cell& ca = a->cells[static_cast<size_t>(i)];
      const cell& cb = b->cells[static_cast<size_t>(i)];
      long c = 0;
      if (ca.inline_value) c = ca.word < cb.word ? -1 : (ca.word > cb.word ? 1 : 0);
      else if (ca.text) c = ca.bytes.compare(cb.bytes);
      else cmn_typ_valcomp(s->fields[i].data_type, ca.bytes.data(), cb.bytes.data(), &c);
      if (c) return o[k].descending == 1 ? c > 0 : c < 0;
    }
    return false;
  });
}

// Appends a fresh local object for each row, or the row's number.
long emit(const std::vector<const row*>& rows, bool ids_only, utl_ty_col* out) {
  for (const row* r : rows) {
    if (ids_only) {
      long number = r->id.num;
      if (long code = utl_col_push(out, &number, nullptr)) return code;
      continue;
    }
    dbs_ty_lobj* o = nullptr;
    if (long code = st().procs.make(nullptr, r->id.type & DBS_OID_TYPE_MASK, &o)) return code;
    long code = write_object(*r, o);
    if (code == 0) code = utl_col_push(out, &o, nullptr);
    if (code) {
      st().procs.free_local("adp_double", o);
      return code;
    }
  }
  return 0;
}

// The rows of a type meeting a description, in the orderings' order.
long select_rows(long type, void* desc, long n_order, const void* orders, std::vector<const row*>* out) {
  for (const row& r : st().db.rows) {
    if ((r.id.type & DBS_OID_TYPE_MASK) != type) continue;
    bool ok = true;
    if (long code = meets(r, desc, &ok)) return code;
    if (ok) out->push_back(&r);
  }
  sort_rows(*out, schema_of(type), n_order, orders);
  return 0;
}

}  // namespace

long meets(const row& r, void* desc, bool* ok) {
  *ok = true;
  auto* d = static_cast<dbs_ty_qry_desc*>(desc);
  if (!d) return 0;
  typ_sch_srec* s = schema_of(r.id.type);
  if (!s) return push(k_bad_cond);
  for (long i = 0; i < d->count && *ok; ++i) {
    const dbs_ty_qry_cond& c = d->conds[i];
    long index = field_index(s, c.field);
    if (index < 0 || index >= static_cast<long>(r.cells.size())) return push(k_bad_cond);
    if (long code = test(s->fields[index], r.cells[static_cast<size_t>(index)], c.op, c.value, ok)) return code;
  }
  return 0;
}

long query(void* desc, long n_order, const void* orders, bool ids_only, utl_ty_col* out) {
  auto* d = static_cast<dbs_ty_qry_desc*>(desc);
  std::vector<const row*> rows;
  if (long code = select_rows(d->type_id, desc, n_order, orders, &rows)) return code;
  return emit(rows, ids_only, out);
}

long count(void* desc, long* out) {
  std::vector<const row*> rows;
  if (long code = select_rows(static_cast<dbs_ty_qry_desc*>(desc)->type_id, desc, 0, nullptr, &rows)) return code;
  *out = static_cast<long>(rows.size());
  return 0;
}

long query_related(const obj_id& from, long rel_id, void* target_desc, long n_order, const void* orders,
                   bool ids_only, utl_ty_col* out) {
  std::vector<const row*> rows;
  for (const obj_id& id : related_of(from, rel_id)) {
    const row* r = find_row(id);
    if (!r) continue;
    bool ok = true;
    if (long code = meets(*r, target_desc, &ok)) return code;
    if (ok) rows.push_back(r);
  }
  sort_rows(rows, schema_of(from.type), 0, nullptr);
  if (!rows.empty()) sort_rows(rows, schema_of(rows.front()->id.type), n_order, orders);
  return emit(rows, ids_only, out);
}

long related(dbs_ty_lobj* object, long rel_id, utl_ty_col* objects) {
  obj_id id{};
  if (long code = st().procs.oid_get(object, &id)) return code;
  return query_related(id, rel_id, nullptr, 0, nullptr, false, objects);
}

long related_ids(const obj_id& id, long rel_id, utl_ty_col* ids) {
  for (const obj_id& x : related_of(id, rel_id)) {
    obj_id copy{x.type & DBS_OID_TYPE_MASK, x.num, 0};
    if (long code = utl_col_push(ids, &copy, nullptr)) return code;
  }
  return 0;
}

long related_id_to_id(const obj_id& a, long rel_id, const obj_id& b, char* out) {
  *out = 0;
  for (const obj_id& x : related_of(a, rel_id))
    if (x.num == b.num && (x.type & DBS_OID_TYPE_MASK) == (b.type & DBS_OID_TYPE_MASK)) *out = 1;
  if (!*out)
    for (const obj_id& x : related_of(b, rel_id))
      if (x.num == a.num && (x.type & DBS_OID_TYPE_MASK) == (a.type & DBS_OID_TYPE_MASK)) *out = 1;
  return 0;
}

long fk_cols(long type, long number, long n, const char* const* columns, long* values) {
  const row* r = find_row({type, number, 0});
  for (long i = 0; i < n; ++i) {
    values[i] = 0;
    if (!r || !columns[i]) continue;
    auto it = r->fks.find(lower(columns[i]));
    if (it != r->fks.end()) values[i] = it->second;
  }
  return 0;
}

// The SQL batch: statements wait for the execution, which makes one result
// set each; the reads take the result sets in order.
namespace {

struct statement {
  enum kind_t { get, simple, related_objs, sqlvar } kind;
  long type, number;
  dbs_ty_qry_desc desc;
  std::vector<dbs_ty_qry_cond> conds;
  obj_id from;
  long rel;
  std::vector<order_rec> orders;
  bool ids_only;
};

struct result_set {
  std::vector<const row*> rows;
  std::vector<long> numbers;  // a variable's value (sqlvar)
  bool ids_only;
};

struct sql_batch {
  std::vector<statement> pending;
  std::vector<result_set> results;
  size_t cursor = 0;
};

sql_batch& batch() {
  static sql_batch b;
  return b;
}

statement with_desc(statement::kind_t kind, void* desc, long n_order, const void* orders, bool ids_only) {
  statement s{kind, 0, 0, {}, {}, {}, 0, {}, ids_only};
  if (auto* d = static_cast<dbs_ty_qry_desc*>(desc)) {
    s.desc = *d;
    s.type = d->type_id;
    s.conds.assign(d->conds, d->conds + (d->count > 0 ? d->count : 0));
    s.desc.conds = s.conds.data();
  }
  if (orders && n_order > 0) {
    const auto* o = static_cast<const order_rec*>(orders);
    s.orders.assign(o, o + n_order);
  }
  return s;
}

std::string text_of(const statement& s) {
  std::string t;
  switch (s.kind) {
    case statement::get: t = "get " + std::to_string(s.type) + "/" + std::to_string(s.number); break;
    case statement::simple: t = "simple " + std::to_string(s.type); break;
    case statement::related_objs:
      t = "related " + std::to_string(s.from.type & DBS_OID_TYPE_MASK) + "/" + std::to_string(s.from.num) +
          " rel " + std::to_string(s.rel);
      break;
    case statement::sqlvar: t = "sqlvar " + std::to_string(s.number); break;
  }
  for (const dbs_ty_qry_cond& c : s.conds)
    t += " [" + std::to_string(c.field) + " " + std::to_string(c.op) + "]";
  return s.ids_only ? t + " ids" : t;
}

long run(const statement& s, result_set* out) {
  out->ids_only = s.ids_only;
  switch (s.kind) {
    case statement::sqlvar:
      out->numbers.push_back(s.number);
      return 0;
    case statement::get:
      if (const row* r = find_row({s.type, s.number, 0})) out->rows.push_back(r);
      return 0;
    case statement::simple:
      return select_rows(s.type, const_cast<dbs_ty_qry_desc*>(&s.desc), static_cast<long>(s.orders.size()),
                         s.orders.data(), &out->rows);
    case statement::related_objs:
      for (const obj_id& id : related_of(s.from, s.rel)) {
        const row* r = find_row(id);
        bool ok = r != nullptr;
        if (r && !s.conds.empty()) {
          if (long code = meets(*r, const_cast<dbs_ty_qry_desc*>(&s.desc), &ok)) return code;
        }
        if (ok) out->rows.push_back(r);
      }
      if (!out->rows.empty())
        sort_rows(out->rows, schema_of(out->rows.front()->id.type), static_cast<long>(s.orders.size()),
                  s.orders.data());
      return 0;
  }
  return 0;
}

}  // namespace

void sql_reset() { batch() = sql_batch{}; }

long sql_start() {
  batch().pending.clear();
  return 0;
}

long sql_add_get(long type, long number, bool ids_only) {
  batch().pending.push_back({statement::get, type, number, {}, {}, {}, 0, {}, ids_only});
  return 0;
}

long sql_add_simple(void* desc, long n_order, const void* orders, long flags) {
  batch().pending.push_back(with_desc(statement::simple, desc, n_order, orders, flags & 4));
  return 0;
}

long sql_add_related(void* from_desc, long rel_id, void* target_desc, long n_order, const void* orders, long flags) {
  statement s = with_desc(statement::related_objs, target_desc, n_order, orders, flags & 4);
  auto* f = static_cast<dbs_ty_qry_desc*>(from_desc);
  // The from description names the parent by its object-id condition.
  s.from = {f ? f->type_id : 0, f && f->count > 0 ? f->conds[0].value : 0, 0};
  s.rel = rel_id;
  batch().pending.push_back(std::move(s));
  return 0;
}

long sql_add_sqlvar(long n) {
  batch().pending.push_back({statement::sqlvar, 0, n, {}, {}, {}, 0, {}, true});
  return 0;
}

long sql_execute() {
  sql_batch& b = batch();
  ++st().sql_executions;
  b.results.clear();
  b.cursor = 0;
  std::vector<statement> pending;
  pending.swap(b.pending);
  for (const statement& s : pending) {
    st().sql_log.push_back(text_of(s));
    result_set r;
    if (long code = run(s, &r)) return code;
    b.results.push_back(std::move(r));
  }
  return 0;
}

long sql_skip() {
  if (batch().cursor < batch().results.size()) ++batch().cursor;
  return 0;
}

long sql_more(char* more) {
  *more = batch().cursor < batch().results.size() ? 1 : 0;
  return 0;
}

long sql_read_objects(utl_ty_col* out) {
  sql_batch& b = batch();
  if (b.cursor >= b.results.size()) return push(k_no_result);
  const result_set& r = b.results[b.cursor++];
  return emit(r.rows, false, out);
}

long sql_read_ids(utl_ty_col* out) {
  sql_batch& b = batch();
  if (b.cursor >= b.results.size()) return push(k_no_result);
  const result_set& r = b.results[b.cursor++];
  for (long number : r.numbers)
    if (long code = utl_col_push(out, &number, nullptr)) return code;
  return emit(r.rows, true, out);
}

}  // namespace adp_mem
