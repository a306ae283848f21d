// Object entries: the key counter, the entry compare and print procedures,
// adding objects (one, up the chain of ancestors, a collection), look-ups,
// removing and freeing, conditions and descriptions.
#include "client/ost/ost_obj.h"

#include <cstdio>

#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace {

constexpr long k_first_key = 1;
constexpr long k_held_by_state = 16;
constexpr long k_preserve_id = 32;
long g_next_key = k_first_key;

ost_ty_obj_entry probe_of(long key, const obj_id& id, dbs_ty_lobj* handle) { return {key, id, handle, 0}; }

}  // namespace

long ost_obj_take_key() { return g_next_key++; }
long ost_obj_get_next_key(long* key) {
  *key = g_next_key;
  return 0;
}
long ost_obj_set_next_key(long key) {
  g_next_key = key;
  return 0;
}

long ost_obj_entry_cmp(const void* a, const void* b) {
  const auto* p = static_cast<const ost_ty_obj_entry*>(a);
  const auto* e = static_cast<const ost_ty_obj_entry*>(b);
  if (p->key != -1) return p->key < e->key ? -1 : (p->key > e->key ? 1 : 0);
  if (ost_oid_has_number(p->id))
    return p->id.num == e->id.num && (p->id.type & DBS_OID_TYPE_MASK) == (e->id.type & DBS_OID_TYPE_MASK) ? 0 : 1;
  return p->handle == e->handle ? 0 : 1;
}

long ost_obj_entry_print(FILE* f, long indent, const void* element, long, long) {
  const auto* e = static_cast<const ost_ty_obj_entry*>(element);
  const char* type_name = nullptr;
  typ_sch_id_to_name(e->id.type & DBS_OID_TYPE_MASK, -1, &type_name, nullptr);
  if (!f) f = stdout;
  int w = static_cast<int>(indent);
  std::fprintf(f, "%*.*sObject key %ld, obj ('%s'/0x%lx), handle %ld\n", w, w, "", e->key,
               type_name ? type_name : "", e->id.num, reinterpret_cast<long>(e->handle));
  const char* what = (e->flags & OST_OBJ_MODIFIED) ? ((e->flags & OST_OBJ_DELETE) ? "WILL DELETE" : "MODIFIED")
                                                   : "NOT MODIFIED";
  std::fprintf(f, "%*.*s %s, %s\n", w, w, "", what, (e->flags & OST_OBJ_REFERENCE) ? "REFERENCE" : "ORIGINAL");
  return 0;
}

long ost_obj_index_of(ost_ty_state* s, long key, const obj_id& id, dbs_ty_lobj* handle) {
  ost_ty_obj_entry probe = probe_of(key, id, handle);
  for (long i = 0; i < s->num_objects; ++i)
    if (ost_obj_entry_cmp(&probe, &s->object_array[i]) == 0) return i;
  return -1;
}

long ost_obj_index_of_handle(ost_ty_state* s, dbs_ty_lobj* handle) {
  for (long i = 0; i < s->num_objects; ++i)
    if (s->object_array[i].handle == handle) return i;
  return -1;
}

long ost_obj_add_chain(ost_ty_state* s, ost_ty_state* stop, long key, const obj_id& id, dbs_ty_lobj* handle,
                       long flags) {
  bool first = true;
  for (ost_ty_state* p = s; p && p != stop; p = p->parent) {
    ost_ty_obj_entry e{key, id, first ? handle : nullptr, flags};
    if (long st = utl_col_push(p->object_col, &e, nullptr)) return st;
    ost_state_reload(p);
    first = false;
  }
  return 0;
}

