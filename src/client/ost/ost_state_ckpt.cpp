// Checkpoints of a state: the copy of its entries, rollback to it and the
// commit that drops it.
#include "client/ost/ost_int.h"
#include "client/ost/ost_state.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

ost_ty_obj_entry* entry_ith(utl_ty_col* col, long i) {
  void* e = nullptr;
  utl_col_ith(col, i, &e);
  return static_cast<ost_ty_obj_entry*>(e);
}

ost_ty_obj_entry* saved_by_key(ost_ty_state* s, long key) {
  long n = ost_col_count(s->saved_object_col);
  for (long i = 0; i < n; ++i) {
    ost_ty_obj_entry* e = entry_ith(s->saved_object_col, i);
    if (e->key == key) return e;
  }
  return nullptr;
}

}  // namespace

long ost_state_checkpoint(ost_ty_state* s) {
  if (long st = ost_state_check(s)) return st;
  utl_ty_col* objects = nullptr;
  utl_ty_col* rels = nullptr;
  if (long st = utl_col_copy("ost_state_checkpoint", s->object_col, &objects)) return st;
  if (long st = utl_col_copy("ost_state_checkpoint", s->rel_col, &rels)) {
    utl_col_free("ost_state_checkpoint", objects);
    return st;
  }
  if (s->saved_object_col) ost_state_commit(s, 0);
  s->saved_object_col = objects;
  s->saved_rel_col = rels;
  for (long i = 0; i < s->num_objects; ++i) s->object_array[i].flags |= OST_OBJ_AT_CHECKPOINT;
  s->flags |= OST_ST_CHECKPOINTED;
  return 0;
}

long ost_state_rollback(ost_ty_state* s) {
  if (long st = ost_state_check(s)) return st;
  if (!s->saved_object_col) return 0;
  for (long i = 0; i < s->num_objects; ++i) {
    ost_ty_obj_entry& e = s->object_array[i];
    if (e.flags & OST_OBJ_AT_CHECKPOINT) continue;
    ost_ty_obj_entry* saved = saved_by_key(s, e.key);
    if (saved && saved->handle != e.handle) {
      if (saved->handle && e.handle) {
        dbs_obj_copy_no_make(saved->handle, e.handle);
        dbs_obj_free_local("ost_state_rollback", saved->handle);
      }
      saved->handle = e.handle;
    } else if (!saved && e.handle) {
      dbs_obj_free_local("ost_state_rollback", e.handle);
    }
  }
  utl_col_free("ost_state_rollback", s->object_col);
  utl_col_free("ost_state_rollback", s->rel_col);
  s->object_col = s->saved_object_col;
  s->rel_col = s->saved_rel_col;
  s->saved_object_col = nullptr;
  s->saved_rel_col = nullptr;
  ost_state_reload(s);
  for (long i = 0; i < s->num_objects; ++i) s->object_array[i].flags &= ~OST_OBJ_AT_CHECKPOINT;
  s->flags &= ~OST_ST_CHECKPOINTED;
  return 0;
}

long ost_state_commit(ost_ty_state* s, long options) {
  if (long st = ost_state_check(s)) return st;
  if (options & 2) {
    if (long st = ost_state_save(s, options & ~2L)) return st;
  }
  if (s->saved_object_col) {
    for (long i = 0; i < s->num_objects; ++i) {
      const ost_ty_obj_entry& e = s->object_array[i];
      if (e.flags & OST_OBJ_AT_CHECKPOINT) continue;
      ost_ty_obj_entry* saved = saved_by_key(s, e.key);
      if (saved && saved->handle && saved->handle != e.handle) dbs_obj_free_local("ost_state_commit", saved->handle);
    }
    utl_col_free("ost_state_commit", s->saved_object_col);
    s->saved_object_col = nullptr;
  }
  if (s->saved_rel_col) utl_col_free("ost_state_commit", s->saved_rel_col);
  s->saved_rel_col = nullptr;
  for (long i = 0; i < s->num_objects; ++i) s->object_array[i].flags &= ~OST_OBJ_AT_CHECKPOINT;
  s->flags &= ~OST_ST_CHECKPOINTED;
  return 0;
}
