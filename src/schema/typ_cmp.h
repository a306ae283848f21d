// Comparing the database's schema (saved before a compile) with the
// compiled one: types, fields, indexes and relations, written as a report
// and handed to a sink as difference records.
#pragma once

#include "orb_api.h"

#include <cstdint>

#include "schema/typ_diff.h"
#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_col;
struct typ_sch_saved;

constexpr unsigned long TYP_OPT_PRESERVE_USER = 0x4000;
constexpr unsigned long TYP_OPT_USE_LARGER_SIZE = 0x8000;

// An old field copied back into a new schema at another position. Kept in
// a collection of record type 689 (six longs, ordered by the first), so the
// record fills that type's element.
struct typ_sch_field_pos_chg {
  long type_id;
  long old_pos;
  long new_pos;
  long reserved[3];
};
extern utl_ty_col* typ_sch_field_pos_chg_col;
extern typ_sch_saved* typ_sch_saved_schema;

ORB_API long typ_sch_diffs(KAdpConnId* con, typ_sch_saved* saved, typ_ty_add_diff_proc sink, utl_ty_col* list,
                           unsigned long options, typ_sch_diff_out* out);
long typ_sch_diff_objs(typ_sch_diff_out* out, typ_sch_srec* schema, long added, long forced, typ_ty_add_diff_proc sink,
                       utl_ty_col* list, unsigned long options);
long typ_sch_diff_fields(typ_sch_diff_out* out, typ_sch_srec* old_schema, typ_sch_srec* new_schema,
                         typ_ty_add_diff_proc sink, utl_ty_col* list, unsigned long options);
long typ_sch_compare_a_field(typ_sch_diff_out* out, typ_sch_srec* old_schema, const typ_sch_frec* old_field,
                             typ_sch_srec* new_schema, const typ_sch_frec* new_field, char* modified,
                             char* schema_changed, unsigned long options, char* no_drop);
long typ_sch_diff_indexes(KAdpConnId* con, typ_sch_diff_out* out, typ_sch_srec* old_schema, long old_in_memory,
                          typ_sch_srec* new_schema, long new_in_memory, typ_ty_add_diff_proc sink, utl_ty_col* list,
                          unsigned long options);
long typ_sch_remove_no_drop_changes(utl_ty_col* list);
long typ_sch_preserve_all_cust_obj(utl_ty_col* old_schemas);
long typ_sch_add_cust_obj(typ_sch_srec* old_schema);
long typ_sch_add_cust_view(typ_sch_srec* old_view, typ_sch_srec* old_schemas, long nold);
// Defines the joins of v on the current view of that type id, aliases
// defaulting to the names of the schemas at the relation's indexes in
// names, and copies v's alias block.
long typ_sch_redefine_view_joins(long view_type_id, const typ_sch_srec* v, const typ_sch_srec* names, long nnames);

long typ_sch_diff_rels(typ_sch_diff_out* out, typ_sch_srec* old_schema, typ_sch_srec* new_schema,
                       typ_ty_add_diff_proc sink, utl_ty_col* list, unsigned long options);
long typ_sch_diff_a_rel(typ_sch_diff_out* out, typ_sch_srec* old_schema, typ_sch_rel_inst* old_entry,
                        typ_sch_srec* new_schema, typ_sch_rel_inst* new_entry, typ_ty_add_diff_proc sink,
                        utl_ty_col* list, unsigned long options);
long typ_sch_validate_grp_rel(typ_sch_diff_out* out, typ_sch_srec* old_schema, typ_sch_rel_inst* old_entry,
                              typ_sch_srec* new_schema, typ_sch_rel_inst* new_entry, typ_ty_add_diff_proc sink,
                              utl_ty_col* list, unsigned long options);
// Defines a relation in `schema` from an entry's summary (kept relations,
// preserved custom types) and optimises the model again.
long typ_sch_keep_rel(typ_sch_srec* schema, const typ_sch_rel_inst* entry);

// The relation record and the other side's schema of an entry of either
// model (a saved model's entries keep their own pointers).
typ_sch_rrec* typ_sch_cmp_rel(const typ_sch_rel_inst* entry);
typ_sch_srec* typ_sch_cmp_other(const typ_sch_rel_inst* entry);
