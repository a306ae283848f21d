// Catalogue reads of both dialects: does an object exist, and the
// description of a table's columns, read per column or once per table into a
// process-wide cache (one per dialect). The cache is forgotten when a read
// fails and whenever a connection has run DDL since it was filled.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop_cat.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"

namespace {

constexpr long kTablePrefixPhrase = 30;  // "dbo." on SQL Server
constexpr long kAllColumnsPhrase = 31;
constexpr long kOneColumnPhrase = 32;
constexpr long kExistsPhrase = 33;
constexpr long kMssqlNullableBit = 8;
constexpr long kOraCharCode = 6;
constexpr long kOraVarcharCode = 7;
constexpr long kUnicodeBytesPerChar = 3;

constexpr const char kOraOneColumn[] =
    "SELECT COLUMN_NAME, DATA_LENGTH, DATA_TYPE, \t\t\t\t\t\t\t\tCOLUMN_ID, NULLABLE FROM %s_TAB_COLUMNS WHERE "
    "TABLE_NAME = UPPER('%s') AND \t\t\t\t\t\t\t\tCOLUMN_NAME = UPPER('%s')";
constexpr const char kOraAllColumns[] =
    "SELECT COLUMN_NAME, DATA_LENGTH, DATA_TYPE, \t\t\t\t\t\t\t\t\tCOLUMN_ID, NULLABLE FROM %s_TAB_COLUMNS WHERE "
    "TABLE_NAME = UPPER('%s')";

struct column_cache {
  bool valid = false;
  long ddl_runs = 0;
  const KAdpConnId* con = nullptr;
  std::string table;
  std::vector<adp_col_desc> columns;
};

column_cache g_ora_cache;
column_cache g_mssql_cache;

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

const char* phrase(const KAdpDbOperation* op, long n) {
  return op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
}

// Whether the cache holds this table, filled since the last DDL.
bool cache_holds(const column_cache& c, const KAdpConnId* con, const char* table) {
  return c.valid && c.con == con && c.ddl_runs == adp_batch_ddl_runs() && c.table == table;
}

void start_cache(column_cache* c, const KAdpConnId* con, const char* table) {
  c->valid = true;
  c->con = con;
  c->ddl_runs = adp_batch_ddl_runs();
  c->table = table;
  c->columns.clear();
}

void forget(column_cache* c) {
  c->valid = false;
  c->table.clear();
  c->columns.clear();
}

// The column's outputs from a description; a null address is not written.
void answer(const adp_col_desc& d, const adp_col_out& out) {
  if (out.found != nullptr) *out.found = 1;
  if (out.length != nullptr) *out.length = d.length;
  if (out.type_code != nullptr) *out.type_code = d.type_code;
  if (out.nullable != nullptr) *out.nullable = d.nullable;
  if (out.column_number != nullptr) *out.column_number = d.column_number;
}

// Answers the asked column from the cache: found 0 when it is not there.
void answer_from(const column_cache& c, const std::string& column, const adp_col_out& out) {
  if (out.found != nullptr) *out.found = 0;
  for (const adp_col_desc& d : c.columns) {
    if (d.name == column) {
      answer(d, out);
      return;
    }
  }
}

// Reads every row of the prepared query into the cache, answering the asked
// column on the way. A failure forgets the cache.
template <typename Row>
long fill_cache(KAdpConnId* con, column_cache* cache, const std::string& column, const adp_col_out& out, Row row) {
  if (out.found != nullptr) *out.found = 0;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    adp_col_desc d;
    row(&d);
    if (d.name == column) answer(d, out);
    cache->columns.push_back(std::move(d));
    st = adp_sql_nextrow(con, nullptr, &more);
  }
  if (st != 0) forget(cache);
  return st;
}

std::string text_of(const char* p) { return p != nullptr ? p : ""; }

// --- Oracle ----------------------------------------------------------------

struct ora_row {
  char* name = nullptr;
  long length = 0;
  char* type = nullptr;
  long number = 0;
  char* nullable = nullptr;
};

long ora_define(KAdpConnId* con, ora_row* r) {
  if (long st = adp_sql_define(con, KAdpBindCol(&r->name, 0))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(r->length))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(&r->type, 0))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(r->number))) return st;
  return adp_sql_define(con, KAdpBindCol(&r->nullable, 0));
}

adp_col_desc ora_desc(KAdpDbOperation* op, const ora_row& r) {
  adp_col_desc d;
  d.name = text_of(r.name);
  d.length = r.length;
  d.type_code = op->SchConvertDbType(text_of(r.type).c_str());
  d.column_number = r.number;
  d.nullable = text_of(r.nullable) == "Y" ? 1 : 0;
  return d;
}

const char* ora_owner() { return adp_sch_use_snapshot() == 1 ? "ORBISAN" : "USER"; }

// --- SQL Server ----------------------------------------------------------

struct mssql_row {
  char* name = nullptr;
  long length = 0;
  char* type = nullptr;
  long number = 0;
  long status = 0;
};

long mssql_reset(KAdpConnId* con) {
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  return b != nullptr ? b->Reset() : 0;
}

}  // namespace

void adp_dbop_forget_column_caches() {
  forget(&g_ora_cache);
  forget(&g_mssql_cache);
}

// --- Object existence -----------------------------------------------------

