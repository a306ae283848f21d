// Map: moving values between CRM object fields and attribute values.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_map.h"
#include "connector/conn_msg.h"
#include "connector/conn_util.h"
#include "core/cmn/cmn_dec.h"

namespace {

constexpr const char* CONN_UNKNOWN_DATE = "?/?/? ?:?:?";
constexpr const char* CONN_OPEN_DATE = "*/*/* *:*:*";

// Logs a message built by the globals through the handler, as ORB_UNKNOWN.
template <class... Texts>
void conn_map_log(int number, Texts... texts) {
  OrbisanGlobals* globals = OrbisanGlobals::current();
  if (!globals) return;
  char* text = globals->generateTraceMsg(number, KzMsgFormat::ORB_ERROR, nullptr,
                                         static_cast<int>(sizeof...(texts)), texts...);
  if (*text) globals->getBOHandlerforBO(nullptr)->logMsg(text, KzMsgFormat::ORB_UNKNOWN);
}

std::string conn_status_text(long status) {
  char buf[32];
  snprintf(buf, sizeof buf, "%ld", status);
  return buf;
}

// gcvt with the given significant digits; "12." becomes "12.0".
std::string conn_gcvt(double value, int digits) {
  if (digits < 1) digits = 1;
  if (digits > 400) digits = 400;
  std::vector<char> buf(static_cast<size_t>(digits) + 32, '\0');
  std::string text = gcvt(value, digits, buf.data());
  if (!text.empty() && text.back() == '.') text += "0";
  return text;
}

// A decimal field takes a decimal record, whatever the attribute's type
// code: its text is the attribute's text, in the user's number form, with
// its digit count and the digits after its last '.' or ','.
constexpr long CONN_FT_DECIMAL = 766;
constexpr size_t CONN_DECIMAL_TEXT_MAX = 43;
// The status of a decimal text too long for the record (the runtime's own
// code for it).
constexpr long CONN_DECIMAL_TOO_LONG = 0x100065;

long conn_field_type(void* object, const char* field) {
  union {
    long l;
    double d;
    const void* p;
  } slot{};
  long type = 0;
  if (cpi_obj_get_field(object, field, 0, &slot, &type) != 0) {
    // The set that follows reports the field itself.
    cpi_alert_clear();
    return 0;
  }
  return type;
}

bool conn_decimal_of(const char* text, cmn_ty_decimal* out) {
  if (strlen(text) > CONN_DECIMAL_TEXT_MAX) return false;
  *out = cmn_ty_decimal{};
  strcpy(out->text, text);
  const char* point = strrchr(text, '.');
  if (const char* comma = strrchr(text, ','); comma && (!point || comma > point)) point = comma;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') continue;
    ++out->precision;
    if (point && c > point) ++out->scale;
  }
  return true;
}

// The value handed to cpi_obj_set_field for an attribute's text, by the
// field's type and the attribute's type code.
struct conn_field_value {
  long as_long = 0;
  float as_float = 0;
  double as_double = 0;
  std::string long_text;
  cmn_ty_decimal decimal{};
  const void* value = nullptr;
};

// False when the field is a decimal and the text too long for it.
bool conn_value_for(void* object, const conn_ty_map_attr* r, const char* text, conn_field_value* v) {
  v->value = text;
  if (conn_field_type(object, r->field) == CONN_FT_DECIMAL) {
    v->value = &v->decimal;
    return conn_decimal_of(text, &v->decimal);
  }
  switch (r->type_code) {
    case CONN_TC_LONG: v->as_long = atoi(text); v->value = &v->as_long; break;
    case CONN_TC_FLOAT: v->as_float = static_cast<float>(atof(text)); v->value = &v->as_float; break;
    case CONN_TC_DOUBLE: v->as_double = atof(text); v->value = &v->as_double; break;
    case CONN_TC_LONGTEXT: v->long_text = text; v->value = v->long_text.c_str(); break;
    default: break;
  }
  return true;
}

}  // namespace

long Map::get_value(const char** value, const char* table, const char* field,
                    const char* /*ignored*/, int* index) {
  int n = bo_->getAttrCount();
  int i = index ? *index : -1;
  if (i < 0 || i >= n) {
    i = -1;
    for (int k = 0; k < n; ++k) {
      const conn_ty_map_attr* r = rec(k);
      if (table && field && strcmp(r->table, table) == 0 && strcmp(r->field, field) == 0) {
        i = k;
        break;
      }
    }
    if (i >= 0 && index) *index = i;
  }
  if (i >= 0 && value) *value = static_cast<const char*>(bo_->getAttrValue(i));
  return 0;
}

long Map::set_field(const char* value, const char* table, const char* field,
                    const char* ignored, int* index) {
  int i = index ? *index : -1;
  if (i < 0 || i >= bo_->getAttrCount()) {
    const char* unused = nullptr;
    int found = -1;
    get_value(&unused, table, field, ignored, &found);
    if (found >= 0 && index) *index = found;
    i = found;
  }
  if (i >= 0 && value) bo_->setAttrValue(i, const_cast<char*>(value), bo_->getAttrType(i));
  return 0;
}

