// View definitions read from the dictionary: a view's joins
// (adp_view_join_info) and the origins of its fields (adp_view_field_info),
// with the aliases of the joined tables collected beside their type names.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

constexpr long kRevJoinFlag = 10;
constexpr long kRelMark = 0x4000;
constexpr unsigned long kJoinRelMarked = 0x10000000;
constexpr long kTextType = 516;
constexpr long kOrderRevNumber = 12;  // dialect number: revision that orders field rows
constexpr long kAliasSize = 129;

struct join_row {
  long type_id = 0, rel = 0, flags = 0, join_flag = 0;
  char palias[kAliasSize] = "", falias[kAliasSize] = "";
};

struct field_row {
  long spec = 0, type_id = 0, field = 0, flags = 0;
  char alias[kAliasSize] = "";
};

long count_of(utl_ty_col* col) {
  long n = 0;
  if (col != nullptr) utl_col_num(col, &n);
  return n;
}

const char* text_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (col == nullptr || utl_col_ith(col, i, &e) != 0 || e == nullptr) return "";
  return static_cast<const char*>(e);
}

// Appends alias and its type name unless the alias is empty or known.
long note_alias(utl_ty_col* types, utl_ty_col* aliases, const char* alias, const char* type_name) {
  if (alias[0] == '\0' || types == nullptr || aliases == nullptr) return 0;
  for (long i = 0; i < count_of(aliases); ++i)
    if (std::strcmp(text_at(aliases, i), alias) == 0) return 0;
  if (long st = utl_col_push(aliases, alias, nullptr)) return st;
  return utl_col_push(types, type_name, nullptr);
}

// The view's alias block, made when it lacks either collection.
long alias_block(typ_sch_srec* view, utl_ty_col** types, utl_ty_col** aliases) {
  void* word = nullptr;
  typ_sch_uptr_get(view, &word);
  auto* blk = static_cast<typ_sch_alias_blk*>(word);
  if (blk == nullptr || blk->types == nullptr || blk->aliases == nullptr) {
    utl_ty_col* t = nullptr;
    utl_ty_col* a = nullptr;
    if (long st = utl_col_make("adp_sch_fetch_joins", kTextType, 2, 5, 0, 0, &t)) return st;
    if (long st = utl_col_make("adp_sch_fetch_joins", kTextType, 2, 5, 0, 0, &a)) return st;
    // The block is registered the way the schema language registers it.
    const unsigned long saved = view->flags;
    view->flags |= TYP_SCH_CONSTRUCT;
    long st = typ_sch_make_view_alias(view, t, a);
    view->flags = saved;
    if (st != 0) return st;
    typ_sch_uptr_get(view, &word);
    blk = static_cast<typ_sch_alias_blk*>(word);
  }
  if (types != nullptr) *types = blk->types;
  if (aliases != nullptr) *aliases = blk->aliases;
  return 0;
}

// First-definition rule: rows of the redefinition (flags 1) count only
// while no row of the first definition (flags 0) has been read.
struct first_def_filter {
  bool on;
  bool seen_first = false;
  bool skip(long flags) {
    if (flags == 0) seen_first = true;
    return on && flags == 1 && seen_first;
  }
};

// Runs the batch's statement and keeps the rows the first-definition rule
// lets through (row is the bound destination).
template <class Row>
long collect_rows(KAdpSqlBatch* b, const Row& row, bool first_def, std::vector<Row>& rows) {
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  first_def_filter filter{first_def};
  while (b->GetNextRow() == 1) {
    if (!filter.skip(row.flags)) rows.push_back(row);
  }
  long st = b->GetStatus();
  b->Reset();
  return st;
}

long add_join(typ_sch_srec* view, const join_row& r, utl_ty_col* types, utl_ty_col* aliases) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(r.type_id, nullptr, &s);
  long rel = r.rel;
  unsigned long option = 0;
  if ((rel & kRelMark) != 0) {
    rel &= ~kRelMark;
    option = kJoinRelMarked;
  }
  if (s == nullptr || rel >= s->nrels) {
    osl_print_mes("%s: view '%s' joins to unknown relation %ld of object type '%s'\n", "", view->info->name, rel,
                  s != nullptr ? s->info->name : "");
    return 1;
  }
  const typ_sch_rel_inst& inst = s->rels[rel];
  if (long st = typ_sch_add_join_info(view, -1, inst.rel_index, r.palias, r.falias, option, "", r.join_flag))
    return st;
  const typ_sch_rrec* rr = inst.rel;
  const char* pname = rr != nullptr && rr->pschema != nullptr ? rr->pschema->info->name : "";
  const char* fname = rr != nullptr && rr->fschema != nullptr ? rr->fschema->info->name : "";
  if (long st = note_alias(types, aliases, r.palias, pname)) return st;
  return note_alias(types, aliases, r.falias, fname);
}