long ost_obj_add_one(ost_ty_state* s, dbs_ty_lobj* handle, long* key, long flags, long mode) {
  if (!handle) return 0;
  obj_id id = ost_oid_of(handle);
  ost_ty_state* found_in = nullptr;
  long index = -1;
  for (ost_ty_state* p = s; p && index < 0; p = p->parent) {
    index = ost_obj_index_of(p, -1, id, handle);
    if (index >= 0) found_in = p;
  }
  long k = 0;
  if (found_in == s) {
    ost_ty_obj_entry& e = s->object_array[index];
    if (key) *key = e.key;
    if (e.handle == handle) return 0;
    if (mode & OST_ADD_REFUSE)
      return ost_alrt("ost_obj_add_one", OST_DUP_OBJECT, static_cast<unsigned>(id.type),
                      static_cast<unsigned>(id.num), reinterpret_cast<long>(s));
    if ((mode & OST_ADD_KEEP_STATE) && (mode & OST_ADD_FREE_GIVEN)) dbs_obj_free_local("ost_obj_add_one", handle);
    return 0;
  }
  k = found_in ? found_in->object_array[index].key : ost_obj_take_key();
  if (long st = ost_obj_add_chain(s, found_in, k, id, handle, 0)) return st;
  s->object_array[s->num_objects - 1].flags |= flags;
  if (key) *key = k;
  return 0;
}

long ost_obj_create(const char*, ost_ty_state* s, long type_id, dbs_ty_lobj** handle) {
  *handle = nullptr;
  if (long st = ost_state_check(s)) return st;
  dbs_ty_lobj* o = nullptr;
  if (long st = dbs_obj_make(nullptr, type_id, &o)) return st;
  if (long st = ost_obj_add_one(s, o, nullptr, OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED, OST_ADD_KEEP_GIVEN)) {
    dbs_obj_free_local("ost_obj_create", o);
    return st;
  }
  *handle = o;
  return 0;
}

long ost_obj_add_local(ost_ty_state* s, dbs_ty_lobj* handle, long* key) {
  if (long st = ost_state_check(s)) return st;
  return ost_obj_add_one(s, handle, key, OST_OBJ_MODIFIABLE, OST_ADD_KEEP_GIVEN);
}

long ost_obj_add_col(ost_ty_state* s, utl_ty_col* handles, utl_ty_col** keys) {
  return ost_obj_add_col_option(s, handles, keys, 0);
}

namespace {

// Puts the state's handle in place of every later occurrence of the duplicate
// and frees the duplicate.
long merge_duplicate(ost_ty_state* s, utl_ty_col* handles, long from, dbs_ty_lobj* dup, long* key) {
  cmn_alrt_pop(nullptr, nullptr, nullptr);
  obj_id id = ost_oid_of(dup);
  dbs_ty_lobj* kept = nullptr;
  if (long st = ost_obj_find_byid(s, &id, 0, key, &kept)) return st;
  long n = ost_col_count(handles);
  for (long j = from; j < n; ++j) {
    void* e = nullptr;
    utl_col_ith(handles, j, &e);
    if (*static_cast<dbs_ty_lobj**>(e) == dup) *static_cast<dbs_ty_lobj**>(e) = kept;
  }
  return dbs_obj_free_local("ost_obj_add_col_option", dup);
}

}  // namespace

long ost_obj_add_col_option(ost_ty_state* s, utl_ty_col* handles, utl_ty_col** keys, long options) {
  if (long st = ost_state_check(s)) return st;
  if (keys) {
    *keys = nullptr;
    if (long st = utl_col_make("ost_obj_add_col_option", CMN_TYP_LONG, 5, 10, 0, 0, keys)) return st;
  }
  const long mode = (options & 2) ? OST_ADD_REFUSE : OST_ADD_KEEP_GIVEN;
  long n = ost_col_count(handles);
  for (long i = 0; i < n; ++i) {
    auto* h = static_cast<dbs_ty_lobj*>(ost_ptr_ith(handles, i));
    long key = -1;
    long st = ost_obj_add_one(s, h, &key, OST_OBJ_MODIFIABLE, mode);
    if (st == OST_DUP_OBJECT) st = merge_duplicate(s, handles, i, h, &key);
    if (st == 0 && keys) st = utl_col_push(*keys, &key, nullptr);
    if (st) return st;
  }
  return 0;
}

