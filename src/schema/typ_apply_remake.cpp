// Remaking types from difference records while folding a list into the
// current model: an added object type or view, a recompiled view.
#include <cstring>

#include "adapter/adp_sch_load.h"
#include "core/utl/utl_col.h"
#include "schema/typ_apply.h"
#include "schema/typ_cmp.h"
#include "schema/typ_diff.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

const char* text(const char* t) { return t ? t : ""; }

typ_sch_srec* current(long type_id) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

void free_col(utl_ty_col*& col) {
  if (col) utl_col_free("typ_sch_fold_in_changes", col);
  col = nullptr;
}

// An object type like src: flag 0x10, registered, its fields predefined and
// its relations defined again.
long remake_object(const typ_sch_srec* src, typ_sch_srec** out) {
  const typ_sch_srec v = *src;  // the model may move while it grows
  typ_sch_srec* c = nullptr;
  if (long st = typ_sch_define_obj(v.info->name, v.type_id, v.info->subject, v.description, &c)) return st;
  c->flags |= 0x10;
  if (long st = adp_sch_type_insert(c->type_id, static_cast<long>(c->flags), c->info->name)) return st;
  for (long i = 0; i < v.nfields; ++i) {
    typ_sch_frec f = v.fields[i];
    f.spec_id = -1;
    if (long st = typ_sch_add_pfield(current(v.type_id), &f, nullptr)) return st;
  }
  for (long i = 0; i < v.nrels; ++i)
    if (long st = typ_sch_keep_rel(current(v.type_id), &v.rels[i])) return st;
  *out = current(v.type_id);
  return 0;
}

long remake_view(typ_sch_srec* src, typ_sch_srec** out) {
  if (long st = typ_sch_add_view(src, out)) return st;
  if (long st = adp_sch_type_insert((*out)->type_id, static_cast<long>((*out)->flags), (*out)->info->name)) return st;
  (*out)->flags |= 0x11;
  return 0;
}

}  // namespace

long typ_sch_empty_schema(typ_sch_srec* s) {
  free_col(s->fcol);
  free_col(s->rcol);
  s->fields = nullptr;
  s->nfields = 0;
  s->rels = nullptr;
  s->nrels = 0;
  if (s->info) {
    free_col(s->info->special_col);
    free_col(s->info->relind_col);
    s->info->special = nullptr;
    s->info->nspecial = 0;
    s->info->relind = nullptr;
    s->info->nrelind = 0;
    s->info->name[0] = '\0';
  }
  s->flags = 0;
  s->type_id = -2;
  return 0;
}

long typ_sch_add_view(typ_sch_srec* view, typ_sch_srec** out) {
  *out = nullptr;
  // Fields and relations as their collections hold them now.
  if (view->fcol) {
    void* a = nullptr;
    utl_col_get_array(view->fcol, &a, &view->nfields);
    view->fields = static_cast<typ_sch_frec*>(a);
  }
  if (view->rcol) {
    void* a = nullptr;
    utl_col_get_array(view->rcol, &a, &view->nrels);
    view->rels = static_cast<typ_sch_rel_inst*>(a);
  }
  const typ_sch_srec v = *view;  // the model may move while it grows
  typ_sch_srec* c = nullptr;
  if (long st = typ_sch_define_struct(v.info->name, v.type_id, v.info->subject, v.description, v.info->sql, &c))
    return st;
  c->flags = v.flags | TYP_SCH_CONSTRUCT;
  for (long i = 0; i < v.nfields; ++i) {
    const typ_sch_frec& f = v.fields[i];
    auto* vi = static_cast<typ_sch_vinfo*>(f.uptr);
    if (!vi) continue;
    long pos = -1;
    if (long st = typ_sch_add_vfield(current(v.type_id), f.name, vi->unresolved, vi->src_type_id,
                                     vi->unresolved ? vi->src_type_name : nullptr, text(vi->alias), vi->src_field,
                                     vi->unresolved ? vi->src_field_name : nullptr, f.gen_id, f.flags, f.comment,
                                     &pos))
      return st;
  }
  if (long st = typ_sch_redefine_view_joins(v.type_id, &v, typ_sch_schemas, typ_sch_num_schs)) return st;
  *out = current(v.type_id);
  return 0;
}

long typ_sch_remake_types(utl_ty_col* list) {
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* p = nullptr;
    utl_col_ith(list, i, &p);
    auto* r = static_cast<typ_sch_diff_rec*>(p);
    const bool added = r->op == TYP_DIFF_ADD_TYPE;
    if ((!added && r->op != TYP_DIFF_RECOMPILE_VIEW) || !r->old_schema) continue;
    typ_sch_srec* src = r->old_schema;
    r->schema = nullptr;
    typ_sch_srec* made = nullptr;
    long st = added && !(src->flags & TYP_SCH_VIEW) ? remake_object(src, &made) : remake_view(src, &made);
    if (st) return st;
    // The list may have been read through a moved model: read it again.
    utl_col_ith(list, i, &p);
    static_cast<typ_sch_diff_rec*>(p)->schema = made;
  }
  return 0;
}
