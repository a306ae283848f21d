// The recording client-interface double.
#include "cpi_double.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_sess.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"

namespace {

struct double_data {
  std::vector<std::string> calls;
  std::map<std::string, std::deque<std::pair<int, long>>> failures;
  std::map<std::string, int> call_counts;
  long ping = 0;
  long next_state = 100;
  std::set<long> states;
  std::set<cpi_ty_qry_result*> results;
  std::vector<std::unique_ptr<cpi_double_obj>> objects;
  std::map<std::string, std::deque<std::vector<std::vector<cpi_double_obj*>>>> answers;
  std::vector<std::string> alerts;
};

double_data& dd() {
  static double_data d;
  return d;
}

void record(const std::string& line) { dd().calls.push_back(line); }

// The scripted status of this call of `function` (0 when none).
long scripted(const std::string& function) {
  int n = ++dd().call_counts[function];
  auto it = dd().failures.find(function);
  if (it == dd().failures.end()) return 0;
  for (auto f = it->second.begin(); f != it->second.end(); ++f) {
    if (f->first == n) {
      long code = f->second;
      it->second.erase(f);
      char text[128];
      snprintf(text, sizeof text, "Injected failure 0x%lx of %s.", code, function.c_str());
      dd().alerts.push_back(text);
      return code;
    }
  }
  return 0;
}

std::string s(const char* t) { return t ? t : "(null)"; }

cpi_double_obj* obj(void* o) { return static_cast<cpi_double_obj*>(o); }

}  // namespace

void cpi_double::reset() {
  for (cpi_ty_qry_result* r : dd().results) {
    for (long i = 0; i < r->levels; ++i) delete[] r->entries[i].objects;
    delete[] r->entries;
    delete r;
  }
  dd() = double_data{};
}

const std::vector<std::string>& cpi_double::calls() { return dd().calls; }

std::vector<std::string> cpi_double::calls_of(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& c : dd().calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  return out;
}

int cpi_double::count_of(const std::string& prefix) {
  return static_cast<int>(calls_of(prefix).size());
}

void cpi_double::fail(const std::string& function, long code, int nth) {
  int already = dd().call_counts[function];
  dd().failures[function].push_back({already + nth, code});
}

void cpi_double::set_ping(long status) { dd().ping = status; }

cpi_double_obj* cpi_double::make(const std::string& type) {
  dd().objects.push_back(std::make_unique<cpi_double_obj>());
  dd().objects.back()->type = type;
  return dd().objects.back().get();
}

void cpi_double::answer(const std::string& type, std::vector<cpi_double_obj*> hits) {
  dd().answers[type].push_back({std::move(hits)});
}

void cpi_double::answer_levels(const std::string& type,
                               std::vector<std::vector<cpi_double_obj*>> levels) {
  dd().answers[type].push_back(std::move(levels));
}

int cpi_double::open_states() { return static_cast<int>(dd().states.size()); }
int cpi_double::open_results() { return static_cast<int>(dd().results.size()); }
std::vector<std::string>& cpi_double::alerts() { return dd().alerts; }

// ---- the client interface ----

long cpi_sess_login(const char* server_name, const char* database_name, const char* login_name,
                    const char* password, long, long* out_con_id) {
  record("cpi_sess_login(" + s(server_name) + "," + s(database_name) + "," + s(login_name) +
         "," + s(password) + ")");
  if (long st = scripted("cpi_sess_login")) return st;
  *out_con_id = 7;
  return 0;
}

long cpi_sess_logout(long con_id) {
  record("cpi_sess_logout(" + std::to_string(con_id) + ")");
  return scripted("cpi_sess_logout");
}

long cpi_sess_ping(long con_id) {
  record("cpi_sess_ping(" + std::to_string(con_id) + ")");
  if (long st = scripted("cpi_sess_ping")) return st;
  return dd().ping;
}

long cpi_sess_set_option(long con_id, long option, const cpi_ty_opt_value* value) {
  record("cpi_sess_set_option(" + std::to_string(con_id) + "," + std::to_string(option) + "," +
         std::string(value->file_name, strnlen(value->file_name, sizeof value->file_name)) + ")");
  return scripted("cpi_sess_set_option");
}

long cpi_state_create(long con_id, long, long* out_state) {
  record("cpi_state_create(" + std::to_string(con_id) + ")");
  if (long st = scripted("cpi_state_create")) return st;
  *out_state = ++dd().next_state;
  dd().states.insert(*out_state);
  return 0;
}

long cpi_state_commit(long state) {
  record("cpi_state_commit(" + std::to_string(state) + ")");
  return scripted("cpi_state_commit");
}

long cpi_state_rollback(long state) {
  record("cpi_state_rollback(" + std::to_string(state) + ")");
  if (long st = scripted("cpi_state_rollback")) return st;
  dd().states.erase(state);
  return 0;
}

long cpi_state_dump(long state, FILE* stream) {
  record("cpi_state_dump(" + std::to_string(state) + ")");
  fprintf(stream, "state %ld\n", state);
  return 0;
}

