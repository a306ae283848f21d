// The in-memory database of the adapter double, switched on by the client
// suites (the schema and store suites keep the double's recording answers).
//
// Rows hold the field values of objects of the loaded model and the
// foreign-key columns of the relations held by a key; link rows hold the
// pairs of many-to-many relations. The adapter calls answer from it:
// object reads and writes, the write batch (applied within the double's
// transaction level and undone with it), relation reads, simple and
// relation queries, the SQL batch of the community fetch, foreign-key
// column reads and id numbers from the double's counters.
#pragma once

#include <string>
#include <vector>

#include "store/dbs_oid.h"

struct dbs_ty_lobj;
struct utl_ty_col;
struct typ_sch_rrec;

namespace adp_mem {

// The object store's calls the database makes on local objects. The double
// is also linked without the store (schema suite), so the client suite
// installs them when it switches the database on.
struct store_procs {
  long (*oid_get)(dbs_ty_lobj* object, obj_id* out);
  long (*set_local)(dbs_ty_lobj* object, long field, const void* value, char oid_ok);
  long (*mark_dirty)(dbs_ty_lobj* object, char dirty);
  long (*make_perm)(dbs_ty_lobj* object, char perm);
  long (*make)(void* pool, long type_id, dbs_ty_lobj** out);
  long (*free_local)(const char* caller, dbs_ty_lobj* object);
};

// Switches the database on with no rows (reset clears it and switches off).
void enable(const store_procs& procs);
bool on();
void reset();
// Texts compare without regard to case in conditions (a case-insensitive
// collation), off after reset.
void set_case_insensitive(bool on);

// Stores a row from a local object that holds its id (committed at once).
long insert(dbs_ty_lobj* object);
// Sets a foreign-key column of a row (by the column's name), committed.
void set_fk(const obj_id& row, const std::string& column, long number);
// Adds a link row of a many-to-many relation, committed.
void link(const typ_sch_rrec* rel, long primary_number, long foreign_number);

// Inspection.
bool has_row(const obj_id& id);
long row_count(long type_id);
long fk_of(const obj_id& row, const std::string& column);
long link_count(const typ_sch_rrec* rel, long primary_number, long foreign_number);
// A field of a row as text ("" when absent): longs in decimal, texts as they
// are, dates as "day/ticks", decimals as their digit text.
std::string field_text(const obj_id& row, long field);
// Write batches that ran, and SQL batches executed.
long batch_runs();
long sql_executions();
// The statements of the SQL batches, one text each in order of execution
// ("get 17/4", "simple 17 ...", "related 17/4 rel 1 ...", "ids ...").
const std::vector<std::string>& sql_log();
void clear_sql_log();
// Whether a transaction of the double is open with undo data.
long trn_level();
// Pass-through statements applied: the deletes "delete from <table> where
// <column> = <n>" (optionally " and objid NOT IN (...)"), alone or in a
// "BEGIN ... END;" block; a COMMIT in the text commits every open level.
long sql_command(const std::string& text);
long sql_commands();

// Entry points the double's adapter calls use (internal).
long obj_get(long type, long number, dbs_ty_lobj* object);
long obj_create(const obj_id& id, dbs_ty_lobj* object);
long obj_put(dbs_ty_lobj* object);
long obj_delete(const obj_id& id);
// Adds 1 to a long field of a row (committed at once); no row: 0x600004.
long incr_field(long type, long number, const std::string& field, long* out);
void queue_object(dbs_ty_lobj* object, char create, char del, long option);
void queue_relation(const obj_id& a, const obj_id& b, const obj_id& link_row, long rel_id, char relate);
// A relation written at once (the store's relate and unrelate outside a
// batch); rel_id belongs to whichever of the two objects owns it.
long relate_remote(const obj_id& primary, const obj_id& foreign, long rel_id, char relate);
long run_batch(char own_transaction, long inject);
void abort_batch();
void trn_begin();
void trn_commit();
void trn_rollback();
long related(dbs_ty_lobj* object, long rel_id, utl_ty_col* objects);
long related_ids(const obj_id& id, long rel_id, utl_ty_col* ids);
long related_id_to_id(const obj_id& a, long rel_id, const obj_id& b, char* related);
long fk_cols(long type, long number, long n, const char* const* columns, long* values);
long query(void* desc, long n_order, const void* orders, bool ids_only, utl_ty_col* out);
long count(void* desc, long* out);
long query_related(const obj_id& from, long rel_id, void* target_desc, long n_order, const void* orders,
                   bool ids_only, utl_ty_col* out);
long sql_add_get(long type, long number, bool ids_only);
long sql_add_simple(void* desc, long n_order, const void* orders, long flags);
long sql_add_related(void* from_desc, long rel_id, void* target_desc, long n_order, const void* orders, long flags);
long sql_add_sqlvar(long n);
long sql_start();
long sql_execute();
long sql_skip();
long sql_more(char* more);
long sql_read_objects(utl_ty_col* out);
long sql_read_ids(utl_ty_col* out);

}  // namespace adp_mem
