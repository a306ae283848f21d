// The permanent-relation cache of a state: relations known to be stored,
// kept in a collection of type 706 with a lazily removed duplicate set.
#include <cstdio>

#include "client/ost/ost_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long k_extent = 10;
constexpr long k_held_by_state = 16;

ost_ty_perm_rel* perm_ith(utl_ty_col* col, long i) {
  void* e = nullptr;
  utl_col_ith(col, i, &e);
  return static_cast<ost_ty_perm_rel*>(e);
}

bool usable(const obj_id* id) { return id && ost_oid_has_number(*id); }

// Keeps the relations that `keep` accepts in a new collection.
template <class Pred>
long rebuild(ost_ty_state* s, Pred keep) {
  utl_ty_col* fresh = nullptr;
  long n = ost_col_count(s->perm_rel_col);
  if (long st = utl_col_make("ost_rel_perm", OST_TY_PERM, n > 0 ? n : 1, k_extent, 0, 0, &fresh)) return st;
  for (long i = 0; i < n; ++i) {
    ost_ty_perm_rel* r = perm_ith(s->perm_rel_col, i);
    if (!keep(*r, fresh)) continue;
    if (long st = utl_col_push(fresh, r, nullptr)) {
      utl_col_free("ost_rel_perm", fresh);
      return st;
    }
  }
  utl_col_free("ost_rel_perm", s->perm_rel_col);
  s->perm_rel_col = fresh;
  ost_state_reload(s);
  return 0;
}

bool matches(const obj_id& id, long rel, const ost_ty_perm_rel& r) {
  return dbs_obj_oidcmp(&r.from, &id) == 0 && (rel == -1 || r.rel == rel);
}

}  // namespace

long ost_rel_perm_cmp(const void* a, const void* b) {
  const auto* x = static_cast<const ost_ty_perm_rel*>(a);
  const auto* y = static_cast<const ost_ty_perm_rel*>(b);
  if (long c = dbs_obj_oidcmp(&x->from, &y->from)) return c;
  if (x->rel != y->rel) return x->rel < y->rel ? -1 : 1;
  return dbs_obj_oidcmp(&x->to, &y->to);
}

long ost_rel_perm_print(FILE* f, long indent, const void* element, long, long) {
  const auto* r = static_cast<const ost_ty_perm_rel*>(element);
  if (!f) f = stdout;
  const int w = static_cast<int>(indent);
  const long from_type = r->from.type & DBS_OID_TYPE_MASK, to_type = r->to.type & DBS_OID_TYPE_MASK;
  const char* from_name = nullptr;
  const char* to_name = nullptr;
  typ_sch_id_to_name(from_type, -1, &from_name, nullptr);
  typ_sch_id_to_name(to_type, -1, &to_name, nullptr);
  const char* from_desc = nullptr;
  const char* to_desc = nullptr;
  ost_obj_get_desc(ost_state_get_dump(), nullptr, &r->from, &from_desc);
  ost_obj_get_desc(ost_state_get_dump(), nullptr, &r->to, &to_desc);
  std::fprintf(f, "%*.*s RELATION (%ld='%s')\n", w, w, "", r->rel, typ_sch_get_rel_name(from_type, nullptr, r->rel));
  std::fprintf(f, "%*.*s  FROM '%s' ID=(%#lx/%#lx) %s\n", w, w, "", from_name ? from_name : "", from_type, r->from.num,
               from_desc);
  std::fprintf(f, "%*.*s  TO '%s' ID=(%#lx/%#lx) %s\n", w, w, "", to_name ? to_name : "", to_type, r->to.num,
               to_desc);
  return 0;
}

long ost_rel_perm_check_cache(ost_ty_state* s) {
  if (s->perm_rel_col) return 0;
  if (long st = utl_col_make("ost_rel_perm_check_cache", OST_TY_PERM, k_extent, k_extent, 0, 0, &s->perm_rel_col))
    return st;
  ost_state_reload(s);
  return 0;
}

long ost_rel_perm_clear_cache(ost_ty_state* s) {
  if (s->perm_rel_col) utl_col_free("ost_rel_perm_clear_cache", s->perm_rel_col);
  s->perm_rel_col = nullptr;
  s->perm_rel_array = nullptr;
  s->num_perm_rels = 0;
  return 0;
}

long ost_rel_perm_cache_one(ost_ty_state* s, const obj_id* from, long rel, const obj_id* to) {
  if (!usable(from) || !usable(to)) return 0;
  if (long st = ost_rel_perm_check_cache(s)) return st;
  ost_ty_perm_rel r{rel, *from, *to};
  r.from.type &= DBS_OID_TYPE_MASK;
  r.to.type &= DBS_OID_TYPE_MASK;
  if (long st = utl_col_push(s->perm_rel_col, &r, nullptr)) return st;
  utl_col_set_ext(s->perm_rel_col, 0);
  ost_state_reload(s);
  return 0;
}

long ost_rel_perm_cache(ost_ty_state* s, const obj_id* from, dbs_ty_lobj* from_handle, long rel, long count,
                        dbs_ty_lobj* const* handles) {
  obj_id f = from ? *from : ost_oid_of(from_handle);
  if (!usable(&f)) return 0;
  for (long i = 0; i < count; ++i) {
    if (!handles[i]) continue;
    obj_id to = ost_oid_of(handles[i]);
    if (long st = ost_rel_perm_cache_one(s, &f, rel, &to)) return st;
  }
  return 0;
}

long ost_rel_perm_cache_col(ost_ty_state* s, const obj_id* from, dbs_ty_lobj* from_handle, long rel,
                            utl_ty_col* handles) {
  void* array = nullptr;
  long n = 0;
  if (handles) utl_col_get_array(handles, &array, &n);
  return ost_rel_perm_cache(s, from, from_handle, rel, n, static_cast<dbs_ty_lobj* const*>(array));
}

