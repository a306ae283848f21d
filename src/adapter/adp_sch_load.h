// The adapter's schema loading and writing calls that the object store and
// the schema model make at database open and when a schema is written.
// Implemented by the adapter.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_rrec;
struct utl_ty_col;

// Registers the type-cache entry (764); the adapter's start-up calls it.
ORB_API long adp_sch_init();

// The type cache and the load from the dictionary; a non-null stream
// receives the blocks of the schema cache file.
ORB_API long adp_sch_alloc();
ORB_API long adp_sch_types_init(KAdpConnId* con, FILE* stream);
ORB_API long adp_sch_read_all(KAdpConnId* con, FILE* stream);
ORB_API long adp_sch_map_names(KAdpConnId* con);
ORB_API long adp_sch_types_clear();
ORB_API long adp_sch_type_insert(long type_id, long flags, const char* name);
ORB_API long adp_sch_type_info_get(long type_id, long* flags, const char** name, typ_sch_srec** schema);
ORB_API long adp_sch_types_sch_init();
// counts: collection of record type 594 {type id, field count, relation count}.
ORB_API long adp_sch_find_fld_rel_cnt(utl_ty_col* counts, long type_id, long* nfields, long* nrels);
ORB_API long adp_sch_shandle_find(long type_id, typ_sch_srec** schema);

// Writing a schema to the dictionary.
ORB_API long adp_sch_write(KAdpConnId* con, typ_sch_srec* schema, char with_rels, char* out);
ORB_API long adp_sch_rel_create(KAdpConnId* con, typ_sch_rrec* rel);
ORB_API long adp_sch_delete_type(KAdpConnId* con, long type_id, const char* name);
ORB_API long adp_sch_delete_view(KAdpConnId* con, long type_id, const char* name);
ORB_API long adp_ind_create(KAdpConnId* con, typ_sch_srec* schema);
