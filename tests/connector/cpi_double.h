// A recording stand-in for the client interface (cpi_*), for the connector's
// tests. Every call is recorded as one line; failures and query answers are
// scripted; objects are simple records of typed fields.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

// A CRM object of the double: a type name and fields. A field's kind says how
// its value crosses the interface: 'l' long, 'f' float, 'd' double, 't' text.
struct cpi_double_obj {
  std::string type;
  std::map<std::string, std::pair<char, std::string>> fields;
  void set(const std::string& name, const std::string& value, char kind = 't') {
    fields[name] = {kind, value};
  }
  std::string get(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second.second;
  }
};

class cpi_double {
 public:
  // Forgets every call, script, object and alert; the connection id is 7.
  static void reset();

  // The calls in order, e.g. "cpi_state_create(7)".
  static const std::vector<std::string>& calls();
  // The calls whose line starts with `prefix`.
  static std::vector<std::string> calls_of(const std::string& prefix);
  static int count_of(const std::string& prefix);

  // The n-th later call (1 = the next) of `function` fails with `code` and
  // pushes an alert naming it.
  static void fail(const std::string& function, long code, int nth = 1);
  // What cpi_sess_ping answers from now on.
  static void set_ping(long status);

  // A new object owned by the double.
  static cpi_double_obj* make(const std::string& type);
  // The next query whose level 0 is of `type` finds these objects (level 0);
  // answers queue up per type. Unanswered queries find nothing.
  static void answer(const std::string& type, std::vector<cpi_double_obj*> hits);
  // Answers for further levels of the next query on `type`.
  static void answer_levels(const std::string& type,
                            std::vector<std::vector<cpi_double_obj*>> levels);

  // States created and not released; query results not freed.
  static int open_states();
  static int open_results();

  // Alerts on the double's alert stack.
  static std::vector<std::string>& alerts();
};
