// Objects at the client interface: making, adding, changing, deleting,
// finding and copying objects, and what they are.
#include "client/cpi_obj.h"

#include "client/cpi/cpi_int.h"
#include "client/cpi/cpi_qry_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kKeepIfHeld = 1;     // add / update flag bit 0
constexpr long kDelForce = 1;       // delete flag bit 0: the row now
constexpr long kDelKeepHandle = 2;  // delete flag bit 1
constexpr long kDelStateBits = 192;
constexpr long kRelatedAsHeld = 32;
constexpr long kCopyAsNew = 1;

obj_id id_of(void* object) {
  obj_id id{};
  dbs_obj_oid_get(cpi_obj_of(object), &id);
  return id;
}

long state_and_object(long state, void* object) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  return cpi_utl_obj_check(object, 2, "obj");
}

long cpi_obj_make_do(const char* type_name, long, void** out_object) {
  if (!type_name) return cpi_bad_param(1, "obj_type");
  if (!out_object) return cpi_bad_param(3, "obj");
  long type = 0;
  if (long st = cpi_type_id(type_name, &type)) return st;
  dbs_ty_lobj* object = nullptr;
  if (long st = dbs_obj_make(nullptr, type, &object)) return st;
  *out_object = object;
  return 0;
}

long cpi_obj_free_not_in_state_do(long state, void* object) {
  if (!object) return 0;
  long key = -1;
  if (long st = ost_obj_find_byhandle(cpi_state_of(state), cpi_obj_of(object), 0, &key, nullptr)) return st;
  return key == -1 ? dbs_obj_free_local("cpi_obj_free_not_in_state", cpi_obj_of(object)) : 0;
}

long cpi_obj_add_do(long state, void* object, long flags) {
  if (long st = state_and_object(state, object)) return st;
  return ost_obj_get(cpi_state_of(state), cpi_obj_of(object), flags | OST_OBJ_GET_ADD);
}

long cpi_obj_update_do(long state, void* object, long flags) {
  if (long st = state_and_object(state, object)) return st;
  if (!(flags & kKeepIfHeld) && id_of(object).num == 0) return cpi_alrt(CPI_ALRT_NOT_PERMANENT);
  if (long st = ost_obj_get(cpi_state_of(state), cpi_obj_of(object), OST_OBJ_GET_ADD)) return st;
  return ost_obj_get(cpi_state_of(state), cpi_obj_of(object), OST_OBJ_GET_CHANGE);
}

long cpi_obj_create_do(long state, const char* type_name, long, void** out_object) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  if (!type_name) return cpi_bad_param(2, "obj_type");
  if (!out_object) return cpi_bad_param(3, "obj");
  long type = 0;
  if (long st = cpi_type_id(type_name, &type)) return st;
  dbs_ty_lobj* object = nullptr;
  if (long st = ost_obj_create(nullptr, cpi_state_of(state), type, &object)) return st;
  *out_object = object;
  return 0;
}

long free_handle(long state, void* object) {
  if (state) return ost_obj_free(cpi_state_of(state), cpi_obj_of(object));
  return dbs_obj_free_local("cpi_obj_delete", cpi_obj_of(object));
}

long cpi_obj_delete_do(long state, void* object, long flags) {
  if (long st = state_and_object(state, object)) return st;
  obj_id id = id_of(object);
  if (id.num == 0) return cpi_alrt(CPI_ALRT_DELETE_UNSAVED);
  if (flags & kDelForce) {
    if (long st = dbs_obj_delete_force(cpi_current_con(), &id)) return st;
    return (flags & kDelKeepHandle) ? 0 : free_handle(state, object);
  }
  if (flags & kDelKeepHandle) return ost_obj_delete(cpi_state_of(state), cpi_obj_of(object), flags & kDelStateBits);
  if (long st = dbs_obj_delete(cpi_current_con(), &id)) return st;
  return free_handle(state, object);
}

long cpi_obj_find_byid_do(long state, const cpi_ty_objid* objid, long, void** out_object) {
  obj_id id = cpi_to_oid(*objid);
  dbs_ty_lobj* handle = nullptr;
  long st = ost_obj_find_byid(cpi_state_of(state), &id, 0, nullptr, &handle);
  *out_object = handle;
  return st;
}

