// Schema difference records: the sink, print forms, order and relation
// summaries.
#include "schema/typ_diff.h"

#include <cstring>

#include "core/osl/osl_file.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

const char* safe(const char* t) { return t ? t : ""; }

struct op_row {
  bool droppable;
  bool first_field, second_field;
  bool first_rel, second_rel;
};

// What the sink keeps for codes 0..21.
const op_row kOps[22] = {
    {false, true, false, false, false},   // 0 ADD field
    {true, true, false, false, false},    // 1 DELETE field
    {true, true, true, false, false},     // 2 MODIFY field
    {true, true, true, false, false},     // 3 RENAME field
    {false, false, false, true, false},   // 4 ADD relation
    {true, false, false, true, false},    // 5 DELETE relation
    {true, false, false, true, true},     // 6 MODIFY relation
    {true, false, false, true, true},     // 7 RENAME relation
    {false, false, false, false, false},  // 8 ADD OBJECT type
    {true, false, false, false, false},   // 9 DELETE OBJECT type
    {true, false, false, false, false},   // 10 MODIFY OBJECT type
    {false, true, true, false, false},    // 11 RECOMPILE VIEW
    {false, false, false, false, false},  // 12 SCHEMA changed
    {false, false, false, false, false},  // 13 RECOMPILE INDEXES
    {true, false, false, false, false},   // 14 RELATION SCHEMA changed
    {false, false, false, false, false},  // 15 (not passed)
    {false, false, false, true, false},   // 16 old relation kept
    {false, false, false, true, false},   // 17 added inside an exclusive group
    {true, false, false, true, true},     // 18 joined an exclusive group
    {true, false, false, true, false},    // 19 dropped from an exclusive group
    {true, false, false, false, false},   // 20 object attribute changed
    {false, true, true, false, false},    // 21 MODIFY field dropping nothing
};

}  // namespace

long typ_sch_assign_rel_info(const typ_sch_rel_inst* e, typ_sch_diff_rel_info* info) {
  std::memset(info, 0, sizeof *info);
  // An entry of a saved (former) model points at its own relation record,
  // outside the current model's arrays: its pointers are the ones to read.
  const bool saved = e->rel && !(typ_sch_relations && e->rel >= typ_sch_relations &&
                                 e->rel < typ_sch_relations + typ_sch_num_rels);
  const typ_sch_rrec* r = saved ? e->rel : typ_sch_entry_rel(e);
  const bool p = e->side == 'p';
  info->side = e->side;
  info->gen_id = -1;
  info->comment = e->comment;
  info->flags = e->flags;
  info->mtm_table = typ_sch_empty_text;
  if (!r) return 0;
  // By schema index: the records move when types are added after the
  // pointers were set.
  info->target = saved ? nullptr : typ_sch_entry_other(e);
  if (!info->target) info->target = p ? r->fschema : r->pschema;
  info->name = p ? r->pname : r->fname;
  info->inv_name = p ? r->fname : r->pname;
  info->spec_id = p ? r->pspec : r->fspec;
  if (r->type == TYP_REL_OTM || r->type == TYP_REL_MTO)
    info->rel_type = p ? TYP_REL_OTM : TYP_REL_MTO;
  else if (r->type == TYP_REL_OTOP || r->type == TYP_REL_OTOF)
    info->rel_type = p ? TYP_REL_OTOF : TYP_REL_OTOP;
  else
    info->rel_type = TYP_REL_MTM;
  if (r->type == TYP_REL_MTM && r->mtm_table) info->mtm_table = r->mtm_table;
  return 0;
}

long typ_sch_compare_diff(const void* a, const void* b) {
  auto* x = static_cast<const typ_sch_diff_rec*>(a);
  auto* y = static_cast<const typ_sch_diff_rec*>(b);
  if (x->type_id != y->type_id) return x->type_id < y->type_id ? -1 : 1;
  if (x->op != y->op) return x->op < y->op ? -1 : 1;
  return 0;
}

