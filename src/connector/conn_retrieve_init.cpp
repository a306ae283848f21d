// GenBOHandler: the query preparation of the retrieve family, shared with
// Update: level 0 from key conditions or from an ancestor's object, the key
// and by-content conditions, the parent-index correction, and the removal of
// the children a shallow Retrieve does not fill.
#include <cstdio>
#include <cstring>
#include <string>

#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_steps.h"

namespace {

constexpr const char* CONN_MISSING_ID_MSG = "Error: <KzMissingId> key value for Retrieve.\n";
constexpr const char* CONN_MISSING_ID_UPDATE =
    "Warning: <KzMissingId> key value for Update. Converting verb to Create.\n";

}  // namespace

bool GenBOHandler::PrivateUseAsCondition(BusinessObject& bo, Map* map, int i, bool by_content) {
  if (!conn_step_value(bo.getAttrValue(i))) return false;
  if (by_content) {
    const char* view = map->getView(i);
    return view && *view && strcmp(view, map->getView(0)) == 0;
  }
  BOAttrType* desc = bo.getAttrDesc(i);
  return desc && desc->isKey() && strcmp(map->getTable(i), map->getTable(0)) == 0;
}

void GenBOHandler::PrivateUseAttributeAsCondition(BusinessObject& bo, Map* map, int i,
                                                  cpi_ty_fcond* conds, int* filled,
                                                  bool by_content) {
  if (!PrivateUseAsCondition(bo, map, i, by_content)) return;
  const char* field = by_content ? map->getViewField(i) : map->getField(i);
  const char* value = static_cast<const char*>(bo.getAttrValue(i));
  conds[(*filled)++] = cpi_ty_fcond{CPI_OP_EQUAL, field, value};
  traceMessage(Tracing::LEVEL5, CONN_MSG_CONDITION, KzMsgFormat::ORB_INFO, 2, field, value);
}

void GenBOHandler::PrivateSetConditions(BusinessObject& bo, Map* map, cpi_ty_fcond** conds,
                                        int* count, bool by_content) {
  const int last = bo.getAttrCount() - 1;
  *count = 0;
  if (!by_content && !multiKeyRetrieve) {
    *conds = new cpi_ty_fcond[1];
    const char* value = conn_step_value(bo.getAttrValue(0));
    (*conds)[0] = cpi_ty_fcond{CPI_OP_EQUAL, map->getField(0), value};
    *count = 1;
    return;
  }
  if (!conn_step_value(bo.getAttrValue(0)) && multiKeyRetrieve) {
    *conds = new cpi_ty_fcond[1];
    (*conds)[0] = cpi_ty_fcond{CPI_OP_EQUAL, nullptr, nullptr};
    *count = 1;
    return;
  }
  *conds = new cpi_ty_fcond[static_cast<size_t>(last > 0 ? last : 1)];
  for (int i = 0; i < last; ++i) PrivateUseAttributeAsCondition(bo, map, i, *conds, count, by_content);
}

namespace {

// Step 3 of PrivateRetrievalInit: level 0 from the ancestor's object that
// attribute 0's rel_to_obj_attr names. 0, or -1 after 22017-22019.
int conn_ancestor_level(GenBOHandler& h, BusinessObject& bo, Map* map, cpi_ty_fcond* cond,
                        const char** type) {
  const char* refs = map->getRel_to_obj_attr(0);
  if (!refs) {
    h.logMessage(CONN_MSG_NO_REL_ATTR, KzMsgFormat::ORB_ERROR, 0);
    return -1;
  }
  std::string ref = refs;
  ref = ref.substr(0, ref.find(','));
  std::string name;
  BusinessObject* ancestor = ref.rfind("..", 0) == 0 ? conn_step_ancestor(bo, ref, &name) : nullptr;
  Map* amap = ancestor ? static_cast<Map*>(ancestor->getContext()) : nullptr;
  if (!amap) {
    h.logMessage(CONN_MSG_NO_ANCESTOR, KzMsgFormat::ORB_ERROR, 0);
    return -1;
  }
  int k = Map::getIndex(name.c_str(), ancestor);
  if (k < 0 || !amap->getField(k)[0]) {
    h.logMessage(CONN_MSG_NO_REL_TARGET, KzMsgFormat::ORB_ERROR, 1, name.c_str());
    return -1;
  }
  const char* value = conn_step_value(ancestor->getAttrValue(k));
  *cond = cpi_ty_fcond{CPI_OP_EQUAL, amap->getField(k), value ? value : "0"};
  *type = amap->getTable(k);
  return 0;
}

}  // namespace

