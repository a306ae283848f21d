// Applying schema differences: marking the schemas concerned, the table
// changes, and on commit the schema, revisions and stored procedures.
#include <cstdio>
#include <cstring>

#include "adapter/adp_sch.h"
#include "adapter/adp_sch_upg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"
#include "store/dbs_upg.h"

namespace {

const char* const kProc = "typ_sch_apply_diffs";

// Options of typ_sch_apply_diffs.
constexpr unsigned long kOptConvertDb = 0x40;        // convert the database first
constexpr unsigned long kOptCommit = 0x80;           // write the schema and revisions
constexpr unsigned long kOptTrace = 0x400;           // print the differences and table changes
constexpr unsigned long kOptUseSavedModel = 0x1000;  // the list's saved model becomes current
constexpr unsigned long kOptChangeMode = 0x80000;    // passed on to the table changes

// Schema flags set while the differences are marked.
constexpr unsigned long kFlagMarks = 0x7010;      // every mark below, cleared first
constexpr unsigned long kFlagTable = 0x4000;      // the type's table changes
constexpr unsigned long kFlagRelations = 0x2000;  // the type's relations change
constexpr unsigned long kFlagSchemaRow = 0x1;     // the type's own schema row changes
constexpr unsigned long kViewCheck = TYP_SCH_DELETED | TYP_SCH_VIEW;

// Alerts and messages.
constexpr long kMsgDeleteType = 0x500033;
constexpr long kAlrtOldRelMissing = 0x500034;
constexpr long kAlrtNewRelMissing = 0x500035;
constexpr long kAlrtRenamedRelMissing = 0x500036;
constexpr long kMsgApplying = 0x500037;
constexpr long kMsgChangingTables = 0x500038;
constexpr long kMsgWritingSchema = 0x500039;
constexpr long kMsgCreatingProcs = 0x50003a;
constexpr long kMsgTypeChanged = 0x50003b;
constexpr long kMsgTypeDeleted = 0x50003c;

// Prints a message of the TYP list with up to two arguments.
void print_msg(long code, const char* a = nullptr, const char* b = nullptr, long n = 0) {
  const char* fmt = nullptr;
  if (cmn_alrt_get_msg(code, &fmt) || !fmt) return;
  char buf[1024];
  if (a && b)
    snprintf(buf, sizeof buf, fmt, a, b);
  else if (a)
    snprintf(buf, sizeof buf, fmt, a);
  else
    snprintf(buf, sizeof buf, fmt, n);
  osl_print_mes("%s", buf);
}

long cmp_diff(const void* a, const void* b, void*) { return typ_sch_compare_diff(a, b); }

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
    v->fields[i].flags |= 0x40;
  }
}

// Marks the schema of one difference record with what changes, and finds
// the relation records it names; a deleted type's id goes to deleted.
long mark_diff(typ_sch_diff_rec* r, bool table_rewrite, typ_sch_rrec* before, long nbefore, utl_ty_col* deleted) {
  typ_sch_srec* s = r->schema;
  long side = 0;
  switch (r->op) {
    case TYP_DIFF_ADD_FIELD:
    case TYP_DIFF_DELETE_FIELD:
    case TYP_DIFF_RENAME_FIELD:
      if (s) s->flags |= kFlagTable | TYP_SCH_CHANGED;
      break;
    case TYP_DIFF_MODIFY_FIELD:
      if (s) {
        s->flags |= TYP_SCH_CHANGED;
        if (r->old_field.db_type != r->new_field.db_type || r->old_field.array_size != r->new_field.array_size ||
            table_rewrite)
          s->flags |= kFlagTable;
      }
      break;
    case TYP_DIFF_ADD_REL:
    case TYP_DIFF_MODIFY_REL:
    case TYP_DIFF_REL_KEPT:
    case TYP_DIFF_EXCL_ADD:
      if (s) s->flags |= kFlagRelations | TYP_SCH_CHANGED;
      r->rel_rec = locate(typ_sch_relations, typ_sch_num_rels, r->type_id, r->rel.name, &side);
      if (!r->rel_rec) return typ_alrt(kProc, kAlrtNewRelMissing, r->rel.name ? r->rel.name : "");
      r->rel.side = side;
      break;
    case TYP_DIFF_DELETE_REL:
    case TYP_DIFF_EXCL_DROP:
      if (s) s->flags |= kFlagRelations | TYP_SCH_CHANGED;
      r->rel_rec = locate(before, nbefore, r->type_id, r->rel.name, &side);
      if (!r->rel_rec) return typ_alrt(kProc, kAlrtOldRelMissing, r->rel.name ? r->rel.name : "");
      r->rel.side = side;
      break;
    case TYP_DIFF_RENAME_REL:
      if (s) s->flags |= kFlagRelations | TYP_SCH_CHANGED;
      r->rel_rec = locate(before, nbefore, r->type_id, r->rel.name, &side);
      if (!r->rel_rec) return typ_alrt(kProc, kAlrtRenamedRelMissing, r->rel.name ? r->rel.name : "");
      r->rel.side = side;
      break;
    case TYP_DIFF_ADD_TYPE:
    case TYP_DIFF_MODIFY_TYPE:
    case TYP_DIFF_RECOMPILE_VIEW:
      if (s) s->flags |= kFlagTable | kFlagRelations | TYP_SCH_CHANGED;
      break;
    case TYP_DIFF_DELETE_TYPE: {
      long id = r->old_schema ? r->old_schema->type_id : r->type_id;
      if (long st = utl_col_push(deleted, &id, nullptr)) return st;
      break;
    }
    case TYP_DIFF_SCHEMA:
      if (s) s->flags |= kFlagSchemaRow | TYP_SCH_CHANGED;
      break;
    case TYP_DIFF_REL_SCHEMA:
      if (s) s->flags |= kFlagRelations | TYP_SCH_CHANGED;
      break;
    case TYP_DIFF_EXCL_JOIN:
      if (s) s->flags |= kFlagRelations | TYP_SCH_CHANGED;
      r->new_rel_rec = locate(typ_sch_relations, typ_sch_num_rels, r->type_id, r->new_rel.name, &side);
      if (!r->new_rel_rec) return typ_alrt(kProc, kAlrtNewRelMissing, r->new_rel.name ? r->new_rel.name : "");
      r->new_rel.side = side;
      r->rel_rec = locate(before, nbefore, r->type_id, r->rel.name, &side);
      if (!r->rel_rec) return typ_alrt(kProc, kAlrtRenamedRelMissing, r->rel.name ? r->rel.name : "");
      r->rel.side = side;
      break;
    default:
      break;
  }
  return 0;
}

