// The client-interface double's in-memory CRM: rows, traversal-map queries,
// objects and relations in states, commits, number generation.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "client/cpi_obj.h"
#include "client/cpi_obj_take.h"
#include "client/cpi_qry.h"
#include "client/cpi_rel.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "cpi_double_data.h"

using namespace cpi_dbl;

namespace {

using level_objs = std::vector<cpi_double_obj*>;

bool field_equals(const cpi_double_obj& o, const char* field, const char* value) {
  auto it = o.fields.find(field);
  if (it == o.fields.end() || !value) return false;
  if (it->second.first == 'l') {
    char* end = nullptr;
    long want = strtol(value, &end, 10);
    return end != value && *end == '\0' && atol(it->second.second.c_str()) == want;
  }
  return it->second.second == value;
}

bool less_by(const cpi_double_obj* a, const cpi_double_obj* b, const cpi_ty_forder* orders,
             int count) {
  for (int k = 0; k < count; ++k) {
    const char* f = orders[k].field;
    auto fa = a->fields.find(f);
    auto fb = b->fields.find(f);
    std::string ta = fa == a->fields.end() ? "" : fa->second.second;
    std::string tb = fb == b->fields.end() ? "" : fb->second.second;
    bool numeric = fa != a->fields.end() && fa->second.first == 'l';
    int c = numeric ? (atol(ta.c_str()) < atol(tb.c_str()) ? -1 : atol(ta.c_str()) > atol(tb.c_str()))
                    : ta.compare(tb);
    if (c != 0) return orders[k].direction ? c < 0 : c > 0;
  }
  return a->id < b->id;
}

// The state's copy of a stored row, made on first use.
cpi_double_obj* copy_in(state_data* st, long id) {
  auto it = st->loaded.find(id);
  if (it != st->loaded.end()) return it->second;
  const cpi_double_obj& stored = *dd().rows.at(id).obj;
  st->owned.push_back(std::make_unique<cpi_double_obj>(stored));
  cpi_double_obj* c = st->owned.back().get();
  st->loaded[id] = c;
  return c;
}

bool matches(const cpi_double_obj& o, const cpi_ty_trav_map& m) {
  if (m.type_name && o.type != m.type_name) return false;
  for (int k = 0; k < m.cond_count; ++k)
    if (m.conds[k].op != CPI_OP_EQUAL || !field_equals(o, m.conds[k].field, m.conds[k].value))
      return false;
  return true;
}

// The stored rows of one level: of the type, or related to the parent
// level's objects.
std::vector<const cpi_double_obj*> level_rows(const cpi_ty_trav_map& m,
                                              const std::vector<level_objs>& done) {
  std::vector<const cpi_double_obj*> found;
  if (m.kind & CPI_KIND_TYPE) {
    for (auto& [id, r] : dd().rows)
      if (matches(*r.obj, m)) found.push_back(r.obj.get());
  } else if (!(m.kind & CPI_KIND_ROOT_REL)) {
    for (cpi_double_obj* parent : done[static_cast<size_t>(m.parent)]) {
      for (auto& [from, rel, to] : dd().relations) {
        if (from != parent->id || !m.rel_name || rel != m.rel_name) continue;
        auto r = dd().rows.find(to);
        if (r == dd().rows.end() || !matches(*r->second.obj, m)) continue;
        if (std::find(found.begin(), found.end(), r->second.obj.get()) == found.end())
          found.push_back(r->second.obj.get());
      }
    }
  }
  if (m.order_count > 0)
    std::stable_sort(found.begin(), found.end(), [&](const cpi_double_obj* a, const cpi_double_obj* b) {
      return less_by(a, b, m.orders, m.order_count);
    });
  return found;
}

// Checks a query's levels as the client interface does; 0 or a pushed code.
long check_levels(long count, const cpi_ty_trav_map* maps) {
  for (long i = 0; i < count; ++i) {
    const cpi_ty_trav_map& m = maps[i];
    bool related = !(m.kind & CPI_KIND_TYPE) && !(m.kind & CPI_KIND_ROOT_REL);
    if (related && (m.parent < 0 || m.parent >= i))
      return push_alert(CPI_ALRT_BAD_PARENT, "Bad parent level " + std::to_string(m.parent));
    const char* type = m.type_name;
    if (type && !dd().types.count(type)) continue;
    for (int k = 0; k < m.cond_count; ++k)
      if (type && field_kind(type, m.conds[k].field) == 0)
        return push_alert(CPI_ALRT_BAD_PARAM, std::string("No field ") + m.conds[k].field);
    if (related && type && !dd().relation_names.count({maps[m.parent].type_name
                                                           ? maps[m.parent].type_name
                                                           : "",
                                                       s(m.rel_name)}))
      return push_alert(CPI_ALRT_BAD_RELATION, "No relation " + s(m.rel_name));
  }
  return 0;
}

std::string describe(long count, const cpi_ty_trav_map* maps) {
  std::ostringstream line;
  for (long i = 0; i < count; ++i) {
    const cpi_ty_trav_map& m = maps[i];
    line << ";" << s(m.type_name) << " kind=" << m.kind << " flag=" << int(m.flag);
    if (m.rel_name) line << " rel=" << m.rel_name;
    if (!(m.kind & CPI_KIND_TYPE)) line << " parent=" << m.parent;
    for (int k = 0; k < m.cond_count; ++k)
      line << " " << m.conds[k].field << (m.conds[k].op == CPI_OP_EQUAL ? "=" : "?")
           << s(m.conds[k].value);
    for (int k = 0; k < m.order_count; ++k)
      line << " order " << m.orders[k].field << "/" << int(m.orders[k].direction);
  }
  return line.str();
}

cpi_ty_qry_result* make_result(long count, cpi_ty_trav_map* maps,
                               const std::vector<level_objs>& levels) {
  auto* r = new cpi_ty_qry_result{};
  r->levels = count;
  r->entries = new cpi_ty_level_entry[static_cast<size_t>(count)]();
  for (long i = 0; i < count; ++i) {
    size_t n = static_cast<size_t>(i) < levels.size() ? levels[static_cast<size_t>(i)].size() : 0;
    r->entries[i].count = static_cast<int32_t>(n);
    r->entries[i].objects = new void*[n + 1]();
    for (size_t k = 0; k < n; ++k) r->entries[i].objects[k] = levels[static_cast<size_t>(i)][k];
    maps[i].result = &r->entries[i];
  }
  dd().results.insert(r);
  return r;
}

long stored_id(const end_ref& e) { return e.object ? e.object->id : e.id; }

bool stamped(const cpi_double_obj& o) {
  auto t = dd().types.find(o.type);
  return t == dd().types.end() || t->second.stamped;
}

// Whether every change of the state still fits the rows.
long check_commit(const state_data& st) {
  for (cpi_double_obj* o : st.modified) {
    if (!stamped(*o)) continue;
    auto r = dd().rows.find(o->id);
    if (r == dd().rows.end() || r->second.obj->version != o->version)
      return push_alert(CPI_DOUBLE_STALE, "Object " + std::to_string(o->id) +
                                              " was changed or deleted by another user.");
  }
  for (cpi_double_obj* o : st.deleted)
    if (!dd().rows.count(o->id))
      return push_alert(CPI_DOUBLE_STALE, "Object " + std::to_string(o->id) + " is gone.");
  return 0;
}

void apply_relations(state_data& st) {
  for (const rel_op& op : st.rels) {
    long from = stored_id(op.from);
    long to = stored_id(op.to);
    auto it = std::find(dd().relations.begin(), dd().relations.end(),
                        std::make_tuple(from, op.rel, to));
    if (op.relate && it == dd().relations.end() && dd().rows.count(from) && dd().rows.count(to))
      dd().relations.emplace_back(from, op.rel, to);
    if (!op.relate && it != dd().relations.end()) dd().relations.erase(it);
  }
}

void apply_commit(state_data& st) {
  for (cpi_double_obj* o : st.created) {
    o->id = dd().next_id++;
    o->set("objid", std::to_string(o->id), 'l');
    o->version = 1;
    dd().rows[o->id].obj = std::make_unique<cpi_double_obj>(*o);
    dd().rows[o->id].obj->state = 0;
    st.loaded[o->id] = o;
  }
  for (cpi_double_obj* o : st.modified) {
    if (!dd().rows.count(o->id)) continue;  // an unstamped row gone since
    cpi_double_obj& stored = *dd().rows[o->id].obj;
    stored.fields = o->fields;
    o->version = ++stored.version;
  }
  apply_relations(st);
  for (cpi_double_obj* o : st.deleted) {
    dd().rows.erase(o->id);
    auto& rels = dd().relations;
    rels.erase(std::remove_if(rels.begin(), rels.end(),
                              [&](auto& t) { return std::get<0>(t) == o->id || std::get<2>(t) == o->id; }),
               rels.end());
  }
  st.created.clear();
  st.modified.clear();
  st.deleted.clear();
  st.rels.clear();
  ++dd().commits;
}

std::string objid_text(const cpi_ty_objid* id) {
  return id ? std::to_string(id->id_number) : "(null)";
}

long check_end(const cpi_double_obj* handle, const cpi_ty_objid* id, bool by_id) {
  if (by_id && (!id || id->id_number == 0))
    return push_alert(CPI_ALRT_BAD_PARAM, "Object id without id number.");
  if (!by_id && !handle) return push_alert(CPI_ALRT_BAD_PARAM, "Null object.");
  return 0;
}

long relate_in_state(const char* fn, long state, end_ref from, const std::string& from_type,
                     end_ref to, const char* rel, long mode) {
  if (long st = scripted(fn)) return st;
  state_data* sd = state_of(state);
  if (!sd) return push_alert(CPI_ALRT_BAD_STATE, "Bad state.");
  if (dd().types.count(from_type) && !dd().relation_names.count({from_type, s(rel)}))
    return push_alert(CPI_ALRT_BAD_RELATION, "No relation " + s(rel) + " on " + from_type);
  sd->rels.push_back(rel_op{static_cast<signed char>(mode) == 1, from, to, s(rel)});
  return 0;
}

}  // namespace

