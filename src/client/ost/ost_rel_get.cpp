// Related objects of an object in a state: the database's or the cache's
// answer merged with the state's pending relation entries, integration of
// fetched objects into the state, and freeing such collections.
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long k_held_by_state = 16;

long new_handle_col(utl_ty_col** out) {
  *out = nullptr;
  return utl_col_make("ost_obj_get_rels", CMN_TYP_VOID_P, 5, 5, 0, 0, out);
}

long index_of_handle(utl_ty_col* col, dbs_ty_lobj* h) {
  long n = ost_col_count(col);
  for (long i = 0; i < n; ++i)
    if (ost_ptr_ith(col, i) == h) return i;
  return -1;
}

long remote_related(ost_ty_state* s, dbs_ty_lobj* handle, long rel, utl_ty_col** out) {
  utl_ty_col* got = nullptr;
  char any = 0;
  if (long st = dbs_rel_get_remote(s->db_con, handle, rel, 0, &got, &any)) {
    if (got) dbs_obj_free_local_col(nullptr, got);
    return st;
  }
  *out = got;
  return 0;
}

}  // namespace

long ost_obj_get_rels(ost_ty_state* s, long key, dbs_ty_lobj* handle, long rel, long options, utl_ty_col** out) {
  *out = nullptr;
  if (long st = ost_state_check(s)) return st;
  if (key != -1) {
    if (long st = ost_obj_find_bykey(s, key, 0, nullptr, &handle)) return st;
  }
  obj_id id = ost_oid_of(handle);
  if (options & OST_RELS_PURGE) {
    if (long st = ost_rel_perm_purge(s, &id, handle, rel, 0)) return st;
  }
  utl_ty_col* col = nullptr;
  bool from_cache = false;
  if (dbs_obj_is_temp(handle) || (options & OST_RELS_NO_DB)) {
    if (long st = new_handle_col(&col)) return st;
  } else {
    if (long st = ost_rel_perm_get_related(s, &id, rel, 0, &col)) return st;
    from_cache = col != nullptr;
    if (!col && (options & OST_RELS_CACHE_ONLY)) return 0;
    if (!col) {
      if (long st = remote_related(s, handle, rel, &col)) return st;
      if (options & OST_RELS_CACHE) {
        if (long st = ost_rel_perm_cache_col(s, &id, handle, rel, col)) {
          ost_obj_free_related(s, col);
          utl_col_free("ost_obj_get_rels", col);
          return st;
        }
      }
    }
  }
  long st = 0;
  if (!from_cache && (options & OST_RELS_INTEGRATE)) st = ost_obj_integrate_col(s, col, options & 1);
  for (long i = 0; st == 0 && i < s->num_relations; ++i) {
    const ost_ty_rel_entry& e = s->rel_array[i];
    if ((e.flags & OST_REL_FROM_HNDL) && e.from_handle == handle && e.rel == rel) st = ost_rel_delta(s, &e, col);
  }
  if (st) {
    ost_obj_free_related(s, col);
    utl_col_free("ost_obj_get_rels", col);
    return st;
  }
  *out = col;
  return 0;
}

long ost_obj_get_related(ost_ty_state* s, long key, long rel, long options, utl_ty_col** out) {
  return ost_obj_get_rels(s, key, nullptr, rel, options, out);
}

long ost_obj_get_rel_byhndl(ost_ty_state* s, dbs_ty_lobj* handle, long rel, long options, utl_ty_col** out) {
  return ost_obj_get_rels(s, -1, handle, rel, options, out);
}

long ost_obj_integrate_col(ost_ty_state* s, utl_ty_col* handles, long options) {
  if (long st = ost_state_check(s)) return st;
  long n = ost_col_count(handles);
  for (long i = 0; i < n; ++i) {
    void* slot = nullptr;
    utl_col_ith(handles, i, &slot);
    auto** h = static_cast<dbs_ty_lobj**>(slot);
    if (!*h) continue;
    obj_id id = ost_oid_of(*h);
    dbs_ty_lobj* held = nullptr;
    if (ost_oid_has_number(id)) ost_obj_find_byid(s, &id, 0, nullptr, &held);
    if (held && held != *h) {
      dbs_obj_free_local("ost_obj_integrate_col", *h);
      *h = held;
    } else if (!held) {
      if (long st = ost_obj_add_local(s, *h, nullptr)) return st;
    }
    dbs_obj_set_flag(*h, k_held_by_state, 1);
    if (options & 1) {
      if (long st = ost_obj_set_mod_byhndl(s, *h, 1)) return st;
    }
  }
  return 0;
}

long ost_rel_delta(ost_ty_state* s, const ost_ty_rel_entry* e, utl_ty_col* handles) {
  if (e->flags & OST_REL_RELATE) {
    dbs_ty_lobj* h = nullptr;
    bool held = true;
    if (e->flags & OST_REL_TO_HNDL) {
      h = e->to_handle;
    } else {
      ost_obj_find_byid(s, &e->to_id, 0, nullptr, &h);
      if (!h) {
        obj_id id = e->to_id;
        if (long st = dbs_obj_get(s->db_con, &id, 1, &h)) return st;
        held = false;
      }
    }
    if (!h) return 0;
    if (held) dbs_obj_set_flag(h, k_held_by_state, 1);
    if (index_of_handle(handles, h) < 0) return utl_col_push(handles, &h, nullptr);
    if (!held) dbs_obj_free_local("ost_rel_delta", h);
    return 0;
  }
  if (e->flags & OST_REL_UNRELATE) {
    const obj_id to = ost_rel_to_id(*e);
    long n = ost_col_count(handles);
    for (long i = 0; i < n; ++i) {
      auto* h = static_cast<dbs_ty_lobj*>(ost_ptr_ith(handles, i));
      obj_id id = ost_oid_of(h);
      if (id.type != to.type || id.num != to.num) continue;
      if (long st = utl_col_remove(handles, nullptr, i)) return st;
      char held = 0;
      dbs_obj_get_flag(h, k_held_by_state, &held);
      if (!held) dbs_obj_free_local("ost_rel_delta", h);
      return 0;
    }
  }
  return 0;
}

long ost_obj_free_related(ost_ty_state*, utl_ty_col* handles) {
  long n = ost_col_count(handles);
  for (long i = 0; i < n; ++i) {
    auto* h = static_cast<dbs_ty_lobj*>(ost_ptr_ith(handles, i));
    if (!h) continue;
    char held = 0;
    dbs_obj_get_flag(h, k_held_by_state, &held);
    if (!held) dbs_obj_free_local("ost_obj_free_related", h);
  }
  return 0;
}

long ost_rel_init() {
  if (long st = cmn_typ_install(OST_TY_REL, -1, -1, nullptr, sizeof(ost_ty_rel_entry), nullptr, nullptr, nullptr,
                                ost_rel_entry_print))
    return st;
  if (long st = cmn_typ_install(OST_TY_PERM, -1, -1, nullptr, sizeof(ost_ty_perm_rel), nullptr, ost_rel_perm_cmp,
                                nullptr, ost_rel_perm_print))
    return st;
  return 0;
}
long ost_rel_term() { return 0; }
