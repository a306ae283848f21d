// Object states: the unit of work of the client library. A state holds the
// objects a caller read, created, changed or marked for deletion, the
// relations made or broken between them, a cache of relations known to be
// stored, save conditions, application data and 19 callback slots. Its save
// writes everything in one batch inside one database transaction, creating
// object ids for new objects first and retrying on deadlock.
//
// Threads: the list of live states, the class and default callbacks, the
// retry count and the id requests are process-wide, for one caller at a time.
#pragma once

#include <cstdio>

#include "client/ost/ost_ty.h"
#include "orb_api.h"

// Save options.
constexpr long OST_SAVE_APPL_TRN = 1;
constexpr long OST_SAVE_FREE = 8;
constexpr long OST_SAVE_CHECKPOINT = 16;
constexpr long OST_SAVE_ALWAYS = 32;
constexpr long OST_SAVE_CACHE_RELS = 64;

// Answer of slot 17 that ends a save at once, without clean-up.
constexpr long OST_SAVE_STOP = 101;

ORB_API long ost_state_create(const char* name, KAdpConnId* db_con, long num_callbacks,
                              const ost_ty_cb_triple* callbacks, const void* app_data, long app_data_size,
                              ost_ty_state** out);
// A null state installs into the class callbacks.
ORB_API long ost_state_install_callback(ost_ty_state* state, long count, const ost_ty_cb_triple* triples);
ORB_API long ost_state_set_default_cbs(long count, const ost_ty_cb_triple* triples);
// 1 when a function is installed in the state's own slot.
ORB_API long ost_state_has_callback(ost_ty_state* state, long slot);
ORB_API long ost_state_do_callback(ost_ty_state* state, long slot, long a1, long a2, long a3, long* answer);
ORB_API long ost_state_get_app_data(ost_ty_state* state, void** data, long* size);
ORB_API long ost_state_set_app_data(ost_ty_state* state, const void* data, long size);

ORB_API long ost_state_check(ost_ty_state* state);
ORB_API long ost_state_verify(ost_ty_state* state);
ORB_API long ost_state_save(ost_ty_state* state, long options);
ORB_API long ost_state_checkpoint(ost_ty_state* state);
ORB_API long ost_state_commit(ost_ty_state* state, long options);
ORB_API long ost_state_rollback(ost_ty_state* state);
ORB_API long ost_state_close(ost_ty_state* state, long options, long* cancelled);
ORB_API long ost_state_abort(ost_ty_state* state, long options);
ORB_API long ost_state_create_ids(ost_ty_state* state, KAdpConnId* db_con, utl_ty_col* requests);

ORB_API long ost_state_count(ost_ty_state* state, long type, long* count);
ORB_API long ost_state_get_obj_by_index(ost_ty_state* state, long index, long type, dbs_ty_lobj** handle,
                                        long* found);
ORB_API long ost_state_get_db_con(ost_ty_state* state, KAdpConnId** db_con);
ORB_API long ost_state_num_retries();
ORB_API long ost_state_set_num_retries(long n);
// The next n batch runs are told to fail (a test aid of the write batch).
ORB_API long ost_state_db_fail(long n);
ORB_API long ost_state_change_to_exists(dbs_ty_lobj* object);

ORB_API long ost_state_init();
ORB_API long ost_state_term();

// The names of the callback slots, as dumps print them.
extern const char* const ost_state_cb_names[OST_NUM_CALLBACKS];

// The first live state of the module's list (newest first), or null.
ost_ty_state* ost_state_first();
// Links a top-level state under a parent (first child). Nesting is not made
// by any call of the library; this is the one way to make a child state.
long ost_state_link_child(ost_ty_state* parent, ost_ty_state* child);
// Frees a state: its objects, collections, cache and data; unlinks it.
long ost_state_free(ost_ty_state* state);
// Puts one object entry into the pending write batch (or asks for its id).
long ost_state_put_object(ost_ty_state* state, long index);
// Clears the class and default callbacks.
void ost_state_clear_callbacks();
// Reloads the counts and arrays of the object and relation collections.
void ost_state_reload(ost_ty_state* state);
