// The recording client-interface double: scripting, sessions, states, object
// fields and alerts. The rows, queries and commits are in cpi_double_crm.cpp.
#include "cpi_double.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "client/cpi_obj.h"
#include "client/cpi_sess.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "core/cmn/cmn_dec.h"
#include "cpi_double_data.h"

namespace cpi_dbl {

data& dd() {
  static data d;
  return d;
}

void record(const std::string& line) {
  dd().calls.push_back(line);
  if (dd().lose_at != 0 && static_cast<long>(dd().calls.size()) >= dd().lose_at) {
    dd().lost = true;
    dd().lose_at = 0;
  }
}

long push_alert(long code, const std::string& text) {
  dd().alerts.push_back(text);
  return code;
}

long scripted(const std::string& function) {
  int n = ++dd().call_counts[function];
  auto hook = dd().hooks.find(function);
  if (hook != dd().hooks.end()) {
    for (auto h = hook->second.begin(); h != hook->second.end(); ++h) {
      if (h->first == n) {
        std::function<void()> action = std::move(h->second);
        hook->second.erase(h);
        action();
        break;
      }
    }
  }
  auto it = dd().failures.find(function);
  if (it == dd().failures.end()) return 0;
  for (auto f = it->second.begin(); f != it->second.end(); ++f) {
    if (f->first == n) {
      long code = f->second;
      it->second.erase(f);
      char text[128];
      snprintf(text, sizeof text, "Injected failure 0x%lx of %s.", code, function.c_str());
      return push_alert(code, text);
    }
  }
  return 0;
}

long server(const std::string& function) {
  long st = scripted(function);
  if (st) return st;
  if (dd().lost) return push_alert(CPI_DOUBLE_LOST, "Connection to the database server lost.");
  return 0;
}

std::string s(const char* t) { return t ? t : "(null)"; }

state_data* state_of(long state) {
  auto it = dd().states.find(state);
  return it == dd().states.end() ? nullptr : it->second.get();
}

char field_kind(const std::string& type, const std::string& field) {
  auto t = dd().types.find(type);
  if (t == dd().types.end()) return 't';
  auto f = t->second.fields.find(field);
  return f == t->second.fields.end() ? 0 : f->second;
}

int type_id(const std::string& type) {
  auto t = dd().types.find(type);
  return t == dd().types.end() ? 1 : t->second.id;
}

const std::string* type_name(int id) {
  for (auto& [name, def] : dd().types)
    if (def.id == id) return &name;
  return nullptr;
}

}  // namespace cpi_dbl

using namespace cpi_dbl;

