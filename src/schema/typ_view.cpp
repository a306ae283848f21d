// Views: view fields and their sources, join definitions, their resolution
// when the model is optimised, and the outer-join rule.
#include "schema/typ_view.h"

#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

template <class T>
long pool_record(T** out) {
  void* p = nullptr;
  if (long st = utl_pl_alloc4(typ_sch_name_pool, sizeof(T), &p)) return st;
  std::memset(p, 0, sizeof(T));
  *out = static_cast<T*>(p);
  return 0;
}

const char* text_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (!col || utl_col_ith(col, i, &e) != 0 || !e) return "";
  return static_cast<const char*>(e);
}

long count_of(utl_ty_col* col) {
  long n = 0;
  if (col) utl_col_num(col, &n);
  return n;
}

const char* schema_name(long index) {
  return index >= 0 && index < typ_sch_num_schs ? typ_sch_schemas[index].info->name : "";
}

// The name under which a side of a resolved join is known in the view: its
// alias, else its type name.
const char* side_name(const typ_sch_rel_inst* e, bool primary) {
  const char* alias = e->join ? (primary ? e->join->palias : e->join->falias) : nullptr;
  if (alias && *alias) return alias;
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  if (!r) return "";
  return schema_name(primary ? r->pindex : r->findex);
}

}  // namespace

long typ_sch_define_sql(typ_sch_srec* v, const char* sql) {
  if (long st = typ_sch_check_construct("typ_sch_define_sql", v)) return st;
  if (long st = typ_sch_name_copy_or_empty(sql, &v->info->sql)) return st;
  v->flags |= TYP_SCH_SQL_VIEW;
  return 0;
}

long typ_sch_make_view_alias(typ_sch_srec* v, utl_ty_col* types, utl_ty_col* aliases) {
  if (long st = typ_sch_check_construct("typ_sch_make_view_alias", v)) return st;
  typ_sch_alias_blk* b = nullptr;
  if (long st = pool_record(&b)) return st;
  b->types = types;
  b->aliases = aliases;
  v->info->uptr = b;
  return 0;
}

long typ_sch_make_vinfo(long src_schema, const char* src_type_name, long src_field, const char* src_field_name,
                        const char* alias, char unresolved, typ_sch_vinfo** info) {
  typ_sch_vinfo* vi = nullptr;
  if (long st = pool_record(&vi)) return st;
  vi->unresolved = unresolved ? 1 : 0;
  if (unresolved) {
    vi->src_type_id = -1;
    vi->src_schema = -1;
    vi->src_field = vi->src_field2 = -1;
    if (long st = typ_sch_name_copy_or_empty(src_type_name, &vi->src_type_name)) return st;
    if (long st = typ_sch_name_copy_or_empty(src_field_name, &vi->src_field_name)) return st;
  } else {
    vi->src_schema = src_schema;
    vi->src_type_id = src_schema >= 0 && src_schema < typ_sch_num_schs ? typ_sch_schemas[src_schema].type_id : -1;
    vi->src_field = vi->src_field2 = src_field;
  }
  if (long st = typ_sch_name_copy_or_empty(alias, &vi->alias)) return st;
  *info = vi;
  return 0;
}

long typ_sch_find_vfield(long type_id, long, long spec_id, long, long* schema_index, long* position,
                         typ_sch_frec** field) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  if (!s) return typ_alrt("typ_sch_find_vfield", TYP_NO_TYPE, type_id, "<null>");
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].spec_id == spec_id) {
      if (schema_index) *schema_index = typ_sch_index_of(s);
      if (position) *position = i;
      if (field) *field = &s->fields[i];
      return 0;
    }
  return typ_alrt("typ_sch_find_vfield", TYP_BAD_SPEC_FIELD, spec_id, s->info->name);
}

long typ_sch_add_vfield(typ_sch_srec* v, const char* name, char unresolved, long src_type_id,
                        const char* src_type_name, const char* alias, long src_spec_id, const char* src_field_name,
                        long gen_id, unsigned long flags, const char* comment, long* position) {
  if (long st = typ_sch_check_construct("typ_sch_add_vfield", v)) return st;
  typ_sch_frec t{};
  t.name = const_cast<char*>(name);
  t.flags = flags;
  t.gen_id = gen_id;
  t.spec_id = -1;
  t.comment = const_cast<char*>(comment);
  t.old_name = typ_sch_empty_text;
  t.def = typ_sch_empty_text;
  typ_sch_vinfo* vi = nullptr;
  if (unresolved) {
    t.data_type = CMN_TYP_LONG;
    t.db_type = -1;
    t.dec_precision = t.dec_scale = -1;
    if (long st = typ_sch_make_vinfo(-1, src_type_name, -1, src_field_name, alias, 1, &vi)) return st;
  } else {
    long si = -1, pos = -1;
    typ_sch_frec* src = nullptr;
    if (long st = typ_sch_find_vfield(src_type_id, 0, src_spec_id, 0, &si, &pos, &src)) return st;
    t.array_size = src->array_size;
    t.dec_precision = src->dec_precision;
    t.dec_scale = src->dec_scale;
    t.data_type = src->data_type;
    t.db_type = src->db_type;
    if (src->flags & TYP_FLD_CARRIED) t.flags |= TYP_FLD_CARRIED;
    if (long st = typ_sch_make_vinfo(si, nullptr, pos, nullptr, alias, 0, &vi)) return st;
  }
  t.uptr = vi;
  return typ_sch_fadd_with_uptr(v, &t, position);
}

