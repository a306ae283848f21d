// Folding a difference list into the current model (a list that carries no
// saved model), and the relation helpers it uses.
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_apply.h"
#include "schema/typ_cmp.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_rdb.h"

namespace {

const char* text(const char* t) { return t ? t : ""; }

typ_sch_rel_inst* entry_named(typ_sch_srec* s, const char* name, long side) {
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst* e = &s->rels[i];
    if ((side == 0 || e->side == side) && std::strcmp(typ_sch_entry_name(e), text(name)) == 0) return e;
  }
  return nullptr;
}

long cmp_rels(const void* a, const void* b, void*) { return typ_sch_rels_cmp(a, b); }

void mark(typ_sch_srec* s, unsigned long bits) {
  if (s) s->flags |= bits;
}

}  // namespace

long typ_sch_set_mtm_table(typ_sch_srec* s, const char* name, const char* table, typ_sch_srec** target) {
  if (target) *target = nullptr;
  typ_sch_rel_inst* e = entry_named(s, name, 0);
  typ_sch_rrec* r = e ? typ_sch_entry_rel(e) : nullptr;
  if (!r) return 0;
  if (long st = utl_col_alloc_string(typ_sch_rel_col, text(table), &r->mtm_table)) return st;
  const char* fmt = nullptr;
  if (cmn_alrt_get_msg(0x50003d, &fmt) == 0 && fmt) {
    char buf[600];
    snprintf(buf, sizeof buf, fmt, text(name), text(table));
    osl_print_mes("%s", buf);
  }
  if (target) *target = e->side == 'p' ? r->fschema : r->pschema;
  return 0;
}

long typ_sch_set_relid(typ_sch_srec* s, const char* name, long side, long id) {
  typ_sch_rel_inst* e = entry_named(s, name, side);
  typ_sch_rrec* r = e ? typ_sch_entry_rel(e) : nullptr;
  if (!r) return 0;
  (side == 'p' ? r->pspec : r->fspec) = id;
  if (long st = utl_col_sort(s->rcol, cmp_rels, nullptr)) return st;
  typ_sch_publish_relations(s);
  return 0;
}

long typ_sch_fold_in_changes(KAdpConnId* con, utl_ty_col* list, unsigned long options) {
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* p = nullptr;
    utl_col_ith(list, i, &p);
    auto* r = static_cast<typ_sch_diff_rec*>(p);
    typ_sch_srec* s = r->schema;
    if (!s) continue;
    typ_sch_srec* target = nullptr;
    const typ_sch_frec& of = r->old_field;
    const typ_sch_frec& nf = r->new_field;
    long spec = -1;
    switch (r->op) {
      case TYP_DIFF_ADD_FIELD:
        mark(s, 0x1011);
        if (long st = typ_sch_fadd(s, of.name, of.data_type, of.db_type, of.gen_id, -1, of.flags, of.array_size,
                                   of.dec_precision, of.dec_scale, 0, 0, of.def, of.comment, &spec))
          return st;
        break;
      case TYP_DIFF_DELETE_FIELD:
        mark(s, 0x1011);
        if (long st = typ_sch_field_delete(s, of.name)) return st;
        break;
      case TYP_DIFF_MODIFY_FIELD:
      case TYP_DIFF_RENAME_FIELD:
        if (r->op == TYP_DIFF_RENAME_FIELD || of.db_type != nf.db_type || of.array_size != nf.array_size)
          mark(s, 0x1011);
        if (long st = typ_sch_freplace(s, of.name, nf.name, nf.data_type, nf.db_type, nf.gen_id, -1, nf.flags,
                                       nf.array_size, nf.def, nf.comment, &spec))
          return st;
        break;
      case TYP_DIFF_ADD_REL:
      case TYP_DIFF_REL_KEPT:
      case TYP_DIFF_EXCL_ADD:
      case TYP_DIFF_EXCL_JOIN: {
        const typ_sch_diff_rel_info& info = r->op == TYP_DIFF_EXCL_JOIN ? r->new_rel : r->rel;
        const typ_sch_rrec* rec = r->op == TYP_DIFF_EXCL_JOIN ? r->new_rel_rec : r->rel_rec;
        mark(s, 0x1011);
        long pos = -1;
        if (long st = typ_sch_define_a_rel(s, text(info.name), info.rel_type,
                                           info.target ? info.target->info->name : "", -1, -1, &pos,
                                           text(info.inv_name), rec ? rec->exclusive : 0,
                                           rec ? text(rec->phys_name) : "", rec ? text(rec->focus_field) : "",
                                           text(info.comment), "", info.flags, rec ? text(rec->excl_set) : ""))
          return st;
        break;
      }
      case TYP_DIFF_DELETE_REL:
      case TYP_DIFF_EXCL_DROP:
        mark(s, 0x1011);
        if (long st = typ_sch_delete_rel(s, r->rel.name, &target)) return st;
        mark(target, 0x11);
        break;
      case TYP_DIFF_MODIFY_REL:
        mark(s, 0x1011);
        if (r->rel.spec_id != r->new_rel.spec_id)
          if (long st = typ_sch_set_relid(s, r->rel.name, r->rel.side, r->new_rel.spec_id)) return st;
        if (r->rel.rel_type == TYP_REL_MTM && std::strcmp(text(r->rel.mtm_table), text(r->new_rel.mtm_table)) != 0) {
          if (long st = typ_sch_set_mtm_table(s, r->rel.name, r->new_rel.mtm_table, &target)) return st;
          mark(target, 0x11);
        }
        break;
      case TYP_DIFF_RENAME_REL:
        mark(s, 0x1011);
        if (long st = typ_sch_rename_rel(s, r->rel.name, r->new_rel.name, &target)) return st;
        mark(target, 0x11);
        break;
      case TYP_DIFF_DELETE_TYPE:
        s->flags = (s->flags | TYP_SCH_DELETED) & ~TYP_SCH_CHANGED;
        break;
      case TYP_DIFF_MODIFY_TYPE:
        if (r->old_schema) s->description = r->old_schema->description;
        mark(s, 0x10);
        break;
      case TYP_DIFF_RECOMPILE_VIEW:
        if (long st = typ_sch_empty_schema(s)) return st;
        break;
      case TYP_DIFF_SCHEMA:
        mark(s, 0x11);
        break;
      case TYP_DIFF_INDEXES:
        mark(s, 0x1000);
        break;
      case TYP_DIFF_REL_SCHEMA:
        mark(s, 0x2010);
        break;
      default:
        break;
    }
  }
  // Types whose indexes are to be recompiled get their record.
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    if (!(s->flags & TYP_SCH_OBJECT) || !(s->flags & 0x1000)) continue;
    void* word = nullptr;
    typ_sch_uptr_get(s, &word);
    if ((options & 0x80) && !word) {
      utl_ty_col* indexes = nullptr;
      if (long st = dbs_rdb_get_indexes(con, s->type_id, &indexes)) return st;
      typ_sch_uptr_set(s, indexes);
    }
    if (long st = typ_sch_add_diff(s, s, nullptr, nullptr, TYP_DIFF_INDEXES, list, options)) return st;
  }
  if (long st = typ_sch_remake_types(list)) return st;
  if (long st = typ_sch_rel_check()) return st;
  return typ_sch_optimize();
}
