// Creating and removing a database through the connection's dialect, and
// dropping a table during a schema change.
#include <cstdint>
#include <cstdio>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_name.h"

FILE* adp_sch_ddl = nullptr;

namespace {

char* text_at(long address) { return reinterpret_cast<char*>(static_cast<intptr_t>(address)); }

}  // namespace

long adp_db_create(KAdpConnId* cid, const char* name, long a, long b, long c, long d) {
  if (long st = adp_db_check_conn(cid)) return st;
  return cid->GetDbOperation()->DbCreate(const_cast<char*>(name), text_at(a), b, text_at(c), d);
}

long adp_db_cr_header(KAdpConnId* cid, long argument) {
  if (long st = adp_db_check_conn(cid)) return st;
  char* name = argument != 0 ? text_at(argument) : adp_db_get_db_name();
  return cid->GetDbOperation()->DbCrHeader(name);
}

long adp_db_delete(KAdpConnId* cid, const char* name) {
  if (long st = adp_db_check_conn(cid)) return st;
  return cid->GetDbOperation()->DbDelete(const_cast<char*>(name));
}

long adp_sce_delete_table(KAdpConnId* con, const char* table, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_dbop_check_name(table, false)) return st;
  if ((options & 1) != 0 && stream != nullptr) {
    std::fprintf(stream, "DROP TABLE %s\n", table);
    return 0;
  }
  return adp_sql_parse_ddl_now(con, "DROP TABLE %s\n", table);
}
