// The catalog side of a type's indexes: the records of the indexes its
// table has (through the dialect), their columns, and their release.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"

namespace {

constexpr const char kOwner[] = "adp_ind_fill_field_col";
constexpr long kStringType = 516;
constexpr long kColumnListSize = 10;
constexpr long kColumnPhrase = 4;
constexpr long kFirstKeyNumber = 4;
constexpr long kLastKeyNumber = 5;

// Runs the prepared one-column query and appends its non-empty answers;
// pushed counts them.
long push_answers(KAdpConnId* con, utl_ty_col* fields, long* pushed) {
  char* column = nullptr;
  if (long st = adp_sql_define(con, KAdpBindCol(&column, 0))) return st;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    if (column != nullptr && *column != '\0') {
      if ((st = utl_col_push(fields, column, nullptr)) != 0) break;
      ++*pushed;
    }
    st = adp_sql_nextrow(con, nullptr, &more);
  }
  return st;
}

}  // namespace

long adp_ind_get_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->IndGetTableIndex(con, type, records);
}

long adp_ind_fill_field_col(KAdpConnId* con, typ_sch_srec* type, adp_ty_index_info* record) {
  if (long st = adp_db_check_conn(con)) return st;
  if (record->fields == nullptr) {
    if (long st = utl_col_make(kOwner, kStringType, kColumnListSize, kColumnListSize, 0, 0, &record->fields)) {
      return st;
    }
  }
  KAdpDbOperation* op = con->GetDbOperation();
  const char* column_query = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kColumnPhrase));
  long pushed = 0;
  if (adp_db_is_db_mssql() == 0) {
    if (long st = adp_sql_parse_now(con, column_query, adp_sql_quotes_doubled(record->name).c_str())) return st;
    return push_answers(con, record->fields, &pushed);
  }
  const std::string table = adp_sql_quotes_doubled(type != nullptr && type->info != nullptr ? type->info->name : "");
  const long first = op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kFirstKeyNumber));
  const long last = op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kLastKeyNumber));
  for (long position = first; position <= last; ++position) {
    if (long st = adp_sql_parse_now(con, column_query, table.c_str(), record->index_id, position)) return st;
    long before = pushed;
    if (long st = push_answers(con, record->fields, &pushed)) return st;
    if (pushed == before) break;
  }
  return 0;
}

long adp_ind_free_res_ind_col(utl_ty_col* records) {
  long n = 0;
  if (long st = utl_col_num(records, &n)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(records, i, &e) != 0 || e == nullptr) continue;
    auto* r = static_cast<adp_ty_index_info*>(e);
    if (r->fields != nullptr) utl_col_free(kOwner, r->fields);
    r->fields = nullptr;
  }
  return utl_col_reset(records);
}
