// The relation write batch of a save: superseded relation changes dropped,
// the queues ordered, foreign-key relates folded into the rows' own writes
// (and several relates of one row combined into one update), and the whole
// written in sub-batches of at most "MAX_PER_BATCH" statements, all in one
// transaction.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_rel.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kTypeMask = 0x1FFFF;
constexpr long kOidField = TYP_GENERIC | 3;
constexpr long kNoFocusType = -1;

template <class T>
T* ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  if (col == nullptr || utl_col_ith(col, i, &slot) != 0 || slot == nullptr) return nullptr;
  return *static_cast<T**>(slot);
}

long count_of(utl_ty_col* col) {
  long n = 0;
  if (col != nullptr) utl_col_num(col, &n);
  return n;
}

bool same_object(const obj_id& a, const obj_id& b) {
  return (a.type & kTypeMask) == (b.type & kTypeMask) && a.num == b.num && a.sub == b.sub;
}

bool is_link(const adp_rel_batch_item* r) { return adp_rel_kind(r->rel) == ADP_REL_MTM; }

long foreign_type(const adp_rel_batch_item* r) { return r->rel->fschema != nullptr ? r->rel->fschema->type_id : 0; }

// What one run owns beyond the queues.
struct run_state {
  KAdpConnId* con = nullptr;
  bool oracle = false;
  std::vector<dbs_ty_lobj*> made;  // update objects of the combine step
};

long finish(run_state& s, long status) {
  adp_rel_queues_free();
  for (dbs_ty_lobj* o : s.made) dbs_obj_free_local("adp_rel_do_batch", o);
  s.made.clear();
  return status;
}

void log(KAdpConnId* con, const char* text) { adp_sql_print_out(con, text); }

// The last change of one foreign-key column of one row wins.
void drop_duplicates(KAdpConnId* con) {
  utl_ty_col* rels = adp_rel_queue();
  const long n = count_of(rels);
  for (long i = 0; i < n; ++i) {
    adp_rel_batch_item* a = ith<adp_rel_batch_item>(rels, i);
    a->active = 1;
    if (is_link(a)) continue;
    for (long j = i + 1; j < n; ++j) {
      const adp_rel_batch_item* b = ith<adp_rel_batch_item>(rels, j);
      if (b->rel->fspec != a->rel->fspec || !same_object(a->foreign, b->foreign)) continue;
      char line[256];
      std::snprintf(line, sizeof line, " NOT doing DUPL %s rel_id=%ld, pk=%ld, fk=%ld", a->relate ? "RELATE" : "UNRELATE",
                    a->rel_id, a->primary.num, a->foreign.num);
      log(con, line);
      a->active = 0;
      break;
    }
  }
}

// A relate of a row that the batch writes anyway goes into that write.
void absorb() {
  utl_ty_col* objs = adp_obj_queue();
  utl_ty_col* rels = adp_rel_queue();
  for (long i = 0; i < count_of(objs); ++i) {
    adp_obj_batch_item* o = ith<adp_obj_batch_item>(objs, i);
    if (o->del) continue;  // a deleted row takes no column
    for (long j = 0; j < count_of(rels); ++j) {
      adp_rel_batch_item* r = ith<adp_rel_batch_item>(rels, j);
      if (!r->active || !r->relate || is_link(r) || foreign_type(r) != o->type || !same_object(r->foreign, o->id))
        continue;
      r->absorbed_by = o;
      r->active = 0;
    }
  }
}

// Several foreign-key relates of one row become one update of the row.
long combine(run_state& s, bool* any) {
  utl_ty_col* rels = adp_rel_queue();
  adp_rel_batch_item* prev = nullptr;
  for (long i = 0; i < count_of(rels); ++i) {
    adp_rel_batch_item* cur = ith<adp_rel_batch_item>(rels, i);
    const bool fits = prev != nullptr && cur->active && cur->relate && !is_link(cur) && !is_link(prev) &&
                      foreign_type(prev) == foreign_type(cur) && same_object(prev->foreign, cur->foreign);
    if (fits && prev->absorbed_by != nullptr) {
      cur->absorbed_by = prev->absorbed_by;
      cur->active = 0;
      *any = true;
    } else if (fits && !prev->active) {
      continue;
    } else if (fits) {
      dbs_ty_lobj* o = nullptr;
      if (long st = dbs_obj_make(nullptr, foreign_type(cur), &o)) return st;
      s.made.push_back(o);
      long number = cur->foreign.num;
      if (long st = dbs_fld_set_local(o, kOidField, &number, 1)) return st;
      void* item = nullptr;
      if (long st = adp_obj_append_to_batch(o, 0, 0, &item, 0)) return st;
      if (long st = adp_rel_commit_push(item, ADP_COMMIT_OBJ)) return st;
      prev->absorbed_by = cur->absorbed_by = item;
      prev->active = cur->active = 0;
      *any = true;
    }
    prev = cur;
  }
  return 0;
}