long empty_joins(typ_sch_srec* view) {
  if (view->rcol != nullptr) {
    if (long st = utl_col_reset(view->rcol)) return st;
  }
  typ_sch_publish_relations(view);
  return 0;
}

// The view's alias collections handed out and its joins emptied, before
// they are read again.
long start_joins(typ_sch_srec* view, utl_ty_col** types, utl_ty_col** aliases, utl_ty_col** t, utl_ty_col** a) {
  if (long st = alias_block(view, t, a)) return st;
  if (types != nullptr) *types = *t;
  if (aliases != nullptr) *aliases = *a;
  return empty_joins(view);
}

long attach_origin(typ_sch_srec* view, const field_row& r, utl_ty_col* types, utl_ty_col* aliases, bool only_empty,
                   bool rel_origin) {
  if (r.spec < 0 || r.spec >= view->nfields) return 0;
  typ_sch_frec& f = view->fields[r.spec];
  if (only_empty && f.uptr != nullptr) return 0;
  typ_sch_srec* src = nullptr;
  if (long st = adp_sch_shandle_find(r.type_id, &src)) return st;
  long field = r.field;
  if (rel_origin && (field & kRelMark) != 0 && src != nullptr) {
    long rel = field & ~kRelMark;
    if (rel < src->nrels) field = src->rels[rel].rel_index + kRelMark;
  }
  typ_sch_vinfo* vi = nullptr;
  if (long st = typ_sch_make_vinfo(typ_sch_index_of(src), nullptr, field, nullptr, r.alias, 0, &vi)) return st;
  if (long st = typ_sch_field_uptr_set(&f, vi)) return st;
  return note_alias(types, aliases, r.alias, src != nullptr ? src->info->name : "");
}

long view_field_rows(KAdpConnId* con, typ_sch_srec* view, std::vector<field_row>& rows) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  field_row r;
  const long order_rev = con->GetDbOperation() != nullptr
                             ? con->GetDbOperation()->GetDbSpecificLong(
                                   static_cast<KAdpDbOperation::long_type>(kOrderRevNumber))
                             : 0;
  b->AppendSqlFormat("select view_spec_field_id, from_obj_type, from_field_id, alias from adp_view_field_info "
                     "where view_type_id=%ld%s",
                     view->type_id, con->GetRevision(0) >= order_rev ? " order by flags" : "");
  *b << KAdpBindCol(r.spec) << KAdpBindCol(r.type_id) << KAdpBindCol(r.field) << KAdpBindCol(r.alias, kAliasSize);
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  while (b->GetNextRow() == 1) rows.push_back(r);
  long st = b->GetStatus();
  b->Reset();
  return st;
}

}  // namespace

long adp_sch_fetch_joins(KAdpConnId* con, typ_sch_srec* view, char reload, char first_def, utl_ty_col** types,
                         utl_ty_col** aliases) {
  if (view->nrels > 0 && reload == 0) return 0;
  utl_ty_col* t = nullptr;
  utl_ty_col* a = nullptr;
  if (long st = start_joins(view, types, aliases, &t, &a)) return st;
  const bool join_flag = con->GetRevision(0) >= kRevJoinFlag;
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  join_row r;
  *b << (join_flag ? "SELECT obj_type_id, obj_spec_rel_id, palias, falias,     flags, join_flag FROM "
                     "adp_view_join_info WHERE view_type_id = "
                   : "SELECT obj_type_id, obj_spec_rel_id, palias, falias,     flags FROM adp_view_join_info WHERE "
                     "view_type_id = ")
     << KAdpBindParam(view->type_id) << " ORDER BY flags " << KAdpBindCol(r.type_id) << KAdpBindCol(r.rel)
     << KAdpBindCol(r.palias, kAliasSize) << KAdpBindCol(r.falias, kAliasSize) << KAdpBindCol(r.flags);
  if (join_flag) *b << KAdpBindCol(r.join_flag);
  std::vector<join_row> rows;
  if (long st = collect_rows(b, r, first_def == 1, rows)) return st;
  for (const join_row& row : rows) {
    if (long rc = add_join(view, row, t, a)) return rc;
  }
  return 0;
}

