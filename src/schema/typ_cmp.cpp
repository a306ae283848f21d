// Comparing schemas: types, fields and indexes, the keep-or-drop rules and
// the withdrawal of changes that would drop data without allow_drops.
#include "schema/typ_cmp.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "adapter/adp_db.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_rdb.h"

utl_ty_col* typ_sch_field_pos_chg_col = nullptr;
typ_sch_saved* typ_sch_saved_schema = nullptr;

namespace {

const char* text(const char* t) { return t ? t : ""; }
bool skipped_id(long id) { return id >= 5925 && id <= 6000; }
const char* kind(const typ_sch_srec* s) { return (s->flags & TYP_SCH_VIEW) ? "VIEW" : "OBJECT"; }
bool has_old_name(const typ_sch_frec& f) { return f.old_name && *f.old_name; }

const typ_sch_frec* field_named(const typ_sch_srec* s, const char* name) {
  for (long i = 0; i < s->nfields; ++i)
    if (loc_st_strcmp(text(s->fields[i].name), text(name)) == 0) return &s->fields[i];
  return nullptr;
}

typ_sch_srec* current(long type_id) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

long record(typ_ty_add_diff_proc sink, typ_sch_srec* o, typ_sch_srec* n, const void* a, const void* b, long op,
            utl_ty_col* list, unsigned long options) {
  return sink ? sink(o, n, a, b, op, list, options) : 0;
}

// Copies an old field back into the new schema.
long copy_back(typ_sch_srec* o, typ_sch_frec* f, typ_sch_srec* n, typ_ty_add_diff_proc sink, utl_ty_col* list,
               unsigned long options) {
  n->flags |= 0x1011;
  long pos = -1;
  if (n->flags & TYP_SCH_VIEW) {
    n->flags |= TYP_SCH_JOINS_DONE;
    auto* vi = static_cast<typ_sch_vinfo*>(f->uptr);
    if (long st = typ_sch_add_vfield(n, f->name, 0, vi ? vi->src_type_id : -1, nullptr, vi ? vi->alias : "",
                                     vi ? vi->src_field : -1, nullptr, f->gen_id, f->flags, f->comment, &pos))
      return st;
  } else {
    if (long st = typ_sch_fadd(n, f->name, f->data_type, f->db_type, f->gen_id, -1, f->flags, f->array_size,
                               f->dec_precision, f->dec_scale, 0, 0, f->def, f->comment, &pos))
      return st;
  }
  if (pos != f->spec_id && typ_sch_field_pos_chg_col) {
    typ_sch_field_pos_chg c{n->type_id, f->spec_id, pos, {0, 0, 0}};
    if (long st = utl_col_push(typ_sch_field_pos_chg_col, &c, nullptr)) return st;
  }
  f->old_name = typ_sch_empty_text;
  return record(sink, o, n, nullptr, nullptr, TYP_DIFF_SCHEMA, list, options);
}

struct flag_line {
  unsigned long bit;
  const char* added;
  const char* removed;
};
const flag_line kFlagLines[] = {
    {0x400, "   The CHANGE_DATE keyword was added to field '%s'.\n",
     "   The CHANGE_DATE keyword is flagged to remove from field '%s'.\n"},
    {0x200, "   The CHANGE_FIELD keyword was added to field '%s'.\n",
     "   The CHANGE_FIELD keyword was flagged to remove from field '%s'.\n"},
    {0x800, "   The DONT_DISTR_TO_CLIENT keyword was added to field '%s'.\n",
     "   The DONT_DISTR_TO_CLIENT keyword was flagged to remove from field '%s'.\n"},
    {0x1000, "   The DONT_DISTR_TO_SERVER keyword was added to field '%s'.\n",
     "   The DONT_DISTR_TO_SERVER keyword was flagged to remove from field '%s'.\n"},
    {0x80, "   The ALLOW_NULL keyword was added to field '%s'.\n",
     "   The ALLOW_NULL keyword was flagged to remove from field '%s'.\n"},
    {0x2000, "   The CURRENCY keyword was added to field '%s'.\n",
     "   The CURRENCY keyword was flagged to remove from field '%s'.\n"},
};

long index_count(utl_ty_col* c) {
  long n = 0;
  if (c) utl_col_num(c, &n);
  return n;
}
utl_ty_col* index_at(utl_ty_col* list, long i) {
  void* e = nullptr;
  utl_col_ith(list, i, &e);
  return e ? *static_cast<utl_ty_col**>(e) : nullptr;
}
const char* member(utl_ty_col* index, long i) {
  void* e = nullptr;
  if (!index || utl_col_ith(index, i, &e) || !e) return "";
  return static_cast<const char*>(e);
}

}  // namespace