long ost_obj_find_byid(ost_ty_state* s, const obj_id* id, long, long* key, dbs_ty_lobj** handle) {
  if (key) *key = -1;
  if (handle) *handle = nullptr;
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of(s, -1, *id, nullptr);
  if (i >= 0 && ost_oid_has_number(*id)) {
    if (key) *key = s->object_array[i].key;
    if (handle) *handle = s->object_array[i].handle;
  }
  return 0;
}

ost_ty_state* ost_obj_find_root(ost_ty_state* s) {
  while (s && s->parent) s = s->parent;
  return s;
}

long ost_obj_find_bykey(ost_ty_state* s, long key, long options, obj_id* id, dbs_ty_lobj** handle) {
  if (id) *id = obj_id{};
  if (handle) *handle = nullptr;
  if (long st = ost_state_check(s)) return st;
  ost_ty_state* where = (options & 1) ? ost_obj_find_root(s) : s;
  long i = ost_obj_index_of(where, key, obj_id{}, nullptr);
  if (i >= 0) {
    if (id) *id = where->object_array[i].id;
    if (handle) *handle = where->object_array[i].handle;
  }
  return 0;
}

long ost_obj_find_byhandle(ost_ty_state* s, dbs_ty_lobj* handle, long, long* key, obj_id* id) {
  if (key) *key = -1;
  if (id) *id = obj_id{};
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of_handle(s, handle);
  if (i >= 0 && handle) {
    if (key) *key = s->object_array[i].key;
    if (id) *id = s->object_array[i].id;
  }
  return 0;
}

long ost_obj_remove(ost_ty_state* s, dbs_ty_lobj* handle, long options) {
  if (long st = ost_state_check(s)) return st;
  long i = ost_obj_index_of_handle(s, handle);
  if (i >= 0) {
    if (s->flags & OST_ST_CHECKPOINTED) return ost_alrt("ost_obj_remove", OST_REMOVE_CKPT);
    if (long st = utl_col_remove(s->object_col, nullptr, i)) return st;
    ost_state_reload(s);
  }
  if (options & 1) return dbs_obj_free_local("ost_obj_remove", handle);
  return 0;
}

namespace {

bool rel_side_names(const ost_ty_rel_entry& r, bool from, dbs_ty_lobj* handle, const obj_id& id) {
  bool by_handle = from ? (r.flags & OST_REL_FROM_HNDL) : (r.flags & OST_REL_TO_HNDL);
  dbs_ty_lobj* h = from ? r.from_handle : r.to_handle;
  const obj_id& rid = from ? r.from_id : r.to_id;
  if (by_handle) return h == handle;
  return ost_oid_has_number(id) && ost_oid_same(rid, id);
}

}  // namespace

namespace {

// Whether an entry of a live state other than s holds the handle.
bool held_elsewhere(ost_ty_state* s, dbs_ty_lobj* handle) {
  for (ost_ty_state* p = ost_state_first(); p; p = p->next)
    if (p != s && ost_obj_index_of_handle(p, handle) >= 0) return true;
  return false;
}

}  // namespace

long ost_obj_free(ost_ty_state* s, dbs_ty_lobj* handle) {
  if (long st = ost_state_check(s)) return st;
  // The held-by-a-state mark stands for the states' entries: once this
  // state's entries are gone, only another state's entry keeps it alive.
  char held = 0;
  dbs_obj_get_flag(handle, k_held_by_state, &held);
  held = held && held_elsewhere(s, handle);
  obj_id id = ost_oid_of(handle);
  for (long i = s->num_objects - 1; i >= 0; --i)
    if (s->object_array[i].handle == handle) utl_col_remove(s->object_col, nullptr, i);
  ost_state_reload(s);
  for (long i = s->num_relations - 1; i >= 0; --i) {
    const ost_ty_rel_entry& r = s->rel_array[i];
    if (rel_side_names(r, true, handle, id) || rel_side_names(r, false, handle, id))
      utl_col_remove(s->rel_col, nullptr, i);
  }
  ost_state_reload(s);
  if (held) return 0;
  return dbs_obj_free_local("ost_obj_free", handle);
}

