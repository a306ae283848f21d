// Helpers shared by the verb steps.
#include "connector/conn_steps.h"

#include <cstdio>
#include <cstring>

const char* conn_step_value(const void* value) {
  if (!value || BusinessObject::isIgnoreValue(value) || BusinessObject::isBlankValue(value))
    return nullptr;
  const char* text = static_cast<const char*>(value);
  return *text ? text : nullptr;
}

bool conn_step_carries(Map* map, int i) {
  const char* rel = map->getFirstRelation(i);
  return (rel && *rel) || map->getRelationLookupAttr(i) != nullptr;
}

bool conn_step_missing_id(const char* value) {
  return value && strcmp(value, "KzMissingId") == 0;
}

BusinessObject* conn_step_new_child(BusinessObject& bo, int i) {
  bo.setAttrValue(i, nullptr, BOAttrType::OBJECT);
  BusinessObject* child = bo.makeNewAttrObject(i);
  if (child && !bo.setAttrValue(i, child, BOAttrType::OBJECT)) {
    delete child;
    return nullptr;
  }
  return child;
}

BusinessObject* conn_step_ancestor(BusinessObject& bo, const std::string& ref, std::string* name) {
  size_t dots = 0;
  while (dots < ref.size() && ref[dots] == '.') ++dots;
  *name = ref.substr(dots);
  BusinessObject* target = &bo;
  for (size_t k = 1; k < dots && target; ++k) target = target->getParent();
  return target;
}

std::string conn_step_long_text(long value) {
  char buf[32];
  snprintf(buf, sizeof buf, "%ld", value);
  return buf;
}