typ_sch_rrec* typ_sch_cmp_rel(const typ_sch_rel_inst* e) {
  if (e->rel && !(typ_sch_relations && e->rel >= typ_sch_relations && e->rel < typ_sch_relations + typ_sch_num_rels))
    return e->rel;
  return typ_sch_entry_rel(e);
}

typ_sch_srec* typ_sch_cmp_other(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = typ_sch_cmp_rel(e);
  if (!r) return nullptr;
  if (r != typ_sch_entry_rel(e)) return e->side == 'p' ? r->fschema : r->pschema;
  return typ_sch_entry_other(e);
}

long typ_sch_diff_objs(typ_sch_diff_out* out, typ_sch_srec* s, long added, long forced, typ_ty_add_diff_proc sink,
                       utl_ty_col* list, unsigned long options) {
  const bool view = s->flags & TYP_SCH_VIEW;
  if (added) {
    typ_sch_pdiff(out, "%s %s %ld (%s).\n", "ADDED NEW", kind(s), s->type_id, s->info->name);
    return record(sink, nullptr, s, nullptr, nullptr, view ? TYP_DIFF_RECOMPILE_VIEW : TYP_DIFF_ADD_TYPE, list,
                  options);
  }
  char custom = 0;
  typ_sch_is_custom_table(s->type_id, &custom);
  const bool preserved = !forced && custom && (options & TYP_OPT_PRESERVE_USER);
  typ_sch_pdiff(out, "%s %s %ld (%s).\n", preserved ? "PRESERVED OLD" : "DELETED OLD", kind(s), s->type_id,
                s->info->name);
  if (preserved) return 0;
  return record(sink, s, nullptr, nullptr, nullptr, TYP_DIFF_DELETE_TYPE, list, options);
}

