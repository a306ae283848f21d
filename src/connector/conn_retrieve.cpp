// GenBOHandler: the retrieve family. Retrieve (also for "Exist") fills one
// object by key and the children the request carries; RetrieveAll fills the
// object and every child object, each child type by its own query;
// RetrieveByContent finds one object through a view by its by-content
// attributes.
#include <cstring>
#include <string>

#include "client/cpi_qry.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_steps.h"
#include "connector/conn_util.h"

int GenBOHandler::prepareRetrieval(BusinessObject& bo, Map* map, long* levels, bool retrieve,
                                   bool update, bool* changed) {
  int start = 0;
  PrivateInitMap(bo, map, levels);
  int r = PrivateRetrievalInit(bo, travMap, map, &start, levels, retrieve, update, changed);
  if (r != 0 || *changed) return r;
  PrivateSetRelations(bo, map, travMap, start);
  PrivateCheckParentIndex(bo, *levels);
  return 0;
}

bool GenBOHandler::levelResult(BusinessObject& bo, cpi_ty_qry_result* result, long j, long* count,
                               void*** objects) {
  if (cpi_qry_get_result(result, j, 0, count, objects) == 0) return true;
  std::string level_text = std::to_string(j);
  logMessage(CONN_MSG_QRY_RESULT, KzMsgFormat::ORB_ERROR, 2, level_text.c_str(), bo.getName());
  return false;
}

int GenBOHandler::Retrieve(BusinessObject& bo) {
  Map* map = nullptr;
  if (PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  long levels = 0;
  bool changed = false;
  if (int r = prepareRetrieval(bo, map, &levels, true, false, &changed)) return r;
  long status = map->load_data(globals->connectionId, state, travMap, levels);
  globals->utility->cpi_state_dump(state);
  if (status == CONN_NOT_FOUND) {
    traceMessage(Tracing::LEVEL1, CONN_MSG_NOT_FOUND, KzMsgFormat::ORB_WARNING, 0);
    return bo.getParent() && ignoreMissingChild ? 1 : -1;
  }
  if (status != 0) {
    logMessage(CONN_MSG_RETRIEVE_FAILED, KzMsgFormat::ORB_ERROR, 1, bo.getName());
    return -1;
  }
  int r = doSubObjects(bo);
  countMemoryUnit();
  return r == -1 ? -1 : 1;
}

namespace {

// The parent's attribute that holds business objects of this one's type.
int conn_parent_attr(BusinessObject& parent, const char* name) {
  for (int i = 0; i < parent.getAttrCount() - 1; ++i) {
    BOAttrType* desc = parent.getAttrDesc(i);
    if (desc && desc->isObjectType() && desc->hasTypeName() && strcmp(desc->getTypeName(), name) == 0)
      return i;
  }
  return -1;
}

}  // namespace

// RetrieveAll's levels: the first object of each level into the BO, and
// for a child the further objects of level 1 as new siblings in the
// parent's container. 1 when read, -1 or -5 (no object) otherwise.
int GenBOHandler::retrieveAllLevels(BusinessObject& bo, Map* map, cpi_ty_qry_result* result,
                                    long levels) {
  for (long j = 0; j < levels; ++j) {
    countMemoryUnit();
    long count = 0;
    void** objects = nullptr;
    if (!levelResult(bo, result, j, &count, &objects)) return -1;
    BusinessObject* parent = bo.getParent();
    if (j == 0 && count == 0) return parent ? CONN_CHILD_MISSING : -1;
    if (j == 1 && parent) {
      if (count == 0) return CONN_CHILD_MISSING;
      int pa = conn_parent_attr(*parent, bo.getName());
      if (pa < 0) {
        logMessage(CONN_MSG_NO_PARENT_ATTR, KzMsgFormat::ORB_ERROR, 2, bo.getName(),
                   parent->getName());
        return -1;
      }
      if (count >= 2 && parent->getAttrDesc(pa)->isMultipleCard() &&
          retrieveAllSiblings(bo, map, result, levels, count, objects, pa) != 0)
        return -1;
    }
    if (count > 0 && map->load_record(objects[0], travMap[j].type_name, "", false) != 0) {
      logMessage(CONN_MSG_LOAD_LEVEL, KzMsgFormat::ORB_ERROR, 1, travMap[j].type_name);
      return -1;
    }
  }
  return 1;
}

int GenBOHandler::retrieveAllSiblings(BusinessObject& bo, Map* map, cpi_ty_qry_result* result,
                                      long levels, long count, void** objects, int pa) {
  BusinessObject* parent = bo.getParent();
  void* held = parent->getAttrValue(pa);
  if (!held || BusinessObject::isIgnoreValue(held)) return 0;
  auto* container = static_cast<BusObjContainer*>(held);
  int status = 0;
  for (long o = 1; o < count && status == 0; ++o) {
    auto* sibling = new BusinessObject(bo.getName());
    sibling->setParent(parent);
    container->setTheSpec(sibling->getTheSpec());
    map->setBusinessObject(sibling);
    if (map->load_record(objects[o], travMap[1].type_name, "", false) != 0) {
      logMessage(CONN_MSG_LOAD_LEVEL, KzMsgFormat::ORB_ERROR, 1, travMap[1].type_name);
      status = -1;
    }
    for (long m = 2; m < levels && status == 0; ++m) {
      long n = 0;
      void** deeper = nullptr;
      if (!levelResult(bo, result, m, &n, &deeper)) {
        status = -1;
      } else if (n == count && map->load_record(deeper[o], travMap[m].type_name, "", false) != 0) {
        logMessage(CONN_MSG_LOAD_LEVEL, KzMsgFormat::ORB_ERROR, 1, travMap[m].type_name);
        status = -1;
      }
    }
    map->setBusinessObject(&bo);
    sibling->setContext(nullptr);
    if (status == 0)
      container->insertObject(sibling);
    else
      delete sibling;
  }
  return status;
}

// RetrieveAll's children: every object attribute gets the stored children.
// The last child result, or 0 without children.
int GenBOHandler::retrieveAllChildren(BusinessObject& bo) {
  int last = 0;
  const bool site = strcmp(bo.getName(), "Orbisan_Site") == 0;
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    if (!desc || !desc->isObjectType()) continue;
    if (!desc->isMultipleCard()) {
      BusinessObject* child = conn_step_new_child(bo, i);
      if (!child) continue;
      last = doSubVerbFor(*child);
      if (last == CONN_CHILD_MISSING) {
        PrivateDeleteMaps(*child);
        bo.setAttrValue(i, nullptr, BOAttrType::OBJECT);
      } else if (last < 0) {
        return last;
      }
      continue;
    }
    if (site && strcmp(bo.getAttrName(i), "Orbisan_Address") == 0) {
      void* held = bo.getAttrValue(i);
      if (!held || BusinessObject::isIgnoreValue(held)) continue;
      auto* container = static_cast<BusObjContainer*>(held);
      for (int k = 0; k < container->getObjectCount(); ++k) {
        last = doSubVerbFor(*container->getObject(k));
        if (last < 0 && last != CONN_CHILD_MISSING) return last;
      }
      continue;
    }
    BusinessObject* first = conn_step_new_child(bo, i);
    if (!first) continue;
    last = doSubVerbFor(*first);
    if (last == CONN_CHILD_MISSING) {
      PrivateDeleteMaps(*first);
      bo.setAttrValue(i, nullptr, BOAttrType::OBJECT);
      continue;
    }
    if (last < 0) return last;
    auto* container = static_cast<BusObjContainer*>(bo.getAttrValue(i));
    for (int k = 1; k < container->getObjectCount(); ++k) {
      last = doSubVerbFor(*container->getObject(k));
      if (last < 0) return last;
    }
  }
  return last;
}

