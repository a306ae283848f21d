// Map: parsing the attributes' application texts, and the accessors.
#include "connector/conn_map.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_util.h"

namespace {

// Copies src into a fixed name field; false (field left empty) when it does
// not fit.
bool conn_copy_name(char (&dst)[CONN_MAP_NAME_SIZE], std::string_view src) {
  dst[0] = '\0';
  if (src.size() >= CONN_MAP_NAME_SIZE) return false;
  memcpy(dst, src.data(), src.size());
  dst[src.size()] = '\0';
  return true;
}

std::optional<std::string> conn_text_or_null(std::string_view s) {
  if (s.empty()) return std::nullopt;
  return std::string(s);
}

// Splits at the first `sep`: before, and after (absent without `sep`).
std::pair<std::string_view, std::optional<std::string_view>> conn_cut(std::string_view s,
                                                                      char sep) {
  size_t p = s.find(sep);
  if (p == std::string_view::npos) return {s, std::nullopt};
  return {s.substr(0, p), s.substr(p + 1)};
}

BOHandlerCPP* conn_map_handler() {
  OrbisanGlobals* globals = OrbisanGlobals::current();
  return globals ? globals->getBOHandlerforBO(nullptr) : nullptr;
}

}  // namespace

Map::Map(BusinessObject* bo) : bo_(bo), utility_(nullptr) {
  if (OrbisanGlobals* globals = OrbisanGlobals::current()) utility_ = globals->utility;
  int n = bo_->getAttrCount();
  records_.assign(static_cast<size_t>(n), nullptr);
  for (int i = 0; i < n; ++i) {
    records_[static_cast<size_t>(i)] = new conn_ty_map_attr();
    parse(i);
  }
  bo_->setContext(this);
}

void Map::setBusinessObject(BusinessObject* bo) {
  bo_ = bo;
  bo_->setContext(this);
}

Map::~Map() {
  for (conn_ty_map_attr* r : records_) delete r;
}

void Map::report(int number, const char* attr_name) {
  OrbisanGlobals* globals = OrbisanGlobals::current();
  BOHandlerCPP* handler = conn_map_handler();
  if (!globals || !handler) return;
  if (number == CONN_MSG_NO_APP_TEXT) {
    char* text = globals->generateTraceMsg(number, KzMsgFormat::ORB_WARNING, nullptr, 2,
                                           attr_name, bo_->getName());
    if (*text) handler->traceWrite(Tracing::LEVEL2, text, nullptr);
  } else {
    char* text = globals->generateTraceMsg(number, KzMsgFormat::ORB_ERROR, nullptr, 2,
                                           bo_->getName(), attr_name);
    if (*text) handler->logMsg(text, KzMsgFormat::ORB_UNKNOWN);
  }
}

void Map::reportTooLong(const char* attr_name) {
  if (BOHandlerCPP* handler = conn_map_handler()) {
    std::string text = std::string("Application text of attribute ") + attr_name + " of " +
                       bo_->getName() + " exceeds its limits; the attribute is not mapped.";
    handler->logMsg(text.c_str(), KzMsgFormat::ORB_ERROR);
  }
}

void Map::parse(int i) {
  conn_ty_map_attr& r = *records_[static_cast<size_t>(i)];
  BOAttrType* desc = bo_->getAttrDesc(i);
  const char* name = bo_->getAttrName(i);
  std::string_view text = desc && !desc->isObjectType() ? desc->getAppText() : "";
  if (text.empty()) {
    if (strcmp(name, "ObjectEventId") != 0) report(CONN_MSG_NO_APP_TEXT, name);
    return;
  }
  if (text.size() > CONN_MAP_TEXT_MAX) {
    reportTooLong(name);
    return;
  }
  std::string_view rest = text;
  if (size_t bar = text.find('|'); bar != std::string_view::npos) {
    std::string_view pairs = text.substr(0, bar);
    rest = text.substr(bar + 1);
    while (true) {
      auto [pair, more] = conn_cut(pairs, ';');
      auto [key, value] = conn_cut(pair, '=');
      if (value) {
        bool fits = true;
        if (key == "SchemeName") {
          fits = conn_copy_name(r.scheme_name, *value);
          r.generate_number = fits;
        } else if (key == "RBC") {
          auto [view, view_field] = conn_cut(*value, ':');
          if (view_field) {
            fits = conn_copy_name(r.view, view) && conn_copy_name(r.view_field, *view_field);
            if (!fits) r.view[0] = '\0';
          }
        } else if (key == "DT") {
          r.data_type = atoi(std::string(*value).c_str());
        } else if (key == "PP") {
          r.pre_processing = std::string(*value);
        }
        if (!fits) {
          reportTooLong(name);
          return;
        }
      }
      if (!more) break;
      pairs = *more;
    }
  }
  std::string_view seg[8];
  bool present[8] = {};
  for (int k = 0; k < 8; ++k) {
    auto [part, more] = conn_cut(rest, ':');
    seg[k] = part;
    present[k] = true;
    if (!more) break;
    rest = *more;
  }
  if (seg[0].empty()) {
    report(CONN_MSG_EMPTY_TABLE, name);
    return;
  }
  if (!conn_copy_name(r.table, seg[0])) {
    reportTooLong(name);
    return;
  }
  if (present[1]) {
    auto [field, others] = conn_cut(seg[1], ',');
    if (field.empty()) {
      report(CONN_MSG_EMPTY_FIELD, name);
      return;
    }
    if (!conn_copy_name(r.field, field)) {
      reportTooLong(name);
      return;
    }
    if (others) r.other_fields = conn_text_or_null(*others);
  }
  if (!seg[2].empty()) {
    if (seg[2].front() == '[') {
      std::string_view inner = seg[2].substr(1);
      if (!inner.empty() && inner.back() == ']') inner.remove_suffix(1);
      r.relation_lookup_attr = conn_text_or_null(inner);
    } else {
      auto [first, others] = conn_cut(seg[2], ',');
      r.first_relation = conn_text_or_null(first);
      if (others) r.other_relations = conn_text_or_null(*others);
    }
  }
  if (!seg[3].empty()) r.type_code = atoi(std::string(seg[3]).c_str());
  if (!seg[4].empty()) r.parent_ind = atoi(std::string(seg[4]).c_str());
  r.rel_to_obj_attr = conn_text_or_null(seg[5]);
  r.val_from_attr = conn_text_or_null(seg[6]);
  r.val_from_field = conn_text_or_null(seg[7]);
}

