// Records of the object-state engine: the state, its object entries,
// relation entries, cached permanent relations and save conditions, the
// callbacks, and the traversal levels of the community fetch.
#pragma once

#include "client/cpi_ty.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct utl_ty_col;

// Registry type ids.
constexpr long OST_TY_STATE = 606;
constexpr long OST_TY_OBJ = 607;
constexpr long OST_TY_REL = 608;
constexpr long OST_TY_ID_REQ = 689;
constexpr long OST_TY_WORK = 696;
constexpr long OST_TY_PERM = 706;
constexpr long OST_TY_COND = 795;

constexpr long OST_NUM_CALLBACKS = 19;
constexpr long OST_MAX_SLOT = OST_NUM_CALLBACKS - 1;

// Callback slots.
enum : long {
  OST_CB_CLOSE = 0,
  OST_CB_UPDATE_CHILD = 1,
  OST_CB_QUIT_OBJECTS = 9,
  OST_CB_QUIT_RELATIONS = 10,
  OST_CB_MERGE_OBJECTS = 11,
  OST_CB_SAVE_STATE = 12,
  OST_CB_SAVE_OBJECT = 13,
  OST_CB_SAVE_FAILED = 14,
  OST_CB_PRIOR_TO_COMMIT = 15,
  OST_CB_AFTER_COMMIT = 16,
  OST_CB_BEFORE_SAVE = 17,
  OST_CB_AFTER_IDS = 18,
};

// State flags.
constexpr long OST_ST_CHECKPOINTED = 1;
constexpr long OST_ST_SAVING = 2;

// Object entry flags.
constexpr long OST_OBJ_MODIFIABLE = 0x001;
constexpr long OST_OBJ_CHILD_HELD = 0x002;
constexpr long OST_OBJ_MODIFIED = 0x004;
constexpr long OST_OBJ_REFERENCE = 0x008;
constexpr long OST_OBJ_AT_CHECKPOINT = 0x010;
constexpr long OST_OBJ_NEW_ID = 0x020;
constexpr long OST_OBJ_DELETE = 0x040;
constexpr long OST_OBJ_DEL_MODE1 = 0x100;
constexpr long OST_OBJ_DEL_MODE2 = 0x200;

// Relation entry flags.
constexpr long OST_REL_RELATE = 0x01;
constexpr long OST_REL_UNRELATE = 0x02;
constexpr long OST_REL_TO_HNDL = 0x04;
constexpr long OST_REL_TO_ID = 0x08;
constexpr long OST_REL_FROM_HNDL = 0x10;
constexpr long OST_REL_FROM_ID = 0x20;

struct ost_ty_state;

// A callback: (state, three arguments, registered argument, answer word).
using ost_ty_callback = long (*)(ost_ty_state* state, long a1, long a2, long a3, long arg, long* answer);

struct ost_ty_cb_triple {
  long slot;
  ost_ty_callback proc;
  long arg;
};

// One object entry (type 607).
struct ost_ty_obj_entry {
  long key;  // -1 in a search probe: no key
  obj_id id;
  dbs_ty_lobj* handle;
  long flags;
};

// One relation entry (type 608): each side by handle or by id.
struct ost_ty_rel_entry {
  dbs_ty_lobj* from_handle;
  obj_id from_id;
  dbs_ty_lobj* to_handle;
  obj_id to_id;
  long flags;
  long rel;
  obj_id row_id;  // the relation row's own id (offline feature), else zero
};

// One cached permanent relation (type 706).
struct ost_ty_perm_rel {
  long rel;
  obj_id from;
  obj_id to;
};

// One save condition (type 795): three words, the first identifies it.
struct ost_ty_cond {
  long words[3];
};

// The object state (type 606); a named state's text follows the record.
struct ost_ty_state {
  KAdpConnId* db_con;
  char* name;
  long flags;
  long num_objects;
  ost_ty_obj_entry* object_array;
  utl_ty_col* object_col;
  utl_ty_col* saved_object_col;
  long num_relations;
  ost_ty_rel_entry* rel_array;
  utl_ty_col* rel_col;
  utl_ty_col* saved_rel_col;
  long num_perm_rels;
  ost_ty_perm_rel* perm_rel_array;
  utl_ty_col* perm_rel_col;
  utl_ty_col* cond_col;
  long app_data_size;
  void* app_data;
  ost_ty_callback callbacks[OST_NUM_CALLBACKS];
  long callback_args[OST_NUM_CALLBACKS];
  ost_ty_state* child;
  ost_ty_state* sibling;
  ost_ty_state* parent;
  ost_ty_state* next;
  utl_ty_col* retired_col;  // handles of entries a save let go of, freed with the state
};

// A condition of a traversal level, in the object store's condition codes
// (field id, operator, value word).
struct ost_ty_trav_cond {
  long field;
  long op;
  long value;
};

// An ordering of a traversal level.
struct ost_ty_trav_order {
  long field;
  char descending;  // 1 descending
};

// Traversal level flags.
constexpr long OST_LVL_CACHE = 2;
constexpr long OST_LVL_ONE_OBJECT = 4;
constexpr long OST_LVL_IDS_ONLY = 8;

// One level of a traversal map.
struct ost_ty_trav_level {
  long rel;         // relation from the parent level's objects; -1: queried by type; flag 4: the type id
  long from_index;  // parent level, -1 under the root
  long flags;
  long ncond;
  ost_ty_trav_cond* conds;
  long norder;
  ost_ty_trav_order* orders;
  long type_id;     // type of a level queried by type; flag 4: the object's number
};

// The result record of one level: count, index of its first object in the
// result collection, done flag and its first handle (the client interface's
// level entry).
using ost_ty_level_result = cpi_ty_level_entry;
