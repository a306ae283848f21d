// The value part of a power-query condition, per dialect. Lists, ranges,
// sub-queries and plain values are the same on both servers; the relative
// dates are counted in days on Oracle and in minutes on SQL Server; "exists"
// and "does not exist" on a field need no value.
#include "adapter/adp_conn.h"
#include "adapter/adp_pwr.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "schema/typ_rec.h"

namespace {

using reldate_writer = long (*)(char**, long, const char*, const char*, const char*, const char*);

long value_part(KAdpDbOperation& op, pwr_cond* cond, char** out, char* value, char* alias, char* separator,
                char* op_text, typ_sch_frec* field, reldate_writer dates) {
  char handled = 0;
  if (long st = adp_pwr_common_value(op.GetConnection(), cond, out, value, alias, op_text, field, &handled))
    return st;
  if (handled != 0 || cond->op == ADP_PWR_EXISTS || cond->op == ADP_PWR_NOT_EXISTS) return 0;
  if (dates == nullptr) return adp_pwr_refuse(op_text);
  return dates(out, cond->op, value, alias, separator, field->name);
}

}  // namespace

// Without a dialect the relative dates have no server arithmetic.
long KAdpDbOperation::PwrQryOneCond(pwr_cond* cond, char*, char*, char** out, char* value, char* alias,
                                    char* separator, char* op_text, typ_sch_frec* field) {
  return value_part(*this, cond, out, value, alias, separator, op_text, field, nullptr);
}

long KAdpOraOperation::PwrQryOneCond(pwr_cond* cond, char*, char*, char** out, char* value, char* alias,
                                     char* separator, char* op_text, typ_sch_frec* field) {
  return value_part(*this, cond, out, value, alias, separator, op_text, field, adp_pwr_reldate_oracle);
}

long KAdpMssqlOperation::PwrQryOneCond(pwr_cond* cond, char*, char*, char** out, char* value, char* alias,
                                       char* separator, char* op_text, typ_sch_frec* field) {
  return value_part(*this, cond, out, value, alias, separator, op_text, field, adp_pwr_reldate_mssql_dialect);
}
