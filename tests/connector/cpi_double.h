// A recording stand-in for the client interface (cpi_*), for the connector's
// tests, holding a small in-memory CRM. Every call is recorded as one line;
// failures are scripted per function or as a lost connection from a chosen
// call on.
//
// The CRM: types with typed fields, stored rows with ids, named relations
// between rows, numbering schemes. A state loads its own copies of the rows
// a query finds; field changes, new objects, deletions and relations stay in
// the state until cpi_state_commit writes them all or none (a row of a
// stamped type changed or deleted since the state read it refuses the
// commit); cpi_state_rollback frees the state. cpi_obj_take_field changes a
// stored row at once, only while its field holds the expected value. Scripted answers (answer) take precedence over the rows.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A CRM object of the double: a type name and fields. A field's kind says how
// its value crosses the interface: 'l' long, 'f' float, 'd' double, 't' text,
// 'm' decimal (a cmn_ty_decimal, kept as "<text> (<precision>,<scale>)").
struct cpi_double_obj {
  std::string type;
  std::map<std::string, std::pair<char, std::string>> fields;
  // Id of the stored row (0: new or made by the test), the row's version
  // when this copy was read, and the state holding the copy (0: none).
  long id = 0;
  long version = 0;
  long state = 0;
  void set(const std::string& name, const std::string& value, char kind = 't') {
    fields[name] = {kind, value};
  }
  std::string get(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second.second;
  }
};

// The status every server call answers once the connection is lost (the
// object store's lost-connection alert).
constexpr long CPI_DOUBLE_LOST = 0x70002e;
// A commit refused because a row changed or vanished since it was read.
constexpr long CPI_DOUBLE_STALE = 0x2000010;

class cpi_double {
 public:
  // Forgets every call, script, object, row, type and alert; the connection
  // id of the next login is 7.
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
  // From the n-th later recorded call on (1 = the next), the database server
  // is gone: every call that reaches it (login, ping, options, queries,
  // commits, number generation, logout) answers CPI_DOUBLE_LOST. The rows
  // stay as they were.
  static void lose_connection_at(int nth);
  // The server is back: logins work again and give a new connection id.
  static void restore_connection();
  static bool connection_lost();
  // Runs `action` just before the n-th later call of `function`.
  static void before(const std::string& function, int nth, std::function<void()> action);

  // A new object owned by the double.
  static cpi_double_obj* make(const std::string& type);
  // The next query whose level 0 is of `type` finds these objects (level 0);
  // answers queue up per type. Unanswered queries look at the rows.
  static void answer(const std::string& type, std::vector<cpi_double_obj*> hits);
  // Answers for further levels of the next query on `type`.
  static void answer_levels(const std::string& type,
                            std::vector<std::vector<cpi_double_obj*>> levels);

  // ---- the in-memory CRM ----
  // A type and its fields with their kinds; "objid" (a long) is added.
  static void define(const std::string& type,
                     const std::vector<std::pair<std::string, char>>& fields);
  // Rows of `type` carry no modification stamp (as the event table): a
  // commit writes a changed row over whatever another client wrote since the
  // state read it, and a row gone since then is not written.
  static void unstamped(const std::string& type);
  // A relation named `name` from objects of `from_type` to `to_type`.
  static void relation(const std::string& from_type, const std::string& name,
                       const std::string& to_type);
  // A numbering scheme giving prefix + counter; `width` pads the counter
  // with zeros.
  static void scheme(const std::string& name, const std::string& prefix, long start,
                     int width = 0);
  // Stores a row; returns its id (also its "objid").
  static long insert(const std::string& type,
                     const std::vector<std::pair<std::string, std::string>>& values);
  static void relate(long from, const std::string& rel, long to);
  // Changes a stored row as another client would (its version moves on).
  static void store_set(long id, const std::string& field, const std::string& value);
  static void store_remove(long id);
  static bool exists(long id);
  // A stored field's text ("" when the row or the field is missing).
  static std::string field(long id, const std::string& name);
  // Ids of the rows of a type, in id order.
  static std::vector<long> rows(const std::string& type);
  // Ids of the rows of `type` whose field equals `value`.
  static std::vector<long> find(const std::string& type, const std::string& field,
                                const std::string& value);
  static bool related(long from, const std::string& rel, long to);
  // Ids related from `from` through `rel`, in the order they were related.
  static std::vector<long> related_to(long from, const std::string& rel);
  static long commits();

  // States created and not released; query results not freed.
  static int open_states();
  static int open_results();

  // Alerts on the double's alert stack.
  static std::vector<std::string>& alerts();
};