long cpi_obj_find_obj_hdl_in_state_do(long state, void* object, long option, long* out_found) {
  *out_found = 0;
  long key = -1;
  if (long st = ost_obj_find_byhandle(cpi_state_of(state), cpi_obj_of(object), option, &key, nullptr)) return st;
  *out_found = key != -1 ? 1 : 0;
  return 0;
}

long cpi_obj_find_related_in_state_do(long state, void* object, const char* relation_name, long,
                                      cpi_ty_qry_result** out_result) {
  long type = 0;
  if (long st = dbs_obj_type(cpi_obj_of(object), &type)) return st;
  long rel = 0;
  if (long st = typ_sch_rel_name_to_id(type, nullptr, relation_name, &rel, nullptr)) return st;
  utl_ty_col* related = nullptr;
  if (long st = ost_obj_get_rel_byhndl(cpi_state_of(state), cpi_obj_of(object), rel, kRelatedAsHeld, &related))
    return st;
  return cpi_qry_one_level_result(related, out_result);
}

long cpi_obj_copy_do(void* object, void** out_copy, long flags) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  if (!out_copy) return cpi_alrt(CPI_ALRT_BAD_PARAMS);
  dbs_ty_lobj* copy = nullptr;
  if (long st = dbs_obj_copy(cpi_obj_of(object), &copy)) return st;
  *out_copy = copy;
  return (flags & kCopyAsNew) ? dbs_obj_change_to_new(copy) : 0;
}

long cpi_obj_id_do(void* object, cpi_ty_objid* out_objid, long* out_saved, const char** out_type_name,
                   long* out_id_number) {
  if (out_objid) *out_objid = cpi_ty_objid{};
  if (out_saved) *out_saved = 0;
  if (out_id_number) *out_id_number = 0;
  if (long st = cpi_utl_obj_check(object, 2, "obj")) return st;
  obj_id id{};
  if (long st = dbs_obj_oid_get(cpi_obj_of(object), &id)) return st;
  if (out_objid) *out_objid = cpi_from_oid(id);
  long type = id.type & CPI_OBJID_TYPE_MASK;
  if (id.num != 0) {
    if (out_saved) *out_saved = 1;
    if (out_id_number) *out_id_number = id.num;
  } else if (long st = dbs_obj_type(cpi_obj_of(object), &type)) {
    return st;
  }
  if (out_type_name) *out_type_name = cpi_obj_typename(type);
  return 0;
}

long cpi_obj_num_fields_do(void* object, long, long* out_count) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  if (!out_count) return cpi_bad_param(3, "num_fields");
  long type = 0;
  if (long st = dbs_obj_type(cpi_obj_of(object), &type)) return st;
  return typ_sch_get_all_finfo(type, out_count, nullptr);
}

long cpi_obj_exists_do(void* object, long, long* out_exists) {
  if (long st = cpi_utl_obj_check(object, 2, "obj")) return st;
  if (!out_exists) return cpi_bad_param(3, "exists");
  obj_id id = id_of(object);
  *out_exists = id.num != 0 ? 1 : 0;
  if (id.num == 0) return 0;
  char exists = 0;
  if (long st = dbs_obj_exist(cpi_current_con(), &id, &exists)) return st;
  *out_exists = exists ? 1 : 0;
  return 0;
}

long cpi_obj_dump_do(void* object, FILE* stream) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  return dbs_obj_print(cpi_obj_of(object), 7, stream);
}

const char* cpi_obj_typename_do(long type_id) {
  const char* name = nullptr;
  if (typ_sch_id_to_name(type_id, -1, &name, nullptr) == 0 && name) return name;
  cmn_alrt_clear(nullptr);
  return cmn_typ_name(type_id);
}

long cpi_obj_get_field_length_do(const char* type_name, const char* field_name, long* out_length) {
  long type = -1;
  long field = -1;
  if (long st = typ_sch_name_to_id_i(type_name, field_name, &type, &field)) return st;
  if (type < 0) return cpi_alrt(CPI_ALRT_BAD_TYPE, type_name ? type_name : "");
  if (field < 0) return cpi_alrt(CPI_ALRT_NO_FIELD, field_name ? field_name : "", type_name);
  return typ_sch_field_length_get(type, field, out_length);
}