// On commit: the schema, the deleted types, the revisions (and the
// roamer's table), then the stored procedures.
long commit_changes(KAdpConnId* con, utl_ty_col* deleted, char* cust, bool roamer, utl_ty_col* events,
                    const char* db_name, FILE* msg) {
  print_msg(kMsgWritingSchema);
  if (long st = typ_sch_write(con, 0, nullptr, 1)) return st;
  if (long st = typ_sch_delete_types(con, deleted, 1)) return st;
  long rev = -1;
  typ_bld_get_saved_schema_rev(&rev, cust, 0);
  if (rev != -1) {
    if (long st = dbs_db_change_schema_rev(con, rev)) return st;
  } else if (long st = dbs_db_get_schema_rev(con, &rev)) {
    return st;
  }
  if (cust[0])
    if (long st = dbs_db_change_cust_schema_rev(con, cust)) return st;
  long internal = 0;
  if (long st = dbs_db_get_cust_int_sch_rev(con, &internal)) return st;
  if (long st = dbs_db_change_cust_int_sch_rev(con, internal + 1)) return st;
  if (roamer) {
    const long version = rev * 1000000L + internal + 1;
    if (long st = adp_sce_update_detable(con, version, events)) return st;
  }
  print_msg(kMsgCreatingProcs);
  if (adp_stp_create_procs(con, db_name, 0)) {
    fprintf(msg, "Creation of stored procedures failed.\n");
    return 1;
  }
  return 0;
}

// Without commit, under the trace option: what would change.
long report_changes(KAdpConnId* con, utl_ty_col* deleted) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    const typ_sch_srec* t = &typ_sch_schemas[i];
    const unsigned long f = t->flags;
    if (f & TYP_SCH_OBJECT) {
      if (f & TYP_SCH_CHANGED)
        print_msg(kMsgTypeChanged, "object", t->info->name);
      else if (f & TYP_SCH_DELETED)
        print_msg(kMsgTypeDeleted, t->info->name);
    } else if (!(f & TYP_SCH_VIEW) && (f & TYP_SCH_SUBOBJ) && (f & TYP_SCH_CHANGED)) {
      print_msg(kMsgTypeChanged, "subobject", t->info->name);
    } else if ((f & TYP_SCH_VIEW) && (f & TYP_SCH_CHANGED)) {
      print_msg(kMsgTypeChanged, "view", t->info->name);
    }
  }
  return typ_sch_delete_types(con, deleted, 0);
}

}  // namespace

