// Object states: creation, callbacks, application data, checks, freeing and
// the state-wide look-ups.
#include "client/ost/ost_state.h"

#include <cstring>

#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_sql.h"

const char* const ost_state_cb_names[OST_NUM_CALLBACKS] = {
    "CLOSE",          "UPDATE CHILD",       "UPDATE SIBLING",   "SAVE CHILD",
    "SAVE SIBLING",   "SAVE PARENT",        "ABORT CHILD",      "ABORT SIBLING",
    "ABORT PARENT",   "QUIT OBJECTS",       "QUIT RELATIONS",   "MERGE OBJECTS",
    "SAVE STATE",     "SAVE OBJECT",        "SAVE STATE FAILED", "SAVE PRIOR TO COMMIT",
    "SAVE RIGHT AFTER COMMIT", "BEFORE SAVE AFTER CHECKPOINT", "BEFORE SAVE TRANSACTION AFTER OBJECT IDS",
};

namespace {

constexpr long k_col_capacity = 5;
constexpr long k_col_extend = 10;

struct callback_table {
  ost_ty_callback procs[OST_NUM_CALLBACKS];
  long args[OST_NUM_CALLBACKS];
};

ost_ty_state* g_states = nullptr;  // newest first
callback_table g_class{};
callback_table g_default{};

long apply_triples(ost_ty_callback* procs, long* args, long count, const ost_ty_cb_triple* triples,
                   const char* proc) {
  for (long i = 0; i < count; ++i) {
    if (triples[i].slot < 0 || triples[i].slot > OST_MAX_SLOT) return ost_alrt(proc, OST_BAD_CALLBACK, triples[i].slot);
    procs[triples[i].slot] = triples[i].proc;
    args[triples[i].slot] = triples[i].arg;
  }
  return 0;
}

long make_cols(ost_ty_state* s) {
  if (long st = utl_col_make("ost_state_create", OST_TY_OBJ, k_col_capacity, k_col_extend, 0, 0, &s->object_col))
    return st;
  if (long st = utl_col_make("ost_state_create", OST_TY_REL, k_col_capacity, k_col_extend, 0, 0, &s->rel_col))
    return st;
  return utl_col_make("ost_state_create", OST_TY_COND, k_col_capacity, k_col_extend, 0, 0, &s->cond_col);
}

void free_record(ost_ty_state* s) {
  if (s->object_col) utl_col_free("ost_state_free", s->object_col);
  if (s->rel_col) utl_col_free("ost_state_free", s->rel_col);
  if (s->cond_col) utl_col_free("ost_state_free", s->cond_col);
  if (s->app_data) osl_mem_free("ost_state_free", s->app_data);
  if (s->retired_col) dbs_obj_free_local_col(nullptr, s->retired_col);
  osl_mem_free("ost_state_free", s);
}

bool is_live(const ost_ty_state* s) {
  for (ost_ty_state* p = g_states; p; p = p->next)
    if (p == s) return true;
  return false;
}

void unlink_from(ost_ty_state** head, ost_ty_state* s, ost_ty_state* ost_ty_state::*link) {
  for (ost_ty_state** p = head; *p; p = &((*p)->*link)) {
    if (*p == s) {
      *p = s->*link;
      return;
    }
  }
}

}  // namespace

ost_ty_state* ost_state_first() { return g_states; }

void ost_state_clear_callbacks() {
  g_class = callback_table{};
  g_default = callback_table{};
}

long ost_state_create(const char* name, KAdpConnId* db_con, long num_callbacks, const ost_ty_cb_triple* callbacks,
                      const void* app_data, long app_data_size, ost_ty_state** out) {
  *out = nullptr;
  long name_size = name ? static_cast<long>(std::strlen(name)) + 1 : 0;
  auto* s = static_cast<ost_ty_state*>(osl_mem_alloc("ost_state_create", sizeof(ost_ty_state) + name_size));
  if (!s) return cmn_alrt_push_no_memory(sizeof(ost_ty_state) + name_size, "ost_state_create");
  std::memset(s, 0, sizeof *s);
  s->db_con = db_con;
  if (name) {
    s->name = reinterpret_cast<char*>(s + 1);
    std::memcpy(s->name, name, name_size);
  }
  long st = ost_state_set_app_data(s, app_data, app_data_size < 0 ? 0 : app_data_size);
  if (st == 0) st = make_cols(s);
  if (st == 0) {
    std::memcpy(s->callbacks, g_default.procs, sizeof s->callbacks);
    std::memcpy(s->callback_args, g_default.args, sizeof s->callback_args);
    st = apply_triples(s->callbacks, s->callback_args, num_callbacks, callbacks, "ost_state_create");
  }
  if (st) {
    free_record(s);
    return st;
  }
  ost_state_reload(s);
  s->next = g_states;
  g_states = s;
  *out = s;
  return 0;
}