long per_batch(KAdpConnId* con) {
  long n = adp_rel_max_per_batch_value();
  if (n != -1) return n;
  char* text = nullptr;
  osl_sys_get_config_string("MAX_PER_BATCH", &text);
  n = text != nullptr ? loc_st_atol(text) : ADP_REL_DEFAULT_PER_BATCH;
  if (n < 1) n = ADP_REL_DEFAULT_PER_BATCH;
  adp_rel_set_max_per_batch(n);
  char line[96];
  std::snprintf(line, sizeof line, "MAX SQL STATEMENTS PER BATCH: %ld\n", n);
  log(con, line);
  return n;
}

// The columns of the relates folded into one object's write.
adp_obj_batch_cols folded(const adp_obj_batch_item* o) {
  adp_obj_batch_cols cols;
  utl_ty_col* rels = adp_rel_queue();
  for (long j = 0; j < count_of(rels); ++j) {
    const adp_rel_batch_item* r = ith<adp_rel_batch_item>(rels, j);
    if (r->absorbed_by != o) continue;
    const bool focus = adp_rel_has_focus(r->rel);
    const char* column = focus ? r->rel->phys_name : r->rel->fname;
    bool seen = false;
    for (const char* c : cols.id_cols) seen = seen || c == column;
    if (seen) continue;
    const bool clear = !r->relate && !is_link(r);
    cols.id_cols.push_back(column);
    cols.ids.push_back(clear ? obj_id{} : r->primary);
    if (focus) {
      cols.extra_cols.push_back(r->rel->focus_field);
      cols.extra_values.push_back(clear || r->rel->pschema == nullptr ? kNoFocusType : r->rel->pschema->type_id);
    }
  }
  return cols;
}

// One sub-batch being written: its statement, the objects whose long texts
// are written after it and the conditional updates it holds.
struct sub_batch {
  KAdpSqlBatch* b = nullptr;
  long statements = 0;
  std::vector<dbs_ty_lobj*> long_texts;
  std::vector<long> cond_stmts;           // SQL Server: their statement numbers
  std::vector<dbs_ty_lobj*> cond_objects;
};

long write_object(run_state& s, sub_batch& sb, adp_obj_batch_item* o) {
  const adp_obj_batch_cols cols = folded(o);
  auto* object = static_cast<dbs_ty_lobj*>(o->object);
  if (o->create == 1) {
    ++sb.statements;
    return adp_obj_create_sql(s.con, sb.b, object, cols, &sb.long_texts);
  }
  if (o->del == 1) {
    ++sb.statements;
    return adp_obj_delete_sql(s.con, sb.b, &o->id, 1, o->delete_option);
  }
  char wrote = 0;
  char cond = 0;
  if (long st = adp_obj_put_sql(s.con, sb.b, object, cols, &sb.long_texts, &wrote, &cond)) return st;
  if (wrote) ++sb.statements;
  if (cond) {
    // The update is the last statement ended (an empty one follows it).
    long last = sb.b->GetStmtCount() - 1;
    while (last > 0 && (sb.b->GetStmt(last) == nullptr || *sb.b->GetStmt(last) == '\0')) --last;
    sb.cond_stmts.push_back(last);
    sb.cond_objects.push_back(object);
  }
  return 0;
}

long write_relation(run_state& s, sub_batch& sb, adp_rel_batch_item* r) {
  if (!r->active) return 0;
  ++sb.statements;
  if (!r->relate) return adp_rel_unrelate_remote_id_sql(s.con, sb.b, &r->primary, r->rel, &r->foreign);
  if (is_link(r)) return adp_rel_relate_mtm_sql(s.con, &r->primary, r->rel, &r->foreign, &r->link_row, sb.b);
  if (long st = adp_rel_relate_remote_id_sql(s.con, sb.b, r->rel, &r->primary, &r->foreign)) return st;
  if (!s.oracle) *sb.b << KAdpSqlBatch::kEndStmt;
  return sb.b->GetStatus();
}

long stale_object(const dbs_ty_lobj* o) {
  long index = -1;
  if (typ_sch_gen_to_sp(o->schema, TYP_GENERIC | ADP_GEN_OBJID, &index) != 0 || index < 0) index = 0;
  return adp_obj_push(ADP_OBJ_NOT_FOUND, 2, o->schema->info->name, o->slots[index].l);
}

// Oracle's refusal of a conditional update (phrase 36's error): the
// database alerts are popped.
bool refused_by_condition() {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  bool refused = false;
  for (long i = 0; i < n; ++i) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_ith(nullptr, i, &code, &text);
    refused = refused || (code == ADP_DB_ERROR && text != nullptr && std::strstr(text, "20899") != nullptr);
  }
  long code = 0;
  const char* text = nullptr;
  while (refused && cmn_alrt_top(nullptr, &code, &text) == 0 && code == ADP_DB_ERROR) cmn_alrt_pop(nullptr, &code, &text);
  return refused;
}

