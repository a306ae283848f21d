// The adapter's schema-change calls that the object store's table-change
// engine makes: table, view, column, index, binary-array and trigger
// statements, table definitions and probes, and the upgrade journal.
// Statements take the caller's script stream (null: none) and option word
// (bit 0: write the statement to the script instead of running it).
// Implemented by the adapter; the store only declares them.
#pragma once

#include "orb_api.h"

#include <cstdio>

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_rrec;
struct utl_ty_col;
struct utl_ty_estr;
struct utl_ty_pool;
struct dbs_ty_tbl_change;
struct adp_ty_index_info;

// The deferred column-initialisation script: opened (the file, or
// "initcol.sql") with "/* SQL_BEGIN */" when on is 1, any open one closed
// first; 1 when it cannot be opened. adp_sce_term ends and closes it.
ORB_API long adp_sce_term();
// The open script, or null.
ORB_API FILE* adp_sce_defer_file();

// Table definitions and probes.
// CREATE TABLE text of a type under `table` (null: the type's own table).
ORB_API long adp_sch_table_def(KAdpConnId* con, typ_sch_srec* schema, const char* table, FILE* stream, char flag,
                               utl_ty_estr** text);
// CREATE TABLE text of a many-to-many link table, in a module buffer that
// the next call overwrites.
ORB_API const char* adp_sch_mtm_table_def(typ_sch_rrec* rel, long roamer);
ORB_API long adp_sch_does_tbl_exist(KAdpConnId* con, const char* name, char* exists);
// The dialect's catalogue reads: any object of the name; one column of a
// table (mode 0 asks the catalogue, else the whole table is read once into
// the dialect's cache; the last four addresses may be null); a stored
// procedure (list mode: through the adapter's procedure-name list, made
// once), with its source text when text is given.
ORB_API long adp_sch_does_view_exist(KAdpConnId* con, const char* name, char* exists);
ORB_API long adp_sch_get_col_info2(KAdpConnId* con, const char* table, const char* column, char mode,
                                   char* answered, char* found, long* length, long* type_code, char* nullable,
                                   long* column_number);
ORB_API long adp_sch_get_col_info(KAdpConnId* con, const char* table, const char* column, char mode, char* answered,
                                  char* found, long* length, long* type_code);
ORB_API long adp_sch_get_storedp(KAdpConnId* con, const char* name, char list_mode, char* answered, char* exists,
                                 char* text_read, utl_ty_estr** text);
ORB_API long adp_sch_does_table_have_data(KAdpConnId* con, const char* name, char* has_rows);
// Column type text ("%s", "%s(%ld)" or "%s(%ld, %ld)") into out[size].
ORB_API long adp_sch_convert_to_string(long db_type, long length, long precision, long scale, char* out, long size);
// The unique index on the object-id column of a type's table.
ORB_API long adp_sch_create_objid_index(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options);

// Default texts of new columns: "''" and the quoted default date.
ORB_API const char* adp_obj_default_string();
ORB_API const char* adp_obj_default_datetime();

// A run of schema changes.
ORB_API long adp_sce_prepare_for_changes();
ORB_API long adp_sce_finish_changes();
ORB_API long adp_sce_create_table(KAdpConnId* con, const char* table, const char* ddl, const char* template_table,
                                  FILE* stream, long options);
ORB_API long adp_sce_delete_table(KAdpConnId* con, const char* table, FILE* stream, long options);
ORB_API long adp_sce_rename_table(KAdpConnId* con, const char* old_name, const char* new_name, FILE* stream,
                                  long options);
ORB_API long adp_sce_delete_view(KAdpConnId* con, const char* view, FILE* stream, long options);
ORB_API long adp_sce_create_synonym(KAdpConnId* con, const char* name, FILE* stream, long options);
// Adds the columns of the list's add-column records (type 701) to the
// type's table; renames the columns of its rename records.
ORB_API long adp_sce_add_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream,
                                 long options);
ORB_API long adp_sce_rename_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream,
                                    long options);
