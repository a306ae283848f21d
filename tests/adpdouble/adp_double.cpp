// The recording adapter double: state and bookkeeping.
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_bld.h"
#include "adpdouble/adp_double_mem.h"
#include "adpdouble/adp_double_sce.h"

#include <deque>

#include "core/cmn/cmn_alrt.h"

namespace adp_double {
namespace {

struct state {
  std::vector<adp_double_call> calls;
  std::map<std::string, std::deque<long>> scripts;
  std::map<std::string, hook_fn> hooks;
  long require_prefix = 0;
  std::map<long, std::string> tables;
  std::map<long, std::string> type_names;
  std::vector<queued_relate> relates;
  std::map<std::string, std::pair<long, long>> failures;  // name -> first failing use, code
  std::map<std::string, long> uses;
};

state& st() {
  static state s;
  return s;
}

}  // namespace

void reset() {
  st() = state{};
  bld_reset();
  sce_reset();
  adp_mem::reset();
}

const std::vector<adp_double_call>& calls() { return st().calls; }

std::vector<adp_double_call> calls_of(const std::string& name) {
  std::vector<adp_double_call> out;
  for (const auto& c : st().calls)
    if (c.name == name) out.push_back(c);
  return out;
}

void script(const std::string& name, std::vector<long> results) {
  auto& q = st().scripts[name];
  for (long r : results) q.push_back(r);
}

void hook(const std::string& name, hook_fn fn) { st().hooks[name] = std::move(fn); }

void fail_from(const std::string& name, long n, long code) { st().failures[name] = {st().uses[name] + n, code}; }

long uses(const std::string& name) {
  auto it = st().uses.find(name);
  return it == st().uses.end() ? 0 : it->second;
}

void set_require_prefix(long value) { st().require_prefix = value; }
void set_table(long type_id, const std::string& table) { st().tables[type_id] = table; }
void set_type_name(long db_type, const std::string& name) { st().type_names[db_type] = name; }

const std::vector<queued_relate>& relates() { return st().relates; }

long record(const std::string& name, std::vector<std::string> args, const std::vector<void*>& raw) {
  st().calls.push_back({name, std::move(args)});
  const long use = ++st().uses[name];
  auto f = st().failures.find(name);
  if (f != st().failures.end() && use >= f->second.first) {
    cmn_alrt_push(nullptr, name.c_str(), f->second.second, 2, "double", "double");
    return f->second.second;
  }
  long result = 0;
  auto q = st().scripts.find(name);
  if (q != st().scripts.end() && !q->second.empty()) {
    result = q->second.front();
    q->second.pop_front();
  }
  auto h = st().hooks.find(name);
  if (h != st().hooks.end() && h->second) {
    if (long r = h->second(raw)) result = r;
  }
  return result;
}

// Accessors the answering calls use.
long require_prefix_value() { return st().require_prefix; }
const std::string* table_of(long type_id) {
  auto it = st().tables.find(type_id);
  return it == st().tables.end() ? nullptr : &it->second;
}
const std::string* type_name_of(long db_type) {
  auto it = st().type_names.find(db_type);
  return it == st().type_names.end() ? nullptr : &it->second;
}
void add_relate(const queued_relate& r) { st().relates.push_back(r); }

}  // namespace adp_double
