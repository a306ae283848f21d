// GenBOHandler: Update (also "Delete" and "CASE_CLOSED": the connector
// deletes no CRM object). The stored object's children lose their relations
// first, so that the children the request carries replace them; then the
// stored objects are found by one query, written, created where missing and
// related, and the children's verbs run.
#include <strings.h>

#include <cstring>
#include <string>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_rel.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_steps.h"
#include "connector/conn_util.h"

namespace {

constexpr long CONN_REL_UNRELATE = 0;
constexpr const char* CONN_SITE = "Orbisan_Site";
constexpr const char* CONN_ADDRESS = "Orbisan_Address";
constexpr const char* CONN_ROLE = "AddressRoleType";

// The object id of the first object of level 0 of the top call.
cpi_ty_objid conn_root_objid = {};

// Frees a query result when it goes out of scope.
struct conn_result_guard {
  cpi_ty_qry_result* result = nullptr;
  ~conn_result_guard() { cpi_qry_free_results(result); }
};

bool conn_keeps_relations(BOAttrType* desc) {
  std::string text = desc->getAppText();
  return strcasecmp(text.substr(0, text.find(':')).c_str(), "keeprelations") == 0;
}

void conn_drop_map(BusinessObject& bo) {
  delete static_cast<Map*>(bo.getContext());
  bo.setContext(nullptr);
}

// The probe: a new object of the request's type with only attribute 0's
// value and the request's parent (and, for a site, its address roles).
void conn_fill_probe(BusinessObject& bo, BusinessObject& probe) {
  if (const char* v0 = conn_step_value(bo.getAttrValue(0)))
    probe.setAttrValue(0, const_cast<char*>(v0), bo.getAttrType(0));
  probe.setParent(bo.getParent());
  if (strcmp(bo.getName(), CONN_SITE) != 0) return;
  void* held = bo.getAttrValue(CONN_ADDRESS);
  BOAttrType* desc = bo.getAttrDesc(CONN_ADDRESS);
  if (!desc || !desc->isMultipleCard() || !held || BusinessObject::isIgnoreValue(held)) return;
  auto* addresses = static_cast<BusObjContainer*>(held);
  for (int k = 0; k < addresses->getObjectCount(); ++k) {
    BusinessObject* child = probe.makeNewAttrObject(CONN_ADDRESS);
    if (!child) return;
    probe.setAttrValue(CONN_ADDRESS, child, BOAttrType::OBJECT);
    void* role = addresses->getObject(k)->getAttrValue(CONN_ROLE);
    if (role && !BusinessObject::isIgnoreValue(role))
      child->setAttrValue(CONN_ROLE, role, child->getAttrType(CONN_ROLE));
  }
}

}  // namespace

int GenBOHandler::removeRelationsOfLevels(BusinessObject& bo, cpi_ty_qry_result* result,
                                          long levels) {
  cpi_ty_objid own{};
  for (long j = 0; j < levels; ++j) {
    countMemoryUnit();
    long count = 0;
    void** objects = nullptr;
    if (!levelResult(bo, result, j, &count, &objects)) {
      walkFailed = true;
      return -1;
    }
    if (j == 0) {
      if (count == 0) return bo.getParent() ? CONN_CHILD_MISSING : -1;
      if (cpi_obj_id(objects[0], &own, nullptr, nullptr, nullptr) != 0) {
        logMessage(CONN_MSG_NO_PARENT_ID, KzMsgFormat::ORB_ERROR, 1, "Parent");
        walkFailed = true;
        return -1;
      }
      if (bAlreadyInChild == 0) conn_root_objid = own;
      continue;
    }
    // Only the objects related to this call's own level-0 object.
    if (travMap[j].parent != 0) continue;
    for (long k = 0; k < count; ++k) {
      cpi_ty_objid id{};
      if (cpi_obj_id(objects[k], &id, nullptr, nullptr, nullptr) != 0) {
        logMessage(CONN_MSG_CHILD_ID, KzMsgFormat::ORB_ERROR, 0);
        walkFailed = true;
        return -1;
      }
      const char* rel = travMap[j].rel_name;
      if (cpi_rel_ids(state, &own, &id, rel, CONN_REL_UNRELATE) != 0) {
        traceMessage(Tracing::LEVEL4, CONN_MSG_UNRELATE_FAILED, KzMsgFormat::ORB_WARNING, 1, rel);
        cpi_alert_clear();
        walkFailed = true;
        return -1;
      }
      traceMessage(Tracing::LEVEL4, CONN_MSG_UNRELATED, KzMsgFormat::ORB_INFO, 1, rel);
    }
  }
  return 1;
}

