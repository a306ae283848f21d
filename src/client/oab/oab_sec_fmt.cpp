// Compiling restriction values and operators and combining formats.
#include <string>

#include "client/oab/oab_qry.h"
#include "client/oab/oab_sec.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"

namespace {

// The text of one value object's field; false when its type adds nothing.
long value_text(dbs_ty_lobj* o, long field_id, std::string* out, bool* has) {
  long value = 0;
  long type = 0;
  *has = false;
  if (long st = dbs_fld_get(o, field_id, &value, &type)) return st;
  if (type == CMN_TYP_LONG) {
    *out = std::to_string(value);
    *has = true;
  } else if (type == CMN_TYP_CHAR_P) {
    *out = value != 0 ? reinterpret_cast<const char*>(value) : "";
    *has = true;
  }
  return 0;
}

}  // namespace

long oab_qry_bld_one_secure_value(utl_ty_col* objects, long field_id, const char* prefix, const char* suffix,
                                  std::string* out) {
  const std::string pre = prefix != nullptr ? prefix : "";
  const std::string suf = suffix != nullptr ? suffix : "";
  long n = objects != nullptr ? objects->count : 0;
  out->clear();
  std::string list;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(objects, i, &e)) return st;
    std::string v;
    bool has = false;
    if (long st = value_text(*static_cast<dbs_ty_lobj**>(e), field_id, &v, &has)) return st;
    if (n == 1) {
      *out = pre + (has ? v : "") + suf;
      return 0;
    }
    if (i > 0) list += ',';
    oab_qry_token_append(&list, pre + (has ? v : "") + suf);
  }
  *out = n == 0 ? pre + suf : "(" + list + ")";
  return 0;
}

long oab_qry_secure_operator(long op, long num_values) {
  if (num_values <= 1) return op;
  switch (op) {
    case OAB_PQ_NE:
    case OAB_PQ_NOT_STARTS:
    case OAB_PQ_NOT_ENDS:
    case OAB_PQ_NOT_CONTAINS:
    case OAB_PQ_NOT_IN:
      return OAB_PQ_NOT_IN;
    default:
      return OAB_PQ_IN;
  }
}

std::string oab_qry_secure_format(long own_count, const char* own_format, char join_and, long n,
                                  const std::string& texts) {
  // Text restrictions narrow the query even without restriction conditions.
  bool restricted = n > 0 || !texts.empty();
  if (own_count == 0) return restricted ? " (" + texts + ")" : std::string();
  std::string f = "( ";
  if (own_format != nullptr) {
    f += own_format;
  } else {
    for (long i = 0; i < own_count; ++i) f += (i > 0 ? (join_and == 1 ? " AND " : " OR ") : "") + std::string("%s");
  }
  f += " )";
  if (restricted) f += " AND (" + texts + ")";
  return f;
}
