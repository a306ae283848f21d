// Field reads and writes of the rule builder's records: a long, or a text
// ("" when the field is empty or cannot be read); and the objects of a
// collection of local objects.
#pragma once

#include <string>

#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"

inline long com_rbld_long_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  dbs_fld_get(o, field, &v, nullptr);
  return v;
}
inline std::string com_rbld_text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0 || v == 0) return "";
  return reinterpret_cast<const char*>(v);
}
inline long com_rbld_set_long(dbs_ty_lobj* o, long field, long value) { return dbs_fld_set(o, field, &value); }
inline long com_rbld_set_text(dbs_ty_lobj* o, long field, const std::string& value) {
  const char* text = value.c_str();
  return dbs_fld_set(o, field, &text);
}
// Object i of a collection of local objects (held by pointer in the slots).
inline dbs_ty_lobj*& com_rbld_obj_at(utl_ty_col* col, long i) { return reinterpret_cast<dbs_ty_lobj**>(col->array)[i]; }