long ost_state_install_callback(ost_ty_state* s, long count, const ost_ty_cb_triple* triples) {
  if (!s) return apply_triples(g_class.procs, g_class.args, count, triples, "ost_state_install_callback");
  if (long st = ost_state_check(s)) return st;
  return apply_triples(s->callbacks, s->callback_args, count, triples, "ost_state_install_callback");
}

long ost_state_set_default_cbs(long count, const ost_ty_cb_triple* triples) {
  return apply_triples(g_default.procs, g_default.args, count, triples, "ost_state_set_default_cbs");
}

long ost_state_has_callback(ost_ty_state* s, long slot) {
  if (!s || slot < 0 || slot > OST_MAX_SLOT) return 0;
  return s->callbacks[slot] ? 1 : 0;
}

long ost_state_do_callback(ost_ty_state* s, long slot, long a1, long a2, long a3, long* answer) {
  long local = 0;
  if (!answer) answer = &local;
  if (slot < 0 || slot > OST_MAX_SLOT) return ost_alrt("ost_state_do_callback", OST_BAD_CALLBACK, slot);
  *answer = 0;
  if (g_class.procs[slot]) {
    if (long st = g_class.procs[slot](s, a1, a2, a3, g_class.args[slot], answer)) return st;
  }
  if (s && s->callbacks[slot]) return s->callbacks[slot](s, a1, a2, a3, s->callback_args[slot], answer);
  if (!g_class.procs[slot]) *answer = 0;
  return 0;
}

long ost_state_get_app_data(ost_ty_state* s, void** data, long* size) {
  if (long st = ost_state_check(s)) return st;
  if (data) *data = s->app_data;
  if (size) *size = s->app_data_size;
  return 0;
}

long ost_state_set_app_data(ost_ty_state* s, const void* data, long size) {
  if (size < 0) return ost_alrt("ost_state_set_app_data", OST_BAD_APP_SIZE, size);
  if (s->app_data) osl_mem_free("ost_state_set_app_data", s->app_data);
  s->app_data = nullptr;
  s->app_data_size = 0;
  if (size == 0) return 0;
  void* block = osl_mem_alloc("ost_state_set_app_data", size);
  if (!block) return cmn_alrt_push_no_memory(size, "ost_state_set_app_data");
  if (data) std::memcpy(block, data, size);
  else std::memset(block, 0, size);
  s->app_data = block;
  s->app_data_size = size;
  return 0;
}

long ost_state_check(ost_ty_state* s) {
  if (s && is_live(s)) return 0;
  return ost_alrt("ost_state_check", OST_BAD_STATE);
}

namespace {

long verify_col(ost_ty_state* s, utl_ty_col* col, long num, void* array, long bad_col, long bad_array_read,
                long bad_num, long bad_array) {
  const long id = reinterpret_cast<long>(s);
  if (!col || utl_col_verify(col)) return ost_alrt("ost_state_verify", bad_col, id);
  void* a = nullptr;
  long n = 0;
  if (utl_col_get_array(col, &a, &n)) return ost_alrt("ost_state_verify", bad_array_read, id);
  if (n != num) return ost_alrt("ost_state_verify", bad_num, id);
  if (a != array) return ost_alrt("ost_state_verify", bad_array, id);
  return 0;
}

bool link_ok(const ost_ty_state* link) { return !link || is_live(link); }

}  // namespace

long ost_state_verify(ost_ty_state* s) {
  if (long st = ost_state_check(s)) return st;
  const long id = reinterpret_cast<long>(s);
  if (s->name && s->name != reinterpret_cast<char*>(s + 1)) return ost_alrt("ost_state_verify", OST_BAD_NAME, id);
  if (long st = verify_col(s, s->object_col, s->num_objects, s->object_array, OST_BAD_OBJ_COL, OST_BAD_OBJ_COL,
                           OST_BAD_NUM_OBJS, OST_BAD_OBJ_ARRAY))
    return st;
  if (long st = verify_col(s, s->rel_col, s->num_relations, s->rel_array, OST_BAD_REL_COL, OST_BAD_NUM_RELS,
                           OST_BAD_NUM_RELS, OST_BAD_REL_ARRAY))
    return st;
  if ((s->app_data == nullptr) != (s->app_data_size == 0) || s->app_data_size < 0)
    return ost_alrt("ost_state_verify", OST_BAD_APP_DATA, id);
  if (!link_ok(s->parent)) return ost_alrt("ost_state_verify", OST_BAD_PARENT, id);
  if (!link_ok(s->child)) return ost_alrt("ost_state_verify", OST_BAD_CHILD, id);
  if (!link_ok(s->sibling)) return ost_alrt("ost_state_verify", OST_BAD_SIBLING, id);
  if (!link_ok(s->next)) return ost_alrt("ost_state_verify", OST_BAD_NEXT, id);
  return 0;
}

