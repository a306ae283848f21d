// Join elimination, view copies and fetching views through the adapter.
#include <cstring>
#include <vector>

#include "adapter/adp_sch.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

constexpr const char* kOwner = "typ_sch_view";

typ_sch_alias_blk* alias_block(typ_sch_srec* v) { return static_cast<typ_sch_alias_blk*>(v->info->uptr); }

const char* text_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (!col || utl_col_ith(col, i, &e) != 0 || !e) return "";
  return static_cast<const char*>(e);
}

bool empty(const char* t) { return !t || !*t; }

const typ_sch_frec* source_field(const typ_sch_vinfo* vi) {
  if (vi->unresolved || vi->src_schema < 0 || vi->src_schema >= typ_sch_num_schs) return nullptr;
  const typ_sch_srec* s = &typ_sch_schemas[vi->src_schema];
  return vi->src_field >= 0 && vi->src_field < s->nfields ? &s->fields[vi->src_field] : nullptr;
}

bool same_source(const typ_sch_vinfo* a, const typ_sch_vinfo* b) {
  if (!empty(a->alias)) return !empty(b->alias) && std::strcmp(a->alias, b->alias) == 0;
  return empty(b->alias) && a->src_schema == b->src_schema;
}

// Whether a view field's source is the primary (or foreign) side of a join.
bool on_side(const typ_sch_vinfo* vi, const typ_sch_rel_inst* e, bool primary) {
  const char* alias = e->join ? (primary ? e->join->palias : e->join->falias) : "";
  if (!empty(vi->alias)) return !empty(alias) && std::strcmp(alias, vi->alias) == 0;
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  return r && (primary ? r->pindex : r->findex) == vi->src_schema;
}

bool is_join(const typ_sch_rel_inst* e) { return e->rel_index >= 0 && e->join; }

long replicate_once(typ_sch_srec* v, bool* done) {
  if (*done) return 0;
  *done = true;
  return typ_sch_view_schema_replicate(v);
}

}  // namespace

long typ_sch_optimize_view() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    if ((s->flags & TYP_SCH_VIEW) && !(s->flags & TYP_SCH_VIEW_OPT)) {
      if (long st = typ_sch_optimize_one_view(s)) return st;
    }
  }
  return 0;
}

long typ_sch_mark_views_optimized() {
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].flags & TYP_SCH_VIEW) typ_sch_schemas[i].flags |= TYP_SCH_VIEW_OPT;
  return 0;
}

long typ_sch_optimize_one_view(typ_sch_srec* v) {
  if (v->flags & TYP_SCH_VIEW_OPT) return 0;
  v->flags |= TYP_SCH_VIEW_OPT;
  std::vector<typ_sch_vinfo*> oids, others;
  for (long i = 0; i < v->nfields; ++i) {
    auto* vi = static_cast<typ_sch_vinfo*>(v->fields[i].uptr);
    if (!vi) continue;
    const typ_sch_frec* src = source_field(vi);
    if (src && src->gen_id == 3 && !(vi->src_field2 & TYP_VINFO_REL))
      oids.push_back(vi);
    else
      others.push_back(vi);
  }
  // An object id whose type contributes other fields keeps its join.
  for (auto it = oids.begin(); it != oids.end();) {
    auto o = others.begin();
    while (o != others.end() && !same_source(*it, *o)) ++o;
    if (o != others.end()) {
      others.erase(o);
      it = oids.erase(it);
    } else {
      ++it;
    }
  }
  // So does one whose type takes part in two or more joins.
  for (auto it = oids.begin(); it != oids.end();) {
    long joins = 0;
    for (long k = 0; k < v->nrels; ++k) {
      const typ_sch_rel_inst* e = &v->rels[k];
      if (!is_join(e)) continue;
      if (on_side(*it, e, true) || on_side(*it, e, false)) ++joins;
    }
    it = joins >= 2 ? oids.erase(it) : it + 1;
  }
  bool replicated = false;
  for (long k = v->nrels - 1; k >= 0; --k) {
    typ_sch_rel_inst* e = &v->rels[k];
    const typ_sch_rrec* r = typ_sch_entry_rel(e);
    if (!is_join(e) || !r || r->type == TYP_REL_MTM) continue;
    for (auto it = oids.begin(); it != oids.end();) {
      if (!on_side(*it, e, true)) {
        ++it;
        continue;
      }
      if (long st = replicate_once(v, &replicated)) return st;
      e = &v->rels[k];
      (*it)->src_schema = r->findex;
      (*it)->src_field2 = e->rel_index + TYP_VINFO_REL;
      if (long st = typ_sch_name_copy_or_empty(e->join->falias, &(*it)->alias)) return st;
      e->flags |= TYP_REL_DROPPED;
      it = oids.erase(it);
    }
  }
  // Aliases that nothing uses any more leave the alias block.
  typ_sch_alias_blk* b = alias_block(v);
  long n = 0;
  if (b && b->aliases) utl_col_num(b->aliases, &n);
  for (long a = n - 1; a >= 0; --a) {
    const char* alias = text_at(b->aliases, a);
    bool used = false;
    for (long i = 0; i < v->nfields && !used; ++i) {
      auto* vi = static_cast<typ_sch_vinfo*>(v->fields[i].uptr);
      used = vi && !empty(vi->alias) && std::strcmp(vi->alias, alias) == 0;
    }
    for (long k = 0; k < v->nrels && !used; ++k) {
      const typ_sch_rel_inst* e = &v->rels[k];
      if (!e->join) continue;
      used = (!(e->flags & TYP_REL_DROPPED) && std::strcmp(e->join->palias, alias) == 0) ||
             std::strcmp(e->join->falias, alias) == 0;
    }
    if (used) continue;
    if (long st = replicate_once(v, &replicated)) return st;
    b = alias_block(v);
    if (long st = utl_col_remove(b->aliases, nullptr, a)) return st;
    if (b->types) {
      if (long st = utl_col_remove(b->types, nullptr, a)) return st;
    }
  }
  return 0;
}

