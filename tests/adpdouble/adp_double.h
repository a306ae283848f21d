// Test double of the adapter's calls (the adp_* functions declared under
// src/adapter). Every call is recorded with its arguments as texts; results
// are scripted per function name (a queue of statuses, used up one per
// call, then the default), and a hook per name may act on the arguments as
// the adapter would (for example add joins to a view).
//
// Shared by the schema and store suites: each adds the functions it needs
// here, in the same way.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "store/dbs_oid.h"

struct adp_double_call {
  std::string name;
  std::vector<std::string> args;
};

namespace adp_double {

// Forgets all calls, scripts, hooks and settings.
void reset();

// All calls in order, and those of one function.
const std::vector<adp_double_call>& calls();
std::vector<adp_double_call> calls_of(const std::string& name);

// Statuses returned by the next calls of `name`, one per call; afterwards
// the call returns its default (0 unless said otherwise).
void script(const std::string& name, std::vector<long> results);
// Runs before the call of `name` returns; its result replaces the scripted
// one when it is not 0.
using hook_fn = std::function<long(const std::vector<void*>& args)>;
void hook(const std::string& name, hook_fn fn);
// From the n-th call of `name` on (1 = the next), the call pushes the alert
// `code` and returns it (deadlock 0x70002b, duplicate key 0x70002c, raised
// error 0x70007f, lost connection 0x70002e, ...).
void fail_from(const std::string& name, long n, long code);
// The number of calls of `name` so far.
long uses(const std::string& name);

// Settings of the answering calls.
void set_require_prefix(long value);                       // adp_sch_require_prefix
void set_table(long type_id, const std::string& table);  // adp_sch_tbl_find
void set_type_name(long db_type, const std::string& name);  // adp_sch_type_to_string

// The relates queued through adp_rel_add_to_batch.
struct queued_relate {
  obj_id a;
  obj_id b;
  obj_id link;
  long rel_id;
  char relate;
};
const std::vector<queued_relate>& relates();

// Internal: records a call and returns its status.
long record(const std::string& name, std::vector<std::string> args, const std::vector<void*>& raw = {});

}  // namespace adp_double
