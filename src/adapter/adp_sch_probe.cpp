// Catalogue probes of the table DDL: does a table have a column, which
// binary-array tables does a type have.
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "core/utl/utl_col.h"

namespace {

constexpr long kNameSize = 256;
constexpr long kTextType = 516;
constexpr long kRoom = 10;
constexpr const char kOwner[] = "adp_sch_get_barray_tables";


// A LIKE pattern's literal part: wildcards escaped with "\", quotes doubled.
std::string like_literal(const char* text) {
  std::string out;
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    if (*p == '_' || *p == '%' || *p == '\\' || *p == '[') out += '\\';
    out += *p;
    if (*p == '\'') out += '\'';
  }
  return out;
}

const char* catalogue_owner() { return adp_sch_use_snapshot() == 1 ? "orbisan" : "user"; }

}  // namespace

long adp_sch_does_col_exist(KAdpConnId* con, const char* table, const char* column, char* exists) {
  if (exists != nullptr) *exists = 0;
  const std::string t = adp_sql_quotes_doubled(table);
  const std::string c = adp_sql_quotes_doubled(column);
  long st = adp_db_is_db_mssql()
                ? adp_sql_parse_now(con,
                                    "select colid from sysobjects, syscolumns \t\t\t\t\t\twhere sysobjects.name='%s' "
                                    "\t\t\t\t\t\tand sysobjects.id=syscolumns.id \t\t\t\t\t\tand syscolumns.name='%s'",
                                    t.c_str(), c.c_str())
                : adp_sql_parse_now(con,
                                    "select column_name from %s_tab_columns \t\t\t\t\t\t\t\twhere table_name = "
                                    "upper('%s') \t\t\t\t\t\t\t\tand column_name = upper('%s')",
                                    catalogue_owner(), t.c_str(), c.c_str());
  if (st != 0) return st;
  char found_name[kNameSize] = "";
  if (long s = adp_sql_define(con, KAdpBindCol(found_name, kNameSize))) return s;
  char found = 0;
  if (long s = adp_sql_exec_and_fetch(con, &found)) return s;
  if (exists != nullptr) *exists = found != 0 ? 1 : 0;
  return 0;
}

long adp_sch_get_barray_tables(KAdpConnId* con, const char* type_name, utl_ty_col** tables) {
  *tables = nullptr;
  const std::string pattern = "table\\_" + like_literal(type_name) + "\\_array\\_%";
  const std::string query =
      adp_db_is_db_mssql()
          ? "select name from sysobjects where type = 'U' and name like '" + pattern + "' escape '\\'"
          : "select name from user_tables \t\t   where upper(table_name) like upper('" + pattern + "') escape '\\'";
  std::vector<std::string> names;
  if (long st = adp_sql_texts(con, query, &names)) return st;
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make(kOwner, kTextType, kRoom, kRoom, 0, 0, &col)) return st;
  for (const std::string& n : names) {
    if (long st = utl_col_push(col, n.c_str(), nullptr)) {
      utl_col_free(kOwner, col);
      return st;
    }
  }
  *tables = col;
  return 0;
}