int GenBOHandler::removeRelationsOfChildren(BusinessObject& bo, Map* /*map*/) {
  const bool site = strcmp(bo.getName(), CONN_SITE) == 0;
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    if (!desc || !desc->isObjectType() || conn_keeps_relations(desc)) continue;
    int r = 1;
    if (desc->isMultipleCard() && site && strcmp(bo.getAttrName(i), CONN_ADDRESS) == 0) {
      void* held = bo.getAttrValue(i);
      if (!held || BusinessObject::isIgnoreValue(held)) continue;
      auto* addresses = static_cast<BusObjContainer*>(held);
      for (int k = 0; k < addresses->getObjectCount() && r >= 0; ++k)
        r = RetrieveChildrenAndRemoveRelations(*addresses->getObject(k));
    } else {
      BusinessObject* child = conn_step_new_child(bo, i);
      if (!child) continue;
      r = RetrieveChildrenAndRemoveRelations(*child);
    }
    if (r == CONN_CHILD_MISSING) {
      bo.setAttrValue(i, nullptr, BOAttrType::OBJECT);
      return 0;
    }
    if (r < 0) return r;
  }
  return 1;
}

int GenBOHandler::RetrieveChildrenAndRemoveRelations(BusinessObject& bo) {
  conn_drop_map(bo);
  Map* map = new Map(&bo);
  long levels = 0;
  bool changed = false;
  if (int r = prepareRetrieval(bo, map, &levels, false, false, &changed)) {
    conn_drop_map(bo);
    return r;
  }
  cpi_ty_qry_result* result = nullptr;
  if (cpi_qry_traverse_map(globals->connectionId, state, nullptr, levels, travMap, 0, &result) !=
      0) {
    cpi_alert_print(nullptr, 0);
    logMessage(CONN_MSG_QRY_TRAVERSE, KzMsgFormat::ORB_ERROR, 1, bo.getName());
    walkFailed = true;
    conn_drop_map(bo);
    return -1;
  }
  int r = removeRelationsOfLevels(bo, result, levels);
  cpi_qry_free_results(result);
  if (r == 1 && bAlreadyInChild == 0) {
    bAlreadyInChild = 1;
    r = removeRelationsOfChildren(bo, map);
  }
  conn_drop_map(bo);
  return r;
}

