// Applying schema differences and the exported upgrade entry.
#pragma once

#include "orb_api.h"

#include "schema/typ_diff.h"
#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_col;
struct utl_ty_estr;

ORB_API long typ_sch_apply_diffs(KAdpConnId* con, utl_ty_col* list, unsigned long options);
ORB_API long typ_sch_diff_schemas(KAdpConnId* con, const char* file, unsigned long options, const char* report_file,
                                  utl_ty_col** list, utl_ty_estr** text, char* cut);
// Folds a list that carries no saved model into the current model: field,
// relation and flag changes; added types and recompiled views are made
// again from the records' other schema (member old_schema).
ORB_API long typ_sch_fold_in_changes(KAdpConnId* con, utl_ty_col* list, unsigned long options);
// A view made again in the current model from view (its name, type id,
// subject, description, SQL, fields, joins and alias block); not registered.
ORB_API long typ_sch_add_view(typ_sch_srec* view, typ_sch_srec** made);
// Frees a schema's field, special-field, relation and relation-index
// collections; flags 0, type id -2, empty name.
long typ_sch_empty_schema(typ_sch_srec* schema);
// The records of added types and recompiled views get their schema made
// again from their other schema.
long typ_sch_remake_types(utl_ty_col* list);
long typ_sch_set_mtm_table(typ_sch_srec* schema, const char* name, const char* table, typ_sch_srec** target);
long typ_sch_set_relid(typ_sch_srec* schema, const char* name, long side, long id);
long typ_sch_delete_types(KAdpConnId* con, utl_ty_col* ids, long mode);
// Marking what a sorted list of differences changes: the marks cleared
// first; then each record's current schema (member schema) marked with
// what changes, the relation records it names found in the current model
// or in before (the model before the change), and the deleted types' ids
// pushed to deleted; then every view whose base types or relations changed
// marked, its fields taking their source fields' storage again.
void typ_sch_clear_marks();
long typ_sch_mark_diffs(utl_ty_col* list, bool table_rewrite, typ_sch_rrec* before, long nbefore,
                        utl_ty_col* deleted);
void typ_sch_mark_views();
long typ_sch_has_views_obj_changed(typ_sch_srec* view, char* changed);
// The whole compile: the new model, then upgrade (option 1: compare and
// apply) or direct mode (write the schemas).
ORB_API long typ_bld_compile(KAdpConnId* con, const char* file_name, unsigned long options, long write_mode,
                             utl_ty_col** diffs, typ_sch_diff_out* context);