conn_ty_map_attr* Map::rec(int i) const {
  if (i < 0 || static_cast<size_t>(i) >= records_.size()) return nullptr;
  return records_[static_cast<size_t>(i)];
}

const conn_ty_map_attr* Map::record(int i) const { return rec(i); }

namespace {
const char* conn_opt(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }
}  // namespace

const char* Map::getTable(int i) const { return rec(i) ? rec(i)->table : nullptr; }
const char* Map::getField(int i) const { return rec(i) ? rec(i)->field : nullptr; }
const char* Map::getOtherFields(int i) const {
  return rec(i) ? conn_opt(rec(i)->other_fields) : nullptr;
}
const char* Map::getFirstRelation(int i) const {
  return rec(i) ? conn_opt(rec(i)->first_relation) : nullptr;
}
const char* Map::getOtherRelation(int i) const {
  return rec(i) ? conn_opt(rec(i)->other_relations) : nullptr;
}
const char* Map::getRelationLookupAttr(int i) const {
  return rec(i) ? conn_opt(rec(i)->relation_lookup_attr) : nullptr;
}
const char* Map::getSchemeId(int i) const { return rec(i) ? rec(i)->scheme_name : nullptr; }
int Map::getTypeCode(int i) const { return rec(i) ? rec(i)->type_code : 0; }
int Map::getDataType(int i) const { return rec(i) ? rec(i)->data_type : 0; }
int Map::getParent_ind(int i) const { return rec(i) ? rec(i)->parent_ind : 0; }
const char* Map::getRel_to_obj_attr(int i) const {
  return rec(i) ? conn_opt(rec(i)->rel_to_obj_attr) : nullptr;
}
const char* Map::getVal_from_attr(int i) const {
  return rec(i) ? conn_opt(rec(i)->val_from_attr) : nullptr;
}
const char* Map::getVal_from_field(int i) const {
  return rec(i) ? conn_opt(rec(i)->val_from_field) : nullptr;
}
const char* Map::getView(int i) const { return rec(i) ? rec(i)->view : nullptr; }
const char* Map::getViewField(int i) const { return rec(i) ? rec(i)->view_field : nullptr; }
const char* Map::getRetrieveFrom(int i) const {
  return rec(i) ? conn_opt(rec(i)->pre_processing) : nullptr;
}
bool Map::getIsObject(int i) const { return rec(i) && rec(i)->is_object; }
void Map::setIsObject(int i, bool value) {
  if (rec(i)) rec(i)->is_object = value;
}
bool Map::getIsInMemory(int i) const { return rec(i) && rec(i)->in_memory; }
void Map::setIsInMemory(int i, bool value) {
  if (rec(i)) rec(i)->in_memory = value;
}
bool Map::getIsEvaluated(int i) const { return rec(i) && rec(i)->evaluated; }
void Map::setIsEvaluated(int i, bool value) {
  if (rec(i)) rec(i)->evaluated = value;
}
bool Map::getIsGenerateNum(int i) const { return rec(i) && rec(i)->generate_number; }
void Map::setIsGenerateNum(int i, bool value) {
  if (rec(i)) rec(i)->generate_number = value;
}
const cpi_ty_objid* Map::getObjid(int i) const { return rec(i) ? &rec(i)->objid : nullptr; }
void Map::setObjid(int i, const cpi_ty_objid& objid) {
  if (!rec(i)) return;
  rec(i)->objid = objid;
  rec(i)->is_object = true;
}
void* Map::getObj(int i) const { return rec(i) ? rec(i)->object : nullptr; }
void Map::setObj(int i, void* object) {
  if (!rec(i)) return;
  rec(i)->object = object;
  if (object) rec(i)->is_object = true;
}

const char* Map::getFirstRelation(const char* table) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (table && strcmp(records_[i]->table, table) == 0) return getFirstRelation(static_cast<int>(i));
  return nullptr;
}

const char* Map::getOtherRelation(const char* table) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (table && strcmp(records_[i]->table, table) == 0) return getOtherRelation(static_cast<int>(i));
  return nullptr;
}

bool Map::setFirstRelation(const char* table, const char* relation) {
  for (conn_ty_map_attr* r : records_) {
    if (table && strcmp(r->table, table) == 0) {
      r->first_relation = relation ? std::optional<std::string>(relation) : std::nullopt;
      return true;
    }
  }
  return false;
}

int Map::getIndex(const char* name, BusinessObject* bo) {
  if (!name || !bo) return -1;
  for (int i = 0; i < bo->getAttrCount(); ++i)
    if (strcmp(bo->getAttrName(i), name) == 0) return i;
  return -1;
}
