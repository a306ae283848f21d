// Binary-array tables: one row per slice of an array (objid, seq_num, data)
// with a unique index on (objid, seq_num) named by the name mapper.
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"

// SQL Server's statement texts.
namespace NAdpSqlStmts {
constexpr const char CreBinArrTbl1[] = "CREATE TABLE ";
constexpr const char CreBinArrTbl2[] = " (objid int, seq_num smallint, data varbinary(253) )";
constexpr const char CreBinArrIdx1[] = "CREATE UNIQUE INDEX ";
constexpr const char CreBinArrIdx2[] = " ON ";
constexpr const char CreBinArrIdx3[] = " (objid, seq_num) ";
}  // namespace NAdpSqlStmts

namespace {

constexpr long kArrayIndexConvert = 9;

KCLASSIC::KZString index_name(KAdpConnId* con, const char* table) {
  return con->GetPhys(table, static_cast<KAdpNameMapper::convert_type>(kArrayIndexConvert), 0, nullptr);
}

// Runs the batch's text as DDL and resets it.
long run_ddl(KAdpSqlBatch* b) {
  if (long st = b->GetStatus()) return st;
  long st = b->ExecDdl();
  b->Reset();
  return st;
}

}  // namespace

long KAdpMssqlOperation::BarCreateWithName(char* table_name, long) {
  KAdpConnId* con = GetConnection();
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  b->Reset();
  *b << NAdpSqlStmts::CreBinArrTbl1 << table_name << NAdpSqlStmts::CreBinArrTbl2;
  if (long st = run_ddl(b)) return st;
  if (long st = adp_usr_table_grant(con, table_name, 0, 0)) return st;
  b->Reset();
  KCLASSIC::KZString index = index_name(con, table_name);
  *b << NAdpSqlStmts::CreBinArrIdx1 << static_cast<const char*>(index) << NAdpSqlStmts::CreBinArrIdx2 << table_name
     << NAdpSqlStmts::CreBinArrIdx3;
  return run_ddl(b);
}

long KAdpOraOperation::BarCreateWithName(char* table_name, long) {
  KAdpConnId* con = GetConnection();
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_sprintf(con, stmt, "create table %s (objid number, seq_num number, data raw(253))",
                                table_name)) {
    return st;
  }
  if (long st = adp_sql_parse_ddl(con, stmt)) return st;
  adp_sql_free(con, stmt);
  if (long st = adp_sql_parse_ddl_now(con, "create public synonym %s for %s", table_name, table_name)) return st;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KCLASSIC::KZString index = index_name(con, table_name);
  if (long st = adp_sql_sprintf(con, stmt, "create unique index %s on %s(objid, seq_num)",
                                static_cast<const char*>(index), table_name)) {
    return st;
  }
  if (long st = adp_sql_parse_ddl(con, stmt)) return st;
  adp_sql_free(con, stmt);
  return 0;
}