void ost_state_reload(ost_ty_state* s) {
  void* a = nullptr;
  long n = 0;
  utl_col_get_array(s->object_col, &a, &n);
  s->object_array = static_cast<ost_ty_obj_entry*>(a);
  s->num_objects = n;
  a = nullptr;
  n = 0;
  utl_col_get_array(s->rel_col, &a, &n);
  s->rel_array = static_cast<ost_ty_rel_entry*>(a);
  s->num_relations = n;
  a = nullptr;
  n = 0;
  if (s->perm_rel_col) utl_col_get_array(s->perm_rel_col, &a, &n);
  s->perm_rel_array = static_cast<ost_ty_perm_rel*>(a);
  s->num_perm_rels = n;
}

long ost_state_link_child(ost_ty_state* parent, ost_ty_state* child) {
  if (long st = ost_state_check(parent)) return st;
  if (long st = ost_state_check(child)) return st;
  child->parent = parent;
  child->sibling = parent->child;
  parent->child = child;
  return 0;
}

namespace {

void free_saved(ost_ty_state* s) {
  if (s->saved_object_col) {
    // Saved entries whose handles the current collection no longer shares.
    long n = ost_col_count(s->saved_object_col);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(s->saved_object_col, i, &e);
      auto* saved = static_cast<ost_ty_obj_entry*>(e);
      bool shared = false;
      for (long j = 0; j < s->num_objects && !shared; ++j) shared = s->object_array[j].handle == saved->handle;
      if (!shared && saved->handle) dbs_obj_free_local("ost_state_free", saved->handle);
    }
    utl_col_free("ost_state_free", s->saved_object_col);
    s->saved_object_col = nullptr;
  }
  if (s->saved_rel_col) utl_col_free("ost_state_free", s->saved_rel_col);
  s->saved_rel_col = nullptr;
}

}  // namespace

long ost_state_free(ost_ty_state* s) {
  free_saved(s);
  for (long i = 0; i < s->num_objects; ++i)
    if (s->object_array[i].handle) dbs_obj_free_local("ost_state_free", s->object_array[i].handle);
  ost_rel_perm_clear_cache(s);
  if (s->parent) unlink_from(&s->parent->child, s, &ost_ty_state::sibling);
  for (ost_ty_state* c = s->child; c; c = c->sibling) c->parent = nullptr;
  unlink_from(&g_states, s, &ost_ty_state::next);
  free_record(s);
  return 0;
}

long ost_state_count(ost_ty_state* s, long type, long* count) {
  if (long st = ost_state_check(s)) return st;
  long n = 0;
  for (long i = 0; i < s->num_objects; ++i)
    if (type == -1 || (s->object_array[i].id.type & DBS_OID_TYPE_MASK) == type) ++n;
  *count = n;
  return 0;
}

long ost_state_get_obj_by_index(ost_ty_state* s, long index, long type, dbs_ty_lobj** handle, long* found) {
  if (long st = ost_state_check(s)) return st;
  *found = 0;
  *handle = nullptr;
  long seen = 0;
  for (long i = 0; i < s->num_objects; ++i) {
    const ost_ty_obj_entry& e = s->object_array[i];
    if (type != -1 && (e.id.type & DBS_OID_TYPE_MASK) != type) continue;
    if ((type == -1 ? i : seen) == index) {
      *handle = e.handle;
      *found = 1;
      return 0;
    }
    ++seen;
  }
  return 0;
}

long ost_state_get_db_con(ost_ty_state* s, KAdpConnId** db_con) {
  if (long st = ost_state_check(s)) return st;
  *db_con = s->db_con;
  return 0;
}

long ost_state_change_to_exists(dbs_ty_lobj* object) { return dbs_obj_make_perm(object, 1); }

// Shared helpers.
void* ost_ptr_ith(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (!col || utl_col_ith(col, i, &e) || !e) return nullptr;
  return *static_cast<void**>(e);
}

long ost_col_count(utl_ty_col* col) {
  long n = 0;
  if (col) utl_col_num(col, &n);
  return n;
}

obj_id ost_oid_of(dbs_ty_lobj* handle) {
  obj_id id{};
  if (handle && dbs_obj_oid_get(handle, &id)) id = obj_id{};
  return id;
}

bool ost_oid_same(const obj_id& a, const obj_id& b) {
  return (a.type & DBS_OID_TYPE_MASK) == (b.type & DBS_OID_TYPE_MASK) && a.num == b.num && a.sub == b.sub;
}

const char* ost_state_label(const ost_ty_state* s) { return s && s->name ? s->name : "<null>"; }

void ost_sql_log_con(KAdpConnId* con, const char* text) { dbs_sql_print_out(con, text); }
void ost_sql_log(ost_ty_state* s, const char* text) { ost_sql_log_con(s ? s->db_con : nullptr, text); }
