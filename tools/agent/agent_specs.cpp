// Business-object definitions read from JSON and registered with the framework.
#include "agent_specs.h"

#include <dirent.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "agent_error.h"
#include "kl_bo.h"

using json = nlohmann::ordered_json;

namespace {

struct attr_def {
  std::string name, app_text, child_type;
  int type = 0;
  unsigned flags = 0;
};

struct type_def {
  std::string place, name, app_text;
  std::vector<std::pair<std::string, std::string>> verbs;
  std::vector<attr_def> attrs;
};

const std::pair<const char*, const int*> kTypes[] = {
    {"Object", &BOAttrType::OBJECT}, {"Boolean", &BOAttrType::BOOLEAN}, {"Integer", &BOAttrType::INTEGER},
    {"Float", &BOAttrType::FLOAT},   {"Double", &BOAttrType::DOUBLE},   {"String", &BOAttrType::STRING},
    {"Date", &BOAttrType::DATE},     {"LongText", &BOAttrType::LONGTEXT}};

const std::pair<const char*, unsigned> kFlags[] = {{"key", BOAttrType::KEY},
                                                   {"foreignKey", BOAttrType::FOREIGN_KEY},
                                                   {"required", BOAttrType::REQUIRED},
                                                   {"multiple", BOAttrType::MULTIPLE}};

std::string text_of(const json& j, const char* key, const std::string& place, bool required) {
  if (!j.contains(key)) {
    if (required) throw agent_bad_input(place, std::string("\"") + key + "\" is missing");
    return "";
  }
  if (!j[key].is_string()) throw agent_bad_input(place, std::string("\"") + key + "\" must be a text");
  return j[key].get<std::string>();
}

void only_keys(const json& j, std::initializer_list<const char*> keys, const std::string& place) {
  for (const auto& item : j.items())
    if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return item.key() == k; }))
      throw agent_bad_input(place, "unknown key \"" + item.key() + "\"");
}

attr_def read_attr(const json& j, const std::string& place) {
  if (!j.is_object()) throw agent_bad_input(place, "an attribute must be a JSON object");
  only_keys(j, {"name", "type", "flags", "appText", "childType"}, place);
  attr_def a;
  a.name = text_of(j, "name", place, true);
  std::string type = text_of(j, "type", place, true);
  auto t = std::find_if(std::begin(kTypes), std::end(kTypes), [&](const auto& k) { return type == k.first; });
  if (t == std::end(kTypes)) throw agent_bad_input(place, "unknown attribute type \"" + type + "\"");
  a.type = *t->second;
  a.app_text = text_of(j, "appText", place, false);
  a.child_type = text_of(j, "childType", place, false);
  if ((a.type == BOAttrType::OBJECT) != !a.child_type.empty())
    throw agent_bad_input(place, "\"childType\" is given exactly for \"Object\" attributes");
  if (j.contains("flags")) {
    if (!j["flags"].is_array()) throw agent_bad_input(place, "\"flags\" must be an array of texts");
    for (const json& f : j["flags"]) {
      auto k = std::find_if(std::begin(kFlags), std::end(kFlags),
                            [&](const auto& e) { return f.is_string() && f.get<std::string>() == e.first; });
      if (k == std::end(kFlags)) throw agent_bad_input(place, "unknown flag " + f.dump());
      a.flags |= k->second;
    }
  }
  return a;
}

type_def read_type(const std::string& text, const std::string& file) {
  json j;
  try {
    j = json::parse(text);
  } catch (const json::parse_error& e) {
    throw agent_bad_input(file, std::string("malformed JSON: ") + e.what());
  }
  if (!j.is_object()) throw agent_bad_input(file, "a definition must be a JSON object");
  only_keys(j, {"name", "appText", "verbs", "attributes"}, file);
  type_def t;
  t.place = file;
  t.name = text_of(j, "name", file, true);
  t.app_text = text_of(j, "appText", file, false);
  if (j.contains("verbs")) {
    if (!j["verbs"].is_object()) throw agent_bad_input(file, "\"verbs\" must map verbs to their texts");
    for (const auto& v : j["verbs"].items()) {
      if (!v.value().is_string()) throw agent_bad_input(file + ": verbs." + v.key(), "must be a text");
      t.verbs.emplace_back(v.key(), v.value().get<std::string>());
    }
  }
  if (!j.contains("attributes") || !j["attributes"].is_array())
    throw agent_bad_input(file, "\"attributes\" must be an array");
  for (size_t i = 0; i < j["attributes"].size(); ++i)
    t.attrs.push_back(read_attr(j["attributes"][i], file + ": attributes[" + std::to_string(i) + "]"));
  return t;
}

void register_type(const type_def& t) {
  BusObjSpec* spec = BusObjSpec::define(t.name.c_str(), t.app_text.c_str());
  for (const auto& [verb, text] : t.verbs) spec->setVerbAppText(verb.c_str(), text.c_str());
  for (const attr_def& a : t.attrs)
    spec->addAttribute(BOAttrType(a.name.c_str(), a.type, a.app_text.c_str(), a.flags,
                                  a.child_type.empty() ? nullptr : a.child_type.c_str()));
}

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void AgentSpecs::loadDir(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  if (!d) throw agent_bad_input(dir, "the objects folder cannot be read");
  std::vector<std::string> names;
  while (dirent* e = readdir(d))
    if (ends_with(e->d_name, kSuffix)) names.emplace_back(e->d_name);
  closedir(d);
  std::sort(names.begin(), names.end());
  std::map<std::string, std::string> files;
  for (const std::string& n : names) files[dir + "/" + n] = agent_read_file(dir + "/" + n);
  loadTexts(files);
}

void AgentSpecs::loadTexts(const std::map<std::string, std::string>& files) {
  std::vector<type_def> types;
  std::map<std::string, std::string> where;
  for (const auto& [place, text] : files) {
    types.push_back(read_type(text, place));
    const type_def& t = types.back();
    if (where.count(t.name) || known(t.name))
      throw agent_bad_input(place, "business-object type \"" + t.name + "\" is defined twice");
    where[t.name] = place;
  }
  for (const type_def& t : types)
    for (const attr_def& a : t.attrs)
      if (!a.child_type.empty() && !where.count(a.child_type) && !known(a.child_type))
        throw agent_bad_input(t.place + ": " + a.name, "child type \"" + a.child_type + "\" is defined nowhere");
  for (const type_def& t : types) {
    register_type(t);
    auto& verbs = verbs_[t.name];
    for (const auto& v : t.verbs) verbs.insert(v.first);
  }
}

bool AgentSpecs::subscribed(const std::string& name, const std::string& verb) const {
  auto it = verbs_.find(name);
  return it != verbs_.end() && it->second.count(verb) != 0;
}