long adp_sch_get_view_rel(KAdpConnId* con, typ_sch_srec* view, char reload, utl_ty_col** types,
                          utl_ty_col** aliases, utl_ty_col* /*first*/, utl_ty_col* /*second*/) {
  if (view->nrels > 0 && reload == 0) return 0;
  utl_ty_col* t = nullptr;
  utl_ty_col* a = nullptr;
  if (long st = start_joins(view, types, aliases, &t, &a)) return st;
  const bool join_flag = con->GetRevision(0) >= kRevJoinFlag;
  std::vector<join_row> rows;
  for (long definition = 0; definition <= 1 && rows.empty(); ++definition) {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    join_row r;
    b->AppendSqlFormat("select obj_type_id, obj_spec_rel_id, palias, falias, %scomments%s from adp_view_join_info "
                       "where view_type_id=%ld and flags=%ld",
                       definition == 0 ? "" : "\t\t\t\t", join_flag ? ", join_flag" : "", view->type_id, definition);
    char comment[256] = "";
    *b << KAdpBindCol(r.type_id) << KAdpBindCol(r.rel) << KAdpBindCol(r.palias, kAliasSize)
       << KAdpBindCol(r.falias, kAliasSize) << KAdpBindCol(comment, sizeof comment);
    if (join_flag) *b << KAdpBindCol(r.join_flag);
    if (long st = b->GetStatus()) return st;
    if (long st = b->GetNextResult(nullptr)) return st;
    while (b->GetNextRow() == 1) rows.push_back(r);
    long st = b->GetStatus();
    b->Reset();
    if (st != 0) return st;
  }
  for (const join_row& row : rows) {
    if (long rc = add_join(view, row, t, a)) return rc;
  }
  return 0;
}

long adp_sch_get_join_info(KAdpConnId* /*unused*/, typ_sch_srec* view, long n, typ_sch_rrec** rel,
                           const char** palias, const char** falias) {
  if (n < 0 || n >= view->nrels) {
    osl_print_mes("%s: join %ld does not exist for view '%s'\n", "", n, view->info->name);
    return 1;
  }
  const typ_sch_rel_inst& inst = view->rels[n];
  typ_sch_rrec* r = inst.rel;
  if (rel != nullptr) *rel = r;
  const char* pa = inst.join != nullptr ? inst.join->palias : "";
  const char* fa = inst.join != nullptr ? inst.join->falias : "";
  if (palias != nullptr)
    *palias = pa[0] != '\0' || r == nullptr || r->pschema == nullptr ? pa : r->pschema->info->name;
  if (falias != nullptr)
    *falias = fa[0] != '\0' || r == nullptr || r->fschema == nullptr ? fa : r->fschema->info->name;
  return 0;
}

long adp_sch_fetch_org_view_fields(KAdpConnId* con, typ_sch_srec* view, utl_ty_col* types, utl_ty_col* aliases) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  field_row r;
  *b << "SELECT view_spec_field_id, from_obj_type,     from_field_id, alias, flags FROM adp_view_field_info WHERE "
        "view_type_id = "
     << KAdpBindParam(view->type_id) << " ORDER BY flags " << KAdpBindCol(r.spec) << KAdpBindCol(r.type_id)
     << KAdpBindCol(r.field) << KAdpBindCol(r.alias, kAliasSize) << KAdpBindCol(r.flags);
  std::vector<field_row> rows;
  if (long st = collect_rows(b, r, true, rows)) return st;
  for (const field_row& row : rows) {
    if (long rc = attach_origin(view, row, types, aliases, false, false)) return rc;
  }
  return 0;
}

long adp_sch_fetch_view_fields(KAdpConnId* con, typ_sch_srec* view, utl_ty_col* types, utl_ty_col* aliases) {
  std::vector<field_row> rows;
  if (long st = view_field_rows(con, view, rows)) return st;
  for (const field_row& row : rows) {
    if (long rc = attach_origin(view, row, types, aliases, false, true)) return rc;
  }
  return 0;
}

long adp_sch_view_field_info(KAdpConnId* con, typ_sch_srec* view, long index, typ_sch_srec** source,
                             long* source_field, const char** alias) {
  if (index < 0 || index >= view->nfields) {
    osl_print_mes("%s: cannot get view field info for view '%s', field=%ld\n", "", view->info->name, index);
    return 1;
  }
  if (view->fields[index].uptr == nullptr) {
    std::vector<field_row> rows;
    if (long st = view_field_rows(con, view, rows)) return st;
    for (const field_row& row : rows) {
      if (long rc = attach_origin(view, row, nullptr, nullptr, true, true)) return rc;
    }
  }
  const auto* vi = static_cast<const typ_sch_vinfo*>(view->fields[index].uptr);
  if (vi == nullptr) {
    osl_print_mes("%s: cannot get view field info for view '%s', field=%ld\n", "", view->info->name, index);
    return 1;
  }
  typ_sch_srec* src = nullptr;
  if (vi->src_field < kRelMark) {
    src = vi->src_schema >= 0 && vi->src_schema < typ_sch_num_schs ? &typ_sch_schemas[vi->src_schema] : nullptr;
  } else {
    typ_sch_find_handle(vi->src_type_id, nullptr, &src);
  }
  if (src == nullptr) {
    osl_print_mes("%s: view '%s', field %ld refers to non-existent type %ld\n", "", view->info->name, index,
                  vi->src_type_id);
    return 1;
  }
  if (source != nullptr) *source = src;
  if (source_field != nullptr) *source_field = vi->src_field;
  if (alias != nullptr) *alias = vi->alias;
  return 0;
}