ORB_API long adp_sce_make_table_searchable(KAdpConnId* con, typ_sch_srec* schema, const char* table, FILE* stream,
                                           long options);
// The kind of a table (always 2) and its number of rows (not read when
// size is null).
ORB_API long adp_sce_get_table_info(KAdpConnId* con, const char* table, long* kind, long* size);
// Oracle: the column made nullable (nulls 1) or not; done 1 once changed.
// SQL Server pushes 0x60002B (done 0); other servers do nothing.
ORB_API long adp_sce_allow_nulls(KAdpConnId* con, const char* table, const char* column, long nulls, char* done);
// Deletes the rows up to object id `highest`; with option bit 0 the
// statement goes to the script (or the SQL log) instead.
ORB_API long adp_sce_delete_lowend_rows(KAdpConnId* con, const char* table, long highest, FILE* stream,
                                        long options);
// Removes one column (a field, or a relation's columns) of a type's table
// by copying the table: every other column, its grants and its indexes are
// kept; the old table goes once the copy is in.
ORB_API long adp_sce_delete_col(KAdpConnId* con, typ_sch_srec* schema, const char* type_name, const char* column);
ORB_API long adp_sce_is_varlen();
// Copies the rows of `from` into `to`: target columns, their sources (an
// old column name or a value text) and per column 1 when the source is a
// value text (three parallel text lists, type 516), for the type's new
// record `schema`. Directly, or through a dump file; the dialect does it.
ORB_API long adp_sce_fill_table_from_table(KAdpConnId* con, const char* from, const char* to, utl_ty_col* targets,
                                           utl_ty_col* sources, utl_ty_col* is_value, FILE* stream, long options,
                                           typ_sch_srec* schema);
ORB_API long adp_sce_fill_file_from_table(KAdpConnId* con, const char* from, const char* to, utl_ty_col* targets,
                                          utl_ty_col* sources, utl_ty_col* is_value, FILE* stream, long options,
                                          typ_sch_srec* schema);
// Whether name is a field of the schema (id: the field's column-type code)
// or a relation of it on its own side (id 0); else found 0 and id -1.
ORB_API long adp_sce_find_field_or_rel(typ_sch_srec* schema, const char* name, char* found, long* id);
// Fills the columns of an exclusive group from an old foreign-key column.
ORB_API long adp_sce_upgrade_exclusive(KAdpConnId* con, const dbs_ty_tbl_change* change, const char* source,
                                       const char* target, FILE* stream, long options);
ORB_API long adp_sce_modify_flags(KAdpConnId* con, const dbs_ty_tbl_change* change);

// The upgrade journal: one row per step; the highest entry number so far.
ORB_API long adp_sce_insert_upgrade_ops(KAdpConnId* con, long objid, long version, long opcode,
                                        const char* object_name, const char* field_name, const char* details);
ORB_API long adp_sce_get_sequence(KAdpConnId* con, long* highest);

// Interactive additions to an existing type.
// The field types a new field may have: name, column type, value type,
// shortest and longest length (-1: no limit), variable length allowed.
struct adp_sce_dtype {
  const char* name;
  long db_type;
  long data_type;
  long min_length;
  long max_length;
  long var_length;
};
constexpr long ADP_SCE_NUM_DTYPES = 10;
extern const adp_sce_dtype adp_sce_dtypes[ADP_SCE_NUM_DTYPES];
// The relation kinds a new relation may have: name, this side's relation
// type, the inverse side's.
struct adp_sce_rel_kind {
  const char* name;
  long rel_type;
  long inverse_type;
};
constexpr long ADP_SCE_NUM_REL_KINDS = 4;
extern const adp_sce_rel_kind adp_rel_types[ADP_SCE_NUM_REL_KINDS];
// One new field: its name; the row of adp_sce_dtypes its type is (set by
// the call); the type's name; its length (1 for a number or a date);
// mandatory; variable length asked for; the value every existing row gets
// (a number, a text, a date; null or blank: 0, empty, the current time).
struct adp_sce_field_spec {
  const char* name;
  long type_index;
  const char* type_name;
  long length;
  long mandatory;
  long var_length;
  const char* default_text;
};
// One new relation: its name on this type, the kind's name, the target
// type's name, a comment (may be null) and the inverse's name on the target.
struct adp_sce_rel_spec {
  const char* name;
  const char* kind;
  const char* target;
  const char* comment;
  const char* inverse;
};
// Adds fields to the type (schema null: found by the type's name): every
// spec is checked before anything changes (a refusal is printed and gives
// 1); then each field joins the model, gets its column and every row its
// default; the new fields' dictionary rows are written in one transaction
// (the type's other rows are left alone). A failure after the first column
// leaves table, model and dictionary as they were (the columns made are
// dropped again).
ORB_API long adp_sce_add_fields(KAdpConnId* con, const char* type_name, typ_sch_srec* schema, long count,
                                adp_sce_field_spec* specs);