long cpi_obj_dump(void* object, FILE* stream) {
  record("cpi_obj_dump(" + obj(object)->type + ")");
  fprintf(stream, "object %s\n", obj(object)->type.c_str());
  return 0;
}

long cpi_obj_set_field(void* object, const char* field_name, const void* value, long) {
  cpi_double_obj* o = obj(object);
  auto it = o->fields.find(field_name);
  char kind = it == o->fields.end() ? 't' : it->second.first;
  std::string text;
  char buf[64];
  switch (kind) {
    case 'l': snprintf(buf, sizeof buf, "%ld", *static_cast<const long*>(value)); text = buf; break;
    case 'f': snprintf(buf, sizeof buf, "%g", *static_cast<const float*>(value)); text = buf; break;
    case 'd': snprintf(buf, sizeof buf, "%.15g", *static_cast<const double*>(value)); text = buf; break;
    default: text = static_cast<const char*>(value); break;
  }
  record("cpi_obj_set_field(" + o->type + "." + field_name + "=" + text + ")");
  if (long st = scripted("cpi_obj_set_field")) return st;
  o->fields[field_name] = {kind, text};
  return 0;
}

long cpi_obj_get_field(void* object, const char* field_name, long, void* out_value,
                       long* out_type) {
  cpi_double_obj* o = obj(object);
  record("cpi_obj_get_field(" + o->type + "." + field_name + ")");
  if (long st = scripted("cpi_obj_get_field")) return st;
  auto it = o->fields.find(field_name);
  if (it == o->fields.end()) {
    dd().alerts.push_back(std::string("Field name '") + field_name + "' does not exist.");
    return CPI_ALRT_BASE + 24;
  }
  const std::string& text = it->second.second;
  switch (it->second.first) {
    case 'l': *static_cast<long*>(out_value) = atol(text.c_str()); break;
    case 'f': *static_cast<float*>(out_value) = strtof(text.c_str(), nullptr); break;
    case 'd': *static_cast<double*>(out_value) = strtod(text.c_str(), nullptr); break;
    default: *static_cast<const char**>(out_value) = text.c_str(); break;
  }
  if (out_type) *out_type = it->second.first == 't' ? 516 : 512;
  return 0;
}

long cpi_obj_get_mult_fields(void* object, long count, const char* const names[], long,
                             void* const out_values[], long*) {
  record("cpi_obj_get_mult_fields(" + obj(object)->type + "," + std::to_string(count) + ")");
  if (long st = scripted("cpi_obj_get_mult_fields")) return st;
  for (long i = 0; i < count; ++i) {
    long st = cpi_obj_get_field(object, names[i], 0, out_values[i], nullptr);
    if (st) return st;
  }
  return 0;
}

long cpi_obj_update(long state, void* object, long) {
  record("cpi_obj_update(" + std::to_string(state) + "," + obj(object)->type + ")");
  return scripted("cpi_obj_update");
}

long cpi_obj_id(void* object, cpi_ty_objid* out_objid, long*, const char**, long*) {
  record("cpi_obj_id(" + obj(object)->type + ")");
  if (long st = scripted("cpi_obj_id")) return st;
  if (out_objid) *out_objid = cpi_ty_objid{1, atoi(obj(object)->get("objid").c_str()), 0};
  return 0;
}

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
  std::ostringstream line;
  line << "cpi_qry_traverse_map(" << con_id << "," << state << "," << count;
  for (long i = 0; i < count; ++i) {
    const cpi_ty_trav_map& m = maps[i];
    line << ";" << s(m.type_name) << " kind=" << m.kind << " flag=" << int(m.flag);
    for (int k = 0; k < m.cond_count; ++k)
      line << " " << m.conds[k].field << (m.conds[k].op == CPI_OP_EQUAL ? "=" : "?")
           << m.conds[k].value;
    for (int k = 0; k < m.order_count; ++k)
      line << " order " << m.orders[k].field << "/" << int(m.orders[k].direction);
  }
  line << ")";
  record(line.str());
  if (long st = scripted("cpi_qry_traverse_map")) return st;
  std::vector<std::vector<cpi_double_obj*>> levels;
  auto it = dd().answers.find(s(maps[0].type_name));
  if (it != dd().answers.end() && !it->second.empty()) {
    levels = it->second.front();
    it->second.pop_front();
  }
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
  *out_result = r;
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
  for (long i = 0; i < result->levels; ++i) delete[] result->entries[i].objects;
  delete[] result->entries;
  delete result;
  return 0;
}

long cpi_alert_print(FILE* stream, long options) {
  record("cpi_alert_print(" + std::to_string(options) + ")");
  FILE* out = stream ? stream : stdout;
  for (auto it = dd().alerts.rbegin(); it != dd().alerts.rend(); ++it) {
    fprintf(out, "%s\n", it->c_str());
    if (options & 1) break;
  }
  return 0;
}

long cpi_alert_clear() {
  record("cpi_alert_clear");
  dd().alerts.clear();
  return 0;
}
