// Objects in a state: one entry per object the holder works with, tying a
// state-wide key to the object's id and its local object, with the flags
// that decide what the save writes.
#pragma once

#include <cstdio>

#include "client/ost/ost_ty.h"
#include "orb_api.h"

// Options of ost_obj_get.
constexpr long OST_OBJ_GET_ADD = 1;
constexpr long OST_OBJ_GET_NOMOD = 2;
constexpr long OST_OBJ_GET_NEW = 4;
constexpr long OST_OBJ_GET_CHANGE = 8;
constexpr long OST_OBJ_GET_DELETE = 32;
constexpr long OST_OBJ_GET_DEL1 = 64;
constexpr long OST_OBJ_GET_DEL2 = 128;

// Modes of adding one object.
constexpr long OST_ADD_KEEP_GIVEN = 0;
constexpr long OST_ADD_KEEP_STATE = 1;
constexpr long OST_ADD_FREE_GIVEN = 2;
constexpr long OST_ADD_REFUSE = 4;

ORB_API long ost_obj_create(const char* owner, ost_ty_state* state, long type_id, dbs_ty_lobj** handle);
ORB_API long ost_obj_add_local(ost_ty_state* state, dbs_ty_lobj* handle, long* key);
ORB_API long ost_obj_add(ost_ty_state* state, dbs_ty_lobj* handle, long options);
ORB_API long ost_obj_delete(ost_ty_state* state, dbs_ty_lobj* handle, long options);
ORB_API long ost_obj_get(ost_ty_state* state, dbs_ty_lobj* handle, long options);
ORB_API long ost_obj_get_into(ost_ty_state* state, dbs_ty_lobj* handle, obj_id* id, long options);
ORB_API long ost_obj_remove(ost_ty_state* state, dbs_ty_lobj* handle, long options);
ORB_API long ost_obj_free(ost_ty_state* state, dbs_ty_lobj* handle);
ORB_API long ost_obj_free_remote(ost_ty_state* state, dbs_ty_lobj* handle);
ORB_API long ost_obj_add_col(ost_ty_state* state, utl_ty_col* handles, utl_ty_col** keys);
ORB_API long ost_obj_add_col_option(ost_ty_state* state, utl_ty_col* handles, utl_ty_col** keys, long options);
ORB_API long ost_obj_find_byid(ost_ty_state* state, const obj_id* id, long options, long* key, dbs_ty_lobj** handle);
ORB_API long ost_obj_find_bykey(ost_ty_state* state, long key, long options, obj_id* id, dbs_ty_lobj** handle);
ORB_API long ost_obj_find_byhandle(ost_ty_state* state, dbs_ty_lobj* handle, long options, long* key, obj_id* id);
ORB_API ost_ty_state* ost_obj_find_root(ost_ty_state* state);
ORB_API long ost_obj_get_readonly(ost_ty_state* state, long key, const obj_id* id, long options,
                                  dbs_ty_lobj** handle, long* out_key);
ORB_API long ost_obj_get_modifiable(ost_ty_state* state, long key, const obj_id* id, long options,
                                    dbs_ty_lobj** handle, long* out_key);
ORB_API long ost_obj_get_mod_byhndl(ost_ty_state* state, dbs_ty_lobj** handle, long options);
ORB_API long ost_obj_is_modified(ost_ty_state* state, long key, const obj_id* id, dbs_ty_lobj* handle, long set,
                                 long clear, long* modified, long* modifiable);
ORB_API long ost_obj_set_modified(ost_ty_state* state, long key, long on);
ORB_API long ost_obj_set_mod_byhndl(ost_ty_state* state, dbs_ty_lobj* handle, long on);
ORB_API long ost_obj_get_keys(ost_ty_state* state, long* count, ost_ty_obj_entry** entries);
ORB_API long ost_obj_get_desc(ost_ty_state* state, dbs_ty_lobj* handle, const obj_id* id, const char** text);
ORB_API long ost_obj_checkpoint(ost_ty_state* state, ost_ty_obj_entry* entry);
ORB_API long ost_obj_promote(ost_ty_state* state, ost_ty_obj_entry* entry);
ORB_API long ost_obj_cond_add(ost_ty_state* state, dbs_ty_lobj* handle, const ost_ty_cond* condition);
ORB_API long ost_obj_cond_remove(ost_ty_state* state, long identifier);
ORB_API long ost_obj_new_preserve_id(dbs_ty_lobj* handle, long on);
ORB_API long ost_obj_get_next_key(long* key);
ORB_API long ost_obj_set_next_key(long key);
ORB_API long ost_obj_free_handle(const char* caller, dbs_ty_lobj* handle);

ORB_API long ost_obj_init();
ORB_API long ost_obj_term();

// The entry compare and print procedures of type 607.
long ost_obj_entry_cmp(const void* probe, const void* entry);
long ost_obj_entry_print(FILE* stream, long indent, const void* entry, long type_id, long number);

// Adds one object (add-one): null handle does nothing; see the modes above.
long ost_obj_add_one(ost_ty_state* state, dbs_ty_lobj* handle, long* key, long flags, long mode);
// Appends an entry (key, id, flags) to the state and each ancestor up to,
// not including, `stop` (null: through the root); only the first holds the
// handle. With stop == state nothing is appended.
long ost_obj_add_chain(ost_ty_state* state, ost_ty_state* stop, long key, const obj_id& id, dbs_ty_lobj* handle,
                       long flags);
// The index of the entry holding the handle, or -1.
long ost_obj_index_of_handle(ost_ty_state* state, dbs_ty_lobj* handle);
// The index of the entry matching the probe (key, id, handle), or -1.
long ost_obj_index_of(ost_ty_state* state, long key, const obj_id& id, dbs_ty_lobj* handle);