long Map::write_obj_new(void* object, const char* table, const char* /*ignored*/) {
  for (int i = 0; i < bo_->getAttrCount(); ++i) {
    const conn_ty_map_attr* r = rec(i);
    if (!table || strcmp(r->table, table) != 0 || !r->field[0] || strcmp(r->field, "objid") == 0)
      continue;
    void* raw = bo_->getAttrValue(i);
    if (!raw || BusinessObject::isIgnoreValue(raw)) continue;
    const char* text = static_cast<const char*>(raw);
    conn_field_value v;
    if (!conn_value_for(object, r, text, &v)) {
      conn_map_log(CONN_MSG_SET_FIELD, r->field, conn_status_text(CONN_DECIMAL_TOO_LONG).c_str());
      return CONN_DECIMAL_TOO_LONG;
    }
    long status = cpi_obj_set_field(object, r->field, v.value, 0);
    if (status != 0) {
      cpi_alert_print(nullptr, 0);
      cpi_alert_clear();
      conn_map_log(CONN_MSG_SET_FIELD, r->field, conn_status_text(status).c_str());
      return status;
    }
  }
  return 0;
}

long Map::load_field(void* object, const char* field, int type_code, std::string& value) {
  value.clear();
  if (!field || !*field) return 0;
  OrbisanGlobals* globals = OrbisanGlobals::current();
  long status = 0;
  // The field is written as its own type, whatever the map's code says: the
  // slot holds the largest value, and is read as the code's type after.
  union {
    long l;
    float f;
    double d;
    const char* s;
  } slot{};
  status = cpi_obj_get_field(object, field, 0, &slot, nullptr);
  if (status == 0) {
    if (type_code == CONN_TC_LONG) value = conn_status_text(slot.l);
    else if (type_code == CONN_TC_FLOAT) value = conn_gcvt(slot.f, globals ? globals->floatPrecision : 6);
    else if (type_code == CONN_TC_DOUBLE) value = conn_gcvt(slot.d, globals ? globals->doublePrecision : 15);
    else if (slot.s) value = slot.s;
  }
  if (status != 0) {
    cpi_alert_print(nullptr, 0);
    cpi_alert_clear();
  }
  return status;
}

bool Map::setLoaded(int i, const std::string& text) {
  const char* v = text.c_str();
  if (text == CONN_UNKNOWN_DATE) v = CONN_NULL_DATE;
  if (text == CONN_OPEN_DATE) v = CONN_MAX_DATE;
  return bo_->setAttrValue(i, const_cast<char*>(v), bo_->getAttrType(i));
}

long Map::load_record(void* object, const char* name, const char* /*ignored*/, bool view) {
  std::string value;
  for (int i = 0; i < bo_->getAttrCount(); ++i) {
    const conn_ty_map_attr* r = rec(i);
    const char* key = view ? r->view : r->table;
    if (!name || !key[0] || strcmp(key, name) != 0) continue;
    const char* field = view ? r->view_field : r->field;
    long status = load_field(object, field, r->type_code, value);
    if (status != 0) {
      if (utility_) utility_->log_error(status);
      conn_map_log(CONN_MSG_LOAD_FIELD, name, field, conn_status_text(status).c_str());
      return status;
    }
    setLoaded(i, value);
  }
  return 0;
}

long Map::load_data(long con_id, long state, cpi_ty_trav_map* map, long levels) {
  cpi_ty_qry_result* result = nullptr;
  long status = cpi_qry_traverse_map(con_id, state, nullptr, levels, map, 0, &result);
  if (status != 0) {
    cpi_alert_print(nullptr, 0);
    if (utility_) utility_->log_error(status);
    return -1;
  }
  if (!result) return -1;
  long outcome = 0;
  for (long i = 0; i < levels && outcome == 0; ++i) {
    long count = 0;
    void** objects = nullptr;
    status = cpi_qry_get_result(result, i, 0, &count, &objects);
    if (status != 0) {
      if (utility_) utility_->log_error(status);
      outcome = -1;
    } else if (count < 1) {
      if (i == 0) outcome = CONN_NOT_FOUND;
    } else {
      const char* type = map[i].type_name ? map[i].type_name : "";
      status = load_record(objects[0], type, map[i].rel_name ? map[i].rel_name : "", false);
      if (status != 0) {
        if (utility_) utility_->log_error(status);
        outcome = status;
      }
    }
  }
  cpi_qry_free_results(result);
  return outcome;
}

long Map::load_referenced_object(void* object, const char* table) {
  std::string value;
  for (int i = 0; i < bo_->getAttrCount(); ++i) {
    const conn_ty_map_attr* r = rec(i);
    BOAttrType* desc = bo_->getAttrDesc(i);
    const char* field = nullptr;
    if (desc && desc->isKey() && BusinessObject::isIgnoreValue(bo_->getAttrValue(i)) && table &&
        strcmp(r->table, table) == 0) {
      field = r->field;
    } else if (r->val_from_attr && r->val_from_field) {
      int j = bo_->getSpecFor() ? bo_->getSpecFor()->getAttributeIndex(r->val_from_attr->c_str())
                                : -1;
      if (j < 0) {
        conn_map_log(CONN_MSG_NO_VAL_ATTR);
        continue;
      }
      if (table && strcmp(rec(j)->table, table) == 0) field = r->val_from_field->c_str();
    }
    if (!field) continue;
    long status = load_field(object, field, r->type_code, value);
    if (status != 0) {
      if (utility_) utility_->log_error(status);
      conn_map_log(CONN_MSG_LOAD_FIELD, table, field, conn_status_text(status).c_str());
      return status;
    }
    setLoaded(i, value);
  }
  return 0;
}
