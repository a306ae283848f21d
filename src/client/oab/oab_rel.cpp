// Relating through relation maps, in the database or inside a state.
#include "client/oab/oab_rel.h"

#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

long type_of(dbs_ty_lobj* o, long* type) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(o, &id)) return st;
  *type = id.type & OAB_TYPE_MASK;
  return 0;
}

long map_pair(dbs_ty_lobj* object, dbs_ty_lobj* other, long gen_id, long* sp_id) {
  long from = 0;
  long to = 0;
  if (long st = type_of(object, &from)) return st;
  if (long st = type_of(other, &to)) return st;
  return oab_rel_map_gen_to_sp(from, gen_id, to, sp_id);
}

long map_ids(const obj_id* object, const obj_id* other, long gen_id, long* sp_id) {
  return oab_rel_map_gen_to_sp(object->type & OAB_TYPE_MASK, gen_id, other->type & OAB_TYPE_MASK, sp_id);
}

// The entries' keys of both objects in the state.
long keys_of(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long* key, long* other_key) {
  const char* proc = "oab_rel_relate";
  if (long st = ost_obj_find_byhandle(state, object, 0, key, nullptr)) return st;
  if (*key < 0) return oab_alrt(proc, OAB_SUBJECT_NOT_IN_STATE);
  if (long st = ost_obj_find_byhandle(state, other, 0, other_key, nullptr)) return st;
  if (*other_key < 0) return oab_alrt(proc, OAB_OBJECT_NOT_IN_STATE);
  return 0;
}

long relate_sp(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long sp_id, bool relate) {
  if (state == nullptr) {
    if (dbs_obj_is_temp(object) || dbs_obj_is_temp(other)) return oab_alrt("oab_rel_relate", OAB_NOT_PERM);
    return relate ? dbs_rel_relate(oab_db_con_id, object, sp_id, other)
                  : dbs_rel_unrelate(oab_db_con_id, object, sp_id, other);
  }
  long key = -1;
  long other_key = -1;
  if (long st = keys_of(state, object, other, &key, &other_key)) return st;
  return relate ? ost_obj_relate(state, key, other_key, sp_id) : ost_obj_unrelate(state, key, other_key, sp_id);
}

}  // namespace

long oab_rel_relate_sp(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long sp_id) {
  return relate_sp(state, object, other, sp_id, true);
}

long oab_rel_unrelate_sp(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long sp_id) {
  return relate_sp(state, object, other, sp_id, false);
}

long oab_rel_relate(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long gen_id) {
  long sp = 0;
  if (long st = map_pair(object, other, gen_id, &sp)) return st;
  return relate_sp(state, object, other, sp, true);
}

long oab_rel_unrelate(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long gen_id) {
  long sp = 0;
  if (long st = map_pair(object, other, gen_id, &sp)) return st;
  return relate_sp(state, object, other, sp, false);
}

long oab_rel_relate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* object, const obj_id* other, long gen_id) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  long sp = 0;
  if (long st = map_ids(&id, other, gen_id, &sp)) return st;
  return ost_obj_relate_id_byhndl(state, object, other, sp);
}

long oab_rel_unrelate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* object, const obj_id* other, long gen_id) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  long sp = 0;
  if (long st = map_ids(&id, other, gen_id, &sp)) return st;
  return ost_obj_unrelate_id_byhndl(state, object, other, sp);
}

long oab_rel_relate_id_byid(ost_ty_state* state, const obj_id* object, const obj_id* other, long gen_id) {
  long sp = 0;
  if (long st = map_ids(object, other, gen_id, &sp)) return st;
  return ost_obj_relate_id_to_id(state, object, other, sp);
}

long oab_rel_unrelate_id_byid(ost_ty_state* state, const obj_id* object, const obj_id* other, long gen_id) {
  long sp = 0;
  if (long st = map_ids(object, other, gen_id, &sp)) return st;
  return ost_obj_unrelate_id_to_id(state, object, other, sp);
}

long oab_rel_related(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, dbs_ty_lobj* other, char* related) {
  *related = 0;
  if (state != nullptr) return oab_alrt("oab_rel_related", OAB_REL_IN_MEMORY);
  long sp = 0;
  if (long st = map_pair(object, other, gen_id, &sp)) return st;
  return dbs_rel_related_remote(oab_db_con_id, object, sp, other, 0, related);
}
