// Local objects: the in-memory copy of one database object (or sub-object)
// of a schema type, with one value slot and one dirty byte per field, a flag
// word, a string pool and a reference count.
//
// Threads: the debug list and the counters are process-wide and unguarded.
#pragma once

#include <cstdio>

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_pool;
struct utl_ty_col;

constexpr long DBS_TY_LOBJ = 558;
constexpr long DBS_TY_OID = 594;
constexpr long DBS_TY_ANY_OBJECT = 634;
constexpr long DBS_OID_TYPE_MASK = 0x1ffff;

// Flag bits.
constexpr long DBS_OBJ_PERM = 1;

// A slot holds the value itself for fields with field flag 16 (a long) and
// otherwise a pointer to the value, held in the object's pool.
union dbs_ty_slot {
  long l;
  void* p;
};

struct dbs_ty_lobj {
  typ_sch_srec* schema;
  long flags;
  dbs_ty_slot* slots;
  unsigned char* dirty;
  void* uptr;
  utl_ty_pool* pool;
  dbs_ty_lobj* next;  // debug list
  long ref_count;
};

ORB_API long dbs_obj_init();
ORB_API long dbs_obj_term();

// Making and freeing.
ORB_API long dbs_obj_make(void* pool, long type_id, dbs_ty_lobj** out);
ORB_API long dbs_obj_free_local(const char* caller, dbs_ty_lobj* object);
ORB_API long dbs_obj_free_norel(void* pool, dbs_ty_lobj* object);
ORB_API long dbs_obj_get_ref(dbs_ty_lobj* object, long* count);
ORB_API long dbs_obj_set_ref(dbs_ty_lobj* object, long count);
ORB_API long dbs_obj_incr_ref(dbs_ty_lobj* object);
ORB_API long dbs_obj_incr_refs(dbs_ty_lobj* object, long n);
ORB_API long dbs_obj_chk_lobj(dbs_ty_lobj* object);
ORB_API long dbs_obj_chk_valid_obj(dbs_ty_lobj* object);
ORB_API long dbs_obj_clear(dbs_ty_lobj* object);
ORB_API long dbs_obj_reset_fields(dbs_ty_lobj* object, char keep_decimals);
ORB_API long dbs_obj_free_local_col(void* pool, utl_ty_col* col);
ORB_API long dbs_obj_reset_local_col(utl_ty_col* col);
ORB_API long dbs_obj_move(dbs_ty_lobj* destination, dbs_ty_lobj* source);

// Flags and dirty marks.
ORB_API long dbs_obj_set_flag(dbs_ty_lobj* object, long bits, char on);
ORB_API long dbs_obj_get_flag(dbs_ty_lobj* object, long bits, char* out);
ORB_API long dbs_obj_is_temp(dbs_ty_lobj* object);
ORB_API long dbs_obj_make_perm(dbs_ty_lobj* object, char perm);
ORB_API long dbs_obj_change_to_new(dbs_ty_lobj* object);
ORB_API long dbs_obj_check_dirty(dbs_ty_lobj* object, char* out);
ORB_API long dbs_obj_mark_dirty(dbs_ty_lobj* object, char dirty);

// Ids and identity.
ORB_API long dbs_obj_oid_get(dbs_ty_lobj* object, obj_id* out);
ORB_API long dbs_obj_oidcmp(const void* a, const void* b);
ORB_API long dbs_obj_are_same_obj(dbs_ty_lobj* a, dbs_ty_lobj* b, char* out);
ORB_API long dbs_obj_type(dbs_ty_lobj* object, long* type_id);
ORB_API typ_sch_srec* dbs_obj_get_schema(dbs_ty_lobj* object);
ORB_API utl_ty_pool* dbs_obj_get_pool(dbs_ty_lobj* object);
ORB_API long dbs_obj_uptr_set(dbs_ty_lobj* object, void* uptr);
ORB_API long dbs_obj_uptr_get(dbs_ty_lobj* object, void** uptr);
ORB_API long dbs_obj_allocate(dbs_ty_lobj* object, long n, void** out);
ORB_API long dbs_obj_update_schema(dbs_ty_lobj* object, long type_id);
ORB_API long dbs_obj_num_created();
ORB_API long dbs_obj_set_obj_debug(long mode);
ORB_API long dbs_obj_set_show(char show);
ORB_API long dbs_obj_find_field_id(dbs_ty_lobj* object, const char* name, long* spec_id);
ORB_API long dbs_obj_find_field_name(dbs_ty_lobj* object, long field_id, const char** name);
ORB_API long dbs_obj_id_to_oid_col(utl_ty_col* numbers, long type_id, utl_ty_col* ids);
ORB_API long dbs_obj_chk_name(const char* name);
ORB_API long dbs_obj_chk_type(long type_id);

