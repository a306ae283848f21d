// Marking the schemas that a list of differences changes: each record's
// schema with what changes (table, relations, schema row), the relation
// records the record names, the deleted types, and the views whose base
// types changed.
#include <cstring>

#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_cmp.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"

namespace {

const char* const kProc = "typ_sch_apply_diffs";

// Schema flags set while the differences are marked.
constexpr unsigned long kFlagMarks = 0x7010;      // every mark below, cleared first
constexpr unsigned long kFlagTable = 0x4000;      // the type's table changes
constexpr unsigned long kFlagRelations = 0x2000;  // the type's relations change
constexpr unsigned long kFlagSchemaRow = 0x1;     // the type's own schema row changes
constexpr unsigned long kViewCheck = TYP_SCH_DELETED | TYP_SCH_VIEW;
// A view field whose storage was taken again from its source field.
constexpr unsigned long kFieldRefreshed = 0x40;
// The relation index in a view field's second source (below TYP_VINFO_REL).
constexpr long kVinfoRelIndex = 0xBFFF;

// Alerts.
constexpr long kAlrtOldRelMissing = 0x500034;
constexpr long kAlrtNewRelMissing = 0x500035;
constexpr long kAlrtRenamedRelMissing = 0x500036;

// Finds the relation (type id, name) among `count` records; sets the side.
typ_sch_rrec* locate(typ_sch_rrec* rels, long count, long type_id, const char* name, long* side) {
  if (!name) return nullptr;
  for (long i = 0; i < count; ++i) {
    typ_sch_rrec* r = &rels[i];
    if (r->fschema && r->fschema->type_id == type_id && r->fname && std::strcmp(r->fname, name) == 0) {
      *side = 'f';
      return r;
    }
    if (r->pschema && r->pschema->type_id == type_id && r->pname && std::strcmp(r->pname, name) == 0) {
      *side = 'p';
      return r;
    }
  }
  return nullptr;
}

// The record's relation found in rels: its record and side, or the alert.
long find_rel(typ_sch_rrec* rels, long count, long type_id, typ_sch_diff_rel_info* rel, typ_sch_rrec** found,
              long alert) {
  long side = 0;
  *found = locate(rels, count, type_id, rel->name, &side);
  if (!*found) return typ_alrt(kProc, alert, rel->name ? rel->name : "");
  rel->side = side;
  return 0;
}

// The marks one kind of difference sets on its schema (none for a deleted
// type or a kind that changes no schema).
unsigned long marks_of(const typ_sch_diff_rec* r, bool table_rewrite) {
  switch (r->op) {
    case TYP_DIFF_ADD_FIELD:
    case TYP_DIFF_DELETE_FIELD:
    case TYP_DIFF_RENAME_FIELD:
      return kFlagTable | TYP_SCH_CHANGED;
    case TYP_DIFF_MODIFY_FIELD:
      if (r->old_field.db_type != r->new_field.db_type || r->old_field.array_size != r->new_field.array_size ||
          table_rewrite)
        return kFlagTable | TYP_SCH_CHANGED;
      return TYP_SCH_CHANGED;
    case TYP_DIFF_ADD_REL:
    case TYP_DIFF_MODIFY_REL:
    case TYP_DIFF_REL_KEPT:
    case TYP_DIFF_EXCL_ADD:
    case TYP_DIFF_DELETE_REL:
    case TYP_DIFF_EXCL_DROP:
    case TYP_DIFF_RENAME_REL:
    case TYP_DIFF_REL_SCHEMA:
    case TYP_DIFF_EXCL_JOIN:
      return kFlagRelations | TYP_SCH_CHANGED;
    case TYP_DIFF_ADD_TYPE:
    case TYP_DIFF_MODIFY_TYPE:
    case TYP_DIFF_RECOMPILE_VIEW:
      return kFlagTable | kFlagRelations | TYP_SCH_CHANGED;
    case TYP_DIFF_SCHEMA:
      return kFlagSchemaRow | TYP_SCH_CHANGED;
    default:
      return 0;
  }
}

// Finds the relation records one difference record names: the current
// model's for an added or kept relation, the model before for a dropped or
// renamed one; a deleted type's id goes to deleted.
long link_diff(typ_sch_diff_rec* r, typ_sch_rrec* before, long nbefore, utl_ty_col* deleted) {
  switch (r->op) {
    case TYP_DIFF_ADD_REL:
    case TYP_DIFF_MODIFY_REL:
    case TYP_DIFF_REL_KEPT:
    case TYP_DIFF_EXCL_ADD:
      return find_rel(typ_sch_relations, typ_sch_num_rels, r->type_id, &r->rel, &r->rel_rec, kAlrtNewRelMissing);
    case TYP_DIFF_DELETE_REL:
    case TYP_DIFF_EXCL_DROP:
      return find_rel(before, nbefore, r->type_id, &r->rel, &r->rel_rec, kAlrtOldRelMissing);
    case TYP_DIFF_RENAME_REL:
      return find_rel(before, nbefore, r->type_id, &r->rel, &r->rel_rec, kAlrtRenamedRelMissing);
    case TYP_DIFF_EXCL_JOIN:
      if (long st = find_rel(typ_sch_relations, typ_sch_num_rels, r->type_id, &r->new_rel, &r->new_rel_rec,
                             kAlrtNewRelMissing))
        return st;
      return find_rel(before, nbefore, r->type_id, &r->rel, &r->rel_rec, kAlrtRenamedRelMissing);
    case TYP_DIFF_DELETE_TYPE: {
      long id = r->old_schema ? r->old_schema->type_id : r->type_id;
      return utl_col_push(deleted, &id, nullptr);
    }
    default:
      return 0;
  }
}

// The current, not deleted schema of a type id, or null.
typ_sch_srec* live_schema(long type_id) {
  for (long k = 0; k < typ_sch_num_schs; ++k)
    if (typ_sch_schemas[k].type_id == type_id && !(typ_sch_schemas[k].flags & TYP_SCH_DELETED))
      return &typ_sch_schemas[k];
  return nullptr;
}

// After a base type changed, each view field takes its source field's
// storage attributes again.
void refresh_view_fields(typ_sch_srec* v) {
  if (v->flags & (TYP_SCH_SQL_VIEW | TYP_SCH_DELETED)) return;
  for (long i = 0; i < v->nfields; ++i) {
    auto* vi = static_cast<typ_sch_vinfo*>(v->fields[i].uptr);
    if (!vi || vi->unresolved || vi->src_schema < 0 || vi->src_schema >= typ_sch_num_schs) continue;
    const typ_sch_srec* src = &typ_sch_schemas[vi->src_schema];
    if (!(src->flags & TYP_SCH_CHANGED) || vi->src_field < 0 || vi->src_field >= src->nfields) continue;
    const typ_sch_frec& f = src->fields[vi->src_field];
    v->fields[i].array_size = f.array_size;
    v->fields[i].data_type = f.data_type;
    v->fields[i].db_type = f.db_type;
    v->fields[i].flags |= kFieldRefreshed;
  }
}

}  // namespace

