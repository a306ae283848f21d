// Relations written and tested one at a time, outside the write batch: the
// relate through the dialect, whether two objects are related, and whether
// any foreign row points to an object; by ids or by local objects.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
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

long adp_rel_pk_related_id_non_mtm(KAdpConnId* con, obj_id* id, long rel_id, char* related) {
  *related = 0;
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(id->type, rel_id, &r, &side)) return st;
  // The object must be the primary side of a foreign-key relation: only
  // then do foreign rows point to it.
  if (side != 'p' || adp_rel_kind(r) == ADP_REL_MTM) {
    return adp_obj_push(ADP_REL_BAD_SIDE, 2, rel_id, name_of(side == 'p' ? r->pschema : r->fschema));
  }
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  const char* column = p.focus ? r->phys_name : r->fname;
  b->AppendSqlFormat("select %s from %s where %s = ", column, p.table, column);
  *b << KAdpBindParam(id->num);
  if (p.focus) {
    b->AppendSqlFormat(" AND %s = ", r->focus_field);
    *b << KAdpBindParam(p.ptype);
  }
  long value = 0;
  char found = 0;
  if (long st = fetch_longs(con, stmt, &value, 1, &found)) return st;
  *related = found ? 1 : 0;
  return 0;
}

long adp_rel_pk_related_non_mtm(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, char* related) {
  *related = 0;
  obj_id id{};
  if (long st = adp_rel_oid_of(object, &id)) return st;
  return adp_rel_pk_related_id_non_mtm(con, &id, rel_id, related);
}

long adp_rel_relate_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign) {
  obj_id p{};
  obj_id f{};
  if (long st = adp_rel_oid_of(primary, &p)) return st;
  if (long st = adp_rel_oid_of(foreign, &f)) return st;
  return adp_rel_new_relate_remote_id(con, &p, nullptr, rel_id, &f);
}

long adp_rel_related_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign, long options,
                            char* related) {
  *related = 0;
  obj_id p{};
  obj_id f{};
  if (long st = adp_rel_oid_of(primary, &p)) return st;
  if (long st = adp_rel_oid_of(foreign, &f)) return st;
  return adp_rel_related_remote_id(con, &p, rel_id, &f, options, related);
}
