// The adapter's object SQL calls: object rows and object numbers for the
// object store, and the unique-key analysis the error mapping uses.
//
// Number ranges travel in collections of record type 594 (three longs):
// {type id, base, count}, a range standing for base + 1 .. base + count; the
// listing of the unused-number table fills {type id, count, 0}.
#pragma once

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct utl_ty_col;
struct dbs_ty_lobj;

struct adp_ty_oid_range {
  long type_id;
  long base;
  long count;
};

ORB_API long adp_obj_create(KAdpConnId* con, obj_id* id, dbs_ty_lobj* object);
ORB_API long adp_obj_get(KAdpConnId* con, long type_id, long number, long option, dbs_ty_lobj* object);
ORB_API long adp_obj_put_options(KAdpConnId* con, dbs_ty_lobj* object, long options);
ORB_API long adp_obj_delete(KAdpConnId* con, obj_id* id, long force);
ORB_API long adp_obj_exist(KAdpConnId* con, long type_id, long number, long option, char* out);
ORB_API long adp_obj_valid_number(long type_id, long unused);
ORB_API long adp_obj_subnumber(KAdpConnId* con, long* out);
// Adds 1 to a numeric field in the database, in a transaction of its own:
// the row whose key column equals the key text, or (key empty) the row of
// the object number; *out the new value. No row: alert 0x600004.
ORB_API long adp_obj_incr_field(KAdpConnId* con, long type_id, const char* key, const char* key_column, long number,
                                const char* field, long* out);

ORB_API long adp_obj_number_batch(KAdpConnId* con, long n, const long* type_ids, long* last, const long* counts);
ORB_API long adp_obj_atou_init(KAdpConnId* con, utl_ty_col* counts);
ORB_API long adp_obj_numbers_atou(KAdpConnId* con, utl_ty_col* ranges);
ORB_API long adp_obj_return_cache(KAdpConnId* con, utl_ty_col* ranges);
ORB_API long adp_obj_set_negative_number(KAdpConnId* con, long type_id, long last, long gap, long site_id);
ORB_API long adp_obj_oid_init(KAdpConnId* con, long type_id, long argument);

// The object-id procedure the adapter calls (the store installs its own).
using adp_ty_oid_get_proc = long (*)(dbs_ty_lobj* object, obj_id* out);
ORB_API long adp_obj_set_oid_get_proc(adp_ty_oid_get_proc proc);
// The stored object-id procedure, or null.
ORB_API adp_ty_oid_get_proc adp_obj_get_oid_get_proc();

// The administrator's login name.
ORB_API long adp_usr_admin_login_get(const char** login);

// Column-wise read of many objects of one type: ids holds object ids (the
// number in the second word) or, with flag 1, bare numbers.
ORB_API long adp_obj_get_col(KAdpConnId* con, long type_id, utl_ty_col* ids, long count, long options,
                             utl_ty_col* objects, long flag);
// Updates many objects of one type in one batch.
ORB_API long adp_obj_put_col(KAdpConnId* con, utl_ty_col* objects);

// The read buffer of a multi-object read: the list of result collections
// (type 517, one per read) and the index of the next one to hand out.
struct adp_ty_obj_buf {
  utl_ty_col* list;
  long next;
};
// Hands out the next collection of a multi-object read: its objects are
// appended to objects. type_id and constructor are not read.
ORB_API long adp_obj_get_from_buf(void* buffer, long type_id, void* constructor, utl_ty_col* objects);
// The foreign-key columns of one row into n longs (0 when the row is missing
// or the value is null); the _ex form selects column i's id column only where
// its type column holds wanted_types[i].
ORB_API long adp_obj_get_fk_cols(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                                 long* values);
ORB_API long adp_obj_get_fk_cols_ex(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                                    const char* const* type_columns, const char* const* id_columns,
                                    const long* wanted_types, long* values);
// SQL Server: the text of the read of n foreign-key columns of one row of
// the type into out: a procedure "create proc <proc> @the_id int as" that
// takes the number, or (proc null or empty) the direct statement for
// number; lock adds HOLDLOCK. Other servers write nothing (out empty).
// 0x600006 when the text does not fit size bytes.
ORB_API long adp_obj_get_fk_cols_sql(KAdpConnId* con, long type_id, long number, long n,
                                     const char* const* columns, const char* proc, long lock, char* out,
                                     long size);

// The table a local object is written to: the type's physical table, or a
// table of its own and / or another database ("db..table"), composed in the
// object's pool.
ORB_API long adp_sch_dest_tbl_find(dbs_ty_lobj* object, const char** table);
ORB_API long adp_sch_dest_tbl_compose(dbs_ty_lobj* object, const char* db_name, const char* table,
                                      const char** out);

// Updates: bit 32 of the options checks the modification stamp.
ORB_API long adp_obj_put(KAdpConnId* con, dbs_ty_lobj* object);
ORB_API long adp_obj_put_commit(KAdpConnId* con, dbs_ty_lobj* object, long options);
// The last unique-key violation: its type id and field text.
ORB_API long adp_obj_not_unique_fields(long* type_id, const char** fields);
// Pushes 0x70002c with the type name and field text of the last violation.
ORB_API long adp_obj_alert2();
ORB_API long adp_obj_get_multi_fk_cols_sql(...);
// Id tables: reset-free helpers.
ORB_API long adp_obj_number(KAdpConnId* con, long type_id, long* out);
// The object store's id allocation (dbs_obj_ids_create), unchanged.
ORB_API long adp_obj_numbers(KAdpConnId* con, long n, const long* type_ids, long* numbers);
ORB_API long adp_obj_set_number(KAdpConnId* con, long type_id, long number);
ORB_API long adp_obj_get_cur_obj_num(KAdpConnId* con, const char* type_id, long* out);
ORB_API long adp_obj_dummy_objid();
ORB_API long adp_obj_number_mult(...);

// Analyses a unique-key violation text through the current connection's
// dialect: the object type id (-1 when the table is no object type), the
// key's field names and the table (index) name. Without a connection or
// dialect: type -1 and empty names. 0 or the dialect's code.
ORB_API long adp_obj_not_unique_by_msg(char* message, long* type_id, char** columns, char** index_name);