// Blocks are aligned for any value: a decimal or a date read from a field is
// written into one.
long cpi_obj_allocate_do(void* object, long size, void** out_block) {
  return utl_pl_alloc4(dbs_obj_get_pool(cpi_obj_of(object)), size + 1, out_block);
}

long cpi_obj_free_do(void* object) { return dbs_obj_free_local("cpi_obj_free", cpi_obj_of(object)); }

long cpi_obj_remove_do(long state, void* object) {
  return ost_obj_remove(cpi_state_of(state), cpi_obj_of(object), 0);
}

long cpi_obj_set_modified_do(long state, void* object) {
  return ost_obj_set_mod_byhndl(cpi_state_of(state), cpi_obj_of(object), 1);
}

long cpi_obj_get_obj_type_do(void* object, long* out_type_id) { return dbs_obj_type(cpi_obj_of(object), out_type_id); }

}  // namespace

long cpi_obj_allocate(void* object, long size, void** out_block) { return cpi_obj_allocate_do(object, size, out_block); }

long cpi_obj_make(const char* type_name, long reserved, void** out_object) {
  return cpi_obj_make_do(type_name, reserved, out_object);
}
long cpi_obj_free(void* object) { return cpi_obj_free_do(object); }
long cpi_obj_free_not_in_state(long state, void* object) { return cpi_obj_free_not_in_state_do(state, object); }
long cpi_obj_add(long state, void* object, long flags) { return cpi_obj_add_do(state, object, flags); }
long cpi_obj_update(long state, void* object, long flags) { return cpi_obj_update_do(state, object, flags); }
long cpi_obj_create(long state, const char* type_name, long reserved, void** out_object) {
  return cpi_obj_create_do(state, type_name, reserved, out_object);
}
long cpi_obj_delete(long state, void* object, long flags) { return cpi_obj_delete_do(state, object, flags); }
long cpi_obj_remove(long state, void* object) { return cpi_obj_remove_do(state, object); }
long cpi_obj_set_modified(long state, void* object) { return cpi_obj_set_modified_do(state, object); }
long cpi_obj_find_byid(long state, const cpi_ty_objid* objid, long reserved, void** out_object) {
  return cpi_obj_find_byid_do(state, objid, reserved, out_object);
}
long cpi_obj_find_obj_hdl_in_state(long state, void* object, long option, long* out_found) {
  return cpi_obj_find_obj_hdl_in_state_do(state, object, option, out_found);
}
long cpi_obj_find_related_in_state(long state, void* object, const char* relation_name, long reserved,
                                   cpi_ty_qry_result** out_result) {
  return cpi_obj_find_related_in_state_do(state, object, relation_name, reserved, out_result);
}
long cpi_obj_copy(void* object, void** out_copy, long flags) { return cpi_obj_copy_do(object, out_copy, flags); }
long cpi_obj_id(void* object, cpi_ty_objid* out_objid, long* out_saved, const char** out_type_name,
                long* out_id_number) {
  return cpi_obj_id_do(object, out_objid, out_saved, out_type_name, out_id_number);
}
long cpi_obj_num_fields(void* object, long reserved, long* out_count) {
  return cpi_obj_num_fields_do(object, reserved, out_count);
}
long cpi_obj_exists(void* object, long reserved, long* out_exists) {
  return cpi_obj_exists_do(object, reserved, out_exists);
}
long cpi_obj_dump(void* object, FILE* stream) { return cpi_obj_dump_do(object, stream); }
const char* cpi_obj_typename(long type_id) { return cpi_obj_typename_do(type_id); }
long cpi_obj_get_obj_type(void* object, long* out_type_id) { return cpi_obj_get_obj_type_do(object, out_type_id); }
long cpi_obj_get_field_length(const char* type_name, const char* field_name, long* out_length) {
  return cpi_obj_get_field_length_do(type_name, field_name, out_length);
}
