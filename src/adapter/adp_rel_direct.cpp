// Relations written and tested one at a time, outside the write batch: the
// relate through the dialect, the unrelate of a pair or of everything
// related to one id, and whether two objects are related.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_rec.h"

namespace {

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

const char* name_of(const typ_sch_srec* s) { return s != nullptr && s->info != nullptr ? s->info->name : ""; }

// Builds statements with text, wrapped in a block on Oracle, and runs them
// as one DML batch.
template <class F>
long run_block(KAdpConnId* con, F&& text) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (oracle) *b << "BEGIN\n";
  if (long st = text(b)) return st;
  if (oracle) *b << "END;";
  if (long st = b->GetStatus()) return st;
  if (long st = adp_sql_parse(con, stmt)) return st;
  if (long st = b->ExecuteDMLBatch()) return st;
  return adp_sql_free(con, stmt);
}

// One long column of one row; *found 1 when the row came.
long fetch_longs(KAdpConnId* con, void* stmt, long* values, long n, char* found) {
  for (long i = 0; i < n; ++i) {
    values[i] = 0;
    if (long st = adp_sql_define(con, KAdpBindCol(values[i]))) return st;
  }
  if (long st = adp_sql_exec_and_fetch(con, found)) return st;
  return adp_sql_free(con, stmt);
}

long related_mtm(KAdpConnId* con, const typ_sch_rrec* r, long P, long F, bool lock, char* related) {
  const bool mssql = adp_db_is_db_mssql() != 0;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  b->AppendSqlFormat(lock && mssql ? "select %s from %s HOLDLOCK" : "select %s from %s ", r->pname, r->mtm_table);
  b->AppendSqlFormat("\n where %s = ", r->pname);
  *b << KAdpBindParam(P);
  b->AppendSqlFormat(" AND %s = ", r->fname);
  *b << KAdpBindParam(F);
  if (lock && !mssql) *b << " for update";
  long value = 0;
  char found = 0;
  if (long st = fetch_longs(con, stmt, &value, 1, &found)) return st;
  *related = found ? 1 : 0;
  return 0;
}

// The foreign row's key (with relation flags also its focus column): a
// missing row is an alert, a key of another object or type is no relation.
long related_by_key(KAdpConnId* con, const typ_sch_rrec* r, long P, long F, bool lock, char* related) {
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  const bool mssql = !p.oracle;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  if (p.focus) b->AppendSqlFormat("select %s, %s from %s", r->phys_name, r->focus_field, p.table);
  else b->AppendSqlFormat("select %s from %s", r->fname, p.table);
  if (lock && mssql) *b << " HOLDLOCK";
  b->AppendSqlFormat(" where %s = ", p.id_col);
  *b << KAdpBindParam(F);
  if (lock && !mssql) *b << " for update ";
  long values[2] = {0, 0};
  char found = 0;
  if (long st = fetch_longs(con, stmt, values, p.focus ? 2 : 1, &found)) return st;
  if (!found) return adp_obj_push(ADP_REL_NOT_RELATED_ROW, 4, name_of(r->pschema), P, name_of(r->fschema), F);
  *related = values[0] == P && (!p.focus || values[1] == p.ptype) ? 1 : 0;
  return 0;
}

}  // namespace

long adp_rel_unrelate_from_id(KAdpConnId* con, char side, obj_id* id, long rel_id) {
  typ_sch_rrec* r = nullptr;
  char entry_side = 0;
  if (long st = adp_rel_entry_of(id->type, rel_id, &r, &entry_side)) return st;
  if (adp_rel_kind(r) == ADP_REL_MTM) {
    return adp_sql_exec_query(con, "DELETE %s WHERE %s = %ld", r->mtm_table, side == 1 ? r->pname : r->fname,
                              id->num);
  }
  return run_block(con, [&](KAdpSqlBatch* b) { return adp_rel_unrelate_from_id_sql(con, b, side, id, r); });
}

long adp_rel_unrelate_remote_id(KAdpConnId* con, obj_id* primary, long rel_id, obj_id* foreign) {
  if (long st = adp_db_check_conn(con)) return st;
  typ_sch_rrec* r = nullptr;
  if (long st = adp_rel_record_of(primary, rel_id, foreign, &r)) return st;
  if (long st = adp_trn_begin(con)) return st;
  long st = run_block(con, [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con, b, primary, r, foreign); });
  if (st != 0) return st;
  return adp_trn_commit(con);
}

long adp_rel_new_relate_remote_id(KAdpConnId* con, obj_id* primary, const char*, long rel_id, obj_id* foreign) {
  typ_sch_rrec* r = nullptr;
  if (long st = adp_rel_record_of(primary, rel_id, foreign, &r)) return st;
  return con->GetDbOperation()->RelRelateRemoteId(primary, r, foreign);
}

long adp_rel_related_remote_id(KAdpConnId* con, obj_id* primary, long rel_id, obj_id* foreign, long options,
                               char* related) {
  *related = 0;
  typ_sch_rrec* r = nullptr;
  if (long st = adp_rel_record_of(primary, rel_id, foreign, &r)) return st;
  const bool lock = adp_rel_lock_wanted(options);
  if (lock) {
    if (long st = adp_trn_begin(con)) return st;
  }
  long st = adp_rel_kind(r) == ADP_REL_MTM ? related_mtm(con, r, primary->num, foreign->num, lock, related)
                                           : related_by_key(con, r, primary->num, foreign->num, lock, related);
  if (st != 0 || !lock) return st;
  return adp_trn_commit(con);
}