// Runs the statements in one step of the transaction; a conditional update
// that changed no row fails the run.
long run(run_state& s, sub_batch& sb) {
  if (long st = adp_sql_parse(s.con, sb.b)) return st;
  if (long st = adp_trn_begin(s.con)) return st;
  const long n = sb.b->GetStmtCount();
  for (long i = 0; i < n; ++i) {
    const char* text = sb.b->GetStmt(i);
    if (text == nullptr || *text == '\0') continue;
    long rows = 0;
    long st = sb.b->GetNextResult(&rows);
    if (st != 0 && s.oracle && !sb.cond_objects.empty() && refused_by_condition()) st = stale_object(sb.cond_objects[0]);
    for (size_t k = 0; st == 0 && k < sb.cond_stmts.size(); ++k) {
      if (sb.cond_stmts[k] == i && rows == 0) st = stale_object(sb.cond_objects[k]);
    }
    if (st != 0) {
      adp_trn_rollback(s.con);
      return st;
    }
  }
  return adp_trn_commit(s.con);
}

long write_sub_batch(run_state& s, long first, long count, bool* ran) {
  log(s.con, "STARTING SINGLE SQL BATCH");
  sub_batch sb;
  void* stmt = nullptr;
  if (long st = adp_sql_create(s.con, &stmt)) return st;
  sb.b = static_cast<KAdpSqlBatch*>(stmt);
  if (s.oracle) *sb.b << "BEGIN\n";
  utl_ty_col* commits = adp_rel_commit_list();
  for (long k = 0; k < count; ++k) {
    adp_rel_commit_entry* e = ith<adp_rel_commit_entry>(commits, first + k);
    long st = e->kind == ADP_COMMIT_OBJ ? write_object(s, sb, static_cast<adp_obj_batch_item*>(e->item))
                                        : write_relation(s, sb, static_cast<adp_rel_batch_item*>(e->item));
    if (st != 0) return st;
  }
  if (sb.statements == 0) {
    log(s.con, "ALL SQL in this batch optimized away...\n");
    return 0;
  }
  if (s.oracle) *sb.b << "END;";
  if (long st = sb.b->GetStatus()) return st;
  if (long st = run(s, sb)) return st;
  *ran = true;
  adp_sql_free(s.con, stmt);
  for (dbs_ty_lobj* o : sb.long_texts) {
    if (long st = adp_obj_put_options(s.con, o, 0)) return st;
  }
  log(s.con, "SINGLE SQL BATCH DONE");
  return 0;
}

long sort(utl_ty_col* col, utl_ty_col_cmp cmp) { return col != nullptr ? utl_col_sort(col, cmp, nullptr) : 0; }

// Steps 3 to 8: duplicates, optional relations, orderings, absorption and
// the combine optimisation.
long prepare(run_state& s) {
  if (long st = adp_rel_commits_make()) return st;
  log(s.con, "START SQL BATCH...");
  drop_duplicates(s.con);
  if (long st = adp_rel_queue_make()) return st;
  if (adp_obj_queue() != nullptr) {
    if (long st = typ_sch_fix_optional_rels(adp_obj_queue(), adp_rel_queue())) return st;
  }
  if (long st = sort(adp_rel_queue(), adp_rel_compare_rels)) return st;
  for (long i = 0; i < count_of(adp_rel_queue()); ++i) {
    if (long st = adp_rel_commit_push(ith<void>(adp_rel_queue(), i), ADP_COMMIT_REL)) return st;
  }
  for (long i = 0; i < count_of(adp_obj_queue()); ++i) {
    if (long st = adp_rel_commit_push(ith<void>(adp_obj_queue(), i), ADP_COMMIT_OBJ)) return st;
  }
  if (long st = sort(adp_rel_commit_list(), adp_rel_compare_commits)) return st;
  absorb();
  bool combined = false;
  if (adp_rel_combine_optimize() == 1) {
    if (long st = combine(s, &combined)) return st;
  }
  if (combined) return sort(adp_rel_commit_list(), adp_rel_compare_commits);
  return 0;
}

}  // namespace

long adp_rel_do_batch(KAdpConnId* con, char own_transaction, long) {
  run_state s;
  s.con = con;
  s.oracle = adp_db_is_db_oracle() != 0;
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return finish(s, st);
  if (adp_obj_queue() == nullptr && count_of(adp_rel_queue()) == 0) return finish(s, 0);
  if (long st = sort(adp_obj_queue(), adp_rel_compare_objs)) return finish(s, st);
  if (count_of(adp_obj_queue()) == 0 && count_of(adp_rel_queue()) == 0) return finish(s, 0);
  adp_obj_kept_texts().clear();
  if (long st = prepare(s)) return finish(s, st);
  const long max = per_batch(con);
  const long n = count_of(adp_rel_commit_list());
  if (own_transaction == 1) {
    if (long st = adp_trn_begin(con)) return finish(s, st);
  }
  bool ran = false;
  long remaining = n;
  for (long r = 0; r <= n / max; ++r) {
    const long take = remaining < max ? remaining : max;
    if (long st = write_sub_batch(s, r * max, take, &ran)) return finish(s, st);
    remaining -= take;
  }
  // The own transaction is always ended, also when nothing was written.
  if (own_transaction == 1) {
    if (long st = adp_trn_commit(con)) return finish(s, st);
  }
  return finish(s, 0);
}