long typ_sch_compare_a_field(typ_sch_diff_out* out, typ_sch_srec*, const typ_sch_frec* f, typ_sch_srec* n,
                             const typ_sch_frec* g, char* modified, char* changed, unsigned long options,
                             char* no_drop) {
  *modified = *changed = *no_drop = 0;
  const char* name = text(f->name);
  if (f->data_type != g->data_type) {
    typ_sch_pdiff(out, "  Field '%s' is flagged to change  from  %s, to %s\n", name, cmn_typ_name(f->data_type),
                  cmn_typ_name(g->data_type));
    *changed = 1;
  }
  if (f->db_type != g->db_type) {
    const long server = adp_main_server_type();
    const bool larger = options & TYP_OPT_USE_LARGER_SIZE;
    if (larger && ((f->db_type == 4 && g->db_type == 3) || (f->db_type == 3 && g->db_type == 4 && (server & 2)))) {
      if (server & 1)
        typ_sch_pdiff(out,
                      "   Field '%s' was a 8 byte float. \n   The new data type real will be ignored and \n   the old "
                      "data type float will be preserved.\n",
                      name);
      else if (server & 2)
        typ_sch_pdiff(out,
                      "   Field '%s' was and is flagged to change as a number. \n   Change the data type from 3 to 4 "
                      "in schema.\n",
                      name);
    } else {
      typ_sch_pdiff(out, "  Field '%s' is flagged to change  from  %s, to %s\n", name, typ_sch_dtype_name(f->db_type),
                    typ_sch_dtype_name(g->db_type));
    }
    *modified = 1;
  }
  if ((options & TYP_OPT_USE_LARGER_SIZE) && f->array_size > g->array_size) {
    typ_sch_pdiff(out,
                  "   Field '%s' had a longer length of %ld. \n   The new length %ld will be ignored and \n   the old "
                  "length %ld will be preserved.\n",
                  name, f->array_size, g->array_size, f->array_size);
    *modified = 1;
  } else if (f->array_size != g->array_size) {
    typ_sch_pdiff(out, "   Field '%s' used to have a length of %ld, is flagged to change to %ld\n", name, f->array_size,
                  g->array_size);
    *modified = 1;
    if (g->array_size > f->array_size) *no_drop = 1;
  }
  if (f->gen_id != g->gen_id) {
    typ_sch_pdiff(out, "   Field '%s' used to have gen_field_id of %ld, is flagged to change to %ld\n", name, f->gen_id,
                  g->gen_id);
    *changed = 1;
  }
  if (std::strcmp(text(f->def), text(g->def)) != 0) {
    typ_sch_pdiff(out, "   Field '%s' used to have default '%s', is flagged to change as '%s'.\n", name, text(f->def),
                  text(g->def));
    *changed = 1;
  }
  for (const flag_line& l : kFlagLines) {
    if (l.bit == 0x80 && f->db_type == 8 && g->db_type == 8) continue;
    const bool was = f->flags & l.bit, is = g->flags & l.bit;
    if (was == is) continue;
    if (!was) {
      typ_sch_pdiff(out, l.added, name);
      *changed = 1;
    } else if (!(l.bit == 0x2000 && (n->flags & TYP_SCH_VIEW))) {
      typ_sch_pdiff(out, l.removed, name);
      *changed = 1;
    }
  }
  const bool texts = (f->db_type == 6 || f->db_type == 7) && (g->db_type == 6 || g->db_type == 7);
  if (texts && (f->flags & 0x100) != (g->flags & 0x100)) {
    if (g->flags & 0x100)
      typ_sch_pdiff(out, "   Text field '%s' was not case-insensitive, flagged to change.\n", name);
    else
      typ_sch_pdiff(out, "   Text field '%s' was case-insensitive, and flagged to change as case sensitive.\n", name);
    *modified = 1;
  }
  return 0;
}

