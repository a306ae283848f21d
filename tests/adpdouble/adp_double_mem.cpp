// The in-memory database: rows and link rows, values of local objects,
// transactions with undo, and the write batch.
#include "adpdouble/adp_double_mem_int.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace adp_mem {

namespace {

constexpr long k_not_found = 0x70002d;
constexpr long k_dup_key = 0x70002c;
constexpr long k_failed = 0x70002f;
constexpr long k_no_row = 0x600004;

row* find_in(database& d, const obj_id& id) {
  for (row& r : d.rows)
    if ((r.id.type & DBS_OID_TYPE_MASK) == (id.type & DBS_OID_TYPE_MASK) && r.id.num == id.num) return &r;
  return nullptr;
}

size_t boxed_size(long type) {
  switch (type) {
    case 514: return sizeof(float);
    case 609: return sizeof(clktime);
    case 613:
    case 614: return sizeof(double);
    case 766: return sizeof(cmn_ty_decimal);
    default: return 0;
  }
}

bool same(const obj_id& a, const obj_id& b) {
  return (a.type & DBS_OID_TYPE_MASK) == (b.type & DBS_OID_TYPE_MASK) && a.num == b.num;
}

}  // namespace

store& st() {
  static store s;
  return s;
}

void enable(const store_procs& procs) {
  reset();
  st().on = true;
  st().procs = procs;
}
bool on() { return st().on; }
void set_case_insensitive(bool on) { st().nocase = on; }
void reset() {
  st() = store{};
  sql_reset();
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

long push(long code) {
  cmn_alrt_push(nullptr, "adp_double", code, 2, "double", "double");
  return code;
}

typ_sch_srec* schema_of(long type_id) {
  typ_sch_srec* s = nullptr;
  if (typ_sch_find_handle(type_id & DBS_OID_TYPE_MASK, nullptr, &s)) return nullptr;
  return s;
}

row* find_row(const obj_id& id) {
  for (row& r : st().db.rows)
    if (same(r.id, id)) return &r;
  return nullptr;
}

long read_object(dbs_ty_lobj* o, row* out) {
  typ_sch_srec* s = o->schema;
  if (long code = st().procs.oid_get(o, &out->id)) return code;
  out->cells.assign(static_cast<size_t>(s->nfields), cell{});
  for (long i = 0; i < s->nfields; ++i) {
    const typ_sch_frec& f = s->fields[i];
    cell& c = out->cells[static_cast<size_t>(i)];
    c.present = true;
    if (f.flags & TYP_FLD_INTEGER) {
      c.inline_value = true;
      c.word = o->slots[i].l;
    } else if (f.data_type == 516) {
      c.text = true;
      c.bytes = o->slots[i].p ? static_cast<const char*>(o->slots[i].p) : "";
    } else if (size_t n = boxed_size(f.data_type); n && o->slots[i].p) {
      c.bytes.assign(static_cast<const char*>(o->slots[i].p), n);
    } else {
      c.present = false;
    }
  }
  return 0;
}

long write_object(const row& r, dbs_ty_lobj* o) {
  typ_sch_srec* s = o->schema;
  for (long i = 0; i < s->nfields && i < static_cast<long>(r.cells.size()); ++i) {
    const cell& c = r.cells[static_cast<size_t>(i)];
    if (!c.present) continue;
    long code = 0;
    if (c.inline_value) {
      code = st().procs.set_local(o, i, &c.word, 1);
    } else {
      const void* p = c.bytes.data();
      if (c.text) p = c.bytes.c_str();
      code = st().procs.set_local(o, i, &p, 1);
    }
    if (code) return code;
  }
  st().procs.mark_dirty(o, 0);
  return st().procs.make_perm(o, 1);
}

bool relation_of(long type_id, long rel_id, typ_sch_rrec** rel, char* side) {
  typ_sch_srec* s = schema_of(type_id);
  long index = -1;
  if (!s || typ_sch_rel_map(s, rel_id, &index) || index < 0 || index >= s->nrels) return false;
  *rel = typ_sch_entry_rel(&s->rels[index]);
  *side = s->rels[index].side;
  return *rel != nullptr;
}

std::string fk_column(const typ_sch_rrec* rel) { return lower(typ_sch_get_frel_name(rel)); }

std::vector<obj_id> related_of(const obj_id& id, long rel_id) {
  std::vector<obj_id> out;
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (!relation_of(id.type, rel_id, &r, &side)) return out;
  const bool primary = side == 'p';
  typ_sch_srec* other = primary ? r->fschema : r->pschema;
  if (!other) return out;
  if (r->type == TYP_REL_MTM) {
    for (const link_row& l : st().db.links) {
      if (l.rel != r) continue;
      if (primary && l.primary == id.num) out.push_back({other->type_id, l.foreign, 0});
      if (!primary && l.foreign == id.num) out.push_back({other->type_id, l.primary, 0});
    }
    return out;
  }
  const std::string column = fk_column(r);
  if (primary) {
    for (const row& x : st().db.rows) {
      if ((x.id.type & DBS_OID_TYPE_MASK) != other->type_id) continue;
      auto it = x.fks.find(column);
      if (it != x.fks.end() && it->second == id.num && id.num != 0) out.push_back(x.id);
    }
  } else if (const row* self = find_row(id)) {
    auto it = self->fks.find(column);
    if (it != self->fks.end() && it->second != 0) out.push_back({other->type_id, it->second, 0});
  }
  return out;
}

// Reading and writing objects.
long obj_get(long type, long number, dbs_ty_lobj* object) {
  const row* r = find_row({type, number, 0});
  if (!r) return push(k_not_found);
  return write_object(*r, object);
}

long obj_create(const obj_id& id, dbs_ty_lobj* object) {
  if (find_row(id)) return push(k_dup_key);
  row r;
  if (long code = read_object(object, &r)) return code;
  r.id = id;
  st().db.rows.push_back(std::move(r));
  return 0;
}

long obj_put(dbs_ty_lobj* object) {
  row fresh;
  if (long code = read_object(object, &fresh)) return code;
  row* r = find_row(fresh.id);
  if (!r) return push(k_not_found);
  fresh.fks = r->fks;
  *r = std::move(fresh);
  return 0;
}

long obj_delete(const obj_id& id) {
  auto& rows = st().db.rows;
  auto it = std::find_if(rows.begin(), rows.end(), [&](const row& r) { return same(r.id, id); });
  if (it == rows.end()) return push(k_not_found);
  rows.erase(it);
  return 0;
}

long insert(dbs_ty_lobj* object) {
  row r;
  if (long code = read_object(object, &r)) return code;
  if (find_row(r.id)) return push(k_dup_key);
  st().db.rows.push_back(std::move(r));
  for (database& d : st().undo) d.rows.push_back(st().db.rows.back());
  return 0;
}

void set_fk(const obj_id& id, const std::string& column, long number) {
  if (row* r = find_row(id)) r->fks[lower(column)] = number;
}

void link(const typ_sch_rrec* rel, long primary, long foreign) {
  st().db.links.push_back({rel, primary, foreign, {}});
}

long incr_field(long type, long number, const std::string& field, long* out) {
  row* r = find_row(obj_id{type, number, 0});
  typ_sch_srec* s = schema_of(type);
  if (!r || !s) {
    cmn_alrt_push(nullptr, "adp_obj_incr_field", k_no_row, 0);
    return k_no_row;
  }
  for (long i = 0; i < s->nfields && i < static_cast<long>(r->cells.size()); ++i) {
    if (lower(s->fields[i].name) != lower(field)) continue;
    cell& c = r->cells[static_cast<size_t>(i)];
    c.present = c.inline_value = true;
    *out = ++c.word;
    for (database& d : st().undo)
      if (row* u = find_in(d, r->id)) u->cells[static_cast<size_t>(i)] = c;
    return 0;
  }
  cmn_alrt_push(nullptr, "adp_obj_incr_field", k_no_row, 0);
  return k_no_row;
}

bool has_row(const obj_id& id) { return find_row(id) != nullptr; }

long row_count(long type_id) {
  long n = 0;
  for (const row& r : st().db.rows) n += (r.id.type & DBS_OID_TYPE_MASK) == type_id;
  return n;
}

long fk_of(const obj_id& id, const std::string& column) {
  const row* r = find_row(id);
  if (!r) return -1;
  auto it = r->fks.find(lower(column));
  return it == r->fks.end() ? 0 : it->second;
}

long link_count(const typ_sch_rrec* rel, long primary, long foreign) {
  long n = 0;
  for (const link_row& l : st().db.links) n += l.rel == rel && l.primary == primary && l.foreign == foreign;
  return n;
}

std::string field_text(const obj_id& id, long field) {
  const row* r = find_row(id);
  if (!r || field < 0 || field >= static_cast<long>(r->cells.size())) return "";
  const cell& c = r->cells[static_cast<size_t>(field)];
  if (!c.present) return "";
  if (c.inline_value) return std::to_string(c.word);
  if (c.text) return c.bytes;
  if (c.bytes.size() == sizeof(clktime)) {
    clktime t{};
    std::memcpy(&t, c.bytes.data(), sizeof t);
    return std::to_string(t.day) + "/" + std::to_string(t.ticks);
  }
  if (c.bytes.size() == sizeof(cmn_ty_decimal)) {
    cmn_ty_decimal d{};
    std::memcpy(&d, c.bytes.data(), sizeof d);
    return d.text;
  }
  return "";
}

long batch_runs() { return st().batch_runs; }
long sql_executions() { return st().sql_executions; }
const std::vector<std::string>& sql_log() { return st().sql_log; }
void clear_sql_log() { st().sql_log.clear(); }
long trn_level() { return static_cast<long>(st().undo.size()); }

// Transactions: the database as it was when each level began.
void trn_begin() { st().undo.push_back(st().db); }
void trn_commit() {
  if (!st().undo.empty()) st().undo.pop_back();
}
void trn_rollback() {
  if (!st().undo.empty()) st().db = st().undo.front();
  st().undo.clear();
}

// The write batch.
void queue_object(dbs_ty_lobj* object, char create, char del, long option) {
  st().queue.push_back({true, object, create, del, option, {}, {}, {}, 0, 0});
}
void queue_relation(const obj_id& a, const obj_id& b, const obj_id& link_row, long rel_id, char relate) {
  st().queue.push_back({false, nullptr, 0, 0, 0, a, b, link_row, rel_id, relate});
}
void abort_batch() { st().queue.clear(); }

namespace {

long apply_object(const queued& q) {
  obj_id id{};
  if (long code = st().procs.oid_get(q.object, &id)) return code;
  if (q.del) {
    obj_delete(id);
    auto& links = st().db.links;
    links.erase(std::remove_if(links.begin(), links.end(), [&](const link_row& l) {
                  return (l.rel->pschema && l.rel->pschema->type_id == (id.type & DBS_OID_TYPE_MASK) &&
                          l.primary == id.num) ||
                         (l.rel->fschema && l.rel->fschema->type_id == (id.type & DBS_OID_TYPE_MASK) &&
                          l.foreign == id.num);
                }),
                links.end());
    return 0;
  }
  return q.create ? obj_create(id, q.object) : obj_put(q.object);
}

long apply_relation(const queued& q) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (!relation_of(q.a.type, q.rel_id, &r, &side)) return push(k_failed);
  const obj_id& p = side == 'p' ? q.a : q.b;
  const obj_id& f = side == 'p' ? q.b : q.a;
  if (r->type == TYP_REL_MTM) {
    auto& links = st().db.links;
    if (q.relate) {
      links.push_back({r, p.num, f.num, q.link_row});
      return 0;
    }
    auto it = std::find_if(links.begin(), links.end(),
                           [&](const link_row& l) { return l.rel == r && l.primary == p.num && l.foreign == f.num; });
    if (it != links.end()) links.erase(it);
    return 0;
  }
  row* holder = find_row(f);
  if (!holder) return q.relate ? push(k_not_found) : 0;  // an unrelate of no row changes nothing
  long& value = holder->fks[fk_column(r)];
  if (q.relate) value = p.num;
  else if (value == p.num) value = 0;
  return 0;
}

}  // namespace

long relate_remote(const obj_id& primary, const obj_id& foreign, long rel_id, char relate) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  bool owner = relation_of(primary.type, rel_id, &r, &side);
  if (owner) {
    typ_sch_srec* other = side == 'p' ? r->fschema : r->pschema;
    owner = other != nullptr && other->type_id == (foreign.type & DBS_OID_TYPE_MASK);
  }
  const obj_id& a = owner ? primary : foreign;
  const obj_id& b = owner ? foreign : primary;
  return apply_relation({false, nullptr, 0, 0, 0, a, b, {}, rel_id, relate});
}

long run_batch(char own_transaction, long inject) {
  std::vector<queued> queue;
  queue.swap(st().queue);
  if (inject) return push(k_failed);
  database before = st().db;
  long code = 0;
  for (const queued& q : queue)
    if (q.is_object && (code = apply_object(q))) break;
  for (const queued& q : queue)
    if (!code && !q.is_object) code = apply_relation(q);
  if (code) {
    st().db = std::move(before);
    return code;
  }
  (void)own_transaction;  // applied at once; an open transaction keeps its undo data
  ++st().batch_runs;
  return 0;
}

}  // namespace adp_mem