// Database operations.
ORB_API long dbs_obj_create(KAdpConnId* con, dbs_ty_lobj* object, obj_id* out);
ORB_API long dbs_obj_create_with_id(KAdpConnId* con, obj_id* id, dbs_ty_lobj* object, char wrap);
ORB_API long dbs_obj_create_subobject(KAdpConnId* con, obj_id* parent, dbs_ty_lobj* object);
ORB_API long dbs_obj_get(KAdpConnId* con, obj_id* id, long option, dbs_ty_lobj** object);
ORB_API long dbs_obj_put(KAdpConnId* con, dbs_ty_lobj* object);
// Adds 1 to a numeric field in the database (the row by key column and key
// text, or by object number when the key is empty) in a transaction of its
// own; *out the new value. A deadlock is 0x70002b, no row 0x600004.
// The type id and field text of the last unique-key violation.
ORB_API long dbs_obj_not_unique_fields(long* type_id, const char** fields);
// Does nothing; 0.
ORB_API long dbs_obj_get_multi_fk_cols_sql();
ORB_API long dbs_obj_incr_field(KAdpConnId* con, long type_id, const char* key, const char* key_column, long number,
                                const char* field, long* out);
ORB_API long dbs_obj_put_options(KAdpConnId* con, dbs_ty_lobj* object, long options);
ORB_API long dbs_obj_delete(KAdpConnId* con, obj_id* id);
ORB_API long dbs_obj_delete_force(KAdpConnId* con, obj_id* id);
ORB_API long dbs_obj_exist(KAdpConnId* con, obj_id* id, char* out);
// Reads of an SQL batch: the objects of the current result set appended to
// objects (the adapter's multi-object read buffer), or only their numbers.
ORB_API long dbs_obj_get_from_buf(KAdpConnId* con, void* batch, long type_id, void* constructor,
                                  utl_ty_col* objects);
ORB_API long dbs_obj_get_id_from_buf(KAdpConnId* con, void* batch, long type_id, utl_ty_col* ids);
ORB_API long dbs_obj_order_by_id(utl_ty_col* ids, long first, long last, utl_ty_col* objects);
// The objects of ids first..last of the type, in the order of the ids, into
// the empty object collection (else 0x70001e); option 1 reads without locks
// where the server allows it.
ORB_API long dbs_obj_get_col_order_by_id2(KAdpConnId* con, long type_id, utl_ty_col* ids, long first, long last,
                                          utl_ty_col* objects, long option);

// Printing.
ORB_API long dbs_obj_print(dbs_ty_lobj* object, long options, FILE* stream);
ORB_API long dbs_obj_dump_all(FILE* stream, long indent);
ORB_API long dbs_obj_oid_print_val(FILE* stream, long indent, const void* id, long type_id, long number);

// Copying and comparing.
ORB_API long dbs_obj_copy(dbs_ty_lobj* source, dbs_ty_lobj** out);
ORB_API long dbs_obj_copy_no_make(dbs_ty_lobj* source, dbs_ty_lobj* destination);
ORB_API long dbs_obj_compare_objs(dbs_ty_lobj* a, dbs_ty_lobj* b, long options, char* same);

ORB_API long dbs_obj_get_col(KAdpConnId* con, utl_ty_col* ids, long option, utl_ty_col* objects);
ORB_API long dbs_obj_get_col_special(KAdpConnId* con, long type_id, utl_ty_col* ids, long option,
                                     utl_ty_col* objects);
ORB_API long dbs_obj_put_col(KAdpConnId* con, utl_ty_col* objects);
ORB_API long dbs_obj_free_remote(KAdpConnId* con, void* pool, dbs_ty_lobj* object);
ORB_API long dbs_obj_free_remote_col(KAdpConnId* con, void* pool, utl_ty_col* objects);
struct utl_ty_estr;
ORB_API long dbs_obj_dump_estr(dbs_ty_lobj* object, long ignored, long indent, utl_ty_estr** out);
ORB_API long dbs_obj_name_to_id(const char* type_name, const char* field_name, long* type_id, long* field_id,
                                void* info);