void cpi_dbl::free_result(cpi_ty_qry_result* r) {
  for (long i = 0; i < r->levels; ++i) delete[] r->entries[i].objects;
  delete[] r->entries;
  delete r;
}

// ---- queries ----

long cpi_qry_trav_map_init(long count, cpi_ty_trav_map* maps) {
  for (long i = 0; i < count; ++i) {
    maps[i].rel_name = nullptr;
    maps[i].type_name = nullptr;
    maps[i].parent = -1;
    maps[i].kind = CPI_KIND_TYPE;
    maps[i].cond_count = 0;
    maps[i].conds = nullptr;
    maps[i].order_count = 0;
    maps[i].orders = nullptr;
    maps[i].result = nullptr;
  }
  return 0;
}

long cpi_qry_traverse_map(long con_id, long state, const cpi_ty_objid*, long count,
                          cpi_ty_trav_map* maps, long, cpi_ty_qry_result** out_result) {
  record("cpi_qry_traverse_map(" + std::to_string(con_id) + "," + std::to_string(state) + "," +
         std::to_string(count) + describe(count, maps) + ")");
  if (long st = server("cpi_qry_traverse_map")) return st;
  if (dd().ever_logged_in && con_id != dd().session) return push_alert(CPI_ALRT_BAD_CON_ID, "Bad connection id.");
  std::vector<level_objs> levels;
  auto it = dd().answers.find(s(maps[0].type_name));
  if (it != dd().answers.end() && !it->second.empty()) {
    levels = it->second.front();
    it->second.pop_front();
  } else if (dd().types.count(s(maps[0].type_name))) {
    if (long st = check_levels(count, maps)) return st;
    state_data* sd = state_of(state);
    if (!sd) return push_alert(CPI_ALRT_BAD_STATE, "Bad state.");
    for (long i = 0; i < count; ++i) {
      level_objs objs;
      for (const cpi_double_obj* r : level_rows(maps[i], levels))
        objs.push_back(copy_in(sd, r->id));
      levels.push_back(std::move(objs));
    }
  }
  *out_result = make_result(count, maps, levels);
  return 0;
}