long typ_sch_diff_fields(typ_sch_diff_out* out, typ_sch_srec* o, typ_sch_srec* n, typ_ty_add_diff_proc sink,
                         utl_ty_col* list, unsigned long options) {
  const long type_id = n->type_id;
  if (o->nfields != n->nfields)
    typ_sch_pdiff(out, "  Used to have %ld fields, now is flagged to have  %ld %sfields now.\n", o->nfields, n->nfields,
                  (n->flags & TYP_SCH_VIEW) ? "view " : "");
  for (long i = 0; i < n->nfields; ++i) {
    typ_sch_frec& g = n->fields[i];
    if (has_old_name(g) && !field_named(o, g.old_name)) {
      typ_sch_pdiff(out, "  Old field '%s' can't be found.\n", g.old_name);
      g.old_name = typ_sch_empty_text;
    }
  }
  char lob = 0, unicode = 0;
  typ_sch_is_lob_upgrade(&lob);
  typ_sch_is_unicode_upgrade(&unicode);
  const bool preserve = options & TYP_OPT_PRESERVE_USER, drops = options & TYP_OPT_ALLOW_DROPS;
  for (long i = 0; i < o->nfields; ++i) {
    typ_sch_frec* f = &o->fields[i];
    n = current(type_id);
    const typ_sch_frec* g = field_named(n, f->name);
    if (g && !has_old_name(*g)) {
      char modified = 0, changed = 0, no_drop = 0;
      typ_sch_compare_a_field(out, o, f, n, g, &modified, &changed, options, &no_drop);
      if (lob && (f->db_type == 8 || f->db_type == 10)) modified = 1;
      if (unicode) modified = 1;
      const typ_sch_frec gc = *g;
      if (modified) {
        if (long st = record(sink, o, n, f, &gc, no_drop ? TYP_DIFF_MODIFY_KEEP : TYP_DIFF_MODIFY_FIELD, list, options))
          return st;
      } else if (changed) {
        if (long st = record(sink, o, n, nullptr, nullptr, TYP_DIFF_SCHEMA, list, options)) return st;
      }
      continue;
    }
    bool renamed = false;
    for (long k = 0; k < n->nfields && !renamed; ++k)
      if (has_old_name(n->fields[k]) && loc_st_strcmp(n->fields[k].old_name, text(f->name)) == 0) renamed = true;
    if (renamed) continue;
    bool drop = true;
    bool announced_user = false;
    if (!(o->flags & TYP_SCH_VIEW)) {
      const bool user = f->flags & TYP_FLD_USER;
      if (preserve) {
        drop = user ? false : drops;
        announced_user = user;
      } else {
        drop = drops || user;
      }
    }
    if (drop) {
      typ_sch_pdiff(out, "  Old field '%s' has been flagged for deletion.\n", text(f->name));
      if (long st = record(sink, o, n, f, nullptr, TYP_DIFF_DELETE_FIELD, list, options)) return st;
      continue;
    }
    if (announced_user)
      typ_sch_pdiff(out, "  User-defined field '%s' will be preserved.\n", text(f->name));
    else
      typ_sch_pdiff(out,
                    "  Old field '%s' has been not found in new schema since allow_drops not specified it will be "
                    "preserved.\n",
                    text(f->name));
    if (long st = copy_back(o, f, n, sink, list, options)) return st;
  }
  n = current(type_id);
  for (long k = 0; k < n->nfields; ++k) {
    const typ_sch_frec g = n->fields[k];
    const typ_sch_frec* f = field_named(o, g.name);
    if (f && !has_old_name(g)) continue;
    const typ_sch_frec* from = has_old_name(g) ? field_named(o, g.old_name) : nullptr;
    if (from) {
      typ_sch_pdiff(out, "  Field '%s' has been flagged for renaming from '%s'.\n", text(g.name), g.old_name);
      if (long st = record(sink, o, n, from, &g, TYP_DIFF_RENAME_FIELD, list, options)) return st;
    } else {
      typ_sch_pdiff(out, "  Field '%s' has been added.\n", text(g.name));
      if (long st = record(sink, o, n, &g, nullptr, TYP_DIFF_ADD_FIELD, list, options)) return st;
    }
    n = current(type_id);
  }
  return 0;
}

