// Lists of database objects: copy, free, match and filter.
#include "client/oab/oab_obj.h"

#include "client/oab/oab_fld.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_obj.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long kInWordFlag = 4;  // type keeps its value in the word
constexpr unsigned long kAllFields = ~0ul;

struct match_rec {
  long field_id;
  const void* value;
  const obj_id* id;
  long index;
  dbs_ty_lobj* object;
};

dbs_ty_lobj* handle_of(const void* slot) { return *static_cast<dbs_ty_lobj* const*>(slot); }

long match_field(dbs_ty_lobj* o, match_rec* m, bool* found) {
  long value = 0;
  long type = 0;
  if (long st = dbs_fld_get(o, m->field_id, &value, &type)) return st;
  long flags = 0;
  cmn_ty_compare_proc cmp = nullptr;
  if (long st = cmn_typ_info(type, nullptr, &flags, nullptr, nullptr, nullptr, &cmp, nullptr, nullptr)) return st;
  if (cmp == nullptr) return 0;
  const void* mine = (flags & kInWordFlag) ? static_cast<const void*>(&value) : reinterpret_cast<const void*>(value);
  const void* wanted = (flags & kInWordFlag) ? static_cast<const void*>(&m->value) : m->value;
  *found = cmp(mine, wanted) == 0;
  return 0;
}

long match_oid(dbs_ty_lobj* o, const obj_id* id, bool* found) {
  obj_id mine{};
  if (long st = dbs_obj_oid_get(o, &mine)) return st;
  *found = (mine.type & OAB_TYPE_MASK) == (id->type & OAB_TYPE_MASK) && mine.num == id->num && mine.sub == id->sub;
  return 0;
}

long run_match(utl_ty_col* list, match_rec* m, long* index, dbs_ty_lobj** object) {
  long st = list != nullptr ? utl_col_apply(list, oab_obj_match_fld_proc, m) : 0;
  if (index != nullptr) *index = m->index;
  if (object != nullptr) *object = m->object;
  return st;
}

}  // namespace

long oab_obj_init() { return 0; }
long oab_obj_term() { return 0; }

long oab_obj_copy_data_fields(dbs_ty_lobj* source, dbs_ty_lobj* destination) {
  obj_id from{};
  obj_id to{};
  if (long st = dbs_obj_oid_get(source, &from)) return st;
  if (long st = dbs_obj_oid_get(destination, &to)) return st;
  long from_type = from.type & OAB_TYPE_MASK;
  long to_type = to.type & OAB_TYPE_MASK;
  if (from_type != to_type && to_type != OAB_OBJ_ANY_TYPE)
    return oab_alrt("oab_obj_copy_data_fields", OAB_COPY_TYPES, cmn_typ_name(from_type), cmn_typ_name(to_type));
  return dbs_fld_for_all(source, oab_fld_copy_one_fld, destination, kAllFields);
}

long oab_obj_free_obj_proc(utl_ty_col*, void* element, long, long, void* arg, long*) {
  auto** slot = static_cast<dbs_ty_lobj**>(element);
  if (*slot == nullptr) return 0;
  auto* state = static_cast<ost_ty_state*>(arg);
  long st = state != nullptr ? ost_obj_free(state, *slot) : dbs_obj_free_local("oab_obj_free_objs_in_col", *slot);
  if (st == 0) *slot = nullptr;
  return st;
}

long oab_obj_free_objs_in_col(ost_ty_state* state, utl_ty_col* list) {
  if (long st = utl_col_apply(list, oab_obj_free_obj_proc, state)) return st;
  return utl_col_reset(list);
}

long oab_obj_match_fld_proc(utl_ty_col*, void* element, long index, long, void* arg, long* stop) {
  auto* m = static_cast<match_rec*>(arg);
  dbs_ty_lobj* o = handle_of(element);
  if (o == nullptr) return 0;
  bool found = false;
  long st = m->field_id != OAB_OBJ_END ? match_field(o, m, &found) : match_oid(o, m->id, &found);
  if (st != 0) return st;
  if (!found) return 0;
  m->index = index;
  m->object = o;
  *stop = 1;
  return 0;
}

long oab_obj_match_field_in_col(utl_ty_col* list, long field_id, const void* value, long* index,
                                dbs_ty_lobj** object) {
  match_rec m{field_id, value, nullptr, -1, nullptr};
  return run_match(list, &m, index, object);
}

long oab_obj_match_oid_in_col(utl_ty_col* list, const obj_id* id, long* index, dbs_ty_lobj** object) {
  match_rec m{OAB_OBJ_END, nullptr, id, -1, nullptr};
  return run_match(list, &m, index, object);
}

long oab_obj_filter_col_with_oid(utl_ty_col* list, long type_id, long rel_id, obj_id* other, char flag) {
  long i = 0;
  while (i < list->count) {
    void* element = nullptr;
    if (long st = utl_col_ith(list, i, &element)) return st;
    obj_id id{};
    if (flag == 1) {
      id = obj_id{type_id & OAB_TYPE_MASK, *static_cast<long*>(element), 0};
    } else if (long st = dbs_obj_oid_get(handle_of(element), &id)) {
      return st;
    }
    char related = 0;
    if (long st = dbs_rel_related_remote_id_to_id(oab_db_con_id, &id, rel_id, other, 0, &related)) return st;
    if (related) {
      ++i;
      continue;
    }
    if (long st = utl_col_remove(list, nullptr, i)) return st;
  }
  return 0;
}
