// Operator and wildcard transforms between simple queries (the store's
// condition codes) and power queries (the query operators). An operator
// that a table does not list is refused, never turned into "equals".
#include <string>

#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "core/loc/loc_st.h"

namespace {

constexpr long kToPower = 1;
constexpr long kToSimple = 0;
constexpr char kWild = '%';

enum wild { none = 0, trailing = 1, leading = 2, both = 3 };

long refuse(const char* proc, long op, long form) { return oab_alrt(proc, OAB_QRY_BAD_OPERATOR, op, form, 0L); }

// Simple operator with its wildcards to the power operator; -1 when none.
long to_power(long op, int w) {
  if (op >= OAB_SQ_GT && op <= OAB_SQ_NE) return op;
  if (op == OAB_SQ_SOUNDS) return OAB_PQ_SOUNDS;
  static const long like[] = {OAB_PQ_EQ, OAB_PQ_STARTS, OAB_PQ_ENDS, OAB_PQ_CONTAINS};
  static const long not_like[] = {OAB_PQ_NE, OAB_PQ_NOT_STARTS, OAB_PQ_NOT_ENDS, OAB_PQ_NOT_CONTAINS};
  if (op == OAB_SQ_LIKE) return like[w];
  if (op == OAB_SQ_NOT_LIKE) return not_like[w];
  return -1;
}

// Power operator to the simple operator and the wildcards it needs.
bool to_simple(long pwr_op, long* op, int* w) {
  *w = none;
  if (pwr_op >= OAB_SQ_GT && pwr_op <= OAB_SQ_NE) {
    *op = pwr_op;
    return true;
  }
  if (pwr_op == OAB_PQ_SOUNDS) {
    *op = OAB_SQ_SOUNDS;
    return true;
  }
  const struct {
    long pwr;
    long op;
    int w;
  } rows[] = {{OAB_PQ_STARTS, OAB_SQ_LIKE, trailing},         {OAB_PQ_ENDS, OAB_SQ_LIKE, leading},
              {OAB_PQ_CONTAINS, OAB_SQ_LIKE, both},            {OAB_PQ_NOT_STARTS, OAB_SQ_NOT_LIKE, trailing},
              {OAB_PQ_NOT_ENDS, OAB_SQ_NOT_LIKE, leading},     {OAB_PQ_NOT_CONTAINS, OAB_SQ_NOT_LIKE, both}};
  for (const auto& r : rows) {
    if (r.pwr != pwr_op) continue;
    *op = r.op;
    *w = r.w;
    return true;
  }
  return false;
}

}  // namespace

long oab_qry_xform_string_val(long op, const char* value, long* pwr_op, std::string* pwr_value) {
  std::string v = value != nullptr ? value : "";
  int w = none;
  if (op != OAB_SQ_SOUNDS) {
    if (!v.empty() && v.front() == kWild) {
      w |= leading;
      v.erase(0, 1);
    }
    if (!v.empty() && v.back() == kWild) {
      w |= trailing;
      v.pop_back();
    }
  }
  long p = to_power(op, w);
  if (p < 0) return refuse("oab_qry_xform_string_val", op, kToPower);
  *pwr_op = p;
  *pwr_value = v;
  return 0;
}

long oab_qry_xform_long_val(long op, long value, long* pwr_op, std::string* pwr_value) {
  long p = to_power(op, none);
  if (p < 0) return refuse("oab_qry_xform_long_val", op, kToPower);
  *pwr_op = p;
  *pwr_value = std::to_string(value);
  return 0;
}

long oab_qry_simple_xform_stringv(long pwr_op, const char* value, long* op, std::string* out) {
  int w = none;
  if (!to_simple(pwr_op, op, &w)) return refuse("oab_qry_simple_xform_stringv", pwr_op, kToSimple);
  std::string v = value != nullptr ? value : "";
  if (w & leading) v.insert(v.begin(), kWild);
  if (w & trailing) v.push_back(kWild);
  *out = v;
  return 0;
}

long oab_qry_simple_xform_longv(long pwr_op, const char* value, long* op, long* out) {
  int w = none;
  if (!to_simple(pwr_op, op, &w)) return refuse("oab_qry_simple_xform_longv", pwr_op, kToSimple);
  *out = loc_st_atoi(value != nullptr ? value : "");
  return 0;
}
