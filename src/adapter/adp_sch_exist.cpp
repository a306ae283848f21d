// Whether the catalogue has a table (on SQL Server any object: procedures
// are found too) of a given name.
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"

#include <string>

namespace {

constexpr long kNameSize = 256;

// The name as a quoted SQL text, quotes inside doubled.
std::string sql_text(const char* name) {
  char* escaped = nullptr;
  adp_sql_escape_str(name, &escaped);
  return escaped != nullptr ? escaped : "";
}

}  // namespace

long adp_sch_does_tbl_exist(KAdpConnId* con, const char* name, char* exists) {
  if (exists != nullptr) *exists = 0;
  std::string quoted = sql_text(name);
  std::string text = adp_db_is_db_mssql()
                         ? "select name from sysobjects where name='" + quoted + "'"
                         : std::string("select table_name from ") + (adp_sch_use_snapshot() == 1 ? "orbisan" : "user") +
                               "_tables where table_name= UPPER('" + quoted + "')";
  if (long st = adp_sql_parse_now(con, "%s", text.c_str())) return st;
  char found_name[kNameSize] = "";
  if (long st = adp_sql_define(con, KAdpBindCol(found_name, kNameSize))) return st;
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  if (exists != nullptr) *exists = found != 0 ? 1 : 0;
  return 0;
}