long typ_sch_add_diff(typ_sch_srec* old_schema, typ_sch_srec* new_schema, const void* first, const void* second,
                      long op, utl_ty_col* list, unsigned long options) {
  typ_sch_diff_rec d;
  std::memset(&d, 0, sizeof d);
  d.op = op;
  d.old_schema = old_schema;
  if (new_schema) {
    d.type_id = new_schema->type_id;
    d.schema = new_schema;
  } else {
    d.type_id = old_schema ? old_schema->type_id : -1;
  }
  auto* f1 = static_cast<const typ_sch_frec*>(first);
  auto* f2 = static_cast<const typ_sch_frec*>(second);
  if (new_schema && (new_schema->flags & TYP_SCH_VIEW)) {
    d.op = TYP_DIFF_RECOMPILE_VIEW;
    if (f1) d.old_field = *f1;
    if (f2) d.new_field = *f2;
    long found = -1;
    if (long st = utl_col_find(list, &d, &found)) return st;
    if (found >= 0) return 0;
    return utl_col_insert(list, &d, nullptr);
  }
  if (op >= 0 && op <= 21) {
    const op_row& row = kOps[op];
    if (op == TYP_DIFF_MODIFY_KEEP) d.op = TYP_DIFF_MODIFY_FIELD;
    d.droppable = row.droppable ? 1 : 0;
    if (row.first_field && f1) d.old_field = *f1;
    if (row.second_field && f2) d.new_field = *f2;
    if (row.first_rel && first) typ_sch_assign_rel_info(static_cast<const typ_sch_rel_inst*>(first), &d.rel);
    if (row.second_rel && second)
      typ_sch_assign_rel_info(static_cast<const typ_sch_rel_inst*>(second), &d.new_rel);
  }
  if (long st = utl_col_insert(list, &d, nullptr)) return st;
  if (d.droppable && !(options & TYP_OPT_ALLOW_DROPS)) {
    std::fprintf(osl_file_stdout() ? osl_file_stdout() : stdout,
                 "  Drops are  not allowed, rename, delete, modifications flagged above changes will not done\n");
  }
  if (op == TYP_DIFF_ADD_TYPE && new_schema) {
    for (long i = 0; i < new_schema->nrels; ++i) {
      const typ_sch_rel_inst* e = &new_schema->rels[i];
      const typ_sch_rrec* r = typ_sch_entry_rel(e);
      if (!r || r->type != TYP_REL_MTM) continue;
      if (long st = typ_sch_add_diff(new_schema, new_schema, e, nullptr, TYP_DIFF_ADD_REL, list, options)) return st;
    }
  }
  return 0;
}

namespace {

void clear_field_refs(typ_sch_frec* f) {
  f->name = nullptr;
  f->uptr = nullptr;
  f->def = nullptr;
  f->comment = nullptr;
  f->old_name = nullptr;
}

void clear_rel_refs(typ_sch_diff_rel_info* r) {
  r->target = nullptr;
  r->name = nullptr;
  r->inv_name = nullptr;
  r->comment = nullptr;
  r->mtm_table = nullptr;
}

}  // namespace

long typ_sch_diff_clear_refs(utl_ty_col* list) {
  if (!list) return 0;
  void* a = nullptr;
  long n = 0;
  if (long st = utl_col_get_array(list, &a, &n)) return st;
  auto* d = static_cast<typ_sch_diff_rec*>(a);
  for (long i = 0; i < n; ++i) {
    d[i].schema = nullptr;
    d[i].old_schema = nullptr;
    d[i].rel_rec = nullptr;
    d[i].new_rel_rec = nullptr;
    clear_field_refs(&d[i].old_field);
    clear_field_refs(&d[i].new_field);
    clear_rel_refs(&d[i].rel);
    clear_rel_refs(&d[i].new_rel);
  }
  return 0;
}