long ost_obj_free_remote(ost_ty_state* s, dbs_ty_lobj* handle) {
  if (long st = ost_state_check(s)) return st;
  obj_id id = ost_oid_of(handle);
  if (ost_oid_has_number(id)) {
    if (long st = dbs_obj_delete(s->db_con, &id)) return st;
  }
  if (ost_obj_index_of_handle(s, handle) >= 0) return ost_obj_free(s, handle);
  return dbs_obj_free_local("ost_obj_free_remote", handle);
}

long ost_obj_cond_add(ost_ty_state* s, dbs_ty_lobj* handle, const ost_ty_cond* condition) {
  if (long st = ost_state_check(s)) return st;
  if (!handle) return 0;
  if (ost_obj_index_of_handle(s, handle) < 0) {
    osl_print_mes("nope - obj_hdl not in state!\n");
    return 1;
  }
  return utl_col_push(s->cond_col, condition, nullptr);
}

long ost_obj_cond_remove(ost_ty_state* s, long identifier) {
  if (long st = ost_state_check(s)) return st;
  if (s->flags & OST_ST_CHECKPOINTED) return ost_alrt("ost_obj_cond_remove", OST_REMOVE_CKPT);
  long n = ost_col_count(s->cond_col);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(s->cond_col, i, &e);
    if (static_cast<ost_ty_cond*>(e)->words[0] == identifier) return utl_col_remove(s->cond_col, nullptr, i);
  }
  return 0;
}

long ost_obj_new_preserve_id(dbs_ty_lobj* handle, long on) {
  return dbs_obj_set_flag(handle, k_preserve_id, on ? 1 : 0);
}

long ost_obj_get_keys(ost_ty_state* s, long* count, ost_ty_obj_entry** entries) {
  if (long st = ost_state_check(s)) return st;
  *count = s->num_objects;
  *entries = s->object_array;
  return 0;
}

long ost_obj_get_desc(ost_ty_state* s, dbs_ty_lobj* handle, const obj_id* id, const char** text) {
  static char buffer[64];
  if (!s) {
    *text = "NO STATE GIVEN";
    return 0;
  }
  obj_id probe_id = handle ? obj_id{} : (id ? *id : obj_id{});
  if (ost_state_check(s)) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    *text = "ERROR FINDING OBJ HANDLE IN STATE";
    return 0;
  }
  long i = handle ? ost_obj_index_of_handle(s, handle) : ost_obj_index_of(s, -1, probe_id, nullptr);
  if (!handle && !ost_oid_has_number(probe_id)) i = -1;
  if (i < 0) {
    obj_id oid = handle ? ost_oid_of(handle) : probe_id;
    *text = ost_oid_has_number(oid) ? "PERM OBJECT NOT IN STATE" : "TEMP OBJECT NOT IN STATE";
    return 0;
  }
  const ost_ty_obj_entry& e = s->object_array[i];
  obj_id oid = e.handle ? ost_oid_of(e.handle) : e.id;
  std::snprintf(buffer, sizeof buffer, "%s OBJ %s", ost_oid_has_number(oid) ? "PERM" : "TEMP",
                (e.flags & OST_OBJ_MODIFIED) ? "MODIFIED" : "NOT MODIFIED");
  *text = buffer;
  return 0;
}

long ost_obj_free_handle(const char* caller, dbs_ty_lobj* handle) { return dbs_obj_free_local(caller, handle); }

long ost_obj_init() {
  if (long st = cmn_typ_install(OST_TY_OBJ, -1, -1, nullptr, sizeof(ost_ty_obj_entry), nullptr, ost_obj_entry_cmp,
                                nullptr, ost_obj_entry_print))
    return st;
  return cmn_typ_install(OST_TY_COND, -1, -1, nullptr, sizeof(ost_ty_cond), nullptr, nullptr, nullptr, nullptr);
}
long ost_obj_term() { return 0; }
