// Relatives of an object through specific and generic relations, the
// unique forms and the release of what they hand out.
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_set.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long kColExtend = 10;

long type_of(dbs_ty_lobj* o, long* type) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(o, &id)) return st;
  *type = id.type & OAB_TYPE_MASK;
  return 0;
}

template <class T>
T ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return *static_cast<T*>(slot);
}

long pointer_col(const char* proc, utl_ty_col** out) {
  return utl_col_make(proc, CMN_TYP_VOID_P, 1, kColExtend, 0, 0, out);
}

}  // namespace

long oab_rel_get_relatives_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                              utl_ty_col** out) {
  if (out == nullptr) return 0;
  *out = nullptr;
  utl_ty_col* col = nullptr;
  if (state != nullptr) {
    long key = -1;
    if (long st = ost_obj_find_byhandle(state, object, 0, &key, nullptr)) return st;
    if (key < 0) return oab_alrt("oab_rel_get_relatives_sp", OAB_SUBJECT_NOT_IN_STATE);
    if (long st = ost_obj_get_related(state, key, sp_id, options, &col)) return st;
  } else {
    char got = 0;
    if (long st = dbs_rel_get_remote(oab_db_con_id, object, sp_id, options, &col, &got)) {
      if (col != nullptr) dbs_obj_free_local_col(nullptr, col);
      return st;
    }
  }
  if (col != nullptr && col->count == 0) {
    utl_col_free("oab_rel_get_relatives_sp", col);
    col = nullptr;
  }
  *out = col;
  return 0;
}

long oab_rel_get_relatives_gen(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                               utl_ty_col** out) {
  *out = nullptr;
  long type = 0;
  if (long st = type_of(object, &type)) return st;
  long count = 0;
  oab_rel_node* node = nullptr;
  if (long st = oab_rel_map_gen_all(type, gen_id, &count, &node)) return st;
  for (long i = 0; i < count; ++i, node = node->next) {
    utl_ty_col* col = nullptr;
    long st = oab_rel_get_relatives_sp(state, object, node->sp_id, options, &col);
    if (st == 0 && col != nullptr && *out == nullptr) st = pointer_col("oab_rel_get_relatives_gen", out);
    if (st == 0 && col != nullptr) st = utl_col_push(*out, &col, nullptr);
    if (st != 0) {
      oab_rel_release_rel_col(state, col);
      oab_rel_release_relatives(state, *out);
      *out = nullptr;
      return st;
    }
  }
  return 0;
}

long oab_rel_release_rel_col(ost_ty_state* state, utl_ty_col* col) {
  if (col == nullptr) return 0;
  if (state == nullptr) return dbs_obj_free_local_col(nullptr, col);
  if (long st = ost_obj_free_related(state, col)) return st;
  return utl_col_free("oab_rel_release_rel_col", col);
}

long oab_rel_release_relatives(ost_ty_state* state, utl_ty_col* cols) {
  if (cols == nullptr) return 0;
  for (long i = 0; i < cols->count; ++i)
    if (long st = oab_rel_release_rel_col(state, ith<utl_ty_col*>(cols, i))) return st;
  return utl_col_free("oab_rel_release_relatives", cols);
}

long oab_rel_release_one_relative(ost_ty_state* state, dbs_ty_lobj* object) {
  if (object == nullptr) return 0;
  if (state != nullptr) {
    long key = -1;
    if (long st = ost_obj_find_byhandle(state, object, 0, &key, nullptr)) return st;
    if (key >= 0) return 0;
  }
  return dbs_obj_free_local("oab_rel_release_one_relative", object);
}

long oab_rel_get_one_relative(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                              dbs_ty_lobj** out) {
  *out = nullptr;
  utl_ty_col* cols = nullptr;
  if (long st = oab_rel_get_relatives_gen(state, object, gen_id, options, &cols)) return st;
  if (cols == nullptr) return 0;
  utl_ty_col* only = cols->count == 1 ? ith<utl_ty_col*>(cols, 0) : nullptr;
  if (only == nullptr || only->count != 1) {
    oab_rel_release_relatives(state, cols);
    return oab_alrt("oab_rel_get_one_relative", OAB_MANY_RELATIVES);
  }
  *out = ith<dbs_ty_lobj*>(only, 0);
  utl_col_free("oab_rel_get_one_relative", only);
  return utl_col_free("oab_rel_get_one_relative", cols);
}

long oab_rel_get_one_relative_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                                 dbs_ty_lobj** out) {
  *out = nullptr;
  utl_ty_col* col = nullptr;
  if (long st = oab_rel_get_relatives_sp(state, object, sp_id, options, &col)) return st;
  if (col == nullptr) return 0;
  if (col->count != 1) {
    oab_rel_release_rel_col(state, col);
    return oab_alrt("oab_rel_get_one_relative_sp", OAB_MANY_RELATIVES);
  }
  *out = ith<dbs_ty_lobj*>(col, 0);
  return utl_col_free("oab_rel_get_one_relative_sp", col);
}

long oab_rel_get_1st_relative_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                                 dbs_ty_lobj** out) {
  *out = nullptr;
  utl_ty_col* col = nullptr;
  if (long st = oab_rel_get_relatives_sp(state, object, sp_id, options, &col)) return st;
  if (col == nullptr) return 0;
  *out = ith<dbs_ty_lobj*>(col, 0);
  if (long st = utl_col_remove(col, nullptr, 0)) return st;
  return oab_rel_release_rel_col(state, col);
}

long oab_rel_get_one_rel_col(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                             utl_ty_col** out) {
  *out = nullptr;
  utl_ty_col* cols = nullptr;
  if (long st = oab_rel_get_relatives_gen(state, object, gen_id, options, &cols)) return st;
  if (cols == nullptr) return 0;
  if (cols->count != 1) {
    oab_rel_release_relatives(state, cols);
    return oab_alrt("oab_rel_get_one_rel_col", OAB_MANY_REL_COLS);
  }
  *out = ith<utl_ty_col*>(cols, 0);
  return utl_col_free("oab_rel_get_one_rel_col", cols);
}

long oab_rel_get_merged_rel_col(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                                utl_ty_col** out) {
  *out = nullptr;
  utl_ty_col* cols = nullptr;
  if (long st = oab_rel_get_relatives_gen(state, object, gen_id, options, &cols)) return st;
  if (cols == nullptr) return 0;
  long st = pointer_col("oab_rel_get_merged_rel_col", out);
  for (long i = 0; st == 0 && i < cols->count; ++i) st = utl_col_merge_col(ith<utl_ty_col*>(cols, i), *out);
  if (st != 0) {
    utl_col_free("oab_rel_get_merged_rel_col", *out);
    *out = nullptr;
    oab_rel_release_relatives(state, cols);
    return st;
  }
  for (long i = 0; i < cols->count; ++i) utl_col_free("oab_rel_get_merged_rel_col", ith<utl_ty_col*>(cols, i));
  return utl_col_free("oab_rel_get_merged_rel_col", cols);
}