long typ_sch_print_diff(FILE* f, long, const void* record, long, long, long) {
  auto* d = static_cast<const typ_sch_diff_rec*>(record);
  const char* sname = d->schema ? d->schema->info->name : "";
  switch (d->op) {
    case TYP_DIFF_ADD_FIELD:
      std::fprintf(f, "ADD field '%s' to '%s'\n", safe(d->old_field.name), sname);
      break;
    case TYP_DIFF_DELETE_FIELD:
      std::fprintf(f, "DELETE field '%s' from '%s'\n", safe(d->old_field.name), sname);
      break;
    case TYP_DIFF_MODIFY_FIELD:
      std::fprintf(f, "MODIFY field '%s' in '%s'\n", safe(d->old_field.name), sname);
      break;
    case TYP_DIFF_RENAME_FIELD:
      std::fprintf(f, "RENAME field '%s' to '%s' in '%s'\n", safe(d->old_field.name), safe(d->new_field.name), sname);
      break;
    case TYP_DIFF_ADD_REL:
      std::fprintf(f, "ADD relation '%s/%s' to '%s'\n", safe(d->rel.name), safe(d->rel.inv_name), sname);
      break;
    case TYP_DIFF_DELETE_REL:
      std::fprintf(f, "DELETE relation '%s/%s' from '%s'\n", safe(d->rel.name), safe(d->rel.inv_name), sname);
      break;
    case TYP_DIFF_MODIFY_REL:
      std::fprintf(f, "MODIFY relation '%s/%s' in '%s'\n", safe(d->rel.name), safe(d->rel.inv_name), sname);
      if (d->rel.rel_type != d->new_rel.rel_type)
        std::fprintf(f, "  RELATION changed from type %ld to %ld\n", d->rel.rel_type, d->new_rel.rel_type);
      if (d->rel.rel_type == TYP_REL_MTM && std::strcmp(safe(d->rel.mtm_table), safe(d->new_rel.mtm_table)) != 0)
        std::fprintf(f, "  MTM table name changed from '%s' to '%s'\n", safe(d->rel.mtm_table),
                     safe(d->new_rel.mtm_table));
      break;
    case TYP_DIFF_RENAME_REL:
      std::fprintf(f, "RENAME relation '%s' to '%s' in '%s'\n", safe(d->rel.name), safe(d->new_rel.name), sname);
      break;
    case TYP_DIFF_ADD_TYPE:
      std::fprintf(f, "ADD OBJECT type '%s'\n", sname);
      break;
    case TYP_DIFF_DELETE_TYPE:
      if (d->schema)
        std::fprintf(f, "DELETE OBJECT type '%s'\n", sname);
      else
        std::fprintf(f, "DELETE OBJECT type '%ld'\n", d->type_id);
      break;
    case TYP_DIFF_MODIFY_TYPE:
      std::fprintf(f, "MODIFY OBJECT type '%s'\n", sname);
      break;
    case TYP_DIFF_RECOMPILE_VIEW:
      std::fprintf(f, "RECOMPILE VIEW '%s'\n", sname);
      break;
    case TYP_DIFF_SCHEMA:
      std::fprintf(f, "SCHEMA changed for object '%s'\n", sname);
      break;
    case TYP_DIFF_INDEXES:
      std::fprintf(f, "RECOMPILE INDEXES for object '%s'\n", sname);
      break;
    case TYP_DIFF_REL_SCHEMA:
      std::fprintf(f, "RELATION SCHEMA changed for object '%s'\n", sname);
      break;
    default:
      std::fprintf(f, "UNKNOWN DIFF OP_TYPE %ld\n", d->op);
      break;
  }
  return 0;
}

long typ_sch_is_custom_table(long type_id, char* custom) {
  *custom = (type_id >= 430 && type_id <= 511) || (type_id >= 2000 && type_id <= 4999) ? 1 : 0;
  return 0;
}

long typ_sch_adjust_view_rel_ptr() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    if (s->flags & TYP_SCH_OBJECT) continue;
    for (long k = 0; k < s->nrels; ++k) {
      typ_sch_rel_inst* e = &s->rels[k];
      e->rel = e->rel_index >= 0 && e->rel_index < typ_sch_num_rels ? &typ_sch_relations[e->rel_index] : nullptr;
    }
  }
  return 0;
}
