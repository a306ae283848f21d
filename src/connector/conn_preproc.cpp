// GenBOHandler: pre-processing lookups. An attribute whose application text
// carries "PP=type:result field:attr1:field1[:attr2:field2[:attr3:field3]]"
// receives result field of the first CRM object of that type whose fields
// equal the named attributes' values.
#include <cstdio>
#include <string>
#include <vector>

#include "client/cpi_qry.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_handler.h"
#include "connector/conn_map.h"
#include "connector/conn_msg.h"

namespace {

// The parts of a pre-processing text, at most eight; a ninth and later are
// ignored. Empty parts count as absent.
std::vector<std::string> conn_pp_parts(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() < 8) {
    size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon == std::string::npos ? colon : colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return parts;
}

bool conn_pp_has(const std::vector<std::string>& parts, size_t k) {
  return parts.size() > k && !parts[k].empty();
}

// The value of the attribute named `name`; null when it has none.
const char* conn_pp_value(BusinessObject& bo, const char* name) {
  BOAttrType* desc = bo.getAttrDesc(name);
  if (!desc || desc->isObjectType()) return nullptr;
  void* value = bo.getAttrValue(name);
  if (!value || BusinessObject::isIgnoreValue(value)) return nullptr;
  return static_cast<const char*>(value);
}

}  // namespace

int GenBOHandler::PrivatePreProcessBusObj(BusinessObject& bo, Map** out_map) {
  // A map left from an earlier step on this object (an Update turned into
  // a Create) is replaced.
  delete static_cast<Map*>(bo.getContext());
  bo.setContext(nullptr);
  Map* map = new Map(&bo);
  if (out_map) *out_map = map;
  const int info = KzMsgFormat::ORB_INFO;
  const int warning = KzMsgFormat::ORB_WARNING;
  const int L5 = Tracing::LEVEL5;
  for (int i = 0; i < bo.getAttrCount(); ++i) {
    const char* pp = map->getRetrieveFrom(i);
    if (!pp) continue;
    const char* attr = bo.getAttrName(i);
    traceMessage(L5, CONN_MSG_LOOKUP, info, 3, "Starting", attr, bo.getName());
    std::vector<std::string> parts = conn_pp_parts(pp);
    if (!conn_pp_has(parts, 0) || !conn_pp_has(parts, 1) || !conn_pp_has(parts, 2) ||
        !conn_pp_has(parts, 3)) {
      traceMessage(L5, CONN_MSG_NO_APP_TEXT, warning, 2, attr, bo.getName());
      continue;
    }
    // Conditions: (attribute part, field part) pairs that are complete.
    std::vector<std::pair<size_t, size_t>> pairs = {{2, 3}};
    if (conn_pp_has(parts, 4) && conn_pp_has(parts, 5)) pairs.push_back({4, 5});
    if (conn_pp_has(parts, 6) && conn_pp_has(parts, 7)) pairs.push_back({6, 7});
    std::vector<const char*> values;
    for (auto [a, f] : pairs) {
      const char* value = conn_pp_value(bo, parts[a].c_str());
      if (!value) {
        traceMessage(L5, CONN_MSG_NO_COND_VALUE, warning, 2, parts[a].c_str(), bo.getName());
        break;
      }
      values.push_back(value);
    }
    if (values.size() != pairs.size()) continue;
    const std::string& type = parts[0];
    const std::string& result_field = parts[1];
    traceMessage(L5, CONN_MSG_LOOKUP_FIELD, info, 2, result_field.c_str(), type.c_str());
    int n = static_cast<int>(pairs.size());
    char count_text[16];
    snprintf(count_text, sizeof count_text, "%d", n);
    auto* conds = new cpi_ty_fcond[static_cast<size_t>(n)];
    static const char* const numbers[3] = {"1", "2", "3"};
    for (int k = 0; k < n; ++k) {
      const std::string& field = parts[pairs[static_cast<size_t>(k)].second];
      const std::string& cond_attr = parts[pairs[static_cast<size_t>(k)].first];
      conds[k] = cpi_ty_fcond{CPI_OP_EQUAL, field.c_str(), values[static_cast<size_t>(k)]};
      traceMessage(L5, CONN_MSG_LOOKUP_COND, info, 5, numbers[k], count_text, field.c_str(),
                   cond_attr.c_str(), values[static_cast<size_t>(k)]);
    }
    long found = 0;
    void** objects = nullptr;
    cpi_ty_qry_result* result = nullptr;
    // The traversal map owns the conditions from here on.
    int status = PrivatePrepareSingleQuery(n, type.c_str(), conds, &found, &objects, &result);
    if (status == 0 && found > 0) {
      int type_code = map->getDataType(i) != -1 ? map->getDataType(i) : map->getTypeCode(i);
      std::string value;
      if (map->load_field(objects[0], result_field.c_str(), type_code, value) != 0) {
        status = -1;
      } else {
        bo.setAttrValue(i, value.data(), bo.getAttrType(i));
        traceMessage(L5, CONN_MSG_LOOKUP_VALUE, info, 1, value.c_str());
      }
    }
    cpi_qry_free_results(result);
    if (status != 0) return -1;
    traceMessage(L5, CONN_MSG_LOOKUP, info, 3, "Finished", attr, bo.getName());
  }
  return 0;
}

int GenBOHandler::PrivatePrepareSingleQuery(int count, const char* type, cpi_ty_fcond* conds,
                                            long* num_objs, void*** objects,
                                            cpi_ty_qry_result** result) {
  freeTravMap();
  travMap = new cpi_ty_trav_map[1]();
  cpi_qry_trav_map_init(1, travMap);
  travMap[0].type_name = type;
  travMap[0].kind = CPI_KIND_TYPE;
  travMap[0].flag = 1;
  travMap[0].cond_count = count;
  travMap[0].conds = conds;
  travMapOwnsConds = true;
  if (cpi_qry_traverse_map(globals->connectionId, state, nullptr, 1, travMap, 0, result) != 0) {
    cpi_alert_print(nullptr, 0);
    return -1;
  }
  if (cpi_qry_get_result(*result, 0, 0, num_objs, objects) != 0) {
    cpi_alert_print(nullptr, 0);
    return -1;
  }
  return 0;
}
