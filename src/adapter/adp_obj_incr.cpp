// Object SQL: raising a numeric column by one in the database and reading
// the new value, with its change row while the offline feature is on.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"

namespace {

constexpr long kKeyRowPhrase = 24;
constexpr long kNumberRowPhrase = 21;
constexpr long kDevStepPhrase = 28;

// The detail expression of the change row; empty when none is written.
long detail_expr(KAdpConnId* con, long type_id, const char* field, std::string* out) {
  out->clear();
  char roamer = 0;
  dbs_db_if_roamer_enabled(con, &roamer);
  if (!roamer) return 0;
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_handle(type_id, nullptr, &s)) return st;
  typ_sch_frec* f = nullptr;
  if (long st = typ_sch_field_get_by_name(s, field, &f)) return st;
  if (f->flags & ADP_FLD_NO_DETAIL) return 0;
  const std::string n = field;
  if (adp_db_is_db_oracle()) {
    *out = "CONCAT(CONCAT(CONCAT('1 " + n + " ', TO_CHAR(LENGTH(TO_CHAR(" + n + "+1)))), ' '), TO_CHAR(" + n + "+1))";
  } else {
    *out = "'1 " + n + " ' + convert(varchar, LEN(convert(varchar, " + n + "+1))) + ' '+ convert(varchar, " + n +
           "+1)";
  }
  return 0;
}

long run_batch(KAdpConnId* con, KAdpSqlBatch* b) {
  if (long st = adp_obj_run_all(con, b, nullptr)) return st;
  return adp_sql_free(con, b);
}

long by_key(KAdpConnId* con, const char* table, const char* field, const char* key, const char* key_column,
            const std::string& expr) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  if (expr.empty()) {
    b->AppendSqlFormat("update %s set %s = %s + 1 where %s = ", table, field, field, key_column);
    *b << KAdpBindParam(key) << "\n" << KAdpSqlBatch::kEndStmt;
    return run_batch(con, b);
  }
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (oracle) *b << "BEGIN ";
  *b << adp_obj_phrase(con, kKeyRowPhrase) << KAdpBindParam(table) << ", " << expr.c_str();
  b->AppendSqlFormat(" FROM %s WHERE %s = ", table, key_column);
  *b << KAdpBindParam(key) << "; \n";
  b->AppendSqlFormat(adp_obj_phrase(con, kDevStepPhrase), table);
  b->AppendSqlFormat("%s = %s + 1 WHERE %s = ", field, field, key_column);
  *b << KAdpBindParam(key) << (oracle ? " ; END;" : "") << KAdpSqlBatch::kEndStmt;
  return run_batch(con, b);
}

long by_number(KAdpConnId* con, const char* table, const char* field, long number, const std::string& expr) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (expr.empty()) {
    b->AppendSqlFormat("UPDATE %s SET %s = %s + 1 where objid = ", table, field, field);
    *b << KAdpBindParam(number) << KAdpSqlBatch::kEndStmt;
    return run_batch(con, b);
  }
  if (oracle) *b << "BEGIN ";
  *b << adp_obj_phrase(con, kNumberRowPhrase) << KAdpBindParam(table) << ", " << expr.c_str();
  b->AppendSqlFormat("FROM %s WHERE %s = %ld; \n", table, "objid", number);
  b->AppendSqlFormat(adp_obj_phrase(con, kDevStepPhrase), table);
  b->AppendSqlFormat("%s = %s + 1 WHERE objid = %ld\n", field, field, number);
  *b << (oracle ? "; END;" : "") << KAdpSqlBatch::kEndStmt;
  return run_batch(con, b);
}

}  // namespace

long adp_obj_incr_field(KAdpConnId* con, long type_id, const char* key, const char* key_column, long number,
                        const char* field, long* out) {
  if (long st = adp_db_check_conn(con)) return st;
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(type_id, &table)) return st;
  std::string expr;
  if (long st = detail_expr(con, type_id, field, &expr)) return st;
  const bool keyed = key != nullptr && *key != '\0';
  long st = keyed ? by_key(con, table, field, key, key_column, expr) : by_number(con, table, field, number, expr);
  if (st != 0) return st;
  void* stmt = nullptr;
  if ((st = adp_sql_create(con, &stmt)) != 0) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  b->AppendSqlFormat("select %s from %s where ", field, table);
  if (keyed) {
    b->AppendSqlFormat("%s = ", key_column);
    *b << KAdpBindParam(key) << "\n";
  } else {
    b->AppendSqlFormat("objid = %ld\n", number);
  }
  long value = 0;
  if ((st = adp_sql_define(con, KAdpBindCol(value))) != 0) return st;
  if ((st = adp_sql_parse(con, stmt)) != 0) return st;
  char found = 0;
  if ((st = adp_sql_exec_and_fetch(con, &found)) != 0) return st;
  adp_sql_free(con, stmt);
  if (!found) return adp_obj_push(ADP_SQL_NEXTROW_FAIL, 0);
  *out = value;
  return 0;
}
