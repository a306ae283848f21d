// Query operators and value checks by field path.
#include "store/dbs_opr.h"

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_opr.h"
#include "core/loc/loc_st.h"
#include "schema/typ_msg.h"
#include "schema/typ_path.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_msg.h"

namespace {

constexpr long k_rel_type = 670;
constexpr long k_clock_type = 609;
constexpr long DBS_BAD_VALUE = 0x700027;

const char* type_name(long type_id) {
  typ_sch_srec* s = nullptr;
  if (typ_sch_find_handle(type_id, nullptr, &s) != 0 || !s) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    return "";
  }
  return s->info ? s->info->name : "";
}

// The cmn type of a field path; a relation or an unknown path is refused.
long path_type(const char* proc, long type_id, const char* path, long* data_type) {
  long st = typ_sch_field_path_info_get(type_id, path, nullptr, nullptr, data_type);
  if (st == TYP_NO_FIELD) {
    cmn_alrt_push(nullptr, proc, TYP_NO_FIELD, 2, path ? path : "", type_name(type_id));
    return st;
  }
  if (st) return st;
  if (*data_type == k_rel_type) return TYP_NO_FIELD;
  return 0;
}

}  // namespace

long dbs_opr_get_operators(long type_id, const char* path, utl_ty_col* values, utl_ty_col* names) {
  long type = 0;
  if (long st = path_type("dbs_opr_get_operators", type_id, path, &type)) return st;
  return cmn_opr_get_operators(type, values, names);
}

long dbs_opr_check_value(long type_id, const char* label, const char* path, const char* value) {
  long type = 0;
  if (long st = path_type("dbs_opr_check_value", type_id, path, &type)) return st;
  const char* v = value ? value : "";
  bool refused = cmn_opr_check_value(type, v) != 0;
  if (!refused && type == k_clock_type) refused = v[0] == '?' || loc_st_is_allspace(v);
  if (!refused) return 0;
  return dbs_alrt("dbs_opr_check_value", DBS_BAD_VALUE, v, label ? label : "");
}
