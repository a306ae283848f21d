// Field reads of the rule builder's records: a long, or a text ("" when the
// field is empty or cannot be read).
#pragma once

#include <string>

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
