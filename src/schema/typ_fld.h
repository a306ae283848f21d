// Fields of schema records: adding, replacing and deleting fields while a
// schema is under construction, field ids and the generic-to-specific maps,
// the optimisation that finishes a loaded model, and the field accessors.
#pragma once

#include "orb_api.h"

#include "schema/typ_rec.h"

ORB_API long typ_sch_fadd_with_uptr(typ_sch_srec* schema, const typ_sch_frec* tmpl, long* position);
ORB_API long typ_sch_fadd(typ_sch_srec* schema, const char* name, long data_type, long db_type,
                          long gen_id, long ignored1, unsigned long flags, long array_size,
                          long dec_precision, long dec_scale, long ignored2, long ignored3,
                          const char* def, const char* comment, long* position);
ORB_API long typ_sch_add_pfield(typ_sch_srec* schema, typ_sch_frec* tmpl, long* position);
ORB_API long typ_sch_add_cfield(typ_sch_srec* schema, typ_sch_frec* tmpl, long* position);
ORB_API long typ_sch_add_ufield(typ_sch_srec* schema, typ_sch_frec* tmpl, long* position);
ORB_API long typ_sch_add_barray_field(typ_sch_srec* schema, const char* name, long gen_id,
                                      unsigned long flags, const char* comment, const char* old_name);
ORB_API long typ_sch_ty_field_init(typ_sch_frec* field);
ORB_API long typ_sch_set_field_name(char** name_field, const char* text);
ORB_API long typ_sch_set_field_def(typ_sch_frec* field, const char* text);
ORB_API long typ_sch_set_field_comment(typ_sch_frec* field, const char* text);

ORB_API long typ_sch_freplace(typ_sch_srec* schema, const char* field_name, const char* new_name,
                              long data_type, long db_type, long gen_id, long ignored,
                              unsigned long flags, long array_size, const char* def,
                              const char* comment, long* spec_id);
ORB_API long typ_sch_delete_field(typ_sch_srec* schema, long position);
ORB_API long typ_sch_field_delete(typ_sch_srec* schema, const char* field_name);

ORB_API long typ_sch_map(typ_sch_srec* schema, long field_id, long* index);
ORB_API long typ_sch_gen_to_sp(typ_sch_srec* schema, long gen_id, long* index);
ORB_API long typ_sch_sp_to_gen(typ_sch_srec* schema, long index, long* gen_id);
ORB_API long typ_ty_find_spec_id(const typ_ty_map* map, long gen_id, long* index);
ORB_API long typ_sch_rel_map(typ_sch_srec* schema, long rel_id, long* index);
ORB_API long typ_sch_optimize();

ORB_API long typ_sch_field_get_by_name(typ_sch_srec* schema, const char* name, typ_sch_frec** field);
ORB_API long typ_sch_field_length_get(long type_id, long field_id, long* size);
ORB_API long typ_sch_field_type_get(long type_id, long field_id, long* data_type);
ORB_API long typ_sch_field_type_is_text(long db_type);
ORB_API long typ_sch_get_field_info2(typ_sch_srec* schema, long field_id, const char** name,
                                     long* array_size, unsigned long* flags, long* data_type,
                                     long* db_type, const char** def);
ORB_API long typ_sch_field_uptr_set(typ_sch_frec* field, void* word);
ORB_API long typ_sch_field_uptr_get(typ_sch_frec* field, void** word);

// Builds a map from {spec, gen} pairs (null when there are none).
long typ_ty_map_build(const long* specs, const long* gens, long n, typ_ty_map** map);
