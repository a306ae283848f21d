// Running the statements of a schema change: at once, or written to the
// caller's script when option bit 0 asks for a script only.
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_name.h"

namespace {

constexpr long kDateFormatPhrase = 34;

bool write_only(const std::string& text, FILE* script, long options) {
  if ((options & ADP_SCE_SCRIPT_ONLY) == 0) return false;
  if (script != nullptr) {
    std::fputs(text.c_str(), script);
    if (text.empty() || text.back() != '\n') std::fputc('\n', script);
  }
  return true;
}

long run(KAdpConnId* con, const std::string& text, bool ddl) {
  if (long st = adp_db_check_conn(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, text.c_str())) return st;
  if (ddl) {
    if (long st = adp_sql_parse_ddl(con, stmt)) return st;
  } else {
    if (long st = adp_sql_parse(con, stmt)) return st;
    if (long st = adp_sql_execute(con, stmt)) return st;
  }
  return adp_sql_free(con, stmt);
}

}  // namespace

long adp_sce_run_ddl(KAdpConnId* con, const std::string& text, FILE* script, long options) {
  if (write_only(text, script, options)) return 0;
  return run(con, text, true);
}

long adp_sce_run_dml(KAdpConnId* con, const std::string& text, FILE* script, long options) {
  if (write_only(text, script, options)) return 0;
  return run(con, text, false);
}

long adp_sce_read_long(KAdpConnId* con, const std::string& query, long* value, char* found) {
  *value = 0;
  *found = 0;
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sql_parse_now(con, "%s", query.c_str())) return st;
  long cell = 0;
  if (long st = adp_sql_define(con, KAdpBindCol(cell))) return st;
  char row = 0;
  if (long st = adp_sql_exec_and_fetch(con, &row)) return st;
  if (row != 0) {
    *value = cell;
    *found = 1;
  }
  if (adp_sce_oracle()) adp_sql_cancel(con);
  return 0;
}

bool adp_sce_oracle() { return adp_db_is_db_oracle() != 0; }

bool adp_sce_mssql() { return adp_db_is_db_mssql() != 0; }

bool adp_sce_upper_columns(KAdpConnId* con) { return (con->GetHeader()->flags & ADP_HEAD_UPPER_COLUMNS) != 0; }

std::string adp_sce_date_format(KAdpConnId* con) {
  const char* format =
      con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDateFormatPhrase));
  return format != nullptr ? format : "";
}

std::string adp_sce_literal(const char* text) { return adp_sql_quotes_doubled(text); }

long adp_sce_check_name(const char* name) { return adp_dbop_check_name(name, false); }
