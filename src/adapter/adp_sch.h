// The adapter's schema calls that the schema model makes: the type cache,
// table names and view dictionary reads. Implemented by the adapter; the
// schema library only declares them (they meet in liborbisan.so).
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_rrec;
struct utl_ty_col;

// 1 when database table names need the table prefix.
ORB_API long adp_sch_require_prefix();
// The text unchanged in *out; 0.
ORB_API long adp_sch_tbl_name_prefix(const char* name, const char** out);
// Re-links the adapter's type cache with the current schema records.
ORB_API long adp_sch_types_sch_reinit();
ORB_API long adp_sch_set_comment_flag();
ORB_API long adp_sch_set_join_flag();
// The dialect's column type name of database types 0..11.
ORB_API const char* adp_sch_type_to_string(long db_type);
// The physical table name of a type from the type cache; 0x600006 when the
// type is not in the cache.
ORB_API long adp_sch_tbl_find(long type_id, const char** table);
// Loads a view's joins into the schema model.
ORB_API long adp_sch_fetch_joins(KAdpConnId* con, typ_sch_srec* view, char reload, char first_def,
                                 utl_ty_col** types, utl_ty_col** aliases);
// Loads the origins of all view fields.
ORB_API long adp_sch_fetch_org_view_fields(KAdpConnId* con, typ_sch_srec* view, utl_ty_col* types,
                                           utl_ty_col* aliases);
// A view's relation rows through the statement interface.
ORB_API long adp_sch_get_view_rel(KAdpConnId* con, typ_sch_srec* view, char reload,
                                  utl_ty_col** types, utl_ty_col** aliases, utl_ty_col* first,
                                  utl_ty_col* second);

// One loaded join n of a view: its relation record and the two aliases (an
// empty alias replaced by its side's type name); 1 when there is none.
ORB_API long adp_sch_get_join_info(KAdpConnId* unused, typ_sch_srec* view, long n, typ_sch_rrec** rel,
                                   const char** palias, const char** falias);
// The origins of all view fields through the statement interface.
ORB_API long adp_sch_fetch_view_fields(KAdpConnId* con, typ_sch_srec* view, utl_ty_col* types,
                                       utl_ty_col* aliases);

// The origin of a view field: its source schema, the source field's spec id
// and the alias of the source in the view (null schema: none).
ORB_API long adp_sch_view_field_info(KAdpConnId* con, typ_sch_srec* view, long index, typ_sch_srec** source,
                                     long* source_field, const char** alias);