void typ_sch_clear_marks() {
  for (long i = 0; i < typ_sch_num_schs; ++i) typ_sch_schemas[i].flags &= ~kFlagMarks;
}

long typ_sch_mark_diffs(utl_ty_col* list, bool table_rewrite, typ_sch_rrec* before, long nbefore,
                        utl_ty_col* deleted) {
  long n = 0;
  utl_col_num(list, &n);
  typ_sch_srec* s = nullptr;
  long last_id = -3;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    auto* r = static_cast<typ_sch_diff_rec*>(e);
    // The list is sorted by type: a type's schema is looked up once.
    if (r->type_id != last_id) {
      s = live_schema(r->type_id);
      last_id = r->type_id;
    }
    r->schema = s;
    if (s) s->flags |= marks_of(r, table_rewrite);
    if (long st = link_diff(r, before, nbefore, deleted)) return st;
  }
  return 0;
}

void typ_sch_mark_views() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* v = &typ_sch_schemas[i];
    if ((v->flags & kViewCheck) != TYP_SCH_VIEW) continue;
    char changed = 0;
    typ_sch_has_views_obj_changed(v, &changed);
    if (!changed) continue;
    v->flags |= kFlagTable | kFlagRelations | TYP_SCH_CHANGED;
    refresh_view_fields(v);
  }
}

long typ_sch_has_views_obj_changed(typ_sch_srec* v, char* changed) {
  *changed = 0;
  auto flagged = [](const typ_sch_srec* s) { return s && (s->flags & TYP_SCH_CHANGED); };
  for (long i = 0; i < v->nfields && !*changed; ++i) {
    auto* vi = static_cast<typ_sch_vinfo*>(v->fields[i].uptr);
    if (!vi) {
      *changed = 1;
      break;
    }
    if (vi->src_field2 & TYP_VINFO_REL) {
      const long idx = vi->src_field2 & kVinfoRelIndex;
      if (idx >= 0 && idx < typ_sch_num_rels &&
          (flagged(typ_sch_relations[idx].pschema) || flagged(typ_sch_relations[idx].fschema)))
        *changed = 1;
    }
    if (vi->src_schema >= 0 && vi->src_schema < typ_sch_num_schs && flagged(&typ_sch_schemas[vi->src_schema]))
      *changed = 1;
  }
  for (long i = 0; i < v->nrels && !*changed; ++i) {
    typ_sch_rrec* r = typ_sch_cmp_rel(&v->rels[i]);
    if (r && (flagged(r->pschema) || flagged(r->fschema))) *changed = 1;
  }
  return 0;
}