int GenBOHandler::updateLevels(BusinessObject& bo, Map* map, cpi_ty_qry_result* result,
                               int first_level, bool* changed) {
  long next = first_level;
  int cursor = first_level;
  const char* value0 = conn_step_value(bo.getAttrValue(0));
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    const char* value = conn_step_value(bo.getAttrValue(i));
    bool missing_key = desc && desc->isKey() && conn_step_missing_id(value);
    map->setIsInMemory(i, false);
    if (i > 0 && !conn_step_carries(map, i)) continue;
    long count = 0;
    void** objects = nullptr;
    if (long st = cpi_qry_get_result(result, next++, 0, &count, &objects)) {
      globals->utility->log_error(st);
      return -1;
    }
    if (i == 0 && count == 0) {
      if (!failOnUpdate) {
        bo.setVerb("Create");
        *changed = true;
        return Create(bo) == -1 ? -1 : 1;
      }
      if (!missing_key) logMessage(CONN_MSG_UPDATE_MISSING, KzMsgFormat::ORB_ERROR, 0);
      return -1;
    }
    const char* type = travMap[cursor].type_name;
    bool foreign = desc && desc->isForeignKey();
    conn_result_guard own;
    if (foreign && value) {
      cpi_ty_trav_map level[1];
      cpi_qry_trav_map_init(1, level);
      cpi_ty_fcond cond{CPI_OP_EQUAL, map->getField(i), value};
      PrivateSetTravMap(&level[0], nullptr, type, CPI_KIND_TYPE, 1, 1, &cond);
      if (long st = cpi_qry_traverse_map(globals->connectionId, state, nullptr, 1, level, 0,
                                         &own.result)) {
        cpi_alert_print(nullptr, 0);
        logMessage(CONN_MSG_FIND_QUERY, KzMsgFormat::ORB_ERROR, 3, type, map->getField(i), value);
        globals->utility->log_error(st);
        return -1;
      }
      if (long st = cpi_qry_get_result(own.result, 0, 0, &count, &objects)) {
        logMessage(CONN_MSG_FIND_RESULT, KzMsgFormat::ORB_ERROR, 3, type, map->getField(i), value);
        globals->utility->log_error(st);
        return -1;
      }
    }
    if (count > 0) {
      if (map->load_referenced_object(objects[0], type) != 0) return -1;
      cpi_ty_objid id{};
      if (long st = cpi_obj_id(objects[0], &id, nullptr, nullptr, nullptr)) {
        logMessage(CONN_MSG_FIND_ID, KzMsgFormat::ORB_ERROR, 2, map->getTable(i), "NoValue");
        globals->utility->log_error(st);
        return -1;
      }
      map->setIsInMemory(i, false);
      map->setObjid(i, id);
      globals->utility->cpi_obj_dump(objects[0]);
    } else {
      if (PrivateNewObject(bo, i, map, &travMap[cursor], nullptr, 0) != 0) return -1;
      if (!map->getIsObject(i)) {
        ++cursor;
        map->setIsEvaluated(i, true);
        continue;
      }
    }
    countMemoryUnit();
    if (map->getFirstRelation(i) &&
        PrivateRelateObjects(bo, map, i) == CONN_RELATE_REFUSED)
      return -1;
    if (count > 1)
      traceMessage(Tracing::LEVEL1, CONN_MSG_TWO_MATCHES, KzMsgFormat::ORB_WARNING, 2, type,
                   value0 ? value0 : "");
    if (count > 0 && !map->getIsInMemory(i) && !foreign &&
        (map->write_obj_new(objects[0], type, nullptr) != 0 ||
         cpi_obj_update(state, objects[0], 0) != 0)) {
      logMessage(CONN_MSG_UPDATE_WRITE, KzMsgFormat::ORB_ERROR, 1, type);
      return -1;
    }
    ++cursor;
    map->setIsEvaluated(i, true);
  }
  return 0;
}

int GenBOHandler::Update(BusinessObject& bo) {
  Map* map = nullptr;
  if (PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  walkFailed = false;
  {
    BusinessObject probe(bo.getName());
    conn_fill_probe(bo, probe);
    bAlreadyInChild = 0;
    RetrieveChildrenAndRemoveRelations(probe);
    PrivateDeleteMaps(probe);
  }
  // A relation the walk could not remove fails the request.
  if (walkFailed) return -1;
  if (!transactional) {
    globals->utility->cpi_state_dump(state);
    if (long st = cpi_state_commit(state)) {
      globals->utility->log_error(st);
      cpi_alert_print(nullptr, 0);
      logMessage(CONN_MSG_COMMIT_FAILED, KzMsgFormat::ORB_ERROR, 1, bo.getName());
      return -1;
    }
  }
  long levels = 0;
  bool changed = false;
  if (int r = prepareRetrieval(bo, map, &levels, false, true, &changed)) return r;
  if (changed) return 1;
  conn_result_guard query;
  if (cpi_qry_traverse_map(globals->connectionId, state, nullptr, levels, travMap, 0,
                           &query.result) != 0) {
    cpi_alert_print(nullptr, 0);
    return -1;
  }
  int r = updateLevels(bo, map, query.result, conn_step_value(bo.getAttrValue(0)) ? 0 : 1,
                       &changed);
  if (changed || r != 0) return r == 0 ? 1 : r;
  return doSubObjects(bo) == -1 ? -1 : 1;
}
