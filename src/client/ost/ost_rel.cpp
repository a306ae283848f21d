// Relation entries: recording by handle and by key, cancelling, the save of
// an entry, the cache update after a save, promotion and the print
// procedure of type 608.
#include "client/ost/ost_rel.h"

#include <cstdio>

#include "client/ost/ost_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

obj_id side_id(dbs_ty_lobj* handle, const obj_id& id, bool by_handle) {
  return by_handle ? ost_oid_of(handle) : id;
}

// Two sides are the same object when both ids hold a number and agree, or
// else when they are the same handle: new objects have no number yet, and
// two of them of one type are different objects.
bool same_side(dbs_ty_lobj* h1, const obj_id& id1, dbs_ty_lobj* h2, const obj_id& id2) {
  if (ost_oid_has_number(id1) && ost_oid_has_number(id2)) return ost_oid_same(id1, id2);
  return h1 && h1 == h2;
}

ost_ty_rel_entry make_entry(dbs_ty_lobj* from_handle, const obj_id* from_id, dbs_ty_lobj* to_handle,
                            const obj_id* to_id, long rel, long kind) {
  ost_ty_rel_entry e{};
  if (from_handle) {
    e.from_handle = from_handle;
    e.flags |= OST_REL_FROM_HNDL;
  } else {
    e.from_id = from_id ? *from_id : obj_id{};
    e.flags |= OST_REL_FROM_ID;
  }
  if (to_handle) {
    e.to_handle = to_handle;
    e.flags |= OST_REL_TO_HNDL;
  } else {
    e.to_id = to_id ? *to_id : obj_id{};
    e.flags |= OST_REL_TO_ID;
  }
  e.rel = rel;
  e.flags |= kind == OST_KIND_RELATE ? OST_REL_RELATE : OST_REL_UNRELATE;
  return e;
}

long append(ost_ty_state* s, const ost_ty_rel_entry& e) {
  if (long st = utl_col_push(s->rel_col, &e, nullptr)) return st;
  ost_state_reload(s);
  return 0;
}

}  // namespace

obj_id ost_rel_from_id(const ost_ty_rel_entry& e) {
  return side_id(e.from_handle, e.from_id, e.flags & OST_REL_FROM_HNDL);
}
obj_id ost_rel_to_id(const ost_ty_rel_entry& e) { return side_id(e.to_handle, e.to_id, e.flags & OST_REL_TO_HNDL); }

long ost_rel_add_byhndl(ost_ty_state* s, dbs_ty_lobj* from_handle, const obj_id* from_id, dbs_ty_lobj* to_handle,
                        const obj_id* to_id, long rel, long kind) {
  if (long st = ost_state_check(s)) return st;
  ost_ty_rel_entry e = make_entry(from_handle, from_id, to_handle, to_id, rel, kind);
  const obj_id nf = ost_rel_from_id(e), nt = ost_rel_to_id(e);
  for (long i = 0; i < s->num_relations; ++i) {
    const ost_ty_rel_entry& p = s->rel_array[i];
    if (p.rel != rel) continue;
    if (!same_side(p.from_handle, ost_rel_from_id(p), e.from_handle, nf)) continue;
    if (!same_side(p.to_handle, ost_rel_to_id(p), e.to_handle, nt)) continue;
    const long pending = p.flags & (OST_REL_RELATE | OST_REL_UNRELATE);
    const long now = e.flags & (OST_REL_RELATE | OST_REL_UNRELATE);
    if (pending != now) {
      if (long st = utl_col_remove(s->rel_col, nullptr, i)) return st;
      ost_state_reload(s);
    }
    // An opposite pending change cancels out; the same one is already there.
    return 0;
  }
  return append(s, e);
}