long typ_sch_diff_indexes(KAdpConnId* con, typ_sch_diff_out* out, typ_sch_srec* o, long old_in_memory,
                          typ_sch_srec* n, long new_in_memory, typ_ty_add_diff_proc sink, utl_ty_col* list,
                          unsigned long options) {
  utl_ty_col* lists[2] = {nullptr, nullptr};
  bool read[2] = {false, false};
  typ_sch_srec* sides[2] = {o, n};
  const long in_memory[2] = {old_in_memory, new_in_memory};
  for (int i = 0; i < 2; ++i) {
    if (in_memory[i]) {
      void* word = nullptr;
      typ_sch_uptr_get(sides[i], &word);
      lists[i] = static_cast<utl_ty_col*>(word);
    } else {
      if (long st = dbs_rdb_get_indexes(con, sides[i]->type_id, &lists[i])) {
        if (read[0]) dbs_rdb_free_ind_col(nullptr, lists[0]);
        return st;
      }
      read[i] = true;
    }
  }
  std::string detail;
  char buf[1024];
  const long no = index_count(lists[0]), nn = index_count(lists[1]);
  if (no != nn) {
    snprintf(buf, sizeof buf, "   There are %ld indexes in the old schema, %ld in the new schema.\n", no, nn);
    detail = buf;
  }
  for (long i = 0; i < no && detail.empty(); ++i) {
    utl_ty_col* oi = index_at(lists[0], i);
    const char* iname = member(oi, 0);
    utl_ty_col* ni = nullptr;
    for (long k = 0; k < nn && !ni; ++k)
      if (std::strcmp(member(index_at(lists[1], k), 0), iname) == 0) ni = index_at(lists[1], k);
    if (!ni) {
      snprintf(buf, sizeof buf, "   Index '%s' exists in old schema, but not in new.\n", iname);
      detail = buf;
      break;
    }
    const long fo = index_count(oi) - 1, fn = index_count(ni) - 1;
    if (fo != fn) {
      snprintf(buf, sizeof buf, "   Index '%s' has %ld fields in old schema, %ld in new.\n", iname, fo, fn);
      detail = buf;
      break;
    }
    long uo = 0, un = 0;
    utl_col_get_ext(oi, &uo);
    utl_col_get_ext(ni, &un);
    if ((uo == 1) != (un == 1)) {
      snprintf(buf, sizeof buf, "   Index '%s' %s in old schema, %s in new.\n", iname,
               uo == 1 ? "was UNIQUE" : "was not UNIQUE", un == 1 ? "was UNIQUE" : "was not UNIQUE");
      detail = buf;
      break;
    }
    for (long k = 1; k <= fo; ++k)
      if (loc_st_strcmpi(member(oi, k), member(ni, k)) != 0) {
        snprintf(buf, sizeof buf, "   Index '%s' has field #%ld '%s' in old schema, but field #%ld in new is '%s'.\n",
                 iname, k, member(oi, k), k, member(ni, k));
        detail = buf;
        break;
      }
  }
  long st = 0;
  if (!detail.empty()) {
    typ_sch_pdiff(out, "  Indexes for %s type '%s' have changed.\n", kind(o), o->info->name);
    typ_sch_pdiff(out, "%s", detail.c_str());
    st = record(sink, o, n, nullptr, nullptr, TYP_DIFF_INDEXES, list, options);
  }
  for (int i = 0; i < 2; ++i)
    if (read[i]) dbs_rdb_free_ind_col(nullptr, lists[i]);
  return st;
}

long typ_sch_remove_no_drop_changes(utl_ty_col* list) {
  FILE* msg = osl_file_stdout() ? osl_file_stdout() : stdout;
  auto at = [&](long i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    return static_cast<typ_sch_diff_rec*>(e);
  };
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    typ_sch_diff_rec* r = at(i);
    // The deletion of a type has no new schema: it is a drop of the old one.
    typ_sch_srec* s = r->schema ? r->schema : (r->op == TYP_DIFF_DELETE_TYPE ? r->old_schema : nullptr);
    if (!r->droppable || !s || !(s->flags & TYP_SCH_OBJECT)) continue;
    const long type_id = r->type_id;
    fprintf(msg, "  One or more changes for the OBJECT '%s' voilated no_drops, all changes for this object reverted.\n",
            s->info->name);
    long removed_before = 0;
    for (long k = n - 1; k >= 0; --k) {
      if (at(k)->type_id != type_id) continue;
      if (long st = utl_col_remove(list, nullptr, k)) return st;
      if (k <= i) ++removed_before;
    }
    utl_col_num(list, &n);
    i -= removed_before;
  }
  for (long i = 0; i < n; ++i) {
    typ_sch_diff_rec* v = at(i);
    if (!v->schema || !(v->schema->flags & TYP_SCH_VIEW) || !v->old_field.uptr) continue;
    const long src = static_cast<typ_sch_vinfo*>(v->old_field.uptr)->src_type_id;
    bool base = false;
    for (long k = 0; k < n && !base; ++k) {
      typ_sch_diff_rec* r = at(k);
      if (r->type_id == src && !(r->schema && (r->schema->flags & TYP_SCH_VIEW))) base = true;
    }
    if (base) continue;
    fprintf(msg,
            "  One or more changes for the VIEW '%s' or underlaying table voilated no_drops, all changes for this "
            "object reverted.\n",
            v->schema->info->name);
    if (long st = utl_col_remove(list, nullptr, i)) return st;
    --i;
    --n;
  }
  return 0;
}

