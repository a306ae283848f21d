// Getting objects of a state for change or deletion, access through the
// chain of ancestors, the modified marks, checkpoint copies and promotion
// of a child state's entries.
#include <cstdio>

#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

// The saved (checkpoint) entry that shares the handle, or null.
ost_ty_obj_entry* saved_with(ost_ty_state* s, dbs_ty_lobj* handle) {
  long n = ost_col_count(s->saved_object_col);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(s->saved_object_col, i, &e);
    auto* saved = static_cast<ost_ty_obj_entry*>(e);
    if (saved->handle == handle) return saved;
  }
  return nullptr;
}

// A checkpointed entry takes its own copy of the object before it changes;
// the saved entry keeps the copy (the object as it was).
long own_copy(ost_ty_state* s, ost_ty_obj_entry* e, bool make_new) {
  if (!(s->flags & OST_ST_CHECKPOINTED) || !(e->flags & OST_OBJ_AT_CHECKPOINT)) return 0;
  dbs_ty_lobj* copy = nullptr;
  if (long st = dbs_obj_copy(e->handle, &copy)) return st;
  if (make_new) dbs_obj_change_to_new(e->handle);
  if (ost_ty_obj_entry* saved = saved_with(s, e->handle)) saved->handle = copy;
  else dbs_obj_free_local("ost_obj_checkpoint", copy);
  e->flags &= ~OST_OBJ_AT_CHECKPOINT;
  return 0;
}

long mark_found(ost_ty_state* s, long index, long options) {
  ost_ty_obj_entry* e = &s->object_array[index];
  if (long st = own_copy(s, e, options & OST_OBJ_GET_NEW)) return st;
  if ((options & (OST_OBJ_GET_NOMOD | OST_OBJ_GET_CHANGE)) != OST_OBJ_GET_NOMOD) e->flags |= OST_OBJ_MODIFIED;
  if (options & OST_OBJ_GET_DELETE) e->flags |= OST_OBJ_DELETE;
  if (options & OST_OBJ_GET_DEL1) e->flags |= OST_OBJ_DEL_MODE1;
  if (options & OST_OBJ_GET_DEL2) e->flags |= OST_OBJ_DEL_MODE2;
  if (s->flags & OST_ST_SAVING) return ost_state_put_object(s, index);
  return 0;
}

long not_found_key(const char* proc, long key) {
  osl_print_mes("%s: cannot get non-existing key %ld\n", proc, key);
  return 1;
}

struct found_at {
  ost_ty_state* state = nullptr;
  long index = -1;
};

found_at search_chain(ost_ty_state* s, long key, const obj_id& id, dbs_ty_lobj* handle) {
  for (ost_ty_state* p = s; p; p = p->parent) {
    long i = ost_obj_index_of(p, key, id, handle);
    if (i >= 0) return {p, i};
  }
  return {};
}

long read_fresh(ost_ty_state* s, const obj_id& id, dbs_ty_lobj** out) {
  obj_id copy = id;
  *out = nullptr;
  return dbs_obj_get(s->db_con, &copy, 1, out);
}

void set_flags_up(ost_ty_state* from, long key, long flags) {
  for (ost_ty_state* p = from; p; p = p->parent) {
    long i = ost_obj_index_of(p, key, obj_id{}, nullptr);
    if (i >= 0) p->object_array[i].flags = flags;
  }
}

}  // namespace

long ost_obj_get(ost_ty_state* s, dbs_ty_lobj* handle, long options) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of_handle(s, handle);
  if (i >= 0) return mark_found(s, i, options);
  if (!(options & OST_OBJ_GET_ADD)) {
    osl_print_mes("%s: cannot get obj (not in state; use OST_OBJ_GET_ADD option)\n", "ost_obj_get");
    return 1;
  }
  if (options & OST_OBJ_GET_NEW) dbs_obj_change_to_new(handle);
  long flags = (options & OST_OBJ_GET_CHANGE) ? (OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED) : 0;
  if (options & OST_OBJ_GET_DELETE) flags |= OST_OBJ_DELETE;
  ost_ty_obj_entry e{ost_obj_take_key(), ost_oid_of(handle), handle, flags};
  if (long st = utl_col_push(s->object_col, &e, nullptr)) return st;
  ost_state_reload(s);
  if (s->flags & OST_ST_SAVING) return ost_state_put_object(s, s->num_objects - 1);
  return 0;
}

long ost_obj_add(ost_ty_state* s, dbs_ty_lobj* handle, long options) {
  return ost_obj_get(s, handle, options | OST_OBJ_GET_ADD);
}

long ost_obj_delete(ost_ty_state* s, dbs_ty_lobj* handle, long options) {
  return ost_obj_get(s, handle, options | OST_OBJ_GET_ADD | OST_OBJ_GET_CHANGE | OST_OBJ_GET_DELETE);
}