long ost_obj_relate_byhndl(ost_ty_state* s, dbs_ty_lobj* from, dbs_ty_lobj* to, long rel) {
  return ost_rel_add_byhndl(s, from, nullptr, to, nullptr, rel, OST_KIND_RELATE);
}
long ost_obj_relate_id_byhndl(ost_ty_state* s, dbs_ty_lobj* from, const obj_id* to, long rel) {
  return ost_rel_add_byhndl(s, from, nullptr, nullptr, to, rel, OST_KIND_RELATE);
}
long ost_obj_relate_hndl_byid(ost_ty_state* s, const obj_id* from, dbs_ty_lobj* to, long rel) {
  return ost_rel_add_byhndl(s, nullptr, from, to, nullptr, rel, OST_KIND_RELATE);
}
long ost_obj_unrelate_byhndl(ost_ty_state* s, dbs_ty_lobj* from, dbs_ty_lobj* to, long rel) {
  return ost_rel_add_byhndl(s, from, nullptr, to, nullptr, rel, OST_KIND_UNRELATE);
}
long ost_obj_unrelate_id_byhndl(ost_ty_state* s, dbs_ty_lobj* from, const obj_id* to, long rel) {
  return ost_rel_add_byhndl(s, from, nullptr, nullptr, to, rel, OST_KIND_UNRELATE);
}
long ost_obj_unrelate_hndl_byid(ost_ty_state* s, const obj_id* from, dbs_ty_lobj* to, long rel) {
  return ost_rel_add_byhndl(s, nullptr, from, to, nullptr, rel, OST_KIND_UNRELATE);
}

namespace {

long key_handle(ost_ty_state* s, long key, const char* side, dbs_ty_lobj** handle) {
  *handle = nullptr;
  if (long st = ost_obj_find_bykey(s, key, 0, nullptr, handle)) return st;
  if (ost_obj_index_of(s, key, obj_id{}, nullptr) >= 0) return 0;
  osl_print_mes("%s: cannot relate %s key %ld (doesn't exist in state '%s')\n", "ost_rel_add", side, key,
                ost_state_label(s));
  return 1;
}

}  // namespace

long ost_rel_add(ost_ty_state* s, long from_key, const obj_id* from_id, long to_key, const obj_id* to_id, long rel,
                 long kind) {
  if (long st = ost_state_check(s)) return st;
  dbs_ty_lobj* fh = nullptr;
  dbs_ty_lobj* th = nullptr;
  if (from_key != -1) {
    if (long st = key_handle(s, from_key, "FROM", &fh)) return st;
  }
  if (to_key != -1) {
    if (long st = key_handle(s, to_key, "TO", &th)) return st;
  }
  ost_ty_rel_entry e = make_entry(from_key != -1 ? fh : nullptr, from_id, to_key != -1 ? th : nullptr, to_id, rel,
                                  kind);
  if (from_key != -1 && !fh) e.flags = (e.flags & ~OST_REL_FROM_ID) | OST_REL_FROM_HNDL;
  if (to_key != -1 && !th) e.flags = (e.flags & ~OST_REL_TO_ID) | OST_REL_TO_HNDL;
  return append(s, e);
}

long ost_obj_relate(ost_ty_state* s, long from_key, long to_key, long rel) {
  return ost_rel_add(s, from_key, nullptr, to_key, nullptr, rel, OST_KIND_RELATE);
}
long ost_obj_relate_id(ost_ty_state* s, long from_key, const obj_id* to_id, long rel) {
  return ost_rel_add(s, from_key, nullptr, -1, to_id, rel, OST_KIND_RELATE);
}
long ost_obj_relate_id_to_id(ost_ty_state* s, const obj_id* from_id, const obj_id* to_id, long rel) {
  return ost_rel_add(s, -1, from_id, -1, to_id, rel, OST_KIND_RELATE);
}
long ost_obj_unrelate(ost_ty_state* s, long from_key, long to_key, long rel) {
  return ost_rel_add(s, from_key, nullptr, to_key, nullptr, rel, OST_KIND_UNRELATE);
}
long ost_obj_unrelate_id(ost_ty_state* s, long from_key, const obj_id* to_id, long rel) {
  return ost_rel_add(s, from_key, nullptr, -1, to_id, rel, OST_KIND_UNRELATE);
}
long ost_obj_unrelate_id_to_id(ost_ty_state* s, const obj_id* from_id, const obj_id* to_id, long rel) {
  return ost_rel_add(s, -1, from_id, -1, to_id, rel, OST_KIND_UNRELATE);
}