long ost_rel_perm_optimize(ost_ty_state* s) {
  if (!s->perm_rel_col) return 0;
  long word = 0;
  utl_col_get_ext(s->perm_rel_col, &word);
  if (word == OST_PERM_OPTIMIZED) return 0;
  if (long st = rebuild(s, [](const ost_ty_perm_rel& r, utl_ty_col* fresh) {
        long n = ost_col_count(fresh);
        for (long i = 0; i < n; ++i)
          if (ost_rel_perm_cmp(perm_ith(fresh, i), &r) == 0) return false;
        return true;
      }))
    return st;
  return utl_col_set_ext(s->perm_rel_col, OST_PERM_OPTIMIZED);
}

long ost_rel_perm_match(const obj_id* id, long rel, const ost_ty_perm_rel* cached, long* matched) {
  *matched = matches(*id, rel, *cached) ? 1 : 0;
  return 0;
}

long ost_rel_perm_get_related(ost_ty_state* s, const obj_id* from, long rel, long, utl_ty_col** out) {
  *out = nullptr;
  if (!s->perm_rel_col) return 0;
  if (long st = ost_rel_perm_optimize(s)) return st;
  for (long i = 0; i < s->num_perm_rels; ++i) {
    const ost_ty_perm_rel r = s->perm_rel_array[i];
    if (!matches(*from, rel, r)) continue;
    dbs_ty_lobj* h = nullptr;
    ost_obj_find_byid(s, &r.to, 0, nullptr, &h);
    if (!h) continue;
    if (!*out) {
      if (long st = utl_col_make("ost_rel_perm_get_related", CMN_TYP_VOID_P, 5, 5, 0, 0, out)) return st;
    }
    dbs_obj_set_flag(h, k_held_by_state, 1);
    if (long st = utl_col_push(*out, &h, nullptr)) {
      utl_col_free("ost_rel_perm_get_related", *out);
      *out = nullptr;
      return st;
    }
  }
  return 0;
}

long ost_rel_perm_find(ost_ty_state* s, const obj_id* from, long rel, const obj_id* to, long* found) {
  *found = 0;
  if (!s->perm_rel_col) return 0;
  if (long st = ost_rel_perm_optimize(s)) return st;
  for (long i = 0; i < s->num_perm_rels && !*found; ++i) {
    const ost_ty_perm_rel& r = s->perm_rel_array[i];
    *found = r.rel == rel && dbs_obj_oidcmp(&r.from, from) == 0 && dbs_obj_oidcmp(&r.to, to) == 0;
  }
  return 0;
}

long ost_rel_perm_related_id_to_id(KAdpConnId* db_con, ost_ty_state* s, const obj_id* from, long rel,
                                   const obj_id* to, long options, long* found) {
  *found = 0;
  if (s) {
    if (long st = ost_rel_perm_find(s, from, rel, to, found)) return st;
    if (*found) return 0;
  }
  obj_id a = *from, b = *to;
  char related = 0;
  if (long st = dbs_rel_related_remote_id_to_id(db_con, &a, rel, &b, options, &related)) return st;
  *found = related ? 1 : 0;
  return 0;
}

long ost_rel_perm_purge(ost_ty_state* s, const obj_id* from, dbs_ty_lobj* from_handle, long rel, long options) {
  if (options & 1) return ost_rel_perm_clear_cache(s);
  if (!s->perm_rel_col) return 0;
  obj_id f{};
  if (from) f = *from;
  else if (from_handle) f = ost_oid_of(from_handle);
  else return 0;
  return rebuild(s, [&](const ost_ty_perm_rel& r, utl_ty_col*) { return !matches(f, rel, r); });
}

long ost_rel_perm_find_roots(ost_ty_state* s, long, utl_ty_col** out) {
  if (long st = ost_rel_perm_optimize(s)) return st;
  if (!*out) {
    if (long st = utl_col_make("ost_rel_perm_find_roots", CMN_TYP_VOID_P, 5, 5, 0, 0, out)) return st;
  }
  for (long i = 0; i < s->num_objects; ++i) {
    const ost_ty_obj_entry& e = s->object_array[i];
    if (!e.handle) continue;
    obj_id id = ost_oid_of(e.handle);
    bool is_target = false;
    for (long j = 0; j < s->num_perm_rels && !is_target; ++j)
      is_target = ost_oid_has_number(id) && dbs_obj_oidcmp(&s->perm_rel_array[j].to, &id) == 0;
    if (is_target) continue;
    dbs_ty_lobj* h = e.handle;
    if (long st = utl_col_push(*out, &h, nullptr)) return st;
  }
  return 0;
}

long osl_rel_perm_find_rels(ost_ty_state* s, dbs_ty_lobj* handle, long, utl_ty_col** out) {
  if (long st = ost_rel_perm_optimize(s)) return st;
  if (!*out) {
    if (long st = utl_col_make("osl_rel_perm_find_rels", OST_TY_PERM, 5, 5, 0, 0, out)) return st;
  }
  obj_id id = ost_oid_of(handle);
  for (long i = 0; i < s->num_perm_rels; ++i) {
    const ost_ty_perm_rel& r = s->perm_rel_array[i];
    if (!ost_oid_has_number(id) || dbs_obj_oidcmp(&r.from, &id) != 0) continue;
    long dup = -1;
    long n = ost_col_count(*out);
    for (long j = 0; j < n && dup < 0; ++j)
      if (ost_rel_perm_cmp(perm_ith(*out, j), &r) == 0) dup = j;
    if (dup >= 0) continue;
    if (long st = utl_col_push(*out, &r, nullptr)) return st;
  }
  return 0;
}
