// Business-object definitions: one JSON file per type in the objects folder,
// registered with the broker framework.
//
//   {"name": "Orbisan_Contact", "appText": "...",
//    "verbs": {"Create": "", "Retrieve": "..."},
//    "attributes": [{"name": "ObjId", "type": "String", "flags": ["key"],
//                    "appText": "...", "childType": "..."}, ...]}
//
// Types are the framework's attribute types by name ("Object", "Boolean",
// "Integer", "Float", "Double", "String", "Date", "LongText"); flags are
// "key", "foreignKey", "required" and "multiple"; an "Object" attribute
// names its child's type. The verbs listed are the verbs the agent
// subscribes to.
#pragma once

#include <map>
#include <set>
#include <string>

class AgentSpecs {
 public:
  // The file name ending of definition files.
  static constexpr const char* kSuffix = ".bo.json";

  // Every definition file of dir, in name order; refused (AgentError
  // BAD_INPUT, the file and place named) when one is malformed, a type is
  // defined twice or a child type is defined nowhere. Nothing is registered
  // unless every file is good.
  void loadDir(const std::string& dir);
  // Definitions from texts: place -> text.
  void loadTexts(const std::map<std::string, std::string>& files);

  bool known(const std::string& name) const { return verbs_.count(name) != 0; }
  bool subscribed(const std::string& name, const std::string& verb) const;
  size_t size() const { return verbs_.size(); }

 private:
  std::map<std::string, std::set<std::string>> verbs_;
};
