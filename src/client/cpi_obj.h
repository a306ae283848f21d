// Client interface: objects and their fields.
//
// A set call's value points at the value as the object store holds it (a
// long, a float, a double, the characters of a text); for a date field it is
// the date text, for a decimal field a cmn_ty_decimal. A get call writes the
// value into the slot out_value points at; for date and decimal fields that
// slot receives a pointer to a block of the object's pool.
#pragma once

#include <cstdio>

#include "client/cpi_ty.h"
#include "orb_api.h"

struct cpi_ty_qry_result;

ORB_API long cpi_obj_make(const char* type_name, long reserved, void** out_object);
ORB_API long cpi_obj_free(void* object);
ORB_API long cpi_obj_free_not_in_state(long state, void* object);
ORB_API long cpi_obj_add(long state, void* object, long flags);
ORB_API long cpi_obj_update(long state, void* object, long flags);
ORB_API long cpi_obj_create(long state, const char* type_name, long reserved, void** out_object);
ORB_API long cpi_obj_delete(long state, void* object, long flags);
ORB_API long cpi_obj_remove(long state, void* object);
ORB_API long cpi_obj_set_modified(long state, void* object);
ORB_API long cpi_obj_find_byid(long state, const cpi_ty_objid* objid, long reserved,
                               void** out_object);
ORB_API long cpi_obj_find_obj_hdl_in_state(long state, void* object, long option,
                                           long* out_found);
ORB_API long cpi_obj_find_related_in_state(long state, void* object, const char* relation_name,
                                           long reserved, cpi_ty_qry_result** out_result);
ORB_API long cpi_obj_set_field(void* object, const char* field_name, const void* value,
                               long reserved);
ORB_API long cpi_obj_set_field_inf(void* object, const char* field_name, const void* value,
                                   long reserved, long inf_flag);
ORB_API long cpi_obj_set_mult_fields(void* object, long count, const char* const names[],
                                     void* const values[], long reserved);
ORB_API long cpi_obj_get_field(void* object, const char* field_name, long reserved,
                               void* out_value, long* out_type);
// out_values[i] is the slot that receives field i.
ORB_API long cpi_obj_get_mult_fields(void* object, long count, const char* const names[],
                                     long reserved, void* const out_values[], long* out_flags);
ORB_API long cpi_obj_copy(void* object, void** out_copy, long flags);
ORB_API long cpi_obj_id(void* object, cpi_ty_objid* out_objid, long* out_saved,
                        const char** out_type_name, long* out_id_number);
ORB_API long cpi_obj_num_fields(void* object, long reserved, long* out_count);
ORB_API long cpi_obj_exists(void* object, long reserved, long* out_exists);
ORB_API long cpi_obj_dump(void* object, FILE* stream);
ORB_API long cpi_obj_check_minmax_date(void* object, const char* field_name, long reserved,
                                       long* out_is_date, long* out_kind);
ORB_API long cpi_obj_get_field_ids(long type_id, long count, const char* const names[],
                                   long* out_ids, long* out_types);
ORB_API long cpi_obj_transform(void* source, void* source_names, void* target,
                               void* target_names);
ORB_API const char* cpi_obj_typename(long type_id);
ORB_API long cpi_obj_get_obj_type(void* object, long* out_type_id);
ORB_API long cpi_obj_get_field_length(const char* type_name, const char* field_name,
                                      long* out_length);
ORB_API long cpi_obj_get_path_value(void* root_object, const char* path, char open_char,
                                    char close_char, void** out_text, long* out_found);
ORB_API long cpi_obj_to_conds(void* object, void* conds_col, long reserved);
ORB_API long cpi_obj_check_dirty(void* object, const char* field_name, long* out_dirty);
ORB_API long cpi_obj_allocate(void* object, long size, void** out_block);
