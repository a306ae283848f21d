// Unrelates run one at a time, outside the write batch: of a pair of
// objects (in a transaction step of its own, the foreign row's change date
// first) and of everything related to one object. Single statements are
// parsed and executed; a change row with its update runs as one DML batch,
// on Oracle inside a block.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "schema/typ_rec.h"

namespace {

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

// One statement built by text, parsed and executed.
template <class F>
long run_one(KAdpConnId* con, F&& text) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  text(b);
  if (long st = b->GetStatus()) return st;
  if (long st = adp_sql_parse(con, stmt)) return st;
  if (long st = adp_sql_execute(con, stmt)) return st;
  return adp_sql_free(con, stmt);
}

// Statements built by text (each closed by close_statement) run as one DML
// batch; Oracle takes several statements only as a block.
template <class F>
long run_batch(KAdpConnId* con, F&& text) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (oracle) *b << "BEGIN\n";
  text(b);
  if (oracle) *b << "END;";
  if (long st = b->GetStatus()) return st;
  if (long st = adp_sql_parse(con, stmt)) return st;
  if (long st = b->ExecuteDMLBatch()) return st;
  return adp_sql_free(con, stmt);
}

// SQL Server ends the statement; inside Oracle's block a statement needs
// its ";" (terminated: the text has one already).
void close_statement(KAdpSqlBatch* b, bool oracle, bool terminated) {
  if (!oracle) *b << KAdpSqlBatch::kEndStmt;
  else if (!terminated) *b << ";\n";
}

// The focus condition: a pointer is cleared only when it points to an
// object of the primary type.
void focus_condition(KAdpSqlBatch* b, const adp_rel_parts& p, const char* and_text) {
  *b << and_text << p.rel->focus_field << " = " << KAdpBindParam(p.ptype);
}

// Everything related to the number N: side 1 clears the rows pointing to a
// primary object, side 0 the key of one foreign row.
void from_id_text(KAdpConnId* con, KAdpSqlBatch* b, const adp_rel_parts& p, char side, long N) {
  const typ_sch_rrec* r = p.rel;
  const char* where_col = side != 1 ? p.id_col : p.focus ? r->phys_name : r->fname;
  bool terminated = false;
  if (p.focus && p.roamer) {
    adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, true), where_col);
    *b << KAdpBindParam(N);
    focus_condition(b, p, "AND ");
    *b << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL , %s = NULL WHERE %s = ", r->phys_name, r->focus_field, where_col);
    *b << KAdpBindParam(N);
    focus_condition(b, p, " and ");
    *b << ";\n";
    terminated = true;
  } else if (p.focus) {
    b->AppendSqlFormat("UPDATE %s SET %s = NULL ,%s = NULL WHERE %s = ", p.table, r->phys_name, r->focus_field,
                       where_col);
    *b << KAdpBindParam(N);
    focus_condition(b, p, " AND ");
  } else if (p.roamer) {
    adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, false), where_col);
    *b << KAdpBindParam(N) << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL WHERE %s = %ld\n", r->fname, where_col, N);
  } else {
    b->AppendSqlFormat("UPDATE %s SET %s = NULL WHERE %s = ", p.table, r->fname, where_col);
    *b << KAdpBindParam(N) << ";\n";
    terminated = true;
  }
  close_statement(b, p.oracle, terminated);
}

long unrelate_from(KAdpConnId* con, const adp_rel_parts& p, char side, const obj_id* id) {
  const typ_sch_rrec* r = p.rel;
  if (p.mtm) {
    return adp_sql_exec_query(con, "DELETE %s WHERE %s = %ld", r->mtm_table, side == 1 ? r->pname : r->fname,
                              id->num);
  }
  return run_batch(con, [&](KAdpSqlBatch* b) { from_id_text(con, b, p, side, id->num); });
}

// With the offline feature: the change row of the foreign row F, then the
// cleared key with the version step.
void pair_change_text(KAdpConnId* con, KAdpSqlBatch* b, const adp_rel_parts& p, long F) {
  const typ_sch_rrec* r = p.rel;
  adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, p.focus), p.id_col);
  *b << KAdpBindParam(F);
  if (p.focus) {
    focus_condition(b, p, " and ");
    *b << " ;\n ";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL, %s = NULL WHERE %s = ", r->phys_name, r->focus_field, p.id_col);
    *b << KAdpBindParam(F);
    focus_condition(b, p, " and ");
  } else {
    *b << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL WHERE %s = %ld\n", r->fname, p.id_col, F);
  }
  close_statement(b, p.oracle, false);
}

// Without it: one statement.
void pair_text(KAdpSqlBatch* b, const adp_rel_parts& p, long P, long F) {
  const typ_sch_rrec* r = p.rel;
  if (p.mtm) {
    *b << "DELETE " << r->mtm_table << " WHERE " << r->pname << " = " << KAdpBindParam(P) << " AND " << r->fname
       << " = " << KAdpBindParam(F);
  } else if (p.focus) {
    *b << "update " << p.table << " set " << r->phys_name << " = NULL, " << r->focus_field << " = NULL "
       << " where " << p.id_col << " = " << KAdpBindParam(F);
    focus_condition(b, p, " AND ");
  } else {
    *b << "update " << p.table << " set " << r->fname << " = NULL where " << p.id_col << " = " << KAdpBindParam(F);
  }
}

long unrelate_pair(KAdpConnId* con, const adp_rel_parts& p, obj_id* primary, obj_id* foreign) {
  if (adp_rel_oid_empty(primary)) return unrelate_from(con, p, 0, foreign);
  if (adp_rel_oid_empty(foreign)) return unrelate_from(con, p, 1, primary);
  if (p.roamer && !p.mtm) return run_batch(con, [&](KAdpSqlBatch* b) { pair_change_text(con, b, p, foreign->num); });
  return run_one(con, [&](KAdpSqlBatch* b) { pair_text(b, p, primary->num, foreign->num); });
}

}  // namespace

long adp_rel_unrelate_from_id(KAdpConnId* con, char side, obj_id* id, long rel_id) {
  typ_sch_rrec* r = nullptr;
  char entry_side = 0;
  if (long st = adp_rel_entry_of(id->type, rel_id, &r, &entry_side)) return st;
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  return unrelate_from(con, p, side, id);
}

long adp_rel_unrelate_remote_id(KAdpConnId* con, obj_id* primary, long rel_id, obj_id* foreign) {
  if (long st = adp_db_check_conn(con)) return st;
  typ_sch_rrec* r = nullptr;
  if (long st = adp_rel_record_of(primary, rel_id, foreign, &r)) return st;
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  if (long st = adp_trn_begin(con)) return st;
  // A failure returns without the commit: the caller rolls back.
  if (!adp_rel_oid_empty(foreign)) {
    if (long st = adp_rel_update_sync_field(con, nullptr, foreign, r, 0, 0)) return st;
  }
  if (long st = unrelate_pair(con, p, primary, foreign)) return st;
  return adp_trn_commit(con);
}

long adp_rel_unrelate_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign) {
  obj_id p{};
  obj_id f{};
  if (long st = adp_rel_oid_of(primary, &p)) return st;
  if (long st = adp_rel_oid_of(foreign, &f)) return st;
  return adp_rel_unrelate_remote_id(con, &p, rel_id, &f);
}