int GenBOHandler::PrivateRetrievalInit(BusinessObject& bo, cpi_ty_trav_map* levels, Map* map,
                                       int* start, long* level_count, bool retrieve, bool update,
                                       bool* changed) {
  cpi_ty_fcond* conds = nullptr;
  int count = 0;
  PrivateSetConditions(bo, map, &conds, &count, false);
  // The traversal map owns the array from here on.
  levels[0].conds = conds;
  travMapOwnsConds = levels == travMap;
  const char* verb_arg = update ? "Update" : "Retrieve";
  if (conn_step_value(bo.getAttrValue(0))) {
    if (count < 1 || !conds[0].value) {
      // Multi-key retrieve without a key value on attribute 0's table: no
      // query runs without a condition.
      if (bo.getParent() && ignoreMissingChild) {
        traceMessage(Tracing::LEVEL1, CONN_MSG_NO_KEY, KzMsgFormat::ORB_WARNING, 1, verb_arg);
        return 1;
      }
      logMessage(CONN_MSG_NO_KEY, KzMsgFormat::ORB_ERROR, 1, verb_arg);
      return -1;
    }
    if (retrieve && conn_step_missing_id(conds[0].value)) {
      if (!bo.getParent()) {
        logMessage(CONN_MSG_NO_KEY, KzMsgFormat::ORB_ERROR, 1, "Retrieve");
        return -1;
      }
      snprintf(msgBuf, sizeof msgBuf, "%s", CONN_MISSING_ID_MSG);
      return ignoreMissingChild ? 1 : -1;
    }
    if (update && conn_step_missing_id(conds[0].value)) {
      JToCPPVeneer::getTheHandlerStuff()->logMsg(CONN_MISSING_ID_UPDATE);
      bo.setVerb("Create");
      *changed = true;
      return Create(bo);
    }
    PrivateSetTravMap(&levels[0], nullptr, map->getTable(0), CPI_KIND_TYPE, 1, count, conds);
    *start = 1;
    return 0;
  }
  if (!bo.getParent()) {
    logMessage(CONN_MSG_NO_KEY, KzMsgFormat::ORB_ERROR, 1, verb_arg);
    return -1;
  }
  if (!map->getFirstRelation(0)) {
    const char* lookup = map->getRelationLookupAttr(0);
    if (!lookup) {
      if (!ignoreMissingChild) {
        logMessage(CONN_MSG_NO_KEY, KzMsgFormat::ORB_ERROR, 1, verb_arg);
        return -1;
      }
      traceMessage(Tracing::LEVEL1, CONN_MSG_NO_KEY, KzMsgFormat::ORB_WARNING, 1, verb_arg);
      return 1;
    }
    if (!conn_step_value(bo.getAttrValue(lookup))) return -1;
  }
  const char* type = nullptr;
  if (conn_ancestor_level(*this, bo, map, &conds[0], &type) != 0) return -1;
  PrivateSetTravMap(&levels[0], nullptr, type, CPI_KIND_TYPE, 1, 1, conds);
  *start = 0;
  *level_count += 1;
  return 0;
}

void GenBOHandler::PrivateCheckParentIndex(BusinessObject& bo, long level_count) {
  if (!conn_step_value(bo.getAttrValue(0)) || !bo.getParent() || level_count < 1) return;
  for (long j = 0; j < level_count; ++j) {
    travMap[j].parent -= 1;
    if (travMap[j].rel_name && travMap[j].parent < 0)
      traceMessage(Tracing::LEVEL1, CONN_MSG_PARENT_INDEX, KzMsgFormat::ORB_ERROR, 2,
                   travMap[j].rel_name, bo.getName());
  }
}

int GenBOHandler::PrivateRemoveChildren(BusinessObject& bo) {
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    if (desc && desc->isObjectType()) bo.setAttrValue(i, nullptr, BOAttrType::OBJECT);
  }
  return 0;
}