void cpi_double::reset() {
  for (cpi_ty_qry_result* r : dd().results) free_result(r);
  dd().results.clear();
  dd() = data{};
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

void cpi_double::lose_connection_at(int nth) {
  dd().lose_at = static_cast<long>(dd().calls.size()) + nth;
}

void cpi_double::restore_connection() {
  dd().lost = false;
  dd().lose_at = 0;
  ++dd().next_con;  // the restarted server hands out other connection ids
}

bool cpi_double::connection_lost() { return dd().lost; }

void cpi_double::before(const std::string& function, int nth, std::function<void()> action) {
  int already = dd().call_counts[function];
  dd().hooks[function].push_back({already + nth, std::move(action)});
}

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

// ---- sessions ----

long cpi_sess_login(const char* server_name, const char* database_name, const char* login_name,
                    const char* password, long, long* out_con_id) {
  record("cpi_sess_login(" + s(server_name) + "," + s(database_name) + "," + s(login_name) +
         "," + s(password) + ")");
  if (long st = server("cpi_sess_login")) return st;
  if (dd().session != 0) return push_alert(CPI_ALRT_SESSION_EXISTS, "A session exists.");
  dd().session = dd().next_con;
  dd().ever_logged_in = true;
  *out_con_id = dd().session;
  return 0;
}

long cpi_sess_logout(long con_id) {
  record("cpi_sess_logout(" + std::to_string(con_id) + ")");
  // The client forgets its session whatever the server answers.
  bool ours = con_id == dd().session;
  if (ours) dd().session = 0;
  if (long st = server("cpi_sess_logout")) return st;
  if (!ours) return push_alert(CPI_ALRT_BAD_CON_ID, "Not the session.");
  return 0;
}

long cpi_sess_ping(long con_id) {
  record("cpi_sess_ping(" + std::to_string(con_id) + ")");
  if (long st = server("cpi_sess_ping")) return st;
  return dd().ping;
}

long cpi_sess_set_option(long con_id, long option, const cpi_ty_opt_value* value) {
  record("cpi_sess_set_option(" + std::to_string(con_id) + "," + std::to_string(option) + "," +
         std::string(value->file_name, strnlen(value->file_name, sizeof value->file_name)) + ")");
  return server("cpi_sess_set_option");
}

// ---- states ----

long cpi_state_create(long con_id, long, long* out_state) {
  record("cpi_state_create(" + std::to_string(con_id) + ")");
  if (long st = scripted("cpi_state_create")) return st;
  *out_state = ++dd().next_state;
  dd().states[*out_state] = std::make_unique<state_data>();
  return 0;
}

long cpi_state_rollback(long state) {
  record("cpi_state_rollback(" + std::to_string(state) + ")");
  if (long st = scripted("cpi_state_rollback")) return st;
  if (!dd().states.erase(state))
    return push_alert(CPI_ALRT_BAD_STATE, "State " + std::to_string(state) + " is not open.");
  return 0;
}

long cpi_state_dump(long state, FILE* stream) {
  record("cpi_state_dump(" + std::to_string(state) + ")");
  fprintf(stream, "state %ld\n", state);
  return 0;
}

// ---- objects ----

namespace {

// A decimal as the double keeps it: "<text> (<precision>,<scale>)".
std::string decimal_text(const cmn_ty_decimal& d) {
  char text[sizeof d.text + 1] = "";
  std::memcpy(text, d.text, sizeof d.text);
  return std::string(text) + " (" + std::to_string(d.precision) + "," + std::to_string(d.scale) + ")";
}

// The record a get hands out (valid until the next get of a decimal).
const cmn_ty_decimal* decimal_of(const std::string& kept) {
  static cmn_ty_decimal block;
  block = cmn_ty_decimal{};
  std::string text = kept.substr(0, kept.find(' '));
  std::snprintf(block.text, sizeof block.text, "%s", text.c_str());
  return &block;
}

long type_code_of(char kind) {
  switch (kind) {
    case 't': return 516;
    case 'm': return 766;
    case 'f': return 514;
    case 'd': return 613;
    default: return 512;
  }
}

}  // namespace

long cpi_obj_dump(void* object, FILE* stream) {
  record("cpi_obj_dump(" + obj(object)->type + ")");
  fprintf(stream, "object %s\n", obj(object)->type.c_str());
  return 0;
}

long cpi_obj_set_field(void* object, const char* field_name, const void* value, long) {
  cpi_double_obj* o = obj(object);
  char kind = field_kind(o->type, field_name);
  auto it = o->fields.find(field_name);
  if (it != o->fields.end()) kind = it->second.first;
  std::string text;
  char buf[64];
  switch (kind) {
    case 'l': snprintf(buf, sizeof buf, "%ld", *static_cast<const long*>(value)); text = buf; break;
    case 'f': snprintf(buf, sizeof buf, "%g", *static_cast<const float*>(value)); text = buf; break;
    case 'd': snprintf(buf, sizeof buf, "%.15g", *static_cast<const double*>(value)); text = buf; break;
    case 'm': text = decimal_text(*static_cast<const cmn_ty_decimal*>(value)); break;
    case 0: break;
    default: text = static_cast<const char*>(value); break;
  }
  record("cpi_obj_set_field(" + o->type + "." + field_name + "=" + text + ")");
  if (long st = scripted("cpi_obj_set_field")) return st;
  if (kind == 0)
    return push_alert(CPI_ALRT_BASE + 24,
                      std::string("Field name '") + field_name + "' does not exist.");
  o->fields[field_name] = {kind, text};
  return 0;
}

long cpi_obj_get_field(void* object, const char* field_name, long, void* out_value,
                       long* out_type) {
  cpi_double_obj* o = obj(object);
  record("cpi_obj_get_field(" + o->type + "." + field_name + ")");
  if (long st = scripted("cpi_obj_get_field")) return st;
  auto it = o->fields.find(field_name);
  if (it == o->fields.end())
    return push_alert(CPI_ALRT_BASE + 24,
                      std::string("Field name '") + field_name + "' does not exist.");
  const std::string& text = it->second.second;
  switch (it->second.first) {
    case 'l': *static_cast<long*>(out_value) = atol(text.c_str()); break;
    case 'f': *static_cast<float*>(out_value) = strtof(text.c_str(), nullptr); break;
    case 'd': *static_cast<double*>(out_value) = strtod(text.c_str(), nullptr); break;
    case 'm': *static_cast<const cmn_ty_decimal**>(out_value) = decimal_of(text); break;
    default: *static_cast<const char**>(out_value) = text.c_str(); break;
  }
  if (out_type) *out_type = type_code_of(it->second.first);
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

long cpi_obj_id(void* object, cpi_ty_objid* out_objid, long*, const char**, long*) {
  cpi_double_obj* o = obj(object);
  record("cpi_obj_id(" + o->type + ")");
  if (long st = scripted("cpi_obj_id")) return st;
  long id = o->id ? o->id : atol(o->get("objid").c_str());
  if (out_objid) *out_objid = cpi_ty_objid{type_id(o->type), static_cast<int32_t>(id), 0};
  return 0;
}

// ---- alerts ----

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
