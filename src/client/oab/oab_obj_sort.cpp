// Sorting lists of database objects by one field or by a list of fields,
// ascending or as the exact reverse of the ascending order.
#include "client/oab/oab_obj.h"

#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"

namespace {

dbs_ty_lobj* handle_of(const void* slot) { return *static_cast<dbs_ty_lobj* const*>(slot); }

// A failed comparison counts as equal; its alert is cleared.
long compare_one(const void* a, const void* b, long field_id) {
  long result = 0;
  if (dbs_fld_val_cmp(handle_of(a), field_id, handle_of(b), field_id, &result) != 0) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  return result;
}

}  // namespace

long oab_obj_cmp_fld_proc(const void* a, const void* b, void* field_id) {
  return compare_one(a, b, *static_cast<long*>(field_id));
}

long oab_obj_rev_cmp_fld_proc(const void* a, const void* b, void* field_id) {
  return -compare_one(a, b, *static_cast<long*>(field_id));
}

long oab_obj_cmp_flds_proc(const void* a, const void* b, void* field_ids) {
  const long* ids = static_cast<const long*>(field_ids);
  for (long i = 0; i < OAB_OBJ_MAX_SORT && ids[i] != OAB_OBJ_END; ++i)
    if (long r = compare_one(a, b, ids[i])) return r;
  return 0;
}

long oab_obj_sort_col_by_field(utl_ty_col* list, long field_id) {
  return utl_col_sort(list, oab_obj_cmp_fld_proc, &field_id);
}

long oab_obj_sort_col_by_fields(utl_ty_col* list, const long* field_ids) {
  return utl_col_sort(list, oab_obj_cmp_flds_proc, const_cast<long*>(field_ids));
}

long oab_obj_rev_sort_col_by_field(utl_ty_col* list, long field_id) {
  return utl_col_sort_inverse(list, oab_obj_cmp_fld_proc, &field_id);
}

long oab_obj_rev_sort_col_by_fields(utl_ty_col* list, const long* field_ids) {
  return utl_col_sort_inverse(list, oab_obj_cmp_flds_proc, const_cast<long*>(field_ids));
}