long typ_sch_add_cust_obj(typ_sch_srec* s) {
  typ_sch_srec* c = nullptr;
  if (long st = typ_sch_define_obj(s->info->name, s->type_id, s->info->subject, s->description, &c)) return st;
  c->flags = s->flags | TYP_SCH_CONSTRUCT;
  if (long st = adp_sch_type_insert(c->type_id, static_cast<long>(c->flags), c->info->name)) return st;
  for (long i = 0; i < s->nfields; ++i) {
    typ_sch_frec f = s->fields[i];
    f.spec_id = -1;
    c = current(s->type_id);
    long st = (f.flags & TYP_FLD_USER) ? typ_sch_add_ufield(c, &f, nullptr) : typ_sch_add_pfield(c, &f, nullptr);
    if (st) return st;
  }
  for (long i = 0; i < s->nrels; ++i)
    if (long st = typ_sch_keep_rel(current(s->type_id), &s->rels[i])) return st;
  return 0;
}

long typ_sch_redefine_view_joins(long view_type_id, const typ_sch_srec* v, const typ_sch_srec* names, long nnames) {
  for (long i = 0; i < v->nrels; ++i) {
    const typ_sch_rel_inst& e = v->rels[i];
    typ_sch_rrec* r = e.rel;
    if (!r || !e.join) continue;
    auto name = [&](long index) { return index >= 0 && index < nnames ? names[index].info->name : ""; };
    const char* pa = e.join->palias && *e.join->palias ? e.join->palias : name(r->pindex);
    const char* fa = e.join->falias && *e.join->falias ? e.join->falias : name(r->findex);
    const long kind_word = e.join_kind == 1 || e.join_kind == 2 ? e.join_kind : 0;
    if (long st = typ_sch_define_join(current(view_type_id), pa, r->pname, fa, r->fname, e.join->text, kind_word))
      return st;
  }
  auto* block = static_cast<typ_sch_alias_blk*>(v->info->uptr);
  if (block)
    if (long st = typ_sch_make_view_alias(current(view_type_id), block->types, block->aliases)) return st;
  return 0;
}

long typ_sch_add_cust_view(typ_sch_srec* v, typ_sch_srec* olds, long nold) {
  static const char* const kProc = "typ_sch_add_cust_view";
  typ_sch_srec* c = nullptr;
  if (long st = typ_sch_define_struct(v->info->name, v->type_id, v->info->subject, v->description, v->info->sql, &c))
    return st;
  const long id = v->type_id;
  if (v->flags & TYP_SCH_SQL_VIEW) return 0;
  if (long st = adp_sch_type_insert(id, static_cast<long>(v->flags), c->info->name)) return st;
  c->flags = v->flags | TYP_SCH_CONSTRUCT;
  for (long i = 0; i < v->nfields; ++i) {
    const typ_sch_frec& f = v->fields[i];
    auto* vi = static_cast<typ_sch_vinfo*>(f.uptr);
    const long src = vi ? vi->src_type_id : -1;
    if (!current(src)) {
      const char* src_name = vi && vi->src_schema >= 0 && vi->src_schema < nold ? olds[vi->src_schema].info->name : "";
      return typ_alrt(kProc, TYP_VIEW_NO_TYPE, src_name, text(f.name), v->info->name);
    }
    long pos = -1;
    if (typ_sch_add_vfield(current(id), f.name, 0, src, nullptr, vi->alias, vi->src_field, nullptr, f.gen_id, f.flags,
                           f.comment, &pos)) {
      cmn_alrt_clear(nullptr);
      typ_sch_set_next_diff_type("");
      typ_sch_pdiff(nullptr, "%s %s (%ld) changed:\n", kind(v), v->info->name, id);
      typ_sch_pdiff(nullptr, "    Field Diff: '%s': could not find or refer\n", text(f.name));
    }
  }
  if (long st = typ_sch_redefine_view_joins(id, v, olds, nold)) return st;
  c = current(id);
  c->flags |= 0x11;
  return adp_sch_type_insert(id, static_cast<long>(c->flags), c->info->name);
}