int GenBOHandler::RetrieveAll(BusinessObject& bo) {
  Map* map = nullptr;
  if (PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  long levels = 0;
  bool changed = false;
  if (int r = prepareRetrieval(bo, map, &levels, false, false, &changed)) return r;
  cpi_ty_qry_result* result = nullptr;
  if (cpi_qry_traverse_map(globals->connectionId, state, nullptr, levels, travMap, 0, &result) !=
      0) {
    cpi_alert_print(nullptr, 0);
    logMessage(CONN_MSG_QRY_TRAVERSE, KzMsgFormat::ORB_ERROR, 0);
    return -1;
  }
  int read = retrieveAllLevels(bo, map, result, levels);
  cpi_qry_free_results(result);
  if (read != 1) return read;
  return retrieveAllChildren(bo) == -1 ? -1 : 1;
}

int GenBOHandler::RetrieveByContent(BusinessObject& bo) {
  Map* map = nullptr;
  if (PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  cpi_ty_fcond* conds = nullptr;
  int count = 0;
  PrivateSetConditions(bo, map, &conds, &count, true);
  if (count < 1 || !conds[0].field || !conds[0].value) {
    delete[] conds;
    if (bo.getParent() && ignoreMissingChild) {
      traceMessage(Tracing::LEVEL1, CONN_MSG_NO_KEY, KzMsgFormat::ORB_WARNING, 1,
                   "RetrieveByContent");
      return 1;
    }
    logMessage(CONN_MSG_NO_KEY, KzMsgFormat::ORB_ERROR, 1, "RetrieveByContent");
    return -1;
  }
  long found = 0;
  void** objects = nullptr;
  cpi_ty_qry_result* result = nullptr;
  if (PrivatePrepareSingleQuery(count, map->getView(0), conds, &found, &objects, &result) != 0) {
    cpi_qry_free_results(result);
    return -1;
  }
  if (found > 0 && map->load_record(objects[0], map->getView(0), "", true) != 0) {
    cpi_qry_free_results(result);
    return -1;
  }
  int r = doSubObjects(bo);
  countMemoryUnit();
  cpi_qry_free_results(result);
  return r == -1 ? -1 : 1;
}