long typ_sch_add_svfield(typ_sch_srec* v, const char* name, long kind, long* position, const char* src_type_name,
                         const typ_sch_frec* tmpl) {
  typ_sch_frec t = *tmpl;
  t.name = const_cast<char*>(name);
  t.spec_id = -1;
  t.uptr = nullptr;
  if (kind == 3) {
    long tid = -1, fid = -1;
    typ_sch_name_to_id(src_type_name, "objid", &tid, &fid);
    typ_sch_srec* s = nullptr;
    if (tid != -1) typ_sch_find_handle(tid, nullptr, &s);
    typ_sch_vinfo* vi = nullptr;
    long st = s ? typ_sch_make_vinfo(typ_sch_index_of(s), nullptr, fid, nullptr, nullptr, 0, &vi)
                : typ_sch_make_vinfo(-1, src_type_name, -1, "objid", nullptr, 1, &vi);
    if (st) return st;
    t.uptr = vi;
  }
  return typ_sch_fadd_with_uptr(v, &t, position);
}

long typ_sch_define_join(typ_sch_srec* v, const char* first, const char* rel1, const char* second, const char* rel2,
                         const char* text, long outer) {
  if (long st = typ_sch_check_construct("typ_sch_define_join", v)) return st;
  typ_sch_join_def* d = nullptr;
  if (long st = pool_record(&d)) return st;
  if (long st = typ_sch_name_copy_or_empty(first, &d->first)) return st;
  if (long st = typ_sch_name_copy_or_empty(rel1, &d->rel1)) return st;
  if (long st = typ_sch_name_copy_or_empty(second, &d->second)) return st;
  if (long st = typ_sch_name_copy_or_empty(rel2, &d->rel2)) return st;
  if (long st = typ_sch_name_copy_or_empty(text, &d->text)) return st;
  d->outer = outer;
  typ_sch_rel_inst e{};
  e.rel_index = -1;
  e.join_def = d;
  e.side = 'p';
  e.comment = e.old_name = typ_sch_empty_text;
  if (long st = utl_col_push(v->rcol, &e, nullptr)) return st;
  typ_sch_publish_relations(v);
  return 0;
}

long typ_sch_add_join_info(typ_sch_srec* v, long position, long rel_index, const char* palias, const char* falias,
                           unsigned long flags, const char* text, long kind) {
  typ_sch_join_blk* j = nullptr;
  if (long st = pool_record(&j)) return st;
  if (long st = typ_sch_name_copy_or_empty(palias, &j->palias)) return st;
  if (long st = typ_sch_name_copy_or_empty(falias, &j->falias)) return st;
  if (long st = typ_sch_name_copy_or_empty(text, &j->text)) return st;
  typ_sch_rel_inst e{};
  e.rel_index = rel_index;
  e.rel = rel_index >= 0 && rel_index < typ_sch_num_rels ? &typ_sch_relations[rel_index] : nullptr;
  e.side = 'p';
  e.flags = flags;
  e.join = j;
  e.comment = e.old_name = typ_sch_empty_text;
  e.join_kind = kind;
  if (long st = utl_col_insert_at(v->rcol, &e, position, nullptr)) return st;
  typ_sch_publish_relations(v);
  return 0;
}

long typ_sch_alias_convert(long count, utl_ty_col* types, utl_ty_col* aliases, const char* name,
                           const char** type_name, const char** alias) {
  for (long i = 0; i < count && i < count_of(aliases); ++i)
    if (name && std::strcmp(text_at(aliases, i), name) == 0) {
      *type_name = text_at(types, i);
      *alias = text_at(aliases, i);
      return 0;
    }
  *type_name = name ? name : "";
  *alias = "";
  return 0;
}

