// Connector properties from a file of name=value lines.
#pragma once

#include <map>
#include <string>

class AgentProperties {
 public:
  // Lines "name=value"; blank lines and lines starting with '#' are skipped,
  // spaces around the name and the value dropped. A line without '=', with
  // an empty name, or naming a property given before is refused with its
  // line number (AgentError BAD_INPUT).
  void load(const std::string& path);
  void parse(const std::string& text, const std::string& place);

  // Null when the property is not set.
  const std::string* get(const std::string& name) const;
  // The number a property holds, or `otherwise` when unset or no number.
  long number(const std::string& name, long otherwise) const;
  const std::map<std::string, std::string>& all() const { return values_; }
  // The file loaded last ("" when none).
  const std::string& path() const { return path_; }

  // Hands every property to the broker framework's configuration.
  void apply() const;

 private:
  std::map<std::string, std::string> values_;
  std::string path_;
};