// Adds relations from the type (schema null: found by the type id) to
// existing types, one at a time: both ends defined in the model, the key
// column made, the relation's row of each type written in one transaction.
// Refusals as above; a failure leaves model and dictionary as they were
// for that relation (a key column already made stays, unused).
ORB_API long adp_sce_add_relations(KAdpConnId* con, long type_id, typ_sch_srec* schema, long count,
                                   const adp_sce_rel_spec* specs);
// The ten field-type names appended to names (texts, type 516); a new
// collection of the four relation-kind names (the caller frees it).
ORB_API long adp_sce_get_type_names(utl_ty_col* names);
ORB_API long adp_sce_get_rel_type_names(utl_ty_col** names);

// Indexes. A catalog record list holds the table's indexes as read from
// the database; a schema index list (type 517) one member list (type 516)
// per index: its name, then its field names, the flags in the extension.
ORB_API long adp_ind_add_index(KAdpConnId* con, typ_sch_srec* type, const char* name, utl_ty_col* fields, long flags,
                               FILE* stream, long options);
// The index names of a type (texts appended to `names`).
ORB_API long adp_ind_list_index(KAdpConnId* con, long type_id, utl_ty_col* names);
ORB_API long adp_ind_drop_an_index(KAdpConnId* con, long type_id, const char* name, FILE* stream, long options,
                                   long delete_row);
ORB_API long adp_ind_get_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records);
ORB_API long adp_ind_clean_sch_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records,
                                     utl_ty_col* schema_indexes);
ORB_API long adp_ind_drop_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, FILE* stream,
                                      long options);
// Recreates the records' indexes; the names of those that could not be
// rebuilt are appended to *failed (created when null).
ORB_API long adp_ind_build_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records,
                                       utl_ty_estr** failed, FILE* stream, long options);
// Rewrites the adp_sch_index rows of the records the schema declares (the
// type's index records other than the objid index; on Oracle only those
// named after the type, under their name without the type prefix).
ORB_API long adp_ind_build_adp_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, FILE* stream,
                                     long options);
ORB_API long adp_ind_free_res_ind_col(utl_ty_col* records);
// Fills a catalog record's column list (made when null) from the catalog:
// SQL Server by index id and key position, Oracle by index name.
ORB_API long adp_ind_fill_field_col(KAdpConnId* con, typ_sch_srec* type, adp_ty_index_info* record);

// Binary-array side tables.
ORB_API long adp_bar_create_with_name(KAdpConnId* con, const char* name, long gen_id);
// The side table's name of a type's array field, allocated from the pool.
ORB_API long adp_bar_table_name(const char* type_name, utl_ty_pool* pool, long gen_id, char** out);

// A table's triggers around a rebuild: read, run again, freed.
ORB_API long adp_stp_get_table_trigger(KAdpConnId* con, typ_sch_srec* schema, utl_ty_col** triggers);
ORB_API long adp_stp_build_table_trigger(KAdpConnId* con, long unused, utl_ty_col* triggers);
ORB_API long adp_stp_free_table_trigger(utl_ty_col* triggers);

// A line in the adapter's message log.
ORB_API long adp_db_log_msg(const char* format, ...);
