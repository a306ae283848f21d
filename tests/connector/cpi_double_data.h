// The client-interface double's own data, shared by its two files.
#pragma once

#include <memory>
#include <set>
#include <tuple>

#include "client/cpi_ty.h"
#include "cpi_double.h"

namespace cpi_dbl {

// One end of a relation made in a state: a handle or a stored id.
struct end_ref {
  cpi_double_obj* object = nullptr;
  long id = 0;
};

struct rel_op {
  bool relate;
  end_ref from;
  end_ref to;
  std::string rel;
};

struct state_data {
  std::map<long, cpi_double_obj*> loaded;  // stored id -> this state's copy
  std::vector<std::unique_ptr<cpi_double_obj>> owned;
  std::vector<cpi_double_obj*> modified;
  std::vector<cpi_double_obj*> created;
  std::vector<cpi_double_obj*> deleted;
  std::vector<rel_op> rels;
};

struct row {
  std::unique_ptr<cpi_double_obj> obj;
};

struct type_def {
  int id;
  std::map<std::string, char> fields;
  // Rows carry a modification stamp: a commit refuses a row changed or
  // deleted by another client since the state read it.
  bool stamped = true;
};

struct scheme_def {
  std::string prefix;
  long next;
  int width;
};

struct data {
  std::vector<std::string> calls;
  std::map<std::string, std::deque<std::pair<int, long>>> failures;
  std::map<std::string, int> call_counts;
  std::map<std::string, std::deque<std::pair<int, std::function<void()>>>> hooks;
  long ping = 0;
  long next_con = 7;
  long session = 0;
  bool ever_logged_in = false;  // before any login, tests connect by hand
  long next_state = 100;
  long lose_at = 0;  // recorded-call number from which the server is gone
  bool lost = false;
  std::map<long, std::unique_ptr<state_data>> states;
  std::set<cpi_ty_qry_result*> results;
  std::vector<std::unique_ptr<cpi_double_obj>> objects;
  std::map<std::string, std::deque<std::vector<std::vector<cpi_double_obj*>>>> answers;
  std::vector<std::string> alerts;
  // The CRM.
  std::map<std::string, type_def> types;
  std::set<std::tuple<std::string, std::string>> relation_names;  // from type, name
  std::map<std::string, scheme_def> schemes;
  std::map<long, row> rows;  // by id
  std::vector<std::tuple<long, std::string, long>> relations;
  long next_id = 1001;
  long commits = 0;
};

data& dd();
void record(const std::string& line);
// The scripted status of this call of `function` (0 when none); runs hooks.
long scripted(const std::string& function);
// As scripted, and CPI_DOUBLE_LOST once the server is gone.
long server(const std::string& function);
long push_alert(long code, const std::string& text);
std::string s(const char* t);
inline cpi_double_obj* obj(void* o) { return static_cast<cpi_double_obj*>(o); }
state_data* state_of(long state);
// The kind of a field of a type (0 when the type is defined without it; 't'
// for types the test did not define).
char field_kind(const std::string& type, const std::string& field);
int type_id(const std::string& type);
const std::string* type_name(int id);
void free_result(cpi_ty_qry_result* r);

}  // namespace cpi_dbl
