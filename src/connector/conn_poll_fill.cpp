// OrbisanGlobals: filling an event's business object from the event row's
// object name and key before it is retrieved.
#include <strings.h>

#include <cstring>
#include <string>

#include "connector/conn_globals.h"

namespace {

constexpr const char* CONN_ROLE_CHILD = "Orbisan_Contact_Role";
constexpr const char* CONN_ADDRESS = "Orbisan_Address";
constexpr const char* CONN_ROLE = "AddressRoleType";
constexpr int CONN_DELIMITER_SIZE = 10;

// The pieces of `text` separated by `sep`.
template <class Each>
void conn_each_piece(const std::string& text, char sep, Each each) {
  size_t start = 0;
  while (true) {
    size_t p = text.find(sep, start);
    each(text.substr(start, p == std::string::npos ? p : p - start));
    if (p == std::string::npos) return;
    start = p + 1;
  }
}

bool conn_retrieve_all_off(BusinessObject* bo) {
  BusObjSpec* spec = bo->getSpecFor();
  const char* text = spec ? spec->getVerbAppText("Retrieve") : nullptr;
  return text && strcasecmp(text, "RetrieveAll=False") == 0;
}

}  // namespace

int OrbisanGlobals::HandleObjectSpecific(const char* object_name, const char* object_key,
                                         BusinessObject* bo, const char* verb) {
  if (strcmp(verb, "Physical Delete") == 0) return HandleGenericObject(object_name, bo);
  std::string type = object_name;
  type = type.substr(0, type.find(':'));
  if (type == "Site") return HandleSiteSpecific(object_name, object_key, bo);
  if (type == "Contact") return HandleContactSpecific(object_name, bo, verb);
  return HandleGenericObject(object_name, bo);
}

int OrbisanGlobals::HandleGenericObject(const char* object_name, BusinessObject* bo) {
  std::string delim_text = readProp("PollAttributeDelimiter", CONN_DELIMITER_SIZE);
  char delim = delim_text.empty() ? ':' : delim_text[0];
  std::string name = object_name;
  size_t first = name.find(delim);
  if (first == std::string::npos) return 0;
  int result = 0;
  conn_each_piece(name.substr(first + 1), delim, [&](const std::string& item) {
    size_t eq = item.find('=');
    std::string attr = item.substr(0, eq);
    if (attr.empty() || result != 0) return;
    std::string value = eq == std::string::npos ? std::string() : item.substr(eq + 1);
    char* v = eq == std::string::npos ? nullptr : value.data();
    if (!bo->setAttrValue(attr.c_str(), v, bo->getAttrType(attr.c_str()))) result = -1;
  });
  return result;
}

int OrbisanGlobals::HandleContactSpecific(const char* object_name, BusinessObject* bo,
                                          const char* verb) {
  if (HandleGenericObject(object_name, bo) != 0) return -1;
  if (conn_retrieve_all_off(bo) && strcmp(verb, "Create") != 0) return 0;
  if (BusinessObject* role = bo->makeNewAttrObject(CONN_ROLE_CHILD))
    if (!bo->setAttrValue(CONN_ROLE_CHILD, role, BOAttrType::OBJECT)) delete role;
  return 0;
}

int OrbisanGlobals::HandleSiteSpecific(const char* object_name, const char* object_key,
                                       BusinessObject* bo) {
  std::string name = object_name;
  size_t first = name.find(':');
  int index = 0;
  if (first != std::string::npos) {
    conn_each_piece(name.substr(first + 1), ':', [&](const std::string& role) {
      BusinessObject* child = bo->makeNewAttrObject(CONN_ADDRESS);
      if (!child) return;
      if (!bo->setAttrValue(CONN_ADDRESS, child, BOAttrType::OBJECT)) {
        delete child;
        return;
      }
      BusinessObject* slot = child;
      if (bo->getAttrDesc(CONN_ADDRESS)->isMultipleCard())
        slot = static_cast<BusObjContainer*>(bo->getAttrValue(CONN_ADDRESS))->getObject(index++);
      std::string text = role;
      if (slot) slot->setAttrValue(CONN_ROLE, text.data(), slot->getAttrType(CONN_ROLE));
    });
  }
  std::string key = object_key ? object_key : "";
  key = key.substr(0, key.find(':'));
  bo->setAttrValue("SiteID", key.data(), bo->getAttrType("SiteID"));
  return 0;
}
