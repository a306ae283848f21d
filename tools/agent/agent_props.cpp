// Connector properties from a file of name=value lines.
#include "agent_props.h"

#include <cstdlib>
#include <sstream>

#include "agent_error.h"
#include "kl_msg.h"

namespace {

std::string trim(const std::string& s) {
  const char* space = " \t\r\n";
  size_t b = s.find_first_not_of(space);
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(space) - b + 1);
}

}  // namespace

void AgentProperties::load(const std::string& path) {
  parse(agent_read_file(path), path);
  path_ = path;
}

void AgentProperties::parse(const std::string& text, const std::string& place) {
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string t = trim(line);
    if (t.empty() || t[0] == '#') continue;
    std::string where = place + ":" + std::to_string(number);
    size_t eq = t.find('=');
    if (eq == std::string::npos) throw agent_bad_input(where, "a property line needs name=value");
    std::string name = trim(t.substr(0, eq));
    if (name.empty()) throw agent_bad_input(where, "a property line needs a name before '='");
    if (values_.count(name)) throw agent_bad_input(where, "property \"" + name + "\" is given twice");
    values_[name] = trim(t.substr(eq + 1));
  }
}

const std::string* AgentProperties::get(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

long AgentProperties::number(const std::string& name, long otherwise) const {
  const std::string* v = get(name);
  if (!v || v->empty()) return otherwise;
  char* end = nullptr;
  long n = std::strtol(v->c_str(), &end, 10);
  return *end == '\0' ? n : otherwise;
}

void AgentProperties::apply() const {
  for (const auto& [name, value] : values_) KlProperties::set(name.c_str(), value.c_str());
}