long typ_sch_do_join(typ_sch_srec* v, utl_ty_col* types, utl_ty_col* aliases, const typ_sch_join_def* d,
                     long position) {
  const long n = count_of(aliases);
  const char *t1 = nullptr, *a1 = nullptr, *t2 = nullptr, *a2 = nullptr;
  typ_sch_alias_convert(n, types, aliases, d->first, &t1, &a1);
  typ_sch_alias_convert(n, types, aliases, d->second, &t2, &a2);
  long ri1 = -1, ri2 = -1, p1 = 0, p2 = 0;
  typ_sch_rrec* r = nullptr;
  if (long st = typ_sch_find_relation_index(t1, -1, d->rel1, &ri1, &r, nullptr, &p1)) return st;
  if (long st = typ_sch_find_relation_index(t2, -1, d->rel2, &ri2, nullptr, nullptr, &p2)) return st;
  if (ri1 != ri2 || p1 == p2) return typ_alrt("typ_sch_do_join", TYP_INV_MISMATCH, d->rel2, d->second);
  const char* palias = p1 ? a1 : a2;
  const char* falias = p1 ? a2 : a1;
  const bool first_not_foreign = std::strcmp(d->rel1, r->fname ? r->fname : "") != 0;
  long kind = 0;
  if (d->outer == 1) kind = first_not_foreign ? 1 : 2;
  if (d->outer == 2) kind = first_not_foreign ? 2 : 1;
  return typ_sch_add_join_info(v, position, ri1, palias, falias, 0, d->text, kind);
}

long typ_sch_check_outer_join(typ_sch_srec* v) {
  for (long i = 0; i < v->nrels; ++i) {
    const typ_sch_rel_inst* e = &v->rels[i];
    if (e->join_kind != 1 && e->join_kind != 2) continue;
    const char* outer = side_name(e, e->join_kind == 1);
    for (long k = 0; k < v->nrels; ++k) {
      if (k == i) continue;
      const typ_sch_rel_inst* o = &v->rels[k];
      if (std::strcmp(side_name(o, true), outer) == 0 || std::strcmp(side_name(o, false), outer) == 0)
        return typ_alrt("typ_sch_check_outer_join", TYP_OUTER_JOIN, outer, v->info->name);
    }
  }
  return 0;
}

long typ_sch_define_view(typ_sch_srec* v) {
  static const char* const kProc = "typ_sch_define_view";
  for (long i = 0; i < v->nfields; ++i) {
    typ_sch_frec* f = &v->fields[i];
    auto* vi = static_cast<typ_sch_vinfo*>(f->uptr);
    if (!vi || !vi->unresolved) continue;
    typ_sch_srec* s = nullptr;
    if (vi->src_type_name && *vi->src_type_name) typ_sch_find_handle(-1, vi->src_type_name, &s);
    if (!s) return typ_alrt(kProc, TYP_VIEW_NO_TYPE, vi->src_type_name, f->name, v->info->name);
    long pos = -1;
    for (long k = 0; k < s->nfields && pos < 0; ++k)
      if (std::strcmp(s->fields[k].name, vi->src_field_name) == 0) pos = k;
    if (pos < 0) return typ_alrt(kProc, TYP_VIEW_NO_FIELD, vi->src_field_name, s->info->name, v->info->name);
    const typ_sch_frec* src = &s->fields[pos];
    long cls = cmn_typ_get_flags(src->data_type);
    if (!(cls & CMN_TYP_FLAG_SCALAR)) return typ_alrt(kProc, TYP_NOT_STORABLE, src->data_type, f->name, v->info->name);
    f->data_type = src->data_type;
    f->db_type = src->db_type;
    f->array_size = src->array_size;
    f->dec_precision = src->dec_precision;
    f->dec_scale = src->dec_scale;
    f->flags = (cls & CMN_TYP_FLAG_INTEGER) ? (src->flags | TYP_FLD_INTEGER) : (src->flags & ~TYP_FLD_INTEGER);
    vi->src_type_id = s->type_id;
    vi->src_schema = typ_sch_index_of(s);
    vi->src_field = vi->src_field2 = pos;
    vi->unresolved = 0;
  }
  if (!(v->flags & TYP_SCH_JOINS_DONE)) {
    typ_sch_publish_relations(v);
    auto* b = static_cast<typ_sch_alias_blk*>(v->info->uptr);
    utl_ty_col* types = b ? b->types : nullptr;
    utl_ty_col* aliases = b ? b->aliases : nullptr;
    for (long i = 0; i < v->nrels; ++i) {
      const typ_sch_join_def* d = v->rels[i].join_def;
      if (v->rels[i].rel_index >= 0 || !d) continue;
      if (long st = typ_sch_do_join(v, types, aliases, d, i)) return st;
    }
    if (long st = typ_sch_check_outer_join(v)) return st;
  }
  v->flags &= ~TYP_SCH_JOINS_DONE;
  return 0;
}