long typ_sch_delete_types(KAdpConnId* con, utl_ty_col* ids, long mode) {
  long n = 0;
  if (ids) utl_col_num(ids, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(ids, i, &e);
    const long id = *static_cast<long*>(e);
    if (mode == 1) {
      if (long st = adp_sch_delete_type_info(con, id)) return st;
    } else {
      print_msg(kMsgDeleteType, nullptr, nullptr, id);
    }
  }
  return 0;
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
      const long idx = vi->src_field2 & 0xBFFF;
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

long typ_sch_apply_diffs(KAdpConnId* con, utl_ty_col* list, unsigned long options) {
  cmn_alrt_clear(nullptr);
  char roamer = 0, unicode = 0, lob = 0;
  if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
  typ_sch_is_unicode_upgrade(&unicode);
  typ_sch_is_lob_upgrade(&lob);
  const char* db_name = "";
  if (long st = dbs_db_name_get(&db_name)) return st;
  if (options & kOptConvertDb)
    if (long st = dbs_db_convert(con, db_name)) return st;

  typ_sch_rrec* before = typ_sch_relations;
  long nbefore = typ_sch_num_rels;
  long word = 0;
  utl_col_get_ext(list, &word);
  auto* saved = reinterpret_cast<typ_sch_saved*>(word);
  if (saved && (options & kOptUseSavedModel)) {
    if (long st = typ_sch_switch_schemas(saved, 1)) return st;
    // The saved model is the current one now: the handle holds nothing.
    *saved = typ_sch_saved{};
    if (long st = adp_sch_types_sch_reinit()) return st;
    before = typ_sch_relations;
    nbefore = typ_sch_num_rels;
  } else if (saved) {
    long nold = 0;
    typ_sch_srec* olds = nullptr;
    typ_sch_get_saved_schema(saved, &nold, &olds, &nbefore, &before);
  }
  for (long i = 0; i < typ_sch_num_schs; ++i) typ_sch_schemas[i].flags &= ~kFlagMarks;
  if (!saved)
    if (long st = typ_sch_fold_in_changes(con, list, options)) return st;

  if (long st = typ_sch_optimize_view()) return st;
  if (long st = utl_col_sort(list, cmp_diff, nullptr)) return st;
  utl_ty_col* deleted = nullptr;
  if (long st = utl_col_make(kProc, 512, 10, 10, 0, 0, &deleted)) return st;
  auto done = [&](long st) {
    utl_col_free(kProc, deleted);
    return st;
  };

  long n = 0;
  utl_col_num(list, &n);
  typ_sch_srec* s = nullptr;
  long last_id = -3;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    auto* r = static_cast<typ_sch_diff_rec*>(e);
    if (r->type_id != last_id) {
      for (long k = 0; k < typ_sch_num_schs; ++k)
        if (typ_sch_schemas[k].type_id == r->type_id && !(typ_sch_schemas[k].flags & TYP_SCH_DELETED)) {
          r->schema = &typ_sch_schemas[k];
          break;
        }
      last_id = r->type_id;
    } else {
      r->schema = s;
    }
    s = r->schema;
    if (long st = mark_diff(r, unicode || lob, before, nbefore, deleted)) return done(st);
  }
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* v = &typ_sch_schemas[i];
    if ((v->flags & kViewCheck) != TYP_SCH_VIEW) continue;
    char changed = 0;
    typ_sch_has_views_obj_changed(v, &changed);
    if (!changed) continue;
    v->flags |= kFlagTable | kFlagRelations | TYP_SCH_CHANGED;
    refresh_view_fields(v);
  }
  if (long st = adp_sch_types_sch_reinit()) return done(st);
  FILE* msg = osl_file_stdout() ? osl_file_stdout() : stdout;
  if (options & kOptTrace) {
    osl_print_mes("\nDATA DICTIONARY DIFFERENCES:\n");
    utl_col_dump(msg, 0, "Diff Collection", list, 1);
    osl_print_mes("END OF DATA DICTIONARY DIFFERENCES.\n\n");
  }
  print_msg(kMsgApplying);
  utl_ty_col* events = nullptr;
  auto finish = [&](long st) {
    if (events) utl_col_free(kProc, events);
    events = nullptr;
    return done(st);
  };
  if (roamer)
    if (long st = utl_col_make(kProc, 512, 10, 10, 0, 0, &events)) return finish(st);
  long revision = -1;
  char cust[512] = "";
  typ_bld_get_saved_schema_rev(&revision, cust, 0);
  void* records = nullptr;
  utl_col_get_array(list, &records, &n);
  utl_ty_col* changes = nullptr;
  if (long st = dbs_rdb_calc_changes(con, n, static_cast<typ_sch_diff_rec*>(records), options, &changes, revision,
                                     events))
    return finish(st);
  if (options & kOptTrace) {
    osl_print_mes("\nTABLE CHANGE RECORDS:\n");
    if (changes) utl_col_dump(msg, 0, "", changes, 1);
    osl_print_mes("END OF TABLE CHANGE RECORDS.\n\n");
  }
  if (options & (kOptTrace | kOptCommit)) {
    print_msg(kMsgChangingTables);
    if (long st = typ_sch_set_view_currency_flag(con, saved ? saved->schemas : nullptr)) return finish(st);
    const long mode = ((options & kOptCommit) ? 0 : 1) | (options & kOptChangeMode);
    if (long st = dbs_rdb_change_tables(con, changes, mode)) {
      // A failed table change is reported and nothing is committed.
      cmn_alrt_print(msg, 1, "");
      return finish(st);
    }
  }
  if (options & kOptCommit) {
    if (long st = commit_changes(con, deleted, cust, roamer, events, db_name, msg)) return finish(st);
  } else if (options & kOptTrace) {
    if (long st = report_changes(con, deleted)) return finish(st);
  }
  return finish(0);
}
