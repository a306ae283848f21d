// Dropping indexes: a declared index of a type (its physical index, on
// Oracle also its search index, and its adp_sch_index row), one physical
// index by name, the catalogue records of a table. A DROP only runs when the
// server has the index, and a failing one is forgotten so that a missing
// index never stops a schema change.
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_ind_row.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_rec.h"

namespace {

enum : long { kIndexName = 1, kSearchIndexName = 2 };
constexpr long kRowDeleteIndent = 35;  // blanks between "where" and "type_id" of the row delete

long alert_depth() {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  return n;
}

std::string phys(KAdpConnId* con, const char* logical, long kind, typ_sch_srec* type) {
  return static_cast<const char*>(
      con->GetPhys(logical, static_cast<KAdpNameMapper::convert_type>(kind), 0, type));
}

// The statement that drops a physical index; 0 with an empty text when the
// server has no such index.
long drop_text(KAdpConnId* con, typ_sch_srec* type, const char* name, std::string* text) {
  text->clear();
  if (long st = adp_dbop_check_name(name, false)) return st;
  if (adp_ind_exists(con, name) == 0) return 0;
  if (adp_db_is_db_mssql() == 0) {
    *text = adp_ind_fmt("DROP INDEX %s\n", name);
    return 0;
  }
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(type != nullptr ? type->type_id : -1, &table)) return st;
  *text = adp_ind_fmt("DROP INDEX %s.%s\n", table, name);
  return 0;
}

}  // namespace

long adp_ind_exists(KAdpConnId* con, const char* name) {
  const long depth = alert_depth();
  const std::string n = adp_sql_quotes_doubled(name);
  const std::string query =
      adp_db_is_db_mssql() != 0
          ? "select count(*) from sysindexes where lower(name) = lower('" + n + "')"
          : "select count(*) from user_indexes where lower(index_name) = lower('" + n + "')";
  long count = 0;
  char found = 0;
  long st = adp_db_check_conn(con);
  if (st == 0) st = adp_sql_parse_now(con, "%s", query.c_str());
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(count));
  if (st == 0) st = adp_sql_exec_and_fetch(con, &found);
  if (st != 0) {
    adp_qry_drop_alerts_above(depth);
    return 0;
  }
  return found != 0 && count > 0 ? 1 : 0;
}

long adp_ind_do_drop_an_index(KAdpConnId* con, typ_sch_srec* type, const char* name, FILE* stream,
                              long options) {
  if (long st = adp_db_check_conn(con)) return st;
  std::string text;
  if (long st = drop_text(con, type, name, &text)) return st;
  if (text.empty()) return 0;
  const long depth = alert_depth();
  if (adp_ind_run(con, text, true, stream, options) != 0) adp_qry_drop_alerts_above(depth);
  return 0;
}

long adp_ind_drop_an_index(KAdpConnId* con, long type_id, const char* name, FILE* stream, long options,
                           long delete_row) {
  if (long st = adp_db_check_conn(con)) return st;
  long at = -1;
  adp_sch_find_type(type_id, &at);
  typ_sch_srec* type = at >= 0 ? adp_sch_types[at].schema : nullptr;
  const char* table = at >= 0 ? adp_sch_types[at].table_name : nullptr;
  if (type != nullptr && table != nullptr && *table != '\0') {
    if (long st = adp_ind_do_drop_an_index(con, type, phys(con, name, kIndexName, type).c_str(), stream, options)) {
      return st;
    }
    if (adp_db_is_db_oracle() != 0) {
      const std::string search = phys(con, name, kSearchIndexName, type);
      if (long st = adp_ind_do_drop_an_index(con, type, search.c_str(), stream, options)) return st;
    }
  }
  if (delete_row == 0) return 0;
  const std::string text = "delete adp_sch_index where" + std::string(kRowDeleteIndent, ' ') +
                           adp_ind_fmt("type_id = %ld and lower(index_name) = lower('%s')\n", type_id,
                                       adp_sql_quotes_doubled(name).c_str());
  const long depth = alert_depth();
  if (adp_ind_run(con, text, false, stream, options) != 0) adp_qry_drop_alerts_above(depth);
  return 0;
}

long adp_ind_drop_index(KAdpConnId* con, long type_id, const char* name) {
  return adp_ind_drop_an_index(con, type_id, name, nullptr, 0, 1);
}

long adp_ind_drop_named_index(KAdpConnId* con, const char* table, const char* name, long /*unused*/,
                              long options) {
  if (long st = adp_db_check_conn(con)) return st;
  const bool mssql = adp_db_is_db_mssql() != 0;
  if (mssql) {
    if (long st = adp_dbop_check_name(table, false)) return st;
  }
  if (long st = adp_dbop_check_name(name, false)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  long st = mssql ? adp_sql_sprintf(con, stmt, "DROP INDEX %s.%s", table, name)
                  : adp_sql_sprintf(con, stmt, "DROP INDEX %s", name);
  if (st == 0) st = adp_sql_parse_ddl_opt(con, stmt, 0, options);
  const long freed = adp_sql_free(con, stmt);
  return st != 0 ? st : freed;
}

long adp_ind_drop_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, FILE* stream,
                              long options) {
  for (adp_ty_index_info* r : adp_ind_records(records)) {
    if (long st = adp_ind_do_drop_an_index(con, type, r->name, stream, options)) return st;
  }
  return 0;
}