long KAdpOraOperation::SchDoesTblExist(const char* name, char* exists, char) {
  KAdpConnId* con = GetConnection();
  *exists = 0;
  if (long st = adp_sql_parse_now(con, phrase(this, kExistsPhrase), adp_sql_quotes_doubled(name).c_str())) return st;
  char* found_name = nullptr;
  if (long st = adp_sql_define(con, KAdpBindCol(&found_name, 0))) return st;
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  *exists = found != 0 ? 1 : 0;
  return 0;
}

long KAdpMssqlOperation::SchDoesTblExist(const char* name, char* exists, char) {
  KAdpConnId* con = GetConnection();
  *exists = 0;
  std::string bare(name != nullptr ? name : "");
  const char* prefix = phrase(this, kTablePrefixPhrase);
  if (prefix != nullptr && *prefix != '\0' && bare.rfind(prefix, 0) == 0) bare.erase(0, std::strlen(prefix));
  const std::string asked = adp_sql_quotes_doubled(bare.c_str());
  if (long st = adp_sql_parse_now(con, phrase(this, kExistsPhrase), asked.c_str())) return st;
  long id = 0;
  if (long st = adp_sql_define(con, KAdpBindCol(id))) return st;
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  *exists = found != 0 ? 1 : 0;
  return mssql_reset(con);
}

// --- Column descriptions --------------------------------------------------

long KAdpOraOperation::SchGetColInfo2(const char* table, const char* column, char mode, char* answered, char* found,
                                      long* length, long* type_code, char* nullable, long* column_number) {
  *answered = 1;
  const adp_col_out out{found, length, type_code, nullable, column_number};
  const std::string asked = upper(text_of(column));
  KAdpConnId* con = GetConnection();
  const std::string t = adp_sql_quotes_doubled(table);
  ora_row r;
  if (mode == 0) {
    if (found != nullptr) *found = 0;
    const std::string c = adp_sql_quotes_doubled(asked.c_str());
    if (long st = adp_sql_parse_now(con, kOraOneColumn, ora_owner(), t.c_str(), c.c_str())) {
      return st;
    }
    if (long st = ora_define(con, &r)) return st;
    char more = 0;
    if (long st = adp_sql_exec_and_fetch(con, &more)) return st;
    if (more != 0) answer(ora_desc(this, r), out);
    return 0;
  }
  if (cache_holds(g_ora_cache, con, table)) {
    answer_from(g_ora_cache, asked, out);
    return 0;
  }
  start_cache(&g_ora_cache, con, table);
  long st = adp_sql_parse_now(con, kOraAllColumns, ora_owner(), t.c_str());
  if (st == 0) st = ora_define(con, &r);
  if (st != 0) {
    forget(&g_ora_cache);
    return st;
  }
  return fill_cache(con, &g_ora_cache, asked, out, [&](adp_col_desc* d) {
    *d = ora_desc(this, r);
    char unicode = 0;
    adp_sch_is_db_unicode_enabled(&unicode);
    if (unicode != 0 && (d->type_code == kOraCharCode || d->type_code == kOraVarcharCode)) {
      d->length /= kUnicodeBytesPerChar;
    }
  });
}

long KAdpMssqlOperation::SchGetColInfo2(const char* table, const char* column, char mode, char* answered,
                                        char* found, long* length, long* type_code, char* nullable,
                                        long* column_number) {
  *answered = 1;
  const adp_col_out out{found, length, type_code, nullable, column_number};
  const std::string asked = text_of(column);
  KAdpConnId* con = GetConnection();
  const std::string t = adp_sql_quotes_doubled(table);
  mssql_row r;
  if (mode == 0) {
    if (found != nullptr) *found = 0;
    const std::string c = adp_sql_quotes_doubled(column);
    if (long st = adp_sql_parse_now(con, phrase(this, kOneColumnPhrase), t.c_str(), c.c_str())) {
      return st;
    }
    if (long st = adp_sql_define(con, KAdpBindCol(r.number))) return st;
    if (long st = adp_sql_define(con, KAdpBindCol(r.length))) return st;
    if (long st = adp_sql_define(con, KAdpBindCol(&r.type, 0))) return st;
    char more = 0;
    if (long st = adp_sql_exec_and_fetch(con, &more)) return st;
    if (more != 0) {
      if (found != nullptr) *found = 1;
      if (length != nullptr) *length = r.length;
      if (type_code != nullptr) *type_code = SchConvertDbType(r.type);
      if (column_number != nullptr) *column_number = r.number;
    }
    return mssql_reset(con);
  }
  if (cache_holds(g_mssql_cache, con, table)) {
    answer_from(g_mssql_cache, asked, out);
    return mssql_reset(con);
  }
  start_cache(&g_mssql_cache, con, table);
  long st = adp_sql_parse_now(con, phrase(this, kAllColumnsPhrase), t.c_str());
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&r.name, 0));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(r.length));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&r.type, 0));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(r.number));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(r.status));
  if (st != 0) {
    forget(&g_mssql_cache);
    return st;
  }
  st = fill_cache(con, &g_mssql_cache, asked, out, [&](adp_col_desc* d) {
    d->name = text_of(r.name);
    d->length = r.length;
    d->type_code = SchConvertDbType(r.type);
    d->column_number = r.number;
    d->nullable = (r.status & kMssqlNullableBit) != 0 ? 1 : 0;
  });
  if (st != 0) return st;
  return mssql_reset(con);
}