long typ_sch_preserve_all_cust_obj(utl_ty_col* old_schemas) {
  void* a = nullptr;
  long n = 0;
  if (old_schemas) utl_col_get_array(old_schemas, &a, &n);
  auto* olds = static_cast<typ_sch_srec*>(a);
  for (long i = 0; i < n; ++i) {
    typ_sch_srec* s = &olds[i];
    char custom = 0;
    typ_sch_is_custom_table(s->type_id, &custom);
    if ((s->flags & TYP_SCH_VIEW) || s->type_id == -2 || current(s->type_id) || !custom) continue;
    if (long st = typ_sch_add_cust_obj(s)) return st;
    if (long st = typ_sch_optimize()) return st;
    if (long st = typ_sch_adjust_view_rel_ptr()) return st;
  }
  return 0;
}

long typ_sch_diffs(KAdpConnId* con, typ_sch_saved* saved, typ_ty_add_diff_proc sink, utl_ty_col* list,
                   unsigned long options, typ_sch_diff_out* out) {
  static const char* const kProc = "typ_sch_diffs";
  if (!saved) return typ_alrt(kProc, TYP_BAD_HANDLE, 0L);
  typ_sch_saved_schema = saved;
  bool opened = false;
  // The report file is closed and the position list freed on every return.
  auto finish = [&](long st) {
    if (typ_sch_field_pos_chg_col) utl_col_free(kProc, typ_sch_field_pos_chg_col);
    typ_sch_field_pos_chg_col = nullptr;
    if (opened && out->stream) fclose(out->stream);
    if (opened) out->stream = nullptr;
    return st;
  };
  if (out) {
    out->stream = nullptr;
    if (out->file_name && *out->file_name) {
      out->stream = loc_io_fopen(out->file_name, "w");
      if (!out->stream) return typ_alrt(kProc, TYP_CMP_NO_FILE, out->file_name);
      opened = true;
    }
  }
  const char* title = nullptr;
  if (long st = cmn_alrt_get_msg(TYP_CMP_TITLE, &title)) return finish(st);
  typ_sch_set_next_diff_type("");
  typ_sch_pdiff(out, "%s", text(title));
  if (options & TYP_OPT_PRESERVE_USER)
    if (long st = typ_sch_preserve_all_cust_obj(saved->schemas)) return finish(st);
  if (!typ_sch_field_pos_chg_col)
    if (long st = utl_col_make(kProc, 689, 10, 10, 0, 0, &typ_sch_field_pos_chg_col)) return finish(st);
  long nold = 0, nrels = 0;
  typ_sch_srec* olds = nullptr;
  typ_sch_rrec* rels = nullptr;
  typ_sch_get_saved_schema(saved, &nold, &olds, &nrels, &rels);
  auto old_of = [&](long type_id) -> typ_sch_srec* {
    for (long i = 0; i < nold; ++i)
      if (olds[i].type_id == type_id) return &olds[i];
    return nullptr;
  };
  const unsigned long filters[2] = {TYP_SCH_VIEW, TYP_SCH_OBJECT};
  // A subobject type passes both filters; it is compared once.
  std::vector<long> seen;
  auto first_visit = [&](long id) {
    for (long s : seen)
      if (s == id) return false;
    seen.push_back(id);
    return true;
  };
  for (unsigned long skip : filters) {
    // Types are looked up again by id: copying back may move the records.
    std::vector<long> ids;
    for (long i = 0; i < typ_sch_num_schs; ++i)
      if (!(typ_sch_schemas[i].flags & skip)) ids.push_back(typ_sch_schemas[i].type_id);
    for (long id : ids) {
      typ_sch_srec* n = current(id);
      if (!n || !first_visit(id)) continue;
      // These ids are left out in both directions, added ones too.
      if (skipped_id(id)) continue;
      typ_sch_set_next_diff_type("");
      typ_sch_srec* o = old_of(id);
      if (!o) {
        if (long st = typ_sch_diff_objs(out, n, 1, 0, sink, list, options)) return finish(st);
        continue;
      }
      if (((o->flags & TYP_SCH_OBJECT) && !(n->flags & TYP_SCH_OBJECT)) ||
          ((o->flags & TYP_SCH_VIEW) && !(n->flags & TYP_SCH_VIEW))) {
        if (long st = typ_sch_diff_objs(out, o, 0, 1, sink, list, options)) return finish(st);
        if (long st = typ_sch_diff_objs(out, current(id), 1, 1, sink, list, options)) return finish(st);
        continue;
      }
      if (sink && std::strcmp(o->info->name, n->info->name) != 0) {
        if (long st = sink(o, n, nullptr, nullptr, TYP_DIFF_MODIFY_TYPE, list, options)) return finish(st);
        for (long k = 0; k < n->nrels; ++k) {
          typ_sch_rrec* r = typ_sch_cmp_rel(&n->rels[k]);
          typ_sch_srec* t = typ_sch_cmp_other(&n->rels[k]);
          if (!r || r->type == TYP_REL_MTM || !t) continue;
          if (long st = sink(nullptr, t, nullptr, nullptr, TYP_DIFF_REL_SCHEMA, list, options)) return finish(st);
        }
      }
      if (sink) {
        for (unsigned long bit : {0x80000UL, 0x200000UL})
          if ((o->flags & bit) != (n->flags & bit))
            if (long st = sink(o, n, nullptr, nullptr, TYP_DIFF_ATTRIBUTE, list, options)) return finish(st);
      }
      char heading[256];
      snprintf(heading, sizeof heading, "%s %s (%ld) changed:\n", kind(n), n->info->name, n->type_id);
      typ_sch_set_next_diff_type(heading);
      if (long st = typ_sch_diff_fields(out, o, n, sink, list, options)) return finish(st);
      if (long st = typ_sch_diff_rels(out, o, current(id), sink, list, options)) return finish(st);
      if (o->flags & TYP_SCH_OBJECT)
        if (long st = typ_sch_diff_indexes(con, out, o, 0, current(id), 1, sink, list, options)) return finish(st);
    }
  }
  seen.clear();
  for (unsigned long skip : filters) {
    for (long i = 0; i < nold; ++i) {
      typ_sch_srec* o = &olds[i];
      if ((o->flags & skip) || skipped_id(o->type_id) || o->type_id == -2 || current(o->type_id)) continue;
      if (!first_visit(o->type_id)) continue;
      typ_sch_set_next_diff_type("");
      char custom = 0;
      typ_sch_is_custom_table(o->type_id, &custom);
      if (custom && (options & TYP_OPT_PRESERVE_USER)) {
        long st = (o->flags & TYP_SCH_VIEW) ? typ_sch_add_cust_view(o, olds, nold) : typ_sch_add_cust_obj(o);
        if (st) return finish(st);
        if (long st = typ_sch_optimize()) return finish(st);
        if (long st = typ_sch_adjust_view_rel_ptr()) return finish(st);
      }
      if (long st = typ_sch_diff_objs(out, o, 0, 0, sink, list, options)) return finish(st);
    }
  }
  finish(0);
  if (!(options & TYP_OPT_ALLOW_DROPS) && list) {
    if (long st = typ_sch_remove_no_drop_changes(list)) return st;
  }
  return 0;
}