long cpi_qry_get_result(cpi_ty_qry_result* result, long level, long, long* out_count,
                        void*** out_objects) {
  record("cpi_qry_get_result(" + std::to_string(level) + ")");
  if (long st = scripted("cpi_qry_get_result")) return st;
  if (!result) {
    *out_count = 0;
    *out_objects = nullptr;
    return 0;
  }
  if (level < 0 || level >= result->levels)
    return push_alert(CPI_ALRT_BAD_PARAM, "Level out of range.");
  *out_count = result->entries[level].count;
  *out_objects = result->entries[level].objects;
  return 0;
}

long cpi_qry_free_results(cpi_ty_qry_result* result) {
  record("cpi_qry_free_results");
  if (!result) return 0;
  if (long st = scripted("cpi_qry_free_results")) return st;
  if (!dd().results.erase(result)) {
    fprintf(stderr, "cpi double: a result freed twice or never made\n");
    abort();
  }
  free_result(result);
  return 0;
}

// ---- objects in states ----

long cpi_obj_create(long state, const char* type_name, long, void** out_object) {
  record("cpi_obj_create(" + std::to_string(state) + "," + s(type_name) + ")");
  if (long st = scripted("cpi_obj_create")) return st;
  state_data* sd = state_of(state);
  if (!sd) return push_alert(CPI_ALRT_BAD_STATE, "Bad state.");
  auto t = dd().types.find(s(type_name));
  if (t == dd().types.end()) return push_alert(CPI_ALRT_BAD_TYPE, "No type " + s(type_name));
  sd->owned.push_back(std::make_unique<cpi_double_obj>());
  cpi_double_obj* o = sd->owned.back().get();
  o->type = type_name;
  o->state = state;
  for (auto& [name, kind] : t->second.fields)
    o->set(name, kind == 't' ? "" : "0", kind);
  sd->created.push_back(o);
  *out_object = o;
  return 0;
}

