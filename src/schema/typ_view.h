// Views and joins: view fields and their sources, join definitions and their
// resolution at optimisation, the outer-join rule, join elimination, view
// copies and fetching a view's joins and fields through the adapter.
#pragma once

#include "orb_api.h"


#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_col;

ORB_API long typ_sch_define_sql(typ_sch_srec* view, const char* sql);
ORB_API long typ_sch_make_view_alias(typ_sch_srec* view, utl_ty_col* types, utl_ty_col* aliases);
// Resolved: src_schema / src_field are a schema index and a field position;
// unresolved: src_type_name / src_field_name name them.
ORB_API long typ_sch_make_vinfo(long src_schema, const char* src_type_name, long src_field,
                                const char* src_field_name, const char* alias, char unresolved,
                                typ_sch_vinfo** info);
ORB_API long typ_sch_find_vfield(long type_id, long ignored1, long spec_id, long ignored2,
                                 long* schema_index, long* position, typ_sch_frec** field);
ORB_API long typ_sch_add_vfield(typ_sch_srec* view, const char* name, char unresolved, long src_type_id,
                                const char* src_type_name, const char* alias, long src_spec_id,
                                const char* src_field_name, long gen_id, unsigned long flags,
                                const char* comment, long* position);
ORB_API long typ_sch_add_svfield(typ_sch_srec* view, const char* name, long kind, long* position,
                                 const char* src_type_name, const typ_sch_frec* tmpl);
ORB_API long typ_sch_define_join(typ_sch_srec* view, const char* first, const char* rel1, const char* second,
                                 const char* rel2, const char* text, long outer);
ORB_API long typ_sch_add_join_info(typ_sch_srec* view, long position, long rel_index, const char* palias,
                                   const char* falias, unsigned long flags, const char* text, long kind);
ORB_API long typ_sch_do_join(typ_sch_srec* view, utl_ty_col* types, utl_ty_col* aliases,
                             const typ_sch_join_def* def, long position);
ORB_API long typ_sch_alias_convert(long count, utl_ty_col* types, utl_ty_col* aliases, const char* name,
                                   const char** type_name, const char** alias);
ORB_API long typ_sch_check_outer_join(typ_sch_srec* view);
ORB_API long typ_sch_define_view(typ_sch_srec* view);

ORB_API long typ_sch_optimize_view();
ORB_API long typ_sch_optimize_one_view(typ_sch_srec* view);
ORB_API long typ_sch_mark_views_optimized();
ORB_API long typ_sch_view_schema_copy(typ_sch_srec* view, typ_sch_srec** copy);
ORB_API long typ_sch_view_schema_replicate(typ_sch_srec* view);

ORB_API long typ_sch_fetch_views_and_fld(KAdpConnId* con);

// The path from a root type to the source of a view field: the relation
// names joined by ':' read from the root, then ':' and the field name (the
// field name alone when the field is the root's). Empty when the view is
// unknown or the root cannot be reached over the view's joins; cut to size.
ORB_API long typ_sch_make_path_from_view(KAdpConnId* con, long view_type_id, long field_id, long root_type_id,
                                         char* path, long size);
ORB_API long typ_sch_fetch_all_views(KAdpConnId* con);
ORB_API long typ_sch_fetch_view_rel_info(KAdpConnId* con, long type_id, utl_ty_col** types,
                                         utl_ty_col** aliases, utl_ty_col* first, utl_ty_col* second);

// Frees the collections of a view copy (its records live in the name pool).
void typ_sch_view_copy_free(typ_sch_srec* copy);

struct utl_ty_estr;
// Searches the view's joins depth first from the source type `type_id`
// (known in the view under `alias`) to the root type, skipping joins marked
// in `used` (one byte per relation entry of the view; null: none) and
// exclusive relations. When the root is reached, *found is 1 and `path`
// holds the relation names from the root to the source, each as seen from
// the side nearer the root, joined by ":" (empty when the source is the
// root).
ORB_API long typ_sch_path_to_root(typ_sch_srec* view, long type_id, const char* alias, long root_type_id,
                                  char* used, utl_ty_estr* path, long* found);
