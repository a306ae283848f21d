// Business objects to and from JSON.
#include "agent_objects.h"

#include <cstring>

#include "agent_error.h"
#include "kl_bo.h"

using json = AgentObjects::json;

namespace {

void fill(BusinessObject& bo, const json& j, const std::string& place);

std::string simple_text(const json& v, const std::string& place) {
  if (v.is_string()) return v.get<std::string>();
  if (v.is_boolean()) return v.get<bool>() ? "true" : "false";
  if (v.is_number()) return v.dump();
  throw agent_bad_input(place, "a simple attribute takes a text, a number, true/false or null");
}

void set_child(BusinessObject& bo, int index, const json& v, const std::string& place) {
  if (!v.is_object()) throw agent_bad_input(place, "a child must be a JSON object");
  std::unique_ptr<BusinessObject> child(bo.makeNewAttrObject(index));
  if (v.contains("name") && (!v["name"].is_string() || v["name"].get<std::string>() != child->getName()))
    throw agent_bad_input(place, std::string("the child's type is \"") + child->getName() + "\"");
  fill(*child, v, place);
  if (bo.setAttrValue(index, child.get(), BOAttrType::OBJECT)) child.release();
}

void set_value(BusinessObject& bo, int index, const json& v, const std::string& place) {
  BOAttrType* a = bo.getAttrDesc(index);
  if (!a->isObjectType()) {
    if (v.is_null()) {
      bo.setAttrValue(index, const_cast<char*>(BusinessObject::BLANK_MARK), a->getType());
      return;
    }
    std::string text = simple_text(v, place);
    bo.setAttrValue(index, text.data(), a->getType());
    return;
  }
  if (v.is_array()) {
    if (!a->isMultipleCard()) throw agent_bad_input(place, "a single child attribute takes one object");
    for (size_t k = 0; k < v.size(); ++k) set_child(bo, index, v[k], place + "[" + std::to_string(k) + "]");
    return;
  }
  set_child(bo, index, v, place);
}

void fill(BusinessObject& bo, const json& j, const std::string& place) {
  for (const auto& item : j.items()) {
    const std::string& key = item.key();
    if (key != "name" && key != "verb" && key != "appVerb" && key != "values")
      throw agent_bad_input(place, "unknown key \"" + key + "\"");
  }
  if (j.contains("verb")) {
    if (!j["verb"].is_string()) throw agent_bad_input(place + ".verb", "must be a text");
    bo.setVerb(j["verb"].get<std::string>().c_str());
  }
  if (j.contains("appVerb") && !j["appVerb"].is_null()) {
    if (!j["appVerb"].is_string()) throw agent_bad_input(place + ".appVerb", "must be a text or null");
    bo.setAppVerb(j["appVerb"].get<std::string>().c_str());
  }
  if (!j.contains("values")) return;
  if (!j["values"].is_object()) throw agent_bad_input(place + ".values", "must map attributes to values");
  for (const auto& item : j["values"].items()) {
    std::string where = place + ".values." + item.key();
    int index = bo.getSpecFor()->getAttributeIndex(item.key().c_str());
    if (index < 0)
      throw agent_bad_input(where, std::string("no attribute of that name in \"") + bo.getName() + "\"");
    set_value(bo, index, item.value(), where);
  }
}

json value_of(BusinessObject& bo, int index) {
  void* v = bo.getAttrValue(index);
  if (BusinessObject::isBlankValue(v)) return nullptr;
  if (!bo.getAttrDesc(index)->isObjectType()) return static_cast<const char*>(v);
  if (bo.getAttrDesc(index)->isMultipleCard()) {
    auto* c = static_cast<BusObjContainer*>(v);
    json list = json::array();
    for (int k = 0; k < c->getObjectCount(); ++k) list.push_back(AgentObjects::write(*c->getObject(k)));
    return list;
  }
  return AgentObjects::write(*static_cast<BusinessObject*>(v));
}

}  // namespace

std::unique_ptr<BusinessObject> AgentObjects::read(const json& j, const std::string& place) {
  if (!j.is_object()) throw agent_bad_input(place, "a business object must be a JSON object");
  if (!j.contains("name") || !j["name"].is_string()) throw agent_bad_input(place, "\"name\" must be a text");
  std::string name = j["name"].get<std::string>();
  if (!BusObjSpec::find(name.c_str()))
    throw agent_bad_input(place + ".name", "unknown business-object type \"" + name + "\"");
  auto bo = std::make_unique<BusinessObject>(name.c_str());
  fill(*bo, j, place);
  return bo;
}

std::unique_ptr<BusinessObject> AgentObjects::readText(const std::string& text, const std::string& place) {
  json j;
  try {
    j = json::parse(text);
  } catch (const json::parse_error& e) {
    throw agent_bad_input(place, std::string("malformed JSON: ") + e.what());
  }
  return read(j, place);
}

std::unique_ptr<BusinessObject> AgentObjects::readFile(const std::string& path) {
  return readText(agent_read_file(path), path);
}

json AgentObjects::write(BusinessObject& bo) {
  json j = json::object();
  j["name"] = bo.getName();
  j["verb"] = bo.getVerb();
  j["appVerb"] = bo.getAppVerb() ? json(bo.getAppVerb()) : json(nullptr);
  json values = json::object();
  for (int i = 0; i < bo.getAttrCount(); ++i) {
    if (BusinessObject::isIgnoreValue(bo.getAttrValue(i))) continue;
    values[bo.getAttrName(i)] = value_of(bo, i);
  }
  j["values"] = values;
  return j;
}
