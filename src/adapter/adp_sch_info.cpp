// The adapter's catalogue questions, answered by the connection's dialect:
// does a view exist, a table column's description, and whether a stored
// procedure exists (through the adapter's cached procedure-name list).
#include "adapter/adp_conn.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"

namespace {

constexpr long kProcedureKindPhrase = 59;

// The procedure names the list-mode look-ups share, made on first use.
utl_ty_col* g_sp_col = nullptr;

}  // namespace

long adp_sch_does_view_exist(KAdpConnId* con, const char* name, char* exists) {
  return con->GetDbOperation()->SchDoesTblExist(name, exists, 0);
}

long adp_sch_get_col_info2(KAdpConnId* con, const char* table, const char* column, char mode, char* answered,
                           char* found, long* length, long* type_code, char* nullable, long* column_number) {
  return con->GetDbOperation()->SchGetColInfo2(table, column, mode, answered, found, length, type_code, nullable,
                                               column_number);
}

long adp_sch_get_col_info(KAdpConnId* con, const char* table, const char* column, char mode, char* answered,
                          char* found, long* length, long* type_code) {
  return adp_sch_get_col_info2(con, table, column, mode, answered, found, length, type_code, nullptr, nullptr);
}

long adp_sch_get_storedp(KAdpConnId* con, const char* name, char list_mode, char* answered, char* exists,
                         char* text_read, utl_ty_estr** text) {
  KAdpDbOperation* op = con->GetDbOperation();
  const char* kind = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kProcedureKindPhrase));
  return op->SchGetSysobj(name, kind, list_mode, &g_sp_col, answered, exists, text_read, text);
}
