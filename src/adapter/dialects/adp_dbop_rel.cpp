// Both dialects' relate by id: a link row, or the foreign key of the row
// that records the relation (with its change row while offline), then the
// change date of that row, in a transaction of its own.
#include <string>
#include <strings.h>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"

namespace {

constexpr long kLinkRowType = 100000002;
constexpr long kChangeRowPhrase = 20;
constexpr long kDevStepPhrase = 28;
constexpr long kProcNameSize = 40;

using writer = long (*)(KAdpConnId* con, obj_id* first, typ_sch_rrec* r, obj_id* second, const adp_rel_parts& p);

KAdpSqlBatch* new_statement(KAdpConnId* con, long* status) {
  void* stmt = nullptr;
  *status = adp_sql_create(con, &stmt);
  return static_cast<KAdpSqlBatch*>(stmt);
}

long run_dml(KAdpConnId* con, KAdpSqlBatch* b) {
  if (long st = b->GetStatus()) return st;
  if (long st = adp_sql_parse(con, b)) return st;
  if (long st = b->ExecuteDMLBatch()) return st;
  return adp_sql_free(con, b);
}

// The link row: with the offline feature a new id of the link-row type.
long link_row(KAdpConnId* con, obj_id* first, typ_sch_rrec* r, obj_id* second, const adp_rel_parts& p) {
  obj_id row{};
  if (p.roamer) {
    const long type = kLinkRowType;
    long number = 0;
    if (long st = dbs_obj_ids_create(con, 1, &type, &number)) return st;
    row.type = kLinkRowType;
    dbs_main_id_site_set(&row, adp_db_get_site_id());
    dbs_main_id_number_set(&row, number);
  }
  long st = 0;
  KAdpSqlBatch* b = new_statement(con, &st);
  if (st != 0) return st;
  if (long s2 = adp_rel_relate_mtm_sql(con, first, r, second, &row, b)) return s2;
  return run_dml(con, b);
}

// The frame both dialects share.
long relate_in_transaction(KAdpConnId* con, obj_id* first, typ_sch_rrec* r, obj_id* second, writer by_key) {
  if (long st = adp_db_check_conn(con)) return st;
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  if (long st = adp_trn_begin(con)) return st;
  long st = p.mtm ? link_row(con, first, r, second, p) : by_key(con, first, r, second, p);
  if (st != 0) return st;
  // The change date goes to the row that records the relation.
  KAdpSqlBatch* b = new_statement(con, &st);
  if (st != 0) return st;
  if (long s2 = adp_rel_update_sync_field(con, b, second, r, 0, 0)) return s2;
  return adp_trn_commit(con);
}

long mssql_by_key(KAdpConnId* con, obj_id* first, typ_sch_rrec* r, obj_id* second, const adp_rel_parts& p) {
  const long P = first->num;
  const long F = second->num;
  const char* column = p.focus ? r->phys_name : r->fname;
  if (!p.roamer && !p.focus) {
    return adp_sql_exec_query(con, "update %s set %s = %ld where %s = %ld", p.table, column, P, p.id_col, F);
  }
  long st = 0;
  KAdpSqlBatch* b = new_statement(con, &st);
  if (st != 0) return st;
  if (p.roamer) {
    *b << con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kChangeRowPhrase))
       << KAdpBindParam(p.table) << ", " << KAdpBindParam(adp_obj_keep_text(adp_rel_relate_detail(r, P, p.ptype)));
    b->AppendSqlFormat("\n from %s where %s = ", p.table, p.id_col);
    *b << KAdpBindParam(F) << "; \n";
    b->AppendSqlFormat(con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDevStepPhrase)),
                       p.table);
    b->AppendSqlFormat("%s = ", column);
  } else {
    b->AppendSqlFormat("update %s set %s = ", p.table, column);
  }
  *b << KAdpBindParam(P);
  if (p.focus) {
    b->AppendSqlFormat(" , %s = ", r->focus_field);
    *b << KAdpBindParam(p.ptype);
  }
  b->AppendSqlFormat(" where %s = ", p.id_col);
  *b << KAdpBindParam(F);
  if (!p.roamer) {
    *b << ";\n";
    if (long s2 = b->GetStatus()) return s2;
    if (long s2 = adp_sql_parse(con, b)) return s2;
    return adp_sql_execute(con, b);
  }
  return run_dml(con, b);
}

long ora_by_key(KAdpConnId* con, obj_id* first, typ_sch_rrec* r, obj_id* second, const adp_rel_parts& p) {
  if (p.roamer) {
    char* stp = nullptr;
    if (long st = osl_sys_get_config_string("oracle_stp_on", &stp)) return st;
    if (stp != nullptr && strcasecmp(stp, "TRUE") == 0) {
      char name[kProcNameSize];
      std::snprintf(name, sizeof name, "rl_%.27s", r->pname);
      return adp_sql_exec_query(con, "begin\n%s(%ld,%ld);\nend;", name, first->num, second->num);
    }
  }
  // Without the relate procedures the journaled foreign-key update.
  long st = 0;
  KAdpSqlBatch* b = new_statement(con, &st);
  if (st != 0) return st;
  *b << "BEGIN\n";
  if (long s2 = adp_rel_relate_remote_id_sql(con, b, r, first, second)) return s2;
  *b << "END;";
  return run_dml(con, b);
}

}  // namespace

long KAdpMssqlOperation::RelRelateRemoteId(obj_id* first, typ_sch_rrec* relation, obj_id* second) {
  KAdpConnId* con = GetConnection() != nullptr ? GetConnection() : adp_db_get_conn();
  return relate_in_transaction(con, first, relation, second, mssql_by_key);
}

long KAdpOraOperation::RelRelateRemoteId(obj_id* first, typ_sch_rrec* relation, obj_id* second) {
  KAdpConnId* con = GetConnection() != nullptr ? GetConnection() : adp_db_get_conn();
  return relate_in_transaction(con, first, relation, second, ora_by_key);
}
