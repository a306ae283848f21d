// GenBOHandler: Create. For every attribute that carries a relation the step
// looks for a stored object by the attribute's value, creates one where none
// is found, then relates the objects and runs the children's verbs. The
// wrapper commits.
#include <cctype>
#include <cstring>
#include <string>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_steps.h"
#include "connector/conn_util.h"

namespace {

// Size of the buffer a generated number is written into.
constexpr long CONN_NUM_GEN_SIZE = 50;
// Levels of Create's local lookup map.
constexpr long CONN_LOOKUP_LEVELS = 3;

// The lookup of one attribute's stored object (steps 6.6 to 6.9).
struct conn_lookup {
  cpi_ty_trav_map levels[CONN_LOOKUP_LEVELS];
  cpi_ty_fcond cond0{};
  cpi_ty_fcond cond1{};
  std::string rel1;
  int k = -1;  // the other-fields attribute, or -1
};

}  // namespace

void GenBOHandler::PrivateInitMap(BusinessObject& bo, Map* map, long* levels) {
  traceMessage(Tracing::LEVEL5, CONN_MSG_INIT_MAP, KzMsgFormat::ORB_INFO, 1, bo.getName());
  long n = 1;
  for (int i = 1; i < bo.getAttrCount() - 1; ++i)
    if (conn_step_carries(map, i)) ++n;
  freeTravMap();
  travMap = new cpi_ty_trav_map[static_cast<size_t>(n + 1)]();
  cpi_qry_trav_map_init(n + 1, travMap);
  *levels = n;
}

void GenBOHandler::PrivateSetTravMap(cpi_ty_trav_map* level, const char* rel, const char* type,
                                     int kind, char flag, int cond_count, cpi_ty_fcond* conds) {
  level->rel_name = rel;
  level->type_name = type;
  level->kind = kind;
  level->flag = flag;
  level->cond_count = cond_count;
  level->conds = conds;
}

void GenBOHandler::PrivateSetRelations(BusinessObject& bo, Map* map, cpi_ty_trav_map* levels,
                                       int start) {
  const int last = bo.getAttrCount() - 1;
  for (int i = 0; i < start && i < last; ++i) {
    const char* lookup = map->getRelationLookupAttr(i);
    if (map->getFirstRelation(i) || !lookup) continue;
    if (const char* value = conn_step_value(bo.getAttrValue(lookup)))
      map->setFirstRelation(map->getTable(i), value);
  }
  int next = 1;
  for (int i = start; i < last; ++i) {
    if (!conn_step_carries(map, i)) continue;
    cpi_ty_trav_map* level = &levels[next++];
    const char* rel = nullptr;
    if (const char* lookup = map->getRelationLookupAttr(i)) {
      if (const char* value = conn_step_value(bo.getAttrValue(lookup))) {
        std::string text = value;
        size_t pos = 0;
        while (pos < text.size() && text[pos] == ':') ++pos;
        std::string piece = text.substr(pos, text.find(':', pos) - pos);
        if (!piece.empty()) {
          map->setFirstRelation(map->getTable(i), piece.c_str());
          travTexts.push_back(piece);
          rel = travTexts.back().c_str();
        }
      }
    }
    if (!rel && map->getFirstRelation(i)) {
      travTexts.push_back(map->getFirstRelation(i));
      rel = travTexts.back().c_str();
    }
    PrivateSetTravMap(level, rel, map->getTable(i), CONN_KIND_RELATED, 1, 0, nullptr);
    level->parent = map->getParent_ind(i);
  }
}

int GenBOHandler::PrivateGenerateID(BusinessObject& bo, Map* map) {
  if (!idGeneration) return 0;
  int i = 0;
  while (i < bo.getAttrCount() - 1 && !map->getIsGenerateNum(i)) ++i;
  if (i >= bo.getAttrCount() - 1) return 0;
  const char* current = nullptr;
  int index = -1;
  map->get_value(&current, map->getTable(i), map->getField(i), nullptr, &index);
  if (conn_step_value(current)) return 0;
  char number[CONN_NUM_GEN_SIZE] = {};
  long status = cpi_utl_num_gen(map->getSchemeId(i), CONN_NUM_GEN_SIZE, number);
  if (status != 0 || memchr(number, '\0', sizeof number) == nullptr) {
    logMessage(CONN_MSG_NUM_GEN, KzMsgFormat::ORB_ERROR, 1, map->getSchemeId(i));
    return CONN_ID_GEN_FAILED;
  }
  index = -1;
  map->set_field(number, map->getTable(i), map->getField(i), nullptr, &index);
  return 0;
}