long ost_obj_get_into(ost_ty_state* s, dbs_ty_lobj* handle, obj_id* id, long options) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of_handle(s, handle);
  if (i < 0) return 1;
  long fresh = (options & 16) && (options & 8) ? 1 : 0;
  dbs_ty_lobj* h = handle;
  if (long st = dbs_obj_get(s->db_con, id, fresh, &h)) return st;
  ost_ty_obj_entry& e = s->object_array[i];
  e.id = *id;
  if (options & OST_OBJ_GET_CHANGE) e.flags |= OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED;
  return mark_found(s, i, options);
}

long ost_obj_get_readonly(ost_ty_state* s, long key, const obj_id* id, long options, dbs_ty_lobj** handle,
                          long* out_key) {
  if (long st = ost_state_check(s)) return st;
  obj_id want = id ? *id : obj_id{};
  found_at f = search_chain(s, key, want, nullptr);
  if (f.state && !(options & 1)) {
    const ost_ty_obj_entry e = f.state->object_array[f.index];
    if (f.state != s) {
      if (long st = ost_obj_add_chain(s, f.state, e.key, e.id, nullptr, 0)) return st;
    }
    *handle = e.handle;
    *out_key = e.key;
    return 0;
  }
  if (key != -1 && !f.state) return not_found_key("ost_obj_get_readonly", key);
  if (!want.type && !want.num && !want.sub) {
    osl_print_mes("%s: cannot add NULL object\n", "ost_obj_get_readonly");
    return 1;
  }
  dbs_ty_lobj* o = nullptr;
  if (long st = read_fresh(s, want, &o)) return st;
  long k = ost_obj_take_key();
  if (long st = ost_obj_add_chain(s, nullptr, k, ost_oid_of(o), o, 0)) {
    dbs_obj_free_local("ost_obj_get_readonly", o);
    return st;
  }
  *handle = o;
  *out_key = k;
  return 0;
}

long ost_obj_get_modifiable(ost_ty_state* s, long key, const obj_id* id, long options, dbs_ty_lobj** handle,
                            long* out_key) {
  if (long st = ost_state_check(s)) return st;
  obj_id want = id ? *id : obj_id{};
  found_at f = search_chain(s, key, want, nullptr);
  if (f.state) {
    const ost_ty_obj_entry e = f.state->object_array[f.index];
    if (e.flags & OST_OBJ_CHILD_HELD) {
      osl_print_mes("%s: object id (0x%lx/0x%lx) is modified by another child state\n", "ost_obj_get_modifiable",
                    e.id.type, e.id.num);
      return 1;
    }
    const bool mod = e.flags & (OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED);
    if (f.state == s && mod && !(options & 1)) {
      *handle = e.handle;
      *out_key = e.key;
      return 0;
    }
    dbs_ty_lobj* o = nullptr;
    if (long st = read_fresh(s, e.id, &o)) return st;
    if (long st = ost_obj_add_chain(s, f.state, e.key, e.id, o, OST_OBJ_MODIFIABLE)) {
      dbs_obj_free_local("ost_obj_get_modifiable", o);
      return st;
    }
    if (!mod) set_flags_up(f.state, e.key, OST_OBJ_CHILD_HELD);
    *handle = o;
    *out_key = e.key;
    return 0;
  }
  if (key != -1) return not_found_key("ost_obj_get_modifiable", key);
  dbs_ty_lobj* o = nullptr;
  if (long st = read_fresh(s, want, &o)) return st;
  long k = ost_obj_take_key();
  if (long st = ost_obj_add_chain(s, nullptr, k, ost_oid_of(o), o, OST_OBJ_CHILD_HELD)) {
    dbs_obj_free_local("ost_obj_get_modifiable", o);
    return st;
  }
  s->object_array[ost_obj_index_of(s, k, obj_id{}, nullptr)].flags = OST_OBJ_MODIFIABLE;
  *handle = o;
  *out_key = k;
  return 0;
}

long ost_obj_get_mod_byhndl(ost_ty_state* s, dbs_ty_lobj** handle, long options) {
  if (long st = ost_state_check(s)) return st;
  found_at f = search_chain(s, -1, obj_id{}, *handle);
  if (!f.state) {
    osl_print_mes("%s: cannot find object w/handle=%ld in state '%s'\n", "ost_obj_get_mod_byhndl",
                  reinterpret_cast<long>(*handle), ost_state_label(s));
    return 1;
  }
  ost_ty_obj_entry e = f.state->object_array[f.index];
  if (f.state == s) {
    if (!(e.flags & OST_OBJ_MODIFIABLE)) f.state->object_array[f.index].flags |= OST_OBJ_MODIFIABLE;
    return 0;
  }
  dbs_ty_lobj* o = nullptr;
  long st = (options & 1) ? read_fresh(s, e.id, &o) : dbs_obj_copy(*handle, &o);
  if (st) return st;
  if ((st = ost_obj_add_chain(s, f.state, e.key, e.id, o, OST_OBJ_MODIFIABLE))) {
    dbs_obj_free_local("ost_obj_get_mod_byhndl", o);
    return st;
  }
  if (!(e.flags & (OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED))) set_flags_up(f.state, e.key, OST_OBJ_CHILD_HELD);
  *handle = o;
  return 0;
}

