// Relations in the schema model: the global relation records, each schema's
// relation entries, the pairing of a relation with its inverse, link-table
// names, renaming and deletion, optional relations and the look-ups.
#pragma once

#include "orb_api.h"

#include "schema/typ_rec.h"

struct obj_id;
struct utl_ty_col;
struct adp_rel_batch_item;

ORB_API long typ_sch_define_a_rel(typ_sch_srec* schema, const char* name, long rel_type,
                                  const char* target, long gen_id, long position, long* out_position,
                                  const char* inverse, long exclusive, const char* phys_name,
                                  const char* focus_field, const char* comment, const char* old_name,
                                  unsigned long flags, const char* excl_set);
ORB_API long typ_sch_define_rel(typ_sch_srec* schema, const char* name, long rel_type,
                                const char* target, long gen_id, long* out_position,
                                const char* inverse, long exclusive, const char* phys_name,
                                const char* focus_field, const char* comment, const char* old_name,
                                unsigned long flags, const char* excl_set);
ORB_API long typ_sch_rel_check();
ORB_API long typ_sch_rename_rel(typ_sch_srec* schema, const char* old_name, const char* new_name,
                                typ_sch_srec** other);
ORB_API long typ_sch_delete_rel(typ_sch_srec* schema, const char* name, typ_sch_srec** other);
ORB_API long typ_sch_add_relind(typ_sch_srec* schema, long position, typ_sch_rel_inst* entry);
ORB_API long typ_sch_define_mtm_table(const char* name_a, long type_a, long spec_a, const char* name_b,
                                      long type_b, long spec_b, char** out);

ORB_API long typ_sch_add_optional_rel(typ_sch_srec* schema, long position, typ_sch_rel_inst* entry);
ORB_API long typ_sch_get_optional_rels(long* count, typ_sch_opt_rel** array);
ORB_API long typ_sch_get_optional_objid(long type_word, obj_id* id);
ORB_API long typ_sch_assert_optional_rel(obj_id* id, utl_ty_col* batch, long position);
ORB_API long typ_sch_is_rel_in_batch(const obj_id* id, long position, long count,
                                     adp_rel_batch_item* const* items, long* index, long* is_unrelate);
// Before the adapter runs a relation batch: queues the default relate of
// every registered optional relation that a queued object would otherwise
// leave unset (a created object without a change of that relation, or one
// whose queued change is an unrelate, which is removed). Both collections
// hold pointers to the adapter's queue items.
ORB_API long typ_sch_fix_optional_rels(utl_ty_col* objects, utl_ty_col* batch);
long typ_sch_free_optional_rels();

ORB_API long typ_sch_find_relation_index(const char* type_name, long type_id, const char* rel_name,
                                         long* rel_index, typ_sch_rrec** rel, long* position,
                                         long* is_primary);
ORB_API long typ_sch_rel_name_to_id(long type_id, const char* type_name, const char* rel_name,
                                    long* spec_id, long* target_type);
ORB_API long typ_sch_get_rel_info(typ_sch_srec* schema, long type_id, const char* type_name,
                                  long rel_id, const char** name, long* target_type, long* is_mtm,
                                  long* to_one, long* holds_key, typ_sch_rrec** rel);
ORB_API const char* typ_sch_get_rel_name(long type_id, const char* type_name, long index);
ORB_API long typ_sch_get_related(long type_id, const char* type_name, long index, const char** name,
                                 long* target_type, typ_sch_iblk** target_info);
ORB_API long typ_sch_get_related_type(long type_id, const char* type_name, long index,
                                      long* target_type, char** target_name, long* inverse_spec);
ORB_API long typ_sch_get_rel_indexes(long type_id, long* count, void*** array);
ORB_API long typ_sch_find_temp_rel(long index, typ_sch_rrec** rel);
ORB_API const char* typ_sch_get_prel_name(const typ_sch_rrec* rel);
ORB_API const char* typ_sch_get_frel_name(const typ_sch_rrec* rel);
ORB_API long typ_sch_get_prel_id(const typ_sch_rrec* rel);
ORB_API long typ_sch_get_frel_id(const typ_sch_rrec* rel);
ORB_API typ_sch_srec* typ_sch_get_rel_pschema(const typ_sch_rrec* rel);
ORB_API typ_sch_srec* typ_sch_get_rel_fschema(const typ_sch_rrec* rel);
ORB_API typ_sch_srec* typ_sch_get_schema_by_relind(long index);
ORB_API long typ_sch_is_rel_mtm(const typ_sch_rrec* rel);
ORB_API long typ_sch_is_rel_oto(const typ_sch_rrec* rel);
ORB_API long typ_sch_is_primary_rel(const typ_sch_rel_inst* entry);
ORB_API long typ_sch_get_relation_inst(typ_sch_srec* schema, long position, typ_sch_rel_inst** entry);
ORB_API long typ_sch_get_relation_obj(typ_sch_srec* schema, long position, typ_sch_rrec** rel);
ORB_API long typ_sch_get_relation_aliases(typ_sch_srec* schema, long position, const char** name1,
                                          const char** name2);
ORB_API long typ_sch_num_relsP(typ_sch_srec* schema, long* count);
ORB_API long typ_sch_rels_cmp(const void* a, const void* b);
ORB_API long typ_sch_ro_cmp(const void* a, const void* b);

// The relation record of an entry: its stored pointer, else by its index.
typ_sch_rrec* typ_sch_entry_rel(const typ_sch_rel_inst* entry);
// The own-side name of an entry ("" when it has no record).
const char* typ_sch_entry_name(const typ_sch_rel_inst* entry);
// The schema on the other side of an entry (by schema index), or null.
typ_sch_srec* typ_sch_entry_other(const typ_sch_rel_inst* entry);