int GenBOHandler::PrivateNewObject(BusinessObject& bo, int i, Map* map, cpi_ty_trav_map* level,
                                   const char* /*value*/, int /*flag*/) {
  BOAttrType* desc = bo.getAttrDesc(i);
  if (desc && desc->isForeignKey()) {
    if (!desc->isRequired() && BusinessObject::isIgnoreValue(bo.getAttrValue(i))) return 0;
    logMessage(CONN_MSG_FOREIGN_KEY, KzMsgFormat::ORB_ERROR, 2, bo.getAttrName(i), bo.getName());
    return -1;
  }
  void* object = nullptr;
  long status = cpi_obj_create(state, level->type_name, 0, &object);
  if (status != 0) {
    globals->utility->log_error(status);
    return -1;
  }
  map->setIsInMemory(i, true);
  map->setObj(i, object);
  if (map->write_obj_new(object, map->getTable(i), nullptr) != 0) return -1;
  globals->utility->cpi_obj_dump(object);
  return 0;
}

namespace {

// Step 6.6: the local map of one attribute's lookup; false (22013 logged by
// the caller) when the other-fields text names no attribute or lacks ']'.
bool conn_create_lookup(BusinessObject& bo, Map* map, int i, const char* type, const char* value,
                        conn_lookup& q, long* levels) {
  cpi_qry_trav_map_init(CONN_LOOKUP_LEVELS, q.levels);
  q.cond0 = cpi_ty_fcond{CPI_OP_EQUAL, map->getField(i), value};
  q.levels[0].type_name = type;
  q.levels[0].kind = CPI_KIND_TYPE;
  q.levels[0].flag = 1;
  q.levels[0].cond_count = 1;
  q.levels[0].conds = &q.cond0;
  *levels = 1;
  const char* others = map->getOtherFields(i);
  if (!others) return true;
  std::string text = others;
  size_t comma = text.find(',');
  std::string first = text.substr(0, comma);
  std::string name = first.empty() ? first : first.substr(1);
  if (comma == std::string::npos) {
    if (!name.empty() && name.back() == ']') name.pop_back();
    q.rel1 = name;
  } else {
    std::string second = text.substr(comma + 1);
    size_t close = second.find(']');
    if (close == std::string::npos) return false;
    q.rel1 = second.substr(0, close);
  }
  BusObjSpec* spec = bo.getSpecFor();
  q.k = spec ? spec->getAttributeIndex(name.c_str()) : -1;
  if (q.k < 0) return false;
  const char* value_k = nullptr;
  int index = -1;
  map->get_value(&value_k, map->getTable(q.k), map->getField(q.k), nullptr, &index);
  if (conn_step_value(value_k)) {
    q.cond1 = cpi_ty_fcond{CPI_OP_EQUAL, map->getField(q.k), value_k};
    q.levels[1].cond_count = 1;
    q.levels[1].conds = &q.cond1;
  }
  q.levels[1].rel_name = q.rel1.c_str();
  q.levels[1].type_name = map->getTable(q.k);
  q.levels[1].parent = 0;
  q.levels[1].kind = CONN_KIND_RELATED;
  q.levels[1].flag = 1;
  *levels = 2;
  return true;
}

}  // namespace