long ost_obj_is_modified(ost_ty_state* s, long key, const obj_id* id, dbs_ty_lobj* handle, long set, long clear,
                         long* modified, long* modifiable) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of(s, key, id ? *id : obj_id{}, handle);
  if (i < 0) {
    osl_print_mes("%s: cannot find object w/key=%ld in state '%s'\n", "ost_obj_is_modified", key,
                  ost_state_label(s));
    return 1;
  }
  ost_ty_obj_entry& e = s->object_array[i];
  if (e.flags & OST_OBJ_MODIFIABLE) {
    if (set) e.flags |= OST_OBJ_MODIFIED;
    else if (clear) e.flags &= ~OST_OBJ_MODIFIED;
  }
  if (modified) *modified = (e.flags & OST_OBJ_MODIFIED) ? 1 : 0;
  if (modifiable) *modifiable = (e.flags & OST_OBJ_MODIFIABLE) ? 1 : 0;
  return 0;
}

namespace {

long set_mod(ost_ty_state* s, long i, long on) {
  ost_ty_obj_entry& e = s->object_array[i];
  if (on) e.flags |= OST_OBJ_MODIFIED;
  else e.flags &= ~OST_OBJ_MODIFIED;
  return 0;
}

}  // namespace

long ost_obj_set_modified(ost_ty_state* s, long key, long on) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of(s, key, obj_id{}, nullptr);
  if (i < 0) {
    osl_print_mes("%s: cannot find object w/key=%ld in state '%s'\n", "ost_obj_set_modified", key,
                  ost_state_label(s));
    return 1;
  }
  if (!(s->object_array[i].flags & OST_OBJ_MODIFIABLE)) {
    osl_print_mes("%s: cannot set modifiable flag of object w/key=%ld in state '%s'\n", "ost_obj_set_modified", key,
                  ost_state_label(s));
    return 1;
  }
  return set_mod(s, i, on);
}

long ost_obj_set_mod_byhndl(ost_ty_state* s, dbs_ty_lobj* handle, long on) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of_handle(s, handle);
  if (i < 0) {
    osl_print_mes("%s: cannot find object w/handle=%ld in state '%s'\n", "ost_obj_set_mod_byhndl",
                  reinterpret_cast<long>(handle), ost_state_label(s));
    return 1;
  }
  if (!(s->object_array[i].flags & OST_OBJ_MODIFIABLE)) {
    osl_print_mes("%s: cannot set modifiable flag of obj w/handle=%ld in state '%s'\n", "ost_obj_set_mod_byhndl",
                  reinterpret_cast<long>(handle), ost_state_label(s));
    return 1;
  }
  return set_mod(s, i, on);
}

long ost_obj_checkpoint(ost_ty_state* s, ost_ty_obj_entry* entry) {
  if (long st = ost_state_check(s)) return st;
  return own_copy(s, entry, false);
}

long ost_obj_promote(ost_ty_state* s, ost_ty_obj_entry* entry) {
  if (long st = ost_state_check(s)) return st;
  ost_ty_state* parent = s->parent;
  if (!parent) return 0;
  long i = ost_obj_index_of(parent, entry->key, obj_id{}, nullptr);
  if (i >= 0) {
    ost_ty_obj_entry& pe = parent->object_array[i];
    if (pe.flags & OST_OBJ_MODIFIED)
      return ost_state_do_callback(parent, OST_CB_MERGE_OBJECTS, reinterpret_cast<long>(entry->handle),
                                   reinterpret_cast<long>(pe.handle), 0, nullptr);
    if (pe.handle && pe.handle != entry->handle) dbs_obj_free_local("ost_obj_promote", pe.handle);
    pe.handle = entry->handle;
    pe.flags = entry->flags;
  } else {
    // Found higher up: the chain stops below the ancestor that holds it.
    ost_ty_state* stop = parent->parent;
    while (stop && ost_obj_index_of(stop, entry->key, obj_id{}, nullptr) < 0) stop = stop->parent;
    if (long st = ost_obj_add_chain(parent, stop, entry->key, entry->id, entry->handle, OST_OBJ_MODIFIABLE))
      return st;
    long j = ost_obj_index_of(parent, entry->key, obj_id{}, nullptr);
    parent->object_array[j].flags |= OST_OBJ_MODIFIED;
  }
  entry->handle = nullptr;
  return 0;
}