long ost_rel_put_in_batch(const ost_ty_rel_entry& e) {
  if (!(e.flags & (OST_REL_RELATE | OST_REL_UNRELATE))) return 0;
  obj_id from = ost_rel_from_id(e), to = ost_rel_to_id(e), row = e.row_id;
  return dbs_rel_add_to_batch(&from, &to, &row, e.rel, (e.flags & OST_REL_RELATE) ? 1 : 0);
}

long ost_rel_cache_saved(ost_ty_state* s, const ost_ty_rel_entry& e) {
  obj_id from = ost_rel_from_id(e), to = ost_rel_to_id(e);
  if (e.flags & OST_REL_RELATE) return ost_rel_perm_cache_one(s, &from, e.rel, &to);
  if (e.flags & OST_REL_UNRELATE) return ost_rel_perm_purge(s, &from, nullptr, e.rel, 0);
  return 0;
}

long ost_rel_promote(ost_ty_state* s, const ost_ty_rel_entry* e) {
  if (long st = ost_state_check(s)) return st;
  if (!s->parent) return 0;
  return append(s->parent, *e);
}

long ost_rel_reset_all(ost_ty_state* s) {
  if (long st = ost_state_check(s)) return st;
  if (long st = utl_col_reset(s->rel_col)) return st;
  ost_state_reload(s);
  return 0;
}

namespace {

const char* desc_of(dbs_ty_lobj* handle, const obj_id* id) {
  const char* text = nullptr;
  if (ost_obj_get_desc(ost_state_get_dump(), handle, id, &text) || !text) return "ERROR GETTING OBJ DESC";
  return text;
}

void print_handle_side(FILE* f, int w, const char* label, dbs_ty_lobj* handle) {
  char what[160];
  obj_id id{};
  if (handle && dbs_obj_oid_get(handle, &id) == 0) {
    const char* type_name = nullptr;
    typ_sch_id_to_name(id.type & DBS_OID_TYPE_MASK, -1, &type_name, nullptr);
    std::snprintf(what, sizeof what, "%ld=(%s/%ld)", reinterpret_cast<long>(handle), type_name ? type_name : "",
                  id.num);
  } else {
    std::snprintf(what, sizeof what, "%ld", reinterpret_cast<long>(handle));
  }
  std::fprintf(f, "%*.*s %s %s %s\n", w, w, "", label, what, desc_of(handle, nullptr));
}

}  // namespace

long ost_rel_entry_print(FILE* f, long indent, const void* element, long, long) {
  const auto* e = static_cast<const ost_ty_rel_entry*>(element);
  if (!f) f = stdout;
  const int w = static_cast<int>(indent);
  obj_id from = ost_rel_from_id(*e);
  std::fprintf(f, "%*.*s%s by relation (%ld='%s')\n", w, w, "", (e->flags & OST_REL_RELATE) ? "RELATE" : "UNRELATE",
               e->rel, typ_sch_get_rel_name(from.type & DBS_OID_TYPE_MASK, nullptr, e->rel));
  if (e->flags & OST_REL_FROM_HNDL)
    print_handle_side(f, w, "FROM handle", e->from_handle);
  else if (e->flags & OST_REL_FROM_ID)
    std::fprintf(f, "%*.*s FROM ID (0x%lx/0x%lx) %s\n", w, w, "", e->from_id.type, e->from_id.num,
                 desc_of(nullptr, &e->from_id));
  if (e->flags & OST_REL_TO_HNDL)
    print_handle_side(f, w, "TO HANDLE", e->to_handle);
  else if (e->flags & OST_REL_TO_ID)
    std::fprintf(f, "%*.*s TO ID (0x%lx/0x%lx) %s\n", w, w, "", e->to_id.type, e->to_id.num,
                 desc_of(nullptr, &e->to_id));
  else
    std::fprintf(f, "%*.*sUNKNOWN VALUE (ERROR IN FLAGS!)\n", w, w, "");
  return 0;
}
