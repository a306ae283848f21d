// Relating and unrelating two objects in a state, each end given as an
// object or as an id; the change is written when the state is committed.
#include "client/cpi_rel.h"

#include "client/cpi/cpi_int.h"
#include "client/ost/ost_rel.h"
#include "schema/typ_rel.h"
#include "store/dbs_obj.h"

namespace {

constexpr signed char kRelate = 1;

long relation_id(long from_type, const char* relation_name, long* rel) {
  return typ_sch_rel_name_to_id(from_type, nullptr, relation_name, rel, nullptr);
}

long handle_type(void* object, long* type) { return dbs_obj_type(cpi_obj_of(object), type); }

long cpi_rel_objs_do(long state, void* from, void* to, const char* relation_name, signed char mode) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  if (long st = cpi_utl_obj_check(from, 2, "from_obj")) return st;
  if (long st = cpi_utl_obj_check(to, 3, "to_obj")) return st;
  long type = 0;
  long rel = 0;
  if (long st = handle_type(from, &type)) return st;
  if (long st = relation_id(type, relation_name, &rel)) return st;
  if (mode == kRelate) return ost_obj_relate_byhndl(cpi_state_of(state), cpi_obj_of(from), cpi_obj_of(to), rel);
  return ost_obj_unrelate_byhndl(cpi_state_of(state), cpi_obj_of(from), cpi_obj_of(to), rel);
}

long cpi_rel_toid_do(long state, void* from, const cpi_ty_objid* to, const char* relation_name, signed char mode) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  if (long st = cpi_utl_obj_check(from, 2, "from_obj")) return st;
  if (long st = cpi_utl_objid_check(to, 3, "to_objid")) return st;
  long type = 0;
  long rel = 0;
  if (long st = handle_type(from, &type)) return st;
  if (long st = relation_id(type, relation_name, &rel)) return st;
  obj_id to_id = cpi_to_oid(*to);
  if (mode == kRelate) return ost_obj_relate_id_byhndl(cpi_state_of(state), cpi_obj_of(from), &to_id, rel);
  return ost_obj_unrelate_id_byhndl(cpi_state_of(state), cpi_obj_of(from), &to_id, rel);
}

long cpi_rel_fromid_do(long state, const cpi_ty_objid* from, void* to, const char* relation_name, signed char mode) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  if (long st = cpi_utl_objid_check(from, 2, "from_objid")) return st;
  if (long st = cpi_utl_obj_check(to, 3, "to_obj")) return st;
  long rel = 0;
  if (long st = relation_id(cpi_objid_type(*from), relation_name, &rel)) return st;
  obj_id from_id = cpi_to_oid(*from);
  if (mode == kRelate) return ost_obj_relate_hndl_byid(cpi_state_of(state), &from_id, cpi_obj_of(to), rel);
  return ost_obj_unrelate_hndl_byid(cpi_state_of(state), &from_id, cpi_obj_of(to), rel);
}

long cpi_rel_ids_do(long state, const cpi_ty_objid* from, const cpi_ty_objid* to, const char* relation_name,
                    signed char mode) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  if (long st = cpi_utl_objid_check(from, 2, "from_objid")) return st;
  if (long st = cpi_utl_objid_check(to, 3, "to_objid")) return st;
  long rel = 0;
  if (long st = relation_id(cpi_objid_type(*from), relation_name, &rel)) return st;
  obj_id from_id = cpi_to_oid(*from);
  obj_id to_id = cpi_to_oid(*to);
  if (mode == kRelate) return ost_obj_relate_id_to_id(cpi_state_of(state), &from_id, &to_id, rel);
  return ost_obj_unrelate_id_to_id(cpi_state_of(state), &from_id, &to_id, rel);
}

}  // namespace

// The mode counts by its low byte only.
long cpi_rel_objs(long state, void* from, void* to, const char* relation_name, long mode) {
  return cpi_rel_objs_do(state, from, to, relation_name, static_cast<signed char>(mode));
}
long cpi_rel_toid(long state, void* from, const cpi_ty_objid* to, const char* relation_name, long mode) {
  return cpi_rel_toid_do(state, from, to, relation_name, static_cast<signed char>(mode));
}
long cpi_rel_fromid(long state, const cpi_ty_objid* from, void* to, const char* relation_name, long mode) {
  return cpi_rel_fromid_do(state, from, to, relation_name, static_cast<signed char>(mode));
}
long cpi_rel_ids(long state, const cpi_ty_objid* from, const cpi_ty_objid* to, const char* relation_name, long mode) {
  return cpi_rel_ids_do(state, from, to, relation_name, static_cast<signed char>(mode));
}