long cpi_obj_update(long state, void* object, long) {
  record("cpi_obj_update(" + std::to_string(state) + "," + obj(object)->type + ")");
  if (long st = scripted("cpi_obj_update")) return st;
  state_data* sd = state_of(state);
  cpi_double_obj* o = obj(object);
  if (sd && o->id != 0 && std::find(sd->modified.begin(), sd->modified.end(), o) == sd->modified.end())
    sd->modified.push_back(o);
  return 0;
}

long cpi_obj_delete(long state, void* object, long flags) {
  record("cpi_obj_delete(" + std::to_string(state) + "," + obj(object)->type + "," +
         std::to_string(flags) + ")");
  if (long st = scripted("cpi_obj_delete")) return st;
  state_data* sd = state_of(state);
  if (!sd) return push_alert(CPI_ALRT_BAD_STATE, "Bad state.");
  cpi_double_obj* o = obj(object);
  if (o->id == 0) return push_alert(CPI_ALRT_DELETE_UNSAVED, "Deleting an unsaved object.");
  sd->deleted.push_back(o);
  return 0;
}

long cpi_state_commit(long state) {
  record("cpi_state_commit(" + std::to_string(state) + ")");
  if (long st = server("cpi_state_commit")) return st;
  state_data* sd = state_of(state);
  if (!sd) return push_alert(CPI_ALRT_BAD_STATE, "Bad state.");
  if (long st = check_commit(*sd)) return st;
  apply_commit(*sd);
  return 0;
}

long cpi_obj_take_field(long con_id, const char* type_name, long id_number, const char* field_name,
                        const char* from, const char* to, long* out_taken) {
  record("cpi_obj_take_field(" + std::to_string(con_id) + "," + s(type_name) + "," +
         std::to_string(id_number) + "," + s(field_name) + "=" + s(from) + ">" + s(to) + ")");
  *out_taken = 0;
  if (long st = server("cpi_obj_take_field")) return st;
  if (!dd().types.count(s(type_name))) return push_alert(CPI_ALRT_BAD_TYPE, "No type " + s(type_name));
  if (field_kind(type_name, s(field_name)) == 0)
    return push_alert(CPI_ALRT_BAD_PARAM, "No field " + s(field_name));
  auto r = dd().rows.find(id_number);
  if (r == dd().rows.end() || r->second.obj->type != type_name ||
      r->second.obj->get(field_name) != s(from))
    return 0;
  cpi_double::store_set(id_number, field_name, s(to));
  ++dd().commits;
  *out_taken = 1;
  return 0;
}

// ---- relations ----

long cpi_rel_objs(long state, void* from, void* to, const char* rel, long mode) {
  record("cpi_rel_objs(" + obj(from)->type + "," + obj(to)->type + "," + s(rel) + "," +
         std::to_string(mode) + ")");
  return relate_in_state("cpi_rel_objs", state, {obj(from), 0}, obj(from)->type, {obj(to), 0},
                         rel, mode);
}

long cpi_rel_toid(long state, void* from, const cpi_ty_objid* to, const char* rel, long mode) {
  record("cpi_rel_toid(" + obj(from)->type + "," + objid_text(to) + "," + s(rel) + "," +
         std::to_string(mode) + ")");
  if (long st = check_end(nullptr, to, true)) return st;
  return relate_in_state("cpi_rel_toid", state, {obj(from), 0}, obj(from)->type,
                         {nullptr, to->id_number}, rel, mode);
}

long cpi_rel_fromid(long state, const cpi_ty_objid* from, void* to, const char* rel, long mode) {
  record("cpi_rel_fromid(" + objid_text(from) + "," + obj(to)->type + "," + s(rel) + "," +
         std::to_string(mode) + ")");
  if (long st = check_end(nullptr, from, true)) return st;
  const std::string* type = type_name(from->type_word & CPI_OBJID_TYPE_MASK);
  return relate_in_state("cpi_rel_fromid", state, {nullptr, from->id_number}, type ? *type : "",
                         {obj(to), 0}, rel, mode);
}

