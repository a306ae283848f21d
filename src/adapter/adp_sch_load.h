// The adapter's schema loading and writing calls that the object store and
// the schema model make at database open and when a schema is written.
// Implemented by the adapter.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_rrec;
struct typ_sch_frec;
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
// One adp_sch_info row per field, in a transaction of its own.
ORB_API long adp_sch_write_fields(KAdpConnId* con, typ_sch_srec* schema, long count, typ_sch_frec* fields);
// Replaces the type's adp_sch_rel_info rows, in a transaction of its own.
ORB_API long adp_sch_write_rels(KAdpConnId* con, typ_sch_srec* schema);
// Renames the type in the dictionary and writes its field and relation rows
// again.
ORB_API long adp_sch_update(KAdpConnId* con, typ_sch_srec* schema);
// The link table (many-to-many) or the foreign-key column(s) of a relation.
ORB_API long adp_sch_rel_create(KAdpConnId* con, typ_sch_rrec* rel);
// Table DDL: the type's table, a unique index named after a base name, the
// unique index of a link table, one new column of a type's table.
ORB_API long adp_sch_create_table(KAdpConnId* con, typ_sch_srec* schema, const char* table);
ORB_API long adp_sch_create_cluster_index(KAdpConnId* con, const char* base, const char* columns, long a, long b,
                                          long option);
ORB_API long adp_sch_create_mtm_index(KAdpConnId* con, typ_sch_rrec* rel, long flag);
ORB_API long adp_sch_field_create(KAdpConnId* con, const char* type_name, const char* column, long db_type,
                                  long length, long precision, long scale);
// Catalogue probes: a column of a table; a type's binary-array tables (a new
// collection of texts, type 516, that the caller frees).
ORB_API long adp_sch_does_col_exist(KAdpConnId* con, const char* table, const char* column, char* exists);
ORB_API long adp_sch_get_barray_tables(KAdpConnId* con, const char* type_name, utl_ty_col** tables);
// The DDL file the Oracle statements are also printed into: opened by the
// current connection's dialect (its result), closed (0).
ORB_API long adp_sch_open_ddl_file();
ORB_API long adp_sch_close_ddl_file();
ORB_API long adp_sch_delete_type(KAdpConnId* con, long type_id, const char* name);
ORB_API long adp_sch_delete_view(KAdpConnId* con, long type_id, const char* name);
ORB_API long adp_ind_create(KAdpConnId* con, typ_sch_srec* schema);
// The same, each statement also written to `stream` under the table-change
// engine's options (adp_ind_create: no stream, options 0).
ORB_API long adp_ind_create_declared(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options);
