// GenBOHandler: relating the objects of a business object, and writing the
// keys of new objects back into it after the commit.
#include <cstdio>
#include <string>
#include <vector>

#include "client/cpi_obj.h"
#include "client/cpi_rel.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_steps.h"
#include "connector/conn_util.h"

namespace {

// Relating mode of the client interface's relation calls.
constexpr long CONN_REL_RELATE = 1;

std::vector<std::string> conn_split(const std::string& text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    size_t p = text.find(sep, start);
    out.push_back(text.substr(start, p == std::string::npos ? p : p - start));
    if (p == std::string::npos) return out;
    start = p + 1;
  }
}

// One end of a relation: the attribute's handle when its object was made in
// this state, else its object id.
struct conn_end {
  Map* map;
  int index;
  bool by_handle() const { return map->getIsInMemory(index) && map->getObj(index); }
};

}  // namespace

int GenBOHandler::PrivateRelateObjects(BusinessObject& bo, Map* map, int i) {
  if (!conn_step_carries(map, i) || !map->getIsObject(i)) return CONN_RELATE_NONE;
  const char* refs = map->getRel_to_obj_attr(i);
  if (!refs) {
    logMessage(CONN_MSG_NO_REL_ATTR, KzMsgFormat::ORB_ERROR, 0);
    return CONN_RELATE_NONE;
  }
  const char* first = map->getFirstRelation(i);
  std::string relations = first ? first : "";
  if (const char* other = map->getOtherRelation(i)) relations += std::string(",") + other;
  std::vector<std::string> ref_list = conn_split(refs, ',');
  std::vector<std::string> rel_list = conn_split(relations, ',');
  bool refused = false;
  for (size_t p = 0; p < ref_list.size() && p < rel_list.size(); ++p) {
    std::string name;
    BusinessObject* owner = &bo;
    Map* owner_map = map;
    if (ref_list[p].rfind("..", 0) == 0) {
      owner = conn_step_ancestor(bo, ref_list[p], &name);
      owner_map = owner ? static_cast<Map*>(owner->getContext()) : nullptr;
      if (!owner_map) {
        logMessage(CONN_MSG_NO_ANCESTOR, KzMsgFormat::ORB_ERROR, 0);
        continue;
      }
    } else {
      name = ref_list[p];
    }
    int j = Map::getIndex(name.c_str(), owner);
    if (j < 0) {
      logMessage(CONN_MSG_NO_REL_TARGET, KzMsgFormat::ORB_ERROR, 1, name.c_str());
      continue;
    }
    if (!owner_map->getIsObject(j)) continue;  // nothing stored or made to relate from
    conn_end from{owner_map, j};
    conn_end to{map, i};
    const char* rel = rel_list[p].c_str();
    long status;
    if (from.by_handle() && to.by_handle())
      status = cpi_rel_objs(state, owner_map->getObj(j), map->getObj(i), rel, CONN_REL_RELATE);
    else if (!from.by_handle() && !to.by_handle())
      status = cpi_rel_ids(state, owner_map->getObjid(j), map->getObjid(i), rel, CONN_REL_RELATE);
    else if (!from.by_handle())
      status = cpi_rel_fromid(state, owner_map->getObjid(j), map->getObj(i), rel, CONN_REL_RELATE);
    else
      status = cpi_rel_toid(state, owner_map->getObj(j), map->getObjid(i), rel, CONN_REL_RELATE);
    if (status == 0) continue;
    refused = true;
    if (from.by_handle() == to.by_handle()) globals->utility->log_error(status);
    if (!from.by_handle() && !to.by_handle()) {
      std::string from_id = conn_step_long_text(owner_map->getObjid(j)->id_number);
      std::string to_id = conn_step_long_text(map->getObjid(i)->id_number);
      logMessage(CONN_MSG_RELATE_IDS, KzMsgFormat::ORB_ERROR, 5, owner_map->getTable(j),
                 from_id.c_str(), map->getTable(i), to_id.c_str(), rel);
    } else {
      if (from.by_handle() != to.by_handle()) {
        cpi_alert_print(nullptr, 0);
        cpi_alert_clear();
      }
      logMessage(CONN_MSG_RELATE, KzMsgFormat::ORB_ERROR, 3, owner_map->getTable(j),
                 map->getTable(i), rel);
    }
  }
  return refused ? CONN_RELATE_REFUSED : CONN_RELATE_DONE;
}

void GenBOHandler::PrivatePopulateObjids(BusinessObject& bo, Map* map) {
  for (int i = 0; map && i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    if (!desc || !desc->isKey() || conn_step_value(bo.getAttrValue(i)) || !map->getObj(i))
      continue;
    long id = 0;
    long status = cpi_obj_get_field(map->getObj(i), map->getField(i), 0, &id, nullptr);
    if (status != 0) {
      globals->utility->log_error(status);
      cpi_alert_print(nullptr, 0);
      fputs("not setting objid\n", stdout);
      continue;
    }
    std::string text = conn_step_long_text(id);
    if (!text.empty()) bo.setAttrValue(i, text.data(), bo.getAttrType(i));
  }
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    void* value = bo.getAttrValue(i);
    if (!desc || !desc->isObjectType() || !value || BusinessObject::isIgnoreValue(value)) continue;
    if (desc->isMultipleCard()) {
      auto* container = static_cast<BusObjContainer*>(value);
      for (int k = 0; k < container->getObjectCount(); ++k) {
        BusinessObject* child = container->getObject(k);
        PrivatePopulateObjids(*child, static_cast<Map*>(child->getContext()));
      }
    } else {
      auto* child = static_cast<BusinessObject*>(value);
      PrivatePopulateObjids(*child, static_cast<Map*>(child->getContext()));
    }
  }
}