long cpi_rel_ids(long state, const cpi_ty_objid* from, const cpi_ty_objid* to, const char* rel,
                 long mode) {
  record("cpi_rel_ids(" + objid_text(from) + "," + objid_text(to) + "," + s(rel) + "," +
         std::to_string(mode) + ")");
  if (long st = check_end(nullptr, from, true)) return st;
  if (long st = check_end(nullptr, to, true)) return st;
  const std::string* type = type_name(from->type_word & CPI_OBJID_TYPE_MASK);
  return relate_in_state("cpi_rel_ids", state, {nullptr, from->id_number}, type ? *type : "",
                         {nullptr, to->id_number}, rel, mode);
}

// ---- number generation ----

long cpi_utl_num_gen(const char* scheme_name, long size, char* out_buffer) {
  record("cpi_utl_num_gen(" + s(scheme_name) + "," + std::to_string(size) + ")");
  if (long st = server("cpi_utl_num_gen")) return st;
  auto it = dd().schemes.find(s(scheme_name));
  if (it == dd().schemes.end())
    return push_alert(CPI_ALRT_APP_ERROR, "No numbering scheme " + s(scheme_name));
  char number[64];
  snprintf(number, sizeof number, "%0*ld", it->second.width, it->second.next++);
  std::string text = it->second.prefix + number;
  if (static_cast<long>(text.size()) >= size)
    return push_alert(CPI_ALRT_BAD_PARAM, "Generated number longer than the buffer.");
  memcpy(out_buffer, text.c_str(), text.size() + 1);
  return 0;
}

// ---- the tests' view of the CRM ----

void cpi_double::define(const std::string& type,
                        const std::vector<std::pair<std::string, char>>& fields) {
  type_def def{static_cast<int>(200 + dd().types.size()), {}};
  for (auto& [name, kind] : fields) def.fields[name] = kind;
  def.fields["objid"] = 'l';
  dd().types[type] = std::move(def);
}

void cpi_double::unstamped(const std::string& type) { dd().types.at(type).stamped = false; }

void cpi_double::relation(const std::string& from_type, const std::string& name,
                          const std::string&) {
  dd().relation_names.insert({from_type, name});
}

void cpi_double::scheme(const std::string& name, const std::string& prefix, long start,
                        int width) {
  dd().schemes[name] = scheme_def{prefix, start, width};
}

long cpi_double::insert(const std::string& type,
                        const std::vector<std::pair<std::string, std::string>>& values) {
  auto o = std::make_unique<cpi_double_obj>();
  o->type = type;
  o->id = dd().next_id++;
  o->version = 1;
  for (auto& [name, kind] : dd().types.at(type).fields) o->set(name, kind == 't' ? "" : "0", kind);
  for (auto& [name, value] : values) o->set(name, value, field_kind(type, name));
  o->set("objid", std::to_string(o->id), 'l');
  long id = o->id;
  dd().rows[id].obj = std::move(o);
  return id;
}

void cpi_double::relate(long from, const std::string& rel, long to) {
  if (!related(from, rel, to)) dd().relations.emplace_back(from, rel, to);
}

void cpi_double::store_set(long id, const std::string& field, const std::string& value) {
  cpi_double_obj& o = *dd().rows.at(id).obj;
  o.set(field, value, field_kind(o.type, field));
  ++o.version;
}

void cpi_double::store_remove(long id) { dd().rows.erase(id); }

bool cpi_double::exists(long id) { return dd().rows.count(id) != 0; }

std::string cpi_double::field(long id, const std::string& name) {
  auto r = dd().rows.find(id);
  return r == dd().rows.end() ? std::string() : r->second.obj->get(name);
}

std::vector<long> cpi_double::rows(const std::string& type) {
  std::vector<long> out;
  for (auto& [id, r] : dd().rows)
    if (r.obj->type == type) out.push_back(id);
  return out;
}

std::vector<long> cpi_double::find(const std::string& type, const std::string& f,
                                   const std::string& value) {
  std::vector<long> out;
  for (long id : rows(type))
    if (dd().rows[id].obj->get(f) == value) out.push_back(id);
  return out;
}

bool cpi_double::related(long from, const std::string& rel, long to) {
  return std::find(dd().relations.begin(), dd().relations.end(), std::make_tuple(from, rel, to)) !=
         dd().relations.end();
}

std::vector<long> cpi_double::related_to(long from, const std::string& rel) {
  std::vector<long> out;
  for (auto& [f, r, t] : dd().relations)
    if (f == from && r == rel) out.push_back(t);
  return out;
}

long cpi_double::commits() { return dd().commits; }