int GenBOHandler::Create(BusinessObject& bo) {
  Map* map = nullptr;
  if (PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  long levels = 0;
  PrivateInitMap(bo, map, &levels);
  const char* value0 = conn_step_value(bo.getAttrValue(0));
  cpi_ty_fcond cond0{CPI_OP_EQUAL, map->getField(0), value0 ? value0 : ""};
  PrivateSetTravMap(&travMap[0], nullptr, map->getTable(0), CPI_KIND_TYPE, 1, 1, &cond0);
  PrivateSetRelations(bo, map, travMap, 1);
  cpi_ty_qry_result* result = nullptr;
  auto fail = [&](long status) {
    cpi_qry_free_results(result);
    globals->utility->log_error(status);
    return -1;
  };
  if (PrivateGenerateID(bo, map) != 0) return fail(0);
  int cursor = 0;
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    map->setIsInMemory(i, false);
    if (i > 0 && !conn_step_carries(map, i)) continue;
    if (map->getIsEvaluated(i)) {
      ++cursor;
      continue;
    }
    const char* type = travMap[cursor].type_name;
    const char* raw = nullptr;
    int index = -1;
    map->get_value(&raw, type, map->getField(i), nullptr, &index);
    const char* value = conn_step_value(raw);
    long found = value ? 1 : 0;
    if (value && strcmp(map->getField(i), "objid") == 0 && !isdigit(static_cast<unsigned char>(*value)) &&
        *value != '-') {
      bo.setAttrValue(index, nullptr, bo.getAttrType(index));
      value = nullptr;
      found = 0;
    }
    if (found) {
      conn_lookup q;
      long qlevels = 0;
      if (!conn_create_lookup(bo, map, i, type, value, q, &qlevels)) {
        logMessage(CONN_MSG_OTHER_FIELDS, KzMsgFormat::ORB_ERROR, 0);
        return fail(0);
      }
      cpi_qry_free_results(result);
      result = nullptr;
      long status = cpi_qry_traverse_map(globals->connectionId, state, nullptr, qlevels, q.levels,
                                         0, &result);
      if (status != 0) {
        cpi_alert_print(nullptr, 0);
        logMessage(CONN_MSG_FIND_QUERY, KzMsgFormat::ORB_ERROR, 3, type, map->getField(i), value);
        return fail(status);
      }
      long count = 0;
      void** objects = nullptr;
      if ((status = cpi_qry_get_result(result, 0, 0, &count, &objects)) != 0) {
        logMessage(CONN_MSG_FIND_RESULT, KzMsgFormat::ORB_ERROR, 3, type, map->getField(i), value);
        return fail(status);
      }
      found = count;
      if (count > 0) {
        map->load_referenced_object(objects[0], type);
        cpi_ty_objid id{};
        if ((status = cpi_obj_id(objects[0], &id, nullptr, nullptr, nullptr)) != 0) {
          logMessage(CONN_MSG_FIND_ID, KzMsgFormat::ORB_ERROR, 2, map->getTable(i), value);
          return fail(status);
        }
        map->setIsInMemory(i, false);
        map->setObjid(i, id);
        globals->utility->cpi_obj_dump(objects[0]);
      }
      if (q.k >= 0) {
        if ((status = cpi_qry_get_result(result, 1, 0, &count, &objects)) != 0) {
          logMessage(CONN_MSG_FIND_RESULT, KzMsgFormat::ORB_ERROR, 3, type, map->getField(i),
                     value);
          return fail(status);
        }
        found = count;
        if (count > 0) {
          map->load_referenced_object(objects[0], map->getTable(q.k));
          cpi_ty_objid id{};
          if ((status = cpi_obj_id(objects[0], &id, nullptr, nullptr, nullptr)) != 0) {
            logMessage(CONN_MSG_FIND_ID, KzMsgFormat::ORB_ERROR, 2, map->getTable(q.k), value);
            return fail(status);
          }
          map->setObjid(q.k, id);
          map->setIsInMemory(q.k, false);
          map->setIsEvaluated(q.k, true);
        }
      }
    }
    if (!bo.getParent() && found >= 1 && i == 0)
      traceMessage(Tracing::LEVEL5, CONN_MSG_FOUND, KzMsgFormat::ORB_INFO, 1, bo.getName());
    if (found == 0 && PrivateNewObject(bo, i, map, &travMap[cursor], value, 1) != 0) return fail(0);
    countMemoryUnit();
    ++cursor;
    map->setIsEvaluated(i, true);
  }
  bool refused = false;
  for (int i = 0; i < bo.getAttrCount() - 1; ++i)
    if (PrivateRelateObjects(bo, map, i) == CONN_RELATE_REFUSED) refused = true;
  if (refused) return fail(0);
  globals->utility->cpi_state_dump(state);
  cpi_qry_free_results(result);
  return doSubObjects(bo);
}