static long copy_collection(utl_ty_col* from, long type, utl_ty_col** to) {
  long n = 0;
  utl_col_num(from, &n);
  if (long st = utl_col_make(kOwner, type, n > 0 ? n : 1, 10, 0, 0, to)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(from, i, &e);
    if (long st = utl_col_push(*to, e, nullptr)) return st;
  }
  return 0;
}

long typ_sch_view_schema_copy(typ_sch_srec* v, typ_sch_srec** out) {
  void* p = nullptr;
  if (long st = utl_pl_alloc4(typ_sch_name_pool, sizeof(typ_sch_srec), &p)) return st;
  auto* c = static_cast<typ_sch_srec*>(p);
  *c = *v;
  c->fcol = c->rcol = nullptr;
  if (long st = utl_pl_alloc4(typ_sch_name_pool, sizeof(typ_sch_iblk), &p)) return st;
  c->info = static_cast<typ_sch_iblk*>(p);
  *c->info = *v->info;
  c->info->fmap = c->info->rmap = nullptr;
  c->info->special_col = nullptr;
  c->info->relind_col = nullptr;
  if (long st = copy_collection(v->fcol, TYP_TY_FREC, &c->fcol)) return st;
  if (long st = copy_collection(v->rcol, TYP_TY_REL_INST, &c->rcol)) return st;
  typ_sch_publish_fields(c);
  typ_sch_publish_relations(c);
  for (long i = 0; i < c->nfields; ++i) {
    auto* vi = static_cast<typ_sch_vinfo*>(c->fields[i].uptr);
    if (!vi) continue;
    if (long st = utl_pl_alloc4(typ_sch_name_pool, sizeof(typ_sch_vinfo), &p)) return st;
    auto* copy = static_cast<typ_sch_vinfo*>(p);
    *copy = *vi;
    if (long st = typ_sch_name_copy_or_empty(vi->alias, &copy->alias)) return st;
    c->fields[i].uptr = copy;
  }
  for (long k = 0; k < c->nrels; ++k) {
    if (typ_sch_rrec* r = typ_sch_entry_rel(&c->rels[k])) {
      r->pschema = r->pindex >= 0 && r->pindex < typ_sch_num_schs ? &typ_sch_schemas[r->pindex] : nullptr;
      r->fschema = r->findex >= 0 && r->findex < typ_sch_num_schs ? &typ_sch_schemas[r->findex] : nullptr;
    }
  }
  *out = c;
  return 0;
}

long typ_sch_view_schema_replicate(typ_sch_srec* v) {
  typ_sch_alias_blk* b = alias_block(v);
  if (!b) {
    if (long st = typ_sch_make_view_alias(v, nullptr, nullptr)) {
      // A finished view is no longer under construction: make the block here.
      void* p = nullptr;
      if (utl_pl_alloc4(typ_sch_name_pool, sizeof(typ_sch_alias_blk), &p) != 0) return st;
      std::memset(p, 0, sizeof(typ_sch_alias_blk));
      v->info->uptr = p;
    }
    b = alias_block(v);
  }
  if (b->copy) typ_sch_view_copy_free(b->copy);
  typ_sch_srec* c = nullptr;
  if (long st = typ_sch_view_schema_copy(v, &c)) return st;
  c->flags &= ~TYP_SCH_VIEW_OPT;
  b->copy = c;
  return 0;
}

void typ_sch_view_copy_free(typ_sch_srec* c) {
  if (c->fcol) utl_col_free(kOwner, c->fcol);
  if (c->rcol) utl_col_free(kOwner, c->rcol);
  c->fcol = c->rcol = nullptr;
}

long typ_sch_fetch_views_and_fld(KAdpConnId* con) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (!(typ_sch_schemas[i].flags & TYP_SCH_VIEW)) continue;
    utl_ty_col* types = nullptr;
    utl_ty_col* aliases = nullptr;
    if (long st = adp_sch_fetch_joins(con, &typ_sch_schemas[i], 1, 1, &types, &aliases)) return st;
    if (long st = adp_sch_fetch_org_view_fields(con, &typ_sch_schemas[i], types, aliases)) return st;
  }
  return 0;
}

long typ_sch_fetch_all_views(KAdpConnId* con) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (!(typ_sch_schemas[i].flags & TYP_SCH_VIEW)) continue;
    utl_ty_col* types = nullptr;
    utl_ty_col* aliases = nullptr;
    if (long st = adp_sch_fetch_joins(con, &typ_sch_schemas[i], 1, 1, &types, &aliases)) return st;
  }
  return 0;
}

long typ_sch_fetch_view_rel_info(KAdpConnId* con, long type_id, utl_ty_col** types, utl_ty_col** aliases,
                                 utl_ty_col* first, utl_ty_col* second) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  if (!s || !(s->flags & TYP_SCH_VIEW)) return 0;
  return adp_sch_get_view_rel(con, s, 1, types, aliases, first, second);
}
