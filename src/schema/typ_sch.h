// The schema model: module start-up, the three collections that hold the
// model, the definition of schema records and the look-ups by type id and
// name.
//
// Threads: the model is process-wide state without locks, filled while a
// database opens and read afterwards by the one thread of the CRM session.
#pragma once

#include "orb_api.h"

#include "schema/typ_rec.h"

struct utl_ty_col;
struct utl_ty_pool;

// Module state. The arrays and counts are republished after every insertion.
extern utl_ty_col* typ_sch_col;
extern typ_sch_srec* typ_sch_schemas;
extern long typ_sch_num_schs;
extern utl_ty_col* typ_sch_rel_col;
extern typ_sch_rrec* typ_sch_relations;
extern long typ_sch_num_rels;
extern utl_ty_col* typ_sch_ro_col;
extern utl_ty_pool* typ_sch_name_pool;
extern char typ_sch_init_once;

ORB_API long typ_main_init();
ORB_API long typ_main_term();
ORB_API long typ_sch_init();
ORB_API long typ_sch_term();

ORB_API long typ_sch_alloc();
ORB_API long typ_sch_free();
ORB_API long typ_sch_clear();
ORB_API long typ_sch_check(typ_sch_srec* schema);

ORB_API long typ_sch_define(const char* name, long type_id, unsigned long flags, const char* subject,
                            const char* description, const char* sql, long nfields, long nrels,
                            typ_sch_srec** out);
ORB_API long typ_sch_define_obj(const char* name, long type_id, const char* subject,
                                const char* description, typ_sch_srec** out);
ORB_API long typ_sch_define_obj_wattr(const char* name, long type_id, const char* subject,
                                      const char* description, long nfields, long nrels,
                                      unsigned long attributes, typ_sch_srec** out);
ORB_API long typ_sch_define_object(const char* name, long type_id, const char* subject,
                                   const char* description, long nfields, long nrels,
                                   typ_sch_srec** out);
ORB_API long typ_sch_define_subobj(const char* name, long type_id, const char* subject,
                                   const char* description, typ_sch_srec** out);
ORB_API long typ_sch_define_struct(const char* name, long type_id, const char* subject,
                                   const char* description, const char* sql, typ_sch_srec** out);
ORB_API long typ_sch_define_structure(const char* name, long type_id, const char* subject,
                                      const char* description, const char* sql, long nfields,
                                      long nrels, typ_sch_srec** out);
ORB_API long typ_sch_check_for_existing(const char* name);
ORB_API long typ_sch_check_for_existing_type(long type_id);

ORB_API long typ_sch_find_handle(long type_id, const char* name, typ_sch_srec** out);
ORB_API long typ_sch_find_finfo(long type_id, const char* name, typ_sch_srec** out, long* nfields,
                                typ_sch_frec** fields);
ORB_API long typ_sch_find_rinfo(long type_id, const char* name, typ_sch_srec** out, long* nrels,
                                typ_sch_rel_inst** rels);
ORB_API long typ_sch_get_finfo(typ_sch_srec* schema, long* nfields, typ_sch_frec** fields);
ORB_API long typ_sch_get_rinfo(typ_sch_srec* schema, long* nrels, typ_sch_rel_inst** rels);
ORB_API long typ_sch_info(typ_sch_srec* schema, long* type_id, typ_sch_iblk** info, long* size,
                          long* is_object, long* nfields, typ_sch_frec** fields, long* entry_word);
ORB_API long typ_sch_get(utl_ty_col* type_ids, long* count, typ_sch_srec*** array);
ORB_API long typ_sch_name_to_id(const char* type_name, const char* field_name, long* type_id,
                                long* field_id);
ORB_API long typ_sch_name_to_id_i(const char* type_name, const char* field_name, long* type_id,
                                  long* field_id);
ORB_API long typ_sch_id_to_name(long type_id, long field_id, const char** type_name,
                                const char** field_name);
ORB_API long typ_sch_get_field_info(long type_id, const char* field_name, long* index, long* data_type);
ORB_API long typ_sch_get_all_finfo(long type_id, long* count, void** fields);
ORB_API long typ_sch_uptr_set(typ_sch_srec* schema, void* word);
ORB_API long typ_sch_uptr_get(typ_sch_srec* schema, void** word);
ORB_API long typ_sch_modify(typ_sch_srec* schema);
ORB_API long typ_sch_set_changed(typ_sch_srec* schema);

// Internal helpers shared by the module's files.
// typ_sch_free without the optional-relation registrations.
long typ_sch_free_model();
// The schema index of a record of typ_sch_schemas, or -1.
long typ_sch_index_of(const typ_sch_srec* schema);
// A copy of text in the name pool (null text: null).
long typ_sch_name_copy(const char* text, char** copy);
// A copy in the name pool; null or empty gives the shared empty text.
long typ_sch_name_copy_or_empty(const char* text, char** copy);
extern char typ_sch_empty_text[1];
// Republishes typ_sch_schemas / typ_sch_relations from their collections.
void typ_sch_publish();
void typ_sch_publish_rels();
// Republishes a schema's field, special-field and relation arrays.
void typ_sch_publish_fields(typ_sch_srec* schema);
void typ_sch_publish_special(typ_sch_srec* schema);
void typ_sch_publish_relations(typ_sch_srec* schema);
// 0x500005 unless the schema is under construction.
long typ_sch_check_construct(const char* proc, typ_sch_srec* schema);
