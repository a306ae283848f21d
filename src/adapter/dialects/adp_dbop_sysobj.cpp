// SQL Server's look-up of a system object (a stored procedure, by the kind
// the caller names) and of its source text.
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"

namespace {

constexpr const char kOwner[] = "KAdpMssqlOperation::SchGetSysobj";
constexpr long kStringType = 516;
constexpr long kListCapacity = 500;
constexpr long kListExtend = 200;
constexpr long kTextGrowthNumber = 11;

// Every object name of the kind, in name order, into a new list.
long make_name_list(KAdpConnId* con, const std::string& kind, utl_ty_col** names) {
  utl_ty_col* list = nullptr;
  if (long st = utl_col_make(kOwner, kStringType, kListCapacity, kListExtend, 0, 0, &list)) return st;
  char* name = nullptr;
  long st = adp_sql_parse_now(con, "select name from sysobjects where type = '%s' order by name", kind.c_str());
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&name, 0));
  char more = 0;
  if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    st = utl_col_push(list, name != nullptr ? name : "", nullptr);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  if (st != 0) {
    utl_col_free(kOwner, list);
    return st;
  }
  *names = list;
  return 0;
}

bool listed(utl_ty_col* names, const char* name) {
  long n = 0;
  utl_col_num(names, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(names, i, &e) == 0 && e != nullptr && std::strcmp(static_cast<const char*>(e), name) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

long KAdpMssqlOperation::SchGetSysobj(const char* name, const char* kind, char list_mode, utl_ty_col** names,
                                      char* answered, char* exists, char* text_read, utl_ty_estr** text) {
  KAdpConnId* con = GetConnection();
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  *answered = 1;
  *exists = 0;
  const std::string n = adp_sql_quotes_doubled(name), k = adp_sql_quotes_doubled(kind);
  if (list_mode != 0 && names != nullptr) {
    if (*names == nullptr) {
      if (long st = make_name_list(con, k, names)) return st;
    }
    *exists = listed(*names, name != nullptr ? name : "") ? 1 : 0;
  } else {
    char* found_name = nullptr;
    if (long st = adp_sql_parse_now(con, "select name from sysobjects where type = '%s' and name = '%s'", k.c_str(),
                                    n.c_str())) {
      return st;
    }
    if (long st = adp_sql_define(con, KAdpBindCol(&found_name, 0))) return st;
    char found = 0;
    if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
    *exists = found != 0 ? 1 : 0;
  }
  if (text == nullptr) return 0;
  if (text_read != nullptr) *text_read = 1;
  char* line = nullptr;
  if (long st = adp_sql_parse_now(con, "select text from syscomments where id=object_id('%s')", n.c_str())) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(&line, 0))) return st;
  long growth = GetDbSpecificLong(static_cast<long_type>(kTextGrowthNumber));
  if (long st = utl_estr_create(kOwner, nullptr, growth, growth, text)) return st;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    if (line != nullptr) st = utl_estr_append(*text, line);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  return st;
}
